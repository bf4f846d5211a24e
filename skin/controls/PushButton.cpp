#include "skin/controls/PushButton.h"

#include "skin/engine/ControlUtils.h"
#include "skin/engine/Corners.h"
#include "skin/engine/FocusFrame.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/Masks.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinUtils.h"

namespace {

TacBmpView MasterView(const TsSkinManager& m) { return TacBmpView(m.MasterBitmap.get()); }

}  // namespace

template <class Base>
TsPushButton<Base>::TsPushButton(TComponent* AOwner, int kind)
    : TsSkinnedControl<Base>(AOwner, kind) {
  this->SetControlStyle(this->ControlStyle() & ~csOpaque);
  this->SkinData->RebuildCache = [this] { PrepareCache(); };
}

template <class Base>
TsPushButton<Base>::~TsPushButton() {
  StopFading(fadeTimer_);
}

template <class Base>
void TsPushButton<Base>::SetDown(bool value) {
  if (down_ == value) return;
  down_ = value;
  pressed_ = value;
  regionFlag_ = true;
  if (this->SkinData) this->SkinData->BGChanged = true;
  // Without a skin the system button shows the held look itself.
  if (this->HandleAllocated() && !this->IsSkinned(true))
    this->CallDefWndProc(BM_SETSTATE, value, 0);
  this->Repaint();
}

template <class Base>
void TsPushButton<Base>::CreateWindowState() {
  Base::CreateWindowState();
  if (down_ && !this->IsSkinned(true)) this->CallDefWndProc(BM_SETSTATE, TRUE, 0);
}

template <class Base>
void TsPushButton<Base>::SetDisabledKind(TsDisabledKind value) {
  if (disabledKind_ == value) return;
  disabledKind_ = value;
  this->SkinData->Invalidate();
}

template <class Base>
void TsPushButton<Base>::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  this->SkinData->Invalidate();
}

template <class Base>
int TsPushButton<Base>::CurrentState() const {
  const TsCommonData* sd = this->SkinData.get();
  if (Down() && (sd->MouseAbove || !(this->ControlState() & csLButtonDown))) return 2;
  if (sd->ControlIsActive() || defaultActive_) return 1;
  return 0;
}

template <class Base>
bool TsPushButton<Base>::HotText() const {
  return this->SkinData->ControlIsActive() || defaultActive_ || down_;
}

// ---------------------------------------------------------------- messages

template <class Base>
void TsPushButton<Base>::WndProc(TMessage& m) {
  if (m.Msg == WM_KILLFOCUS && this->Destroying()) return;
  if (m.Msg == SM_ALPHACMD && this->SkinCommand(m)) return;
  if (ControlIsReady(this) && this->IsSkinned(true) && SkinnedMessage(m)) return;
  if (ControlIsReady(this) && this->IsSkinned(true)) {
    CommonWndProc(m, this->SkinData.get());
    Base::WndProc(m);
    switch (m.Msg) {
      case WM_SETFONT:
        this->SkinData->Updating = false;
        this->SkinData->Invalidate();
        break;
      case CM_VISIBLECHANGED:
        if (!this->Destroying()) {
          this->SkinData->BGChanged = true;
          this->Repaint();
        }
        break;
    }
    return;
  }
  Base::WndProc(m);
}

template <class Base>
bool TsPushButton<Base>::BeforeSkinChange(TMessage& m) {
  const WORD cmd = SkinCmdOf(m);
  if (cmd == AC_REMOVESKIN && this->Destroying()) return false;
  StopFading(fadeTimer_);
  if (cmd == AC_SETNEWSKIN) {
    regionFlag_ = true;
    SkinApplied();
  }
  return true;
}

template <class Base>
void TsPushButton<Base>::AfterSkinChange(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_REMOVESKIN:
      SkinRemoved();
      pendingRgn_.reset();
      if (this->HandleAllocated()) ::SetWindowRgn(this->WindowHandle(), nullptr, FALSE);
      this->Repaint();
      return;
    case AC_REFRESH:
      regionFlag_ = true;
      this->Repaint();
      return;
  }
}

template <class Base>
bool TsPushButton<Base>::OtherSkinCommand(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_STOPFADING:
      StopFading(fadeTimer_);
      return true;
    case AC_PREPARECACHE:
      PrepareCache();
      return false;
    case AC_PAINTFADEFRAME:
      // A frame of a fade is shown without the region change it would need.
      pendingRgn_.reset();
      return false;
  }
  return false;
}

template <class Base>
bool TsPushButton<Base>::SkinnedMessage(TMessage& m) {
  TsCommonData* sd = this->SkinData.get();
  const bool enabled = this->Enabled();
  switch (m.Msg) {
    case SM_ALPHACMD:
      switch (SkinCmdOf(m)) {
        case AC_ENDPARENTUPDATE:
          if (sd->GetUpdating()) {
            sd->Updating = false;
            this->Repaint();
          }
          return true;
        case AC_SETBGDEPENDENT:
          CommonWndProc(m, sd);
          if (sd->BGDependent) PrepareCache();
          return true;
      }
      return false;
    case WM_PAINT:
      PaintHandler(reinterpret_cast<HDC>(m.WParam), true);
      return true;
    case WM_PRINT:
      regionFlag_ = true;
      PaintHandler(reinterpret_cast<HDC>(m.WParam), false);
      return true;
    case WM_ERASEBKGND:
    case WM_UPDATEUISTATE:
      m.Result = 1;
      return true;
    case BM_GETSTATE:
      // The pushed look is ours while skinned; a driver from outside reads
      // it here as it would from the system button.
      Base::WndProc(m);
      m.Result = (m.Result & ~BST_PUSHED) | (Down() ? BST_PUSHED : 0);
      return true;
    case BM_SETSTATE:
    case CN_DRAWITEM:
    case CN_CTLCOLORBTN:
    case WM_ENABLE:
      return true;
    case WM_MOVE:
      if (const TsGeneralData* s = sd->Section()) {
        if (s->Transparency >= 1 || (s->HotTransparency >= 1 && sd->ControlIsActive())) {
          sd->BGChanged = true;
          this->Repaint();
        }
      }
      return false;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
      regionFlag_ = true;
      return false;
    case WM_SETFOCUS:
    case CM_ENTER:
      if (!enabled || this->Destroying()) return true;
      Base::WndProc(m);
      CommonWndProc(m, sd);
      if (fadeTimer_) fadeTimer_->MakeStep();
      else sd->Invalidate();
      return true;
    case WM_KILLFOCUS:
    case CM_EXIT:
      pressed_ = false;
      if (!enabled) return false;
      StopFading(fadeTimer_);
      Base::WndProc(m);
      CommonWndProc(m, sd);
      sd->Focused = false;
      regionFlag_ = true;
      sd->Invalidate();
      return true;
    case CM_DIALOGCHAR:
      if (m.WParam == VK_SPACE && enabled && this->Focused()) PressBySpace();
      return false;
    case WM_KEYDOWN:
      // The first press of the space key (not its repeats) holds the button
      // as the dialog-character notification does.
      if (m.WParam != VK_SPACE) return false;
      if (!(m.LParam & (1 << 30)) && enabled) PressBySpace();
      return true;
    case WM_KEYUP:
      if (m.WParam == VK_SPACE && Down()) ReleaseBySpace();
      return false;
    case CM_ENABLEDCHANGED:
      if (this->Visible()) {
        sd->Updating = false;
        sd->Invalidate();
      }
      return false;
    case CM_TEXTCHANGED:
      sd->BGChanged = true;
      this->Repaint();
      return true;
    case CM_MOUSEENTER:
      if (!enabled || m.LParam != 0) return false;
      if (sd->MouseAbove || MouseEnterSuspended) return false;
      if (this->OnMouseEnter) this->OnMouseEnter(this);
      sd->MouseAbove = true;
      regionFlag_ = true;
      ChangePaintFaded(fadeTimer_, sd, false, 1, IsAnimatEvent(aeMouseEnter, AnimatEvents));
      return true;
    case CM_MOUSELEAVE:
      if (!enabled || m.LParam != 0) return false;
      if (this->OnMouseLeave) this->OnMouseLeave(this);
      sd->MouseAbove = false;
      regionFlag_ = true;
      ChangePaintFaded(fadeTimer_, sd, false, 1, IsAnimatEvent(aeMouseLeave, AnimatEvents));
      return true;
    case CM_UIACTIVATE:
      sd->Updating = false;
      return false;
    case CM_FOCUSCHANGED:
      FocusChanged(m);
      return false;
  }
  return false;
}

template <class Base>
void TsPushButton<Base>::PressBySpace() {
  StopFading(fadeTimer_);
  pressed_ = true;
  regionFlag_ = true;
  this->SkinData->BGChanged = true;
  this->Repaint();
}

template <class Base>
void TsPushButton<Base>::ReleaseBySpace() {
  pressed_ = false;
  regionFlag_ = true;
  this->SkinData->BGChanged = true;
  this->Repaint();
  this->Click();
}

// The default button looks hot while the focus is on a control that is not
// a push button; a push button with the focus takes that look itself.
template <class Base>
void TsPushButton<Base>::FocusChanged(TMessage& m) {
  if (!this->Default() || this->Destroying()) return;
  auto* receiver = reinterpret_cast<TControl*>(m.LParam);
  const bool active = IsSkinnedPushButton(receiver) ? receiver == this : this->Default();
  if (active == defaultActive_) return;
  defaultActive_ = active;
  this->SkinData->Invalidate();
}

// ---------------------------------------------------------------- mouse

template <class Base>
void TsPushButton<Base>::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TsCommonData* sd = this->SkinData.get();
  if (this->IsSkinned(true) && this->Enabled()) {
    sd->Updating = false;
    if (button == mbLeft && Application) {
      StoredShowHint = Application->ShowHint();
      Application->SetShowHint(false);
    }
    mouseClicked_ = true;
    if (button == mbLeft && !Down()) {
      pressed_ = true;
      regionFlag_ = true;
      sd->Updating = sd->GetUpdating();
      ChangePaintFaded(fadeTimer_, sd, true, 1, IsAnimatEvent(aeMouseDown, AnimatEvents));
    }
  }
  Base::MouseDown(button, shift, x, y);
}

template <class Base>
void TsPushButton<Base>::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TsCommonData* sd = this->SkinData.get();
  if (this->IsSkinned(true) && this->Enabled()) {
    if (button == mbLeft && Application) Application->SetShowHint(StoredShowHint);
    if (!mouseClicked_ || this->Destroying()) return;
    mouseClicked_ = false;
    if (button == mbLeft) {
      if (fadeTimer_ && fadeTimer_->Iteration < fadeTimer_->Iterations) {
        fadeTimer_->SetEnabled(false);
        sd->BGChanged = true;
        this->Repaint();
      }
      sd->Updating = false;
      pressed_ = false;
      const TRect client = this->ClientRect();
      const POINT p{x, y};
      // Click may free the button (a closing form): nothing of it is used
      // afterwards unless it is still alive.
      std::weak_ptr<TsCommonData*> alive = sd->Liveness();
      if (::PtInRect(&client, p)) this->Click();
      if (alive.expired()) return;
      if (!this->Destroying()) {
        regionFlag_ = true;
        ChangePaintFaded(fadeTimer_, sd, true, 1, IsAnimatEvent(aeMouseUp, AnimatEvents));
      }
    }
  }
  Base::MouseUp(button, shift, x, y);
}

// ---------------------------------------------------------------- painting

template <class Base>
void TsPushButton<Base>::PaintHandler(HDC given, bool beginPaint) {
  TsCommonData* sd = this->SkinData.get();
  TacPaintScope paint(this->Handle(), given, beginPaint);
  HDC dc = paint.DC();
  sd->Updating = sd->GetUpdating();
  if (sd->Updating || (fadeTimer_ && fadeTimer_->Enabled())) return;
  TWinControl* parent = this->Parent();
  sd->BGChanged = sd->BGChanged || sd->HalfVisible ||
                  (parent && QuerySkinCmd(parent, AC_ISHALFVISIBLE));
  sd->HalfVisible = parent && !RectInRect(parent->ClientRect(), this->BoundsRect());
  if (sd->BGChanged && !sd->BGDependent) PrepareCache();
  const int state = CurrentState();
  if (regionFlag_) {
    UpdateCorners(sd, state);
    TsSkinManager* m = sd->GetSkinManager();
    if (m && sd->BorderIndex > 0 && sd->CacheBmp) {
      // The corners go to the screen before the region changes, so no
      // pixel of the old shape shows through.
      const int w = this->Width(), h = this->Height();
      const int l = m->MaskBorderLeft(sd->BorderIndex), t = m->MaskBorderTop(sd->BorderIndex);
      const int r = m->MaskBorderRight(sd->BorderIndex), b = m->MaskBorderBottom(sd->BorderIndex);
      HDC src = sd->CacheBmp->Canvas()->Handle();
      ::BitBlt(dc, 0, 0, l, t, src, 0, 0, SRCCOPY);
      ::BitBlt(dc, w - r, 0, r, t, src, w - r, 0, SRCCOPY);
      ::BitBlt(dc, 0, h - b, l, b, src, 0, h - b, SRCCOPY);
      ::BitBlt(dc, w - r, h - b, r, b, src, w - r, h - b, SRCCOPY);
    }
    if (!(this->ControlState() & csAlignmentNeeded)) {
      // The window owns the region from here on. A paint that built no new
      // image has no new region: the window keeps the one it has rather
      // than losing its cut corners (and a print stays cheap).
      if (pendingRgn_) ::SetWindowRgn(this->Handle(), pendingRgn_.release(), FALSE);
      regionFlag_ = false;
    }
  }
  CopyCacheToDC(sd, dc);
}

template <class Base>
void TsPushButton<Base>::PrepareCache() {
  TsCommonData* sd = this->SkinData.get();
  TCacheInfo ci = GetParentCache(sd);
  sd->InitCacheBmp();
  TWinControl* parent = this->Parent();
  BGFillColor = clFuchsia;
  if (!ci.Ready && parent) {
    MaskFillColor = BGFillColor = ColorToRGB(parent->Color());
  } else if (ci.Ready && !sd->DependsOnParentBg() && BGFillColor == clFuchsia && parent) {
    UpdateBGFillColor(parent);
  }
  const int state = CurrentState();
  const TRect all{0, 0, this->Width(), this->Height()};
  const TPoint offset{this->Left(), this->Top()};
  PaintControlBG(sd, ci, state, all, offset, sd->CacheBmp.get());
  if (regionFlag_) pendingRgn_.reset(::CreateRectRgn(0, 0, this->Width(), this->Height()));
  PaintContent(state);
  if (!this->Enabled()) {
    BGFillColor = clFuchsia;
    ci = GetParentCache(sd);
    ApplyDisabledKind(TacBmpView(*sd->CacheBmp), disabledKind_, parent, ci, offset);
  }
  MaskFillColor = BGFillColor = clFuchsia;
  CachePainted();
  sd->BGChanged = false;
}

template <class Base>
void TsPushButton<Base>::PaintBorder(int state) {
  TsCommonData* sd = this->SkinData.get();
  TsSkinManager* m = sd->GetSkinManager();
  if (!m || !m->IsValidImgIndex(sd->BorderIndex)) return;
  PaintMaskWithRgn(TacBmpView(*sd->CacheBmp), pendingRgn_.get(), true, m->ma[sd->BorderIndex],
                   MasterView(*m), state);
}

template <class Base>
void TsPushButton<Base>::PaintFocus(TRect r) {
  const TsGeneralData* s = this->SkinData->Section();
  if (!this->Enabled() || !this->Focused() || this->Caption().empty() || !s || !s->ShowFocus)
    return;
  ::InflateRect(&r, FocusMargin, FocusMargin);
  DrawFocusFrame(this->SkinData->CacheBmp->Canvas(), r);
}

template class TsPushButton<TButton>;
template class TsPushButton<TBitBtn>;

bool IsSkinnedPushButton(const TControl* control) {
  return dynamic_cast<const TsPushButton<TButton>*>(control) ||
         dynamic_cast<const TsPushButton<TBitBtn>*>(control);
}
