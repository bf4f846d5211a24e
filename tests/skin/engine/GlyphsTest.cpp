#include <gtest/gtest.h>

#include <cmath>

#include "framework/Controls.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinUtils.h"
#include "tests/skin/engine/PixelTestUtil.h"

using namespace skintest;

namespace {

std::unique_ptr<TBitmap> Coded(int w, int h) {
  auto b = MakeBmp(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) SetPx(*b, x, y, static_cast<TColor>(x | (y << 8)));
  return b;
}

TsMaskData Glyph(TRect r, int count, int maskType) {
  TsMaskData m;
  m.R = r;
  m.ImageCount = static_cast<int16_t>(count);
  m.MaskType = static_cast<int16_t>(maskType);
  m.ImgType = itisaGlyph;
  return m;
}

}  // namespace

TEST(DrawSkinGlyph, NegativePositionClipsIntoTheCell) {
  auto master = Coded(64, 16);  // four 16-pixel cells
  TsMaskData md = Glyph(MakeRect(0, 0, 64, 16), 4, 0);
  auto dst = MakeBmp(20, 16, clFuchsia);
  DrawSkinGlyph(*dst, TPoint{-2, 0}, 0, 1, md, *master);
  for (int x = 0; x <= 13; ++x) EXPECT_EQ(Px(*dst, x, 5) & 0xFF, static_cast<TColor>(x + 2));
  EXPECT_EQ(Px(*dst, 14, 5), clFuchsia);
}

TEST(DrawSkinGlyph, StateBeyondTheCellsDrawsTheLastCell) {
  auto master = Coded(64, 16);
  TsMaskData md = Glyph(MakeRect(0, 0, 64, 16), 4, 0);
  auto dst = MakeBmp(16, 16, clBlack);
  DrawSkinGlyph(*dst, TPoint{0, 0}, 9, 1, md, *master);
  EXPECT_EQ(Px(*dst, 0, 3) & 0xFF, 48u);
  EXPECT_EQ(Px(*dst, 15, 3) & 0xFF, 63u);
}

TEST(DrawSkinGlyph, OtherModesHalfBlendAndSkipFuchsia) {
  auto master = MakeBmp(4, 2, Grey(100));
  SetPx(*master, 1, 1, clFuchsia);
  TsMaskData md = Glyph(MakeRect(0, 0, 4, 2), 2, 0);
  auto dst = MakeBmp(2, 2, Grey(201));
  DrawSkinGlyph(*dst, TPoint{0, 0}, 0, 0, md, *master);
  EXPECT_EQ(Px(*dst, 0, 0), Grey(150));  // Round(150.5)
  EXPECT_EQ(Px(*dst, 1, 1), Grey(201));
}

TEST(CopyGlyphRect, MaskedCellsUseAFainterMaskWhenNotNormal) {
  // 1 x 2 cell over its mask: image byte 0, mask byte 100.
  auto img = MakeBmp(1, 2, clBlack);
  SetPx(*img, 0, 1, Grey(100));
  TsMaskData md = Glyph(MakeRect(0, 0, 1, 2), 1, 1);
  auto normal = MakeBmp(1, 1, Grey(200));
  DrawSkinGlyph(*normal, TPoint{0, 0}, 0, 1, md, *img);
  EXPECT_EQ(Px(*normal, 0, 0), Grey(78));  // (200 * 100) shr 8
  auto faint = MakeBmp(1, 1, Grey(200));
  DrawSkinGlyph(*faint, TPoint{0, 0}, 0, 0, md, *img);
  EXPECT_EQ(Px(*faint, 0, 0), Grey(156));  // (200 * 200) shr 8
}

TEST(DrawBtnGlyph, SingleCellBlendsOverTheTarget) {
  auto glyph = MakeBmp(3, 3, Grey(100));
  SetPx(*glyph, 0, 2, clLime);  // bottom-left: the transparent colour
  SetPx(*glyph, 2, 0, clLime);
  auto dst = MakeBmp(5, 5, Grey(201));
  DrawBtnGlyph(*glyph, *dst, TPoint{1, 1}, 1, true, false, dgBlended, 0, 40);
  const int mixed = static_cast<int>(std::nearbyint(100 - (100 - 201) * 0.4));
  EXPECT_EQ(Px(*dst, 1, 1), Grey(mixed));
  EXPECT_EQ(Px(*dst, 3, 1), Grey(201));  // transparent
  EXPECT_EQ(Px(*dst, 0, 0), Grey(201));  // outside the glyph
  // Pressed: no blend, plain copy.
  auto pressed = MakeBmp(5, 5, Grey(201));
  DrawBtnGlyph(*glyph, *pressed, TPoint{1, 1}, 1, true, false, dgBlended, 2, 40);
  EXPECT_EQ(Px(*pressed, 1, 1), Grey(100));
}

TEST(DrawBtnGlyph, DisabledGreyKeepsTheTransparentColour) {
  auto glyph = MakeBmp(2, 2, 0x0000FF);
  SetPx(*glyph, 0, 1, clFuchsia);
  auto dst = MakeBmp(2, 2, clBlack);
  DrawBtnGlyph(*glyph, *dst, TPoint{0, 0}, 1, false, false, dgGrayed, 0, 0);
  EXPECT_EQ(Px(*dst, 0, 0), Grey(85));
  EXPECT_EQ(Px(*dst, 0, 1), clBlack);
}

TEST(DrawBtnGlyph, MultiCellPicksTheCellByState) {
  auto glyph = MakeBmp(8, 2, clWhite);  // four 2-pixel cells
  FillRect(*glyph, 0, 0, 2, 1, clRed);
  FillRect(*glyph, 2, 0, 4, 1, clLime);
  FillRect(*glyph, 6, 0, 8, 1, clBlue);
  SetPx(*glyph, 0, 1, clFuchsia);
  const struct {
    bool enabled;
    int state;
    TColor expected;
  } cases[] = {{true, 0, clRed}, {true, 1, clRed}, {true, 2, clBlue}, {false, 2, clLime}};
  for (const auto& c : cases) {
    auto dst = MakeBmp(2, 2, clBlack);
    DrawBtnGlyph(*glyph, *dst, TPoint{0, 0}, 4, c.enabled, false, 0, c.state, 0);
    EXPECT_EQ(Px(*dst, 1, 0), c.expected) << c.enabled << " " << c.state;
  }
}

TEST(ApplyDisabledKind, GreyThenHalfWithTheParentColour) {
  TWinControl parent(nullptr);
  parent.SetColor(clBlack);
  auto bmp = MakeBmp(3, 3, clWhite);
  ApplyDisabledKind(*bmp, dkGrayed | dkBlended, &parent, EmptyCacheInfo, TPoint{0, 0});
  // (255 + 255 + 255) div 3 = 255, then Round(255 * 0.5 + 0 * 0.5) = 128.
  EXPECT_EQ(CountColor(*bmp, Grey(128)), 9);
}

TEST(ApplyDisabledKind, ParentImageWeighsSixTenths) {
  auto parentImg = MakeBmp(10, 10, Grey(0));
  FillRect(*parentImg, 2, 3, 10, 10, Grey(100));
  auto bmp = MakeBmp(2, 2, Grey(200));
  ApplyDisabledKind(*bmp, dkBlended, nullptr, MakeCacheInfo(parentImg.get(), 1, 1), TPoint{1, 2});
  // Round(100 * 0.6 + 200 * 0.4) = 140.
  EXPECT_EQ(CountColor(*bmp, Grey(140)), 4);
  // BGFillColor stands for the parent when it is set.
  BGFillColor = clWhite;
  auto other = MakeBmp(2, 2, clBlack);
  ApplyDisabledKind(*other, dkBlended, nullptr, EmptyCacheInfo, TPoint{0, 0});
  BGFillColor = clFuchsia;
  EXPECT_EQ(CountColor(*other, Grey(128)), 4);
}
