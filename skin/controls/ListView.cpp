#include "skin/controls/ListView.h"

#include <commctrl.h>
#include <windowsx.h>

#include "skin/engine/ControlUtils.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinMessages.h"
#include "skin/windows/ScrollWnd.h"

TsCustomListView::TsCustomListView(TComponent* AOwner)
    : TsSkinnedControl(AOwner, ckListView),
      BoundLabel(NewBoundLabel(SkinData.get())) {
  SkinData->BGChanged = true;
  SkinData->RebuildCache = [this] { RebuildCache(); };
}

TsCustomListView::~TsCustomListView() {
  listAdapter_.reset();
  header_.reset();
  BoundLabel.reset();
}

void TsCustomListView::AfterConstruction() {
  loading_ = true;
  TsSkinnedControl::AfterConstruction();
  loading_ = false;
}

void TsCustomListView::Loaded() {
  loading_ = true;
  TsSkinnedControl::Loaded();
  if (IsSkinned()) {
    const TsGeneralData* s = SkinData->Section();
    if (s && !SkinData->CustomColor()) SetColor(s->Color);
    if (s && !SkinData->CustomFont()) Font()->SetColor(s->FontColor[0]);
  }
  loading_ = false;
}

void TsCustomListView::CreateWindowState() {
  TCustomListView::CreateWindowState();
  // A new window: the adapter and the header of the old one are gone.
  listAdapter_.reset();
  header_.reset();
  if (HWND header = ListView_GetHeader(WindowHandle())) SubclassHeader(header);
  if (IsShowing()) RefreshAdapter();
}

void TsCustomListView::WndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD && SkinCommand(m)) return;
  if (m.Msg == WM_PARENTNOTIFY &&
      (LOWORD(m.WParam) == WM_CREATE || LOWORD(m.WParam) == WM_DESTROY)) {
    HWND child = reinterpret_cast<HWND>(m.LParam);
    wchar_t cls[32] = {};
    ::GetClassNameW(child, cls, 32);
    if (lstrcmpiW(cls, WC_HEADERW) == 0) {
      header_.reset();
      if (LOWORD(m.WParam) == WM_CREATE) SubclassHeader(child);
    }
  }
  if (!IsSkinned() || !HandleAllocated() || HasState(csLoading)) {
    TCustomListView::WndProc(m);
  } else {
    SkinnedMessage(m);
  }
  FollowBoundLabel(BoundLabel.get(), this, m.Msg);
}

// The commands every list view answers; those of other managers go on.
TacSkinChangeRule TsCustomListView::SkinChangeRule(WORD) const {
  TacSkinChangeRule rule;
  rule.handledForOthers = false;
  return rule;
}

bool TsCustomListView::BeforeSkinChange(TMessage& m) {
  // Items stay still while the look changes under them.
  if (SkinCmdOf(m) != AC_SETNEWSKIN) Items()->BeginUpdate();
  return true;
}

void TsCustomListView::AfterSkinChange(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_REMOVESKIN:
      RestoreWindowColours(*SkinData, this);
      listAdapter_.reset();
      Items()->EndUpdate();
      if (!Destroying()) RecreateWnd();
      return;
    case AC_REFRESH:
      if (IsSkinned() && !loading_ && HandleAllocated()) {
        if (const TsGeneralData* s = SkinData->Section()) {
          if (!SkinData->CustomColor()) SetColor(s->Color);
          if (!SkinData->CustomFont()) Font()->SetColor(s->FontColor[0]);
        }
        RenewTextBkColor();
        RefreshAdapter();
        ::RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
        if (HWND header = HeaderHandle()) ::InvalidateRect(header, nullptr, TRUE);
      }
      Items()->EndUpdate();
      return;
  }
}

bool TsCustomListView::OtherSkinCommand(TMessage& m) {
  if (SkinCmdOf(m) != AC_ENDPARENTUPDATE || !ForUs(m)) return false;
  if (HandleAllocated()) PaintHeader();
  return true;
}

void TsCustomListView::SkinnedMessage(TMessage& m) {
  switch (m.Msg) {
    case LVM_SETCOLUMNA:
    case LVM_SETCOLUMNW:
    case LVM_INSERTCOLUMNA:
    case LVM_INSERTCOLUMNW:
      // Image -1 would reach the header as "ask for the image": a column
      // without one keeps none.
      if (auto* c = reinterpret_cast<LVCOLUMNW*>(m.LParam); c && c->iImage == -1)
        c->mask &= ~static_cast<UINT>(LVCF_IMAGE);
      break;
    case CN_NOTIFY:
      if (reinterpret_cast<NMHDR*>(m.LParam)->code == NM_CUSTOMDRAW &&
          reinterpret_cast<NMHDR*>(m.LParam)->hwndFrom == WindowHandle()) {
        CustomDrawNotify(m);
        return;
      }
      break;
    case WM_ERASEBKGND:
      SkinData->Updating = SkinData->GetUpdating();
      if (SkinData->Updating) {
        m.Result = 1;
        return;
      }
      break;
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (LOWORD(m.WParam) == SB_THUMBTRACK) {
        ThumbScroll(m);
        return;
      }
      TCustomListView::WndProc(m);
      InvalidateIfTextured(false);
      return;
    case WM_NCHITTEST:
      TCustomListView::WndProc(m);
      // The mouse is over the list, so no longer over the header.
      if (hotColumn_ >= 0 && HighlightHeaders) SetHotColumn(-2);
      return;
    case CM_MOUSELEAVE:
      MouseLeft(m);
      return;
    case WM_PRINTCLIENT:
      // The adapter prints the client area with this message into a DC
      // whose origin and clip are the client's; the header, a child
      // window, is added at its place.
      TCustomListView::WndProc(m);
      if (m.WParam && ReportSkinned()) PrintHeader(reinterpret_cast<HDC>(m.WParam));
      return;
  }
  if (CommonWndProc(m, SkinData.get())) return;
  TCustomListView::WndProc(m);
  AfterDefault(m);
}

void TsCustomListView::AfterDefault(const TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEWHEEL:
    case CM_MOUSEWHEEL:
      if (LOWORD(m.WParam) == 0) InvalidateIfTextured(false);
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
      if (m.WParam >= VK_PRIOR && m.WParam <= VK_DOWN) InvalidateIfTextured(false);
      break;
    case WM_MOVE:
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
      if (Destroying() || !HandleAllocated()) break;
      if (::IsWindowVisible(WindowHandle())) Perform(WM_NCPAINT, 0, 0);
      InvalidateIfTextured(true);
      break;
    case WM_STYLECHANGED:
      ::SendMessageW(WindowHandle(), LVM_SCROLL, 0, 0);
      if (listAdapter_) UpdateScrolls(listAdapter_.get(), true);
      break;
    case WM_NCPAINT:
      PaintHeader();
      break;
    case CM_SHOWINGCHANGED:
      RenewTextBkColor();
      RefreshAdapter();
      break;
  }
}

// The user's handler has run (through the framework); the skin's
// background follows at the start of the list's paint, and the list
// erases nothing itself.
void TsCustomListView::CustomDrawNotify(TMessage& m) {
  TCustomListView::WndProc(m);
  auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(m.LParam);
  switch (cd->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      PaintListBackground(cd->nmcd.hdc);
      break;
    case CDDS_PREERASE:
    case CDDS_POSTERASE:
      m.Result = CDRF_SKIPDEFAULT;
      break;
  }
}

void TsCustomListView::RebuildCache() {
  SkinData->InitCacheBmp();
  PaintSkinControl(SkinData.get(), GetParentCache(SkinData.get()), false, 0,
                   TRect{0, 0, Width(), Height()}, TPoint{Left(), Top()},
                   SkinData->CacheBmp.get(), false);
  SkinData->BGChanged = false;
}

bool TsCustomListView::Textured() {
  return QuerySkinCmd(this, AC_ISTEXTURED) || SkinData->DependsOnParentBg();
}

void TsCustomListView::PaintListBackground(HDC dc) {
  SkinData->Updating = SkinData->GetUpdating();
  if (SkinData->Updating) return;
  TBitmap* cache = SkinData->CacheBmp.get();
  if (SkinData->BGChanged || !cache || cache->Empty()) RebuildCache();
  cache = SkinData->CacheBmp.get();
  if (Textured()) {
    const int e = listAdapter_ ? listAdapter_->LeftEdge : 0;
    RECT rc;
    ::GetClientRect(WindowHandle(), &rc);
    ::BitBlt(dc, 0, 0, rc.right, rc.bottom, cache->Canvas()->Handle(), e, e, SRCCOPY);
    if (!SkinData->CustomColor()) {
      ::SetBkMode(dc, TRANSPARENT);
      ListView_SetTextBkColor(WindowHandle(), CLR_NONE);
      ListView_SetBkColor(WindowHandle(), CLR_NONE);
    }
  } else if (!SkinData->CustomColor()) {
    const TColor c = RequestBGColor(this);
    if (c != clFuchsia && c != Color()) SetColor(c);
  }
}

// The thumb is dragged by the skinned bar: the list scrolls by the
// thumb's travel itself (in rows for the report view's vertical bar).
void TsCustomListView::ThumbScroll(TMessage& m) {
  const bool vert = m.Msg == WM_VSCROLL;
  HWND wnd = WindowHandle();
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  ::GetScrollInfo(wnd, vert ? SB_VERT : SB_HORZ, &si);
  const int delta = static_cast<int>(HIWORD(m.WParam)) - si.nPos;
  if (delta != 0) {
    int dx = 0, dy = 0;
    if (vert) {
      dy = delta;
      if (ViewStyle() == vsReport) {
        RECT r{};
        r.left = LVIR_BOUNDS;
        if (ListView_GetItemCount(wnd) > 0 && ::SendMessageW(wnd, LVM_GETITEMRECT, 0,
                                                              reinterpret_cast<LPARAM>(&r)))
          dy = delta * (r.bottom - r.top);
      }
    } else {
      dx = delta;
    }
    ::SendMessageW(wnd, LVM_SCROLL, dx, dy);
  }
  m.Result = 0;
  InvalidateIfTextured(false);
  if (!vert)
    if (HWND header = HeaderHandle()) ::InvalidateRect(header, nullptr, FALSE);
}

// A textured background scrolls with the rows only where the platform
// cannot shift what it already painted.
void TsCustomListView::InvalidateIfTextured(bool forceAll) {
  if (!HandleAllocated() || !IsSkinned() || !Textured()) return;
  HWND wnd = WindowHandle();
  if (forceAll) {
    ::InvalidateRect(wnd, nullptr, TRUE);
    return;
  }
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_ALL;
  if (ViewStyle() == vsList) {
    ::GetScrollInfo(wnd, SB_HORZ, &si);
    if (si.nPos > si.nMin && si.nPos < si.nMax) ::InvalidateRect(wnd, nullptr, TRUE);
  } else if (ViewStyle() == vsReport) {
    ::GetScrollInfo(wnd, SB_VERT, &si);
    const int limit = si.nMax - Font()->Size() - 3;
    if (si.nPos < limit && si.nPos > si.nMin) ::InvalidateRect(wnd, nullptr, TRUE);
  }
}

// One mouse-leave event per leave; a hot column button goes cold.
void TsCustomListView::MouseLeft(TMessage& m) {
  if (ViewStyle() == vsReport && hotColumn_ >= 0) SetHotColumn(-2);
  TCustomListView::WndProc(m);
}

void TsCustomListView::RefreshAdapter() { RefreshEditWnd(SkinData.get(), listAdapter_); }

void TsCustomListView::RenewTextBkColor() {
  if (!HandleAllocated()) return;
  ListView_SetTextBkColor(WindowHandle(), ColorToRGB(Color()));
}
