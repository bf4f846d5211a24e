// Panels and timers.
#pragma once

#include "framework/Controls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TCustomControl {
 public:
  explicit TPanel(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TPanel"; }
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v) { bevelOuter_ = v; Realign(); Invalidate(); }
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v) { bevelInner_ = v; Realign(); Invalidate(); }
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v) { bevelWidth_ = v; Realign(); Invalidate(); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v; Invalidate(); }
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void AdjustClientRect(RECT& rect) const override;
  void Paint() override;

 private:
  TBevelCut bevelOuter_ = bvRaised;
  TBevelCut bevelInner_ = bvNone;
  int bevelWidth_ = 1;
  TAlignment alignment_ = taCenter;
};

// Calls OnTimer every Interval milliseconds on the main thread while
// Enabled. Backed by a message-only window of its own.
class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  const wchar_t* ClassName() const override { return L"TTimer"; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  UINT Interval() const { return interval_; }
  void SetInterval(UINT v);
  TNotifyEvent OnTimer;
  // Sets the handler and re-arms (a timer without a handler does not run).
  void SetOnTimer(TNotifyEvent handler);

 private:
  void UpdateTimer();
  static LRESULT CALLBACK TimerWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
  bool enabled_ = true;
  UINT interval_ = 1000;
};
