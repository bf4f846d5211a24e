// TsStickyLabel: a label that keeps itself beside another control. Moving
// the control moves the label; moving the label moves the control to the
// label's other side.
#pragma once

#include <memory>

#include "skin/controls/Label.h"

enum TAlignTo { altLeft, altTop, altBottom, altRight };

class TsStickyLabel : public TsLabel {
 public:
  explicit TsStickyLabel(TComponent* AOwner) : TsLabel(AOwner) {}
  ~TsStickyLabel() override;
  const wchar_t* ClassName() const override { return L"TsStickyLabel"; }
  void SetBounds(int left, int top, int width, int height) override;

  // ---- published ----
  TWinControl* AttachTo() const { return attachTo_; }
  void SetAttachTo(TWinControl* value);
  TAlignTo AlignTo() const { return alignTo_; }
  void SetAlignTo(TAlignTo value);
  int Gap() const { return gap_; }
  void SetGap(int value);

  // LabelFollows: the label goes beside the control; otherwise the control
  // goes to the label's opposite side.
  void UpdatePosition(bool labelFollows);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void ControlMessage(TMessage& message, const TWndMethod& next);

  TWinControl* attachTo_ = nullptr;
  TAlignTo alignTo_ = altLeft;
  int gap_ = 2;
  std::unique_ptr<TWndProcHook> hook_;
  bool updating_ = false;
};
