#include "skin/engine/SkinConsts.h"

int DefaultScrollButtonSize = 16;
bool FadingSuspended = false;
bool MouseEnterSuspended = false;
const bool SkipGraphicCtrlClip = false;
bool SkinnedMDIArea = true;
bool SkinnedMDIArea2 = true;
TacAnimatEvents DefaultAnimatEvents = AnimatEventBit(aeMouseEnter) | AnimatEventBit(aeMouseLeave) |
                                      AnimatEventBit(aeMouseDown) | AnimatEventBit(aeMouseUp);
bool StoredShowHint = false;
TControl* DropDownButton = nullptr;
TControl* ExtraRefreshControl = nullptr;
TsDisabledKind ReplyDisabledKind = 0;
TColor MaskFillColor = clFuchsia;

void InitSkinConsts() { DefaultScrollButtonSize = ::GetSystemMetrics(SM_CXHSCROLL); }
