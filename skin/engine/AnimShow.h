// Capturing a control with everything on it into a bitmap, and the animated
// show of a control's new look: a borderless output window over the control
// fades from what the screen showed before to the captured image.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "framework/Controls.h"
#include "framework/Graphics.h"

// The borderless window the animation frames are drawn on; its background
// is never erased.
class TOutputWindow : public TCustomControl {
 public:
  explicit TOutputWindow(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TOutputWindow"; }
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
};

// The output window of the running animation; null outside one.
extern TOutputWindow* OutputWindow;
// The screen under the control when the animation started; null outside one.
extern std::unique_ptr<TBitmap> AnimScreenBmp;
// The DC of the bitmap a control is being captured into, 0 otherwise.
extern HDC AnimCaptureDC;


// Paints Control and every control on it into Bmp.
void PaintCtrlToBitmap(TBitmap* bmp, TControl* control, int unused1 = 0, int unused2 = 0);
// Stops the control's drawing, keeps the screen under it and puts the output
// window directly above it.
void PrepareOutputWindow(TWinControl* control);
// The clock an animated show keeps to: milliseconds from a fixed point, and a
// wait. Tests hand in a clock of their own.
struct TacAnimClock {
  std::function<double()> Now;
  std::function<void(DWORD ms)> Sleep;
  static TacAnimClock System();
};

// Fades Control's new look in over the old screen in Time ms (Time div 8
// steps about 8 ms apart). The control draws again when it returns. With
// ShowUnder, drawing comes on after the last frame and ShowUnder paints the
// control while that frame still covers it; the output window goes after.
void AnimShowControl(TWinControl* control, uint16_t time,
                     const TacAnimClock& clock = TacAnimClock::System(),
                     const std::function<void()>& showUnder = nullptr);
// Plays the frames of an animated show of Time ms: Frame(alpha) draws one
// with the old screen weighted alpha out of 256. Frame k of AnimShowAlphas
// is due k * 8 ms after the first; a frame whose time passed while an
// earlier one was drawn is dropped, so on a busy machine the show still
// lasts about Time. The last call is always Frame(0): the new image alone.
void PlayAnimFrames(uint16_t time, const TacAnimClock& clock,
                    const std::function<void(int alpha)>& frame);
// The weights of the old screen image (out of 256) of each frame of an
// animated show of Time ms: 255, 255 - d, ... for Time div 8 + 1 frames;
// none when Time is below 8.
std::vector<int> AnimShowAlphas(uint16_t time);
