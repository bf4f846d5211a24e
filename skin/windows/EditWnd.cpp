// The framed adapters' procedures, colours and frame painting.
#include "skin/windows/EditWnd.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/Controls.h"
#include "framework/ListView.h"
#include "framework/TreeView.h"
#include "skin/engine/ColorContrast.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/windows/WndCache.h"

namespace {

bool Visible(HWND wnd) { return ::IsWindowVisible(wnd) != FALSE; }

// The section record of an adapter's skin state, or null.
const TsGeneralData* SectionOf(const TsCommonData* skinData) {
  return skinData ? skinData->Section() : nullptr;
}

// Messages after which an edit, list box, list view or tree view may have
// set its scroll info again. The system repaints its own bars at once when
// a control does (SetScrollInfo with redraw), over the skinned ones.
bool MayResetScrollInfo(UINT msg, WPARAM wParam) {
  switch (msg) {
    case EM_REPLACESEL: case EM_LINESCROLL: case EM_SCROLL: case EM_SCROLLCARET: case WM_SETTEXT:
    case LB_ADDSTRING: case LB_INSERTSTRING: case LB_DELETESTRING: case LB_RESETCONTENT:
    case LB_SETCOUNT: case LB_SETTOPINDEX: case LB_SETCURSEL: case LB_SETCARETINDEX:
    case LB_SETITEMHEIGHT: case LB_SETHORIZONTALEXTENT:
    case LVM_INSERTITEMA: case LVM_INSERTITEMW: case LVM_DELETEITEM: case LVM_DELETEALLITEMS:
    case LVM_SETITEMCOUNT: case LVM_SCROLL: case LVM_ENSUREVISIBLE: case LVM_INSERTCOLUMNA:
    case LVM_INSERTCOLUMNW: case LVM_DELETECOLUMN: case LVM_SETCOLUMNWIDTH: case LVM_ARRANGE:
    case LVM_UPDATE: case LVM_SORTITEMS: case LVM_SORTITEMSEX: case LVM_SETVIEW:
    case TVM_INSERTITEMA: case TVM_INSERTITEMW: case TVM_DELETEITEM: case TVM_EXPAND:
    case TVM_ENSUREVISIBLE: case TVM_SELECTITEM:
      return true;
    case WM_SETREDRAW:
      return wParam != 0;  // a batch ends: the control reads its rows once
  }
  return false;
}

}  // namespace

// ---------------------------------------------------------------- TacBaseWnd

void TacBaseWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacScrollWnd::WndProc(message);
  switch (message.Msg) {
    case SM_ALPHACMD:
      switch (SkinCmdOf(message)) {
        case AC_REFRESH:
          if (message.LParam != reinterpret_cast<LPARAM>(Manager())) break;
          TacScrollWnd::WndProc(message);
          if (Visible(CtrlHandle)) ::SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
          return;
        case AC_PREPARECACHE:
          PrepareWndCache(SkinData, CtrlHandle, false);
          break;
      }
      break;
    case WM_SIZE:
      SkinData->BGChanged = true;
      break;
    case WM_SETCURSOR:
      return PassOn(message);
    case 0x2100:
      return;
  }
  TacScrollWnd::WndProc(message);
  if (Destroyed) return;
  switch (message.Msg) {
    case WM_SIZE:
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (!Scrolling) UpdateScrolls(this, true);
      break;
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
      if (Visible(CtrlHandle)) ::SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
      break;
  }
}

// ---------------------------------------------------------------- TacEditWnd

void TacEditWnd::SaveStdProps() {
  if (TControl* owner = SkinData ? SkinData->OwnerControl : nullptr) {
    StdColor = owner->Color();
    StdFontColor = owner->Font()->Color();
  }
}

void TacEditWnd::RestoreStdProps() {
  TControl* owner = SkinData ? SkinData->OwnerControl : nullptr;
  if (!owner || owner->HasState(csDestroying)) return;
  if (StdColor != clNone) owner->SetColor(StdColor);
  if (StdFontColor != clNone) owner->Font()->SetColor(StdFontColor);
}

void TacEditWnd::SetSkinParams() {
  PreventStyleChange = true;
  ParamsSet = true;
  const TsGeneralData* section = SectionOf(SkinData);
  if (TControl* owner = SkinData->OwnerControl) {
    if (section && !SkinData->CustomColor() && owner->Color() != section->Color)
      owner->SetColor(section->Color);
    const TColor font = static_cast<TColor>(section ? section->HotFontColor[0] : 0);
    if (section && !SkinData->CustomFont() && owner->Font()->Color() != font)
      owner->Font()->SetColor(font);
  } else {
    BgColor = (!DialogChild && section) ? section->Color : clWindow;
  }
  PreventStyleChange = false;
  SkinData->BGChanged = true;
}

HBRUSH TacEditWnd::CtlColorBrush(HDC dc, TColor textColor) {
  ::SetTextColor(dc, ColorToRGB(textColor));
  ::SetBkColor(dc, ColorToRGB(BgColor));
  if (!brush_ || brushColor_ != BgColor) {
    brush_.reset(::CreateSolidBrush(ColorToRGB(BgColor)));
    brushColor_ = BgColor;
  }
  BgBrush = brush_.get();
  return BgBrush;
}

bool TacEditWnd::OnSkinCmd(TMessage& message) {
  switch (SkinCmdOf(message)) {
    case AC_REFRESH:
      if (message.LParam == reinterpret_cast<LPARAM>(Manager())) SetSkinParams();
      return false;
    case AC_ENDPARENTUPDATE:
      if (SkinData->Updating) {
        SkinData->SetUpdating(false);
        ::RedrawWindow(CtrlHandle, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
      }
      return true;
    case AC_CTRLHANDLED:
      AnswerHandled(message);
      return true;
    case AC_PREPARECACHE:
      PrepareWndCache(SkinData, CtrlHandle, DialogChild);
      return true;
    case AC_GETSKININDEX:
      message.Result = SkinData->SkinIndex + 1;
      return true;
  }
  return false;
}

void TacEditWnd::PaintFrame(HDC dc) {
  TBitmap* cache = SkinData->CacheBmp.get();
  if (cache && !cache->Empty()) {
    SaveDCScope state(dc);
    BitBltBorder(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0,
                 LeftEdge);
  }
  PaintScrollBars(this, CtrlHandle, dc, -1);
}

void TacEditWnd::OnNcPaint(TMessage& message) {
  GetWndRectInParent(CtrlHandle, ParentWnd, WndRect, Caption, WndPos, WndSize, ParentRect);
  SkinData->SetUpdating(SkinData->GetUpdating());
  if (SkinData->Updating) return;
  if (SkinData->BGChanged) {
    if (!ParamsSet) SetSkinParams();
    PrepareWndCache(SkinData, CtrlHandle, DialogChild);
  }
  if (!DialogChild) UpdateWndCorners(SkinData, 0, this);
  UniqueWindowDC dc = UniqueWindowDC::Window(CtrlHandle);
  PaintFrame(dc.get());
  message.Result = 0;
}

bool TacEditWnd::SetsScrollInfoWhilePainting() const {
  const TControl* owner = SkinData ? SkinData->OwnerControl : nullptr;
  return dynamic_cast<const TCustomListView*>(owner) || dynamic_cast<const TCustomTreeView*>(owner);
}

void TacEditWnd::PrintClient(HDC dc) {
  TBitmap* cache = SkinData->CacheBmp.get();
  if (!cache) return;
  SaveDCScope state(dc);
  POINT old{};
  ::OffsetWindowOrgEx(dc, -LeftEdge, -LeftEdge, &old);
  const int w = cache->Width() - 2 * LeftEdge -
                (VBar && VBar->Visible ? GetScrollMetric(VBar.get(), true, false) : 0);
  const int h = cache->Height() - 2 * LeftEdge -
                (HBar && HBar->Visible ? GetScrollMetric(HBar.get(), true, false) : 0);
  ::IntersectClipRect(dc, 0, 0, w, h);
  const WPARAM wdc = reinterpret_cast<WPARAM>(dc);
  ::SendMessageW(CtrlHandle, WM_ERASEBKGND, wdc, 0);
  ::SendMessageW(CtrlHandle, WM_PAINT, wdc, 0);
  ::SendMessageW(CtrlHandle, WM_PRINTCLIENT, wdc, PRF_CLIENT | PRF_OWNED);
}

void TacEditWnd::StartPrint() {
  GetWndRectInParent(CtrlHandle, ParentWnd, WndRect, Caption, WndPos, WndSize, ParentRect);
  SkinData->SetUpdating(false);
  SkinData->BGChanged = true;
  if (!ParamsSet) SetSkinParams();
}

void TacEditWnd::OnPrint(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  message.Result = 0;
  if (!dc) return;
  StartPrint();
  PrepareWndCache(SkinData, CtrlHandle, DialogChild);
  if (!DialogChild) UpdateWndCorners(SkinData, 0, this);
  PaintFrame(dc);
  PrintClient(dc);
}

void TacEditWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacBaseWnd::WndProc(message);
  switch (message.Msg) {
    case SM_ALPHACMD:
      if (OnSkinCmd(message)) return;
      break;
    case WM_PAINT:
      if (!Visible(CtrlHandle)) break;
      SkinData->SetUpdating(SkinData->GetUpdating());
      if (SkinData->Updating) {
        PAINTSTRUCT ps;
        ::BeginPaint(CtrlHandle, &ps);
        ::EndPaint(CtrlHandle, &ps);
        return;
      }
      if (!ParamsSet) SetSkinParams();
      break;
    case WM_ERASEBKGND:
      if (!Visible(CtrlHandle)) break;
      if (SkinData->GetUpdating()) return;
      if (!ParamsSet) SetSkinParams();
      break;
    case WM_NCPAINT:
      if (Visible(CtrlHandle)) return OnNcPaint(message);
      break;
    case WM_PRINT:
      return OnPrint(message);
  }
  TacBaseWnd::WndProc(message);
  if (Destroyed) return;
  // Not while the owner fills the window in a batch (its redraw is off and
  // the window counts as hidden then): the bars are read at the batch's end.
  if ((MayResetScrollInfo(message.Msg, message.WParam) ||
       (message.Msg == WM_PAINT && SetsScrollInfoWhilePainting())) &&
      Visible(CtrlHandle))
    UpdateScrolls(this, true);
  switch (message.Msg) {
    case WM_SIZE:
      if (Visible(CtrlHandle)) ::SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
    case CN_KEYDOWN:
    case CN_KEYDOWN + 1:
      if (!Scrolling) UpdateScrolls(this, true);
      break;
  }
}

void RefreshEditWnd(TsCommonData* skinData, TacEditWndPtr& adapter) {
  auto* control = dynamic_cast<TWinControl*>(skinData ? skinData->OwnerControl : nullptr);
  if (!control || !control->HandleAllocated()) return;
  if (skinData->Skinned(false)) {
    if (adapter && adapter->Destroyed) adapter.reset();
    if (!adapter)
      adapter = TacMainWnd::Create<TacEditWnd>(control->WindowHandle(), skinData,
                                               skinData->GetSkinManager(), L"EDIT", true);
  } else {
    adapter.reset();
  }
}

// ---------------------------------------------------------------- list view

void TacListViewWnd::SaveStdProps() {
  TacEditWnd::SaveStdProps();
  stdBk_ = static_cast<COLORREF>(::SendMessageW(CtrlHandle, LVM_GETBKCOLOR, 0, 0));
  stdTextBk_ = static_cast<COLORREF>(::SendMessageW(CtrlHandle, LVM_GETTEXTBKCOLOR, 0, 0));
  stdText_ = static_cast<COLORREF>(::SendMessageW(CtrlHandle, LVM_GETTEXTCOLOR, 0, 0));
  saved_ = true;
}

void TacListViewWnd::RestoreStdProps() {
  TacEditWnd::RestoreStdProps();
  // The window's own colours too: a bare list view has no control that
  // would set them again.
  if (!saved_ || !::IsWindow(CtrlHandle)) return;
  ::SendMessageW(CtrlHandle, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(stdBk_));
  ::SendMessageW(CtrlHandle, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(stdTextBk_));
  ::SendMessageW(CtrlHandle, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(stdText_));
}

void TacListViewWnd::SetSkinParams() {
  TacEditWnd::SetSkinParams();
  if (!CtrlHandle) return;
  COLORREF bk = ColorToRGB(clWindow), text = ColorToRGB(clWindowText);
  const TsGeneralData* section = SectionOf(SkinData);
  if (!DialogChild && section) {
    bk = ColorToRGB(section->Color);
    text = ColorToRGB(section->FontColor[0]);
  }
  if (static_cast<COLORREF>(::SendMessageW(CtrlHandle, LVM_GETBKCOLOR, 0, 0)) != bk) {
    ::SendMessageW(CtrlHandle, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(bk));
    ::SendMessageW(CtrlHandle, LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(bk));
  }
  if (static_cast<COLORREF>(::SendMessageW(CtrlHandle, LVM_GETTEXTCOLOR, 0, 0)) != text)
    ::SendMessageW(CtrlHandle, LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text));
}

void TacListViewWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacEditWnd::WndProc(message);
  switch (message.Msg) {
    case WM_HSCROLL:
      if (LOWORD(message.WParam) == SB_THUMBTRACK) {
        const int pos = HIWORD(message.WParam);
        ::SendMessageW(CtrlHandle, LVM_SCROLL, pos - ScrollEngine.TrackPos, 0);
        return;
      }
      break;
    case WM_VSCROLL: {
      if (LOWORD(message.WParam) != SB_THUMBTRACK) return PassOn(message);
      const int pos = HIWORD(message.WParam);
      if (pos == ScrollEngine.TrackPos) break;
      int d = 1;
      if (::SendMessageW(CtrlHandle, LVM_GETVIEW, 0, 0) == LV_VIEW_DETAILS) {
        RECT r{LVIR_BOUNDS, 0, 0, 0};
        if (::SendMessageW(CtrlHandle, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r)))
          d = std::max<int>(1, r.bottom - r.top);
      }
      ::SendMessageW(CtrlHandle, LVM_SCROLL, 0, (pos - ScrollEngine.TrackPos) * d);
      return;
    }
  }
  TacEditWnd::WndProc(message);
  if (Destroyed) return;
  switch (message.Msg) {
    case LVM_ARRANGE:
    case WM_STYLECHANGED:
      UpdateScrolls(this, true);
      break;
    case WM_LBUTTONUP:
      ::ReleaseCapture();
      break;
  }
}

// ---------------------------------------------------------------- tree view

void TacTreeViewWnd::SaveStdProps() {
  TacEditWnd::SaveStdProps();
  stdBk_ = static_cast<COLORREF>(::SendMessageW(CtrlHandle, TVM_GETBKCOLOR, 0, 0));
  stdText_ = static_cast<COLORREF>(::SendMessageW(CtrlHandle, TVM_GETTEXTCOLOR, 0, 0));
  stdLine_ = static_cast<COLORREF>(::SendMessageW(CtrlHandle, TVM_GETLINECOLOR, 0, 0));
  saved_ = true;
}

void TacTreeViewWnd::RestoreStdProps() {
  // Giving the colours back: a tree left in the skin's colours would keep
  // them after the skin is gone.
  TacEditWnd::RestoreStdProps();
  if (!saved_ || !::IsWindow(CtrlHandle)) return;
  ::SendMessageW(CtrlHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(stdBk_));
  ::SendMessageW(CtrlHandle, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(stdText_));
  ::SendMessageW(CtrlHandle, TVM_SETLINECOLOR, 0, static_cast<LPARAM>(stdLine_));
}

void TacTreeViewWnd::SetSkinParams() {
  ParamsSet = true;
  const TsGeneralData* section = SectionOf(SkinData);
  TColor back = clWindow, text = clWindowText;
  if (!DialogChild && section) {
    if (TControl* owner = SkinData->OwnerControl)
      if (owner->Font()->Color() != static_cast<TColor>(section->HotFontColor[0]))
        owner->Font()->SetColor(section->HotFontColor[0]);
    back = section->HotColor;
    text = static_cast<TColor>(section->HotFontColor[0]);
  }
  // The tree draws names in its own text colour, not the font's: without
  // it the names stay black on a dark skin. Lines and the +/- boxes take
  // the text colour a little towards the background.
  back = ColorToRGB(back);
  text = ColorToRGB(text);
  ::SendMessageW(CtrlHandle, TVM_SETBKCOLOR, 0, static_cast<LPARAM>(back));
  ::SendMessageW(CtrlHandle, TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text));
  ::SendMessageW(CtrlHandle, TVM_SETLINECOLOR, 0,
                 static_cast<LPARAM>(MixColors(text, back, kDisabledTextFade)));
  SkinData->BGChanged = true;
}

void TacTreeViewWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacEditWnd::WndProc(message);
  switch (message.Msg) {
    case WM_ERASEBKGND: {
      SkinData->SetUpdating(SkinData->GetUpdating());
      message.Result = 0;
      if (SkinData->Updating) return;
      if (SkinData->BGChanged) PrepareWndCache(SkinData, CtrlHandle, DialogChild);
      const TsGeneralData* section = SectionOf(SkinData);
      const TColor c = (DialogChild || !section) ? clWindow : section->HotColor;
      HDC given = reinterpret_cast<HDC>(message.WParam);
      UniqueWindowDC own;
      if (!given) own = UniqueWindowDC::Window(CtrlHandle);
      FillDC(given ? given : own.get(), TRect{0, 0, WndSize.x, WndSize.y}, c);
      return;
    }
    case WM_LBUTTONUP:
      TacEditWnd::WndProc(message);
      ::ReleaseCapture();
      return;
  }
  TacEditWnd::WndProc(message);
}
