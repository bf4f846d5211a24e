// TsSkinProvider: the frame metrics and the painting of the whole window
// (frame, caption band, icon, buttons, caption text, grip, client
// background) into the one cache bitmap.
#include <algorithm>
#include <cstring>

#include "skin/engine/ControlUtils.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/Masks.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinText.h"
#include "skin/engine/SkinUtils.h"
#include "skin/engine/SkinnedForms.h"
#include "skin/windows/FrameRegion.h"
#include "skin/windows/SkinProvider.h"

namespace {

bool Minimized(HWND wnd) { return wnd && ::IsIconic(wnd); }

TacBmpView MasterOf(TsSkinManager* m) {
  return m && m->MasterBitmap ? TacBmpView(*m->MasterBitmap) : TacBmpView();
}

// The rows of R (inside View) one after another.
void TakeRect(const TacBmpView& view, const TRect& r, std::vector<uint8_t>& out) {
  const size_t row = static_cast<size_t>(r.right - r.left) * view.BytesPerPixel;
  out.resize(row * (r.bottom - r.top));
  for (int y = r.top; y < r.bottom; ++y)
    std::memcpy(out.data() + row * (y - r.top), view.Pixel(r.left, y), row);
}

bool RectHolds(const TacBmpView& view, const TRect& r, const std::vector<uint8_t>& rows) {
  const size_t row = static_cast<size_t>(r.right - r.left) * view.BytesPerPixel;
  if (rows.size() != row * (r.bottom - r.top)) return false;
  for (int y = r.top; y < r.bottom; ++y)
    if (std::memcmp(rows.data() + row * (y - r.top), view.Pixel(r.left, y), row) != 0) return false;
  return true;
}

void PutRect(const TacBmpView& view, const TRect& r, const std::vector<uint8_t>& rows) {
  const size_t row = static_cast<size_t>(r.right - r.left) * view.BytesPerPixel;
  for (int y = r.top; y < r.bottom; ++y)
    std::memcpy(view.Pixel(r.left, y), rows.data() + row * (y - r.top), row);
}

}  // namespace

class TsSkinProvider::CaptionHeightHold {
 public:
  explicit CaptionHeightHold(const TsSkinProvider& p) : p_(p), saved_(p.captionHeightHeld_) {
    if (saved_ < 0) p_.captionHeightHeld_ = p_.SysCaptionHeight();
  }
  ~CaptionHeightHold() { p_.captionHeightHeld_ = saved_; }
  CaptionHeightHold(const CaptionHeightHold&) = delete;
  CaptionHeightHold& operator=(const CaptionHeightHold&) = delete;

 private:
  const TsSkinProvider& p_;
  int saved_;
};

// ---------------------------------------------------------------- metrics

bool TsSkinProvider::HasFrame() const {
  return Form && (Form->BorderStyle() != bsNone || Form->FormStyle() == fsMDIChild);
}

int TsSkinProvider::SysCaptionHeight() const {
  if (captionHeightHeld_ >= 0) return captionHeightHeld_;
  HWND wnd = FormHandle();
  if (!HasFrame() || !wnd) return 0;
  if ((::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION) != WS_CAPTION) return 0;
  const TBorderStyle bs = Form->BorderStyle();
  return ::GetSystemMetrics(bs == bsToolWindow || bs == bsSizeToolWin ? SM_CYSMCAPTION
                                                                      : SM_CYCAPTION);
}

int TsSkinProvider::SysBorderHeight() const {
  if (!HasFrame()) return 0;
  const TBorderStyle bs = Form->BorderStyle();
  const bool dlg = Form->FormStyle() == fsMDIChild
                       ? (bs == bsSingle || bs == bsToolWindow)
                       : (bs == bsSingle || bs == bsDialog || bs == bsToolWindow);
  return ::GetSystemMetrics(dlg ? SM_CYDLGFRAME : SM_CYFRAME);
}

int TsSkinProvider::SysBorderWidth() const {
  if (!HasFrame()) return 0;
  const TBorderStyle bs = Form->BorderStyle();
  const bool dlg = Form->FormStyle() == fsMDIChild
                       ? (bs == bsSingle || bs == bsToolWindow)
                       : (bs == bsSingle || bs == bsDialog || bs == bsToolWindow);
  return ::GetSystemMetrics(dlg ? SM_CXDLGFRAME : SM_CXFRAME);
}

int TsSkinProvider::BorderWidth() const { return 0; }
int TsSkinProvider::BorderHeight() const { return SysBorderHeight() + BorderWidth(); }
int TsSkinProvider::FormWidth() const { return WndWidth(FormHandle()); }
int TsSkinProvider::FormHeight() const { return WndHeight(FormHandle()); }

int TsSkinProvider::HeaderHeight() const {
  HWND wnd = FormHandle();
  int h = WndHeight(wnd) - WndClientHeight(wnd);
  if (SysCaptionHeight() != 0) h -= SysBorderHeight();
  h = std::max(h, 0);
  if (Minimized(wnd)) h += SysBorderHeight();
  if (SkinData->Skinned(false)) h -= ShownScrollBar(SB_HORZ);
  return h;
}

int TsSkinProvider::OffsetX() const {
  HWND wnd = FormHandle();
  return (WndWidth(wnd) - WndClientWidth(wnd) - ShownScrollBar(SB_VERT)) / 2;
}

int TsSkinProvider::OffsetY() const {
  HWND wnd = FormHandle();
  int y = WndHeight(wnd) - WndClientHeight(wnd);
  if (SysCaptionHeight() != 0) y -= BorderHeight();
  return y - ShownScrollBar(SB_HORZ);
}

int TsSkinProvider::ShownScrollBar(WORD bar) const {
  const TacScrollWnd* sw = FormScrollWnd.get();
  if (!sw || sw->Destroyed) return 0;
  const TacScrollBar* b = bar == SB_HORZ ? sw->HBar.get() : sw->VBar.get();
  return b && b->Visible ? GetScrollMetric(b, true, false) : 0;
}

int TitleIconSize(int size) {
  if (size >= 0 && size <= 8) return 0;
  if (size >= 9 && size <= 16) return 8;
  if (size >= 17 && size <= 27) return 16;
  return 32;
}

bool TsSkinProvider::IconVisible() const {
  return showAppIcon_ && Form &&
         (Form->BorderStyle() == bsSingle || Form->BorderStyle() == bsSizeable);
}

int TsSkinProvider::TitleIconWidth() const {
  return IconVisible() ? TitleIconSize(SysCaptionHeight()) : 0;
}
int TsSkinProvider::TitleIconHeight() const { return TitleIconWidth(); }

TRect TsSkinProvider::TitleIconRect() const {
  TRect r;
  r.left = SysBorderWidth();
  r.right = r.left + TitleIconWidth();
  r.top = (SysCaptionHeight() + SysBorderHeight() - TitleIconHeight()) / 2;
  r.bottom = r.top + TitleIconHeight();
  return r;
}

int TsSkinProvider::CaptionButtonWidth(const TsCaptionButton& button) const {
  TsSkinManager* m = Manager();
  if (!m || !m->IsValidImgIndex(button.ImageIndex)) return 21;
  return MaskCellWidth(m->ma[button.ImageIndex]);
}

int TsSkinProvider::CaptionButtonHeight() const {
  TsSkinManager* m = Manager();
  if (!m || !m->IsValidImgIndex(CloseButton.ImageIndex)) return 21;
  return MaskCellHeight(m->ma[CloseButton.ImageIndex]);
}

int TsSkinProvider::TitleButtonWidth(const TsTitleButton& button) const {
  TsSkinManager* m = Manager();
  const int cell = m && m->IsValidImgIndex(TitleButtonMask) ? MaskCellWidth(m->ma[TitleButtonMask]) : 21;
  // A glyph wider than the skin's cell widens its button.
  const TBitmap* glyph = button.Glyph();
  const int glyphWidth = glyph && !glyph->Empty() ? glyph->Width() + 2 : 0;
  return std::max(glyphWidth, cell);
}

int TsSkinProvider::StandardButtonCount() const {
  if (!Form || !(Form->BorderIcons() & biSystemMenu) || !SystemMenu) return 0;
  return 1 + (SystemMenu->VisibleMax() ? 1 : 0) + (SystemMenu->VisibleMin() ? 1 : 0) +
         ((Form->BorderIcons() & biHelp) ? 1 : 0);
}

int TsSkinProvider::ButtonsWidth() const {
  int w = 0;
  if (Form && (Form->BorderIcons() & biSystemMenu) && SystemMenu) {
    w += CaptionButtonWidth(CloseButton);
    if (SystemMenu->VisibleMax()) w += CaptionButtonWidth(MaxButton);
    if (SystemMenu->VisibleMin()) w += CaptionButtonWidth(MinButton);
    if (Form->BorderIcons() & biHelp) w += CaptionButtonWidth(HelpButton);
  }
  for (const auto& b : TitleButtons) w += TitleButtonWidth(*b);
  return w;
}

int TsSkinProvider::TitleBarWidth(int mask) const {
  TsSkinManager* m = Manager();
  int third = 0;
  if (m && m->IsValidImgIndex(mask)) {
    const TsMaskData& md = m->ma[mask];
    third = md.Bmp ? md.Bmp->Width() / 9 : MaskCellWidth(md) / 3;
  }
  return third * 2 + ButtonsWidth();
}

TPoint TsSkinProvider::GripPosition(int mask) const {
  TsSkinManager* m = Manager();
  const TBitmap* cache = SkinData->CacheBmp.get();
  const int cw = m && m->IsValidImgIndex(mask) ? MaskCellWidth(m->ma[mask]) : 0;
  const int ch = m && m->IsValidImgIndex(mask) ? MaskCellHeight(m->ma[mask]) : 0;
  return TPoint{cache->Width() - cw - SysBorderWidth(), cache->Height() - ch - SysBorderHeight()};
}

bool TsSkinProvider::FormSizeChanged() const {
  const TBitmap* cache = SkinData->CacheBmp.get();
  return !cache || cache->Width() != FormWidth() || cache->Height() != FormHeight();
}

std::wstring TsSkinProvider::TitleSectionName() const {
  return titleSkin_.empty() ? std::wstring(L"FORMTITLE") : titleSkin_;
}

void TsSkinProvider::UpdateButtonIndexes() {
  TsSkinManager* m = Manager();
  if (!m || !Form) return;
  const int global = m->GetSkinIndex(L"GLOBALINFO");
  if (!m->IsValidSkinIndex(global)) return;
  const bool small = Form->BorderStyle() != bsSingle && Form->BorderStyle() != bsSizeable;
  const TacCaptionImages images =
      CaptionButtonImages(m, SkinData->SkinIndex, SkinData->SkinSection(), small);
  MinButton.ImageIndex = images.Min;
  MaxButton.ImageIndex = images.Max;
  CloseButton.ImageIndex = images.Close;
  HelpButton.ImageIndex = images.Help;
  TitleButtonMask = m->GetMaskIndex(global, L"GLOBALINFO", L"TITLEBUTTON");
  UpdateMDIButtonIndexes();
}

// ---------------------------------------------------------------- cache

void TsSkinProvider::PaintAll() {
  HWND wnd = FormHandle();
  if (!wnd || (Form->ControlState() & csCreating)) return;
  TsSkinManager* m = Manager();
  const int w = FormWidth();
  const int h = Minimized(wnd) ? SysCaptionHeight() + SysBorderHeight() + 1 : FormHeight();
  if (!SkinData->BGChanged || !m) return;
  const CaptionHeightHold hold(*this);
  const int state = FormActive ? 1 : 0;
  const int capH = SysCaptionHeight();
  const int bandH = capH + SysBorderHeight();
  TBitmap* cache = SkinData->CacheBmp.get();
  const TsGeneralData* section = SkinData->Section();

  const bool reuseStrip = !MenuChanged && section && section->ReservedBoolean && TitleStripBmp &&
                          TitleStripBmp->Width() == w && cache->Height() == FormHeight() &&
                          cache->Width() == w && capH != 0;
  if (reuseStrip) {
    ::BitBlt(cache->Canvas()->Handle(), 0, 0, w, TitleStripBmp->Height(),
             TitleStripBmp->Canvas()->Handle(), 0, 0, SRCCOPY);
    RepaintCaption();
  } else {
    RgnRectsDirty = true;
    cache->SetSize(w, FormHeight());
    if (m->IsValidSkinIndex(SkinData->SkinIndex)) {
      const TRect all{0, 0, w, h};
      if (capH == 0)
        PaintBG(SkinData->SkinIndex, SkinData->SkinSection(), EmptyCacheInfo, state, all,
                TPoint{0, 0}, cache, m, -1, -1, clFuchsia);
      else
        PaintSkinControl(SkinData.get(), EmptyCacheInfo, true, state, all, TPoint{0, 0}, cache,
                         false);
      if (GripMode == gmRightBottom) {
        const int grip = m->GetMaskIndex(m->GetSkinIndex(L"GLOBALINFO"), L"GLOBALINFO", L"GRIPIMAGE");
        if (m->IsValidImgIndex(grip))
          DrawSkinGlyph(TacBmpView(*cache), GripPosition(grip), 0, 1, m->ma[grip], MasterOf(m));
      }
      if (section && section->ReservedBoolean && (!TitleStripBmp || TitleStripBmp->Width() != w))
        TitleStripBmp.reset();
      if (capH != 0) {
        const std::wstring title = TitleSectionName();
        const int titleIndex = m->GetSkinIndex(title);
        if (m->IsValidSkinIndex(titleIndex))
          PaintItem(titleIndex, title, MakeCacheInfo(cache, 0, 0), true, state,
                    Minimized(wnd) ? all : TRect{0, 0, w, bandH}, TPoint{0, 0}, cache, m);
        if (section && section->ReservedBoolean && !TitleStripBmp) SaveTitleStrip();
        if (Form->Menu()) PaintMenuLine(cache, state);
        RepaintCaption();
        PaintMDIParts(cache);
      }
    }
    PaintFormHandler();
  }
  MenuChanged = false;
  FirstPaintDone = true;
  SkinData->BGChanged = false;
  SkinData->Updating = false;
}

void TsSkinProvider::PaintFormHandler() {
  if (!Form->OnPaint) return;
  HDC dc = SkinData->CacheBmp->Canvas()->Handle();
  POINT origin{};
  ::OffsetViewportOrgEx(dc, OffsetX(), OffsetY(), &origin);
  Form->PaintOn(dc);
  ::SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

void TsSkinProvider::SaveTitleStrip() {
  TBitmap* cache = SkinData->CacheBmp.get();
  TitleStripBmp = CreateBmp24(cache->Width(), SysCaptionHeight() + SysBorderHeight());
  ::BitBlt(TitleStripBmp->Canvas()->Handle(), 0, 0, TitleStripBmp->Width(),
           TitleStripBmp->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
}

// Icon, the strip behind the buttons, the buttons and the caption text over
// a clean caption band.
void TsSkinProvider::RepaintCaption() {
  const CaptionHeightHold hold(*this);
  TsSkinManager* m = Manager();
  TBitmap* cache = SkinData->CacheBmp.get();
  const int w = FormWidth();
  const int bandH = SysCaptionHeight() + SysBorderHeight();
  PaintTitleIcon();
  const int bar = m->GetMaskIndex(SkinData->SkinIndex, SkinData->SkinSection(), L"TITLEBAR");
  if (StandardButtonCount() > 0 && m->IsValidImgIndex(bar))
    DrawMaskRect(TacBmpView(*cache), TRect{w - TitleBarWidth(bar), 0, w, bandH}, true,
                 MakeCacheInfo(cache, 0, 0), m->ma[bar], MasterOf(m), FormActive ? 1 : 0, false);
  // The clean background behind the buttons, for repainting one of them.
  const int tw = ButtonsWidth() + SysBorderWidth();
  const int th = std::max(HeaderHeight(), 1);
  // Kept from the last paint when the copy overwrites all of it.
  const bool covered = w - tw - 1 >= 0 && th <= cache->Height();
  if (!covered || !TempBmp || TempBmp->Width() != tw || TempBmp->Height() != th ||
      TempBmp->BitsPerPixel() != 24)
    TempBmp = CreateBmp24(tw, th);
  ::BitBlt(TempBmp->Canvas()->Handle(), 0, 0, tw, th, cache->Canvas()->Handle(), w - tw - 1, 0,
           SRCCOPY);
  PaintCaptionButtons();
  PaintCaptionText();
}

void TsSkinProvider::PaintTitleIcon() {
  if (!IconVisible()) return;
  const TRect r = TitleIconRect();
  if (r.right <= r.left) return;
  HICON icon = Form->Icon()->Handle();
  TIcon* app = TitleIconHeight() > 16 ? AppLargeIcon() : AppSmallIcon();
  if (!app) app = AppSmallIcon();
  if (!icon && app && app->Handle()) icon = app->Handle();
  if (!icon) icon = ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
  // Over the same pixels the icon comes out as last time.
  TBitmap* cache = SkinData->CacheBmp.get();
  const TacBmpView view(*cache);
  const bool inside = view.BytesPerPixel == 3 && r.left >= 0 && r.top >= 0 &&
                      r.right <= view.Width && r.bottom <= view.Height;
  DrawnIcon& last = drawnIcon_;
  if (inside && last.icon == icon && ::EqualRect(&last.r, &r) &&
      RectHolds(view, r, last.under)) {
    PutRect(view, r, last.drawn);
    return;
  }
  if (inside) TakeRect(view, r, last.under);
  ::DrawIconEx(cache->Canvas()->Handle(), r.left, r.top, icon, TitleIconWidth(),
               TitleIconHeight(), 0, nullptr, DI_NORMAL);
  if (!inside) return;
  ::GdiFlush();
  TakeRect(view, r, last.drawn);
  last.icon = icon;
  last.r = r;
}

void TsSkinProvider::PaintCaptionText() {
  TsSkinManager* m = Manager();
  TCanvas* canvas = SkinData->CacheBmp->Canvas();
  canvas->Font()->Assign(Form->Font());
  canvas->Font()->SetStyle(canvas->Font()->Style() | fsBold);
  canvas->Font()->SetHeight(GetCaptionFontSize());
  TRect r;
  r.left = SysBorderWidth() + 4 + (IconVisible() ? TitleIconRect().right - TitleIconRect().left : 0);
  r.top = SysBorderHeight();
  r.right = FormWidth() - ButtonsWidth() - 6;
  r.bottom = SysCaptionHeight();
  if (r.right <= r.left || r.bottom <= r.top) return;
  const std::wstring text = Form->Caption();
  SIZE ts{};
  ::GetTextExtentPoint32W(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &ts);
  r.top += (r.bottom - r.top - ts.cy) / 2;
  r.bottom = r.top + ts.cy;
  DrawSkinTextEx(canvas, text, Form->Enabled(), r,
                 TextAlignFlags(Form, captionAlignment_) | DT_END_ELLIPSIS | DT_VCENTER,
                 m->GetSkinIndex(TitleSectionName()), FormActive, m);
}

void TsSkinProvider::DrawButton(const TsCaptionButton& button, int mask, bool enabled) {
  TsSkinManager* m = Manager();
  if (!m->IsValidImgIndex(mask)) return;
  DrawSkinGlyph(TacBmpView(*SkinData->CacheBmp), TPoint{button.R.left, button.R.top},
                button.State, FormActive && enabled ? 1 : 2, m->ma[mask], MasterOf(m));
}

void TsSkinProvider::PaintCaptionButtons() {
  TsSkinManager* m = Manager();
  int x = FormWidth() - SysBorderWidth();
  const int bh = CaptionButtonHeight();
  int top = (SysCaptionHeight() - bh + SysBorderHeight()) / 2;
  if (bh < 16) top += 2;
  auto place = [&](TRect& r, int width) {
    r = TRect{x - width, top, x, top + bh};
    x = r.left;
  };
  for (TsCaptionButton* b : {&CloseButton, &MaxButton, &MinButton, &HelpButton}) b->R = TRect{};
  if (SystemMenu && (Form->BorderIcons() & biSystemMenu)) {
    if (m->IsValidImgIndex(CloseButton.ImageIndex)) {
      place(CloseButton.R, CaptionButtonWidth(CloseButton));
      DrawButton(CloseButton, CloseButton.ImageIndex, true);
    }
    if (SystemMenu->VisibleMax() && m->IsValidImgIndex(MaxButton.ImageIndex)) {
      place(MaxButton.R, CaptionButtonWidth(MaxButton));
      DrawButton(MaxButton, ButtonImage(HTMAXBUTTON), ButtonEnabled(HTMAXBUTTON));
    }
    if (SystemMenu->VisibleMin() && m->IsValidImgIndex(MinButton.ImageIndex)) {
      place(MinButton.R, CaptionButtonWidth(MinButton));
      DrawButton(MinButton, ButtonImage(HTMINBUTTON), ButtonEnabled(HTMINBUTTON));
    }
    if ((Form->BorderIcons() & biHelp) && m->IsValidImgIndex(HelpButton.ImageIndex)) {
      place(HelpButton.R, CaptionButtonWidth(HelpButton));
      DrawButton(HelpButton, HelpButton.ImageIndex, true);
    }
  }
  for (auto& t : TitleButtons) {
    place(t->R, TitleButtonWidth(*t));
    if (t->UseSkinData && m->IsValidImgIndex(TitleButtonMask)) {
      t->ImageIndex = TitleButtonMask;
      TsCaptionButton look{t->State, t->ImageIndex, t->R};
      DrawButton(look, TitleButtonMask, t->Enabled);
    }
    DrawTitleGlyph(*t);
  }
}
