// TMemIniFile (skin description text in memory) and TIniFile (Config.ini
// through the profile functions).
#include <gtest/gtest.h>


#include "framework/IniFiles.h"
#include "framework/SysUtils.h"
#include "tests/common/TestEnv.h"

namespace {

TEST(MemIniFile, ParsesTextHeldInMemory) {
  TStringList text;
  text.SetText(
      L"; a skin description\r\n"
      L"ignored=before any section\r\n"
      L"[GLOBALINFO]\r\n"
      L"  VERSION=5.5  \r\n"
      L"Author=Кто-то\r\n"
      L"\r\n"
      L"[Button]\r\n"
      L"COLOR=$FF00FF\r\n"
      L"HEX=0x10\r\n"
      L"BAD=12a\r\n"
      L"TRANSPARENT=1\r\n"
      L"EMPTY=\r\n"
      L";COMMENTED=1\r\n"
      L"[button]\r\n"
      L"COLOR=1\r\n");
  TMemIniFile ini;
  ini.SetStrings(text);
  EXPECT_EQ(ini.ReadString(L"globalinfo", L"version", L"?"), L"5.5");
  EXPECT_EQ(ini.ReadString(L"GLOBALINFO", L"AUTHOR", L""), L"Кто-то");
  EXPECT_EQ(ini.ReadInteger(L"BUTTON", L"COLOR", -1), 0xFF00FF);  // first of the two sections
  EXPECT_EQ(ini.ReadInteger(L"BUTTON", L"HEX", -1), 16);
  EXPECT_EQ(ini.ReadInteger(L"BUTTON", L"BAD", -1), -1);
  EXPECT_TRUE(ini.ReadBool(L"BUTTON", L"TRANSPARENT", false));
  EXPECT_EQ(ini.ReadString(L"BUTTON", L"EMPTY", L"def"), L"");
  EXPECT_EQ(ini.ReadString(L"BUTTON", L"COMMENTED", L"def"), L"def");
  EXPECT_EQ(ini.ReadString(L"NOSECTION", L"X", L"def"), L"def");
  EXPECT_TRUE(ini.SectionExists(L"button"));
  EXPECT_TRUE(ini.ValueExists(L"Button", L"empty"));
  EXPECT_FALSE(ini.ValueExists(L"Button", L"ignored"));

  TStringList sections, keys;
  ini.ReadSections(sections);
  EXPECT_EQ(sections.ToVector(), (std::vector<std::wstring>{L"GLOBALINFO", L"Button", L"button"}));
  ini.ReadSection(L"Button", keys);
  EXPECT_EQ(keys.ToVector(), (std::vector<std::wstring>{L"COLOR", L"HEX", L"BAD", L"TRANSPARENT", L"EMPTY"}));
  ini.ReadSectionValues(L"GLOBALINFO", keys);
  EXPECT_EQ(keys.ToVector(), (std::vector<std::wstring>{L"VERSION=5.5", L"Author=Кто-то"}));
}

TEST(MemIniFile, WritesEraseAndUpdateFileRoundTrip) {
  testenv::ScopedTempDir dir;
  const std::wstring file = dir / L"Options.dat";
  {
    TMemIniFile ini(file);  // no file yet: empty
    ini.WriteString(L"Фильтры", L"Ключ", L"Значение");
    ini.WriteInteger(L"A", L"n", 7);
    ini.WriteBool(L"A", L"b", false);
    ini.WriteString(L"A", L"N", L"8");  // same key, other case: replaced
    ini.WriteString(L"Gone", L"x", L"1");
    ini.EraseSection(L"gone");
    ini.DeleteKey(L"A", L"b");
    ini.UpdateFile();
  }
  std::string bytes = testenv::ReadFileBytes(file);
  EXPECT_NE(bytes.find("\xD4\xE8\xEB\xFC\xF2\xF0\xFB"), std::string::npos);  // "Фильтры" in 1251
  TMemIniFile back(file);
  EXPECT_EQ(back.ReadString(L"фильтры", L"КЛЮЧ", L""), L"Значение");
  EXPECT_EQ(back.ReadInteger(L"A", L"n", 0), 8);
  EXPECT_FALSE(back.ValueExists(L"A", L"b"));
  EXPECT_FALSE(back.SectionExists(L"Gone"));
}

TEST(MemIniFile, ReadsUtf8FilesWithByteOrderMark) {
  testenv::ScopedTempDir dir;
  const std::wstring file =
      dir.WriteFile(L"u.ini", "\xEF\xBB\xBF[S]\r\nk=\xD0\x96\r\n");  // "Ж" in UTF-8
  TMemIniFile ini(file);
  EXPECT_EQ(ini.ReadString(L"S", L"k", L""), L"Ж");
  EXPECT_EQ(ini.Encoding, teUTF8);
}

// The Config.ini layout, written and read the way the file finder does.
TEST(IniFile, ConfigIniRoundTripKeepsCyrillicInTheAnsiCodePage) {
  ASSERT_EQ(GetACP(), 1251u);
  testenv::ScopedTempDir dir;
  const std::wstring file = dir / L"Config.ini";
  {
    TIniFile ini(file);
    ini.WriteInteger(L"Filters", L"Count", 2);
    ini.WriteString(L"Filters", L"F0", L"*.tmp");
    ini.WriteString(L"Filters", L"D0", L"Временные файлы");
    ini.WriteString(L"Filters", L"F1", L"*.bak");
    ini.WriteString(L"Filters", L"D1", L"");
    ini.WriteInteger(L"Path", L"Count", -1);
    // Every write is in the file at once.
    EXPECT_NE(testenv::ReadFileBytes(file).find("F1=*.bak"), std::string::npos);
  }
  const std::string bytes = testenv::ReadFileBytes(file);
  // ANSI text: "Временные" in code page 1251, no UTF-8 and no BOM.
  EXPECT_NE(bytes.find("D0=\xC2\xF0\xE5\xEC\xE5\xED\xED\xFB\xE5"), std::string::npos);
  EXPECT_NE(bytes.substr(0, 2), "\xFF\xFE");

  TIniFile ini(file);
  EXPECT_EQ(ini.ReadInteger(L"Filters", L"Count", 0), 2);
  EXPECT_EQ(ini.ReadString(L"Filters", L"D0", L"x"), L"Временные файлы");
  EXPECT_EQ(ini.ReadString(L"Filters", L"D1", L"x"), L"");
  EXPECT_EQ(ini.ReadString(L"Filters", L"F2", L""), L"");  // a Count beyond the keys
  EXPECT_EQ(ini.ReadInteger(L"Path", L"Count", 0), -1);
  EXPECT_EQ(ini.ReadInteger(L"Exclusion", L"Count", 0), 0);
  TStringList keys;
  ini.ReadSection(L"Filters", keys);
  EXPECT_EQ(keys.ToVector(), (std::vector<std::wstring>{L"Count", L"F0", L"D0", L"F1", L"D1"}));
  ini.ReadSections(keys);
  EXPECT_EQ(keys.ToVector(), (std::vector<std::wstring>{L"Filters", L"Path"}));
  ini.ReadSectionValues(L"Path", keys);
  EXPECT_EQ(keys.ToVector(), (std::vector<std::wstring>{L"Count=-1"}));
  ini.EraseSection(L"Path");
  EXPECT_FALSE(ini.SectionExists(L"Path"));
}

TEST(IniFile, MissingFileReadsDefaults) {
  testenv::ScopedTempDir dir;
  TIniFile ini(dir / L"none.ini");
  EXPECT_EQ(ini.ReadInteger(L"Filters", L"Count", 0), 0);
  EXPECT_EQ(ini.ReadString(L"Filters", L"F0", L"d"), L"d");
}

// (A read-only file cannot stand in here: Wine running as root writes it.)
TEST(IniFile, FailedWriteRaises) {
  testenv::ScopedTempDir dir;
  TIniFile ini(dir / L"no\\such\\folder\\Config.ini");
  EXPECT_THROW(ini.WriteString(L"Filters", L"Count", L"1"), EIniFileException);
  EXPECT_THROW(ini.EraseSection(L"Filters"), EIniFileException);
}

// The snapshot answers as the profile functions do for the same file.
TEST(IniSnapshot, LooksKeysUpAsTheProfileFunctions) {
  testenv::ScopedTempDir dir;
  const std::string text =
      "top=before any section\r\n"
      "[Filters]\r\n"
      "  Count = 3 \r\n"
      "F0=\"quoted\"\r\n"
      "f0=second of the same key\r\n"
      "D0='single'\r\n"
      "E0=\"unbalanced\r\n"
      "bare line\r\n"
      "[filters]\r\n"
      "X=in a repeated section\r\n"
      "[Path]\r\n"
      "P0=C:\\data\\\r\n";
  const std::wstring file = dir.WriteFile(L"a.ini", text);
  TIniSnapshot snap;
  ASSERT_EQ(snap.Load(file), TIniSnapshot::lrRead);
  TIniFile ini(file);
  for (const wchar_t* section : {L"", L"Filters", L"FILTERS", L"Path", L"none"})
    for (const wchar_t* key : {L"top", L"Count", L"count", L"F0", L"D0", L"E0", L"bare line", L"X", L"P0"}) {
      SCOPED_TRACE(std::wstring(section) + L"/" + key);
      EXPECT_EQ(snap.ReadString(section, key, L"def"), ini.ReadString(section, key, L"def"));
    }
  EXPECT_EQ(snap.ReadInteger(L"Filters", L"Count", -1), 3);
  EXPECT_EQ(snap.Keys(L"Filters"), (std::vector<std::wstring>{L"Count", L"F0", L"D0", L"E0"}));
}

TEST(IniSnapshot, ReadsEveryEncodingAndRefusesBytesThatAreNoText) {
  const std::wstring text = L"[S]\r\nK=Журнал\r\n";
  auto utf16 = [&](bool bigEndian, bool mark) {
    std::string b = mark ? (bigEndian ? std::string("\xFE\xFF") : std::string("\xFF\xFE")) : std::string();
    for (wchar_t c : text) {
      const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
      b += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return b;
  };
  const struct {
    const char* label;
    std::string bytes;
  } cases[] = {
      {"ANSI", WideToAnsi(text, 1251)},
      {"UTF-8 with mark", "\xEF\xBB\xBF" + WideToAnsi(text, CP_UTF8)},
      {"UTF-16LE with mark", utf16(false, true)},
      {"UTF-16BE with mark", utf16(true, true)},
      {"UTF-16LE without mark", utf16(false, false)},
      {"UTF-16BE without mark", utf16(true, false)},
  };
  ASSERT_EQ(GetACP(), 1251u);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    std::wstring decoded;
    ASSERT_TRUE(DecodeIniBytes(c.bytes, decoded));
    TIniSnapshot snap;
    snap.Parse(decoded);
    EXPECT_EQ(snap.ReadString(L"S", L"K", L""), L"Журнал");
  }
  std::wstring decoded;
  EXPECT_FALSE(DecodeIniBytes(std::string("\0\x01\0\0\x02\0\0", 7), decoded));

  testenv::ScopedTempDir dir;
  TIniSnapshot snap;
  EXPECT_EQ(snap.Load(dir / L"none.ini"), TIniSnapshot::lrMissing);
  EXPECT_EQ(snap.Load(dir.MakeDir(L"folder.ini")), TIniSnapshot::lrUnreadable);
}

TEST(ReplaceFileBytes, ReplacesWholeOrLeavesTheOldFile) {
  testenv::ScopedTempDir dir;
  const std::wstring file = dir.WriteFile(L"c.ini", "old");
  ReplaceFileBytes(file, "new text");
  EXPECT_EQ(testenv::ReadFileBytes(file), "new text");
  EXPECT_EQ(GetFileAttributesW((file + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
  // The target held open without sharing: the move fails, the old file and
  // no stray temporary file remain.
  HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_THROW(ReplaceFileBytes(file, "newer"), EIniFileException);
  CloseHandle(h);
  EXPECT_EQ(testenv::ReadFileBytes(file), "new text");
  EXPECT_EQ(GetFileAttributesW((file + L".tmp").c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
