#include "skin/engine/ColorContrast.h"

#include <algorithm>
#include <cmath>

#include "skin/engine/SkinData.h"

namespace {

double Linear(int channel) {
  const double c = channel / 255.0;
  return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

int Toward(int from, int to, int percent) {
  return static_cast<int>(std::lround(from + (to - from) * (percent / 100.0)));
}

}  // namespace

double RelativeLuminance(TColor color) {
  return 0.2126 * Linear(color & 0xFF) + 0.7152 * Linear((color >> 8) & 0xFF) +
         0.0722 * Linear((color >> 16) & 0xFF);
}

double ContrastRatio(TColor a, TColor b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TColor MixColors(TColor from, TColor to, int percent) {
  from = ColorToRGB(from);
  to = ColorToRGB(to);
  int rgb = 0;
  for (int shift : {0, 8, 16})
    rgb |= Toward((from >> shift) & 0xFF, (to >> shift) & 0xFF, percent) << shift;
  return static_cast<TColor>(rgb);
}

TColor DisabledFontColor(const TsGeneralData& section) {
  return MixColors(static_cast<TColor>(section.FontColor[0]), section.Color, kDisabledTextFade);
}
