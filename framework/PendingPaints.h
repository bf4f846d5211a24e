// The painting a window tree still has pending, kept across a step that
// would throw it away and given back afterwards.
#pragma once

#include <windows.h>

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
  struct Pending {
    HWND wnd;
    UniqueRgn rgn;
    // The whole client area was to be painted. The frame's own update
    // cannot be read back, and a window invalidated whole (shown again,
    // its frame changed) usually had its frame to paint as well: it gets
    // its frame painted again too.
    bool whole;
  };
  void KeepOne(HWND wnd);

  std::vector<Pending> pending_;
};
