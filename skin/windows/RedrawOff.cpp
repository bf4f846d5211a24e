#include "skin/windows/RedrawOff.h"

TRedrawOff::TRedrawOff(HWND wnd) : wnd_(wnd) {
  if (!wnd_ || !::IsWindowVisible(wnd_)) {
    wnd_ = nullptr;
    return;
  }
  pending_.Keep(wnd_);
  ::SendMessageW(wnd_, WM_SETREDRAW, FALSE, 0);
}

TRedrawOff::~TRedrawOff() { End(); }

void TRedrawOff::End(bool restore) {
  if (!wnd_) return;
  HWND wnd = wnd_;
  wnd_ = nullptr;
  if (!restore) return;
  ::SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  pending_.Restore();
}
