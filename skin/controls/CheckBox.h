// TsCheckBox: the skinned check box. While skinned it takes the mouse and
// the space key itself and toggles its state, draws the box from the skin's
// check-box images and keeps its state for BM_GETCHECK, so the system
// button never paints over it.
#pragma once

#include <memory>

#include "framework/ImageList.h"
#include "framework/StdCtrls.h"
#include "skin/controls/SkinnedControl.h"
#include "skin/engine/Fades.h"

class TsCheckBox : public TsSkinnedControl<TCustomCheckBox> {
 public:
  explicit TsCheckBox(TComponent* AOwner);
  ~TsCheckBox() override;
  const wchar_t* ClassName() const override { return L"TsCheckBox"; }
  void WndProc(TMessage& message) override;
  void Loaded() override;
  void SetState(TCheckBoxState value) override;
  // The next state the user's click gives.
  void Toggle();

  // ---- published ----
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind value);
  int TextIndent() const { return textIndent_; }
  void SetTextIndent(int value);
  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool value);
  int Margin() const { return margin_; }
  void SetMargin(int value);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  TacAnimatEvents AnimatEvents = AnimatEventBit(aeGlobalDef);
  // Own box pictures in place of the skin's: three state cells side by side
  // (normal, hot, pressed), the picture above and its mask below.
  TBitmap* GlyphChecked() const { return glyphChecked_.get(); }
  void SetGlyphChecked(TBitmap* value);
  TBitmap* GlyphUnChecked() const { return glyphUnChecked_.get(); }
  void SetGlyphUnChecked(TBitmap* value);
  // The same pictures from an image list (not owned), by index.
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* value);
  int ImgChecked() const { return imgChecked_; }
  void SetImgChecked(int value);
  int ImgUnchecked() const { return imgUnchecked_; }
  void SetImgUnchecked(int value);

  // The box's rectangle in the control.
  TRect CheckRect() const;
  // Resizes to the box and the caption while skinned and AutoSize is on.
  void AdjustSize();

 private:
  bool BeforeSkinChange(TMessage& message) override;
  void AfterSkinChange(TMessage& message) override;
  bool OtherSkinCommand(TMessage& message) override;
  bool SkinnedMessage(TMessage& message);  // true = handled
  bool UnskinnedMessage(TMessage& message);  // true = dropped
  void PaintHandler(HDC given, bool beginPaint);
  void PrepareCache();
  void PaintCaption(bool hot);
  void PaintGlyph();
  int BoxMask(const wchar_t* name) const;
  void TakeFocus();
  void MouseDownSkinned(TMessage& message);
  void MouseUpSkinned(TMessage& message);
  bool Running() const { return !HasState(csDesigning); }
  bool UsesImages() const;
  bool UsesUserGlyphs() const;
  void DrawUserGlyph(TBitmap* glyph, TSize cell);
  void GlyphsChanged();

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:

  TsDisabledKind disabledKind_ = dkBlended;
  int textIndent_ = 0;
  bool pressed_ = false;
  bool showFocus_ = true;
  int margin_ = 2;
  TsFadeTimer* fadeTimer_ = nullptr;
  bool readOnly_ = false;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  TCheckBoxState shown_ = cbUnchecked;  // the state while the system is not told
  std::unique_ptr<TBitmap> glyphUnChecked_ = std::make_unique<TBitmap>();
  std::unique_ptr<TBitmap> glyphChecked_ = std::make_unique<TBitmap>();
  TImageList* images_ = nullptr;
  int imgChecked_ = 0;
  int imgUnchecked_ = 0;
};
