// Window regions from bitmaps: the runs of transparent pixels of a bitmap or
// of a border image's corner pieces, collected as a TAOR (one rectangle of
// height 1 per run) that callers cut out of a window's rectangle.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/engine/BmpView.h"
#include "skin/engine/SkinConsts.h"
#include "skin/engine/SkinData.h"

// Appends (x0, y, x1 + 1, y + 1) for every maximal run x0..x1 of pixels equal
// to Color, rows top to bottom, runs left to right. Nothing for a bitmap
// smaller than 2 x 2.
void CollectColorRects(TAOR& rects, const TacBmpView& bmp, TColor color);

// The rectangle of the bitmap minus every run of TransColor pixels.
UniqueRgn CreateRgnFromBmp(const TacBmpView& bmp, TColor transColor);

// Appends the clFuchsia runs of the two upper (or, with Bottom, the two
// lower) corner pieces of the border image's first cell, for a window Width
// pixels wide, placed at row Y; the right piece is moved so the cell's right
// edge falls on Width. The image is the mask's own bitmap or Master.
void AddCornerRgnRects(TAOR& rects, int width, const TsMaskData& maskData,
                       const TacBmpView& master, int y, bool bottom);

// Sizes Bmp to the list's images, fills it with the list's background colour
// (clFuchsia when the list has none) and draws image Index into it.
void ImageListToBmp(TBitmap& bmp, HIMAGELIST imageList, int index);
