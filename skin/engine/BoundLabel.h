// TsBoundLabel: the caption label an edit-like skinned control shows beside
// or above itself. Made active, it creates a TsEditLabel (through the
// registered factory) on the control's parent and keeps it placed next to
// the control.
#pragma once

#include <memory>
#include <string>

#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "framework/StdCtrls.h"
#include "skin/engine/SkinConsts.h"

class TsCommonData;
class TsBoundLabel;

// How bound labels make their label: the controls library registers its
// skinned TsEditLabel here at start-up. Until then (and after null is
// registered) a bound label makes a plain framework label.
class TacEditLabels {
 public:
  virtual ~TacEditLabels() = default;
  // A label owned by AOwner that calls BoundLabel's LabelDestroyed when it
  // goes.
  virtual TLabel* Create(TComponent* AOwner, TsBoundLabel* boundLabel) = 0;
  virtual bool UseSkinColor(const TLabel* label) const = 0;
  virtual void SetUseSkinColor(TLabel* label, bool value) = 0;
};

// Registers the factory (not owned; null puts the plain labels back).
void RegisterEditLabels(TacEditLabels* labels);
// The registered factory, else the plain one.
TacEditLabels* EditLabels();

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

  TLabel* Label() const { return label_; }
  // The label tells of its destruction: it is forgotten.
  void LabelDestroyed(const TLabel* label);
  // Places the label beside or above the control by Layout.
  void AlignLabel();
  // After the bound control handled Message: the label takes the control's
  // visibility and enabled state and is placed again when it moved.
  void FollowControl(const TMessage& message);
  void UpdateAlignment();

 private:
  TControl* Control() const;
  void FreeLabel();

  int maxWidth_ = 0;
  std::wstring caption_;
  TsCaptionLayout layout_ = sclLeft;
  std::unique_ptr<TFont> font_;
  int indent_ = 0;
  bool active_ = false;
  TLabel* label_ = nullptr;
  TsCommonData* commonData_;
};
