// Turns a window's drawing off for one step of its own procedure that would
// paint (the system's caption on activation or a new text), and on again
// afterwards, without losing the painting that was pending.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

#include "framework/Handles.h"

// Under Wine, WM_SETREDRAW 0 validates the window and all its children:
// an update pending from a show or from a child's own invalidation would be
// lost, and the client stays as the screen had it (black on a new window).
// The scope keeps the update regions of the window and its visible
// descendants and invalidates them again when drawing is back on.
class TRedrawOff {
 public:
  explicit TRedrawOff(HWND wnd);
  ~TRedrawOff();
  TRedrawOff(const TRedrawOff&) = delete;
  TRedrawOff& operator=(const TRedrawOff&) = delete;

  // Drawing on again now (the destructor then does nothing); `restore`
  // false leaves drawing off, for a caller that turns it on later itself.
  void End(bool restore = true);

 private:
  void Keep(HWND wnd);

  HWND wnd_ = nullptr;
  std::vector<std::pair<HWND, UniqueRgn>> pending_;
};
