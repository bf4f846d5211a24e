// Glyph utilities the bitmap button and the speed button share: the size of
// one glyph cell, where the glyph goes beside the caption, and the glyph
// drawn into a cache image in its enabled, pressed, grey or disabled look.
#pragma once

#include "framework/Buttons.h"
#include "framework/ImageList.h"
#include "skin/engine/SkinConsts.h"

class TsCommonData;

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

// The number of images of a list; 0 for none.
int SafeImageCount(TImageList* images);
// The size an image of the list takes as a glyph: the list's image size
// while an index is chosen, else (0, 0).
TSize ImageListGlyphSize(TImageList* images, int imageIndex);

// Makes image ImageIndex of the list the button's Glyph for the unskinned
// look: a normal cell and a disabled one after the DisabledGlyphKind rules
// (NumGlyphs becomes 2). Nothing while the button is skinned (the list is
// then drawn directly) or for an index outside the list.
void MakeImageListGlyph(TControl* owner, TsCommonData* skinData, int imageIndex, int& numGlyphs,
                        TsDisabledGlyphKind disabledGlyphKind, TBitmap* glyph,
                        TImageList* images);

// Draws image ImageIndex of the list into the cache at P: a disabled button
// grey and/or half blended after DisabledGlyphKind, an enabled one that is
// not active grey when Grayed and mixed by Blend percent. The grey keeps the
// colour of the key pixel: the top-left one, or the bottom-left one with
// KeyBottomLeft.
void PaintImageListGlyph(TImageList* images, int imageIndex, TBitmap* cache, TPoint p,
                         bool enabled, bool active, bool grayed,
                         TsDisabledGlyphKind disabledGlyphKind, int blend, bool keyBottomLeft);

// What a button draws as its glyph: its Glyph when that is not empty, else
// image ImageIndex of its list.
struct TacButtonGlyph {
  TBitmap* Glyph;
  int NumGlyphs;
  TImageList* Images;
  int ImageIndex;
};
TSize ButtonGlyphSize(const TacButtonGlyph& g);
// Draws it into the cache at P in the button's look (KeyBottomLeft as for
// PaintImageListGlyph).
void PaintButtonOrListGlyph(const TacButtonGlyph& g, TBitmap* cache, TPoint p, bool enabled,
                            bool active, bool grayed, TsDisabledGlyphKind disabledGlyphKind,
                            int state, int blend, bool keyBottomLeft);

// Points Field at a new list, moving the free notification of Owner from
// the old list to the new one; false when it is the same list.
bool ReferImages(TComponent* owner, TImageList*& field, TImageList* value);
