// TsHintManager: makes every hint of the application show in a hint window
// of its own design (plain, comics bubble, ellipse or thought balloon) with a
// gradient or textured body, a soft shadow and a fade-in, optional markup and
// optionally the skin's "HINT" section. It does this by choosing the
// framework's hint-window class and taking Application's OnShowHint.
// TsHintKind holds the look; the hint windows read it at every hint.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/Forms.h"
#include "framework/Hints.h"
#include "skin/controls/HintConsts.h"

class TsHintManager;

using TacShowHintEvent = std::function<void(std::wstring& HintStr, bool& CanShow,
                                            THintInfo& HintInfo, TFrame*& Frame)>;

class TsHintKind : public TPersistent {
 public:
  explicit TsHintKind(TsHintManager* owner);
  ~TsHintKind() override;

  // True only while set and the skin section is not in use.
  bool ShadowEnabled() const;
  void SetShadowEnabled(bool v) { shadowEnabled_ = v; }
  int MarginV = 10;
  int TexturePercent = 0;
  int ShadowBlur = 6;
  int Transparency = 0;  // percent
  int GradientPercent = 0;
  int MarginH = 15;
  int ExOffset = 32;  // height of the tail
  int ShadowTransparency = 70;
  int ShadowOffset = 6;
  int BevelWidth = 1;
  int MaxWidth = 200;
  int Radius = 20;  // corner size of the comics shape
  int Bevel = 1;
  std::wstring GradientData;
  std::wstring TextureFile;
  TColor ColorBorderTop = clWhite;
  TColor ColorBorderBottom = clGray;
  TColor Color = clInfoBk;
  TColor ShadowColor = clBlack;  // shadows are black whatever it says
  int Blur = 0;                  // not used by the painting
  TFont* Font() const { return font_.get(); }
  void SetFont(TFont* value) { font_->Assign(value); }
  TPicture* Texture() const { return texture_.get(); }
  void SetTexture(TPicture* value) { texture_->Assign(value); }
  TsHintStyle Style() const { return style_; }
  // Stores the style and chooses the hint-window class for it.
  void SetStyle(TsHintStyle value);

 private:
  TsHintManager* owner_;
  bool shadowEnabled_ = true;
  std::unique_ptr<TFont> font_;
  std::unique_ptr<TPicture> texture_;
  TsHintStyle style_ = hsEllipse;
};

class TsHintManager : public TComponent {
 public:
  explicit TsHintManager(TComponent* AOwner);
  ~TsHintManager() override;
  const wchar_t* ClassName() const override { return L"TsHintManager"; }
  void AfterConstruction() override;
  void Loaded() override;

  int PauseHide() const { return pauseHide_; }
  void SetPauseHide(int value);
  bool HTMLMode = false;
  TsHintsPredefinitions Predefinitions() const { return predefinitions_; }
  void SetPredefinitions(TsHintsPredefinitions value) { predefinitions_ = value; }
  TacShowHintEvent OnShowHint;
  TsHintKind* HintKind() const { return hintKind_.get(); }
  TsMousePosition DefaultMousePos = mpLeftTop;
  bool Animated = true;
  // Where the last hint was asked to show; (-1, -1) before the first.
  TPoint LastHintPos() const { return lastHintPos_; }
  std::wstring SkinSection;
  bool UseSkinData() const { return useSkinData_; }
  void SetUseSkinData(bool value);
  // The hint's composition surface, sized to each hint.
  TBitmap* WorkBitmap() const { return workBitmap_.get(); }

  // Copies the settings of Predefinitions into HintKind.
  void ApplyPreset();
  // Chooses the framework's hint-window class for the style.
  void SetHintStyle(TsHintStyle style);
  // The skin section is in use: this is the active manager, a default skin
  // manager exists, UseSkinData is set and the default manager has the
  // section.
  bool UsesSkin() const;

 private:
  void ShowHintHandler(std::wstring& hintStr, bool& canShow, THintInfo& hintInfo);

  int pauseHide_ = 5000;
  TsHintsPredefinitions predefinitions_ = shEllipse;
  std::unique_ptr<TsHintKind> hintKind_;
  TPoint lastHintPos_{-1, -1};
  bool useSkinData_ = false;
  std::unique_ptr<TBitmap> workBitmap_;
};

// The manager that last chose a hint-window class; the hint windows read all
// their settings from it. Null while hints are the framework's own.
extern TsHintManager* HintManager;
// A frame an OnShowHint handler may set to show inside the hint in place of
// text; the hint window sizes itself to it, paints it and frees it.
extern TFrame* HintFrame;
