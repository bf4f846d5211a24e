// The parts of a list view held by the framework: columns, rows and their
// sub-items, and the row list.
#include <algorithm>

#include "framework/ListView.h"
#include "framework/ListViewInternal.h"

using namespace listview_detail;

// ---------------------------------------------------------------- sub-items

// The sub-item texts of one row. The window asks for them through
// LVN_GETDISPINFO; a change only repaints the row.
class TListSubItems : public TStrings {
 public:
  explicit TListSubItems(TListItem* item) : item_(item) {}

  void Insert(int index, const std::wstring& s) override {
    if (index < 0 || index > GetCount()) Error(L"List index out of bounds (%d)", index);
    items_.insert(items_.begin() + index, Entry{s, nullptr});
    Changed(index, GetCount());
  }
  void Delete(int index) override {
    if (index < 0 || index >= GetCount()) Error(L"List index out of bounds (%d)", index);
    items_.erase(items_.begin() + index);
    Changed(index, GetCount() + 1);
  }
  void Clear() override {
    int old = GetCount();
    items_.clear();
    Changed(0, old);
  }

 protected:
  std::wstring Get(int index) const override {
    if (index < 0 || index >= GetCount()) Error(L"List index out of bounds (%d)", index);
    return items_[index].s;
  }
  int GetCount() const override { return static_cast<int>(items_.size()); }
  void Put(int index, const std::wstring& s) override {
    if (index < 0 || index >= GetCount()) Error(L"List index out of bounds (%d)", index);
    items_[index].s = s;
    Changed(index, index + 1);
  }
  TObject* GetObject(int index) const override {
    if (index < 0 || index >= GetCount()) Error(L"List index out of bounds (%d)", index);
    return items_[index].obj;
  }
  void PutObject(int index, TObject* obj) override {
    if (index < 0 || index >= GetCount()) Error(L"List index out of bounds (%d)", index);
    items_[index].obj = obj;
  }

 private:
  friend class TListItem;
  struct Entry {
    std::wstring s;
    TObject* obj;
  };
  // Sub-items [from, to) now show other texts.
  void Changed(int from, int to) {
    for (int i = from; i < to; ++i) item_->TextChanged(i + 1);
  }

  TListItem* item_;
  std::vector<Entry> items_;
};

// ---------------------------------------------------------------- TListColumn(s)

void TListColumn::SetCaption(const std::wstring& v) {
  caption_ = v;
  if (!owner_->HandleAllocated()) return;
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT;
  c.pszText = caption_.data();
  SendMessageW(owner_->WindowHandle(), LVM_SETCOLUMNW, index_, reinterpret_cast<LPARAM>(&c));
}

int TListColumn::Width() const {
  if (owner_->HandleAllocated())
    return static_cast<int>(SendMessageW(owner_->WindowHandle(), LVM_GETCOLUMNWIDTH, index_, 0));
  return width_;
}

void TListColumn::SetWidth(int v) {
  width_ = v;
  if (owner_->HandleAllocated())
    SendMessageW(owner_->WindowHandle(), LVM_SETCOLUMNWIDTH, index_, MAKELPARAM(v, 0));
}

void TListColumn::SetAlignment(TAlignment v) {
  alignment_ = v;
  if (!owner_->HandleAllocated()) return;
  LVCOLUMNW c{};
  c.mask = LVCF_FMT;
  c.fmt = ColumnFormat(v);
  SendMessageW(owner_->WindowHandle(), LVM_SETCOLUMNW, index_, reinterpret_cast<LPARAM>(&c));
}

TListColumn* TListColumns::Add() {
  columns_.push_back(std::make_unique<TListColumn>(owner_, Count()));
  TListColumn* c = columns_.back().get();
  owner_->InsertColumnIntoWindow(c);
  return c;
}

void TListColumns::Clear() {
  if (owner_->HandleAllocated())
    for (int i = Count() - 1; i >= 0; --i) SendMessageW(owner_->WindowHandle(), LVM_DELETECOLUMN, i, 0);
  columns_.clear();
}

// ---------------------------------------------------------------- TListItem

TListItem::TListItem(TListItems* owner)
    : owner_(owner), subItems_(std::make_unique<TListSubItems>(this)) {}

TListItem::~TListItem() = default;

TCustomListView* TListItem::ListView() const { return owner_ ? owner_->Owner() : nullptr; }

// The window asks for every text itself (sub-items included, which it asks
// for by column even when they were never set), so a changed text needs only
// a repaint of the row; outside the report view the layout follows the
// caption, and the window must hear that the caption changed.
void TListItem::TextChanged(int column) {
  TCustomListView* lv = ListView();
  if (!lv || !lv->HandleAllocated() || index_ < 0) return;
  if (lv->ownerInWindow_) {
    lv->RedrawOwnerRow(index_);
    return;
  }
  HWND w = lv->WindowHandle();
  if (lv->viewStyle_ != vsReport) {
    if (column != 0) return;  // not shown
    QuietScope quiet(lv->quiet_);
    LVITEMW it{};
    it.pszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(w, LVM_SETITEMTEXTW, index_, reinterpret_cast<LPARAM>(&it));
    return;
  }
  if (lv->items_->UpdateCount() == 0) SendMessageW(w, LVM_REDRAWITEMS, index_, index_);
}

void TListItem::SetCaption(const std::wstring& v) {
  if (v == caption_) return;
  caption_ = v;
  TextChanged(0);
}

void TListItem::SetImageIndex(int v) {
  if (v == imageIndex_) return;
  imageIndex_ = v;
  TCustomListView* lv = ListView();
  if (!lv || !lv->HandleAllocated() || index_ < 0) return;
  if (lv->ownerInWindow_) {
    lv->RedrawOwnerRow(index_);
    return;
  }
  QuietScope quiet(lv->quiet_);
  LVITEMW it{};
  it.mask = LVIF_IMAGE;
  it.iItem = index_;
  it.iImage = v;
  SendMessageW(lv->WindowHandle(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&it));
}


bool TListItem::Checked() const {
  TCustomListView* lv = ListView();
  if (lv && lv->HandleAllocated() && lv->checkboxesInWindow_ && !lv->ownerInWindow_ && index_ >= 0)
    return (WindowState(lv, index_, LVIS_STATEIMAGEMASK) >> 12) == 2;
  return checked_;
}

void TListItem::SetChecked(bool v) {
  TCustomListView* lv = ListView();
  if (lv && lv->ownerInWindow_) {
    if (v != checked_) {
      checked_ = v;
      lv->RedrawOwnerRow(index_);
    }
    return;
  }
  checked_ = v;
  if (lv && lv->HandleAllocated() && lv->checkboxesInWindow_ && index_ >= 0)
    SetWindowState(lv, index_, INDEXTOSTATEIMAGEMASK(v ? 2 : 1), LVIS_STATEIMAGEMASK);
}

bool TListItem::Selected() const {
  TCustomListView* lv = ListView();
  if (lv && lv->HandleAllocated() && index_ >= 0)
    return (WindowState(lv, index_, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  return selected_;
}

void TListItem::SetSelected(bool v) {
  selected_ = v;
  TCustomListView* lv = ListView();
  if (lv && lv->HandleAllocated() && index_ >= 0)
    SetWindowState(lv, index_, v ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

bool TListItem::Focused() const {
  TCustomListView* lv = ListView();
  if (lv && lv->HandleAllocated() && index_ >= 0)
    return (WindowState(lv, index_, LVIS_FOCUSED) & LVIS_FOCUSED) != 0;
  return focused_;
}

void TListItem::SetFocused(bool v) {
  focused_ = v;
  TCustomListView* lv = ListView();
  if (lv && lv->HandleAllocated() && index_ >= 0)
    SetWindowState(lv, index_, v ? LVIS_FOCUSED : 0, LVIS_FOCUSED);
}

void TListItem::Delete() {
  if (owner_) owner_->Delete(index_);
}

void TListItem::MakeVisible() {
  TCustomListView* lv = ListView();
  if (lv && lv->HandleAllocated() && index_ >= 0)
    SendMessageW(lv->WindowHandle(), LVM_ENSUREVISIBLE, index_, FALSE);
}

RECT TListItem::DisplayRect() const {
  RECT r{};
  TCustomListView* lv = ListView();
  if (!lv || !lv->HandleAllocated() || index_ < 0) return r;
  r.left = LVIR_BOUNDS;
  if (!SendMessageW(lv->WindowHandle(), LVM_GETITEMRECT, index_, reinterpret_cast<LPARAM>(&r)))
    r = RECT{};
  return r;
}

// ---------------------------------------------------------------- TListItems

TListItems::~TListItems() = default;

void TListItems::Renumber(int from) {
  for (int i = std::max(from, 0); i < Count(); ++i) items_[i]->index_ = i;
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index) {
  if (index < 0 || index > Count()) index = Count();
  items_.insert(items_.begin() + index, std::make_unique<TListItem>(this));
  TListItem* item = items_[index].get();
  if (index == Count() - 1) item->index_ = index;
  else Renumber(index);
  owner_->InsertItemIntoWindow(item);
  return item;
}

void TListItems::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  if (owner_->HandleAllocated()) {
    QuietScope quiet(owner_->quiet_);
    if (SendMessageW(owner_->WindowHandle(), LVM_DELETEITEM, index, 0) && owner_->ownerInWindow_)
      --owner_->ownerWindowCount_;
  }
  items_.erase(items_.begin() + index);
  Renumber(index);
}

void TListItems::Clear() {
  if (owner_->HandleAllocated()) {
    QuietScope quiet(owner_->quiet_);
    SendMessageW(owner_->WindowHandle(), LVM_DELETEALLITEMS, 0, 0);
    owner_->ownerWindowCount_ = 0;
  }
  items_.clear();
}

void TListItems::Reserve(int count) {
  if (count <= Count()) return;
  items_.reserve(static_cast<size_t>(count));
  if (owner_->HandleAllocated() && !owner_->ownerInWindow_)
    SendMessageW(owner_->WindowHandle(), LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL);
}

void TListItems::BeginUpdate() {
  // Owner data needs no redraw switched off: the window learns of the new
  // rows at the end of the update, in one message.
  if (updateCount_++ == 0 && owner_->HandleAllocated() && !owner_->ownerInWindow_)
    SendMessageW(owner_->WindowHandle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0 && owner_->ownerInWindow_) {
    owner_->SyncOwnerCount(true);
  } else if (updateCount_ == 0 && owner_->HandleAllocated()) {
    SendMessageW(owner_->WindowHandle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(owner_->WindowHandle(), nullptr, TRUE);
  }
}
