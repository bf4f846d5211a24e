// TRegistry against a scratch key under HKCU\Software\TarnholtTest.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

#include "framework/Registry.h"
#include "framework/SysUtils.h"
#include "tests/common/TestEnv.h"

namespace {

class RegistryTest : public ::testing::Test {
 protected:
  testenv::ScopedRegKey scratch;
  // "\Software\TarnholtTest\<id>": a path from the root.
  std::wstring Abs(const std::wstring& rest = L"") const {
    return L"\\" + scratch.SubKey() + (rest.empty() ? L"" : L"\\" + rest);
  }
  bool RawKeyExists(const std::wstring& rest) const {
    HKEY k = nullptr;
    std::wstring path = scratch.SubKey() + L"\\" + rest;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
  }
  void RawSet(const std::wstring& name, DWORD type, const void* data, DWORD size) {
    ASSERT_EQ(RegSetValueExW(scratch.Handle(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
              ERROR_SUCCESS);
  }
};

std::vector<std::wstring> Sorted(std::vector<std::wstring> v) {
  std::sort(v.begin(), v.end());
  return v;
}

TEST_F(RegistryTest, WritesAndReadsBackEveryType) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Abs(), false));
  reg.WriteString(L"Имя", L"Значение с кириллицей");
  reg.WriteExpandString(L"Exp", L"%TEMP%\\x");
  reg.WriteInteger(L"Int", -99);
  reg.WriteBool(L"Flag", true);
  const BYTE blob[] = {1, 2, 3, 250};
  reg.WriteBinaryData(L"Bin", blob, sizeof blob);

  EXPECT_EQ(reg.ReadString(L"Имя"), L"Значение с кириллицей");
  EXPECT_EQ(reg.ReadString(L"Exp"), L"%TEMP%\\x");  // not expanded
  EXPECT_EQ(reg.ReadInteger(L"Int"), -99);
  EXPECT_EQ(static_cast<DWORD>(reg.ReadInteger(L"Int")), 0xFFFFFF9Du);
  EXPECT_TRUE(reg.ReadBool(L"Flag"));
  BYTE out[8] = {};
  EXPECT_EQ(reg.ReadBinaryData(L"Bin", out, sizeof out), 4);
  EXPECT_EQ(out[3], 250);
  EXPECT_EQ(reg.GetDataType(L"Имя"), rdString);
  EXPECT_EQ(reg.GetDataType(L"Exp"), rdExpandString);
  EXPECT_EQ(reg.GetDataType(L"Int"), rdInteger);
  EXPECT_EQ(reg.GetDataType(L"Bin"), rdBinary);
  EXPECT_EQ(reg.GetDataSize(L"Int"), 4);
  EXPECT_EQ(reg.GetDataSize(L"missing"), -1);
  EXPECT_TRUE(reg.ValueExists(L"Flag"));
  EXPECT_FALSE(reg.ValueExists(L"missing"));
}

TEST_F(RegistryTest, LeadingBackslashIsFromTheRootOtherPathsFromTheOpenKey) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Abs(), false));
  EXPECT_EQ(reg.CurrentPath(), scratch.SubKey());

  // Relative: created below the open key.
  ASSERT_TRUE(reg.OpenKey(L"Child", true));
  EXPECT_EQ(reg.CurrentPath(), scratch.SubKey() + L"\\Child");
  EXPECT_TRUE(RawKeyExists(L"Child"));

  // An empty relative path opens the same key again.
  ASSERT_TRUE(reg.OpenKey(L"", false));
  EXPECT_EQ(reg.CurrentPath(), scratch.SubKey() + L"\\Child");

  // Relative again: below Child now.
  ASSERT_TRUE(reg.OpenKey(L"Grand", true));
  EXPECT_TRUE(RawKeyExists(L"Child\\Grand"));

  // From the root, whatever is open.
  ASSERT_TRUE(reg.OpenKey(Abs(L"Other"), true));
  EXPECT_EQ(reg.CurrentPath(), scratch.SubKey() + L"\\Other");
  EXPECT_TRUE(RawKeyExists(L"Other"));
  EXPECT_FALSE(RawKeyExists(L"Child\\Grand\\Other"));

  // A relative path with no key open starts at the root.
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey(scratch.SubKey() + L"\\Child", false));
  EXPECT_EQ(reg.CurrentPath(), scratch.SubKey() + L"\\Child");
}

TEST_F(RegistryTest, FailedOpenKeepsThePreviousKeyOpen) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Abs(), false));
  reg.WriteInteger(L"Here", 1);
  EXPECT_FALSE(reg.OpenKey(L"DoesNotExist", false));
  EXPECT_EQ(reg.CurrentPath(), scratch.SubKey());
  EXPECT_EQ(reg.ReadInteger(L"Here"), 1);
  EXPECT_FALSE(RawKeyExists(L"DoesNotExist"));
}

TEST_F(RegistryTest, ReadOnlyKeyCannotBeWritten) {
  {
    TRegistry w;
    ASSERT_TRUE(w.OpenKey(Abs(), false));
    w.WriteString(L"S", L"text");
  }
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(Abs()));
  EXPECT_EQ(reg.ReadString(L"S"), L"text");
  EXPECT_THROW(reg.WriteString(L"S", L"changed"), ERegistryException);
  EXPECT_FALSE(reg.DeleteValue(L"S"));
  EXPECT_EQ(reg.ReadString(L"S"), L"text");
  EXPECT_EQ(reg.Access, static_cast<REGSAM>(KEY_ALL_ACCESS));  // full access again for the next open
}

TEST_F(RegistryTest, ReadIntegerRaisesOnMissingAndOnOtherTypes) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Abs(), false));
  reg.WriteString(L"Str", L"1");
  try {
    reg.ReadInteger(L"Missing");
    FAIL() << "no exception";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), L"Failed to get data for 'Missing'");
  }
  try {
    reg.ReadInteger(L"Str");
    FAIL() << "no exception";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Message(), L"Invalid data type for 'Str'");
  }
  const BYTE qword[8] = {1};
  RawSet(L"Q", REG_QWORD, qword, 8);
  EXPECT_THROW(reg.ReadInteger(L"Q"), ERegistryException);
}

TEST_F(RegistryTest, ReadStringMissingIsEmptyOtherTypeRaises) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Abs(), false));
  reg.WriteInteger(L"Dw", 0);
  EXPECT_EQ(reg.ReadString(L"Missing"), L"");
  EXPECT_THROW(reg.ReadString(L"Dw"), ERegistryException);
}

TEST_F(RegistryTest, ReadsWithoutAnOpenKeyRaise) {
  TRegistry reg;
  reg.SetRootKey(HKEY_CURRENT_USER);
  EXPECT_FALSE(reg.OpenKey(Abs(L"Nope"), false));
  EXPECT_THROW(reg.ReadInteger(L"x"), ERegistryException);
  EXPECT_THROW(reg.ReadString(L"x"), ERegistryException);
  EXPECT_THROW(reg.WriteInteger(L"x", 1), ERegistryException);
}

TEST_F(RegistryTest, ReadStringToleratesOddLengthsAndMissingTerminator) {
  struct Case {
    const char* name;
    std::vector<BYTE> bytes;
    std::wstring expected;
  };
  const std::vector<Case> cases = {
      {"no terminator", {'a', 0, 'b', 0, 'c', 0}, L"abc"},
      {"odd length", {'a', 0, 'b', 0, 'c', 0, 'd'}, L"abc"},
      {"embedded zero", {'a', 0, 0, 0, 'z', 0, 0, 0}, L"a"},
      {"one byte", {'x'}, L""},
      {"empty", {}, L""},
  };
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Abs(), false));
  for (const auto& c : cases) {
    RawSet(L"v", REG_SZ, c.bytes.data(), static_cast<DWORD>(c.bytes.size()));
    EXPECT_EQ(reg.ReadString(L"v"), c.expected) << c.name;
  }
}

TEST_F(RegistryTest, ListsSubkeysAndValues) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Abs(), false));
  EXPECT_FALSE(reg.HasSubKeys());
  reg.CreateKey(L"Б");
  reg.CreateKey(L"A");
  reg.WriteString(L"", L"default");
  reg.WriteString(L"one", L"1");
  reg.WriteInteger(L"два", 2);
  EXPECT_TRUE(reg.HasSubKeys());
  EXPECT_EQ(Sorted(reg.GetKeyNames()), (std::vector<std::wstring>{L"A", L"Б"}));
  EXPECT_EQ(Sorted(reg.GetValueNames()), (std::vector<std::wstring>{L"", L"one", L"два"}));
  TStringList list;
  list.Add(L"stale");
  reg.GetKeyNames(list);
  EXPECT_EQ(list.Count(), 2);
  TRegKeyInfo info;
  ASSERT_TRUE(reg.GetKeyInfo(info));
  EXPECT_EQ(info.NumSubKeys, 2);
  EXPECT_EQ(info.NumValues, 3);
  EXPECT_TRUE(reg.KeyExists(L"A"));
  EXPECT_TRUE(reg.KeyExists(Abs(L"Б")));
  EXPECT_FALSE(reg.KeyExists(L"C"));
}

TEST_F(RegistryTest, ManySubkeysAreAllListed) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Abs(), false));
  for (int i = 0; i < 300; ++i) reg.CreateKey(Format(L"k%03d", i));
  EXPECT_EQ(reg.GetKeyNames().size(), 300u);
}

TEST_F(RegistryTest, DeleteKeyRemovesTheWholeTree) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Abs(L"Tree\\A\\B"), true));
  reg.WriteString(L"v", L"x");
  ASSERT_TRUE(reg.OpenKey(Abs(L"Tree\\C"), true));
  reg.WriteInteger(L"n", 1);
  ASSERT_TRUE(reg.OpenKey(Abs(), false));
  EXPECT_TRUE(reg.DeleteKey(L"Tree"));
  EXPECT_FALSE(RawKeyExists(L"Tree"));
  EXPECT_FALSE(reg.DeleteKey(L"Tree"));  // gone already
  // From the root as well.
  ASSERT_TRUE(reg.OpenKey(Abs(L"Again\\Deep"), true));
  reg.CloseKey();
  EXPECT_TRUE(reg.DeleteKey(Abs(L"Again")));
  EXPECT_FALSE(RawKeyExists(L"Again"));
}

TEST_F(RegistryTest, DeleteValueRemovesOnlyThatValue) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Abs(), false));
  reg.WriteString(L"load", L"a.exe");
  reg.WriteString(L"keep", L"b.exe");
  EXPECT_TRUE(reg.DeleteValue(L"load"));
  EXPECT_FALSE(reg.DeleteValue(L"load"));
  EXPECT_FALSE(reg.ValueExists(L"load"));
  EXPECT_TRUE(reg.ValueExists(L"keep"));
}

TEST_F(RegistryTest, RootChangeClosesTheKey) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(Abs(), false));
  reg.SetRootKey(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(reg.CurrentKey(), nullptr);
  EXPECT_EQ(reg.CurrentPath(), L"");
}

}  // namespace
