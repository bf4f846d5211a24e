#include "framework/PendingPaints.h"

void TPendingPaints::Keep(HWND root) {
  if (!root || !::IsWindowVisible(root)) return;
  // The thread's queue knows whether any of its windows awaits a paint at
  // all: when none does there is nothing to keep, and the walk would ask
  // every window of the tree in vain.
  if (!(HIWORD(::GetQueueStatus(QS_PAINT)) & QS_PAINT)) return;
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
  if (rgn && ::GetUpdateRgn(wnd, rgn.get(), FALSE) > NULLREGION) pending_.emplace_back(wnd, std::move(rgn));
}

void TPendingPaints::Restore() {
  std::vector<std::pair<HWND, UniqueRgn>> pending;
  pending.swap(pending_);
  for (auto& [wnd, rgn] : pending)
    if (::IsWindow(wnd)) ::RedrawWindow(wnd, nullptr, rgn.get(), RDW_INVALIDATE | RDW_ERASE);
}
