#include "skin/controls/TrackBar.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cmath>

#include "framework/Forms.h"
#include "framework/Handles.h"
#include "skin/engine/Corners.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/Fades.h"
#include "skin/engine/FocusFrame.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/Masks.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinText.h"
#include "skin/engine/SkinUtils.h"

namespace {

int Nearest(double x) { return static_cast<int>(std::nearbyint(x)); }

int Along(const TRect& r, bool vertical) { return vertical ? r.bottom - r.top : r.right - r.left; }
int Across(const TRect& r, bool vertical) { return vertical ? r.right - r.left : r.bottom - r.top; }

}  // namespace

// Automatic ticks spread evenly between the thumb's centre at both ends. A
// bar with a single tick shows it at the start and one without ticks shows
// none: neither divides by the missing interval.
std::vector<int> TrackTickPositions(const TRect& cr, const TRect& tr, int n, bool vertical,
                                    TTickStyle style, const std::vector<int>& interior) {
  std::vector<int> out;
  if (style == tsNone || n <= 0) return out;
  const int start = vertical ? cr.top : cr.left;
  const int end = vertical ? cr.bottom : cr.right;
  const int half = Along(tr, vertical) / 2;
  if (n == 1) {
    out.push_back(start + half);
    return out;
  }
  if (style == tsAuto) {
    const double step = static_cast<double>(Along(cr, vertical) - Along(tr, vertical)) / (n - 1);
    for (int i = 0; i < n; ++i) out.push_back(Nearest(i * step + start + half));
    return out;
  }
  out.push_back(start + half);
  for (int i = 0; i < n - 2 && i < static_cast<int>(interior.size()); ++i)
    out.push_back(interior[i]);
  out.push_back(end - half);
  return out;
}

TsTrackBar::TsTrackBar(TComponent* AOwner) : TsSkinnedControl(AOwner, ckTrackBar) {
  SkinData->RebuildCache = [this] { PrepareCache(); };
}

TsTrackBar::~TsTrackBar() { StopFading(fadeTimer_); }

void TsTrackBar::CreateParams(TCreateParams& params) {
  TTrackBar::CreateParams(params);
  params.Style &= ~(TBS_AUTOTICKS | TBS_VERT | TBS_HORZ | TBS_NOTICKS | TBS_BOTH | TBS_TOP);
  params.Style |= TBS_FIXEDLENGTH | (orientation_ == trVertical ? TBS_VERT : TBS_HORZ);
  if (tickStyle_ == tsNone) params.Style |= TBS_NOTICKS;
  if (tickStyle_ == tsAuto) params.Style |= TBS_AUTOTICKS;
  if (tickMarks_ == tmTopLeft) params.Style |= TBS_TOP;
  if (tickMarks_ == tmBoth) params.Style |= TBS_BOTH;
}

void TsTrackBar::CreateWindowState() {
  TTrackBar::CreateWindowState();
  ::SendMessageW(WindowHandle(), TBM_SETTHUMBLENGTH, thumbLength_, 0);
}

void TsTrackBar::Recreate() {
  if (HandleAllocated()) RecreateWnd();
  SkinData->Invalidate();
}

void TsTrackBar::SetDisabledKind(TsDisabledKind value) {
  if (disabledKind_ == value) return;
  disabledKind_ = value;
  SkinData->Invalidate();
}

void TsTrackBar::SetOrientation(TTrackBarOrientation value) {
  if (orientation_ == value) return;
  orientation_ = value;
  Recreate();
}

void TsTrackBar::SetTickStyle(TTickStyle value) {
  if (tickStyle_ == value) return;
  tickStyle_ = value;
  Recreate();
}

void TsTrackBar::SetTickMarks(TTickMark value) {
  if (tickMarks_ == value) return;
  tickMarks_ = value;
  Recreate();
}

void TsTrackBar::SetThumbLength(int value) {
  if (thumbLength_ == value) return;
  thumbLength_ = value;
  if (HandleAllocated()) ::SendMessageW(WindowHandle(), TBM_SETTHUMBLENGTH, value, 0);
  SkinData->Invalidate();
}

TRect TsTrackBar::ChannelRect() {
  RECT r{};
  ::SendMessageW(Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
  // The platform reports a vertical channel in horizontal form.
  if (orientation_ == trVertical) r = RECT{r.top, r.left, r.bottom, r.right};
  return r;
}

TRect TsTrackBar::ThumbRect() {
  RECT r{};
  ::SendMessageW(Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
  return r;
}

std::vector<int> TsTrackBar::TickPositions() {
  const int n = static_cast<int>(::SendMessageW(Handle(), TBM_GETNUMTICS, 0, 0));
  std::vector<int> interior;
  if (tickStyle_ == tsManual)
    for (int i = 0; i < n - 2; ++i)
      interior.push_back(static_cast<int>(::SendMessageW(Handle(), TBM_GETTICPOS, i, 0)));
  return TrackTickPositions(ChannelRect(), ThumbRect(), n, orientation_ == trVertical, tickStyle_,
                            interior);
}

int TsTrackBar::ThumbState() const {
  if (ControlState() & csLButtonDown) return 2;
  return SkinData && SkinData->ControlIsActive() ? 1 : 0;
}

void TsTrackBar::WndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD && SkinCommand(m)) return;
  if (!ControlIsReady(this) || !SkinData || !SkinData->Skinned(true)) {
    TTrackBar::WndProc(m);
  } else {
    const bool runTime = !HasState(csDesigning);
    switch (m.Msg) {
      case WM_PAINT: {
        TacPaintScope paint(Handle(), reinterpret_cast<HDC>(m.WParam));
        PaintWindow(paint.DC());
        m.Result = 0;
        return;
      }
      case WM_ERASEBKGND:
        m.Result = 1;
        return;
      case WM_PRINT:
        // The skin paints every pixel; the platform does not print over it.
        PaintWindow(reinterpret_cast<HDC>(m.WParam));
        return;
      case WM_SETFOCUS:
      case CM_ENTER:
        if (!runTime) break;
        TTrackBar::WndProc(m);
        if (Enabled()) {
          if (fadeTimer_) fadeTimer_->MakeStep();
          else Repaint();
        }
        return;
      case WM_KILLFOCUS:
      case CM_EXIT:
        if (!runTime) break;
        TTrackBar::WndProc(m);
        if (Enabled() && fadeTimer_) StopFading(fadeTimer_);
        return;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (runTime && Enabled()) MouseButton(m, true);
        break;
      case WM_LBUTTONUP:
        if (runTime && Enabled()) MouseButton(m, false);
        break;
      case CN_HSCROLL:
      case CN_VSCROLL:
        StopFading(fadeTimer_);
        Repaint();
        break;
      case SM_ALPHACMD:
        if (SkinCmdOf(m) == AC_PREPARECACHE) PrepareCache();
        break;
    }
    SkinnedMessage(m);
  }
  if ((m.Msg == CN_HSCROLL || m.Msg == CN_VSCROLL) && OnUserChange) OnUserChange(this);
}

TacSkinChangeRule TsTrackBar::SkinChangeRule(WORD) const {
  TacSkinChangeRule rule;
  rule.handledForOthers = false;
  return rule;
}

bool TsTrackBar::BeforeSkinChange(TMessage&) {
  StopFading(fadeTimer_);
  return true;
}

void TsTrackBar::AfterSkinChange(TMessage& m) {
  if (SkinCmdOf(m) != AC_REMOVESKIN)
    Repaint();
  else if (HandleAllocated())
    RecreateWnd();
}

bool TsTrackBar::OtherSkinCommand(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_ENDPARENTUPDATE:
      if (SkinData->GetUpdating()) {
        SkinData->Updating = false;
        Repaint();
      }
      return false;
    case AC_STOPFADING:
      StopFading(fadeTimer_);
      return true;
    case AC_PAINTFADEFRAME:
      PaintFadeFrame(m);
      return true;
  }
  return false;
}

void TsTrackBar::PaintFadeFrame(TMessage& m) {
  m.Result = 0;
  auto* frame = reinterpret_cast<TBitmap*>(m.LParam);
  if (!frame || !HandleAllocated()) return;
  const UniqueWindowDC dc = UniqueWindowDC::Window(WindowHandle());
  {
    const SaveDCScope saved(dc.get());
    ::BitBlt(dc.get(), 0, 0, Width(), Height(), frame->Canvas()->Handle(), 0, 0, SRCCOPY);
  }
  m.Result = 1;
}

void TsTrackBar::SkinnedMessage(TMessage& m) {
  CommonWndProc(m, SkinData.get());
  TTrackBar::WndProc(m);
  if (HasState(csDesigning)) {
    if (m.Msg == WM_MOVE) Repaint();
    return;
  }
  if ((m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) && !(ControlState() & csLButtonDown)) {
    const bool enter = m.Msg == CM_MOUSEENTER;
    SkinData->MouseAbove = enter;
    ChangePaintFaded(fadeTimer_, SkinData.get(), false, 1,
                     IsAnimatEvent(enter ? aeMouseEnter : aeMouseLeave, AnimatEvents));
  }
}

// Hints stay off while the button is down anywhere on the bar; only a press
// on the thumb gives the pressed look, and a release on it ends it here. A
// release elsewhere leaves that to the framework's own release handling,
// which clears the flag before the platform's control sees the release.
void TsTrackBar::MouseButton(TMessage& m, bool down) {
  const POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  const RECT tr = ThumbRect();
  const bool onThumb = ::PtInRect(&tr, p);
  if (down) {
    savedShowHint_ = Application->ShowHint();
    Application->SetShowHint(false);
    if (onThumb) SetControlState(ControlState() | csLButtonDown);
  } else {
    Application->SetShowHint(savedShowHint_);
    if (onThumb) SetControlState(ControlState() & ~csLButtonDown);
  }
  if (onThumb)
    ChangePaintFaded(fadeTimer_, SkinData.get(), true, 1,
                     IsAnimatEvent(down ? aeMouseDown : aeMouseUp, AnimatEvents));
  else if (fadeTimer_)
    StopFading(fadeTimer_);
}

void TsTrackBar::PaintWindow(HDC dc) {
  if (!IsSkinned()) {
    TTrackBar::PaintWindow(dc);
    return;
  }
  if (fadeTimer_) return;
  TacPaintScope scope(Handle(), dc, false);
  PaintNow(scope.DC());
}

void TsTrackBar::PaintNow(HDC dc) {
  if (Destroying() || !IsSkinned() || !dc) return;
  SkinData->Updating = SkinData->GetUpdating();
  if (SkinData->Updating || fadeTimer_) return;
  PrepareCache();
  UpdateCorners(SkinData.get(), 0);
  CopyCacheToDC(SkinData.get(), dc);
}

void TsTrackBar::PrepareCache() {
  SkinData->InitCacheBmp();
  TBitmap* cache = SkinData->CacheBmp.get();
  const RECT client = ClientRect();
  PaintSkinControl(SkinData.get(), GetParentCache(SkinData.get()), true,
                   SkinData->ControlIsActive() ? 1 : 0, client, TPoint{Left(), Top()}, cache,
                   false);
  if (ShowFocus && HandleAllocated() &&
      (::GetFocus() == WindowHandle() || (ControlState() & csLButtonDown))) {
    RECT f = client;
    ::InflateRect(&f, -1, -1);
    DrawFocusFrame(cache->Canvas(), f);
  }
  PaintChannel();
  PaintThumb(ThumbRect());
  if (!Enabled())
    ApplyDisabledKind(TacBmpView(cache), disabledKind_, Parent(), GetParentCache(SkinData.get()),
                      TPoint{Left(), Top()});
  SkinData->BGChanged = false;
}

void TsTrackBar::PaintChannel() {
  const TRect cr = ChannelRect();
  TsSkinManager* m = SkinData->GetSkinManager();
  const int mask = m->GetMaskIndex(SkinData->SkinIndex, SkinData->SkinSection(), L"SLIDERCHANNEL");
  if (m->IsValidImgIndex(mask)) {
    const TsMaskData& md = m->ma[mask];
    TRect r = cr;
    if (orientation_ == trHorizontal) {
      const int h = MaskCellHeight(md) - 1;
      r.top += (HeightOf(r) - h) / 2;
      r.bottom = r.top + h;
    } else {
      const int w = MaskCellWidth(md) - 1;
      r.left += (WidthOf(r) - w) / 2;
      r.right = r.left + w;
    }
    TBitmap* cache = SkinData->CacheBmp.get();
    DrawMaskRect(TacBmpView(cache), r, true, MakeCacheInfo(cache, 0, 0), md, MasterView(m),
                 SkinData->ControlIsActive() ? 1 : 0, true);
  }
  PaintTicks(cr, ThumbRect());
}

void TsTrackBar::PaintTicks(const TRect& cr, const TRect& tr) {
  if (tickStyle_ == tsNone) return;
  const bool vertical = orientation_ == trVertical;
  const int off = (Across(tr, vertical) - Across(cr, vertical)) / 2 + 2;
  const bool before = tickMarks_ == tmTopLeft || tickMarks_ == tmBoth;
  const bool after = tickMarks_ == tmBottomRight || tickMarks_ == tmBoth;
  const int beforeAt = (vertical ? cr.left : cr.top) - off - TickLength;
  const int afterAt = (vertical ? cr.right : cr.bottom) + off;
  for (int t : TickPositions()) {
    if (before) PaintTick(vertical ? TPoint{beforeAt, t} : TPoint{t, beforeAt});
    if (after) PaintTick(vertical ? TPoint{afterAt, t} : TPoint{t, afterAt});
  }
}

void TsTrackBar::PaintTick(const TPoint& at) {
  const bool vertical = orientation_ == trVertical;
  TsSkinManager* m = SkinData->GetSkinManager();
  TBitmap* cache = SkinData->CacheBmp.get();
  const int mask = m->GetMaskIndex(SkinData->SkinIndex, SkinData->SkinSection(),
                                   vertical ? L"TICKVERT" : L"TICKHORZ");
  if (m->IsValidImgIndex(mask)) {
    const TsMaskData& md = m->ma[mask];
    TPoint p = at;
    if (!vertical) p.x -= MaskCellWidth(md) / 2;
    else p.y -= MaskCellHeight(md) / 2;
    DrawSkinGlyph(TacBmpView(cache), p, ThumbState(), 1, md, MasterView(m));
    return;
  }
  TRect r = vertical ? TRect{at.x, at.y, at.x + TickLength, at.y + 2}
                     : TRect{at.x, at.y, at.x + 2, at.y + TickLength};
  int width = 1;
  Frame3DOnDC(cache->Canvas()->Handle(), r, ColorToRGB(clBtnShadow), clWhite, width);
}

void TsTrackBar::PaintThumb(const TRect& tr) {
  TsSkinManager* m = SkinData->GetSkinManager();
  const bool vertical = orientation_ == trVertical;
  const int mask = m->GetMaskIndex(SkinData->SkinIndex, SkinData->SkinSection(),
                                   vertical ? L"SLIDERVMASK" : L"SLIDERMASK");
  if (!m->IsValidImgIndex(mask)) return;
  const TsMaskData& md = m->ma[mask];
  TBitmap* cache = SkinData->CacheBmp.get();
  const int tw = WidthOf(tr), th = HeightOf(tr);
  const int cw = MaskCellWidth(md), ch = MaskCellHeight(md);
  const bool fits = (cw == tw && ch == th) ||
                    (!vertical && tw == 11 && th == 23 && ch == 21) ||
                    (vertical && tw == 23 && th == 11 && cw == 21);
  if (fits) {
    DrawSkinGlyph(TacBmpView(cache), TPoint{tr.left, tr.top}, ThumbState(), 1, md, MasterView(m));
    return;
  }
  // Scaled from the master bitmap: every state cell to the thumb's size.
  const TacBmpView master = MasterView(m);
  if (md.Bmp || master.Empty() || tw <= 0 || th <= 0 || md.ImageCount <= 0) return;
  const int rows = md.MaskType + 1;
  auto scaled = CreateBmp24(md.ImageCount * tw, rows * th);
  HDC dst = scaled->Canvas()->Handle();
  HDC src = m->MasterBitmap->Canvas()->Handle();
  ::SetStretchBltMode(dst, COLORONCOLOR);
  const int half = HeightOf(md.R) / rows;
  for (int row = 0; row < rows; ++row)
    ::StretchBlt(dst, 0, row * th, scaled->Width(), th, src, md.R.left, md.R.top + row * half,
                 WidthOf(md.R), half, SRCCOPY);
  TsMaskData temp;
  temp.R = TRect{0, 0, scaled->Width(), scaled->Height()};
  temp.BorderWidth = 0;
  temp.ImageCount = md.ImageCount;
  temp.MaskType = md.MaskType;
  temp.ImgType = itisaGlyph;
  temp.Manager = m;
  DrawSkinGlyph(TacBmpView(cache), TPoint{tr.left, tr.top}, ThumbState(), 1, temp,
                TacBmpView(scaled.get()));
}
