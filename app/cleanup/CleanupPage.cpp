#include "app/cleanup/CleanupPage.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>

#include "app/cleanup/CleanupFiles.h"
#include "app/cleanup/FileScan.h"
#include "app/mainwindow/MainForm.h"
#include "app/common/PageLayout.h"
#include "app/cleanup/UrlCache.h"
#include "framework/ComCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"
#include "skin/controls/Button.h"
#include "skin/controls/CheckBox.h"
#include "skin/controls/Label.h"
#include "skin/controls/Memo.h"
#include "skin/controls/LabelFX.h"
#include "skin/controls/GroupBox.h"
#include "skin/controls/ProgressBar.h"

namespace {

const wchar_t kNoCleaning[] = L"Очистка не требуется";
// The rating's place after a cleaning that could not delete everything.
const wchar_t kCleanupIncomplete[] = L"Очистка выполнена не полностью";
const wchar_t kCleaningRecommended[] = L"Рекомендуется выполнить очистку";
const wchar_t kCleaningNeeded[] = L"Очистка необходима";

// Limits of the URL-cache rating and of the combined rating.
constexpr int kCacheLow = 70, kCacheHigh = 200;
constexpr int kCombinedLow = 50, kCombinedHigh = 150;

// The memo takes the first pass's names in chunks: every addition makes the
// edit control lay out its whole text again.
constexpr int kMemoChunkLines = 500;
constexpr ULONGLONG kMemoChunkMs = 250;

// The prefetch folder holds ".pf" files; the mask is the bare extension.
const wchar_t kTempMask[] = L"*.*";
const wchar_t kPrefetchMask[] = L".pf";

// Labels get fixed bounds: the counts and the rating change length at run time.
template <class T = TsLabel>
T* PlaceLabel(TMainForm* form, TWinControl* parent, const wchar_t* name, const wchar_t* caption,
              int left, int top, int width) {
  T* label = Place<T>(form, parent, name, left, top, width, 13);
  label->SetAutoSize(false);
  label->SetCaption(caption);
  return label;
}

void SetHint(TControl* control, const wchar_t* hint) {
  control->SetHint(hint);
  control->SetShowHint(true);
}

}  // namespace

const wchar_t* CleanupRating(int count, int low, int high) {
  if (count > high) return kCleaningNeeded;
  if (count > low) return kCleaningRecommended;
  return kNoCleaning;  // a count of exactly `low` needs no cleaning either
}

TCleanupPage::~TCleanupPage() {
  // A pass still running reports to this page; stop it before the page goes.
  FreePass(firstPass_);
  FreePass(secondPass_);
  FS1 = nullptr;
}

void TCleanupPage::BuildCleanupPage(TMainForm* form, TTabSheet* sheet) {
  form_ = form;

  sCheckBox1 = Place<TsCheckBox>(form, sheet, L"sCheckBox1", 16, 12, 200, 17);
  sCheckBox1->SetCaption(L"Internet Explorer");
  SetHint(sCheckBox1, L"Сканирует и удаляет все временные файлы любой версии IE");
  sCheckBox1->SetChecked(true);
  sCheckBox1->OnClick = [this](TObject* s) { sCheckBox1Click(s); };

  sCheckBox3 = Place<TsCheckBox>(form, sheet, L"sCheckBox3", 16, 34, 200, 17);
  sCheckBox3->SetCaption(L"Система");
  SetHint(sCheckBox3, L"Сканирует и удаляет все временные файлы в системе");
  sCheckBox3->SetChecked(true);

  sGroupBox12 = Place<TsGroupBox>(form, sheet, L"sGroupBox12", 8, 60, 416, 92);
  sGroupBox12->SetCaption(L"Информация");
  SetHint(sGroupBox12, L"Выводить общую информацию о сканируемых обьетах");
  sLabel1 = PlaceLabel(form, sGroupBox12, L"sLabel1", L"Статус:", 12, 22, 110);
  STProv = PlaceLabel(form, sGroupBox12, L"STProv", L"", 130, 22, 276);
  IEFiles = PlaceLabel(form, sGroupBox12, L"IEFiles", L"Internet Explorer:", 12, 44, 110);
  IESize = PlaceLabel(form, sGroupBox12, L"IESize", L"0", 130, 44, 120);
  sLabel5 = PlaceLabel(form, sGroupBox12, L"sLabel5", L"Система:", 12, 66, 110);
  sLabel4 = PlaceLabel(form, sGroupBox12, L"sLabel4", L"0", 130, 66, 120);

  DetailsGroup = Place<TGroupBox>(form, sheet, L"DetailsGroup", 8, 158, 416, 178);
  DetailsGroup->SetCaption(L"Подробно");
  sMemo1 = Place<TsMemo>(form, DetailsGroup, L"sMemo1", 8, 18, 400, 152);
  sMemo1->SetReadOnly(true);
  sMemo1->SetWordWrap(false);  // paths stay on one line; the scroll bar reaches their ends
  sMemo1->SetScrollBars(ssBoth);
  SetHint(sMemo1, L"Показывает подробное местоположение временных файлов");

  sButton1 = Place<TsButton>(form, sheet, L"sButton1", 8, 344, 90, 25);
  sButton1->SetCaption(L"Анализ");
  sButton1->OnClick = [this](TObject* s) { sButton1Click(s); };
  sButton2 = Place<TsButton>(form, sheet, L"sButton2", 106, 344, 90, 25);
  sButton2->SetCaption(L"Очистить");
  sButton2->SetEnabled(false);
  sButton2->OnClick = [this](TObject* s) { sButton2Click(s); };

  sLabelFX1 = PlaceLabel<TsLabelFX>(form, sheet, L"sLabelFX1", L"Прогресс", 8, 380, 120);
  sLabelFX1->SetAutoSize(true);  // room for the shadow around the text
  sProgressBar1 = Place<TsProgressBar>(form, sheet, L"sProgressBar1", 8, 398, 416, 18);
  sProgressBar1->SetMax(3);
  sProgressBar1->Step = 1;
}

void TCleanupPage::sButton1Click(TObject*) { Scan(); }

void TCleanupPage::sCheckBox1Click(TObject*) { form_->CleanIE = sCheckBox1->Checked(); }

void TCleanupPage::Scan() {
  // One analysis at a time; the buttons say so too.
  if (analysisRunning_) return;
  analysisRunning_ = true;
  sButton1->SetEnabled(false);
  sButton2->SetEnabled(false);

  ScanWaiting = true;
  // Only names this analysis finds may be deleted by the next cleaning.
  TempFileList.fill(std::wstring());
  FoundCount = 0;
  sProgressBar1->SetPosition(0);
  sMemo1->Lines()->Clear();
  sMemo1->HandleNeeded();
  sMemo1->SetMaxLength(0);  // no limit: the list may be long
  memoPending_.clear();
  memoPendingLines_ = 0;
  memoFlushed_ = ::GetTickCount64();
  IECacheCount = 0;

  if (form_->CleanIE) {
    IESize->SetCaption(L"0");
    sLabel4->SetCaption(L"0");
    ScanIECache();
    STProv->SetCaption(CleanupRating(IECacheCount, kCacheLow, kCacheHigh));
    sProgressBar1->StepIt();
  }

  bool secondPassRuns = false;
  if (sCheckBox3->Checked()) {
    sLabel4->SetCaption(L"0");
    FoundCount = 0;
    firstPass_ = FS1 = NewPass(true);
    FS1->Start();
    sProgressBar1->StepIt();
    while (ScanWaiting && !Application->Terminated()) Application->HandleMessage();
    if (!Application->Terminated()) {
      FoundCount = 0;
      secondPass_ = FS1 = NewPass(false);
      FS1->Start();
      sProgressBar1->StepIt();
      secondPassRuns = true;
      // The combined rating follows when this pass has reported its last name.
    }
  }
  ScanWaiting = false;
  sProgressBar1->SetPosition(sProgressBar1->Max());
  if (!secondPassRuns) EndAnalysis();
}

TmFileScan* TCleanupPage::NewPass(bool subDirs) {
  auto* fs = Construct<TmFileScan>(form_);
  fs->SetName(L"FS1");
  fs->OnFileFound = [this](TObject* s, const std::wstring& name) { fsFileFound(s, name); };
  fs->OnReady = [this](TObject* s, bool aborted, TStringList* result) { fsReady(s, aborted, result); };
  std::wstring temp, windows;
  if (GetSystemPath(form_->WindowHandle(), kGetTempPath, temp) && DirectoryExists(temp)) {
    fs->Filters()->Add(kTempMask);
    fs->Paths()->Add(temp);
  }
  if (GetSystemPath(form_->WindowHandle(), kGetWindowsPath, windows) &&
      DirectoryExists(windows + L"Prefetch\\")) {
    fs->Filters()->Add(kPrefetchMask);
    fs->Paths()->Add(windows + L"Prefetch\\");
  }
  fs->SubDirs = subDirs;
  return fs;
}

void TCleanupPage::EndAnalysis() {
  analysisRunning_ = false;
  sButton1->SetEnabled(true);
  sButton2->SetEnabled(true);
}

void TCleanupPage::FreePass(TmFileScan*& pass) {
  if (FS1 == pass) FS1 = nullptr;
  FreeAndNil(pass);
}

void TCleanupPage::FlushMemo() {
  memoFlushed_ = ::GetTickCount64();
  if (memoPending_.empty()) return;
  memoPending_.resize(memoPending_.size() - 2);  // Add ends the chunk's last line itself
  sMemo1->Lines()->Add(memoPending_);
  memoPending_.clear();
  memoPendingLines_ = 0;
}

void TCleanupPage::fsFileFound(TObject*, const std::wstring& FileName) {
  if (ScanWaiting) {
    memoPending_ += FileName;
    memoPending_ += L"\r\n";
    ++FoundCount;
    sLabel4->SetCaption(IntToStr(FoundCount));
    if (++memoPendingLines_ >= kMemoChunkLines || ::GetTickCount64() - memoFlushed_ >= kMemoChunkMs)
      FlushMemo();
  } else {
    // Names beyond the last slot are counted but not kept.
    if (FoundCount < kTempFileSlots) TempFileList[FoundCount] = FileName;
    ++FoundCount;
  }
}

void TCleanupPage::fsReady(TObject* Sender, bool, TStringList*) {
  // The component that reported, whatever FS1 points at by now.
  auto* thread = dynamic_cast<TSearchThread*>(Sender);
  TmFileScan* reporter = thread ? thread->Owner() : nullptr;
  if (reporter && reporter == firstPass_) {
    FlushMemo();
    ScanWaiting = false;
    FreePass(firstPass_);
  } else if (reporter && reporter == secondPass_) {
    STProv->SetCaption(CleanupRating(FoundCount + IECacheCount, kCombinedLow, kCombinedHigh));
    FreePass(secondPass_);
    EndAnalysis();
  }
}

bool TCleanupPage::GetSystemPath(HWND, int code, std::wstring& path) const {
  path.clear();
  if (code == kGetTempPath) path = CleanupTempFolder();
  else if (code == kGetWindowsPath) path = WindowsFolder();
  return !path.empty();
}

void TCleanupPage::ScanIECache() {
  IECacheCount = 0;
  ForEachUrlCacheEntry([this](const wchar_t*) {
    ++IECacheCount;
    IESize->SetCaption(IntToStr(IECacheCount));
  });
}

void TCleanupPage::DeleteIECache() {
  ForEachUrlCacheEntry([](const wchar_t* url) {
    if (*url) ::DeleteUrlCacheEntryW(url);
  });
}

int TCleanupPage::DeleteFiles(HWND Wnd, const std::wstring* names, size_t count) {
  try {
    return DeleteCollectedFiles(Wnd, names, count);
  } catch (...) {
    Application->ProcessMessages();
    return -1;
  }
}

void TCleanupPage::Clear() {
  if (sCheckBox1->Checked()) DeleteIECache();
}

void TCleanupPage::sButton2Click(TObject*) {
  if (analysisRunning_) return;  // its names are not all in yet
  Clear();
  std::vector<std::wstring> left;
  if (sCheckBox3->Checked()) {
    DeleteFiles(form_->Handle(), TempFileList.data(), TempFileList.size());
    // Each name once more on its own: the shell's operation stops at its
    // first failure, so one file in use must not keep every name after it.
    // What the shell removed is simply gone.
    const size_t kept = static_cast<size_t>(std::clamp(FoundCount, 0, kTempFileSlots));
    left = DeleteLeftovers(TempFileList.data(), kept);
  }
  if (!left.empty()) {
    // Said where the names were listed, instead of a silent end.
    STProv->SetCaption(kCleanupIncomplete);
    sMemo1->Lines()->Clear();
    for (const std::wstring& line : LeftoverReport(left)) sMemo1->Lines()->Add(line);
  }
  sButton2->SetEnabled(false);
}
