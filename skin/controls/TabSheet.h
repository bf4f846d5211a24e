// TsTabSheet: a page of TsPageControl. It shows the page control's body
// from its cache at the sheet's place, so the children lie on the skin.
#pragma once

#include <memory>
#include <string>

#include "framework/ComCtrls.h"

class TsPageControl;

// Light settings kept for the page; only stored.
class TsTabSkinData : public TPersistent {
 public:
  bool CustomColor = false;
  bool CustomFont = false;
  std::wstring SkinSection;
};

class TsTabSheet : public TTabSheet {
 public:
  explicit TsTabSheet(TComponent* AOwner);
  ~TsTabSheet() override;
  const wchar_t* ClassName() const override { return L"TsTabSheet"; }
  void WndProc(TMessage& message) override;

  // ---- published ----
  std::unique_ptr<TsTabSkinData> SkinData;
  // Section of the tab in the button styles; empty means the default.
  const std::wstring& ButtonSkin() const { return buttonSkin_; }
  void SetButtonSkin(const std::wstring& value);

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TsPageControl* SkinnedOwner() const;
  bool OwnerSkinned() const;
  bool SkinCommand(TMessage& message);  // true = handled
  void WMPaint(TMessage& message);

  std::wstring buttonSkin_;
};
