#include "skin/windows/RedrawOff.h"

TRedrawOff::TRedrawOff(HWND wnd) : wnd_(wnd) {
  if (!wnd_ || !::IsWindowVisible(wnd_)) {
    wnd_ = nullptr;
    return;
  }
  Keep(wnd_);
  ::EnumChildWindows(
      wnd_,
      [](HWND child, LPARAM self) -> BOOL {
        if (::IsWindowVisible(child)) reinterpret_cast<TRedrawOff*>(self)->Keep(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(this));
  ::SendMessageW(wnd_, WM_SETREDRAW, FALSE, 0);
}

TRedrawOff::~TRedrawOff() { End(); }

void TRedrawOff::Keep(HWND wnd) {
  UniqueRgn rgn(::CreateRectRgn(0, 0, 0, 0));
  if (rgn && ::GetUpdateRgn(wnd, rgn.get(), FALSE) > NULLREGION) pending_.emplace_back(wnd, std::move(rgn));
}

void TRedrawOff::End(bool restore) {
  if (!wnd_) return;
  HWND wnd = wnd_;
  wnd_ = nullptr;
  if (!restore) return;
  ::SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  for (auto& [w, rgn] : pending_)
    if (::IsWindow(w)) ::RedrawWindow(w, nullptr, rgn.get(), RDW_INVALIDATE | RDW_ERASE);
  pending_.clear();
}
