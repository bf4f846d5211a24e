#include "framework/ExtCtrls.h"

// ---------------------------------------------------------------- TPanel

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() | csAcceptsControls | csSetCaption | csOpaque);
  SetBounds(0, 0, 185, 41);
}

void TPanel::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TPanel::AdjustClientRect(RECT& rect) const {
  TCustomControl::AdjustClientRect(rect);
  int bevel = (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
  InflateRect(&rect, -bevel, -bevel);
}

void TPanel::Paint() {
  TCanvas* c = Canvas();
  RECT r = ClientRect();
  c->Brush()->SetColor(Color());
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(r);
  auto edge = [&](TBevelCut cut) {
    if (cut == bvNone) return;
    for (int i = 0; i < bevelWidth_; ++i) {
      if (cut != bvSpace)
        DrawEdge(c->Handle(), &r, cut == bvRaised ? BDR_RAISEDINNER : BDR_SUNKENOUTER, BF_RECT);
      InflateRect(&r, -1, -1);
    }
  };
  edge(bevelOuter_);
  edge(bevelInner_);
  std::wstring text = Caption();
  if (text.empty()) return;
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  flags |= alignment_ == taLeftJustify ? DT_LEFT : alignment_ == taRightJustify ? DT_RIGHT : DT_CENTER;
  c->Brush()->SetStyle(bsClear);
  c->TextRect(r, text, flags);
}

void TPanel::WndProc(TMessage& message) {
  TCustomControl::WndProc(message);
  if (message.Msg == CM_TEXTCHANGED) Invalidate();
}

// ---------------------------------------------------------------- TTimer

namespace {
const wchar_t kTimerClass[] = L"TTimerWindow";
}

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  static bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = TimerWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kTimerClass;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
  window_ = CreateWindowExW(0, kTimerClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

TTimer::~TTimer() {
  if (window_) {
    KillTimer(window_, 1);
    DestroyWindow(window_);
  }
}

LRESULT CALLBACK TTimer::TimerWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER) {
    auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (timer && timer->OnTimer) timer->OnTimer(timer);
    return 0;
  }
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

void TTimer::UpdateTimer() {
  KillTimer(window_, 1);
  if (enabled_ && interval_ > 0 && OnTimer) SetTimer(window_, 1, interval_, nullptr);
}

void TTimer::SetEnabled(bool v) {
  enabled_ = v;
  UpdateTimer();
}

void TTimer::SetInterval(UINT v) {
  interval_ = v;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  OnTimer = std::move(handler);
  UpdateTimer();
}
