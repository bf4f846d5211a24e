#include "skin/controls/PageControl.h"

#include <commctrl.h>

#include "framework/Handles.h"
#include "skin/controls/UpDown.h"
#include "skin/engine/AnimShow.h"
#include "skin/engine/CacheCopy.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/Regions.h"

TsPageControl::TsPageControl(TComponent* AOwner) : TsSkinnedControl(AOwner, ckPageControl) {
  SkinData->RebuildCache = [this] { PrepareCache(); };
}

TsPageControl::~TsPageControl() { FreeScroller(); }

void TsPageControl::Loaded() {
  TsSkinnedControl::Loaded();
  if (ActivePage()) AddToAdapter(ActivePage());
  UpdateTabScroller();
}

void TsPageControl::CreateParams(TCreateParams& params) {
  TsSkinnedControl::CreateParams(params);
  switch (tabPosition_) {
    case tpTop:
      break;
    case tpBottom:
      params.Style |= TCS_BOTTOM;
      break;
    case tpLeft:
      params.Style |= TCS_VERTICAL | TCS_MULTILINE;
      break;
    case tpRight:
      params.Style |= TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE;
      break;
  }
  if (style_ != tsTabs) params.Style |= TCS_BUTTONS;
  if (style_ == tsFlatButtons) params.Style |= TCS_FLATBUTTONS;
  if (hotTrack_) params.Style |= TCS_HOTTRACK;
}

void TsPageControl::SetTabPosition(TTabPosition value) {
  if (value == tabPosition_) return;
  tabPosition_ = value;
  SkinData->BGChanged = true;
  RecreateWnd();
}

void TsPageControl::SetStyle(TTabStyle value) {
  if (value == style_) return;
  style_ = value;
  SkinData->BGChanged = true;
  RecreateWnd();
}

void TsPageControl::SetHotTrack(bool value) {
  if (value == hotTrack_) return;
  hotTrack_ = value;
  RecreateWnd();
}

// ---------------------------------------------------------------- geometry

TTabSheet* TsPageControl::PageOfTab(int tabIndex) const {
  if (tabIndex < 0) return nullptr;
  for (int i = 0; i < PageCount(); ++i)
    if (Pages(i)->TabIndex() == tabIndex) return Pages(i);
  return nullptr;
}

int TsPageControl::VisibleTabs() const {
  int n = 0;
  for (int i = 0; i < PageCount(); ++i) n += Pages(i)->TabVisible();
  return n;
}

bool TsPageControl::HasTabs() { return HandleAllocated() && VisibleTabs() > 0; }

TRect TsPageControl::TabRect(int tabIndex) {
  RECT r{};
  if (HandleAllocated() && tabIndex >= 0)
    ::SendMessageW(WindowHandle(), TCM_GETITEMRECT, tabIndex, reinterpret_cast<LPARAM>(&r));
  return TRect{r.left, r.top, r.right, r.bottom};
}

TRect TsPageControl::BodyRect() {
  TRect r{0, 0, Width(), Height()};
  if (!HasTabs()) return r;
  const RECT d = DisplayRect();
  switch (tabPosition_) {
    case tpTop: r.top = d.top - 4; break;
    case tpBottom: r.bottom = d.bottom + 1; break;
    case tpLeft: r.left = d.left - 1; break;
    case tpRight: r.right = d.right + 1; break;
  }
  return r;
}

TRect TsPageControl::TabsRect() {
  TRect r{0, 0, Width(), Height()};
  if (!HasTabs()) return r;
  const RECT d = DisplayRect();
  switch (tabPosition_) {
    case tpTop: r.bottom = d.top - 4; break;
    case tpBottom: r.top = d.bottom + 1; break;
    case tpLeft: r.right = d.left - 1; break;
    case tpRight: r.left = d.right + 1; break;
  }
  return r;
}

TRect TsPageControl::TabRectEx(int tabIndex, bool active) {
  TRect r = TabRect(tabIndex);
  if (tabIndex < 0 || tabIndex >= VisibleTabs() || !ActivePage() || style_ != tsTabs ||
      ::IsRectEmpty(&r))
    return r;
  const int a = active ? 1 : 0;
  if (active) {
    r.bottom -= 1;
  } else {
    r.bottom += 3;
    r.right -= 1;
  }
  switch (tabPosition_) {
    case tpTop:
      ::InflateRect(&r, 2 * a, a);
      r.bottom += 2;
      break;
    case tpBottom:
      ::InflateRect(&r, 2 * a, a);
      r.top -= 2;
      r.bottom += active ? 1 : -3;
      break;
    case tpLeft:
      ::InflateRect(&r, 0, 1);
      r.right += 2;
      if (active) {
        ::InflateRect(&r, 1, 1);
      } else {
        r.bottom -= 4;
        r.right += 2;
      }
      break;
    case tpRight:
      ::InflateRect(&r, 1, 0);
      ::OffsetRect(&r, -1, -1);
      if (active) {
        ::InflateRect(&r, 1, 1);
        r.bottom += 3;
      } else {
        r.bottom -= 2;
      }
      break;
  }
  return r;
}

int TsPageControl::TabAtPos(TPoint p) {
  for (int i = 0; i < PageCount(); ++i) {
    const int tab = Pages(i)->TabIndex();
    if (tab < 0) continue;
    const TRect r = TabRectEx(tab, false);
    if (::PtInRect(&r, p)) return i;
  }
  return -1;
}

// The tab under the mouse gives the hint, shown off the pointer; its
// rectangle bounds the hint, so the next tab shows its own.
bool TsPageControl::TabHint(THintInfo& info) {
  const int page = TabAtPos(info.CursorPos);
  if (page < 0) return false;
  info.HintStr = Pages(page)->Hint();
  info.CursorRect = TabRectEx(Pages(page)->TabIndex(), false);
  POINT cursor{};
  ::GetCursorPos(&cursor);
  info.HintPos = TPoint{cursor.x + ::GetSystemMetrics(SM_CXCURSOR) / 2,
                        cursor.y + ::GetSystemMetrics(SM_CYCURSOR) / 2};
  return true;
}

int TsPageControl::TabRow(int tabIndex) {
  const int rows = HandleAllocated()
                       ? static_cast<int>(::SendMessageW(WindowHandle(), TCM_GETROWCOUNT, 0, 0))
                       : 1;
  if (rows < 2) return 1;
  const TRect r = TabRect(tabIndex);
  const TRect s = TabsRect();
  const int w = std::max(1L, r.right - r.left), h = std::max(1L, r.bottom - r.top);
  switch (tabPosition_) {
    case tpTop: return (h / 2 + r.top) / h;
    case tpLeft: return (w / 2 + r.left) / w;
    case tpBottom: return rows - ((r.top - s.top + h / 2) / h) + 1;
    case tpRight: return rows - ((r.left - s.left + w / 2) / w) + 1;
  }
  return 1;
}

void TsPageControl::ChooseBodySection() {
  static const wchar_t* const kBodies[] = {L"PAGECONTROL", L"PAGECONTROLBOTTOM",
                                           L"PAGECONTROLLEFT", L"PAGECONTROLRIGHT"};
  const std::wstring& s = SkinData->SkinSection();
  BodySection = s == L"PAGECONTROL" ? kBodies[tabPosition_] : s;
  SkinData->SkinIndex = SkinData->GetSkinManager()->GetSkinIndex(BodySection);
}

// ---------------------------------------------------------------- tab scroller

int TsPageControl::HiddenTabCount() {
  const int limit = Width() - (TabScroller ? TabScroller->Width() : 0) - 3;
  int n = 0;
  for (int tab = 0; tab < VisibleTabs(); ++tab) {
    const TRect r = TabRect(tab);
    if (!::IsRectEmpty(&r) && (r.right > limit || r.right < 5)) ++n;
  }
  return n;
}

void TsPageControl::FreeScroller() {
  TabScroller.reset();
}

void TsPageControl::UpdateTabScroller() {
  if (HasState(csLoading) || (ControlState() & csCreating) || Destroying() || placingScroller_)
    return;
  // Creating and placing the scroller changes the control list and sizes,
  // which lead back here.
  placingScroller_ = true;
  struct TReset {
    bool& flag;
    ~TReset() { flag = false; }
  } reset{placingScroller_};
  if (!IsSkinned() || !HandleAllocated()) {
    FreeScroller();
    return;
  }
  // The platform's own arrows would paint over the skinned strip.
  for (HWND native = nullptr;
       (native = ::FindWindowExW(WindowHandle(), nullptr, UPDOWN_CLASSW, nullptr)) &&
       ::DestroyWindow(native);) {
  }
  const int hidden = (tabPosition_ == tpLeft || tabPosition_ == tpRight) ? 0 : HiddenTabCount();
  if (hidden < 1 || MultiLine()) {
    FreeScroller();
    return;
  }
  if (TabScroller) {
    PlaceScroller();
    return;
  }
  TabScroller = std::make_unique<TsUpDown>(this);
  TabScroller->SetVisible(false);
  TabScroller->SetOrientation(udHorizontal);
  TabScroller->SetBounds(0, 0, (::GetSystemMetrics(SM_CXHSCROLL) + 1) * 2,
                         ::GetSystemMetrics(SM_CYHSCROLL) + 1);
  TsSkinManager* m = SkinData->GetSkinManager();
  TabScroller->SetButtonSkin(m && m->GetSkinIndex(L"UPDOWNBTN") >= 0 ? L"UPDOWNBTN" : L"BUTTON");
  TabScroller->SetParent(this);
  TabScroller->SetMin(0);
  TabScroller->SetIncrement(1);
  TabScroller->SetShowInaccessibility(false);
  PlaceScroller();
  TabScroller->OnClick = [this](TObject*, TUDBtnType) {
    ::SendMessageW(WindowHandle(), WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, TabScroller->Position()),
                   0);
    UpdateActivePage();
  };
  UpdateScrollerRegion(false);
  TabScroller->SetVisible(true);
}

// The scroller takes the shape of its skinned buttons: their transparent
// corners let the tab row show through.
void TsPageControl::UpdateScrollerRegion(bool redraw) {
  TsSkinManager* m = SkinData->GetSkinManager();
  if (!TabScroller || !m) return;
  const std::wstring& section = TabScroller->ButtonSkin();
  const int index = m->GetSkinIndex(section);
  if (!m->IsValidImgIndex(m->GetMaskIndex(index, section, L"BORDERSMASK"))) return;
  constexpr TColor kOutside = static_cast<TColor>(0xFF0100);
  const int w = TabScroller->Width(), h = TabScroller->Height(), half = w / 2;
  if (half < 2 || h < 2) return;
  std::unique_ptr<TBitmap> bmp = CreateBmp24(half, h);
  FillDC(bmp->Canvas()->Handle(), TRect{0, 0, half, h}, kOutside);
  MaskFillColor = kOutside;
  TabScroller->PaintButtons(bmp.get(), 1);
  MaskFillColor = clFuchsia;
  bmp->SetSize(w, h);
  ::BitBlt(bmp->Canvas()->Handle(), w - half, 0, half, h, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
  UniqueRgn rgn = CreateRgnFromBmp(TacBmpView(*bmp), kOutside);
  if (rgn && ::SetWindowRgn(TabScroller->Handle(), rgn.get(), redraw)) rgn.release();
}

void TsPageControl::PlaceScroller() {
  const int top = tabPosition_ == tpTop ? 0 : Height() - TabScroller->Height();
  TabScroller->SetBounds(Width() - TabScroller->Width(), top, TabScroller->Width(),
                         TabScroller->Height());
  TabScroller->SetMax(HiddenTabCount());
  int position = 0;
  for (int tab = 0; tab < VisibleTabs(); ++tab) {
    if (TabRect(tab).left > 0) break;
    ++position;
  }
  TabScroller->SetPosition(position);
}

// ---------------------------------------------------------------- messages

void TsPageControl::WndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD && SkinData && SkinCommand(m)) return;
  if (m.Msg == CM_HINTSHOW && TabHint(*reinterpret_cast<THintInfo*>(m.LParam))) {
    m.Result = 0;
    return;
  }
  if (m.Msg == CN_NOTIFY && Notify(m)) return;
  if (!ControlIsReady(this) || !IsSkinned()) {
    TPageControl::WndProc(m);
    if (m.Msg == TCM_SETCURSEL) HotTab = -1;
    return;
  }
  const bool designing = HasState(csDesigning);
  if (!designing && IsSkinned(true)) {
    switch (m.Msg) {
      case WM_SETFOCUS:
      case WM_KILLFOCUS: {
        // Focus only moves the focus frame; the cache stays.
        const bool stale = SkinData->BGChanged;
        CommonWndProc(m, SkinData.get());
        TPageControl::WndProc(m);
        SkinData->BGChanged = stale;
        if (ActivePage() && ActivePage()->TabIndex() >= 0)
          PaintHotTab(ActivePage()->PageIndex(), 2, nullptr);
        return;
      }
      case WM_MOUSEMOVE:
        if (hotTrack_ || style_ != tsTabs) {
          WMMouseMove(m);
          return;
        }
        break;
      case WM_MOUSELEAVE:
      case CM_MOUSELEAVE:
        MouseLeft();
        if (m.Msg == WM_MOUSELEAVE) break;
        TPageControl::WndProc(m);
        return;
    }
  }
  if (m.Msg != SM_ALPHACMD) CommonWndProc(m, SkinData.get());
  switch (m.Msg) {
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
    case WM_PAINT:
      if ((Parent() && Parent()->HasState(csDestroying)) || HasState(csLoading)) break;
      WMPaint(m);
      return;
    case WM_PRINT:
      UpdateTabScroller();
      SkinData->Updating = false;
      ::SendMessageW(Handle(), WM_PAINT, m.WParam, 1);
      m.Result = 0;
      return;
    case WM_NCPAINT:
      WMNCPaint(m);
      break;
    case WM_HSCROLL:
    case WM_STYLECHANGING:
    case WM_STYLECHANGED:
      SkinData->BGChanged = true;
      TPageControl::WndProc(m);
      Repaint();
      return;
    case TCM_SETITEMSIZE:
      TabsResized = true;
      break;
  }
  TPageControl::WndProc(m);
  AfterDefault(m);
}

void TsPageControl::AfterDefault(TMessage& m) {
  switch (m.Msg) {
    case TCM_SETCURSEL:
      UpdateActivePage();
      break;
    case TCM_INSERTITEMW:
    case TCM_DELETEALLITEMS:
      SkinData->BGChanged = true;
      break;
    case WM_LBUTTONDOWN:
      if (style_ != tsTabs && HotTab >= 0) PaintHotTab(HotTab, 1, nullptr);
      break;
    case WM_SIZE:
      SkinData->BGChanged = true;
      if (!HasState(csLoading)) UpdateTabScroller();
      break;
    case CM_CONTROLLISTCHANGE:
      UpdateTabScroller();
      break;
    case WM_WINDOWPOSCHANGING:
      if (TabsResized && !SkinData->GetUpdating()) {
        TabsResized = false;
        SkinData->BGChanged = true;
        Invalidate();
      }
      break;
    case WM_PARENTNOTIFY:
      if (LOWORD(m.WParam) == WM_CREATE) AddToAdapter(this);
      break;
  }
}

TacSkinChangeRule TsPageControl::SkinChangeRule(WORD cmd) const {
  return {cmd == AC_SETNEWSKIN ? TacChildPass::First : TacChildPass::Last, true};
}

void TsPageControl::AfterSkinChange(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_REMOVESKIN:
      UpdateTabScroller();
      // The platform's tab control lays its arrows out again.
      if (HandleAllocated()) {
        RecreateWnd();
        ::RedrawWindow(Handle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
      }
      return;
    case AC_REFRESH:
      if (HandleAllocated() && IsWindowVisible(WindowHandle())) {
        ::RedrawWindow(WindowHandle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME);
      }
      if (ActivePage()) AddToAdapter(ActivePage());
      UpdateTabScroller();
      UpdateScrollerRegion(true);
      return;
  }
}

bool TsPageControl::OtherSkinCommand(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_ISUPDATING:
      m.LParam = (SkinData->GetUpdating() || TabsResized || SkinData->BGChanged) ? 1 : 0;
      m.Result = m.LParam;
      return true;
    case AC_ENDPARENTUPDATE:
      if (SkinData->GetUpdating()) {
        SkinData->Updating = false;
        Perform(WM_PAINT, 0, 0);
        Perform(WM_NCPAINT, 0, 0);
        // The active page held back its painting while this control was
        // updating and has no paint pending any more: it paints now, and
        // tells its own children in turn.
        if (TTabSheet* page = ActivePage(); page && page->HandleAllocated())
          ::RedrawWindow(page->WindowHandle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      }
      break;
  }
  CommonWndProc(m, SkinData.get());
  return true;
}

// The user's page change: asked first, then the old look is captured for
// the animation. Asking before capturing means a refused change never
// leaves a prepared animation behind.
bool TsPageControl::Notify(TMessage& m) {
  auto* hdr = reinterpret_cast<NMHDR*>(m.LParam);
  const bool animate = IsSkinned() && !HasState(csDesigning) && SkinData->GetSkinManager() &&
                       SkinData->GetSkinManager()->AnimEffects->PageChange()->Active;
  if (hdr->code == TCN_SELCHANGING) {
    bool allow = true;
    if (OnChanging) OnChanging(this, allow);
    if (!allow) {
      // The click that asked may have taken the mouse; give it back.
      if (HandleAllocated() && ::GetCapture() == WindowHandle()) ::ReleaseCapture();
      m.Result = TRUE;
      return true;
    }
    if (animate && ActivePage()) {
      PrepareOutputWindow(this);
      animating_ = true;
    }
    if (TabScroller) PlaceScroller();
    m.Result = FALSE;
    return true;
  }
  if (hdr->code == TCN_SELCHANGE) {
    TPageControl::WndProc(m);
    if (TabScroller) PlaceScroller();
    if (animating_) {
      animating_ = false;
      AnimShowControl(this, SkinData->GetSkinManager()->AnimEffects->PageChange()->Time);
      if (ActivePage())
        ::RedrawWindow(ActivePage()->Handle(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    return true;
  }
  return false;
}

void TsPageControl::UpdateActivePage() {
  HotTab = -1;
  if (IsSkinned() && HandleAllocated() && !SkinData->GetUpdating()) {
    SkinData->Updating = false;
    if (VisibleTabs() == VisibleTabCount && !SkinData->BGChanged && SkinData->CacheBmp) {
      if (ActivePage()) {
        TacPaintScope paint(WindowHandle(), nullptr);
        PaintTabStrip(paint.DC());
        if (ActivePage()->TabIndex() >= 0) PaintTabToDC(ActivePage()->PageIndex(), 2, paint.DC());
        ActivePage()->Repaint();
      } else {
        SkinData->Invalidate();
      }
    } else {
      Perform(WM_PAINT, 0, 0);
      if (ActivePage()) ActivePage()->Repaint();
    }
  }
  TabsResized = false;
}

void TsPageControl::WMMouseMove(TMessage& m) {
  const TPoint p{static_cast<short>(LOWORD(m.LParam)), static_cast<short>(HIWORD(m.LParam))};
  const TRect tabs = TabsRect();
  if (HasTabs() && ::PtInRect(&tabs, p)) {
    const int page = TabAtPos(p);
    if (page != HotTab) {
      if (HotTab >= 0 && hotTrack_) PaintHotTab(HotTab, 0, nullptr);
      TPageControl::WndProc(m);
      HotTab = page;
      if (HotTab >= 0 && hotTrack_) {
        if (Pages(HotTab) == ActivePage())
          HotTab = -1;
        else
          PaintHotTab(HotTab, 1, nullptr);
      }
      return;
    }
  } else if (HotTab >= 0) {
    PaintHotTab(HotTab, 0, nullptr);
    HotTab = -1;
  }
  TPageControl::WndProc(m);
}

void TsPageControl::MouseLeft() {
  if (!hotTrack_ || HotTab < 0 || HotTab >= PageCount() || Pages(HotTab) == ActivePage()) return;
  PaintHotTab(HotTab, 0, nullptr);
  HotTab = -1;
}

void TsPageControl::WMNCPaint(TMessage&) {
  if (!ActivePage() || SkinData->GetUpdating() || SkinData->BGChanged) return;
  const UniqueWindowDC owned = UniqueWindowDC::Client(Handle());
  HDC dc = owned.get();
  const TRect tabs = TabsRect();
  ::ExcludeClipRect(dc, tabs.left, tabs.top, tabs.right, tabs.bottom);
  TTabSheet* a = ActivePage();
  ::ExcludeClipRect(dc, a->Left(), a->Top(), a->Left() + a->Width(), a->Top() + a->Height());
  if (a->TabIndex() >= 0) {
    const TRect t = TabRectEx(a->TabIndex(), true);
    ::ExcludeClipRect(dc, t.left, t.top, t.right, t.bottom);
  }
  CopyWinControlCache(this, SkinData.get(), TRect{0, 0, 0, 0}, TRect{0, 0, Width(), Height()}, dc,
                      false, 0, 0);
}
