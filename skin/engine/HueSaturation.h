// Turning the hue and changing the saturation of colours. The skin manager
// applies both to every colour of a skin at the end of each load.
#pragma once

#include "framework/Graphics.h"
#include "skin/engine/BmpView.h"

// The colour with its hue turned by Delta degrees (system colours resolved;
// grey colours come back unchanged).
TColor ChangeColorHue(int delta, TColor color);
// Each channel moved Amount percent towards (positive) or away from
// (negative) the colour's average, clamped to 0 to 255.
TColor ChangeColorSaturation(TColor color, int amount);
// The Amount for a Saturation value: (-Value) mod 101, sign of the dividend.
int SaturationAmount(int saturation);

// Applies the rule to every pixel of a 24-bit view except clFuchsia and grey
// pixels. A result that would be exactly clFuchsia gets green 1, so no
// visible pixel turns transparent.
void ChangeBitmapHue(const TacBmpView& bmp, int delta);
void ChangeBitmapSaturation(const TacBmpView& bmp, int amount);
