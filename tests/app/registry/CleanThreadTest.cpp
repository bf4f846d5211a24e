// The registry cleaner's scan: the rows its walks produce over seeded keys,
// the order of its updates, cancelling, and a whole fresh prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "app/registry/CleanThread.h"
#include "tests/app/registry/RegTestSupport.h"
#include "tests/common/TestEnv.h"

namespace {

using regtest::Bytes;
using regtest::ScanLog;

// Rows whose key lies below `keyPath` (a path from the root with a leading
// "\"), in scan order.
std::vector<TRegFinding> RowsBelow(const ScanLog& log, const std::wstring& keyPath) {
  std::vector<TRegFinding> rows;
  // Key names compare without regard to case: the pass spells the start
  // "\SOFTWARE" where the test spells "\Software".
  const std::wstring prefix = keyPath + L"\\";
  for (const TRegFinding& row : log.Rows)
    if (row.KeyPath.size() > prefix.size() &&
        CompareStringOrdinal(row.KeyPath.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                             static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL)
      rows.push_back(row);
  return rows;
}

class CleanScan : public ::testing::Test {
 protected:
  void SetUp() override {
    root = L"\\" + scratch.SubKey();
    gone = dir / L"Gone";  // never created
    existing = dir.WriteFile(L"Here\\tool.exe", "MZ");
  }
  HKEY Sub(const std::wstring& path) { return regtest::CreateKey(scratch.Handle(), path); }
  TRegFinding Row(const std::wstring& sub, const std::wstring& name, const std::wstring& text) {
    return {kRegInvalidFileLink, text, L"HKCU", root + L"\\" + sub, name};
  }

  testenv::ScopedRegKey scratch;
  testenv::ScopedTempDir dir;
  std::wstring root, gone, existing;
};

TEST_F(CleanScan, ListsEachDeadStringValueOnceWithItsWholeText) {
  HKEY a = Sub(L"A");
  const wchar_t missing = regtest::MissingDriveLetter();
  std::wstring onMissingDrive = gone + L"\\x.exe";
  onMissingDrive[0] = missing;
  regtest::SetSz(a, L"exists", existing);
  regtest::SetSz(a, L"exists args", existing + L" -start");
  regtest::SetSz(a, L"gone", gone + L"\\app.exe");
  regtest::SetSz(a, L"args", gone + L"\\app.exe -start");
  regtest::SetSz(a, L"resource", gone + L"\\lib.dll,12");
  regtest::SetSz(a, L"slash", gone + L"\\app.exe /start");
  regtest::SetSz(a, L"quoted", L"\"" + gone + L"\\app.exe\"");
  regtest::SetSz(a, L"missing drive", onMissingDrive);
  regtest::SetSz(a, L"a drive", L"A:\\Gone\\x.exe");
  regtest::SetSz(a, L"no extension", gone + L"\\readme");
  regtest::SetSz(a, L"two paths", gone + L"\\a.exe;" + gone + L"\\b.exe");
  regtest::SetSz(a, L"empty", L"");
  regtest::SetRaw(a, L"expand", REG_EXPAND_SZ, Bytes(gone + L"\\app.exe", true));
  regtest::SetRaw(a, L"binary", REG_BINARY, Bytes(gone + L"\\app.exe", true));
  regtest::SetRaw(a, L"dword", REG_DWORD, {1, 0, 0, 0});
  regtest::SetSz(a, L"", gone + L"\\default.exe");
  // Awkward data: the text ends at the first NUL, an odd byte or a missing
  // terminator changes nothing, and a huge string is not read at all.
  regtest::SetRaw(a, L"after nul", REG_SZ,
                  Bytes(gone + L"\\nul.exe" + std::wstring(1, L'\0') + L"junk", true));
  std::vector<BYTE> odd = Bytes(gone + L"\\odd.exe", true);
  odd.push_back(0x41);
  regtest::SetRaw(a, L"odd", REG_SZ, odd);
  regtest::SetRaw(a, L"no terminator", REG_SZ, Bytes(gone + L"\\noterm.exe", false));
  regtest::SetSz(a, L"huge", gone + L"\\huge.exe " + std::wstring(600000, L'x'));
  const std::wstring longName(2000, L'n');
  regtest::SetSz(a, longName, gone + L"\\longname.exe");
  RegCloseKey(a);

  const ScanLog log = regtest::WalkDirect(HKEY_CURRENT_USER, root);
  std::vector<TRegFinding> rows = RowsBelow(log, root);
  std::vector<TRegFinding> expected = {
      Row(L"A", L"gone", gone + L"\\app.exe"),
      Row(L"A", L"args", gone + L"\\app.exe -start"),
      Row(L"A", L"resource", gone + L"\\lib.dll,12"),
      Row(L"A", L"", gone + L"\\default.exe"),
      Row(L"A", L"after nul", gone + L"\\nul.exe"),
      Row(L"A", L"odd", gone + L"\\odd.exe"),
      Row(L"A", L"no terminator", gone + L"\\noterm.exe"),
      Row(L"A", longName, gone + L"\\longname.exe"),
  };
  // Values come in the registry's order; compare as sets.
  auto byName = [](const TRegFinding& l, const TRegFinding& r) { return l.ValueName < r.ValueName; };
  std::sort(rows.begin(), rows.end(), byName);
  std::sort(expected.begin(), expected.end(), byName);
  EXPECT_EQ(rows, expected);
}

TEST_F(CleanScan, WalksDepthFirstAndFindsSiblingsAtEveryLevel) {
  for (const wchar_t* path : {L"A", L"A\\B", L"A\\B\\C", L"A\\D", L"A\\D\\Empty", L"E"}) {
    HKEY key = Sub(path);
    if (std::wstring(path).find(L"Empty") == std::wstring::npos)
      regtest::SetSz(key, L"v", gone + L"\\" + path + L".exe");
    RegCloseKey(key);
  }
  const ScanLog log = regtest::WalkDirect(HKEY_CURRENT_USER, root);
  std::vector<std::wstring> keys;
  for (const TRegFinding& row : RowsBelow(log, root)) keys.push_back(row.KeyPath.substr(root.size()));
  EXPECT_EQ(keys, (std::vector<std::wstring>{L"\\A", L"\\A\\B", L"\\A\\B\\C", L"\\A\\D", L"\\E"}));
}

// Only a damaged hive nests deeper than the registry allows; the walk stops
// following such a chain at that depth instead of recursing without end.
TEST_F(CleanScan, StopsFollowingAChainDeeperThanTheRegistryAllows) {
  const int levels = kMaxRegWalkDepth + 8;
  std::wstring path = L"k";
  HKEY key = Sub(path);
  for (int level = 2; level <= levels; ++level) {
    if (level == 3) regtest::SetSz(key, L"shallow", gone + L"\\shallow.exe");
    HKEY child = nullptr;
    if (RegCreateKeyExW(key, L"k", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr) !=
        ERROR_SUCCESS)
      GTEST_SKIP() << "the registry refused level " << level;
    RegCloseKey(key);
    key = child;
  }
  regtest::SetSz(key, L"deep", gone + L"\\deep.exe");
  RegCloseKey(key);

  const ScanLog log = regtest::WalkDirect(HKEY_CURRENT_USER, root);
  std::vector<std::wstring> names;
  for (const TRegFinding& row : RowsBelow(log, root)) names.push_back(row.ValueName);
  EXPECT_EQ(names, std::vector<std::wstring>{L"shallow"});
}

TEST_F(CleanScan, ClearingRunningStopsTheWalkAtItsNextTest) {
  for (const wchar_t* path : {L"A", L"B", L"C"}) {
    HKEY key = Sub(path);
    regtest::SetSz(key, L"v", gone + L"\\x.exe");
    regtest::SetSz(key, L"w", gone + L"\\y.exe");
    RegCloseKey(key);
  }
  InitMainThreadSync();
  ScanLog log;
  TCleanThread thread;
  regtest::Connect(thread, log);
  thread.OnFinding = [&](const TRegFinding& row) {
    log.Rows.push_back(row);
    thread.Running = false;  // what the cancel button does
  };
  thread.Running = true;
  TRegistry reg(KEY_READ);
  reg.SetRootKey(HKEY_CURRENT_USER);
  WalkRegKeys(thread, reg, root, root, L"", 1);
  EXPECT_EQ(log.Rows.size(), 1u);
}

TEST(CleanThread, ListsEmptyExtensionKeysDirectlyBelowClassesRootOnly) {
  const std::wstring base = L"tarnholtscan" + regtest::UniqueSuffix();
  regtest::ScopedClassesKey empty(L"." + base + L"a");
  regtest::ScopedClassesKey withValue(L"." + base + L"b");
  regtest::ScopedClassesKey withSubKey(L"." + base + L"c");
  regtest::ScopedClassesKey noDot(base + L"d");
  regtest::SetSz(withValue.Handle(), L"", L"txtfile");
  RegCloseKey(regtest::CreateKey(withSubKey.Handle(), L".x"));  // empty, but one level down

  ScanLog log;
  TCleanThread* thread = TThread::Create<TCleanThread>();
  thread->ScanExtensions = true;
  thread->ScanUserKeys = false;
  regtest::Connect(*thread, log);
  regtest::RunToEnd(thread, log);

  std::vector<TRegFinding> ours;
  for (const TRegFinding& row : log.Rows)
    if (row.Param.find(base) != std::wstring::npos) ours.push_back(row);
  EXPECT_EQ(ours, (std::vector<TRegFinding>{
                      {kRegInvalidExtension, empty.Name(), L"HKCR", L"\\" + empty.Name(), L""}}));
  EXPECT_EQ(log.Statuses, (std::vector<std::wstring>{kRegStatusExtensions, kRegStatusDone}));
}

TEST(CleanThread, CancelledBeforeItRunsStillEndsWithTheFinalStatus) {
  ScanLog log;
  TCleanThread* thread = TThread::Create<TCleanThread>();
  thread->ScanCLSID = true;
  regtest::Connect(*thread, log);
  thread->Cancel();
  regtest::RunToEnd(thread, log);
  EXPECT_TRUE(log.Rows.empty());
  ASSERT_FALSE(log.Statuses.empty());
  EXPECT_EQ(log.Statuses.back(), kRegStatusDone);
  EXPECT_EQ(log.Events.back(), L"finished");
}

TEST(CleanThread, StopCleanThreadWaitsForTheLastUpdate) {
  ScanLog log;
  TCleanThread* thread = TThread::Create<TCleanThread>();
  thread->ScanCLSID = true;
  regtest::Connect(*thread, log);
  thread->FreeOnTerminate = true;
  thread->Start();
  StopCleanThread(thread);
  EXPECT_TRUE(log.Finished);
  ASSERT_FALSE(log.Statuses.empty());
  EXPECT_EQ(log.Statuses.back(), kRegStatusDone);
  EXPECT_EQ(log.Events.back(), L"finished");
}

// A scan of the whole (fresh) prefix with every pass: the seeded findings
// come once each, the updates arrive in order, and no row names anything a
// user would be wrong to delete.
TEST_F(CleanScan, WholePrefixScanListsNothingThatExists) {
  HKEY a = Sub(L"A");
  regtest::SetSz(a, L"gone", gone + L"\\app.exe -start");
  regtest::SetSz(a, L"exists", existing);
  RegCloseKey(a);
  const std::wstring ext = L".tarnholtwhole" + regtest::UniqueSuffix();
  regtest::ScopedClassesKey extKey(ext);

  ScanLog log;
  TCleanThread* thread = TThread::Create<TCleanThread>();
  thread->ScanExtensions = true;
  thread->ScanCLSID = true;
  thread->ScanUserKeys = true;
  regtest::Connect(*thread, log);
  regtest::RunToEnd(thread, log);

  EXPECT_EQ(log.Statuses, (std::vector<std::wstring>{kRegStatusExtensions, kRegStatusFileLinks,
                                                      kRegStatusFileLinks, kRegStatusDone}));
  EXPECT_EQ(log.Events.back(), L"finished");
  TRegFinding expected = Row(L"A", L"gone", gone + L"\\app.exe -start");
  expected.KeyPath = L"\\SOFTWARE" + expected.KeyPath.substr(9);  // "\Software" as the pass spells it
  EXPECT_EQ(RowsBelow(log, root), std::vector<TRegFinding>{expected});
  EXPECT_EQ(std::count_if(log.Rows.begin(), log.Rows.end(),
                          [&](const TRegFinding& r) { return r.Param == ext; }),
            1);

  for (const TRegFinding& row : log.Rows) {
    SCOPED_TRACE(testing::Message() << "row " << row.KeyPath << L" " << row.ValueName);
    if (row.Caption == kRegInvalidExtension) {
      EXPECT_EQ(row.Section, L"HKCR");
      HKEY key = nullptr;
      ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, row.KeyPath.substr(1).c_str(), 0, KEY_READ, &key),
                ERROR_SUCCESS);
      DWORD subKeys = 1, values = 1;
      RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr);
      RegCloseKey(key);
      EXPECT_EQ(subKeys + values, 0u);
      continue;
    }
    ASSERT_EQ(row.Caption, kRegInvalidFileLink);
    EXPECT_TRUE(row.Section == L"HKCU" || row.Section == L"HKLM");
    std::wstring path;
    ASSERT_TRUE(ExtractPathFromValue(row.Param, path));
    EXPECT_EQ(GetFileAttributesW(row.Param.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
  }
}

}  // namespace
