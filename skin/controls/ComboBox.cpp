#include "skin/controls/ComboBox.h"

#include "framework/Handles.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/Corners.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinUtils.h"
#include "skin/windows/ComboWnd.h"

namespace {

bool IsCommand(const TMessage& m, WORD code) {
  return (m.Msg == WM_COMMAND || m.Msg == CN_COMMAND) && HIWORD(m.WParam) == code;
}

// Binds a canvas to a DC for the scope, also when drawing throws.
class CanvasOnDC {
 public:
  CanvasOnDC(TCanvas* canvas, HDC dc) : canvas_(canvas) {
    canvas_->Lock();
    canvas_->SetHandle(dc);
  }
  ~CanvasOnDC() {
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
  }
  CanvasOnDC(const CanvasOnDC&) = delete;
  CanvasOnDC& operator=(const CanvasOnDC&) = delete;

 private:
  TCanvas* canvas_;
};

}  // namespace

TsCustomComboBox::TsCustomComboBox(TComponent* AOwner)
    : TsBoundControl(AOwner, ckEdit) {
  SetDropDownCount(16);
  if (SkinData->SkinSection().empty()) SkinData->SetSkinSection(L"COMBOBOX");
}

TsCustomComboBox::~TsCustomComboBox() {
  editChild_.reset();
  ReleaseList();
}

// The list goes back to a plain bordered window without its adapter.
void TsCustomComboBox::ReleaseList() {
  if (listHandle_ && ::IsWindow(listHandle_) && listAdapter_ && !listAdapter_->Destroyed) {
    const LONG_PTR style = ::GetWindowLongPtrW(listHandle_, GWL_STYLE);
    ::SetWindowLongPtrW(listHandle_, GWL_STYLE, (style & ~WS_THICKFRAME) | WS_BORDER);
    UninitScrollWnd(listHandle_, true, false, listAdapter_);
  }
  listAdapter_.reset();
  listHandle_ = nullptr;
}

void TsCustomComboBox::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  SkinData->Invalidate();
}

void TsCustomComboBox::Loaded() {
  TsBoundControl::Loaded();
  ApplySectionColors();
}

void TsCustomComboBox::ApplySectionColors() {
  const TsGeneralData* s = IsSkinned() ? SkinData->Section() : nullptr;
  if (!s) return;
  if (!SkinData->CustomColor() && Color() != s->Color) SetColor(s->Color);
  const TColor font = static_cast<TColor>(s->FontColor[0]);
  if (!SkinData->CustomFont() && Font()->Color() != font) Font()->SetColor(font);
}

void TsCustomComboBox::CreateWnd() {
  TCustomComboBox::CreateWnd();
  // A new window has a new list; an adapter of the old one is gone with it.
  if (listAdapter_ && listAdapter_->Destroyed) listAdapter_.reset();
  listHandle_ = nullptr;
  editChild_.reset();
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (::GetComboBoxInfo(WindowHandle(), &info) && info.hwndItem && info.hwndItem != WindowHandle())
    editChild_ = std::make_unique<TWindowSubclass>(
        info.hwndItem, [this](UINT msg, WPARAM w, LPARAM l) { return EditChildProc(msg, w, l); });
  ApplySectionColors();
}

void TsCustomComboBox::Invalidate() {
  if (SkinData && HandleAllocated() && ComboFocused()) SkinData->Focused = true;
  TCustomComboBox::Invalidate();
}

bool TsCustomComboBox::ComboFocused() const {
  if (HandleAllocated()) {
    const HWND focus = ::GetFocus();
    const HWND wnd = WindowHandle();
    if (focus && (focus == wnd || ::IsChild(wnd, focus) || focus == ListHandle())) return true;
  }
  return SkinData && SkinData->Focused;
}

bool TsCustomComboBox::OwnerDrawStyle() const {
  return Style() == csOwnerDrawFixed || Style() == csOwnerDrawVariable;
}

bool TsCustomComboBox::OwnerDrawn() const { return OwnerDrawStyle() && OnDrawItem; }

TRect TsCustomComboBox::ButtonRect() const {
  const int w = Style() != csSimple && showButton_ ? ::GetSystemMetrics(SM_CXVSCROLL) : 0;
  const int left = Width() - w - 3;
  return TRect{left, 3, left + w, Height() - 3};
}

int TsCustomComboBox::CacheHeight() const {
  const TBitmap* cache = SkinData->CacheBmp.get();
  return cache && cache->Height() > 0 ? cache->Height() : Height();
}

// ---------------------------------------------------------------- messages

void TsCustomComboBox::SkinnedMessage(TMessage& m) {
  if (OwnSkinnedMessage(m)) return;
  CommonWndProc(m, SkinData.get());
  TCustomComboBox::WndProc(m);
  AfterSkinnedMessage(m);
}

TacSkinChangeRule TsCustomComboBox::SkinChangeRule(WORD) const {
  TacSkinChangeRule rule;
  rule.handledForOthers = false;
  return rule;
}

void TsCustomComboBox::AfterSkinChange(TMessage& m) {
  switch (SkinCmdOf(m)) {
    case AC_SETNEWSKIN:
      if (listAdapter_ && !listAdapter_->Destroyed && ::IsWindow(listHandle_))
        ::SendMessageW(listHandle_, m.Msg, m.WParam, m.LParam);
      return;
    case AC_REMOVESKIN:
      RestoreWindowColours(*SkinData, this);
      ReleaseList();
      if (HandleAllocated()) RecreateWnd();
      return;
    case AC_REFRESH:
      ApplySectionColors();
      Repaint();
      return;
  }
}

// A parent that has painted names no manager: the combo box that held
// back its painting while the parent was updating paints now.
bool TsCustomComboBox::OtherSkinCommand(TMessage& m) {
  if (SkinCmdOf(m) != AC_ENDPARENTUPDATE || !SkinData->GetUpdating()) return false;
  SkinData->Updating = false;
  Repaint();
  return true;
}

// Read-only: no arrow keys, no notice that the list opens, no clicks that
// would open it (a click only focuses, a double click also tells).
bool TsCustomComboBox::DropMessage(TMessage& m) {
  if (!readOnly_) return false;
  switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
    case CN_SYSCHAR:
      return m.WParam == VK_UP || m.WParam == VK_DOWN;
    case WM_COMMAND:
    case CN_COMMAND:
      return IsCommand(m, CBN_DROPDOWN);
    case WM_LBUTTONDOWN:
      if (HandleAllocated()) ::SetFocus(WindowHandle());
      return true;
    case WM_LBUTTONDBLCLK:
      if (HandleAllocated()) ::SetFocus(WindowHandle());
      if (OnDblClick) OnDblClick(this);
      return true;
  }
  return false;
}

void TsCustomComboBox::SetHot(bool hot) {
  SkinData->MouseAbove = hot;
  SkinData->BGChanged = true;
  Repaint();
}

bool TsCustomComboBox::OwnSkinnedMessage(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT: {
      PaintScope paint(WindowHandle());
      PaintCombo(reinterpret_cast<HDC>(m.WParam));
      return true;
    }
    case WM_NCPAINT:
      PaintCombo(nullptr);
      return true;
    case WM_PRINT:
      SkinData->Updating = false;
      if (SkinData->BGChanged) PrepareCache();
      UpdateCorners(SkinData.get(), 0);
      PaintCombo(reinterpret_cast<HDC>(m.WParam));
      return true;
    case WM_SETFOCUS:
    case CM_ENTER:
      if (CanFocus()) {
        SkinData->Focused = true;
        SkinData->MouseAbove = false;
        SkinData->BGChanged = true;
      }
      TCustomComboBox::WndProc(m);
      return true;
    case WM_KILLFOCUS:
    case CM_EXIT: {
      // Focus passing to our own edit stays with the combo box.
      const HWND to = m.Msg == WM_KILLFOCUS ? reinterpret_cast<HWND>(m.WParam) : nullptr;
      const bool inside = to && HandleAllocated() && (::IsChild(WindowHandle(), to) || to == ListHandle());
      if (!inside) {
        SetDroppedDown(false);
        SkinData->Focused = false;
        SkinData->MouseAbove = false;
      }
      SkinData->BGChanged = true;
      Repaint();
      TCustomComboBox::WndProc(m);
      return true;
    }
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // While the list is open the hot look stays as it is.
      if (DroppedDown()) {
        TCustomComboBox::WndProc(m);
        return true;
      }
      SetHot(m.Msg == CM_MOUSEENTER);
      TCustomComboBox::WndProc(m);
      return true;
    case WM_CTLCOLORLISTBOX:
      OnCtlColorListBox(m);
      return false;
    case WM_COMMAND:
      if (readOnly_) return true;
      droppedState_ = false;
      PaintCombo(nullptr);
      return false;
    case CN_COMMAND:
      switch (HIWORD(m.WParam)) {
        case CBN_DROPDOWN:
          droppedState_ = true;
          break;
        case CBN_CLOSEUP:
          droppedState_ = false;
          SkinData->BGChanged = true;
          PaintCombo(nullptr);
          break;
      }
      return false;
  }
  return false;
}

void TsCustomComboBox::AfterSkinnedMessage(TMessage& m) {
  if (Destroying()) return;
  switch (m.Msg) {
    case SM_ALPHACMD:
      if (SkinCmdOf(m) == AC_ISDROPPEDDOWN) m.Result = DroppedDown() ? 1 : 0;
      break;
    case WM_SETFONT:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
      SkinData->BGChanged = true;
      PaintCombo(nullptr);
      break;
    case CN_COMMAND:
      if (HIWORD(m.WParam) != CBN_SELCHANGE) break;
      [[fallthrough]];
    case CB_SETCURSEL:
    case CM_TEXTCHANGED:
      SkinData->BGChanged = true;
      Repaint();
      break;
  }
}

// A list long enough to scroll is adopted the first time it asks for its
// colours and keeps its adapter for the life of the window.
void TsCustomComboBox::OnCtlColorListBox(const TMessage& m) {
  const HWND list = reinterpret_cast<HWND>(m.LParam);
  if (listAdapter_ && (listAdapter_->Destroyed || listHandle_ != list)) {
    listAdapter_.reset();
    listHandle_ = nullptr;
  }
  if (listAdapter_ || !list || HasState(csLoading)) return;
  if (Items()->Count() <= DropDownCount()) return;
  auto adapter = TacMainWnd::Create<TacComboListWnd>(list, nullptr, SkinData->GetSkinManager(),
                                                     L"EDIT", true);
  adapter->SimpleStyle = Style() == csSimple;
  listHandle_ = list;
  listAdapter_ = std::move(adapter);
  ++listAdaptersMade_;
}

// ---------------------------------------------------------------- painting

void TsCustomComboBox::PaintCombo(HDC dc) {
  if (!HandleAllocated() || !IsShowing()) return;
  UniqueWindowDC own;
  if (!dc) {
    own = UniqueWindowDC::Client(WindowHandle());
    dc = own.get();
  }
  SkinData->Updating = SkinData->GetUpdating();
  if (SkinData->Updating || !dc) return;
  MarkStaleByParent(this, SkinData.get());
  if (SkinData->BGChanged) PrepareCache();
  UpdateCorners(SkinData.get(), 0);
  TBitmap* cache = SkinData->CacheBmp.get();
  HDC src = cache->Canvas()->Handle();
  const int h = CacheHeight();
  if (Enabled() && OwnerDrawStyle()) {
    PaintOwnerDrawnField(dc, h);
    return;
  }
  const bool borderOnly = Enabled() && ((Style() == csDropDown && ComboFocused()) || Style() == csSimple);
  if (!borderOnly) {
    ::BitBlt(dc, 0, 0, Width(), h, src, 0, 0, SRCCOPY);
    return;
  }
  // The edit child paints the field itself.
  BitBltBorder(dc, 0, 0, Width(), h, src, 0, 0, 3);
  if (Style() == csSimple) return;
  const TRect b = ButtonRect();
  ::BitBlt(dc, b.left, b.top, WidthOf(b), HeightOf(b), src, b.left, b.top, SRCCOPY);
}

// Border and button from the cache, then the program draws the selected
// item into the field.
void TsCustomComboBox::PaintOwnerDrawnField(HDC dc, int h) {
  HDC src = SkinData->CacheBmp->Canvas()->Handle();
  BitBltBorder(dc, 0, 0, Width(), h, src, 0, 0, 3);
  const TRect b = ButtonRect();
  ::BitBlt(dc, b.left, b.top, WidthOf(b), HeightOf(b), src, b.left, b.top, SRCCOPY);
  TOwnerDrawState state = odComboBoxEdit;
  if (ComboFocused()) state |= odFocused | odSelected;
  CanvasOnDC bound(Canvas(), dc);
  DrawItem(ItemIndex(), RECT{3, 3, b.left, h - 3}, state);
}

void TsCustomComboBox::DrawItem(int index, RECT rect, TOwnerDrawState state) {
  TCanvas* c = Canvas();
  const bool focused = state & odFocused;
  if (IsSkinned() && (state & odComboBoxEdit)) {
    TBitmap* cache = SkinData->CacheBmp.get();
    if (cache && !cache->Empty())
      ::BitBlt(c->Handle(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               cache->Canvas()->Handle(), rect.left, rect.top, SRCCOPY);
    if (!Enabled() || readOnly_) return;
    c->SetFont(Font());
    if (droppedState_ || !(state & (odSelected | odFocused))) {
      c->Font()->SetColor(Font()->Color());
      c->Brush()->SetStyle(TBrushStyle::bsClear);
    } else {
      c->Font()->SetColor(clHighlightText);
      c->Brush()->SetStyle(TBrushStyle::bsSolid);
      c->Brush()->SetColor(clHighlight);
      c->FillRect(rect);
    }
  } else {
    c->SetFont(Font());
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    if (state & (odSelected | odFocused)) {
      c->Font()->SetColor(clHighlightText);
      c->Brush()->SetColor(clHighlight);
      if (!OwnerDrawStyle()) c->FillRect(rect);
    } else {
      c->Font()->SetColor(Enabled() ? Font()->Color() : clBtnShadow);
      c->Brush()->SetColor(Color());
      c->FillRect(rect);
    }
  }
  if (OnDrawItem) OnDrawItem(this, index, rect, state);
  else DrawItemText(index, rect);
  if (focused) c->DrawFocusRect(rect);
}

void TsCustomComboBox::DrawItemText(int index, const RECT& rect) {
  if (index < 0 || index >= Items()->Count()) return;
  const int k = Style() != csDropDown ? 1 : 0;
  Canvas()->TextRect(TRect{rect}, rect.left + k, rect.top + k, Items()->Strings(index));
}

void TsCustomComboBox::PrepareCache() {
  SkinData->InitCacheBmp();
  const int state = SkinData->ControlIsActive() ? 1 : 0;
  const TCacheInfo ci = GetParentCache(SkinData.get());
  TBitmap* cache = SkinData->CacheBmp.get();
  if (Style() == csSimple) {
    const int h = ItemHeight() + 8;
    cache->SetSize(Width(), h);
    PaintSkinControl(SkinData.get(), ci, true, state, TRect{0, 0, Width(), h},
                     TPoint{Left(), Top()}, cache, false);
    SkinData->BGChanged = false;
    return;
  }
  PaintSkinControl(SkinData.get(), ci, true, state, TRect{0, 0, Width(), Height()},
                   TPoint{Left(), Top()}, cache, false);
  if (showButton_)
    PaintComboButtonFace(cache, SkinData->GetSkinManager(), ButtonRect(),
                         droppedState_ ? 2 : state);
  if (!OwnerDrawn()) {
    const bool focused = Style() == csDropDownList && Enabled() && ComboFocused();
    PaintText(TRect{3, 3, ButtonRect().left, Height() - 3}, focused);
  }
  if (!Enabled())
    ApplyDisabledKind(TacBmpView(*cache), disabledKind_, Parent(), ci, TPoint{Left(), Top()});
  SkinData->BGChanged = false;
}

void TsCustomComboBox::PaintText(const TRect& r, bool focused) {
  TCanvas* c = SkinData->CacheBmp->Canvas();
  c->SetFont(Font());
  if (focused) {
    c->Font()->SetColor(clHighlightText);
    c->Brush()->SetStyle(TBrushStyle::bsSolid);
    c->Brush()->SetColor(clHighlight);
    c->FillRect(r);
  } else {
    c->Brush()->SetColor(Color());
    c->Brush()->SetStyle(TBrushStyle::bsClear);
  }
  const std::wstring text = Text();
  if (!text.empty()) {
    const int k = Style() != csDropDown ? 1 : 0;
    int x = r.left + k;
    const int tw = c->TextWidth(text);
    if (alignment_ == taRightJustify) x = r.right - tw - k;
    else if (alignment_ == taCenter) x = (r.left + r.right - tw) / 2;
    c->TextRect(r, x, r.top + k, text);
  }
  if (focused) c->DrawFocusRect(r);
}

// The edit of a drop-down combo box: read-only drops keys and editing;
// while the combo box is not being edited the edit shows the skinned face.
LRESULT TsCustomComboBox::EditChildProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (readOnly_) {
    switch (msg) {
      case WM_KEYDOWN:
      case WM_KEYUP:
      case WM_CHAR:
      case WM_SYSKEYUP:
      case WM_CUT:
      case WM_PASTE:
      case WM_CLEAR:
      case WM_UNDO:
        return 0;
    }
  }
  const bool showFace = IsSkinned() && Style() != csSimple &&
                        (!ComboFocused() || !Enabled() || readOnly_);
  if (showFace) {
    const HWND edit = editChild_->Handle();
    switch (msg) {
      case WM_PAINT: {
        PaintScope paint(edit);
        TBitmap* cache = SkinData->CacheBmp.get();
        if (!SkinData->BGChanged && cache && !cache->Empty()) {
          UniqueWindowDC dc = UniqueWindowDC::Client(edit);
          ::BitBlt(dc.get(), 0, 0, Width() - 6, cache->Height() - 6, cache->Canvas()->Handle(), 3,
                   3, SRCCOPY);
        }
        return 0;
      }
      case WM_ERASEBKGND:
      case WM_NCPAINT:
        return 1;
    }
  }
  return editChild_->CallPrevious(msg, wParam, lParam);
}
