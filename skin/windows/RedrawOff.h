// Turns a window's drawing off for one step of its own procedure that would
// paint (the system's caption on activation or a new text), and on again
// afterwards, without losing the painting that was pending.
#pragma once

#include <windows.h>

#include "framework/PendingPaints.h"

// Works on any window, also one that is no framework control (a system
// dialog), whose own WM_SETREDRAW handling would lose the pending painting.
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
  HWND wnd_ = nullptr;
  TPendingPaints pending_;
};
