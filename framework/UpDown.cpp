#include "framework/UpDown.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/ComCtrls.h"

TCustomUpDown::TCustomUpDown(TComponent* AOwner) : TSystemControl(AOwner) {
  InitCommonControlsOnce();
  SetControlStyle(ControlStyle() & ~csDoubleClicks);
  SetBounds(0, 0, 17, 25);
}

void TCustomUpDown::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  CreateSubClass(params, UPDOWN_CLASSW);
  params.Style |= UDS_ARROWKEYS;
  if (orientation_ == udHorizontal) params.Style |= UDS_HORZ;
}

void TCustomUpDown::CreateWindowState() {
  UpdateRange();
  ::SendMessageW(WindowHandle(), UDM_SETPOS32, 0, position_);
  UpdateIncrement();
}

void TCustomUpDown::UpdateRange() {
  if (HandleAllocated()) ::SendMessageW(WindowHandle(), UDM_SETRANGE32, min_, max_);
}

void TCustomUpDown::UpdateIncrement() {
  if (!HandleAllocated()) return;
  UDACCEL accel{0, static_cast<UINT>(increment_)};
  ::SendMessageW(WindowHandle(), UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
}

void TCustomUpDown::SetMin(int value) {
  min_ = value;
  UpdateRange();
  Repaint();
}

void TCustomUpDown::SetMax(int value) {
  max_ = value;
  UpdateRange();
  Repaint();
}

int TCustomUpDown::Position() const {
  if (!HandleAllocated()) return position_;
  return static_cast<int>(::SendMessageW(WindowHandle(), UDM_GETPOS32, 0, 0));
}

void TCustomUpDown::SetPosition(int value) {
  position_ = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
  if (HandleAllocated()) ::SendMessageW(WindowHandle(), UDM_SETPOS32, 0, position_);
  Repaint();
}

void TCustomUpDown::SetIncrement(int value) {
  increment_ = value;
  UpdateIncrement();
}

void TCustomUpDown::SetOrientation(TUDOrientation value) {
  if (orientation_ == value) return;
  orientation_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomUpDown::WndProc(TMessage& m) {
  TSystemControl::WndProc(m);
  if (HasState(csDesigning) || (m.Msg != CN_VSCROLL && m.Msg != CN_HSCROLL)) return;
  // The platform has moved the position already: report the step it took.
  const int now = Position();
  if (OnClick && now != position_) OnClick(this, now > position_ ? btNext : btPrev);
  position_ = now;
}
