// TStrings / TStringList behaviour the program relies on.
#include <gtest/gtest.h>

#include "framework/Classes.h"
#include "framework/SysUtils.h"
#include "tests/common/TestEnv.h"

namespace {

std::vector<std::wstring> Items(const TStrings& s) { return s.ToVector(); }

TEST(StringList, SortedListKeepsOrderIgnoringCase) {
  TStringList l;
  l.SetSorted(true);
  for (const wchar_t* s : {L"delta", L"Bravo", L"alpha", L"Charlie", L"яблоко", L"Арбуз"}) l.Add(s);
  EXPECT_EQ(Items(l), (std::vector<std::wstring>{L"alpha", L"Bravo", L"Charlie", L"delta", L"Арбуз", L"яблоко"}));
  int i = -1;
  EXPECT_TRUE(l.Find(L"CHARLIE", i));
  EXPECT_EQ(i, 2);
  EXPECT_FALSE(l.Find(L"beta", i));
  EXPECT_EQ(i, 1);  // insertion point
  EXPECT_EQ(l.IndexOf(L"АРБУЗ"), 4);
  EXPECT_THROW(l.Insert(0, L"x"), EStringListError);
}

TEST(StringList, DuplicatesInSortedList) {
  struct Case {
    TDuplicates dup;
    int expectedCount;
    bool raises;
  };
  for (const Case& c : {Case{dupIgnore, 2, false}, Case{dupAccept, 3, false}, Case{dupError, 2, true}}) {
    TStringList l;
    l.SetSorted(true);
    l.Duplicates = c.dup;
    l.Add(L"a");
    l.Add(L"b");
    if (c.raises) EXPECT_THROW(l.Add(L"A"), EStringListError);
    else l.Add(L"A");
    EXPECT_EQ(l.Count(), c.expectedCount);
  }
}

TEST(StringList, CaseSensitiveLookups) {
  TStringList l;
  l.Add(L"Key");
  EXPECT_EQ(l.IndexOf(L"key"), 0);
  l.SetCaseSensitive(true);
  EXPECT_EQ(l.IndexOf(L"key"), -1);
  EXPECT_EQ(l.IndexOf(L"Key"), 0);
}

TEST(StringList, SortAndCustomSort) {
  TStringList l;
  l.SetText(L"c\r\nA\r\nb\r\n");
  l.Sort();
  EXPECT_EQ(Items(l), (std::vector<std::wstring>{L"A", L"b", L"c"}));
  l.CustomSort([](TStringList* list, int a, int b) { return -CompareText(list->Strings(a), list->Strings(b)); });
  EXPECT_EQ(Items(l), (std::vector<std::wstring>{L"c", L"b", L"A"}));
}

TEST(StringList, NameValueLines) {
  TStringList l;
  l.Add(L"Count=2");
  l.Add(L"F0=*.tmp");
  l.Add(L"no separator");
  l.Add(L"D0=a=b");
  EXPECT_EQ(l.Values(L"count"), L"2");
  EXPECT_EQ(l.Values(L"D0"), L"a=b");
  EXPECT_EQ(l.Values(L"missing"), L"");
  EXPECT_EQ(l.Names(1), L"F0");
  EXPECT_EQ(l.Names(2), L"");
  EXPECT_EQ(l.ValueFromIndex(3), L"a=b");
  EXPECT_EQ(l.IndexOfName(L"f0"), 1);
  l.SetValues(L"F0", L"*.log");
  EXPECT_EQ(l.Strings(1), L"F0=*.log");
  l.SetValues(L"New", L"1");
  EXPECT_EQ(l.Strings(4), L"New=1");
  l.SetValues(L"Count", L"");  // an empty value removes the line
  EXPECT_EQ(l.IndexOfName(L"Count"), -1);
}

TEST(StringList, TextUsesCrLfAndSplitsAnyLineBreak) {
  TStringList l;
  l.SetText(L"one\ntwo\r\nthree\rfour\r\n");
  EXPECT_EQ(Items(l), (std::vector<std::wstring>{L"one", L"two", L"three", L"four"}));
  EXPECT_EQ(l.Text(), L"one\r\ntwo\r\nthree\r\nfour\r\n");
  l.SetText(L"a\r\n\r\nb");
  EXPECT_EQ(Items(l), (std::vector<std::wstring>{L"a", L"", L"b"}));
  l.SetText(L"");
  EXPECT_EQ(l.Count(), 0);
}

TEST(StringList, OnChangeFiresOncePerUpdateBlock) {
  TStringList l;
  int changes = 0, changing = 0;
  l.OnChange = [&](TObject*) { ++changes; };
  l.OnChanging = [&](TObject*) { ++changing; };
  l.Add(L"a");
  EXPECT_EQ(changes, 1);
  l.BeginUpdate();
  l.Add(L"b");
  l.Add(L"c");
  l.Delete(0);
  l.EndUpdate();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(changing, 2);
}

TEST(StringList, ObjectsMoveExchangeAndOwnership) {
  struct Tracked : TObject {
    int* counter;
    explicit Tracked(int* c) : counter(c) {}
    ~Tracked() override { ++*counter; }
  };
  int deleted = 0;
  {
    TStringList l(true);
    l.AddObject(L"a", new Tracked(&deleted));
    l.AddObject(L"b", new Tracked(&deleted));
    l.AddObject(L"c", nullptr);
    TObject* a = l.Objects(0);
    l.Move(0, 2);
    EXPECT_EQ(Items(l), (std::vector<std::wstring>{L"b", L"c", L"a"}));
    EXPECT_EQ(l.Objects(2), a);
    l.Exchange(0, 2);
    EXPECT_EQ(l.Strings(0), L"a");
    EXPECT_EQ(l.Objects(0), a);
    EXPECT_EQ(l.IndexOfObject(a), 0);
    l.Delete(0);
    EXPECT_EQ(deleted, 1);
  }
  EXPECT_EQ(deleted, 2);
}

TEST(StringList, IndexOutOfBoundsRaisesListError) {
  TStringList l;
  l.Add(L"x");
  try {
    l.Strings(5);
    FAIL() << "no exception";
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), L"List index out of bounds (5)");
  }
  EXPECT_THROW(l.Delete(-1), EListError);
}

TEST(StringList, AssignAndAddStringsCopyStringsAndObjects) {
  TStringList a, b;
  TObject o;
  a.AddObject(L"one", &o);
  a.Add(L"two");
  b.Add(L"old");
  b.Assign(&a);
  EXPECT_EQ(Items(b), Items(a));
  EXPECT_EQ(b.Objects(0), &o);
  b.AddStrings(a);
  EXPECT_EQ(b.Count(), 4);
}

TEST(StringList, CommaTextQuotesWhatNeedsIt) {
  TStringList l;
  l.Add(L"plain");
  l.Add(L"with space");
  l.Add(L"q\"uote");
  EXPECT_EQ(l.CommaText(), L"plain,\"with space\",\"q\"\"uote\"");
  TStringList back;
  back.SetCommaText(l.CommaText());
  EXPECT_EQ(Items(back), Items(l));
}

TEST(StringList, FilesRoundTripInEveryEncoding) {
  testenv::ScopedTempDir dir;
  const std::wstring text = L"Очистка\r\nline two\r\n";
  for (TTextEncoding enc : {teAnsi, teUTF8, teUTF16}) {
    TStringList l;
    l.SetText(text);
    const std::wstring file = dir / L"t.txt";
    l.SaveToFile(file, enc);
    TStringList back;
    back.LoadFromFile(file);
    EXPECT_EQ(back.Text(), text) << static_cast<int>(enc);
    EXPECT_EQ(back.Encoding(), enc);
  }
}

TEST(StringList, AnsiFilesUseTheSystemCodePage) {
  testenv::ScopedTempDir dir;
  // "Привет" in code page 1251, no byte-order mark.
  const std::wstring file = dir.WriteFile(L"a.txt", "\xCF\xF0\xE8\xE2\xE5\xF2\r\n");
  TStringList l;
  l.LoadFromFile(file);
  ASSERT_EQ(GetACP(), 1251u);
  EXPECT_EQ(l.Strings(0), L"Привет");
  EXPECT_EQ(l.SaveToBytes(teAnsi), std::string("\xCF\xF0\xE8\xE2\xE5\xF2\r\n"));
  EXPECT_THROW(l.LoadFromFile(dir / L"missing.txt"), EFOpenError);
}

}  // namespace
