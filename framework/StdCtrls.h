// Standard controls: buttons, check boxes, labels, edits, memos, group boxes.
// Windowed ones superclass the system class under their own class name.
#pragma once

#include <memory>

#include "framework/Controls.h"
#include "framework/Forms.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// Base of windows that wrap a system control: the system control handles
// its own mouse, so the framework's capture and click synthesis stay off.
class TSystemControl : public TWinControl {
 public:
  explicit TSystemControl(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TSystemControl"; }
};

class TButtonControl : public TSystemControl {
 public:
  explicit TButtonControl(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TButtonControl"; }
};

class TButton : public TButtonControl {
 public:
  explicit TButton(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TButton"; }
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool Cancel = false;
  TModalResult ModalResult = mrNone;
  void Click() override;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  bool TakesDialogKey(WORD key, LPARAM keyData) const;
  bool default_ = false;
};

// A check box's behaviour; TCheckBox is the one forms place.
class TCustomCheckBox : public TButtonControl {
 public:
  explicit TCustomCheckBox(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TCustomCheckBox"; }
  bool Checked() const { return State() == cbChecked; }
  void SetChecked(bool v) { SetState(v ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const;
  virtual void SetState(TCheckBoxState v);
  bool AllowGrayed = false;
  TAlignment Alignment = taRightJustify;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;
  void SaveWindowState() override;
  // Called when the state changes (by the user or in code): OnClick.
  virtual void Toggled();

 private:
  TCheckBoxState state_ = cbUnchecked;
};

class TCheckBox : public TCustomCheckBox {
 public:
  explicit TCheckBox(TComponent* AOwner) : TCustomCheckBox(AOwner) {}
  const wchar_t* ClassName() const override { return L"TCheckBox"; }
};

class TRadioButton : public TButtonControl {
 public:
  explicit TRadioButton(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TRadioButton"; }
  bool Checked() const;
  void SetChecked(bool v);
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;
  void SaveWindowState() override;

 private:
  bool checked_ = false;
};

// A caption painted by its parent.
class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TLabel"; }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { alignment_ = v; Invalidate(); }
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout v) { layout_ = v; Invalidate(); }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v) { autoSize_ = v; AdjustBounds(); }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v) { wordWrap_ = v; AdjustBounds(); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  TWinControl* FocusControl = nullptr;
  void WndProc(TMessage& message) override;
  // A label made while its form is being built sizes itself once the
  // form is complete (its caption was set while sizing was held back).
  void Loaded() override;

 protected:
  void Paint() override;
  virtual void AdjustBounds();
  UINT TextFlags() const;

 private:
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool transparent_ = false;
};

class TCustomEdit : public TSystemControl {
 public:
  explicit TCustomEdit(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TCustomEdit"; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v);
  void SelectAll();
  void Clear() { SetText(L""); }
  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;

 private:
  bool readOnly_ = false;
  int maxLength_ = 0;
  TBorderStyle borderStyle_ = bsSingle;
};

class TEdit : public TCustomEdit {
 public:
  explicit TEdit(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TEdit"; }
};

class TMemo : public TCustomEdit {
 public:
  explicit TMemo(TComponent* AOwner);
  ~TMemo() override;
  const wchar_t* ClassName() const override { return L"TMemo"; }
  // The memo's text line by line (reads and writes go to the window).
  TStrings* Lines() const { return lines_.get(); }
  TScrollStyle ScrollBars() const { return scrollBars_; }
  void SetScrollBars(TScrollStyle v);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool v);

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  std::unique_ptr<TStrings> lines_;
  TScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
};

// A framed, captioned container.
class TGroupBox : public TCustomControl {
 public:
  explicit TGroupBox(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TGroupBox"; }
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void AdjustClientRect(RECT& rect) const override;
  void Paint() override;
};
