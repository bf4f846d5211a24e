#include "skin/windows/SpinWnd.h"

#include "skin/engine/CommonData.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/windows/AdapterPaint.h"

void TacSpinWnd::PrepareCache() {
  const int w = WndSize.x, h = WndSize.y;
  const TRect up{LeftMargin, 0, w, h / 2 + h % 2};
  const TRect down{LeftMargin, h / 2, w, h};
  const TCacheInfo ci = GetParentCacheHwnd(CtrlHandle);
  SkinData->InitCacheBmp();
  TBitmap* cache = SkinData->CacheBmp.get();
  cache->SetSize(w, h);
  TsSkinManager* manager = Manager();
  struct Half {
    TRect r;
    int state;
    int glyph;
  };
  const Half halves[] = {
      {up, UpState, manager ? manager->CachedIndexes.ScrollBtnTopGlyph : -1},
      {down, DownState, manager ? manager->CachedIndexes.ScrollBtnBottomGlyph : -1}};
  for (const Half& half : halves) {  // the lower half last: it owns a shared middle row
    PaintSkinControl(SkinData, ci, true, half.state, half.r,
                     TPoint{WndRect.left - ParentRect.left - ci.X + half.r.left,
                            WndRect.top - ParentRect.top - ci.Y + half.r.top},
                     cache, false);
    if (half.glyph != -1) DrawMaskCellCentred(cache, manager, half.glyph, half.r, half.state);
  }
  SkinData->BGChanged = false;
}

void TacSpinWnd::PaintSpin(HDC given) {
  GetWndRectInParent(CtrlHandle, ParentWnd, WndRect, Caption, WndPos, WndSize, ParentRect);
  POINT p{};
  ::GetCursorPos(&p);
  UpState = DownState = 0;
  if (::PtInRect(&WndRect, p)) {
    const RECT upper{WndRect.left, WndRect.top, WndRect.right, WndRect.bottom - WndSize.y / 2};
    const int s = 1 + (Pressed ? 1 : 0);
    (::PtInRect(&upper, p) ? UpState : DownState) = s;
  }
  PAINTSTRUCT ps;
  if (!given) ::BeginPaint(CtrlHandle, &ps);
  SkinData->SetUpdating(SkinData->GetUpdating());
  if (!SkinData->Updating && WndSize.x > 0 && WndSize.y > 0) {
    UniqueWindowDC own;
    if (!given) own = UniqueWindowDC::Client(CtrlHandle);
    SkinData->BGChanged = true;
    PrepareCache();
    TBitmap* cache = SkinData->CacheBmp.get();
    ::BitBlt(given ? given : own.get(), LeftMargin, 0, cache->Width() - LeftMargin,
             cache->Height(), cache->Canvas()->Handle(), LeftMargin, 0, SRCCOPY);
  }
  if (!given) ::EndPaint(CtrlHandle, &ps);
}

void TacSpinWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacMainWnd::WndProc(message);
  switch (message.Msg) {
    case WM_NCPAINT:
    case WM_ERASEBKGND:
      return;
    case WM_PAINT:
      PaintSpin(reinterpret_cast<HDC>(message.WParam));
      message.Result = 0;
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      Pressed = message.Msg == WM_LBUTTONDOWN;
      TacMainWnd::WndProc(message);
      if (!Destroyed) ::SendMessageW(CtrlHandle, WM_PAINT, 0, 0);
      return;
    case WM_MOUSEMOVE: {
      TacMainWnd::WndProc(message);
      if (Destroyed || !DefaultManager || DefaultManager->HasState(csDesigning) ||
          !::IsWindowEnabled(CtrlHandle))
        return;
      POINT p{};
      ::GetCursorPos(&p);
      if (::PtInRect(&WndRect, p)) {
        if (DefaultManager->ActiveControl != CtrlHandle)
          DefaultManager->SetActiveControl(CtrlHandle);
        else
          ::SendMessageW(CtrlHandle, WM_PAINT, 0, 0);  // the hot half follows the mouse
      } else if (DefaultManager->ActiveControl == CtrlHandle) {
        DefaultManager->SetActiveControl(nullptr);
      }
      return;
    }
  }
  TacMainWnd::WndProc(message);
}
