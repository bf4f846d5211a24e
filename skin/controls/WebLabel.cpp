#include "skin/controls/WebLabel.h"

#include <shellapi.h>

#include "framework/Forms.h"

TsWebLabel::TShellOpen TsWebLabel::ShellOpen = [](HWND owner, const std::wstring& url,
                                                  int showMode) {
  ::ShellExecuteW(owner, L"open", url.c_str(), nullptr, nullptr, showMode);
};

TsWebLabel::TsWebLabel(TComponent* AOwner)
    : TsCustomLabel(AOwner),
      normalFont_(std::make_unique<TFont>()),
      hoverFont_(std::make_unique<TFont>()) {
  normalFont_->Assign(Font());
  hoverFont_->Assign(Font());
  SetControlStyle(ControlStyle() | csOpaque);
  SetTransparent(true);
}

TsWebLabel::~TsWebLabel() = default;

void TsWebLabel::Loaded() {
  TsCustomLabel::Loaded();
  // What the form set on Font is the normal look.
  normalFont_->Assign(Font());
}

void TsWebLabel::SetFont(TFont* value) {
  normalFont_->Assign(value);
  Font()->Assign(value);
  Repaint();
}

TFont* TsWebLabel::GetCurrentFont() { return hovered_ ? hoverFont_.get() : normalFont_.get(); }

void TsWebLabel::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TsCustomLabel::WndProc(m);
      if (m.LParam == 0) {
        hovered_ = m.Msg == CM_MOUSEENTER;
        Repaint();
      }
      return;
    case WM_ERASEBKGND:
      return;
    case CM_FONTCHANGED:
      // A font set from outside is the normal look.
      if (!Painting() && !hovered_) normalFont_->Assign(Font());
      break;
    case WM_LBUTTONDOWN:
      TsCustomLabel::WndProc(m);
      if (!URL.empty() && ShellOpen)
        ShellOpen(Application ? Application->Handle() : nullptr, URL, ShowMode);
      return;
  }
  TsCustomLabel::WndProc(m);
}
