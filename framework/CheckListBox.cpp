// TCheckListBox: the owner-drawn list box with a check box per item (its
// class is declared in ListBox.h with the other list boxes).
#include <windowsx.h>

#include <algorithm>

#include "framework/ListBox.h"
#include "framework/SysUtils.h"

// ---------------------------------------------------------------- TCheckListBox

namespace {
constexpr int kBoxSize = 13;
constexpr int kBoxMargin = 2;
}  // namespace

int TCheckListBox::CheckWidth() { return kBoxSize + 2 * kBoxMargin; }

TCheckListBox::TCheckListBox(TComponent* AOwner) : TCustomListBox(AOwner) {
  SetStyle(lbOwnerDrawFixed);
}

TCheckListBox::~TCheckListBox() {
  // The window goes while the records it points at still exist.
  Destroying();
  if (HandleAllocated()) DestroyHandle();
}

void TCheckListBox::CreateParams(TCreateParams& params) {
  TCustomListBox::CreateParams(params);
  params.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
}

int TCheckListBox::DefaultItemHeight() {
  return std::max(TCustomListBox::DefaultItemHeight(), kBoxSize + 2);
}

LONG_PTR TCheckListBox::MakeItemData(TObject* obj) {
  auto rec = std::make_unique<ItemRec>();
  rec->obj = obj;
  recs_.push_back(std::move(rec));
  return reinterpret_cast<LONG_PTR>(recs_.back().get());
}

void TCheckListBox::FreeItemData(LONG_PTR data) {
  auto* rec = reinterpret_cast<ItemRec*>(data);
  auto it = std::find_if(recs_.begin(), recs_.end(), [rec](auto& r) { return r.get() == rec; });
  if (it != recs_.end()) recs_.erase(it);
}

TObject* TCheckListBox::ObjectOfData(LONG_PTR data) const {
  auto* rec = reinterpret_cast<ItemRec*>(data);
  return rec ? rec->obj : nullptr;
}

LONG_PTR TCheckListBox::DataWithObject(LONG_PTR data, TObject* obj) {
  auto* rec = reinterpret_cast<ItemRec*>(data);
  if (!rec) return MakeItemData(obj);
  rec->obj = obj;
  return data;
}

TCheckListBox::ItemRec* TCheckListBox::Rec(int index) const {
  if (index < 0 || index >= Count()) throw EListError(Format(L"List index out of bounds (%d)", index));
  return reinterpret_cast<ItemRec*>(ItemData(index));
}

TCheckBoxState TCheckListBox::State(int index) const { return Rec(index)->state; }

void TCheckListBox::SetState(int index, TCheckBoxState v) {
  ItemRec* rec = Rec(index);
  if (rec->state == v) return;
  rec->state = v;
  InvalidateItem(index);
}

bool TCheckListBox::ItemEnabled(int index) const { return Rec(index)->enabled; }

void TCheckListBox::SetItemEnabled(int index, bool v) {
  ItemRec* rec = Rec(index);
  if (rec->enabled == v) return;
  rec->enabled = v;
  InvalidateItem(index);
}

void TCheckListBox::InvalidateItem(int index) {
  if (!Windowed()) return;
  RECT r = ItemRect(index);
  InvalidateRect(WindowHandle(), &r, FALSE);
}

void TCheckListBox::ToggleClickCheck(int index) {
  if (index < 0 || index >= Count() || !ItemEnabled(index)) return;
  TCheckBoxState next = cbUnchecked;
  switch (State(index)) {
    case cbUnchecked: next = cbChecked; break;
    case cbChecked: next = AllowGrayed ? cbGrayed : cbUnchecked; break;
    case cbGrayed: next = cbUnchecked; break;
  }
  SetState(index, next);
  if (OnClickCheck) OnClickCheck(this);
}

bool TCheckListBox::OnCheckBox(int index, int x) const {
  if (index < 0) return false;
  RECT r = ItemRect(index);
  return x >= r.left && x < r.left + CheckWidth();
}

void TCheckListBox::DrawItem(int index, RECT rect, TOwnerDrawState state) {
  if (index < 0 || index >= Count()) {
    Canvas()->FillRect(rect);
    return;
  }
  ItemRec* rec = Rec(index);
  // The box's cell keeps the list's colour; only the text shows selection.
  RECT cell = rect;
  cell.right = cell.left + CheckWidth();
  RECT text = rect;
  text.left = cell.right;
  TCanvas* c = Canvas();
  c->FillRect(text);
  TColor selBrush = c->Brush()->Color();
  c->Brush()->SetColor(Color());
  c->FillRect(cell);
  c->Brush()->SetColor(selBrush);
  RECT box{cell.left + kBoxMargin, cell.top + (cell.bottom - cell.top - kBoxSize) / 2, 0, 0};
  box.right = box.left + kBoxSize;
  box.bottom = box.top + kBoxSize;
  UINT flags = DFCS_BUTTONCHECK;
  if (rec->state == cbChecked) flags |= DFCS_CHECKED;
  if (rec->state == cbGrayed) flags |= DFCS_BUTTON3STATE | DFCS_CHECKED;
  if (!rec->enabled || !Enabled()) flags |= DFCS_INACTIVE;
  DrawFrameControl(c->Handle(), &box, DFC_BUTTON, flags);
  if (OnDrawItem) {
    OnDrawItem(this, index, text, state);
    return;
  }
  if (!rec->enabled) c->Font()->SetColor(clGrayText);
  RECT tr = text;
  tr.left += 2;
  c->Brush()->SetStyle(bsClear);
  c->TextRect(tr, Items()->Strings(index), DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void TCheckListBox::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      TCustomListBox::WndProc(message);
      POINT p{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
      int index = ItemAtPos(p, true);
      if (OnCheckBox(index, p.x)) ToggleClickCheck(index);
      return;
    }
    case WM_CHAR:
      if (message.WParam == L' ') {
        ToggleClickCheck(ItemIndex());
        return;
      }
      break;
  }
  TCustomListBox::WndProc(message);
}
