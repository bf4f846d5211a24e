// Bitmap buttons and speed buttons.
#pragma once

#include <memory>

#include "framework/StdCtrls.h"

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

// A push button that can carry a glyph.
class TBitBtn : public TButton {
 public:
  explicit TBitBtn(TComponent* AOwner);
  ~TBitBtn() override;
  const wchar_t* ClassName() const override { return L"TBitBtn"; }
  TBitmap* Glyph() const { return glyph_.get(); }
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1;
  int Spacing = 4;

 private:
  std::unique_ptr<TBitmap> glyph_;
};

// A button without a window: painted by its parent, can stay down and
// work in groups.
class TSpeedButton : public TGraphicControl {
 public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;
  const wchar_t* ClassName() const override { return L"TSpeedButton"; }
  bool Down() const { return down_; }
  virtual void SetDown(bool v);
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v) { groupIndex_ = v; }
  bool AllowAllUp = false;
  bool Flat() const { return flat_; }
  void SetFlat(bool v) { flat_ = v; Invalidate(); }
  TBitmap* Glyph() const { return glyph_.get(); }
  TAlignment Alignment = taCenter;
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1;
  int Spacing = 4;
  // 0 up, 1 hot (mouse above), 2 pressed: the look the button paints.
  TButtonState State() const { return state_; }
  bool MouseInControl() const { return mouseIn_; }
  void Click() override;
  void WndProc(TMessage& message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  TButtonState state_ = bsUp;

 private:
  void UpdateExclusive();
  bool down_ = false;
  bool flat_ = false;
  bool mouseIn_ = false;
  bool dragging_ = false;
  int groupIndex_ = 0;
  std::unique_ptr<TBitmap> glyph_;
};
