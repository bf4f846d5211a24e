// CreateKeys: the 28 values made to exist at start-up, on keys moved below
// a scratch key.
#include <gtest/gtest.h>

#include "app/settings/SettingsEngine.h"
#include "app/settings/SettingsTable.h"
#include "tests/app/settings/SettingsTestSupport.h"
#include "tests/common/TestEnv.h"

using namespace settingstest;

namespace {

void RunCreateKeys(const std::wstring& base) {
  TSettingsRegistry reg(ScratchMap(base));
  for (const TCreateKeyRow& row : CreateKeyRows()) CreateKeyRow(reg, row);
}

// Makes the keys that Windows always has (the rows that only open theirs).
void MakeOpenKeys(const std::wstring& base) {
  for (const TCreateKeyRow& row : CreateKeyRows())
    if (!row.Create) MakeKey(ScratchPath(base, row.Root, row.Key));
}


}  // namespace

TEST(SettingsCreateKeys, TableHasTwentyEightValuesInTwentySevenSteps) {
  int values = 0;
  for (const TCreateKeyRow& row : CreateKeyRows()) values += row.Name2 ? 2 : 1;
  EXPECT_EQ(CreateKeyRows().size(), 27u);
  EXPECT_EQ(values, 28);
}

TEST(SettingsCreateKeys, EmptyKeysGetEveryDefault) {
  testenv::ScopedRegKey scratch;
  MakeOpenKeys(scratch.SubKey());
  // "MenuShowDelay" is a string: a missing one reads as empty text, so it
  // is never written; a value of another type is kept (below).
  RunCreateKeys(scratch.SubKey());

  for (const TCreateKeyRow& row : CreateKeyRows()) {
    for (const wchar_t* name : {row.Name, row.Name2}) {
      if (!name) continue;
      SCOPED_TRACE(name);
      RawValue v = ReadValue(ScratchPath(scratch.SubKey(), row.Root, row.Key), name);
      if (row.Kind == TSettingKind::String) {
        EXPECT_FALSE(v.Exists);
        continue;
      }
      ASSERT_TRUE(v.Exists);
      EXPECT_EQ(v.Type, static_cast<DWORD>(REG_DWORD));
      EXPECT_EQ(v.Dword, static_cast<DWORD>(row.IntDefault));
    }
  }
}

TEST(SettingsCreateKeys, DefaultsAreWhatWindowsDoesWithoutTheValue) {
  testenv::ScopedRegKey scratch;
  MakeOpenKeys(scratch.SubKey());
  RunCreateKeys(scratch.SubKey());
  const std::wstring lanman = ScratchPath(
      scratch.SubKey(), HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\LanmanServer\\Parameters");
  const std::wstring advanced =
      ScratchPath(scratch.SubKey(), HKEY_CURRENT_USER,
                  L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced");
  const std::wstring policies =
      ScratchPath(scratch.SubKey(), HKEY_CURRENT_USER,
                  L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer");
  const struct {
    std::wstring path;
    const wchar_t* name;
    DWORD value;
  } cases[] = {
      {lanman, L"AutoShareWks", 1},        // the administrative shares stay
      {lanman, L"AutoShareServer", 1},
      {advanced, L"EnableBalloonTips", 1},
      {advanced, L"Start_AutoCascade", 1},  // submenus keep opening on hover
      {policies, L"EnableAutoTray", 1},
      {policies, L"NoFind", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ReadValue(c.path, c.name).Dword, c.value);
  }
}

TEST(SettingsCreateKeys, ExistingValuesAreUntouched) {
  testenv::ScopedRegKey scratch;
  const std::wstring base = scratch.SubKey();
  for (const TCreateKeyRow& row : CreateKeyRows()) {
    for (const wchar_t* name : {row.Name, row.Name2}) {
      if (!name) continue;
      if (row.Kind == TSettingKind::String)
        SetText(ScratchPath(base, row.Root, row.Key), name, L"250");
      else
        SetDword(ScratchPath(base, row.Root, row.Key), name, 7);
    }
  }
  const std::set<std::wstring> before = AllValues(base);
  RunCreateKeys(base);
  EXPECT_EQ(AllValues(base), before);
  for (const TCreateKeyRow& row : CreateKeyRows()) {
    SCOPED_TRACE(row.Name);
    RawValue v = ReadValue(ScratchPath(base, row.Root, row.Key), row.Name);
    if (row.Kind == TSettingKind::String)
      EXPECT_EQ(v.Text, L"250");
    else
      EXPECT_EQ(v.Dword, 7u);
  }
}

TEST(SettingsCreateKeys, ValueOfAnotherTypeIsKeptAsStored) {
  testenv::ScopedRegKey scratch;
  const std::wstring base = scratch.SubKey();
  const std::wstring policies = ScratchPath(
      base, HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer");
  SetDword(policies, L"MenuShowDelay", 400);
  SetText(policies, L"NoRun", L"1");
  RunCreateKeys(base);
  RawValue delay = ReadValue(policies, L"MenuShowDelay");
  EXPECT_EQ(delay.Type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(delay.Dword, 400u);
  RawValue noRun = ReadValue(policies, L"NoRun");
  EXPECT_EQ(noRun.Type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(noRun.Text, L"1");
}

TEST(SettingsCreateKeys, HalfPresentSharePairKeepsThePresentValue) {
  testenv::ScopedRegKey scratch;
  const std::wstring lanman =
      ScratchPath(scratch.SubKey(), HKEY_LOCAL_MACHINE,
                  L"SYSTEM\\CurrentControlSet\\Services\\LanmanServer\\Parameters");
  SetDword(lanman, L"AutoShareWks", 0);
  RunCreateKeys(scratch.SubKey());
  EXPECT_EQ(ReadValue(lanman, L"AutoShareWks").Dword, 0u);
  EXPECT_EQ(ReadValue(lanman, L"AutoShareServer").Dword, 1u);
}

TEST(SettingsCreateKeys, MissingKeysOfOpenRowsAreSkippedAndTheRestGoesOn) {
  testenv::ScopedRegKey scratch;
  const std::wstring base = scratch.SubKey();
  // Nothing exists: the "create" rows make their keys, the "open" rows
  // below Policies\Explorer find it made by then, the others are skipped.
  RunCreateKeys(base);
  EXPECT_FALSE(KeyExists(ScratchPath(base, HKEY_CURRENT_USER,
                                     L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced")));
  EXPECT_FALSE(KeyExists(ScratchPath(
      base, HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Services\\LanmanServer\\Parameters")));
  const std::wstring policies = ScratchPath(
      base, HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer");
  EXPECT_TRUE(ReadValue(policies, L"NoCommonGroups").Exists);
  EXPECT_TRUE(ReadValue(ScratchPath(base, HKEY_LOCAL_MACHINE,
                                    L"SYSTEM\\CurrentControlSet\\Control\\FileSystem"),
                        L"NtfsDisableLastAccessUpdate")
                  .Exists);
}

TEST(SettingsDecimal, ParsesOnlyDecimalIntegers) {
  const struct {
    const wchar_t* text;
    bool ok;
    int value;
  } cases[] = {
      {L"0", true, 0},          {L"512", true, 512},        {L"-99", true, -99},
      {L"+7", true, 7},         {L"2147483647", true, 2147483647},
      {L"-2147483648", true, -2147483647 - 1},
      {L"2147483648", false, 0}, {L"", false, 0},           {L"$1A", false, 0},
      {L"0x10", false, 0},      {L"12AB", false, 0},        {L" 5", false, 0},
      {L"-", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    int v = 0;
    EXPECT_EQ(TryParseDecimal(c.text, v), c.ok);
    if (c.ok) {
      EXPECT_EQ(v, c.value);
    }
  }
}
