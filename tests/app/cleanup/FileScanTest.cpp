// TmFileScan: what a search reports, in which order and on which thread, how
// it ends (always with one ready call), and that its owner may go away.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/cleanup/FileScan.h"
#include "tests/app/common/CleanupTestSupport.h"
#include "tests/common/TestEnv.h"

namespace {

using cleanuptest::PumpUntil;

// A scan with recording handlers.
struct Recorder {
  std::vector<std::wstring> found;
  std::vector<std::wstring> result;  // the ready call's SearchResult
  int readyCalls = 0;
  bool aborted = false;
  bool offThread = false;
  bool senderIsThread = true;  // every Sender was the search's thread

  void Attach(TmFileScan& scan) {
    scan.OnFileFound = [this](TObject* s, const std::wstring& name) {
      if (GetCurrentThreadId() != MainThreadID()) offThread = true;
      if (!dynamic_cast<TSearchThread*>(s)) senderIsThread = false;
      found.push_back(name);
    };
    scan.OnReady = [this](TObject* s, bool a, TStringList* r) {
      if (GetCurrentThreadId() != MainThreadID()) offThread = true;
      if (!dynamic_cast<TSearchThread*>(s)) senderIsThread = false;
      ++readyCalls;
      aborted = a;
      result = r->ToVector();
    };
  }
};

class FileScanTest : public ::testing::Test {
 protected:
  void SetUp() override { InitMainThreadSync(); }

  // Runs one search to its ready call.
  void Run(TmFileScan& scan, Recorder& rec) {
    rec.Attach(scan);
    scan.Start();
    ASSERT_TRUE(PumpUntil([&] { return rec.readyCalls > 0; }, 60000)) << "no ready call";
  }

  std::wstring Root() const { return dir_.Path() + L"\\"; }
  std::wstring R(const std::wstring& rel) const { return Root() + rel; }

  void MakeTree() {
    dir_.WriteFile(L"a.txt", "a");
    dir_.WriteFile(L"b.log", "b");
    dir_.WriteFile(L"sub\\c.txt", "c");
    dir_.WriteFile(L"sub\\deep\\d.txt", "d");
    dir_.WriteFile(L"sub2\\e.log", "e");
  }
  std::set<std::wstring> WholeTree() const {
    return {R(L"a.txt"), R(L"b.log"), R(L"sub"), R(L"sub\\c.txt"), R(L"sub\\deep"),
            R(L"sub\\deep\\d.txt"), R(L"sub2"), R(L"sub2\\e.log")};
  }

  testenv::ScopedTempDir dir_;
};

std::set<std::wstring> AsSet(const std::vector<std::wstring>& v) { return {v.begin(), v.end()}; }

size_t IndexOf(const std::vector<std::wstring>& v, const std::wstring& s) {
  return static_cast<size_t>(std::find(v.begin(), v.end(), s) - v.begin());
}

TEST_F(FileScanTest, ReportsEveryNameOnceInOrderOnTheUserInterfaceThread) {
  MakeTree();
  TmFileScan scan(nullptr);
  scan.Paths()->Add(dir_.Path());  // no trailing backslash: one is added
  scan.Filters()->Add(L"*.*");
  Recorder rec;
  Run(scan, rec);

  EXPECT_EQ(rec.found.size(), WholeTree().size());
  EXPECT_EQ(AsSet(rec.found), WholeTree());
  EXPECT_EQ(rec.result, rec.found);
  EXPECT_EQ(scan.FoundList()->ToVector(), rec.found);
  EXPECT_EQ(rec.readyCalls, 1);
  EXPECT_FALSE(rec.aborted);
  EXPECT_FALSE(rec.offThread);
  EXPECT_FALSE(scan.Busy());
  EXPECT_TRUE(rec.senderIsThread);

  // A folder's own names come before those of its subfolders.
  for (const wchar_t* top : {L"a.txt", L"b.log", L"sub", L"sub2"})
    for (const wchar_t* deeper : {L"sub\\c.txt", L"sub\\deep", L"sub\\deep\\d.txt", L"sub2\\e.log"})
      EXPECT_LT(IndexOf(rec.found, R(top)), IndexOf(rec.found, R(deeper))) << top << " " << deeper;
  EXPECT_LT(IndexOf(rec.found, R(L"sub\\c.txt")), IndexOf(rec.found, R(L"sub\\deep\\d.txt")));
}

TEST_F(FileScanTest, WithoutSubDirsOnlyTheNamedFoldersOwnEntries) {
  MakeTree();
  TmFileScan scan(nullptr);
  scan.Paths()->Add(Root());
  scan.Filters()->Add(L"*.*");
  scan.SubDirs = false;
  Recorder rec;
  Run(scan, rec);
  EXPECT_EQ(AsSet(rec.found),
            (std::set<std::wstring>{R(L"a.txt"), R(L"b.log"), R(L"sub"), R(L"sub2")}));
}

TEST_F(FileScanTest, EveryMaskWalksTheWholeTreeAgain) {
  MakeTree();
  TmFileScan scan(nullptr);
  scan.Paths()->Add(Root());
  scan.Filters()->Add(L"*.*");
  scan.Filters()->Add(L"*.txt");
  Recorder rec;
  Run(scan, rec);
  // 8 names for "*.*", then the three .txt files once more (also below).
  ASSERT_EQ(rec.found.size(), 11u);
  EXPECT_EQ(AsSet(std::vector<std::wstring>(rec.found.begin() + 8, rec.found.end())),
            (std::set<std::wstring>{R(L"a.txt"), R(L"sub\\c.txt"), R(L"sub\\deep\\d.txt")}));
}

TEST_F(FileScanTest, FoldersMatchingTheMaskAreReportedLikeFiles) {
  MakeTree();
  dir_.WriteFile(L"sub\\subnote.txt", "x");
  TmFileScan scan(nullptr);
  scan.Paths()->Add(Root());
  scan.Filters()->Add(L"sub*");
  Recorder rec;
  Run(scan, rec);
  EXPECT_EQ(AsSet(rec.found),
            (std::set<std::wstring>{R(L"sub"), R(L"sub2"), R(L"sub\\subnote.txt")}));
}

TEST_F(FileScanTest, EmptyListsOrMissingFoldersEndAtOnceWithOneReadyCall) {
  struct Case {
    std::vector<std::wstring> paths, filters;
  } cases[] = {
      {{}, {L"*.*"}},
      {{Root()}, {}},
      {{R(L"no such folder")}, {L"*.*"}},
  };
  dir_.WriteFile(L"a.txt", "a");
  for (const Case& c : cases) {
    TmFileScan scan(nullptr);
    for (auto& p : c.paths) scan.Paths()->Add(p);
    for (auto& f : c.filters) scan.Filters()->Add(f);
    Recorder rec;
    Run(scan, rec);
    EXPECT_EQ(rec.readyCalls, 1);
    EXPECT_FALSE(rec.aborted);
    EXPECT_TRUE(rec.result.empty());
    EXPECT_TRUE(rec.found.empty());
  }
}

TEST_F(FileScanTest, StartWhileBusyChangesNothing) {
  MakeTree();
  TmFileScan scan(nullptr);
  scan.Paths()->Add(Root());
  scan.Filters()->Add(L"*.*");
  Recorder rec;
  rec.Attach(scan);
  scan.Start();
  EXPECT_TRUE(scan.Busy());
  scan.Start();
  ASSERT_TRUE(PumpUntil([&] { return rec.readyCalls > 0; }, 60000));
  cleanuptest::PumpFor(200);
  EXPECT_EQ(rec.readyCalls, 1);
  EXPECT_EQ(rec.found.size(), WholeTree().size());
  // Once ready, it starts again, from an empty FoundList.
  Recorder again;
  Run(scan, again);
  EXPECT_EQ(again.found.size(), WholeTree().size());
  EXPECT_EQ(scan.FoundList()->Count(), static_cast<int>(WholeTree().size()));
}

TEST_F(FileScanTest, StopEndsTheSearchWithAbortedReady) {
  for (int i = 0; i < 40; ++i) dir_.WriteFile(L"d" + std::to_wstring(i) + L"\\f.txt", "x");
  TmFileScan scan(nullptr);
  scan.Paths()->Add(Root());
  scan.Filters()->Add(L"*.*");
  Recorder rec;
  rec.Attach(scan);
  int seen = 0;
  scan.OnFileFound = [&](TObject*, const std::wstring&) {
    if (++seen == 1) scan.Stop();
  };
  scan.Start();
  ASSERT_TRUE(PumpUntil([&] { return rec.readyCalls > 0; }, 60000));
  EXPECT_TRUE(rec.aborted);
  EXPECT_FALSE(scan.Busy());
  // Nothing is reported after the stop, and the result holds what was.
  EXPECT_EQ(seen, 1);
  EXPECT_EQ(rec.result.size(), 1u);
  EXPECT_EQ(scan.FoundList()->Count(), 1);
}

TEST_F(FileScanTest, LinkedFoldersAreListedButNotEntered) {
  dir_.WriteFile(L"data\\keep.txt", "k");
  dir_.MakeDir(L"outside");
  dir_.WriteFile(L"outside\\far.txt", "f");
  if (!cleanuptest::MakeHostSymlink(dir_.Path() + L"\\data", L"loop", L".") ||
      !cleanuptest::MakeHostSymlink(dir_.Path() + L"\\data", L"ext", L"../outside"))
    GTEST_SKIP() << "cannot make host symbolic links here";
  TmFileScan scan(nullptr);
  scan.Paths()->Add(R(L"data"));
  scan.Filters()->Add(L"*.*");
  Recorder rec;
  Run(scan, rec);
  EXPECT_EQ(AsSet(rec.found), (std::set<std::wstring>{R(L"data\\keep.txt"), R(L"data\\loop"),
                                                      R(L"data\\ext")}));
  EXPECT_FALSE(rec.aborted);
  cleanuptest::RemoveHostSymlink(dir_.Path() + L"\\data", L"loop");
  cleanuptest::RemoveHostSymlink(dir_.Path() + L"\\data", L"ext");
}

TEST_F(FileScanTest, NamesOutsideTheAnsiCodePageAreFound) {
  const std::wstring name = L"отчёт_ÿ_中文_\u0394.tmp";
  dir_.WriteFile(name, "x");
  TmFileScan scan(nullptr);
  scan.Paths()->Add(Root());
  scan.Filters()->Add(L"*.*");
  Recorder rec;
  Run(scan, rec);
  ASSERT_EQ(rec.found.size(), 1u);
  EXPECT_EQ(rec.found[0], R(name));
  EXPECT_TRUE(cleanuptest::Exists(rec.found[0]));
}

TEST_F(FileScanTest, AHandlerThatRaisesAbortsTheSearchButReadyStillComes) {
  for (int i = 0; i < 20; ++i) dir_.WriteFile(L"f" + std::to_wstring(i) + L".txt", "x");
  auto saved = SyncExceptionHandler;
  int reportedErrors = 0;
  SyncExceptionHandler = [&](std::exception_ptr) { ++reportedErrors; };
  TmFileScan scan(nullptr);
  scan.Paths()->Add(Root());
  scan.Filters()->Add(L"*.*");
  Recorder rec;
  rec.Attach(scan);
  int calls = 0;
  scan.OnFileFound = [&](TObject*, const std::wstring&) {
    if (++calls == 3) throw std::runtime_error("handler failed");
  };
  scan.Start();
  const bool ready = PumpUntil([&] { return rec.readyCalls > 0; }, 60000);
  SyncExceptionHandler = saved;
  ASSERT_TRUE(ready);
  EXPECT_TRUE(rec.aborted);
  EXPECT_EQ(calls, 3);  // nothing more after the failure
  EXPECT_EQ(reportedErrors, 1);
  EXPECT_FALSE(scan.Busy());
}

TEST_F(FileScanTest, FreeingTheOwnerMidSearchStopsItAndNoHandlerRunsLater) {
  for (int d = 0; d < 50; ++d)
    for (int f = 0; f < 40; ++f)
      dir_.WriteFile(L"d" + std::to_wstring(d) + L"\\f" + std::to_wstring(f) + L".txt", "");
  // Freed right after Start (nothing delivered yet), and freed from inside
  // the first name's handler, with more names already handed over.
  for (bool insideHandler : {false, true}) {
    auto* owner = new TComponent(nullptr);
    auto* scan = Construct<TmFileScan>(owner);
    scan->Paths()->Add(Root());
    scan->Filters()->Add(L"*.*");
    int found = 0, ready = 0;
    scan->OnFileFound = [&](TObject*, const std::wstring&) {
      ++found;
      if (insideHandler && found == 1) {
        delete owner;
        owner = nullptr;
      }
    };
    scan->OnReady = [&](TObject*, bool, TStringList*) { ++ready; };
    scan->Start();
    if (insideHandler) {
      ASSERT_TRUE(PumpUntil([&] { return owner == nullptr; }, 60000));
    } else {
      delete owner;  // waits for the worker
    }
    cleanuptest::PumpFor(300);
    EXPECT_EQ(found, insideHandler ? 1 : 0);
    EXPECT_EQ(ready, 0);
  }
}

TEST_F(FileScanTest, FreeingTheComponentInsideItsReadyCallIsAllowed) {
  MakeTree();
  auto* scan = Construct<TmFileScan>(nullptr);
  scan->Paths()->Add(Root());
  scan->Filters()->Add(L"*.*");
  int ready = 0;
  TmFileScan* reporter = nullptr;
  scan->OnReady = [&](TObject* sender, bool, TStringList* result) {
    ++ready;
    reporter = static_cast<TSearchThread*>(sender)->Owner();
    EXPECT_EQ(result->Count(), 8);
    delete scan;
  };
  scan->Start();
  ASSERT_TRUE(PumpUntil([&] { return ready > 0; }, 60000));
  cleanuptest::PumpFor(100);
  EXPECT_EQ(ready, 1);
  EXPECT_NE(reporter, nullptr);
}

TEST_F(FileScanTest, AboutIsFixedAndSubDirsDefaultsToTrue) {
  TmFileScan scan(nullptr);
  const std::wstring about = scan.About();
  EXPECT_FALSE(about.empty());
  scan.SetAbout(L"other");
  EXPECT_EQ(scan.About(), about);
  EXPECT_TRUE(scan.SubDirs);
  EXPECT_FALSE(scan.Busy());
}

TEST_F(FileScanTest, ManyNamesArriveComplete) {
  // More names than one hand-over carries, across many folders.
  for (int d = 0; d < 30; ++d)
    for (int f = 0; f < 70; ++f)
      dir_.WriteFile(L"d" + std::to_wstring(d) + L"\\f" + std::to_wstring(f) + L".txt", "");
  TmFileScan scan(nullptr);
  scan.Paths()->Add(Root());
  scan.Filters()->Add(L"*.*");
  Recorder rec;
  Run(scan, rec);
  EXPECT_EQ(rec.found.size(), 30u * 70u + 30u);
  EXPECT_EQ(AsSet(rec.found).size(), rec.found.size());
  EXPECT_EQ(rec.result, rec.found);
}

}  // namespace
