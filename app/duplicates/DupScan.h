// The duplicate scan as the worker runs it: the folder walk, the grouping,
// the removal of records without a group and the sort, with the status
// texts and progress values of each phase reported through hooks. The hooks
// are called on the thread that runs the scan; TProgressThread hands each
// call to the user-interface thread in the order made.
#pragma once

#include <functional>
#include <string>

#include "app/duplicates/DupContent.h"
#include "app/duplicates/DupTables.h"

// What the scan drives on the page: the phase label (OperationName), the
// counter label (ProgressStaus), the progress bar, the window's repaint and
// the start button's caption and Tag (1 running, 0 idle).
struct TDupScanHooks {
  std::function<void(const std::wstring& text)> SetOperationName;
  std::function<void(const std::wstring& text)> SetProgressStatus;
  std::function<void(int max)> SetProgressMax;
  std::function<void(int position)> SetProgressPosition;
  std::function<void()> Repaint;
  std::function<void(const std::wstring& caption, int tag)> SetStartButton;
};

// The texts the scan shows.
inline constexpr const wchar_t* kDupStartCaption = L"Начать сканирование";
inline constexpr const wchar_t* kDupStopCaption = L"Остановить сканирование";
inline constexpr const wchar_t* kDupPhaseWalk = L"Сканирование папок";
inline constexpr const wchar_t* kDupPhaseCompare = L"Сравнение файлов";
inline constexpr const wchar_t* kDupPhaseResult = L"Обработка результата";
inline constexpr const wchar_t* kDupPhaseSort = L"Сортировка";
inline constexpr const wchar_t* kDupNothingFound = L"Дублирующихся файлов не найдено";
inline constexpr const wchar_t* kDupAborted = L"Сканирование прервано";
inline constexpr const wchar_t* kDupFoundPrefix = L"Найдено ";

enum class TDupScanOutcome { Found, TooFewFiles, Aborted };

// Runs the whole scan on DupFolders (the top entries DupPrepareScan made),
// DupFiles, DupCriteria, DupScanSubfolders and DupStop, and ends in one of
// the three idle states with the start button back to kDupStartCaption, 0.
TDupScanOutcome RunDuplicateScan(const TDupScanHooks& hooks, TDupContentStats* stats = nullptr);

// Ends a stopped scan: both tables emptied (not even the root entry stays),
// the start button idle, "Сканирование прервано", an empty counter, repaint.
void AbortDuplicateScan(const TDupScanHooks& hooks);

// "3 из 17 " — the counter text of the walk and the comparison.
std::wstring DupCounterText(int index, int last);
