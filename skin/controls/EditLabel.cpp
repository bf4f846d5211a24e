#include "skin/controls/EditLabel.h"

TsEditLabel::TsEditLabel(TComponent* AOwner, TsBoundLabel* boundLabel)
    : TsLabel(AOwner), boundLabel_(boundLabel) {}

TsEditLabel::~TsEditLabel() {
  if (boundLabel_) boundLabel_->LabelDestroyed(this);
  boundLabel_ = nullptr;
}

namespace {

class TsSkinnedEditLabels : public TacEditLabels {
 public:
  TLabel* Create(TComponent* AOwner, TsBoundLabel* boundLabel) override {
    return Construct<TsEditLabel>(AOwner, boundLabel);
  }
  bool UseSkinColor(const TLabel* label) const override {
    auto* l = dynamic_cast<const TsLabel*>(label);
    return !l || l->UseSkinColor;
  }
  void SetUseSkinColor(TLabel* label, bool value) override {
    auto* l = dynamic_cast<TsLabel*>(label);
    if (!l || l->UseSkinColor == value) return;
    l->UseSkinColor = value;
    l->Invalidate();
  }
};

}  // namespace

void InstallEditLabels() {
  static TsSkinnedEditLabels labels;
  if (EditLabels() != &labels) RegisterEditLabels(&labels);
}

std::unique_ptr<TsBoundLabel> NewBoundLabel(TsCommonData* commonData) {
  InstallEditLabels();
  return std::make_unique<TsBoundLabel>(commonData);
}
