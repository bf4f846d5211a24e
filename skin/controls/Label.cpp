#include "skin/controls/Label.h"

#include "skin/engine/ControlUtils.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/FastPixels.h"

namespace {

// Paint swaps fonts; the font-change handling must not answer that.
bool painting = false;

}  // namespace

TsCustomLabel::TsCustomLabel(TComponent* AOwner) : TLabel(AOwner) { SetTransparent(true); }

bool TsCustomLabel::Painting() { return painting; }

bool TsCustomLabel::SkinActive() {
  return DefaultManager && DefaultManager->SkinData && DefaultManager->SkinData->Active;
}

TFont* TsCustomLabel::GetCurrentFont() {
  if (SkinActive()) {
    const TColor c = DefaultManager->GetGlobalFontColor();
    if (c != clFuchsia && Font()->Color() != c) Font()->SetColor(c);
  }
  return Font();
}

TFont* TsLabel::GetCurrentFont() {
  return UseSkinColor ? TsCustomLabel::GetCurrentFont() : Font();
}

void TsCustomLabel::TakeCurrentFont() {
  if (painting) return;
  painting = true;
  TFont* f = GetCurrentFont();
  if (f != Font()) Font()->Assign(f);
  painting = false;
}

void TsCustomLabel::Paint() {
  TakeCurrentFont();
  TCanvas* c = Canvas();
  c->SetFont(Font());
  TRect r = ClientRect();
  if (!Transparent()) {
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->FillRect(r);
  }
  c->Brush()->SetStyle(TBrushStyle::bsClear);
  TRect calc = r;
  DoDrawText(calc, TextFlags() | DT_CALCRECT);
  const int h = calc.bottom - calc.top;
  if (Layout() == tlCenter) ::OffsetRect(&r, 0, (Height() - h) / 2);
  else if (Layout() == tlBottom) ::OffsetRect(&r, 0, Height() - h);
  DoDrawText(r, TextFlags());
}

std::wstring TsCustomLabel::DrawnText(UINT flags) const {
  std::wstring text = Caption();
  if ((flags & DT_CALCRECT) && (text.empty() || text == L"&")) text += L" ";
  return text;
}

void TsCustomLabel::DoDrawText(TRect& rect, UINT flags) {
  TCanvas* c = Canvas();
  c->SetFont(Font());
  if (!Enabled()) {
    if (SkinActive()) {
      UpdateBGFillColor(Parent());
      c->Font()->SetColor(BlendColors(ColorToRGB(Font()->Color()), BGFillColor, 0.4));
    } else {
      c->Font()->SetColor(clGrayText);
    }
  }
  c->TextRect(rect, DrawnText(flags), flags);
}

bool TsCustomLabel::RemoveSkin(TMessage& m) {
  (void)m;
  Font()->SetColor(clWindowText);
  return false;
}

bool TsLabel::RemoveSkin(TMessage& m) {
  (void)m;
  if (UseSkinColor) Font()->SetColor(clWindowText);
  return true;
}

void TsCustomLabel::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_FONTCHANGED:
      if (!painting) {
        AdjustBounds();
        Repaint();
      }
      return;
    case SM_ALPHACMD:
      if (SkinCmdOf(m) == AC_REMOVESKIN &&
          m.LParam == reinterpret_cast<LPARAM>(DefaultManager) && RemoveSkin(m))
        return;
      break;
  }
  TLabel::WndProc(m);
}
