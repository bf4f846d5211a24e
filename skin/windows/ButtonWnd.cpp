#include "skin/windows/ButtonWnd.h"

#include <algorithm>

#include "framework/Buttons.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/FocusFrame.h"
#include "skin/engine/Masks.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinText.h"
#include "skin/windows/AdapterPaint.h"
#include "skin/windows/WndCache.h"

namespace {

LRESULT StateOf(HWND wnd) { return ::SendMessageW(wnd, BM_GETSTATE, 0, 0); }
LONG_PTR StyleOf(HWND wnd) { return ::GetWindowLongPtrW(wnd, GWL_STYLE); }

// The window's image in DC: the one the message carries, else the client DC.
void CopyCache(HWND wnd, TBitmap* cache, HDC given) {
  if (!cache || cache->Empty()) return;
  UniqueWindowDC own;
  if (!given) own = UniqueWindowDC::Client(wnd);
  ::BitBlt(given ? given : own.get(), 0, 0, cache->Width(), cache->Height(),
           cache->Canvas()->Handle(), 0, 0, SRCCOPY);
}

}  // namespace

// ---------------------------------------------------------------- push button

int TacBtnWnd::ButtonState() const {
  const LRESULT s = StateOf(CtrlHandle);
  if (s & BST_PUSHED) return 2;
  if (!::IsWindowEnabled(CtrlHandle)) return 0;
  if (::GetFocus() == CtrlHandle || (DefaultManager && DefaultManager->ActiveControl == CtrlHandle))
    return 1;
  const LONG_PTR style = StyleOf(CtrlHandle);
  if (SkinData->OwnerControl ? (style & 15) == BS_DEFPUSHBUTTON : (style & 1) != 0) return 1;
  return 0;
}

bool TacBtnWnd::IsPressed() const { return (StateOf(CtrlHandle) & BST_PUSHED) != 0; }

TPoint TacBtnWnd::TextSize() const {
  const TPoint g = GlyphSize();
  const int maxWidth = Caption.empty() ? 0 : WndSize.x - 2 - (g.x ? g.x + 2 : 0);
  RECT r{0, 0, maxWidth, 0};
  UINT flags = DT_CALCRECT | DT_EXPANDTABS | DT_CENTER;
  if (!(StyleOf(CtrlHandle) & BS_MULTILINE)) flags |= DT_WORDBREAK;
  TBitmap* cache = SkinData->CacheBmp.get();
  HDC dc = cache ? cache->Canvas()->Handle() : nullptr;
  if (dc) ::DrawTextW(dc, Caption.c_str(), static_cast<int>(Caption.size()), &r, flags);
  return TPoint{r.right - r.left, r.bottom - r.top};
}

TRect TacBtnWnd::CaptionRect() const {
  const TPoint s = TextSize();
  const int dx = (WndSize.x - s.x) / 2, dy = (WndSize.y - s.y) / 2;
  TRect r{dx - 1, dy, WndSize.x - dx + 2, WndSize.y - dy};
  if (IsPressed()) ::OffsetRect(&r, 1, 1);
  return r;
}

void TacBtnWnd::DrawBtnText(TRect& r, UINT flags) {
  TCanvas* canvas = SkinData->CacheBmp->Canvas();
  canvas->Brush()->SetStyle(TBrushStyle::bsClear);
  DrawSkinText(canvas, Caption, ::IsWindowEnabled(CtrlHandle) != FALSE, r, flags, SkinData,
               ButtonState() != 0);
}

void TacBtnWnd::DrawCaption() {
  TCanvas* canvas = SkinData->CacheBmp->Canvas();
  UseWindowFont(canvas, CtrlHandle);
  TRect r = CaptionRect();
  UINT flags = DT_EXPANDTABS | DT_CENTER;
  if (!(StyleOf(CtrlHandle) & BS_MULTILINE)) flags |= DT_WORDBREAK;
  DrawBtnText(r, flags);
  const TsGeneralData* section = SkinData->Section();
  if (::IsWindowEnabled(CtrlHandle) && (StateOf(CtrlHandle) & BST_FOCUS) && !Caption.empty() &&
      section && section->ShowFocus) {
    r = CaptionRect();
    ::InflateRect(&r, 1, 1);
    DrawFocusFrame(canvas, r);
  }
}

void TacBtnWnd::PrepareCache() {
  const TCacheInfo ci = GetParentCacheHwnd(CtrlHandle);
  SkinData->InitCacheBmp();
  BGFillColor = clFuchsia;
  if (ci.Ready && !SkinData->DependsOnParentBg())
    BGFillColor = ColorToRGB(RequestBGColor(ParentWnd));
  TBitmap* cache = SkinData->CacheBmp.get();
  cache->SetSize(WndSize.x, WndSize.y);
  const int state = ButtonState();
  PaintSkinControl(SkinData, ci, true, state, TRect{0, 0, WndSize.x, WndSize.y},
                   TPoint{WndRect.left - ParentRect.left - ci.X, WndRect.top - ParentRect.top - ci.Y},
                   cache, false);
  UpdateWndCorners(SkinData, state, this);
  if (::IsWindowEnabled(CtrlHandle)) {
    DrawCaption();
    DrawGlyph();
  } else {
    // The face fades into the parent; the caption goes on top in the
    // section's disabled colour, so it stays readable.
    DrawGlyph();
    FadeIntoParent(cache, ci, WndPos);  // where the background above came from
    DrawCaption();
  }
  MaskFillColor = clFuchsia;
  BGFillColor = clFuchsia;
  SkinData->BGChanged = false;
}

void TacBtnWnd::PaintButton(TMessage& message) {
  GetWndRectInParent(CtrlHandle, ParentWnd, WndRect, Caption, WndPos, WndSize, ParentRect);
  HDC given = reinterpret_cast<HDC>(message.WParam);
  PAINTSTRUCT ps;
  if (!given) ::BeginPaint(CtrlHandle, &ps);
  SkinData->SetUpdating(SkinData->GetUpdating());
  if (!SkinData->Updating && WndSize.x > 0 && WndSize.y > 0) {
    SkinData->BGChanged = true;
    PrepareCache();
    CopyCache(CtrlHandle, SkinData->CacheBmp.get(), given);
  }
  if (!given) ::EndPaint(CtrlHandle, &ps);
  message.Result = 0;
}

void TacBtnWnd::Repaint() {
  SkinData->BGChanged = true;
  ::SendMessageW(CtrlHandle, WM_PAINT, 0, 0);
}

void TacBtnWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacMainWnd::WndProc(message);
  switch (message.Msg) {
    case SM_ALPHACMD:
      if (SkinCmdOf(message) == AC_MOUSEENTER || SkinCmdOf(message) == AC_MOUSELEAVE) Repaint();
      break;
    case WM_NCPAINT:
    case WM_ERASEBKGND:
    case WM_UPDATEUISTATE:
      message.Result = 1;
      return;
    case WM_MOVE:
      if (SkinData->IsSectionTransparent()) Repaint();
      break;
    case WM_SETFOCUS: {
      // Asked before the button's own procedure runs, as for every message
      // it sees; only the focus messages need it.
      const bool enabled = ::IsWindowEnabled(CtrlHandle);
      // The button's own procedure keeps its focus state and tells the
      // parent (BN_SETFOCUS); it only must not paint.
      WithoutRedraw(CtrlHandle, [&] { PassOn(message); });
      if (!Destroyed && enabled) {
        SkinData->Focused = true;
        Repaint();
      }
      return;
    }
    case WM_KILLFOCUS:
      if (!::IsWindowEnabled(CtrlHandle)) break;
      WithoutRedraw(CtrlHandle, [&] { TacMainWnd::WndProc(message); });
      if (Destroyed) return;
      SkinData->Focused = false;
      Repaint();
      return;
    case WM_ENABLE:
    case BM_SETSTATE:
      if (!::IsWindowVisible(CtrlHandle)) break;
      WithoutRedraw(CtrlHandle, [&] { TacMainWnd::WndProc(message); });
      if (!Destroyed) Repaint();
      return;
    case WM_PAINT:
    case WM_PRINT:
      return PaintButton(message);
  }
  TacMainWnd::WndProc(message);
  if (!Destroyed && message.Msg == WM_MOUSEMOVE) TrackHotByCursor(CtrlHandle);
}

// ---------------------------------------------------------------- bitmap button

TPoint TacBitBtnWnd::GlyphSize() const {
  auto* btn = dynamic_cast<TBitBtn*>(SkinData->OwnerControl);
  TBitmap* glyph = btn ? btn->Glyph() : nullptr;
  if (!glyph || glyph->Empty()) return TPoint{0, 0};
  return TPoint{glyph->Width(), glyph->Height()};
}

TRect TacBitBtnWnd::CaptionRect() const {
  TRect r = TacBtnWnd::CaptionRect();
  const TPoint g = GlyphSize();
  if (g.x) ::OffsetRect(&r, g.x / 2 + 1, 0);
  return r;
}

TRect TacBitBtnWnd::GlyphRect() const {
  const TPoint g = GlyphSize();
  if (!g.x) return TRect{};
  const TRect t = CaptionRect();
  TRect r{};
  r.right = t.left - 2;
  r.left = r.right - g.x;
  r.top = (IsPressed() ? 1 : 0) + (WndSize.y - g.y) / 2;
  r.bottom = r.top + g.y;
  return r;
}

void TacBitBtnWnd::DrawGlyph() {
  auto* btn = dynamic_cast<TBitBtn*>(SkinData->OwnerControl);
  TBitmap* glyph = btn ? btn->Glyph() : nullptr;
  if (!glyph || glyph->Empty()) return;
  const TPoint g = GlyphSize();
  const TRect r = GlyphRect();
  // One cell: every state shows it.
  TacBmpView src(glyph);
  TColor trans = clFuchsia;
  if (!src.Empty()) {
    const uint8_t* p = src.Pixel(0, 0);
    trans = static_cast<TColor>(p[2] | (p[1] << 8) | (p[0] << 16));
  }
  CopyTransRect(TacBmpView(SkinData->CacheBmp.get()), src, r.left, r.top,
                TRect{0, 0, g.x - 1, g.y - 1}, trans, EmptyCacheInfo, false);
}

// ---------------------------------------------------------------- check box

int TacCheckBoxWnd::CheckState() const {
  const LRESULT s = StateOf(CtrlHandle);
  if (s & BST_INDETERMINATE) return 2;
  return (s & BST_CHECKED) ? 1 : 0;
}

int TacCheckBoxWnd::GlyphState() const {
  const LRESULT s = StateOf(CtrlHandle);
  if (s & BST_PUSHED) return 2;
  if ((s & BST_FOCUS) || (DefaultManager && DefaultManager->ActiveControl == CtrlHandle)) return 1;
  return 0;
}

int TacCheckBoxWnd::GlyphIndex(int state) const {
  TsSkinManager* manager = Manager();
  if (!manager) return -1;
  const LONG_PTR style = StyleOf(CtrlHandle);
  const bool radio = (style & 3) < 3 && (style & 2) == 0 && (style & 5) < 5;
  static const wchar_t* const kRadio[] = {L"RADIOUNCHECKED", L"RADIOCHECKED", L"BOXGRAYED"};
  static const wchar_t* const kBox[] = {L"BOXUNCHECKED", L"BOXCHECKED", L"BOXGRAYED"};
  state = std::clamp(state, 0, 2);
  return manager->GetMaskIndex(manager->CachedIndexes.GlobalInfo, L"GLOBALINFO",
                               radio ? kRadio[state] : kBox[state]);
}

TRect TacCheckBoxWnd::GlyphRect(int index) const {
  if (index < 0) return TRect{};
  const TPoint cell = MaskCellSize(Manager(), index);
  const int top = (WndSize.y - cell.y) / 2;
  return TRect{0, top, cell.x, top + cell.y};
}

TRect TacCheckBoxWnd::GlyphSize() const {
  const int index = GlyphIndex(1);
  if (Manager() && Manager()->IsValidImgIndex(index)) return GlyphRect(index);
  return TRect{0, 0, 16, 16};
}

void TacCheckBoxWnd::DrawGlyph(int index) {
  TBitmap* cache = SkinData->CacheBmp.get();
  if (!cache || cache->Width() < 1 || index < 0) return;
  MaskFillColor = clFuchsia;
  const TRect r = GlyphRect(index);
  DrawMaskCell(cache, Manager(), index, TPoint{r.left, r.top}, GlyphState());
}

void TacCheckBoxWnd::DrawCaption() {
  if (Caption.empty()) return;
  const TRect g = GlyphSize();
  const int gw = g.right - g.left;
  TRect r{gw + 2, 0, WndSize.x - 4, WndSize.y - 2};
  const UINT flags = (StyleOf(CtrlHandle) & BS_MULTILINE) ? DT_WORDBREAK | DT_CENTER : DT_VCENTER;
  TCanvas* canvas = SkinData->CacheBmp->Canvas();
  DrawSkinText(canvas, Caption, ::IsWindowEnabled(CtrlHandle) != FALSE, r, flags, SkinData,
               GlyphState() == 1);
  canvas->Pen()->SetStyle(TPenStyle::psClear);
  canvas->Brush()->SetStyle(TBrushStyle::bsSolid);
  if (StateOf(CtrlHandle) & BST_FOCUS)
    DrawFocusFrame(canvas, TRect{gw + 2, 2, WndSize.x - 4, WndSize.y - 2});
}

void TacCheckBoxWnd::PrepareCache() {
  SkinData->InitCacheBmp();
  TBitmap* cache = SkinData->CacheBmp.get();
  cache->SetSize(WndSize.x, WndSize.y);
  UseWindowFont(cache->Canvas(), CtrlHandle);
  PaintSkinControl(SkinData, parentImage_, true, SkinData->ControlIsActive() ? 1 : 0,
                   TRect{0, 0, WndSize.x, WndSize.y},
                   TPoint{WndPos.x - parentImage_.X, WndPos.y - parentImage_.Y}, cache, false);
  const bool enabled = ::IsWindowEnabled(CtrlHandle);
  if (enabled) DrawCaption();
  DrawGlyph(GlyphIndex(CheckState()));
  if (!enabled) {
    FadeIntoParent(cache, parentImage_, WndPos);  // where the background came from
    DrawCaption();  // after the fade, in the section's disabled colour
  }
  SkinData->BGChanged = false;
}

void TacCheckBoxWnd::PaintCheckBox(TMessage& message) {
  GetWndRectInParent(CtrlHandle, ParentWnd, WndRect, Caption, WndPos, WndSize, ParentRect);
  parentImage_ = RequestCacheInfo(ParentWnd);
  HDC given = reinterpret_cast<HDC>(message.WParam);
  message.Result = 0;
  PAINTSTRUCT ps;
  if (!given) ::BeginPaint(CtrlHandle, &ps);
  if ((given || ::IsWindowVisible(CtrlHandle)) && WndSize.x > 0 && WndSize.y > 0) {
    SkinData->BGChanged = true;
    PrepareCache();
    CopyCache(CtrlHandle, SkinData->CacheBmp.get(), given);
  }
  if (!given) ::EndPaint(CtrlHandle, &ps);
}

void TacCheckBoxWnd::Repaint() { ::SendMessageW(CtrlHandle, WM_PAINT, 0, 0); }

void TacCheckBoxWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacMainWnd::WndProc(message);
  switch (message.Msg) {
    case SM_ALPHACMD:
      if (SkinCmdOf(message) == AC_MOUSEENTER || SkinCmdOf(message) == AC_MOUSELEAVE) {
        SkinData->BGChanged = true;
        Repaint();
      }
      break;
    case WM_NCPAINT:
    case WM_ERASEBKGND:
      return;
    case WM_ENABLE:
    case BM_SETCHECK:
    case BM_SETSTATE:
      if (!::IsWindowVisible(CtrlHandle)) break;
      WithoutRedraw(CtrlHandle, [&] { TacMainWnd::WndProc(message); });
      if (!Destroyed) Repaint();
      return;
    case WM_PAINT:
      return PaintCheckBox(message);
  }
  TacMainWnd::WndProc(message);
  if (Destroyed) return;
  switch (message.Msg) {
    case WM_KEYDOWN:
      if (message.WParam == VK_SPACE) Repaint();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      Repaint();
      break;
    case WM_NCHITTEST:
      if (DefaultManager && ::IsWindowEnabled(CtrlHandle) &&
          DefaultManager->ActiveControl != CtrlHandle)
        DefaultManager->SetActiveControl(CtrlHandle);
      break;
  }
}
