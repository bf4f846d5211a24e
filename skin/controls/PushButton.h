// The behaviour TsButton and TsBitBtn share: three looks (normal 0, hot 1,
// pressed 2) from the cells of the section's border image, a click made by
// the control itself from the mouse and the space key (the system button
// never reaches its own pushed state), a window region cut to the border
// image's opaque pixels, hover and press fades, and a Down state that keeps
// the pressed look.
#pragma once

#include "framework/Buttons.h"
#include "framework/Handles.h"
#include "skin/controls/SkinnedControl.h"
#include "skin/engine/Fades.h"

template <class Base>
class TsPushButton : public TsSkinnedControl<Base> {
 public:
  TsPushButton(TComponent* AOwner, int kind);
  ~TsPushButton() override;
  void WndProc(TMessage& message) override;

  // ---- published ----
  bool Down() const { return pressed_ || down_; }
  void SetDown(bool value);
  int FocusMargin = 1;
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind value);
  TacAnimatEvents AnimatEvents = AnimatEventBit(aeGlobalDef);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);

  // 0 normal, 1 hot, 2 pressed.
  virtual int CurrentState() const;
  // The button shows the hot look as the form's default button.
  bool DefaultActive() const { return defaultActive_; }

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  // Border, caption and glyph over the prepared background.
  virtual void PaintContent(int state) = 0;
  // The cache is complete, disabled look included.
  virtual void CachePainted() {}
  // The text colours are the hot ones.
  bool HotText() const;
  // The border image into the cache, cutting its transparent corner pixels
  // out of the pending window region.
  void PaintBorder(int state);
  // The dotted frame around the caption, when the section shows focus.
  void PaintFocus(TRect r);
  void PrepareCache();
  void CreateWindowState() override;
  // A new skin of our manager reached the button, or its skin was removed.
  virtual void SkinApplied() {}
  virtual void SkinRemoved() {}

  TsFadeTimer* fadeTimer_ = nullptr;
  bool defaultActive_ = false;

 private:
  bool BeforeSkinChange(TMessage& message) override;
  void AfterSkinChange(TMessage& message) override;
  bool OtherSkinCommand(TMessage& message) override;
  bool SkinnedMessage(TMessage& message);  // true = handled
  void PaintHandler(HDC given, bool beginPaint);
  void PressBySpace();
  void ReleaseBySpace();
  void FocusChanged(TMessage& message);
  void MarkRegion() { regionFlag_ = true; }

  bool mouseClicked_ = false;
  bool pressed_ = false;
  bool regionFlag_ = true;
  bool down_ = false;
  bool wordWrap_ = true;
  TsDisabledKind disabledKind_ = dkBlended;
  UniqueRgn pendingRgn_;
};

// Either push button (TsButton or TsBitBtn): the focus notification asks it.
bool IsSkinnedPushButton(const TControl* control);
