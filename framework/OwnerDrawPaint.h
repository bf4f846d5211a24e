// Paints one item of an owner-drawn list or combo box: the canvas is bound
// to the item's DC with the control's font and the selection colours, the
// item is drawn, and the focus rectangle follows unless the user draws.
#pragma once

#include <functional>

#include "framework/Graphics.h"
#include "framework/OwnerDraw.h"

void PaintOwnerDrawItem(TCanvas& canvas, TFont* font, TColor color, const DRAWITEMSTRUCT& item,
                        bool userDraws,
                        const std::function<void(int index, RECT rect, TOwnerDrawState state)>& draw);
