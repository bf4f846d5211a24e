#include "app/programs/AppsPage.h"

#include <algorithm>

#include "app/mainwindow/MainForm.h"
#include "app/common/PageLayout.h"
#include "skin/controls/AlphaListBox.h"
#include "skin/controls/Button.h"
#include "skin/controls/PageControl.h"
#include "framework/ComCtrls.h"
#include "framework/Dialogs.h"
#include "framework/ExtCtrls.h"
#include "framework/Grids.h"
#include "framework/ListBox.h"
#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"

namespace {

TButton* PlaceButton(TMainForm* form, TWinControl* parent, const wchar_t* name,
                     const wchar_t* caption, int left, int top, int width) {
  TButton* button = Place<TsButton>(form, parent, name, left, top, width, 25);
  button->SetCaption(caption);
  return button;
}

TsTabSheet* AddTab(TMainForm* form, TsPageControl* pages, const wchar_t* name, const wchar_t* caption) {
  TsTabSheet* sheet = Construct<TsTabSheet>(form);
  sheet->SetName(name);
  sheet->SetCaption(caption);
  sheet->SetPageControl(pages);
  return sheet;
}

// The grid never shows an empty cell: an empty text is kept as one blank.
std::wstring CellText(const std::wstring& text) { return text.empty() ? L" " : text; }

constexpr int kStartupColumnWidths[3] = {126, 202, 81};
const wchar_t* const kStartupHeader[3] = {L"Имя файла", L"Путь к файлу", L"Путь в реестре"};

}  // namespace

TAppsPage::TAppsPage() : CommandLineArgCount([] { return ParamCount(); }) {}

TAppsPage::~TAppsPage() = default;

void TAppsPage::BuildAppsPage(TMainForm* form, TTabSheet* sheet) {
  appsForm_ = form;
  sPageControl2 = Construct<TsPageControl>(form);
  sPageControl2->SetName(L"sPageControl2");
  sPageControl2->SetAlign(alClient);
  sPageControl2->SetParent(sheet);
  sTabSheet13 = AddTab(form, sPageControl2, L"sTabSheet13", L"Удаление");
  sTabSheet14 = AddTab(form, sPageControl2, L"sTabSheet14", L"Автозагрузка");
  sPageControl2->SetActivePage(sTabSheet13);
  BuildUninstallTab(form);
  BuildStartupTab(form);
}

void TAppsPage::BuildUninstallTab(TMainForm* form) {
  ListBox2 = Place<TListBox>(form, sTabSheet13, L"ListBox2", 4, 4, 262, 360);
  ListBox2->SetHint(L"Отображает установленные приложения в вашей ОС");
  ListBox2->SetShowHint(true);
  ListBox2->OnClick = [this](TObject* s) { ListBox2Click(s); };

  AppsActionsGroupBox = Place<TGroupBox>(form, sTabSheet13, L"AppsActionsGroupBox", 272, 4, 148, 120);
  AppsActionsGroupBox->SetCaption(L"Действия:");
  sButton11 = PlaceButton(form, AppsActionsGroupBox, L"sButton11", L"Обновить", 8, 20, 132);
  sButton11->OnClick = [this](TObject* s) { sButton11Click(s); };
  sButton12 = PlaceButton(form, AppsActionsGroupBox, L"sButton12", L"Удалить приложение", 8, 52, 132);
  sButton12->OnClick = [this](TObject* s) { sButton12Click(s); };
  sButton13 = PlaceButton(form, AppsActionsGroupBox, L"sButton13", L"Удалить из списка", 8, 84, 132);
  sButton13->OnClick = [this](TObject* s) { sButton13Click(s); };

  Panel2 = Place<TPanel>(form, sTabSheet13, L"Panel2", 4, 370, 416, 22);
  Panel2->SetBevelOuter(bvLowered);
  Panel2->SetAlignment(taLeftJustify);
  Panel2->SetCaption(L"");
}

void TAppsPage::BuildStartupTab(TMainForm* form) {
  SG = Construct<TStringGrid>(form);
  SG->SetName(L"SG");
  SG->SetColCount(3);
  SG->SetFixedCols(0);
  SG->SetRowCount(2);
  SG->SetFixedRows(1);
  SG->SetDefaultRowHeight(20);
  for (int col = 0; col < 3; ++col) SG->SetColWidths(col, kStartupColumnWidths[col]);
  SG->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRowSelect |
                 goColSizing);
  SG->Font()->SetCharset(RUSSIAN_CHARSET);
  SG->SetBounds(4, 4, 416, 356);
  SG->SetParent(sTabSheet14);
  // The grid is read when it comes into view (its page or its tab shown),
  // not on every paint, so the user's selection stays where it was put.
  gridShowHook_ = std::make_unique<TWndProcHook>(SG, [this](TMessage& m, const TWndMethod& next) {
    next(m);
    if (m.Msg == CM_SHOWINGCHANGED && SG->IsShowing()) LoadStartupEntries();
  });

  LB = Place<TsListBox>(form, sTabSheet14, L"LB", 300, 366, 120, 20);
  LB->SetItemHeight(13);
  LB->SetVisible(false);

  sButton22 = PlaceButton(form, sTabSheet14, L"sButton22", L"Удалить", 4, 366, 100);
  sButton22->OnClick = [this](TObject* s) { sButton22Click(s); };
  sButton23 = PlaceButton(form, sTabSheet14, L"sButton23", L"Добавить", 110, 366, 100);
  sButton23->OnClick = [this](TObject* s) { sButton23Click(s); };

  OpenDialog1 = Construct<TOpenDialog>(form);
  OpenDialog1->SetName(L"OpenDialog1");
  OpenDialog1->Filter = L"Приложения|*.exe";
}

// ---------------------------------------------------------------- installed applications

void TAppsPage::LoadInstalledPrograms() {
  // The armed command belonged to a row of the old list: after a reload it
  // would run another application's uninstaller. Whoever wants the new
  // selection's command shows it (ListBox2Click).
  DisarmUninstallCommand();
  ListBox2->Clear();
  installedApps_ = ReadInstalledApps(UninstallLocation);
  TStrings* items = ListBox2->Items();
  for (const TInstalledApp& app : installedApps_) items->Add(app.DisplayName);
  if (ListBox2->Count() > 0) ListBox2->SetItemIndex(0);
}

void TAppsPage::GetUninstallKeyName(std::wstring& Name) const {
  Name.clear();
  const int index = ListBox2->ItemIndex();
  if (index < 0 || index >= static_cast<int>(installedApps_.size())) return;
  Name = UninstallLocation.Key + L"\\" + installedApps_[static_cast<size_t>(index)].SubKey;
}

void TAppsPage::ListBox2Click(TObject*) {
  // Whatever happens below, the command of another row must not stay
  // behind to be run for this one.
  DisarmUninstallCommand();
  const int index = ListBox2->ItemIndex();
  if (index < 0 || index >= static_cast<int>(installedApps_.size())) return;
  std::wstring command;
  bool expandable = false;
  switch (ReadUninstallCommand(UninstallLocation, installedApps_[static_cast<size_t>(index)].SubKey,
                               command, expandable)) {
    case TUninstallLookup::OpenFailed:
      ShowMessage(L"Ошибка открытия ключа");
      return;
    case TUninstallLookup::NoCommand:
      ShowMessage(L"UninstallString не найденно");
      return;
    case TUninstallLookup::Found:
      break;
  }
  uninstallCommand_ = command;
  uninstallExpandable_ = expandable;
  Panel2->SetCaption(command);
}

void TAppsPage::DisarmUninstallCommand() {
  uninstallCommand_.clear();
  uninstallExpandable_ = false;
  Panel2->SetCaption(L"");
}

void TAppsPage::sButton11Click(TObject*) { LoadInstalledPrograms(); }

void TAppsPage::sButton12Click(TObject*) {
  if (uninstallCommand_.empty()) return;
  if (DWORD error = StartUninstallCommand(uninstallCommand_, uninstallExpandable_))
    ShowMessage(L"Ошибка: " + SysErrorMessage(error));
}

void TAppsPage::sButton13Click(TObject*) {
  if (ListBox2->Count() == 0) return;
  // The entry is fixed before the question: nothing the box lets happen can
  // make the answer apply to another row.
  const int index = ListBox2->ItemIndex();
  const std::wstring subKey = index >= 0 && index < static_cast<int>(installedApps_.size())
                                  ? installedApps_[static_cast<size_t>(index)].SubKey
                                  : std::wstring();
  if (MessageBoxW(appsForm_->WindowHandle(), L"Удалить ключ из реестра?", L"Удаление", MB_YESNO) !=
      IDYES)
    return;
  ShowMessage(DeleteUninstallEntry(UninstallLocation, subKey) ? L"Раздел удален" : L"Ошибка");
  LoadInstalledPrograms();
  ListBox2Click(ListBox2);
}

// ---------------------------------------------------------------- start-up entries

const TStartupEntry* TAppsPage::StartupEntryAt(int row) const {
  if (row < 1 || row > static_cast<int>(startupRows_.size())) return nullptr;
  return &startupRows_[static_cast<size_t>(row - 1)];
}

void TAppsPage::LoadStartupEntries() {
  const int oldRow = SG->Row();
  const TStartupEntry* old = StartupEntryAt(oldRow);
  const bool hadEntry = old != nullptr;
  const int oldSource = hadEntry ? old->Source : -1;
  const std::wstring oldName = hadEntry ? old->Name : std::wstring();

  const bool withLoad = CommandLineArgCount && CommandLineArgCount() >= 1;
  startupRows_ = ReadStartupEntries(StartupSources, withLoad, LB->Items());
  ShowStartupRows();

  if (startupRows_.empty()) return;
  int row = std::clamp(oldRow, 1, static_cast<int>(startupRows_.size()));
  if (hadEntry) {
    auto same = std::find_if(startupRows_.begin(), startupRows_.end(), [&](const TStartupEntry& e) {
      return e.Source == oldSource && e.Name == oldName;
    });
    if (same != startupRows_.end()) row = static_cast<int>(same - startupRows_.begin()) + 1;
  }
  SG->SetRow(row);
}

void TAppsPage::ShowStartupRows() {
  for (int col = 0; col < 3; ++col) SG->Cols(col)->Clear();
  SG->SetRowCount(2);
  SG->SetFixedRows(1);
  for (int col = 0; col < 3; ++col) SG->SetCells(col, 0, kStartupHeader[col]);
  for (const TStartupEntry& entry : startupRows_) {
    const int row = SG->RowCount() - 1;
    SG->SetCells(0, row, CellText(entry.Name));
    SG->SetCells(1, row, CellText(entry.Text));
    SG->SetCells(2, row, CellText(StartupSources[static_cast<size_t>(entry.Source)].Tag));
    SG->SetRowCount(row + 2);
  }
  // The last row is always the empty one the loop left for the next entry.
  if (SG->RowCount() > 1) SG->SetRowCount(SG->RowCount() - 1);
}

void TAppsPage::sButton22Click(TObject*) {
  if (SG->Cells(0, 0).empty()) return;
  const TStartupEntry* selected = StartupEntryAt(SG->Selection().Top);
  if (!selected || selected->Source >= static_cast<int>(StartupSources.size())) return;
  // A copy: the list may be read again while the question is open.
  const TStartupEntry entry = *selected;
  const std::wstring text = L"Вы действительно хотите удалить запись \"" + entry.Name + L"\" ?";
  if (Application->MessageBox(text, L"Удаление", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return;
  const DWORD error = DeleteStartupValue(StartupSources[static_cast<size_t>(entry.Source)], entry.Name);
  // A value already gone is what the user asked for; any other failure (a
  // key the user may not write) would otherwise leave the row without a word.
  if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND)
    ShowMessage(L"Ошибка: " + SysErrorMessage(error));
  LoadStartupEntries();
}

void TAppsPage::sButton23Click(TObject*) {
  if (StartupSources.size() <= static_cast<size_t>(kStartupAddSource)) return;
  if (!OpenDialog1->Execute()) return;
  const std::wstring name = InputBox(L"Добавить", L"Введите имя", L"Приложение");
  // An empty name would overwrite the key's default value.
  if (name.empty()) return;
  WriteStartupValue(StartupSources[static_cast<size_t>(kStartupAddSource)], name,
                    OpenDialog1->FileName);
  LoadStartupEntries();
}

void TAppsPage::AppsFormActivate(TObject*) {
  if (SG && SG->IsShowing()) LoadStartupEntries();
}
