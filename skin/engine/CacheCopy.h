// A skinned control's cache image on its way to the screen: copied to a
// device context without painting over the children that paint themselves,
// and the graphic children painted over the cached background.
#pragma once

#include <windows.h>

#include "framework/Controls.h"
#include "framework/Graphics.h"

class TsCommonData;

// Copies the cache from (SrcPos.Left, SrcPos.Top) to R of DC, cutting out
// visible graphic or opaque children (moved by OffsetX, OffsetY). SrcPos's
// Right and Bottom are not read. DoUpdateCorners first repairs the cache's
// transparent corners from the parent.
void CopyWinControlCache(TWinControl* control, TsCommonData* skinData, const TRect& srcPos,
                         const TRect& r, HDC dc, bool doUpdateCorners, int offsetX, int offsetY);
// The same for a bare window; group-box children are cut out only along
// their frame and caption strip.
void CopyHwndCache(HWND wnd, TsCommonData* skinData, const TRect& srcPos, const TRect& r, HDC dc,
                   bool doUpdateCorners, int offsetX, int offsetY);

// Paints the owner's graphic children into DC, each over the owner's cached
// background, at their places moved by Offset.
void PaintControls(HDC dc, TWinControl* owner, int unused, const TPoint& offset);
// The child is shown, has a size and its bounds are visible in DC.
bool GraphicCtrlVisible(const TControl* control, HDC dc);
