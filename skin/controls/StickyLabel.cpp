#include "skin/controls/StickyLabel.h"

namespace {

TAlignTo Opposite(TAlignTo s) {
  switch (s) {
    case altLeft: return altRight;
    case altRight: return altLeft;
    case altTop: return altBottom;
    case altBottom: return altTop;
  }
  return s;
}

// Holds the flag for one update, so the moves it makes do not answer
// themselves.
class UpdatingScope {
 public:
  explicit UpdatingScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~UpdatingScope() { flag_ = false; }

 private:
  bool& flag_;
};

}  // namespace

TsStickyLabel::~TsStickyLabel() { SetAttachTo(nullptr); }

void TsStickyLabel::SetAttachTo(TWinControl* value) {
  if (attachTo_ == value) return;
  hook_.reset();
  if (attachTo_) attachTo_->RemoveFreeNotification(this);
  attachTo_ = value;
  if (!attachTo_) return;
  attachTo_->FreeNotification(this);
  UpdatePosition(true);
  SetEnabled(attachTo_->Enabled());
  SetVisible(attachTo_->Visible());
  hook_ = std::make_unique<TWndProcHook>(
      attachTo_, [this](TMessage& m, const TWndMethod& next) { ControlMessage(m, next); });
}

void TsStickyLabel::SetAlignTo(TAlignTo value) {
  if (alignTo_ == value) return;
  alignTo_ = value;
  UpdatePosition(true);
}

void TsStickyLabel::SetGap(int value) {
  if (gap_ == value) return;
  gap_ = value;
  UpdatePosition(true);
}

void TsStickyLabel::Notification(TComponent* component, TOperation operation) {
  TsLabel::Notification(component, operation);
  if (operation == TOperation::opRemove && component == attachTo_) {
    hook_.reset();
    attachTo_ = nullptr;
  }
}

void TsStickyLabel::ControlMessage(TMessage& m, const TWndMethod& next) {
  if (!HasState(csDestroying) && attachTo_ && !updating_) {
    switch (m.Msg) {
      case WM_MOVE:
      case WM_SIZE:
      case WM_WINDOWPOSCHANGED:
        next(m);
        UpdatePosition(true);
        return;
      case CM_VISIBLECHANGED:
        SetVisible(attachTo_->Visible());
        break;
      case CM_ENABLEDCHANGED:
        SetEnabled(attachTo_->Enabled());
        break;
    }
  }
  next(m);
}

// A label has no window: its moves arrive here rather than as window
// messages.
void TsStickyLabel::SetBounds(int left, int top, int width, int height) {
  TsLabel::SetBounds(left, top, width, height);
  if (!HasState(csDestroying) && attachTo_ && !updating_) UpdatePosition(false);
}

void TsStickyLabel::UpdatePosition(bool labelFollows) {
  if (!attachTo_ || updating_) return;
  UpdatingScope scope(updating_);
  TControl* moved = labelFollows ? static_cast<TControl*>(this) : attachTo_;
  const TControl* ref = labelFollows ? static_cast<TControl*>(attachTo_) : this;
  const TAlignTo side = labelFollows ? alignTo_ : Opposite(alignTo_);
  const int rl = ref->Left(), rt = ref->Top(), rw = ref->Width(), rh = ref->Height();
  const int mw = moved->Width(), mh = moved->Height();
  int l = 0, t = 0;
  switch (side) {
    case altLeft:
      l = rl - mw - gap_;
      t = rt + (rh - mh) / 2;
      break;
    case altTop:
      l = rl;
      t = rt - mh - gap_;
      break;
    case altBottom:
      l = rl;
      t = rt + rh + gap_;
      break;
    case altRight:
      l = rl + rw + gap_;
      t = rt + (rh - mh) / 2;
      break;
  }
  moved->SetBounds(l, t, mw, mh);
}
