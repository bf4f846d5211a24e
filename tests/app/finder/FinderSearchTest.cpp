// The file finder's search over fixture trees: filters, exclusions, ticked
// paths, files reachable twice, linked folders, the rows and the totals.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/app/common/CleanupTestSupport.h"
#include "tests/app/duplicates/DupTestSupport.h"
#include "tests/app/finder/FinderTestSupport.h"

namespace {

using findertest::FinderPageTest;
using FinderSearchTest = FinderPageTest;

TEST_F(FinderSearchTest, TickedFiltersListMatchingFilesExceptExcludedPaths) {
  testenv::ScopedTempDir tmp;
  const std::wstring a = tmp.WriteFile(L"a.tmp", "1");
  const std::wstring b = tmp.WriteFile(L"b.TMP", "22");
  tmp.WriteFile(L"c.txt", "3");
  tmp.WriteFile(L"Skip\\d.tmp", "4");
  const std::wstring e = tmp.WriteFile(L"skip2\\e.tmp", "5");
  const std::wstring f = tmp.WriteFile(L"sub\\deep\\f.tmp", "6");
  tmp.WriteFile(L"g.tmpx", "7");
  AddPath(tmp.Path());
  AddFilter(L"*.tmp");
  AddFilter(L"*.txt", /*ticked=*/false);
  AddExclusion(L"Skip");  // exact case: "skip2" stays
  AddExclusion(L"");      // hides nothing

  TFrame5::FindFiles();
  EXPECT_EQ(Results(), (std::multiset<std::wstring>{a, b, e, f}));
  EXPECT_EQ(Search().FoundFilesCount, 4);
  EXPECT_EQ(Search().FoundFilesSize, 1 + 2 + 1 + 1);

  // Unticking the exclusion shows the folder's file again; ticking the
  // second filter adds the text file.
  form_->ListView3->Items()->Item(0)->SetChecked(false);
  form_->ListView2->Items()->Item(1)->SetChecked(true);
  TFrame5::FindFiles();
  EXPECT_EQ(Results(), (std::multiset<std::wstring>{a, b, e, f, tmp / L"Skip\\d.tmp", tmp / L"c.txt"}));
}

TEST_F(FinderSearchTest, OnlyTickedPathsAreSearchedAndAFileUnderTwoPathsIsListedOnce) {
  testenv::ScopedTempDir tmp;
  const std::wstring outer = tmp.WriteFile(L"one\\x.log", "x");
  const std::wstring inner = tmp.WriteFile(L"one\\inner\\y.log", "yy");
  tmp.WriteFile(L"two\\z.log", "z");
  AddPath(tmp / L"one");
  AddPath(tmp / L"one\\inner");
  AddPath(tmp / L"two", /*ticked=*/false);
  AddFilter(L"*.log");

  TFrame5::FindFiles();
  EXPECT_EQ(Results(), (std::multiset<std::wstring>{outer, inner}));
  EXPECT_EQ(Search().FoundFilesCount, 2);
  EXPECT_EQ(form_->StatusBar1->PanelText(1), L"Найдено файлов: 2");
}

TEST_F(FinderSearchTest, FoldersThatAreLinksAreNeitherEnteredNorCounted) {
  testenv::ScopedTempDir tmp;
  const std::wstring own = tmp.WriteFile(L"tree\\own.dat", "own");
  tmp.WriteFile(L"tree\\real\\inside.dat", "in");
  tmp.WriteFile(L"outside\\far.dat", "far");
  ASSERT_TRUE(cleanuptest::MakeHostSymlink(tmp / L"tree", L"away", L"..\\outside"));
  ASSERT_TRUE(cleanuptest::MakeHostSymlink(tmp / L"tree", L"loop", L"."));
  AddPath(tmp / L"tree");
  AddFilter(L"*.dat");

  EXPECT_EQ(TFrame5::GetQuanFolders(tmp / L"tree\\"), 1);
  TFrame5::FindFiles();
  EXPECT_EQ(Results(), (std::multiset<std::wstring>{own, tmp / L"tree\\real\\inside.dat"}));
  cleanuptest::RemoveHostSymlink(tmp / L"tree", L"away");
  cleanuptest::RemoveHostSymlink(tmp / L"tree", L"loop");
}

TEST_F(FinderSearchTest, GetQuanFoldersCountsFoldersAtEveryDepth) {
  testenv::ScopedTempDir tmp;
  tmp.MakeDir(L"a\\b\\c");
  tmp.MakeDir(L"d");
  tmp.WriteFile(L"a\\file.txt", "not a folder");
  EXPECT_EQ(TFrame5::GetQuanFolders(tmp.Path() + L"\\"), 4);
  EXPECT_EQ(TFrame5::GetQuanFolders(tmp / L"d\\"), 0);
  EXPECT_EQ(TFrame5::GetQuanFolders(tmp / L"missing\\"), 0);
  // A search sets the bar's end to the count.
  AddPath(tmp.Path());
  AddFilter(L"*.txt");
  form_->ProgressBar1->SetMax(100);
  TFrame5::FindFiles();
  EXPECT_EQ(form_->ProgressBar1->Max(), 4);
  EXPECT_EQ(form_->ProgressBar1->Position(), 0);
  EXPECT_EQ(Results(), (std::multiset<std::wstring>{tmp / L"a\\file.txt"}));
}

// The rows come in the order of the walk: a folder's entries as the file
// system lists them, each subfolder's rows where the folder names it.
void WalkOrder(const std::wstring& dir, std::vector<std::wstring>& out) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"*.*").c_str(), &fd);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  do {
    const std::wstring name = fd.cFileName;
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(dir + name);
    else if (name != L"." && name != L"..") WalkOrder(dir + name + L"\\", out);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
}

TEST_F(FinderSearchTest, RowsFollowTheWalkDepthFirst) {
  testenv::ScopedTempDir tmp;
  for (const wchar_t* name : {L"m.dat", L"a\\1.dat", L"a\\b\\2.dat", L"a\\b\\3.dat", L"a\\c\\4.dat", L"z\\5.dat",
                              L"z\\y\\x\\6.dat", L"b.dat"})
    tmp.WriteFile(name, "d");
  AddPath(tmp.Path());
  AddFilter(L"*.dat");
  std::vector<std::wstring> expected;
  WalkOrder(tmp.Path() + L"\\", expected);
  ASSERT_EQ(expected.size(), 8u);

  TFrame5::FindFiles();
  std::vector<std::wstring> rows;
  for (int i = 0; i < form_->ListView4->Items()->Count(); ++i) rows.push_back(form_->ListView4->Items()->Item(i)->Caption());
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(form_->ProgressBar1->Max(), 6);  // a, a\b, a\c, z, z\y, z\y\x
}

TEST_F(FinderSearchTest, ARowShowsSizeTypeDateAndIsTicked) {
  testenv::ScopedTempDir tmp;
  const std::wstring file = tmp.WriteFile(L"отчёт.txt", std::string(1536, 'r'));
  ASSERT_TRUE(duptest::SetWriteTime(file, 2024, 3, 5, 14, 30, 10));
  AddPath(tmp.Path());
  AddFilter(L"*.TXT");

  TFrame5::FindFiles();
  TListItem* row = Row(file);
  ASSERT_NE(row, nullptr);
  ASSERT_EQ(row->SubItems()->Count(), 3);
  EXPECT_EQ(row->SubItems()->Strings(0), L"1,50 Кб");
  SHFILEINFOW sfi{};
  SHGetFileInfoW(file.c_str(), 0, &sfi, sizeof sfi, SHGFI_TYPENAME | SHGFI_SYSICONINDEX);
  EXPECT_EQ(row->SubItems()->Strings(1), sfi.szTypeName);
  EXPECT_EQ(row->ImageIndex(), sfi.iIcon);
  EXPECT_EQ(row->SubItems()->Strings(2), L"05.03.2024 14:30:10");  // TZ=UTC, Russian formats
  EXPECT_TRUE(row->Checked());
  EXPECT_EQ(form_->StatusBar1->PanelText(0), L"");
  EXPECT_EQ(form_->StatusBar1->PanelText(1), L"Найдено файлов: 1");
  EXPECT_EQ(form_->StatusBar1->PanelText(2), L"Общий размер: 0,00 Мб");
  EXPECT_EQ(form_->ProgressBar1->Position(), 0);
}

TEST_F(FinderSearchTest, SizesBeyondFourGigabytesAreCountedWhole) {
  testenv::ScopedTempDir tmp;
  ASSERT_TRUE(duptest::MakeSizedFile(tmp / L"big.img", 5LL << 30));
  tmp.WriteFile(L"small.img", std::string(2048, 's'));
  AddPath(tmp.Path());
  AddFilter(L"*.img");

  TFrame5::FindFiles();
  EXPECT_EQ(Row(tmp / L"big.img")->SubItems()->Strings(0), L"5242880,00 Кб");
  EXPECT_EQ(Search().FoundFilesSize, (5LL << 30) + 2048.0);
  EXPECT_EQ(form_->StatusBar1->PanelText(2), L"Общий размер: 5120,00 Мб");
}

TEST(FinderTextTest, SizesRoundToTheNearestHundredth) {
  EXPECT_EQ(FinderSizeText(0), L"0,00 Кб");
  EXPECT_EQ(FinderSizeText(1), L"0,00 Кб");   // 0.0009765625
  EXPECT_EQ(FinderSizeText(10), L"0,01 Кб");  // 0.009765625
  EXPECT_EQ(FinderSizeText(1023), L"1,00 Кб");
  EXPECT_EQ(FinderSizeText(1024 * 1024 + 5), L"1024,00 Кб");
  EXPECT_EQ(FinderHundredths(1.005 * 1), L"1,00");
  EXPECT_EQ(FinderHundredths(2.5), L"2,50");
}

TEST_F(FinderSearchTest, AStopListsTheEntryAtHandAndEndsTheListing) {
  testenv::ScopedTempDir tmp;
  for (int i = 0; i < 5; ++i) tmp.WriteFile(L"f" + std::to_wstring(i) + L".bin", "b");
  AddFilter(L"*.bin");
  Search().FindStop = true;
  TFrame5::Find(tmp.Path() + L"\\");
  // The entry at hand may be the folder's "." entry, which lists nothing.
  EXPECT_LE(form_->ListView4->Items()->Count(), 1);
  Search().FindStop = false;
}

// A stop that arrives while the search handles its first entry.
void CALLBACK StopFromTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  MainForm->SpeedButton2->Click();
}

TEST_F(FinderSearchTest, StopButtonEndsTheSearchWithoutTheFurtherPaths) {
  testenv::ScopedTempDir tmp;
  for (int i = 0; i < 20; ++i) tmp.WriteFile(L"first\\f" + std::to_wstring(i) + L".bin", "b");
  tmp.WriteFile(L"second\\s.bin", "b");
  AddPath(tmp / L"first");
  AddPath(tmp / L"second");
  AddFilter(L"*.bin");
  SetTimer(nullptr, 0, 1, StopFromTimer);
  Sleep(20);  // the timer is due when the search first handles messages

  form_->SpeedButton1->Click();
  EXPECT_LE(form_->ListView4->Items()->Count(), 1);
  EXPECT_EQ(Row(tmp / L"second\\s.bin"), nullptr);
  EXPECT_FALSE(Search().FindRunning());
  // The buttons are back as before the search.
  EXPECT_TRUE(form_->SpeedButton1->Visible());
  EXPECT_FALSE(form_->SpeedButton2->Visible());
}

void CALLBACK ShowButtonsFromTimer(HWND, UINT, UINT_PTR id, DWORD);
bool g_startVisible = true, g_stopVisible = false, g_seen = false;
void CALLBACK ShowButtonsFromTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  g_seen = true;
  g_startVisible = MainForm->SpeedButton1->Visible();
  g_stopVisible = MainForm->SpeedButton2->Visible();
}

TEST_F(FinderSearchTest, TheStopButtonTakesTheStartButtonsPlaceDuringTheSearch) {
  testenv::ScopedTempDir tmp;
  tmp.WriteFile(L"x.bin", "b");
  AddPath(tmp.Path());
  AddFilter(L"*.bin");
  g_seen = false;
  SetTimer(nullptr, 0, 1, ShowButtonsFromTimer);
  Sleep(20);
  form_->SpeedButton1->Click();
  ASSERT_TRUE(g_seen);
  EXPECT_FALSE(g_startVisible);
  EXPECT_TRUE(g_stopVisible);
  EXPECT_TRUE(form_->SpeedButton1->Visible());
}

}  // namespace
