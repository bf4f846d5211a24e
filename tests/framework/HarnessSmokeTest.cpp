// The rest of the suite relies on the environment ./test sets up for Wine:
// the Russian ANSI code page, UTC as local time, and the paths CTest passes.
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/common/TestEnv.h"

TEST(Harness, AnsiCodePageIsCyrillic) { EXPECT_EQ(GetACP(), 1251u); }

TEST(Harness, LocalTimeIsUtc) {
  TIME_ZONE_INFORMATION tz{};
  GetTimeZoneInformation(&tz);
  EXPECT_EQ(tz.Bias, 0);
}

TEST(Harness, FixturesFolderExists) {
  const std::wstring fixtures = testenv::FixturePath();
  ASSERT_FALSE(fixtures.empty()) << "TARNHOLT_FIXTURES is not set";
  const DWORD attributes = GetFileAttributesW(fixtures.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(Harness, ScopedTempDirIsRemovedWithItsContents) {
  std::wstring path;
  {
    testenv::ScopedTempDir dir;
    path = dir.Path();
    dir.WriteFile(L"a\\b\\c.txt", "data");
    ASSERT_NE(GetFileAttributesW((dir / L"a\\b\\c.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  }
  EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(Harness, ScopedRegKeyIsRemovedWithItsSubkeys) {
  std::wstring subKey;
  {
    testenv::ScopedRegKey key;
    subKey = key.SubKey();
    HKEY child = nullptr;
    ASSERT_EQ(RegCreateKeyExW(key.Handle(), L"child", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &child, nullptr),
              ERROR_SUCCESS);
    RegCloseKey(child);
  }
  HKEY probe = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &probe),
            ERROR_FILE_NOT_FOUND);
}
