// TsLabelFX: a label whose text lies over a blurred shadow (TsShadow), in a
// colour chosen by TsKind: the main window's status and progress captions.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "skin/controls/Label.h"

class TsLabelFX;

enum TsShadowMode { smNone, smCustom, smSkin1 };
enum TsKindType { ktStandard, ktCustom, ktSkin };

class TsShadow : public TPersistent {
 public:
  explicit TsShadow(TsLabelFX* owner) : owner_(owner) {}
  int BlurCount() const { return blurCount_; }
  void SetBlurCount(int v);
  int Distance() const { return distance_; }
  void SetDistance(int v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TsShadowMode Mode() const { return mode_; }
  void SetMode(TsShadowMode v);

 private:
  TsLabelFX* owner_;
  int blurCount_ = 4;
  int distance_ = 1;
  TColor color_ = clBlack;
  TsShadowMode mode_ = smCustom;
};

class TsKind : public TPersistent {
 public:
  explicit TsKind(TsLabelFX* owner) : owner_(owner) {}
  TsKindType KindType() const { return kindType_; }
  void SetKindType(TsKindType v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);

 private:
  TsLabelFX* owner_;
  TsKindType kindType_ = ktSkin;
  TColor color_ = clWhite;
};

class TsLabelFX : public TsCustomLabel {
 public:
  explicit TsLabelFX(TComponent* AOwner);
  ~TsLabelFX() override;
  const wchar_t* ClassName() const override { return L"TsLabelFX"; }

  // ---- published ----
  TsShadow* Shadow() const { return shadow_.get(); }
  TsKind* Kind() const { return kind_.get(); }

 protected:
  void DoDrawText(TRect& rect, UINT flags) override;
  void AdjustBounds() override;

 private:
  TColor TextColor() const;
  void PaintShadowed(const TRect& rect, UINT flags, const std::wstring& text, TColor shadow,
                     int blur, int distance, TColor textColor);

  std::unique_ptr<TBitmap> work_;
  std::vector<uint8_t> blur_;
  std::unique_ptr<TsShadow> shadow_;
  bool rebuild_ = true;
  int shiftLT_ = 0;  // left/top text shift
  int shiftRB_ = 0;  // right/bottom text shift
  std::unique_ptr<TsKind> kind_;
};
