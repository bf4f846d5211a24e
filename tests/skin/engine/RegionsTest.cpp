#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "skin/engine/Regions.h"
#include "skin/engine/SkinUtils.h"
#include "tests/skin/engine/PixelTestUtil.h"

using namespace skintest;

namespace {
bool SameRect(const TRect& a, const TRect& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
}  // namespace

TEST(CollectColorRects, OneRectanglePerRun) {
  auto b = MakeBmp(4, 2, clWhite);
  SetPx(*b, 0, 0, clFuchsia);
  SetPx(*b, 1, 0, clFuchsia);
  SetPx(*b, 3, 0, clFuchsia);
  FillRect(*b, 0, 1, 4, 2, clFuchsia);
  TAOR rects;
  CollectColorRects(rects, *b, clFuchsia);
  ASSERT_EQ(rects.size(), 3u);
  EXPECT_TRUE(SameRect(rects[0], MakeRect(0, 0, 2, 1)));
  EXPECT_TRUE(SameRect(rects[1], MakeRect(3, 0, 4, 1)));
  EXPECT_TRUE(SameRect(rects[2], MakeRect(0, 1, 4, 2)));
  auto thin = MakeBmp(1, 5, clFuchsia);
  CollectColorRects(rects, *thin, clFuchsia);
  EXPECT_EQ(rects.size(), 3u);  // smaller than 2 x 2: nothing appended
}

TEST(CreateRgnFromBmp, FullRectangleLessTransparentRuns) {
  auto b = MakeBmp(6, 4, clWhite);
  UniqueRgn full = CreateRgnFromBmp(*b, clFuchsia);
  UniqueRgn expected(::CreateRectRgn(0, 0, 6, 4));
  EXPECT_TRUE(::EqualRgn(full.get(), expected.get()));
  SetPx(*b, 0, 0, clFuchsia);
  SetPx(*b, 5, 3, clFuchsia);
  UniqueRgn cut = CreateRgnFromBmp(*b, clFuchsia);
  EXPECT_FALSE(::PtInRegion(cut.get(), 0, 0));
  EXPECT_FALSE(::PtInRegion(cut.get(), 5, 3));
  EXPECT_TRUE(::PtInRegion(cut.get(), 1, 0));
  EXPECT_TRUE(::PtInRegion(cut.get(), 4, 3));
}

TEST(AddCornerRgnRects, RightPieceMovesToTheWindowEdge) {
  // Two cells of 10 x 10; corners of 3 pixels; only the first cell counts.
  auto img = MakeBmp(20, 10, clRed);
  SetPx(*img, 0, 0, clFuchsia);
  SetPx(*img, 9, 0, clFuchsia);
  SetPx(*img, 8, 0, clFuchsia);
  SetPx(*img, 0, 9, clFuchsia);
  SetPx(*img, 19, 0, clFuchsia);  // second cell: ignored
  TsMaskData md;
  md.R = MakeRect(0, 0, 20, 10);
  md.ImageCount = 2;
  md.WL = md.WT = md.WR = md.WB = 3;
  TAOR top;
  AddCornerRgnRects(top, 100, md, *img, 5, false);
  ASSERT_EQ(top.size(), 2u);
  EXPECT_TRUE(SameRect(top[0], MakeRect(0, 5, 1, 6)));
  EXPECT_TRUE(SameRect(top[1], MakeRect(98, 5, 100, 6)));
  TAOR bottom;
  AddCornerRgnRects(bottom, 100, md, *img, 40, true);
  ASSERT_EQ(bottom.size(), 1u);
  EXPECT_TRUE(SameRect(bottom[0], MakeRect(0, 42, 1, 43)));
  TAOR none;
  md.WB = 30;  // lower than the image holds
  AddCornerRgnRects(none, 100, md, *img, 0, true);
  EXPECT_TRUE(none.empty());
  AddCornerRgnRects(none, 100, md, TacBmpView(), 0, false);
  EXPECT_TRUE(none.empty());
}

TEST(ImageListToBmp, SizesAndDrawsTheImage) {
  HIMAGELIST il = ::ImageList_Create(8, 6, ILC_COLOR24, 1, 1);
  ASSERT_NE(il, nullptr);
  auto src = MakeBmp(8, 6, clBlue);
  HBITMAP h = src->ReleaseHandle();
  ::ImageList_Add(il, h, nullptr);
  ::DeleteObject(h);
  TBitmap bmp;
  ImageListToBmp(bmp, il, 0);
  EXPECT_EQ(bmp.Width(), 8);
  EXPECT_EQ(bmp.Height(), 6);
  EXPECT_EQ(Px(bmp, 3, 3), clBlue);
  ::ImageList_Destroy(il);
}
