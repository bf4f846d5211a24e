#include "skin/engine/AppWindow.h"

#include "framework/Forms.h"

HWND ApplicationWindow() { return Application ? Application->Handle() : nullptr; }
