#include "skin/windows/UncoveredRepaint.h"

namespace {

struct Uncovered {
  HWND hidden;
  RECT area;  // screen coordinates
};

BOOL CALLBACK RepaintUnder(HWND wnd, LPARAM param) {
  const auto* u = reinterpret_cast<const Uncovered*>(param);
  if (wnd == u->hidden || !::IsWindowVisible(wnd) || ::IsIconic(wnd)) return TRUE;
  RECT wr{}, part{};
  ::GetWindowRect(wnd, &wr);
  if (!::IntersectRect(&part, &wr, &u->area)) return TRUE;
  // RedrawWindow takes client coordinates; the frame lies at negative ones.
  ::MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&part), 2);
  ::RedrawWindow(wnd, &part, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  return TRUE;
}

}  // namespace

void RepaintUncovered(HWND hidden) {
  Uncovered u{hidden, {}};
  if (!hidden || !::GetWindowRect(hidden, &u.area) || ::IsRectEmpty(&u.area)) return;
  ::EnumThreadWindows(::GetWindowThreadProcessId(hidden, nullptr), RepaintUnder,
                      reinterpret_cast<LPARAM>(&u));
}
