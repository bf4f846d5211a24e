#include "framework/ListView.h"

#include <algorithm>

#include "framework/ComCtrls.h"
#include "framework/ImageList.h"
#include "framework/ListViewInternal.h"

using namespace listview_detail;

namespace {

DWORD ViewStyleBits(TViewStyle v) {
  switch (v) {
    case vsSmallIcon: return LVS_SMALLICON;
    case vsList: return LVS_LIST;
    case vsReport: return LVS_REPORT;
    default: return LVS_ICON;
  }
}

}  // namespace

// ---------------------------------------------------------------- TCustomListView

TCustomListView::TCustomListView(TComponent* AOwner)
    : TSystemControl(AOwner),
      items_(std::make_unique<TListItems>(this)),
      columns_(std::make_unique<TListColumns>(this)),
      canvas_(std::make_unique<TCanvas>()) {
  InitCommonControlsOnce();
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
  SetBounds(0, 0, 250, 150);
}

TCustomListView::~TCustomListView() {
  // The window goes while the items it asks about still exist.
  Destroying();
  if (HandleAllocated()) DestroyHandle();
  if (smallImages_) smallImages_->RemoveChangeListener(this);
  if (largeImages_) largeImages_->RemoveChangeListener(this);
}

void TCustomListView::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  CreateSubClass(params, WC_LISTVIEWW);
  params.Style |= LVS_SHAREIMAGELISTS | ViewStyleBits(viewStyle_);
  if (viewStyle_ == vsIcon || viewStyle_ == vsSmallIcon) params.Style |= LVS_AUTOARRANGE;
  if (!multiSelect_) params.Style |= LVS_SINGLESEL;
  if (!hideSelection_) params.Style |= LVS_SHOWSELALWAYS;
  if (!columnClick_) params.Style |= LVS_NOSORTHEADER;
  if (!showColumnHeaders_) params.Style |= LVS_NOCOLUMNHEADER;
  if (ownerData_) params.Style |= LVS_OWNERDATA;
  if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

DWORD TCustomListView::ExtendedStyle() const {
  DWORD ex = 0;
  if (checkboxes_) ex |= LVS_EX_CHECKBOXES;
  if (rowSelect_) ex |= LVS_EX_FULLROWSELECT;
  if (gridLines_) ex |= LVS_EX_GRIDLINES;
  return ex;
}

void TCustomListView::UpdateExtendedStyle() {
  if (!HandleAllocated()) return;
  QuietScope quiet(quiet_);
  DWORD mask = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES;
  SendMessageW(WindowHandle(), LVM_SETEXTENDEDLISTVIEWSTYLE, mask, ExtendedStyle());
  checkboxesInWindow_ = checkboxes_;
}

void TCustomListView::UpdateStyleBits(DWORD mask, DWORD bits) {
  if (!HandleAllocated()) return;
  LONG_PTR style = GetWindowLongPtrW(WindowHandle(), GWL_STYLE);
  LONG_PTR next = (style & ~static_cast<LONG_PTR>(mask)) | bits;
  if (next != style) SetWindowLongPtrW(WindowHandle(), GWL_STYLE, next);
}

void TCustomListView::CreateWindowState() {
  QuietScope quiet(quiet_);
  HWND w = WindowHandle();
  SendMessageW(w, LVM_SETBKCOLOR, 0, ColorToRGB(Color()));
  SendMessageW(w, LVM_SETTEXTBKCOLOR, 0, ColorToRGB(Color()));
  SendMessageW(w, LVM_SETTEXTCOLOR, 0, ColorToRGB(Font()->Color()));
  ownerInWindow_ = (GetWindowLongPtrW(w, GWL_STYLE) & LVS_OWNERDATA) != 0;
  ownerWindowCount_ = 0;
  // The check boxes of owner data are ours: the window asks for them.
  if (ownerInWindow_) SendMessageW(w, LVM_SETCALLBACKMASK, LVIS_STATEIMAGEMASK, 0);
  UpdateExtendedStyle();
  UpdateImageLists();
  for (auto& c : columns_->columns_) InsertColumnIntoWindow(c.get());
  int count = items_->Count();
  if (count == 0) return;
  if (ownerInWindow_) {
    SendMessageW(w, LVM_SETITEMCOUNT, count, 0);
    ownerWindowCount_ = count;
    for (auto& item : items_->items_) PushItemState(item.get());
    return;
  }
  // One bulk fill with redrawing off; the rows keep the states saved when
  // the previous window went.
  SendMessageW(w, WM_SETREDRAW, FALSE, 0);
  SendMessageW(w, LVM_SETITEMCOUNT, count, LVSICF_NOINVALIDATEALL);
  for (auto& item : items_->items_) InsertItemIntoWindow(item.get());
  if (items_->UpdateCount() == 0) SendMessageW(w, WM_SETREDRAW, TRUE, 0);
}

void TCustomListView::SaveWindowState() {
  if (HasState(csDestroying) || !HandleAllocated()) return;
  for (auto& c : columns_->columns_) c->width_ = c->Width();
  for (auto& item : items_->items_) {
    UINT s = WindowState(this, item->index_, LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK);
    item->selected_ = (s & LVIS_SELECTED) != 0;
    item->focused_ = (s & LVIS_FOCUSED) != 0;
    if (checkboxesInWindow_ && !ownerInWindow_) item->checked_ = ((s & LVIS_STATEIMAGEMASK) >> 12) == 2;
  }
}

void TCustomListView::InsertColumnIntoWindow(TListColumn* column) {
  if (!HandleAllocated()) return;
  QuietScope quiet(quiet_);
  LVCOLUMNW c{};
  c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
  c.pszText = column->caption_.data();
  c.cx = column->width_;
  c.fmt = ColumnFormat(column->alignment_);
  c.iSubItem = column->index_;
  SendMessageW(WindowHandle(), LVM_INSERTCOLUMNW, column->index_, reinterpret_cast<LPARAM>(&c));
  if (column->width_ < 0)
    SendMessageW(WindowHandle(), LVM_SETCOLUMNWIDTH, column->index_, MAKELPARAM(column->width_, 0));
}

void TCustomListView::InsertItemIntoWindow(TListItem* item) {
  if (!HandleAllocated()) return;
  QuietScope quiet(quiet_);
  if (ownerInWindow_) {
    SyncOwnerCount(item->index_ == items_->Count() - 1);
    PushItemState(item);
    return;
  }
  HWND w = WindowHandle();
  LVITEMW it{};
  it.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
  it.iItem = item->index_;
  it.pszText = LPSTR_TEXTCALLBACKW;
  it.iImage = item->imageIndex_;
  it.lParam = reinterpret_cast<LPARAM>(item);
  SendMessageW(w, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&it));
  PushItemState(item);
}

void TCustomListView::PushItemState(TListItem* item) {
  // New rows start unchecked and unselected; only differences are sent.
  if (checkboxesInWindow_ && !ownerInWindow_ && item->checked_)
    SetWindowState(this, item->index_, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
  UINT s = (item->selected_ ? LVIS_SELECTED : 0) | (item->focused_ ? LVIS_FOCUSED : 0);
  if (s) SetWindowState(this, item->index_, s, LVIS_SELECTED | LVIS_FOCUSED);
}

void TCustomListView::SetViewStyle(TViewStyle v) {
  if (v == viewStyle_) return;
  viewStyle_ = v;
  UpdateStyleBits(LVS_TYPEMASK | LVS_AUTOARRANGE,
                  ViewStyleBits(v) | ((v == vsIcon || v == vsSmallIcon) ? LVS_AUTOARRANGE : 0));
}

void TCustomListView::SetCheckboxes(bool v) {
  if (v == checkboxes_) return;
  if (HandleAllocated() && checkboxesInWindow_)
    for (auto& item : items_->items_) item->checked_ = item->Checked();
  checkboxes_ = v;
  if (!HandleAllocated()) return;
  UpdateExtendedStyle();
  if (ownerInWindow_) {
    InvalidateRect(WindowHandle(), nullptr, TRUE);
  } else if (v) {
    QuietScope quiet(quiet_);
    for (auto& item : items_->items_)
      if (item->checked_) SetWindowState(this, item->index_, INDEXTOSTATEIMAGEMASK(2), LVIS_STATEIMAGEMASK);
  }
}

void TCustomListView::SetRowSelect(bool v) {
  rowSelect_ = v;
  UpdateExtendedStyle();
}

void TCustomListView::SetGridLines(bool v) {
  gridLines_ = v;
  UpdateExtendedStyle();
}

void TCustomListView::SetMultiSelect(bool v) {
  multiSelect_ = v;
  UpdateStyleBits(LVS_SINGLESEL, v ? 0 : LVS_SINGLESEL);
}

void TCustomListView::SetHideSelection(bool v) {
  hideSelection_ = v;
  UpdateStyleBits(LVS_SHOWSELALWAYS, v ? 0 : LVS_SHOWSELALWAYS);
  Invalidate();
}

void TCustomListView::SetColumnClick(bool v) {
  if (v == columnClick_) return;
  columnClick_ = v;
  // The header takes its button style only when it is made.
  RecreateWnd();
}

void TCustomListView::SetShowColumnHeaders(bool v) {
  showColumnHeaders_ = v;
  UpdateStyleBits(LVS_NOCOLUMNHEADER, v ? 0 : LVS_NOCOLUMNHEADER);
}

void TCustomListView::SetOwnerData(bool v) {
  if (v == ownerData_) return;
  ownerData_ = v;
  if (HandleAllocated()) RecreateWnd();
}

void TCustomListView::SyncOwnerCount(bool appended) {
  if (!appended) ownerRepaint_ = true;
  if (!HandleAllocated() || items_->UpdateCount() > 0) return;
  // Rows appended at the end need only their own place painted.
  const LPARAM flags = LVSICF_NOSCROLL | (ownerRepaint_ ? 0 : LVSICF_NOINVALIDATEALL);
  ownerRepaint_ = false;
  SendMessageW(WindowHandle(), LVM_SETITEMCOUNT, items_->Count(), flags);
  ownerWindowCount_ = items_->Count();
}

void TCustomListView::RedrawOwnerRow(int index) {
  if (!HandleAllocated() || index < 0) return;
  // A row the window does not know yet is painted when it learns of it.
  if (index >= ownerWindowCount_) return;
  if (items_->UpdateCount() > 0) ownerRepaint_ = true;
  else SendMessageW(WindowHandle(), LVM_REDRAWITEMS, index, index);
}

bool TCustomListView::ToggleOwnerCheck(int index) {
  if (index < 0 || index >= items_->Count()) return false;
  TListItem* item = items_->Item(index);
  item->checked_ = !item->checked_;
  RedrawOwnerRow(index);
  if (OnChange && quiet_ == 0) OnChange(this, item, ctState);
  return true;
}

// A click on a row's check box (or a double click, as the system's own
// check boxes count it) ticks it; the window itself leaves owner data's
// check boxes alone.
bool TCustomListView::OwnerMouseDown(TMessage& message) {
  LVHITTESTINFO hit{};
  hit.pt.x = static_cast<short>(LOWORD(message.LParam));
  hit.pt.y = static_cast<short>(HIWORD(message.LParam));
  const int index = static_cast<int>(SendMessageW(WindowHandle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  return (hit.flags & LVHT_ONITEMSTATEICON) && ToggleOwnerCheck(index);
}

bool TCustomListView::OwnerKeyDown(TMessage& message) {
  if (message.WParam != VK_SPACE) return false;
  return ToggleOwnerCheck(static_cast<int>(SendMessageW(WindowHandle(), LVM_GETNEXTITEM, -1, LVNI_FOCUSED)));
}

void TCustomListView::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  RecreateWnd();
}

TListItem* TCustomListView::Selected() const {
  if (HandleAllocated()) {
    int i = static_cast<int>(SendMessageW(WindowHandle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                          LVNI_SELECTED));
    return i >= 0 && i < items_->Count() ? items_->Item(i) : nullptr;
  }
  for (auto& item : items_->items_)
    if (item->selected_) return item.get();
  return nullptr;
}

void TCustomListView::SetSelected(TListItem* item) {
  ClearSelection();
  if (item) {
    item->SetSelected(true);
    item->SetFocused(true);
  }
}

int TCustomListView::SelCount() const {
  if (HandleAllocated())
    return static_cast<int>(SendMessageW(WindowHandle(), LVM_GETSELECTEDCOUNT, 0, 0));
  return static_cast<int>(std::count_if(items_->items_.begin(), items_->items_.end(),
                                        [](auto& i) { return i->selected_; }));
}

TListItem* TCustomListView::ItemFocused() const {
  if (HandleAllocated()) {
    int i = static_cast<int>(SendMessageW(WindowHandle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1),
                                          LVNI_FOCUSED));
    return i >= 0 && i < items_->Count() ? items_->Item(i) : nullptr;
  }
  for (auto& item : items_->items_)
    if (item->focused_) return item.get();
  return nullptr;
}

TListItem* TCustomListView::TopItem() const {
  if (items_->Count() == 0) return nullptr;
  if (!HandleAllocated()) return items_->Item(0);
  int i = static_cast<int>(SendMessageW(WindowHandle(), LVM_GETTOPINDEX, 0, 0));
  return i >= 0 && i < items_->Count() ? items_->Item(i) : nullptr;
}

TListItem* TCustomListView::GetItemAt(int x, int y) const {
  if (!HandleAllocated()) return nullptr;
  LVHITTESTINFO hit{};
  hit.pt = POINT{x, y};
  UINT msg = viewStyle_ == vsReport ? LVM_SUBITEMHITTEST : LVM_HITTEST;
  SendMessageW(WindowHandle(), msg, 0, reinterpret_cast<LPARAM>(&hit));
  if (!(hit.flags & LVHT_ONITEM)) return nullptr;
  return hit.iItem >= 0 && hit.iItem < items_->Count() ? items_->Item(hit.iItem) : nullptr;
}

void TCustomListView::SelectAll() {
  if (HandleAllocated()) SetWindowState(this, -1, LVIS_SELECTED, LVIS_SELECTED);
  else
    for (auto& item : items_->items_) item->selected_ = true;
}

void TCustomListView::ClearSelection() {
  if (HandleAllocated()) SetWindowState(this, -1, 0, LVIS_SELECTED);
  else
    for (auto& item : items_->items_) item->selected_ = false;
}

// ---------------------------------------------------------------- image lists

void TCustomListView::SetImageList(TImageList*& slot, TImageList* value) {
  if (slot == value) return;
  TImageList* old = slot;
  slot = value;
  // The other slot may still show the old list.
  if (old && old != smallImages_ && old != largeImages_) {
    old->RemoveChangeListener(this);
    RemoveFreeNotification(old);
  }
  if (value) {
    value->AddChangeListener(this, [this] { UpdateImageLists(); });
    FreeNotification(value);
  }
  UpdateImageLists();
}

void TCustomListView::SetSmallImages(TImageList* v) { SetImageList(smallImages_, v); }
void TCustomListView::SetLargeImages(TImageList* v) { SetImageList(largeImages_, v); }

void TCustomListView::UpdateImageLists() {
  if (!HandleAllocated()) return;
  HIMAGELIST small = smallImages_ ? smallImages_->Handle() : nullptr;
  HIMAGELIST large = largeImages_ ? largeImages_->Handle() : nullptr;
  SendMessageW(WindowHandle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(small));
  SendMessageW(WindowHandle(), LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(large));
}

void TCustomListView::Notification(TComponent* component, TOperation operation) {
  TSystemControl::Notification(component, operation);
  if (operation != TOperation::opRemove) return;
  bool changed = false;
  if (component == smallImages_) { smallImages_ = nullptr; changed = true; }
  if (component == largeImages_) { largeImages_ = nullptr; changed = true; }
  if (changed && !HasState(csDestroying)) UpdateImageLists();
}

// ---------------------------------------------------------------- notifications

void TCustomListView::GetDispInfo(NMLVDISPINFOW* info) {
  LVITEMW& it = info->item;
  if (it.iItem < 0 || it.iItem >= items_->Count()) return;
  TListItem* item = items_->Item(it.iItem);
  if (it.mask & LVIF_IMAGE) it.iImage = item->imageIndex_;
  if ((it.mask & LVIF_STATE) && ownerInWindow_ && checkboxes_ && it.iSubItem == 0) {
    it.state = (it.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(item->checked_ ? 2 : 1);
    it.stateMask |= LVIS_STATEIMAGEMASK;
  }
  if (!(it.mask & LVIF_TEXT)) return;
  std::wstring sub;
  const std::wstring* text = &item->caption_;
  if (it.iSubItem > 0) {
    if (it.iSubItem - 1 < item->SubItems()->Count()) sub = item->SubItems()->Strings(it.iSubItem - 1);
    text = &sub;
  }
  if (info->hdr.code == LVN_GETDISPINFOW) {
    if (it.pszText && it.cchTextMax > 0) lstrcpynW(it.pszText, text->c_str(), it.cchTextMax);
    else {
      dispText_ = *text;
      it.pszText = dispText_.data();
    }
  } else {
    // A window that asked in ANSI gets the text in the ANSI code page.
    auto* a = reinterpret_cast<NMLVDISPINFOA*>(info);
    if (a->item.pszText && a->item.cchTextMax > 0) {
      int n = WideCharToMultiByte(CP_ACP, 0, text->c_str(), -1, a->item.pszText, a->item.cchTextMax,
                                  nullptr, nullptr);
      if (n == 0) a->item.pszText[a->item.cchTextMax - 1] = '\0';
    }
  }
}

void TCustomListView::ItemChanged(const NMLISTVIEW* nm) {
  if (quiet_ > 0 || !(nm->uChanged & LVIF_STATE)) return;
  if (nm->iItem < 0 || nm->iItem >= items_->Count()) return;
  TListItem* item = items_->Item(nm->iItem);
  if (((nm->uOldState ^ nm->uNewState) & LVIS_SELECTED) && OnSelectItem)
    OnSelectItem(this, item, (nm->uNewState & LVIS_SELECTED) != 0);
  if (OnChange) OnChange(this, item, ctState);
}

LRESULT TCustomListView::CustomDraw(NMLVCUSTOMDRAW* cd) {
  if (!OnAdvancedCustomDraw) return CDRF_DODEFAULT;
  TCustomDrawStage stage;
  switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT: stage = cdPrePaint; break;
    case CDDS_POSTPAINT: stage = cdPostPaint; break;
    case CDDS_PREERASE: stage = cdPreErase; break;
    case CDDS_POSTERASE: stage = cdPostErase; break;
    default: return CDRF_DODEFAULT;  // item stages are the system's
  }
  bool defaultDraw = true;
  canvas_->Lock();
  canvas_->SetHandle(cd->nmcd.hdc);
  canvas_->Font()->Assign(Font());
  canvas_->Brush()->SetColor(Color());
  try {
    OnAdvancedCustomDraw(this, cd->nmcd.rc, stage, defaultDraw);
  } catch (...) {
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
    throw;
  }
  canvas_->SetHandle(nullptr);
  canvas_->Unlock();
  LRESULT r = defaultDraw ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
  // Later stages of this paint come to the handler too.
  if (stage == cdPrePaint) r |= CDRF_NOTIFYPOSTPAINT;
  if (stage == cdPreErase) r |= CDRF_NOTIFYPOSTERASE;
  return r;
}

void TCustomListView::CNNotify(TMessage& message) {
  auto* hdr = reinterpret_cast<NMHDR*>(message.LParam);
  switch (hdr->code) {
    case LVN_GETDISPINFOW:
    case LVN_GETDISPINFOA:
      GetDispInfo(reinterpret_cast<NMLVDISPINFOW*>(hdr));
      return;
    case LVN_ITEMCHANGED:
      ItemChanged(reinterpret_cast<NMLISTVIEW*>(hdr));
      return;
    case LVN_DELETEALLITEMS:
      message.Result = TRUE;  // no LVN_DELETEITEM per row
      return;
    case LVN_COLUMNCLICK: {
      int col = reinterpret_cast<NMLISTVIEW*>(hdr)->iSubItem;
      if (OnColumnClick && col >= 0 && col < columns_->Count()) OnColumnClick(this, columns_->Items(col));
      return;
    }
    case NM_CLICK:
      Click();
      return;
    case NM_DBLCLK:
      DblClick();
      return;
    case NM_CUSTOMDRAW:
      message.Result = CustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(hdr));
      return;
  }
  DefaultHandler(message);
}

void TCustomListView::WndProc(TMessage& message) {
  switch (message.Msg) {
    case CN_NOTIFY:
      CNNotify(message);
      return;
    case CM_COLORCHANGED:
      if (HandleAllocated()) {
        SendMessageW(WindowHandle(), LVM_SETBKCOLOR, 0, ColorToRGB(Color()));
        SendMessageW(WindowHandle(), LVM_SETTEXTBKCOLOR, 0, ColorToRGB(Color()));
      }
      break;
    case CM_FONTCHANGED:
      if (HandleAllocated()) SendMessageW(WindowHandle(), LVM_SETTEXTCOLOR, 0, ColorToRGB(Font()->Color()));
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (ownerInWindow_ && checkboxes_) OwnerMouseDown(message);
      break;
    case WM_KEYDOWN:
      if (ownerInWindow_ && checkboxes_) OwnerKeyDown(message);
      break;
  }
  TSystemControl::WndProc(message);
}
