// The application icon of a module: its first icon group, as Windows
// takes it for an executable's own icon.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/Graphics.h"

// The module's first RT_GROUP_ICON resource at size x size pixels (the
// closest image the group has, scaled when none fits); null when the
// module has no icon group.
std::unique_ptr<TIcon> LoadModuleIcon(HMODULE module, int size);
