#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/SysUtils.h"
#include "skin/engine/Gradients.h"
#include "skin/engine/SkinUtils.h"
#include "tests/skin/engine/PixelTestUtil.h"

using namespace skintest;

TEST(PrepareGradArray, FiveWordsMakeOneStop) {
  TsGradArray g;
  PrepareGradArray(L"16777215;0;50;0;0;0;16777215;50;0;0", g);
  ASSERT_EQ(g.size(), 2u);
  EXPECT_EQ(g[0].Color1, clWhite);
  EXPECT_EQ(g[0].Color2, clBlack);
  EXPECT_EQ(g[1].Color2, clWhite);
  EXPECT_EQ(g[1].Percent, 50);

  PrepareGradArray(L"$FF;$FF00;150;1;0;7;8", g);  // seven words: one stop
  ASSERT_EQ(g.size(), 1u);
  EXPECT_EQ(g[0].Color1, 0xFFu);
  EXPECT_EQ(g[0].Color2, 0xFF00u);
  EXPECT_EQ(g[0].Percent, 100);  // 150 is stored as 100
  EXPECT_EQ(g[0].Mode, 1);

  PrepareGradArray(L";;1;;2;3;4;5;;", g);  // empty words do not count
  EXPECT_EQ(g.size(), 1u);

  PrepareGradArray(L"", g);
  EXPECT_TRUE(g.empty());
}

TEST(PrepareGradArray, NonNumericWordRaisesConversionError) {
  TsGradArray g;
  EXPECT_THROW(PrepareGradArray(L"1;2;x;0;0", g), EConvertError);
}

namespace {
std::vector<int> RedColumn(TBitmap& b, int x) {
  std::vector<int> v;
  for (int y = 0; y < b.Height(); ++y) v.push_back(static_cast<int>(Px(b, x, y) & 0xFF));
  return v;
}
std::vector<int> RedRow(TBitmap& b, int y) {
  std::vector<int> v;
  for (int x = 0; x < b.Width(); ++x) v.push_back(static_cast<int>(Px(b, x, y) & 0xFF));
  return v;
}
}  // namespace

TEST(PaintGrad, TopToBottomRowsTable) {
  struct Case {
    const wchar_t* text;
    std::vector<int> rows;
  } cases[] = {
      // One stop of 100 %: nine equal steps over ten rows.
      {L"0;5921370;100;0;0", {0, 10, 20, 30, 40, 50, 60, 70, 80, 90}},
      // White to black over the upper half, black to white below; the last
      // row of a band is painted again by the next (0, 63.75, 127.5 ...).
      {L"16777215;0;50;0;0;0;16777215;50;0;0", {255, 204, 153, 102, 51, 0, 64, 128, 191, 255}},
  };
  for (const Case& c : cases) {
    TsGradArray g;
    PrepareGradArray(c.text, g);
    auto b = MakeBmp(4, 10, clBlue);
    PaintGrad(*b, MakeRect(0, 0, 4, 10), g, 0, 0);
    EXPECT_EQ(RedColumn(*b, 0), c.rows) << c.text;
    EXPECT_EQ(RedColumn(*b, 3), c.rows) << c.text;
    EXPECT_EQ(Px(*b, 2, 9) >> 16, static_cast<TColor>(c.rows[9])) << "grey rows";
  }
}

TEST(PaintGrad, LeftToRightColumnsHalfToEven) {
  TsGradArray g;
  PrepareGradArray(L"16777215;0;100;1;0", g);
  auto b = MakeBmp(11, 3, clBlue);
  PaintGrad(*b, MakeRect(0, 0, 11, 3), g, 0, 0);
  const std::vector<int> expected = {255, 230, 204, 178, 153, 128, 102, 76, 51, 26, 0};
  for (int y = 0; y < 3; ++y) EXPECT_EQ(RedRow(*b, y), expected) << y;
}

TEST(PaintGrad, FourTrianglesMeetAtTheCentre) {
  TsGradArray g;
  // Corners red, centre blue (stop 1); stops 3 and 4 missing repeat stop 2.
  PrepareGradArray(L"255;0;0;2;0;16711680;0;0;2;0;255;0;0;2;0", g);
  auto b = MakeBmp(40, 40, clWhite);
  PaintGrad(*b, MakeRect(0, 0, 40, 40), g, 0, 0);
  TColor centre = Px(*b, 20, 20), corner = Px(*b, 1, 1);
  EXPECT_GT((centre >> 16) & 0xFF, 200u);
  EXPECT_LT(centre & 0xFF, 60u);
  EXPECT_GT(corner & 0xFF, 200u);
  EXPECT_LT((corner >> 16) & 0xFF, 60u);
}

TEST(PaintGrad, NothingForEmptyArrayOrUnknownMode) {
  auto b = MakeBmp(5, 5, clBlue);
  TsGradArray g;
  PaintGrad(*b, MakeRect(0, 0, 5, 5), g, 0, 0);
  PrepareGradArray(L"0;0;100;3;0", g);
  PaintGrad(*b, MakeRect(0, 0, 5, 5), g, 0, 0);
  EXPECT_EQ(CountColor(*b, clBlue), 25);
}

TEST(PaintGrad, RectangleIsLimitedToTheBitmap) {
  TsGradArray g;
  PrepareGradArray(L"0;0;100;0;0", g);
  auto b = MakeBmp(5, 5, clBlue);
  PaintGrad(*b, MakeRect(-10, 2, 50, 90), g, 0, 0);
  EXPECT_EQ(CountColor(*b, clBlack), 15);
  PrepareGradArray(L"0;0;100;1;0", g);
  auto c = MakeBmp(5, 5, clBlue);
  PaintGrad(*c, MakeRect(3, -4, 40, 2), g, 0, 0);
  EXPECT_EQ(CountColor(*c, clBlack), 4);
  PrepareGradArray(L"0;0;100;0;0", g);
  PaintGrad(*c, MakeRect(0, 0, 5, 5), g, 0, -30);  // offset far above
  PaintGrad(*c, MakeRect(0, 0, 5, 5), g, 0, 30);   // and far below
}

TEST(SplitColor, BlueGreenRedOrder) {
  TacPixel24 p;
  SplitColor(0x123456, p);
  EXPECT_EQ(p.B, 0x12);
  EXPECT_EQ(p.G, 0x34);
  EXPECT_EQ(p.R, 0x56);
}
