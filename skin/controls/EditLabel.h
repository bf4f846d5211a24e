// TsEditLabel: the skinned caption label that a bound label makes for an
// edit-like control. Owned by that control, it tells its bound label when it
// goes; everything else is TsLabel's (the skin's text colour, the blended
// disabled text, the skin's removal).
#pragma once

#include <memory>

#include "skin/controls/Label.h"
#include "skin/engine/BoundLabel.h"

class TsCommonData;

class TsEditLabel : public TsLabel {
 public:
  TsEditLabel(TComponent* AOwner, TsBoundLabel* boundLabel);
  ~TsEditLabel() override;
  const wchar_t* ClassName() const override { return L"TsEditLabel"; }
  TsBoundLabel* BoundLabel() const { return boundLabel_; }

 private:
  TsBoundLabel* boundLabel_;
};

// Lets the engine's bound labels make TsEditLabels (once is enough).
void InstallEditLabels();
// A bound label of the control whose skin state is CommonData, making
// TsEditLabels.
std::unique_ptr<TsBoundLabel> NewBoundLabel(TsCommonData* commonData);
