// The application window that the engine's message boxes belong to.
#pragma once

#include <windows.h>

HWND ApplicationWindow();
