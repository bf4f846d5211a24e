#include <gtest/gtest.h>

#include "skin/engine/Masks.h"
#include "skin/engine/SkinUtils.h"
#include "tests/skin/engine/PixelTestUtil.h"

using namespace skintest;

namespace {

// An image whose red byte is the column and green byte the row of a pixel.
std::unique_ptr<TBitmap> Coded(int w, int h) {
  auto b = MakeBmp(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetPx(*b, x, y, static_cast<TColor>(x | (y << 8)));
  return b;
}
int ColOf(TColor c) { return static_cast<int>(c & 0xFF); }
int RowOf(TColor c) { return static_cast<int>((c >> 8) & 0xFF); }

TsMaskData Mask(TRect r, int count, int maskType, int wl, int wt, int wr, int wb) {
  TsMaskData m;
  m.R = r;
  m.ImageCount = static_cast<int16_t>(count);
  m.MaskType = static_cast<int16_t>(maskType);
  m.WL = static_cast<int16_t>(wl);
  m.WT = static_cast<int16_t>(wt);
  m.WR = static_cast<int16_t>(wr);
  m.WB = static_cast<int16_t>(wb);
  return m;
}

}  // namespace

TEST(DrawMaskRect, MarginsShrinkForANarrowTarget) {
  auto master = Coded(40, 40);
  TsMaskData md = Mask(MakeRect(0, 0, 40, 40), 1, 0, 12, 12, 12, 12);
  auto dst = MakeBmp(15, 20, clBlue);
  DrawMaskRect(*dst, MakeRect(0, 0, 15, 20), true, EmptyCacheInfo, md, *master, 0, false);
  // 15 wide: both margins lose (24 - 15) div 2 = 4, the right one more: 8 and 7.
  EXPECT_EQ(ColOf(Px(*dst, 7, 0)), 7);
  EXPECT_EQ(ColOf(Px(*dst, 8, 0)), 33);
  EXPECT_EQ(ColOf(Px(*dst, 14, 0)), 39);
  // 20 high (even): both lose 2 and become 10.
  EXPECT_EQ(RowOf(Px(*dst, 0, 9)), 9);
  EXPECT_EQ(RowOf(Px(*dst, 0, 10)), 30);
  EXPECT_EQ(CountColor(*dst, clBlue), 0);
}

TEST(DrawMaskRect, StateIsLimitedToTheLastCell) {
  auto master = MakeBmp(30, 10);
  FillRect(*master, 0, 0, 10, 10, clRed);
  FillRect(*master, 10, 0, 20, 10, clLime);
  FillRect(*master, 20, 0, 30, 10, clBlue);
  TsMaskData md = Mask(MakeRect(0, 0, 30, 10), 3, 0, 3, 3, 3, 3);
  for (int state : {5, 2, 99}) {
    auto dst = MakeBmp(12, 12, clWhite);
    DrawMaskRect(*dst, MakeRect(0, 0, 12, 12), true, EmptyCacheInfo, md, *master, state, false);
    EXPECT_EQ(CountColor(*dst, clBlue), 144) << state;
  }
  auto dst = MakeBmp(12, 12, clWhite);
  DrawMaskRect(*dst, MakeRect(0, 0, 12, 12), true, EmptyCacheInfo, md, *master, -4, false);
  EXPECT_EQ(CountColor(*dst, clRed), 144);
}

TEST(DrawMaskRect, SidesStretchOrTileByStretchMode) {
  auto master = MakeBmp(30, 30, clWhite);
  FillRect(*master, 0, 10, 10, 15, clRed);
  FillRect(*master, 0, 15, 10, 20, clLime);
  TsMaskData md = Mask(MakeRect(0, 0, 30, 30), 1, 0, 10, 10, 10, 10);
  auto stretched = MakeBmp(30, 100, clBlack);
  md.StretchMode = 1;
  DrawMaskRect(*stretched, MakeRect(0, 0, 30, 100), false, EmptyCacheInfo, md, *master, 0, false);
  EXPECT_EQ(Px(*stretched, 0, 45), clRed);
  EXPECT_EQ(Px(*stretched, 0, 55), clLime);
  auto tiled = MakeBmp(30, 100, clBlack);
  md.StretchMode = 0;
  DrawMaskRect(*tiled, MakeRect(0, 0, 30, 100), false, EmptyCacheInfo, md, *master, 0, false);
  EXPECT_EQ(Px(*tiled, 0, 45), clLime);
  EXPECT_EQ(Px(*tiled, 0, 50), clRed);
  EXPECT_EQ(Px(*tiled, 15, 50), clBlack);  // no centre without DrawCenter
}

TEST(DrawMaskRect, CornersShowTheParentThroughFuchsia) {
  auto master = MakeBmp(12, 12, clRed);
  SetPx(*master, 0, 0, clFuchsia);
  TsMaskData md = Mask(MakeRect(0, 0, 12, 12), 1, 0, 4, 4, 4, 4);
  auto parent = MakeBmp(50, 50, clLime);
  SetPx(*parent, 7, 9, clBlue);
  auto dst = MakeBmp(20, 20, clBlack);
  TCacheInfo ci = MakeCacheInfo(parent.get(), 7, 9);
  DrawMaskRect(*dst, MakeRect(0, 0, 20, 20), true, ci, md, *master, 0, true);
  EXPECT_EQ(Px(*dst, 0, 0), clBlue);
  auto dst2 = MakeBmp(20, 20, clBlack);
  DrawMaskRect(*dst2, MakeRect(0, 0, 20, 20), true, ci, md, *master, 0, false);
  EXPECT_EQ(Px(*dst2, 0, 0), clBlack);  // without UseParentBG it stays
}

TEST(DrawMaskRect, FaultyInputsPaintNothingOutsideTheBitmap) {
  auto master = Coded(40, 40);
  struct Case {
    TRect r;
    TsMaskData md;
  };
  std::vector<Case> cases;
  cases.push_back({MakeRect(-50, -50, -10, -10), Mask(MakeRect(0, 0, 40, 40), 1, 0, 5, 5, 5, 5)});
  cases.push_back({MakeRect(30, 30, 200, 200), Mask(MakeRect(0, 0, 40, 40), 1, 0, 5, 5, 5, 5)});
  cases.push_back({MakeRect(0, 0, 10, 10), Mask(MakeRect(0, 0, 40, 40), 1, 0, 90, 90, 90, 90)});
  cases.push_back({MakeRect(0, 0, 10, 10), Mask(MakeRect(0, 0, 40, 40), 0, 0, 5, 5, 5, 5)});
  cases.push_back({MakeRect(0, 0, 10, 10), Mask(MakeRect(0, 0, 40, 40), 80, 0, 5, 5, 5, 5)});
  cases.push_back({MakeRect(0, 0, 10, 10), Mask(MakeRect(20, 20, 90, 90), 1, 1, 5, 5, 5, 5)});
  cases.push_back({MakeRect(5, 5, 2, 2), Mask(MakeRect(0, 0, 40, 40), 1, 0, 5, 5, 5, 5)});
  // Huge areas over one-pixel pieces: only the pieces on the bitmap are visited.
  const TRect huge = MakeRect(-1000000, -1000000, 1000000, 1000000);
  cases.push_back({huge, Mask(MakeRect(0, 0, 3, 3), 1, 0, 1, 1, 1, 1)});
  cases.push_back({huge, Mask(MakeRect(0, 0, 3, 6), 1, 1, 1, 1, 1, 1)});
  for (Case& c : cases) {
    auto dst = MakeBmp(40, 40, clBlue);
    DrawMaskRect(*dst, c.r, true, EmptyCacheInfo, c.md, *master, 3, true);
    PaintMaskWithRgn(*dst, nullptr, true, c.md, *master, -3);
  }
  // Only the part of R inside the bitmap changes.
  auto dst = MakeBmp(40, 40, clBlue);
  DrawMaskRect(*dst, MakeRect(30, 30, 200, 200), true, EmptyCacheInfo, cases[1].md, *master, 0,
               false);
  EXPECT_EQ(Px(*dst, 29, 39), clBlue);
  EXPECT_EQ(Px(*dst, 39, 29), clBlue);
  EXPECT_NE(Px(*dst, 30, 30), clBlue);
}

TEST(MaskType1, MaskByteWeightsImageAgainstDestination) {
  // 2 x 4 image: rows 0-1 the picture, rows 2-3 its mask.
  auto img = MakeBmp(2, 4, clBlack);
  SetPx(*img, 0, 2, Grey(0));
  SetPx(*img, 1, 2, Grey(255));
  TsMaskData md = Mask(MakeRect(0, 0, 2, 4), 1, 1, 0, 0, 0, 0);
  auto dst = MakeBmp(2, 2, Grey(200));
  CopyByMask(MakeRect(0, 0, 2, 2), MakeRect(0, 0, 2, 2), *dst, *img, EmptyCacheInfo, false, md);
  EXPECT_EQ(Px(*dst, 0, 0), clBlack);    // mask 0: the image byte
  EXPECT_EQ(Px(*dst, 1, 0), Grey(199));  // (200 * 255) shr 8
}

TEST(CopyByMask, NegativeDestinationStartsFurtherIntoTheSource) {
  auto img = Coded(10, 8);
  for (int y = 4; y < 8; ++y) FillRect(*img, 0, y, 10, y + 1, Grey(0));  // mask: take the image
  TsMaskData md = Mask(MakeRect(0, 0, 10, 8), 1, 1, 0, 0, 0, 0);
  auto dst = MakeBmp(10, 4, clBlue);
  CopyByMask(MakeRect(-3, 0, 7, 4), MakeRect(0, 0, 10, 4), *dst, *img, EmptyCacheInfo, false, md);
  EXPECT_EQ(ColOf(Px(*dst, 0, 1)), 3);
  EXPECT_EQ(ColOf(Px(*dst, 6, 1)), 9);
  EXPECT_EQ(Px(*dst, 7, 1), clBlue);  // three columns narrower
}

TEST(CopyByMask, FuchsiaRulesOfTheMaskedCopies) {
  auto img = MakeBmp(2, 4, clFuchsia);
  FillRect(*img, 0, 2, 2, 4, Grey(0));
  TsMaskData md = Mask(MakeRect(0, 0, 2, 4), 1, 1, 0, 0, 0, 0);
  auto parent = MakeBmp(10, 10, clLime);
  const TCacheInfo ci = MakeCacheInfo(parent.get(), 1, 1);
  const TRect r = MakeRect(0, 0, 2, 2);
  // CopyMasterRect: MaskFillColor wins even over a ready parent image.
  MaskFillColor = 0xFF0100;
  auto a = MakeBmp(2, 2, clBlack);
  CopyMasterRect(r, r, *a, ci, md, *img);
  EXPECT_EQ(CountColor(*a, 0xFF0100), 4);
  MaskFillColor = clFuchsia;
  auto b = MakeBmp(2, 2, clBlack);
  CopyMasterRect(r, r, *b, EmptyCacheInfo, md, *img);
  EXPECT_EQ(CountColor(*b, clBlack), 4);
  CopyMasterRect(r, r, *b, ci, md, *img);
  EXPECT_EQ(CountColor(*b, clLime), 4);
  // CopyByHalfMask without a ready parent weights fuchsia like any pixel.
  auto c = MakeBmp(2, 2, clBlack);
  CopyByHalfMask(r, r, *c, *img, EmptyCacheInfo, true);
  EXPECT_EQ(CountColor(*c, clFuchsia), 4);
  auto d = MakeBmp(2, 2, clBlack);
  CopyByHalfMask(r, r, *d, *img, ci, false);
  EXPECT_EQ(CountColor(*d, clBlack), 4);
  // CopyByMask with UseCI and no parent image writes clFuchsia (no fill set).
  auto e = MakeBmp(2, 2, clBlack);
  CopyByMask(r, r, *e, *img, EmptyCacheInfo, true, md);
  EXPECT_EQ(CountColor(*e, clFuchsia), 4);
  // A parent position outside the parent's bitmap leaves the pixel.
  auto f = MakeBmp(2, 2, clBlack);
  CopyByMask(r, r, *f, *img, MakeCacheInfo(parent.get(), 9, 9), true, md);
  EXPECT_EQ(Px(*f, 0, 0), clLime);
  EXPECT_EQ(Px(*f, 1, 1), clBlack);
}

TEST(CopyTransRect, InclusiveRectAndParentPixels) {
  auto src = MakeBmp(12, 12, clRed);
  SetPx(*src, 2, 3, clFuchsia);
  auto dst = MakeBmp(12, 12, clBlack);
  CopyTransRect(*dst, *src, 0, 0, MakeRect(0, 0, 9, 9), clFuchsia, EmptyCacheInfo, true);
  EXPECT_EQ(CountColor(*dst, clRed), 99);  // 10 x 10 less the transparent pixel
  EXPECT_EQ(Px(*dst, 2, 3), clBlack);
  auto parent = MakeBmp(6, 6, clLime);
  CopyTransRect(*dst, *src, 0, 0, MakeRect(0, 0, 9, 9), clFuchsia, MakeCacheInfo(parent.get(), 1, 1),
                true);
  EXPECT_EQ(Px(*dst, 2, 3), clLime);
  // Negative source edges move the destination; outside rows are skipped.
  auto g = MakeBmp(4, 4, clBlack);
  CopyTransRect(*g, *src, 2, 2, MakeRect(-1, -1, 20, 20), clFuchsia, EmptyCacheInfo, false);
  EXPECT_EQ(Px(*g, 2, 2), clBlack);
  EXPECT_EQ(Px(*g, 3, 3), clRed);
  CopyTransBmp(*g, *src, -11, -11, clFuchsia);
  EXPECT_EQ(Px(*g, 0, 0), clRed);
  EXPECT_EQ(Px(*g, 1, 1), clBlack);
}

TEST(PaintMaskWithRgn, CutsRoundedCornersFromTheRegion) {
  auto img = MakeBmp(12, 12, clRed);
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {11, 0}, {0, 11}, {11, 11}, {10, 11}})
    SetPx(*img, x, y, clFuchsia);
  TsMaskData md = Mask(MakeRect(0, 0, 12, 12), 1, 0, 4, 4, 4, 4);
  auto dst = MakeBmp(30, 20, clBlack);
  UniqueRgn rgn(::CreateRectRgn(0, 0, 30, 20));
  PaintMaskWithRgn(*dst, rgn.get(), true, md, *img, 0);
  for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {29, 0}, {0, 19}, {29, 19}, {28, 19}})
    EXPECT_FALSE(::PtInRegion(rgn.get(), x, y)) << x << "," << y;
  for (auto [x, y] : {std::pair{2, 0}, {1, 1}, {15, 10}, {28, 0}, {27, 19}})
    EXPECT_TRUE(::PtInRegion(rgn.get(), x, y)) << x << "," << y;
  EXPECT_EQ(Px(*dst, 0, 0), clBlack);  // transparent corner pixels are not copied
  EXPECT_EQ(CountColor(*dst, clRed), 600 - 7);
}

TEST(DrawMaskRect, GreyMaskedSidesAndCentreTileWithTheirMask) {
  // 12 x 12 image over its 12 x 12 mask; margins 3 leave a 6 x 6 inner piece.
  auto img = MakeBmp(12, 24, clBlack);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      SetPx(*img, x, y, static_cast<TColor>((x * 20) | ((y * 20) << 8) | (77 << 16)));
      SetPx(*img, x, y + 12, Grey((x * 37 + y * 11) % 256));
    }
  TsMaskData md = Mask(MakeRect(0, 0, 12, 24), 1, 1, 3, 3, 3, 3);
  auto weigh = [](int d, int s, int m) { return ((d - s) * m + s * 256) >> 8; };
  auto expected = [&](int sx, int sy) {
    TColor s = Px(*img, sx, sy), m = Px(*img, sx, sy + 12);
    TColor out = 0;
    for (int shift = 0; shift < 24; shift += 8)
      out |= static_cast<TColor>(weigh(200, (s >> shift) & 0xFF, (m >> shift) & 0xFF)) << shift;
    return out;
  };
  // Inside the bitmap, and hanging over its edges: the same pixels where shown.
  for (TRect r : {MakeRect(0, 0, 40, 31), MakeRect(-5, -4, 35, 27)}) {
    auto dst = MakeBmp(40, 31, Grey(200));
    DrawMaskRect(*dst, r, true, EmptyCacheInfo, md, *img, 0, false);
    for (int y = 3; y < HeightOf(r) - 3; ++y)
      for (int x = 0; x < WidthOf(r) - 3; ++x) {
        int px = r.left + x, py = r.top + y;
        if (px < 0 || py < 0 || px >= 40 || py >= 31) continue;
        int sx = x < 3 ? x : 3 + (x - 3) % 6, sy = 3 + (y - 3) % 6;
        ASSERT_EQ(Px(*dst, px, py), expected(sx, sy)) << x << "," << y << " in " << r.left;
      }
  }
}
