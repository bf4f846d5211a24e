#include "skin/engine/WindowSkinning.h"
#include "skin/engine/AnimShow.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "framework/Forms.h"
#include "framework/ComCtrls.h"
#include "framework/Handles.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinConsts.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinUtils.h"
#include "skin/engine/FastPixels.h"

TOutputWindow* OutputWindow = nullptr;
std::unique_ptr<TBitmap> AnimScreenBmp;
HDC AnimCaptureDC = nullptr;

// ---------------------------------------------------------------- TOutputWindow

TOutputWindow::TOutputWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetCaption(L"acOutputWindow");
  SetVisible(false);
  SetColor(0x800080);
  SetParentColor(false);
}

void TOutputWindow::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (Parent()) return;
  params.Style = WS_POPUP;
  if (auto* owner = dynamic_cast<TWinControl*>(Owner()); owner && owner->HandleAllocated() &&
      (::GetWindowLongPtrW(owner->WindowHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST))
    params.ExStyle |= WS_EX_TOPMOST;
  if (Application) params.WndParent = Application->Handle();
}

void TOutputWindow::WndProc(TMessage& message) {
  if (message.Msg == WM_ERASEBKGND) {
    message.Result = 1;
    return;
  }
  TCustomControl::WndProc(message);
}

// ---------------------------------------------------------------- capture

namespace {

void Capture(HDC dc, TControl* control) {
  auto* win = dynamic_cast<TWinControl*>(control);
  if (!win) {
    control->Perform(WM_PRINT, reinterpret_cast<WPARAM>(dc), 0);
    return;
  }
  if (!win->HandleAllocated()) return;
  int border = 0;
  if (auto* sheet = dynamic_cast<TTabSheet*>(win)) border = sheet->BorderWidth();
  SaveDCScope state(dc);
  if (border) ::OffsetViewportOrgEx(dc, border, border, nullptr);
  // The control's own image first, its children (each once) over it.
  if (QuerySkinCmd(win, AC_CTRLHANDLED))
    ::SendMessageW(win->WindowHandle(), WM_PRINT, reinterpret_cast<WPARAM>(dc),
                   PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
  else
    win->PaintWindowOnly(dc);
  const POINT client = win->ClientOffset();
  for (int i = 0; i < win->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(win->Controls(i));
    if (!child || !child->Visible() || !child->HandleAllocated()) continue;
    SaveDCScope childState(dc);
    const bool keepOrigin = dynamic_cast<TCustomForm*>(child) && !child->Parent();
    if (!keepOrigin)
      ::OffsetViewportOrgEx(dc, client.x + child->Left(), client.y + child->Top(), nullptr);
    ::IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
    Capture(dc, child);
  }
}

void RefreshExtra() {
  if (ExtraRefreshControl)
    ExtraRefreshControl->Perform(SM_ALPHACMD, SkinCmdWParam(AC_REFRESH), 0);
}

}  // namespace

void PaintCtrlToBitmap(TBitmap* bmp, TControl* control, int, int) {
  if (!bmp || !control || bmp->Empty()) return;
  HDC dc = bmp->Canvas()->Handle();
  SaveDCScope state(dc);
  ::IntersectClipRect(dc, 0, 0, control->Width(), control->Height());
  Capture(dc, control);
  ::GdiFlush();
}

// ---------------------------------------------------------------- animated show

std::vector<int> AnimShowAlphas(uint16_t time) {
  std::vector<int> alphas;
  const int steps = time / 8;
  if (steps <= 0) return alphas;
  const int d = 255 / steps;
  int a = 255;
  for (int i = 0; i <= steps; ++i) {
    alphas.push_back(MaxOf(a, 0));
    a -= d;
  }
  return alphas;
}

void PrepareOutputWindow(TWinControl* control) {
  if (!control) return;
  HWND wnd = control->Handle();
  ::SendMessageW(wnd, WM_SETREDRAW, 0, 0);
  RECT wr;
  ::GetWindowRect(wnd, &wr);
  if (!AnimScreenBmp) {
    AnimScreenBmp = CreateBmp24(control->Width(), control->Height());
    UniqueWindowDC screen = UniqueWindowDC::Client(nullptr);
    ::BitBlt(AnimScreenBmp->Canvas()->Handle(), 0, 0, control->Width(), control->Height(),
             screen.get(), wr.left, wr.top, SRCCOPY);
    ::GdiFlush();
  }
  OutputWindow = Construct<TOutputWindow>(control);
  if (control->Parent()) {
    OutputWindow->SetParent(control->Parent());
    OutputWindow->SetBounds(control->Left(), control->Top(), control->Width(), control->Height());
    OutputWindow->HandleNeeded();
    PlaceAfterControl(OutputWindow, control);
    ::ShowWindow(OutputWindow->WindowHandle(), SW_SHOWNA);
    return;
  }
  OutputWindow->SetBounds(wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top);
  HWND out = OutputWindow->Handle();
  HWND above = ::GetWindow(wnd, GW_HWNDPREV);
  ::SetWindowPos(out, above ? above : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

TacAnimClock TacAnimClock::System() {
  return {[] {
            return std::chrono::duration<double, std::milli>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
          },
          [](DWORD ms) {
            // A wait on the thread's queue, not Sleep: under Wine what was
            // drawn into a window reaches the screen when its thread waits
            // for messages, so frames drawn between plain sleeps never
            // showed. With no wake mask nothing is taken from the queue and
            // nothing is dispatched: it only times out.
            ::MsgWaitForMultipleObjectsEx(0, nullptr, ms, 0, 0);
          }};
}

void PlayAnimFrames(uint16_t time, const TacAnimClock& clock,
                    const std::function<void(int alpha)>& frame) {
  constexpr double kFrameMs = 8;
  const std::vector<int> alphas = AnimShowAlphas(time);
  const double start = alphas.empty() ? 0 : clock.Now();
  for (size_t i = 0; i < alphas.size();) {
    frame(alphas[i]);
    // The next frame is the one whose slot the clock is in now, never an
    // earlier one: frames that fell behind are skipped, not shown late.
    const double elapsed = clock.Now() - start;
    i = std::max(i + 1, static_cast<size_t>(std::max(elapsed, 0.0) / kFrameMs));
    if (i >= alphas.size()) break;
    const double wait = static_cast<double>(i) * kFrameMs - elapsed;
    if (wait > 0) clock.Sleep(static_cast<DWORD>(std::ceil(wait)));
  }
  frame(0);
}

void AnimShowControl(TWinControl* control, uint16_t time, const TacAnimClock& clock,
                     const std::function<void()>& showUnder) {
  if (!control) return;
  // However the animation ends, a throw included, the control draws again
  // and the output window and screen copy go.
  struct Finish {
    TWinControl* control;
    bool drawing = false;
    void DrawAgain() {
      if (drawing) return;
      drawing = true;
      if (control->HandleAllocated()) ::SendMessageW(control->WindowHandle(), WM_SETREDRAW, 1, 0);
    }
    ~Finish() {
      delete OutputWindow;
      OutputWindow = nullptr;
      AnimCaptureDC = nullptr;
      DrawAgain();
      AnimScreenBmp.reset();
    }
  } finish{control};
  if (!OutputWindow) PrepareOutputWindow(control);
  const int w = control->Width(), h = control->Height();
  std::unique_ptr<TBitmap> captured = CreateBmp24(w, h);
  {
    TCanvas* canvas = captured->Canvas();
    canvas->Lock();
    AnimCaptureDC = canvas->Handle();
    try {
      PaintCtrlToBitmap(captured.get(), control);
    } catch (...) {
      canvas->Unlock();
      throw;
    }
    AnimCaptureDC = nullptr;
    canvas->Unlock();
  }
  std::unique_ptr<TBitmap> frame = CreateBmp32(w, h);

  if (dynamic_cast<TCustomForm*>(control) && control->HandleAllocated()) {
    TsSkinProvider* provider = ProviderOfReply(SendSkinCmd(control->WindowHandle(), AC_GETPROVIDER, 0));
    TacWindowSkinning* skinning = WindowSkinning();
    if (provider && skinning && OutputWindow && OutputWindow->HandleAllocated())
      if (UniqueRgn rgn(skinning->FormRegion(provider)); rgn)
        if (::SetWindowRgn(OutputWindow->WindowHandle(), rgn.get(), FALSE))
          rgn.release();  // the window owns it now
  }
  if (!OutputWindow || !OutputWindow->HandleAllocated()) {
    finish.DrawAgain();
    if (showUnder) showUnder();
    return;
  }
  HWND out = OutputWindow->WindowHandle();
  UniqueWindowDC dc = UniqueWindowDC::Client(out);
  PlayAnimFrames(time, clock, [&](int alpha) {
    if (alpha == 0) {
      ::BitBlt(dc.get(), 0, 0, w, h, captured->Canvas()->Handle(), 0, 0, SRCCOPY);
      return;
    }
    if (AnimScreenBmp)
      MixBitmapsTo32(TacBmpView(*frame), TacBmpView(*AnimScreenBmp), TacBmpView(*captured),
                     static_cast<uint16_t>(alpha), TacBmpView());
    ::BitBlt(dc.get(), 0, 0, w, h, frame->Canvas()->Handle(), 0, 0, SRCCOPY);
    RefreshExtra();
  });
  clock.Sleep(0);  // the full image reaches the screen before anything else is drawn
  if (showUnder) {
    // The control's own image goes on screen while the last frame, the
    // same image, still covers it: taking the output window away first
    // would show the control unpainted for a moment.
    finish.DrawAgain();
    showUnder();
  }
  const bool layeredForm =
      dynamic_cast<TCustomForm*>(control) && control->HandleAllocated() &&
      (::GetWindowLongPtrW(control->WindowHandle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  if (!layeredForm)
    ::SetWindowPos(out, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE);
  RefreshExtra();
}
