// TsUpDown: up-down arrow buttons drawn from the skin, with hot and pressed
// looks and a disabled look for a button that cannot move the position
// further. It owns no skin state: it paints with the default manager and
// the scroll-button sections (or ButtonSkin), and repaints on skin changes.
// The platform's up-down control keeps range, position and the mouse.
#pragma once

#include <cstdint>

#include "framework/UpDown.h"
#include "skin/engine/SkinConsts.h"

class TsSkinManager;

class TsUpDown : public TCustomUpDown {
 public:
  explicit TsUpDown(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TsUpDown"; }
  void WndProc(TMessage& message) override;

  // ---- published ----
  // A button at its end of the range is drawn disabled and never hot.
  bool ShowInaccessibility() const { return showInaccessibility_; }
  void SetShowInaccessibility(bool value);
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind value);
  // Section of both buttons; empty means the scroll-button sections.
  const std::wstring& ButtonSkin() const { return buttonSkin_; }
  void SetButtonSkin(const std::wstring& value);

  // 0 none, 1 / 2 first / second button hot, 3 / 4 first / second pressed.
  uint8_t ButtonState() const { return buttonState_; }
  void SetButtonState(uint8_t value);
  // Paints one button into Bmp: 0 top, 1 left, 2 bottom, 3 right. The
  // second buttons resize Bmp to the rest of the control.
  // The manager that paints: a skinned page control parent's, else the
  // default one.
  TsSkinManager* PaintManager() const;
  void PaintButtons(TBitmap* bmp, int button);
  // The skin can paint the buttons of the current orientation.
  bool SkinCanPaint() const;

 private:
  bool AtLimit(int button) const;
  bool FirstButtonAtLimit() const;
  bool SecondButtonAtLimit() const;
  void WMPaint(TMessage& message);
  void WMNCHitTest();
  void WMLButtonDown();
  void WMLButtonUp(TMessage& message);

  bool showInaccessibility_ = true;
  TsDisabledKind disabledKind_ = dkBlended;
  std::wstring buttonSkin_;
  uint8_t buttonState_ = 0;
  bool mouseDown_ = false;
};
