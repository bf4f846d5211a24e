#include "skin/engine/HueSaturation.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinUtils.h"

namespace {

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }
double Clamp255(double v) { return std::clamp(v, 0.0, 255.0); }

TColor Rgb(int r, int g, int b) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}

// Skin images hold few distinct colours: each is computed once per walk.
template <class Rule>
void WalkPixels(const TacBmpView& bmp, Rule rule) {
  if (bmp.Empty() || bmp.BytesPerPixel != 3) return;
  std::unordered_map<uint32_t, uint32_t> cache;
  cache.reserve(1024);
  for (int y = 0; y < bmp.Height; ++y) {
    uint8_t* p = bmp.Row(y);
    for (int x = 0; x < bmp.Width; ++x, p += 3) {
      if (IsFuchsiaPixel(p) || (p[0] == p[1] && p[1] == p[2])) continue;
      uint32_t color = PixelToColor(p);
      auto it = cache.find(color);
      uint32_t result;
      if (it != cache.end()) {
        result = it->second;
      } else {
        result = rule(color);
        if (result == clFuchsia) result = 0xFF01FF;  // stays visible
        cache.emplace(color, result);
      }
      ColorToPixel(result, p);
    }
  }
}

}  // namespace

int SaturationAmount(int saturation) { return (-saturation) % 101; }

TColor ChangeColorSaturation(TColor color, int amount) {
  int r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
  double avg = (r + g + b) / 3.0;
  auto channel = [&](int c) {
    return std::clamp(RoundEven(c + amount * (avg - c) / 100.0), 0, 255);
  };
  return Rgb(channel(r), channel(g), channel(b));
}

TColor ChangeColorHue(int delta, TColor color) {
  TColor rgb = ColorToRGB(color);
  int r = rgb & 0xFF, g = (rgb >> 8) & 0xFF, b = (rgb >> 16) & 0xFF;
  int mx = std::max({r, g, b}), mn = std::min({r, g, b});
  double v = mx;
  double s = mx == 0 ? 0.0 : static_cast<double>(mx - mn) / mx;
  if (s == 0) return color;
  double k = 60.0 / (mx - mn);
  double h;
  if (mx == r) h = (g - b) * k;
  else if (mx == g) h = 120 + (b - r) * k;
  else h = 240 + (r - g) * k;
  if (h < 0) h += 360;
  int hue = RoundEven(h + delta) % 360;
  if (hue < 0) hue += 360;
  double hh = hue / 60.0;
  int i = static_cast<int>(hh);
  double f = hh - i;
  double p = Clamp255((1 - s) * v);
  double q = Clamp255((1 - s * f) * v);
  double t = Clamp255((1 - (1 - f) * s) * v);
  double rr, gg, bb;
  switch (i) {
    case 0: rr = v; gg = t; bb = p; break;
    case 1: rr = q; gg = v; bb = p; break;
    case 2: rr = p; gg = v; bb = t; break;
    case 3: rr = p; gg = q; bb = v; break;
    case 4: rr = t; gg = p; bb = v; break;
    default: rr = v; gg = p; bb = q; break;
  }
  return Rgb(RoundEven(rr), RoundEven(gg), RoundEven(bb));
}

void ChangeBitmapHue(const TacBmpView& bmp, int delta) {
  WalkPixels(bmp, [delta](uint32_t c) { return ChangeColorHue(delta, c); });
}

void ChangeBitmapSaturation(const TacBmpView& bmp, int amount) {
  WalkPixels(bmp, [amount](uint32_t c) { return ChangeColorSaturation(c, amount); });
}

namespace {

// The same walk for both rules: master bitmap, own bitmaps, section colours
// and gradient stops, the header's colours.
template <class ColorRule, class BitmapRule>
void RecolourSkin(TsSkinManager& m, ColorRule colour, BitmapRule bitmap) {
  if (m.MasterBitmap && !m.MasterBitmap->Empty()) {
    if (m.MasterBitmap->PixelFormat() != pf24bit) m.MasterBitmap->SetPixelFormat(pf24bit);
    bitmap(TacBmpView(m.MasterBitmap.get()));
  }
  for (TsMaskData& md : m.ma) {
    if (!md.Bmp || md.Bmp->Empty()) continue;
    if (md.Bmp->PixelFormat() != pf24bit) md.Bmp->SetPixelFormat(pf24bit);
    bitmap(TacBmpView(md.Bmp.get()));
  }
  for (TsGeneralData& g : m.gd) {
    g.Color = colour(g.Color);
    g.HotColor = colour(g.HotColor);
    for (int i = 0; i < 5; ++i) {
      if (g.FontColor[i] != -1) g.FontColor[i] = static_cast<int32_t>(colour(g.FontColor[i]));
      if (g.HotFontColor[i] != -1)
        g.HotFontColor[i] = static_cast<int32_t>(colour(g.HotFontColor[i]));
    }
    for (TsGradStop& stop : g.GradientArray) {
      stop.Color1 = colour(stop.Color1);
      stop.Color2 = colour(stop.Color2);
    }
    for (TsGradStop& stop : g.HotGradientArray) {
      stop.Color1 = colour(stop.Color1);
      stop.Color2 = colour(stop.Color2);
    }
  }
  m.SkinData->Shadow1Color = colour(m.SkinData->Shadow1Color);
  m.SkinData->BorderColor = colour(m.SkinData->BorderColor);
}

}  // namespace

void TsSkinManager::ChangeHue(int value) {
  if (value == 0) return;
  RecolourSkin(
      *this, [value](TColor c) { return ChangeColorHue(value, c); },
      [value](const TacBmpView& v) { ChangeBitmapHue(v, value); });
}

void TsSkinManager::ChangeSaturation(int value) {
  if (value == 0) return;
  int amount = SaturationAmount(value);
  if (amount == 0) return;
  // A system colour's bytes mean nothing to this rule: resolve it first.
  RecolourSkin(
      *this,
      [amount](TColor c) {
        return ChangeColorSaturation((c & clSystemColor) ? ColorToRGB(c) : c, amount);
      },
      [amount](const TacBmpView& v) { ChangeBitmapSaturation(v, amount); });
}
