#include "app/registry/RegCleanPage.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "app/registry/CleanThread.h"
#include "app/mainwindow/MainForm.h"
#include "app/common/PageLayout.h"
#include "app/registry/RegFixes.h"
#include "skin/controls/Button.h"
#include "skin/controls/ListView.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/ImageList.h"
#include "framework/ListView.h"
#include "framework/StdCtrls.h"
#include "skin/engine/MessageBoxes.h"

namespace {

// Each ticked row waits this long after the window has had its messages, so
// the window stays responsive during a long fix.
constexpr DWORD kFixRowPauseMs = 100;

template <class T = TButton>
T* PlaceButton(TMainForm* form, TWinControl* parent, const wchar_t* name,
               const wchar_t* caption, int left, int top, int width, int height = 25) {
  auto* button = Place<T>(form, parent, name, left, top, width, height);
  button->SetCaption(caption);
  return button;
}

void AddColumn(TCustomListView* list, const wchar_t* caption, int width) {
  TListColumn* column = list->Columns()->Add();
  column->SetCaption(caption);
  column->SetWidth(width);
}

// A new image list owned by the form that adopts the shell's system list
// (without ever destroying it); it stays empty when the shell has none.
TImageList* SystemImageList(TMainForm* form, UINT flags) {
  auto* list = Construct<TImageList>(form);
  list->SetShareImages(true);
  SHFILEINFOW info{};
  const DWORD_PTR handle = ::SHGetFileInfoW(L"", 0, &info, sizeof info, flags);
  if (handle) list->SetHandle(reinterpret_cast<HIMAGELIST>(handle));
  return list;
}

}  // namespace

TRegCleanPage::~TRegCleanPage() {
  // The controls outlive this part (the form frees them later), but nothing
  // may show a scan's last updates on a window that is going away.
  regHooksLive_ = false;
  StopRegCleanScan();
}

void TRegCleanPage::BuildRegCleanPage(TMainForm* form, TTabSheet* sheet) {
  regForm_ = form;

  PageControl1 = Place<TPageControl>(form, sheet, L"PageControl1", 4, 4, 424, 300);
  RCl = Construct<TTabSheet>(form);
  RCl->SetName(L"RCl");
  RCl->SetCaption(L"Очистка реестра");
  RCl->SetTabVisible(false);
  RCl->SetPageControl(PageControl1);
  PageControl1->SetActivePage(RCl);

  ListView1 = Construct<TsListView>(form);
  ListView1->SetName(L"ListView1");
  ListView1->SetAlign(alClient);
  ListView1->SetViewStyle(vsReport);
  ListView1->SetCheckboxes(true);
  ListView1->SetReadOnly(true);
  ListView1->SetColumnClick(false);
  ListView1->SetHint(L"Отображаются найденые ошибки в реестре");
  ListView1->SetShowHint(true);
  AddColumn(ListView1, L"Тип ошибки", 140);
  AddColumn(ListView1, L"Параметр", 140);
  AddColumn(ListView1, L"Раздел", 50);
  AddColumn(ListView1, L"Ключ реестра", 200);
  ListView1->SetParent(RCl);
  listShowHook_ = std::make_unique<TWndProcHook>(ListView1, [this](TMessage& m, const TWndMethod& next) {
    next(m);
    if (m.Msg == CM_SHOWINGCHANGED && ListView1->IsShowing()) AttachSystemImageLists();
  });

  Panel1 = Place<TPanel>(form, sheet, L"Panel1", 4, 308, 424, 22);
  Panel1->SetBevelOuter(bvLowered);
  Panel1->SetAlignment(taLeftJustify);
  Panel1->SetCaption(L"");

  RegStartGroupBox = Place<TGroupBox>(form, sheet, L"RegStartGroupBox", 4, 336, 180, 84);
  RegStartGroupBox->SetCaption(L"Начать сканирование");
  auto* hugeButton = PlaceButton<TsButton>(form, RegStartGroupBox, L"Button1", L"Начать", 8, 18, 164, 58);
  hugeButton->SkinData->SetSkinSection(L"BUTTON_HUGE");
  Button1 = hugeButton;
  Button1->Font()->SetName(L"Tahoma");
  Button1->Font()->SetHeight(-19);
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };

  RegActionsGroupBox = Place<TGroupBox>(form, sheet, L"RegActionsGroupBox", 190, 336, 238, 84);
  RegActionsGroupBox->SetCaption(L"Действия");
  sButton10 = PlaceButton<TsButton>(form, RegActionsGroupBox, L"sButton10", L"Выбрать все", 10, 20, 100);
  sButton10->OnClick = [this](TObject* s) { sButton10Click(s); };
  sButton21 = PlaceButton<TsButton>(form, RegActionsGroupBox, L"sButton21", L"Отменить", 10, 20, 100);
  sButton21->SetVisible(false);
  sButton21->OnClick = [this](TObject* s) { sButton21Click(s); };
  Button3 = PlaceButton(form, RegActionsGroupBox, L"Button3", L"Исправить", 126, 20, 100);
  Button3->SetEnabled(false);
  Button3->OnClick = [this](TObject* s) { Button3Click(s); };
  Button2 = PlaceButton(form, RegActionsGroupBox, L"Button2", L"Отмена", 10, 50, 100);
  Button2->SetEnabled(false);
  Button2->OnClick = [this](TObject* s) { Button2Click(s); };

  SaveDialog1 = Construct<TSaveDialog>(form);
  SaveDialog1->SetName(L"SaveDialog1");
  SaveDialog1->DefaultExt = L".reg";
  SaveDialog1->Filter = L"Registry files|*.reg";
}

void TRegCleanPage::AttachSystemImageLists() {
  if (imageListsAttached_) return;
  imageListsAttached_ = true;
  ListView1->SetLargeImages(SystemImageList(regForm_, SHGFI_SYSICONINDEX));
  ListView1->SetSmallImages(SystemImageList(regForm_, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

// ---------------------------------------------------------------- the scan

void TRegCleanPage::AddFindingRow(const TRegFinding& Row) {
  TListItem* item = ListView1->Items()->Add();
  item->SetCaption(Row.Caption);
  TStrings* sub = item->SubItems();
  sub->Add(Row.Param);
  sub->Add(Row.Section);
  sub->Add(Row.KeyPath);
  sub->Add(Row.ValueName);
}

void TRegCleanPage::Button1Click(TObject*) {
  // One scan at a time, and none while a fix works on the list.
  if (CleanThread || fixing_) return;
  ListView1->Items()->Clear();

  auto* thread = TThread::Create<TCleanThread>();
  thread->ScanExtensions = true;
  thread->ScanCLSID = false;
  thread->ScanUserKeys = true;
  thread->OnFinding = [this](const TRegFinding& row) {
    if (regHooksLive_) AddFindingRow(row);
  };
  thread->OnStatus = [this](const std::wstring& text) {
    if (regHooksLive_) Panel1->SetCaption(text);
  };
  thread->OnFinished = [this] {
    // The worker frees itself right after this: forget it first.
    CleanThread = nullptr;
    if (regHooksLive_) ShowIdleButtons();
  };
  thread->FreeOnTerminate = true;
  CleanThread = thread;
  Button2->SetEnabled(true);
  Button1->SetEnabled(false);
  // The list was emptied: nothing to fix until the scan has found rows.
  Button3->SetEnabled(false);
  try {
    thread->Start();
  } catch (...) {
    // Never started: it cannot free itself, and no update will come.
    CleanThread = nullptr;
    StopCleanThread(thread);
    ShowIdleButtons();
    throw;
  }
}

void TRegCleanPage::Button2Click(TObject*) {
  if (!CleanThread) return;
  try {
    CleanThread->Cancel();
  } catch (...) {
    // The walk stops anyway once Running is clear.
  }
}

void TRegCleanPage::StopRegCleanScan() {
  // OnFinished clears the field, so a non-null field is a live worker.
  if (CleanThread) StopCleanThread(CleanThread);
}

void TRegCleanPage::ShowIdleButtons() {
  Button1->SetEnabled(true);
  Button2->SetEnabled(false);
  Button3->SetEnabled(ListView1->Items()->Count() > 0);
  sButton10->SetEnabled(true);
  sButton21->SetEnabled(true);
}

// ---------------------------------------------------------------- ticking

void TRegCleanPage::sButton10Click(TObject*) {
  TListItems* items = ListView1->Items();
  if (fixing_ || items->Count() == 0) return;
  for (int i = 0; i < items->Count(); ++i) items->Item(i)->SetChecked(true);
  sButton10->SetVisible(false);
  sButton21->SetVisible(true);
}

void TRegCleanPage::sButton21Click(TObject*) {
  TListItems* items = ListView1->Items();
  if (fixing_ || items->Count() == 0) return;
  for (int i = 0; i < items->Count(); ++i) items->Item(i)->SetChecked(false);
  sButton10->SetVisible(true);
  sButton21->SetVisible(false);
}

// ---------------------------------------------------------------- fixing

void TRegCleanPage::Button3Click(TObject*) {
  // The command pumps messages between rows; a second click, a new scan or
  // ticking must not change the list under it.
  if (fixing_ || CleanThread) return;
  fixing_ = true;
  Button1->SetEnabled(false);
  Button3->SetEnabled(false);
  sButton10->SetEnabled(false);
  sButton21->SetEnabled(false);
  struct Restore {
    TRegCleanPage* page;
    ~Restore() {
      page->fixing_ = false;
      page->ShowIdleButtons();
    }
  } restore{this};

  TRegFixOptions options;
  const int answer = Application->MessageBox(
      kRegBackupQuestion, MessageDlgCaption(L"", mtInformation),
      MessageDlgFlags(mtInformation, MsgDlgButtons({mbOK, mbCancel})));
  options.Backup = answer == IDOK;
  if (options.Backup) {
    // A backup was asked for: without a file to hold it nothing is removed.
    if (!SaveDialog1->Execute()) return;
    options.BackupFileName = SaveDialog1->FileName;
  }
  options.BeforeRow = [](size_t) {
    Application->ProcessMessages();
    ::Sleep(kFixRowPauseMs);
  };

  TListItems* items = ListView1->Items();
  std::vector<TRegFixRow> rows;
  rows.reserve(static_cast<size_t>(items->Count()));
  for (int i = 0; i < items->Count(); ++i) {
    TListItem* item = items->Item(i);
    const TStrings* sub = item->SubItems();
    auto text = [sub](int index) { return index < sub->Count() ? sub->Strings(index) : std::wstring(); };
    rows.push_back({{item->Caption(), text(0), text(1), text(2), text(3)}, item->Checked()});
  }

  const TRegFixReport report = RunRegFixes(rows, options);
  for (size_t i = 0; i < report.Results.size() && static_cast<int>(i) < items->Count(); ++i) {
    TListItem* item = items->Item(static_cast<int>(i));
    item->SetCaption(RegFixCaption(report.Results[i], item->Caption()));
  }
  if (report.BackupFailed)
    Application->MessageBox(kRegBackupFailed, Application->Title, MB_OK | MB_ICONERROR);
}
