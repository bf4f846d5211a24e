// The .reg backup: the text as the registry editor writes it, and the file
// written whole or not at all.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>

#include "app/registry/RegBackup.h"
#include "tests/app/registry/RegTestSupport.h"
#include "tests/common/TestEnv.h"

namespace {

using regtest::Bytes;

TRegEntry ValueEntry(HKEY root, const std::wstring& key, const std::wstring& name,
                     std::vector<BYTE> data, DWORD type = REG_SZ) {
  TRegEntry e;
  e.Root = root;
  e.Key = key;
  e.IsValue = true;
  e.ValueName = name;
  e.Type = type;
  e.Data = std::move(data);
  return e;
}

TRegEntry KeyEntry(HKEY root, const std::wstring& key) {
  TRegEntry e;
  e.Root = root;
  e.Key = key;
  return e;
}

std::string ReadFileBytes(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD got = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(file);
  bytes.resize(got);
  return bytes;
}

// Parses "xx,xx,\<CRLF>  xx" back into bytes.
std::vector<BYTE> ParseHex(const std::wstring& hex) {
  std::vector<BYTE> out;
  std::wstring digits;
  for (wchar_t c : hex) {
    if (iswxdigit(c)) digits += c;
    if (digits.size() == 2) {
      out.push_back(static_cast<BYTE>(std::stoi(digits, nullptr, 16)));
      digits.clear();
    }
  }
  return out;
}

TEST(RegBackup, StartsWithHeaderAndTwoEmptyLines) {
  TRegBackup backup;
  backup.BeginRegExport();
  EXPECT_EQ(backup.Text(), L"Windows Registry Editor Version 5.00\r\n\r\n\r\n");
}

TEST(RegBackup, WritesKeyLinesAndEscapedValueLinesPerEntry) {
  TRegBackup backup;
  backup.BeginRegExport();
  backup.ExportRegEntry(KeyEntry(HKEY_CLASSES_ROOT, L"\\.abc"));
  backup.ExportRegEntry(ValueEntry(HKEY_CURRENT_USER, L"\\Software\\X", L"Path",
                                   Bytes(L"C:\\Gone\\app.exe -start", true)));
  backup.ExportRegEntry(ValueEntry(HKEY_CURRENT_USER, L"\\Software\\X", L"",
                                   Bytes(L"C:\\Gone\\b.exe", true)));
  backup.ExportRegEntry(ValueEntry(HKEY_LOCAL_MACHINE, L"\\SOFTWARE\\Y", L"say \"hi\"\\",
                                   Bytes(L"C:\\Путь\\\"q\".exe", true)));
  const std::vector<std::wstring> expected = {
      L"Windows Registry Editor Version 5.00",
      L"",
      L"",
      L"[HKEY_CLASSES_ROOT\\.abc]",
      L"[HKEY_CURRENT_USER\\Software\\X]",
      L"\"Path\"=\"C:\\\\Gone\\\\app.exe -start\"",
      L"[HKEY_CURRENT_USER\\Software\\X]",
      L"@=\"C:\\\\Gone\\\\b.exe\"",
      L"[HKEY_LOCAL_MACHINE\\SOFTWARE\\Y]",
      L"\"say \\\"hi\\\"\\\\\"=\"C:\\\\Путь\\\\\\\"q\\\".exe\"",
  };
  EXPECT_EQ(backup.Lines(), expected);
}

// Data a quoted string cannot carry goes out as hex(1) with its exact bytes.
TEST(RegBackup, WritesHexForTextsAQuotedStringCannotCarry) {
  std::vector<BYTE> noTerminator = Bytes(L"C:\\a.exe", false);
  std::vector<BYTE> oddLength = Bytes(L"C:\\a.exe", true);
  oddLength.push_back(0x41);
  std::vector<BYTE> afterNul = Bytes(std::wstring(L"C:\\a.exe\0junk", 13), true);
  const std::vector<BYTE> cases[] = {Bytes(L"C:\\a.exe\r\nnext", true),
                                     Bytes(L"line\nonly", true), noTerminator, oddLength,
                                     afterNul, {}};
  for (const std::vector<BYTE>& data : cases) {
    const std::wstring text = FormatRegValueData(REG_SZ, data, 6);
    ASSERT_EQ(text.rfind(L"hex(1):", 0), 0u) << text;
    EXPECT_EQ(ParseHex(text.substr(7)), data) << text;
  }
}

TEST(RegBackup, WrapsLongHexDataLikeTheRegistryEditor) {
  std::vector<BYTE> data = Bytes(std::wstring(100, L'x') + L"\r\n", true);
  TRegBackup backup;
  backup.BeginRegExport();
  backup.ExportRegEntry(ValueEntry(HKEY_CURRENT_USER, L"\\Software\\X", L"long", data));
  const std::wstring text = backup.Text();
  size_t start = 0, lines = 0;
  for (size_t end; (end = text.find(L"\r\n", start)) != std::wstring::npos; start = end + 2) {
    const std::wstring line = text.substr(start, end - start);
    EXPECT_LE(line.size(), 80u) << line;
    if (lines > 4) {
      EXPECT_EQ(line.rfind(L"  ", 0), 0u) << line;  // continuation lines are indented
    }
    ++lines;
  }
  EXPECT_GT(lines, 6u);
  const std::wstring valueLine = backup.Lines().back();
  EXPECT_EQ(valueLine.rfind(L"\"long\"=hex(1):", 0), 0u);
  EXPECT_EQ(ParseHex(valueLine.substr(14)), data);
}

TEST(RegBackup, RefusesEntriesTheLineFormatCannotHold) {
  EXPECT_TRUE(CanExportRegEntry(ValueEntry(HKEY_CURRENT_USER, L"\\S", L"n", {})));
  EXPECT_FALSE(CanExportRegEntry(ValueEntry(HKEY_CURRENT_USER, L"\\S", L"a\r\nb", {})));
  EXPECT_FALSE(CanExportRegEntry(KeyEntry(HKEY_CURRENT_USER, L"\\S\nT")));
  EXPECT_FALSE(CanExportRegEntry(KeyEntry(HKEY_CURRENT_CONFIG, L"\\S")));
  EXPECT_TRUE(CanExportRegEntry(ValueEntry(HKEY_CURRENT_USER, L"\\S", L"n", Bytes(L"x", true))));
  EXPECT_FALSE(
      CanExportRegEntry(ValueEntry(HKEY_CURRENT_USER, L"\\S", L"n", Bytes(L"x", false))));
}

TEST(RegBackup, SavesUtf16WithByteOrderMarkAndCrLf) {
  testenv::ScopedTempDir dir;
  TRegBackup backup;
  backup.BeginRegExport();
  backup.ExportRegEntry(ValueEntry(HKEY_CURRENT_USER, L"\\Software\\Ключ", L"v",
                                   Bytes(L"C:\\Gone\\a.exe", true)));
  const std::wstring file = dir / L"backup.reg";
  dir.WriteFile(L"backup.reg", "an older file that must be replaced whole");
  ASSERT_TRUE(backup.SaveToFile(file));

  const std::string bytes = ReadFileBytes(file);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE"));
  std::wstring text((bytes.size() - 2) / 2, L'\0');
  std::memcpy(text.data(), bytes.data() + 2, text.size() * 2);
  EXPECT_EQ(text, backup.Text());
  EXPECT_EQ(text.substr(0, 40), L"Windows Registry Editor Version 5.00\r\n\r\n");

  // Only the backup is left in the folder: the temporary file was renamed.
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW((dir / L"*").c_str(), &data);
  int files = 0;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
  } while (FindNextFileW(find, &data));
  FindClose(find);
  EXPECT_EQ(files, 1);
}

TEST(RegBackup, SaveFailsWithoutLeavingAFileWhenTheFolderIsMissing) {
  testenv::ScopedTempDir dir;
  TRegBackup backup;
  backup.BeginRegExport();
  const std::wstring file = dir / L"no such folder\\backup.reg";
  EXPECT_FALSE(backup.SaveToFile(file));
  EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
