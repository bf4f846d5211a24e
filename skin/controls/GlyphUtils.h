// Glyph utilities the bitmap button and the speed button share: the size of
// one glyph cell, where the glyph goes beside the caption, and the glyph
// drawn into a cache image in its enabled, pressed, grey or disabled look.
#pragma once

#include "framework/Buttons.h"
#include "skin/engine/SkinConsts.h"

// One cell of a glyph of NumGlyphs cells side by side; (0, 0) when empty.
TSize GlyphCellSize(TBitmap* glyph, int numGlyphs);

// The glyph's top-left corner in a button Width x Height (without any
// drop-down part): Margin below 0 centres, Shown spacing is the space to
// the caption when both exist, and a pressed button moves it by (1, 1).
TPoint GlyphPosition(int width, int height, TSize glyph, TSize text, int shownSpacing,
                     int margin, TAlignment alignment, TButtonLayout layout, bool pressed);

// Draws the glyph (made 24-bit first when it is not) into the cache at P.
void PaintButtonGlyph(TBitmap* glyph, int numGlyphs, TBitmap* cache, TPoint p, bool enabled,
                      bool grayed, TsDisabledGlyphKind disabledGlyphKind, int state, int blend);
