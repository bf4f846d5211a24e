#include "skin/engine/SkinLibrary.h"

#include "skin/engine/ControlUtils.h"
#include "skin/engine/SkinConsts.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinnedForms.h"

void InitSkinLibrary() {
  RegisterSkinMessage();
  InitSkinConsts();
  InitVisualStyles();
  StartFetchingAppIcons();
}

void DoneSkinLibrary() {
  DoneStyleSimply();
  DoneVisualStyles();
}
