// The painting a window tree still has pending, kept across a step that
// would throw it away and given back afterwards.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "framework/Handles.h"

// Under Wine, WM_SETREDRAW 0 validates the window and all its children at
// once, and WM_SETREDRAW 1 does not invalidate them again: an update pending
// from a show or from a child's own invalidation would be lost, and the
// window would keep what the screen had (black on a new window).
class TPendingPaints {
 public:
  TPendingPaints() = default;
  TPendingPaints(const TPendingPaints&) = delete;
  TPendingPaints& operator=(const TPendingPaints&) = delete;

  // Adds the update regions of `root` and its visible descendants.
  void Keep(HWND root);
  // Invalidates every kept region again (with erase) and forgets them.
  void Restore();

 private:
  void KeepOne(HWND wnd);

  std::vector<std::pair<HWND, UniqueRgn>> pending_;
};
