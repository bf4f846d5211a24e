#include "framework/PendingPaints.h"

void TPendingPaints::Keep(HWND root) {
  if (!root || !::IsWindowVisible(root)) return;
  KeepOne(root);
  ::EnumChildWindows(
      root,
      [](HWND child, LPARAM self) -> BOOL {
        if (::IsWindowVisible(child)) reinterpret_cast<TPendingPaints*>(self)->KeepOne(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(this));
}

void TPendingPaints::KeepOne(HWND wnd) {
  UniqueRgn rgn(::CreateRectRgn(0, 0, 0, 0));
  if (!rgn) return;
  const int kind = ::GetUpdateRgn(wnd, rgn.get(), FALSE);
  if (kind <= NULLREGION) return;
  RECT box{}, client{};
  ::GetRgnBox(rgn.get(), &box);
  ::GetClientRect(wnd, &client);
  const bool whole = kind == SIMPLEREGION && ::EqualRect(&box, &client);
  pending_.push_back({wnd, std::move(rgn), whole});
}

void TPendingPaints::Restore() {
  std::vector<Pending> pending;
  pending.swap(pending_);
  for (Pending& p : pending)
    if (::IsWindow(p.wnd))
      ::RedrawWindow(p.wnd, nullptr, p.whole ? nullptr : p.rgn.get(),
                     RDW_INVALIDATE | RDW_ERASE | (p.whole ? RDW_FRAME : 0));
}
