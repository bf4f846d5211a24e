#include <gtest/gtest.h>

#include "skin/engine/SkinData.h"
#include "skin/engine/SkinUtils.h"

TEST(SkinData, DefaultsOfTheRecords) {
  TsGeneralData g;
  EXPECT_EQ(g.Color, 0xFFFFFFu);
  EXPECT_EQ(g.FontColor[0], 0);
  EXPECT_EQ(g.FontColor[4], -1);
  EXPECT_EQ(g.ShadowBlur, 6);
  EXPECT_EQ(g.ShadowOffset, 3);
  EXPECT_EQ(g.ShadowTransparency, 50);
  EXPECT_EQ(g.GradientData, L" ");
  EXPECT_TRUE(g.HotGradientData.empty());
  EXPECT_EQ(g.FadingIterations, 5);
  TsSkinData s;
  EXPECT_FALSE(s.Active);
  EXPECT_EQ(s.Shadow1Blur, -1);
}

TEST(SkinData, CellSizesAndBorderWidths) {
  TsMaskData m;
  m.R = MakeRect(10, 0, 130, 60);  // 120 x 60
  m.ImageCount = 4;
  m.MaskType = 1;
  EXPECT_EQ(MaskCellWidth(m), 30);
  EXPECT_EQ(MaskCellHeight(m), 30);
  // No widths given: a third of a cell.
  EXPECT_EQ(MaskWidthLeft(m), 10);   // 120 div (4 * 3)
  EXPECT_EQ(MaskWidthTop(m), 10);    // 60 div (2 * 3)
  m.BorderWidth = 4;
  EXPECT_EQ(MaskWidthRight(m), 4);
  m.WB = 7;
  EXPECT_EQ(MaskWidthBottom(m), 7);
  EXPECT_EQ(MaskWidthTop(m), 4);
  // An own bitmap always holds three states over a mask.
  m.Bmp = std::make_unique<TBitmap>(90, 40, pf24bit);
  EXPECT_EQ(MaskCellWidth(m), 30);
  EXPECT_EQ(MaskCellHeight(m), 20);
  m.Bmp.reset();
  m.ImageCount = 0;
  EXPECT_EQ(MaskCellWidth(m), 0);
}
