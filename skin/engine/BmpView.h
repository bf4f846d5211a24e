// TacBmpView: a non-owning view of a bitmap's pixel memory (bits, width,
// height, line delta, bytes per pixel). The pixel routines of the engine run
// on views so their inner loops work on row pointers without a device
// context; a view may also carry the device context the bitmap is selected
// into, for the few steps that go through GDI (stretching, triangle fills).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

class TBitmap;

struct TacBmpView {
  uint8_t* Bits = nullptr;      // address of row 0 (the top row)
  int Width = 0;
  int Height = 0;
  ptrdiff_t LineDelta = 0;      // address of row 1 minus that of row 0
  int BytesPerPixel = 3;        // 3 (blue, green, red) or 4 (plus alpha)
  HDC DC = nullptr;             // device context holding the bitmap, if any
  TBitmap* Source = nullptr;    // the framework bitmap viewed, if any

  TacBmpView() = default;
  TacBmpView(uint8_t* bits, int width, int height, ptrdiff_t lineDelta,
             int bytesPerPixel = 3, HDC dc = nullptr)
      : Bits(bits), Width(width), Height(height), LineDelta(lineDelta),
        BytesPerPixel(bytesPerPixel), DC(dc) {}
  // Views the pixels of a framework bitmap (24 or 32 bits per pixel). An
  // empty or missing bitmap gives an empty view.
  TacBmpView(TBitmap& bmp);  // NOLINT: bitmaps convert implicitly on purpose
  TacBmpView(TBitmap* bmp);  // NOLINT

  bool Empty() const { return Bits == nullptr || Width <= 0 || Height <= 0; }
  uint8_t* Row(int y) const { return Bits + y * LineDelta; }
  uint8_t* Pixel(int x, int y) const { return Row(y) + x * BytesPerPixel; }
  bool Contains(int x, int y) const {
    return x >= 0 && y >= 0 && x < Width && y < Height;
  }
  bool SameMemory(const TacBmpView& other) const { return Bits == other.Bits; }
  // A device context with the bitmap selected: the given one, or the
  // framework bitmap's canvas. Null when the pixels have no GDI bitmap.
  HDC GdiDC() const;
};

// A colour value with red in the low byte, as three bytes of a pixel.
inline uint32_t PixelToColor(const uint8_t* p) {
  return static_cast<uint32_t>(p[2]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[0]) << 16);
}
inline void ColorToPixel(uint32_t color, uint8_t* p) {
  p[0] = static_cast<uint8_t>(color >> 16);
  p[1] = static_cast<uint8_t>(color >> 8);
  p[2] = static_cast<uint8_t>(color);
}
// The pixel is clFuchsia: bytes blue 255, green 0, red 255.
inline bool IsFuchsiaPixel(const uint8_t* p) {
  return p[0] == 0xFF && p[1] == 0 && p[2] == 0xFF;
}
