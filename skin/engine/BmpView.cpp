#include "skin/engine/BmpView.h"

#include "framework/Graphics.h"

TacBmpView::TacBmpView(TBitmap& bmp) {
  int bpp = bmp.BitsPerPixel();
  if (bmp.Empty() || (bpp != 24 && bpp != 32)) return;
  Bits = static_cast<uint8_t*>(bmp.Bits());
  if (!Bits) return;
  Width = bmp.Width();
  Height = bmp.Height();
  LineDelta = bmp.Stride();
  BytesPerPixel = bpp / 8;
  Source = &bmp;
}

TacBmpView::TacBmpView(TBitmap* bmp) {
  if (bmp) *this = TacBmpView(*bmp);
}

HDC TacBmpView::GdiDC() const {
  if (DC) return DC;
  if (Source) return Source->Canvas()->Handle();
  return nullptr;
}
