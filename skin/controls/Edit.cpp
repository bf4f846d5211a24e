#include "skin/controls/Edit.h"

#include "framework/Handles.h"
#include "skin/engine/Corners.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinText.h"

int TsEdit::BorderWidth() const { return BorderStyle() == bsSingle ? (ctl3D_ ? 2 : 1) : 0; }

void TsEdit::SetCtl3D(bool value) {
  if (ctl3D_ == value) return;
  ctl3D_ = value;
  SkinData->BGChanged = true;
  if (HandleAllocated()) RecreateWnd();
}

// The system's frame is as wide as the border the skin draws over it. A
// flat one is a static edge: an edit takes WS_BORDER off itself and draws
// that line inside its client area.
void TsEdit::CreateParams(TCreateParams& params) {
  TsBoundControl::CreateParams(params);
  if (BorderStyle() != bsSingle || ctl3D_) return;
  params.ExStyle = (params.ExStyle & ~static_cast<DWORD>(WS_EX_CLIENTEDGE)) | WS_EX_STATICEDGE;
}

void TsEdit::ApplySkinColors() {
  const TsGeneralData* s = SkinData->Section();
  if (!s) return;
  const bool hot = SkinData->ControlIsActive();
  const TColor color = hot ? s->HotColor : s->Color;
  const TColor font = static_cast<TColor>(hot ? s->HotFontColor[0] : s->FontColor[0]);
  if (!SkinData->CustomColor() && Color() != color) SetColor(color);
  if (!SkinData->CustomFont() && Font()->Color() != font) Font()->SetColor(font);
}

// The edit tells no children: it has none that paint from it.
TacSkinChangeRule TsEdit::SkinChangeRule(WORD) const {
  TacSkinChangeRule rule;
  rule.handledForOthers = false;
  return rule;
}

void TsEdit::AfterSkinChange(TMessage& m) {
  if (SkinCmdOf(m) != AC_REFRESH) return;
  Repaint();
  if (HandleAllocated()) ::SendMessageW(WindowHandle(), WM_NCPAINT, 0, 0);
}

bool TsEdit::OtherSkinCommand(TMessage& m) {
  if (SkinCmdOf(m) != AC_ISTEXTURED) return false;
  // Never textured for what lies on it.
  m.LParam = 0;
  m.Result = 0;
  return true;
}

void TsEdit::SkinnedMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      return OnPaint(m);
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_NCPAINT:
      OnNcPaint();
      m.Result = 0;
      return;
    case WM_PRINT:
      return OnPrint(m);
    case CM_COLORCHANGED:
      if (SkinData->CustomColor()) SkinData->BGChanged = true;
      break;
  }
  CommonWndProc(m, SkinData.get());
  TEdit::WndProc(m);
  AfterSkinnedMessage(m);
}

void TsEdit::AfterSkinnedMessage(const TMessage& m) {
  if (Destroying() || !HandleAllocated()) return;
  const HWND wnd = WindowHandle();
  switch (m.Msg) {
    case SM_ALPHACMD:
      if (SkinCmdOf(m) == AC_ENDPARENTUPDATE && SkinData->GetUpdating()) {
        SkinData->Updating = false;
        Repaint();
        ::SendMessageW(wnd, WM_NCPAINT, 0, 0);
      } else if (SkinCmdOf(m) == AC_SETBGDEPENDENT && SkinData->BGDependent) {
        PrepareCache();
      }
      break;
    case WM_KILLFOCUS:
    case CM_EXIT:
      SkinData->MouseAbove = false;
      SkinData->Focused = false;
      SkinData->BGChanged = true;
      if (Visible()) {
        Repaint();
        ::SendMessageW(wnd, WM_NCPAINT, 0, 0);
      }
      break;
    case WM_SETFONT:
    case WM_SETTEXT:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
      if (HasState(csLoading)) break;
      SkinData->Invalidate();
      ::SendMessageW(wnd, WM_NCPAINT, 0, 0);
      break;
    case WM_SIZE:
      ::SendMessageW(wnd, WM_NCPAINT, 0, 0);
      break;
  }
}

void TsEdit::OnPaint(TMessage& m) {
  SkinData->Updating = SkinData->GetUpdating();
  if (SkinData->Updating) {
    PaintScope nothing(WindowHandle());
    return;
  }
  ApplySkinColors();
  TEdit::WndProc(m);
}

void TsEdit::OnNcPaint() {
  SkinData->Updating = SkinData->GetUpdating();
  if (SkinData->Updating || !HandleAllocated()) return;
  UniqueWindowDC dc = UniqueWindowDC::Window(WindowHandle());
  SaveDCScope state(dc.get());
  if (SkinData->BGChanged) PrepareCache();
  UpdateCorners(SkinData.get(), 0);
  TBitmap* cache = SkinData->CacheBmp.get();
  BitBltBorder(dc.get(), 0, 0, Width(), Height(), cache->Canvas()->Handle(), 0, 0, BorderWidth());
}

// The skin's whole image (border and text); the system edit then prints
// its client area over it, inside the border.
void TsEdit::OnPrint(TMessage& m) {
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (!dc) return TEdit::WndProc(m);
  SkinData->Updating = false;
  // The system edit prints its client area in the colours of the moment.
  ApplySkinColors();
  MarkStaleByParent(this, SkinData.get());
  PrepareCache();
  UpdateCorners(SkinData.get(), 0);
  SaveDCScope state(dc);
  CopyCacheToDC(SkinData.get(), dc);
  const int d = BorderWidth();
  TBitmap* cache = SkinData->CacheBmp.get();
  POINT old{};
  ::OffsetWindowOrgEx(dc, -d, -d, &old);
  ::IntersectClipRect(dc, 0, 0, cache->Width() - 2 * d, cache->Height() - 2 * d);
  // The system's own frame would cover the skin's.
  m.LParam &= ~static_cast<LPARAM>(PRF_NONCLIENT | PRF_ERASEBKGND);
  TEdit::WndProc(m);
}

void TsEdit::PrepareCache() {
  SkinData->InitCacheBmp();
  const int state = SkinData->ControlIsActive() ? 1 : 0;
  const TCacheInfo ci = GetParentCache(SkinData.get());
  TBitmap* cache = SkinData->CacheBmp.get();
  PaintSkinControl(SkinData.get(), ci, true, state, TRect{0, 0, Width(), Height()},
                   TPoint{Left(), Top()}, cache, false);
  PaintText();
  if (!Enabled())
    ApplyDisabledKind(TacBmpView(*cache), disabledKind_, Parent(), ci, TPoint{Left(), Top()});
  SkinData->BGChanged = false;
}

// The text as the edit would show it, for printed images: a password edit
// shows its password character once per character, never the text.
void TsEdit::PaintText() {
  const int d = BorderWidth();
  TCanvas* c = SkinData->CacheBmp->Canvas();
  c->SetFont(Font());
  std::wstring text = Text();
  const auto password =
      HandleAllocated()
          ? static_cast<wchar_t>(::SendMessageW(WindowHandle(), EM_GETPASSWORDCHAR, 0, 0))
          : L'\0';
  if (password != L'\0') text.assign(text.size(), password);
  TRect r{d + 1, d + 1, Width() - d, Height() - d};
  DrawSkinText(c, text, true, r, DT_NOPREFIX | DT_SINGLELINE | DT_WORDBREAK, SkinData.get(),
               SkinData->ControlIsActive());
}
