// TControlCanvas: a canvas that draws on a control outside WM_PAINT. It takes
// the control's device context when a drawing call first needs one (the
// parent's, moved and clipped to the control, for a control without a
// window) and gives it back on FreeHandle, when the control's window goes,
// or when more canvases hold a context than the system's small DC cache
// should lend out at once.
#pragma once

#include <windows.h>

#include "framework/Graphics.h"

class TControl;

class TControlCanvas : public TCanvas {
 public:
  TControlCanvas() = default;
  explicit TControlCanvas(TControl* control) : control_(control) {}
  ~TControlCanvas() override;

  TControl* Control() const { return control_; }
  // Changing the control gives back a context taken for the previous one.
  void SetControl(TControl* control);
  // Gives the context back now (the next drawing call takes a new one).
  void FreeHandle();
  // The window whose context this canvas holds, or null.
  HWND HeldWindow() const { return ownedDC_ ? wnd_ : nullptr; }

 protected:
  void CreateHandle() override;

 private:
  TControl* control_ = nullptr;
  HDC ownedDC_ = nullptr;
  HWND wnd_ = nullptr;
};

// Gives back the context of every control canvas that is not locked by a
// painter (for idle time and tests).
void FreeDeviceContexts();
// How many control canvases hold a context now.
int HeldDeviceContexts();
