// TsGroupBox: the skinned group box. Its frame comes from the skin section
// ("GROUPBOX" unless set otherwise) and starts halfway down the caption,
// which sits in a small skinned plate on the top edge. It paints through the
// framework's Paint, so the framework's WM_PAINT binds the canvas.
#pragma once

#include <cstdint>

#include "framework/StdCtrls.h"
#include "skin/controls/SkinnedControl.h"

class TsGroupBox : public TsSkinnedControl<TGroupBox> {
 public:
  // Kept inside the class: the bound label has a layout type of this name.
  enum TsCaptionLayout : uint8_t { clTopLeft, clTopCenter, clTopRight };

  explicit TsGroupBox(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TsGroupBox"; }
  void WndProc(TMessage& message) override;

  // ---- published ----
  TsCaptionLayout CaptionLayout() const { return captionLayout_; }
  void SetCaptionLayout(TsCaptionLayout value);
  // Moves the caption plate (and the client area) down, or up when negative.
  int CaptionYOffset() const { return captionYOffset_; }
  void SetCaptionYOffset(int value);
  // Section of the caption plate; empty means "CHECKBOX".
  const std::wstring& CaptionSkin() const { return captionSkin_; }
  void SetCaptionSkin(const std::wstring& value);

  // Width of the control's bevel (1, as for every window control); a
  // caption plate narrower than two bevels is widened by a bevel on each
  // side, within the box.
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);

  // The caption plate in control coordinates.
  TRect CaptionRect();
  int CaptionHeight();
  // Paints the skinned box into DC (nothing when not skinned).
  void SkinPaint(HDC dc);

 protected:
  void AdjustClientRect(RECT& rect) const override;
  void Paint() override;

 private:
  void PrepareCache();
  void PaintCaption(const TRect& cr, const TCacheInfo& ci);
  TacSkinChangeRule SkinChangeRule(WORD cmd) const override;
  void AfterSkinChange(TMessage& message) override;
  void SkinnedAlphaCmd(TMessage& message);
  void SkinnedMessage(TMessage& message);
  void FontChanged();

  TsCaptionLayout captionLayout_ = clTopLeft;
  int captionYOffset_ = 0;
  std::wstring captionSkin_;
  int bevelWidth_ = 1;
};
