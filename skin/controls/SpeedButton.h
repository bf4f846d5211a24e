// TsSpeedButton: the skinned speed button. It has no window of its own, so
// it paints on its parent through a cache image and animates with
// TsAnimTimer frames; it adds a drop-down part that shows a popup menu, a
// divider style, and the glyph options of TsBitBtn.
#pragma once

#include "framework/Buttons.h"
#include "framework/ImageList.h"
#include "framework/Menus.h"
#include "skin/controls/GlyphUtils.h"
#include "skin/controls/SkinnedControl.h"
#include "skin/engine/Fades.h"

enum TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };

class TsSpeedButton : public TsSkinnedControl<TSpeedButton> {
 public:
  explicit TsSpeedButton(TComponent* AOwner);
  ~TsSpeedButton() override;
  const wchar_t* ClassName() const override { return L"TsSpeedButton"; }
  void WndProc(TMessage& message) override;
  void AfterConstruction() override;
  void Loaded() override;

  // ---- published ----
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind value);
  TsDisabledGlyphKind DisabledGlyphKind() const { return disabledGlyphKind_; }
  void SetDisabledGlyphKind(TsDisabledGlyphKind value);
  bool Grayed() const { return grayed_; }
  void SetGrayed(bool value);
  int Blend() const { return blend_; }
  void SetBlend(int value);  // clamped to 0..100
  int TextOffset() const { return textOffset_; }
  void SetTextOffset(int value);
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool value);
  TAlignment Alignment() const { return TSpeedButton::Alignment; }
  void SetAlignment(TAlignment value);
  TToolButtonStyle ButtonStyle() const { return buttonStyle_; }
  void SetButtonStyle(TToolButtonStyle value);
  TPopupMenu* DropdownMenu() const { return dropdownMenu_; }
  void SetDropdownMenu(TPopupMenu* value);
  bool DrawOverBorder() const { return drawOverBorder_; }
  void SetDrawOverBorder(bool value);
  TAlignment TextAlignment() const { return textAlignment_; }
  void SetTextAlignment(TAlignment value);
  TBmpPaintEvent OnPaint;
  TacAnimatEvents AnimatEvents = AnimatEventBit(aeGlobalDef);
  int NumGlyphs = 1;
  // A glyph from an image list in place of Glyph (the list is not owned).
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);

  virtual int CurrentState() const;
  int ArrowWidth() const { return buttonStyle_ == tbsDropDown ? 16 : 0; }
  int GlyphWidth() const;
  int GlyphHeight() const;
  TRect CaptionRect();
  TRect CalcLayout();
  bool MenuShown() const { return menuShown_; }
  // Repaints through the parent, which paints this button's background.
  void GraphRepaint();

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void PrepareCache();

 private:
  TacSkinChangeRule SkinChangeRule(WORD cmd) const override;
  bool BeforeSkinChange(TMessage& message) override;
  void AfterSkinChange(TMessage& message) override;
  bool OtherSkinCommand(TMessage& message) override;
  bool SkinnedMessage(TMessage& message);  // true = handled
  void AfterInherited(TMessage& message);
  void ChangePaint(bool halve, bool animate);
  void StartAnimation(bool halve);
  void StopAnimation();
  void PaintFace(const TRect& r, const TPoint& offset, int state, const TCacheInfo& ci);
  void PaintArrow(const TCacheInfo& ci);
  void PaintCaption();
  void PaintGlyph(int state);
  TSize TextRectSize();
  void ShowDropDown();
  bool IsDropDownPress(int x) const;
  void PressDropDown(TMessage& message);
  template <class T>
  void Store(T& field, T value);
  void MakeListGlyph();
  TacButtonGlyph ShownGlyph() const;

  int lastNumGlyphs_ = 1;
  int lastSpacing_ = 4;
  bool lastDown_ = false;
  TsDisabledKind disabledKind_ = dkBlended;
  std::unique_ptr<TsAnimTimer> animTimer_;
  TsDisabledGlyphKind disabledGlyphKind_ = dgBlended;
  bool grayed_ = false;
  int blend_ = 0;
  int textOffset_ = 0;
  bool showCaption_ = true;
  TToolButtonStyle buttonStyle_ = tbsButton;
  TPopupMenu* dropdownMenu_ = nullptr;
  bool drawOverBorder_ = true;
  TAlignment textAlignment_ = taCenter;
  bool menuShown_ = false;
  TImageList* images_ = nullptr;
  int imageIndex_ = -1;
};
