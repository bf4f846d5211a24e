// Thumb placement and hit testing of one bar, from its scroll info alone.
#include <gtest/gtest.h>

#include "skin/engine/SkinConsts.h"
#include "skin/windows/ScrollWnd.h"

namespace {

TacScrollBar Bar(WORD type, int nMin, int nMax, UINT page, int pos, int arrow = 16) {
  TacScrollBar b;
  b.BarType = type;
  b.ArrowLength = arrow;  // fixed, so the system's metrics do not matter
  b.ScrollInfo = SCROLLINFO{sizeof(SCROLLINFO), SIF_ALL, nMin, nMax, page, pos, 0};
  return b;
}

TEST(ScrollGeometry, ThumbSizeAndPlace) {
  struct Case {
    const char* name;
    int nMin, nMax;
    UINT page;
    int pos;
    int start, size;  // along a bar from 0 to 232 with 16-pixel arrows (200 free)
  } cases[] = {
      {"top", 0, 99, 10, 0, 16, 20},
      {"bottom", 0, 99, 10, 90, 196, 20},
      {"middle", 0, 99, 10, 45, 106, 20},
      {"no page: arrow-long thumb", 0, 99, 0, 0, 16, 16},
      {"tiny page: minimum thumb", 0, 999, 1, 0, 16, 10},
      {"one position: offset 0", 0, 0, 1, 0, 16, 200},
      {"past the end: clamped", 0, 99, 10, 500, 196, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TacScrollBar b = Bar(SB_VERT, c.nMin, c.nMax, c.page, c.pos);
    TacThumb t = CalcThumb(&b, 0, 232, 16);
    EXPECT_EQ(t.Start, c.start);
    EXPECT_EQ(t.Size, c.size);
  }
}

TEST(ScrollGeometry, HitTestAlongAndAcrossBothBars) {
  const TRect vr{100, 0, 117, 232};   // vertical bar, x 100..116
  const TRect hr{0, 200, 232, 217};   // horizontal bar, y 200..216
  TacScrollBar v = Bar(SB_VERT, 0, 99, 10, 45);   // thumb 106..125
  TacScrollBar h = Bar(SB_HORZ, 0, 99, 10, 45);
  struct Case {
    int along, expect;
  } cases[] = {{0, spFirstArrow},    {15, spFirstArrow}, {16, spTrackBefore},
               {105, spTrackBefore}, {106, spThumb},     {125, spThumb},
               {126, spTrackAfter},  {215, spTrackAfter}, {216, spSecondArrow},
               {231, spSecondArrow}, {232, spNone},       {-3, spNone}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.along);
    EXPECT_EQ(GetScrollPart(&v, vr, TPoint{108, c.along}), c.expect);
    EXPECT_EQ(GetScrollPart(&h, hr, TPoint{c.along, 208}), c.expect);
  }
  EXPECT_EQ(GetScrollPart(&v, vr, TPoint{117, 50}), spNone);  // right edge is outside
  EXPECT_EQ(GetScrollPart(&h, hr, TPoint{50, 199}), spNone);
}

TEST(ScrollGeometry, ShortBarIsTwoArrowHalvesAndFullThumbLeavesNoThumbPart) {
  TacScrollBar v = Bar(SB_VERT, 0, 99, 10, 0);
  const TRect shortBar{0, 0, 17, 30};
  EXPECT_EQ(GetScrollPart(&v, shortBar, TPoint{5, 14}), spFirstArrow);
  EXPECT_EQ(GetScrollPart(&v, shortBar, TPoint{5, 15}), spSecondArrow);
  TacScrollBar full = Bar(SB_VERT, 0, 9, 10, 0);  // the page shows everything
  const TRect bar{0, 0, 17, 232};
  EXPECT_EQ(GetScrollPart(&full, bar, TPoint{5, 100}), spNone);
  EXPECT_EQ(GetScrollPart(&full, bar, TPoint{5, 5}), spFirstArrow);
}

TEST(ScrollGeometry, NegativeScreenCoordinatesHitTest) {
  TacScrollBar h = Bar(SB_HORZ, 0, 99, 10, 0);
  const TRect bar{-400, -30, -168, -13};
  EXPECT_EQ(GetScrollPart(&h, bar, TPoint{-395, -20}), spFirstArrow);
  EXPECT_EQ(GetScrollPart(&h, bar, TPoint{-380, -20}), spThumb);
  EXPECT_EQ(GetScrollPart(&h, bar, TPoint{-170, -20}), spSecondArrow);
}

TEST(ScrollGeometry, MetricsUseFixedValuesOrMultiplesOfTheDefaults) {
  TacScrollBar b;
  b.BarType = SB_VERT;
  b.Thickness = 21;
  b.ArrowLength = 13;
  EXPECT_EQ(GetScrollMetric(&b, true, false), 21);
  EXPECT_EQ(GetScrollMetric(&b, false, false), 13);
  b.Thickness = -2;
  b.ArrowLength = -1;
  EXPECT_EQ(GetScrollMetric(&b, true, false), 2 * ::GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(GetScrollMetric(&b, false, false), DefaultScrollButtonSize);
}

}  // namespace
