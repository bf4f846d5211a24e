// TsProgressBar: the skinned progress bar. The platform's bar keeps range
// and position; every pixel comes from the skin: the body from the bar's
// section ("GAUGE" unless set otherwise), the filled part from a second
// section ("PROGRESSH"/"PROGRESSV") as one smooth piece or a row of blocks.
#pragma once

#include <memory>
#include <vector>

#include "framework/ComCtrls.h"
#include "skin/controls/SkinnedControl.h"

enum TProgressBarOrientation { pbHorizontal, pbVertical };

// Where the filled part of a bar lies: the filled rectangle, the size of
// one piece, and the pieces themselves (one for a smooth bar). Empty when
// the range is empty or nothing is filled.
struct TacProgressLayout {
  TRect Filled{0, 0, 0, 0};
  int PieceWidth = 0;
  int PieceHeight = 0;
  int BlockCount = 0;  // blocks that fit the bar (blocks only)
  int Gap = 0;         // between blocks
  std::vector<TRect> Pieces;
};

struct TacProgressInput {
  int Width = 0, Height = 0;              // the control
  int ClientWidth = 0, ClientHeight = 0;  // its client area
  int BorderWidth = 0;
  int Min = 0, Max = 100, Position = 0;
  bool Smooth = false;
  bool Vertical = false;
};

TacProgressLayout LayoutProgress(const TacProgressInput& in);

class TsProgressBar : public TsSkinnedControl<TProgressBar> {
 public:
  explicit TsProgressBar(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TsProgressBar"; }
  void WndProc(TMessage& message) override;

  // ---- published ----
  // Section of the filled part; empty takes the one of the orientation.
  const std::wstring& ProgressSkin() const { return progressSkin_; }
  void SetProgressSkin(const std::wstring& value);
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation value);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool value);

  TacProgressLayout Layout();

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  // The body (background and bar section) into the cache and kept aside,
  // then the filled part.
  void PrepareCache();
  // The filled part over a copy of the kept body.
  void PaintFill(const TacProgressLayout& layout);
  void PaintTo(HDC dc, bool beginPaint);
  TacSkinChangeRule SkinChangeRule(WORD cmd) const override;
  void AfterSkinChange(TMessage& message) override;
  bool OtherSkinCommand(TMessage& message) override;

  std::unique_ptr<TBitmap> body_;
  std::vector<TRect> shownPieces_;  // the filled part the cache shows
  std::wstring progressSkin_;
  TProgressBarOrientation orientation_ = pbHorizontal;
  bool smooth_ = false;
};
