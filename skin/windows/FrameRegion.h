// What a skinned top-level frame shares whoever draws it (a form's provider
// or a dialog's adapter): the window region cut from the skin's transparent
// corners. Their caption buttons are in CaptionButtons.h.
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
