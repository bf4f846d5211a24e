// The duplicate result window: the grid's rows and formats, the criteria
// label, sorting through its buttons and menus, the commands on the
// selection, and .LsD files through the window's own dialogs.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/duplicates/DupSort.h"
#include "app/duplicates/LsdFile.h"
#include "app/duplicates/ResultForm.h"
#include "skin/engine/SkinManager.h"
#include "tests/app/duplicates/DupPageTestSupport.h"
#include "tests/app/duplicates/DupTestSupport.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/app/common/MessageBoxCatcher.h"
#include "tests/common/TestEnv.h"

namespace {

int32_t Packed(int year, int month, int day, int hour, int minute, int second) {
  const uint32_t date = ((year - 1980) << 9) | (month << 5) | day;
  const uint32_t time = (hour << 11) | (minute << 5) | (second / 2);
  return static_cast<int32_t>((date << 16) | time);
}

TDupFolderRec Folder(int32_t parent, const std::wstring& name) {
  TDupFolderRec r;
  r.Parent = parent;
  r.Name = name;
  return r;
}

TDupFileRec File(int32_t folder, uint32_t group, int32_t time, int64_t size, const std::wstring& name) {
  TDupFileRec r;
  r.Folder = folder;
  r.Group = group;
  r.Time = time;
  r.Size = size;
  r.Name = name;
  return r;
}

std::vector<uint8_t> ReadBytes(const std::wstring& path) {
  std::vector<uint8_t> bytes;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return bytes;
  DWORD size = GetFileSize(h, nullptr), got = 0;
  bytes.resize(size);
  if (size) ReadFile(h, bytes.data(), size, &got, nullptr);
  bytes.resize(got);
  CloseHandle(h);
  return bytes;
}

void WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD put = 0;
  if (!bytes.empty()) WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
  CloseHandle(h);
}

// File dialogs that answer without a window.
template <class Base>
class FakeDialog : public Base {
 public:
  FakeDialog() : Base(nullptr) {}
  bool Execute() override {
    ++Calls;
    if (Answer) this->FileName = Name;
    return Answer;
  }
  std::wstring Name;
  bool Answer = true;
  int Calls = 0;
};

// The program's look without its skin, for the framework's own colours and
// faces; the skin comes back at the end of the scope.
struct SkinOff {
  SkinOff() {
    if (DefaultManager) DefaultManager->SetActive(false);
  }
  ~SkinOff() {
    if (DefaultManager) DefaultManager->SetActive(true);
  }
};

class ResultFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testenv::EnsureMainForm();
    form_ = ResultForm;
    ASSERT_NE(form_, nullptr);
    savedOpen_ = form_->ShellOpen;
    savedDelete_ = form_->ShellDelete;
    savedOpenDialog_ = form_->OpenResultDialog;
    savedSaveDialog_ = form_->SaveResultDialog;
    form_->ShellOpen = [this](HWND owner, const std::wstring& path) {
      EXPECT_EQ(owner, form_->WindowHandle());
      opened_.push_back(path);
    };
    form_->OpenResultDialog = &openDialog_;
    form_->SaveResultDialog = &saveDialog_;
    SetSample();
    form_->FillResultGrid();
  }
  void TearDown() override {
    form_->ShellOpen = savedOpen_;
    form_->ShellDelete = savedDelete_;
    form_->OpenResultDialog = savedOpenDialog_;
    form_->SaveResultDialog = savedSaveDialog_;
  }

  // Two top folders, one subfolder; five records.
  static void SetSample() {
    DupCriteria = {true, true, false};
    DupFolders = {TDupFolderRec{}, Folder(0, L"C:\\Фото"), Folder(1, L"2024"), Folder(0, L"D:")};
    DupFiles = {
        File(2, 1, Packed(2024, 3, 5, 14, 30, 10), 10, L"b.jpg"),
        File(1, 1, Packed(2023, 1, 1, 0, 0, 0), 10, L"A.jpg"),
        File(3, 2, Packed(2022, 7, 9, 8, 0, 0), -5, L"ёж.txt"),
        File(1, 2, Packed(2024, 3, 5, 14, 30, 8), -5, L"c.txt"),
        File(3, 3, 0x7FFFFFFF, 2, L"Z.bin"),
    };
  }

  std::vector<std::wstring> Row(int r) const {
    std::vector<std::wstring> cells;
    for (int c = 0; c < TResultForm::kColumns; ++c) cells.push_back(form_->DoublesList->Cells(c, r));
    return cells;
  }
  std::vector<std::wstring> Column(int c) const {
    std::vector<std::wstring> cells;
    for (int r = 1; r < form_->DoublesList->RowCount(); ++r) cells.push_back(form_->DoublesList->Cells(c, r));
    return cells;
  }
  void SelectRows(int top, int bottom) { form_->DoublesList->SetSelection(TGridRect{0, top, 4, bottom}); }

  TResultForm* form_ = nullptr;
  dupgui::SavedDupTables saved_;
  std::vector<std::wstring> opened_;
  FakeDialog<TOpenDialog> openDialog_;
  FakeDialog<TSaveDialog> saveDialog_;

 private:
  std::function<void(HWND, const std::wstring&)> savedOpen_;
  TDupShellDelete savedDelete_;
  TOpenDialog* savedOpenDialog_ = nullptr;
  TSaveDialog* savedSaveDialog_ = nullptr;
};

TEST_F(ResultFormTest, WindowHasItsCaptionSizeAndControls) {
  EXPECT_EQ(form_->Caption(), L"Результат");
  EXPECT_EQ(form_->ClientWidth(), 688);
  EXPECT_EQ(form_->ClientHeight(), 446);
  EXPECT_EQ(form_->Menu(), form_->MainMenu);
  EXPECT_EQ(form_->DoublesList->PopupMenu(), form_->PopupMenu);
  EXPECT_EQ(form_->Label2->Caption(), L"Результат:");
  EXPECT_EQ(form_->Label3->Caption(), L"Файл:");
  EXPECT_EQ(form_->Label4->Caption(), L"Сортировка:");
  EXPECT_EQ(form_->Label1->Caption(), L"Признаки дублирования: ");
  const wchar_t* sorts[] = {L"Группа", L"Имя", L"Размер", L"Время", L"Папка"};
  TButton* buttons[] = {form_->Button1, form_->Button2, form_->Button3, form_->Button4, form_->Button5};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(buttons[i]->Caption(), sorts[i]);
  // Shown once, its labels and grid wear the skin's colours; without the
  // skin they have their own again.
  form_->Show();
  form_->Hide();
  SkinOff off;
  EXPECT_TRUE(form_->Label1->Font()->Style() & fsBold);
  EXPECT_TRUE(form_->DoubleKeys->Font()->Style() & fsBold);
  EXPECT_EQ(form_->DoubleKeys->Font()->Color(), clBlue);
  for (TSpeedButton* b : {form_->SpeedButton1, form_->SpeedButton2, form_->SpeedButton3, form_->SpeedButton4,
                          form_->SpeedButton5, form_->SpeedButton6})
    EXPECT_FALSE(b->Glyph()->Empty()) << b->Name();

  TStringGrid* g = form_->DoublesList;
  EXPECT_EQ(g->ColCount(), 5);
  EXPECT_EQ(g->FixedCols(), 0);
  EXPECT_EQ(g->FixedRows(), 1);
  EXPECT_EQ(g->DefaultRowHeight(), 17);
  const int widths[] = {48, 94, 61, 107};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(g->ColWidths(c), widths[c]);
  EXPECT_EQ(g->Color(), clWhite);
  EXPECT_EQ(g->FixedColor(), clSilver);
  EXPECT_TRUE(g->Options() & goRowSelect);
  EXPECT_TRUE(g->Options() & goRangeSelect);
  EXPECT_TRUE(g->Options() & goColSizing);
  EXPECT_EQ(form_->OpenResultDialog, &openDialog_);
  EXPECT_EQ(form_->SaveResultDialog, &saveDialog_);
}

TEST_F(ResultFormTest, SpeedButtonsShowTheirGlyphsOnTheFace) {
  SkinOff off;
  form_->Show();
  form_->Update();
  dupgui::PumpFor(100);
  HDC dc = GetDC(form_->WindowHandle());
  // SpeedButton1 (load) at (68, 6): its 16 x 16 glyph sits centred in the
  // face, the green arrow's shaft down its middle, clFuchsia left out.
  const TSpeedButton* b = form_->SpeedButton1;
  const COLORREF shaft = GetPixel(dc, b->Left() + 4 + 8, b->Top() + 3 + 8);
  const COLORREF corner = GetPixel(dc, b->Left() + 4, b->Top() + 3);
  ReleaseDC(form_->WindowHandle(), dc);
  form_->Hide();
  EXPECT_EQ(shaft, RGB(0, 128, 0));
  EXPECT_NE(corner, RGB(255, 0, 255));
  EXPECT_EQ(corner, GetSysColor(COLOR_BTNFACE));
}

TEST_F(ResultFormTest, DialogsAskForLsdFiles) {
  TearDown();  // the window's own dialogs
  EXPECT_EQ(form_->OpenResultDialog->Filter, L"Результат сканирования (*.LsD)|*.LsD");
  EXPECT_EQ(form_->SaveResultDialog->Filter, L"Результат сканирования (*.LsD)|*.LsD");
  EXPECT_EQ(NormalizeDefaultExt(form_->OpenResultDialog->DefaultExt), L"LsD");
  EXPECT_EQ(NormalizeDefaultExt(form_->SaveResultDialog->DefaultExt), L"LsD");
  SetUp();
}

TEST_F(ResultFormTest, GridShowsEveryRecordInItsFormats) {
  EXPECT_EQ(form_->DoublesList->RowCount(), 6);
  EXPECT_EQ(Row(0), (std::vector<std::wstring>{L" Группа", L" Имя", L" Размер", L" Время", L" Папка"}));
  EXPECT_EQ(Row(1), (std::vector<std::wstring>{L"1", L"b.jpg", L"10", L"05.03.2024 14:30:10", L"C:\\Фото\\2024\\"}));
  // Midnight shows the date alone; a negative stored size stays negative;
  // a packed time that is no date shows nothing.
  EXPECT_EQ(Row(2), (std::vector<std::wstring>{L"1", L"A.jpg", L"10", L"01.01.2023", L"C:\\Фото\\"}));
  EXPECT_EQ(Row(3)[2], L"-5");
  EXPECT_EQ(Row(3)[4], L"D:\\");
  EXPECT_EQ(Row(5)[3], L"");
  EXPECT_EQ(form_->DoubleKeys->Caption(), L" Имя Размер");
}

TEST_F(ResultFormTest, LargeSizesAndGroupsShowInFull) {
  DupFiles = {File(1, 0xFFFFFFFFu, 0, 5'000'000'000LL, L"big.iso")};
  form_->FillResultGrid();
  EXPECT_EQ(Row(1)[0], L"4294967295");
  EXPECT_EQ(Row(1)[2], L"5000000000");
}

TEST_F(ResultFormTest, CriteriaLabelNamesTheTickedCriteriaInOrder) {
  struct Case {
    TDupCriteria criteria;
    const wchar_t* text;
  };
  const Case cases[] = {
      {{false, false, false}, L""},
      {{true, false, false}, L" Имя"},
      {{false, true, true}, L" Размер Содержимое"},
      {{true, true, true}, L" Имя Размер Содержимое"},
  };
  for (const Case& c : cases) {
    DupCriteria = c.criteria;
    form_->FillResultGrid();
    EXPECT_EQ(form_->DoubleKeys->Caption(), c.text);
  }
}

TEST_F(ResultFormTest, EmptyTableShowsTheHeaderAndOneEmptyRowAndCommandsDoNothing) {
  DupFiles.clear();
  form_->FillResultGrid();
  EXPECT_EQ(form_->DoublesList->RowCount(), 2);
  EXPECT_EQ(Row(0)[0], L" Группа");
  EXPECT_EQ(Row(1), std::vector<std::wstring>(5, L""));
  int deletes = 0;
  form_->ShellDelete = [&](HWND, const std::wstring&) { ++deletes; };
  SelectRows(1, 1);
  form_->OpenClick(nullptr);
  form_->OpenFolderClick(nullptr);
  form_->DeleteFromListClick(nullptr);
  form_->DeleteToRecyleClick(nullptr);
  form_->SaveToFileClick(nullptr);
  EXPECT_TRUE(opened_.empty());
  EXPECT_EQ(deletes, 0);
  EXPECT_EQ(saveDialog_.Calls, 0);  // no dialog for an empty table
  EXPECT_TRUE(DupFiles.empty());
}

TEST_F(ResultFormTest, SortButtonsOrderTheGridStablyByTheirKeys) {
  struct Case {
    TButton* button;
    std::vector<std::wstring> names;
  };
  const Case cases[] = {
      {form_->Button2, {L"A.jpg", L"b.jpg", L"c.txt", L"Z.bin", L"ёж.txt"}},
      {form_->Button3, {L"c.txt", L"ёж.txt", L"Z.bin", L"A.jpg", L"b.jpg"}},  // -5 first
      {form_->Button4, {L"ёж.txt", L"A.jpg", L"c.txt", L"b.jpg", L"Z.bin"}},  // older first
      {form_->Button5, {L"A.jpg", L"c.txt", L"b.jpg", L"ёж.txt", L"Z.bin"}},  // equal folders keep order
      {form_->Button1, {L"A.jpg", L"b.jpg", L"c.txt", L"ёж.txt", L"Z.bin"}},
  };
  for (const Case& c : cases) {
    c.button->Click();
    EXPECT_EQ(Column(1), c.names) << c.button->Caption();
  }
}

TEST_F(ResultFormTest, MenuItemsRunTheSameCommands) {
  TMenuItem* sort = form_->MainMenu->Items()->Find(L"Сортировка");
  ASSERT_NE(sort, nullptr);
  ASSERT_EQ(sort->Count(), 5);
  const wchar_t* captions[] = {L"По группе", L"По имени", L"По размеру", L"По времени", L"По папке"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(sort->Items(i)->Caption(), captions[i]);
  sort->Find(L"По имени")->Click();
  EXPECT_EQ(Column(1).front(), L"A.jpg");

  TMenuItem* result = form_->MainMenu->Items()->Find(L"Результат");
  ASSERT_NE(result, nullptr);
  EXPECT_EQ(result->Count(), 3);
  EXPECT_NE(result->Find(L"Загрузить из файла"), nullptr);
  EXPECT_NE(result->Find(L"Сохранить в файл"), nullptr);
  EXPECT_NE(result->Find(L"Закрыть"), nullptr);

  TMenuItem* file = form_->MainMenu->Items()->Find(L"Файл");
  ASSERT_NE(file, nullptr);
  SelectRows(1, 1);
  file->Find(L"Открыть")->Click();
  file->Find(L"Открыть папку")->Click();
  EXPECT_EQ(opened_, (std::vector<std::wstring>{L"C:\\Фото\\A.jpg", L"C:\\Фото\\"}));
  file->Find(L"Удалить из списка")->Click();
  EXPECT_EQ(DupFiles.size(), 4u);
  EXPECT_NE(file->Find(L"Удалить с диска"), nullptr);

  const wchar_t* popup[] = {L"Открыть файл", L"Открыть папку", L"Удалить из списка", L"Удалить с диска"};
  ASSERT_EQ(form_->PopupMenu->Items()->Count(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(form_->PopupMenu->Items()->Items(i)->Caption(), popup[i]);
  opened_.clear();
  SelectRows(2, 2);  // b.jpg, c.txt, Z.bin, ёж.txt are left
  form_->PopupMenu->Items()->Items(0)->Click();
  EXPECT_EQ(opened_, std::vector<std::wstring>{L"C:\\Фото\\c.txt"});
}

TEST_F(ResultFormTest, MenuCommandMessagesReachTheItems) {
  TMenuItem* byName = form_->MainMenu->Items()->Find(L"Сортировка")->Find(L"По имени");
  SendMessageW(form_->Handle(), WM_COMMAND, MAKEWPARAM(byName->Command(), 0), 0);
  EXPECT_EQ(Column(1).front(), L"A.jpg");
}

TEST_F(ResultFormTest, GridContextMenuShowsThePopupMenu) {
  bool shown = false;
  form_->PopupMenu->OnPopup = [&](TObject*) { shown = true; };
  {
    dupgui::ModalDriver driver([&] { return shown; }, [] { EndMenu(); });
    form_->Show();
    POINT p = form_->DoublesList->ClientToScreen(POINT{20, 30});
    SendMessageW(form_->DoublesList->Handle(), WM_CONTEXTMENU,
                 reinterpret_cast<WPARAM>(form_->DoublesList->Handle()), MAKELPARAM(p.x, p.y));
    dupgui::PumpFor(50);
    form_->Hide();
  }
  form_->PopupMenu->OnPopup = nullptr;
  EXPECT_TRUE(shown);
  EXPECT_EQ(form_->PopupMenu->PopupComponent, form_->DoublesList);
}

TEST_F(ResultFormTest, OpenCommandsActOnEverySelectedRecordInOrder) {
  SelectRows(2, 4);
  form_->SpeedButton3->Click();
  form_->SpeedButton4->Click();
  EXPECT_EQ(opened_, (std::vector<std::wstring>{L"C:\\Фото\\A.jpg", L"D:\\ёж.txt", L"C:\\Фото\\c.txt",
                                                 L"C:\\Фото\\", L"D:\\", L"C:\\Фото\\"}));
}

TEST_F(ResultFormTest, DoubleClickOnTheGridOpensTheRowUnderTheMouse) {
  form_->Show();
  HWND grid = form_->DoublesList->Handle();
  const TRect cell = form_->DoublesList->CellRect(1, 3);
  const LPARAM at = MAKELPARAM(cell.left + 5, cell.top + 5);
  SendMessageW(grid, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(grid, WM_LBUTTONUP, 0, at);
  SendMessageW(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  SendMessageW(grid, WM_LBUTTONUP, 0, at);
  form_->Hide();
  EXPECT_EQ(opened_, std::vector<std::wstring>{L"D:\\ёж.txt"});
}

TEST_F(ResultFormTest, DeleteFromListRemovesExactlyTheSelectedRows) {
  SelectRows(2, 4);
  form_->SpeedButton5->Click();
  EXPECT_EQ(Column(1), (std::vector<std::wstring>{L"b.jpg", L"Z.bin"}));
  ASSERT_EQ(DupFiles.size(), 2u);
  EXPECT_EQ(DupFiles[1].Group, 3u);  // group numbers stay as they were
}

TEST_F(ResultFormTest, DeleteToRecycleRemovesOnlyTheRecordsWhoseFilesAreGone) {
  testenv::ScopedTempDir tmp;
  const std::wstring a = tmp.WriteFile(L"a\\копия.txt", "same");
  const std::wstring b = tmp.WriteFile(L"b\\копия.txt", "same");
  const std::wstring c = tmp.WriteFile(L"c\\копия.txt", "same");
  duptest::Walk({duptest::ListItem(tmp.Path())}, true, DupFolders, DupFiles);
  for (TDupFileRec& r : DupFiles) r.Group = 1;
  DupSortFiles(DupFiles, DupFolders, L"Folder");
  ASSERT_EQ(DupFiles.size(), 3u);
  form_->FillResultGrid();

  std::wstring list;
  // The user lets the shell take the first file only.
  form_->ShellDelete = [&](HWND owner, const std::wstring& l) {
    EXPECT_EQ(owner, form_->WindowHandle());
    list = l;
    DeleteFileW(a.c_str());
  };
  SelectRows(1, 2);
  testenv::MessageBoxCatcher boxes;
  form_->SpeedButton6->Click();
  EXPECT_EQ(list, a + L'\0' + b + L'\0' + L'\0');
  EXPECT_TRUE(boxes.Boxes().empty());
  ASSERT_EQ(DupFiles.size(), 2u);
  EXPECT_EQ(Column(4), (std::vector<std::wstring>{tmp.Path() + L"\\b\\", tmp.Path() + L"\\c\\"}));
  (void)c;
}

TEST_F(ResultFormTest, DeleteToRecycleLeavesChangedFilesAndSaysWhich) {
  testenv::ScopedTempDir tmp;
  tmp.WriteFile(L"a\\x.txt", "same");
  const std::wstring b = tmp.WriteFile(L"b\\x.txt", "same");
  duptest::Walk({duptest::ListItem(tmp.Path())}, true, DupFolders, DupFiles);
  DupSortFiles(DupFiles, DupFolders, L"Folder");
  tmp.WriteFile(L"b\\x.txt", "changed since the scan");
  form_->FillResultGrid();

  std::wstring list;
  form_->ShellDelete = [&](HWND, const std::wstring& l) { list = l; };
  SelectRows(1, 2);
  testenv::MessageBoxCatcher boxes;
  form_->DeleteToRecyleClick(nullptr);
  EXPECT_EQ(list.find(b), std::wstring::npos);  // never handed to the shell
  ASSERT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_NE(boxes.Boxes()[0].Text.find(b), std::wstring::npos);
  EXPECT_EQ(DupFiles.size(), 2u);  // nothing was deleted
}

TEST_F(ResultFormTest, SaveWritesTheTablesAsTheyAreByteForByte) {
  testenv::ScopedTempDir tmp;
  saveDialog_.Name = tmp / L"результат.LsD";
  form_->SpeedButton2->Click();
  EXPECT_EQ(saveDialog_.Calls, 1);
  const std::vector<uint8_t> bytes = ReadBytes(saveDialog_.Name);
  EXPECT_EQ(bytes.size(), 15u + 136u * 4 + 148u * 5);
  EXPECT_EQ(bytes, LsdEncode(DupCriteria, DupFolders, DupFiles));
}

TEST_F(ResultFormTest, CancelledSaveWritesNothing) {
  testenv::ScopedTempDir tmp;
  saveDialog_.Name = tmp / L"no.LsD";
  saveDialog_.Answer = false;
  form_->SaveToFileClick(nullptr);
  EXPECT_EQ(saveDialog_.Calls, 1);
  EXPECT_FALSE(cleanuptest::Exists(saveDialog_.Name));
}

TEST_F(ResultFormTest, LoadBringsBackTheSavedResultAndSavesItAgainIdentically) {
  testenv::ScopedTempDir tmp;
  saveDialog_.Name = tmp / L"first.LsD";
  form_->SaveToFileClick(nullptr);
  const std::vector<std::wstring> shown = Column(1);

  DupCriteria = {false, false, true};
  DupFolders = {TDupFolderRec{}, Folder(0, L"E:")};
  DupFiles = {File(1, 1, 0, 1, L"other")};
  form_->FillResultGrid();

  openDialog_.Name = saveDialog_.Name;
  form_->SpeedButton1->Click();
  EXPECT_EQ(Column(1), shown);
  EXPECT_EQ(form_->DoubleKeys->Caption(), L" Имя Размер");
  EXPECT_EQ(Row(3)[2], L"-5");

  saveDialog_.Name = tmp / L"second.LsD";
  form_->SaveToFileClick(nullptr);
  EXPECT_EQ(ReadBytes(tmp / L"second.LsD"), ReadBytes(tmp / L"first.LsD"));
}

TEST_F(ResultFormTest, LoadOfAnEmptyFileTableShowsOneEmptyRow) {
  testenv::ScopedTempDir tmp;
  const std::wstring path = tmp / L"empty.LsD";
  WriteBytes(path, LsdEncode({true, false, false}, {TDupFolderRec{}, Folder(0, L"C:")}, {}));
  openDialog_.Name = path;
  form_->LoadFromFileClick(nullptr);
  EXPECT_TRUE(DupFiles.empty());
  EXPECT_EQ(form_->DoublesList->RowCount(), 2);
  EXPECT_EQ(Row(1), std::vector<std::wstring>(5, L""));
  EXPECT_EQ(form_->DoubleKeys->Caption(), L" Имя");
}

TEST_F(ResultFormTest, MalformedFilesAreRefusedAndTheShownResultStays) {
  testenv::ScopedTempDir tmp;
  const std::vector<uint8_t> good = LsdEncode(DupCriteria, DupFolders, DupFiles);
  const size_t folders = 11, files = 15 + 136 * 4;  // first folder record, first file record
  auto put32 = [](std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  struct Case {
    const char* what;
    std::function<void(std::vector<uint8_t>&)> damage;
  };
  const Case cases[] = {
      {"bad magic", [](std::vector<uint8_t>& b) { b[0] ^= 1; }},
      {"huge folder count", [&](std::vector<uint8_t>& b) { put32(b, 7, 0x7FFFFFFF); }},
      {"negative file count", [&](std::vector<uint8_t>& b) { put32(b, files - 4, 0xFFFFFFFF); }},
      {"parent equal to its own index", [&](std::vector<uint8_t>& b) { put32(b, folders + 136 * 2, 2); }},
      {"folder index out of range", [&](std::vector<uint8_t>& b) { put32(b, files, 4); }},
      {"folder index of the root", [&](std::vector<uint8_t>& b) { put32(b, files + 148, 0); }},
      {"name longer than 128", [&](std::vector<uint8_t>& b) { b[files + 16] = 129; }},
      {"short file", [](std::vector<uint8_t>& b) { b.resize(3); }},
      {"cut in a record", [](std::vector<uint8_t>& b) { b.resize(b.size() - 10); }},
      {"extra bytes", [](std::vector<uint8_t>& b) { b.push_back(0); }},
  };
  const auto foldersBefore = DupFolders.size();
  const std::vector<std::wstring> shown = Column(1);
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = good;
    c.damage(bytes);
    const std::wstring path = tmp / L"bad.LsD";
    WriteBytes(path, bytes);
    openDialog_.Name = path;
    testenv::MessageBoxCatcher boxes;
    form_->LoadFromFileClick(nullptr);
    ASSERT_EQ(boxes.Texts(), std::vector<std::wstring>{L"Неверный тип файла"}) << c.what;
    EXPECT_EQ(DupFolders.size(), foldersBefore) << c.what;
    EXPECT_EQ(Column(1), shown) << c.what;
    EXPECT_EQ(DupCriteria, (TDupCriteria{true, true, false})) << c.what;
  }
}

TEST_F(ResultFormTest, InputOutputErrorsAreReportedWithTheSystemText) {
  testenv::ScopedTempDir tmp;
  const std::vector<std::wstring> shown = Column(1);
  {
    openDialog_.Name = tmp / L"missing.LsD";
    testenv::MessageBoxCatcher boxes;
    form_->LoadFromFileClick(nullptr);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].Text, L"Неверный тип файла");
    EXPECT_FALSE(boxes.Boxes()[0].Text.empty());
  }
  {
    saveDialog_.Name = tmp / L"no such folder\\r.LsD";
    testenv::MessageBoxCatcher boxes;
    form_->SaveToFileClick(nullptr);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_FALSE(cleanuptest::Exists(saveDialog_.Name));
  }
  EXPECT_EQ(Column(1), shown);
}

TEST_F(ResultFormTest, ResizingFitsTheGridAndWidensTheFolderColumn) {
  TStringGrid* g = form_->DoublesList;
  const int fourColumns = 48 + 94 + 61 + 107 + 5 * g->GridLineWidth();
  form_->SetClientWidth(900);
  form_->SetClientHeight(500);
  EXPECT_EQ(g->Left() + g->Width(), 900 - 5);
  EXPECT_EQ(g->Top() + g->Height(), 500 - 5);
  EXPECT_EQ(g->ColWidths(4), g->ClientWidth() - fourColumns);

  form_->SetClientWidth(200);
  EXPECT_EQ(g->ColWidths(4), fourColumns);

  form_->SetClientWidth(688);
  form_->SetClientHeight(446);
}

TEST(ResultFormText, TimesShowAsTheLocaleShowsThem) {
  EXPECT_EQ(ResultTimeText(Packed(2024, 3, 5, 14, 30, 10)), L"05.03.2024 14:30:10");
  EXPECT_EQ(ResultTimeText(Packed(1999, 12, 31, 0, 0, 0)), L"31.12.1999");
  EXPECT_EQ(ResultTimeText(Packed(2024, 3, 5, 0, 0, 2)), L"05.03.2024 00:00:02");
  EXPECT_EQ(ResultTimeText(0), L"");           // day 0: no date
  EXPECT_EQ(ResultTimeText(Packed(2024, 13, 1, 0, 0, 0)), L"");
}

}  // namespace
