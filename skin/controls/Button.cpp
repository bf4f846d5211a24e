#include "skin/controls/Button.h"

#include "skin/engine/SkinText.h"

TSize TsButton::TextRectSize() {
  if (Caption().empty()) return TSize{0, 0};
  TCanvas* c = SkinData->CacheBmp->Canvas();
  c->SetFont(Font());
  TRect r{0, 0, Width() - 2, 0};
  UINT flags = DT_CALCRECT | DT_CENTER | DT_EXPANDTABS | (WordWrap() ? DT_WORDBREAK : 0);
  c->TextRect(r, Caption(), flags);
  return TSize{r.right - r.left, r.bottom - r.top};
}

TRect TsButton::CaptionRect() {
  const TSize s = TextRectSize();
  const int x = (Width() - s.cx) / 2, y = (Height() - s.cy) / 2;
  TRect r{x - 1, y, Width() - x + 2, Height() - y};
  // While the user holds the button with the mouse outside it, it does not
  // look held.
  const bool heldOutside = (ControlState() & csLButtonDown) && !SkinData->MouseAbove;
  if (Down() && !heldOutside) ::OffsetRect(&r, 1, 1);
  return r;
}

void TsButton::PaintContent(int state) {
  PaintBorder(state);
  PaintCaption();
}

void TsButton::PaintCaption() {
  TCanvas* c = SkinData->CacheBmp->Canvas();
  c->SetFont(Font());
  c->Brush()->SetStyle(TBrushStyle::bsClear);
  TRect r = CaptionRect();
  DrawCaption(r, DT_CENTER | DT_EXPANDTABS | (WordWrap() ? DT_WORDBREAK : 0));
  PaintFocus(r);
}

void TsButton::DrawCaption(TRect& r, UINT flags) {
  DrawSkinText(SkinData->CacheBmp->Canvas(), Caption(), true, r, flags, SkinData.get(),
               HotText());
}
