// The finder's folder listings and the read-ahead that lists a search
// path's folders on a thread of its own in the order the search enters them.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "app/finder/FolderListing.h"
#include "tests/app/finder/FolderTestSupport.h"
#include "tests/common/TestEnv.h"

namespace {

using findertest::EnterOrder;
using findertest::NoMessages;

std::set<std::wstring> Names(const FolderListing& listing) {
  std::set<std::wstring> names;
  for (size_t i = 0; i < listing.Count(); ++i) names.insert(listing.Name(i));
  return names;
}

class FolderReadAheadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tmp_.WriteFile(L"top.txt", "t");
    tmp_.WriteFile(L"a\\a1.txt", "a1");
    tmp_.WriteFile(L"a\\deep\\er\\d.txt", "d");
    tmp_.MakeDir(L"a\\empty");
    tmp_.WriteFile(L"b\\b1.txt", "b");
    tmp_.WriteFile(L"b\\b2.txt", "bb");
    root_ = tmp_.Path() + L"\\";
  }

  testenv::ScopedTempDir tmp_;
  std::wstring root_;
};

TEST_F(FolderReadAheadTest, AListingHoldsEveryEntryWithItsSizeAndKind) {
  std::unique_ptr<FolderListing> listing = FolderListing::Read(tmp_ / L"b\\");
  EXPECT_EQ(listing->Dir(), tmp_ / L"b\\");
  EXPECT_EQ(Names(*listing), (std::set<std::wstring>{L".", L"..", L"b1.txt", L"b2.txt"}));
  for (size_t i = 0; i < listing->Count(); ++i) {
    const std::wstring name = listing->Name(i);
    const bool folder = listing->At(i).Attributes & FILE_ATTRIBUTE_DIRECTORY;
    EXPECT_EQ(folder, name == L"." || name == L"..") << name;
    EXPECT_FALSE(listing->Enterable(i)) << name;
    if (name == L"b2.txt") {
      EXPECT_EQ(listing->At(i).Size, 2u);
    }
  }
  EXPECT_EQ(FolderListing::Read(tmp_ / L"missing\\")->Count(), 0u);
}

// Memory limits: none to speak of, and one that lets no second listing wait.
class FolderReadAheadOrderTest : public FolderReadAheadTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(FolderReadAheadOrderTest, GivesTheFoldersInTheSearchsOrder) {
  std::vector<std::wstring> order;
  EnterOrder(root_, order);
  ASSERT_EQ(order.size(), 6u);  // the root, a, a\deep, a\deep\er, a\empty, b

  FolderReadAhead ahead(root_, GetParam());
  for (const std::wstring& dir : order) {
    std::unique_ptr<FolderListing> listing = ahead.Take(dir, NoMessages);
    ASSERT_NE(listing, nullptr) << dir;
    EXPECT_EQ(listing->Dir(), dir);
    EXPECT_EQ(Names(*listing), Names(*FolderListing::Read(dir))) << dir;
  }
  EXPECT_EQ(ahead.Take(root_ + L"more\\", NoMessages), nullptr);  // nothing after the last
  EXPECT_TRUE(ahead.Done());
}

INSTANTIATE_TEST_SUITE_P(Limits, FolderReadAheadOrderTest,
                         ::testing::Values(FolderReadAhead::kMaxAheadBytes, size_t{1}));

TEST_F(FolderReadAheadTest, AFolderAskedForOutOfOrderEndsTheListings) {
  FolderReadAhead ahead(root_);
  ASSERT_NE(ahead.Take(root_, NoMessages), nullptr);
  EXPECT_EQ(ahead.Take(tmp_ / L"b\\deeper\\", NoMessages), nullptr);
  // From then on the caller lists folders itself.
  EXPECT_EQ(ahead.Take(tmp_ / L"a\\", NoMessages), nullptr);
}

TEST_F(FolderReadAheadTest, AReadAheadLeftUntakenEndsWithItsOwner) {
  // Nothing is taken and the limit holds the walk back: going away must
  // still end the thread (or this test never ends).
  auto ahead = std::make_unique<FolderReadAhead>(root_, 1);
  ahead.reset();
}

}  // namespace
