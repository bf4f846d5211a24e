#include "skin/controls/CheckBox.h"

#include <windowsx.h>

#include <algorithm>

#include "skin/engine/ControlUtils.h"
#include "skin/engine/Corners.h"
#include "skin/engine/FocusFrame.h"
#include "skin/controls/GlyphUtils.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/Masks.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinText.h"

TsCheckBox::TsCheckBox(TComponent* AOwner) : TsSkinnedControl(AOwner, ckCheckBox, false) {
  SkinData->RebuildCache = [this] { PrepareCache(); };
}

TsCheckBox::~TsCheckBox() { StopFading(fadeTimer_); }

void TsCheckBox::Loaded() {
  TsSkinnedControl::Loaded();
  AdjustSize();
}

void TsCheckBox::SetDisabledKind(TsDisabledKind v) {
  if (disabledKind_ == v) return;
  disabledKind_ = v;
  SkinData->Invalidate();
}
void TsCheckBox::SetTextIndent(int v) {
  if (textIndent_ == v) return;
  textIndent_ = v;
  AdjustSize();
  Invalidate();
}
void TsCheckBox::SetShowFocus(bool v) {
  if (showFocus_ == v) return;
  showFocus_ = v;
  Invalidate();
}
void TsCheckBox::SetMargin(int v) {
  if (margin_ == v) return;
  margin_ = v;
  AdjustSize();
  Invalidate();
}
void TsCheckBox::SetAutoSize(bool v) {
  autoSize_ = v;
  if (v) wordWrap_ = false;
  AdjustSize();
}
void TsCheckBox::SetWordWrap(bool v) {
  wordWrap_ = v && !autoSize_;
  Invalidate();
}

void TsCheckBox::GlyphsChanged() {
  AdjustSize();
  SkinData->Invalidate();
}

void TsCheckBox::SetGlyphChecked(TBitmap* v) {
  glyphChecked_->Assign(v);
  GlyphsChanged();
}

void TsCheckBox::SetGlyphUnChecked(TBitmap* v) {
  glyphUnChecked_->Assign(v);
  AdjustSize();
  Invalidate();
}

void TsCheckBox::SetImages(TImageList* v) {
  if (!ReferImages(this, images_, v)) return;
  GlyphsChanged();
}

void TsCheckBox::SetImgChecked(int v) {
  if (imgChecked_ == v) return;
  imgChecked_ = v;
  AdjustSize();
  if (Checked()) SkinData->Invalidate();
}

void TsCheckBox::SetImgUnchecked(int v) {
  if (imgUnchecked_ == v) return;
  imgUnchecked_ = v;
  AdjustSize();
  if (!Checked()) SkinData->Invalidate();
}

void TsCheckBox::Notification(TComponent* component, TOperation operation) {
  TsSkinnedControl::Notification(component, operation);
  if (operation == TOperation::opRemove && component == images_) images_ = nullptr;
}

void TsCheckBox::SetState(TCheckBoxState v) {
  if (State() == v) return;
  TCustomCheckBox::SetState(v);
  if (!IsSkinned() || HasState(csLoading)) return;
  if (Running()) {
    ChangePaintFaded(fadeTimer_, SkinData.get(), true, 1, IsAnimatEvent(aeMouseUp, AnimatEvents));
  } else {
    SkinData->Invalidate();
  }
}

void TsCheckBox::Toggle() {
  switch (State()) {
    case cbUnchecked: SetState(cbChecked); break;
    case cbChecked: SetState(AllowGrayed ? cbGrayed : cbUnchecked); break;
    case cbGrayed: SetState(cbUnchecked); break;
  }
}

// ---------------------------------------------------------------- geometry

int TsCheckBox::BoxMask(const wchar_t* name) const {
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!m) return -1;
  return m->GetMaskIndex(m->GetSkinIndex(L"GLOBALINFO"), L"GLOBALINFO", name);
}

bool TsCheckBox::UsesImages() const { return images_ && imgChecked_ >= 0 && imgUnchecked_ >= 0; }

bool TsCheckBox::UsesUserGlyphs() const { return !glyphChecked_->Empty(); }

TRect TsCheckBox::CheckRect() const {
  TSize cell{16, 16};
  if (UsesImages()) {
    cell = TSize{images_->Width() / 3, images_->Height() / 2};
  } else if (UsesUserGlyphs()) {
    cell = TSize{glyphChecked_->Width() / 3, glyphChecked_->Height() / 2};
  } else {
    TsSkinManager* m = SkinData->GetSkinManager();
    const int mask = BoxMask(L"BOXCHECKED");
    if (m && m->IsValidImgIndex(mask)) cell = m->GetMaskCellSize(mask);
  }
  const int top = (Height() - cell.cy) / 2;
  if (Alignment == taRightJustify) return TRect{margin_, top, margin_ + cell.cx, top + cell.cy};
  return TRect{Width() - cell.cx - margin_, top, Width() - margin_, top + cell.cy};
}

void TsCheckBox::AdjustSize() {
  if (!autoSize_ || !IsSkinned() || HasState(csLoading)) return;
  const TRect b = CheckRect();
  TSize t{0, 0};
  if (!Caption().empty()) GetFontTextExtent(Font(), Caption(), t);
  const int w = (b.right - b.left) + 2 * margin_ + (Caption().empty() ? 0 : t.cx + textIndent_ + 8);
  const int h = std::max<int>(b.bottom - b.top, (Caption().empty() ? 0 : t.cy) + 2 * margin_) + 2;
  if (w != Width() || h != Height()) SetBounds(Left(), Top(), w, h);
}

// ---------------------------------------------------------------- messages

void TsCheckBox::WndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD && SkinCommand(m)) return;
  const bool skinned = SkinData && IsSkinned();
  if (skinned && SkinnedMessage(m)) return;
  if (!ControlIsReady(this)) {
    TCustomCheckBox::WndProc(m);
    return;
  }
  if (!skinned) {
    if (!UnskinnedMessage(m)) TCustomCheckBox::WndProc(m);
    return;
  }
  if (CommonWndProc(m, SkinData.get())) return;
  TsCommonData* sd = SkinData.get();
  const bool userMayChange = Running() && Enabled() && !readOnly_;
  switch (m.Msg) {
    case SM_ALPHACMD:
      if (SkinCmdOf(m) == AC_ENDPARENTUPDATE && (sd->Updating || sd->HalfVisible)) {
        sd->Updating = false;
        Repaint();
      }
      return;
    case WM_NCPAINT:
    case WM_ENABLE:
      return;
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_PAINT:
      PaintHandler(reinterpret_cast<HDC>(m.WParam), true);
      return;
    case WM_PRINT:
      sd->Updating = false;
      PaintHandler(reinterpret_cast<HDC>(m.WParam), false);
      return;
    case BM_SETCHECK:
      // The system button is not told while skinned: it would paint its own
      // box over ours. The state lives here until the skin goes.
      shown_ = static_cast<TCheckBoxState>(std::min<WPARAM>(m.WParam, cbGrayed));
      if (fadeTimer_ && fadeTimer_->Iteration < fadeTimer_->Iterations) StopFading(fadeTimer_);
      Invalidate();
      return;
    case BM_GETCHECK:
      m.Result = shown_;
      return;
    case WM_KEYDOWN:
      if (m.WParam != VK_SPACE) break;
      if (userMayChange) {
        pressed_ = true;
        TakeFocus();
        Repaint();
        WORD key = VK_SPACE;
        if (OnKeyDown) OnKeyDown(this, key, KeyDataToShiftState(m.LParam));
      }
      return;
    case WM_KEYUP:
      if (!userMayChange) break;
      if (pressed_) {
        pressed_ = false;
        Toggle();
      }
      if (OnKeyUp) {
        WORD key = static_cast<WORD>(m.WParam);
        OnKeyUp(this, key, KeyDataToShiftState(m.LParam));
      }
      return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (userMayChange) MouseDownSkinned(m);
      return;
    case WM_LBUTTONUP:
      if (userMayChange) MouseUpSkinned(m);
      return;
    case CM_ENABLEDCHANGED:
      TCustomCheckBox::WndProc(m);
      Repaint();
      return;
    case CM_TEXTCHANGED:
      AdjustSize();
      Repaint();
      return;
  }
  TCustomCheckBox::WndProc(m);
}

bool TsCheckBox::BeforeSkinChange(TMessage&) {
  StopFading(fadeTimer_);
  return true;
}

void TsCheckBox::AfterSkinChange(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_REMOVESKIN:
      // The system button shows the state the skinned box showed.
      if (HandleAllocated()) CallDefWndProc(BM_SETCHECK, shown_, 0);
      Repaint();
      return;
    case AC_REFRESH:
      AdjustSize();
      Repaint();
      return;
  }
}

bool TsCheckBox::OtherSkinCommand(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_STOPFADING:
      StopFading(fadeTimer_);
      return true;
    case AC_PREPARECACHE:
      PrepareCache();
      return false;
  }
  return false;
}

bool TsCheckBox::SkinnedMessage(TMessage& m) {
  TsCommonData* sd = SkinData.get();
  switch (m.Msg) {
    case CM_MOUSEENTER:
      if (m.LParam == 0 && Enabled() && Running() && !sd->MouseAbove) {
        sd->MouseAbove = true;
        ChangePaintFaded(fadeTimer_, sd, false, 1, IsAnimatEvent(aeMouseEnter, AnimatEvents));
      }
      return false;
    case CM_MOUSELEAVE:
      if (m.LParam == 0 && Enabled() && Running()) {
        sd->MouseAbove = false;
        pressed_ = false;
        ChangePaintFaded(fadeTimer_, sd, false, 1, IsAnimatEvent(aeMouseLeave, AnimatEvents));
      }
      return false;
    case WM_SETFOCUS:
    case CM_ENTER:
      if (!Running()) return false;
      if (!Enabled()) return true;
      TCustomCheckBox::WndProc(m);
      CommonWndProc(m, sd);
      sd->BGChanged = true;
      if (fadeTimer_) fadeTimer_->MakeStep();
      else Repaint();
      return true;
    case WM_KILLFOCUS:
    case CM_EXIT:
      if (!Running() || !Enabled()) return false;
      StopFading(fadeTimer_);
      TCustomCheckBox::WndProc(m);
      sd->Focused = false;
      sd->MouseAbove = false;
      sd->Invalidate();
      return true;
  }
  return false;
}

bool TsCheckBox::UnskinnedMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
      pressed_ = true;
      return false;
    case WM_KEYUP:
    case WM_LBUTTONUP:
      pressed_ = false;
      return false;
    case WM_LBUTTONDBLCLK:
      return readOnly_;
    case BM_SETCHECK:
      shown_ = static_cast<TCheckBoxState>(std::min<WPARAM>(m.WParam, cbGrayed));
      return readOnly_ && pressed_;
    case BM_SETSTATE:
      return readOnly_ && pressed_;
  }
  return false;
}

void TsCheckBox::TakeFocus() {
  if (Focused() || !CanFocus()) return;
  SetFocus();
}

void TsCheckBox::MouseDownSkinned(TMessage& m) {
  pressed_ = true;
  ChangePaintFaded(fadeTimer_, SkinData.get(), true, 1, IsAnimatEvent(aeMouseDown, AnimatEvents));
  TakeFocus();
  const int x = GET_X_LPARAM(m.LParam), y = GET_Y_LPARAM(m.LParam);
  if (m.Msg == WM_LBUTTONDBLCLK) {
    if (OnDblClick) OnDblClick(this);
  } else if (OnMouseDown) {
    OnMouseDown(this, mbLeft, KeysToShiftState(m.WParam), x, y);
  }
}

void TsCheckBox::MouseUpSkinned(TMessage& m) {
  std::weak_ptr<TsCommonData*> alive = SkinData->Liveness();
  if (pressed_) {
    pressed_ = false;
    Toggle();
  }
  if (alive.expired()) return;
  if (OnMouseUp)
    OnMouseUp(this, mbLeft, KeysToShiftState(m.WParam), GET_X_LPARAM(m.LParam),
              GET_Y_LPARAM(m.LParam));
}

// ---------------------------------------------------------------- painting

void TsCheckBox::PaintHandler(HDC given, bool beginPaint) {
  TsCommonData* sd = SkinData.get();
  if (Parent()) MaskFillColor = ColorToRGB(Parent()->Color());
  {
    TacPaintScope paint(Handle(), given, beginPaint);
    if (sd->GetUpdating()) {
      sd->Updating = true;
    } else if (!(fadeTimer_ && fadeTimer_->Enabled())) {
      PrepareCache();
      UpdateCorners(sd, 0);
      CopyCacheToDC(sd, paint.DC());
    }
  }
  MaskFillColor = clFuchsia;
}

void TsCheckBox::PrepareCache() {
  TsCommonData* sd = SkinData.get();
  sd->InitCacheBmp();
  sd->CacheBmp->Canvas()->SetFont(Font());
  const TCacheInfo ci = GetParentCache(sd);
  const bool hot = sd->ControlIsActive() && !readOnly_;
  PaintSkinControl(sd, ci, true, hot ? 1 : 0, TRect{0, 0, Width(), Height()},
                   TPoint{Left(), Top()}, sd->CacheBmp.get(), false);
  PaintCaption(hot);
  PaintGlyph();
  if (!Enabled())
    ApplyDisabledKind(TacBmpView(*sd->CacheBmp), disabledKind_, Parent(), ci,
                      TPoint{Left(), Top()});
  sd->BGChanged = false;
}

void TsCheckBox::PaintCaption(bool hot) {
  if (Caption().empty()) return;
  const TRect b = CheckRect();
  const int e = (b.right - b.left) + textIndent_ + 3 + margin_ + 1;
  TRect t = Alignment == taRightJustify
                ? TRect{e, margin_, Width() - margin_ - 2, Height() - margin_}
                : TRect{margin_, margin_, Width() - e - 2, Height() - margin_};
  t.bottom -= 2;
  TCanvas* c = SkinData->CacheBmp->Canvas();
  TRect r = t;
  DrawSkinText(c, Caption(), true, r, wordWrap_ ? (DT_WORDBREAK | DT_CENTER) : DT_VCENTER,
               SkinData.get(), hot);
  c->Pen()->SetStyle(TPenStyle::psClear);
  c->Brush()->SetStyle(TBrushStyle::bsSolid);
  if (Focused() && showFocus_) {
    TRect f = t;
    f.top += 1;
    ::InflateRect(&f, 1, 1);
    DrawFocusFrame(c, f);
  }
}

void TsCheckBox::PaintGlyph() {
  const TRect box = CheckRect();
  const TSize cell{box.right - box.left, box.bottom - box.top};
  if (UsesImages()) {
    auto picture = std::make_unique<TBitmap>(images_->Width(), images_->Height(), TPixelFormat::pf24bit);
    images_->Draw(picture->Canvas(), 0, 0, Checked() ? imgChecked_ : imgUnchecked_);
    DrawUserGlyph(picture.get(), cell);
    return;
  }
  if (UsesUserGlyphs()) {
    if (Checked()) DrawUserGlyph(glyphChecked_.get(), cell);
    else if (!glyphUnChecked_->Empty()) DrawUserGlyph(glyphUnChecked_.get(), cell);
    return;
  }
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!m) return;
  const wchar_t* name = State() == cbChecked   ? L"BOXCHECKED"
                        : State() == cbGrayed ? L"BOXGRAYED"
                                              : L"BOXUNCHECKED";
  const int mask = BoxMask(name);
  if (!m->IsValidImgIndex(mask) || SkinData->CacheBmp->Empty()) return;
  MaskFillColor = clFuchsia;
  const TRect b = CheckRect();
  const int state = pressed_ ? 2 : (SkinData->ControlIsActive() && !readOnly_) ? 1 : 0;
  DrawSkinGlyph(TacBmpView(*SkinData->CacheBmp), TPoint{b.left, b.top}, state, 1, m->ma[mask],
                TacBmpView(m->MasterBitmap.get()));
}

// One state cell of an own picture, blended into the box through the mask
// in the lower half.
void TsCheckBox::DrawUserGlyph(TBitmap* glyph, TSize cell) {
  if (cell.cx <= 0 || cell.cy <= 0 || SkinData->CacheBmp->Empty()) return;
  if (glyph->PixelFormat() != TPixelFormat::pf24bit) glyph->SetPixelFormat(TPixelFormat::pf24bit);
  const int state = pressed_ ? 2 : (SkinData->ControlIsActive() && !readOnly_) ? 1 : 0;
  const TRect box = CheckRect();
  const TRect src{state * cell.cx, 0, (state + 1) * cell.cx, cell.cy};
  CopyByHalfMask(box, src, TacBmpView(*SkinData->CacheBmp), TacBmpView(*glyph), EmptyCacheInfo, true);
}
