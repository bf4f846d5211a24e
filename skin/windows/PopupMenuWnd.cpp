#include "skin/windows/PopupMenuWnd.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>

#include "framework/Forms.h"
#include "framework/Handles.h"
#include "framework/Menus.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/Regions.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinUtils.h"
#include "skin/windows/SkinableMenus.h"

TacPopupState& PopupState() {
  static TacPopupState state;
  return state;
}

TacDropDownRegistration& MenuDropDownOwner() {
  static TacDropDownRegistration registration;
  return registration;
}

void ReleaseDropDownButton() {
  TacDropDownRegistration& reg = MenuDropDownOwner();
  if (!reg.Button) return;
  if (reg.StoredShowHint && Application) Application->SetShowHint(true);
  reg.Button = nullptr;
}

void ResetPopupState() {
  TacPopupState& st = PopupState();
  st.MenuFirstItem = nullptr;
  st.MenuFrameBmp.reset();
  st.ExtraLineVisible = false;
  st.ExtraLineFetched = false;
}

TMenuItem* FirstPopupItem(TMenuItem* item) {
  TMenuItem* parent = item ? item->Parent() : nullptr;
  if (!parent) return item;
  for (int i = 0; i < parent->Count(); ++i)
    if (parent->Items(i)->Visible()) return parent->Items(i);
  return item;
}

bool InFirstColumn(TMenuItem* item) {
  TMenuItem* parent = item->Parent();
  if (!parent) return true;
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* it = parent->Items(i);
    if (it->Visible() && it->Break() != mbNone) return false;
    if (it == item) break;
  }
  return true;
}

// ---------------------------------------------------------------- extra line

namespace {
const wchar_t kDefaultExtraLineCaption[] = L"Don`t forget OnGetExtraLineData event...";

// Raised while the application is asked, so that measuring inside its
// handler does not ask again.
struct BusyScope {
  explicit BusyScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyScope() { flag_ = false; }
  bool& flag_;
};
}  // namespace

void FetchExtraLine(TsSkinableMenus& menus, TMenuItem* firstItem) {
  TacPopupState& st = PopupState();
  if (firstItem && firstItem->Name() == L"SkinSelectItem") {
    st.ExtraLineVisible = false;
    return;
  }
  BusyScope busy(st.ExtraLineBusy);
  st.ExtraLineSection = L"EXTRALINE";
  st.ExtraLineGlyph.reset();
  st.ExtraLineCaption = kDefaultExtraLineCaption;
  st.ExtraLineVisible = true;
  TsSkinManager* m = menus.Manager();
  if (m && m->OnGetMenuExtraLineData)
    m->OnGetMenuExtraLineData(firstItem, st.ExtraLineSection, st.ExtraLineCaption,
                              st.ExtraLineGlyph, st.ExtraLineVisible);
  std::erase(st.ExtraLineCaption, L'&');
  if (!st.ExtraLineVisible) st.ExtraLineGlyph.reset();
  st.ExtraLineFetched = true;
}

int CalcExtraLineWidth(TsSkinableMenus& menus, bool adjust) {
  TsSkinManager* m = menus.Manager();
  if (!m || !m->MenuSupport || !m->MenuSupport->UseExtraLine || !PopupState().ExtraLineVisible)
    return 0;
  int width = m->MenuSupport->ExtraLineWidth;
  if (adjust && menus.SkinBorderWidth() < menus.BorderWidth)
    width -= menus.BorderWidth - menus.SkinBorderWidth();
  return width;
}

// ---------------------------------------------------------------- popup size

namespace {
// Visits the parent's visible items with the width and height each was
// measured with, in columns.
template <class F>
void ForEachMeasured(TsSkinableMenus& menus, TCanvas* canvas, TMenuItem* item, const F& f) {
  TMenuItem* parent = item->Parent();
  if (!parent) return;
  const bool extraLine = PopupState().ExtraLineVisible;
  for (int i = 0; i < parent->Count(); ++i) {
    TMenuItem* it = parent->Items(i);
    if (!it->Visible()) continue;
    SetMenuFont(canvas, it, false);
    int w = menus.ItemWidth(canvas, it);
    if (extraLine && InFirstColumn(it)) w += CalcExtraLineWidth(menus, false);
    f(it->Break() != mbNone, w, menus.GetItemHeight(canvas, it));
  }
}
}  // namespace

int GetMenuWidth(TsSkinableMenus& menus, TCanvas* canvas, TMenuItem* item) {
  int total = 0, column = 0;
  ForEachMeasured(menus, canvas, item, [&](bool newColumn, int w, int) {
    if (newColumn) {
      total += column + 4;
      column = 0;
    }
    column = std::max(column, w + 12);
  });
  return column + total;
}

int GetMenuHeight(TsSkinableMenus& menus, TCanvas* canvas, TMenuItem* item) {
  int tallest = 0, column = 0;
  ForEachMeasured(menus, canvas, item, [&](bool newColumn, int, int h) {
    if (newColumn) {
      tallest = std::max(tallest, column);
      column = 0;
    }
    column += h;
  });
  return std::max(tallest, column);
}

// ---------------------------------------------------------------- frame bitmap

namespace {

TCustomForm* MenuForm(TMenuItem* item) {
  TComponent* c = item ? item->GetParentMenu() : nullptr;
  for (; c; c = c->Owner())
    if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
  return nullptr;
}

// The caption turned to run upwards along the band.
void DrawExtraLineText(TsSkinableMenus& menus, TBitmap& band, TMenuItem* firstItem, int section,
                       int glyphHeight) {
  TacPopupState& st = PopupState();
  TsSkinManager* m = menus.Manager();
  TFont* font = m->MenuSupport->ExtraLineFont.get();
  LOGFONTW lf = font->ToLogFont();
  lf.lfEscapement = -2700;
  lf.lfOrientation = -2700;
  lf.lfWeight = FW_NORMAL;
  lf.lfItalic = (font->Style() & fsItalic) != 0;
  lf.lfUnderline = (font->Style() & fsUnderline) != 0;
  lf.lfStrikeOut = (font->Style() & fsStrikeOut) != 0;
  lf.lfHeight = std::abs(font->Height());
  if (TCustomForm* form = MenuForm(firstItem)) lf.lfCharSet = form->Font()->Charset();
  UniqueFont turned(::CreateFontIndirectW(&lf));
  if (!turned) return;
  HDC dc = band.Canvas()->Handle();
  SelectObjectScope selected(dc, turned.get());
  SIZE ext{0, 0};
  const std::wstring& text = st.ExtraLineCaption;
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &ext);
  const int x = (band.Width() - ext.cy) / 2;
  const int y = glyphHeight > 0 ? band.Height() - (12 + glyphHeight + 8) : band.Height() - 12;
  const int oldMode = ::SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor =
      ::SetTextColor(dc, ColorToRGB(static_cast<TColor>(m->gd[section].FontColor[0])) & 0xFFFFFF);
  ::TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
  ::SetTextColor(dc, oldColor);
  ::SetBkMode(dc, oldMode);
}

void PaintExtraLine(TsSkinableMenus& menus, TBitmap& frame, TMenuItem* firstItem) {
  TacPopupState& st = PopupState();
  TsSkinManager* m = menus.Manager();
  const int section = m->GetSkinIndex(st.ExtraLineSection);
  const int sbw = menus.SkinBorderWidth();
  const int w = m->MenuSupport->ExtraLineWidth, h = frame.Height() - 2 * sbw;
  if (section < 0 || w <= 0 || h <= 0) return;
  std::unique_ptr<TBitmap> band = CreateBmp24(w, h);
  PaintItem(section, st.ExtraLineSection, MakeCacheInfo(&frame, sbw, sbw), true, 0,
            MakeRect(0, 0, w, h), TPoint{0, 0}, band.get(), m);
  int glyphHeight = 0;
  if (TBitmap* glyph = st.ExtraLineGlyph.get(); glyph && !glyph->Empty()) {
    glyphHeight = glyph->Height();
    band->Canvas()->Draw((w - glyph->Width()) / 2, h - 12 - glyphHeight, glyph);
  }
  if (!st.ExtraLineCaption.empty())
    DrawExtraLineText(menus, *band, firstItem, section, glyphHeight);
  ::BitBlt(frame.Canvas()->Handle(), sbw, sbw, w, h, band->Canvas()->Handle(), 0, 0, SRCCOPY);
  st.ExtraLineGlyph.reset();
}

void PaintIcoLine(TsSkinableMenus& menus, TBitmap& frame) {
  TsSkinManager* m = menus.Manager();
  const std::wstring& name = m->MenuSupport->IcoLineSkin;
  const int section = m->GetSkinIndex(name);
  const int sbw = menus.SkinBorderWidth();
  const int w = PopupState().IcoLineWidth, h = frame.Height() - 2 * sbw;
  if (section < 0 || w <= 0 || h <= 0) return;
  const TPoint at{CalcExtraLineWidth(menus, false) + sbw, sbw};
  std::unique_ptr<TBitmap> line = CreateBmp24(w, h);
  PaintItem(section, name, MakeCacheInfo(&frame, 0, 0), true, 0, MakeRect(0, 0, w, h), at,
            line.get(), m);
  ::BitBlt(frame.Canvas()->Handle(), at.x, at.y, w, h, line->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void CollectBorderRects(TsSkinableMenus& menus, TBitmap& frame) {
  menus.BorderRects.clear();
  TsSkinManager* m = menus.Manager();
  const int mask = m->GetMaskIndex(m->GetSkinIndex(L"MAINMENU"), L"MAINMENU", L"BORDERSMASK");
  if (mask < 0) return;
  const TsMaskData& md = m->ma[mask];
  const TacBmpView master(m->MasterBitmap.get());
  AddCornerRgnRects(menus.BorderRects, frame.Width(), md, master, 0, false);
  AddCornerRgnRects(menus.BorderRects, frame.Width(), md, master,
                    frame.Height() - MaskWidthBottom(md), true);
}

}  // namespace

void PrepareMenuFrame(TsSkinableMenus& menus, TMenuItem* firstItem, int width, HWND wnd,
                      int height) {
  TacPopupState& st = PopupState();
  TsSkinManager* m = menus.Manager();
  if (!m || (st.MenuFrameBmp && st.MenuFirstItem == firstItem)) return;
  if (!st.ExtraLineFetched) FetchExtraLine(menus, firstItem);
  st.MenuFirstItem = firstItem;
  st.MenuFrameBmp = CreateBmp24(std::max(width, 1), std::max(height, 1));
  st.IcoLineWidth =
      menus.Margin + (firstItem ? menus.GetItemBitmapSize(firstItem).cx : 16) + menus.Spacing;
  TBitmap& frame = *st.MenuFrameBmp;
  const int section = m->GetSkinIndex(L"MAINMENU");
  if (section >= 0) {
    PaintItem(section, L"MAINMENU", EmptyCacheInfo, false, 0, MakeRect(0, 0, width, height),
              TPoint{0, 0}, &frame, m);
    if (m->MenuSupport->UseExtraLine && st.ExtraLineVisible)
      PaintExtraLine(menus, frame, firstItem);
    PaintIcoLine(menus, frame);
    CollectBorderRects(menus, frame);
  }
  if (wnd) HookPopupWnd(menus, wnd, st.MenuFrameBmp.get());
}

// ---------------------------------------------------------------- the popup window

namespace {

// The popup window's subclass: the system neither erases nor frames the
// window, and the popup's state goes with the window. The object belongs to
// the window and deletes itself once the window is gone.
class PopupWndSubclass {
 public:
  static void Attach(HWND wnd) {
    auto* self = new PopupWndSubclass(wnd);
    if (!::SetWindowSubclass(wnd, Proc, kId, reinterpret_cast<DWORD_PTR>(self))) {
      delete self;
      return;
    }
    ::SetPropW(wnd, kProp, self);
  }
  static bool Attached(HWND wnd) { return ::GetPropW(wnd, kProp) != nullptr; }

 private:
  static constexpr UINT_PTR kId = 0xBCB4;
  static constexpr const wchar_t* kProp = L"TarnholtPopupMenuSkin";
  explicit PopupWndSubclass(HWND wnd) : wnd_(wnd) {}
  ~PopupWndSubclass() {
    ::RemovePropW(wnd_, kProp);
    ::RemoveWindowSubclass(wnd_, Proc, kId);
  }

  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR ref) {
    auto* self = reinterpret_cast<PopupWndSubclass*>(ref);
    switch (msg) {
      case WM_ERASEBKGND:
      case WM_NCPAINT:
        return 1;
      case WM_DESTROY:
        ResetPopupState();
        return ::DefSubclassProc(wnd, msg, wParam, lParam);
      case WM_NCDESTROY: {
        LRESULT result = ::DefSubclassProc(wnd, msg, wParam, lParam);
        delete self;
        return result;
      }
      default:
        return ::DefSubclassProc(wnd, msg, wParam, lParam);
    }
  }

  HWND wnd_;
};

struct HookingScope {
  explicit HookingScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~HookingScope() { flag_ = false; }
  bool& flag_;
};

}  // namespace

bool IsPopupWndHooked(HWND wnd) { return wnd && PopupWndSubclass::Attached(wnd); }

void CopyFrameRect(HDC windowDC, TBitmap& frame, int x, int y, int width, int height) {
  if (width <= 0 || height <= 0) return;
  ::BitBlt(windowDC, x, y, width, height, frame.Canvas()->Handle(), x, y, SRCCOPY);
}

void HookPopupWnd(TsSkinableMenus& menus, HWND wnd, TBitmap* bmp) {
  if (menus.Hooking || !wnd || !::IsWindow(wnd)) return;
  if (!PopupWndSubclass::Attached(wnd)) PopupWndSubclass::Attach(wnd);
  if (!IsNT || !bmp || bmp->Empty()) return;
  HookingScope hooking(menus.Hooking);
  const int w = bmp->Width(), h = bmp->Height();
  if (menus.BorderRects.empty()) {
    UniqueWindowDC dc = UniqueWindowDC::Window(wnd);
    if (!dc) return;
    CopyFrameRect(dc.get(), *bmp, 0, 0, CalcExtraLineWidth(menus, false) + 3, h);
    CopyFrameRect(dc.get(), *bmp, 3, 0, w, 3);
    CopyFrameRect(dc.get(), *bmp, w - 3, 3, 3, h);
    CopyFrameRect(dc.get(), *bmp, 3, h - 3, w - 6, 3);
    return;
  }
  UniqueRgn rgn(::CreateRectRgn(0, 0, w, h));
  for (const TRect& r : menus.BorderRects) {
    UniqueRgn cut(::CreateRectRgn(r.left, r.top, r.right, r.bottom));
    ::CombineRgn(rgn.get(), rgn.get(), cut.get(), RGN_DIFF);
  }
  // The window owns the region once it is set.
  if (::SetWindowRgn(wnd, rgn.get(), TRUE)) rgn.release();
}
