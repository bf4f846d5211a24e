// The rest of the suite relies on the environment ./test sets up for Wine:
// the Russian ANSI code page, UTC as local time, the paths CTest passes, and
// Wine's own Tahoma and Marlett as the fonts of those names.
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

TEST(Harness, TahomaAndMarlettAreWinesOwnFaces) {
  HDC dc = GetDC(nullptr);
  struct Case {
    const wchar_t* face;
    LONG height;  // of the font made with height -11
  } cases[] = {{L"Tahoma", 13}, {L"Marlett", 11}};
  for (const Case& c : cases) {
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, c.face);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    DeleteObject(font);
    EXPECT_STREQ(face, c.face) << "the font request fell back to another face";
    EXPECT_EQ(tm.tmHeight, c.height) << c.face;
  }
  ReleaseDC(nullptr, dc);
}
