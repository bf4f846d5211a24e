// Keeps every section's text readable on its own faces: the generator runs
// this over a laid-out skin before writing it, so no scheme colour can leave
// a caption unreadable in any state.
#pragma once

#include "Canvas.h"
#include "SkinModel.h"

namespace skingen {

// The least contrast ratio (relative luminance, as for web text) the
// generator gives text on its face; the run-time check asks 4.5, the rest
// is room for rounding and for gradients measured by their mean.
inline constexpr double kTextContrast = 5.0;
// The saturation the program sets on its skin manager; text must read with
// it as well as without.
inline constexpr int kProgramSaturation = 40;
// A disabled caption is drawn this share of the way from its colour to the
// section colour (the engine mixes it the same way).
inline constexpr int kDisabledFadePercent = 25;

double Luminance(Rgb c);
double ContrastRatio(Rgb a, Rgb b);
Rgb DisabledText(Rgb text, Rgb sectionColor);

// The mean colour a section shows in one state where its text goes: its
// background (colour, gradient or texture) under the centre of its frame
// image. Images are looked up through the parent chain as the engine does.
Rgb FaceMean(const Skin& k, const Canvas& master, const General& g, int state);

// Moves each section's normal and hot text colour towards black or white
// until it reads on its faces; where even black or white cannot, the
// section's face colours are moved the other way. Throws when a section
// cannot be made readable.
void MakeReadable(Skin& k, const Canvas& master);

}  // namespace skingen
