// TsWebLabel: a link label that changes font under the mouse and opens its
// URL through the shell when clicked.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "skin/controls/Label.h"

class TsWebLabel : public TsCustomLabel {
 public:
  explicit TsWebLabel(TComponent* AOwner);
  ~TsWebLabel() override;
  const wchar_t* ClassName() const override { return L"TsWebLabel"; }
  void Loaded() override;
  void WndProc(TMessage& message) override;
  TFont* GetCurrentFont() override;

  // ---- published ----
  // The normal font: Font and the normal font both take the value.
  void SetFont(TFont* value);
  TFont* HoverFont() const { return hoverFont_.get(); }
  void SetHoverFont(TFont* value) { hoverFont_->Assign(value); }
  std::wstring URL;
  int ShowMode = SW_SHOWNORMAL;  // how the opened program's window shows
  bool Hovered() const { return hovered_; }

  // How a URL is opened (ShellExecuteW "open"); tests put a recorder here.
  using TShellOpen = std::function<void(HWND owner, const std::wstring& url, int showMode)>;
  static TShellOpen ShellOpen;

 private:
  std::unique_ptr<TFont> normalFont_;
  std::unique_ptr<TFont> hoverFont_;
  bool hovered_ = false;
};
