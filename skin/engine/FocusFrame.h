// The dotted focus frame of skinned controls.
#pragma once

#include "framework/Graphics.h"

// Black dots every third pixel along the edges of R (Right and Bottom taken
// as inclusive), each with a white dot one pixel left of and above it. The
// dots go through the canvas, whose clipping keeps every one of them inside
// the canvas's surface, whatever R is.
void DrawFocusFrame(TCanvas* canvas, const TRect& r);
