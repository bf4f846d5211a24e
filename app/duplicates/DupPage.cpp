#include "app/duplicates/DupPage.h"

#include "app/common/AddFolderDialog.h"
#include "app/mainwindow/MainForm.h"
#include "app/common/PageLayout.h"
#include "app/duplicates/ProgressThread.h"
#include "app/duplicates/ResultForm.h"
#include "skin/controls/Button.h"
#include "framework/ComCtrls.h"
#include "framework/ListBox.h"
#include "framework/StdCtrls.h"
#include "skin/controls/GroupBox.h"
#include "skin/controls/ProgressBar.h"

namespace {

TGroupBox* PlaceGroup(TMainForm* form, TWinControl* parent, const wchar_t* name, const wchar_t* caption,
                      int left, int top, int width, int height) {
  auto* box = Place<TsGroupBox>(form, parent, name, left, top, width, height);
  box->SetCaption(caption);
  return box;
}

TCheckBox* PlaceCheck(TMainForm* form, TWinControl* parent, const wchar_t* name, const wchar_t* caption,
                      int left, int top, int width, bool checked) {
  auto* box = Place<TCheckBox>(form, parent, name, left, top, width, 17);
  box->SetCaption(caption);
  box->SetChecked(checked);
  return box;
}

template <class T = TButton>
T* PlaceButton(TMainForm* form, TWinControl* parent, const wchar_t* name, const wchar_t* caption,
                     int left, int top, int width) {
  auto* button = Place<T>(form, parent, name, left, top, width, 25);
  button->SetCaption(caption);
  return button;
}

TLabel* PlaceStatusLabel(TMainForm* form, TWinControl* parent, const wchar_t* name, const wchar_t* caption,
                         int top) {
  auto* label = Place<TLabel>(form, parent, name, 10, top, 392, 14);
  label->SetAutoSize(false);
  label->Font()->SetStyle(fsBold);
  label->SetCaption(caption);
  return label;
}

}  // namespace

TDupPage::TDupPage() = default;

TDupPage::~TDupPage() {
  // Updates still on their way would reach a window that is going away.
  hooksLive_ = false;
  StopDuplicateScan();
}

void TDupPage::BuildDupPage(TMainForm* form, TTabSheet* sheet) {
  dupForm_ = form;

  FoldersGroupBox = PlaceGroup(form, sheet, L"FoldersGroupBox", L"Список папок для сканирования", 8, 4,
                               412, 146);
  FoldersListBox = Place<TListBox>(form, FoldersGroupBox, L"FoldersListBox", 10, 18, 392, 118);
  FoldersListBox->SetHint(L"Отображаются необходимые папки для сканирования");
  FoldersListBox->SetShowHint(true);

  ChooseGroupBox = PlaceGroup(form, sheet, L"ChooseGroupBox", L"Выберите", 8, 154, 412, 100);
  AddButton = PlaceButton(form, ChooseGroupBox, L"AddButton", L"Добавить", 10, 18, 90);
  AddButton->OnClick = [this](TObject* s) { AddButtonClick(s); };
  RemoveButton = PlaceButton(form, ChooseGroupBox, L"RemoveButton", L"Удалить", 10, 47, 90);
  RemoveButton->OnClick = [this](TObject* s) { RemoveButtonClick(s); };
  ScanSubfoldersCheckBox =
      PlaceCheck(form, ChooseGroupBox, L"ScanSubfoldersCheckBox", L"Сканировать подпапки", 10, 77, 170, true);
  DoubleIndicationsBox = PlaceGroup(form, ChooseGroupBox, L"DoubleIndicationsBox", L"Признаки дубликата",
                                    196, 12, 206, 80);
  CheckBox1 = PlaceCheck(form, DoubleIndicationsBox, L"CheckBox1", L"Одинаковое имя", 10, 16, 186, true);
  CheckBox2 = PlaceCheck(form, DoubleIndicationsBox, L"CheckBox2", L"Одинаковый размер", 10, 36, 186, true);
  CheckBox3 =
      PlaceCheck(form, DoubleIndicationsBox, L"CheckBox3", L"Одинаковое содержимое", 10, 56, 186, false);

  StartGroupBox = PlaceGroup(form, sheet, L"StartGroupBox", L"Начать сканирование", 8, 258, 412, 56);
  StartButton = PlaceButton<TsButton>(form, StartGroupBox, L"StartButton", kDupStartCaption, 10, 20, 190);
  StartButton->Tag = 0;
  // Nothing to scan yet; the first folder added enables it.
  StartButton->SetEnabled(false);
  StartButton->OnClick = [this](TObject* s) { StartButtonClick(s); };
  ResultButton = PlaceButton<TsButton>(form, StartGroupBox, L"ResultButton", L"Смотреть результат", 212, 20, 190);
  ResultButton->SetHint(L"Просмотр результута сканирования");
  ResultButton->SetShowHint(true);
  ResultButton->OnClick = [this](TObject* s) { ResultButtonClick(s); };

  ProcessGroupBox = PlaceGroup(form, sheet, L"ProcessGroupBox", L"Процесс", 8, 318, 412, 86);
  OperationName = PlaceStatusLabel(form, ProcessGroupBox, L"OperationName", L"Статус", 18);
  ProgressStaus = PlaceStatusLabel(form, ProcessGroupBox, L"ProgressStaus", L"Количество", 38);
  sProgressBar2 = Place<TsProgressBar>(form, ProcessGroupBox, L"sProgressBar2", 10, 58, 392, 18);
}

bool TDupPage::DuplicateScanRunning() const { return StartButton && StartButton->Tag == 1; }

void TDupPage::AddButtonClick(TObject*) {
  if (DuplicateScanRunning()) return;
  TAddFolderDialog* dialog = EnsureAddFolderDialog(dupForm_);
  if (dialog->ShowModal() != mrOk) return;
  AddScanFolder(dialog->FolderPath);
  if (FoldersListBox->Count() > 0) StartButton->SetEnabled(true);
}

void TDupPage::AddScanFolder(const std::wstring& chosen) {
  if (chosen.empty()) return;
  std::wstring path = chosen;
  if (path.back() != L'\\') path += L'\\';
  // Drive paths only: network paths and shell folders without one are
  // dropped without a word.
  if (path.size() < 3 || path[1] != L':' || path[2] != L'\\') return;
  TStrings* items = FoldersListBox->Items();
  for (int i = 0; i < items->Count(); ++i)
    if (items->Strings(i) == path) return;
  items->Add(path);
  FoldersListBox->SetSorted(true);
}

void TDupPage::RemoveButtonClick(TObject*) {
  if (DuplicateScanRunning()) return;
  const int index = FoldersListBox->ItemIndex();
  if (index < 0) return;
  FoldersListBox->Items()->Delete(index);
  if (FoldersListBox->Count() == 0) StartButton->SetEnabled(false);
}

TDupScanHooks TDupPage::DupPageHooks() {
  TDupScanHooks h;
  h.SetOperationName = [this](const std::wstring& s) {
    if (hooksLive_) OperationName->SetCaption(s);
  };
  h.SetProgressStatus = [this](const std::wstring& s) {
    if (hooksLive_) ProgressStaus->SetCaption(s);
  };
  h.SetProgressMax = [this](int v) {
    if (hooksLive_) sProgressBar2->SetMax(v);
  };
  h.SetProgressPosition = [this](int v) {
    if (hooksLive_) sProgressBar2->SetPosition(v);
  };
  h.Repaint = [this] {
    if (hooksLive_) dupForm_->Repaint();
  };
  h.SetStartButton = [this](const std::wstring& caption, int tag) {
    if (!hooksLive_) return;
    StartButton->SetCaption(caption);
    StartButton->Tag = tag;
  };
  return h;
}

void TDupPage::StartButtonClick(TObject*) {
  if (DuplicateScanRunning()) {
    DupStop = true;  // the worker ends at its next test
    return;
  }
  if (FoldersListBox->Count() == 0) return;
  // The last worker has handed over its final update; let it go, and let
  // any update it still had on the way arrive before the new scan shows.
  ReleaseScanThread();

  DupPrepareScan(FoldersListBox->Items()->ToVector(),
                 {CheckBox1->Checked(), CheckBox2->Checked(), CheckBox3->Checked()},
                 ScanSubfoldersCheckBox->Checked());
  StartButton->SetCaption(kDupStopCaption);
  StartButton->Tag = 1;
  DupStop = false;
  try {
    scanThread_.reset(TThread::Create<TProgressThread>(DupPageHooks()));
  } catch (...) {
    StartButton->SetCaption(kDupStartCaption);
    StartButton->Tag = 0;
    throw;
  }
}

void TDupPage::ResultButtonClick(TObject*) {
  if (DuplicateScanRunning()) return;
  if (ResultForm) ResultForm->ShowModal();
}

void TDupPage::ReleaseScanThread() {
  if (!scanThread_) return;
  scanThread_->WaitFor();
  CheckSynchronize();
  scanThread_.reset();
}

void TDupPage::StopDuplicateScan() {
  if (!scanThread_) return;
  scanThread_->StopAndWait();
  scanThread_.reset();
}
