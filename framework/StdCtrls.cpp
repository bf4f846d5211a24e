#include "framework/StdCtrls.h"

#include <algorithm>

#include "framework/Handles.h"
#include "framework/SysUtils.h"

// ---------------------------------------------------------------- bases

TSystemControl::TSystemControl(TComponent* AOwner) : TWinControl(AOwner) {
  SetControlStyle(ControlStyle() & ~(csCaptureMouse | csClickEvents));
}

TButtonControl::TButtonControl(TComponent* AOwner) : TSystemControl(AOwner) {
  SetTabStop(true);
}

// ---------------------------------------------------------------- TButton

TButton::TButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 75, 25);
}

void TButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  CreateSubClass(params, L"BUTTON");
  params.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::SetDefault(bool v) {
  if (v == default_) return;
  default_ = v;
  if (HandleAllocated())
    SendMessageW(WindowHandle(), BM_SETSTYLE, v ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::Click() {
  if (ModalResult != mrNone)
    if (auto* form = dynamic_cast<TCustomForm*>(GetParentForm())) form->SetModalResult(ModalResult);
  TButtonControl::Click();
}

void TButton::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  if (message.Msg == CM_DIALOGCHAR) {
    if (IsAccel(static_cast<WORD>(message.WParam), GetText()) && CanFocus()) {
      Click();
      message.Result = 1;
    }
    return;
  }
  if (message.Msg == CM_DIALOGKEY) {
    if (TakesDialogKey(static_cast<WORD>(message.WParam), message.LParam)) {
      Click();
      message.Result = 1;
    }
    return;
  }
  TButtonControl::WndProc(message);
}

// Enter belongs to the focused button, or to the default button while no
// button has the focus; Esc to the cancel button. Neither with a shift key.
bool TButton::TakesDialogKey(WORD key, LPARAM keyData) const {
  if (KeyDataToShiftState(keyData) != 0 || !CanFocus()) return false;
  if (key == VK_ESCAPE) return Cancel;
  if (key != VK_RETURN) return false;
  HWND focus = ::GetFocus();
  if (HandleAllocated() && focus == WindowHandle()) return true;
  return Default() && !dynamic_cast<TButton*>(FindControl(focus));
}

// ---------------------------------------------------------------- TCustomCheckBox

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 97, 17);
}

void TCustomCheckBox::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  CreateSubClass(params, L"BUTTON");
  params.Style |= BS_3STATE;
  if (Alignment == taLeftJustify) params.Style |= BS_LEFTTEXT;
}

void TCustomCheckBox::CreateWindowState() { SendMessageW(WindowHandle(), BM_SETCHECK, state_, 0); }

void TCustomCheckBox::SaveWindowState() { state_ = State(); }

TCheckBoxState TCustomCheckBox::State() const {
  if (!HandleAllocated()) return state_;
  return static_cast<TCheckBoxState>(SendMessageW(WindowHandle(), BM_GETCHECK, 0, 0));
}

void TCustomCheckBox::SetState(TCheckBoxState v) {
  if (State() == v) return;
  state_ = v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), BM_SETCHECK, v, 0);
  Toggled();
}

void TCustomCheckBox::Toggled() { Click(); }

void TCustomCheckBox::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
    // BS_3STATE leaves the state to us: cycle as the user expects.
    TCheckBoxState next = cbUnchecked;
    switch (State()) {
      case cbUnchecked: next = cbChecked; break;
      case cbChecked: next = AllowGrayed ? cbGrayed : cbUnchecked; break;
      case cbGrayed: next = cbUnchecked; break;
    }
    SetState(next);
    return;
  }
  TButtonControl::WndProc(message);
}

// ---------------------------------------------------------------- TRadioButton

TRadioButton::TRadioButton(TComponent* AOwner) : TButtonControl(AOwner) {
  SetBounds(0, 0, 113, 17);
}

void TRadioButton::CreateParams(TCreateParams& params) {
  TButtonControl::CreateParams(params);
  CreateSubClass(params, L"BUTTON");
  params.Style |= BS_RADIOBUTTON;
}

void TRadioButton::CreateWindowState() {
  SendMessageW(WindowHandle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SaveWindowState() { checked_ = Checked(); }

bool TRadioButton::Checked() const {
  if (!HandleAllocated()) return checked_;
  return SendMessageW(WindowHandle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TRadioButton::SetChecked(bool v) {
  if (Checked() == v) return;
  checked_ = v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), BM_SETCHECK, v ? BST_CHECKED : BST_UNCHECKED, 0);
  if (v) {
    // Only one radio button of a parent is checked.
    if (Parent())
      for (int i = 0; i < Parent()->ControlCount(); ++i)
        if (auto* r = dynamic_cast<TRadioButton*>(Parent()->Controls(i)); r && r != this)
          r->SetChecked(false);
    Click();
  }
}

void TRadioButton::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == BN_CLICKED) {
    SetChecked(true);
    return;
  }
  TButtonControl::WndProc(message);
}

// ---------------------------------------------------------------- TLabel

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() | csReplicatable);
  SetBounds(0, 0, 65, 17);
}

void TLabel::SetTransparent(bool v) {
  transparent_ = v;
  SetControlStyle(v ? (ControlStyle() & ~csOpaque) : (ControlStyle() | csOpaque));
  Invalidate();
}

UINT TLabel::TextFlags() const {
  UINT flags = DT_EXPANDTABS | DT_NOPREFIX;
  if (wordWrap_) flags |= DT_WORDBREAK;
  switch (alignment_) {
    case taLeftJustify: flags |= DT_LEFT; break;
    case taRightJustify: flags |= DT_RIGHT; break;
    case taCenter: flags |= DT_CENTER; break;
  }
  return flags;
}

void TLabel::Paint() {
  TCanvas* c = Canvas();
  RECT r = ClientRect();
  if (!transparent_) {
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(r);
  }
  c->Brush()->SetStyle(bsClear);
  std::wstring text = Caption();
  RECT calc = r;
  c->TextRect(calc, text, TextFlags() | DT_CALCRECT);
  int h = calc.bottom - calc.top;
  if (layout_ == tlCenter) OffsetRect(&r, 0, (Height() - h) / 2);
  else if (layout_ == tlBottom) OffsetRect(&r, 0, Height() - h);
  if (!Enabled()) c->Font()->SetColor(clGrayText);
  c->TextRect(r, text, TextFlags());
}

void TLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TLabel::AdjustBounds() {
  if (!autoSize_ || HasState(csLoading)) return;
  // A memory DC made for the screen measures as the screen does, without
  // the display's round trip that every GetDC costs.
  UniqueMemDC dc = CreateMemDC();
  SelectObjectScope font(dc.get(), Font()->Handle());
  std::wstring text = Caption();
  RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
  DrawTextW(dc.get(), text.empty() ? L" " : text.c_str(), -1, &r, TextFlags() | DT_CALCRECT);
  int w = wordWrap_ ? Width() : r.right;
  int x = Left();
  if (alignment_ == taRightJustify) x += Width() - w;
  SetBounds(x, Top(), w, r.bottom);
}

void TLabel::WndProc(TMessage& message) {
  if (message.Msg == CM_DIALOGCHAR) {
    // A label's accelerator focuses the control it names.
    if (FocusControl && Enabled() && IsAccel(static_cast<WORD>(message.WParam), GetText()) &&
        FocusControl->CanFocus()) {
      FocusControl->SetFocus();
      message.Result = 1;
    }
    return;
  }
  TGraphicControl::WndProc(message);
  switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      AdjustBounds();
      Invalidate();
      break;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
      Invalidate();
      break;
  }
}

// ---------------------------------------------------------------- edits

TCustomEdit::TCustomEdit(TComponent* AOwner) : TSystemControl(AOwner) {
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  SetBounds(0, 0, 121, 21);
}

void TCustomEdit::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  CreateSubClass(params, L"EDIT");
  params.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL;
  if (readOnly_) params.Style |= ES_READONLY;
  if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomEdit::CreateWindowState() {
  // 0 lifts the system's small default limit (about 30,000 characters).
  SendMessageW(WindowHandle(), EM_LIMITTEXT, maxLength_, 0);
}

void TCustomEdit::SetReadOnly(bool v) {
  readOnly_ = v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), EM_SETREADONLY, v, 0);
}

void TCustomEdit::SetMaxLength(int v) {
  maxLength_ = v;
  if (HandleAllocated()) SendMessageW(WindowHandle(), EM_LIMITTEXT, v, 0);
}

void TCustomEdit::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  RecreateWnd();
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated()) SendMessageW(WindowHandle(), EM_SETSEL, 0, -1);
}

void TCustomEdit::WndProc(TMessage& message) {
  if (message.Msg == CN_COMMAND && HIWORD(message.WParam) == EN_CHANGE) {
    if (OnChange) OnChange(this);
    return;
  }
  TSystemControl::WndProc(message);
}

TEdit::TEdit(TComponent* AOwner) : TCustomEdit(AOwner) {}

namespace {

// A memo's lines, read from and written to the edit window.
class TMemoStrings : public TStrings {
 public:
  explicit TMemoStrings(TMemo* memo) : memo_(memo) {}

  void Insert(int index, const std::wstring& s) override {
    HWND w = memo_->Handle();
    int count = GetCount();
    if (index < 0 || index > count) Error(L"List index out of bounds (%d)", index);
    std::wstring line;
    int pos;
    if (index < count) {
      pos = static_cast<int>(SendMessageW(w, EM_LINEINDEX, index, 0));
      line = s + L"\r\n";
    } else {
      pos = GetWindowTextLengthW(w);
      // Appending after text that does not end with a line break starts a
      // new line first.
      bool needBreak = pos > 0 && !EndsWithBreak(w, pos);
      line = needBreak ? L"\r\n" + s + L"\r\n" : s + L"\r\n";
    }
    SendMessageW(w, EM_SETSEL, pos, pos);
    SendMessageW(w, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
  }

  void Delete(int index) override {
    HWND w = memo_->Handle();
    if (index < 0 || index >= GetCount()) Error(L"List index out of bounds (%d)", index);
    int start = static_cast<int>(SendMessageW(w, EM_LINEINDEX, index, 0));
    int end = static_cast<int>(SendMessageW(w, EM_LINEINDEX, index + 1, 0));
    if (end < 0) end = GetWindowTextLengthW(w);
    SendMessageW(w, EM_SETSEL, start, end);
    SendMessageW(w, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
  }

  void Clear() override { memo_->SetText(L""); }

  void SetText(const std::wstring& text) override { memo_->SetText(text); }
  std::wstring Text() const override { return memo_->GetText(); }

 protected:
  std::wstring Get(int index) const override {
    HWND w = memo_->Handle();
    if (index < 0 || index >= GetCount()) Error(L"List index out of bounds (%d)", index);
    int start = static_cast<int>(SendMessageW(w, EM_LINEINDEX, index, 0));
    int len = static_cast<int>(SendMessageW(w, EM_LINELENGTH, start, 0));
    std::wstring s(static_cast<size_t>(std::max(len, 1)) + 1, L'\0');
    *reinterpret_cast<WORD*>(s.data()) = static_cast<WORD>(s.size());
    int got = static_cast<int>(SendMessageW(w, EM_GETLINE, index, reinterpret_cast<LPARAM>(s.data())));
    s.resize(static_cast<size_t>(std::min(got, len)));
    return s;
  }

  int GetCount() const override {
    HWND w = memo_->Handle();
    int len = GetWindowTextLengthW(w);
    if (len == 0) return 0;
    int count = static_cast<int>(SendMessageW(w, EM_GETLINECOUNT, 0, 0));
    // A final line break leaves an empty last line that is not a line.
    if (EndsWithBreak(w, len)) --count;
    return count;
  }

  void SetUpdateState(bool updating) override {
    if (memo_->HandleAllocated()) {
      SendMessageW(memo_->WindowHandle(), WM_SETREDRAW, !updating, 0);
      if (!updating) memo_->Invalidate();
    }
  }

 private:
  static bool EndsWithBreak(HWND w, int len) {
    int lines = static_cast<int>(SendMessageW(w, EM_GETLINECOUNT, 0, 0));
    int lastStart = static_cast<int>(SendMessageW(w, EM_LINEINDEX, lines - 1, 0));
    return lastStart == len && len > 0;
  }

  TMemo* memo_;
};

}  // namespace

TMemo::TMemo(TComponent* AOwner) : TCustomEdit(AOwner), lines_(std::make_unique<TMemoStrings>(this)) {
  SetBounds(0, 0, 185, 89);
}

TMemo::~TMemo() = default;

void TMemo::CreateParams(TCreateParams& params) {
  TCustomEdit::CreateParams(params);
  params.Style &= ~(wordWrap_ ? ES_AUTOHSCROLL : 0);
  params.Style |= ES_MULTILINE | ES_WANTRETURN;
  if (scrollBars_ == ssVertical || scrollBars_ == ssBoth) params.Style |= WS_VSCROLL;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) params.Style |= WS_HSCROLL;
}

void TMemo::SetScrollBars(TScrollStyle v) {
  if (v == scrollBars_) return;
  scrollBars_ = v;
  RecreateWnd();
}

void TMemo::SetWordWrap(bool v) {
  if (v == wordWrap_) return;
  wordWrap_ = v;
  RecreateWnd();
}

// ---------------------------------------------------------------- TGroupBox

TGroupBox::TGroupBox(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetBounds(0, 0, 185, 105);
}

void TGroupBox::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.ExStyle |= WS_EX_CONTROLPARENT;
}

void TGroupBox::AdjustClientRect(RECT& rect) const {
  TCustomControl::AdjustClientRect(rect);
  rect.top += std::abs(Font()->Height()) + 4;
  InflateRect(&rect, -1, -1);
}

void TGroupBox::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetColor(Color());
  c->Brush()->SetStyle(bsSolid);
  RECT all = ClientRect();
  c->FillRect(all);
  TSize ext = c->TextExtent(L"0");
  RECT frame = all;
  frame.top = ext.cy / 2;
  DrawEdge(c->Handle(), &frame, EDGE_ETCHED, BF_RECT);
  std::wstring text = Caption();
  if (!text.empty()) {
    RECT tr{8, 0, 8, ext.cy};
    c->TextRect(tr, text, DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    InflateRect(&tr, 2, 0);
    c->FillRect(tr);
    InflateRect(&tr, -2, 0);
    c->Brush()->SetStyle(bsClear);
    c->TextRect(tr, text, DT_SINGLELINE | DT_NOPREFIX);
  }
}

void TGroupBox::WndProc(TMessage& message) {
  TCustomControl::WndProc(message);
  if (message.Msg == CM_TEXTCHANGED) Invalidate();
}
