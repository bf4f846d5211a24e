#include "framework/ComboBox.h"
#include "framework/OwnerDrawPaint.h"

#include <algorithm>

#include "framework/SysUtils.h"

// ---------------------------------------------------------------- items

// A combo box's items: the window's list while it exists, else the saved
// list. Objects travel as the item data.
class TComboBoxStrings : public TStrings {
 public:
  explicit TComboBoxStrings(TCustomComboBox* cb) : cb_(cb) {}

  int Add(const std::wstring& s) override { return InsertItem(-1, s, nullptr); }
  int AddObject(const std::wstring& s, TObject* obj) override { return InsertItem(-1, s, obj); }
  void Insert(int index, const std::wstring& s) override { InsertItem(index, s, nullptr); }
  void InsertObject(int index, const std::wstring& s, TObject* obj) override {
    InsertItem(index, s, obj);
  }

  void Delete(int index) override {
    CheckIndex(index);
    if (cb_->HandleAllocated()) cb_->Send(CB_DELETESTRING, index);
    else {
      cb_->saved_->Delete(index);
      if (cb_->savedItemIndex_ == index) cb_->savedItemIndex_ = -1;
      else if (cb_->savedItemIndex_ > index) --cb_->savedItemIndex_;
    }
  }

  void Clear() override {
    if (cb_->HandleAllocated()) {
      // The edit keeps its text when the list is emptied.
      std::wstring text = cb_->GetText();
      cb_->Send(CB_RESETCONTENT);
      if (cb_->Style() != csDropDownList) SetWindowTextW(cb_->WindowHandle(), text.c_str());
    } else {
      cb_->saved_->Clear();
      cb_->savedItemIndex_ = -1;
    }
  }

  int InsertItem(int index, const std::wstring& s, TObject* obj) {
    int count = GetCount();
    if (index < -1 || index > count) Error(L"List index out of bounds (%d)", index);
    if (index == count) index = -1;
    int at;
    if (cb_->HandleAllocated()) {
      LRESULT r = cb_->Sorted() ? cb_->Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()))
                                : cb_->Send(CB_INSERTSTRING, static_cast<WPARAM>(index),
                                            reinterpret_cast<LPARAM>(s.c_str()));
      if (r < 0) throw EOutOfResources(L"Unable to insert a line");
      at = static_cast<int>(r);
      cb_->Send(CB_SETITEMDATA, at, reinterpret_cast<LPARAM>(obj));
    } else if (cb_->Sorted()) {
      at = cb_->saved_->AddObject(s, obj);
    } else {
      at = index < 0 ? count : index;
      cb_->saved_->InsertObject(at, s, obj);
      if (cb_->savedItemIndex_ >= at) ++cb_->savedItemIndex_;
    }
    return at;
  }

 protected:
  std::wstring Get(int index) const override {
    CheckIndex(index);
    if (!cb_->HandleAllocated()) return cb_->saved_->Strings(index);
    int len = static_cast<int>(cb_->Send(CB_GETLBTEXTLEN, index));
    std::wstring s(static_cast<size_t>(std::max(len, 0)) + 1, L'\0');
    int got = static_cast<int>(cb_->Send(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(s.data())));
    s.resize(static_cast<size_t>(std::clamp(got, 0, len)));
    return s;
  }

  int GetCount() const override {
    if (!cb_->HandleAllocated()) return cb_->saved_->Count();
    return static_cast<int>(cb_->Send(CB_GETCOUNT));
  }

  void Put(int index, const std::wstring& s) override {
    TObject* obj = GetObject(index);
    int selected = cb_->ItemIndex();
    Delete(index);
    int at = InsertItem(cb_->Sorted() ? -1 : index, s, obj);
    if (selected == index) cb_->SetItemIndex(at);
  }

  TObject* GetObject(int index) const override {
    CheckIndex(index);
    if (!cb_->HandleAllocated()) return cb_->saved_->Objects(index);
    return reinterpret_cast<TObject*>(cb_->Send(CB_GETITEMDATA, index));
  }

  void PutObject(int index, TObject* obj) override {
    CheckIndex(index);
    if (!cb_->HandleAllocated()) cb_->saved_->SetObjects(index, obj);
    else cb_->Send(CB_SETITEMDATA, index, reinterpret_cast<LPARAM>(obj));
  }

  void SetUpdateState(bool updating) override {
    if (!cb_->HandleAllocated()) return;
    cb_->Send(WM_SETREDRAW, !updating);
    if (!updating) cb_->Invalidate();
  }

 private:
  void CheckIndex(int index) const {
    if (index < 0 || index >= GetCount()) Error(L"List index out of bounds (%d)", index);
  }
  TCustomComboBox* cb_;
};

// ---------------------------------------------------------------- TCustomComboBox

TCustomComboBox::TCustomComboBox(TComponent* AOwner)
    : TSystemControl(AOwner),
      canvas_(std::make_unique<TCanvas>()),
      items_(std::make_unique<TComboBoxStrings>(this)),
      saved_(std::make_unique<TStringList>()) {
  saved_->Duplicates = dupAccept;
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  SetBounds(0, 0, 145, 21);
}

TCustomComboBox::~TCustomComboBox() = default;

LRESULT TCustomComboBox::Send(UINT msg, WPARAM w, LPARAM l) const {
  return SendMessageW(WindowHandle(), msg, w, l);
}

void TCustomComboBox::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  CreateSubClass(params, L"COMBOBOX");
  params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL;
  switch (style_) {
    case csDropDown: params.Style |= CBS_DROPDOWN; break;
    case csSimple: params.Style |= CBS_SIMPLE; break;
    case csDropDownList: params.Style |= CBS_DROPDOWNLIST; break;
    case csOwnerDrawFixed: params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS; break;
    case csOwnerDrawVariable:
      params.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS;
      break;
  }
  if (sorted_) params.Style |= CBS_SORT;
  // The window's height includes the open list; the control's own height
  // is what the system gives the closed combo.
  if (style_ != csSimple) params.Height = height_ + dropDownCount_ * std::max(height_ - 6, 14) + 2;
  // A drop-down list's window text is the selected item, not ours.
  if (style_ == csDropDownList || style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable)
    params.Caption.clear();
}

void TCustomComboBox::SetBounds(int left, int top, int width, int height) {
  if (!HandleAllocated() || style_ == csSimple) {
    TSystemControl::SetBounds(left, top, width, height);
    return;
  }
  // The system keeps the closed height itself; a new height must not shrink
  // the open list to nothing.
  RECT dropped{};
  Send(CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  int listHeight = std::max<int>(dropped.bottom - dropped.top, height);
  SetWindowPos(WindowHandle(), nullptr, left, top, width, listHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT r;
  GetWindowRect(WindowHandle(), &r);
  if (HWND parent = GetParent(WindowHandle())) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  UpdateBoundsRect(r);
  RequestAlign();
}

void TCustomComboBox::CreateWindowState() {
  if (maxLength_ > 0) Send(CB_LIMITTEXT, maxLength_);
  if (itemHeight_ > 0) {
    Send(CB_SETITEMHEIGHT, 0, itemHeight_);
    Send(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), itemHeight_);
  }
  int n = saved_->Count();
  for (int i = 0; i < n; ++i) {
    std::wstring s = saved_->Strings(i);
    LRESULT r = sorted_ ? Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()))
                        : Send(CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str()));
    if (r >= 0) Send(CB_SETITEMDATA, r, reinterpret_cast<LPARAM>(saved_->Objects(i)));
  }
  // The selection follows its item, which a sorted window may have moved.
  if (savedItemIndex_ >= 0 && savedItemIndex_ < n) {
    std::wstring selected = saved_->Strings(savedItemIndex_);
    auto data = reinterpret_cast<LRESULT>(saved_->Objects(savedItemIndex_));
    int at = savedItemIndex_;
    if (items_->Strings(at) != selected || Send(CB_GETITEMDATA, at) != data)
      for (int i = 0; i < n; ++i)
        if (items_->Strings(i) == selected && Send(CB_GETITEMDATA, i) == data) {
          at = i;
          break;
        }
    savedItemIndex_ = at;
  }
  saved_->Clear();
  saved_->SetSorted(sorted_);
  if (savedItemIndex_ >= 0) Send(CB_SETCURSEL, savedItemIndex_);
  else if (style_ == csDropDown || style_ == csSimple) SetWindowTextW(WindowHandle(), text_.c_str());
  savedItemIndex_ = -1;
}

void TCustomComboBox::SaveWindowState() {
  // Window order, whatever the saved list's own sorting would give.
  saved_->SetSorted(false);
  saved_->Clear();
  int n = static_cast<int>(Send(CB_GETCOUNT));
  for (int i = 0; i < n; ++i)
    saved_->AddObject(items_->Strings(i), reinterpret_cast<TObject*>(Send(CB_GETITEMDATA, i)));
  savedItemIndex_ = static_cast<int>(Send(CB_GETCURSEL));
  // A typed text that is no item survives only without a selection.
  if (savedItemIndex_ >= 0 && style_ != csDropDownList && items_->Strings(savedItemIndex_) != text_)
    savedItemIndex_ = -1;
}

void TCustomComboBox::Clear() {
  items_->Clear();
  SetText(L"");
}

int TCustomComboBox::ItemIndex() const {
  if (!HandleAllocated()) return savedItemIndex_;
  return static_cast<int>(Send(CB_GETCURSEL));
}

void TCustomComboBox::SetItemIndex(int v) {
  if (v < -1 || v >= items_->Count()) v = -1;
  if (!HandleAllocated()) {
    savedItemIndex_ = v;
    text_ = v >= 0 ? saved_->Strings(v) : (style_ == csDropDownList ? L"" : text_);
    return;
  }
  Send(CB_SETCURSEL, static_cast<WPARAM>(v));
}

std::wstring TCustomComboBox::GetText() const {
  if (!HandleAllocated()) {
    if (savedItemIndex_ >= 0 && savedItemIndex_ < saved_->Count()) return saved_->Strings(savedItemIndex_);
    return text_;
  }
  return TSystemControl::GetText();
}

void TCustomComboBox::SetText(const std::wstring& value) {
  if (style_ == csDropDownList || style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable) {
    int found = -1;
    for (int i = 0, n = items_->Count(); i < n && found < 0; ++i)
      if (SameText(items_->Strings(i), value)) found = i;
    SetItemIndex(found);
    return;
  }
  if (!HandleAllocated()) {
    text_ = value;
    // A text that is an item selects it, as the window itself would show.
    savedItemIndex_ = -1;
    for (int i = 0, n = saved_->Count(); i < n; ++i)
      if (saved_->Strings(i) == value) {
        savedItemIndex_ = i;
        break;
      }
    return;
  }
  TSystemControl::SetText(value);
}

void TCustomComboBox::SetStyle(TComboBoxStyle v) {
  if (v == style_) return;
  style_ = v;
  RecreateWnd();
}

void TCustomComboBox::SetSorted(bool v) {
  if (v == sorted_) return;
  sorted_ = v;
  if (HandleAllocated()) {
    RecreateWnd();
    return;
  }
  // Without a window the saved list keeps the order the window would; the
  // selection stays with its item.
  int index = savedItemIndex_;
  std::wstring selected = index >= 0 && index < saved_->Count() ? saved_->Strings(index) : L"";
  saved_->SetSorted(v);
  if (index >= 0) savedItemIndex_ = saved_->IndexOf(selected);
}

void TCustomComboBox::SetDropDownCount(int v) {
  dropDownCount_ = std::max(v, 1);
  if (HandleAllocated()) {
    int item = ItemHeight();
    RECT r;
    GetWindowRect(WindowHandle(), &r);
    SetWindowPos(WindowHandle(), nullptr, 0, 0, r.right - r.left,
                 (r.bottom - r.top) + dropDownCount_ * item + 2, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TCustomComboBox::SetMaxLength(int v) {
  maxLength_ = std::max(v, 0);
  if (HandleAllocated()) Send(CB_LIMITTEXT, maxLength_);
}

bool TCustomComboBox::DroppedDown() const { return HandleAllocated() && Send(CB_GETDROPPEDSTATE) != 0; }

void TCustomComboBox::SetDroppedDown(bool v) {
  if (HandleAllocated()) Send(CB_SHOWDROPDOWN, v);
}

int TCustomComboBox::ItemHeight() const {
  if (!HandleAllocated()) return 16;
  return static_cast<int>(Send(CB_GETITEMHEIGHT, 0));
}

void TCustomComboBox::SetItemHeight(int v) {
  itemHeight_ = std::max(v, 0);
  if (HandleAllocated() && v > 0) {
    Send(CB_SETITEMHEIGHT, 0, v);
    if (style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable) Send(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), v);
  }
}

void TCustomComboBox::DrawItem(int index, RECT rect, TOwnerDrawState state) {
  canvas_->FillRect(rect);
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  if (index < 0 || index >= items_->Count()) return;
  RECT tr = rect;
  tr.left += 2;
  canvas_->Brush()->SetStyle(bsClear);
  canvas_->TextRect(tr, items_->Strings(index), DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TCustomComboBox::CNDrawItem(TMessage& message) {
  PaintOwnerDrawItem(*canvas_, Font(), Color(), *reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam),
                     static_cast<bool>(OnDrawItem),
                     [this](int index, RECT rect, TOwnerDrawState state) { DrawItem(index, rect, state); });
  message.Result = TRUE;
}

HWND TCustomComboBox::ListHandle() const {
  if (!HandleAllocated()) return nullptr;
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  return GetComboBoxInfo(WindowHandle(), &info) ? info.hwndList : nullptr;
}

void TCustomComboBox::SelectAll() {
  if (HandleAllocated()) Send(CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void TCustomComboBox::WndProc(TMessage& message) {
  if (message.Msg == CN_DRAWITEM) {
    CNDrawItem(message);
    return;
  }
  if (message.Msg == CN_MEASUREITEM) {
    auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
    if (itemHeight_ > 0) mi->itemHeight = static_cast<UINT>(itemHeight_);
    message.Result = TRUE;
    return;
  }
  if (message.Msg == CN_COMMAND) {
    switch (HIWORD(message.WParam)) {
      case CBN_SELCHANGE:
        // The edit shows the chosen item only after this notification; the
        // handlers read the new text already.
        if (style_ == csDropDown || style_ == csSimple) {
          int i = ItemIndex();
          if (i >= 0) SetWindowTextW(WindowHandle(), items_->Strings(i).c_str());
        }
        if (OnSelect) OnSelect(this);
        if (OnChange) OnChange(this);
        Click();
        return;
      case CBN_EDITCHANGE:
        if (OnChange) OnChange(this);
        return;
      case CBN_DROPDOWN:
        if (OnDropDown) OnDropDown(this);
        return;
      case CBN_CLOSEUP:
        if (OnCloseUp) OnCloseUp(this);
        return;
    }
  }
  TSystemControl::WndProc(message);
}
