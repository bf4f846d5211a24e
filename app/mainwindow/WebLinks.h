// The link panels of the navigation frames: a panel filling the frame with
// centred, underlined links stacked from the top.
#pragma once

#include <string>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"

TPanel* MakeLinkPanel(TFrame* frame);
TLabel* AddLink(TFrame* frame, TPanel* panel, const std::wstring& name, const std::wstring& caption,
                int row, TNotifyEvent onClick);
