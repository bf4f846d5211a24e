// Points given relative to a window's top-left corner, turned into the
// LPARAM of a mouse message: screen coordinates for the non-client
// messages, client coordinates for the client ones.
#pragma once

#include <windows.h>

#include "framework/Classes.h"

namespace skintest {

inline LPARAM ScreenPoint(HWND wnd, int x, int y) {
  RECT r{};
  ::GetWindowRect(wnd, &r);
  return MAKELPARAM(r.left + x, r.top + y);
}

inline LPARAM ClientPoint(HWND wnd, int x, int y) {
  RECT r{};
  ::GetWindowRect(wnd, &r);
  POINT p{r.left + x, r.top + y};
  ::ScreenToClient(wnd, &p);
  return MAKELPARAM(static_cast<short>(p.x), static_cast<short>(p.y));
}

inline LPARAM ScreenPoint(HWND wnd, const TPoint& p) { return ScreenPoint(wnd, p.x, p.y); }
inline LPARAM ClientPoint(HWND wnd, const TPoint& p) { return ClientPoint(wnd, p.x, p.y); }

// Where the client area starts, relative to the window's top-left corner.
inline TPoint ClientOrigin(HWND wnd) {
  POINT o{0, 0};
  ::ClientToScreen(wnd, &o);
  RECT r{};
  ::GetWindowRect(wnd, &r);
  return TPoint{o.x - r.left, o.y - r.top};
}

inline TPoint Centre(const TRect& r) {
  return TPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace skintest
