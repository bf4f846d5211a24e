// The skinned list view's column header: a subclass of the report view's
// "SysHeader32" child that tracks the hot and pressed column and paints
// every column button from the skin.
#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "framework/Handles.h"
#include "framework/ImageList.h"
#include "skin/controls/ListView.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinText.h"
#include "skin/windows/ScrollWnd.h"

void TsCustomListView::SubclassHeader(HWND header) {
  header_ = std::make_unique<TWindowSubclass>(
      header, [this](UINT msg, WPARAM w, LPARAM l) { return HeaderProc(msg, w, l); });
}

bool TsCustomListView::ReportSkinned() const {
  return ViewStyle() == vsReport && HandleAllocated() && IsSkinned();
}

LRESULT TsCustomListView::HeaderProc(UINT msg, WPARAM w, LPARAM l) {
  TWindowSubclass* sub = header_.get();
  if (!ReportSkinned()) return sub->CallPrevious(msg, w, l);
  switch (msg) {
    case WM_NCHITTEST: {
      const LRESULT r = sub->CallPrevious(msg, w, l);
      if (HighlightHeaders) HeaderHitTest(l);
      return r;
    }
    case WM_PAINT:
      HeaderPaintMessage();
      return 0;
    case WM_ERASEBKGND:
      return 0;
    case WM_PRINT:
    case WM_PRINTCLIENT: {
      // The platform's look first, then the skin's over all of it.
      const LRESULT r = sub->CallPrevious(msg, w, l);
      if (w) PaintHeader(reinterpret_cast<HDC>(w));
      return r;
    }
    case WM_NCDESTROY: {
      const LRESULT r = sub->CallPrevious(msg, w, l);
      header_.reset();
      return r;
    }
    case WM_LBUTTONUP:
      if (ColumnClick()) {
        pressedColumn_ = -1;
        headerMouseDown_ = false;
      }
      return sub->CallPrevious(msg, w, l);
    case WM_MOUSEMOVE: {
      const LRESULT r = sub->CallPrevious(msg, w, l);
      // Dragging a divider changes the scroll range.
      if (headerMouseDown_ && listAdapter_) UpdateScrolls(listAdapter_.get(), true);
      return r;
    }
    case WM_LBUTTONDOWN: {
      const LRESULT r = sub->CallPrevious(msg, w, l);
      if (ColumnClick()) HeaderButtonDown(l);
      return r;
    }
  }
  return sub->CallPrevious(msg, w, l);
}

void TsCustomListView::HeaderHitTest(LPARAM l) {
  HWND header = HeaderHandle();
  POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  ::ScreenToClient(header, &p);
  int hot = -2;
  const int n = Header_GetItemCount(header);
  for (int i = 0; i < n; ++i) {
    RECT r{};
    if (Header_GetItemRect(header, i, &r) && ::PtInRect(&r, p)) {
      hot = i;
      break;
    }
  }
  SetHotColumn(hot);
}

void TsCustomListView::SetHotColumn(int column) {
  if (column == hotColumn_) return;
  hotColumn_ = column;
  if (HWND header = HeaderHandle()) ::InvalidateRect(header, nullptr, FALSE);
}

void TsCustomListView::HeaderButtonDown(LPARAM l) {
  HWND header = HeaderHandle();
  if (!header) return;
  headerMouseDown_ = true;
  HDHITTESTINFO hit{};
  hit.pt = POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  const int item = static_cast<int>(::SendMessageW(header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  pressedColumn_ = (hit.flags & (HHT_ONDIVIDER | HHT_ONDIVOPEN)) ? -1 : item;
  ::RedrawWindow(header, nullptr, nullptr, RDW_INVALIDATE);
}

void TsCustomListView::HeaderPaintMessage() {
  HWND header = HeaderHandle();
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(header, &ps);
  PaintHeader(dc);
  ::EndPaint(header, &ps);
}

void TsCustomListView::PaintHeader(HDC dc) {
  HWND header = HeaderHandle();
  if (!header || !ReportSkinned()) return;
  UniqueWindowDC own;
  if (!dc) {
    own = UniqueWindowDC::Client(header);
    dc = own.get();
  }
  TBitmap* cache = SkinData->CacheBmp.get();
  if (!cache || cache->Empty()) RebuildCache();
  const int n = Header_GetItemCount(header);
  std::vector<int> order(static_cast<size_t>(std::max(n, 0)));
  for (int i = 0; i < n; ++i) order[static_cast<size_t>(i)] = i;
  if (n > 0) Header_GetOrderArray(header, n, order.data());
  int right = 0;
  for (int index : order) {
    RECT r{};
    if (!Header_GetItemRect(header, index, &r) || ::IsRectEmpty(&r)) continue;
    PaintHeaderItem(dc, r, index);
    right = std::max(right, static_cast<int>(r.right));
  }
  RECT client;
  ::GetClientRect(header, &client);
  if (right < client.right) PaintHeaderItem(dc, RECT{right, 0, client.right, client.bottom}, -1);
}

void TsCustomListView::PaintHeaderItem(HDC dc, const RECT& r, int index) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  TsSkinManager* manager = SkinData->GetSkinManager();
  if (w <= 0 || h <= 0 || !manager) return;
  int state = 0;
  if (index >= 0 && index == pressedColumn_) state = 2;
  else if (index >= 0 && index == hotColumn_) state = 1;
  std::wstring section = L"COLHEADER";
  int skinIndex = manager->GetSkinIndex(section);
  if (skinIndex < 0) {
    section = L"BUTTON";
    skinIndex = manager->GetSkinIndex(section);
  }
  // Where the button lies in the list's cache, which is an image of the
  // whole window: the header's place in the window (it moves left as the
  // list scrolls sideways) plus the button's place in the header.
  RECT hw, lw;
  ::GetWindowRect(HeaderHandle(), &hw);
  ::GetWindowRect(WindowHandle(), &lw);
  TBitmap* cache = SkinData->CacheBmp.get();
  int x = hw.left - lw.left + r.left, y = hw.top - lw.top + r.top;
  x = std::clamp(x, 0, std::max(0, cache->Width() - w));
  y = std::clamp(y, 0, std::max(0, cache->Height() - h));
  auto bmp = CreateBmp24(w, h);
  PaintItem(skinIndex, section, MakeCacheInfo(cache, 0, 0), true, state, TRect{0, 0, w, h},
            TPoint{x, y}, bmp.get(), manager);
  if (index >= 0 && index < Columns()->Count()) {
    TListColumn* column = Columns()->Items(index);
    TCanvas* canvas = bmp->Canvas();
    canvas->Font()->Assign(Font());
    UINT align = DT_LEFT;
    if (column->Alignment() == taCenter) align = DT_CENTER;
    else if (column->Alignment() == taRightJustify) align = DT_RIGHT;
    TRect tr{6, 0, w - 6, h};
    // The column's image goes before its caption.
    const int image = HeaderImage(index);
    if (image >= 0) {
      TImageList* images = SmallImages();
      images->Draw(canvas, tr.left, (h - images->Height()) / 2, image, Enabled());
      tr.left += images->Width() + 4;
    }
    DrawSkinTextEx(canvas, column->Caption(), Enabled(), tr,
                   align | DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX | DT_END_ELLIPSIS,
                   skinIndex, state != 0, manager);
  }
  ::BitBlt(dc, r.left, r.top, w, h, bmp->Canvas()->Handle(), 0, 0, SRCCOPY);
}

// The image a header item shows, or -1: one of SmallImages on an item
// that has an image.
int TsCustomListView::HeaderImage(int index) {
  TImageList* images = SmallImages();
  if (!images || !HeaderHandle()) return -1;
  HDITEMW item{};
  item.mask = HDI_FORMAT | HDI_IMAGE;
  if (!::SendMessageW(HeaderHandle(), HDM_GETITEMW, index, reinterpret_cast<LPARAM>(&item)))
    return -1;
  if (!(item.fmt & HDF_IMAGE) || item.iImage < 0 || item.iImage >= images->Count()) return -1;
  return item.iImage;
}

// The header into a print of the list's client area, at its place there.
void TsCustomListView::PrintHeader(HDC dc) {
  HWND header = HeaderHandle();
  if (!header || !::IsWindowVisible(header)) return;
  POINT origin{0, 0};
  ::MapWindowPoints(header, WindowHandle(), &origin, 1);
  SaveDCScope state(dc);
  ::OffsetViewportOrgEx(dc, origin.x, origin.y, nullptr);
  PaintHeader(dc);
}
