// The settings pages' registry object keeps a key open for later rows of
// the same key: no row may see another row's key through that, and a key it
// deleted is never written through an old handle.
#include <gtest/gtest.h>

#include "app/settings/SettingsEngine.h"
#include "framework/SysUtils.h"
#include "tests/app/settings/SettingsTestSupport.h"
#include "tests/common/TestEnv.h"

using namespace settingstest;

namespace {

const wchar_t kKeyA[] = L"Software\\TarnholtTest\\A";
const wchar_t kKeyB[] = L"Software\\TarnholtTest\\B";

int NumberOf(const TSettingsRegistry& reg, const wchar_t* name) {
  int n = -1;
  return StoredNumber(reg.Stored(name), n) ? n : -1;
}

}  // namespace

TEST(SettingsRegistry, EachRowReadsOnlyItsOwnKey) {
  testenv::ScopedRegKey scratch;
  SetDword(ScratchPath(scratch.SubKey(), HKEY_CURRENT_USER, kKeyA), L"Value", 7);
  MakeKey(ScratchPath(scratch.SubKey(), HKEY_CURRENT_USER, kKeyB));
  TSettingsRegistry reg(ScratchMap(scratch.SubKey()));

  ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, kKeyA, false));
  EXPECT_EQ(NumberOf(reg, L"Value"), 7);
  // A key that does not exist opens nothing: the last row's key is gone too.
  EXPECT_FALSE(reg.Open(HKEY_CURRENT_USER, L"Software\\TarnholtTest\\Missing", false));
  EXPECT_FALSE(reg.Stored(L"Value").Exists);
  EXPECT_THROW(reg.WriteInteger(L"Value", 1), Exception);
  ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, kKeyB, false));
  EXPECT_FALSE(reg.Stored(L"Value").Exists);
  // Back to the first key (in another spelling): its value again, and a
  // write lands there.
  ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, L"SOFTWARE\\TarnholtTest\\a", false));
  EXPECT_EQ(NumberOf(reg, L"Value"), 7);
  reg.WriteInteger(L"Other", 3);
  reg.Close();
  EXPECT_FALSE(reg.Stored(L"Other").Exists);
  EXPECT_EQ(ReadValue(ScratchPath(scratch.SubKey(), HKEY_CURRENT_USER, kKeyA), L"Other").Dword, 3u);
}

TEST(SettingsRegistry, AKeyDeletedAndMadeAgainTakesTheLaterWrites) {
  testenv::ScopedRegKey scratch;
  TSettingsRegistry reg(ScratchMap(scratch.SubKey()));
  const std::wstring parent = L"Software\\TarnholtTest";
  for (const std::wstring& deleted : {std::wstring(kKeyA), parent}) {
    SCOPED_TRACE(deleted);
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, kKeyA, true));
    reg.WriteInteger(L"Value", 1);
    reg.DeleteKey(HKEY_CURRENT_USER, deleted);
    EXPECT_FALSE(KeyExists(ScratchPath(scratch.SubKey(), HKEY_CURRENT_USER, kKeyA)));
    // Without create the deleted key stays deleted; with it, it is made anew.
    EXPECT_FALSE(reg.Open(HKEY_CURRENT_USER, kKeyA, false));
    ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, kKeyA, true));
    reg.WriteInteger(L"Value", 2);
    const RawValue v = ReadValue(ScratchPath(scratch.SubKey(), HKEY_CURRENT_USER, kKeyA), L"Value");
    ASSERT_TRUE(v.Exists);
    EXPECT_EQ(v.Dword, 2u);
  }
}

TEST(SettingsRegistry, StoredReadsLongValuesWhole) {
  testenv::ScopedRegKey scratch;
  const std::wstring path = ScratchPath(scratch.SubKey(), HKEY_CURRENT_USER, kKeyA);
  const std::wstring longText(300, L'x');
  SetText(path, L"Long", longText);
  SetText(path, L"Short", L"12");
  TSettingsRegistry reg(ScratchMap(scratch.SubKey()));
  ASSERT_TRUE(reg.Open(HKEY_CURRENT_USER, kKeyA, false));
  std::wstring text;
  ASSERT_TRUE(StoredText(reg.Stored(L"Long"), text));
  EXPECT_EQ(text, longText);
  const TStoredValue shortValue = reg.Stored(L"Short");
  EXPECT_EQ(shortValue.Data.size(), 6u);  // "12" and its terminator
  EXPECT_EQ(NumberOf(reg, L"Short"), 12);
  EXPECT_FALSE(reg.Stored(L"Missing").Exists);
}
