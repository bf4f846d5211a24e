// Nine-part painting of skin border images and the copy routines that move
// one piece of a skin image into a bitmap while honouring its transparency:
// clFuchsia pixels for MaskType 0, a grey mask below the image for MaskType 1
// (out = S + (D - S) * M / 256 per channel).
//
// A mask's pixels are its own bitmap Bmp or, when that is null, its rectangle
// R of the skin's master bitmap, which the caller passes as Master. Every
// routine clips to its bitmaps; a piece outside them paints nothing.
#pragma once

#include <windows.h>

#include "framework/Graphics.h"
#include "skin/engine/BmpView.h"
#include "skin/engine/SkinConsts.h"
#include "skin/engine/SkinData.h"

// The pixels a mask is drawn from: its own bitmap, else the master bitmap.
TacBmpView MaskImage(const TsMaskData& maskData, const TacBmpView& master);

// Nine-part painting of a border image into R (Right and Bottom exclusive).
// Corners show the parent (CI) through transparent pixels; the centre is
// drawn only with DrawCenter.
void DrawMaskRect(const TacBmpView& dst, const TRect& r, bool drawCenter, const TCacheInfo& ci,
                  const TsMaskData& maskData, const TacBmpView& master, int state,
                  bool useParentBG);

// Nine-part painting over the whole of Dst that also cuts the transparent
// pixels of the four corner pieces out of Rgn (when Rgn is not null).
void PaintMaskWithRgn(const TacBmpView& dst, HRGN rgn, bool drawCenter,
                      const TsMaskData& maskData, const TacBmpView& master, int state);

// One piece for PaintMaskWithRgn; Right and Bottom inclusive.
void CopyMaskPartRgn(int dstLeft, int dstTop, int dstRight, int dstBottom, int srcLeft,
                     int srcTop, int srcRight, int srcBottom, const TacBmpView& dst, HRGN rgn,
                     const TsMaskData& maskData, const TacBmpView& master, bool updateRgn);

// One piece of a MaskType 1 image of Src; the mask lies half the height of
// the mask's R below the image rows. Rectangles are Right/Bottom exclusive.
void CopyByMask(const TRect& dstRect, const TRect& srcRect, const TacBmpView& dst,
                const TacBmpView& src, const TCacheInfo& ci, bool useCI,
                const TsMaskData& maskData);
// One piece of the master bitmap with its mask half the height of the mask's
// R below; transparent pixels from MaskFillColor or the parent.
void CopyMasterRect(const TRect& dstRect, const TRect& srcRect, const TacBmpView& dst,
                    const TCacheInfo& ci, const TsMaskData& maskData, const TacBmpView& master);
// One piece of an image whose mask lies half of Src's height below it.
void CopyByHalfMask(const TRect& dstRect, const TRect& srcRect, const TacBmpView& dst,
                    const TacBmpView& src, const TCacheInfo& ci, bool useCI);
// Copies SrcRect (Right and Bottom inclusive) to (X, Y); TransColor pixels
// take the parent pixel under them when UseCI and CI is ready, else leave the
// destination as it was.
void CopyTransRect(const TacBmpView& dst, const TacBmpView& src, int x, int y,
                   const TRect& srcRect, TColor transColor, const TCacheInfo& ci, bool useCI);
// The same, skipping TransColor pixels.
void CopyTransRectSimple(const TacBmpView& dst, const TacBmpView& src, int x, int y,
                         const TRect& srcRect, TColor transColor, const TCacheInfo& ci);
// All of Src to (X, Y), skipping TransColor pixels.
void CopyTransBmp(const TacBmpView& dst, const TacBmpView& src, int x, int y, TColor transColor);
