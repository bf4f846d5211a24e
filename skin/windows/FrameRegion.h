// What a skinned top-level frame shares whoever draws it (a form's provider
// or a dialog's adapter): the window region cut from the skin's transparent
// corners and the images of the caption buttons.
#pragma once

#include <windows.h>

#include <string>

#include "skin/engine/SkinConsts.h"

class TsSkinManager;

// The transparent corner runs of a Width x Height frame: the border mask's
// top and bottom corner cells and the title section's border mask on top.
void CollectFrameRgnRects(TAOR& rects, TsSkinManager* manager, int borderIndex,
                          const std::wstring& titleSection, int width, int height);
// A new region (the caller owns it): the Width x Height rectangle at (X, Y)
// without the given rectangles (moved by X, Y).
HRGN CreateFrameRgn(const TAOR& rects, int width, int height, int x = 0, int y = 0);
bool SameRects(const TAOR& a, const TAOR& b);

// Mask indexes of the four caption buttons.
struct TacCaptionImages {
  int Min = -1, Max = -1, Close = -1, Help = -1;
};
// From "GLOBALINFO" (the small set when SmallSet and the skin has it), or
// from the frame's own section when "GLOBALINFO" has no close button.
TacCaptionImages CaptionButtonImages(TsSkinManager* manager, int skinIndex,
                                     const std::wstring& section, bool smallSet);
