// TacDialogWnd: frame metrics, the cache image of the whole window (frame,
// caption strip, icon, buttons, text, client background), the window region
// and the frame and client paint messages.
#include <algorithm>

#include "framework/Handles.h"
#include "skin/engine/CacheCopy.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/Masks.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinText.h"
#include "skin/windows/DialogHook.h"
#include "skin/windows/DialogWnd.h"
#include "skin/windows/FrameRegion.h"

namespace {

constexpr UINT kRegionQuery = 0xBC4D;
constexpr WPARAM kOwnRegion = 0x41A2;

TacBmpView MasterOf(TsSkinManager* m) {
  return m && m->MasterBitmap ? TacBmpView(*m->MasterBitmap) : TacBmpView();
}

SIZE WindowSize(HWND wnd) {
  RECT r{};
  ::GetWindowRect(wnd, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

SIZE ClientSize(HWND wnd) {
  RECT r{};
  ::GetClientRect(wnd, &r);
  return SIZE{r.right, r.bottom};
}

}  // namespace

// ---------------------------------------------------------------- metrics

// A sizeable frame is as thick as the system makes it, whatever the dialog's
// kind; the kind only decides what the client shows.
int TacDialogWnd::BorderWidth() const {
  if (BorderKind == 2) return 0;
  return ::GetSystemMetrics((Style & WS_THICKFRAME) ? SM_CXFRAME : SM_CXDLGFRAME);
}

int TacDialogWnd::BorderHeight() const {
  if (BorderKind == 2) return 0;
  return ::GetSystemMetrics((Style & WS_THICKFRAME) ? SM_CYFRAME : SM_CYDLGFRAME);
}

int TacDialogWnd::CaptionHeight() const {
  if (BorderKind == 2) return 0;
  return (Style & WS_CAPTION) == WS_CAPTION ? ::GetSystemMetrics(SM_CYCAPTION) : 0;
}

int TacDialogWnd::ClientLeft() const {
  const SIZE w = WindowSize(CtrlHandle), c = ClientSize(CtrlHandle);
  const int bar = VBar && VBar->Visible ? ::GetSystemMetrics(SM_CXVSCROLL) : 0;
  return (w.cx - c.cx - bar) / 2;
}

int TacDialogWnd::ClientTop() const {
  const SIZE w = WindowSize(CtrlHandle), c = ClientSize(CtrlHandle);
  const int bar = HBar && HBar->Visible ? ::GetSystemMetrics(SM_CYHSCROLL) : 0;
  return w.cy - c.cy - (CaptionHeight() ? BorderHeight() : 0) - bar;
}

int TacDialogWnd::TopStripHeight() const {
  const SIZE w = WindowSize(CtrlHandle), c = ClientSize(CtrlHandle);
  int h = std::max<int>(w.cy - c.cy - (CaptionHeight() ? BorderHeight() : 0), 0);
  if (::IsIconic(CtrlHandle)) h += BorderHeight();
  if (HBar && HBar->Visible) h -= ::GetSystemMetrics(SM_CYHSCROLL);
  return h;
}

int TacDialogWnd::ButtonWidth(const TsCaptionButton& button) const {
  return CaptionButtonCellWidth(Manager(), button.ImageIndex);
}

int TacDialogWnd::ButtonHeight(const TsCaptionButton& button) const {
  return CaptionButtonCellHeight(Manager(), button.ImageIndex);
}

int TacDialogWnd::ButtonsWidth() const {
  int w = 0;
  if (Style & WS_SYSMENU) {
    w += ButtonWidth(CloseButton);
    if (ExStyle & WS_EX_CONTEXTHELP) w += ButtonWidth(HelpButton);
  }
  if (Style & WS_MAXIMIZEBOX) w += ButtonWidth(MaxButton);
  if (Style & WS_MINIMIZEBOX) w += ButtonWidth(MinButton);
  return w;
}

// ---------------------------------------------------------------- region

void TacDialogWnd::CollectRegionRects() {
  CollectFrameRgnRects(RegionRects, Manager(), SkinData->BorderIndex, L"FORMTITLE", DlgWidth,
                       DlgHeight);
}

// The region changes only when what it is made of does: under Wine every
// SetWindowRgn is a shape update with position messages of its own.
void TacDialogWnd::UpdateRgn(bool repaint) {
  if (Kind() == 2) return;
  if (::SendMessageW(CtrlHandle, kRegionQuery, kOwnRegion, 0) == static_cast<LRESULT>(kOwnRegion))
    return;
  if (hasRgn_ && appliedSize_.cx == DlgWidth && appliedSize_.cy == DlgHeight &&
      SameRects(RegionRects, appliedRects_))
    return;
  InRgnUpdate = true;
  HRGN rgn = CreateFrameRgn(RegionRects, DlgWidth, DlgHeight);
  if (::SetWindowRgn(CtrlHandle, rgn, repaint)) {
    hasRgn_ = true;
    appliedSize_ = TSize{DlgWidth, DlgHeight};
    appliedRects_ = RegionRects;
  } else {
    ::DeleteObject(rgn);
  }
  InRgnUpdate = false;
}

// ---------------------------------------------------------------- cache

void TacDialogWnd::PaintAll() {
  if (!SkinData->BGChanged) return;
  TsSkinManager* m = Manager();
  if (!m) return;
  if (!Style) Style = ::GetWindowLongPtrW(CtrlHandle, GWL_STYLE);
  const SIZE size = WindowSize(CtrlHandle);
  DlgWidth = size.cx;
  DlgHeight = size.cy;
  RegionChanged = true;
  SkinData->InitCacheBmp();
  TBitmap* cache = SkinData->CacheBmp.get();
  cache->SetSize(DlgWidth, DlgHeight);
  if (m->IsValidSkinIndex(SkinData->SkinIndex)) {
    const int state = Active ? 1 : 0;
    PaintSkinControl(SkinData, EmptyCacheInfo, true, state, TRect{0, 0, DlgWidth, DlgHeight},
                     TPoint{0, 0}, cache, false);
    if (Style & WS_THICKFRAME) {
      const int grip = m->GetMaskIndex(m->GetSkinIndex(L"GLOBALINFO"), L"GLOBALINFO", L"GRIPIMAGE");
      if (m->IsValidImgIndex(grip)) {
        const TsMaskData& md = m->ma[grip];
        const TPoint p{DlgWidth - MaskCellWidth(md) - BorderWidth(),
                       DlgHeight - MaskCellHeight(md) - BorderHeight()};
        DrawSkinGlyph(TacBmpView(*cache), p, 0, 1, md, MasterOf(m));
      }
    }
    if (CaptionHeight() != 0) PaintCaption(cache, state);
  }
  SkinData->BGChanged = false;
}

void TacDialogWnd::PaintCaption(TBitmap* cache, int state) {
  TsSkinManager* m = Manager();
  const int bw = BorderWidth(), bh = BorderHeight(), band = CaptionHeight() + bh;
  const int titleIndex = m->GetSkinIndex(L"FORMTITLE");
  if (m->IsValidSkinIndex(titleIndex))
    PaintItem(titleIndex, L"FORMTITLE", MakeCacheInfo(cache, 0, 0), true, state,
              ::IsIconic(CtrlHandle) ? TRect{0, 0, DlgWidth, DlgHeight} : TRect{0, 0, DlgWidth, band},
              TPoint{0, 0}, cache, m);
  if (Icon) {
    const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    UniqueIcon copy(static_cast<HICON>(::CopyImage(Icon, IMAGE_ICON, cx, cy, LR_COPYFROMRESOURCE)));
    HICON shown = copy ? copy.get() : ::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    ::DrawIconEx(cache->Canvas()->Handle(), bw, (band - cy) / 2, shown, cx, cy, 0, nullptr,
                 DI_NORMAL);
  }
  if (Style & WS_SYSMENU) {
    const int bar = m->GetMaskIndex(SkinData->SkinIndex, SkinData->SkinSection(), L"TITLEBAR");
    if (m->IsValidImgIndex(bar)) {
      const TsMaskData& md = m->ma[bar];
      const int third = md.Bmp ? md.Bmp->Width() / 9 : MaskCellWidth(md) / 3;
      DrawMaskRect(TacBmpView(*cache), TRect{DlgWidth - third * 2 - ButtonsWidth(), 0, DlgWidth, band},
                   true, MakeCacheInfo(cache, 0, 0), md, MasterOf(m), state, false);
    }
  }
  // The clean background behind the buttons, for repainting one of them.
  const int tw = ButtonsWidth() + bw, th = std::max(TopStripHeight(), 1);
  ButtonsBmp = CreateBmp24(tw, th);
  ::BitBlt(ButtonsBmp->Canvas()->Handle(), 0, 0, tw, th, cache->Canvas()->Handle(),
           DlgWidth - tw - 1, 0, SRCCOPY);
  PaintCaptionButtons();
  PaintCaptionText(cache);
}

void TacDialogWnd::PaintCaptionText(TBitmap* cache) {
  TsSkinManager* m = Manager();
  const int bw = BorderWidth(), bh = BorderHeight();
  const int iconW = Icon ? ::GetSystemMetrics(SM_CXSMICON) : 0;
  TRect r{iconW + bw + 4, bh, DlgWidth - ButtonsWidth() - 6, CaptionHeight()};
  if (r.right <= r.left || r.bottom <= r.top) return;
  TCanvas* canvas = cache->Canvas();
  if (CaptionFont) canvas->Font()->Assign(CaptionFont.get());
  std::wstring text;
  GetWndText(CtrlHandle, text);
  text = CutText(canvas, text, DlgWidth - ::GetSystemMetrics(SM_CXSMICON) - bw - ButtonsWidth() - 6);
  SIZE ts{};
  ::GetTextExtentPoint32W(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &ts);
  r.top += (r.bottom - r.top - ts.cy) / 2;
  r.bottom = r.top + ts.cy;
  DrawSkinTextEx(canvas, text, true, r, 0, m->GetSkinIndex(L"FORMTITLE"), Active, m);
}

int TacDialogWnd::ButtonImage(int hitCode) const {
  TsSkinManager* m = Manager();
  switch (hitCode) {
    case HTMAXBUTTON:
      return MaxButtonShows(MaxButton.ImageIndex,
                            RestoreButtonImage(m, SkinData->SkinIndex, SkinData->SkinSection()),
                            ::IsZoomed(CtrlHandle));
    case HTMINBUTTON:
      return MinButtonShows(MinButton.ImageIndex,
                            RestoreButtonImage(m, SkinData->SkinIndex, SkinData->SkinSection()),
                            ::IsIconic(CtrlHandle));
    case HTCLOSE: return CloseButton.ImageIndex;
    case HTHELP: return HelpButton.ImageIndex;
  }
  return -1;
}

bool TacDialogWnd::ButtonEnabled(int hitCode) const {
  switch (hitCode) {
    case HTMAXBUTTON: return ::IsZoomed(CtrlHandle) ? CanRestore() : CanMaximize();
    case HTMINBUTTON: return ::IsIconic(CtrlHandle) ? CanRestore() : CanMinimize();
  }
  return true;
}

void TacDialogWnd::DrawButton(TBitmap* cache, const TsCaptionButton& button, int mask,
                              bool enabled, bool forceNormal) {
  const bool dim = (!Active || !enabled) && (forceNormal || button.State == 0 || !enabled);
  DrawCaptionButton(cache, Manager(), button, mask, dim);
}

void TacDialogWnd::PaintCaptionButtons() {
  TsSkinManager* m = Manager();
  TBitmap* cache = SkinData->CacheBmp.get();
  TacCaptionRow row(DlgWidth - BorderWidth(), CaptionHeight(), BorderHeight());
  auto place = [&](TsCaptionButton& b) { row.Place(b.R, ButtonWidth(b), ButtonHeight(b)); };
  for (TsCaptionButton* b : {&CloseButton, &MaxButton, &MinButton, &HelpButton}) b->R = TRect{};
  if ((Style & WS_SYSMENU) && m->IsValidImgIndex(CloseButton.ImageIndex)) {
    place(CloseButton);
    DrawButton(cache, CloseButton, CloseButton.ImageIndex, true, true);
  }
  if (Style & WS_MAXIMIZEBOX) {
    place(MaxButton);
    DrawButton(cache, MaxButton, ButtonImage(HTMAXBUTTON), ButtonEnabled(HTMAXBUTTON), true);
  }
  if (Style & WS_MINIMIZEBOX) {
    place(MinButton);
    DrawButton(cache, MinButton, ButtonImage(HTMINBUTTON), ButtonEnabled(HTMINBUTTON), true);
  }
  if ((Style & WS_SYSMENU) && (ExStyle & WS_EX_CONTEXTHELP) &&
      m->IsValidImgIndex(HelpButton.ImageIndex)) {
    place(HelpButton);
    DrawButton(cache, HelpButton, HelpButton.ImageIndex, true, true);
  }
}

void TacDialogWnd::RepaintButton(int hitCode) {
  TsCaptionButton* b = ButtonOf(hitCode);
  TBitmap* cache = SkinData->CacheBmp.get();
  if (!b || !cache || cache->Empty() || !ButtonsBmp || SkinData->BGChanged) return;
  if (::GetSystemMetrics(SM_CXSMICON) + BorderHeight() >= b->R.left) return;
  const int w = b->R.right - b->R.left, h = b->R.bottom - b->R.top;
  ::BitBlt(cache->Canvas()->Handle(), b->R.left, b->R.top, w, h, ButtonsBmp->Canvas()->Handle(),
           b->R.left - (cache->Width() - ButtonsBmp->Width()), b->R.top, SRCCOPY);
  int image = ButtonImage(hitCode);
  bool enabled = ButtonEnabled(hitCode);
  if (hitCode == HTMAXBUTTON && ::IsIconic(CtrlHandle)) {
    TsSkinManager* m = Manager();
    const int max = m->GetMaskIndex(m->GetSkinIndex(L"GLOBALINFO"), L"GLOBALINFO", L"BICONMAX");
    if (m->IsValidImgIndex(max)) image = max;
    enabled = CanMaximize();
  }
  DrawButton(cache, *b, image, enabled, false);
  UniqueWindowDC dc = UniqueWindowDC::Window(CtrlHandle);
  ::BitBlt(dc.get(), b->R.left, b->R.top, w, h, cache->Canvas()->Handle(), b->R.left,
           b->R.top, SRCCOPY);
}

// ---------------------------------------------------------------- frame and client

// Everything outside the client area comes from the cache.
void TacDialogWnd::PaintFrameToDC(HDC dc) {
  if (!dc) return;
  PaintAll();
  TBitmap* cache = SkinData->CacheBmp.get();
  if (!cache || cache->Empty()) return;
  SaveDCScope saved(dc);
  const SIZE c = ClientSize(CtrlHandle);
  RECT wr{}, cr{0, 0, c.cx, c.cy};
  ::GetWindowRect(CtrlHandle, &wr);
  ::MapWindowPoints(CtrlHandle, nullptr, reinterpret_cast<POINT*>(&cr), 2);
  ::OffsetRect(&cr, -wr.left, -wr.top);
  ::ExcludeClipRect(dc, cr.left, cr.top, cr.right, cr.bottom);
  ::BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  if (HBar && VBar && (HBar->Visible || VBar->Visible)) PaintScrollBars(this, CtrlHandle, dc, -1);
}

void TacDialogWnd::OnNcPaint(TMessage& message) {
  GetWndRectInParent(CtrlHandle, ParentWnd, WndRect, Caption, WndPos, WndSize, ParentRect);
  RewalkChildren();
  if (Destroyed) return;
  message.Result = 0;
  if (SkinData->Updating) return;
  const SIZE size = WindowSize(CtrlHandle);
  DlgRect = WndRect;
  DlgWidth = size.cx;
  DlgHeight = size.cy;
  if (SkinData->CacheBmp && (SkinData->CacheBmp->Width() != DlgWidth ||
                             SkinData->CacheBmp->Height() != DlgHeight))
    SkinData->BGChanged = true;
  PaintAll();
  if (!InRgnUpdate && RegionChanged) {
    CollectRegionRects();
    RegionChanged = false;
    UpdateRgn(true);
  }
  UniqueWindowDC dc = UniqueWindowDC::Window(CtrlHandle);
  PaintFrameToDC(dc.get());
}

void TacDialogWnd::OnEraseBkgnd(TMessage& message) {
  if (Kind() == 3) return PassOn(message);
  message.Result = 1;
}

// Kind 3: the system keeps painting the whole client; kind 1: the system
// paints its own area first and the skin the rest; other kinds: the skin's
// background first, the dialog's own painting over it.
void TacDialogWnd::OnPaint(TMessage& message) {
  GetWndRectInParent(CtrlHandle, ParentWnd, WndRect, Caption, WndPos, WndSize, ParentRect);
  if (Kind() == 3) return PassOn(message);
  HDC given = reinterpret_cast<HDC>(message.WParam);
  if (Kind() == 1) {
    PassOn(message);  // validates what it paints
    if (Destroyed) return;
    UniqueWindowDC own;
    if (!given) own = UniqueWindowDC::Client(CtrlHandle);
    PaintClientToDC(given ? given : own.get());
  } else {
    // The skin paints the background of what needs painting; the dialog's
    // own painting (the shell's confirmations draw their question in
    // WM_PAINT) then runs on top of it, so it stays readable.
    UniqueRgn update(::CreateRectRgn(0, 0, 0, 0));
    if (given) {
      PaintClientToDC(given);
    } else if (::GetUpdateRgn(CtrlHandle, update.get(), FALSE) > NULLREGION) {
      UniqueWindowDC dc = UniqueWindowDC::Client(CtrlHandle);
      ::SelectClipRgn(dc.get(), update.get());
      PaintClientToDC(dc.get());
    }
    PassOn(message);
    if (Destroyed) return;
    // A procedure that paints nothing leaves its area invalid.
    if (!given) ::RedrawWindow(CtrlHandle, nullptr, nullptr, RDW_VALIDATE | RDW_NOCHILDREN);
  }
  message.Result = 0;
  if (!ChildrenWalked && !Destroyed) {
    ChildrenWalked = true;
    RewalkChildren();
  }
}

void TacDialogWnd::PaintClientToDC(HDC dc) {
  if (!dc || SkinData->Updating) return;
  PaintAll();
  SaveDCScope saved(dc);
  if (Kind() == 1 && Provider) {
    const TRect& r = Provider->Kind1Rect;
    ::ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
  }
  const SIZE c = ClientSize(CtrlHandle);
  const int l = ClientLeft(), t = ClientTop();
  CopyHwndCache(CtrlHandle, SkinData, TRect{l, t, l + c.cx, t + c.cy}, TRect{0, 0, c.cx, c.cy}, dc,
                false, l, t);
  NotifyChildWndsEndUpdate(CtrlHandle);
}

// The system's own printing would draw its caption: frame, client and
// children are printed here, each child by itself at its place.
void TacDialogWnd::OnPrint(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  const LPARAM flags = message.LParam;
  message.Result = 0;
  if (!dc) return;
  RECT wr{};
  ::GetWindowRect(CtrlHandle, &wr);
  POINT client{0, 0};
  ::ClientToScreen(CtrlHandle, &client);
  const POINT origin = (flags & PRF_NONCLIENT) ? POINT{wr.left, wr.top} : client;
  if (flags & PRF_NONCLIENT) PaintFrameToDC(dc);
  if (flags & PRF_CLIENT) {
    SaveDCScope saved(dc);
    ::OffsetViewportOrgEx(dc, client.x - origin.x, client.y - origin.y, nullptr);
    PaintClientToDC(dc);
  }
  if (!(flags & PRF_CHILDREN)) return;
  // Bottom of the z-order first, so that upper children cover lower ones.
  for (HWND child = ::GetWindow(::GetTopWindow(CtrlHandle), GW_HWNDLAST); child;
       child = ::GetWindow(child, GW_HWNDPREV)) {
    if (!(::GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT cr{};
    ::GetWindowRect(child, &cr);
    SaveDCScope saved(dc);
    ::OffsetViewportOrgEx(dc, cr.left - origin.x, cr.top - origin.y, nullptr);
    ::IntersectClipRect(dc, 0, 0, cr.right - cr.left, cr.bottom - cr.top);
    ::SendMessageW(child, WM_PRINT, reinterpret_cast<WPARAM>(dc), flags | PRF_NONCLIENT);
  }
}
