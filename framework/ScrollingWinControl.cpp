#include <algorithm>

#include "framework/Forms.h"

// ---------------------------------------------------------------- one bar

int TControlScrollBar::PageSize() const {
  if (!control_) return 0;
  return kind_ == sbVertical ? control_->ClientHeight() : control_->ClientWidth();
}

int TControlScrollBar::LastPosition() const {
  const int page = PageSize();
  return visible_ && page > 0 && range_ > page ? range_ - page : 0;
}

bool TControlScrollBar::IsScrollBarVisible() const {
  if (!control_->HandleAllocated()) return LastPosition() > 0;
  const LONG_PTR style = GetWindowLongPtrW(control_->WindowHandle(), GWL_STYLE);
  return (style & (kind_ == sbVertical ? WS_VSCROLL : WS_HSCROLL)) != 0;
}

void TControlScrollBar::SetRange(int value) {
  measured_ = false;
  value = std::max(value, 0);
  if (value == range_) return;
  range_ = value;
  control_->AdjustScrollBars();
}

void TControlScrollBar::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  control_->AdjustScrollBars();
}

void TControlScrollBar::SetPosition(int value) {
  value = std::clamp(value, 0, LastPosition());
  if (value == position_) return;
  const int old = position_;
  position_ = value;
  if (control_->HandleAllocated() && applied_) {
    SCROLLINFO si{sizeof(si), SIF_POS, 0, 0, 0, position_, 0};
    ::SetScrollInfo(control_->WindowHandle(), Bar(), &si, TRUE);
    appliedPos_ = position_;
  }
  if (kind_ == sbVertical) control_->ScrollChildren(0, old - value);
  else control_->ScrollChildren(old - value, 0);
  control_->ScrollBarsChanged();
}

bool TControlScrollBar::Apply(bool& sent) {
  if (!control_->HandleAllocated()) return false;
  const int page = PageSize();
  const bool show = visible_ && page > 0 && range_ > page;
  const int range = show ? range_ : 0;
  const int shownPage = show ? page : 0;
  const int pos = show ? std::clamp(position_, 0, range_ - page) : 0;
  if (applied_ && show == shown_ && range == appliedRange_ && shownPage == appliedPage_ &&
      pos == appliedPos_)
    return false;
  sent = true;
  HWND wnd = control_->WindowHandle();
  SCROLLINFO si{sizeof(si), SIF_RANGE | SIF_PAGE | SIF_POS, 0, std::max(range - 1, 0),
                static_cast<UINT>(shownPage), pos, 0};
  ::SetScrollInfo(wnd, Bar(), &si, TRUE);
  ::ShowScrollBar(wnd, Bar(), show);
  const bool toggled = !applied_ || show != shown_;
  applied_ = true;
  shown_ = show;
  appliedRange_ = range;
  appliedPage_ = shownPage;
  appliedPos_ = pos;
  return toggled;
}

void TControlScrollBar::Scroll(int code, int thumb) {
  int pos = position_;
  switch (code) {
    case SB_LINEUP: pos -= increment_; break;
    case SB_LINEDOWN: pos += increment_; break;
    case SB_PAGEUP: pos -= PageSize(); break;
    case SB_PAGEDOWN: pos += PageSize(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = thumb; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = LastPosition(); break;
    default: return;
  }
  SetPosition(pos);
}

// ---------------------------------------------------------------- the container

TScrollingWinControl::TScrollingWinControl(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
}

void TScrollingWinControl::SetAutoScroll(bool v) {
  if (v == autoScroll_) return;
  autoScroll_ = v;
  if (!v) horz_->range_ = vert_->range_ = 0;
  AdjustScrollBars();
}

void TScrollingWinControl::CreateWnd() {
  TWinControl::CreateWnd();
  horz_->Forget();
  vert_->Forget();
  AdjustScrollBars();
}

void TScrollingWinControl::AlignControls(TControl* control, RECT& rect) {
  TWinControl::AlignControls(control, rect);
  AdjustScrollBars();
}

// The contents reach as far as the farthest visible child, measured from
// where it stands unscrolled.
void TScrollingWinControl::CalcAutoRange() {
  int right = 0, bottom = 0;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible()) continue;
    right = std::max(right, c->Left() + c->Width() + horz_->position_);
    bottom = std::max(bottom, c->Top() + c->Height() + vert_->position_);
  }
  if (horz_->measured_) horz_->range_ = right;
  if (vert_->measured_) vert_->range_ = bottom;
}

void TScrollingWinControl::AdjustScrollBars() {
  if (updating_ || !HandleAllocated() || HasState(csDestroying)) return;
  updating_ = true;
  if (autoScroll_) CalcAutoRange();
  const int oldX = horz_->position_, oldY = vert_->position_;
  bool changed = false;
  // A bar that comes or goes changes the other's page: settle in two rounds.
  for (int round = 0; round < 3; ++round) {
    const bool toggled = horz_->Apply(changed) | vert_->Apply(changed);
    if (!toggled) break;
  }
  horz_->position_ = horz_->appliedPos_;
  vert_->position_ = vert_->appliedPos_;
  ScrollChildren(oldX - horz_->position_, oldY - vert_->position_);
  updating_ = false;
  if (changed) ScrollBarsChanged();
}

void TScrollingWinControl::ScrollChildren(int dx, int dy) {
  if (dx == 0 && dy == 0) return;
  DisableAlign();
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
  }
  EnableAlign();
}

void TScrollingWinControl::WndProc(TMessage& message) {
  // The window's own bars (a scroll-bar child names itself in LParam).
  if ((message.Msg == WM_HSCROLL || message.Msg == WM_VSCROLL) && message.LParam == 0) {
    (message.Msg == WM_VSCROLL ? vert_ : horz_)
        ->Scroll(LOWORD(message.WParam), static_cast<short>(HIWORD(message.WParam)));
    message.Result = 0;
    return;
  }
  TWinControl::WndProc(message);
  // A child that came or went changes the measured ranges.
  if (message.Msg == CM_CONTROLLISTCHANGE && autoScroll_) AdjustScrollBars();
}
