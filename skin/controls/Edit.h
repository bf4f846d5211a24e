// TsEdit: the skinned single-line edit. The system edit keeps drawing its
// text, selection and caret, in the section's colours; the skin draws the
// border, and the whole image (border and text) serves printing.
#pragma once

#include "framework/StdCtrls.h"
#include "skin/controls/BoundControl.h"

class TsEdit : public TsBoundControl<TEdit> {
 public:
  explicit TsEdit(TComponent* AOwner) : TsBoundControl(AOwner, ckEdit) {}
  const wchar_t* ClassName() const override { return L"TsEdit"; }

  // Width of the border the skin draws: Ctl3D + 1 with a single border
  // (2 sunken, 1 flat), else 0.
  int BorderWidth() const;
  // The single border is the sunken 3-D edge; off, a flat line.
  bool Ctl3D() const { return ctl3D_; }
  void SetCtl3D(bool value);
  // Client colours from the section: the hot ones while hovered or focused.
  void ApplySkinColors();

 protected:
  void CreateParams(TCreateParams& params) override;
  TacSkinChangeRule SkinChangeRule(WORD cmd) const override;
  void AfterSkinChange(TMessage& message) override;
  bool OtherSkinCommand(TMessage& message) override;
  void SkinnedMessage(TMessage& message) override;

 private:
  void AfterSkinnedMessage(const TMessage& message);
  void OnPaint(TMessage& message);
  void OnNcPaint();
  void OnPrint(TMessage& message);
  void PrepareCache();
  void PaintText();

  bool ctl3D_ = true;
};
