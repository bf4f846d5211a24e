// Painting of menu items: popup items over the popup's frame bitmap, their
// dividers, and the items of a form's menu bar over the provider's menu line.
#include <algorithm>

#include "framework/Forms.h"
#include "framework/Handles.h"
#include "framework/ImageList.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/Masks.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinText.h"
#include "skin/engine/SkinUtils.h"
#include "skin/engine/FastPixels.h"
#include "skin/windows/PopupMenuWnd.h"
#include "skin/windows/SkinableMenus.h"

namespace {

constexpr UINT kMenuAlignFlags[] = {DT_LEFT, DT_RIGHT, DT_CENTER};  // by TAlignment

// Where the popup's client area starts in its window: the frame bitmap is in
// window coordinates, the items in client coordinates. Without a window the
// items sit inside a frame of the usual three pixels.
TPoint ClientOffset(HWND wnd) {
  if (!wnd) return TPoint{3, 3};
  RECT wr;
  POINT origin{0, 0};
  if (!::GetWindowRect(wnd, &wr) || !::ClientToScreen(wnd, &origin)) return TPoint{0, 0};
  return TPoint{origin.x - wr.left, origin.y - wr.top};
}

bool IsLastVisible(TMenuItem* item) {
  TMenuItem* parent = item->Parent();
  if (!parent) return true;
  for (int i = parent->Count() - 1; i >= 0; --i)
    if (parent->Items(i)->Visible()) return parent->Items(i) == item;
  return true;
}

// The next visible item after this one starts a new column.
bool NextStartsColumn(TMenuItem* item) {
  TMenuItem* parent = item->Parent();
  if (!parent) return false;
  for (int i = parent->IndexOf(item) + 1; i < parent->Count(); ++i)
    if (parent->Items(i)->Visible()) return parent->Items(i)->Break() != mbNone;
  return false;
}

void CopyFromFrame(HDC dc, TBitmap& frame, const TRect& dst, int srcX, int srcY) {
  if (WidthOf(dst) <= 0 || HeightOf(dst) <= 0) return;
  ::BitBlt(dc, dst.left, dst.top, WidthOf(dst), HeightOf(dst), frame.Canvas()->Handle(), srcX, srcY,
           SRCCOPY);
}

}  // namespace

// Frame strips beside the item, on the popup's window DC.
void TsSkinableMenus::DrawFramePart(TMenuItem* item, HWND wnd, const TRect& r) {
  TBitmap* frame = PopupState().MenuFrameBmp.get();
  if (!frame || frame->Empty()) return;
  UniqueWindowDC dc = UniqueWindowDC::Window(wnd);
  if (!dc) return;
  const TPoint co = ClientOffset(wnd);
  const int w = frame->Width(), h = frame->Height(), bw = BorderWidth;
  const int top = r.top + co.y, height = HeightOf(r);
  if (item == FirstPopupItem(item)) CopyFrameRect(dc.get(), *frame, 0, 0, w, bw);
  if (IsLastVisible(item)) CopyFrameRect(dc.get(), *frame, 0, h - bw, w, bw);
  int left = std::max(SkinBorderWidth(), bw);
  if (InFirstColumn(item)) left += CalcExtraLineWidth(*this, false);
  CopyFrameRect(dc.get(), *frame, 0, top, left, height);
  CopyFrameRect(dc.get(), *frame, w - bw, top, bw, height);
}

void TsSkinableMenus::DrawItem(TObject* sender, TCanvas* canvas, TRect r, TOwnerDrawState state) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || !canvas || !manager_) return;
  TacPopupState& st = PopupState();
  TMenuItem* first = FirstPopupItem(item);
  if (first != st.MenuFirstItem) ResetPopupState();
  ReleaseDropDownButton();

  HDC dc = canvas->Handle();
  HWND wnd = IsNT ? ::WindowFromDC(dc) : nullptr;
  int width, height;
  if (wnd) {
    RECT wr;
    ::GetWindowRect(wnd, &wr);
    width = wr.right - wr.left;
    height = wr.bottom - wr.top;
  } else {
    width = GetMenuWidth(*this, canvas, item) + 2 * BorderWidth;
    height = GetMenuHeight(*this, canvas, item) + 2 * BorderWidth;
  }
  PrepareMenuFrame(*this, first, width, wnd, height);
  if (wnd) {
    DrawFramePart(item, wnd, r);
  } else if (Application && Application->Handle()) {
    MSG queued;
    HWND app = Application->Handle();
    if (!::PeekMessageW(&queued, app, WM_MENUITEMHOOK, WM_MENUWNDHOOK, PM_NOREMOVE))
      ::PostMessageW(app, WM_MENUITEMHOOK, 0, reinterpret_cast<LPARAM>(item));
  }
  TBitmap* frame = st.MenuFrameBmp.get();
  const TPoint co = ClientOffset(wnd);

  switch (MenuItemTypeOf(item)) {
    case smDivider:
      DrawDivider(canvas, r, frame, co);
      return;
    case smCaption:
      return;
    default:
      break;
  }

  // Columns: the frame shows below a column's last item and left of a new one.
  if (frame) {
    const int bottom = frame->Height() - BorderWidth - co.y;
    if (NextStartsColumn(item) || (IsLastVisible(item) && bottom > r.bottom))
      CopyFromFrame(dc, *frame, MakeRect(r.left, r.bottom, r.right, bottom), r.left + co.x,
                    r.bottom + co.y);
    if (item->Break() != mbNone)
      CopyFromFrame(dc, *frame, MakeRect(r.left - 4, 0, r.left, bottom), r.left - 4 + co.x, co.y);
  }

  const bool firstColumn = InFirstColumn(item) || !st.ExtraLineFetched;
  const int extra = firstColumn ? CalcExtraLineWidth(*this, true) : 0;
  const int iw = WidthOf(r) - extra, ih = HeightOf(r);
  if (iw <= 0 || ih <= 0) return;
  TacScratchBmp img(iw, ih);
  PaintItemImage(item, img, r, state, extra, co);
  if (!item->Enabled() && frame) {
    // 40 % of the item over the frame under it.
    TRect under = MakeRect(r.left + extra + co.x, r.top + co.y, 0, 0);
    under.right = under.left + iw - 1;
    under.bottom = under.top + ih - 1;
    BlendTransBmp(img.View(), 0, 0, TacBmpView(*frame), under, 0.4, static_cast<TColor>(clFuchsia));
  }
  ::BitBlt(dc, r.left + extra, r.top, iw, ih, img.Bmp().Canvas()->Handle(), 0, 0, SRCCOPY);
}

// Background, check mark or glyph, caption and shortcut of a popup item.
void TsSkinableMenus::PaintItemImage(TMenuItem* item, TacScratchBmp& scratch, const TRect& r,
                                     TOwnerDrawState state, int extra, TPoint co) {
  TBitmap* frame = PopupState().MenuFrameBmp.get();
  TBitmap& img = scratch.Bmp();
  const int iw = scratch.Width(), ih = scratch.Height();
  const bool enabled = item->Enabled();
  const bool selected = enabled && (state & odSelected);
  const int section = manager_->GetSkinIndex(L"MENUITEM");
  if (manager_->IsValidSkinIndex(section)) {
    TCacheInfo ci = frame ? MakeCacheInfo(frame, co.x, co.y) : EmptyCacheInfo;
    PaintItem(section, L"MENUITEM", ci, true, selected ? 1 : 0, MakeRect(0, 0, iw, ih),
              TPoint{r.left + extra, r.top}, &img, manager_);
  }
  TSize glyph = GetItemBitmapSize(item);
  TCanvas* c = img.Canvas();
  if (state & odChecked) {
    int mask =
        manager_->FindMaskIndex(L"GLOBALINFO", item->RadioItem() ? L"RADIOCHECKED" : L"CHECK");
    if (mask < 0) mask = manager_->FindMaskIndex(L"GLOBALINFO", L"BOXCHECKED");
    if (mask >= 0) {
      const TsMaskData& md = manager_->ma[mask];
      DrawSkinGlyph(scratch.View(), TPoint{Margin, (ih - MaskCellHeight(md)) / 2}, selected ? 1 : 0,
                    1, md, TacBmpView(manager_->MasterBitmap.get()));
    }
  } else if (item->HasBitmap()) {
    int d = (ih - item->Bitmap()->Height()) / 2;
    c->Draw(d, d, item->Bitmap());
  } else if (TMenu* menu = item->GetParentMenu();
             menu && menu->Images() && item->ImageIndex() >= 0) {
    int d = (ih - menu->Images()->Height()) / 2;
    menu->Images()->Draw(c, d, d, item->ImageIndex(), true);
  }

  SetMenuFont(c, item, (state & odDefault) != 0);
  c->Brush()->SetStyle(bsClear);
  const bool hot = enabled && (selected || (state & odHotLight));
  TRect tr = MakeRect(glyph.cx + 2 * Margin + Spacing, 0, WidthOf(r), ih);
  std::wstring caption = item->Caption();
  UINT flags = DT_EXPANDTABS | DT_SINGLELINE | DT_NOCLIP | DT_HIDEPREFIX;
  if (!caption.empty() && caption[0] == L'\b') {
    caption = caption.substr(1) + L"      ";
    flags |= DT_RIGHT;
  } else {
    flags |= kMenuAlignFlags[Alignment];
  }
  DrawSkinTextEx(c, caption, enabled, tr, flags, section, hot, manager_);
  if (item->ShortCut() != scNone) {
    TRect sr = MakeRect(0, 0, WidthOf(r) - 8 - extra, ih);
    DrawSkinTextEx(c, ShortCutToText(item->ShortCut()), enabled, sr,
                   DT_RIGHT | DT_VCENTER | DT_SINGLELINE, section, hot, manager_);
  }
  if (OnDrawItem) OnDrawItem(item, c, MakeRect(0, 0, iw, ih), state, smNormal);
}

void TsSkinableMenus::DrawDivider(TCanvas* canvas, const TRect& r, TBitmap* frame, TPoint co) {
  const int w = WidthOf(r), h = HeightOf(r);
  if (w <= 0 || h <= 0) return;
  int section = manager_->GetSkinIndex(L"DIVIDERV");
  int mask = section >= 0 ? manager_->GetMaskIndex(section, L"DIVIDERV", L"BORDERSMASK")
                          : manager_->GetMaskIndex(manager_->GetSkinIndex(L"TRACKBAR"), L"TRACKBAR",
                                                   L"SLIDERCHANNEL");
  HDC dc = canvas->Handle();
  if (mask < 0 || !frame) {
    TRect edge = r;
    int width = 1;
    Frame3DOnDC(dc, edge, static_cast<TColor>(0x808080), clWhite, width);
    return;
  }
  std::unique_ptr<TBitmap> bmp = CreateBmp24(w, h);
  CopyFromFrame(bmp->Canvas()->Handle(), *frame, MakeRect(0, 0, w, h), r.left + co.x, r.top + co.y);
  const int extra = CalcExtraLineWidth(*this, false);
  TRect part = MakeRect(extra + Margin + Spacing, 0, w - (extra + 2 * Margin + Spacing), h);
  if (part.right > part.left)
    DrawMaskRect(TacBmpView(*bmp), part, true, MakeCacheInfo(bmp.get(), 0, 0), manager_->ma[mask],
                 TacBmpView(manager_->MasterBitmap.get()), 0, true);
  ::BitBlt(dc, r.left, r.top, w, h, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TsSkinableMenus::DrawTopLineItem(TObject* sender, TCanvas* canvas, TRect r,
                                      TOwnerDrawState state) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  if (!item || !canvas || !manager_) return;
  TacMenuLine line;
  TCustomForm* form = nullptr;
  if (auto* menu = dynamic_cast<TMainMenu*>(item->GetParentMenu())) form = menu->BarForm();
  if (!form || !MenuLineSource || !MenuLineSource(form, line) || !line.Bmp) {
    // No provider paints this form's menu line: the bar keeps the plain look.
    item->DrawPlain(canvas, r, state);
    return;
  }
  const bool enabled = item->Enabled();
  const bool hot = (enabled && (state & odSelected)) || (state & odHotLight);
  const int section = manager_->GetSkinIndex(L"MENUITEM");
  const TCacheInfo ci = MakeCacheInfo(line.Bmp, 0, 0);
  const TPoint offset{r.left, r.top - line.Top};
  std::unique_ptr<TBitmap> img;
  TCanvas* target = canvas;
  TRect tr = r;
  if (enabled) {
    PaintItemToDC(section, L"MENUITEM", ci, true, hot ? 1 : 0, r, offset, canvas->Handle(),
                  manager_);
  } else {
    img = CreateBmp24(WidthOf(r), HeightOf(r));
    PaintItem(section, L"MENUITEM", ci, true, 0, MakeRect(0, 0, WidthOf(r), HeightOf(r)), offset,
              img.get(), manager_);
    target = img->Canvas();
    tr = MakeRect(0, 0, WidthOf(r), HeightOf(r));
  }
  SetMenuFont(target, item, (state & odDefault) != 0);
  target->Brush()->SetStyle(bsClear);
  const int lineSection = manager_->GetSkinIndex(L"MENULINE");
  TRect cr = MakeRect(tr.left + Margin, tr.top, tr.right - Margin, tr.bottom);
  DrawSkinTextEx(
      target, item->Caption(), enabled, cr,
      kMenuAlignFlags[Alignment] | DT_CENTER | DT_VCENTER | DT_EXPANDTABS | DT_SINGLELINE,
      lineSection, hot, manager_);
  if (item->ShortCut() != scNone) {
    TRect sr = MakeRect(tr.left, tr.top, tr.right - 8, tr.bottom);
    DrawSkinTextEx(target, ShortCutToText(item->ShortCut()), enabled, sr,
                   DT_RIGHT | DT_VCENTER | DT_SINGLELINE, lineSection, hot, manager_);
  }
  if (OnDrawItem) OnDrawItem(item, target, tr, state, smTopLine);
  if (img) {
    // 40 % of the item over the menu line under it.
    SumBmpRect(TacBmpView(*img), TacBmpView(*line.Bmp), 102,
               MakeRect(offset.x, offset.y, offset.x + WidthOf(r), offset.y + HeightOf(r)),
               TPoint{0, 0});
    ::BitBlt(canvas->Handle(), r.left, r.top, WidthOf(r), HeightOf(r), img->Canvas()->Handle(), 0,
             0, SRCCOPY);
  }
}
