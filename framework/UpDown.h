// TCustomUpDown / TUpDown: the comctl32 up-down control (msctls_updown32).
// The platform keeps range, position and the mouse; this object mirrors
// them while no window exists and reports each step through OnClick.
#pragma once

#include <functional>

#include "framework/StdCtrls.h"

enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };
using TUDClickEvent = std::function<void(TObject* sender, TUDBtnType button)>;

class TCustomUpDown : public TSystemControl {
 public:
  explicit TCustomUpDown(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TCustomUpDown"; }
  void WndProc(TMessage& message) override;

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
  // After every change made through the buttons or the keyboard.
  TUDClickEvent OnClick;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;

  int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
  TUDOrientation orientation_ = udVertical;

 private:
  void UpdateRange();
  void UpdateIncrement();
};

class TUpDown : public TCustomUpDown {
 public:
  explicit TUpDown(TComponent* AOwner) : TCustomUpDown(AOwner) {}
  const wchar_t* ClassName() const override { return L"TUpDown"; }
};
