// TacMDIWnd: the MDI client's frame and background are parts of the main
// form's cache, so the client and the frame around it look like one piece.
#include "skin/windows/MDIWnd.h"

#include "framework/Forms.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinConsts.h"
#include "skin/engine/SkinMessages.h"
#include "skin/windows/MDIForm.h"
#include "skin/windows/SkinProvider.h"

namespace {

// The width of the client's sunken edge: where its client area starts.
POINT ClientEdge(HWND wnd) {
  RECT w{};
  ::GetWindowRect(wnd, &w);
  POINT origin{0, 0};
  ::ClientToScreen(wnd, &origin);
  return POINT{origin.x - w.left, origin.y - w.top};
}

}  // namespace

TacMDIWnd::~TacMDIWnd() {
  Form = nullptr;
  FormSkinData = nullptr;
  FormProvider = nullptr;
}

bool TacMDIWnd::Paints() const {
  return Form && FormSkinData && FormProvider && Form->HandleAllocated() &&
         FormSkinData->Skinned(false) && SkinnedMDIArea && SkinnedMDIArea2 &&
         !MaximizedChildOf(Form);
}

TRect TacMDIWnd::PlaceInForm() const {
  RECT c{}, f{};
  ::GetWindowRect(CtrlHandle, &c);
  ::GetWindowRect(Form->WindowHandle(), &f);
  return TRect{c.left - f.left, c.top - f.top, c.right - f.left, c.bottom - f.top};
}

void TacMDIWnd::PaintBorder(HDC dc) {
  TBitmap* cache = FormSkinData->CacheBmp.get();
  if (!cache || cache->Empty()) return;
  const TRect r = PlaceInForm();
  BitBltBorder(dc, 0, 0, r.right - r.left, r.bottom - r.top, cache->Canvas()->Handle(), r.left,
               r.top, ClientEdge(CtrlHandle).x);
}

void TacMDIWnd::PaintArea(HDC dc, bool printing) {
  if (FormProvider->ShowAnimPending) return;
  if (FormSkinData->BGChanged) FormProvider->PaintAll();
  TBitmap* cache = FormSkinData->CacheBmp.get();
  if (!cache || cache->Empty()) return;
  const TRect r = PlaceInForm();
  const POINT edge = ClientEdge(CtrlHandle);
  RECT client{};
  ::GetClientRect(CtrlHandle, &client);
  // A print's DC starts at the window's corner, a paint's at the client's.
  const int x = printing ? edge.x : 0, y = printing ? edge.y : 0;
  ::BitBlt(dc, x, y, client.right, client.bottom, cache->Canvas()->Handle(), r.left + edge.x,
           r.top + edge.y, SRCCOPY);
}

void TacMDIWnd::WndProc(TMessage& message) {
  if (Destroyed || !Paints()) return TacBaseWnd::WndProc(message);
  switch (message.Msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC own = ::BeginPaint(CtrlHandle, &ps);
      HDC dc = message.WParam ? reinterpret_cast<HDC>(message.WParam) : own;
      {
        SaveDCScope state(dc);
        PaintArea(dc, false);
      }
      ::EndPaint(CtrlHandle, &ps);
      message.Result = 0;
      return;
    }
    case WM_ERASEBKGND:
      if (!message.WParam) break;
      {
        SaveDCScope state(reinterpret_cast<HDC>(message.WParam));
        PaintArea(reinterpret_cast<HDC>(message.WParam), false);
      }
      message.Result = 0;
      return;
    case WM_NCPAINT: {
      UniqueWindowDC dc = UniqueWindowDC::Window(CtrlHandle);
      PaintBorder(dc.get());
      message.Result = PaintScrollBars(this, CtrlHandle, dc.get(), -1);
      return;
    }
    case WM_PRINT:
      if (!message.WParam) break;
      {
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        SaveDCScope state(dc);
        PaintBorder(dc);
        PaintScrollBars(this, CtrlHandle, dc, -1);
        PaintArea(dc, true);
      }
      message.Result = 0;
      return;
    case SM_ALPHACMD:
      // Children of the client take their background from the form.
      if (SkinCmdOf(message) == AC_GETCACHE) {
        message.Result = Form->Perform(message.Msg, message.WParam, message.LParam);
        return;
      }
      break;
  }
  TacBaseWnd::WndProc(message);
  if (Destroyed) return;
  switch (message.Msg) {
    case 0x003F:  // the client measuring its scroll range
    case WM_PARENTNOTIFY: {
      const LONG_PTR style = ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
      if (VBar) VBar->Visible = (style & WS_VSCROLL) != 0;
      if (HBar) HBar->Visible = (style & WS_HSCROLL) != 0;
      UpdateScrolls(this, true);
      break;
    }
    case SM_ALPHACMD:
      if (SkinCmdOf(message) == AC_BEFORESCROLL) {
        ::SendMessageW(CtrlHandle, WM_SETREDRAW, 0, 0);
      } else if (SkinCmdOf(message) == AC_AFTERSCROLL) {
        ::SendMessageW(CtrlHandle, WM_SETREDRAW, 1, 0);
        if (LOWORD(message.LParam) != SB_THUMBTRACK) {
          ::RedrawWindow(CtrlHandle, nullptr, nullptr,
                         RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
          UpdateScrolls(this, false);
          ::ReleaseCapture();
        }
      }
      break;
  }
}
