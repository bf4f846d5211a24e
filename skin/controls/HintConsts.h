// Enumerations of the skinned hints and of the labels that open windows:
// the hint window's look, the preset a hint manager applies, which corner of
// a hint lies at the mouse point, and how a launched program's window shows.
#pragma once

#include <cstdint>

// The shape of the hint windows, or the framework's own (hsStandard), or no
// hints at all (hsNone).
enum TsHintStyle : uint8_t { hsSimply, hsComics, hsEllipse, hsBalloon, hsStandard, hsNone };

// Ready-made sets of hint settings; shCustom keeps the settings as they are.
enum TsHintsPredefinitions : uint8_t {
  shSimply, shGradient, shTransparent, shEllipse, shBalloon, shComicsGradient,
  shComicsTransparent, shStandard, shNone, shCustom
};

// The corner of the hint that lies at the mouse point; the tail points there.
enum TsMousePosition : uint8_t { mpLeftTop, mpLeftBottom, mpRightTop, mpRightBottom };

// How a window opened by a link shows; the values are ShowWindow's SW_ codes.
enum TsWindowShowMode : uint8_t {
  soHide, soNormal, soShowMinimized, soMaximize, soShowNoActivate, soShow, soMinimize,
  soShowMinNoActive, soShowNA, soRestore, soDefault
};
