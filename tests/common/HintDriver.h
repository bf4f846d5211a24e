// Drives the application's hints the way the mouse does: mouse moves are
// sent to a control and messages pumped until the hint shows. The real
// pointer is left alone, since test executables run side by side on one
// display and share it; the mouse input the system posts for it (moves over
// a shown form, the leave it reports for a window the pointer is not over)
// is dropped while waiting, so to the control the mouse stays until the
// test sends the leave itself.
#pragma once

#include <windows.h>

#include "framework/Forms.h"
#include "framework/Hints.h"
#include "tests/common/Pump.h"

namespace hinttest {

// The mouse arrives over the control's middle.
inline void MoveOnto(TWinControl* c) {
  SendMessageW(c->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(c->Width() / 2, c->Height() / 2));
}

inline void Leave(TWinControl* c) { SendMessageW(c->Handle(), WM_MOUSELEAVE, 0, 0); }

// Pumps messages until a hint window shows or a 1 ms hint pause has long
// been due (a due timer is delivered by the next message check). Long
// enough for a machine busy with other work: the timer and the hint
// window's showing can lag by far more than the pause there.
inline THintWindow* WaitForHint() {
  THintWindow* shown = nullptr;
  testenv::PumpUntil([&shown] { return (shown = Application->Hints()->ShownWindow()) != nullptr; }, 2000,
                     [](const MSG& msg) {
                       return (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) ||
                              (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCXBUTTONDBLCLK) ||
                              msg.message == WM_MOUSELEAVE || msg.message == WM_NCMOUSELEAVE;
                     });
  return shown;
}

}  // namespace hinttest
