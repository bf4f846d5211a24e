// The count of a search path's folders and the listings it keeps for the
// search: the same count as a plain walk, the folders in the search's
// order, only what the search looks at, and the folders past a memory
// limit handed on to be read again.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/finder/FinderSearch.h"
#include "app/finder/FolderTreeCount.h"
#include "app/finder/Frame5.h"
#include "tests/app/finder/FolderTestSupport.h"
#include "tests/common/TestEnv.h"

namespace {

using findertest::EnterOrder;
using findertest::NoMessages;

class FolderTreeCountTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const wchar_t* name : {L"top.log", L"top.txt", L"a\\a1.log", L"a\\a2.bin", L"a\\deep\\er\\d.log",
                                L"a\\deep\\er\\e.txt", L"b\\b1.txt", L"b\\b2.LOG", L"c\\x\\y.bin"})
      tmp_.WriteFile(name, "d");
    tmp_.MakeDir(L"a\\empty");
    root_ = tmp_.Path() + L"\\";
    EnterOrder(root_, order_);
    ASSERT_EQ(order_.size(), 8u);  // the root, a, a\deep, a\deep\er, a\empty, b, c, c\x
  }

  testenv::ScopedTempDir tmp_;
  std::wstring root_;
  std::vector<std::wstring> order_;
  const std::atomic<bool> go_{false};
};

TEST_F(FolderTreeCountTest, CountsAsManyFoldersAsAPlainWalk) {
  FolderTreeCount tree(root_, {L"*.log"});
  tree.Walk(go_);
  EXPECT_TRUE(tree.Complete());
  EXPECT_EQ(tree.Folders(), TFinderSearch::GetQuanFolders(root_));
  EXPECT_EQ(tree.Folders(), static_cast<long long>(order_.size()) - 1);
  EXPECT_TRUE(tree.Rest().empty());
}

// Each kept listing holds the folder's subfolders and the files a mask
// matches, every one at its place in the whole listing, and nothing else.
TEST_F(FolderTreeCountTest, KeepsEachFoldersSubfoldersAndMatchingFilesInTheSearchsOrder) {
  const std::vector<std::wstring> masks{L"*.log", L"b1.*"};
  FolderTreeCount tree(root_, masks);
  tree.Walk(go_);
  for (const std::wstring& dir : order_) {
    std::unique_ptr<FolderListing> kept = tree.Take(dir);
    ASSERT_NE(kept, nullptr) << dir;
    EXPECT_TRUE(kept->Trimmed());
    std::unique_ptr<FolderListing> whole = FolderListing::Read(dir);
    std::vector<std::pair<DWORD, std::wstring>> expected, got;
    for (size_t i = 0; i < whole->Count(); ++i) {
      const std::wstring name = whole->Name(i);
      const bool file = !(whole->At(i).Attributes & FILE_ATTRIBUTE_DIRECTORY);
      const bool match = TFrame5::FileMaskEquate(name, masks[0]) || TFrame5::FileMaskEquate(name, masks[1]);
      if (file ? match : whole->Enterable(i)) expected.emplace_back(static_cast<DWORD>(i), name);
    }
    for (size_t i = 0; i < kept->Count(); ++i) got.emplace_back(kept->At(i).Index, kept->Name(i));
    EXPECT_EQ(got, expected) << dir;
  }
  EXPECT_EQ(tree.Take(root_ + L"more\\"), nullptr);  // nothing after the last
  EXPECT_EQ(tree.KeptBytes(), 0u);
}

// Whatever the limit, the kept listings and then the trees of the folders
// past them, read ahead in turn, give every folder once in the search's order.
TEST_F(FolderTreeCountTest, FoldersPastTheMemoryLimitAreHandedOnInTheSearchsOrder) {
  FolderTreeCount whole(root_, {L"*"});
  whole.Walk(go_);
  const size_t all = whole.KeptBytes();
  for (size_t limit : {size_t{1}, all / 4, all / 2, all - 1, all}) {
    FolderTreeCount tree(root_, {L"*"}, limit);
    tree.Walk(go_);
    EXPECT_TRUE(tree.Complete()) << limit;
    EXPECT_EQ(tree.Folders(), whole.Folders()) << limit;
    EXPECT_LE(tree.KeptBytes(), limit);
    EXPECT_EQ(tree.Rest().empty(), limit == all) << limit;
    FolderReadAhead rest(tree.Rest());
    std::vector<std::wstring> seen;
    for (const std::wstring& dir : order_) {
      std::unique_ptr<FolderListing> listing = tree.Take(dir);
      if (!listing) listing = rest.Take(dir, NoMessages);
      ASSERT_NE(listing, nullptr) << dir << " limit " << limit;
      seen.push_back(listing->Dir());
    }
    EXPECT_EQ(seen, order_) << limit;
  }
}

TEST_F(FolderTreeCountTest, AFolderAskedForOutOfOrderDropsTheKeptListings) {
  FolderTreeCount tree(root_, {L"*.log"});
  tree.Walk(go_);
  ASSERT_NE(tree.Take(root_), nullptr);
  EXPECT_EQ(tree.Take(tmp_ / L"b\\"), nullptr);
  EXPECT_EQ(tree.Take(tmp_ / L"a\\"), nullptr);
  EXPECT_EQ(tree.KeptBytes(), 0u);
}

TEST_F(FolderTreeCountTest, AStopEndsTheCountIncomplete) {
  const std::atomic<bool> stop{true};
  FolderTreeCount tree(root_, {L"*"});
  tree.Walk(stop);
  EXPECT_FALSE(tree.Complete());
  EXPECT_EQ(tree.Folders(), 0);
}

TEST_F(FolderTreeCountTest, AFolderThatCannotBeListedCountsNothingAndKeepsAnEmptyListing) {
  FolderTreeCount tree(tmp_ / L"missing\\", {L"*"});
  tree.Walk(go_);
  EXPECT_TRUE(tree.Complete());
  EXPECT_EQ(tree.Folders(), 0);
  std::unique_ptr<FolderListing> listing = tree.Take(tmp_ / L"missing\\");
  ASSERT_NE(listing, nullptr);
  EXPECT_EQ(listing->Count(), 0u);
}

// What a cursor gives, entry at hand by entry at hand: a kept entry's name,
// or "" for one the listing left out.
std::vector<std::wstring> Walked(ListingCursor& cursor, const FolderListing& listing, size_t steps = SIZE_MAX) {
  std::vector<std::wstring> seen;
  for (; steps && !cursor.AtEnd(); --steps) {
    const size_t i = cursor.Next();
    seen.push_back(i == ListingCursor::kLeftOut ? L"" : listing.Name(i));
  }
  return seen;
}

TEST_F(FolderTreeCountTest, ACursorGoesThroughTheWholeListingOneEntryAtHandAtATime) {
  const std::unique_ptr<FolderListing> whole = FolderListing::Read(root_);
  const std::unique_ptr<FolderListing> trimmed =
      FolderListing::ReadTrimmed(root_, [](const wchar_t* name) { return TFrame5::FileMaskEquate(name, L"*.log"); });
  // Every entry of the whole listing up to the last one kept.
  std::vector<std::wstring> expected;
  size_t last = 0;
  for (size_t i = 0; i < whole->Count(); ++i) {
    const std::wstring name = whole->Name(i);
    const bool kept = whole->Enterable(i) || name == L"top.log";
    expected.push_back(kept ? name : L"");
    if (kept) last = expected.size();
  }
  expected.resize(last);
  ASSERT_GE(expected.size(), 4u);
  ASSERT_EQ(expected[0], L"");  // "." and ".." are left out

  ListingCursor cursor(*trimmed);
  EXPECT_EQ(Walked(cursor, *trimmed), expected);

  // Switched to the whole listing part of the way, it goes on at the same
  // place with every entry.
  ListingCursor switched(*trimmed);
  std::vector<std::wstring> seen = Walked(switched, *trimmed, 3);
  switched.Continue(*whole);
  for (const std::wstring& name : Walked(switched, *whole)) seen.push_back(name);
  ASSERT_EQ(seen.size(), whole->Count());
  for (size_t i = 0; i < seen.size(); ++i)
    EXPECT_EQ(seen[i], i < 3 ? expected[i] : std::wstring(whole->Name(i))) << i;
}

}  // namespace
