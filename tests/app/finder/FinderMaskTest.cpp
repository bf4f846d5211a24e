// The finder's mask matcher: a case-insensitive wildcard match.
#include <gtest/gtest.h>

#include <string>

#include "app/finder/Frame5.h"

namespace {

struct MaskCase {
  const wchar_t* name;
  const wchar_t* mask;
  bool matches;
};

class FinderMaskTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(FinderMaskTest, MatchesAsAWildcard) {
  const MaskCase& c = GetParam();
  EXPECT_EQ(TFrame5::FileMaskEquate(c.name, c.mask), c.matches)
      << "name '" << testing::PrintToString(std::wstring(c.name)) << "' mask '"
      << testing::PrintToString(std::wstring(c.mask)) << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Table, FinderMaskTest,
    ::testing::Values(
        // The cases the finder has always promised.
        MaskCase{L"a.tmp", L"*.TMP", true}, MaskCase{L"a.tmpx", L"*.TMP", false},
        MaskCase{L"anything.at.all", L"*", true}, MaskCase{L"", L"*", true},
        MaskCase{L"x.doc", L"", true}, MaskCase{L"", L"", true},
        // "?" is exactly one character; a trailing one does not end the match.
        MaskCase{L"ABC", L"A?", false}, MaskCase{L"AB", L"A?", true}, MaskCase{L"A", L"A?", false},
        MaskCase{L"abc", L"a?c", true}, MaskCase{L"ac", L"a?c", false}, MaskCase{L"", L"?", false},
        // A star backtracks.
        MaskCase{L"BXB", L"*B", true}, MaskCase{L"AXBXB", L"A*B", true}, MaskCase{L"abcabd", L"*abd", true},
        MaskCase{L"mississippi", L"m*iss*ppi", true}, MaskCase{L"mississippi", L"m*iss*ppx", false},
        MaskCase{L"report.tmp.bak", L"*.tmp", false}, MaskCase{L"report.tmp.bak", L"*.tmp*", true},
        MaskCase{L"a.b", L"**.*", true}, MaskCase{L"ab", L"a*?b", false}, MaskCase{L"axb", L"a*?b", true},
        MaskCase{L"~WRL0001.tmp", L"~*.tmp", true}, MaskCase{L"file.TMP", L"*.tmp", true},
        MaskCase{L"Отчёт.ДОК", L"*.док", true}, MaskCase{L"Отчёт.txt", L"отчёт.*", true},
        MaskCase{L"abc", L"abc", true}, MaskCase{L"abc", L"ABCD", false}, MaskCase{L"abcd", L"ABC", false},
        MaskCase{L"thumbs.db", L"THUMBS.DB", true}, MaskCase{L"a", L"*a*a", false}));

TEST(FinderMaskLongTest, LongNamesAndManyStarsEndWithTheRightAnswer) {
  // Names and masks past 255 characters compare like short ones, and a mask
  // of many stars against a long name that cannot match still ends.
  const std::wstring longName = std::wstring(400, L'a') + L".log";
  EXPECT_TRUE(TFrame5::FileMaskEquate(longName, L"*.LOG"));
  EXPECT_TRUE(TFrame5::FileMaskEquate(longName, std::wstring(300, L'?') + L"*.log"));
  EXPECT_FALSE(TFrame5::FileMaskEquate(longName, std::wstring(405, L'?')));
  std::wstring stars;
  for (int i = 0; i < 30; ++i) stars += L"*a";
  EXPECT_FALSE(TFrame5::FileMaskEquate(std::wstring(2000, L'a'), stars + L"b"));
  EXPECT_TRUE(TFrame5::FileMaskEquate(std::wstring(2000, L'a'), stars));
}

}  // namespace
