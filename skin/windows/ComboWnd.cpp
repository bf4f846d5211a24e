#include "skin/windows/ComboWnd.h"

#include "framework/Controls.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/windows/AdapterPaint.h"
#include "skin/windows/WndCache.h"

namespace {

LONG_PTR StyleOf(HWND wnd) { return ::GetWindowLongPtrW(wnd, GWL_STYLE); }
bool IsSimple(HWND combo) { return (StyleOf(combo) & 3) == CBS_SIMPLE; }

}  // namespace

// ---------------------------------------------------------------- combo

TacComboBoxWnd::TacComboBoxWnd(HWND AHandle, TsCommonData* ASkinData,
                               TsSkinManager* ASkinManager, const std::wstring& SkinSection)
    : TacEditWnd(AHandle, ASkinData, ASkinManager, SkinSection),
      ButtonSkinData(std::make_unique<TsCommonData>(nullptr, true)) {
  if (SkinManager) ButtonSkinData->SetSkinManager(SkinManager);
  ButtonSkinData->SetSkinSection(L"COMBOBTN");
}

TacComboBoxWnd::~TacComboBoxWnd() {
  ListAdapter.reset();
  ButtonSkinData.reset();
}

TRect TacComboBoxWnd::ButtonRect() const {
  TRect r{};
  ::GetWindowRect(CtrlHandle, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int bw = IsSimple(CtrlHandle) ? 0 : ::GetSystemMetrics(SM_CXVSCROLL);
  const int left =
      (::GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_RTLREADING) ? 2 : w - bw - 2;
  return TRect{left, 2, left + bw, h - 2};
}

void PaintComboButton(TacComboBoxWnd* adapter, HDC dc) {
  TsSkinManager* manager = adapter->Manager();
  TBitmap* cache = adapter->SkinData->CacheBmp.get();
  if (!manager || !cache || cache->Empty() || !dc) return;
  int state = 0;
  if (adapter->ListWnd && ::IsWindowVisible(adapter->ListWnd))
    state = 2;
  else if (adapter->SkinData->ControlIsActive() || manager->ActiveControl == adapter->CtrlHandle)
    state = 1;
  const TRect b = adapter->ButtonRect();
  if (b.right <= b.left || b.bottom <= b.top) return;
  auto bmp = CreateBmp24(cache->Width(), cache->Height());
  ::BitBlt(bmp->Canvas()->Handle(), 0, 0, cache->Width(), cache->Height(),
           cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  PaintComboButtonFace(bmp.get(), manager, b, state);
  ::BitBlt(dc, b.left, b.top, b.right - b.left, b.bottom - b.top, bmp->Canvas()->Handle(), b.left,
           b.top, SRCCOPY);
}

void PaintComboButtonFace(TBitmap* bmp, TsSkinManager* manager, const TRect& b, int state) {
  if (!bmp || bmp->Empty() || !manager || b.right <= b.left || b.bottom <= b.top) return;
  const TsCachedIndexes& ci = manager->CachedIndexes;
  if (manager->IsValidSkinIndex(ci.ComboBtnIndex)) {
    // What lies under the button shows through its transparent parts.
    auto under = CreateBmpLike(*bmp);
    ::BitBlt(under->Canvas()->Handle(), 0, 0, bmp->Width(), bmp->Height(), bmp->Canvas()->Handle(),
             0, 0, SRCCOPY);
    PaintItemWithIndexes(ci.ComboBtnIndex, ci.ComboBtnBorder, ci.ComboBtnBGTexture,
                         ci.ComboBtnBGHotTexture, L"COMBOBTN", MakeCacheInfo(under.get(), 0, 0),
                         true, state, b, TPoint{b.left, b.top}, bmp, manager);
  }
  const TPoint cell = MaskCellSize(manager, ci.ComboGlyph);
  if (cell.x > 0)
    DrawMaskCell(bmp, manager, ci.ComboGlyph,
                 TPoint{b.left + (b.right - b.left - cell.x) / 2, (bmp->Height() - cell.y) / 2},
                 state);
}

// The list asks for its colours at every paint: the first time its adapter
// is made, and every time it gets the section's colours with a brush the
// list adapter owns (not a new one per message).
void TacComboBoxWnd::OnCtlColorListBox(TMessage& message) {
  PassOn(message);
  if (!ListWnd) {
    ListWnd = reinterpret_cast<HWND>(message.LParam);
    if (!ListAdapter && ListWnd) {
      const bool hasItems = ::SendMessageW(CtrlHandle, CB_GETCOUNT, 0, 0) > 0;
      ListAdapter = TacMainWnd::Create<TacComboListWnd>(ListWnd, nullptr, SkinManager, L"EDIT",
                                                        hasItems);
      // A bare list takes the dialog flag of its combo.
      ListAdapter->DialogChild = DialogChild;
      ListAdapter->SimpleStyle = IsSimple(CtrlHandle);
      ++listAdaptersMade_;
    }
  }
  if (!ListAdapter || ListAdapter->Destroyed || DialogChild) return;
  if (SendSkinCmd(ListWnd, AC_GETSKININDEX, 0) <= 0) return;
  const TsGeneralData* section = ListAdapter->SkinData->Section();
  if (!section) return;
  ListAdapter->BgColor = section->Color;
  message.Result = reinterpret_cast<LRESULT>(ListAdapter->CtlColorBrush(
      reinterpret_cast<HDC>(message.WParam), static_cast<TColor>(section->FontColor[0])));
}

void TacComboBoxWnd::PrepareSimpleCache() {
  TRect r{};
  ::GetWindowRect(CtrlHandle, &r);
  const int w = r.right - r.left;
  const int h = static_cast<int>(::SendMessageW(CtrlHandle, CB_GETITEMHEIGHT, 0, 0)) + 8;
  SkinData->InitCacheBmp();
  TBitmap* cache = SkinData->CacheBmp.get();
  cache->SetSize(w, h);
  const TColor border =
      DefaultManager && DefaultManager->SkinData ? DefaultManager->SkinData->BorderColor : clFuchsia;
  if (DialogChild && border != clFuchsia) {
    TacBmpView v(cache);
    FillBmpRect(v, TRect{0, 0, w, h}, border);
    FillBmpRect(v, TRect{1, 1, w - 1, h - 1}, ColorToRGB(clWindow));
  } else {
    TCacheInfo ci = GetParentCacheHwnd(CtrlHandle);
    PaintSkinControl(SkinData, ci, true, SkinData->ControlIsActive() ? 1 : 0, TRect{0, 0, w, h},
                     TPoint{WndPos.x - ci.X, WndPos.y - ci.Y}, cache, false);
  }
  SkinData->BGChanged = false;
}

void TacComboBoxWnd::PaintComboText() {
  if ((StyleOf(CtrlHandle) & 3) != CBS_DROPDOWNLIST) return;
  TBitmap* cache = SkinData->CacheBmp.get();
  if (!cache || cache->Empty()) return;
  std::wstring text;
  const LRESULT sel = ::SendMessageW(CtrlHandle, CB_GETCURSEL, 0, 0);
  if (sel >= 0) {
    const LRESULT n = ::SendMessageW(CtrlHandle, CB_GETLBTEXTLEN, sel, 0);
    if (n > 0) {
      text.resize(static_cast<size_t>(n) + 1);
      ::SendMessageW(CtrlHandle, CB_GETLBTEXT, sel, reinterpret_cast<LPARAM>(text.data()));
      text.resize(static_cast<size_t>(n));
    }
  } else {
    GetWndText(CtrlHandle, text);
  }
  HDC dc = cache->Canvas()->Handle();
  SaveDCScope state(dc);
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(CtrlHandle, WM_GETFONT, 0, 0));
  SelectObjectScope useFont(dc, font);
  RECT r{3, 3, ButtonRect().left, cache->Height() - 3};
  if (::GetFocus() == CtrlHandle) {
    FillDC(dc, r, clHighlight);
    ::SetTextColor(dc, ColorToRGB(clHighlightText));
    ::SetBkMode(dc, TRANSPARENT);
    RECT t{r.left + 1, r.top + 1, r.right, r.bottom};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ::DrawFocusRect(dc, &r);
  } else {
    const TsGeneralData* section = SkinData->Section();
    ::SetTextColor(dc, ColorToRGB(section ? section->FontColor[0] : clWindowText));
    ::SetBkMode(dc, TRANSPARENT);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
}

void TacComboBoxWnd::OnPaint(TMessage& message) {
  GetWndRectInParent(CtrlHandle, ParentWnd, WndRect, Caption, WndPos, WndSize, ParentRect);
  PassOn(message);
  HDC given = reinterpret_cast<HDC>(message.WParam);
  UniqueWindowDC own;
  if (!given) own = UniqueWindowDC::Window(CtrlHandle);
  HDC dc = given ? given : own.get();
  TBitmap* cache = SkinData->CacheBmp.get();
  if (IsSimple(CtrlHandle)) {
    PrepareSimpleCache();
    if (cache) BitBltBorder(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, 3);
    return;
  }
  SkinData->BGChanged = true;
  SendSkinCmd(CtrlHandle, AC_PREPARECACHE, 0);
  cache = SkinData->CacheBmp.get();
  if (!cache || cache->Empty()) return;
  BitBltBorder(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, 3);
  PaintComboButton(this, dc);
}

void TacComboBoxWnd::OnPrint(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  message.Result = 0;
  if (!dc) return;
  StartPrint();
  if (IsSimple(CtrlHandle))
    PrepareSimpleCache();
  else
    PrepareWndCache(SkinData, CtrlHandle, DialogChild);
  PaintComboText();
  UpdateWndCorners(SkinData, 0, this);
  TBitmap* cache = SkinData->CacheBmp.get();
  if (!cache || cache->Empty()) return;
  ::BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  PaintComboButton(this, dc);
}

void TacComboBoxWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacEditWnd::WndProc(message);
  switch (message.Msg) {
    case SM_ALPHACMD:
      if (SkinCmdOf(message) == AC_MOUSEENTER || SkinCmdOf(message) == AC_MOUSELEAVE) {
        TacEditWnd::WndProc(message);
        UniqueWindowDC dc = UniqueWindowDC::Window(CtrlHandle);
        PaintComboButton(this, dc.get());
        return;
      }
      break;
    case WM_NCPAINT:
    case WM_ERASEBKGND:
      return;
    case WM_NCCALCSIZE:
      TacEditWnd::WndProc(message);
      LeftEdge = 3;
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_LBUTTONUP: {
      TacEditWnd::WndProc(message);
      if (Destroyed) return;
      UniqueWindowDC dc = UniqueWindowDC::Window(CtrlHandle);
      PaintComboButton(this, dc.get());
      return;
    }
    case WM_CTLCOLORLISTBOX:
      return OnCtlColorListBox(message);
    case WM_PAINT:
      return OnPaint(message);
    case WM_PRINT:
      return OnPrint(message);
  }
  TacEditWnd::WndProc(message);
}

// ---------------------------------------------------------------- list

TacComboListWnd::~TacComboListWnd() = default;

void TacComboListWnd::PrepareListCache() {
  GetWndRectInParent(CtrlHandle, ParentWnd, WndRect, Caption, WndPos, WndSize, ParentRect);
  if (SimpleStyle) {
    SendSkinCmd(CtrlHandle, AC_PREPARECACHE, 0);
    return;
  }
  SkinData->UpdateIndexes();
  SetSkinParams();
  SkinData->InitCacheBmp();
  TBitmap* cache = SkinData->CacheBmp.get();
  cache->SetSize(WndSize.x, WndSize.y);
  TacBmpView v(cache);
  FillBmpRect(v, TRect{0, 0, WndSize.x, WndSize.y}, clBlack);
  FillBmpRect(v, TRect{1, 1, WndSize.x - 1, WndSize.y - 1}, ColorToRGB(BgColor));
  SkinData->BGChanged = false;
}

void TacComboListWnd::OnNcPaint(TMessage& message) {
  message.Result = 0;
  if (Scrolling) return;
  PrepareListCache();
  if (!DialogChild) UpdateWndCorners(SkinData, 0, this);
  TBitmap* cache = SkinData->CacheBmp.get();
  UniqueWindowDC dc = UniqueWindowDC::Window(CtrlHandle);
  if (cache && !cache->Empty())
    BitBltBorder(dc.get(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, 2);
  PaintScrollBars(this, CtrlHandle, dc.get(), -1);
}

void TacComboListWnd::OnPrint(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  if (!dc || !::IsWindowVisible(CtrlHandle)) return PassOn(message);
  PrepareListCache();
  PassOn(message);
  if (message.Msg != WM_PRINT) return;
  if (::SendMessageW(CtrlHandle, LB_GETCOUNT, 0, 0) >= 1 && ScrollEngine.CapturedPart < 0 &&
      !Tracking) {
    TBitmap* cache = SkinData->CacheBmp.get();
    if (cache && !cache->Empty())
      BitBltBorder(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0, 3);
  }
  PaintScrollBars(this, CtrlHandle, dc, -1);
}

void TacComboListWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacEditWnd::WndProc(message);
  switch (message.Msg) {
    case WM_NCCALCSIZE:
      return TacScrollWnd::WndProc(message);
    case WM_NCPAINT:
      return OnNcPaint(message);
    case WM_PRINT:
    case WM_PRINTCLIENT:
      return OnPrint(message);
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_ERASEBKGND:
      return PassOn(message);
    case WM_TIMER:
      // Only the scroll engine's own timers; the list's are not wanted
      // while the skin tracks the open list.
      if (message.WParam == kHoverTimer || message.WParam == kRepeatTimer ||
          message.WParam == kRepeatDelayTimer)
        return TacScrollWnd::WndProc(message);
      return;
    case 0x01AE:
      Tracking = true;
      break;
    case 0x01AF:
      Tracking = false;
      SkinData->BGChanged = true;
      break;
  }
  TacEditWnd::WndProc(message);
  if (!Destroyed && message.Msg == WM_WINDOWPOSCHANGED) UpdateScrolls(this, true);
}
