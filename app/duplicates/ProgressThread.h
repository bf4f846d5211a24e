// TProgressThread: the duplicate finder's worker. It runs the scan on the
// shared tables and hands every update of the page (texts, progress, the
// start button) to the user-interface thread through TThread::Queue, so the
// updates arrive in the order made and the worker never waits for the page.
#pragma once

#include "app/duplicates/DupScan.h"
#include "framework/Threads.h"

class TProgressThread : public TThread {
 public:
  // `hooks` are called on the user-interface thread. Create it with
  // TThread::Create<TProgressThread>(hooks); it starts at once.
  explicit TProgressThread(TDupScanHooks hooks);

  // Requests the stop and waits until the worker has ended; the updates it
  // queued meanwhile have run when this returns (call on the main thread,
  // e.g. while the main window closes).
  void StopAndWait();

  TDupScanOutcome Outcome() const { return outcome_; }

 protected:
  void Execute() override;

 private:
  TDupScanHooks QueuedHooks();

  TDupScanHooks hooks_;
  TDupScanOutcome outcome_ = TDupScanOutcome::Aborted;
};
