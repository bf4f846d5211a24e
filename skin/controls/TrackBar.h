// TsTrackBar: the skinned slider. The platform's track bar keeps range,
// position, ticks and the keyboard and mouse handling; the control asks it
// for the channel, thumb and tick geometry and paints everything itself
// from the skin ("TRACKBAR" unless set otherwise) into its cache image.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/ComCtrls.h"
#include "skin/controls/SkinnedControl.h"
#include "skin/engine/SkinConsts.h"

class TsFadeTimer;

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickStyle { tsNone, tsAuto, tsManual };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

// Tick coordinates along the bar for a channel CR and thumb TR as the
// platform reports them (CR already in the bar's own orientation), N ticks
// and, for manual ticks, the platform's interior tick positions.
std::vector<int> TrackTickPositions(const TRect& channel, const TRect& thumb, int count,
                                    bool vertical, TTickStyle style,
                                    const std::vector<int>& interior);

class TsTrackBar : public TsSkinnedControl<TTrackBar> {
 public:
  explicit TsTrackBar(TComponent* AOwner);
  ~TsTrackBar() override;
  const wchar_t* ClassName() const override { return L"TsTrackBar"; }
  void WndProc(TMessage& message) override;

  // ---- published ----
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind value);
  TacAnimatEvents AnimatEvents = AnimatEventBit(aeGlobalDef);
  // A focus frame while focused or while the thumb is pressed.
  bool ShowFocus = false;
  // After every change made through the window (mouse or keyboard).
  TNotifyEvent OnUserChange;
  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation value);
  TTickStyle TickStyle() const { return tickStyle_; }
  void SetTickStyle(TTickStyle value);
  TTickMark TickMarks() const { return tickMarks_; }
  void SetTickMarks(TTickMark value);
  int ThumbLength() const { return thumbLength_; }
  void SetThumbLength(int value);

  // The platform's geometry: channel (in the bar's orientation) and thumb.
  TRect ChannelRect();
  TRect ThumbRect();
  std::vector<int> TickPositions();
  // 2 pressed, 1 hot or focused, 0 normal.
  int ThumbState() const;
  int TickLength = 4;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;
  void PaintWindow(HDC dc) override;
  virtual void PaintChannel();

 private:
  void PrepareCache();
  void PaintTicks(const TRect& channel, const TRect& thumb);
  void PaintTick(const TPoint& p);
  void PaintThumb(const TRect& thumb);
  void PaintNow(HDC dc);
  TacSkinChangeRule SkinChangeRule(WORD cmd) const override;
  bool BeforeSkinChange(TMessage& message) override;
  void AfterSkinChange(TMessage& message) override;
  bool OtherSkinCommand(TMessage& message) override;
  void SkinnedMessage(TMessage& message);
  void MouseButton(TMessage& message, bool down);
  void PaintFadeFrame(TMessage& message);
  void Recreate();

  TsDisabledKind disabledKind_ = dkBlended;
  TsFadeTimer* fadeTimer_ = nullptr;
  bool savedShowHint_ = true;
  TTrackBarOrientation orientation_ = trHorizontal;
  TTickStyle tickStyle_ = tsAuto;
  TTickMark tickMarks_ = tmBottomRight;
  int thumbLength_ = 23;
};
