#include "skin/engine/BoundLabel.h"

#include "skin/engine/CommonData.h"
#include "skin/engine/SkinUtils.h"

// ---------------------------------------------------------------- edit labels

namespace {

// The label of a bound label while no skinned one can be made.
class TsPlainEditLabel : public TLabel {
 public:
  TsPlainEditLabel(TComponent* AOwner, TsBoundLabel* boundLabel)
      : TLabel(AOwner), boundLabel_(boundLabel) {}
  ~TsPlainEditLabel() override {
    if (boundLabel_) boundLabel_->LabelDestroyed(this);
  }
  bool UseSkinColor = true;

 private:
  TsBoundLabel* boundLabel_;
};

class TsPlainEditLabels : public TacEditLabels {
 public:
  TLabel* Create(TComponent* AOwner, TsBoundLabel* boundLabel) override {
    return Construct<TsPlainEditLabel>(AOwner, boundLabel);
  }
  bool UseSkinColor(const TLabel* label) const override {
    auto* l = dynamic_cast<const TsPlainEditLabel*>(label);
    return !l || l->UseSkinColor;
  }
  void SetUseSkinColor(TLabel* label, bool value) override {
    if (auto* l = dynamic_cast<TsPlainEditLabel*>(label)) l->UseSkinColor = value;
  }
};

TacEditLabels* g_editLabels = nullptr;

}  // namespace

void RegisterEditLabels(TacEditLabels* labels) { g_editLabels = labels; }

TacEditLabels* EditLabels() {
  static TsPlainEditLabels plain;
  return g_editLabels ? g_editLabels : &plain;
}

// ---------------------------------------------------------------- TsBoundLabel

TsBoundLabel::TsBoundLabel(TsCommonData* commonData)
    : font_(std::make_unique<TFont>()), commonData_(commonData) {}

TsBoundLabel::~TsBoundLabel() { FreeLabel(); }

// Forgotten first, so the label's own report of its end finds nothing.
void TsBoundLabel::FreeLabel() {
  TLabel* l = label_;
  label_ = nullptr;
  delete l;
}

void TsBoundLabel::LabelDestroyed(const TLabel* label) {
  if (label_ == label) label_ = nullptr;
}

TControl* TsBoundLabel::Control() const {
  return commonData_ ? commonData_->OwnerControl : nullptr;
}

void TsBoundLabel::SetActive(bool value) {
  if (value == active_) return;
  if (!value) {
    FreeLabel();
    active_ = false;
    return;
  }
  TControl* control = Control();
  if (!control) return;
  active_ = true;
  label_ = EditLabels()->Create(control, this);
  label_->SetVisible(false);
  label_->SetParent(control->Parent());
  label_->FocusControl = dynamic_cast<TWinControl*>(control);
  UpdateAlignment();
  label_->SetName(control->Name() + L"Label");
  if (caption_.empty()) caption_ = control->Name();
  label_->SetCaption(caption_);
  label_->SetVisible(control->Visible() || label_->HasState(csDesigning));
  label_->SetEnabled(control->Enabled());
  AlignLabel();
}

void TsBoundLabel::SetCaption(const std::wstring& value) {
  if (value == caption_) return;
  caption_ = value;
  if (!active_ || !label_) return;
  label_->SetCaption(caption_);
  AlignLabel();
}

void TsBoundLabel::SetIndent(int value) {
  if (value == indent_) return;
  indent_ = value;
  if (active_) AlignLabel();
}

void TsBoundLabel::SetLayout(TsCaptionLayout value) {
  if (value == layout_) return;
  layout_ = value;
  UpdateAlignment();
  if (active_) AlignLabel();
}

void TsBoundLabel::SetMaxWidth(int value) {
  if (value == maxWidth_) return;
  maxWidth_ = value;
  if (active_) AlignLabel();
}

TFont* TsBoundLabel::Font() const { return label_ ? label_->Font() : font_.get(); }

void TsBoundLabel::SetFont(TFont* value) {
  if (!value) return;
  if (!label_) {
    font_->Assign(value);
    return;
  }
  label_->Font()->Assign(value);
  label_->SetParentFont(false);
  AlignLabel();
}

bool TsBoundLabel::UseSkinColor() const {
  return label_ ? EditLabels()->UseSkinColor(label_) : true;
}

void TsBoundLabel::SetUseSkinColor(bool value) {
  if (label_) EditLabels()->SetUseSkinColor(label_, value);
}

void TsBoundLabel::UpdateAlignment() {
  if (!label_) return;
  switch (layout_) {
    case sclTopLeft: label_->SetAlignment(taLeftJustify); break;
    case sclTopCenter: label_->SetAlignment(taCenter); break;
    case sclLeft:
    case sclTopRight: label_->SetAlignment(taRightJustify); break;
  }
}

void TsBoundLabel::AlignLabel() {
  TControl* control = Control();
  if (!label_ || !label_->Visible() || !control) return;
  label_->SetAutoSize(true);
  const int cl = control->Left(), ct = control->Top(), cw = control->Width(),
            ch = control->Height();
  const int lw = label_->Width(), lh = label_->Height();
  int left = cl, top = ct - lh - indent_;
  switch (layout_) {
    case sclLeft:
      left = cl - lw - 4 - indent_;
      top = (ch - lh) / 2 + ct - 1;
      break;
    case sclTopLeft: left = cl; break;
    case sclTopCenter: left = (cw - lw) / 2 + cl; break;
    case sclTopRight: left = cl + cw - lw; break;
  }
  label_->SetBounds(left, top, lw, lh);
  if (maxWidth_ != 0) {
    label_->SetAutoSize(false);
    label_->SetWidth(maxWidth_);
    label_->SetWordWrap(true);
    label_->SetHeight(MaxOf(label_->Height(), ch));
  }
}

void TsBoundLabel::FollowControl(const TMessage& message) {
  TControl* control = Control();
  if (!label_ || !control) return;
  switch (message.Msg) {
    case CM_VISIBLECHANGED:
      label_->SetVisible(control->Visible());
      break;
    case CM_ENABLEDCHANGED:
      label_->SetEnabled(control->Enabled());
      break;
    case CM_BIDIMODECHANGED:
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      break;
    default:
      return;
  }
  AlignLabel();
}
