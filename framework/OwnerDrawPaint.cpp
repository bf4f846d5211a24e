#include "framework/OwnerDrawPaint.h"

void PaintOwnerDrawItem(TCanvas& canvas, TFont* font, TColor color, const DRAWITEMSTRUCT& item,
                        bool userDraws,
                        const std::function<void(int, RECT, TOwnerDrawState)>& draw) {
  TOwnerDrawState state = OwnerDrawStateFromODS(item.itemState);
  bool selected = (state & odSelected) != 0;
  canvas.Lock();
  canvas.SetHandle(item.hDC);
  canvas.Font()->Assign(font);
  canvas.Brush()->SetStyle(bsSolid);
  canvas.Brush()->SetColor(selected ? clHighlight : color);
  if (selected) canvas.Font()->SetColor(clHighlightText);
  try {
    draw(static_cast<int>(item.itemID), item.rcItem, state);
    if ((state & odFocused) && !userDraws) DrawFocusRect(item.hDC, &item.rcItem);
  } catch (...) {
    canvas.SetHandle(nullptr);
    canvas.Unlock();
    throw;
  }
  canvas.SetHandle(nullptr);
  canvas.Unlock();
}
