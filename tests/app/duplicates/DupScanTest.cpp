#include <gtest/gtest.h>

#include <atomic>

#include "app/duplicates/DupScan.h"
#include "app/duplicates/DupScanner.h"
#include "app/duplicates/ProgressThread.h"
#include "tests/app/duplicates/DupTestSupport.h"

using duptest::Pattern;

namespace {

// Every hook call as one line, in the order made.
struct TRecorder {
  std::vector<std::wstring> calls;
  std::vector<std::wstring> operations;
  std::vector<std::wstring> statuses;
  std::function<void(const std::wstring&)> onStatus;

  TDupScanHooks Hooks() {
    TDupScanHooks h;
    h.SetOperationName = [this](const std::wstring& s) {
      calls.push_back(L"op:" + s);
      operations.push_back(s);
    };
    h.SetProgressStatus = [this](const std::wstring& s) {
      calls.push_back(L"status:" + s);
      statuses.push_back(s);
      if (onStatus) onStatus(s);
    };
    h.SetProgressMax = [this](int v) { calls.push_back(L"max:" + std::to_wstring(v)); };
    h.SetProgressPosition = [this](int v) { calls.push_back(L"pos:" + std::to_wstring(v)); };
    h.Repaint = [this] { calls.push_back(L"repaint"); };
    h.SetStartButton = [this](const std::wstring& c, int tag) {
      calls.push_back(L"button:" + c + L":" + std::to_wstring(tag));
    };
    return h;
  }
};

bool HasFile(const std::vector<TDupFileRec>& files, const std::vector<TDupFolderRec>& folders,
             const std::wstring& path) {
  return duptest::GroupOf(files, folders, path) >= 0;
}

TEST(DupWalk, FindsEveryEntryBreadthFirstWithFullNamesAndSizes) {
  testenv::ScopedTempDir tmp;
  // Over 128 characters (the host keeps names to 255 bytes, so mostly ASCII).
  const std::wstring longName = L"Длинное имя " + std::wstring(150, L'x') + L".txt";
  tmp.WriteFile(L"top.txt", "1");
  tmp.WriteFile(L"Папка\\" + longName, "22");
  tmp.WriteFile(L"Папка\\глубже\\x.txt", "333");
  const std::wstring hidden = tmp.WriteFile(L"hidden.sys", "4444");
  SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  std::vector<TDupFolderRec> folders;
  std::vector<TDupFileRec> files;
  duptest::Walk({duptest::ListItem(tmp.Path())}, true, folders, files);
  ASSERT_EQ(folders.size(), 4u);  // root, top, Папка, глубже
  EXPECT_EQ(folders[2].Name, L"Папка");
  EXPECT_EQ(folders[2].Parent, 1);
  EXPECT_EQ(folders[3].Parent, 2);
  ASSERT_EQ(files.size(), 4u);
  EXPECT_TRUE(HasFile(files, folders, tmp / (L"Папка\\" + longName)));  // kept whole in memory
  EXPECT_TRUE(HasFile(files, folders, hidden));
  for (const TDupFileRec& r : files) {
    EXPECT_TRUE(r.Id.Valid);
    if (r.Name == L"x.txt") {
      EXPECT_EQ(r.Size, 3);
    }
  }

  duptest::Walk({duptest::ListItem(tmp.Path())}, false, folders, files);
  EXPECT_EQ(folders.size(), 2u);
  EXPECT_EQ(files.size(), 2u);  // top.txt and hidden.sys
}

TEST(DupWalk, AFolderListedTwiceOrReachedByALinkIsWalkedOnce) {
  testenv::ScopedTempDir tmp;
  tmp.WriteFile(L"Data\\a.txt", "a");
  tmp.WriteFile(L"Data\\Sub\\b.txt", "b");
  ASSERT_TRUE(duptest::HostSymlink(tmp / L"Data\\Sub\\loop", tmp / L"Data"));   // a loop
  ASSERT_TRUE(duptest::HostSymlink(tmp / L"alias", tmp / L"Data\\Sub"));        // a second name
  const DWORD attrs = GetFileAttributesW((tmp / L"Data\\Sub\\loop").c_str());
  EXPECT_EQ(attrs & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
            DWORD{FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT});

  std::vector<TDupFolderRec> folders;
  std::vector<TDupFileRec> files;
  // The same folder in another case, a folder inside it in another case,
  // and a linked name of a subfolder, all listed by the user.
  const std::wstring lower = tmp.Path() + L"\\data\\";
  duptest::Walk({duptest::ListItem(tmp / L"Data"), lower, tmp.Path() + L"\\DATA\\sub\\",
                 duptest::ListItem(tmp / L"alias")},
                true, folders, files);
  EXPECT_EQ(files.size(), 2u);
  duptest::Walk({duptest::ListItem(tmp / L"Data"), lower, duptest::ListItem(tmp / L"alias")}, false, folders,
                files);
  EXPECT_EQ(files.size(), 2u);  // a.txt once, b.txt once through the alias
}

TEST(DupWalk, StopEndsTheWalk) {
  testenv::ScopedTempDir tmp;
  for (int i = 0; i < 5; ++i) tmp.WriteFile(L"d" + std::to_wstring(i) + L"\\f.txt", "x");
  std::vector<TDupFolderRec> folders;
  std::vector<TDupFileRec> files;
  DupSetTopFolders({duptest::ListItem(tmp.Path())}, true, folders, files);
  std::atomic<bool> stop{false};
  TDupWalkHooks hooks;
  int seen = 0;
  hooks.BeforeFolder = [&](int i, int) {
    seen = i;
    if (i == 2) stop = true;
  };
  EXPECT_FALSE(DupWalkFolders(folders, files, true, stop, hooks));
  EXPECT_EQ(seen, 2);
}

class DupScanRun : public ::testing::Test {
 protected:
  void SetUp() override { DupStop = false; }
  void Scan(const TDupCriteria& criteria, bool subfolders = true) {
    DupPrepareScan({duptest::ListItem(tmp_.Path())}, criteria, subfolders);
    outcome_ = RunDuplicateScan(rec_.Hooks());
  }
  testenv::ScopedTempDir tmp_;
  TRecorder rec_;
  TDupScanOutcome outcome_{};
};

TEST_F(DupScanRun, ShowsEachPhaseAndEndsWithTheCount) {
  tmp_.WriteFile(L"a\\x.bin", Pattern(300, 1));
  tmp_.WriteFile(L"b\\x.bin", Pattern(300, 1));
  tmp_.WriteFile(L"b\\y.bin", Pattern(300, 2));
  tmp_.WriteFile(L"c\\z.bin", Pattern(10, 1));
  Scan({false, true, true});
  EXPECT_EQ(outcome_, TDupScanOutcome::Found);
  EXPECT_EQ(rec_.operations, (std::vector<std::wstring>{L"Сканирование папок", L"Сравнение файлов",
                                                         L"Обработка результата", L"Сортировка", L"Найдено 2"}));
  ASSERT_EQ(DupFiles.size(), 2u);
  EXPECT_EQ(DupFiles[0].Group, 1u);
  EXPECT_EQ(DupFiles[1].Group, 1u);
  // The walk counts folders "i из last " against the growing table.
  EXPECT_EQ(rec_.statuses[1], L"1 из 1 ");
  EXPECT_NE(std::find(rec_.statuses.begin(), rec_.statuses.end(), L"4 из 4 "), rec_.statuses.end());
  EXPECT_NE(std::find(rec_.statuses.begin(), rec_.statuses.end(), L"0 из 3 "), rec_.statuses.end());
  EXPECT_NE(std::find(rec_.statuses.begin(), rec_.statuses.end(), L"3 из 3 "), rec_.statuses.end());
  // The end: phase text, empty counter, repaint, idle button, full bar.
  const std::vector<std::wstring> tail(rec_.calls.end() - 5, rec_.calls.end());
  EXPECT_EQ(tail, (std::vector<std::wstring>{L"op:Найдено 2", L"status:", L"repaint",
                                              L"button:Начать сканирование:0", L"pos:3"}));
}

TEST_F(DupScanRun, FewerThanTwoFilesEndsWithNothingFoundAndKeepsTheWalk) {
  tmp_.WriteFile(L"only.txt", "1");
  Scan({true, true, false});
  EXPECT_EQ(outcome_, TDupScanOutcome::TooFewFiles);
  EXPECT_EQ(rec_.operations.back(), L"Дублирующихся файлов не найдено");
  EXPECT_EQ(rec_.calls.back(), L"button:Начать сканирование:0");
  ASSERT_EQ(DupFiles.size(), 1u);
  EXPECT_EQ(DupFiles[0].Group, 0u);
  EXPECT_EQ(DupFolders.size(), 2u);
}

TEST_F(DupScanRun, NoPairFoundShowsFoundZero) {
  tmp_.WriteFile(L"a.txt", "1");
  tmp_.WriteFile(L"b.txt", "22");
  Scan({false, true, false});
  EXPECT_EQ(rec_.operations.back(), L"Найдено 0");
  EXPECT_TRUE(DupFiles.empty());
}

TEST_F(DupScanRun, StopDuringTheWalkEmptiesBothTables) {
  for (int i = 0; i < 4; ++i) tmp_.WriteFile(L"d" + std::to_wstring(i) + L"\\f.txt", "x");
  rec_.onStatus = [](const std::wstring& s) {
    if (s == L"1 из 1 ") DupStop = true;
  };
  Scan({true, true, false});
  EXPECT_EQ(outcome_, TDupScanOutcome::Aborted);
  EXPECT_TRUE(DupFolders.empty());
  EXPECT_TRUE(DupFiles.empty());
  const std::vector<std::wstring> tail(rec_.calls.end() - 4, rec_.calls.end());
  EXPECT_EQ(tail, (std::vector<std::wstring>{L"button:Начать сканирование:0", L"op:Сканирование прервано",
                                              L"status:", L"repaint"}));
}

TEST_F(DupScanRun, StopDuringTheComparisonEmptiesBothTables) {
  for (int i = 0; i < 4; ++i) tmp_.WriteFile(L"f" + std::to_wstring(i) + L".bin", Pattern(100, 1));
  rec_.onStatus = [](const std::wstring& s) {
    if (s == L"0 из 3 ") DupStop = true;
  };
  Scan({false, false, true});
  EXPECT_EQ(outcome_, TDupScanOutcome::Aborted);
  EXPECT_TRUE(DupFiles.empty());
  EXPECT_EQ(rec_.operations.back(), L"Сканирование прервано");
}

TEST_F(DupScanRun, SizesAbove4GiBAreKeptWholeAndNeverMatchTheirLow32Bits) {
  const long long big = 5LL << 30;  // low 32 bits: 1 GiB
  ASSERT_TRUE(duptest::MakeSizedFile(tmp_ / L"huge.bin", big));
  ASSERT_TRUE(duptest::MakeSizedFile(tmp_ / L"low.bin", 1LL << 30));
  Scan({false, true, false});
  EXPECT_EQ(rec_.operations.back(), L"Найдено 0");

  DupPrepareScan({duptest::ListItem(tmp_.Path())}, {false, true, false}, true);
  std::atomic<bool> stop{false};
  DupWalkFolders(DupFolders, DupFiles, true, stop);
  ASSERT_EQ(DupFiles.size(), 2u);
  for (const TDupFileRec& r : DupFiles)
    EXPECT_EQ(r.Size, r.Name == L"huge.bin" ? big : (1LL << 30));
}

TEST_F(DupScanRun, ProgressThreadHandsEveryUpdateToTheMainThreadInOrder) {
  tmp_.WriteFile(L"a\\x.bin", Pattern(300, 1));
  tmp_.WriteFile(L"b\\x.bin", Pattern(300, 1));
  DupPrepareScan({duptest::ListItem(tmp_.Path())}, {true, true, true}, true);
  const DWORD mainThread = GetCurrentThreadId();
  bool allOnMain = true;
  TDupScanHooks hooks = rec_.Hooks();
  auto op = hooks.SetOperationName;
  hooks.SetOperationName = [&, op](const std::wstring& s) {
    allOnMain = allOnMain && GetCurrentThreadId() == mainThread;
    op(s);
  };
  InitMainThreadSync();
  std::unique_ptr<TProgressThread> worker(TThread::Create<TProgressThread>(hooks));
  worker->WaitFor();
  CheckSynchronize();
  EXPECT_TRUE(allOnMain);
  EXPECT_EQ(worker->Outcome(), TDupScanOutcome::Found);
  EXPECT_EQ(rec_.operations, (std::vector<std::wstring>{L"Сканирование папок", L"Сравнение файлов",
                                                         L"Обработка результата", L"Сортировка", L"Найдено 2"}));
  EXPECT_EQ(rec_.calls.back(), L"pos:1");
}

TEST_F(DupScanRun, StopAndWaitEndsARunningScanAsStopped) {
  for (int i = 0; i < 30; ++i) tmp_.WriteFile(L"d" + std::to_wstring(i) + L"\\f.bin", Pattern(64, 1));
  DupPrepareScan({duptest::ListItem(tmp_.Path())}, {false, true, true}, true);
  DupStop = true;  // asked before the worker even looks: it must still end idle
  InitMainThreadSync();
  std::unique_ptr<TProgressThread> worker(TThread::Create<TProgressThread>(rec_.Hooks()));
  worker->StopAndWait();
  EXPECT_EQ(worker->Outcome(), TDupScanOutcome::Aborted);
  EXPECT_EQ(rec_.operations.back(), L"Сканирование прервано");
  EXPECT_NE(std::find(rec_.calls.begin(), rec_.calls.end(), L"button:Начать сканирование:0"), rec_.calls.end());
  EXPECT_TRUE(DupFiles.empty());
}

}  // namespace
