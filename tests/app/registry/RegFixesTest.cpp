// The fix command over a list of findings: each ticked row checked again and
// removed, the backup written first, its import restoring every byte.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

#include "app/registry/RegFixes.h"
#include "tests/app/registry/RegTestSupport.h"
#include "tests/common/TestEnv.h"

namespace {

using regtest::Bytes;

// A value row as the scan makes it, for a value of the scratch key.
TRegFixRow ValueRow(const std::wstring& keyPath, const std::wstring& name,
                    const std::wstring& text, bool ticked = true) {
  return {{kRegInvalidFileLink, text, L"HKCU", L"\\" + keyPath, name}, ticked};
}

TRegFixRow ExtensionRow(const std::wstring& name, bool ticked = true) {
  return {{kRegInvalidExtension, name, L"HKCR", L"\\" + name, L""}, ticked};
}

std::wstring FileText(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return L"<missing>";
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD got = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(file);
  if (got < 2 || bytes[0] != '\xFF' || bytes[1] != '\xFE') return L"<no bom>";
  std::wstring text((got - 2) / 2, L'\0');
  std::memcpy(text.data(), bytes.data() + 2, text.size() * 2);
  return text;
}

class RegFixes : public ::testing::Test {
 protected:
  testenv::ScopedRegKey scratch;
  testenv::ScopedTempDir dir;
  const std::wstring& Key() { return scratch.SubKey(); }
};

TEST_F(RegFixes, RemovesTickedValuesOnlyAndCaptionsWhatHappened) {
  HKEY key = scratch.Handle();
  regtest::SetSz(key, L"dead", L"C:\\Gone\\a.exe");
  regtest::SetSz(key, L"edited", L"C:\\Gone\\new.exe");
  regtest::SetRaw(key, L"retyped", REG_EXPAND_SZ, Bytes(L"C:\\Gone\\c.exe", true));
  regtest::SetSz(key, L"unticked", L"C:\\Gone\\d.exe");
  regtest::SetSz(key, L"", L"C:\\Gone\\default.exe");

  const std::vector<TRegFixRow> rows = {
      ValueRow(Key(), L"dead", L"C:\\Gone\\a.exe"),
      ValueRow(Key(), L"edited", L"C:\\Gone\\old.exe"),
      ValueRow(Key(), L"retyped", L"C:\\Gone\\c.exe"),
      ValueRow(Key(), L"unticked", L"C:\\Gone\\d.exe", false),
      ValueRow(Key(), L"gone", L"C:\\Gone\\e.exe"),
      ValueRow(Key(), L"", L"C:\\Gone\\default.exe"),
      {{kRegInvalidFileLink, L"C:\\x.exe", L"HKXX", L"\\" + Key(), L"dead"}, true},
  };
  int calls = 0;
  TRegFixOptions options;
  options.BeforeRow = [&](size_t) { ++calls; };
  const TRegFixReport report = RunRegFixes(rows, options);

  const std::vector<TRegFixResult> expected = {
      TRegFixResult::Fixed,   TRegFixResult::Changed,   TRegFixResult::Changed,
      TRegFixResult::NotTicked, TRegFixResult::Missing, TRegFixResult::Fixed,
      TRegFixResult::BadRow};
  EXPECT_EQ(report.Results, expected);
  EXPECT_EQ(calls, 6);  // once per ticked row
  EXPECT_FALSE(report.BackupWritten);

  const HKEY hkcu = HKEY_CURRENT_USER;
  EXPECT_FALSE(regtest::ValueExists(hkcu, Key(), L"dead"));
  EXPECT_FALSE(regtest::ValueExists(hkcu, Key(), L""));
  EXPECT_TRUE(regtest::ValueExists(hkcu, Key(), L"edited"));
  EXPECT_TRUE(regtest::ValueExists(hkcu, Key(), L"retyped"));
  EXPECT_TRUE(regtest::ValueExists(hkcu, Key(), L"unticked"));

  for (size_t i = 0; i < rows.size(); ++i) {
    const std::wstring caption = RegFixCaption(report.Results[i], rows[i].Finding.Caption);
    EXPECT_EQ(caption, report.Results[i] == TRegFixResult::Fixed ? std::wstring(kRegFixed)
                                                                  : rows[i].Finding.Caption)
        << i;
  }

  // Fixing the same rows again finds the entries gone and removes nothing.
  const TRegFixReport again = RunRegFixes(rows, options);
  EXPECT_EQ(again.Results[0], TRegFixResult::Missing);
  EXPECT_EQ(again.Results[5], TRegFixResult::Missing);
  EXPECT_TRUE(regtest::ValueExists(hkcu, Key(), L"edited"));
}

TEST_F(RegFixes, DeletesExtensionKeysOnlyWhileTheyAreStillEmpty) {
  const std::wstring suffix = regtest::UniqueSuffix();
  regtest::ScopedClassesKey empty(L".tarnholtfix" + suffix + L"a");
  regtest::ScopedClassesKey gainedValue(L".tarnholtfix" + suffix + L"b");
  regtest::ScopedClassesKey gainedSubKey(L".tarnholtfix" + suffix + L"c");
  regtest::SetSz(gainedValue.Handle(), L"", L"txtfile");
  RegCloseKey(regtest::CreateKey(gainedSubKey.Handle(), L"ShellNew"));

  const std::vector<TRegFixRow> rows = {ExtensionRow(empty.Name()),
                                        ExtensionRow(gainedValue.Name()),
                                        ExtensionRow(gainedSubKey.Name())};
  const TRegFixReport report = RunRegFixes(rows, {});
  EXPECT_EQ(report.Results, (std::vector<TRegFixResult>{TRegFixResult::Fixed,
                                                         TRegFixResult::Changed,
                                                         TRegFixResult::Changed}));
  EXPECT_FALSE(regtest::KeyExists(HKEY_CLASSES_ROOT, empty.Name()));
  EXPECT_TRUE(regtest::KeyExists(HKEY_CLASSES_ROOT, gainedValue.Name()));
  EXPECT_TRUE(regtest::KeyExists(HKEY_CLASSES_ROOT, gainedSubKey.Name() + L"\\ShellNew"));
}

TEST_F(RegFixes, BackupHoldsTheTickedEntriesInListOrder) {
  HKEY key = scratch.Handle();
  regtest::SetSz(key, L"one", L"C:\\Gone\\1.exe");
  regtest::SetSz(key, L"two", L"C:\\Gone\\2.exe,0");
  regtest::SetSz(key, L"", L"C:\\Gone\\default.exe");
  regtest::SetSz(key, L"skip", L"C:\\Gone\\skip.exe");
  regtest::ScopedClassesKey ext(L".tarnholtbak" + regtest::UniqueSuffix());

  const std::vector<TRegFixRow> rows = {
      ExtensionRow(ext.Name()), ValueRow(Key(), L"one", L"C:\\Gone\\1.exe"),
      ValueRow(Key(), L"skip", L"C:\\Gone\\skip.exe", false),
      ValueRow(Key(), L"two", L"C:\\Gone\\2.exe,0"),
      ValueRow(Key(), L"", L"C:\\Gone\\default.exe")};
  TRegFixOptions options;
  options.Backup = true;
  options.BackupFileName = dir / L"backup.reg";
  const TRegFixReport report = RunRegFixes(rows, options);
  ASSERT_TRUE(report.BackupWritten);

  const std::wstring keyLine = L"[HKEY_CURRENT_USER\\" + Key() + L"]\r\n";
  EXPECT_EQ(FileText(options.BackupFileName),
            L"Windows Registry Editor Version 5.00\r\n\r\n\r\n"
            L"[HKEY_CLASSES_ROOT\\" + ext.Name() + L"]\r\n" +
                keyLine + L"\"one\"=\"C:\\\\Gone\\\\1.exe\"\r\n" +
                keyLine + L"\"two\"=\"C:\\\\Gone\\\\2.exe,0\"\r\n" +
                keyLine + L"@=\"C:\\\\Gone\\\\default.exe\"\r\n");
  EXPECT_TRUE(regtest::ValueExists(HKEY_CURRENT_USER, Key(), L"skip"));
}

TEST_F(RegFixes, BackupOfNothingTickedIsTheHeaderAlone) {
  TRegFixOptions options;
  options.Backup = true;
  options.BackupFileName = dir / L"empty.reg";
  const TRegFixReport report =
      RunRegFixes({ValueRow(Key(), L"x", L"C:\\Gone\\x.exe", false)}, options);
  EXPECT_TRUE(report.BackupWritten);
  EXPECT_EQ(FileText(options.BackupFileName),
            L"Windows Registry Editor Version 5.00\r\n\r\n\r\n");
}

TEST_F(RegFixes, NothingIsRemovedWhenTheBackupCannotBeWritten) {
  regtest::SetSz(scratch.Handle(), L"dead", L"C:\\Gone\\a.exe");
  TRegFixOptions options;
  options.Backup = true;
  options.BackupFileName = dir / L"missing folder\\backup.reg";
  const TRegFixReport report =
      RunRegFixes({ValueRow(Key(), L"dead", L"C:\\Gone\\a.exe")}, options);
  EXPECT_TRUE(report.BackupFailed);
  EXPECT_NE(report.BackupError, 0u);
  EXPECT_EQ(report.Results[0], TRegFixResult::BackupFailed);
  EXPECT_EQ(RegFixCaption(report.Results[0], kRegInvalidFileLink), kRegInvalidFileLink);
  EXPECT_TRUE(regtest::ValueExists(HKEY_CURRENT_USER, Key(), L"dead"));
}

// What an import could not put back exactly is not removed under a backup:
// a value name with a line break, a string without its terminating NUL.
TEST_F(RegFixes, EntriesTheBackupCannotRestoreAreLeftAlone) {
  regtest::SetSz(scratch.Handle(), L"two\r\nlines", L"C:\\Gone\\a.exe");
  regtest::SetRaw(scratch.Handle(), L"noterm", REG_SZ, Bytes(L"C:\\Gone\\b.exe", false));
  const std::vector<TRegFixRow> rows = {ValueRow(Key(), L"two\r\nlines", L"C:\\Gone\\a.exe"),
                                        ValueRow(Key(), L"noterm", L"C:\\Gone\\b.exe")};
  TRegFixOptions options;
  options.Backup = true;
  options.BackupFileName = dir / L"backup.reg";
  const TRegFixReport report = RunRegFixes(rows, options);
  EXPECT_EQ(report.Results, (std::vector<TRegFixResult>{TRegFixResult::NotBackedUp,
                                                         TRegFixResult::NotBackedUp}));
  EXPECT_EQ(FileText(options.BackupFileName),
            L"Windows Registry Editor Version 5.00\r\n\r\n\r\n");
  EXPECT_TRUE(regtest::ValueExists(HKEY_CURRENT_USER, Key(), L"two\r\nlines"));
  EXPECT_TRUE(regtest::ValueExists(HKEY_CURRENT_USER, Key(), L"noterm"));
  // Without a backup the same rows are fixed.
  EXPECT_EQ(RunRegFixes(rows, {}).Results,
            (std::vector<TRegFixResult>{TRegFixResult::Fixed, TRegFixResult::Fixed}));
}

// Every removed value comes back byte for byte when the backup is imported.
TEST_F(RegFixes, ImportingTheBackupRestoresEveryRemovedValueExactly) {
  struct Seed {
    std::wstring name;
    std::vector<BYTE> data;
    std::wstring text;  // what the scan shows: up to the first NUL
  };
  std::vector<BYTE> odd = Bytes(L"C:\\Gone\\odd.exe", true);
  odd.push_back(0x7A);
  std::vector<Seed> seeds = {
      {L"plain", Bytes(L"C:\\Gone\\plain.exe -start", true), L"C:\\Gone\\plain.exe -start"},
      {L"", Bytes(L"C:\\Gone\\default.exe", true), L"C:\\Gone\\default.exe"},
      {L"quote \"and\" \\slash", Bytes(L"C:\\Gone\\q\"uo\"te.exe", true),
       L"C:\\Gone\\q\"uo\"te.exe"},
      {L"Кириллица", Bytes(L"C:\\Пропало\\файл.exe", true), L"C:\\Пропало\\файл.exe"},
      {L"crlf", Bytes(L"C:\\Gone\\a.exe -x\r\nmore", true), L"C:\\Gone\\a.exe -x\r\nmore"},
      {L"afternul", Bytes(std::wstring(L"C:\\Gone\\b.exe\0rest", 18), true),
       L"C:\\Gone\\b.exe"},
      {L"odd", odd, L"C:\\Gone\\odd.exe"},
      {L"long", Bytes(L"C:\\Gone\\long.exe " + std::wstring(300, L'w'), true),
       L"C:\\Gone\\long.exe " + std::wstring(300, L'w')},
  };
  const std::wstring sub = Key() + L"\\Sub Key [1]";
  HKEY subKey = regtest::CreateKey(HKEY_CURRENT_USER, sub);
  std::vector<TRegFixRow> rows;
  for (const Seed& s : seeds) {
    regtest::SetRaw(subKey, s.name, REG_SZ, s.data);
    rows.push_back(ValueRow(sub, s.name, s.text));
  }
  RegCloseKey(subKey);
  regtest::ScopedClassesKey ext(L".tarnholtimp" + regtest::UniqueSuffix());
  rows.push_back(ExtensionRow(ext.Name()));

  TRegFixOptions options;
  options.Backup = true;
  options.BackupFileName = dir / L"restore.reg";
  const TRegFixReport report = RunRegFixes(rows, options);
  ASSERT_TRUE(report.BackupWritten);
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(report.Results[i], TRegFixResult::Fixed) << i;
  for (const Seed& s : seeds) EXPECT_FALSE(regtest::ValueExists(HKEY_CURRENT_USER, sub, s.name));
  EXPECT_FALSE(regtest::KeyExists(HKEY_CLASSES_ROOT, ext.Name()));

  ASSERT_EQ(regtest::RunRegImport(options.BackupFileName), 0u);
  for (const Seed& s : seeds) {
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_TRUE(regtest::ReadRaw(HKEY_CURRENT_USER, sub, s.name, type, data)) << s.name;
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ)) << s.name;
    EXPECT_EQ(data, s.data) << s.name;
  }
  EXPECT_TRUE(regtest::KeyExists(HKEY_CLASSES_ROOT, ext.Name()));
}

}  // namespace
