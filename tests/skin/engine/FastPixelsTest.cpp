#include <gtest/gtest.h>

#include "skin/engine/SkinUtils.h"
#include "skin/engine/FastPixels.h"
#include "tests/skin/engine/PixelTestUtil.h"

using namespace skintest;

TEST(TacFast24, AttachNeedsTwoByTwo) {
  auto thin = MakeBmp(1, 100);
  TacFast24 f;
  EXPECT_FALSE(f.Attach(*thin));
  EXPECT_EQ(f.Width, 0);
  auto ok = MakeBmp(2, 2);
  ASSERT_TRUE(f.Attach(*ok));
  f.SetPixel(1, 1, 0x12345678);
  EXPECT_EQ(f.GetPixel(1, 1), 0x345678u);  // the fourth byte is ignored
  EXPECT_EQ(Px(*ok, 1, 1), 0x345678u);
}

TEST(TacFast32, SetPixelWritesAlphaFromHighByte) {
  auto b = MakeBmp(2, 2, clBlack, pf32bit);
  TacFast32 f;
  ASSERT_TRUE(f.Attach(*b));
  f.SetPixel(0, 1, 0x80102030);
  const uint8_t* p = TacBmpView(*b).Pixel(0, 1);
  EXPECT_EQ(p[0], 0x10);
  EXPECT_EQ(p[1], 0x20);
  EXPECT_EQ(p[2], 0x30);
  EXPECT_EQ(p[3], 0x80);
}

struct SumCase {
  int d, s, alpha, expected;
};

TEST(SumBitmaps, BlendsWithRoundingTermAtTheExtremes) {
  const SumCase cases[] = {
      {0, 100, 0, 100},     {0, 127, 0, 127},   {0, 128, 0, 127},
      {0, 255, 0, 254},     {255, 0, 255, 254}, {200, 100, 128, 150},
      {10, 10, 255, 10},
  };
  for (const SumCase& c : cases) {
    auto dst = MakeBmp(3, 2, Grey(c.d));
    auto src = MakeBmp(3, 2, Grey(c.s));
    SumBitmaps(*dst, *src, static_cast<uint8_t>(c.alpha));
    EXPECT_EQ(Px(*dst, 2, 1), Grey(c.expected)) << c.d << " " << c.s << " " << c.alpha;
    EXPECT_EQ(CountColor(*dst, Grey(c.expected)), 6);
  }
}

TEST(SumBmpRect, TransparentSectionOverItsParent) {
  // A section 40 % transparent: alpha 40 * 255 div 100 = 102 keeps the parent.
  auto parent = MakeBmp(4, 4, 0xFF0000);
  auto own = MakeBmp(2, 2, 0x0000FF);
  SumBmpRect(*parent, *own, ClampByte(40 * 255 / 100), MakeRect(0, 0, 2, 2), TPoint{1, 1});
  // Red (255 * 153 + 0 * 102 + 127) shr 8 = 152; blue (255 * 102 + 127) shr 8 = 102.
  EXPECT_EQ(Px(*parent, 1, 1), 0x660098u);
  EXPECT_EQ(Px(*parent, 2, 2), 0x660098u);
  EXPECT_EQ(Px(*parent, 3, 3), 0xFF0000u);
}

TEST(SumBitmaps, WideRowsMatchTheFormulaByteForByte) {
  // 37 pixels: 111 bytes a row, through the wide loops and their tails.
  auto dst = MakeBmp(37, 3);
  auto src = MakeBmp(37, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 37; ++x) {
      SetPx(*dst, x, y, static_cast<TColor>((x * 7 + y) * 0x010305u) & 0xFFFFFF);
      SetPx(*src, x, y, static_cast<TColor>((x * 13 + y * 5) * 0x050301u) & 0xFFFFFF);
    }
  for (int alpha : {0, 1, 77, 128, 254, 255}) {
    auto d = MakeBmp(37, 3);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 37; ++x) SetPx(*d, x, y, Px(*dst, x, y));
    SumBitmaps(*d, *src, static_cast<uint8_t>(alpha));
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 37; ++x)
        for (int shift = 0; shift < 24; shift += 8) {
          int dv = (Px(*dst, x, y) >> shift) & 0xFF, sv = (Px(*src, x, y) >> shift) & 0xFF;
          int expected = (dv * alpha + sv * (255 - alpha) + 127) >> 8;
          ASSERT_EQ(static_cast<int>((Px(*d, x, y) >> shift) & 0xFF), expected)
              << alpha << " at " << x << "," << y;
        }
  }
}

TEST(SumBitmaps, DifferentSizesLeaveDestination) {
  auto dst = MakeBmp(3, 3, clWhite);
  auto src = MakeBmp(3, 2, clBlack);
  SumBitmaps(*dst, *src, 0);
  EXPECT_EQ(CountColor(*dst, clWhite), 9);
}

namespace {
// Source whose red byte is the column and green byte the row.
std::unique_ptr<TBitmap> CodedSource(int w, int h) {
  auto b = MakeBmp(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetPx(*b, x, y, static_cast<TColor>(x | (y << 8)));
  return b;
}
}  // namespace

TEST(SumBmpRect, NegativeDestinationCutsTheSourceLeftEdge) {
  auto src = CodedSource(10, 10);
  auto dst = MakeBmp(10, 10, clWhite);
  SumBmpRect(*dst, *src, 0, MakeRect(0, 0, 10, 10), TPoint{-3, 0});
  // Alpha 0 gives (S * 255 + 127) shr 8 = S for these small bytes.
  for (int x = 0; x < 7; ++x) EXPECT_EQ(Px(*dst, x, 4), static_cast<TColor>((x + 3) | (4 << 8)));
  for (int x = 7; x < 10; ++x) EXPECT_EQ(Px(*dst, x, 4), clWhite);
}

TEST(SumBmpRect, ReadsTheRowsOfSrcRect) {
  auto src = CodedSource(10, 20);
  auto dst = MakeBmp(10, 10, clWhite);
  SumBmpRect(*dst, *src, 0, MakeRect(0, 5, 10, 15), TPoint{0, 0});
  for (int y = 0; y < 10; ++y) EXPECT_EQ(Px(*dst, 2, y), static_cast<TColor>(2 | ((y + 5) << 8)));
}

TEST(SumBmpRect, RectanglesOutsideEitherBitmapPaintNothing) {
  auto src = CodedSource(10, 10);
  auto dst = MakeBmp(6, 6, clWhite);
  const struct {
    TRect r;
    TPoint p;
  } cases[] = {
      {MakeRect(0, 0, 10, 10), TPoint{6, 0}},      {MakeRect(0, 0, 10, 10), TPoint{0, 50}},
      {MakeRect(5, 5, 2, 2), TPoint{0, 0}},         {MakeRect(20, 0, 30, 10), TPoint{0, 0}},
      {MakeRect(0, 0, 10, 10), TPoint{-10, -10}},
  };
  for (const auto& c : cases) SumBmpRect(*dst, *src, 0, c.r, c.p);
  EXPECT_EQ(CountColor(*dst, clWhite), 36);
  // A rectangle passing the right and bottom edges is cut there.
  SumBmpRect(*dst, *src, 0, MakeRect(0, 0, 10, 10), TPoint{4, 4});
  EXPECT_EQ(Px(*dst, 5, 5), static_cast<TColor>(1 | (1 << 8)));
  EXPECT_EQ(CountColor(*dst, clWhite), 32);
}

TEST(BlendTransBmp, MixesHalfToEvenAndSkipsTransparentPixels) {
  auto src = MakeBmp(4, 2, Grey(100));
  SetPx(*src, 1, 0, clFuchsia);
  auto dst = MakeBmp(4, 2, Grey(201));
  BlendTransBmp(*dst, 0, 0, *src, MakeRect(0, 0, 3, 1), 0.5, clFuchsia);
  // Round(100 - (100 - 201) * 0.5) = Round(150.5) = 150.
  EXPECT_EQ(Px(*dst, 0, 0), Grey(150));
  EXPECT_EQ(Px(*dst, 1, 0), Grey(201));
  EXPECT_EQ(Px(*dst, 3, 1), Grey(150));  // Right and Bottom are inclusive
  // A transparent colour with high byte 255 means none: fuchsia is mixed too.
  auto dst2 = MakeBmp(4, 2, clBlack);
  BlendTransBmp(*dst2, 0, 0, *src, MakeRect(0, 0, 3, 1), 0.0, 0xFF000000u | clFuchsia);
  EXPECT_EQ(Px(*dst2, 1, 0), clFuchsia);
}

TEST(BlendColorRect, RectangleIsRightAndBottomExclusiveAndClipped) {
  auto b = MakeBmp(10, 10, clWhite);
  BlendColorRect(*b, MakeRect(0, 0, 10, 10), 50, clBlack);
  // Round(255 * 0.5 + 0 * 0.5) = Round(127.5) = 128.
  EXPECT_EQ(CountColor(*b, Grey(128)), 100);
  auto c = MakeBmp(10, 10, clWhite);
  BlendColorRect(*c, MakeRect(8, 8, 30, 30), 0, clBlack);
  EXPECT_EQ(CountColor(*c, clBlack), 4);
  BlendColorRect(*c, MakeRect(-5, -5, 2, 1), 0, clBlack);
  EXPECT_EQ(CountColor(*c, clBlack), 6);
  BlendColorRect(*c, MakeRect(5, 5, 2, 2), 0, clBlack);  // inverted: nothing
  EXPECT_EQ(CountColor(*c, clBlack), 6);
}

TEST(ColorMixing, ExactValues) {
  EXPECT_EQ(MixColorsHalf(0x000000, 0xFFFFFF), 0x808080u);
  EXPECT_EQ(MixColorsHalf(0xFF000000u, 0x000000), 0u);  // fourth byte 0
  EXPECT_EQ(MidColor(0xFFFFFF, 0x000000), 0x7E7E7Eu);  // (255 * 127) shr 8 = 126
  EXPECT_EQ(BlendColors(0x0000FF, 0x000000, 0.5), 0x000080u);
  EXPECT_EQ(BlendColors(0x0000FD, 0x000000, 0.5), 0x00007Eu);  // Round(126.5) = 126
  EXPECT_EQ(BlendColors(0xAB000000u, 0x000000, 1.0), 0xAB000000u);
  EXPECT_EQ(MixPercent(50, 20), 60);
}

TEST(MaskWeighting, ApplyMaskColorAndBlendByMask) {
  // B := ((B - c) * m + c * 256) shr 8 with c = 0: m = 255 keeps almost B.
  auto bmp = MakeBmp(2, 2, Grey(200));
  auto mask = MakeBmp(2, 2, Grey(255));
  SetPx(*mask, 1, 1, Grey(0));
  ApplyMaskColor(*bmp, *mask, clBlack);
  EXPECT_EQ(Px(*bmp, 0, 0), Grey(199));
  EXPECT_EQ(Px(*bmp, 1, 1), Grey(0));
  auto other = MakeBmp(3, 2, Grey(9));
  ApplyMaskColor(*other, *mask, clWhite);  // sizes differ: nothing
  EXPECT_EQ(CountColor(*other, Grey(9)), 6);

  auto dst = MakeBmp(2, 2, Grey(200));
  auto src = MakeBmp(2, 2, Grey(0));
  BlendByMask(*dst, *src, *mask, MakeRect(0, 0, 2, 2));
  EXPECT_EQ(Px(*dst, 0, 0), Grey(199));  // (200 * 255) shr 8
  EXPECT_EQ(Px(*dst, 1, 1), Grey(0));    // mask 0 gives the source
  BlendByMask(*dst, *src, *mask, MakeRect(0, 0, 3, 2));  // wider than Dst
  EXPECT_EQ(Px(*dst, 0, 0), Grey(199));
}

TEST(MixBitmapsTo32, WeightsColourBytesAndKeepsAlpha) {
  auto dst = MakeBmp(2, 2, clBlack, pf32bit);
  TacBmpView(*dst).Pixel(1, 0)[3] = 0x77;
  auto s1 = MakeBmp(2, 2, Grey(255));
  auto s2 = MakeBmp(2, 2, Grey(0));
  MixBitmapsTo32(*dst, *s1, *s2, 128, TacBmpView());
  const uint8_t* p = TacBmpView(*dst).Pixel(1, 0);
  EXPECT_EQ(p[0], 127);  // (255 * 128) shr 8
  EXPECT_EQ(p[3], 0x77);
  auto mask = MakeBmp(2, 2, Grey(256 - 1));
  MixBitmapsTo32(*dst, *s1, *s2, 0, *mask);
  EXPECT_EQ(TacBmpView(*dst).Pixel(0, 0)[2], 254);
}

TEST(GrayScale, AveragesAndKeepsTransparentPixels) {
  auto b = MakeBmp(2, 1, 0x0000FF);
  SetPx(*b, 1, 0, clFuchsia);
  GrayScaleTrans(*b, clFuchsia);
  EXPECT_EQ(Px(*b, 0, 0), Grey(85));
  EXPECT_EQ(Px(*b, 1, 0), clFuchsia);
  GrayScale(*b);
  EXPECT_EQ(Px(*b, 1, 0), Grey(170));
}
