// Up-down controls ("msctls_updown32") drawn as two stacked skin buttons
// with the scroll arrows, whatever the control's orientation.
#pragma once

#include "skin/windows/MainWnd.h"

class TacSpinWnd : public TacMainWnd {
 public:
  void WndProc(TMessage& message) override;

  int LeftMargin = 0;  // pixels at the left edge left unpainted
  bool Pressed = false;
  int UpState = 0;
  int DownState = 0;

 protected:
  friend class TacMainWnd;
  using TacMainWnd::TacMainWnd;

 private:
  void PaintSpin(HDC given);
  void PrepareCache();
};
