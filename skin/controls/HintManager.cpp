#include "skin/controls/HintManager.h"

#include "skin/controls/HintWindows.h"
#include "skin/engine/SkinManager.h"

TsHintManager* HintManager = nullptr;
TFrame* HintFrame = nullptr;

// ---------------------------------------------------------------- TsHintKind

TsHintKind::TsHintKind(TsHintManager* owner)
    : owner_(owner), font_(std::make_unique<TFont>()), texture_(std::make_unique<TPicture>()) {}

TsHintKind::~TsHintKind() = default;

bool TsHintKind::ShadowEnabled() const { return shadowEnabled_ && !owner_->UsesSkin(); }

void TsHintKind::SetStyle(TsHintStyle value) {
  style_ = value;
  owner_->SetHintStyle(value);
}

// ---------------------------------------------------------------- presets

namespace {

struct TsHintPreset {
  TsHintStyle style;
  int bevelWidth;
  int exOffset;  // -1: unchanged
  int marginH, marginV, maxWidth;
  int radius;  // -1: unchanged
  TColor color;
  int transparency;
  TColor borderTop, borderBottom;
  int gradientPercent;
  const wchar_t* gradientData;
  int shadowBlur, shadowOffset, shadowTransparency;
};

// By TsHintsPredefinitions, shSimply to shComicsTransparent.
constexpr TsHintPreset kPresets[] = {
    {hsSimply, 1, -1, 4, 2, 240, -1, clInfoBk, 0, 0, 0, 0, L"", 3, 6, 40},
    {hsSimply, 1, -1, 6, 3, 240, -1, 0xB6FCFA, 10, 0xFFFFFF, 0x8080, 100,
     L"167827;6865090;24;2;0;6865090;6865090;24;2;0;6865090;15400959;24;2;0;15400959;"
     L"6865090;24;2;0;6865090;6865090;0;2;0",
     5, 6, 50},
    {hsSimply, 0, -1, 13, 5, 240, -1, 0xB6FCFA, 20, 0xFFFFFF, 0x8080, 0, L"", 3, 10, 70},
    {hsEllipse, 1, 16, 6, 12, 240, -1, 0xC2FCFC, 5, 0x8080, 0, 100,
     L"7728127;16777215;99;0;0;16777215;16777215;0;0;0", 4, 16, 75},
    {hsBalloon, 6, 18, 6, 6, 240, -1, 0xC2FCFC, 10, 0x408080, 0x408080, 0, L"", 6, 8, 70},
    {hsComics, 1, 24, 15, 7, 180, 21, 0xFFB44F, 8, 0x400000, 0x400000, 100,
     L"16753188;16777215;99;0;0;16777215;16777215;0;0;0", 10, 7, 28},
    {hsComics, 1, 19, 15, 8, 180, 13, 0xC2FCFC, 10, 0, 0, 0, L"", 4, 7, 45},
};

}  // namespace

void TsHintManager::ApplyPreset() {
  TsHintKind* k = hintKind_.get();
  switch (predefinitions_) {
    case shStandard:
      k->SetStyle(hsStandard);
      return;
    case shNone:
      k->SetStyle(hsNone);
      return;
    case shCustom:
      return;
    default:
      break;
  }
  const TsHintPreset& p = kPresets[predefinitions_];
  k->Font()->SetStyle(0);
  k->Font()->SetColor(clBlack);
  k->SetShadowEnabled(true);
  k->Bevel = 1;
  k->BevelWidth = p.bevelWidth;
  if (p.exOffset >= 0) k->ExOffset = p.exOffset;
  k->MarginH = p.marginH;
  k->MarginV = p.marginV;
  k->MaxWidth = p.maxWidth;
  if (p.radius >= 0) k->Radius = p.radius;
  k->Color = p.color;
  k->Transparency = p.transparency;
  k->ColorBorderTop = p.borderTop;
  k->ColorBorderBottom = p.borderBottom;
  k->GradientPercent = p.gradientPercent;
  k->GradientData = p.gradientData;
  k->ShadowBlur = p.shadowBlur;
  k->ShadowOffset = p.shadowOffset;
  k->ShadowTransparency = p.shadowTransparency;
  k->SetStyle(p.style);
}

// ---------------------------------------------------------------- TsHintManager

TsHintManager::TsHintManager(TComponent* AOwner)
    : TComponent(AOwner),
      hintKind_(std::make_unique<TsHintKind>(this)),
      workBitmap_(std::make_unique<TBitmap>(0, 0, pf24bit)) {
  if (Application) {
    Application->HintPause = 500;
    Application->HintShortPause = 200;
    Application->OnShowHint = [this](std::wstring& s, bool& can, THintInfo& info) {
      ShowHintHandler(s, can, info);
    };
  }
}

TsHintManager::~TsHintManager() {
  // Nothing may keep reading a manager that is gone: hints fall back to the
  // framework's own window and handler.
  if (HintManager != this && HintManager) return;  // another manager took over
  HintManager = nullptr;
  HintWindowClass = HintWindowClassOf<THintWindow>();
  if (Application && Application->Hints()) Application->Hints()->CancelHint();
  if (Application) Application->OnShowHint = nullptr;
}

void TsHintManager::AfterConstruction() {
  TComponent::AfterConstruction();
  if (SkinSection.empty()) SkinSection = L"HINT";
  SetHintStyle(hintKind_->Style());
}

void TsHintManager::Loaded() {
  TComponent::Loaded();
  if (Application) Application->HintHidePause = pauseHide_;
  if (SkinSection.empty()) SkinSection = L"HINT";
  SetHintStyle(hintKind_->Style());
  ApplyPreset();
}

void TsHintManager::SetPauseHide(int value) {
  if (pauseHide_ == value) return;
  pauseHide_ = value;
  if (Application) Application->HintHidePause = value;
}

void TsHintManager::SetUseSkinData(bool value) {
  if (useSkinData_ == value) return;
  useSkinData_ = value;
  if (!value) {
    SetHintStyle(hintKind_->Style());
    ApplyPreset();
  }
}

void TsHintManager::SetHintStyle(TsHintStyle style) {
  if (Application && Application->Hints()) Application->Hints()->CancelHint();
  // By TsHintStyle: the window class, and whether this manager draws.
  struct Choice {
    THintWindowClass cls;
    bool active;
  };
  static const Choice choices[] = {
      {HintWindowClassOf<TsSimplyHintWindow>(), true},
      {HintWindowClassOf<TsComicsHintWindow>(), true},
      {HintWindowClassOf<TsEllipseHintWindow>(), true},
      {HintWindowClassOf<TsBalloonHintWindow>(), true},
      {HintWindowClassOf<THintWindow>(), false},         // hsStandard
      {HintWindowClassOf<TsSimplyHintWindow>(), false},  // hsNone: shows nothing
  };
  const Choice& c = choices[style];
  HintManager = c.active ? this : nullptr;
  HintWindowClass = c.cls;
}

bool TsHintManager::UsesSkin() const {
  return HintManager && DefaultManager && useSkinData_ && !SkinSection.empty() &&
         DefaultManager->GetSkinIndex(SkinSection) >= 0;
}

void TsHintManager::ShowHintHandler(std::wstring& hintStr, bool& canShow, THintInfo& hintInfo) {
  lastHintPos_ = hintInfo.HintPos;
  if (!OnShowHint) return;
  TPoint before = hintInfo.HintPos;
  OnShowHint(hintStr, canShow, hintInfo, HintFrame);
  if (hintInfo.HintPos.x != before.x && hintInfo.HintPos.y != before.y)
    lastHintPos_ = hintInfo.HintPos;
}
