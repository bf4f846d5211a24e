// Pixel checks of the painting primitives with the WLM internal skin: a
// control's whole image, transparency over a parent image, corner images,
// items, textures and the border copy.
#include <gtest/gtest.h>

#include "skin/engine/Corners.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/Masks.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinUtils.h"
#include "tests/skin/engine/PixelTestUtil.h"
#include "tests/skin/engine/SkinnedTestControls.h"

using namespace skintest;

namespace {

// A distinct colour per pixel of a parent image.
TColor PatternAt(int x, int y) { return static_cast<TColor>((x & 0xFF) | ((y & 0xFF) << 8) | 0x400000); }

void FillPattern(TBitmap& b) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) SetPx(b, x, y, PatternAt(x, y));
}

class PaintSkin : public SkinnedForm {
 protected:
  // Adds an image of W x H cells (Cells across) to the master bitmap, drawn
  // by Paint(x, y, cell), and a mask record for it; returns its index.
  int AddImage(const std::wstring& section, const std::wstring& name, int cellW, int cellH,
               int cells, const std::function<TColor(int, int, int)>& paint) {
    TBitmap& master = *manager->MasterBitmap;
    const int x0 = master.Width();
    master.SetSize(x0 + cellW * cells, MaxOf(master.Height(), cellH));
    for (int c = 0; c < cells; ++c)
      for (int y = 0; y < cellH; ++y)
        for (int x = 0; x < cellW; ++x) SetPx(master, x0 + c * cellW + x, y, paint(x, y, c));
    TsMaskData md;
    md.SectionName = section;
    md.PropertyName = name;
    md.R = MakeRect(x0, 0, x0 + cellW * cells, cellH);
    md.ImageCount = static_cast<int16_t>(cells);
    md.MaskType = 0;
    md.ImgType = itisaGlyph;
    md.Manager = manager.get();
    manager->ma.push_back(std::move(md));
    return static_cast<int>(manager->ma.size()) - 1;
  }
};

}  // namespace

TEST_F(PaintSkin, ControlImageHasSectionColourInsideAndTheBorderMaskAtItsEdges) {
  TTestSkinned* c = Add(ckPanel, 0, 0, 100, 50);
  TsCommonData& sd = *c->SkinData;
  ASSERT_GE(sd.BorderIndex, 0);
  const TColor color = ColorToRGB(Sec(L"PANEL").Color);
  auto dst = MakeBmp(100, 50, clBlack);
  PaintSkinControl(&sd, EmptyCacheInfo, false, 0, MakeRect(0, 0, 100, 50), TPoint{0, 0},
                   dst.get(), false);
  EXPECT_EQ(color, Px(*dst, 50, 25));
  EXPECT_EQ(clFuchsia, BGFillColor);
  EXPECT_EQ(clFuchsia, MaskFillColor);

  // The edges are the border image drawn over the section colour.
  auto ref = MakeBmp(100, 50, color);
  MaskFillColor = ColorToRGB(form->Color());
  DrawMaskRect(TacBmpView(*ref), MakeRect(0, 0, 100, 50), false, EmptyCacheInfo,
               manager->ma[sd.BorderIndex], TacBmpView(manager->MasterBitmap.get()), 0, false);
  MaskFillColor = clFuchsia;
  int differ = 0, edge = 0;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 100; ++x) {
      differ += Px(*dst, x, y) != Px(*ref, x, y);
      if (x == 0 || y == 0 || x == 99 || y == 49) edge += Px(*dst, x, y) != color;
    }
  EXPECT_EQ(0, differ);
  EXPECT_GT(edge, 0);
}

TEST_F(PaintSkin, CornerImagesSitInTheirCorners) {
  // IMGBTMRIGHT of 2 states, 20 x 10: cell 0 red, cell 1 green, each with a
  // transparent top-left pixel.
  const int img = AddImage(L"PANEL", L"IMGBTMRIGHT", 10, 10, 2, [](int x, int y, int cell) {
    if (x == 0 && y == 0) return clFuchsia;
    return cell == 0 ? clRed : clLime;
  });
  TTestSkinned* c = Add(ckPanel, 0, 0, 100, 50);
  EXPECT_EQ(img, c->SkinData->Corners.BtmRight);
  auto dst = MakeBmp(100, 50, clBlack);
  for (int state : {0, 1}) {
    PaintSkinControl(c->SkinData.get(), EmptyCacheInfo, false, state, MakeRect(0, 0, 100, 50),
                     TPoint{0, 0}, dst.get(), false);
    const TColor cell = state == 0 ? clRed : clLime;
    EXPECT_EQ(cell, Px(*dst, 91, 40)) << state;
    EXPECT_EQ(cell, Px(*dst, 99, 49)) << state;
    EXPECT_NE(cell, Px(*dst, 90, 40)) << state;  // transparent pixel
    EXPECT_NE(cell, Px(*dst, 89, 45)) << state;
    EXPECT_NE(cell, Px(*dst, 95, 39)) << state;
  }
}

TEST_F(PaintSkin, TopCornersFromTheInternalSkin) {
  // BARTITLE carries an IMGTOPRIGHT glyph of three 7 x 7 cells.
  TTestSkinned* c = Add(ckPanel, 0, 0, 60, 30);
  c->SkinData->SetSkinSection(L"BARTITLE");
  const int corner = c->SkinData->Corners.TopRight;
  ASSERT_GE(corner, 0);
  const TsMaskData& md = manager->ma[corner];
  auto dst = MakeBmp(60, 30, clBlack);
  PaintSkinControl(c->SkinData.get(), EmptyCacheInfo, false, 0, MakeRect(0, 0, 60, 30),
                   TPoint{0, 0}, dst.get(), false);
  int checked = 0;
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 7; ++x) {
      const TColor src = Px(*manager->MasterBitmap, md.R.left + x, md.R.top + y);
      if (src == clFuchsia) continue;
      EXPECT_EQ(src, Px(*dst, 53 + x, y));
      ++checked;
    }
  EXPECT_GT(checked, 0);
}

TEST_F(PaintSkin, FullyTransparentSectionCopiesTheParentImage) {
  TsGeneralData& s = Sec(L"PANEL");
  s.Transparency = 100;
  auto parent = MakeBmp(80, 60);
  FillPattern(*parent);
  const TCacheInfo ci{parent.get(), 5, 7, true};
  auto dst = MakeBmp(20, 10, clBlack);
  PaintBG(manager->GetSkinIndex(L"PANEL"), L"PANEL", ci, 0, MakeRect(0, 0, 20, 10),
          TPoint{10, 3}, dst.get(), manager.get(), -1, -1, clFuchsia);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(PatternAt(15 + x, 10 + y), Px(*dst, x, y));

  // Reads stop at the parent image's edge.
  auto edge = MakeBmp(20, 10, clBlack);
  PaintBG(manager->GetSkinIndex(L"PANEL"), L"PANEL", TCacheInfo{parent.get(), 70, 55, true}, 0,
          MakeRect(0, 0, 20, 10), TPoint{0, 0}, edge.get(), manager.get(), -1, -1, clFuchsia);
  EXPECT_EQ(PatternAt(79, 59), Px(*edge, 9, 4));
  EXPECT_EQ(clBlack, Px(*edge, 10, 5));
}

TEST_F(PaintSkin, PartlyTransparentSectionBlendsOverTheParent) {
  TsGeneralData& s = Sec(L"PANEL");
  s.Transparency = 40;
  s.Color = 0x0000FF;
  auto parent = MakeBmp(10, 10, 0xFF0000);
  auto dst = MakeBmp(10, 10, clBlack);
  PaintBG(manager->GetSkinIndex(L"PANEL"), L"PANEL", TCacheInfo{parent.get(), 0, 0, true}, 0,
          MakeRect(0, 0, 10, 10), TPoint{0, 0}, dst.get(), manager.get(), -1, -1, clFuchsia);
  const TColor p = Px(*dst, 4, 4);
  EXPECT_EQ(152, GetRValue32(p));
  EXPECT_EQ(0, GetGValue32(p));
  EXPECT_EQ(102, GetBValue32(p));
}

TEST_F(PaintSkin, PlainAndTexturelessSectionsAreOneColour) {
  struct Case { int image, gradient, transparency; TColor fill, expected; };
  const Case cases[] = {
      {0, 0, 0, clFuchsia, 0x336699},
      {60, 0, 0, clFuchsia, 0x336699},   // no texture: C, then mixed with C again
      {0, 0, 30, 0x00AA00, 0x00AA00},    // transparent without parent image: the fill colour
      {0, 0, 0, 0x00AA00, 0x336699},     // an opaque section ignores it
  };
  TsGeneralData& s = Sec(L"PANEL");
  for (const Case& k : cases) {
    s.Color = 0x336699;
    s.ImagePercent = k.image;
    s.GradientPercent = k.gradient;
    s.Transparency = k.transparency;
    auto dst = MakeBmp(16, 8, clBlack);
    BGFillColor = k.fill;
    PaintBG(manager->GetSkinIndex(L"PANEL"), L"PANEL", EmptyCacheInfo, 0, MakeRect(0, 0, 16, 8),
            TPoint{0, 0}, dst.get(), manager.get(), -1, -1, clFuchsia);
    BGFillColor = clFuchsia;
    EXPECT_EQ(16 * 8, CountColor(*dst, k.expected)) << k.image << " " << k.transparency;
  }
}

TEST_F(PaintSkin, TransparentControlOverPlainParentIsFilledOverTexturedParentCopied) {
  Sec(L"PANEL").Transparency = 100;
  TTestSkinned* parent = Add(ckPanel, 0, 0, 200, 100);
  parent->SkinData->SetSkinSection(L"TOOLBAR");  // textured (gradient)
  parent->SkinData->InitCacheBmp();
  FillPattern(*parent->SkinData->CacheBmp);
  TTestSkinned* child = Add(ckPanel, 30, 20, 60, 40, parent);
  const int inset = 6;  // inside the border mask

  auto paint = [&] {
    auto dst = MakeBmp(60, 40, clBlack);
    const TCacheInfo ci = GetParentCache(child->SkinData.get());
    EXPECT_TRUE(ci.Ready);
    PaintSkinControl(child->SkinData.get(), ci, false, 0, MakeRect(0, 0, 60, 40), TPoint{30, 20},
                     dst.get(), false);
    return dst;
  };
  auto copied = paint();
  for (int y = inset; y < 40 - inset; y += 5)
    for (int x = inset; x < 60 - inset; x += 5) EXPECT_EQ(PatternAt(30 + x, 20 + y), Px(*copied, x, y));

  // The same parent with a plain section answers its colour: filled.
  parent->SkinData->SetSkinSection(L"PANEL_LOW");
  FillPattern(*parent->SkinData->CacheBmp);
  auto filled = paint();
  const TColor plain = Sec(L"PANEL_LOW").Color;
  for (int y = inset; y < 40 - inset; y += 5)
    for (int x = inset; x < 60 - inset; x += 5) EXPECT_EQ(plain, Px(*filled, x, y));
}

TEST_F(PaintSkin, ItemsOutsideTheirBitmapPaintNothing) {
  const int panel = manager->GetSkinIndex(L"PANEL");
  auto dst = MakeBmp(100, 50, clBlack);
  PaintItem(panel, L"PANEL", EmptyCacheInfo, true, 0, MakeRect(0, 0, 101, 50), TPoint{0, 0},
            dst.get(), manager.get());
  PaintItem(panel, L"PANEL", EmptyCacheInfo, true, 0, MakeRect(-1, 0, 10, 10), TPoint{0, 0},
            dst.get(), manager.get());
  PaintItem(-1, L"PANEL", EmptyCacheInfo, true, 0, MakeRect(0, 0, 10, 10), TPoint{0, 0},
            dst.get(), manager.get());
  EXPECT_EQ(100 * 50, CountColor(*dst, clBlack));
  PaintItem(panel, L"PANEL", EmptyCacheInfo, false, 0, MakeRect(0, 0, 100, 50), TPoint{0, 0},
            dst.get(), manager.get());
  EXPECT_EQ(ColorToRGB(Sec(L"PANEL").Color), Px(*dst, 50, 25));
}

TEST_F(PaintSkin, ItemToDCMatchesTheItemInABitmap) {
  const int button = manager->GetSkinIndex(L"BUTTON");
  auto ref = MakeBmp(40, 20, clBlack);
  PaintItem(button, L"BUTTON", EmptyCacheInfo, true, 1, MakeRect(0, 0, 40, 20), TPoint{0, 0},
            ref.get(), manager.get());
  auto target = MakeBmp(60, 30, clBlack);
  PaintItemToDC(button, L"BUTTON", EmptyCacheInfo, true, 1, MakeRect(10, 5, 50, 25), TPoint{0, 0},
                target->Canvas()->Handle(), manager.get());
  ::GdiFlush();
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(Px(*ref, x, y), Px(*target, 10 + x, 5 + y));
  EXPECT_EQ(clBlack, Px(*target, 9, 5));
  EXPECT_EQ(clBlack, Px(*target, 50, 25));
}

TEST_F(PaintSkin, ItemsWithIndexesUseTheGivenBorder) {
  const int button = manager->GetSkinIndex(L"BUTTON");
  const int border = manager->GetMaskIndex(button, L"BUTTON", L"BORDERSMASK");
  auto a = MakeBmp(40, 20, clBlack);
  auto b = MakeBmp(40, 20, clBlack);
  PaintItem(button, L"BUTTON", EmptyCacheInfo, true, 0, MakeRect(0, 0, 40, 20), TPoint{0, 0},
            a.get(), manager.get());
  PaintItemWithIndexes(button, border, -1, -1, L"BUTTON", EmptyCacheInfo, true, 0,
                       MakeRect(0, 0, 40, 20), TPoint{0, 0}, b.get(), manager.get());
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(Px(*a, x, y), Px(*b, x, y));
}

TEST_F(PaintSkin, BorderCopyLeavesTheInsideAlone) {
  auto src = MakeBmp(20, 20, clRed);
  auto dst = MakeBmp(20, 20, clBlack);
  BitBltBorder(dst->Canvas()->Handle(), 0, 0, 20, 20, src->Canvas()->Handle(), 0, 0, 3);
  ::GdiFlush();
  EXPECT_EQ(clRed, Px(*dst, 0, 10));
  EXPECT_EQ(clRed, Px(*dst, 19, 10));
  EXPECT_EQ(clRed, Px(*dst, 10, 2));
  EXPECT_EQ(clRed, Px(*dst, 10, 17));
  EXPECT_EQ(clBlack, Px(*dst, 3, 3));
  EXPECT_EQ(clBlack, Px(*dst, 16, 16));
  EXPECT_EQ(20 * 20 - 14 * 14, CountColor(*dst, clRed));
}

TEST_F(PaintSkin, TextureModesReportWhatIsLeft) {
  // A 6 x 4 texture cell.
  const int tex = AddImage(L"PANEL", L"PATTERN", 6, 4, 1, [](int x, int y, int) {
    return static_cast<TColor>(0x010000 * (x + 1) + y);
  });
  const TsMaskData& md = manager->ma[tex];
  struct Case { int mode; TRect rest; };
  const Case cases[] = {
      {0, MakeRect(-1, -1, -1, -1)}, {1, MakeRect(-1, -1, -1, -1)},
      {2, MakeRect(2, 7, 30, 20)},   {3, MakeRect(8, 3, 30, 20)},
      {4, MakeRect(2, 7, 30, 20)},   {5, MakeRect(8, 3, 30, 20)},
      {6, MakeRect(2, 3, 30, 16)},   {7, MakeRect(2, 3, 24, 20)},
      {10, MakeRect(-1, -1, -1, -1)}, {9, MakeRect(2, 3, 30, 20)},
  };
  for (const Case& k : cases) {
    auto dst = MakeBmp(32, 24, clBlack);
    TRect r = MakeRect(2, 3, 30, 20);
    PaintTexture(dst.get(), r, nullptr, md, k.mode);
    EXPECT_TRUE(::EqualRect(&r, &k.rest)) << k.mode;
  }
  // Tiling starts at the rectangle's corner and cuts the last cells.
  auto dst = MakeBmp(32, 24, clBlack);
  TRect r = MakeRect(2, 3, 30, 20);
  PaintTexture(dst.get(), r, nullptr, md, 0);
  EXPECT_EQ(Px(*manager->MasterBitmap, md.R.left, 0), Px(*dst, 2, 3));
  EXPECT_EQ(Px(*manager->MasterBitmap, md.R.left + 1, 2), Px(*dst, 2 + 6 * 4 + 1, 3 + 4 * 2 + 2));
  EXPECT_EQ(clBlack, Px(*dst, 30, 10));
  EXPECT_EQ(clBlack, Px(*dst, 10, 20));
}

TEST_F(PaintSkin, CornerRepairTakesOnlyTheAskedCornersFromTheParent) {
  // A border image whose four corner pixels are transparent.
  const int border = AddImage(L"PANEL", L"TESTBORDER", 12, 12, 1, [](int x, int y, int) {
    const bool corner = (x == 0 || x == 11) && (y == 0 || y == 11);
    return corner ? clFuchsia : clGray;
  });
  manager->ma[border].WL = manager->ma[border].WT = manager->ma[border].WR =
      manager->ma[border].WB = 3;
  TTestSkinned* parent = Add(ckPanel, 0, 0, 200, 100);
  parent->SkinData->SetSkinSection(L"TOOLBAR");
  parent->SkinData->InitCacheBmp();
  FillPattern(*parent->SkinData->CacheBmp);
  TTestSkinned* c = Add(ckPanel, 40, 30, 50, 20, parent);
  TsCommonData& sd = *c->SkinData;
  sd.BorderIndex = border;
  sd.InitCacheBmp();
  FillRect(*sd.CacheBmp, 0, 0, 50, 20, clBlack);
  UpdateCornerSet(&sd, 0, cornerTopLeft);
  EXPECT_EQ(PatternAt(40, 30), Px(*sd.CacheBmp, 0, 0));
  EXPECT_EQ(clBlack, Px(*sd.CacheBmp, 1, 0));
  EXPECT_EQ(clBlack, Px(*sd.CacheBmp, 49, 0));
  EXPECT_EQ(clBlack, Px(*sd.CacheBmp, 0, 19));
  EXPECT_EQ(clBlack, Px(*sd.CacheBmp, 49, 19));
  UpdateCorners(&sd, 0);
  EXPECT_EQ(PatternAt(89, 30), Px(*sd.CacheBmp, 49, 0));
  EXPECT_EQ(PatternAt(40, 49), Px(*sd.CacheBmp, 0, 19));
  EXPECT_EQ(PatternAt(89, 49), Px(*sd.CacheBmp, 49, 19));
  EXPECT_EQ(clFuchsia, BGFillColor);
}

TEST_F(PaintSkin, CornersOfAControlWithoutParentStayAsPainted) {
  const int border = AddImage(L"PANEL", L"TESTBORDER", 12, 12, 1, [](int x, int y, int) {
    return x == 0 && y == 0 ? clFuchsia : clGray;
  });
  auto* c = Construct<TTestSkinned>(form, ckPanel);
  c->SetBounds(0, 0, 30, 30);
  c->SkinData->Loaded();
  c->SkinData->BorderIndex = border;
  c->SkinData->InitCacheBmp();
  FillRect(*c->SkinData->CacheBmp, 0, 0, 30, 30, clBlack);
  UpdateCorners(c->SkinData.get(), 0);
  EXPECT_EQ(30 * 30, CountColor(*c->SkinData->CacheBmp, clBlack));
}

TEST_F(PaintSkin, MaskedTextureTilesWholeCellsAndShowsTheParentBeyondThem) {
  // An 8 x 6 green cell over a mask that keeps nothing of what lies under it.
  TBitmap& master = *manager->MasterBitmap;
  const int x0 = master.Width();
  master.SetSize(x0 + 8, MaxOf(master.Height(), 12));
  FillRect(master, x0, 0, x0 + 8, 6, clLime);
  FillRect(master, x0, 6, x0 + 8, 12, clBlack);
  TsMaskData md;
  md.SectionName = L"PANEL";
  md.PropertyName = L"TESTTEXTURE";
  md.R = MakeRect(x0, 0, x0 + 8, 12);
  md.MaskType = 1;
  md.StretchMode = 10;
  md.ImgType = itisaTexture;
  md.Manager = manager.get();
  auto parent = MakeBmp(40, 40);
  FillPattern(*parent);
  auto dst = MakeBmp(20, 15, clBlack);
  TRect r = MakeRect(0, 0, 20, 15);
  TileMaskedTexture(dst.get(), r, TCacheInfo{parent.get(), 3, 4, true}, md, 10);
  EXPECT_EQ(-1, r.left);
  EXPECT_EQ(clLime, Px(*dst, 0, 0));
  EXPECT_EQ(clLime, Px(*dst, 15, 11));                 // two whole cells across and down
  EXPECT_EQ(PatternAt(3 + 16, 4 + 2), Px(*dst, 16, 2));   // right strip: the parent
  EXPECT_EQ(PatternAt(3 + 5, 4 + 12), Px(*dst, 5, 12));   // bottom strip: the parent
  // Mode 0 cuts cells at the edges instead.
  auto cut = MakeBmp(20, 15, clBlack);
  TRect r0 = MakeRect(0, 0, 20, 15);
  TileMaskedTexture(cut.get(), r0, EmptyCacheInfo, md, 0);
  EXPECT_EQ(20 * 15, CountColor(*cut, clLime));
}
