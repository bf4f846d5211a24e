// String, number and path helpers.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "framework/SysUtils.h"

namespace {

TEST(SysUtils, StrToIntAcceptsDecimalAndHexadecimal) {
  struct Case {
    const wchar_t* text;
    bool ok;
    int value;
  };
  const Case cases[] = {
      {L"10", true, 10},        {L"-99", true, -99},          {L"$10", true, 16},
      {L"0x10", true, 16},      {L"0XfF", true, 255},         {L"$FFFFFFFF", true, -1},
      {L"  7", true, 7},        {L"+5", true, 5},             {L"2147483647", true, 2147483647},
      {L"-2147483648", true, static_cast<int>(0x80000000u)},  {L"2147483648", false, 0},
      {L"", false, 0},          {L"12a", false, 0},           {L"7 ", false, 0},
      {L"$", false, 0},         {L"0x", false, 0},            {L"1.5", false, 0},
  };
  for (const Case& c : cases) {
    int v = 0;
    EXPECT_EQ(TryStrToInt(c.text, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(v, c.value) << c.text;
    }
    EXPECT_EQ(StrToIntDef(c.text, -12345), c.ok ? c.value : -12345) << c.text;
  }
  try {
    StrToInt(L"abc");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), L"'abc' is not a valid integer value");
  }
}

TEST(SysUtils, CaseMappingCoversCyrillic) {
  EXPECT_EQ(UpperCase(L"abc Очистка ё"), L"ABC ОЧИСТКА Ё");
  EXPECT_EQ(LowerCase(L"ПАПКА Z"), L"папка z");
  EXPECT_EQ(AnsiCompareText(L"файл", L"ФАЙЛ"), 0);
  EXPECT_LT(AnsiCompareText(L"а", L"Б"), 0);
  EXPECT_NE(AnsiCompareStr(L"файл", L"ФАЙЛ"), 0);
  EXPECT_TRUE(SameText(L"Config.INI", L"config.ini"));
  EXPECT_EQ(Trim(L" \t x y \r\n"), L"x y");
}

TEST(SysUtils, PathParts) {
  struct Case {
    const wchar_t* path;
    const wchar_t* dir;
    const wchar_t* name;
    const wchar_t* ext;
  };
  const Case cases[] = {
      {L"C:\\Program Files\\App\\app.exe", L"C:\\Program Files\\App\\", L"app.exe", L".exe"},
      {L"C:\\Dir.x\\readme", L"C:\\Dir.x\\", L"readme", L""},
      {L"C:file.tar.gz", L"C:", L"file.tar.gz", L".gz"},
      {L"name", L"", L"name", L""},
      {L"C:\\", L"C:\\", L"", L""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.path), c.dir) << c.path;
    EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
    EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
  }
  EXPECT_EQ(ChangeFileExt(L"C:\\a\\b.txt", L".reg"), L"C:\\a\\b.reg");
  EXPECT_EQ(ChangeFileExt(L"C:\\a.d\\b", L".reg"), L"C:\\a.d\\b.reg");
  EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\x"), L"C:\\x\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter(L"C:\\x\\"), L"C:\\x\\");
  EXPECT_EQ(ExcludeTrailingPathDelimiter(L"C:\\x\\"), L"C:\\x");
  EXPECT_EQ(ExtractFileDrive(L"D:\\x"), L"D:");
}

TEST(SysUtils, FilesAndFolders) {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  const std::wstring base = IncludeTrailingPathDelimiter(temp) + L"fwtest_" + IntToStr(GetCurrentProcessId());
  const std::wstring deep = base + L"\\а\\б";
  EXPECT_FALSE(DirectoryExists(base));
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_FALSE(FileExists(deep));
  RemoveDirectoryW(deep.c_str());
  RemoveDirectoryW((base + L"\\а").c_str());
  RemoveDirectoryW(base.c_str());
  EXPECT_TRUE(FileExists(ParamStr(0)));
  EXPECT_EQ(ParamStr(0), ApplicationExeName());
  int argc = 0;
  LocalFree(CommandLineToArgvW(GetCommandLineW(), &argc));
  EXPECT_EQ(ParamCount(), argc - 1) << "the program's path is no parameter";
  EXPECT_EQ(ExpandFileName(L"C:\\a\\..\\b"), L"C:\\b");
}

TEST(SysUtils, FormatAndHex) {
  EXPECT_EQ(Format(L"%.04d", 7), L"0007");
  EXPECT_EQ(Format(L"List index out of bounds (%d)", -1), L"List index out of bounds (-1)");
  EXPECT_EQ(Format(L"%ls=%d", L"ключ", 5), L"ключ=5");
  EXPECT_EQ(IntToHex(0xA1, 4), L"00A1");
  EXPECT_EQ(IntToStr(-42), L"-42");
}

}  // namespace
