// The real program's cleanup page: "Анализ" lists the temporary and prefetch
// folders, "Очистить" empties them and the URL cache. The program gets a
// temporary folder of the test's own through its environment.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "tests/app/common/CleanupTestSupport.h"
#include "tests/common/AppDriver.h"
#include "tests/common/TestEnv.h"

namespace {

using namespace cleanuptest;

std::set<std::wstring> Lines(const std::wstring& text) {
  std::set<std::wstring> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find(L"\r\n", start);
    if (end == std::wstring::npos) end = text.size();
    if (end > start) lines.insert(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

bool WaitEnabled(HWND wnd) {
  const ULONGLONG end = GetTickCount64() + 60000;
  while (!IsWindowEnabled(wnd)) {
    if (GetTickCount64() > end) return false;
    Sleep(20);
  }
  return true;
}

TEST(CleanupEndToEnd, AnalysisListsTheFoldersAndCleaningEmptiesThemAndTheCache) {
  FixtureLock lock;
  testenv::ScopedTempDir root;
  const std::wstring temp = root.MakeDir(L"temp");
  const std::wstring a = root.WriteFile(L"temp\\a.tmp", "a");
  const std::wstring b = root.WriteFile(L"temp\\sub\\b.tmp", "b");
  const std::wstring ru = root.WriteFile(L"temp\\отчёт_中文.tmp", "c");
  const std::wstring keep = root.WriteFile(L"outside\\keep.txt", "k");
  ScopedPrefetch prefetch;
  const std::wstring pf = prefetch.Write(L"E2E-TEST-1.pf");
  ClearUrlCache();
  ASSERT_TRUE(SeedUrlCache(L"e2e", 12));

  {
    testenv::TarnholtProcess app(L"", {{L"TEMP", temp}, {L"TMP", temp}});
    HWND main = app.WaitForWindow();
    ASSERT_NE(main, nullptr) << "main window did not appear";
    HWND analyse = testenv::FindChild(main, L"TsButton", L"Анализ");
    HWND clean = testenv::FindChild(main, L"TsButton", L"Очистить");
    HWND memo = testenv::FindChild(main, L"TsMemo");
    ASSERT_NE(analyse, nullptr);
    ASSERT_NE(clean, nullptr);
    ASSERT_NE(memo, nullptr);
    EXPECT_FALSE(IsWindowEnabled(clean));

    testenv::ClickButton(analyse);
    ASSERT_TRUE(WaitEnabled(clean));
    ASSERT_TRUE(WaitEnabled(analyse));
    EXPECT_EQ(Lines(testenv::WindowText(memo)),
              (std::set<std::wstring>{a, temp + L"\\sub", b, ru, pf}));

    testenv::ClickButton(clean);
    testenv::Sync(main);
    EXPECT_FALSE(IsWindowEnabled(clean));
  }

  EXPECT_TRUE(UrlCacheEntries().empty());
  for (const std::wstring& gone : {a, b, ru, pf, temp + L"\\sub"}) EXPECT_FALSE(Exists(gone)) << gone;
  EXPECT_TRUE(Exists(temp));
  EXPECT_TRUE(Exists(keep));
}

}  // namespace
