#include "skin/controls/ScrollBox.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Handles.h"
#include "skin/engine/CacheCopy.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/Corners.h"
#include "skin/engine/PaintPrimitives.h"

TsScrollBox::TsScrollBox(TComponent* AOwner) : TsScrollBox(AOwner, ckScrollBox) {}

TsScrollBox::TsScrollBox(TComponent* AOwner, int kind) : TsSkinnedControl(AOwner, kind) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
  SetBounds(Left(), Top(), 185, 41);
  SetAutoScroll(true);
  // Only the vertical bar, over a height its owner sets, in 16-pixel lines.
  HorzScrollBar()->SetVisible(false);
  VertScrollBar()->SetRange(0);
  VertScrollBar()->SetIncrement(16);
}

TsScrollBox::~TsScrollBox() { scrollWnd_.reset(); }

void TsScrollBox::CreateParams(TCreateParams& params) {
  TScrollBox::CreateParams(params);
  // The two-pixel client edge is the border the skin paints over.
  if (vertRange_ > 0) params.Style |= WS_VSCROLL;
}

void TsScrollBox::SetParent(TWinControl* parent) {
  TScrollBox::SetParent(parent);
  if (parent && SkinData) SkinData->Loaded();
}

// ---------------------------------------------------------------- scrolling

int TsScrollBox::VertPosition() const { return VertScrollBar()->Position(); }

void TsScrollBox::SetVertRange(int range) {
  range = std::max(range, 0);
  if (range == vertRange_ && HandleAllocated()) return;
  vertRange_ = range;
  VertScrollBar()->SetRange(AutoScroll() ? range : 0);
}

void TsScrollBox::UpdateScrollBars() {
  if (scrollWnd_ && !scrollWnd_->Destroyed) UpdateScrolls(scrollWnd_.get(), true);
}

// ---------------------------------------------------------------- messages

void TsScrollBox::WndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD && SkinCommand(m)) return;
  if (m.Msg == CM_MOUSEENTER && OnMouseEnter) OnMouseEnter(this);
  if (m.Msg == CM_MOUSELEAVE && OnMouseLeave) OnMouseLeave(this);
  if (m.Msg == WM_VSCROLL) {
    TScrollBox::WndProc(m);
    return;
  }
  if (!ControlIsReady(this) || !IsSkinned()) {
    TScrollBox::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case SM_ALPHACMD:
      if (SkinnedAlphaCmd(m)) return;
      break;
    case WM_PAINT:
      if (!Visible()) break;
      WMPaint(m);
      return;
    case WM_NCPAINT:
      WMNCPaint(m);
      return;
    case WM_PRINT:
      WMPrint(m);
      return;
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_NCHITTEST:
      m.Result = ::DefWindowProcW(Handle(), m.Msg, m.WParam, m.LParam);
      return;
    case CM_VISIBLECHANGED:
      SkinData->BGChanged = true;
      break;
    case CM_ENTER:
    case CM_EXIT:
      SkinData->BeginUpdate();
      TScrollBox::WndProc(m);
      SkinData->EndUpdate();
      return;
  }
  CommonWndProc(m, SkinData.get());
  TScrollBox::WndProc(m);
  AfterInherited(m);
}

// The commands every box answers, skinned or not, and the scroll brackets.
TacSkinChangeRule TsScrollBox::SkinChangeRule(WORD cmd) const {
  return {cmd == AC_REFRESH ? TacChildPass::Last : TacChildPass::First, true};
}

bool TsScrollBox::BeforeSkinChange(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_REMOVESKIN:
      if (scrollWnd_ && HandleAllocated()) {
        scrollWnd_.reset();
        ::InitializeFlatSB(WindowHandle());
      }
      return true;
    case AC_REFRESH:
      return HandleAllocated();
  }
  return true;
}

void TsScrollBox::AfterSkinChange(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_REMOVESKIN:
      if (!Destroying()) {
        SkinData->BorderIndex = -1;
        SkinData->SkinIndex = -1;
      }
      Invalidate();
      return;
    case AC_REFRESH:
      // While the parent chain is updating (its form's drawing is off for a
      // change of skin) the cache stays stale: the repaint that ends the
      // update rebuilds it once, however often the command arrives.
      if (IsSkinned() && !SkinData->GetUpdating()) PrepareCache();
      ::RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
      RefreshScrollWnd(SkinData.get(), scrollWnd_);
      return;
  }
}

bool TsScrollBox::OtherSkinCommand(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_ENDPARENTUPDATE:
      if (!HandleAllocated()) return true;
      SkinData->Updating = false;
      ::RedrawWindow(WindowHandle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_UPDATENOW | RDW_FRAME);
      return true;
    case AC_SETBGDEPENDENT:
      CommonWndProc(m, SkinData.get());
      if (SkinData->BGDependent) {
        SkinData->InitCacheBmp();
        PaintSkinControl(SkinData.get(), GetParentCache(SkinData.get()), true, 0,
                         TRect{0, 0, Width(), Height()}, TPoint{Left(), Top()},
                         SkinData->CacheBmp.get(), true);
        SkinData->BGChanged = false;
      }
      return true;
    case AC_PAINTNOW:
      if (HandleAllocated()) {
        ::SendMessageW(WindowHandle(), WM_PAINT, 0, 0);
        ::SendMessageW(WindowHandle(), WM_NCPAINT, 0, 0);
      }
      return false;
    case AC_BEFORESCROLL:
    case AC_AFTERSCROLL:
      ScrollCmd(m);
      return false;
  }
  return false;
}

// A scroll step of the owner-drawn bars: nothing is drawn between the two
// brackets, then the box and all its children repaint once.
void TsScrollBox::ScrollCmd(TMessage& m) {
  if (!HandleAllocated()) return;
  HWND wnd = WindowHandle();
  if (SkinCmdOf(m) == AC_BEFORESCROLL) {
    if (OnBeforeScroll) OnBeforeScroll(this);
    ::SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
    return;
  }
  ::SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
  ::RedrawWindow(wnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_NOERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  if (OnAfterScroll) OnAfterScroll(this);
}

bool TsScrollBox::SkinnedAlphaCmd(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_GETCACHE: {
      const int b = BorderSize();
      CacheInfoReply = MakeCacheInfo(SkinData->CacheBmp.get(), b, b);
      return true;
    }
    case AC_ISUPDATING:
      m.LParam = (SkinData->BGChanged || SkinData->GetUpdating()) ? 1 : 0;
      m.Result = m.LParam;
      return true;
  }
  return false;
}

void TsScrollBox::AfterInherited(const TMessage& m) {
  switch (m.Msg) {
    case CM_SHOWINGCHANGED:
      RefreshScrollWnd(SkinData.get(), scrollWnd_);
      break;
    case CM_FOCUSCHANGED:
    case WM_MOUSEWHEEL:
      UpdateScrollBars();
      break;
    case WM_PARENTNOTIFY:
      if (AutoScroll() && (LOWORD(m.WParam) == WM_CREATE || LOWORD(m.WParam) == WM_DESTROY))
        UpdateScrollBars();
      break;
    case CM_CONTROLLISTCHANGE:
    case CM_CONTROLCHANGE:
      if (AutoScroll() && !SkinData->GetUpdating()) UpdateScrollBars();
      break;
  }
}

// ---------------------------------------------------------------- painting

void TsScrollBox::PrepareCache() {
  SkinData->InitCacheBmp();
  PaintSkinControl(SkinData.get(), GetParentCache(SkinData.get()), false, 0,
                   TRect{0, 0, Width(), Height()}, TPoint{Left(), Top()},
                   SkinData->CacheBmp.get(), false);
}

void TsScrollBox::RebuildCache() {
  PrepareCache();
  if (OnPaint) OnPaint(this, SkinData->CacheBmp.get());
}

void TsScrollBox::SkinPaint(HDC dc, bool sendUpdated) {
  if (!dc) dc = ControlCanvas()->Handle();
  if (SkinData->BGChanged && !SkinData->BGDependent) {
    RebuildCache();
    SkinData->BGChanged = false;
  }
  const int b = BorderSize();
  CopyWinControlCache(this, SkinData.get(), TRect{b, b, 0, 0},
                      TRect{0, 0, Width() - 2 * b, Height() - 2 * b}, dc, true, 0, 0);
  ::PaintControls(dc, this, 1, TPoint{0, 0});
  if (sendUpdated) NotifyChildrenEndUpdate(this);
}

void TsScrollBox::WMPaint(TMessage& m) {
  TacPaintScope paint(Handle(), reinterpret_cast<HDC>(m.WParam));
  SkinData->Updating = SkinData->GetUpdating();
  if (!SkinData->Updating) SkinPaint(paint.DC(), true);
}

void TsScrollBox::WMNCPaint(TMessage& m) {
  SkinData->Updating = SkinData->GetUpdating();
  if (SkinData->Updating) return;
  if (SkinData->BGChanged) RebuildCache();
  UpdateCorners(SkinData.get(), 0);
  HWND wnd = Handle();
  const UniqueWindowDC owned = UniqueWindowDC::Window(wnd);
  HDC dc = owned.get();
  if (!dc) return;
  {
    const SaveDCScope saved(dc);
    BitBltBorder(dc, 0, 0, Width(), Height(), SkinData->CacheBmp->Canvas()->Handle(), 0, 0,
                 BorderSize());
    if (scrollWnd_ && !scrollWnd_->Destroyed && (scrollWnd_->VBar || scrollWnd_->HBar))
      PaintScrollBars(scrollWnd_.get(), wnd, dc, spNone);
  }
  m.Result = 0;
}

void TsScrollBox::WMPrint(TMessage& m) {
  SkinData->Updating = false;
  HDC dc = reinterpret_cast<HDC>(m.WParam);
  if (!dc) return;
  if (SkinData->BGChanged) RebuildCache();
  UpdateCorners(SkinData.get(), 0);
  // The client area starts inside the two-pixel edge only: BorderWidth
  // here pads the children, it takes no non-client room.
  const int edge = BorderSize();
  const int saved = ::SaveDC(dc);
  BitBltBorder(dc, 0, 0, Width(), Height(), SkinData->CacheBmp->Canvas()->Handle(), 0, 0, edge);
  if (scrollWnd_ && !scrollWnd_->Destroyed) PaintScrollBars(scrollWnd_.get(), Handle(), dc, spNone);
  POINT org{};
  ::GetViewportOrgEx(dc, &org);
  ::SetViewportOrgEx(dc, org.x + edge, org.y + edge, nullptr);
  const RECT client = ClientRect();
  ::IntersectClipRect(dc, 0, 0, client.right - client.left, client.bottom - client.top);
  SkinPaint(dc, false);
  ::RestoreDC(dc, saved);
}
