// Hover fades: when a skinned button, check box or track bar changes its
// look, a 10 ms timer cross-fades from the old cache image to the new one in
// the section's number of steps. TsFadeTimer paints each frame into a
// windowed control; TsAnimTimer hands the frame to a control without a
// window, which repaints through its parent.
//
// A control keeps its timer in a field of its own (null while no fade runs)
// and passes it by reference. The timer is owned by the control, so it never
// outlives it; a control's destructor calls StopFading first.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/ExtCtrls.h"
#include "framework/Graphics.h"
#include "skin/engine/SkinConsts.h"

class TsCommonData;
class TControl;

// Alpha of frame K of N (the old image's weight out of 255):
// ClampByte(255 - K * 256 div N); 0 for N below 1.
uint8_t FadeFrameAlpha(int k, int n);

class TsFadeTimer : public TTimer {
 public:
  explicit TsFadeTimer(TComponent* AOwner);
  ~TsFadeTimer() override;
  const wchar_t* ClassName() const override { return L"TsFadeTimer"; }

  uint8_t Direction = 0;            // 0 stopped; 1 and 2 running
  TsCommonData* SkinData = nullptr;
  int Iterations = 0;               // frames of the current fade
  int Iteration = 0;                // the frame to show next, from 1
  std::unique_ptr<TBitmap> StartBmp;  // the image the fade starts from

  // Enabled exactly when Value is not 0; a negative Iteration becomes 1.
  void SetDirection(uint8_t value);
  void Prepare(TsCommonData* skinData);
  // One tick (the handler of the timer's own OnTimer).
  virtual void Timer();
  bool IsFinished();
  void MakeStep();
  // The control being faded, or null when it or its skin state is gone.
  TControl* Control() const;

 private:
  friend void StopFading(TsFadeTimer*& timer);
  void Release();
  std::weak_ptr<TsCommonData*> skinAlive_;
  std::shared_ptr<bool> alive_;
  std::unique_ptr<TBitmap> frame_;  // reused for every frame
  bool inTick_ = false;
  bool freeAfterTick_ = false;
};

class TsAnimTimer : public TTimer {
 public:
  explicit TsAnimTimer(TComponent* AOwner);
  ~TsAnimTimer() override;
  const wchar_t* ClassName() const override { return L"TsAnimTimer"; }

  bool Painting = false;             // a frame is being painted
  std::unique_ptr<TBitmap> StartBmp;  // filled by the control
  std::unique_ptr<TBitmap> FrameBmp;  // read by the control when it paints
  TsCommonData* SkinData = nullptr;
  int Iterations = 0;
  int Iteration = 0;

  void Prepare(TsCommonData* skinData);
  virtual void Timer();
  bool IsFinished();
  void MakeStep();
  void RepaintControl();
  TControl* Control() const;

 private:
  std::weak_ptr<TsCommonData*> skinAlive_;
  std::shared_ptr<bool> alive_;
};

// Called by the controls whenever their look changes: fades when the section
// allows it and the cache still holds the old look, else repaints at once.
void ChangePaintFaded(TsFadeTimer*& timer, TsCommonData* skinData, bool halve, uint8_t direction,
                      bool animate);
void StartFading(TsFadeTimer*& timer, TsCommonData* skinData, bool halve, uint8_t direction);
// Stops and frees the timer, leaving the variable null. Safe from inside the
// timer's own tick (the timer then goes once the tick has unwound).
void StopFading(TsFadeTimer*& timer);
bool IsAnimatEvent(TacAnimatEvent event, TacAnimatEvents events);
