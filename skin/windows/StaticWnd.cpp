#include "skin/windows/StaticWnd.h"

#include "framework/Handles.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinText.h"
#include "skin/windows/AdapterPaint.h"

void TacStaticWnd::PaintContent() {
  TCanvas* canvas = SkinData->CacheBmp->Canvas();
  UseWindowFont(canvas, CtrlHandle);
  canvas->Brush()->SetStyle(TBrushStyle::bsClear);
  TRect r{0, 0, WndSize.x, WndSize.y};
  DrawSkinText(canvas, Caption, true, r, DT_WORDBREAK, SkinData, false);
}

void TacIconWnd::PaintContent() {
  HICON icon = reinterpret_cast<HICON>(::SendMessageW(CtrlHandle, STM_GETICON, 0, 0));
  if (icon) ::DrawIcon(SkinData->CacheBmp->Canvas()->Handle(), 0, 0, icon);
}

void TacLinkWnd::PaintContent() {
  SkinData->CacheBmp->Canvas()->Brush()->SetStyle(TBrushStyle::bsClear);
}

// A DC that comes with the message (printing) is painted into; otherwise
// the window's own.
void TacStaticWnd::PaintStatic(HDC given) {
  PAINTSTRUCT ps;
  if (!given) ::BeginPaint(CtrlHandle, &ps);
  GetWndRectInParent(CtrlHandle, ParentWnd, WndRect, Caption, WndPos, WndSize, ParentRect);
  UniqueWindowDC own;
  if (!given) own = UniqueWindowDC::Client(CtrlHandle);
  HDC dc = given ? given : own.get();
  SaveDCScope state(dc);
  if (WndSize.x == 152 && WndSize.y == 49) {
    // The marker static of a message dialog keeps what it draws there.
    LPARAM none = 0;
    CallPrevWndProc(CtrlHandle, WM_PAINT, reinterpret_cast<WPARAM>(dc), none);
    ::ExcludeClipRect(dc, 30, 6, 120, 41);
  }
  SkinData->BGChanged = true;
  SendSkinCmd(CtrlHandle, AC_PREPARECACHE, 0);
  TBitmap* cache = SkinData->CacheBmp.get();
  if (cache && !cache->Empty()) {
    PaintContent();
    ::BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  if (!given) ::EndPaint(CtrlHandle, &ps);
}

void TacStaticWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacMainWnd::WndProc(message);
  switch (message.Msg) {
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      return;
    case WM_SETTEXT:
      WithoutRedraw(CtrlHandle, [&] { PassOn(message); });
      SkinData->BGChanged = true;
      ::SendMessageW(CtrlHandle, WM_PAINT, 0, 0);
      return;
    case WM_ENABLE:
    case WM_CANCELMODE:
      WithoutRedraw(CtrlHandle, [&] { TacMainWnd::WndProc(message); });
      if (!Destroyed) ::SendMessageW(CtrlHandle, WM_PAINT, 0, 0);
      return;
    case WM_PAINT:
      if (!::IsWindowVisible(CtrlHandle)) break;
      PaintStatic(reinterpret_cast<HDC>(message.WParam));
      message.Result = 0;
      return;
    case WM_UPDATEUISTATE:
      if (!::IsWindowVisible(CtrlHandle)) break;
      WithoutRedraw(CtrlHandle, [&] { TacMainWnd::WndProc(message); });
      return;
  }
  TacMainWnd::WndProc(message);
}

void TacLinkWnd::WndProc(TMessage& message) {
  if (!Destroyed && SkinData && SkinData->Skinned(false) && message.Msg == WM_PAINT &&
      ::IsWindowVisible(CtrlHandle))
    return PassOn(message);
  TacStaticWnd::WndProc(message);
}
