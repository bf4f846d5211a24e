// Text in skin colours, cut captions, 3D frames and shadows.
#include <gtest/gtest.h>

#include "skin/engine/ColorContrast.h"
#include "skin/engine/SkinText.h"
#include "skin/engine/SkinUtils.h"
#include "tests/skin/engine/PixelTestUtil.h"
#include "tests/skin/engine/SkinnedTestControls.h"

using namespace skintest;

namespace {

TSize Extent(TCanvas* canvas, const std::wstring& text) {
  SIZE s{};
  ::GetTextExtentPoint32W(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &s);
  return TSize{s.cx, s.cy};
}

std::wstring Str(const TRect& r) {
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) +
         L"," + std::to_wstring(r.bottom);
}

// Single-line placement worked out by hand for a text of 40 x 13 pixels:
// dy = (13 - height) / 2 and dx = (40 - width) / 2, both toward zero; the
// text's rectangle comes back grown by one pixel on every side.
struct PlacementCase {
  TRect r;
  UINT flags;
  const wchar_t* expected;
};

const PlacementCase kPlacements[] = {
    // dy = -3, dx = -30: text at (30, 3, 70, 17).
    {MakeRect(0, 0, 100, 20), DT_CENTER, L"29,2,71,18"},
    // Left: Right := Left + 40, at (0, 3, 40, 17).
    {MakeRect(0, 0, 100, 20), DT_LEFT, L"-1,2,41,18"},
    // Right: Left := Right - 40, at (60, 3, 100, 17).
    {MakeRect(0, 0, 100, 20), DT_RIGHT, L"59,2,101,18"},
    // 51 x 19: dy = -6 / 2 = -3, dx = -11 / 2 = -5 (not -6): at (15, 8, 56, 21).
    {MakeRect(10, 5, 61, 24), DT_CENTER, L"14,7,57,22"},
    // Smaller than the text, 30 x 9: dy = 2, dx = 5: at (-5, -2, 35, 11).
    {MakeRect(0, 0, 30, 9), DT_CENTER, L"-6,-3,36,12"},
};

}  // namespace

TEST_F(SkinnedForm, SkinTextIsPlacedOnOneLineAndReturnsItsRectangleGrownByOne) {
  TTestSkinned* c = Add(ckButton, 0, 0, 100, 20);
  const std::wstring text = L"Кнопка";
  for (const PlacementCase& test : kPlacements) {
    auto bmp = MakeBmp(120, 40, clWhite);
    TCanvas* canvas = bmp->Canvas();
    canvas->Font()->Assign(c->Font());
    const TSize ext = Extent(canvas, text);
    ASSERT_EQ(L"40x13", std::to_wstring(ext.cx) + L"x" + std::to_wstring(ext.cy)) << "the cases need this size";
    TRect r = test.r;
    EXPECT_EQ(0, DrawSkinText(canvas, text, true, r, test.flags, c->SkinData.get(), false));
    EXPECT_EQ(test.expected, Str(r)) << Str(test.r) << " flags " << test.flags;
    ::GdiFlush();
    // Nothing lands outside the text's rectangle.
    int outside = 0, inside = 0;
    for (int y = 0; y < 40; ++y)
      for (int x = 0; x < 120; ++x) {
        if (Px(*bmp, x, y) == clWhite) continue;
        const bool in = x >= r.left - 1 && x <= r.right && y >= r.top - 1 && y <= r.bottom;
        ++(in ? inside : outside);
      }
    EXPECT_EQ(0, outside) << Str(test.r) << " flags " << test.flags;
    EXPECT_GT(inside, 0) << Str(test.r) << " flags " << test.flags;
  }
}

TEST_F(SkinnedForm, WrappedTextKeepsItsRectangle) {
  TTestSkinned* c = Add(ckButton, 0, 0, 100, 20);
  auto bmp = MakeBmp(120, 40, clWhite);
  TRect r = MakeRect(5, 5, 100, 30);
  DrawSkinText(bmp->Canvas(), L"Текст", true, r, DT_WORDBREAK, c->SkinData.get(), false);
  EXPECT_EQ(L"5,5,100,30", Str(r));
}

TEST_F(SkinnedForm, SkinTextExWithAnInvalidIndexDrawsNothing) {
  auto bmp = MakeBmp(100, 20, clWhite);
  TRect r = MakeRect(0, 0, 100, 20);
  DrawSkinTextEx(bmp->Canvas(), L"Текст", true, r, DT_CENTER, -1, false, nullptr);
  DrawSkinTextEx(bmp->Canvas(), L"Текст", true, r, DT_CENTER, 100000, false, nullptr);
  EXPECT_EQ(L"0,0,100,20", Str(r));
  EXPECT_EQ(100 * 20, CountColor(*bmp, clWhite));
}

TEST_F(SkinnedForm, ContourColoursAddPassesOnlyWhereSet) {
  TsGeneralData& s = Sec(L"BUTTON");
  const int index = manager->GetSkinIndex(L"BUTTON");
  auto draw = [&](const int32_t contour[4]) {
    for (int i = 0; i < 4; ++i) s.FontColor[i + 1] = contour[i];
    s.FontColor[0] = clBlack;
    auto bmp = MakeBmp(100, 30, clWhite);
    bmp->Canvas()->Font()->SetHeight(-14);
    TRect r = MakeRect(0, 0, 100, 30);
    DrawSkinTextEx(bmp->Canvas(), L"Ш", true, r, DT_CENTER, index, false, manager.get());
    ::GdiFlush();
    return bmp;
  };
  const int32_t none[4] = {-1, -1, -1, -1};
  const int32_t left[4] = {clRed, -1, -1, -1};
  auto plain = draw(none);
  auto contoured = draw(left);
  // No contour: only the text colour. A left contour: red pixels appear,
  // one pixel left of black ones.
  EXPECT_EQ(0, CountColor(*plain, clRed));
  EXPECT_GT(CountColor(*plain, clBlack), 0);
  int redLeftOfText = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 99; ++x)
      redLeftOfText += Px(*contoured, x, y) == clRed && Px(*plain, x + 1, y) == clBlack;
  EXPECT_GT(redLeftOfText, 0);
}

TEST_F(SkinnedForm, DisabledTextTakesTheSkinsDisabledColourAndIsEmbossedOnlyWithoutASkin) {
  TTestSkinned* c = Add(ckButton, 0, 0, 100, 20);
  const TColor disabled = DisabledFontColor(*c->SkinData->Section());
  auto draw = [&](TsCommonData* sd) {
    auto bmp = MakeBmp(100, 30, 0x123456);
    bmp->Canvas()->Font()->SetHeight(-14);
    TRect r = MakeRect(0, 0, 100, 30);
    DrawSkinText(bmp->Canvas(), L"Ш", false, r, DT_CENTER, sd, false);
    ::GdiFlush();
    return bmp;
  };
  auto skinned = draw(c->SkinData.get());
  EXPECT_GT(CountColor(*skinned, disabled), 0);
  EXPECT_EQ(0, CountColor(*skinned, ColorToRGB(clBtnHighlight)));
  auto plain = draw(nullptr);
  EXPECT_GT(CountColor(*plain, ColorToRGB(clBtnShadow)), 0);
  EXPECT_GT(CountColor(*plain, ColorToRGB(clBtnHighlight)), 0);
}

TEST(SkinText, CutTextShortensFromTheEnd) {
  auto bmp = MakeBmp(10, 10);
  TCanvas* c = bmp->Canvas();
  const std::wstring text = L"Очистка необходима";
  const int full = c->TextWidth(text);
  EXPECT_EQ(text, CutText(c, text, full));
  EXPECT_EQ(L"", CutText(c, text, 0));
  EXPECT_EQ(L"", CutText(c, text, c->TextWidth(L"...") - 1));
  const std::wstring cut = CutText(c, text, full / 2);
  ASSERT_GE(cut.size(), 4u);
  EXPECT_EQ(L"...", cut.substr(cut.size() - 3));
  EXPECT_EQ(text.substr(0, cut.size() - 3), cut.substr(0, cut.size() - 3));
  EXPECT_LE(c->TextWidth(cut), full / 2);
  // One character more would not have fitted.
  EXPECT_GT(c->TextWidth(text.substr(0, cut.size() - 2) + L"..."), full / 2);
}

TEST(SkinText, FontTextExtentMeasuresOnTheScreen) {
  TFont font;
  TSize size{};
  GetFontTextExtent(&font, L"Проверка", size);
  EXPECT_GT(size.cx, 0);
  EXPECT_GT(size.cy, 0);
  GetFontTextExtent(nullptr, L"x", size);
  EXPECT_EQ(0, size.cx);
}

TEST(SkinText, Frame3DDrawsRingsAndShrinksTheRectangle) {
  auto bmp = MakeBmp(10, 10, clBlack);
  TRect r = MakeRect(0, 0, 10, 10);
  int width = 2;
  Frame3DOnDC(bmp->Canvas()->Handle(), r, clWhite, clRed, width);
  ::GdiFlush();
  EXPECT_EQ(0, width);
  EXPECT_EQ(L"2,2,8,8", Str(r));
  EXPECT_EQ(clWhite, Px(*bmp, 0, 0));
  EXPECT_EQ(clWhite, Px(*bmp, 0, 8));
  EXPECT_EQ(clWhite, Px(*bmp, 8, 0));
  EXPECT_EQ(clRed, Px(*bmp, 9, 5));
  EXPECT_EQ(clRed, Px(*bmp, 5, 9));
  EXPECT_EQ(clWhite, Px(*bmp, 1, 1));
  EXPECT_EQ(clRed, Px(*bmp, 8, 5));
  EXPECT_EQ(clBlack, Px(*bmp, 4, 4));
}

TEST(SkinText, ShadowFadesFromTheEdgeTowardTheColour) {
  // A blur of -1 or 0 has no rings (and divides by nothing).
  for (int blur : {-1, 0, 4}) {
    auto bmp = MakeBmp(40, 30, clWhite);
    PaintShadow(bmp.get(), MakeRect(5, 5, 35, 25), 0, clBlack, blur, 4);
    EXPECT_EQ(clWhite, Px(*bmp, 2, 2)) << blur;
    EXPECT_EQ(clBlack, Px(*bmp, 20, 15)) << blur;
  }
  // The outer ring keeps the picture (white weighs 255 of 256).
  auto ringed = MakeBmp(40, 30, clWhite);
  PaintShadow(ringed.get(), MakeRect(5, 5, 35, 25), 0, clBlack, 4, 4);
  EXPECT_EQ(Grey(254), Px(*ringed, 5, 5));
  EXPECT_LT(GetRValue32(Px(*ringed, 8, 8)), 254);
  // Half transparent: the centre keeps part of the picture.
  auto bmp = MakeBmp(40, 30, clWhite);
  PaintShadow(bmp.get(), MakeRect(0, 0, 40, 30), 50, clBlack, 3, 2);
  const int mid = GetRValue32(Px(*bmp, 20, 15));
  EXPECT_GT(mid, 100);
  EXPECT_LT(mid, 160);
  // A rectangle reaching past the bitmap is cut to it.
  auto small = MakeBmp(10, 10, clWhite);
  PaintShadow(small.get(), MakeRect(-5, -5, 15, 15), 0, clBlack, 2, 2);
  EXPECT_EQ(clBlack, Px(*small, 5, 5));
}
