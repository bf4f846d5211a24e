// The registry cleaner's rules for single values: path extraction, the
// skip chain over real files and drives, key-path spelling.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/registry/RegScanRules.h"
#include "tests/app/registry/RegTestSupport.h"
#include "tests/common/TestEnv.h"

namespace {

struct ExtractCase {
  const wchar_t* value;
  bool ok;
  const wchar_t* path;
};

class ExtractPathFromValueTest : public ::testing::TestWithParam<ExtractCase> {};

TEST_P(ExtractPathFromValueTest, TakesOnePlainPathFromTheStart) {
  const ExtractCase& c = GetParam();
  std::wstring path = L"untouched";
  EXPECT_EQ(ExtractPathFromValue(c.value, path), c.ok) << c.value;
  EXPECT_EQ(path, c.ok ? std::wstring(c.path) : std::wstring(L"untouched")) << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtractPathFromValueTest,
    ::testing::Values(
        ExtractCase{L"C:\\Program Files\\App\\app.exe -start", true,
                    L"C:\\Program Files\\App\\app.exe"},
        ExtractCase{L"C:\\Dir\\lib.dll,12", true, L"C:\\Dir\\lib.dll"},
        ExtractCase{L"C:\\Windows\\system32\\shell32.dll!Entry", true,
                    L"C:\\Windows\\system32\\shell32.dll"},
        ExtractCase{L"C:\\Gone\\app.exe", true, L"C:\\Gone\\app.exe"},
        ExtractCase{L"C:\\a.b", true, L"C:\\a.b"},
        // A value ending with "." keeps its name as it is.
        ExtractCase{L"C:\\Dir\\file.", true, L"C:\\Dir\\file."},
        // The name ends at "^" or "%"; its extension went with the cut.
        ExtractCase{L"C:\\Dir\\app%1.exe", true, L"C:\\Dir\\.exe"},
        ExtractCase{L"C:\\Dir\\app.exe %1", true, L"C:\\Dir\\app.exe"},
        // Refused or incomplete.
        ExtractCase{L"C:\\Gone\\app.exe /start", false, nullptr},
        ExtractCase{L"\"C:\\Gone\\app.exe\" -start", false, nullptr},
        ExtractCase{L"C:\\Gone\\readme", false, nullptr},
        ExtractCase{L"C:\\Gone\\app.exe;C:\\Other\\b.exe", false, nullptr},
        ExtractCase{L"C:\\Gone\\a.exe|b", false, nullptr},
        ExtractCase{L"C:\\Gone\\a=1.exe", false, nullptr},
        ExtractCase{L"C:\\Gone\\*.exe", false, nullptr},
        ExtractCase{L"C:\\Gone\\a.exe \"x\"", false, nullptr},
        ExtractCase{L"C:/Gone/app.exe", false, nullptr},
        ExtractCase{L"C:\\", false, nullptr},
        ExtractCase{L"C:\\.", true, L"C:\\."},
        ExtractCase{L"app.exe", false, nullptr},
        ExtractCase{L"", false, nullptr}));

TEST(NormalizeKeyPath, EndsWithOneBackslashAndStartsWithAtMostOne) {
  EXPECT_EQ(NormalizeKeyPath(L""), L"\\");
  EXPECT_EQ(NormalizeKeyPath(L"\\"), L"\\");
  EXPECT_EQ(NormalizeKeyPath(L"\\\\SOFTWARE\\Classes"), L"\\SOFTWARE\\Classes\\");
  EXPECT_EQ(NormalizeKeyPath(L"\\SOFTWARE\\"), L"\\SOFTWARE\\");
  EXPECT_EQ(NormalizeKeyPath(L"abc"), L"abc\\");
}

TEST(GetVolumeSerial, KnowsLettersOfExistingVolumesOnly) {
  EXPECT_NE(GetVolumeSerial(L'C'), 0u);
  EXPECT_EQ(GetVolumeSerial(L'c'), GetVolumeSerial(L'C'));
  EXPECT_EQ(GetVolumeSerial(L'1'), 0u);
  EXPECT_EQ(GetVolumeSerial(L'\\'), 0u);
  EXPECT_EQ(GetVolumeSerial(L'\x0416'), 0u);  // a Cyrillic letter is no drive
  const wchar_t missing = regtest::MissingDriveLetter();
  ASSERT_NE(missing, L'\0');
  EXPECT_EQ(GetVolumeSerial(missing), 0u);
}

TEST(IsDeadFileReference, FollowsTheSkipChain) {
  testenv::ScopedTempDir dir;
  ASSERT_EQ(dir.Path()[1], L':');
  const std::wstring existing = dir.WriteFile(L"Real App\\tool.exe", "MZ");
  dir.WriteFile(L"with args.txt -x", "odd but real");
  dir.MakeDir(L"folder.d");
  const std::wstring gone = dir / L"Gone\\app.exe";
  std::wstring missingDrive = gone;
  missingDrive[0] = regtest::MissingDriveLetter();

  struct Case {
    std::wstring text;
    bool dead;
  } cases[] = {
      {L"", false},
      {existing, false},                                  // file exists
      {existing + L" -start", false},                     // path exists after the arguments
      {existing + L",1", false},
      {dir / L"with args.txt -x", false},                 // the whole text names a file
      {dir / L"folder.d", false},                         // an existing folder
      {gone, true},
      {gone + L" -start", true},
      {gone + L",12", true},
      {dir / L"Gone\\readme", false},                     // no extension
      {gone + L" /start", false},                         // "/" in the name part
      {L"\"" + gone + L"\"", false},                      // begins with a quote
      {gone + L";" + gone, false},                        // two paths
      {missingDrive, false},                              // no such drive
      {L"A:\\Gone\\app.exe", false},                      // "A" is never looked at
      {L"a:\\Gone\\app.exe", false},
  };
  for (const Case& c : cases) {
    TVolumeSerials volumes;
    EXPECT_EQ(IsDeadFileReference(c.text, volumes), c.dead) << c.text;
  }
}

}  // namespace
