// Config.ini: the layout of the file, round trips with Cyrillic and with
// characters outside the code page, missing and unreadable files, the
// user's paths after sorting, and a file that cannot be written at close.
#include <gtest/gtest.h>

#include "tests/common/TestEnv.h"
#include <windows.h>

#include <fstream>
#include <memory>

#include "framework/IniFiles.h"
#include "framework/SysUtils.h"
#include "tests/app/finder/FinderTestSupport.h"
#include "tests/app/common/MessageBoxCatcher.h"

namespace {

std::string Cp1251(const std::wstring& s) { return WideToAnsi(s, 1251); }
std::wstring Key(int i) { return L"F" + std::to_wstring(i); }

class ConfigIniTest : public findertest::FinderPageTest {
 protected:
  void SetUp() override {
    FinderPageTest::SetUp();
    file_ = tmp_ / L"Config.ini";
  }
  void AddDrive(const std::wstring& root) {
    const int at = form_->CheckListBox1->Items()->AddObject(root, DriveEntryTag());
    form_->CheckListBox1->SetChecked(at, true);
    LastDriveIndex = at;
  }
  struct RowText {
    std::wstring caption;
    std::vector<std::wstring> sub;
    bool checked;
    bool operator==(const RowText&) const = default;
  };
  std::vector<RowText> Rows(TListView* list) const {
    std::vector<RowText> rows;
    for (int i = 0; i < list->Items()->Count(); ++i) {
      TListItem* item = list->Items()->Item(i);
      RowText r{item->Caption(), {}, item->Checked()};
      for (int j = 0; j < item->SubItems()->Count(); ++j) r.sub.push_back(item->SubItems()->Strings(j));
      rows.push_back(r);
    }
    return rows;
  }

  testenv::ScopedTempDir tmp_;
  std::wstring file_;
};

TEST_F(ConfigIniTest, SaveWritesSectionsKeysAndCountsInTheCodePage) {
  ASSERT_EQ(GetACP(), 1251u);
  TFrame5::AddExt(L"*.tmp", L"Временные файлы", form_->ListView2, true);
  TFrame5::AddExt(L"*.bak", L"", form_->ListView2, false);
  TFrame5::AddExl(L"Windows", L"Системная папка", form_->ListView3, true);
  AddDrive(L"C:\\");
  AddPath(L"D:\\Документы");

  TFrame5::SaveNastrTo(file_);
  const std::string expected = Cp1251(
      L"[Filters]\r\nCount=2\r\nF0=*.tmp\r\nD0=Временные файлы\r\nF1=*.bak\r\nD1=\r\n"
      L"[Exclusion]\r\nCount=1\r\nE0=Windows\r\nD0=Системная папка\r\n"
      L"[Path]\r\nCount=1\r\nP0=D:\\Документы\\\r\n");
  EXPECT_EQ(testenv::ReadFileBytes(file_), expected);
}

TEST_F(ConfigIniTest, ARoundTripRestoresEveryRowTicked) {
  TFrame5::AddExt(L"*.tmp", L"Временные", form_->ListView2, true);
  TFrame5::AddExt(L"~*.*", L"", form_->ListView2, false);
  TFrame5::AddExl(L"Program Files", L"Программы", form_->ListView3, false);
  AddDrive(L"C:\\");
  AddPath(L"C:\\Папка");
  AddPath(L"E:\\data", false);
  TFrame5::SaveNastrTo(file_);

  findertest::ClearFinderLists(form_);
  AddDrive(L"C:\\");
  ASSERT_TRUE(TFrame5::LoadNastrFrom(file_));
  EXPECT_EQ(Rows(form_->ListView2), (std::vector<RowText>{{L"*.tmp", {L".tmp", L"Временные"}, true},
                                                          {L"~*.*", {L".*", L""}, true}}));
  EXPECT_EQ(Rows(form_->ListView3), (std::vector<RowText>{{L"Program Files", {L"Программы"}, true}}));
  EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"C:\\", L"C:\\Папка\\", L"E:\\data\\"}));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(form_->CheckListBox1->Checked(i));
  EXPECT_FALSE(IsDriveEntry(1));
}

TEST_F(ConfigIniTest, AFileWrittenInTheCodePageReadsWithItsCyrillic) {
  ASSERT_EQ(GetACP(), 1251u);
  ASSERT_TRUE(testenv::WriteFileBytes(file_, Cp1251(L"[Filters]\r\nCount=1\r\nF0=*.лог\r\nD0=Журналы\r\n"
                                       L"[Exclusion]\r\nCount=1\r\nE0=Корзина\r\nD0=\r\n"
                                       L"[Path]\r\nCount=1\r\nP0=C:\\Мои файлы\\\r\n")));
  ASSERT_TRUE(TFrame5::LoadNastrFrom(file_));
  EXPECT_EQ(Rows(form_->ListView2), (std::vector<RowText>{{L"*.лог", {L".лог", L"Журналы"}, true}}));
  EXPECT_EQ(Rows(form_->ListView3), (std::vector<RowText>{{L"Корзина", {L""}, true}}));
  EXPECT_EQ(Paths(), std::vector<std::wstring>{L"C:\\Мои файлы\\"});
}

TEST_F(ConfigIniTest, AValueOutsideTheCodePageMakesAUtf16FileThatRoundTrips) {
  TFrame5::AddExt(L"*.日本", L"Ελληνικά и русский", form_->ListView2, true);
  AddPath(L"C:\\Ünïcødé★");
  TFrame5::SaveNastrTo(file_);
  const std::string bytes = testenv::ReadFileBytes(file_);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE", 2));

  findertest::ClearFinderLists(form_);
  ASSERT_TRUE(TFrame5::LoadNastrFrom(file_));
  EXPECT_EQ(Rows(form_->ListView2), (std::vector<RowText>{{L"*.日本", {L".日本", L"Ελληνικά и русский"}, true}}));
  EXPECT_EQ(Paths(), std::vector<std::wstring>{L"C:\\Ünïcødé★\\"});

  // Back to plain text once every value fits the code page again.
  findertest::ClearFinderLists(form_);
  TFrame5::AddExt(L"*.tmp", L"", form_->ListView2, true);
  TFrame5::SaveNastrTo(file_);
  EXPECT_EQ(testenv::ReadFileBytes(file_).substr(0, 9), "[Filters]");
}

TEST_F(ConfigIniTest, UserPathsSurviveSortingAndRemovedDrives) {
  AddDrive(L"C:\\");
  AddDrive(L"Z:\\");
  ASSERT_TRUE(TFrame5::AddSearchPath(L"D:\\data"));  // sorts the list: C, D, Z
  ASSERT_TRUE(TFrame5::AddSearchPath(L"A:\\first"));
  ASSERT_EQ(Paths(), (std::vector<std::wstring>{L"A:\\first\\", L"C:\\", L"D:\\data\\", L"Z:\\"}));
  TFrame5::SaveNastrTo(file_);
  TIniFile ini(file_);
  EXPECT_EQ(ini.ReadInteger(L"Path", L"Count", -1), 2);
  EXPECT_EQ(ini.ReadString(L"Path", L"P0", L""), L"A:\\first\\");
  EXPECT_EQ(ini.ReadString(L"Path", L"P1", L""), L"D:\\data\\");

  // Every drive entry removed: the count still says the user's two paths.
  form_->CheckListBox1->Items()->Delete(3);
  form_->CheckListBox1->Items()->Delete(1);
  TFrame5::SaveNastrTo(file_);
  EXPECT_EQ(TIniFile(file_).ReadInteger(L"Path", L"Count", -1), 2);
  // All removed: zero, never less.
  form_->CheckListBox1->Clear();
  TFrame5::SaveNastrTo(file_);
  EXPECT_EQ(TIniFile(file_).ReadInteger(L"Path", L"Count", -1), 0);
}

TEST_F(ConfigIniTest, AMissingFileIsAnEmptySuccessfulRead) {
  EXPECT_TRUE(TFrame5::LoadNastrFrom(tmp_ / L"none.ini"));
  EXPECT_EQ(form_->ListView2->Items()->Count(), 0);
  EXPECT_TRUE(Paths().empty());
}

TEST_F(ConfigIniTest, CountsAreBoundedByTheRowsTheFileHolds) {
  // Row 1 has only its description, so rows 0 to 2 are there; the count
  // beyond them (a damaged file) adds nothing, a negative or bad one none.
  ASSERT_TRUE(testenv::WriteFileBytes(file_, "[Filters]\r\nCount=2147483647\r\nF0=*.a\r\nD1=b\r\nF2=*.c\r\n"
                                "[Exclusion]\r\nCount=-4\r\nE0=x\r\n"
                                "[Path]\r\nCount=junk\r\nP0=C:\\\r\n"));
  ASSERT_TRUE(TFrame5::LoadNastrFrom(file_));
  EXPECT_EQ(Rows(form_->ListView2), (std::vector<RowText>{{L"*.a", {L".a", L""}, true},
                                                          {L"", {L"", L"b"}, true},
                                                          {L"*.c", {L".c", L""}, true}}));
  EXPECT_EQ(form_->ListView3->Items()->Count(), 0);
  EXPECT_TRUE(Paths().empty());
  // A ticked empty filter matches every file.
  EXPECT_TRUE(TFrame5::InExt(L"anything.bin"));

  // Fewer rows than the count: the count is taken.
  findertest::ClearFinderLists(form_);
  ASSERT_TRUE(testenv::WriteFileBytes(file_, "[Filters]\r\nCount=1\r\nF0=*.a\r\nF1=*.b\r\n"));
  ASSERT_TRUE(TFrame5::LoadNastrFrom(file_));
  EXPECT_EQ(form_->ListView2->Items()->Count(), 1);
}

// UTF-16 text without a byte-order mark, in either byte order.
std::string Utf16NoMark(const std::wstring& text, bool bigEndian) {
  std::string bytes;
  for (wchar_t c : text) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>((c >> 8) & 0xFF);
    bytes.push_back(bigEndian ? hi : lo);
    bytes.push_back(bigEndian ? lo : hi);
  }
  return bytes;
}

TEST_F(ConfigIniTest, AUtf16FileWithoutByteOrderMarkReadsAndIsNotEmptied) {
  const std::wstring text =
      L"[Filters]\r\nCount=1\r\nF0=*.лог\r\nD0=Журналы\r\n[Exclusion]\r\nCount=1\r\nE0=Корзина\r\nD0=\r\n"
      L"[Path]\r\nCount=1\r\nP0=C:\\Мои файлы\\\r\n";
  for (bool bigEndian : {false, true}) {
    SCOPED_TRACE(bigEndian ? "big endian" : "little endian");
    findertest::ClearFinderLists(form_);
    ASSERT_TRUE(testenv::WriteFileBytes(file_, Utf16NoMark(text, bigEndian)));
    ASSERT_TRUE(TFrame5::LoadNastrFrom(file_));
    EXPECT_EQ(Rows(form_->ListView2), (std::vector<RowText>{{L"*.лог", {L".лог", L"Журналы"}, true}}));
    EXPECT_EQ(Rows(form_->ListView3), (std::vector<RowText>{{L"Корзина", {L""}, true}}));
    EXPECT_EQ(Paths(), std::vector<std::wstring>{L"C:\\Мои файлы\\"});
    // Saved back, every row is still there.
    TFrame5::SaveNastrTo(file_);
    findertest::ClearFinderLists(form_);
    ASSERT_TRUE(TFrame5::LoadNastrFrom(file_));
    EXPECT_EQ(form_->ListView2->Items()->Count(), 1);
    EXPECT_EQ(Paths(), std::vector<std::wstring>{L"C:\\Мои файлы\\"});
  }
  // Bytes that are no text at all: unreadable, so the close leaves them.
  ASSERT_TRUE(testenv::WriteFileBytes(file_, std::string("\0\0\x01[Filters]\0\0\0", 14)));
  EXPECT_FALSE(TFrame5::LoadNastrFrom(file_));
}

TEST_F(ConfigIniTest, AFailedSaveLeavesTheOldFileWhole) {
  const std::string old = "[Filters]\r\nCount=1\r\nF0=*.keep\r\nD0=\r\n";
  ASSERT_TRUE(testenv::WriteFileBytes(file_, old));
  TFrame5::AddExt(L"*.new", L"", form_->ListView2, true);
  // The new text cannot be written beside the file: a folder holds the name
  // the save writes to first.
  ASSERT_TRUE(CreateDirectoryW((file_ + L".tmp").c_str(), nullptr));
  EXPECT_THROW(TFrame5::SaveNastrTo(file_), EIniFileException);
  EXPECT_EQ(testenv::ReadFileBytes(file_), old);
  RemoveDirectoryW((file_ + L".tmp").c_str());
  // And it can again: the file is replaced whole, nothing is left beside it.
  TFrame5::SaveNastrTo(file_);
  EXPECT_EQ(TIniFile(file_).ReadString(L"Filters", L"F0", L""), L"*.new");
  EXPECT_EQ(GetFileAttributesW((file_ + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ConfigIniTest, ALargeListRoundTripsRowForRow) {
  constexpr int kRows = 3000;
  for (int i = 0; i < kRows; ++i)
    TFrame5::AddExt(L"*.e" + std::to_wstring(i), L"Описание " + std::to_wstring(i), form_->ListView2, true);
  TFrame5::SaveNastrTo(file_);
  findertest::ClearFinderLists(form_);
  ASSERT_TRUE(TFrame5::LoadNastrFrom(file_));
  ASSERT_EQ(form_->ListView2->Items()->Count(), kRows);
  for (int i : {0, 1, kRows / 2, kRows - 1}) {
    TListItem* item = form_->ListView2->Items()->Item(i);
    EXPECT_EQ(item->Caption(), L"*.e" + std::to_wstring(i));
    EXPECT_EQ(item->SubItems()->Strings(1), L"Описание " + std::to_wstring(i));
  }
  TIniFile ini(file_);
  EXPECT_EQ(ini.ReadInteger(L"Filters", L"Count", 0), kRows);
  EXPECT_EQ(ini.ReadString(L"Filters", Key(kRows - 1), L""), L"*.e" + std::to_wstring(kRows - 1));
}

TEST_F(ConfigIniTest, AFileThatCannotBeReadIsNotReplacedAtClose) {
  ASSERT_TRUE(testenv::WriteFileBytes(file_, "[Filters]\r\nCount=1\r\nF0=*.a\r\n"));
  HANDLE lock = CreateFileW(file_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(TFrame5::LoadNastrFrom(file_));
  CloseHandle(lock);
  EXPECT_EQ(form_->ListView2->Items()->Count(), 0);
}

// Config.ini beside this test program, put back as it was afterwards.
class ProgramConfigTest : public ConfigIniTest {
 protected:
  void SetUp() override {
    ConfigIniTest::SetUp();
    real_ = TFrame5::ConfigFileName();
    SetFileAttributesW(real_.c_str(), FILE_ATTRIBUTE_NORMAL);
    existed_ = GetFileAttributesW(real_.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (existed_) saved_ = testenv::ReadFileBytes(real_);
    loadedOk_ = ConfigLoadedOk;
  }
  void TearDown() override {
    SetFileAttributesW(real_.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (existed_) testenv::WriteFileBytes(real_, saved_);
    else DeleteFileW(real_.c_str());
    ConfigLoadedOk = loadedOk_;
    ConfigIniTest::TearDown();
  }
  std::wstring real_;
  bool existed_ = false;
  bool loadedOk_ = true;
  std::string saved_;
};

TEST_F(ProgramConfigTest, TheFileLivesBesideTheProgram) {
  EXPECT_EQ(real_, ExtractFilePath(ApplicationExeName()) + L"Config.ini");
  TFrame5::AddExt(L"*.old", L"Старые", form_->ListView2, true);
  ConfigLoadedOk = true;
  TFrame5::SaveNastr();
  findertest::ClearFinderLists(form_);
  TFrame5::LoadNastr();
  EXPECT_TRUE(ConfigLoadedOk);
  EXPECT_EQ(Rows(form_->ListView2), (std::vector<RowText>{{L"*.old", {L".old", L"Старые"}, true}}));
}

TEST_F(ProgramConfigTest, AFileThatCannotBeWrittenAtCloseIsReportedOnceAndLeftAsItWas) {
  // Wine lets root write a read-only file, so another program's open handle
  // without sharing stands for the file that cannot be written.
  ASSERT_TRUE(testenv::WriteFileBytes(real_, "[Filters]\r\nCount=0\r\n"));
  HANDLE lock = CreateFileW(real_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  TFrame5::AddExt(L"*.new", L"", form_->ListView2, true);
  ConfigLoadedOk = true;
  {
    testenv::MessageBoxCatcher catcher;
    TFrame5::SaveNastr();
    ASSERT_EQ(catcher.Boxes().size(), 1u);
    EXPECT_EQ(catcher.Boxes()[0].Text, L"Не удалось сохранить настройки поиска в файл " + real_ + L".");
  }
  CloseHandle(lock);
  EXPECT_EQ(testenv::ReadFileBytes(real_), "[Filters]\r\nCount=0\r\n");
}

TEST_F(ProgramConfigTest, AfterAFailedReadTheCloseLeavesTheFileAlone) {
  ASSERT_TRUE(testenv::WriteFileBytes(real_, "[Filters]\r\nCount=1\r\nF0=*.keep\r\n"));
  HANDLE lock = CreateFileW(real_.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  TFrame5::LoadNastr();
  CloseHandle(lock);
  EXPECT_FALSE(ConfigLoadedOk);
  TFrame5::AddExt(L"*.other", L"", form_->ListView2, true);
  testenv::MessageBoxCatcher catcher;
  TFrame5::SaveNastr();
  EXPECT_TRUE(catcher.Boxes().empty());
  EXPECT_EQ(testenv::ReadFileBytes(real_), "[Filters]\r\nCount=1\r\nF0=*.keep\r\n");
}

// A search still running when the window is asked to close.
void CALLBACK CloseFromTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  bool canClose = false;
  MainForm->FormCloseQuery(MainForm, canClose);
}

TEST_F(ProgramConfigTest, ClosingDuringASearchStopsItAndSavesTheLists) {
  for (int i = 0; i < 20; ++i) tmp_.WriteFile(L"tree\\f" + std::to_wstring(i) + L".bin", "b");
  tmp_.WriteFile(L"more\\m.bin", "b");
  AddPath(tmp_ / L"tree");
  AddPath(tmp_ / L"more");
  TFrame5::AddExt(L"*.bin", L"", form_->ListView2, true);
  ConfigLoadedOk = true;
  DeleteFileW(real_.c_str());
  SetTimer(nullptr, 0, 1, CloseFromTimer);
  Sleep(20);
  form_->SpeedButton1->Click();
  EXPECT_LE(form_->ListView4->Items()->Count(), 1);
  EXPECT_EQ(TIniFile(real_).ReadString(L"Filters", L"F0", L""), L"*.bin");
  EXPECT_EQ(TIniFile(real_).ReadInteger(L"Path", L"Count", 0), 2);
}

}  // namespace
