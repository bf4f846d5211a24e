#include "framework/ListBox.h"
#include "framework/OwnerDrawPaint.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/SysUtils.h"

// ---------------------------------------------------------------- items

// A list box's items: the window's strings while it exists, else the saved
// list. Objects travel as the list box's item data.
class TCustomListBoxStrings : public TStrings {
 public:
  explicit TCustomListBoxStrings(TCustomListBox* lb) : lb_(lb) {}

  int Add(const std::wstring& s) override { return InsertItem(-1, s, nullptr); }
  int AddObject(const std::wstring& s, TObject* obj) override { return InsertItem(-1, s, obj); }
  void Insert(int index, const std::wstring& s) override { InsertItem(index, s, nullptr); }
  void InsertObject(int index, const std::wstring& s, TObject* obj) override {
    InsertItem(index, s, obj);
  }

  void Delete(int index) override {
    CheckIndex(index);
    LONG_PTR data = lb_->ItemData(index);
    if (lb_->Windowed()) lb_->Send(LB_DELETESTRING, index);
    else lb_->saved_->Delete(index);
    lb_->FreeItemData(data);
  }

  void Clear() override {
    lb_->FreeAllItemData();
    if (lb_->Windowed()) lb_->Send(LB_RESETCONTENT);
    else lb_->saved_->Clear();
  }

  // Inserts at `index` (-1 or Count: at the end; a sorted list places the
  // item itself) and returns where the item went.
  int InsertItem(int index, const std::wstring& s, TObject* obj) {
    int count = GetCount();
    if (index < -1 || index > count) Error(L"List index out of bounds (%d)", index);
    if (index == count) index = -1;
    LONG_PTR data = lb_->MakeItemData(obj);
    int at;
    if (lb_->Windowed()) {
      LRESULT r = lb_->sorted_ ? lb_->Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()))
                               : lb_->Send(LB_INSERTSTRING, static_cast<WPARAM>(index),
                                           reinterpret_cast<LPARAM>(s.c_str()));
      if (r < 0) {
        lb_->FreeItemData(data);
        throw EOutOfResources(L"Unable to insert a line");
      }
      at = static_cast<int>(r);
    } else if (lb_->sorted_) {
      at = lb_->saved_->Add(s);
    } else {
      at = index < 0 ? count : index;
      lb_->saved_->Insert(at, s);
    }
    lb_->SetItemData(at, data);
    return at;
  }


 protected:
  std::wstring Get(int index) const override {
    CheckIndex(index);
    if (!lb_->Windowed()) return lb_->saved_->Strings(index);
    int len = static_cast<int>(lb_->Send(LB_GETTEXTLEN, index));
    std::wstring s(static_cast<size_t>(std::max(len, 0)) + 1, L'\0');
    int got = static_cast<int>(lb_->Send(LB_GETTEXT, index, reinterpret_cast<LPARAM>(s.data())));
    s.resize(static_cast<size_t>(std::clamp(got, 0, len)));
    return s;
  }

  int GetCount() const override {
    if (!lb_->Windowed()) return lb_->saved_->Count();
    return static_cast<int>(lb_->Send(LB_GETCOUNT));
  }

  // A new text for an item keeps its object (and, in a check list, its
  // state); in a sorted list the item moves to its new place.
  void Put(int index, const std::wstring& s) override {
    CheckIndex(index);
    LONG_PTR data = lb_->ItemData(index);
    if (!lb_->Windowed()) {
      lb_->saved_->Delete(index);
      int at = lb_->sorted_ ? lb_->saved_->Add(s) : (lb_->saved_->Insert(index, s), index);
      lb_->SetItemData(at, data);
      return;
    }
    int selected = lb_->ItemIndex();
    lb_->Send(LB_DELETESTRING, index);
    LRESULT r = lb_->sorted_ ? lb_->Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()))
                             : lb_->Send(LB_INSERTSTRING, index, reinterpret_cast<LPARAM>(s.c_str()));
    if (r < 0) {
      lb_->FreeItemData(data);
      throw EOutOfResources(L"Unable to insert a line");
    }
    lb_->SetItemData(static_cast<int>(r), data);
    if (selected == index && !lb_->MultiSelect()) lb_->SetItemIndex(static_cast<int>(r));
  }

  TObject* GetObject(int index) const override {
    CheckIndex(index);
    return lb_->ObjectOfData(lb_->ItemData(index));
  }

  void PutObject(int index, TObject* obj) override {
    CheckIndex(index);
    lb_->SetItemData(index, lb_->DataWithObject(lb_->ItemData(index), obj));
  }

  void SetUpdateState(bool updating) override {
    if (!lb_->Windowed()) return;
    lb_->Send(WM_SETREDRAW, !updating);
    if (!updating) lb_->Invalidate();
  }

 private:
  void CheckIndex(int index) const {
    if (index < 0 || index >= GetCount()) Error(L"List index out of bounds (%d)", index);
  }
  TCustomListBox* lb_;
};

// ---------------------------------------------------------------- TCustomListBox

TCustomListBox::TCustomListBox(TComponent* AOwner)
    : TSystemControl(AOwner),
      canvas_(std::make_unique<TCanvas>()),
      items_(std::make_unique<TCustomListBoxStrings>(this)),
      saved_(std::make_unique<TStringList>()) {
  saved_->Duplicates = dupAccept;
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  SetBounds(0, 0, 121, 97);
}

TCustomListBox::~TCustomListBox() = default;

LRESULT TCustomListBox::Send(UINT msg, WPARAM w, LPARAM l) const {
  return SendMessageW(WindowHandle(), msg, w, l);
}

LONG_PTR TCustomListBox::ItemData(int index) const {
  if (Windowed()) return static_cast<LONG_PTR>(Send(LB_GETITEMDATA, index));
  return reinterpret_cast<LONG_PTR>(saved_->Objects(index));
}

void TCustomListBox::SetItemData(int index, LONG_PTR data) {
  if (Windowed()) Send(LB_SETITEMDATA, index, data);
  else saved_->SetObjects(index, reinterpret_cast<TObject*>(data));
}

void TCustomListBox::FreeAllItemData() {
  for (int i = 0, n = items_->Count(); i < n; ++i) FreeItemData(ItemData(i));
}

void TCustomListBox::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  CreateSubClass(params, L"LISTBOX");
  params.Style |= WS_VSCROLL | LBS_NOTIFY;
  if (!integralHeight_) params.Style |= LBS_NOINTEGRALHEIGHT;
  if (sorted_) params.Style |= LBS_SORT;
  if (multiSelect_) params.Style |= extendedSelect_ ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (style_ == lbOwnerDrawFixed) params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
  if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWindowState() {
  if (style_ == lbOwnerDrawFixed) Send(LB_SETITEMHEIGHT, 0, itemHeight_ > 0 ? itemHeight_ : DefaultItemHeight());
  else if (itemHeight_ > 0) Send(LB_SETITEMHEIGHT, 0, itemHeight_);
  int n = saved_->Count();
  if (n == 0) {
    saved_->SetSorted(sorted_);
    return;
  }
  Send(WM_SETREDRAW, FALSE);
  for (int i = 0; i < n; ++i) {
    std::wstring s = saved_->Strings(i);
    LRESULT r = sorted_ ? Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()))
                        : Send(LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str()));
    if (r >= 0) Send(LB_SETITEMDATA, r, reinterpret_cast<LPARAM>(saved_->Objects(i)));
  }
  // A sorted window may have put the items elsewhere: the selection follows
  // its items (found by text and data).
  std::vector<bool> claimed(static_cast<size_t>(n), false);
  auto windowIndexOf = [&](int savedIndex) {
    std::wstring s = saved_->Strings(savedIndex);
    auto data = reinterpret_cast<LRESULT>(saved_->Objects(savedIndex));
    for (int probe : {savedIndex, -1}) {
      for (int i = probe >= 0 ? probe : 0; i < n; ++i) {
        if (!claimed[static_cast<size_t>(i)] && Send(LB_GETITEMDATA, i) == data && items_->Strings(i) == s) {
          claimed[static_cast<size_t>(i)] = true;
          return i;
        }
        if (probe >= 0) break;
      }
    }
    return -1;
  };
  int current = savedItemIndex_ >= 0 && savedItemIndex_ < n ? windowIndexOf(savedItemIndex_) : -1;
  if (multiSelect_) {
    for (size_t i = 0; i < savedSelected_.size() && static_cast<int>(i) < n; ++i) {
      if (!savedSelected_[i]) continue;
      int at = static_cast<int>(i) == savedItemIndex_ ? current : windowIndexOf(static_cast<int>(i));
      if (at >= 0) Send(LB_SETSEL, TRUE, at);
    }
    if (current >= 0) Send(LB_SETCARETINDEX, current, FALSE);
  } else if (current >= 0) {
    Send(LB_SETCURSEL, current);
  }
  // The window holds the item data now; the saved list lets go of it.
  saved_->Clear();
  saved_->SetSorted(sorted_);
  Send(LB_SETTOPINDEX, savedTopIndex_);
  Send(WM_SETREDRAW, TRUE);
}

void TCustomListBox::SaveWindowState() {
  // Window order, whatever the saved list's own sorting would give.
  saved_->SetSorted(false);
  saved_->Clear();
  savedSelected_.clear();
  savedItemIndex_ = ItemIndex();
  savedTopIndex_ = TopIndex();
  int n = static_cast<int>(Send(LB_GETCOUNT));
  for (int i = 0; i < n; ++i) {
    saved_->AddObject(items_->Strings(i), reinterpret_cast<TObject*>(Send(LB_GETITEMDATA, i)));
    savedSelected_.push_back(Send(LB_GETSEL, i) > 0);
  }
}

int TCustomListBox::ItemIndex() const {
  if (!Windowed()) return savedItemIndex_ < Count() ? savedItemIndex_ : -1;
  return static_cast<int>(multiSelect_ ? Send(LB_GETCARETINDEX) : Send(LB_GETCURSEL));
}

void TCustomListBox::SetItemIndex(int v) {
  if (v < -1 || v >= Count()) v = -1;
  if (!Windowed()) {
    savedItemIndex_ = v;
    return;
  }
  if (multiSelect_) {
    if (v >= 0) {
      Send(LB_SETSEL, FALSE, -1);
      Send(LB_SETSEL, TRUE, v);
      Send(LB_SETCARETINDEX, v, FALSE);
    }
  } else {
    Send(LB_SETCURSEL, v);
  }
}

bool TCustomListBox::Selected(int index) const {
  if (index < 0 || index >= Count()) return false;
  if (!Windowed()) {
    if (!multiSelect_) return index == savedItemIndex_;
    return index < static_cast<int>(savedSelected_.size()) && savedSelected_[index];
  }
  return Send(LB_GETSEL, index) > 0;
}

void TCustomListBox::SetSelected(int index, bool v) {
  if (index < 0 || index >= Count()) return;
  if (!Windowed()) {
    if (!multiSelect_) {
      if (v) savedItemIndex_ = index;
      else if (savedItemIndex_ == index) savedItemIndex_ = -1;
      return;
    }
    if (static_cast<int>(savedSelected_.size()) <= index) savedSelected_.resize(index + 1);
    savedSelected_[index] = v;
    return;
  }
  if (multiSelect_) Send(LB_SETSEL, v, index);
  else if (v) Send(LB_SETCURSEL, index);
  else if (ItemIndex() == index) Send(LB_SETCURSEL, static_cast<WPARAM>(-1));
}

int TCustomListBox::SelCount() const {
  if (!multiSelect_) return ItemIndex() >= 0 ? 1 : 0;
  if (!Windowed()) return static_cast<int>(std::count(savedSelected_.begin(), savedSelected_.end(), true));
  return static_cast<int>(Send(LB_GETSELCOUNT));
}

void TCustomListBox::SetMultiSelect(bool v) {
  if (v == multiSelect_) return;
  multiSelect_ = v;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool v) {
  if (v == extendedSelect_) return;
  extendedSelect_ = v;
  if (multiSelect_) RecreateWnd();
}

void TCustomListBox::SetSorted(bool v) {
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

int TCustomListBox::TopIndex() const {
  return Windowed() ? static_cast<int>(Send(LB_GETTOPINDEX)) : savedTopIndex_;
}

void TCustomListBox::SetTopIndex(int v) {
  savedTopIndex_ = v;
  if (Windowed()) Send(LB_SETTOPINDEX, v);
}

int TCustomListBox::ItemHeight() const {
  if (Windowed()) return static_cast<int>(Send(LB_GETITEMHEIGHT, 0));
  return itemHeight_ > 0 ? itemHeight_ : const_cast<TCustomListBox*>(this)->DefaultItemHeight();
}

void TCustomListBox::SetItemHeight(int v) {
  itemHeight_ = v;
  if (Windowed() && v > 0) {
    Send(LB_SETITEMHEIGHT, 0, v);
    Invalidate();
  }
}

void TCustomListBox::SetStyle(TListBoxStyle v) {
  if (v == style_) return;
  style_ = v;
  RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool v) {
  if (v == integralHeight_) return;
  integralHeight_ = v;
  RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  RecreateWnd();
}

int TCustomListBox::DefaultItemHeight() {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return tm.tmHeight;
}

int TCustomListBox::ItemAtPos(POINT p, bool existing) const {
  RECT client = ClientRect();
  if (!PtInRect(&client, p)) return -1;
  int count = Count();
  if (Windowed())
    for (int i = std::max(TopIndex(), 0); i < count; ++i) {
      RECT r = ItemRect(i);
      if (PtInRect(&r, p)) return i;
      if (r.top > client.bottom) break;
    }
  return existing ? -1 : count;
}

RECT TCustomListBox::ItemRect(int index) const {
  RECT r{};
  int count = Count();
  if (!Windowed() || index < 0 || index > count) return r;
  if (index < count) {
    Send(LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
  }
  if (count == 0) return r;
  Send(LB_GETITEMRECT, count - 1, reinterpret_cast<LPARAM>(&r));
  OffsetRect(&r, 0, r.bottom - r.top);
  return r;
}

void TCustomListBox::DrawItem(int index, RECT rect, TOwnerDrawState state) {
  TCanvas* c = canvas_.get();
  c->FillRect(rect);
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  if (index < 0 || index >= Count()) return;
  RECT tr = rect;
  tr.left += 2;
  c->Brush()->SetStyle(bsClear);
  c->TextRect(tr, items_->Strings(index), DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TCustomListBox::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_COMMAND:
      switch (HIWORD(message.WParam)) {
        case LBN_SELCHANGE:
          Click();
          return;
        case LBN_DBLCLK:
          DblClick();
          return;
      }
      break;
    case CN_MEASUREITEM: {
      auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
      mi->itemHeight = itemHeight_ > 0 ? itemHeight_ : DefaultItemHeight();
      message.Result = TRUE;
      return;
    }
    case CN_DRAWITEM: {
      PaintOwnerDrawItem(*canvas_, Font(), Color(), *reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam),
                         static_cast<bool>(OnDrawItem),
                         [this](int index, RECT rect, TOwnerDrawState state) { DrawItem(index, rect, state); });
      message.Result = TRUE;
      return;
    }
    case CN_DELETEITEM:
      // Item data is freed where items are removed, not by the window.
      message.Result = TRUE;
      return;
  }
  TSystemControl::WndProc(message);
}
