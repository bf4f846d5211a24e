// The skinned progress bar: the geometry of its filled part (smooth and in
// blocks, both orientations), the empty or inverted range, and the filled
// part and the body as they reach a DC through WM_PRINT.
#include <gtest/gtest.h>

#include "skin/controls/ProgressBar.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

TacProgressInput Bar(int w, int h, int max, int pos, bool smooth, bool vertical = false) {
  TacProgressInput in;
  in.Width = in.ClientWidth = w;
  in.Height = in.ClientHeight = h;
  in.Max = max;
  in.Position = pos;
  in.Smooth = smooth;
  in.Vertical = vertical;
  return in;
}

class ProgressBarTest : public SkinnedForm {
 protected:
  TsProgressBar* NewBar(int w, int h) {
    auto* p = Construct<TsProgressBar>(form);
    p->SetParent(form);
    p->SetBounds(10, 10, w, h);
    return p;
  }
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
  }
};

}  // namespace

TEST(ProgressLayout, BlocksOfA150By17Bar) {
  struct Case {
    int max, pos;
    size_t pieces;
    int lastLeft, lastRight;
  } cases[] = {
      {100, 50, 6, 1 + 11 * 5, 1 + 11 * 5 + 9},  // nearest(6.5) = 6
      {100, 0, 0, 0, 0},
      {3, 1, 4, 1 + 11 * 3, 1 + 11 * 3 + 9},  // nearest(13 / 3)
      // Full: 13 blocks and the 7-pixel rest, held inside the filled part.
      {100, 100, 14, 1 + 11 * 13, 149},
  };
  for (const Case& c : cases) {
    const TacProgressLayout l = LayoutProgress(Bar(150, 17, c.max, c.pos, false));
    EXPECT_EQ(17, l.PieceHeight);
    EXPECT_EQ(9, l.PieceWidth);  // nearest(11.22) - 2
    ASSERT_EQ(c.pieces, l.Pieces.size()) << c.max << "/" << c.pos;
    if (c.pieces == 0) continue;
    EXPECT_EQ(13, l.BlockCount);
    EXPECT_EQ(2, l.Gap);
    EXPECT_EQ(1, l.Pieces[0].left);
    EXPECT_EQ(c.lastLeft, l.Pieces.back().left);
    EXPECT_EQ(c.lastRight, l.Pieces.back().right);
  }
}

TEST(ProgressLayout, SmoothAndVerticalFilledRectangles) {
  struct Case {
    TacProgressInput in;
    TRect filled;
  } cases[] = {
      {Bar(150, 17, 100, 100, true), {1, 1, 149, 16}},         // full: b to Width - b
      {Bar(150, 17, 3, 1, true), {1, 1, 1 + 49, 16}},          // nearest(148 / 3)
      {Bar(17, 150, 100, 100, true, true), {1, 1, 16, 149}},   // full vertical
      {Bar(17, 150, 100, 25, true, true), {1, 149 - 37, 16, 149}},  // nearest(37)
  };
  for (const Case& c : cases) {
    const TacProgressLayout l = LayoutProgress(c.in);
    EXPECT_EQ(c.filled.left, l.Filled.left);
    EXPECT_EQ(c.filled.top, l.Filled.top);
    EXPECT_EQ(c.filled.right, l.Filled.right);
    EXPECT_EQ(c.filled.bottom, l.Filled.bottom);
    ASSERT_EQ(1u, l.Pieces.size());
  }
}

// Max not above Min, a range whose Max is 0, and positions outside the
// range: no division by zero and no piece outside the bar.
TEST(ProgressLayout, EmptyInvertedAndOffsetRangesStayInside) {
  EXPECT_TRUE(LayoutProgress(Bar(150, 17, 0, 0, false)).Pieces.empty());
  EXPECT_TRUE(LayoutProgress(Bar(150, 17, 0, 0, true)).Pieces.empty());
  EXPECT_TRUE(LayoutProgress(Bar(150, 17, -5, 3, false)).Pieces.empty());
  TacProgressInput below = Bar(150, 17, 0, -25, false);
  below.Min = -50;
  EXPECT_EQ(6u, LayoutProgress(below).Pieces.size());  // half of 13 blocks: nearest(6.5)
  for (int pos : {-10, 250}) {
    for (bool smooth : {false, true})
      for (bool vertical : {false, true}) {
        const TacProgressLayout l =
            LayoutProgress(Bar(vertical ? 17 : 150, vertical ? 150 : 17, 100, pos, smooth, vertical));
        for (const TRect& p : l.Pieces) {
          EXPECT_GE(p.left, 0);
          EXPECT_GE(p.top, 0);
          EXPECT_LE(p.right, vertical ? 17 : 150);
          EXPECT_LE(p.bottom, vertical ? 150 : 17);
        }
      }
  }
}

TEST_F(ProgressBarTest, PrintShowsFilledBlocksOverTheBody) {
  TsProgressBar* p = NewBar(150, 17);
  ASSERT_TRUE(p->SkinData->Skinned());
  p->SetPosition(0);
  auto empty = PrintControl(p);
  p->SetPosition(50);
  auto half = PrintControl(p);
  // Blocks 0..5 filled, block 6 onwards the body as at 0.
  for (int i = 0; i < 6; ++i)
    EXPECT_NE(Px(*empty, 1 + 11 * i + 4, 8), Px(*half, 1 + 11 * i + 4, 8)) << i;
  for (int i = 6; i < 13; ++i)
    EXPECT_EQ(Px(*empty, 1 + 11 * i + 4, 8), Px(*half, 1 + 11 * i + 4, 8)) << i;
  // The gap between two filled blocks shows the body.
  EXPECT_EQ(Px(*empty, 11, 8), Px(*half, 11, 8));
  // Nothing of the fill colour remains.
  EXPECT_EQ(0, CountColor(*half, 0x123456));
}

TEST_F(ProgressBarTest, SmoothVerticalBarFillsFromTheBottom) {
  TsProgressBar* p = NewBar(17, 100);
  p->SetOrientation(pbVertical);
  p->SetSmooth(true);
  p->SetPosition(0);
  auto empty = PrintControl(p);
  p->SetPosition(50);
  auto half = PrintControl(p);
  EXPECT_NE(Px(*empty, 8, 90), Px(*half, 8, 90));
  EXPECT_EQ(Px(*empty, 8, 10), Px(*half, 8, 10));
}

TEST_F(ProgressBarTest, EmptyRangePaintsNothingNewAndNeverFails) {
  TsProgressBar* p = NewBar(150, 17);
  p->SetMax(0);
  auto first = PrintControl(p, 0x123456);
  EXPECT_EQ(150 * 17, CountColor(*first, 0x123456));  // no image yet
  p->SetMax(100);
  p->SetPosition(30);
  auto before = PrintControl(p);
  p->SetMax(0);
  auto after = PrintControl(p);
  for (int x = 0; x < 150; x += 7) EXPECT_EQ(Px(*before, x, 8), Px(*after, x, 8)) << x;
}

// In every internal skin the empty trough and the fill look plainly apart,
// so a bar at 0 never reads as a full one.
TEST_F(ProgressBarTest, EveryInternalSkinTellsTheFillFromTheTrough) {
  form->Show();
  for (const std::wstring& name : InternalSkinNames(*manager)) {
    SCOPED_TRACE(name);
    manager->SetSkinName(name);
    TsProgressBar* p = NewBar(300, 18);
    p->SetMax(3);
    p->SetPosition(0);
    auto empty = PrintControl(p);
    p->SetPosition(3);
    auto full = PrintControl(p);
    const TColor a = Px(*empty, 150, 9), b = Px(*full, 150, 9);
    int difference = 0;
    for (int shift : {0, 8, 16}) difference += std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF));
    EXPECT_GT(difference, 90) << std::hex << a << " against " << b;
    delete p;
  }
}
