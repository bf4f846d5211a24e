// TsMemo: the skinned multi-line edit. The system edit draws its text; an
// edit adapter draws the border and the scroll bars from the skin.
#pragma once

#include "framework/StdCtrls.h"
#include "skin/controls/BoundControl.h"
#include "skin/windows/EditWnd.h"

class TsMemo : public TsBoundControl<TMemo> {
 public:
  explicit TsMemo(TComponent* AOwner);
  ~TsMemo() override;
  const wchar_t* ClassName() const override { return L"TsMemo"; }
  void Loaded() override;

  // ---- published ----
  TNotifyEvent OnVScroll;      // after every WM_VSCROLL
  TNotifyEvent OnScrollCaret;  // after every EM_SCROLLCARET

  // The adapter that draws border and scroll bars (null while unskinned).
  TacEditWnd* EditWnd() const { return editWnd_.get(); }

 protected:
  void CreateWnd() override;
  TacSkinChangeRule SkinChangeRule(WORD cmd) const override;
  bool BeforeSkinChange(TMessage& message) override;
  void AfterSkinChange(TMessage& message) override;
  void SkinnedMessage(TMessage& message) override;

 private:
  TacEditWndPtr editWnd_;
};
