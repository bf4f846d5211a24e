// The process's table of framework windows: which control owns which window.
// Looking a window up costs no call into the system (a window property would
// be a round trip to the window server under Wine on every message).
#pragma once

#include <windows.h>

class TWinControl;

namespace control_table {

void Add(HWND wnd, TWinControl* control);
// Forgets `wnd` only while it still belongs to `control`.
void Remove(HWND wnd, TWinControl* control);
TWinControl* Find(HWND wnd);

}  // namespace control_table
