// A skin description read straight from its text holds what the INI reader
// holds of the same text: the same sections and keys in the same order, and
// the same values through PARENTCLASS.
#include <gtest/gtest.h>

#include <string>

#include "framework/Classes.h"
#include "framework/IniFiles.h"
#include "framework/SysUtils.h"
#include "skin/engine/InternalSkins.h"
#include "skin/engine/SkinFile.h"

namespace {

TacSkinFile ThroughIniReader(const std::wstring& text) {
  TStringList lines;
  lines.SetText(text);
  TMemIniFile ini;
  ini.SetStrings(lines);
  return TacSkinFile(ini);
}

void ExpectSameFile(const TacSkinFile& expected, const TacSkinFile& actual) {
  ASSERT_EQ(actual.Sections().size(), expected.Sections().size());
  for (size_t s = 0; s < expected.Sections().size(); ++s) {
    const TacSkinFile::Section& e = expected.Sections()[s];
    const TacSkinFile::Section& a = actual.Sections()[s];
    SCOPED_TRACE(e.Name);
    EXPECT_EQ(a.Name, e.Name);
    ASSERT_EQ(a.Keys->size(), e.Keys->size());
    for (size_t k = 0; k < e.Keys->size(); ++k) {
      EXPECT_EQ((*a.Keys)[k].Name, (*e.Keys)[k].Name);
      EXPECT_EQ((*a.Keys)[k].Upper, (*e.Keys)[k].Upper);
      EXPECT_EQ((*a.Keys)[k].Value, (*e.Keys)[k].Value);
    }
    EXPECT_EQ(actual.SectionIndex(e.Name), expected.SectionIndex(e.Name));
    const TsGeneralData ge = expected.ReadGeneralData(static_cast<int>(s));
    const TsGeneralData ga = actual.ReadGeneralData(static_cast<int>(s));
    EXPECT_EQ(ga.ParentClass, ge.ParentClass);
    EXPECT_EQ(ga.Color, ge.Color);
    EXPECT_EQ(ga.FontColor[0], ge.FontColor[0]);
    EXPECT_EQ(ga.ShadowBlur, ge.ShadowBlur);
  }
}

}  // namespace

TEST(SkinFileText, ReadsWhatTheIniReaderHolds) {
  // Every kind of line the reader treats apart: lines before the first
  // section, blanks and comments, CR, LF and CRLF endings, blanks and tabs
  // around lines and names, "=" inside a value, a line without "=", an
  // empty section name, a repeated section, a lone "[" and a value that
  // looks like a section.
  const std::wstring text =
      L"ORPHAN=1\r\n"
      L"; a comment\r\n"
      L"  [GLOBALINFO]  \r\n"
      L"VERSION=7.5\n"
      L"\tAUTHOR = someone = else \r"
      L"no equals sign\r\n"
      L"\r\n"
      L"[BUTTON]\r\n"
      L"COLOR=$102030\r\n"
      L"  ;COLOR=$FFFFFF\r\n"
      L"FONTCOLOR=255\r\n"
      L"[]\r\n"
      L"EMPTY=1\r\n"
      L"[\r\n"
      L"[CHECKBOX]\r\n"
      L"PARENTCLASS=button\r\n"
      L"IMAGE=[not a section]\r\n"
      L"[BUTTON]\r\n"
      L"COLOR=$0\r\n"
      L"[LAST]\r\n"
      L"TAIL=x";
  ExpectSameFile(ThroughIniReader(text), TacSkinFile(std::wstring_view(text)));
}

TEST(SkinFileText, EveryInternalSkinReadsAlike) {
  for (int i = 0; i < kEmbeddedSkinCount; ++i) {
    const TacEmbeddedSkin& e = kEmbeddedSkins[i];
    SCOPED_TRACE(e.Name);
    const std::wstring text = AnsiToWide(std::string(e.Options, e.OptionsSize), CP_ACP);
    const TacSkinFile direct{std::wstring_view(text)};
    EXPECT_GT(direct.Sections().size(), 20u);
    ExpectSameFile(ThroughIniReader(text), direct);
  }
}
