// Small painting steps the whole-face adapters share: skin image cells
// (arrows, check marks) drawn into a cache bitmap.
#pragma once

#include <windows.h>

#include "framework/Graphics.h"
#include "skin/engine/SkinMessages.h"

class TsSkinManager;

// Width and height of one cell of the manager's image MaskIndex; (0, 0)
// when there is no such image.
TPoint MaskCellSize(TsSkinManager* manager, int maskIndex);
// Draws cell State of the image at P (mode 1: over what is there).
void DrawMaskCell(TBitmap* dst, TsSkinManager* manager, int maskIndex, TPoint p, int state);
// The same, centred in Room.
void DrawMaskCellCentred(TBitmap* dst, TsSkinManager* manager, int maskIndex, const TRect& room,
                         int state);

class TCanvas;
class TsCommonData;

// The canvas takes the window's own font (WM_GETFONT), when it has one.
void UseWindowFont(TCanvas* canvas, HWND wnd);
// Fades Cache (W x H) into the parent's image at Pos by 40 %: the look of
// a disabled face. Nothing without a parent image.
void FadeIntoParent(TBitmap* cache, const TCacheInfo& parent, TPoint pos);
// The hot look follows the mouse: the window becomes the manager's active
// control while the cursor is inside it and stops being it outside.
void TrackHotByCursor(HWND wnd);

// Runs a step of the window's own procedure that would paint, without
// letting it reach the screen (the adapter paints afterwards).
template <class F>
void WithoutRedraw(HWND wnd, F step) {
  ::SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
  step();
  ::SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
}
