#include "framework/Hints.h"

#include "framework/Forms.h"
#include "framework/Handles.h"

THintWindowClass HintWindowClass = HintWindowClassOf<THintWindow>();

void AssignHintFont(TFont* font) {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) return;
  UniqueFont f(CreateFontIndirectW(&ncm.lfStatusFont));
  if (f) font->SetHandle(f.get());
  font->SetColor(clInfoText);
}

// ---------------------------------------------------------------- THintWindow

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetVisible(false);
  SetColor(clInfoBk);
  AssignHintFont(Font());
}

void THintWindow::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style = WS_POPUP | WS_BORDER;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  params.WndParent = Application ? Application->Handle() : nullptr;
  params.WindowClass.style |= CS_SAVEBITS;
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::wstring& hint, void*) {
  TRect r{0, 0, maxWidth, 0};
  UniqueWindowDC screen = UniqueWindowDC::Client(nullptr);
  SelectObjectScope font(screen.get(), Font()->Handle());
  DrawTextW(screen.get(), hint.c_str(), static_cast<int>(hint.size()), &r,
            DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  r.right += 6;
  r.bottom += 2;
  return r;
}

void THintWindow::ActivateHint(const TRect& rect, const std::wstring& hint) {
  SetCaption(hint);
  HWND wnd = Handle();
  SetWindowPos(wnd, HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left,
               rect.bottom - rect.top, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  InvalidateRect(wnd, nullptr, TRUE);
}

void THintWindow::ActivateHintData(const TRect& rect, const std::wstring& hint, void*) {
  ActivateHint(rect, hint);
}

void THintWindow::ReleaseHandle() { DestroyHandle(); }

void THintWindow::WndProc(TMessage& message) {
  // The mouse passes through a hint to what lies below it.
  if (message.Msg == WM_NCHITTEST) {
    message.Result = HTTRANSPARENT;
    return;
  }
  TCustomControl::WndProc(message);
}

void THintWindow::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  InflateRect(&r, -2, -1);
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetColor(clInfoText);
  c->TextRect(r, Caption(), DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
}

// ---------------------------------------------------------------- suspension

THintSuspension::THintSuspension() {
  if (Application) Application->SuspendHints();
}

THintSuspension::~THintSuspension() {
  if (Application) Application->ResumeHints();
}

// ---------------------------------------------------------------- TApplicationHints

namespace {

bool IsButtonMessage(UINT msg) {
  switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
      return true;
  }
  return false;
}

// ShowHint of the control or, while it follows its parent, of the parent.
bool EffectiveShowHint(const TControl* control) {
  for (const TControl* c = control; c; c = c->Parent())
    if (!c->ParentShowHint() || !c->Parent()) return c->ShowHint();
  return false;
}

// The control's Hint, or the nearest parent's when its own is empty.
std::wstring HintOf(const TControl* control) {
  for (const TControl* c = control; c; c = c->Parent())
    if (!c->Hint().empty()) return c->Hint();
  return L"";
}

bool HintsAllowed() {
  return Application && Application->ShowHint() && !Application->HintsSuspended();
}

}  // namespace

TApplicationHints::TApplicationHints() = default;

TApplicationHints::~TApplicationHints() { StopTimers(); }

THintWindow* TApplicationHints::ShownWindow() const {
  return shown_ && window_ && window_->HandleAllocated() ? window_.get() : nullptr;
}

void CALLBACK TApplicationHints::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  if (!Application) return;
  TApplicationHints* hints = Application->Hints();
  if (id == hints->pauseTimer_) {
    hints->PauseElapsed();
  } else if (id == hints->hideTimer_) {
    hints->HideHint();
  } else {
    KillTimer(nullptr, id);  // left over from a hint that is gone
  }
}

void TApplicationHints::StartPause(int ms) {
  StopTimers();
  pauseTimer_ = SetTimer(nullptr, 0, ms > 0 ? ms : 1, &TimerProc);
}

void TApplicationHints::StartHide(int ms) {
  if (hideTimer_) KillTimer(nullptr, hideTimer_);
  hideTimer_ = ms > 0 ? SetTimer(nullptr, 0, ms, &TimerProc) : 0;
}

void TApplicationHints::StopTimers() {
  if (pauseTimer_) KillTimer(nullptr, pauseTimer_);
  if (hideTimer_) KillTimer(nullptr, hideTimer_);
  pauseTimer_ = hideTimer_ = 0;
}

void TApplicationHints::HideHint() {
  StopTimers();
  if (window_ && window_->HandleAllocated()) window_->ReleaseHandle();
  shown_ = false;
}

void TApplicationHints::CancelHint() {
  HideHint();
  hintControl_ = nullptr;
}

bool TApplicationHints::CursorInCursorRect() const {
  POINT p;
  GetCursorPos(&p);
  return PtInRect(&cursorRect_, p) != FALSE;
}

void TApplicationHints::MouseMessage(const TMessage& message) {
  if (IsButtonMessage(message.Msg)) {
    CancelHint();
    recentlyShown_ = false;
    return;
  }
  TControl* now = MouseControl();
  if (now != hintControl_) {
    bool wasShown = shown_;
    CancelHint();
    hintControl_ = now;
    recentlyShown_ = wasShown;
    if (now && HintsAllowed())
      StartPause(wasShown ? Application->HintShortPause : Application->HintPause);
    return;
  }
  // Moving out of the part of the control the hint belongs to hides it;
  // the hint comes back after the pause.
  if (shown_ && message.Msg == WM_MOUSEMOVE && !CursorInCursorRect()) {
    HideHint();
    if (HintsAllowed()) StartPause(Application->HintPause);
  }
}

void TApplicationHints::PauseElapsed() {
  StopTimers();
  TControl* control = hintControl_;
  // The control may be gone: only the one under the mouse is live.
  if (!control || control != MouseControl() || !HintsAllowed()) {
    CancelHint();
    return;
  }
  ShowFor(control);
}

void TApplicationHints::ShowFor(TControl* control) {
  POINT cursor;
  GetCursorPos(&cursor);
  THintInfo info;
  info.HintControl = control;
  info.HintWindowClass = HintWindowClass;
  // Just below the pointer's arrow.
  info.HintPos = POINT{cursor.x, cursor.y + GetSystemMetrics(SM_CYCURSOR) * 5 / 8};
  info.HintMaxWidth = GetSystemMetrics(SM_CXSCREEN);
  info.CursorRect = control->ClientRect();
  info.CursorPos = control->ScreenToClient(cursor);
  info.HideTimeout = Application->HintHidePause;
  info.HintStr = EffectiveShowHint(control) ? HintOf(control) : L"";
  // A control may give a hint of its own part (a page control's tab) even
  // with no hint of its own.
  bool canShow = EffectiveShowHint(control) &&
                 control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0 &&
                 !info.HintStr.empty();
  if (canShow && Application->OnShowHint) Application->OnShowHint(info.HintStr, canShow, info);
  // The handler may have freed the control or moved the mouse elsewhere.
  if (!canShow || info.HintStr.empty() || hintControl_ != MouseControl()) {
    HideHint();
    return;
  }
  THintWindowClass cls = info.HintWindowClass ? info.HintWindowClass : HintWindowClass;
  if (!window_ || windowClass_ != cls) {
    window_.reset(cls(nullptr));
    windowClass_ = cls;
  }
  TPoint topLeft = control->ClientToScreen(POINT{info.CursorRect.left, info.CursorRect.top});
  cursorRect_ = TRect{topLeft.x, topLeft.y, topLeft.x + info.CursorRect.right - info.CursorRect.left,
                      topLeft.y + info.CursorRect.bottom - info.CursorRect.top};
  TRect r = window_->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
  OffsetRect(&r, info.HintPos.x, info.HintPos.y);
  shown_ = true;
  window_->ActivateHintData(r, info.HintStr, info.HintData);
  StartHide(info.HideTimeout);
}

void HintMouseMessage(const TMessage& message) {
  if (Application && Application->Hints()) Application->Hints()->MouseMessage(message);
}
