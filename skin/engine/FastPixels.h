// Pixel access and blending on 24- and 32-bit bitmaps: the inner loops of all
// skin painting. Every routine clips once at its start and then runs over row
// pointers; none allocates.
//
// Two weightings are in use and must not be merged: TacFastSum24::Blend keeps
// the destination by Alpha out of 255 with a rounding term, the mask routines
// weight a difference by a mask byte over 256 without one.
#pragma once

#include <cstdint>

#include "framework/Graphics.h"
#include "skin/engine/BmpView.h"

// Direct access to one 24-bit bitmap.
class TacFast24 {
 public:
  TacBmpView Bitmap;
  int Width = 0;
  int Height = 0;
  ptrdiff_t LineDelta = 0;
  uint8_t* Scan0 = nullptr;

  // True for a bitmap more than one pixel wide and high; otherwise Width 0.
  bool Attach(const TacBmpView& bmp);
  // No bounds check: callers keep (x, y) inside the attached bitmap.
  TColor GetPixel(int x, int y) const {
    return PixelToColor(Scan0 + y * LineDelta + x * 3);
  }
  void SetPixel(int x, int y, TColor color) { ColorToPixel(color, Scan0 + y * LineDelta + x * 3); }
};

// Direct access to one 32-bit bitmap (blue, green, red, alpha).
class TacFast32 {
 public:
  TacBmpView Bitmap;
  int Width = 0;
  int Height = 0;
  ptrdiff_t LineDelta = 0;
  uint8_t* Scan0 = nullptr;

  bool Attach(const TacBmpView& bmp);
  void SetPixel(int x, int y, TColor color) {
    uint8_t* p = Scan0 + y * LineDelta + x * 4;
    ColorToPixel(color, p);
    p[3] = static_cast<uint8_t>(color >> 24);
  }
};

// Blends a rectangle of one 24-bit bitmap into another with one alpha byte:
// D := (D * Alpha + S * (255 - Alpha) + 127) shr 8.
class TacFastSum24 {
 public:
  TacBmpView Src;
  TacBmpView Dst;
  int Width = 0;   // the smaller of the two widths
  int Height = 0;  // the smaller of the two heights
  uint8_t* SrcScan0 = nullptr;
  uint8_t* DstScan0 = nullptr;
  ptrdiff_t SrcLineDelta = 0;
  ptrdiff_t DstLineDelta = 0;
  uint8_t Alpha = 0;
  TRect DstRect{};
  TRect SrcRect{};

  // False unless both bitmaps are at least 2 x 2.
  bool Attach(const TacBmpView& src, const TacBmpView& dst);
  // Blends SrcRect into DstRect (Right and Bottom exclusive). Both rectangles
  // are clipped to both bitmaps first, keeping their pixels aligned.
  void Blend();
};

// Shared instances for units that read single pixels of a parent's cache.
extern TacFast24 FastBmp24;
extern TacFast24 FastBmp24Dst;
extern TacFastSum24 FastSum24;

// Blends all of Src into Dst when both have the same size (Alpha 255 keeps
// Dst, 0 gives Src, up to the rounding of the formula).
void SumBitmaps(const TacBmpView& dst, const TacBmpView& src, uint8_t alpha);
// Blends SrcRect of Src into Dst at DstPos after clipping both ways; the low
// byte of Alpha is used.
void SumBmpRect(const TacBmpView& dst, const TacBmpView& src, TColor alpha,
                TRect srcRect, TPoint dstPos);
// Mixes SrcRect (Right and Bottom inclusive) of Src into Dst at (X, Y):
// D := Round(S - (S - D) * Blend) half to even, skipping TransColor source
// pixels; a TransColor with high byte 255 marks no transparent colour.
void BlendTransBmp(const TacBmpView& dst, int x, int y, const TacBmpView& src,
                   const TRect& srcRect, double blend, TColor transColor);
// B := ClampByte(((B - c) * m + c * 256) shr 8) for same-sized bitmaps.
void ApplyMaskColor(const TacBmpView& bmp, const TacBmpView& mask, TColor color);
// Writes the colour bytes of the 32-bit Dst over Src1's size from Src1 and
// Src2 weighted by Alpha or, when Mask is given, by the mask byte. Dst's alpha
// bytes stay.
void MixBitmapsTo32(const TacBmpView& dst, const TacBmpView& src1, const TacBmpView& src2,
                    uint16_t alpha, const TacBmpView& mask);
// Within R: D := ClampByte(((D - S) * m + S * 256) shr 8). Nothing when R is
// wider or higher than Dst.
void BlendByMask(const TacBmpView& dst, const TacBmpView& src, const TacBmpView& mask,
                 const TRect& r);
// Within R (Right and Bottom exclusive, limited to the bitmap): every byte
// B := Round(B * p + c * (1 - p)), p = Percent / 100, half to even.
void BlendColorRect(const TacBmpView& bmp, const TRect& r, uint8_t percent, TColor color);
// Every pixel's three bytes := (blue + green + red) div 3.
void GrayScale(const TacBmpView& bmp);
void GrayScaleTrans(const TacBmpView& bmp, TColor transColor);
// Per colour byte ((c1 - c2) * 127 + c2 * 256) shr 8; fourth byte 0.
TColor MixColorsHalf(TColor color1, TColor color2);
inline TColor MidColor(TColor color1, TColor color2) { return MixColorsHalf(color1, color2); }
// Per colour byte Round((c1 - c2) * K + c2) half to even; fourth byte Color1's.
TColor BlendColors(TColor color1, TColor color2, double k);
