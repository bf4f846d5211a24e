// TsSkinProvider: the caption items (standard buttons, title buttons, the
// icon), hit testing, hot and pressed states and the commands they run.
//
// A pressed button takes the mouse; the command runs only when the button
// is released over the same item (the release point is hit-tested), and a
// press that ends elsewhere does nothing.
#include <algorithm>

#include "framework/Handles.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/SkinManager.h"
#include "skin/windows/MDIForm.h"
#include "skin/windows/SkinProvider.h"
#include "skin/windows/SkinableMenus.h"

namespace {

constexpr int kTitleButtonBase = 1000;

TPoint PointOf(LPARAM l) {
  return TPoint{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
}

}  // namespace

void TsSkinProvider::TsTitleButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(nullptr, button, shift, x, y);
}

void TsSkinProvider::TsTitleButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(nullptr, button, shift, x, y);
}

// ---------------------------------------------------------------- geometry

TPoint TsSkinProvider::FormScreenOrigin() const {
  RECT r{};
  ::GetWindowRect(FormHandle(), &r);
  return TPoint{r.left, r.top};
}

TPoint TsSkinProvider::ScreenToForm(int x, int y) const {
  const TPoint o = FormScreenOrigin();
  return TPoint{x - o.x, y - o.y};
}

int TsSkinProvider::ButtonSlotAt(int x) const {
  int slot = 0;
  auto in = [x](const TRect& r) { return r.left <= x && x <= r.right; };
  if (Form && (Form->BorderIcons() & biSystemMenu) && SystemMenu) {
    ++slot;
    if (in(CloseButton.R)) return slot;
    if (SystemMenu->VisibleMax() && (++slot, in(MaxButton.R))) return slot;
    if (SystemMenu->VisibleMin() && (++slot, in(MinButton.R))) return slot;
    if ((Form->BorderIcons() & biHelp) && (++slot, in(HelpButton.R))) return slot;
  }
  for (const auto& b : TitleButtons) {
    ++slot;
    if (in(b->R)) return slot;
  }
  return 0;
}

// The square between the form's two shown scroll bars holds a form-relative P.
bool TsSkinProvider::InScrollCorner(const TPoint& p) const {
  if (ShownScrollBar(SB_HORZ) == 0 || ShownScrollBar(SB_VERT) == 0) return false;
  TRect h{}, v{};
  GetHScrollRect(FormScrollWnd.get(), FormHandle(), h);
  GetVScrollRect(FormScrollWnd.get(), FormHandle(), v);
  const TPoint s = FormScreenOrigin();
  const bool left = FormScrollWnd->LeftScrollBar;
  const TRect box{(left ? v.left : h.right) - s.x, h.top - s.y, (left ? h.left : v.right) - s.x,
                  h.bottom - s.y};
  return p.x >= box.left && p.x < box.right && p.y >= box.top && p.y < box.bottom;
}

int TsSkinProvider::ItemAt(const TPoint& p, LRESULT incoming) const {
  const int bh = CaptionButtonHeight();
  const int top = (SysCaptionHeight() - bh + SysBorderHeight()) / 2;
  const bool minimized = ::IsIconic(FormHandle());
  const TsSystemMenu* sm = SystemMenu;
  if (sm && top <= p.y && p.y <= top + bh) {
    const TRect icon = TitleIconRect();
    if (IconVisible() && SysBorderWidth() <= p.x && p.x <= SysBorderWidth() + icon.right - icon.left)
      return HTSYSMENU;
    const bool help = (Form->BorderIcons() & biHelp) != 0;
    const bool minShown = sm->VisibleMin() || minimized;
    const int n = (sm->VisibleClose() ? 1 : 0) + (sm->VisibleMax() ? 1 : 0) + (minShown ? 1 : 0) +
                  (help ? 1 : 0);
    const int s = ButtonSlotAt(p.x);
    if (s >= 1 && s <= n) {
      if (s == 1 && sm->VisibleClose()) return HTCLOSE;
      if (s == 2) {
        if (sm->VisibleMax())
          return sm->EnabledMax() || sm->EnabledRestore() ? HTMAXBUTTON : HTCAPTION;
        if (minShown) return sm->EnabledMin() || minimized ? HTMINBUTTON : HTCAPTION;
        if (help) return HTHELP;
      }
      if (s == 3) {
        if (sm->VisibleMax() && minShown)
          return minimized ? HTMINBUTTON : (sm->EnabledMin() ? HTMINBUTTON : HTCAPTION);
        if (help) return HTHELP;
      }
      if (s == 4 && help && sm->VisibleMax()) return HTHELP;
      return incoming;
    }
    const int count = static_cast<int>(TitleButtons.size());
    if (s < 1 || s > n + count || !TitleButtons[s - n - 1]->Enabled) return HTCAPTION;
    return kTitleButtonBase + (s - n - 1);
  }
  if (const int mdi = MDIButtonAt(p)) return mdi;
  if (GripMode == gmRightBottom || InScrollCorner(p)) {
    TsSkinManager* m = Manager();
    const int grip = m->GetMaskIndex(m->GetSkinIndex(L"GLOBALINFO"), L"GLOBALINFO", L"GRIPIMAGE");
    if (m->IsValidImgIndex(grip)) {
      const TPoint g = GripPosition(grip);
      if (p.x > g.x && p.y > g.y) return HTBOTTOMRIGHT;
    }
  }
  if (::IsZoomed(FormHandle()) &&
      !(p.x >= 2 && p.y >= 2 && p.x < FormWidth() - 4 && p.y < FormHeight() - 4))
    return HTERROR;
  return incoming;
}

LRESULT TsSkinProvider::HitTest(TMessage& message) {
  const TPoint sp = PointOf(message.LParam);
  const TPoint p = ScreenToForm(sp.x, sp.y);
  const int code = static_cast<int>(ItemAt(p, message.Result));
  switch (code) {
    case HTSYSMENU: case HTCLOSE: case HTMAXBUTTON: case HTMINBUTTON: case HTHELP:
    case HTBOTTOMRIGHT: case kMDICloseCode: case kMDIRestoreCode: case kMDIMinCode:
      SetHotItem(code, true);
      break;
    case HTCAPTION:
      break;
    default:
      if (code >= kTitleButtonBase) SetHotItem(code, true);
      else SetHotItem(0, true);
  }
  return code;
}

void TsSkinProvider::OnNcHitTest(TMessage& message) {
  if (SysCaptionHeight() == 0) return CallOld(message);
  message.Result = 0;
  message.Result = HitTest(message);
  if (message.Result == HTNOWHERE || message.Result == HTCAPTION) {
    CallOld(message);
    SetHotItem(0, true);
  }
}

// ---------------------------------------------------------------- states

TsCaptionButton* TsSkinProvider::ButtonOf(int code) {
  switch (code) {
    case HTCLOSE: return &CloseButton;
    case HTMAXBUTTON: return &MaxButton;
    case HTMINBUTTON: return &MinButton;
    case HTHELP: return &HelpButton;
    case kMDICloseCode: return &MDICloseButton;
    case kMDIRestoreCode: return &MDIMaxButton;
    case kMDIMinCode: return &MDIMinButton;
  }
  return nullptr;
}

int TsSkinProvider::ButtonImage(int code) const {
  TsSkinManager* m = Manager();
  HWND wnd = FormHandle();
  auto norm = [&] {
    int i = m->GetMaskIndex(m->GetSkinIndex(L"GLOBALINFO"), L"GLOBALINFO", L"BICONNORM");
    if (!m->IsValidImgIndex(i))
      i = m->GetMaskIndex(SkinData->SkinIndex, SkinData->SkinSection(), L"BICONNORM");
    return i;
  };
  switch (code) {
    case HTCLOSE: return CloseButton.ImageIndex;
    case HTHELP: return HelpButton.ImageIndex;
    case HTMAXBUTTON: return ::IsZoomed(wnd) ? norm() : MaxButton.ImageIndex;
    case HTMINBUTTON: return ::IsIconic(wnd) ? norm() : MinButton.ImageIndex;
    case kMDICloseCode: case kMDIRestoreCode: case kMDIMinCode: return MDIButtonImage(code);
  }
  return -1;
}

bool TsSkinProvider::ButtonEnabled(int code) const {
  if (code == kMDIRestoreCode || code == kMDIMinCode) return MDIButtonEnabled(code);
  if (!SystemMenu) return true;
  HWND wnd = FormHandle();
  switch (code) {
    case HTMAXBUTTON:
      return ::IsZoomed(wnd) ? SystemMenu->EnabledRestore() : SystemMenu->EnabledMax();
    case HTMINBUTTON:
      return ::IsIconic(wnd) ? SystemMenu->EnabledRestore() : SystemMenu->EnabledMin();
  }
  return true;
}

void TsSkinProvider::SetHotItem(int code, bool repaint) {
  if (code == HotItem) return;
  const int old = HotItem;
  if (TsCaptionButton* b = ButtonOf(old)) b->State = 0;
  if (old >= kTitleButtonBase && old - kTitleButtonBase < static_cast<int>(TitleButtons.size()))
    TitleButtons[old - kTitleButtonBase]->State = 0;
  if (repaint) RepaintTitleItem(old);
  HotItem = code;
  if (TsCaptionButton* b = ButtonOf(code)) b->State = 1;
  if (code >= kTitleButtonBase && code - kTitleButtonBase < static_cast<int>(TitleButtons.size()))
    TitleButtons[code - kTitleButtonBase]->State = 1;
  if (repaint) RepaintTitleItem(code);
  // Hot caption items need to hear when the mouse leaves the window.
  if (code != 0 && !trackingLeave_) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE | TME_NONCLIENT, FormHandle(), 0};
    trackingLeave_ = ::TrackMouseEvent(&tme) != FALSE;
  }
}

void TsSkinProvider::PressItem(int code) {
  if (HotItem != code && HotItem != 0) {
    const int old = HotItem;
    if (TsCaptionButton* b = ButtonOf(old)) b->State = 0;
    RepaintTitleItem(old);
  }
  HotItem = code;
  const bool enabled = code != HTMAXBUTTON || ButtonEnabled(HTMAXBUTTON);
  if (TsCaptionButton* b = ButtonOf(code); b && enabled) b->State = 2;
  if (code >= kTitleButtonBase && code - kTitleButtonBase < static_cast<int>(TitleButtons.size()))
    TitleButtons[code - kTitleButtonBase]->State = 2;
  RepaintTitleItem(code);
}

void TsSkinProvider::RepaintTitleItem(int code) {
  TsSkinManager* m = Manager();
  HWND wnd = FormHandle();
  if (!m || !wnd || !SkinData->CacheBmp || SkinData->BGChanged) return;
  TsCaptionButton look;
  int image = -1;
  bool enabled = true;
  if (TsCaptionButton* b = ButtonOf(code)) {
    look = *b;
    image = ButtonImage(code);
    enabled = ButtonEnabled(code);
  } else if (code >= kTitleButtonBase &&
             code - kTitleButtonBase < static_cast<int>(TitleButtons.size())) {
    const TsTitleButton& t = *TitleButtons[code - kTitleButtonBase];
    look = TsCaptionButton{t.State, t.ImageIndex, t.R};
    image = t.ImageIndex;
    enabled = t.Enabled;
  }
  const TRect& r = look.R;
  const TsTitleButton* title = code >= kTitleButtonBase &&
                                       code - kTitleButtonBase < static_cast<int>(TitleButtons.size())
                                   ? TitleButtons[code - kTitleButtonBase].get()
                                   : nullptr;
  const bool hasGlyph = title && title->Glyph() && !title->Glyph()->Empty();
  if ((!m->IsValidImgIndex(image) && !hasGlyph) || r.right <= r.left || r.bottom <= r.top) return;
  // The clean background under the button, then the button in its state.
  HDC cache = SkinData->CacheBmp->Canvas()->Handle();
  if (code >= kMDICloseCode && code <= kMDIMinCode) {
    // The MDI child's buttons stand on the bare menu line.
    // (only where they overlap it: a tall button reaches past the line).
    const int top = SysCaptionHeight() + SysBorderHeight();
    if (MenuLineBmp) {
      const int y0 = std::max<int>(r.top, top);
      const int y1 = std::min<int>(r.bottom, top + MenuLineBmp->Height());
      if (y1 > y0)
        ::BitBlt(cache, r.left, y0, r.right - r.left, y1 - y0, MenuLineBmp->Canvas()->Handle(),
                 r.left, y0 - top, SRCCOPY);
    }
  } else if (TempBmp) {
    const int tx = FormWidth() - TempBmp->Width() - 1;
    ::BitBlt(cache, r.left, r.top, r.right - r.left, r.bottom - r.top, TempBmp->Canvas()->Handle(),
             r.left - tx, r.top, SRCCOPY);
  }
  DrawButton(look, image, enabled);
  if (title) DrawTitleGlyph(*title);
  UniqueWindowDC dc = UniqueWindowDC::Window(wnd);
  if (dc) ::BitBlt(dc.get(), r.left, r.top, r.right - r.left, r.bottom - r.top, cache, r.left, r.top,
                   SRCCOPY);
}

// ---------------------------------------------------------------- mouse

void TsSkinProvider::OnNcMouseMove(TMessage& message) {
  CallOld(message);
  if (HotItem != 0 && !trackingLeave_) {
    TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE | TME_NONCLIENT, FormHandle(), 0};
    trackingLeave_ = ::TrackMouseEvent(&tme) != FALSE;
  }
}

void TsSkinProvider::OnNcLButtonDown(TMessage& message) {
  const int code = static_cast<int>(message.WParam);
  HWND wnd = FormHandle();
  TsSkinManager* m = Manager();
  switch (code) {
    case HTSYSMENU:
      if (m && m->SkinnedPopups()) {
        SetHotItem(0, true);
        const TPoint o = FormScreenOrigin();
        const TRect icon = TitleIconRect();
        if (Form->FormStyle() == fsMDIChild && MDISkinProvider)
          DropSysMenu(o.x, o.y + SysCaptionHeight() + 4);
        else
          DropSysMenu(o.x + SysBorderWidth(), o.y + BorderHeight() + icon.bottom - icon.top);
        return;
      }
      return CallOld(message);
    case kMDIMinCode: case kMDIRestoreCode:
      if (!MDIButtonEnabled(code)) return;
      [[fallthrough]];
    case HTMINBUTTON: case HTMAXBUTTON: case HTCLOSE: case HTHELP: case kMDICloseCode:
      PressItem(code);
      ::SetCapture(wnd);
      captured_ = true;
      return;
  }
  if (code >= kTitleButtonBase && code - kTitleButtonBase < static_cast<int>(TitleButtons.size())) {
    PressItem(code);
    ::SetCapture(wnd);
    captured_ = true;
    const TPoint p = PointOf(message.LParam);
    TitleButtons[code - kTitleButtonBase]->MouseDown(mbLeft, 0, p.x, p.y);
    return;
  }
  if (::IsIconic(wnd)) {
    Form->Perform(WM_SYSCOMMAND, 0xF012, 0);
    return;
  }
  SetHotItem(0, true);
  if (::IsZoomed(wnd) &&
      ScreenToForm(0, PointOf(message.LParam).y).y <= SysBorderHeight() + SysCaptionHeight()) {
    // A maximized form does not move: its caption only takes the focus.
    if (::GetActiveWindow() != wnd) Form->SetFocus();
    return;
  }
  if (BeginBorderDrag(message)) return;
  CallOld(message);
}

void TsSkinProvider::OnButtonUp(TMessage& message, bool clientPoint) {
  if (EndBorderDragAt(message, clientPoint)) return;
  if (!captured_) return CallOld(message);
  captured_ = false;
  const int pressed = HotItem;
  TPoint p = PointOf(message.LParam);
  if (clientPoint) {
    POINT sp{p.x, p.y};
    ::ClientToScreen(FormHandle(), &sp);
    p = TPoint{sp.x, sp.y};
  }
  // The release point decides, not the button bits of the message.
  const int released = ItemAt(ScreenToForm(p.x, p.y), HTNOWHERE);
  ::ReleaseCapture();
  SetHotItem(0, true);
  message.WParam = 0;
  message.Result = 0;
  if (released == pressed) RunItemCommand(pressed);
}

void TsSkinProvider::RunItemCommand(int code) {
  HWND wnd = FormHandle();
  switch (code) {
    case HTCLOSE:
      ::SendMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      return;
    case HTMAXBUTTON:
      if (::IsIconic(wnd) && SystemMenu && !SystemMenu->EnabledMax()) return;
      // A child's own maximize button leaves the main form's bar alone.
      if (Form->FormStyle() == fsMDIChild) MDIChildProvider = nullptr;
      ::SendMessageW(wnd, WM_SYSCOMMAND, ::IsZoomed(wnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
      if (SystemMenu) SystemMenu->UpdateItems();
      return;
    case HTMINBUTTON:
      ::SendMessageW(wnd, WM_SYSCOMMAND, ::IsIconic(wnd) ? SC_RESTORE : SC_MINIMIZE, 0);
      return;
    case HTHELP:
      ::SendMessageW(wnd, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
      if (SystemMenu) SystemMenu->UpdateItems();
      return;
    case kMDICloseCode: case kMDIRestoreCode: case kMDIMinCode:
      return RunMDIButton(code);
  }
  if (code >= kTitleButtonBase && code - kTitleButtonBase < static_cast<int>(TitleButtons.size())) {
    POINT cur{};
    ::GetCursorPos(&cur);
    TitleButtons[code - kTitleButtonBase]->MouseUp(mbLeft, 0, cur.x, cur.y);
  }
}

void TsSkinProvider::OnNcLButtonDblClk(TMessage& message) {
  HWND wnd = FormHandle();
  StopBorderDrag(true);
  switch (message.WParam) {
    case HTSYSMENU:
      Form->Close();
      break;
    case HTCAPTION:
      if (SystemMenu && (SystemMenu->EnabledMax() || SystemMenu->EnabledRestore())) {
        const bool restore = ::IsZoomed(wnd) || ::IsIconic(wnd);
        if (!restore && Form->FormStyle() == fsMDIChild) MDIChildProvider = this;
        ::SendMessageW(wnd, WM_SYSCOMMAND, restore ? SC_RESTORE : SC_MAXIMIZE, 0);
        SystemMenu->UpdateItems();
      }
      break;
  }
  message.WParam = 0;
  message.Result = 0;
}

void TsSkinProvider::OnNcRButtonDown(TMessage& message) {
  TsSkinManager* m = Manager();
  if (m && m->SkinnedPopups() && (message.WParam == HTCAPTION || message.WParam == HTSYSMENU))
    return;
  CallOld(message);
}

void TsSkinProvider::OnNcRButtonUp(TMessage& message) {
  TsSkinManager* m = Manager();
  if (!m || !m->SkinnedPopups()) return CallOld(message);
  if (message.WParam == HTCAPTION || message.WParam == HTSYSMENU) {
    SetHotItem(0, true);
    const TPoint p = PointOf(message.LParam);
    DropSysMenu(p.x, p.y);
  }
}

void TsSkinProvider::OnSysCommand(TMessage& message) {
  if ((message.WParam & 0xFFF0) == 0xF010 && (message.WParam & 0xF) == 2)
    ::RedrawWindow(FormHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  if (OnBorderSysCommand(message)) return;
  CallOld(message);
  const WPARAM cmd = message.WParam & 0xFFF0;
  if ((cmd == SC_MAXIMIZE || cmd == SC_RESTORE) && SystemMenu && SystemMenu->VisibleMax()) {
    HotItem = HTMAXBUTTON;
    SetHotItem(0, true);
  }
}

void TsSkinProvider::DropSysMenu(int x, int y) {
  if (!SystemMenu) return;
  TsSkinManager* m = Manager();
  if (MakeSkinMenu) SystemMenu->MakeSkinItems();
  if (m && m->SkinableMenus) m->SkinableMenus->HookMenu(SystemMenu, true);
  SystemMenu->UpdateItems();
  SystemMenu->Popup(x, y);
}
