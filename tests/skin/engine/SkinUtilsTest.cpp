#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "skin/engine/PublishedProps.h"
#include "skin/engine/SkinConsts.h"
#include "skin/engine/SkinUtils.h"
#include "tests/common/TestEnv.h"

TEST(SkinUtils, NumbersAndRectangles) {
  EXPECT_EQ(ClampByte(-5), 0);
  EXPECT_EQ(ClampByte(300), 255);
  EXPECT_EQ(ClampByte(77), 77);
  TRect r = MakeRect(2, 3, 12, 8);
  EXPECT_EQ(WidthOf(r), 10);
  EXPECT_EQ(HeightOf(r), 5);
  // Outer's Right and Bottom count as inside.
  EXPECT_TRUE(RectInRect(MakeRect(0, 0, 10, 10), MakeRect(0, 0, 10, 10)));
  EXPECT_FALSE(RectInRect(MakeRect(0, 0, 10, 10), MakeRect(0, 0, 11, 10)));
  EXPECT_FALSE(RectInRect(MakeRect(0, 0, 10, 10), MakeRect(-1, 0, 5, 5)));
  EXPECT_TRUE(Between(5, 5, 6));
  EXPECT_FALSE(Between(7, 5, 6));
  int a = 1, b = 2;
  SwapInts(a, b);
  EXPECT_EQ(a, 2);
  EXPECT_EQ(IfInt(false, 1, 9), 9);
  EXPECT_EQ(IfStr(true, L"a", L"b"), L"a");
  EXPECT_EQ(MixPercent(50, 20), 60);
  EXPECT_EQ(MixPercent(50, 21), 60);  // Round(60.5) = 60, half to even
  EXPECT_EQ(MixPercent(50, 23), 62);  // Round(61.5) = 62
}

TEST(SkinUtils, WordsOfDelimitedText) {
  const std::wstring_view d = L";";
  EXPECT_EQ(WordCount(L"a;;b;", d), 2);
  EXPECT_EQ(WordPosition(2, L"a;;b;", d), 4);
  EXPECT_EQ(ExtractWord(2, L"a;;b;", d), L"b");
  EXPECT_EQ(WordPosition(3, L"a;;b;", d), 0);
  EXPECT_EQ(ExtractWord(3, L"a;;b;", d), L"");
  EXPECT_EQ(ExtractWord(0, L"a;;b;", d), L"");
  EXPECT_EQ(WordCount(L"", d), 0);
  EXPECT_EQ(WordCount(L" x, y ;z", L" ,;"), 3);
  EXPECT_EQ(DelChars(L"a-b--c", L'-'), L"abc");
}

TEST(SkinUtils, NormalDirAndAppPath) {
  EXPECT_EQ(NormalDir(L""), L"");
  EXPECT_EQ(NormalDir(L"c"), L"c:\\");
  EXPECT_EQ(NormalDir(L"c:\\skins\\"), L"c:\\skins\\");
  EXPECT_EQ(NormalDir(L"c:/skins/"), L"c:/skins\\");
  EXPECT_EQ(NormalDir(L"c:\\skins"), L"c:\\skins\\");
  std::wstring app = GetAppPath();
  ASSERT_FALSE(app.empty());
  EXPECT_TRUE(app.back() == L'\\' || app.back() == L'/');
}

TEST(SkinUtils, SystemQueries) {
  EXPECT_NE(GetCaptionFontSize(), 0);
  EXPECT_TRUE(IsWinXPOrLater());
  EXPECT_EQ(EmptyCacheInfo.X, -99);
  EXPECT_FALSE(EmptyCacheInfo.Ready);
  InitSkinConsts();
  EXPECT_EQ(DefaultScrollButtonSize, ::GetSystemMetrics(SM_CXHSCROLL));
}

TEST(SkinUtils, IniTextSectionsAndValues) {
  TStringList lines;
  lines.SetText(
      L"ignored=1\r\n[General]\r\nName=Blue\r\n; a comment\r\n\r\nHex=0x10\r\nDec=10\r\n"
      L"Bad=zz\r\nUpper=0X1F\r\n[Other]\r\nName=Second\r\n");
  TStringList sections(true);
  SplitIniSections(lines, sections);
  ASSERT_EQ(sections.Count(), 2);
  EXPECT_EQ(sections[0], L"General");
  auto* general = dynamic_cast<TStringList*>(sections.Objects(0));
  ASSERT_NE(general, nullptr);
  EXPECT_EQ(general->Count(), 5);  // no comment, no empty line
  EXPECT_EQ(ReadIniString(sections, L"general", L"NAME", L"-"), L"Blue");
  EXPECT_EQ(ReadIniString(sections, L"Other", L"Name", L"-"), L"Second");
  EXPECT_EQ(ReadIniString(sections, L"Missing", L"Name", L"-"), L"-");
  EXPECT_EQ(ReadIniString(sections, L"General", L"ignored", L"-"), L"-");
  const struct {
    const wchar_t* key;
    int expected;
  } ints[] = {{L"Hex", 16}, {L"Dec", 10}, {L"Bad", -7}, {L"Upper", 31}, {L"None", -7}};
  for (const auto& c : ints) EXPECT_EQ(ReadIniInteger(sections, L"General", c.key, -7), c.expected) << c.key;
}

TEST(SkinUtils, IconForFile) {
  EXPECT_EQ(GetIconForFile(L"C:\\no\\such\\file.txt", SHGFI_SMALLICON), nullptr);
  testenv::ScopedTempDir dir;
  std::wstring file = dir.WriteFile(L"a.txt", "x");
  auto icon = GetIconForFile(file, SHGFI_SMALLICON);
  if (icon) {
    EXPECT_FALSE(icon->Empty());
  }
}

TEST(PublishedProps, ReadAndSetByName) {
  TWinControl ctrl(nullptr);
  ctrl.SetColor(0x123456);
  EXPECT_TRUE(HasProperty(&ctrl, L"Color"));
  EXPECT_FALSE(HasProperty(&ctrl, L"OptionsEh"));
  EXPECT_EQ(GetIntProp(&ctrl, L"Color"), 0x123456);
  EXPECT_EQ(GetIntProp(&ctrl, L"NoSuch"), -1);
  SetIntProp(&ctrl, L"Color", 0x654321);
  EXPECT_EQ(ctrl.Color(), 0x654321u);
  SetIntProp(&ctrl, L"NoSuch", 5);  // nothing happens
  TObject* font = GetObjectPropByName(&ctrl, L"Font");
  EXPECT_EQ(font, ctrl.Font());
  EXPECT_EQ(GetObjectPropByName(&ctrl, L"NoSuch"), nullptr);
  EXPECT_EQ(GetIntProp(font, L"Color"), static_cast<int>(ctrl.Font()->Color()));
}

TEST(PublishedProps, SetPropertiesThroughTheirTextForm) {
  TFont font;
  font.SetStyle(fsItalic);
  EXPECT_TRUE(SetPropContains(&font, L"Style", L"fsItalic"));
  EXPECT_FALSE(SetPropContains(&font, L"Style", L"fsBold"));
  EXPECT_FALSE(SetPropContains(&font, L"Style", L"fsNoSuch"));
  ChangeSetProp(&font, L"Style", L"fsBold", true);
  EXPECT_EQ(font.Style(), fsItalic | fsBold);
  ChangeSetProp(&font, L"Style", L"fsBold", true);  // already in: unchanged
  EXPECT_EQ(font.Style(), fsItalic | fsBold);
  ChangeSetProp(&font, L"Style", L"fsItalic", false);
  EXPECT_EQ(font.Style(), fsBold);
  ChangeSetProp(&font, L"NoSuch", L"fsItalic", true);
  EXPECT_EQ(font.Style(), fsBold);
}
