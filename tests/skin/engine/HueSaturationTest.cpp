#include <gtest/gtest.h>

#include <vector>

#include "skin/engine/HueSaturation.h"
#include "tests/skin/engine/SkinTestSupport.h"

using namespace skintest;

namespace {

TColor Rgb(int r, int g, int b) { return static_cast<TColor>(r | (g << 8) | (b << 16)); }

std::vector<uint8_t> MasterBytes(TsSkinManager& m) {
  TacBmpView v(m.MasterBitmap.get());
  std::vector<uint8_t> bytes;
  for (int y = 0; y < v.Height; ++y) bytes.insert(bytes.end(), v.Row(y), v.Row(y) + v.Width * 3);
  return bytes;
}

}  // namespace

TEST(HueSaturation, HueTurnsFollowTheColourWheel) {
  struct Case {
    int delta;
    TColor in, out;
  };
  const Case cases[] = {
      {-30, Rgb(255, 0, 0), Rgb(255, 0, 128)},  // hue 330; 127.5 rounds to even 128
      {120, Rgb(255, 0, 0), Rgb(0, 255, 0)},
      {240, Rgb(255, 0, 0), Rgb(0, 0, 255)},
      {360, Rgb(255, 0, 0), Rgb(255, 0, 0)},
      {-360, Rgb(200, 100, 50), Rgb(200, 100, 50)},
      {90, Rgb(128, 128, 128), Rgb(128, 128, 128)},  // grey has no hue
      {45, Rgb(0, 0, 0), Rgb(0, 0, 0)},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.out, ChangeColorHue(c.delta, c.in)) << c.delta << " " << std::hex << c.in;
}

TEST(HueSaturation, HueResolvesSystemColours) {
  TColor resolved = ColorToRGB(clHighlight);
  EXPECT_EQ(ChangeColorHue(40, resolved), ChangeColorHue(40, clHighlight));
}

TEST(HueSaturation, SaturationAmountTakesTheDividendsSign) {
  EXPECT_EQ(-40, SaturationAmount(40));
  EXPECT_EQ(-49, SaturationAmount(150));
  EXPECT_EQ(49, SaturationAmount(-150));
  EXPECT_EQ(0, SaturationAmount(0));
}

TEST(HueSaturation, SaturationMovesChannelsAroundTheirAverage) {
  // avg 116.67: 200 + 0.4 * 83.33 = 233.3; 100 - 6.67 = 93.3; 50 - 26.67 = 23.3
  EXPECT_EQ(Rgb(233, 93, 23), ChangeColorSaturation(Rgb(200, 100, 50), -40));
  EXPECT_EQ(Rgb(117, 117, 117), ChangeColorSaturation(Rgb(200, 100, 50), 100));
  EXPECT_EQ(Rgb(255, 0, 0), ChangeColorSaturation(Rgb(250, 10, 0), -100));  // clamped
  EXPECT_EQ(Rgb(90, 90, 90), ChangeColorSaturation(Rgb(90, 90, 90), -70));
}

TEST(HueSaturation, TransparentAndGreyPixelsKeepTheirValue) {
  TBitmap bmp(4, 1, pf24bit);
  TacBmpView v(&bmp);
  ColorToPixel(clFuchsia, v.Pixel(0, 0));
  ColorToPixel(Rgb(77, 77, 77), v.Pixel(1, 0));
  ColorToPixel(Rgb(255, 0, 0), v.Pixel(2, 0));
  ColorToPixel(Rgb(200, 100, 50), v.Pixel(3, 0));
  ChangeBitmapHue(v, 120);
  ChangeBitmapSaturation(v, -40);
  EXPECT_EQ(clFuchsia, PixelToColor(v.Pixel(0, 0)));
  EXPECT_EQ(Rgb(77, 77, 77), PixelToColor(v.Pixel(1, 0)));
  EXPECT_EQ(Rgb(0, 255, 0), PixelToColor(v.Pixel(2, 0)));
  EXPECT_NE(Rgb(200, 100, 50), PixelToColor(v.Pixel(3, 0)));
}

TEST(HueSaturation, AnOpaquePixelNeverBecomesTransparent) {
  // Pure red turned by 300 degrees is exactly fuchsia as a colour ...
  EXPECT_EQ(clFuchsia, ChangeColorHue(300, Rgb(255, 0, 0)));
  // ... but a red pixel stays visible.
  TBitmap bmp(1, 1, pf24bit);
  TacBmpView v(&bmp);
  ColorToPixel(Rgb(255, 0, 0), v.Pixel(0, 0));
  ChangeBitmapHue(v, 300);
  EXPECT_EQ(Rgb(255, 1, 255), PixelToColor(v.Pixel(0, 0)));
}

TEST(HueSaturation, ManagerRecoloursImagesSectionsAndHeader) {
  ManagerPtr plain = LoadedManager(L"Basic");
  ManagerPtr turned = LoadedManager(L"Basic");
  turned->SetHueOffset(120);
  TacBmpView v(turned->MasterBitmap.get());
  EXPECT_EQ(Rgb(0, 255, 0), PixelToColor(v.Pixel(0, 0)));           // red probe
  EXPECT_EQ(clFuchsia, PixelToColor(v.Pixel(1, 0)));                // transparent
  EXPECT_EQ(Rgb(128, 128, 128), PixelToColor(v.Pixel(2, 0)));       // grey
  const TsGeneralData& base = Section(*turned, L"BASE");
  EXPECT_EQ(ChangeColorHue(120, 0x112233), base.Color);
  EXPECT_EQ(ChangeColorHue(120, 0xFF), static_cast<TColor>(base.FontColor[1]));
  EXPECT_EQ(-1, base.FontColor[2]);  // no contour stays no contour
  EXPECT_EQ(ChangeColorHue(120, 0xFF0000), base.GradientArray[0].Color1);
  EXPECT_EQ(ChangeColorHue(120, 0x0000FF), turned->SkinData->Shadow1Color);
  EXPECT_EQ(ChangeColorHue(120, 0x00FF00), turned->SkinData->BorderColor);
  int own = turned->FindMaskIndex(L"IMAGES", L"OWN");
  ASSERT_GE(own, 0);
  TacBmpView ownView(turned->ma[own].Bmp.get());
  TacBmpView ownPlain(plain->ma[plain->FindMaskIndex(L"IMAGES", L"OWN")].Bmp.get());
  EXPECT_EQ(ChangeColorHue(120, PixelToColor(ownPlain.Pixel(0, 0))),
            PixelToColor(ownView.Pixel(0, 0)));
}

TEST(HueSaturation, HueThirtyThenZeroGivesBackTheOriginalColours) {
  ManagerPtr plain = LoadedManager(L"Basic");
  ManagerPtr m = LoadedManager(L"Basic");
  m->SetHueOffset(30);
  EXPECT_NE(MasterBytes(*plain), MasterBytes(*m));
  m->SetHueOffset(0);
  EXPECT_EQ(MasterBytes(*plain), MasterBytes(*m));
  ASSERT_EQ(plain->gd.size(), m->gd.size());
  for (size_t i = 0; i < m->gd.size(); ++i) {
    EXPECT_EQ(plain->gd[i].Color, m->gd[i].Color) << i;
    EXPECT_EQ(plain->gd[i].FontColor[0], m->gd[i].FontColor[0]) << i;
  }
  EXPECT_EQ(plain->SkinData->BorderColor, m->SkinData->BorderColor);
}

TEST(HueSaturation, SaturationStepsAreAppliedToTheUntransformedSkin) {
  ManagerPtr once = LoadedManager(L"Basic");
  once->SetSaturation(60);
  ManagerPtr twice = LoadedManager(L"Basic");
  twice->SetSaturation(20);
  twice->SetSaturation(60);
  EXPECT_EQ(MasterBytes(*once), MasterBytes(*twice));
  EXPECT_EQ(Section(*once, L"BASE").Color, Section(*twice, L"BASE").Color);
  EXPECT_EQ(Section(*once, L"BASE").Color,
            ChangeColorSaturation(0x112233, SaturationAmount(60)));
}

TEST(HueSaturation, ValuesWaitForTheNextLoadWhileNoSkinIsActive) {
  ManagerPtr m = NewManager();
  m->SetHueOffset(120);
  m->SetSaturation(30);
  EXPECT_EQ(120, m->HueOffset());
  EXPECT_TRUE(m->gd.empty());  // nothing loaded
  m->SetSkinName(L"Basic");
  m->SetActive(true);
  EXPECT_EQ(ChangeColorSaturation(ChangeColorHue(120, 0x112233), SaturationAmount(30)),
            Section(*m, L"BASE").Color);
}
