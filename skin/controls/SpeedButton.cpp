#include "skin/controls/SpeedButton.h"

#include <windowsx.h>

#include <algorithm>
#include <memory>

#include "skin/engine/ControlUtils.h"
#include "skin/engine/Corners.h"
#include "skin/controls/GlyphUtils.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/Masks.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinText.h"
#include "skin/engine/SkinUtils.h"

namespace {

// Only one drop-down menu opens at a time.
bool dropDownShowing = false;

constexpr int kArrowWidth = 16;

// Clears the showing marks however the popup ends, also when it throws. The
// menu's handlers may free the button, so its own flag is cleared only while
// it lives.
class DropDownScope {
 public:
  DropDownScope(TsSpeedButton* button, bool& shown, std::weak_ptr<TsCommonData*> alive)
      : shown_(shown), alive_(std::move(alive)) {
    DropDownButton = button;
    dropDownShowing = true;
    shown_ = true;
  }
  ~DropDownScope() {
    if (!alive_.expired()) shown_ = false;
    dropDownShowing = false;
    DropDownButton = nullptr;
  }

 private:
  bool& shown_;
  std::weak_ptr<TsCommonData*> alive_;
};

}  // namespace

TsSpeedButton::TsSpeedButton(TComponent* AOwner) : TsSkinnedControl(AOwner, ckSpeedButton) {
  lastSpacing_ = Spacing;
}

TsSpeedButton::~TsSpeedButton() {
  StopAnimation();
  if (dropdownMenu_) dropdownMenu_->RemoveFreeNotification(this);
}

void TsSpeedButton::AfterConstruction() {
  TsSkinnedControl::AfterConstruction();
  if (IsSkinned()) SetControlStyle(ControlStyle() | csOpaque);
}

void TsSpeedButton::Loaded() {
  TsSkinnedControl::Loaded();
  if (IsSkinned()) SetControlStyle(ControlStyle() | csOpaque);
}

template <class T>
void TsSpeedButton::Store(T& field, T value) {
  if (field == value) return;
  field = value;
  SkinData->BGChanged = true;
  GraphRepaint();
}

void TsSpeedButton::SetDisabledKind(TsDisabledKind v) { Store(disabledKind_, v); }
void TsSpeedButton::SetDisabledGlyphKind(TsDisabledGlyphKind v) {
  if (v == disabledGlyphKind_) return;
  disabledGlyphKind_ = v;
  if (!SkinData->Skinned(false) && SafeImageCount(images_) > 0) MakeListGlyph();
  SkinData->BGChanged = true;
  GraphRepaint();
}

void TsSpeedButton::SetImages(TImageList* v) {
  if (!ReferImages(this, images_, v)) return;
  if (images_) MakeListGlyph();
  SkinData->BGChanged = true;
  GraphRepaint();
}

void TsSpeedButton::SetImageIndex(int v) {
  if (v == imageIndex_) return;
  imageIndex_ = v;
  if (images_) MakeListGlyph();
  SkinData->BGChanged = true;
  GraphRepaint();
}

void TsSpeedButton::MakeListGlyph() {
  MakeImageListGlyph(this, SkinData.get(), imageIndex_, NumGlyphs, disabledGlyphKind_, Glyph(),
                     images_);
}
void TsSpeedButton::SetGrayed(bool v) { Store(grayed_, v); }
void TsSpeedButton::SetBlend(int v) { Store(blend_, std::clamp(v, 0, 100)); }
void TsSpeedButton::SetTextOffset(int v) { Store(textOffset_, v); }
void TsSpeedButton::SetShowCaption(bool v) { Store(showCaption_, v); }
void TsSpeedButton::SetDrawOverBorder(bool v) { Store(drawOverBorder_, v); }
void TsSpeedButton::SetAlignment(TAlignment v) { Store(TSpeedButton::Alignment, v); }
// A new text alignment shows at once: the cached image is marked stale too.
void TsSpeedButton::SetTextAlignment(TAlignment v) { Store(textAlignment_, v); }

void TsSpeedButton::SetButtonStyle(TToolButtonStyle v) {
  if (buttonStyle_ == v) return;
  if (!HasState(csLoading)) {
    if (v == tbsDropDown) SetWidth(Width() + kArrowWidth);
    else if (buttonStyle_ == tbsDropDown) SetWidth(Width() - kArrowWidth);
  }
  Store(buttonStyle_, v);
}

void TsSpeedButton::SetDropdownMenu(TPopupMenu* v) {
  if (dropdownMenu_ == v) return;
  if (dropdownMenu_) dropdownMenu_->RemoveFreeNotification(this);
  dropdownMenu_ = v;
  if (v) v->FreeNotification(this);
}

void TsSpeedButton::Notification(TComponent* component, TOperation operation) {
  TsSkinnedControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  if (component == dropdownMenu_) dropdownMenu_ = nullptr;
  if (component == images_) {
    images_ = nullptr;
    SkinData->BGChanged = true;
  }
}

int TsSpeedButton::CurrentState() const {
  if (state_ == bsDown || state_ == bsExclusive) return 2;
  return SkinData->ControlIsActive() ? 1 : 0;
}

void TsSpeedButton::GraphRepaint() {
  if (HasState(csDestroying | csLoading) || (ControlState() & csCreating)) return;
  TWinControl* parent = Parent();
  if (!parent || !Visible() || !parent->HandleAllocated()) return;
  SendSkinCmd(parent->WindowHandle(), AC_SETPAINTINGCHILD, reinterpret_cast<LPARAM>(this));
  Repaint();
  SendSkinCmd(parent->WindowHandle(), AC_SETPAINTINGCHILD, 0);
}

// ---------------------------------------------------------------- messages

void TsSpeedButton::WndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD && SkinCommand(m)) return;
  if ((m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) &&
      IsDropDownPress(GET_X_LPARAM(m.LParam))) {
    PressDropDown(m);
    return;
  }
  if (!ControlIsReady(this) || !IsSkinned()) {
    TSpeedButton::WndProc(m);
    return;
  }
  if (SkinnedMessage(m)) return;
  CommonWndProc(m, SkinData.get());
  TSpeedButton::WndProc(m);
  AfterInherited(m);
}

TacSkinChangeRule TsSpeedButton::SkinChangeRule(WORD cmd) const {
  TacSkinChangeRule rule;
  // Removing the skin goes on to the framework's handling as well.
  if (cmd == AC_REMOVESKIN) rule.handledForUs = rule.handledForOthers = false;
  return rule;
}

bool TsSpeedButton::BeforeSkinChange(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_SETNEWSKIN:
      // While skinned the list is drawn directly.
      if (SafeImageCount(images_) > 0) Glyph()->SetSize(0, 0);
      return true;
    case AC_REMOVESKIN:
      return !Destroying();
  }
  return true;
}

void TsSpeedButton::AfterSkinChange(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_SETNEWSKIN:
      if (IsSkinned()) SetControlStyle(ControlStyle() | csOpaque);
      return;
    case AC_REMOVESKIN:
      if (SafeImageCount(images_) > 0) MakeListGlyph();
      Repaint();
      SetControlStyle(ControlStyle() & ~csOpaque);
      return;
    case AC_REFRESH:
      if (Visible()) Repaint();
      return;
  }
}

bool TsSpeedButton::OtherSkinCommand(TMessage& m) { return SkinCmdOf(m) == AC_ENDPARENTUPDATE; }

bool TsSpeedButton::SkinnedMessage(TMessage& m) {
  TsCommonData* sd = SkinData.get();
  switch (m.Msg) {
    case SM_ALPHACMD:
      switch (SkinCmdOf(m)) {
        case AC_SETBGDEPENDENT:
          CommonWndProc(m, sd);
          if (sd->BGDependent) PrepareCache();
          return true;
        case AC_ISUPDATING:
          m.LParam = sd->Updating ? 1 : 0;
          return false;
        case AC_REPAINTSECTION:
          GraphRepaint();
          return true;
        case AC_STOPFADING:
          StopAnimation();
          return true;
      }
      return false;
    case CM_TEXTCHANGED:
      if (!showCaption_) return false;
      sd->Invalidate();
      return true;
    case CM_MOUSEENTER:
      if (m.LParam != 0 || !Enabled() || MouseInControl()) return false;
      TSpeedButton::WndProc(m);
      if (!sd->MouseAbove) {
        sd->MouseAbove = true;
        ChangePaint(false, IsAnimatEvent(aeMouseEnter, AnimatEvents));
      }
      CommonWndProc(m, sd);
      return true;
    case CM_MOUSELEAVE:
      if (m.LParam != 0 || !Enabled()) return false;
      TSpeedButton::WndProc(m);
      sd->MouseAbove = false;
      if (state_ == bsDown) state_ = bsUp;
      ChangePaint(false, IsAnimatEvent(aeMouseLeave, AnimatEvents));
      return true;
    case WM_LBUTTONUP:
      if (animTimer_ && animTimer_->Enabled() && animTimer_->FrameBmp &&
          animTimer_->FrameBmp->Width() == Width()) {
        StopAnimation();
        PrepareCache();
        GraphRepaint();
      }
      return false;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      sd->BGChanged = true;
      return false;
    case WM_ERASEBKGND:
      return true;
  }
  return false;
}

void TsSpeedButton::AfterInherited(TMessage& m) {
  switch (m.Msg) {
    case WM_LBUTTONUP:
      if (Destroying()) m.Result = 1;
      else ChangePaint(true, IsAnimatEvent(aeMouseUp, AnimatEvents));
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      ChangePaint(true, IsAnimatEvent(aeMouseDown, AnimatEvents));
      break;
    case CM_VISIBLECHANGED:
      Perform(CM_MOUSELEAVE);
      break;
    case CM_ENABLEDCHANGED:
      if (Visible()) {
        SkinData->BGChanged = true;
        GraphRepaint();
      }
      break;
  }
}

// ---------------------------------------------------------------- animation

void TsSpeedButton::ChangePaint(bool halve, bool animate) {
  TsCommonData* sd = SkinData.get();
  const TsGeneralData* s = sd->Section();
  if (animate && !SkinLoading && s && s->FadingEnabled && !FadingSuspended && !sd->BGChanged) {
    sd->BGChanged = true;
    StartAnimation(halve);
    return;
  }
  sd->BGChanged = true;
  StopAnimation();
  GraphRepaint();
}

void TsSpeedButton::StartAnimation(bool halve) {
  TsCommonData* sd = SkinData.get();
  int startStep = 1;
  if (animTimer_) {
    startStep = animTimer_->Iterations - animTimer_->Iteration;
    animTimer_.reset();
  }
  const TsGeneralData* s = sd->Section();
  if (!s || !s->FadingEnabled || FadingSuspended) return;
  animTimer_ = std::make_unique<TsAnimTimer>(nullptr);
  animTimer_->SetEnabled(false);
  animTimer_->Prepare(sd);
  if (halve) animTimer_->Iterations /= 2;
  animTimer_->Iteration = std::max(startStep, 1);
  animTimer_->StartBmp = CreateBmp24(0, 0);
  animTimer_->StartBmp->Assign(sd->CacheBmp.get());
  PrepareCache();
  UpdateCorners(sd, 1);
  animTimer_->SetEnabled(true);
  animTimer_->MakeStep();
}

void TsSpeedButton::StopAnimation() {
  if (!animTimer_) return;
  const std::unique_ptr<TsAnimTimer> t = std::move(animTimer_);
  const bool stepped = t->Enabled() && t->Iteration > 1;
  t->SetEnabled(false);
  if (stepped && !Destroying()) {
    SkinData->BGChanged = true;
    GraphRepaint();
  }
}

// ---------------------------------------------------------------- mouse

bool TsSpeedButton::IsDropDownPress(int x) const {
  if (!Enabled() || buttonStyle_ != tbsDropDown || !dropdownMenu_) return false;
  // With OnClick the part left of the arrow is an ordinary button.
  return !(x <= Width() - kArrowWidth && OnClick);
}

void TsSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (Application) {
    StoredShowHint = Application->ShowHint();
    Application->SetShowHint(false);
  }
  if (button == mbLeft && IsDropDownPress(x)) {
    ShowDropDown();
    // The menu took the button's release, so MouseUp does not come to give
    // the hints back. Only globals are touched: the menu may have freed us.
    if (Application) Application->SetShowHint(StoredShowHint);
    return;
  }
  TsSkinnedControl::MouseDown(button, shift, x, y);
}

// A drop-down press runs the menu's loop inside MouseDown, and the menu's
// handlers may free this button: the framework's mouse handling, which goes
// on using the control after MouseDown, is bypassed for it.
void TsSpeedButton::PressDropDown(TMessage& m) {
  std::weak_ptr<TsCommonData*> alive = SkinData->Liveness();
  const bool skinned = ControlIsReady(this) && IsSkinned();
  if (skinned) CommonWndProc(m, SkinData.get());
  TShiftState shift = KeysToShiftState(m.WParam);
  if (m.Msg == WM_LBUTTONDBLCLK) shift |= ssDouble;
  MouseDown(mbLeft, shift, GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam));
  if (alive.expired() || !skinned) return;
  AfterInherited(m);
}

void TsSpeedButton::ShowDropDown() {
  StopAnimation();
  if (dropDownShowing) return;
  std::weak_ptr<TsCommonData*> alive = SkinData->Liveness();
  {
    DropDownScope scope(this, menuShown_, alive);
    SkinData->BGChanged = true;
    if (!OnClick) state_ = bsDown;
    GraphRepaint();
    const POINT p = ClientToScreen(POINT{0, Height() + 1});
    dropdownMenu_->PopupComponent = this;
    dropdownMenu_->Popup(p.x, p.y);
    if (alive.expired()) return;
  }
  POINT cursor;
  ::GetCursorPos(&cursor);
  const POINT tl = ClientToScreen(POINT{0, 0});
  const RECT screen{tl.x, tl.y, tl.x + Width(), tl.y + Height()};
  if (!::PtInRect(&screen, cursor)) Perform(CM_MOUSELEAVE);
  if (!OnClick) state_ = bsUp;
  SkinData->BGChanged = true;
  GraphRepaint();
}

void TsSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (Application) Application->SetShowHint(StoredShowHint);
  if (button == mbLeft && Enabled() && buttonStyle_ == tbsDropDown) {
    menuShown_ = false;
    DropDownButton = nullptr;
  }
  TsSkinnedControl::MouseUp(button, shift, x, y);
}

// ---------------------------------------------------------------- painting

void TsSpeedButton::Paint() {
  TsCommonData* sd = SkinData.get();
  TsSkinManager* m = sd->GetSkinManager();
  if (m && m->Active() && sd->SkinIndex < 1) sd->UpdateIndexes();
  if (!IsSkinned() || !Visible()) {
    TSpeedButton::Paint();
    return;
  }
  if (Width() < 1 || Height() < 1) return;
  if (sd->GetUpdating()) return;
  TCanvas* c = Canvas();
  if (animTimer_ && animTimer_->Enabled() && animTimer_->FrameBmp &&
      animTimer_->FrameBmp->Width() == Width()) {
    ::BitBlt(c->Handle(), 0, 0, Width(), Height(), animTimer_->FrameBmp->Canvas()->Handle(), 0, 0,
             SRCCOPY);
    return;
  }
  if (Down() != lastDown_) {
    sd->BGChanged = true;
    lastDown_ = Down();
  } else {
    sd->BGChanged = sd->BGChanged || sd->HalfVisible;
  }
  sd->HalfVisible = sd->DependsOnParentBg();
  if (!sd->BGChanged && (NumGlyphs != lastNumGlyphs_ || Spacing != lastSpacing_)) {
    sd->BGChanged = true;
    lastNumGlyphs_ = NumGlyphs;
    lastSpacing_ = Spacing;
  }
  if (sd->BGChanged && !sd->BGDependent) PrepareCache();
  UpdateCorners(sd, 0);
  CopyCacheToDC(sd, c->Handle());
}

void TsSpeedButton::PrepareCache() {
  TsCommonData* sd = SkinData.get();
  sd->InitCacheBmp();
  sd->CacheBmp->Canvas()->SetFont(Font());
  TCacheInfo ci = GetParentCache(sd);
  if (ci.Ready && ci.Bmp && ci.Bmp->Width() == 0) return;
  TBitmap* cache = sd->CacheBmp.get();
  if (buttonStyle_ == tbsSeparator || buttonStyle_ == tbsDivider) {
    if (ci.Ready && ci.Bmp) {
      ::BitBlt(cache->Canvas()->Handle(), 0, 0, Width(), Height(), ci.Bmp->Canvas()->Handle(),
               ci.X + Left(), ci.Y + Top(), SRCCOPY);
    } else if (Parent()) {
      FillDC(cache->Canvas()->Handle(), TRect{0, 0, Width(), Height()}, Parent()->Color());
    }
    TsSkinManager* m = sd->GetSkinManager();
    if (buttonStyle_ == tbsDivider && m) {
      const int si = m->GetSkinIndex(L"DIVIDER");
      const int mask = si >= 0 ? m->GetMaskIndex(si, L"DIVIDER", L"BORDERSMASK") : -1;
      if (m->IsValidImgIndex(mask)) {
        const int w = m->GetMaskCellSize(mask).cx;
        DrawMaskRect(TacBmpView(*cache), TRect{(Width() - w) / 2, 1, (Width() + w) / 2, Height() - 2},
                     false, ci, m->ma[mask], TacBmpView(m->MasterBitmap.get()), 0, false);
      }
    }
  } else {
    BGFillColor = !ci.Ready && Parent() ? ColorToRGB(Parent()->Color()) : clFuchsia;
    const TRect r{0, 0, Width() - ArrowWidth(), Height()};
    PaintFace(r, TPoint{Left(), Top()}, CurrentState(), ci);
    if (showCaption_) PaintCaption();
    PaintGlyph(CurrentState());
    if (!drawOverBorder_) {
      TsSkinManager* m = sd->GetSkinManager();
      if (m && m->IsValidImgIndex(sd->BorderIndex))
        DrawMaskRect(TacBmpView(*cache), r, false, ci, m->ma[sd->BorderIndex],
                     TacBmpView(m->MasterBitmap.get()), CurrentState(), false);
    }
    if (buttonStyle_ == tbsDropDown) PaintArrow(ci);
  }
  if (!Enabled()) {
    ci = GetParentCache(sd);
    if (ci.Ready && ci.Bmp && !sd->DependsOnParentBg() && !sd->BGDependent && !ci.Bmp->Empty()) {
      const TacBmpView pv(*ci.Bmp);
      const int px = std::clamp(ci.X + Left() + Width() / 2, 0, pv.Width - 1);
      const int py = std::clamp(ci.Y + Top() + Height() / 2, 0, pv.Height - 1);
      BGFillColor = PixelToColor(pv.Pixel(px, py));
    }
    ApplyDisabledKind(TacBmpView(*cache), disabledKind_, Parent(), ci, TPoint{Left(), Top()});
    BGFillColor = clFuchsia;
  }
  BGFillColor = clFuchsia;
  if (OnPaint) OnPaint(this, cache);
  sd->BGChanged = false;
}

void TsSpeedButton::PaintFace(const TRect& r, const TPoint& offset, int state,
                              const TCacheInfo& ci) {
  TsCommonData* sd = SkinData.get();
  if (drawOverBorder_) PaintSkinControl(sd, ci, true, state, r, offset, sd->CacheBmp.get(), false);
  else PaintControlBG(sd, ci, state, r, offset, sd->CacheBmp.get());
}

void TsSpeedButton::PaintArrow(const TCacheInfo& ci) {
  TsCommonData* sd = SkinData.get();
  const int state = (menuShown_ && dropdownMenu_) || Down() ? 2 : CurrentState();
  const TRect part{Width() - kArrowWidth, 0, Width(), Height()};
  PaintFace(part, TPoint{Left() + Width() - kArrowWidth, Top()}, state, ci);
  TsSkinManager* m = sd->GetSkinManager();
  if (!m) return;
  const int si = m->GetSkinIndex(L"SCROLLBTNBOTTOM");
  const int mask = si >= 0 ? m->GetMaskIndex(si, L"SCROLLBTNBOTTOM", L"GLYPHMASK") : -1;
  if (!m->IsValidImgIndex(mask)) return;
  const TsMaskData& md = m->ma[mask];
  const int cw = md.ImageCount > 0 ? WidthOf(md.R) / md.ImageCount : 0;
  const int ch = HeightOf(md.R) / (md.MaskType + 1);
  MaskFillColor = clFuchsia;
  DrawSkinGlyph(TacBmpView(*sd->CacheBmp),
                TPoint{(kArrowWidth - cw) / 2 + Width() - kArrowWidth + 1, (Height() - ch) / 2},
                state, 1, md, TacBmpView(m->MasterBitmap.get()));
}

TacButtonGlyph TsSpeedButton::ShownGlyph() const {
  return TacButtonGlyph{Glyph(), NumGlyphs, images_, imageIndex_};
}
int TsSpeedButton::GlyphWidth() const { return ButtonGlyphSize(ShownGlyph()).cx; }
int TsSpeedButton::GlyphHeight() const { return ButtonGlyphSize(ShownGlyph()).cy; }

TSize TsSpeedButton::TextRectSize() {
  if (!showCaption_ || Caption().empty()) return TSize{0, 0};
  TCanvas* c = SkinData->CacheBmp->Canvas();
  c->SetFont(Font());
  const int gw = GlyphWidth();
  TRect r{0, 0, Width() - ArrowWidth() - 2 * Margin - (gw > 0 ? gw + Spacing : 0), 0};
  c->TextRect(r, Caption(), DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  return TSize{r.right - r.left, r.bottom - r.top};
}

TRect TsSpeedButton::CalcLayout() {
  const TSize g{GlyphWidth(), GlyphHeight()};
  const int s = showCaption_ && g.cx > 0 && !Caption().empty() ? Spacing : 0;
  const TPoint p = GlyphPosition(Width() - ArrowWidth(), Height(), g, TextRectSize(), s, Margin,
                                 Alignment(), Layout, state_ == bsDown || state_ == bsExclusive);
  return TRect{p.x, p.y, p.x + g.cx, p.y + g.cy};
}

TRect TsSpeedButton::CaptionRect() {
  const TSize t = TextRectSize();
  const int W = Width() - ArrowWidth(), aw = ArrowWidth();
  const int gw = GlyphWidth(), gh = GlyphHeight();
  const int m = Margin >= 0 ? Margin + 3 : 0;
  const bool hasText = !Caption().empty();
  const int ty = (Height() - t.cy) / 2;
  const TAlignment a = Alignment();
  TRect r{};
  if (Layout == blGlyphLeft || Layout == blGlyphRight) {
    const int s = gw > 0 && hasText ? Spacing : 0;
    const int hx = (W - gw - s - t.cx) / 2 - m;
    if (Layout == blGlyphLeft) {
      if (a == taLeftJustify) r = TRect{gw + m + s, ty, W - m - 2 * hx, Height() - ty};
      else if (a == taRightJustify) r = TRect{m + 2 * hx + gw + s, ty, W - m, Height() - ty};
      else r = TRect{gw + m + hx + s, ty, W - m - hx, Height() - ty};
    } else {
      if (a == taLeftJustify) r = TRect{m, ty, m + t.cx, Height() - ty};
      else if (a == taRightJustify) r = TRect{m + 2 * hx, ty, m + 2 * hx + t.cx, Height() - ty};
      else r = TRect{m + hx, ty, m + hx + t.cx, Height() - ty};
    }
  } else {
    const int s = gh > 0 && hasText ? Spacing : 0;
    const int hy = (Height() - gh - s - t.cy) / 2 - m;
    const int l = (W - t.cx) / 2, rt = Width() - (W - t.cx) / 2 - aw;
    if (Layout == blGlyphTop) r = TRect{l, gh + m + hy + s, rt, Height() - hy - m};
    else r = TRect{l, m + hy, rt, Height() - hy - m - gh - s};
  }
  r = TRect{r.left - 1 + textOffset_, r.top, r.right + 2 + textOffset_, r.bottom};
  if (state_ == bsDown || state_ == bsExclusive) ::OffsetRect(&r, 1, 1);
  return r;
}

void TsSpeedButton::PaintCaption() {
  TCanvas* c = SkinData->CacheBmp->Canvas();
  c->SetFont(Font());
  c->Brush()->SetStyle(TBrushStyle::bsClear);
  TRect r = CaptionRect();
  const UINT flags = (TextAlignFlags(this, textAlignment_) | DT_WORDBREAK | DT_EXPANDTABS) &
                     ~static_cast<UINT>(DT_SINGLELINE);
  DrawSkinText(c, Caption(), true, r, flags, SkinData.get(), CurrentState() != 0);
}

void TsSpeedButton::PaintGlyph(int state) {
  const TRect r = CalcLayout();
  PaintButtonOrListGlyph(ShownGlyph(), SkinData->CacheBmp.get(), TPoint{r.left, r.top}, Enabled(),
                         SkinData->ControlIsActive(), grayed_, disabledGlyphKind_, state, blend_,
                         true);
}
