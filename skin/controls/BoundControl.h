// TsBoundControl: the skinned-control pattern for the edit-like controls
// (edit, memo, combo box). Each carries a bound label that follows it and a
// disabled look, and takes a message in one order: the skin commands every
// control answers, then what the control drops outright, then either the
// framework alone (not ready or not skinned) or its skinned handling, and
// last the bound label's step.
#pragma once

#include <memory>

#include "skin/controls/EditLabel.h"
#include "skin/controls/SkinnedControl.h"
#include "skin/engine/ControlUtils.h"

template <class Base>
class TsBoundControl : public TsSkinnedControl<Base> {
 public:
  TsBoundControl(TComponent* AOwner, int kind)
      : TsSkinnedControl<Base>(AOwner, kind),
        BoundLabel(NewBoundLabel(this->SkinData.get())) {}
  ~TsBoundControl() override { BoundLabel.reset(); }

  void WndProc(TMessage& m) override {
    if (m.Msg == SM_ALPHACMD && this->SkinCommand(m)) return;
    if (DropMessage(m)) return;
    if (!ControlIsReady(this) || !this->IsSkinned())
      Base::WndProc(m);
    else
      SkinnedMessage(m);
    if (BoundLabel) BoundLabel->FollowControl(m);
  }

  // ---- published ----
  std::unique_ptr<TsBoundLabel> BoundLabel;
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind value) {
    if (disabledKind_ == value) return;
    disabledKind_ = value;
    this->SkinData->Invalidate();
  }

 protected:
  // True = the message is dropped before anything else sees it.
  virtual bool DropMessage(TMessage&) { return false; }
  virtual void SkinnedMessage(TMessage& message) = 0;

  TsDisabledKind disabledKind_ = dkBlended;
};
