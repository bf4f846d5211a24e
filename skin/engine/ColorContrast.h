// How well text reads on a face: the relative-luminance contrast ratio of
// two colours, and the colour a skin section draws disabled text in.
#pragma once

#include "framework/Graphics.h"

struct TsGeneralData;

// Relative luminance (0 black to 1 white) of an RGB colour.
double RelativeLuminance(TColor color);
// (lighter + 0.05) / (darker + 0.05): 1 for equal colours, 21 for black on
// white. Text wants at least 4.5.
double ContrastRatio(TColor a, TColor b);

// An RGB colour moved the given percent of the way towards another.
TColor MixColors(TColor from, TColor to, int percent);

// Share, in percent, of the way from the section's text colour to its
// colour that disabled text is moved: dimmer than enabled text, still in
// the skin's own colours (the internal skins are drawn so that it reads).
inline constexpr int kDisabledTextFade = 25;
// The disabled text colour of a section.
TColor DisabledFontColor(const TsGeneralData& section);
