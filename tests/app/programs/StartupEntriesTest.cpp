// Start-up entries without the window: reading the eight sources, the text
// of values of every type, deleting and writing one value.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/programs/RegValueText.h"
#include "app/programs/StartupEntries.h"
#include "tests/app/programs/StartupTestSupport.h"

using appstest::ScratchStartupSources;

namespace {

struct Row {
  int Source;
  std::wstring Name, Text;
  bool operator==(const Row&) const = default;
};

std::vector<Row> Rows(const std::vector<TStartupEntry>& entries) {
  std::vector<Row> rows;
  for (const auto& e : entries) rows.push_back({e.Source, e.Name, e.Text});
  return rows;
}

void PrintTo(const Row& r, std::ostream* os) {
  *os << r.Source << ":" << std::string(r.Name.begin(), r.Name.end()) << "="
      << std::string(r.Text.begin(), r.Text.end());
}

}  // namespace

TEST(StartupEntriesValueText, ShowsEveryTypeAsText) {
  auto bytes = [](std::initializer_list<int> b) {
    std::vector<BYTE> v;
    for (int x : b) v.push_back(static_cast<BYTE>(x));
    return v;
  };
  auto wide = [](const std::wstring& s, bool nul = true) {
    std::vector<BYTE> v(reinterpret_cast<const BYTE*>(s.c_str()),
                        reinterpret_cast<const BYTE*>(s.c_str() + s.size() + (nul ? 1 : 0)));
    return v;
  };
  struct Case {
    DWORD type;
    std::vector<BYTE> data;
    std::wstring text;
  } cases[] = {
      {REG_SZ, wide(L"C:\\a b\\x.exe /s"), L"C:\\a b\\x.exe /s"},
      {REG_SZ, wide(L"no terminator", false), L"no terminator"},
      {REG_SZ, {}, L""},
      {REG_EXPAND_SZ, wide(L"%SystemRoot%\\x.exe"), L"%SystemRoot%\\x.exe"},
      {REG_DWORD, bytes({0x2A, 0, 0, 0}), L"42"},
      {REG_DWORD, bytes({0xFF, 0xFF, 0xFF, 0xFF}), L"4294967295"},
      {REG_QWORD, bytes({0, 0, 0, 0, 1, 0, 0, 0}), L"4294967296"},
      {REG_DWORD, bytes({1, 2}), L"01 02"},  // a number of the wrong size
      {REG_BINARY, bytes({0x01, 0xAB, 0x00, 0xFF}), L"01 AB 00 FF"},
      {REG_BINARY, {}, L""},
      {REG_MULTI_SZ, bytes({0x41, 0, 0, 0, 0, 0}), L"41 00 00 00 00 00"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RegValueText(c.type, c.data), c.text) << "type " << c.type;
}

TEST(StartupEntriesRead, ListsTheSourcesInOrderWithEveryValueType) {
  ScratchStartupSources s;
  const DWORD number = 42;
  const BYTE blob[] = {0x01, 0xAB};
  const std::wstring expand = L"%windir%\\x.exe";
  s.SetString(0, L"Same", L"c:\\lm.exe");
  s.SetString(1, L"", L"c:\\default.exe");  // the key's default value
  s.SetString(1, L"Same", L"c:\\cu.exe");
  s.Set(2, L"Number", REG_DWORD, &number, sizeof number);
  s.Set(3, L"Blob", REG_BINARY, blob, sizeof blob);
  s.Set(4, L"Expand", REG_EXPAND_SZ, expand.c_str(), static_cast<DWORD>((expand.size() + 1) * 2));
  s.SetString(5, L"Empty", L"");
  s.SetString(6, L"load", L"c:\\load.exe");

  const std::vector<Row> expected = {
      {0, L"Same", L"c:\\lm.exe"},    {1, L"", L"c:\\default.exe"}, {1, L"Same", L"c:\\cu.exe"},
      {2, L"Number", L"42"},          {3, L"Blob", L"01 AB"},       {4, L"Expand", expand},
      {5, L"Empty", L""},
  };
  EXPECT_EQ(Rows(ReadStartupEntries(s.Sources(), false)), expected);
}

TEST(StartupEntriesRead, LoadValuesOnlyWithArgumentsAndWhenNotEmpty) {
  ScratchStartupSources s;
  s.SetString(6, L"load", L"c:\\load-cu.exe");
  s.SetString(6, L"other", L"not an entry");
  s.SetString(7, L"load", L"c:\\load-default.exe");
  EXPECT_TRUE(ReadStartupEntries(s.Sources(), false).empty());
  EXPECT_EQ(Rows(ReadStartupEntries(s.Sources(), true)),
            (std::vector<Row>{{6, L"load", L"c:\\load-cu.exe"}, {7, L"load", L"c:\\load-default.exe"}}));
  s.SetString(7, L"load", L"");
  EXPECT_EQ(Rows(ReadStartupEntries(s.Sources(), true)),
            (std::vector<Row>{{6, L"load", L"c:\\load-cu.exe"}}));
}

TEST(StartupEntriesRead, MissingKeysGiveNoRows) {
  ScratchStartupSources s;  // nothing created
  EXPECT_TRUE(ReadStartupEntries(s.Sources(), true).empty());
}

TEST(StartupEntriesWrite, DeleteTouchesOnlyTheNamedValueOfItsSource) {
  ScratchStartupSources s;
  s.SetString(0, L"Same", L"a");
  s.SetString(1, L"Same", L"b");
  s.SetString(1, L"Other", L"c");
  EXPECT_EQ(DeleteStartupValue(s.Sources()[1], L"Same"), DWORD{ERROR_SUCCESS});
  EXPECT_FALSE(s.Exists(1, L"Same"));
  EXPECT_TRUE(s.Exists(1, L"Other"));
  EXPECT_TRUE(s.Exists(0, L"Same"));
  EXPECT_EQ(DeleteStartupValue(s.Sources()[1], L"Same"), DWORD{ERROR_FILE_NOT_FOUND}) << "already gone";
  EXPECT_EQ(DeleteStartupValue(s.Sources()[3], L"Same"), DWORD{ERROR_FILE_NOT_FOUND}) << "key missing";
}

TEST(StartupEntriesWrite, WriteCreatesTheKeyAndReplacesAValue) {
  ScratchStartupSources s;
  WriteStartupValue(s.Sources()[1], L"App", L"c:\\one.exe");
  EXPECT_EQ(s.Text(1, L"App"), L"c:\\one.exe");
  WriteStartupValue(s.Sources()[1], L"App", L"c:\\two.exe");
  EXPECT_EQ(s.Text(1, L"App"), L"c:\\two.exe");
}

// The real keys of the test run's own Wine prefix, touched only through
// value names unique to this test.
TEST(StartupEntriesRead, DefaultSourcesReadTheRealKeys) {
  const std::vector<TStartupSource> sources = DefaultStartupSources();
  ASSERT_EQ(sources.size(), 8u);
  const wchar_t* const tags[] = {L"HKEY_LM\\Run",      L"HKEY_CU\\Run",      L"HKEY_Users\\Run",
                                 L"HKEY_LM\\RunOnce",  L"HKEY_CU\\RunOnce",  L"HKEY_Users\\RunOnce",
                                 L"HKEY_CU\\load",     L"HKEY_Users\\load"};
  for (size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(sources[i].Tag, tags[i]);
    EXPECT_EQ(sources[i].LoadValue, i >= 6);
  }
  const std::wstring name = L"TarnholtTest-" + std::to_wstring(GetCurrentProcessId());
  for (int i : {0, 2, 4}) WriteStartupValue(sources[static_cast<size_t>(i)], name, L"c:\\t.exe");
  std::vector<int> found;
  for (const TStartupEntry& e : ReadStartupEntries(sources, false))
    if (e.Name == name) found.push_back(e.Source);
  for (int i : {0, 2, 4})
    EXPECT_EQ(DeleteStartupValue(sources[static_cast<size_t>(i)], name), DWORD{ERROR_SUCCESS});
  EXPECT_EQ(found, (std::vector<int>{0, 2, 4}));
}
