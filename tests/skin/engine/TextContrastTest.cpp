// Every section of every internal skin, loaded through the engine as the
// program loads it (plain and with the program's saturation): its normal,
// hot and disabled text colours read on the face the section paints, at a
// contrast ratio of at least 4.5.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "framework/SysUtils.h"
#include "skin/engine/ColorContrast.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinConsts.h"
#include "tests/skin/engine/PixelTestUtil.h"
#include "tests/skin/engine/SkinTestSupport.h"

using namespace skintest;

namespace {

constexpr double kReadable = 4.5;
constexpr int kW = 64, kH = 28;

struct Painted {
  TColor face;
  int states;
};

// The mean colour of the section's face in one state: the section painted
// over a parent of its own state colour (so a transparent section shows
// the colour it stands for), inside its frame's borders.
Painted FaceOf(TsSkinManager& m, int index, int state) {
  const TsGeneralData& g = m.gd[index];
  auto parent = MakeBmp(kW, kH, state ? g.HotColor : g.Color);
  auto face = CreateBmp24(kW, kH);
  PaintItem(index, g.SectionName, MakeCacheInfo(parent.get(), 0, 0), true, state,
            TRect{0, 0, kW, kH}, TPoint{0, 0}, face.get(), &m);
  const int mask = m.GetMaskIndex(index, g.SectionName, L"BORDERSMASK");
  TRect in{0, 0, kW, kH};
  int states = 2;
  if (m.IsValidImgIndex(mask)) {
    in = TRect{m.MaskBorderLeft(mask), m.MaskBorderTop(mask), kW - m.MaskBorderRight(mask),
               kH - m.MaskBorderBottom(mask)};
    states = m.ma[mask].ImageCount;
  }
  double sum[3] = {0, 0, 0};
  int n = 0;
  for (int y = in.top; y < in.bottom; ++y)
    for (int x = in.left; x < in.right; ++x, ++n) {
      const TColor c = Px(*face, x, y);
      for (int k = 0; k < 3; ++k) sum[k] += (c >> (8 * k)) & 0xFF;
    }
  int rgb = 0;
  for (int k = 0; k < 3; ++k) rgb |= static_cast<int>(sum[k] / std::max(n, 1) + 0.5) << (8 * k);
  return Painted{static_cast<TColor>(rgb), states};
}

std::string Hex(TColor c) {
  std::ostringstream o;
  o << std::hex << (c & 0xFFFFFF);
  return o.str();
}

struct SkinCase {
  int skin;
  int saturation;
};

class TextContrast : public ::testing::TestWithParam<SkinCase> {};

TEST_P(TextContrast, EverySectionsTextReadsOnItsFacesInEveryState) {
  ManagerPtr m = NewManager(FixtureSkinDir(), true);
  const std::wstring name = m->InternalSkins()->Items(GetParam().skin)->Name();
  m->SetSkinName(name);
  m->SetSaturation(GetParam().saturation);
  m->SetActive(true);
  ASSERT_TRUE(m->SkinData->Active);
  ASSERT_EQ(name, m->SkinName());
  for (int i = 0; i < static_cast<int>(m->gd.size()); ++i) {
    const TsGeneralData& g = m->gd[i];
    SCOPED_TRACE(WideToUtf8(g.SectionName));
    const Painted normal = FaceOf(*m, i, 0);
    const TColor text = static_cast<TColor>(g.FontColor[0]);
    EXPECT_GE(ContrastRatio(text, normal.face), kReadable)
        << "normal text " << Hex(text) << " on " << Hex(normal.face);
    const TColor disabled = DisabledFontColor(g);
    EXPECT_GE(ContrastRatio(disabled, normal.face), kReadable)
        << "disabled text " << Hex(disabled) << " on " << Hex(normal.face);
    // Hot text goes on the hot face and, where the section has one, the
    // pressed (selected) face.
    const int last = std::min(2, std::max(1, normal.states - 1));
    for (int state = 1; state <= last; ++state) {
      const TColor face = FaceOf(*m, i, state).face;
      const TColor hot = static_cast<TColor>(g.HotFontColor[0]);
      EXPECT_GE(ContrastRatio(hot, face), kReadable)
          << "state " << state << " text " << Hex(hot) << " on " << Hex(face);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(InternalSkins, TextContrast,
                         ::testing::Values(SkinCase{0, 0}, SkinCase{1, 0}, SkinCase{2, 0},
                                           SkinCase{3, 0}, SkinCase{4, 0}, SkinCase{0, 40},
                                           SkinCase{1, 40}, SkinCase{2, 40}, SkinCase{3, 40},
                                           SkinCase{4, 40}),
                         [](const auto& info) {
                           return "Skin" + std::to_string(info.param.skin) + "Saturation" +
                                  std::to_string(info.param.saturation);
                         });

TEST(ContrastRatio, FollowsTheRelativeLuminanceFormula) {
  EXPECT_NEAR(21.0, ContrastRatio(clBlack, clWhite), 1e-9);
  EXPECT_NEAR(1.0, ContrastRatio(0x336699, 0x336699), 1e-9);
  EXPECT_NEAR(ContrastRatio(clWhite, 0x808080), ContrastRatio(0x808080, clWhite), 1e-12);
  // Mid grey (128) on white is about 3.95:1; green weighs most, blue least.
  EXPECT_NEAR(3.95, ContrastRatio(0x808080, clWhite), 0.01);
  EXPECT_GT(RelativeLuminance(0x00FF00), RelativeLuminance(0x0000FF));
  EXPECT_GT(RelativeLuminance(0x0000FF), RelativeLuminance(0xFF0000));
}

TEST(DisabledFontColor, MovesTheTextAQuarterOfTheWayToTheSectionColour) {
  TsGeneralData g;
  g.FontColor[0] = 0x000000;
  g.Color = 0xC8C8C8;  // 200 on every channel
  EXPECT_EQ(static_cast<TColor>(0x323232), DisabledFontColor(g));
  g.FontColor[0] = 0xFFFFFF;
  g.Color = 0x000000;
  EXPECT_EQ(static_cast<TColor>(0xBFBFBF), DisabledFontColor(g));
}

}  // namespace
