#include "skin/controls/AlphaListBox.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/Handles.h"
#include "framework/SysUtils.h"
#include "skin/engine/BmpView.h"
#include "skin/engine/CacheCopy.h"
#include "skin/engine/FastPixels.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinMessages.h"

TsAlphaListBox::TsAlphaListBox(TComponent* AOwner)
    : TsSkinnedControl(AOwner, ckAlphaListBox),
      BoundLabel(NewBoundLabel(SkinData.get())),
      items_(std::make_unique<TListBoxStrings>(this)),
      canvas_(std::make_unique<TCanvas>()) {
  SetBounds(0, 0, 121, 97);
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

TsAlphaListBox::~TsAlphaListBox() {
  editWnd_.reset();
  BoundLabel.reset();
}

void TsAlphaListBox::Loaded() {
  TsSkinnedControl::Loaded();
  if (IsSkinned()) ApplySkinColors();
}

void TsAlphaListBox::ApplySkinColors() {
  const TsGeneralData* s = SkinData->Section();
  if (!s) return;
  if (!SkinData->CustomColor()) SetColor(s->Color);
  if (!SkinData->CustomFont()) Font()->SetColor(s->FontColor[0]);
}

LRESULT TsAlphaListBox::Send(UINT msg, WPARAM w, LPARAM l) const {
  // The items live in the window: it is made when first needed.
  HWND wnd = const_cast<TsAlphaListBox*>(this)->Handle();
  return ::SendMessageW(wnd, msg, w, l);
}

// ---------------------------------------------------------------- window

void TsAlphaListBox::CreateParams(TCreateParams& params) {
  TsSkinnedControl::CreateParams(params);
  CreateSubClass(params, L"LISTBOX");
  DWORD style = WS_VSCROLL | LBS_NOTIFY;
  style |= IsVirtual() ? LBS_NODATA : LBS_HASSTRINGS;
  if (style_ == lbOwnerDrawFixed || IsVirtual()) style |= LBS_OWNERDRAWFIXED;
  if (style_ == lbOwnerDrawVariable) style |= LBS_OWNERDRAWVARIABLE;
  if (sorted_) style |= LBS_SORT;
  if (multiSelect_) style |= LBS_EXTENDEDSEL;
  if (!integralHeight_) style |= LBS_NOINTEGRALHEIGHT;
  if (columns_ != 0) style |= LBS_MULTICOLUMN | WS_HSCROLL;
  if (tabWidth_ != 0) style |= LBS_USETABSTOPS;
  if (!autoHideScroll_) style |= LBS_DISABLENOSCROLL;
  params.Style |= style;
  // New-style controls: the sunken client edge in place of a flat border.
  if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TsAlphaListBox::CreateWindowState() {
  TsSkinnedControl::CreateWindowState();
  editWnd_.reset();  // belonged to the old window
  if (tabWidth_ != 0) {
    int tabs = tabWidth_;
    ::SendMessageW(WindowHandle(), LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabs));
  }
  if (style_ != lbStandard && style_ != lbOwnerDrawVariable)
    ::SendMessageW(WindowHandle(), LB_SETITEMHEIGHT, 0, itemHeight_);
  SetColumnWidth();
  if (oldCount_ != -1 || saveItems_) {
    if (IsVirtual() && oldCount_ != -1) SetCount(oldCount_);
    if (saveItems_) {
      std::unique_ptr<TStringList> saved = std::move(saveItems_);
      items_->Assign(saved.get());
    }
    SetTopIndex(saveTopIndex_);
    SetItemIndex(saveItemIndex_);
    oldCount_ = -1;
  }
  if (IsShowing()) RefreshEditWnd(SkinData.get(), editWnd_);
}

// Before the window goes (a style change recreates it) its items, top item
// and current item are kept; nothing is kept when the control goes.
void TsAlphaListBox::SaveWindowState() {
  TsSkinnedControl::SaveWindowState();
  editWnd_.reset();
  if (Destroying()) return;
  const int n = static_cast<int>(::SendMessageW(WindowHandle(), LB_GETCOUNT, 0, 0));
  if (n > 0) {
    if (IsVirtual()) {
      oldCount_ = n;
    } else {
      saveItems_ = std::make_unique<TStringList>();
      saveItems_->Assign(items_.get());
    }
  }
  saveTopIndex_ = TopIndex();
  saveItemIndex_ = ItemIndex();
}

void TsAlphaListBox::RecreateIfWindowed() {
  if (HandleAllocated()) RecreateWnd();
}

// Columns share the width; the last few pixels go to the scroll bar's
// neighbourhood as the platform's own list boxes do.
void TsAlphaListBox::SetColumnWidth() {
  if (columns_ <= 0 || Width() <= 0 || !HandleAllocated()) return;
  const int w = std::max(1, (Width() + columns_ - 3) / columns_);
  ::SendMessageW(WindowHandle(), LB_SETCOLUMNWIDTH, w, 0);
}

// ---------------------------------------------------------------- properties

void TsAlphaListBox::SetItems(TStrings* source) {
  if (style_ == lbVirtual) SetStyle(lbStandard);
  else if (style_ == lbVirtualOwnerDraw) SetStyle(lbOwnerDrawFixed);
  items_->Assign(source);
}

void TsAlphaListBox::SetAutoHideScroll(bool v) {
  if (v == autoHideScroll_) return;
  autoHideScroll_ = v;
  RecreateIfWindowed();
}

void TsAlphaListBox::SetBorderStyle(TBorderStyle v) {
  if (v == borderStyle_) return;
  borderStyle_ = v;
  RecreateIfWindowed();
}

void TsAlphaListBox::SetColumns(int v) {
  if (v == columns_) return;
  const bool recreate = v == 0 || columns_ == 0;
  columns_ = v;
  if (recreate) RecreateIfWindowed();
  else SetColumnWidth();
}

int TsAlphaListBox::ItemHeight() const {
  if (HandleAllocated() && style_ == lbStandard) {
    RECT r{};
    ::SendMessageW(WindowHandle(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    return r.bottom - r.top;
  }
  return itemHeight_;
}

void TsAlphaListBox::SetItemHeight(int v) {
  if (v < 1 || v == itemHeight_) return;
  itemHeight_ = v;
  RecreateIfWindowed();
}

void TsAlphaListBox::SetStyle(TListBoxStyle v) {
  if (v == style_) return;
  if (v == lbVirtual || v == lbVirtualOwnerDraw) {
    // A list without data has no strings to keep or sort.
    if (HandleAllocated() && !IsVirtual()) items_->Clear();
    sorted_ = false;
    count_ = 0;
  }
  style_ = v;
  RecreateIfWindowed();
}

void TsAlphaListBox::SetIntegralHeight(bool v) {
  if (v == integralHeight_) return;
  integralHeight_ = v;
  RecreateIfWindowed();
  RequestAlign();
}

void TsAlphaListBox::SetMultiSelect(bool v) {
  if (v == multiSelect_) return;
  multiSelect_ = v;
  RecreateIfWindowed();
}

void TsAlphaListBox::SetSorted(bool v) {
  if (IsVirtual() || v == sorted_) return;
  sorted_ = v;
  RecreateIfWindowed();
}

void TsAlphaListBox::SetTabWidth(int v) {
  v = std::max(v, 0);
  if (v == tabWidth_) return;
  tabWidth_ = v;
  RecreateIfWindowed();
}

void TsAlphaListBox::SetDisabledKind(TsDisabledKind v) {
  if (v == disabledKind_) return;
  disabledKind_ = v;
  SkinData->Invalidate();
}

// ---------------------------------------------------------------- messages

void TsAlphaListBox::WndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD && SkinCommand(m)) return;
  if (IsVirtual() && (m.Msg == LB_GETTEXT || m.Msg == LB_GETTEXTLEN) && AnswerTextRequest(m)) return;
  switch (m.Msg) {
    case CN_COMMAND:
      CNCommand(m);
      return;
    case CN_DRAWITEM:
      CNDrawItem(m);
      return;
    case CN_MEASUREITEM:
      CNMeasureItem(m);
      return;
    case CN_DELETEITEM:
      m.Result = TRUE;
      return;
    case CM_ENABLEDCHANGED:
      SkinData->BGChanged = true;
      if (HandleAllocated() && IsSkinned()) {
        Perform(WM_NCPAINT, 0, 0);
        ::InvalidateRect(WindowHandle(), nullptr, TRUE);
      }
      break;
    case WM_ERASEBKGND:
      if (IsSkinned() && m.WParam) {
        WMEraseBkgnd(m);
        return;
      }
      break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
      if (IsSkinned() && editWnd_ && !SkinData->GetUpdating()) {
        TsSkinnedControl::WndProc(m);
        PaintRemainder(reinterpret_cast<HDC>(m.WParam));
        return;
      }
      break;
  }
  if (!ControlIsReady(this) || !IsSkinned()) {
    TsSkinnedControl::WndProc(m);
  } else {
    if (!CommonWndProc(m, SkinData.get())) TsSkinnedControl::WndProc(m);
  }
  AfterDefault(m);
  FollowBoundLabel(BoundLabel.get(), this, m.Msg);
}

TacSkinChangeRule TsAlphaListBox::SkinChangeRule(WORD) const {
  TacSkinChangeRule rule;
  rule.handledForOthers = false;
  return rule;
}

bool TsAlphaListBox::BeforeSkinChange(TMessage& m) {
  if (SkinCmdOf(m) == AC_REMOVESKIN) editWnd_.reset();
  return true;
}

void TsAlphaListBox::AfterSkinChange(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_REMOVESKIN:
      RestoreWindowColours(*SkinData, this);
      if (!Destroying()) RecreateIfWindowed();
      return;
    case AC_REFRESH:
      if (IsSkinned()) ApplySkinColors();
      RefreshEditWnd(SkinData.get(), editWnd_);
      if (HandleAllocated()) {
        Repaint();
        Perform(WM_NCPAINT, 0, 0);
      }
      return;
  }
}

// A parent that has painted names no manager.
bool TsAlphaListBox::OtherSkinCommand(TMessage& m) {
  if (SkinCmdOf(m) != AC_ENDPARENTUPDATE || !SkinData->GetUpdating()) return false;
  SkinData->Updating = false;
  if (HandleAllocated()) {
    Repaint();
    ::SendMessageW(WindowHandle(), WM_NCPAINT, 0, 0);
  }
  return true;
}

// The virtual styles' texts come from OnData.
bool TsAlphaListBox::AnswerTextRequest(TMessage& m) {
  const int index = static_cast<int>(m.WParam);
  if (OnData && index >= 0 && index < count_) {
    const std::wstring s = DoGetData(index);
    if (m.Msg == LB_GETTEXT && m.LParam)
      std::copy(s.c_str(), s.c_str() + s.size() + 1, reinterpret_cast<wchar_t*>(m.LParam));
    m.Result = static_cast<LRESULT>(s.size());
  } else {
    m.Result = LB_ERR;
  }
  return true;
}

void TsAlphaListBox::AfterDefault(const TMessage& m) {
  switch (m.Msg) {
    case WM_SIZE:
    case CM_ENABLEDCHANGED:
      if (!HasState(csLoading) && !(ControlState() & csCreating)) SetColumnWidth();
      break;
    case CM_SHOWINGCHANGED:
      if (HandleAllocated()) RefreshEditWnd(SkinData.get(), editWnd_);
      break;
    case CM_FONTCHANGED:
      FontChanged();
      break;
  }
}

void TsAlphaListBox::FontChanged() {
  if (HasState(csLoading)) return;
  SkinData->BGChanged = true;
  if (!HandleAllocated()) return;
  Repaint();
  // A standard list box's rows follow the font's height; the window
  // measures them itself, so nothing needs to be made again.
  if (style_ == lbStandard) {
    RECT r{};
    ::SendMessageW(WindowHandle(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    if (r.bottom > r.top) itemHeight_ = r.bottom - r.top;
  }
}

void TsAlphaListBox::CNCommand(TMessage& m) {
  switch (HIWORD(m.WParam)) {
    case LBN_SELCHANGE:
      Perform(CM_CHANGED, 0, 0);
      Click();
      break;
    case LBN_DBLCLK:
      DblClick();
      break;
  }
}

// The skin's image of the control behind the items (the frame's width in
// from its edges); a disabled list box shows it blended with the parent.
void TsAlphaListBox::WMEraseBkgnd(TMessage& m) {
  m.Result = 1;
  if (Destroying() || HasState(csLoading) || !editWnd_) return;
  SkinData->Updating = SkinData->GetUpdating();
  if (SkinData->Updating) return;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  TBitmap* cache = SkinData->CacheBmp.get();
  if (!cache || cache->Empty()) return;
  SaveDCScope state(dc);
  const int e = editWnd_->LeftEdge;
  const int w = Width() - 2 * e, h = Height() - 2 * e;
  if (Enabled()) {
    CopyWinControlCache(this, SkinData.get(), TRect{e, e, 0, 0}, TRect{0, 0, w, h}, dc, true, 0, 0);
    return;
  }
  auto copy = CreateBmp24(cache->Width(), cache->Height());
  ::BitBlt(copy->Canvas()->Handle(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(),
           0, 0, SRCCOPY);
  const TCacheInfo ci = GetParentCache(SkinData.get());
  if (ci.Ready) ApplyDisabledKind(TacBmpView(*copy), dkBlended, Parent(), ci, TPoint{Left(), Top()});
  ::BitBlt(dc, 0, 0, w, h, copy->Canvas()->Handle(), e, e, SRCCOPY);
}

// The window's own paint also fills the room that no item covers (below
// the last item, right of the last column); that room shows the skin's
// image as the erase put it there.
void TsAlphaListBox::PaintRemainder(HDC given) {
  TBitmap* cache = SkinData->CacheBmp.get();
  if (!cache || cache->Empty() || !Enabled()) return;
  HWND wnd = WindowHandle();
  UniqueWindowDC own;
  HDC dc = given;
  if (!dc) {
    own = UniqueWindowDC::Client(wnd);
    dc = own.get();
  }
  SaveDCScope state(dc);
  RECT client;
  ::GetClientRect(wnd, &client);
  const int n = static_cast<int>(::SendMessageW(wnd, LB_GETCOUNT, 0, 0));
  for (int i = std::max(TopIndex(), 0); i < n; ++i) {
    RECT r{};
    if (::SendMessageW(wnd, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)) == LB_ERR) break;
    if (r.top >= client.bottom || r.left >= client.right) break;
    ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  const int e = editWnd_->LeftEdge;
  ::BitBlt(dc, 0, 0, client.right, client.bottom, cache->Canvas()->Handle(), e, e, SRCCOPY);
}

// ---------------------------------------------------------------- items

void TsAlphaListBox::CNMeasureItem(TMessage& m) {
  auto* mi = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
  int height = itemHeight_;
  if (style_ == lbOwnerDrawVariable) MeasureItem(static_cast<int>(mi->itemID), height);
  mi->itemHeight = static_cast<UINT>(height);
  m.Result = TRUE;
}

void TsAlphaListBox::MeasureItem(int index, int& height) {
  if (OnMeasureItem) OnMeasureItem(this, index, height);
}

void TsAlphaListBox::CNDrawItem(TMessage& m) {
  m.Result = TRUE;
  auto* di = reinterpret_cast<DRAWITEMSTRUCT*>(m.LParam);
  SkinData->Updating = SkinData->GetUpdating();
  if (SkinData->Updating && IsSkinned()) return;
  if (items_->Count() == 0) return;
  const TOwnerDrawState state = OwnerDrawStateFromODS(LOWORD(di->itemState));
  canvas_->Lock();
  canvas_->SetHandle(di->hDC);
  canvas_->Font()->Assign(Font());
  canvas_->Brush()->Assign(Brush());
  const bool ownerDrawn =
      (style_ == lbOwnerDrawFixed || style_ == lbOwnerDrawVariable || style_ == lbVirtualOwnerDraw) &&
      OnDrawItem;
  const int index = static_cast<int>(di->itemID);
  if (!ownerDrawn && index >= 0 &&
      ((state & odSelected) || (index == ItemIndex() && !Focused()))) {
    canvas_->Brush()->SetColor(clHighlight);
    canvas_->Font()->SetColor(clHighlightText);
  } else if (!SkinData->CustomFont()) {
    canvas_->Font()->SetColor(Enabled() ? Font()->Color() : MidColor(Font()->Color(), Color()));
  }
  try {
    DrawItem(index, di->rcItem, state);
  } catch (...) {
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
    throw;
  }
  canvas_->SetHandle(nullptr);
  canvas_->Unlock();
}

void TsAlphaListBox::DrawItem(int index, RECT rect, TOwnerDrawState state) {
  if (index < 0) return;
  canvas_->FillRect(rect);
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    if (state & odFocused) canvas_->DrawFocusRect(rect);
    return;
  }
  if (index >= items_->Count()) return;
  RECT r = rect;
  r.left += 2;
  const std::wstring text = IsVirtual() ? DoGetData(index) : items_->Strings(index);
  HDC dc = canvas_->Handle();
  ::SetBkMode(dc, TRANSPARENT);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (state & odFocused) ::DrawFocusRect(dc, &rect);
}

// Repaints one item at once through the control's own drawing.
void TsAlphaListBox::RedrawItem(int index) {
  if (!HandleAllocated()) return;
  HWND wnd = WindowHandle();
  UniqueWindowDC dc = UniqueWindowDC::Client(wnd);
  SaveDCScope state(dc.get());
  DRAWITEMSTRUCT di{};
  di.CtlType = ODT_LISTBOX;
  di.CtlID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(wnd));
  di.itemID = static_cast<UINT>(index);
  di.itemAction = ODA_DRAWENTIRE;
  if (multiSelect_ && Selected(index)) di.itemState = ODS_SELECTED;
  if (Focused() && index == ItemIndex()) di.itemState |= ODS_SELECTED | ODS_FOCUS;
  di.hwndItem = wnd;
  di.hDC = dc.get();
  di.rcItem = ItemRect(index);
  Perform(CN_DRAWITEM, reinterpret_cast<WPARAM>(wnd), reinterpret_cast<LPARAM>(&di));
}

int TsAlphaListBox::ItemAtPos(POINT pos, bool existing) const {
  if (!HandleAllocated()) return -1;
  RECT client;
  ::GetClientRect(WindowHandle(), &client);
  if (!::PtInRect(&client, pos)) return -1;
  const int n = items_->Count();
  for (int i = std::max(TopIndex(), 0); i < n; ++i) {
    RECT r{};
    if (Send(LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r)) != LB_ERR && ::PtInRect(&r, pos))
      return i;
  }
  return existing ? -1 : n;
}

RECT TsAlphaListBox::ItemRect(int index) const {
  RECT r{};
  const int n = items_->Count();
  if (index == 0 || (index >= 0 && index < n)) {
    Send(LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  } else if (index == n && n > 0) {
    Send(LB_GETITEMRECT, n - 1, reinterpret_cast<LPARAM>(&r));
    ::OffsetRect(&r, 0, r.bottom - r.top);
  }
  return r;
}
