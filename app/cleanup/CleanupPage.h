// The main window's page 0, cleanup: the URL cache, the temporary and prefetch folders.
// TMainForm inherits this part; its controls are the main window's own.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "skin/controls/Button.h"
#include "skin/controls/CheckBox.h"
#include "skin/controls/Label.h"
#include "skin/controls/LabelFX.h"

class TMainForm;
class TTabSheet;
class TGroupBox;
class TMemo;
class TProgressBar;
class TObject;
class TStringList;
class TmFileScan;

// The rating of a count against two limits: up to `low` no cleaning is
// needed, up to `high` it is recommended, above it is necessary.
const wchar_t* CleanupRating(int count, int low, int high);

class TCleanupPage {
 public:
  virtual ~TCleanupPage();

  static constexpr int kTempFileSlots = 1001;
  static constexpr int kGetTempPath = 35;     // GetSystemPath: the temporary folder
  static constexpr int kGetWindowsPath = 36;  // GetSystemPath: the Windows directory

 public:
  TsCheckBox* sCheckBox1 = nullptr;  // "Internet Explorer"
  TsCheckBox* sCheckBox3 = nullptr;  // "Система"
  TGroupBox* sGroupBox12 = nullptr;  // "Информация"
  TsLabel* sLabel1 = nullptr;         // "Статус:"
  TsLabel* STProv = nullptr;          // the rating
  TsLabel* IEFiles = nullptr;         // "Internet Explorer:"
  TsLabel* IESize = nullptr;          // URL-cache count
  TsLabel* sLabel5 = nullptr;         // "Система:"
  TsLabel* sLabel4 = nullptr;         // folder count of the first pass
  TGroupBox* DetailsGroup = nullptr;  // "Подробно"
  TMemo* sMemo1 = nullptr;           // every name of the first pass
  TsButton* sButton1 = nullptr;      // "Анализ"
  TsButton* sButton2 = nullptr;      // "Очистить"
  TsLabelFX* sLabelFX1 = nullptr;    // "Прогресс"
  TProgressBar* sProgressBar1 = nullptr;

  // URL-cache entries counted by the last analysis.
  int IECacheCount = 0;
  // Names delivered by the current pass of the folder search.
  int FoundCount = 0;
  // True while the first pass runs: its names go to the memo.
  bool ScanWaiting = false;
  // Names of the second pass, from slot 0; cleared when an analysis starts.
  std::array<std::wstring, kTempFileSlots> TempFileList;
  // The search component of the pass that runs (null between passes).
  TmFileScan* FS1 = nullptr;

  void sButton1Click(TObject* Sender);
  void sButton2Click(TObject* Sender);
  void sCheckBox1Click(TObject* Sender);

  // The analysis: counts the URL cache, lists the folders, rates.
  void Scan();
  void ScanIECache();
  void DeleteIECache();
  // Code 35: the temporary folder, 36: the Windows directory, each with a
  // trailing backslash; false (and an empty path) when it is refused.
  bool GetSystemPath(HWND owner, int code, std::wstring& path) const;
  void fsFileFound(TObject* Sender, const std::wstring& FileName);
  void fsReady(TObject* Sender, bool Aborted, TStringList* SearchResult);
  // One shell delete over the names (up to the first empty one).
  int DeleteFiles(HWND Wnd, const std::wstring* names, size_t count);
  // The URL-cache part of the cleaning.
  void Clear();

  // From the start of an analysis until its last pass has reported.
  bool AnalysisRunning() const { return analysisRunning_; }

 protected:
  // Builds the page's controls on `sheet` (called once by the main window's
  // constructor).
  void BuildCleanupPage(TMainForm* form, TTabSheet* sheet);

 private:
  TmFileScan* NewPass(bool subDirs);
  void EndAnalysis();
  void FreePass(TmFileScan*& pass);
  void FlushMemo();

  TMainForm* form_ = nullptr;
  bool analysisRunning_ = false;
  TmFileScan* firstPass_ = nullptr;
  TmFileScan* secondPass_ = nullptr;
  std::wstring memoPending_;  // first-pass names not yet in the memo
  int memoPendingLines_ = 0;
  unsigned long long memoFlushed_ = 0;
};
