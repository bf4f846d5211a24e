#include "skin/engine/WindowSkinning.h"

#include "skin/engine/SkinManager.h"

namespace {
TacWindowSkinning* g_skinning = nullptr;
}  // namespace

void RegisterWindowSkinning(TacWindowSkinning* skinning) {
  g_skinning = skinning;
  // A manager made before there was a menu skinner, or that asked for the
  // dialog hook before there was a procedure, gets them now.
  if (skinning && DefaultManager) {
    DefaultManager->AttachMenus();
    DefaultManager->InstallPendingDialogHook();
  }
}

TacWindowSkinning* WindowSkinning() { return g_skinning; }
