// Glyph cells of skin images (check marks, arrows, title-bar buttons, corner
// images), framework button glyphs in their enabled, pressed and disabled
// looks, and the disabled look of a control's whole image.
#pragma once

#include "framework/Graphics.h"
#include "skin/engine/BmpView.h"
#include "skin/engine/SkinConsts.h"
#include "skin/engine/SkinData.h"

class TControl;

// Draws cell min(State, ImageCount - 1) of the mask with its top-left corner
// at P. Mode 1 is the normal look; any other value the half-transparent one.
void DrawSkinGlyph(const TacBmpView& dst, const TPoint& p, int state, int mode,
                   const TsMaskData& maskData, const TacBmpView& master);

// One cell copy (Right and Bottom inclusive) from Src.
void CopyGlyphRect(const TRect& dstRect, const TRect& srcRect, const TacBmpView& dst,
                   const TsMaskData& maskData, int mode, TColor transColor, const TacBmpView& src);

// Draws a framework button glyph of NumGlyphs cells (normal, disabled,
// pressed, down) at P; its bottom-left pixel is the transparent colour.
void DrawBtnGlyph(const TacBmpView& glyph, const TacBmpView& dst, const TPoint& p, int numGlyphs,
                  bool enabled, bool grayed, TsDisabledGlyphKind disabledGlyphKind, int state,
                  int blend);

// Turns a control's finished image into its disabled look: grey, and/or
// mixed with the parent image under it (CI) or with the parent's colour.
void ApplyDisabledKind(const TacBmpView& bmp, TsDisabledKind disabledKind, TControl* parent,
                       const TCacheInfo& ci, const TPoint& offset);
