#include "app/duplicates/ProgressThread.h"

TProgressThread::TProgressThread(TDupScanHooks hooks) : TThread(false), hooks_(std::move(hooks)) {}

// Each hook becomes one queued call carrying copies of its arguments and of
// the target hook, never a reference into the worker.
TDupScanHooks TProgressThread::QueuedHooks() {
  TDupScanHooks q;
  if (auto h = hooks_.SetOperationName)
    q.SetOperationName = [this, h](const std::wstring& s) { Queue([h, s] { h(s); }); };
  if (auto h = hooks_.SetProgressStatus)
    q.SetProgressStatus = [this, h](const std::wstring& s) { Queue([h, s] { h(s); }); };
  if (auto h = hooks_.SetProgressMax) q.SetProgressMax = [this, h](int v) { Queue([h, v] { h(v); }); };
  if (auto h = hooks_.SetProgressPosition)
    q.SetProgressPosition = [this, h](int v) { Queue([h, v] { h(v); }); };
  if (auto h = hooks_.Repaint) q.Repaint = [this, h] { Queue([h] { h(); }); };
  if (auto h = hooks_.SetStartButton)
    q.SetStartButton = [this, h](const std::wstring& c, int tag) { Queue([h, c, tag] { h(c, tag); }); };
  return q;
}

void TProgressThread::Execute() {
  const TDupScanHooks queued = QueuedHooks();
  try {
    outcome_ = RunDuplicateScan(queued);
  } catch (...) {
    // Out of memory or a failed hand-over: the page must still go back to
    // idle, and a half-built result is not shown.
    outcome_ = TDupScanOutcome::Aborted;
    try {
      AbortDuplicateScan(queued);
    } catch (...) {
    }
  }
}

void TProgressThread::StopAndWait() {
  DupStop = true;
  WaitFor();
  CheckSynchronize();
}
