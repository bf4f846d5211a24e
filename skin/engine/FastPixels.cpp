#include "skin/engine/FastPixels.h"

#include <algorithm>
#include <cmath>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

#include "skin/engine/PixelClip.h"
#include "skin/engine/SkinUtils.h"

TacFast24 FastBmp24;
TacFast24 FastBmp24Dst;
TacFastSum24 FastSum24;

namespace {

inline uint8_t RoundByte(double v) { return ClampByte(RoundHalfEven(v)); }

#if defined(__x86_64__) || defined(__i386__)
// The same blend 32 bytes at a time, for processors with AVX2.
__attribute__((target("avx2"))) int BlendRowAvx2(uint8_t* d, const uint8_t* s, int bytes,
                                                 unsigned alpha) {
  const __m256i a = _mm256_set1_epi16(static_cast<short>(alpha));
  const __m256i inv = _mm256_set1_epi16(static_cast<short>(255 - alpha));
  const __m256i round = _mm256_set1_epi16(127);
  const __m256i zero = _mm256_setzero_si256();
  int i = 0;
  for (; i + 32 <= bytes; i += 32) {
    __m256i dv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(d + i));
    __m256i sv = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    // unpack/pack work per 128-bit lane and undo each other's order.
    __m256i lo = _mm256_add_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(dv, zero), a),
                         _mm256_mullo_epi16(_mm256_unpacklo_epi8(sv, zero), inv)),
        round);
    __m256i hi = _mm256_add_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(dv, zero), a),
                         _mm256_mullo_epi16(_mm256_unpackhi_epi8(sv, zero), inv)),
        round);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + i),
                        _mm256_packus_epi16(_mm256_srli_epi16(lo, 8), _mm256_srli_epi16(hi, 8)));
  }
  return i;
}

bool HasAvx2() {
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
}
#endif

// D := (D * a + S * (255 - a) + 127) shr 8 over `bytes` bytes of distinct
// rows. The sum never exceeds 65152, so 16-bit lanes hold it exactly.
void BlendRow(uint8_t* d, const uint8_t* s, int bytes, unsigned alpha) {
  int i = 0;
#if defined(__x86_64__) || defined(__i386__)
  if (HasAvx2()) i = BlendRowAvx2(d, s, bytes, alpha);
#endif
#if defined(__SSE2__)
  const __m128i a = _mm_set1_epi16(static_cast<short>(alpha));
  const __m128i inv = _mm_set1_epi16(static_cast<short>(255 - alpha));
  const __m128i round = _mm_set1_epi16(127);
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= bytes; i += 16) {
    __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
    __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
    __m128i lo = _mm_add_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(dv, zero), a),
                      _mm_mullo_epi16(_mm_unpacklo_epi8(sv, zero), inv)),
        round);
    __m128i hi = _mm_add_epi16(
        _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(dv, zero), a),
                      _mm_mullo_epi16(_mm_unpackhi_epi8(sv, zero), inv)),
        round);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                     _mm_packus_epi16(_mm_srli_epi16(lo, 8), _mm_srli_epi16(hi, 8)));
  }
#endif
  for (; i < bytes; ++i)
    d[i] = static_cast<uint8_t>((d[i] * alpha + s[i] * (255u - alpha) + 127u) >> 8);
}

}  // namespace

bool TacFast24::Attach(const TacBmpView& bmp) {
  if (bmp.Empty() || bmp.Width <= 1 || bmp.Height <= 1 || bmp.BytesPerPixel != 3) {
    Width = 0;
    return false;
  }
  Bitmap = bmp;
  Width = bmp.Width;
  Height = bmp.Height;
  Scan0 = bmp.Bits;
  LineDelta = bmp.LineDelta;
  return true;
}

bool TacFast32::Attach(const TacBmpView& bmp) {
  if (bmp.Empty() || bmp.Width <= 1 || bmp.Height <= 1 || bmp.BytesPerPixel != 4) {
    Width = 0;
    return false;
  }
  Bitmap = bmp;
  Width = bmp.Width;
  Height = bmp.Height;
  Scan0 = bmp.Bits;
  LineDelta = bmp.LineDelta;
  return true;
}

bool TacFastSum24::Attach(const TacBmpView& src, const TacBmpView& dst) {
  if (src.Empty() || dst.Empty() || src.Width < 2 || src.Height < 2 || dst.Width < 2 ||
      dst.Height < 2 || src.BytesPerPixel != 3 || dst.BytesPerPixel != 3) {
    Width = 0;
    Height = 0;
    return false;
  }
  Src = src;
  Dst = dst;
  Width = std::min<int>(src.Width, dst.Width);
  Height = std::min<int>(src.Height, dst.Height);
  SrcScan0 = src.Bits;
  DstScan0 = dst.Bits;
  SrcLineDelta = src.LineDelta;
  DstLineDelta = dst.LineDelta;
  return true;
}

void TacFastSum24::Blend() {
  if (Width <= 0) return;
  TacCopyArea a{DstRect.left, DstRect.top, SrcRect.left, SrcRect.top,
                std::min<int>(WidthOf(DstRect), WidthOf(SrcRect)),
                std::min<int>(HeightOf(DstRect), HeightOf(SrcRect))};
  if (!ClipCopyArea(a, Dst.Width, Dst.Height, Src.Width, Src.Height)) return;
  const unsigned alpha = Alpha;
  const unsigned inv = 255u - alpha;
  const int bytes = a.W * 3;
  const bool sameMemory = SrcScan0 == DstScan0;
  // Rows from the bottom up; with one bitmap as both ends the bytes also run
  // from right to left, so overlapping areas read what they did originally.
  for (int row = a.H - 1; row >= 0; --row) {
    uint8_t* d = DstScan0 + (a.DY + row) * DstLineDelta + a.DX * 3;
    const uint8_t* s = SrcScan0 + (a.SY + row) * SrcLineDelta + a.SX * 3;
    if (sameMemory) {
      for (int i = bytes - 1; i >= 0; --i)
        d[i] = static_cast<uint8_t>((d[i] * alpha + s[i] * inv + 127u) >> 8);
    } else {
      BlendRow(d, s, bytes, alpha);
    }
  }
}

void SumBitmaps(const TacBmpView& dst, const TacBmpView& src, uint8_t alpha) {
  if (dst.Width != src.Width || dst.Height != src.Height) return;
  if (!FastSum24.Attach(src, dst)) return;
  FastSum24.Alpha = alpha;
  FastSum24.DstRect = MakeRect(0, 0, dst.Width, dst.Height);
  FastSum24.SrcRect = FastSum24.DstRect;
  FastSum24.Blend();
}

void SumBmpRect(const TacBmpView& dst, const TacBmpView& src, TColor alpha, TRect srcRect,
                TPoint dstPos) {
  if (dstPos.x < 0) {
    srcRect.left -= dstPos.x;
    dstPos.x = 0;
  }
  if (dstPos.y < 0) {
    srcRect.top -= dstPos.y;
    dstPos.y = 0;
  }
  if (srcRect.left < 0) {
    dstPos.x -= srcRect.left;
    srcRect.left = 0;
  }
  if (srcRect.top < 0) {
    dstPos.y -= srcRect.top;
    srcRect.top = 0;
  }
  srcRect.right = std::min<int>(srcRect.right, src.Width);
  srcRect.bottom = std::min<int>(srcRect.bottom, src.Height);
  if (dstPos.x + WidthOf(srcRect) > dst.Width) srcRect.right = srcRect.left + dst.Width - dstPos.x;
  if (dstPos.y + HeightOf(srcRect) > dst.Height)
    srcRect.bottom = srcRect.top + dst.Height - dstPos.y;
  if (WidthOf(srcRect) <= 0 || HeightOf(srcRect) <= 0) return;
  if (!FastSum24.Attach(src, dst)) return;
  FastSum24.Alpha = static_cast<uint8_t>(alpha & 0xFF);
  FastSum24.DstRect = MakeRect(dstPos.x, dstPos.y, dstPos.x + WidthOf(srcRect),
                               dstPos.y + HeightOf(srcRect));
  FastSum24.SrcRect = srcRect;
  FastSum24.Blend();
}

void BlendTransBmp(const TacBmpView& dst, int x, int y, const TacBmpView& src,
                   const TRect& srcRect, double blend, TColor transColor) {
  if (dst.Empty() || src.Empty()) return;
  // SrcRect's Right and Bottom are inclusive here.
  TacCopyArea a{x, y, srcRect.left, srcRect.top, srcRect.right - srcRect.left + 1,
                srcRect.bottom - srcRect.top + 1};
  if (!ClipCopyArea(a, dst.Width, dst.Height, src.Width, src.Height)) return;
  const bool useTrans = (transColor >> 24) != 0xFF;
  const int dbpp = dst.BytesPerPixel, sbpp = src.BytesPerPixel;
  for (int row = 0; row < a.H; ++row) {
    uint8_t* d = dst.Pixel(a.DX, a.DY + row);
    const uint8_t* s = src.Pixel(a.SX, a.SY + row);
    for (int col = 0; col < a.W; ++col, d += dbpp, s += sbpp) {
      if (useTrans && PixelToColor(s) == transColor) continue;
      for (int c = 0; c < 3; ++c) d[c] = RoundByte(s[c] - (s[c] - d[c]) * blend);
    }
  }
}

void ApplyMaskColor(const TacBmpView& bmp, const TacBmpView& mask, TColor color) {
  if (bmp.Empty() || mask.Empty()) return;
  if (bmp.Width != mask.Width || bmp.Height != mask.Height) return;
  const int cb[3] = {static_cast<int>((color >> 16) & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                     static_cast<int>(color & 0xFF)};
  for (int y = 0; y < bmp.Height; ++y) {
    uint8_t* b = bmp.Row(y);
    const uint8_t* m = mask.Row(y);
    for (int x = 0; x < bmp.Width; ++x, b += bmp.BytesPerPixel, m += mask.BytesPerPixel)
      for (int c = 0; c < 3; ++c) b[c] = ClampByte(((b[c] - cb[c]) * m[c] + cb[c] * 256) >> 8);
  }
}

void MixBitmapsTo32(const TacBmpView& dst, const TacBmpView& src1, const TacBmpView& src2,
                    uint16_t alpha, const TacBmpView& mask) {
  if (dst.Empty() || src1.Empty() || src2.Empty() || dst.BytesPerPixel != 4) return;
  const bool useMask = !mask.Empty();
  int w = std::min<int>({src1.Width, src2.Width, dst.Width});
  int h = std::min<int>({src1.Height, src2.Height, dst.Height});
  if (useMask) {
    w = std::min<int>(w, mask.Width);
    h = std::min<int>(h, mask.Height);
  }
  const int a = alpha;
  for (int y = 0; y < h; ++y) {
    uint8_t* d = dst.Row(y);
    const uint8_t* s1 = src1.Row(y);
    const uint8_t* s2 = src2.Row(y);
    const uint8_t* m = useMask ? mask.Row(y) : nullptr;
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < 3; ++c) {
        int k = useMask ? m[c] : a;
        d[c] = ClampByte(((s1[c] - s2[c]) * k + s2[c] * 256) >> 8);
      }
      d += 4;
      s1 += src1.BytesPerPixel;
      s2 += src2.BytesPerPixel;
      if (useMask) m += mask.BytesPerPixel;
    }
  }
}

void BlendByMask(const TacBmpView& dst, const TacBmpView& src, const TacBmpView& mask,
                 const TRect& r) {
  if (dst.Empty() || src.Empty() || mask.Empty()) return;
  if (WidthOf(r) > dst.Width || HeightOf(r) > dst.Height) return;
  TRect c = ClipRectTo(r, std::min<int>({dst.Width, src.Width, mask.Width}),
                       std::min<int>({dst.Height, src.Height, mask.Height}));
  for (int y = c.top; y < c.bottom; ++y) {
    uint8_t* d = dst.Pixel(c.left, y);
    const uint8_t* s = src.Pixel(c.left, y);
    const uint8_t* m = mask.Pixel(c.left, y);
    for (int x = c.left; x < c.right; ++x) {
      for (int k = 0; k < 3; ++k) d[k] = ClampByte(((d[k] - s[k]) * m[k] + s[k] * 256) >> 8);
      d += dst.BytesPerPixel;
      s += src.BytesPerPixel;
      m += mask.BytesPerPixel;
    }
  }
}

void BlendColorRect(const TacBmpView& bmp, const TRect& r, uint8_t percent, TColor color) {
  if (bmp.Empty()) return;
  TRect c = ClipRectTo(r, bmp.Width, bmp.Height);
  if (c.left >= c.right || c.top >= c.bottom) return;
  const TColor rgb = ColorToRGB(color);
  const double p = percent / 100.0;
  // One table per call: every byte value maps to the same mixed value.
  uint8_t table[3][256];
  const int cb[3] = {static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                     static_cast<int>(rgb & 0xFF)};
  for (int k = 0; k < 3; ++k)
    for (int v = 0; v < 256; ++v) table[k][v] = RoundByte(v * p + cb[k] * (1.0 - p));
  for (int y = c.top; y < c.bottom; ++y) {
    uint8_t* d = bmp.Pixel(c.left, y);
    for (int x = c.left; x < c.right; ++x, d += bmp.BytesPerPixel) {
      d[0] = table[0][d[0]];
      d[1] = table[1][d[1]];
      d[2] = table[2][d[2]];
    }
  }
}

namespace {

void GrayRows(const TacBmpView& bmp, bool useTrans, TColor transColor) {
  if (bmp.Empty()) return;
  for (int y = 0; y < bmp.Height; ++y) {
    uint8_t* p = bmp.Row(y);
    for (int x = 0; x < bmp.Width; ++x, p += bmp.BytesPerPixel) {
      if (useTrans && PixelToColor(p) == transColor) continue;
      uint8_t g = static_cast<uint8_t>((p[0] + p[1] + p[2]) / 3);
      p[0] = p[1] = p[2] = g;
    }
  }
}

}  // namespace

void GrayScale(const TacBmpView& bmp) { GrayRows(bmp, false, 0); }

void GrayScaleTrans(const TacBmpView& bmp, TColor transColor) { GrayRows(bmp, true, transColor); }

TColor MixColorsHalf(TColor color1, TColor color2) {
  TColor out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    int c1 = (color1 >> shift) & 0xFF, c2 = (color2 >> shift) & 0xFF;
    out |= static_cast<TColor>(ClampByte(((c1 - c2) * 127 + c2 * 256) >> 8)) << shift;
  }
  return out;
}

TColor BlendColors(TColor color1, TColor color2, double k) {
  TColor out = color1 & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    int c1 = (color1 >> shift) & 0xFF, c2 = (color2 >> shift) & 0xFF;
    out |= static_cast<TColor>(RoundByte((c1 - c2) * k + c2)) << shift;
  }
  return out;
}
