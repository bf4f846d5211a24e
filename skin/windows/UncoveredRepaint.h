// Repainting what a skinned window uncovers when it hides.
#pragma once

#include <windows.h>

// Wine restores the area a hidden top-level window uncovers from the
// windows' own images without sending them WM_PAINT, so whatever those
// images lack (painting that came while they were covered) is missing
// until something else repaints them. The thread's visible top-level
// windows under `hidden`'s rectangle are told to repaint that part, their
// child windows included.
void RepaintUncovered(HWND hidden);
