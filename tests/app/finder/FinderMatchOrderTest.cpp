// The finder's rows on a tree of nested folders, excluded folders, linked
// folders and files of several kinds: exactly the files a plain walk finds
// that a ticked mask matches and no ticked exclusion hides, in the walk's
// order, also when the masks change while the search runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/app/common/CleanupTestSupport.h"
#include "tests/app/finder/FinderTestSupport.h"

namespace {

using findertest::FinderPageTest;

struct MatchCase {
  std::vector<std::wstring> masks;  // ticked
  std::vector<std::wstring> exclusions;
};

void PrintTo(const MatchCase& c, std::ostream* os) {
  *os << c.masks.size() << " masks, " << c.exclusions.size() << " exclusions";
}

// The files below dir that the search would list with these masks and
// exclusions, in the order of a plain walk (links not followed).
void ExpectedRows(const std::wstring& dir, const MatchCase& c, std::vector<std::wstring>& out) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"*.*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = fd.cFileName, path = dir + name;
    if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (name != L"." && name != L".." && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        ExpectedRows(path + L"\\", c, out);
      continue;
    }
    bool hidden = false, matched = false;
    for (const std::wstring& text : c.exclusions) hidden = hidden || (!text.empty() && path.find(text) != std::wstring::npos);
    for (const std::wstring& mask : c.masks) matched = matched || TFrame5::FileMaskEquate(name, mask);
    if (matched && !hidden) out.push_back(path);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
}

class FinderTreeTest : public FinderPageTest {
 protected:
  void SetUp() override {
    FinderPageTest::SetUp();
    for (const wchar_t* name :
         {L"m.log", L"m.txt", L"a\\1.log", L"a\\1.tmp", L"a\\b\\2.log", L"a\\b\\two.LST", L"a\\skip\\3.log",
          L"a\\Skip\\4.log", L"z\\y\\x\\5.log", L"z\\y\\x\\5.bin", L"z\\deep\\6.Log", L"b1.dat", L"b22.dat"})
      tmp_.WriteFile(name, "d");
    tmp_.MakeDir(L"a\\empty");
    tmp_.WriteFile(L"outside\\far.log", "far");
    linked_ = cleanuptest::MakeHostSymlink(tmp_.Path(), L"away", L"outside");
    root_ = tmp_.Path() + L"\\";
    AddPath(tmp_.Path());
  }
  void TearDown() override {
    if (linked_) cleanuptest::RemoveHostSymlink(tmp_.Path(), L"away");
    FinderPageTest::TearDown();
  }
  std::vector<std::wstring> Rows() const {
    std::vector<std::wstring> rows;
    for (int i = 0; i < form_->ListView4->Items()->Count(); ++i)
      rows.push_back(form_->ListView4->Items()->Item(i)->Caption());
    return rows;
  }

  testenv::ScopedTempDir tmp_;
  std::wstring root_;
  bool linked_ = false;
};

class FinderMatchOrderTest : public FinderTreeTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(FinderMatchOrderTest, RowsAreTheMatchingFilesOfAPlainWalkInItsOrder) {
  ASSERT_TRUE(linked_);
  const MatchCase& c = GetParam();
  for (const std::wstring& mask : c.masks) AddFilter(mask);
  AddFilter(L"*.bin", /*ticked=*/false);
  for (const std::wstring& text : c.exclusions) AddExclusion(text);
  AddExclusion(L"z", /*ticked=*/false);
  std::vector<std::wstring> expected;
  ExpectedRows(root_, c, expected);

  TFrame5::FindFiles();
  EXPECT_EQ(Rows(), expected);
  EXPECT_EQ(Search().FoundFilesCount, static_cast<double>(expected.size()));
  EXPECT_EQ(form_->ProgressBar1->Max(), 9);  // a, a\b, a\skip, a\Skip, a\empty, z, z\y, z\y\x, z\deep
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FinderMatchOrderTest,
    ::testing::Values(MatchCase{{L"*.log"}, {}}, MatchCase{{L"*.LOG", L"b?.*"}, {L"skip"}},
                      MatchCase{{L"*"}, {L"Skip", L""}}, MatchCase{{L"*.txt", L"*.lst", L"?.log", L"*.log"}, {L"\\z\\"}},
                      MatchCase{{L""}, {L"deep"}}, MatchCase{{}, {}}));

// Ticks the second filter while the search handles its first messages.
void CALLBACK TickSecondFilter(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  MainForm->ListView2->Items()->Item(1)->SetChecked(true);
}

TEST_F(FinderTreeTest, AMaskTickedDuringTheSearchListsItsFilesToo) {
  AddFilter(L"*.log");
  AddFilter(L"*.txt", /*ticked=*/false);
  std::vector<std::wstring> expected;
  ExpectedRows(root_, MatchCase{{L"*.log", L"*.txt"}, {}}, expected);
  const UINT_PTR timer = SetTimer(nullptr, 0, 1, TickSecondFilter);
  Sleep(20);  // the timer is due when the search first handles messages

  TFrame5::FindFiles();
  KillTimer(nullptr, timer);
  EXPECT_TRUE(form_->ListView2->Items()->Item(1)->Checked());
  EXPECT_EQ(Rows(), expected);
}

}  // namespace
