// TsBoundLabel: the caption label an edit-like skinned control shows beside
// or above itself. Made active, it creates a TsEditLabel on the control's
// parent and keeps it placed next to the control.
#pragma once

#include <memory>
#include <string>

#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "framework/StdCtrls.h"
#include "skin/engine/SkinConsts.h"

class TsCommonData;
class TsBoundLabel;

// The label a bound label creates: owned by the bound control, it tells its
// bound label when it goes. It takes the skin's text colour while
// UseSkinColor is set (the skinned labels do the painting).
class TsEditLabel : public TLabel {
 public:
  TsEditLabel(TComponent* AOwner, TsBoundLabel* boundLabel);
  ~TsEditLabel() override;
  const wchar_t* ClassName() const override { return L"TsEditLabel"; }
  TsBoundLabel* BoundLabel() const { return boundLabel_; }
  bool UseSkinColor = true;

 private:
  friend class TsBoundLabel;
  TsBoundLabel* boundLabel_;
};

class TsBoundLabel : public TPersistent {
 public:
  // CommonData: the bound control's skin state (its owner control is the
  // control the label belongs to).
  explicit TsBoundLabel(TsCommonData* commonData);
  ~TsBoundLabel() override;
  TsBoundLabel(const TsBoundLabel&) = delete;
  TsBoundLabel& operator=(const TsBoundLabel&) = delete;

  bool Active() const { return active_; }
  void SetActive(bool value);
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& value);
  int Indent() const { return indent_; }
  void SetIndent(int value);
  TsCaptionLayout Layout() const { return layout_; }
  void SetLayout(TsCaptionLayout value);
  int MaxWidth() const { return maxWidth_; }
  void SetMaxWidth(int value);
  // The label's font while a label exists, else the own font.
  TFont* Font() const;
  // Copied into the label's font (which stops following its parent's);
  // without a label the own font keeps the value.
  void SetFont(TFont* value);
  bool UseSkinColor() const;
  void SetUseSkinColor(bool value);

  TsEditLabel* Label() const { return label_; }
  // Places the label beside or above the control by Layout.
  void AlignLabel();
  // After the bound control handled Message: the label takes the control's
  // visibility and enabled state and is placed again when it moved.
  void FollowControl(const TMessage& message);
  void UpdateAlignment();

 private:
  friend class TsEditLabel;
  TControl* Control() const;

  int maxWidth_ = 0;
  std::wstring caption_;
  TsCaptionLayout layout_ = sclLeft;
  std::unique_ptr<TFont> font_;
  int indent_ = 0;
  bool active_ = false;
  TsEditLabel* label_ = nullptr;
  TsCommonData* commonData_;
};
