#include "app/duplicates/DupScan.h"

#include "app/duplicates/DupGrouping.h"
#include "app/duplicates/DupScanner.h"
#include "app/duplicates/DupSort.h"

namespace {

void Call(const std::function<void(const std::wstring&)>& f, const std::wstring& s) {
  if (f) f(s);
}
void Call(const std::function<void(int)>& f, int v) {
  if (f) f(v);
}
void Call(const std::function<void()>& f) {
  if (f) f();
}

// Counter updates come far faster than anyone can read them, and every one
// handed to the user-interface thread costs a message; pass on the first,
// then at most one per interval, and always the last.
class TThrottle {
 public:
  bool Due(bool force) {
    const ULONGLONG now = GetTickCount64();
    if (!force && started_ && now - last_ < kIntervalMs) return false;
    started_ = true;
    last_ = now;
    return true;
  }

 private:
  static constexpr ULONGLONG kIntervalMs = 40;
  bool started_ = false;
  ULONGLONG last_ = 0;
};

void ShowPhase(const TDupScanHooks& hooks, const std::wstring& name) {
  Call(hooks.SetOperationName, name);
  Call(hooks.SetProgressStatus, L"");
  Call(hooks.Repaint);
}

void ShowIdle(const TDupScanHooks& hooks) {
  if (hooks.SetStartButton) hooks.SetStartButton(kDupStartCaption, 0);
}

}  // namespace

std::wstring DupCounterText(int index, int last) {
  return std::to_wstring(index) + L" из " + std::to_wstring(last) + L" ";
}

void AbortDuplicateScan(const TDupScanHooks& hooks) {
  DupFolders.clear();
  DupFiles.clear();
  ShowIdle(hooks);
  Call(hooks.SetOperationName, kDupAborted);
  Call(hooks.SetProgressStatus, L"");
  Call(hooks.Repaint);
}

TDupScanOutcome RunDuplicateScan(const TDupScanHooks& hooks, TDupContentStats* stats) {
  int progressMax = 0;
  auto setMax = [&](int max) {
    if (max != progressMax) Call(hooks.SetProgressMax, max);
    progressMax = max;
  };

  // Phase 1: the folder walk.
  ShowPhase(hooks, kDupPhaseWalk);
  TThrottle walkThrottle;
  bool walkShown = false;  // whether the last BeforeFolder was passed on
  TDupWalkHooks walkHooks;
  walkHooks.BeforeFolder = [&](int i, int last) {
    walkShown = walkThrottle.Due(i == 1 || i == last);
    if (!walkShown) return;
    Call(hooks.SetProgressStatus, DupCounterText(i, last));
    setMax(last);
    Call(hooks.SetProgressPosition, i);
  };
  walkHooks.AfterFolder = [&](int) {
    if (walkShown) Call(hooks.SetProgressPosition, 0);
  };
  DupWalkFolders(DupFolders, DupFiles, DupScanSubfolders, DupStop, walkHooks);
  if (DupStop) {
    AbortDuplicateScan(hooks);
    return TDupScanOutcome::Aborted;
  }
  if (DupFiles.size() < 2) {
    ShowPhase(hooks, kDupNothingFound);
    ShowIdle(hooks);
    return TDupScanOutcome::TooFewFiles;
  }

  // Phase 2: the comparison.
  ShowPhase(hooks, kDupPhaseCompare);
  const int last = static_cast<int>(DupFiles.size()) - 1;
  TThrottle compareThrottle;
  auto showCompared = [&](int i, bool force) {
    if (!compareThrottle.Due(force)) return;
    Call(hooks.SetProgressStatus, DupCounterText(i, last));
    setMax(last);
    Call(hooks.SetProgressPosition, i);
  };
  showCompared(0, true);
  const bool complete = DupAssignGroups(DupFiles, DupFolders, DupCriteria, DupStop,
                                        [&](int settled) { showCompared(settled - 1, settled - 1 == last); },
                                        stats);
  if (!complete || DupStop) {
    AbortDuplicateScan(hooks);
    return TDupScanOutcome::Aborted;
  }

  // Phase 3: records without a group go.
  ShowPhase(hooks, kDupPhaseResult);
  Call(hooks.SetProgressStatus, std::to_wstring(last) + L" ");
  DupRemoveUngrouped(DupFiles);
  Call(hooks.SetProgressStatus, L"0 ");
  if (DupStop) {
    AbortDuplicateScan(hooks);
    return TDupScanOutcome::Aborted;
  }

  // Phase 4: sort by group and show the count.
  ShowPhase(hooks, kDupPhaseSort);
  SortFiles(L"Double");
  ShowPhase(hooks, kDupFoundPrefix + std::to_wstring(DupFiles.size()));
  ShowIdle(hooks);
  Call(hooks.SetProgressPosition, progressMax);
  return TDupScanOutcome::Found;
}
