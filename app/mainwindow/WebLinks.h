// The link panels of the navigation frames: a panel filling the frame with
// centred, underlined links stacked from the top.
#pragma once

#include <string>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/controls/Panel.h"
#include "skin/controls/WebLabel.h"

TsPanel* MakeLinkPanel(TFrame* frame);
TsWebLabel* AddLink(TFrame* frame, TsPanel* panel, const std::wstring& name, const std::wstring& caption,
                int row, TNotifyEvent onClick);
