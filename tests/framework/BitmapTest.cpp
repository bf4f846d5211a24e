// TBitmap memory layout, GDI/pixel agreement, copies and empty bitmaps.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "framework/Graphics.h"
#include "framework/SysUtils.h"
#include "tests/common/RleBitmap.h"
#include "tests/common/TestEnv.h"

namespace {

// Colour of pixel (x, y) read from the bitmap's memory (24 or 32 bits).
TColor MemPixel(TBitmap& b, int x, int y) {
  const BYTE* row = static_cast<const BYTE*>(b.ScanLine(y));
  int bytes = b.BitsPerPixel() / 8;
  const BYTE* p = row + x * bytes;
  return RGB(p[2], p[1], p[0]);
}

struct FormatCase {
  TPixelFormat format;
  int bpp;
};

class BitmapFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(BitmapFormats, GdiDrawingAndScanLinesAgree) {
  TBitmap b;
  b.SetPixelFormat(GetParam().format);
  b.SetSize(7, 5);
  EXPECT_EQ(b.BitsPerPixel(), GetParam().bpp);
  EXPECT_EQ(b.Stride(), ((7 * GetParam().bpp + 31) / 32) * 4);
  // A new bitmap is white.
  EXPECT_EQ(MemPixel(b, 6, 4), clWhite);
  b.Canvas()->Brush()->SetColor(RGB(10, 20, 30));
  b.Canvas()->FillRect(Rect(1, 2, 4, 5));
  // Row 2 is the third row from the top.
  EXPECT_EQ(MemPixel(b, 1, 2), RGB(10, 20, 30));
  EXPECT_EQ(MemPixel(b, 3, 4), RGB(10, 20, 30));
  EXPECT_EQ(MemPixel(b, 0, 2), clWhite);
  EXPECT_EQ(MemPixel(b, 1, 1), clWhite);
  EXPECT_EQ(MemPixel(b, 4, 4), clWhite);
  // Memory writes show through GDI.
  BYTE* row = static_cast<BYTE*>(b.ScanLine(0));
  row[0] = 0xFF;  // blue
  row[1] = 0;
  row[2] = 0;
  EXPECT_EQ(b.Canvas()->Pixels(0, 0), clBlue);
  // Rows follow each other at Stride() bytes.
  EXPECT_EQ(static_cast<BYTE*>(b.ScanLine(1)) - static_cast<BYTE*>(b.ScanLine(0)), b.Stride());
}

INSTANTIATE_TEST_SUITE_P(Formats, BitmapFormats,
                         ::testing::Values(FormatCase{pf24bit, 24}, FormatCase{pf32bit, 32},
                                           FormatCase{pfDevice, 32}));

TEST(Bitmap, AssignMakesADeepCopy) {
  TBitmap a(4, 3, pf24bit);
  a.Canvas()->Brush()->SetColor(clRed);
  a.Canvas()->FillRect(Rect(0, 0, 4, 3));
  a.SetTransparent(true);
  a.SetTransparentColor(clFuchsia);
  TBitmap b;
  b.Assign(&a);
  a.Canvas()->Brush()->SetColor(clLime);
  a.Canvas()->FillRect(Rect(0, 0, 4, 3));
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.Height(), 3);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  EXPECT_EQ(MemPixel(b, 3, 2), clRed);
  EXPECT_EQ(MemPixel(a, 3, 2), clLime);
  EXPECT_TRUE(b.Transparent());
  EXPECT_EQ(b.TransparentColor(), clFuchsia);
  EXPECT_NE(a.Handle(), b.Handle());
}

TEST(Bitmap, ResizingKeepsThePixelsThatRemain) {
  TBitmap b(4, 4, pf24bit);
  b.Canvas()->Brush()->SetColor(clBlue);
  b.Canvas()->FillRect(Rect(0, 0, 4, 4));
  b.Canvas()->Brush()->SetColor(clWhite);
  b.SetSize(6, 2);
  EXPECT_EQ(MemPixel(b, 3, 1), clBlue);
  EXPECT_EQ(MemPixel(b, 5, 1), clWhite);
  b.SetWidth(2);
  EXPECT_EQ(b.Width(), 2);
  EXPECT_EQ(MemPixel(b, 1, 1), clBlue);
}

TEST(Bitmap, PixelFormatConversionKeepsColours) {
  TBitmap b(3, 3, pf32bit);
  b.Canvas()->SetPixels(1, 1, RGB(200, 100, 50));
  b.SetPixelFormat(pf24bit);
  EXPECT_EQ(b.BitsPerPixel(), 24);
  EXPECT_EQ(MemPixel(b, 1, 1), RGB(200, 100, 50));
  EXPECT_EQ(MemPixel(b, 0, 0), clWhite);
}

TEST(Bitmap, EmptyBitmapIsSafeEverywhere) {
  for (auto [w, h] : {std::pair{0, 0}, std::pair{0, 5}, std::pair{5, 0}}) {
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(w, h);
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Handle(), nullptr);
    EXPECT_EQ(b.Bits(), nullptr);
    EXPECT_THROW(b.ScanLine(0), EInvalidGraphicOperation);
    b.Canvas()->FillRect(Rect(0, 0, 10, 10));  // draws nowhere
    b.Canvas()->TextOut(0, 0, L"x");
    TBitmap target(2, 2, pf24bit);
    target.Canvas()->Draw(0, 0, &b);
    EXPECT_EQ(MemPixel(target, 0, 0), clWhite);
    TBitmap copy;
    copy.Assign(&b);
    EXPECT_TRUE(copy.Empty());
  }
}

TEST(Bitmap, TransparentDrawLeavesTheKeyColourOut) {
  TBitmap src(2, 1, pf24bit);
  src.Canvas()->SetPixels(0, 0, clFuchsia);
  src.Canvas()->SetPixels(1, 0, clRed);
  src.SetTransparent(true);
  src.SetTransparentColor(clFuchsia);
  TBitmap dst(2, 1, pf24bit);
  dst.Canvas()->Brush()->SetColor(clBlue);
  dst.Canvas()->FillRect(Rect(0, 0, 2, 1));
  dst.Canvas()->Draw(0, 0, &src);
  EXPECT_EQ(MemPixel(dst, 0, 0), clBlue);
  EXPECT_EQ(MemPixel(dst, 1, 0), clRed);
}

TEST(Bitmap, AutoTransparentColourIsTheBottomLeftPixel) {
  TBitmap b(3, 3, pf24bit);
  b.Canvas()->SetPixels(0, 2, clLime);
  EXPECT_EQ(b.TransparentMode(), tmAuto);
  EXPECT_EQ(b.TransparentColor(), clLime);
}

TEST(Bitmap, BmpFilesRoundTrip) {
  testenv::ScopedTempDir dir;
  for (TPixelFormat f : {pf24bit, pf32bit, pf8bit}) {
    TBitmap b(5, 3, f);
    b.Canvas()->SetPixels(4, 0, clRed);
    b.Canvas()->SetPixels(0, 2, clBlue);
    const std::wstring file = dir / L"b.bmp";
    b.SaveToFile(file);
    TBitmap back;
    back.LoadFromFile(file);
    EXPECT_EQ(back.Width(), 5);
    EXPECT_EQ(back.Height(), 3);
    EXPECT_EQ(back.Canvas()->Pixels(4, 0), clRed) << static_cast<int>(f);
    EXPECT_EQ(back.Canvas()->Pixels(0, 2), clBlue) << static_cast<int>(f);
    EXPECT_EQ(back.Canvas()->Pixels(2, 1), clWhite) << static_cast<int>(f);
  }
}

TEST(Bitmap, BottomUpFilesLoadTopRowFirst) {
  // 1 x 2 pixels, 24 bits, bottom-up: the first stored row is the bottom one.
  std::string file(14 + 40 + 8, '\0');
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfSize = static_cast<DWORD>(file.size());
  fh.bfOffBits = 54;
  BITMAPINFOHEADER ih{};
  ih.biSize = 40;
  ih.biWidth = 1;
  ih.biHeight = 2;
  ih.biPlanes = 1;
  ih.biBitCount = 24;
  std::memcpy(file.data(), &fh, 14);
  std::memcpy(file.data() + 14, &ih, 40);
  const char pixels[8] = {0, 0, '\xFF', 0, '\xFF', 0, 0, 0};  // bottom red, top blue
  std::memcpy(file.data() + 54, pixels, 8);
  TBitmap b;
  b.LoadFromMemory(file.data(), file.size());
  EXPECT_EQ(MemPixel(b, 0, 0), clBlue);
  EXPECT_EQ(MemPixel(b, 0, 1), clRed);
}

TEST(Bitmap, MalformedFilesRaise) {
  const std::vector<std::string> cases = {
      "", "BM", std::string("BM") + std::string(60, '\0'),
      // Header that claims more pixels than the file holds.
      [] {
        std::string f(14 + 40 + 4, '\0');
        BITMAPFILEHEADER fh{};
        fh.bfType = 0x4D42;
        fh.bfOffBits = 54;
        BITMAPINFOHEADER ih{};
        ih.biSize = 40;
        ih.biWidth = 100;
        ih.biHeight = 100;
        ih.biPlanes = 1;
        ih.biBitCount = 24;
        std::memcpy(f.data(), &fh, 14);
        std::memcpy(f.data() + 14, &ih, 40);
        return f;
      }(),
  };
  for (const auto& c : cases) {
    TBitmap b;
    EXPECT_THROW(b.LoadFromMemory(c.data(), c.size()), EInvalidGraphic) << c.size();
  }
}

TEST(Canvas, FontAndTextMeasure) {
  TBitmap b(50, 20, pf24bit);
  TCanvas* c = b.Canvas();
  c->Font()->SetName(L"Tahoma");
  c->Font()->SetHeight(-12);
  int w1 = c->TextWidth(L"Очистка");
  c->Font()->SetStyle(fsBold);
  int w2 = c->TextWidth(L"Очистка");
  EXPECT_GT(w1, 0);
  EXPECT_GE(w2, w1);
  EXPECT_GT(c->TextHeight(L"W"), 0);
  c->Font()->SetSize(8);
  EXPECT_EQ(c->Font()->Height(), -MulDiv(8, c->Font()->PixelsPerInch, 72));
}

TEST(Canvas, AssigningAFontKeepsItsHandleForTheSameTypefaceOnly) {
  TFont control;
  control.SetName(L"Tahoma");
  control.SetHeight(-11);
  TBitmap b(60, 20, pf24bit);
  TCanvas* c = b.Canvas();
  c->Font()->Assign(&control);
  const HFONT first = c->Font()->Handle();
  const int width = c->TextWidth(L"Очистка");
  // Again, and with another colour: the same face, the same handle.
  control.SetColor(clRed);
  c->Font()->Assign(&control);
  EXPECT_EQ(c->Font()->Handle(), first);
  EXPECT_EQ(c->Font()->Color(), clRed);
  EXPECT_EQ(c->TextWidth(L"Очистка"), width);
  // Each property that changes the face gives a new handle, which the
  // canvas measures with.
  struct Change {
    const char* what;
    void (*apply)(TFont&);
  } changes[] = {
      {"height", [](TFont& f) { f.SetHeight(-20); }},
      {"style", [](TFont& f) { f.SetStyle(fsBold); }},
      {"name", [](TFont& f) { f.SetName(L"Courier New"); }},
      {"charset", [](TFont& f) { f.SetCharset(SYMBOL_CHARSET); }},
      {"pitch", [](TFont& f) { f.SetPitch(fpFixed); }},
      {"orientation", [](TFont& f) { f.SetOrientation(900); }},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.what);
    TFont other;
    other.Assign(&control);
    change.apply(other);
    c->Font()->Assign(&control);
    const HFONT before = c->Font()->Handle();
    c->Font()->Assign(&other);
    const HFONT after = c->Font()->Handle();
    EXPECT_NE(after, before);
    LOGFONTW lf{};
    ASSERT_NE(::GetObjectW(after, sizeof lf, &lf), 0);
    const LOGFONTW wanted = other.ToLogFont();
    EXPECT_EQ(lf.lfHeight, wanted.lfHeight);
    EXPECT_EQ(lf.lfWeight, wanted.lfWeight);
    EXPECT_EQ(lf.lfCharSet, wanted.lfCharSet);
    EXPECT_EQ(lf.lfPitchAndFamily, wanted.lfPitchAndFamily);
    EXPECT_EQ(lf.lfEscapement, wanted.lfEscapement);
    EXPECT_STREQ(lf.lfFaceName, wanted.lfFaceName);
  }
  c->Font()->Assign(&control);
  c->Font()->SetHeight(-20);
  EXPECT_GT(c->TextWidth(L"Очистка"), width);
}

TEST(Canvas, TextWithClearBrushKeepsTheBackground) {
  TBitmap b(40, 20, pf24bit);
  b.Canvas()->Brush()->SetColor(clLime);
  b.Canvas()->FillRect(Rect(0, 0, 40, 20));
  b.Canvas()->Brush()->SetStyle(bsClear);
  b.Canvas()->Font()->SetColor(clBlack);
  b.Canvas()->TextOut(0, 0, L" ");  // a blank draws no pixel of its own
  EXPECT_EQ(MemPixel(b, 1, 1), clLime);
  b.Canvas()->Brush()->SetColor(clRed);  // a colour makes the brush solid again
  EXPECT_EQ(b.Canvas()->Brush()->Style(), bsSolid);
  b.Canvas()->TextOut(0, 0, L" ");
  EXPECT_EQ(MemPixel(b, 1, 1), clRed);
}

TEST(Bitmap, FreedMemoryContextsAreMadeAgainOnUse) {
  TBitmap b(3, 3, pf24bit);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect(Rect(0, 0, 3, 3));
  b.Canvas()->Lock();
  FreeMemoryContexts();
  EXPECT_TRUE(b.Canvas()->HandleAllocated());  // locked: kept
  b.Canvas()->Unlock();
  FreeMemoryContexts();
  EXPECT_FALSE(b.Canvas()->HandleAllocated());
  b.Canvas()->FillRect(Rect(1, 1, 2, 2));
  b.Canvas()->SetPixels(0, 0, clBlue);
  EXPECT_EQ(MemPixel(b, 1, 1), clRed);
  EXPECT_EQ(MemPixel(b, 0, 0), clBlue);
}

TEST(Graphics, ColorToRgbResolvesSystemColoursOnly) {
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(ColorToRGB(clFuchsia), 0xFF00FFu);
  EXPECT_EQ(ColorToRGB(clNone), clNone);
}

TEST(Bitmap, HeadersClaimingTooManyOrNoPixelsAreRefused) {
  // The same tiny file with a sane size loads: what is refused below is
  // refused for its size alone.
  const std::string sane = testenv::TinyRle8Bitmap(16, 8);
  TBitmap ok;
  ok.LoadFromMemory(sane.data(), sane.size());
  EXPECT_EQ(16, ok.Width());
  EXPECT_EQ(8, ok.Height());

  struct Case {
    LONG w, h;
  };
  const Case cases[] = {
      {16384, 32768}, {32768, 32768}, {32768, -32768},
      {8192, 8193},  // one row past the pixel limit
      {0, 8}, {-16, 8}, {16, 0}, {16, LONG_MIN}, {LONG_MIN, 8}, {LONG_MAX, 1},
  };
  for (const Case& c : cases) {
    const std::string file = testenv::TinyRle8Bitmap(c.w, c.h);
    TBitmap b;
    b.LoadFromMemory(sane.data(), sane.size());
    EXPECT_THROW(b.LoadFromMemory(file.data(), file.size()), EInvalidGraphic)
        << c.w << " x " << c.h;
    EXPECT_EQ(16, b.Width()) << "a refused file leaves the picture as it was";
  }
}

}  // namespace
