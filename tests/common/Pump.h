#pragma once
// Running this thread's message loop from a test: until nothing is waiting,
// until something holds (with a bound, so a broken run does not hang), or
// for a while. Timers and queued calls of workers are delivered like every
// other message.
#include <windows.h>

namespace testenv {

// Says whether a message is taken off the queue without being delivered.
using MessageFilter = bool (*)(const MSG&);

// Delivers every message waiting now; those `drop` names are removed
// undelivered.
inline void PumpPending(MessageFilter drop = nullptr) {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (drop && drop(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Delivers messages until `done` holds or `limitMs` have passed, waiting
// for new ones (a few milliseconds at most) between rounds; returns done().
// Timers on a loaded machine fire late, never early, so a test waits for
// what must come rather than for a fixed time.
template <class Pred>
bool PumpUntil(Pred&& done, DWORD limitMs, MessageFilter drop = nullptr) {
  const ULONGLONG start = ::GetTickCount64();
  while (!done()) {
    if (::GetTickCount64() - start >= limitMs) return done();
    PumpPending(drop);
    if (!done()) ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  return true;
}

// Delivers messages for about `ms` milliseconds (what is waiting at least
// once).
inline void PumpFor(DWORD ms) {
  const ULONGLONG end = ::GetTickCount64() + ms;
  PumpPending();
  PumpUntil([end] { return ::GetTickCount64() >= end; }, ms + 1000);
}

}  // namespace testenv
