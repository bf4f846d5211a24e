// The skinned labels: graphic controls that follow the skin through their
// text colour only. TsCustomLabel takes the skin's global font colour and
// draws a disabled text blended into its background; TsLabel makes the
// skin colour optional.
#pragma once

#include "framework/StdCtrls.h"

class TsCustomLabel : public TLabel {
 public:
  explicit TsCustomLabel(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TsCustomLabel"; }
  void WndProc(TMessage& message) override;
  // The font to paint with.
  virtual TFont* GetCurrentFont();

 protected:
  void Paint() override;
  // Draws (or with DT_CALCRECT measures) the caption in Rect.
  virtual void DoDrawText(TRect& rect, UINT flags);
  // The caption as drawn: a lone "&" or nothing measures as one space.
  std::wstring DrawnText(UINT flags) const;
  // Font takes the current font's values while painting (no re-entry).
  void TakeCurrentFont();
  // True while Paint swaps fonts.
  static bool Painting();
  // True while a default manager has an active skin.
  static bool SkinActive();
  // Answers AC_REMOVESKIN of the default manager; true = handled.
  virtual bool RemoveSkin(TMessage& message);
};

class TsLabel : public TsCustomLabel {
 public:
  explicit TsLabel(TComponent* AOwner) : TsCustomLabel(AOwner) {}
  const wchar_t* ClassName() const override { return L"TsLabel"; }
  TFont* GetCurrentFont() override;

  // ---- published ----
  bool UseSkinColor = true;

 protected:
  bool RemoveSkin(TMessage& message) override;
};
