#include "skin/engine/BoundLabel.h"

#include "skin/engine/CommonData.h"
#include "skin/engine/SkinUtils.h"

// ---------------------------------------------------------------- TsEditLabel

TsEditLabel::TsEditLabel(TComponent* AOwner, TsBoundLabel* boundLabel)
    : TLabel(AOwner), boundLabel_(boundLabel) {}

TsEditLabel::~TsEditLabel() {
  if (boundLabel_ && boundLabel_->label_ == this) boundLabel_->label_ = nullptr;
  boundLabel_ = nullptr;
}

// ---------------------------------------------------------------- TsBoundLabel

TsBoundLabel::TsBoundLabel(TsCommonData* commonData)
    : font_(std::make_unique<TFont>()), commonData_(commonData) {}

TsBoundLabel::~TsBoundLabel() {
  if (label_) {
    TsEditLabel* l = label_;
    label_ = nullptr;
    l->boundLabel_ = nullptr;
    delete l;
  }
}

TControl* TsBoundLabel::Control() const {
  return commonData_ ? commonData_->OwnerControl : nullptr;
}

void TsBoundLabel::SetActive(bool value) {
  if (value == active_) return;
  if (!value) {
    if (label_) {
      TsEditLabel* l = label_;
      label_ = nullptr;
      l->boundLabel_ = nullptr;
      delete l;
    }
    active_ = false;
    return;
  }
  TControl* control = Control();
  if (!control) return;
  active_ = true;
  label_ = Construct<TsEditLabel>(control, this);
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

bool TsBoundLabel::UseSkinColor() const { return label_ ? label_->UseSkinColor : true; }

void TsBoundLabel::SetUseSkinColor(bool value) {
  if (label_) label_->UseSkinColor = value;
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
