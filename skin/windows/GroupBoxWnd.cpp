#include "skin/windows/GroupBoxWnd.h"

#include <algorithm>

#include "skin/engine/CacheCopy.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinText.h"
#include "skin/windows/AdapterPaint.h"

TRect TacGroupBoxWnd::CaptionRect() {
  SkinData->InitCacheBmp();
  HDC dc = SkinData->CacheBmp->Canvas()->Handle();
  RECT m{0, 0, 0, 0};
  ::DrawTextW(dc, Caption.c_str(), static_cast<int>(Caption.size()), &m, DT_CALCRECT | DT_CENTER);
  const int tw = m.right - m.left, th = m.bottom - m.top;
  TRect r{6, 0, 6 + tw + 8, std::max(4, th) + 2};
  if (6 + tw + 8 > WndSize.x) r.right = WndSize.x - 1;
  return r;
}

void TacGroupBoxWnd::DrawCaption(const TRect& c, const TCacheInfo& parent) {
  TBitmap* cache = SkinData->CacheBmp.get();
  if (parent.Ready && parent.Bmp)
    // The frame line goes away behind the text.
    ::BitBlt(cache->Canvas()->Handle(), c.left, c.top, c.right - c.left, c.bottom - c.top,
             parent.Bmp->Canvas()->Handle(), WndPos.x + parent.X + c.left,
             WndPos.y + parent.Y + c.top, SRCCOPY);
  TCanvas* canvas = cache->Canvas();
  canvas->Brush()->SetStyle(TBrushStyle::bsClear);
  UseWindowFont(canvas, CtrlHandle);
  TRect r = c;
  DrawSkinText(canvas, Caption, true, r, DT_CENTER, SkinData, false);
}

void TacGroupBoxWnd::PrepareCache() {
  if (!SkinData->BGChanged) return;
  SkinData->InitCacheBmp();
  TBitmap* cache = SkinData->CacheBmp.get();
  cache->SetSize(WndSize.x, WndSize.y);
  TCanvas* canvas = cache->Canvas();
  if (TControl* owner = SkinData->OwnerControl)
    canvas->Font()->Assign(owner->Font());
  else
    UseWindowFont(canvas, CtrlHandle);
  const TRect c = CaptionRect();
  const int ch = c.bottom - c.top;
  const TCacheInfo parent = RequestCacheInfo(ParentWnd);
  if (parent.Ready && parent.Bmp) {
    ::BitBlt(canvas->Handle(), 0, 0, WndSize.x, ch, parent.Bmp->Canvas()->Handle(),
             WndPos.x + parent.X, WndPos.y + parent.Y, SRCCOPY);
  } else {
    FillDC(canvas->Handle(), TRect{0, 0, WndSize.x, ch}, ColorToRGB(RequestBGColor(ParentWnd)));
  }
  PaintSkinControl(SkinData, parent, false, 0, TRect{0, ch / 2, WndSize.x, WndSize.y},
                   TPoint{WndPos.x - parent.X, ch / 2 + WndPos.y - parent.Y}, cache, false);
  if (!Caption.empty()) DrawCaption(c, parent);
  SkinData->BGChanged = false;
}

void TacGroupBoxWnd::PaintGroupBox(HDC given) {
  GetWndRectInParent(CtrlHandle, ParentWnd, WndRect, Caption, WndPos, WndSize, ParentRect);
  PAINTSTRUCT ps;
  if (!given) ::BeginPaint(CtrlHandle, &ps);
  SkinData->SetUpdating(SkinData->GetUpdating());
  if (!SkinData->Updating && WndSize.x > 0 && WndSize.y > 0) {
    UniqueWindowDC own;
    if (!given) own = UniqueWindowDC::Window(CtrlHandle);
    HDC dc = given ? given : own.get();
    SaveDCScope state(dc);
    PrepareCache();
    if (DialogChild) {
      TsSkinManager* m = DefaultManager;
      const int mi = SkinData->BorderIndex;
      const int caption = CaptionRect().bottom;
      ::ExcludeClipRect(dc, m ? m->MaskBorderLeft(mi) : 0, caption,
                        WndSize.x - (m ? m->MaskBorderRight(mi) : 0),
                        WndSize.y - (m ? m->MaskBorderBottom(mi) : 0));
    }
    CopyHwndCache(CtrlHandle, SkinData, TRect{0, 0, 0, 0}, TRect{0, 0, WndSize.x, WndSize.y}, dc,
                  false, 0, 0);
    if (auto* owner = dynamic_cast<TWinControl*>(SkinData->OwnerControl))
      PaintControls(dc, owner, 0, TPoint{0, 0});
    NotifyChildWndsEndUpdate(CtrlHandle);
  }
  if (!given) ::EndPaint(CtrlHandle, &ps);
}

void TacGroupBoxWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacMainWnd::WndProc(message);
  switch (message.Msg) {
    case SM_ALPHACMD:
      if (SkinCmdOf(message) == AC_GETCAPTIONHEIGHT) {
        GetWndRectInParent(CtrlHandle, ParentWnd, WndRect, Caption, WndPos, WndSize, ParentRect);
        const TRect c = CaptionRect();
        message.Result = c.bottom - c.top;
        return;
      }
      break;
    case WM_ERASEBKGND:
      return;
    case WM_SIZE:
      SkinData->BGChanged = true;
      break;
    case WM_PAINT:
      if (DialogChild) {
        // The window paints its inside, and its caption too, in the
        // system's text colour: black on a dark skin. The skinned frame
        // and caption go back over it.
        TacMainWnd::WndProc(message);
        if (!Destroyed) PaintGroupBox(nullptr);
        return;
      }
      PaintGroupBox(nullptr);
      message.Result = 0;
      return;
    case WM_NCPAINT:
      TacMainWnd::WndProc(message);
      if (DialogChild && !Destroyed) PaintGroupBox(nullptr);
      return;
    case WM_PRINT:
      if (DialogChild) {
        TacMainWnd::WndProc(message);
        if (Destroyed) return;
        SkinData->BGChanged = true;
        PaintGroupBox(reinterpret_cast<HDC>(message.WParam));
        return;
      }
      // Printing paints into the given DC once and is done.
      SkinData->BGChanged = true;
      PaintGroupBox(reinterpret_cast<HDC>(message.WParam));
      message.Result = 0;
      return;
  }
  TacMainWnd::WndProc(message);
}
