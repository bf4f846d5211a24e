// Hint markup: which runs are drawn in which font, the measured extent of
// lines and breaks, colours and sizes from FONT tags, and what a stray "<" or
// a bad attribute does. Widths are compared with GetTextExtentPoint32W sums
// in the same font, never with glyph pixel positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "skin/controls/HtmlParse.h"

namespace {

struct TextRun {
  std::wstring text;
  TFontStyles style = 0;
  int sizeDelta = 0;  // points added to the base font's size
};

// The base font of every case: Tahoma -11 black.
class HtmlParseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bmp_ = std::make_unique<TBitmap>(400, 200, pf24bit);
    TFont* f = bmp_->Canvas()->Font();
    f->SetName(L"Tahoma");
    f->SetHeight(-11);
    f->SetColor(clBlack);
    f->SetStyle(0);
    baseSize_ = f->Size();
  }

  TRect Parse(const std::wstring& text, const TRect& area = TRect{0, 0, 200, 0}) {
    TsHtml html;
    html.Init(bmp_.get(), text, area);
    TRect r = area;
    html.Parse(r);
    alignment_ = html.Alignment();
    return r;
  }

  // Extent of `text` in the base font with `style` and size delta.
  SIZE Extent(const std::wstring& text, TFontStyles style = 0, int sizeDelta = 0) {
    TFont f;
    f.SetName(L"Tahoma");
    f.SetSize(baseSize_ + sizeDelta);
    f.SetStyle(style);
    UniqueMemDC dc(CreateCompatibleDC(nullptr));
    HGDIOBJ old = SelectObject(dc.get(), f.Handle());
    SIZE s{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &s);
    SelectObject(dc.get(), old);
    return s;
  }
  int LineHeight(TFontStyles style = 0, int sizeDelta = 0) {
    return Extent(L"X", style, sizeDelta).cy;
  }
  int Width(const std::vector<TextRun>& runs) {
    int w = 0;
    for (const TextRun& r : runs) w += Extent(r.text, r.style, r.sizeDelta).cx;
    return w;
  }

  std::unique_ptr<TBitmap> bmp_;
  int baseSize_ = 0;
  int alignment_ = -1;
};

struct LineCase {
  const wchar_t* markup;
  std::vector<TextRun> runs;  // the single line's runs
};

class HtmlOneLineTest : public HtmlParseTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(HtmlOneLineTest, MeasuresTheRunsInTheirFonts) {
  const LineCase& c = GetParam();
  TRect r = Parse(c.markup);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, Width(c.runs)) << "runs of " << testing::PrintToString(std::wstring(c.markup));
  int tallest = 0;
  for (const TextRun& run : c.runs) tallest = std::max(tallest, LineHeight(run.style, run.sizeDelta));
  EXPECT_EQ(r.bottom, tallest);
}

INSTANTIATE_TEST_SUITE_P(
    Markup, HtmlOneLineTest,
    ::testing::Values(
        // "<<" writes one "<", which starts the next run.
        LineCase{L"a<<b", {{L"a"}, {L"<b"}}},
        LineCase{L"<B>ab</B>cd", {{L"ab", fsBold}, {L"cd"}}},
        // The first matching test wins: "<BIG>" has "B" right after "<".
        LineCase{L"<BIG>ab</B>c", {{L"ab", fsBold}, {L"c"}}},
        LineCase{L"<I>ab</I>c", {{L"ab", fsItalic}, {L"c"}}},
        LineCase{L"<B>a<I>b</B>c</I>d",
                 {{L"a", fsBold}, {L"b", fsBold | fsItalic}, {L"c", fsItalic}, {L"d"}}},
        LineCase{L"<FONT SIZE=+4>ab</FONT>c", {{L"ab", 0, 4}, {L"c"}}},
        LineCase{L"<FONT SIZE=\"-2\">ab</FONT>c", {{L"ab", 0, -2}, {L"c"}}},
        // Unknown tags and closing tags other than B, I and FONT do nothing.
        LineCase{L"a<U>b</U>c</P>d", {{L"a"}, {L"b"}, {L"c"}, {L"d"}}},
        // A closing FONT with nothing open changes nothing.
        LineCase{L"a</FONT>b", {{L"a"}, {L"b"}}},
        // Line breaks in the text are not drawn and do not break the line.
        LineCase{L"ab\r\ncd", {{L"abcd"}}},
        // No wrapping: one line as wide as its text, beyond the 200 given.
        LineCase{L"wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww",
                 {{L"wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww"}}},
        // A "<" without a closing ">" draws the rest as it stands.
        LineCase{L"ab<cd", {{L"ab"}, {L"<cd"}}},
        LineCase{L"<B>a</B>b<", {{L"a", fsBold}, {L"b"}, {L"<"}}},
        // A size that is not a whole number leaves the font unchanged.
        LineCase{L"<FONT SIZE=1.5>ab</FONT>", {{L"ab"}}},
        LineCase{L"<FONT SIZE=big>ab</FONT>", {{L"ab"}}}));

TEST_F(HtmlParseTest, BreaksAddTwoPixelsAndEachLineIsAsHighAsItsTallestFont) {
  int small = LineHeight();
  int big = LineHeight(0, 6);
  // BR: a new line at the left edge, not bold.
  TRect r = Parse(L"a<BR>bbbbbbbb");
  EXPECT_EQ(r.bottom, small + 2 + small);
  EXPECT_EQ(r.right, Extent(L"bbbbbbbb").cx) << "the widest line, in the regular font";
  // The first line holds a bigger run.
  r = Parse(L"a<FONT SIZE=+6>B</FONT><BR>c");
  EXPECT_EQ(r.bottom, big + 2 + small);
  // P breaks the same way and reads ALIGN.
  r = Parse(L"ab<P ALIGN=CENTER>c");
  EXPECT_EQ(r.bottom, small + 2 + small);
  EXPECT_EQ(alignment_, 2);
  r = Parse(L"a<P ALIGN=\"RIGHT\">b");
  EXPECT_EQ(alignment_, 1);
  // Two breaks in a row leave an empty line of height 0.
  r = Parse(L"a<BR><BR>b");
  EXPECT_EQ(r.bottom, small + 2 + 0 + 2 + small);
}

TEST_F(HtmlParseTest, ExtentIsInCanvasCoordinatesOfTheGivenArea) {
  TRect r = Parse(L"ab<BR>c", TRect{10, 5, 210, 5});
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 10 + Extent(L"ab").cx);
  EXPECT_EQ(r.bottom, 5 + LineHeight() + 2 + LineHeight());
}

struct ColorCase {
  const wchar_t* markup;
  TColor expected;  // the canvas font's colour after parsing
};

class HtmlColorTest : public HtmlParseTest, public ::testing::WithParamInterface<ColorCase> {};

TEST_P(HtmlColorTest, SetsTheFontColour) {
  bmp_->Canvas()->Font()->SetColor(0x123456);
  Parse(GetParam().markup);
  EXPECT_EQ(bmp_->Canvas()->Font()->Color(), GetParam().expected) << GetParam().markup;
}

INSTANTIATE_TEST_SUITE_P(
    Markup, HtmlColorTest,
    ::testing::Values(
        // Digits after "#" are the TColor value itself: FF0000 is blue.
        ColorCase{L"<FONT COLOR=#FF0000>x", 0xFF0000},
        ColorCase{L"<FONT COLOR=\"#0000ff\">x", 0x0000FF},  // tags are read upper-cased
        ColorCase{L"<FONT COLOR=RED>x", 0x0000FF},
        ColorCase{L"<FONT COLOR=Olive>x", 0x008080},
        ColorCase{L"<FONT COLOR=00FF00>x", 0x00FF00},
        // A closing FONT restores the colour from before the tag.
        ColorCase{L"<FONT COLOR=RED>x</FONT>y", 0x123456},
        ColorCase{L"<FONT COLOR=RED>x<FONT COLOR=BLUE>y</FONT>z", 0x0000FF},
        // Invalid colours leave the font unchanged.
        ColorCase{L"<FONT COLOR=#GG0000>x", 0x123456},
        ColorCase{L"<FONT COLOR=PINK>x", 0x123456},
        ColorCase{L"<FONT COLOR=#>x", 0x123456},
        ColorCase{L"<FONT COLOR>x", 0x123456}));

TEST_F(HtmlParseTest, FaceTakesTheQuotedName) {
  Parse(L"<FONT FACE=\"Courier New\">x");
  EXPECT_EQ(bmp_->Canvas()->Font()->Name(), L"COURIER NEW");
  bmp_->Canvas()->Font()->SetName(L"Tahoma");
  Parse(L"<FONT FACE=Arial>x");
  EXPECT_EQ(bmp_->Canvas()->Font()->Name(), L"Tahoma") << "an unquoted name changes nothing";
  Parse(L"<FONT FACE=\"\">x");
  EXPECT_EQ(bmp_->Canvas()->Font()->Name(), L"Tahoma") << "an empty name changes nothing";
}

TEST_F(HtmlParseTest, DrawsTheRunInsideARedFontInRed) {
  TCanvas* c = bmp_->Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(TRect{0, 0, 400, 200});
  c->Brush()->SetStyle(bsClear);
  c->Font()->SetHeight(-24);
  c->Font()->SetStyle(fsBold);
  int split = c->TextWidth(L"MMM");
  Parse(L"<FONT COLOR=RED>MMM</FONT>MMM");
  auto count = [&](int x0, int x1, bool wantRed) {
    int n = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = x0; x < x1; ++x) {
        TColor p = c->Pixels(x, y);
        bool red = GetRValue(p) > 160 && GetGValue(p) < 80 && GetBValue(p) < 80;
        bool dark = GetRValue(p) < 80 && GetGValue(p) < 80 && GetBValue(p) < 80;
        n += wantRed ? red : dark;
      }
    return n;
  };
  EXPECT_GT(count(0, split, true), 20);
  EXPECT_EQ(count(split, 2 * split, true), 0) << "the colour is restored after the tag";
  EXPECT_GT(count(split, 2 * split, false), 20);
}

TEST(HtmlHexToInt, ReadsUpperCaseHexAndRejectsOtherCharacters) {
  EXPECT_EQ(TsHtml::HexToInt(L"FF0000"), 0xFF0000);
  EXPECT_EQ(TsHtml::HexToInt(L"0"), 0);
  EXPECT_EQ(TsHtml::HexToInt(L"1A"), 26);
  EXPECT_EQ(TsHtml::HexToInt(L"1a"), -1);
  EXPECT_EQ(TsHtml::HexToInt(L"G"), -1);
  EXPECT_EQ(TsHtml::HexToInt(L""), -1);
  EXPECT_EQ(TsHtml::HexToInt(L"1000000"), -1) << "beyond 24 bits is no colour";
}

}  // namespace
