#include "skin/controls/LabelFX.h"

#include <algorithm>

#include "skin/engine/BmpView.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"

// ---------------------------------------------------------------- TsShadow, TsKind

namespace {
template <class T>
void StoreAndRepaint(T& field, T value, TControl* owner) {
  if (field == value) return;
  field = value;
  if (owner) owner->Invalidate();
}
}  // namespace

void TsShadow::SetBlurCount(int v) { StoreAndRepaint(blurCount_, v, owner_); }
void TsShadow::SetDistance(int v) { StoreAndRepaint(distance_, v, owner_); }
void TsShadow::SetColor(TColor v) { StoreAndRepaint(color_, v, owner_); }
void TsShadow::SetMode(TsShadowMode v) { StoreAndRepaint(mode_, v, owner_); }
void TsKind::SetKindType(TsKindType v) { StoreAndRepaint(kindType_, v, owner_); }
void TsKind::SetColor(TColor v) { StoreAndRepaint(color_, v, owner_); }

// ---------------------------------------------------------------- TsLabelFX

TsLabelFX::TsLabelFX(TComponent* AOwner)
    : TsCustomLabel(AOwner),
      work_(std::make_unique<TBitmap>(0, 0, pf32bit)),
      shadow_(std::make_unique<TsShadow>(this)),
      kind_(std::make_unique<TsKind>(this)) {}

TsLabelFX::~TsLabelFX() = default;

TColor TsLabelFX::TextColor() const {
  switch (kind_->KindType()) {
    case ktStandard:
      return Font()->Color();
    case ktCustom:
      return kind_->Color();
    case ktSkin:
      if (SkinActive()) {
        const int i = DefaultManager->GetSkinIndex(L"GLOBALINFO");
        if (i >= 0 && DefaultManager->gd[i].FontColor[0] != -1)
          return static_cast<TColor>(DefaultManager->gd[i].FontColor[0]);
      }
      return kind_->Color();
  }
  return Font()->Color();
}

void TsLabelFX::DoDrawText(TRect& rect, UINT flags) {
  if (shadow_->Mode() == smNone) {
    TsCustomLabel::DoDrawText(rect, flags);
    return;
  }
  TColor shadow = shadow_->Color();
  int blur = shadow_->BlurCount(), distance = shadow_->Distance();
  if (shadow_->Mode() == smSkin1 && SkinActive() && DefaultManager->SkinData->Shadow1Blur != -1) {
    shadow = DefaultManager->SkinData->Shadow1Color;
    blur = DefaultManager->SkinData->Shadow1Blur;
    distance = DefaultManager->SkinData->Shadow1Offset;
  }
  const std::wstring text = DrawnText(flags);
  TCanvas* c = Canvas();
  c->SetFont(Font());
  c->Brush()->SetStyle(TBrushStyle::bsClear);
  if (!Enabled()) {
    TRect moved = rect;
    ::OffsetRect(&moved, 1, 1);
    c->Font()->SetColor(clBtnHighlight);
    c->TextRect(moved, text, flags);
    c->Font()->SetColor(clBtnShadow);
    c->TextRect(rect, text, flags);
    return;
  }
  const TColor textColor = TextColor();
  const bool measuring = flags & DT_CALCRECT;
  if (measuring || shadow == clNone || blur <= 0) {
    c->Font()->SetColor(textColor);
    c->TextRect(rect, text, flags);
  } else {
    PaintShadowed(rect, flags, text, shadow, blur, distance, textColor);
  }
  if (measuring && shadow != clNone && blur > 0) {
    shiftLT_ = std::min(0, distance - blur);
    shiftRB_ = std::max(0, distance + blur);
    rect.right += shiftRB_ - shiftLT_;
    rect.bottom += shiftRB_ - shiftLT_;
  }
}

void TsLabelFX::PaintShadowed(const TRect& rect, UINT flags, const std::wstring& text,
                              TColor shadow, int blur, int distance, TColor textColor) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (w <= 0 || h <= 0) return;
  work_->SetSize(w, h);
  TCanvas* wc = work_->Canvas();
  wc->Brush()->SetStyle(TBrushStyle::bsSolid);
  wc->Brush()->SetColor(clBlack);
  wc->FillRect(TRect{0, 0, w, h});
  wc->SetFont(Font());
  wc->Font()->SetColor(clWhite);
  wc->Brush()->SetStyle(TBrushStyle::bsClear);
  // The text in the rectangle shifted as measured, moved by the distance.
  const TRect textRect{-shiftLT_, -shiftLT_, w - shiftRB_, h - shiftRB_};
  TRect shadowRect = textRect;
  ::OffsetRect(&shadowRect, distance, distance);
  wc->TextRect(shadowRect, text, flags);
  ::GdiFlush();

  // Blur: cells under white pixels start at 255, then each inner cell takes
  // the mean of its four neighbours, in place and in row order.
  const int bw = w + 2, bh = h + 2;
  const size_t need = static_cast<size_t>(bw) * bh;
  if (blur_.size() < need) blur_.resize(need * 2);
  std::fill(blur_.begin(), blur_.begin() + need, 0);
  TacBmpView v(*work_);
  for (int pass = 0; pass < blur; ++pass) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (v.Pixel(x, y)[0] != 0) blur_[(y + 1) * bw + x + 1] = 255;
    for (int y = 1; y < bh - 1; ++y)
      for (int x = 1; x < bw - 1; ++x) {
        const size_t i = static_cast<size_t>(y) * bw + x;
        blur_[i] = static_cast<uint8_t>((blur_[i - bw] + blur_[i + bw] + blur_[i - 1] + blur_[i + 1]) >> 2);
      }
  }

  // The shadow over the label's background.
  TCanvas* c = Canvas();
  if (Transparent())
    ::BitBlt(wc->Handle(), 0, 0, w, h, c->Handle(), rect.left, rect.top, SRCCOPY);
  const TColor back = ColorToRGB(Color());
  const uint8_t sc[3] = {static_cast<uint8_t>(shadow >> 16), static_cast<uint8_t>(shadow >> 8),
                         static_cast<uint8_t>(shadow)};
  const uint8_t bc[3] = {static_cast<uint8_t>(back >> 16), static_cast<uint8_t>(back >> 8),
                         static_cast<uint8_t>(back)};
  ::GdiFlush();
  for (int y = 0; y < h; ++y) {
    uint8_t* p = v.Row(y);
    for (int x = 0; x < w; ++x, p += v.BytesPerPixel) {
      const int a = blur_[(y + 1) * bw + x + 1];
      for (int k = 0; k < 3; ++k)
        p[k] = Transparent() ? static_cast<uint8_t>((p[k] * (255 - a) + sc[k] * a) >> 8)
                             : static_cast<uint8_t>((sc[k] * a + bc[k] * (255 - a)) >> 8);
    }
  }
  rebuild_ = false;
  ::BitBlt(c->Handle(), rect.left, rect.top, w, h, wc->Handle(), 0, 0, SRCCOPY);
  c->SetFont(Font());
  c->Font()->SetColor(textColor);
  c->Brush()->SetStyle(TBrushStyle::bsClear);
  TRect over = textRect;
  ::OffsetRect(&over, rect.left, rect.top);
  c->TextRect(over, text, flags);
}

void TsLabelFX::AdjustBounds() {
  TsCustomLabel::AdjustBounds();
  if (!AutoSize() || HasState(csLoading) || shadow_->Mode() == smNone) return;
  if (shadow_->Color() == clNone || shadow_->BlurCount() <= 0) return;
  // The measured text grows by the shadow on both sides.
  const int distance = shadow_->Distance(), blur = shadow_->BlurCount();
  shiftLT_ = std::min(0, distance - blur);
  shiftRB_ = std::max(0, distance + blur);
  const int grow = shiftRB_ - shiftLT_;
  TsCustomLabel::SetBounds(Left(), Top(), Width() + grow, Height() + grow);
}
