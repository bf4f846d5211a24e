#include "app/duplicates/ResultForm.h"

#include <shellapi.h>

#include <algorithm>

#include "app/duplicates/DupSort.h"
#include "app/duplicates/DupTables.h"
#include "app/duplicates/LsdFile.h"
#include "app/duplicates/ResultGlyphs.h"
#include "framework/SysUtils.h"

TResultForm* ResultForm = nullptr;

namespace {

const wchar_t* const kHeaders[TResultForm::kColumns] = {L" Группа", L" Имя", L" Размер", L" Время",
                                                        L" Папка"};
const int kColumnWidths[TResultForm::kColumns] = {48, 94, 61, 107, 90};
const wchar_t kLsdFilter[] = L"Результат сканирования (*.LsD)|*.LsD";
const wchar_t kLsdExt[] = L"LsD";
// A refusal lists at most this many paths; the rest are counted.
constexpr size_t kRefusedShown = 15;

std::wstring LocaleText(int (*format)(LCID, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR, int), DWORD flags,
                        const SYSTEMTIME& st) {
  wchar_t buffer[128] = {};
  const int n = format(LOCALE_USER_DEFAULT, flags, &st, nullptr, buffer, 128);
  return n > 0 ? std::wstring(buffer, static_cast<size_t>(n - 1)) : std::wstring();
}

void DefaultShellOpen(HWND owner, const std::wstring& path) {
  // The outcome is not ours to report: the shell shows its own message.
  ShellExecuteW(owner, L"open", path.c_str(), nullptr, nullptr, SW_SHOW);
}

}  // namespace

std::wstring ResultGroupText(uint32_t group) { return std::to_wstring(group); }

std::wstring ResultSizeText(int64_t size) { return std::to_wstring(size); }

std::wstring ResultTimeText(int32_t packed) {
  SYSTEMTIME st{};
  if (!DupUnpackFileTime(packed, st)) return L"";
  std::wstring text = LocaleText(GetDateFormatW, DATE_SHORTDATE, st);
  if (st.wHour || st.wMinute || st.wSecond) text += L" " + LocaleText(GetTimeFormatW, 0, st);
  return text;
}

TResultForm::TResultForm(TComponent* AOwner) : TForm(AOwner) {
  SetName(L"ResultForm");
  SetCaption(L"Результат");
  SetPosition(poDesktopCenter);
  SetClientWidth(688);
  SetClientHeight(446);
  sSkinProvider1 = Construct<TsSkinProvider>(this);
  sSkinProvider1->SetName(L"sSkinProvider1");
  OnShow = [this](TObject* s) { FormShow(s); };
  OnResize = [this](TObject* s) { FormResize(s); };
  ShellOpen = DefaultShellOpen;
  ShellDelete = DupShellDeleteToRecycle;

  BuildToolBar();

  DoublesList = Construct<TStringGrid>(this);
  DoublesList->SetName(L"DoublesList");
  DoublesList->SetBounds(8, 58, 675, 383);
  DoublesList->SetColCount(kColumns);
  DoublesList->SetFixedCols(0);
  DoublesList->SetRowCount(2);
  DoublesList->SetFixedRows(1);
  DoublesList->SetDefaultRowHeight(17);
  for (int c = 0; c < kColumns; ++c) DoublesList->SetColWidths(c, kColumnWidths[c]);
  DoublesList->SetColor(clWhite);
  DoublesList->SetFixedColor(clSilver);
  DoublesList->SetOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect |
                          goColSizing | goRowSelect);
  DoublesList->OnDblClick = [this](TObject* s) { OpenClick(s); };
  DoublesList->SetParent(this);

  OpenResultDialog = Construct<TOpenDialog>(this);
  OpenResultDialog->SetName(L"OpenResultDialog");
  OpenResultDialog->Filter = kLsdFilter;
  OpenResultDialog->DefaultExt = kLsdExt;
  SaveResultDialog = Construct<TSaveDialog>(this);
  SaveResultDialog->SetName(L"SaveResultDialog");
  SaveResultDialog->Filter = kLsdFilter;
  SaveResultDialog->DefaultExt = kLsdExt;

  BuildMenus();
}

void TResultForm::BuildToolBar() {
  auto label = [this](const wchar_t* name, const wchar_t* caption, int left, int top) {
    auto* l = Construct<TLabel>(this);
    l->SetName(name);
    l->SetBounds(left, top, 0, 13);
    l->SetParent(this);
    l->SetCaption(caption);  // sizes itself to the caption on its parent
    return l;
  };
  auto speed = [this](const wchar_t* name, int left, TResultGlyph glyph, void (TResultForm::*click)(TObject*)) {
    auto* b = Construct<TSpeedButton>(this);
    b->SetName(name);
    b->SetBounds(left, 6, 23, 22);
    b->SetFlat(true);
    DrawResultGlyph(b->Glyph(), glyph);
    b->OnClick = [this, click](TObject* s) { (this->*click)(s); };
    b->SetParent(this);
    return b;
  };
  Label2 = label(L"Label2", L"Результат:", 8, 10);
  SpeedButton1 = speed(L"SpeedButton1", 68, TResultGlyph::Load, &TResultForm::LoadFromFileClick);
  SpeedButton2 = speed(L"SpeedButton2", 92, TResultGlyph::Save, &TResultForm::SaveToFileClick);
  Label3 = label(L"Label3", L"Файл:", 128, 10);
  SpeedButton3 = speed(L"SpeedButton3", 160, TResultGlyph::Open, &TResultForm::OpenClick);
  SpeedButton4 = speed(L"SpeedButton4", 184, TResultGlyph::OpenFolder, &TResultForm::OpenFolderClick);
  SpeedButton5 = speed(L"SpeedButton5", 208, TResultGlyph::DeleteFromList, &TResultForm::DeleteFromListClick);
  SpeedButton6 = speed(L"SpeedButton6", 232, TResultGlyph::DeleteToRecycle, &TResultForm::DeleteToRecyleClick);
  Label4 = label(L"Label4", L"Сортировка:", 268, 10);

  struct SortDef {
    TButton** field;
    const wchar_t* name;
    const wchar_t* caption;
    void (TResultForm::*click)(TObject*);
  };
  const SortDef sorts[] = {
      {&Button1, L"Button1", L"Группа", &TResultForm::ByGroupClick},
      {&Button2, L"Button2", L"Имя", &TResultForm::ByNameClick},
      {&Button3, L"Button3", L"Размер", &TResultForm::BySizeClick},
      {&Button4, L"Button4", L"Время", &TResultForm::ByTimeClick},
      {&Button5, L"Button5", L"Папка", &TResultForm::ByFolderClick},
  };
  int left = 338;
  for (const SortDef& d : sorts) {
    auto* b = Construct<TButton>(this);
    b->SetName(d.name);
    b->SetBounds(left, 5, 66, 24);
    b->SetCaption(d.caption);
    auto click = d.click;
    b->OnClick = [this, click](TObject* s) { (this->*click)(s); };
    b->SetParent(this);
    *d.field = b;
    left += 69;
  }

  Label1 = label(L"Label1", L"Признаки дублирования: ", 8, 38);
  Label1->Font()->SetStyle(fsBold);
  DoubleKeys = label(L"DoubleKeys", L" Имя Размер Содержимое", 160, 38);
  DoubleKeys->SetAutoSize(false);
  DoubleKeys->SetWidth(400);
  DoubleKeys->Font()->SetStyle(fsBold);
  DoubleKeys->Font()->SetColor(clBlue);
}

void TResultForm::BuildMenus() {
  auto item = [this](TMenuItem* parent, const wchar_t* name, const wchar_t* caption,
                     void (TResultForm::*click)(TObject*)) {
    auto* it = Construct<TMenuItem>(this);
    it->SetName(name);
    it->SetCaption(caption);
    if (click) it->OnClick = [this, click](TObject* s) { (this->*click)(s); };
    parent->Add(it);
    return it;
  };

  MainMenu = Construct<TMainMenu>(this);
  MainMenu->SetName(L"MainMenu");
  TMenuItem* result = item(MainMenu->Items(), L"ResultMenu", L"Результат", nullptr);
  item(result, L"LoadFromFileItem", L"Загрузить из файла", &TResultForm::LoadFromFileClick);
  item(result, L"SaveToFileItem", L"Сохранить в файл", &TResultForm::SaveToFileClick);
  item(result, L"CloseResultItem", L"Закрыть", &TResultForm::CloseResultClick);
  TMenuItem* file = item(MainMenu->Items(), L"FileMenu", L"Файл", nullptr);
  item(file, L"OpenItem", L"Открыть", &TResultForm::OpenClick);
  item(file, L"OpenFolderItem", L"Открыть папку", &TResultForm::OpenFolderClick);
  item(file, L"DeleteFromListItem", L"Удалить из списка", &TResultForm::DeleteFromListClick);
  item(file, L"DeleteToRecycleItem", L"Удалить с диска", &TResultForm::DeleteToRecyleClick);
  TMenuItem* sort = item(MainMenu->Items(), L"SortMenu", L"Сортировка", nullptr);
  item(sort, L"ByGroupItem", L"По группе", &TResultForm::ByGroupClick);
  item(sort, L"ByNameItem", L"По имени", &TResultForm::ByNameClick);
  item(sort, L"BySizeItem", L"По размеру", &TResultForm::BySizeClick);
  item(sort, L"ByTimeItem", L"По времени", &TResultForm::ByTimeClick);
  item(sort, L"ByFolderItem", L"По папке", &TResultForm::ByFolderClick);
  SetMenu(MainMenu);

  PopupMenu = Construct<TPopupMenu>(this);
  PopupMenu->SetName(L"PopupMenu");
  item(PopupMenu->Items(), L"PopupOpenItem", L"Открыть файл", &TResultForm::OpenClick);
  item(PopupMenu->Items(), L"PopupOpenFolderItem", L"Открыть папку", &TResultForm::OpenFolderClick);
  item(PopupMenu->Items(), L"PopupDeleteFromListItem", L"Удалить из списка",
       &TResultForm::DeleteFromListClick);
  item(PopupMenu->Items(), L"PopupDeleteToRecycleItem", L"Удалить с диска",
       &TResultForm::DeleteToRecyleClick);
  DoublesList->SetPopupMenu(PopupMenu);
}

// ---------------------------------------------------------------- the grid

void TResultForm::FormShow(TObject*) { FillResultGrid(); }

void TResultForm::FillResultGrid() {
  std::wstring keys;
  if (DupCriteria[0]) keys += L" Имя";
  if (DupCriteria[1]) keys += L" Размер";
  if (DupCriteria[2]) keys += L" Содержимое";
  DoubleKeys->SetCaption(keys);

  const int count = static_cast<int>(DupFiles.size());
  DoublesList->SetRowCount(count + 2);
  for (int c = 0; c < kColumns; ++c) DoublesList->SetCells(c, 0, kHeaders[c]);
  for (int c = 0; c < kColumns; ++c) DoublesList->SetCells(c, 1, L"");
  // Folder paths once per folder, not once per record.
  const std::vector<std::wstring> paths = DupFolderPaths(DupFolders);
  for (int k = 0; k < count; ++k) {
    const TDupFileRec& rec = DupFiles[k];
    const bool folderKnown = rec.Folder > 0 && static_cast<size_t>(rec.Folder) < paths.size();
    DoublesList->SetCells(0, k + 1, ResultGroupText(rec.Group));
    DoublesList->SetCells(1, k + 1, rec.Name);
    DoublesList->SetCells(2, k + 1, ResultSizeText(rec.Size));
    DoublesList->SetCells(3, k + 1, ResultTimeText(rec.Time));
    DoublesList->SetCells(4, k + 1, folderKnown ? paths[rec.Folder] : std::wstring());
  }
  if (count > 0) DoublesList->SetRowCount(count + 1);
}

void TResultForm::FormResize(TObject*) {
  if (!DoublesList) return;
  DoublesList->SetBounds(DoublesList->Left(), DoublesList->Top(), ClientWidth() - DoublesList->Left() - 5,
                         ClientHeight() - DoublesList->Top() - 5);
  int w = 5 * DoublesList->GridLineWidth();
  for (int c = 0; c < 4; ++c) w += DoublesList->ColWidths(c);
  const int client = DoublesList->ClientWidth();
  DoublesList->SetColWidths(4, w < client ? client - w : w);
}

bool TResultForm::SelectedRecords(int& top, int& count) const {
  top = count = 0;
  const int records = static_cast<int>(DupFiles.size());
  if (records == 0) return false;
  const TGridRect sel = DoublesList->Selection();
  const int first = std::max(sel.Top, 1) - 1;
  const int last = std::min(sel.Bottom, records) - 1;
  if (last < first) return false;
  top = first;
  count = last - first + 1;
  return true;
}

// ---------------------------------------------------------------- sorting

void TResultForm::SortAndFill(const wchar_t* key) {
  SortFiles(key);
  FillResultGrid();
}

void TResultForm::ByGroupClick(TObject*) { SortAndFill(L"Double"); }
void TResultForm::ByNameClick(TObject*) { SortAndFill(L"Name"); }
void TResultForm::BySizeClick(TObject*) { SortAndFill(L"Size"); }
void TResultForm::ByTimeClick(TObject*) { SortAndFill(L"Time"); }
void TResultForm::ByFolderClick(TObject*) { SortAndFill(L"Folder"); }

// ---------------------------------------------------------------- file commands

void TResultForm::OpenClick(TObject*) {
  int top, count;
  if (!SelectedRecords(top, count)) return;
  for (int k = top; k < top + count; ++k)
    if (ShellOpen) ShellOpen(Handle(), GetFolderPath(DupFiles[k].Folder) + DupFiles[k].Name);
}

void TResultForm::OpenFolderClick(TObject*) {
  int top, count;
  if (!SelectedRecords(top, count)) return;
  for (int k = top; k < top + count; ++k)
    if (ShellOpen) ShellOpen(Handle(), GetFolderPath(DupFiles[k].Folder));
}

void TResultForm::DeleteFromListClick(TObject*) {
  int top, count;
  if (!SelectedRecords(top, count)) return;
  for (int i = 0; i < count; ++i) DeleteFileEntry(top);
  FillResultGrid();
}

void TResultForm::DeleteToRecyleClick(TObject*) {
  int top, count;
  if (!SelectedRecords(top, count)) return;
  const TDupRecycleResult result = DupDeleteToRecycle(Handle(), DupFiles, DupFolders, top, count, ShellDelete);
  FillResultGrid();
  TellRefused(result.Refused);
}

void TResultForm::TellRefused(const std::vector<std::wstring>& refused) {
  if (refused.empty()) return;
  std::wstring text =
      L"Эти файлы не отправлены в корзину: их уже нет, они изменились после сканирования "
      L"или их имя нельзя передать для удаления без риска задеть другие файлы.\r\n";
  for (size_t i = 0; i < refused.size() && i < kRefusedShown; ++i) text += L"\r\n" + refused[i];
  if (refused.size() > kRefusedShown)
    text += L"\r\n... и ещё " + std::to_wstring(refused.size() - kRefusedShown);
  Application->MessageBox(text, Application->Title, MB_OK | MB_ICONWARNING);
}

void TResultForm::CloseResultClick(TObject*) { Close(); }

// ---------------------------------------------------------------- .LsD files

void TResultForm::SaveToFileClick(TObject*) {
  if (DupFiles.empty()) return;
  if (!SaveResultDialog->Execute()) return;
  SaveResultTo(SaveResultDialog->FileName);
}

void TResultForm::LoadFromFileClick(TObject*) {
  if (!OpenResultDialog->Execute()) return;
  LoadResultFrom(OpenResultDialog->FileName);
}

bool TResultForm::SaveResultTo(const std::wstring& path) {
  const TLsdResult r = SaveDupResult(path);
  if (r.Ok()) return true;
  Application->ShowException(std::make_exception_ptr(EOSError(SysErrorMessage(r.Error), r.Error)));
  return false;
}

bool TResultForm::LoadResultFrom(const std::wstring& path) {
  const TLsdResult r = LoadDupResult(path);
  if (r.Status == TLsdStatus::BadFormat) {
    ShowMessage(kLsdBadFileText);
    return false;
  }
  if (r.Status == TLsdStatus::IoError) {
    Application->ShowException(std::make_exception_ptr(EOSError(SysErrorMessage(r.Error), r.Error)));
    return false;
  }
  FillResultGrid();
  return true;
}
