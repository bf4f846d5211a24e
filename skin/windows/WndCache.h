// The cache image of an adapted window and the repair of its corners: the
// skin section painted over the parent's image, and the pixels the border
// mask leaves transparent taken from the parent (or its colour).
#pragma once

#include <windows.h>

class TsCommonData;
class TacMainWnd;

// Rebuilds the cache image when BGChanged is set (sized to the window).
void PrepareWndCache(TsCommonData* skinData, HWND wnd, bool useGlobalColor);
// Puts the parent's pixels (or background colour) under the transparent
// corner pixels of the border mask's cell State.
void UpdateWndCorners(TsCommonData* skinData, int state, TacMainWnd* adapter);
