// TsUpDown: up-down arrow buttons drawn from the skin, with hot and pressed
// looks and a disabled look for a button that cannot move the position
// further. It owns no skin state: it paints with the default manager and
// the scroll-button sections (or ButtonSkin), and repaints on skin changes.
// The platform's up-down control keeps range, position and the mouse.
#pragma once

#include <cstdint>
#include <functional>

#include "framework/StdCtrls.h"
#include "skin/engine/SkinConsts.h"

class TsSkinManager;

enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* sender, TUDBtnType button)>;

class TsUpDown : public TSystemControl {
 public:
  explicit TsUpDown(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TsUpDown"; }
  void WndProc(TMessage& message) override;

  // ---- published ----
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetMin(int value);
  void SetMax(int value);
  int Position() const;
  void SetPosition(int value);
  int Increment() const { return increment_; }
  void SetIncrement(int value);
  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation value);
  // A button at its end of the range is drawn disabled and never hot.
  bool ShowInaccessibility() const { return showInaccessibility_; }
  void SetShowInaccessibility(bool value);
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind value);
  // Section of both buttons; empty means the scroll-button sections.
  const std::wstring& ButtonSkin() const { return buttonSkin_; }
  void SetButtonSkin(const std::wstring& value);
  // After every change made through the buttons or the keyboard.
  TUDClickEvent OnClick;

  // 0 none, 1 / 2 first / second button hot, 3 / 4 first / second pressed.
  uint8_t ButtonState() const { return buttonState_; }
  void SetButtonState(uint8_t value);
  // Paints one button into Bmp: 0 top, 1 left, 2 bottom, 3 right. The
  // second buttons resize Bmp to the rest of the control.
  void PaintButtons(TBitmap* bmp, int button);
  // The skin can paint the buttons of the current orientation.
  bool SkinCanPaint() const;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;

 private:
  bool AtLimit(int button) const;
  bool FirstButtonAtLimit() const;
  bool SecondButtonAtLimit() const;
  void WMPaint(TMessage& message);
  void WMNCHitTest();
  void WMLButtonDown();
  void WMLButtonUp(TMessage& message);
  void UpdateRange();

  int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
  TUDOrientation orientation_ = udVertical;
  bool showInaccessibility_ = true;
  TsDisabledKind disabledKind_ = dkBlended;
  std::wstring buttonSkin_;
  uint8_t buttonState_ = 0;
  bool mouseDown_ = false;
};
