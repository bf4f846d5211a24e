#include "skin/engine/Regions.h"

#include <vector>

#include "skin/engine/SkinUtils.h"

namespace {

// Runs of `color` in the w x h area at (sx, sy) of the bitmap, appended with
// the area's pixel (x, y) placed at (dx + x, dy + y).
void CollectRuns(TAOR& rects, const TacBmpView& bmp, int sx, int sy, int w, int h, int dx,
                 int dy, TColor color) {
  for (int y = 0; y < h; ++y) {
    const uint8_t* p = bmp.Pixel(sx, sy + y);
    int start = -1;
    for (int x = 0; x < w; ++x, p += bmp.BytesPerPixel) {
      if (PixelToColor(p) == color) {
        if (start < 0) start = x;
      } else if (start >= 0) {
        rects.push_back(MakeRect(dx + start, dy + y, dx + x, dy + y + 1));
        start = -1;
      }
    }
    if (start >= 0) rects.push_back(MakeRect(dx + start, dy + y, dx + w, dy + y + 1));
  }
}

}  // namespace

void CollectColorRects(TAOR& rects, const TacBmpView& bmp, TColor color) {
  if (bmp.Empty() || bmp.Width < 2 || bmp.Height < 2) return;
  CollectRuns(rects, bmp, 0, 0, bmp.Width, bmp.Height, 0, 0, color);
}

UniqueRgn CreateRgnFromBmp(const TacBmpView& bmp, TColor transColor) {
  UniqueRgn rgn(::CreateRectRgn(0, 0, bmp.Width, bmp.Height));
  TAOR runs;
  CollectColorRects(runs, bmp, transColor);
  if (runs.empty() || !rgn) return rgn;
  // One region of all runs, cut out at once: the same result as cutting the
  // runs one by one, without a region operation per run.
  std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
  auto* rd = reinterpret_cast<RGNDATA*>(data.data());
  rd->rdh.dwSize = sizeof(RGNDATAHEADER);
  rd->rdh.iType = RDH_RECTANGLES;
  rd->rdh.nCount = static_cast<DWORD>(runs.size());
  rd->rdh.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
  rd->rdh.rcBound = MakeRect(0, 0, bmp.Width, bmp.Height);
  auto* out = reinterpret_cast<RECT*>(rd->Buffer);
  for (size_t i = 0; i < runs.size(); ++i) out[i] = runs[i];
  UniqueRgn cut(::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), rd));
  if (cut) ::CombineRgn(rgn.get(), rgn.get(), cut.get(), RGN_DIFF);
  return rgn;
}

void AddCornerRgnRects(TAOR& rects, int width, const TsMaskData& md, const TacBmpView& master,
                       int y, bool bottom) {
  const TacBmpView img = md.Bmp ? TacBmpView(*md.Bmp) : master;
  if (img.Empty() || md.ImageCount < 1 || md.MaskType < 0) return;
  const int cw = WidthOf(md.R) / md.ImageCount;
  const int ch = HeightOf(md.R) / (md.MaskType + 1);
  const int h = bottom ? md.WB : md.WT;
  if (cw < 1 || h <= 0) return;
  const int top = bottom ? md.R.top + ch - md.WB : md.R.top;
  // The image must hold every row needed.
  if (top < 0 || top + h > img.Height) return;
  const int left = md.R.left;
  const int wl = MinOf(md.WL, cw), wr = MinOf(md.WR, cw);
  if (left >= 0 && wl > 0 && left + wl <= img.Width)
    CollectRuns(rects, img, left, top, wl, h, 0, y, clFuchsia);
  const int rightSrc = left + cw - wr;
  if (rightSrc >= 0 && wr > 0 && rightSrc + wr <= img.Width)
    CollectRuns(rects, img, rightSrc, top, wr, h, width - wr, y, clFuchsia);
}

void ImageListToBmp(TBitmap& bmp, HIMAGELIST imageList, int index) {
  if (!imageList) return;
  int w = 0, h = 0;
  if (!::ImageList_GetIconSize(imageList, &w, &h)) return;
  bmp.SetPixelFormat(pf24bit);
  bmp.SetSize(w, h);
  if (bmp.Empty()) return;
  COLORREF bk = ::ImageList_GetBkColor(imageList);
  TCanvas* canvas = bmp.Canvas();
  canvas->Brush()->SetColor(bk == CLR_NONE ? clFuchsia : bk);
  canvas->FillRect(MakeRect(0, 0, w, h));
  ::ImageList_Draw(imageList, index, canvas->Handle(), 0, 0, ILD_NORMAL);
  ::GdiFlush();
}
