// The skinned list box's item facade, its selection and count operations
// and the incremental search on typed keys.
#include "framework/SysUtils.h"
#include "skin/controls/AlphaListBox.h"
#include "skin/windows/ScrollWnd.h"

namespace {

[[noreturn]] void IndexError(int index) {
  throw EListError(Format(L"List index out of bounds (%d)", index));
}

}  // namespace

// ---------------------------------------------------------------- TListBoxStrings

bool TListBoxStrings::Virtual() const { return ListBox->IsVirtual(); }

LRESULT TListBoxStrings::Send(UINT msg, WPARAM w, LPARAM l) const { return ListBox->Send(msg, w, l); }

int TListBoxStrings::GetCount() const { return static_cast<int>(Send(LB_GETCOUNT)); }

std::wstring TListBoxStrings::Get(int index) const {
  if (Virtual()) return ListBox->DoGetData(index);
  const LRESULT len = Send(LB_GETTEXTLEN, static_cast<WPARAM>(index));
  if (len == LB_ERR) IndexError(index);
  std::wstring s(static_cast<size_t>(len) + 1, L'\0');
  const LRESULT got = Send(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(got < 0 ? 0 : std::min(static_cast<size_t>(got), static_cast<size_t>(len)));
  return s;
}

TObject* TListBoxStrings::GetObject(int index) const {
  if (Virtual()) return ListBox->DoGetDataObject(index);
  const LONG_PTR data = ListBox->GetItemData(index);
  if (data == LB_ERR) IndexError(index);
  return reinterpret_cast<TObject*>(data);
}

// A new text keeps the item's object and the current item. A virtual list
// has no text of its own to replace: nothing changes.
void TListBoxStrings::Put(int index, const std::wstring& s) {
  if (Virtual()) return;
  const int current = ListBox->ItemIndex();
  const LONG_PTR data = ListBox->GetItemData(index);
  ListBox->SetItemData(index, 0);
  Delete(index);
  InsertObject(index, s, nullptr);
  ListBox->SetItemData(index, data);
  ListBox->SetItemIndex(current);
}

void TListBoxStrings::PutObject(int index, TObject* obj) {
  if (Virtual() || index == -1) return;
  ListBox->SetItemData(index, reinterpret_cast<LONG_PTR>(obj));
}

int TListBoxStrings::Add(const std::wstring& s) {
  if (Virtual()) return -1;
  const LRESULT r = Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  if (r < 0) throw EOutOfResources(L"Unable to insert a line");
  return static_cast<int>(r);
}

void TListBoxStrings::Insert(int index, const std::wstring& s) {
  if (Virtual()) return;
  const LRESULT r = Send(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.c_str()));
  if (r < 0) throw EOutOfResources(L"Unable to insert a line");
}

void TListBoxStrings::Delete(int index) { ListBox->DeleteString(index); }

void TListBoxStrings::Clear() {
  if (!Virtual()) ListBox->ResetContent();
}

void TListBoxStrings::Exchange(int index1, int index2) {
  if (Virtual()) return;
  BeginUpdate();
  try {
    const int current = ListBox->ItemIndex();
    const std::wstring s1 = Get(index1), s2 = Get(index2);
    const LONG_PTR d1 = ListBox->GetItemData(index1), d2 = ListBox->GetItemData(index2);
    Put(index1, s2);
    Put(index2, s1);
    ListBox->SetItemData(index1, d2);
    ListBox->SetItemData(index2, d1);
    if (current == index1) ListBox->SetItemIndex(index2);
    else if (current == index2) ListBox->SetItemIndex(index1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TListBoxStrings::Move(int curIndex, int newIndex) {
  if (Virtual() || curIndex == newIndex) return;
  BeginUpdate();
  try {
    const std::wstring s = Get(curIndex);
    const LONG_PTR data = ListBox->GetItemData(curIndex);
    ListBox->SetItemData(curIndex, 0);
    Delete(curIndex);
    Insert(newIndex, s);
    ListBox->SetItemData(newIndex, data);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TListBoxStrings::IndexOf(const std::wstring& s) const {
  if (Virtual()) return ListBox->DoFindData(s);
  return static_cast<int>(Send(LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str())));
}

void TListBoxStrings::SetUpdateState(bool updating) {
  if (!ListBox->HandleAllocated()) return;
  Send(WM_SETREDRAW, updating ? FALSE : TRUE);
  // Nothing of the skin is drawn during the batch, the scroll bars included.
  ListBox->SkinData->Updating = updating;
  if (updating) return;
  if (TacEditWnd* adapter = ListBox->EditWnd()) UpdateScrolls(adapter, false);
  ListBox->Refresh();
}

// ---------------------------------------------------------------- item data

LONG_PTR TsAlphaListBox::GetItemData(int index) const {
  return static_cast<LONG_PTR>(Send(LB_GETITEMDATA, static_cast<WPARAM>(index)));
}

void TsAlphaListBox::SetItemData(int index, LONG_PTR data) {
  Send(LB_SETITEMDATA, static_cast<WPARAM>(index), data);
}

void TsAlphaListBox::ResetContent() {
  if (IsVirtual()) return;
  Send(LB_RESETCONTENT);
}

void TsAlphaListBox::DeleteString(int index) {
  Send(LB_DELETESTRING, static_cast<WPARAM>(index));
  // The count of a virtual list follows the window's.
  if (IsVirtual()) count_ = static_cast<int>(Send(LB_GETCOUNT));
}

std::wstring TsAlphaListBox::DoGetData(int index) {
  std::wstring s;
  if (OnData) OnData(this, index, s);
  return s;
}

TObject* TsAlphaListBox::DoGetDataObject(int index) {
  TObject* obj = nullptr;
  if (OnDataObject) OnDataObject(this, index, obj);
  return obj;
}

int TsAlphaListBox::DoFindData(const std::wstring& s) { return OnDataFind ? OnDataFind(this, s) : -1; }

// ---------------------------------------------------------------- selection

int TsAlphaListBox::ItemIndex() const {
  if (!HandleAllocated()) return -1;
  return static_cast<int>(Send(multiSelect_ ? LB_GETCARETINDEX : LB_GETCURSEL));
}

void TsAlphaListBox::SetItemIndex(int v) {
  const int old = ItemIndex();
  if (v != old) {
    if (multiSelect_) Send(LB_SETCARETINDEX, static_cast<WPARAM>(v), FALSE);
    else Send(LB_SETCURSEL, static_cast<WPARAM>(v));
  }
  if (old >= 0) RedrawItem(old);
}

int TsAlphaListBox::TopIndex() const {
  if (!HandleAllocated()) return 0;
  return static_cast<int>(Send(LB_GETTOPINDEX));
}

void TsAlphaListBox::SetTopIndex(int v) {
  if (v != TopIndex()) Send(LB_SETTOPINDEX, static_cast<WPARAM>(v));
}

bool TsAlphaListBox::Selected(int index) const {
  const LRESULT r = Send(LB_GETSEL, static_cast<WPARAM>(index));
  return r != 0 && r != LB_ERR;
}

void TsAlphaListBox::SetSelected(int index, bool v) {
  if (multiSelect_) {
    if (Send(LB_SETSEL, v ? TRUE : FALSE, static_cast<LPARAM>(index)) == LB_ERR) IndexError(index);
  } else if (v) {
    SetItemIndex(index);
  } else if (index == ItemIndex()) {
    SetItemIndex(-1);
  }
  Repaint();
}

int TsAlphaListBox::SelCount() const {
  if (!multiSelect_) return ItemIndex() >= 0 ? 1 : 0;
  return static_cast<int>(Send(LB_GETSELCOUNT));
}

void TsAlphaListBox::ClearSelection() {
  if (multiSelect_) {
    for (int i = 0, n = items_->Count(); i < n; ++i) SetSelected(i, false);
  } else {
    SetItemIndex(-1);
  }
}

int TsAlphaListBox::Count() const { return IsVirtual() ? count_ : items_->Count(); }

// Only a list without data of its own has a count to set; the count
// changes only when the window takes it.
void TsAlphaListBox::SetCount(int v) {
  if (!IsVirtual())
    throw Exception(L"Listbox (" + Name() + L") style must be virtual in order to set Count");
  const LRESULT r = Send(LB_SETCOUNT, static_cast<WPARAM>(v));
  if (r == LB_ERR || r == LB_ERRSPACE) throw Exception(L"Error setting " + Name() + L".Count");
  count_ = v;
}

// ---------------------------------------------------------------- search

void TsAlphaListBox::KeyPress(wchar_t& key) {
  TsSkinnedControl::KeyPress(key);
  if (AutoComplete && key != 0) Search(key);
}

// Typed keys build a search text until a pause of AutoCompleteDelay; the
// first item that starts with it becomes current, and the window then
// gets no character for a search of its own.
void TsAlphaListBox::Search(wchar_t& key) {
  const DWORD now = TickSource();
  if (now - lastKeyTime_ >= AutoCompleteDelay) filter_.clear();
  lastKeyTime_ = now;
  if (key == L'\b') {
    if (!filter_.empty()) filter_.pop_back();
  } else {
    filter_ += key;
  }
  if (filter_.empty()) {
    SetItemIndex(0);
    Click();
    return;
  }
  const int found = IsVirtual() ? DoFindData(filter_)
                                : static_cast<int>(Send(LB_FINDSTRING, static_cast<WPARAM>(-1),
                                                        reinterpret_cast<LPARAM>(filter_.c_str())));
  if (found == LB_ERR) return;
  if (multiSelect_) {
    ClearSelection();
    Send(LB_SELITEMRANGE, TRUE, MAKELPARAM(found, found));
  }
  SetItemIndex(found);
  Click();
  if (key != L'\b' && key != L'\r' && key != 27) key = 0;
}
