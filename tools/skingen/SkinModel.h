// The model of one generated skin: its sections' general keys and its
// images with their painters. Host code of the skin generator.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Canvas.h"
#include "Schemes.h"

namespace skingen {

// A two-stop top-to-bottom gradient; Off writes the empty gradient text.
struct Gradient2 {
  bool On = false;
  Rgb Top, Bottom;
};
inline Gradient2 Grad(Rgb top, Rgb bottom) { return Gradient2{true, top, bottom}; }

// The general keys of one section, every one written out.
struct General {
  std::string Parent;
  Rgb Color;
  int Bevel = 0;
  Rgb Font;
  int Contour[4] = {-1, -1, -1, -1};
  Rgb HotFont;
  int HotContour[4] = {-1, -1, -1, -1};
  int ShadowBlur = 6;
  int ShadowColor = 0;
  bool ShadowEnabled = false;
  int ShadowOffset = 3;
  int ShadowTransparency = 50;
  int Transparency = 0;
  int GradientPercent = 0;
  Gradient2 Gradient;
  int ImagePercent = 0;
  bool ShowFocus = false;
  bool Fading = false;
  int FadeIn = 5, FadeOut = 5, FadeSteps = 5;
  Rgb HotColor;
  int HotTransparency = 0;
  int HotBevel = 0;
  int HotGradientPercent = 0;
  Gradient2 HotGradient;
  int HotImagePercent = 0;
  Rgb Border1, Border2;
};

// One image of the master bitmap: a nine-part frame ('^'), a glyph ('@') or
// a texture ('~') of States cells side by side.
struct Image {
  Image(std::string section, std::string key, char kind, int w, int h, int states)
      : Section(std::move(section)), Key(std::move(key)), Kind(kind), CellW(w), CellH(h),
        States(states) {}
  std::string Section, Key;
  char Kind;  // '^' frame, '@' glyph, '~' texture
  int CellW, CellH, States;
  int WL = 0, WT = 0, WR = 0, WB = 0;
  int Stretch = 0;
  // Frames carry a grey mask below their cells (black keeps the image,
  // white shows what lies under it), so their sides and centre can be
  // transparent; glyphs and textures use clFuchsia alone.
  int MaskType() const { return Kind == '^' ? 1 : 0; }
  std::function<void(Canvas&, int x, int y, int state)> Paint;
  int X = 0, Y = 0;  // place in the master bitmap
};

struct Skin {
  Scheme S;
  std::vector<std::pair<std::string, General>> Sections;
  std::vector<Image> Images;
};

// The sections and images of a skin in the given colours.
Skin BuildSkin(const Scheme& s);

// The gradient as skin files write it.
std::string GradientText(const Gradient2& g);

}  // namespace skingen
