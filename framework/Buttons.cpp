#include "framework/Buttons.h"

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner), glyph_(std::make_unique<TBitmap>()) {}

TBitBtn::~TBitBtn() = default;

TSpeedButton::TSpeedButton(TComponent* AOwner)
    : TGraphicControl(AOwner), glyph_(std::make_unique<TBitmap>()) {
  SetBounds(0, 0, 23, 22);
  SetControlStyle(csCaptureMouse | csDoubleClicks | csOpaque);
}

TSpeedButton::~TSpeedButton() = default;

void TSpeedButton::SetDown(bool v) {
  if (groupIndex_ == 0) v = false;
  if (v == down_) return;
  if (down_ && !AllowAllUp) {
    // The last button of a group that must keep one down stays down.
    bool otherDown = false;
    if (Parent())
      for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
            b && b != this && b->groupIndex_ == groupIndex_ && b->down_)
          otherDown = true;
    if (!otherDown && !v) return;
  }
  down_ = v;
  state_ = v ? bsExclusive : bsUp;
  if (v) UpdateExclusive();
  Invalidate();
}

void TSpeedButton::UpdateExclusive() {
  if (!Parent() || groupIndex_ == 0) return;
  for (int i = 0; i < Parent()->ControlCount(); ++i)
    if (auto* b = dynamic_cast<TSpeedButton*>(Parent()->Controls(i));
        b && b != this && b->groupIndex_ == groupIndex_ && b->down_) {
      b->down_ = false;
      b->state_ = bsUp;
      b->Invalidate();
    }
}

void TSpeedButton::Click() { TGraphicControl::Click(); }

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button == mbLeft && Enabled()) {
    if (!down_) {
      state_ = bsDown;
      Invalidate();
    }
    dragging_ = true;
  }
}

void TSpeedButton::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!dragging_) return;
  bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
  TButtonState s = down_ ? bsExclusive : (inside ? bsDown : bsUp);
  if (s != state_) {
    state_ = s;
    Invalidate();
  }
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!dragging_) return;
  dragging_ = false;
  bool inside = x >= 0 && y >= 0 && x < Width() && y < Height();
  if (groupIndex_ == 0) {
    state_ = bsUp;
  } else if (inside) {
    SetDown(!down_);
  }
  state_ = down_ ? bsExclusive : bsUp;
  Invalidate();
  if (inside) Click();
}

void TSpeedButton::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CM_MOUSEENTER:
      if (message.LParam == 0) {
        mouseIn_ = true;
        if (flat_) Invalidate();
      }
      break;
    case CM_MOUSELEAVE:
      if (message.LParam == 0) {
        mouseIn_ = false;
        if (flat_) Invalidate();
      }
      break;
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
      Invalidate();
      break;
  }
  TGraphicControl::WndProc(message);
}

void TSpeedButton::Paint() {
  TCanvas* c = Canvas();
  RECT r = ClientRect();
  c->Brush()->SetColor(Color());
  c->Brush()->SetStyle(bsSolid);
  c->FillRect(r);
  HDC dc = c->Handle();
  bool pressed = state_ == bsDown || state_ == bsExclusive || down_;
  if (!flat_ || mouseIn_ || pressed)
    DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  RECT tr = r;
  InflateRect(&tr, -4, -2);
  if (pressed) OffsetRect(&tr, 1, 1);
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  flags |= Alignment == taLeftJustify ? DT_LEFT : Alignment == taRightJustify ? DT_RIGHT : DT_CENTER;
  if (Alignment == taLeftJustify && Margin > 0) tr.left = r.left + Margin;
  std::wstring text = Caption();
  if (glyph_ && !glyph_->Empty()) {
    // The glyph goes before the caption (centred when there is none); its
    // transparent colour lets the face show through.
    const int gw = glyph_->Width(), gh = glyph_->Height();
    const int gx = text.empty() ? tr.left + (tr.right - tr.left - gw) / 2 : tr.left;
    const int gy = tr.top + (tr.bottom - tr.top - gh) / 2;
    ::TransparentBlt(dc, gx, gy, gw, gh, glyph_->Canvas()->Handle(), 0, 0, gw, gh,
                     ColorToRGB(glyph_->TransparentColor()) & 0xFFFFFF);
    if (!text.empty()) tr.left = gx + gw + Spacing;
  }
  c->Brush()->SetStyle(bsClear);
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  c->TextRect(tr, text, flags);
}
