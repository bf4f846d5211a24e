#include <gtest/gtest.h>

#include "skin/engine/FocusFrame.h"
#include "skin/engine/SkinUtils.h"
#include "tests/skin/engine/PixelTestUtil.h"

using namespace skintest;

TEST(DrawFocusFrame, DotsEveryThirdPixelWithInclusiveEdges) {
  auto b = MakeBmp(12, 12, clBlue);
  DrawFocusFrame(b->Canvas(), MakeRect(0, 0, 9, 9));
  for (int x : {0, 3, 6, 9}) {
    EXPECT_EQ(Px(*b, x, 0), clBlack) << x;
    EXPECT_EQ(Px(*b, x, 9), clBlack) << x;
    EXPECT_EQ(Px(*b, 0, x), clBlack) << x;
    EXPECT_EQ(Px(*b, 9, x), clBlack) << x;
  }
  EXPECT_EQ(Px(*b, 2, 8), clWhite);  // one left of and above (3, 9)
  EXPECT_EQ(Px(*b, 8, 2), clWhite);  // one left of and above (9, 3)
  EXPECT_EQ(Px(*b, 1, 0), clBlue);
  EXPECT_EQ(Px(*b, 4, 4), clBlue);
  EXPECT_EQ(CountColor(*b, clBlack), 12);
}

TEST(DrawFocusFrame, FrameOverTheEdgesStaysInsideTheBitmap) {
  // Right and Bottom fall on and past the bitmap's edges; only the pixels
  // inside change, and the canvas keeps working afterwards.
  auto b = MakeBmp(6, 6, clBlue);
  DrawFocusFrame(b->Canvas(), MakeRect(0, 0, 6, 6));
  DrawFocusFrame(b->Canvas(), MakeRect(-30, -30, 90, 90));
  EXPECT_EQ(Px(*b, 0, 0), clBlack);
  EXPECT_EQ(Px(*b, 3, 0), clBlack);
  EXPECT_EQ(Px(*b, 0, 3), clBlack);
  EXPECT_EQ(Px(*b, 2, 2), clBlue);
}
