#include "skin/windows/PanelWnd.h"

#include "skin/engine/CacheCopy.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"

// Paints into the erase DC the window hands over (or the window's own DC):
// the parent's image with the section, except under visible child windows.
void TacTransPanelWnd::PaintPanel(HDC given) {
  ::GetWindowRect(CtrlHandle, &WndRect);
  WndSize = TPoint{WndRect.right - WndRect.left, WndRect.bottom - WndRect.top};
  UniqueWindowDC own;
  if (!given) own = UniqueWindowDC::Window(CtrlHandle);
  SkinData->BGChanged = true;
  SendSkinCmd(CtrlHandle, AC_PREPARECACHE, 0);
  CopyHwndCache(CtrlHandle, SkinData, TRect{0, 0, 0, 0}, TRect{0, 0, WndSize.x, WndSize.y},
                given ? given : own.get(), false, 0, 0);
}

void TacTransPanelWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacMainWnd::WndProc(message);
  switch (message.Msg) {
    case WM_ERASEBKGND:
      PaintPanel(reinterpret_cast<HDC>(message.WParam));
      message.Result = 1;
      return;
    case WM_NCPAINT:
      return;
    case WM_PRINT:
      PaintPanel(reinterpret_cast<HDC>(message.WParam));
      break;
  }
  TacMainWnd::WndProc(message);
}

void TacSizerWnd::PaintSizer(HDC given) {
  PAINTSTRUCT ps;
  if (!given) ::BeginPaint(CtrlHandle, &ps);
  {
    UniqueWindowDC own;
    if (!given) own = UniqueWindowDC::Client(CtrlHandle);
    SkinData->BGChanged = true;
    SendSkinCmd(CtrlHandle, AC_PREPARECACHE, 0);
    TBitmap* cache = SkinData->CacheBmp.get();
    if (cache && !cache->Empty())
      ::BitBlt(given ? given : own.get(), 0, 0, cache->Width(), cache->Height(),
               cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  if (!given) ::EndPaint(CtrlHandle, &ps);
}

void TacSizerWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacMainWnd::WndProc(message);
  switch (message.Msg) {
    case WM_PAINT:
      PaintSizer(reinterpret_cast<HDC>(message.WParam));
      message.Result = 0;
      return;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      return;
  }
  TacMainWnd::WndProc(message);
  if (!Destroyed && message.Msg == WM_NCHITTEST) {
    if (DefaultManager && ::IsWindowEnabled(CtrlHandle)) DefaultManager->SetActiveControl(nullptr);
    message.Result = HTBOTTOMRIGHT;
  }
}
