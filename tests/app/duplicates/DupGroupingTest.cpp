#include <gtest/gtest.h>

#include <atomic>
#include <map>

#include "app/duplicates/DupContent.h"
#include "app/duplicates/DupGrouping.h"
#include "tests/app/duplicates/DupTestSupport.h"

using duptest::Pattern;

namespace {

// A tree with everything the grouping must tell apart: names in several
// scripts that differ only in case, empty files, files that agree on their
// first 0x20000 bytes, a hard link, same-size files that differ at the
// start, in the middle or in the last byte.
class DupGroupingTree : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string x = Pattern(1000, 1), y = Pattern(1000, 2);
    const std::string big = Pattern(0x30000, 3);
    std::string bigLate = big;
    bigLate[0x20005] ^= 0x5A;  // equal except after the first 0x20000 bytes
    std::string lastByte = big;
    lastByte.back() ^= 1;
    std::string headDiff = big;
    headDiff[10] ^= 1;
    tmp_.WriteFile(L"a\\Photo.JPG", x);
    tmp_.WriteFile(L"b\\photo.jpg", x);
    tmp_.WriteFile(L"b\\Фото.jpg", x);
    tmp_.WriteFile(L"c\\ФОТО.JPG", y);
    tmp_.WriteFile(L"c\\empty.txt", "");
    tmp_.WriteFile(L"a\\EMPTY.TXT", "");
    tmp_.WriteFile(L"d\\big.bin", big);
    tmp_.WriteFile(L"d\\bigLate.bin", bigLate);
    tmp_.WriteFile(L"e\\big.bin", big);
    tmp_.WriteFile(L"e\\lastByte.bin", lastByte);
    tmp_.WriteFile(L"e\\headDiff.bin", headDiff);
    tmp_.WriteFile(L"e\\日本語.txt", Pattern(77, 9));
    tmp_.WriteFile(L"e\\Ελληνικά.TXT", Pattern(77, 9));
    tmp_.WriteFile(L"f\\ελληνικά.txt", Pattern(77, 10));
    tmp_.WriteFile(L"f\\hard.bin", Pattern(5000, 4));
    EXPECT_TRUE(CreateHardLinkW((tmp_ / L"f\\hardlink.bin").c_str(), (tmp_ / L"f\\hard.bin").c_str(), nullptr));
    tmp_.WriteFile(L"g\\hardcopy.bin", Pattern(5000, 4));
    tmp_.WriteFile(L"g\\Photo.JPG", Pattern(33, 5));
    duptest::Walk({duptest::ListItem(tmp_.Path())}, true, folders_, files_);
  }

  std::wstring P(const wchar_t* rel) const { return tmp_ / rel; }
  long long G(const wchar_t* rel) const { return duptest::GroupOf(files_, folders_, P(rel)); }

  std::vector<uint32_t> Assign(const TDupCriteria& criteria) {
    std::atomic<bool> stop{false};
    EXPECT_TRUE(DupAssignGroups(files_, folders_, criteria, stop));
    std::vector<uint32_t> groups;
    for (const TDupFileRec& r : files_) groups.push_back(r.Group);
    return groups;
  }

  testenv::ScopedTempDir tmp_;
  std::vector<TDupFolderRec> folders_;
  std::vector<TDupFileRec> files_;
};

TEST_F(DupGroupingTree, EqualsThePairwiseRuleForEveryCombinationOfCriteria) {
  ASSERT_EQ(files_.size(), 18u);
  for (int mask = 0; mask < 8; ++mask) {
    const TDupCriteria criteria{(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0};
    const std::vector<uint32_t> expected = duptest::PairwiseGroups(files_, folders_, criteria);
    EXPECT_EQ(Assign(criteria), expected) << "criteria mask " << mask;
  }
}

TEST_F(DupGroupingTree, NoCriteriaPutsEveryFileIntoGroupOne) {
  Assign({false, false, false});
  // Both names of the hard-linked file join: each is paired with the first
  // record only, which is another file.
  for (const TDupFileRec& r : files_) EXPECT_EQ(r.Group, 1u) << r.Name;
}

TEST_F(DupGroupingTree, NamesCompareWithoutCaseInEveryScript) {
  Assign({true, false, false});
  EXPECT_GT(G(L"a\\Photo.JPG"), 0);
  EXPECT_EQ(G(L"a\\Photo.JPG"), G(L"b\\photo.jpg"));
  EXPECT_EQ(G(L"a\\Photo.JPG"), G(L"g\\Photo.JPG"));
  EXPECT_GT(G(L"b\\Фото.jpg"), 0);
  EXPECT_EQ(G(L"b\\Фото.jpg"), G(L"c\\ФОТО.JPG"));
  EXPECT_EQ(G(L"e\\Ελληνικά.TXT"), G(L"f\\ελληνικά.txt"));
  EXPECT_EQ(G(L"e\\日本語.txt"), 0);
}

TEST_F(DupGroupingTree, ContentAloneNeedsEqualBytesOverTheWholeSize) {
  Assign({false, false, true});
  EXPECT_GT(G(L"c\\empty.txt"), 0);
  EXPECT_EQ(G(L"c\\empty.txt"), G(L"a\\EMPTY.TXT"));  // two empty files match
  EXPECT_GT(G(L"d\\big.bin"), 0);
  EXPECT_EQ(G(L"d\\big.bin"), G(L"e\\big.bin"));
  EXPECT_EQ(G(L"d\\bigLate.bin"), 0);  // differs only after 0x20000 bytes
  EXPECT_EQ(G(L"e\\lastByte.bin"), 0);
  EXPECT_EQ(G(L"e\\headDiff.bin"), 0);
  EXPECT_EQ(G(L"c\\ФОТО.JPG"), 0);  // same size, other bytes
  EXPECT_EQ(G(L"e\\日本語.txt"), G(L"e\\Ελληνικά.TXT"));
}

TEST_F(DupGroupingTree, OpensOnlyFilesThatShareTheirSizeAndEachOnce) {
  std::map<int64_t, int> sizes;
  for (const TDupFileRec& r : files_) ++sizes[r.Size];
  uint64_t sharing = 0;
  for (const TDupFileRec& r : files_) sharing += r.Size > 0 && sizes[r.Size] >= 2;
  std::atomic<bool> stop{false};
  TDupContentStats stats;
  ASSERT_TRUE(DupAssignGroups(files_, folders_, {false, true, true}, stop, {}, &stats));
  EXPECT_EQ(stats.FilesOpened, sharing);
}

TEST_F(DupGroupingTree, TwoNamesOfOneFileAreNeverPairedButACopyIs) {
  Assign({false, true, true});
  const long long hard = G(L"f\\hard.bin"), link = G(L"f\\hardlink.bin"), copy = G(L"g\\hardcopy.bin");
  // Whichever name the listing gave first takes the copy; the other stays out.
  EXPECT_GT(copy, 0);
  EXPECT_TRUE((hard == copy && link == 0) || (link == copy && hard == 0)) << hard << " " << link << " " << copy;
}

TEST_F(DupGroupingTree, GroupsAreNumberedInTheTableOrderOfTheirFirstRecords) {
  Assign({false, true, false});
  uint32_t highest = 0;
  for (const TDupFileRec& r : files_) {
    if (r.Group == 0) continue;
    EXPECT_LE(r.Group, highest + 1);  // a new number is always the next one
    highest = std::max(highest, r.Group);
  }
  EXPECT_GT(highest, 1u);
}

// Records made by hand: the cases the rule singles out, without the file system.
TDupFileRec Rec(const wchar_t* name, int64_t size, uint64_t fileId = 0) {
  TDupFileRec r;
  r.Folder = 1;
  r.Name = name;
  r.Size = size;
  r.Id = {7, fileId, fileId != 0};
  return r;
}

TEST(DupGrouping, TableOfCases) {
  struct Case {
    const char* what;
    TDupCriteria criteria;
    std::vector<TDupFileRec> files;
    std::vector<uint32_t> groups;
  } cases[] = {
      {"a file matching two earlier files joins the first one's group",
       {true, false, false},
       {Rec(L"a.txt", 1), Rec(L"A.TXT", 2), Rec(L"a.Txt", 3)},
       {1, 1, 1}},
      {"groups numbered by first record",
       {false, true, false},
       {Rec(L"x", 5), Rec(L"y", 9), Rec(L"z", 9), Rec(L"w", 5), Rec(L"v", 1)},
       {1, 2, 2, 1, 0}},
      {"sizes differing above 32 bits never match",
       {false, true, false},
       {Rec(L"a", 0x140000000LL), Rec(L"b", 0x40000000LL)},
       {0, 0}},
      {"one file under two names stays alone",
       {false, true, false},
       {Rec(L"a", 5, 42), Rec(L"b", 5, 42)},
       {0, 0}},
      {"second name of the head waits; a later pair forms its own group",
       {false, true, false},
       {Rec(L"a", 5, 42), Rec(L"b", 5, 42), Rec(L"c", 5, 43)},
       {1, 0, 1}},
      {"name and size together",
       {true, true, false},
       {Rec(L"a", 5), Rec(L"A", 6), Rec(L"a", 6), Rec(L"b", 5)},
       {0, 1, 1, 0}},
  };
  std::vector<TDupFolderRec> folders(2);
  folders[1].Name = L"C:\\nowhere";
  for (Case& c : cases) {
    std::atomic<bool> stop{false};
    ASSERT_TRUE(DupAssignGroups(c.files, folders, c.criteria, stop));
    std::vector<uint32_t> got;
    for (const TDupFileRec& r : c.files) got.push_back(r.Group);
    EXPECT_EQ(got, c.groups) << c.what;
    EXPECT_EQ(got, duptest::PairwiseGroups(c.files, folders, c.criteria)) << c.what;
  }
}

TEST(DupGrouping, UnreadableFilesEqualNothing) {
  testenv::ScopedTempDir tmp;
  tmp.WriteFile(L"a.bin", Pattern(100, 1));
  tmp.WriteFile(L"b.bin", Pattern(100, 1));
  std::vector<std::wstring> paths{tmp / L"a.bin", tmp / L"gone.bin", tmp / L"b.bin"};
  std::atomic<bool> stop{false};
  const auto classes = DupSplitByContent(paths, 100, stop);
  ASSERT_EQ(classes.size(), 1u);
  EXPECT_EQ(classes[0], (std::vector<int>{0, 2}));
  // A file shorter than its recorded size (shrunk since the walk) equals nothing.
  tmp.WriteFile(L"c.bin", Pattern(100, 1));
  tmp.WriteFile(L"short.bin", Pattern(60, 1));
  const auto shortClasses = DupSplitByContent({tmp / L"short.bin", tmp / L"c.bin"}, 100, stop);
  EXPECT_TRUE(shortClasses.empty());
}

TEST(DupGrouping, LargeSetsOfOneSizeSplitExactly) {
  // More files of one size than are kept open at once: three contents that
  // agree on the head, interleaved, plus one differing in its last byte.
  testenv::ScopedTempDir tmp;
  const std::string base = Pattern(9000, 1);
  std::vector<std::wstring> paths;
  std::vector<int> expectedKind;
  for (int i = 0; i < 150; ++i) {
    std::string content = base;
    const int kind = i == 149 ? 3 : i % 3;
    content[8000] = static_cast<char>(kind);
    if (kind == 3) content.back() ^= 1;
    paths.push_back(tmp.WriteFile(L"f" + std::to_wstring(i) + L".bin", content));
    expectedKind.push_back(kind);
  }
  std::atomic<bool> stop{false};
  TDupContentStats stats;
  const auto classes = DupSplitByContent(paths, 9000, stop, &stats);
  ASSERT_EQ(classes.size(), 3u);
  for (const auto& cls : classes) {
    for (int i : cls) EXPECT_EQ(expectedKind[i], expectedKind[cls.front()]);
  }
  EXPECT_EQ(classes[0].front(), 0);
  EXPECT_EQ(classes[1].front(), 1);
  EXPECT_EQ(classes[2].front(), 2);
  EXPECT_EQ(classes[0].size() + classes[1].size() + classes[2].size(), 149u);
}

TEST(DupGrouping, SmallSetsOpenEveryFileOnce) {
  testenv::ScopedTempDir tmp;
  const std::string big = Pattern(0x50000, 7);
  std::vector<std::wstring> paths{tmp.WriteFile(L"a", big), tmp.WriteFile(L"b", big), tmp.WriteFile(L"c", big)};
  std::atomic<bool> stop{false};
  TDupContentStats stats;
  const auto classes = DupSplitByContent(paths, big.size(), stop, &stats);
  ASSERT_EQ(classes.size(), 1u);
  EXPECT_EQ(classes[0].size(), 3u);
  EXPECT_EQ(stats.FilesOpened, 3u);
  EXPECT_EQ(stats.BytesRead, 3u * big.size());
}

TEST(DupGrouping, RemoveUngroupedKeepsTheOrderOfTheRest) {
  std::vector<TDupFileRec> files{Rec(L"a", 1), Rec(L"b", 1), Rec(L"c", 1), Rec(L"d", 1)};
  files[0].Group = 2;
  files[2].Group = 1;
  files[3].Group = 2;
  DupRemoveUngrouped(files);
  ASSERT_EQ(files.size(), 3u);
  EXPECT_EQ(files[0].Name, L"a");
  EXPECT_EQ(files[1].Name, L"c");
  EXPECT_EQ(files[2].Name, L"d");
}

}  // namespace
