// Glyphs of the skinned bit and speed buttons taken from an image list: the
// image drawn over the button's face in its plain, blended, grey and
// disabled looks, the two-cell glyph of the unskinned look, and a removed
// list.
#include <gtest/gtest.h>

#include <cmath>

#include "framework/ImageList.h"
#include "skin/controls/BitBtn.h"
#include "skin/controls/SpeedButton.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

constexpr TColor kInk = 0x3366CC;  // the image's opaque square
constexpr int kSize = 16;

class ImageListGlyphTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->Show();
    Sec(L"BUTTON").FadingEnabled = false;
    Sec(L"SPEEDBUTTON").FadingEnabled = false;
    images = Construct<TImageList>(form);
    images->SetSize(kSize, kSize);
    // A square of ink in a transparent (fuchsia) ring.
    auto bmp = MakeBmp(kSize, kSize, clFuchsia);
    bmp->Canvas()->Brush()->SetColor(kInk);
    bmp->Canvas()->FillRect(TRect{4, 4, 12, 12});
    images->AddMasked(bmp.get(), clFuchsia);
  }
  TsBitBtn* NewBitBtn() {
    auto* b = Construct<TsBitBtn>(form);
    b->SetParent(form);
    b->SetBounds(20, 20, 80, 30);
    b->SetCaption(L"");
    return b;
  }
  // The glyph's top-left corner in an 80 x 30 button without caption.
  static TPoint GlyphAt(int w, int h) { return TPoint{(w - kSize) / 2, (h - kSize) / 2}; }
  static uint8_t Byte(TColor c, int i) { return static_cast<uint8_t>(c >> (8 * i)); }
  static TColor Mix(TColor s, TColor d, double k) {  // S - (S - D) * K, half to even
    TColor r = 0;
    for (int i = 0; i < 3; ++i) {
      const double v = Byte(s, i) - (Byte(s, i) - Byte(d, i)) * k;
      r |= static_cast<TColor>(std::nearbyint(v)) << (8 * i);
    }
    return r;
  }
  static TColor Grey(TColor c) {
    const int g = (Byte(c, 0) + Byte(c, 1) + Byte(c, 2)) / 3;
    return static_cast<TColor>(g | g << 8 | g << 16);
  }

  TImageList* images = nullptr;
};

}  // namespace

TEST_F(ImageListGlyphTest, BitBtnDrawsTheListImageInEachLook) {
  struct Case {
    const char* name;
    bool enabled;
    bool grayed;
    int blend;
    TsDisabledGlyphKind kind;
    TColor (*expected)(TColor face);
  } cases[] = {
      {"plain", true, false, 0, dgBlended, [](TColor) { return kInk; }},
      {"blend 40", true, false, 40, dgBlended, [](TColor f) { return Mix(kInk, f, 0.4); }},
      {"grayed", true, true, 0, dgBlended, [](TColor) { return Grey(kInk); }},
      {"disabled blended", false, false, 0, dgBlended, [](TColor f) { return Mix(kInk, f, 0.5); }},
      {"disabled grey", false, false, 0, dgGrayed, [](TColor) { return Grey(kInk); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TsBitBtn* b = NewBitBtn();
    b->SetDisabledKind(0);  // only the glyph shows the disabled look
    b->SetEnabled(c.enabled);
    b->SetGrayed(c.grayed);
    b->SetBlend(c.blend);
    b->SetDisabledGlyphKind(c.kind);
    b->SkinData->BGChanged = true;
    const TPoint g = GlyphAt(b->Width(), b->Height());
    auto bare = PrintControl(b);
    const TColor face = Px(*bare, g.x + 8, g.y + 8), ring = Px(*bare, g.x + 1, g.y + 1);
    b->SetImages(images);
    b->SetImageIndex(0);
    EXPECT_TRUE(b->Glyph()->Empty()) << "a skinned button draws the list itself";
    EXPECT_EQ(b->GlyphWidth(), kSize);
    b->SkinData->BGChanged = true;
    auto shot = PrintControl(b);
    EXPECT_EQ(c.expected(face), Px(*shot, g.x + 8, g.y + 8));
    EXPECT_EQ(ring, Px(*shot, g.x + 1, g.y + 1)) << "the ring stays transparent";
    delete b;
  }
}

TEST_F(ImageListGlyphTest, RemovedListOrIndexOutsideItDrawsNoGlyph) {
  TsBitBtn* b = NewBitBtn();
  const TPoint g = GlyphAt(b->Width(), b->Height());
  const TColor face = Px(*PrintControl(b), g.x + 8, g.y + 8);
  b->SetImages(images);
  b->SetImageIndex(5);
  b->SkinData->BGChanged = true;
  EXPECT_EQ(face, Px(*PrintControl(b), g.x + 8, g.y + 8));
  b->SetImageIndex(0);
  b->SkinData->BGChanged = true;
  EXPECT_EQ(kInk, Px(*PrintControl(b), g.x + 8, g.y + 8));
  delete images;
  images = nullptr;
  EXPECT_EQ(nullptr, b->Images());
  b->SkinData->BGChanged = true;
  EXPECT_EQ(face, Px(*PrintControl(b), g.x + 8, g.y + 8));
}

TEST_F(ImageListGlyphTest, WithoutASkinTheImageBecomesATwoCellGlyphAndGoesWithANewSkin) {
  TsBitBtn* b = NewBitBtn();
  b->SetImages(images);
  b->SetImageIndex(0);
  manager->SetActive(false);
  ASSERT_FALSE(b->SkinData->Skinned(false));
  EXPECT_EQ(2, b->NumGlyphs);
  ASSERT_EQ(2 * kSize, b->Glyph()->Width());
  EXPECT_EQ(kInk, Px(*b->Glyph(), 8, 8));
  EXPECT_EQ(clFuchsia, Px(*b->Glyph(), 1, 1));
  // The disabled cell: the ink blended half with the button face.
  EXPECT_EQ(Mix(kInk, ColorToRGB(clBtnFace), 0.5), Px(*b->Glyph(), kSize + 8, 8));
  manager->SetActive(true);
  EXPECT_TRUE(b->Glyph()->Empty());
}

TEST_F(ImageListGlyphTest, SpeedButtonDrawsTheListImageGreyWhileGrayed) {
  auto* b = Construct<TsSpeedButton>(form);
  b->SetParent(form);
  b->SetBounds(10, 10, 60, 24);
  const TPoint g = GlyphAt(60, 24);
  const TColor ring = Px(*PaintGraphic(b), g.x + 1, g.y + 1);
  b->SetImages(images);
  b->SetImageIndex(0);
  b->SkinData->BGChanged = true;
  auto plain = PaintGraphic(b);
  EXPECT_EQ(kInk, Px(*plain, g.x + 8, g.y + 8));
  EXPECT_EQ(ring, Px(*plain, g.x + 1, g.y + 1));
  b->SetGrayed(true);
  EXPECT_EQ(Grey(kInk), Px(*PaintGraphic(b), g.x + 8, g.y + 8));
}
