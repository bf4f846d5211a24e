// TBitmap (top-down DIB sections), TBitmapCanvas, TIcon and TPicture.
#include <cstring>

#include "framework/FileBytes.h"
#include "framework/Graphics.h"
#include "framework/Jpeg.h"
#include "framework/SysUtils.h"

namespace {

// BITMAPINFO with room for a full 256-entry colour table.
struct DibInfo {
  BITMAPINFOHEADER h{};
  RGBQUAD colors[256]{};
  BITMAPINFO* get() { return reinterpret_cast<BITMAPINFO*>(this); }
};

std::vector<RGBQUAD> DefaultPalette(int bpp) {
  std::vector<RGBQUAD> p;
  if (bpp == 1) {
    p = {RGBQUAD{0, 0, 0, 0}, RGBQUAD{255, 255, 255, 0}};
  } else if (bpp == 4 || bpp == 8) {
    // The system halftone palette: what the framework uses for 8-bit images.
    HDC dc = ::GetDC(nullptr);
    UniquePalette pal(::CreateHalftonePalette(dc));
    ::ReleaseDC(nullptr, dc);
    PALETTEENTRY pe[256]{};
    int n = pal ? static_cast<int>(::GetPaletteEntries(pal.get(), 0, 256, pe)) : 0;
    if (bpp == 4) {
      static const BYTE vga[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                      {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                      {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                      {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
      for (auto& c : vga) p.push_back(RGBQUAD{c[2], c[1], c[0], 0});
    } else {
      for (int i = 0; i < n; ++i) p.push_back(RGBQUAD{pe[i].peBlue, pe[i].peGreen, pe[i].peRed, 0});
      while (p.size() < 256) p.push_back(RGBQUAD{0, 0, 0, 0});
    }
  }
  return p;
}

int StrideOf(int width, int bpp) { return ((width * bpp + 31) / 32) * 4; }

}  // namespace

// ---------------------------------------------------------------------------
// TBitmapCanvas
// ---------------------------------------------------------------------------

namespace {
// Every bitmap canvas, for FreeMemoryContexts. Bitmaps may be made on any
// thread, so the list has a lock.
struct CanvasRegistry {
  CRITICAL_SECTION lock;
  std::vector<TBitmapCanvas*> list;
  CanvasRegistry() { ::InitializeCriticalSection(&lock); }
};
// Never destroyed: bitmaps held in function-level statics elsewhere are
// destroyed at exit in any order relative to this list, and their canvases
// still take themselves off it.
CanvasRegistry& Canvases() {
  static CanvasRegistry* r = new CanvasRegistry;
  return *r;
}
}  // namespace

TBitmapCanvas::TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {
  CanvasRegistry& r = Canvases();
  ::EnterCriticalSection(&r.lock);
  r.list.push_back(this);
  ::LeaveCriticalSection(&r.lock);
}

TBitmapCanvas::~TBitmapCanvas() {
  FreeContext();
  CanvasRegistry& r = Canvases();
  ::EnterCriticalSection(&r.lock);
  for (size_t i = 0; i < r.list.size(); ++i)
    if (r.list[i] == this) {
      r.list[i] = r.list.back();
      r.list.pop_back();
      break;
    }
  ::LeaveCriticalSection(&r.lock);
}

void FreeMemoryContexts() {
  CanvasRegistry& r = Canvases();
  ::EnterCriticalSection(&r.lock);
  for (TBitmapCanvas* c : r.list)
    if (c->TryLock()) {  // a canvas in use elsewhere keeps its DC
      if (c->LockCount() == 1) c->FreeContext();
      c->Unlock();
    }
  ::LeaveCriticalSection(&r.lock);
}

void TBitmapCanvas::CreateHandle() {
  memDC_ = CreateMemDC(nullptr);
  if (!memDC_) throw EOutOfResources(L"Out of system resources");
  oldBitmap_ = nullptr;
  if (bitmap_->handle_) oldBitmap_ = ::SelectObject(memDC_.get(), bitmap_->handle_.get());
  SetHandle(memDC_.get());
}

void TBitmapCanvas::FreeContext() {
  if (!memDC_) return;
  SetHandle(nullptr);  // puts font, brush and pen back first
  if (oldBitmap_) ::SelectObject(memDC_.get(), oldBitmap_);
  oldBitmap_ = nullptr;
  memDC_.reset();
}

// ---------------------------------------------------------------------------
// TBitmap
// ---------------------------------------------------------------------------

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height, TPixelFormat format) {
  format_ = format;
  bpp_ = BppOf(format);
  SetSize(width, height);
}

TBitmap::~TBitmap() {
  canvas_.reset();  // deselects the bitmap before the handle goes
}

int TBitmap::BppOf(TPixelFormat f) {
  switch (f) {
    case pf1bit: return 1;
    case pf4bit: return 4;
    case pf8bit: return 8;
    case pf15bit:
    case pf16bit: return 16;
    case pf24bit: return 24;
    default: return 32;
  }
}

TPixelFormat TBitmap::FormatOf(int bpp) {
  switch (bpp) {
    case 1: return pf1bit;
    case 4: return pf4bit;
    case 8: return pf8bit;
    case 16: return pf15bit;
    case 24: return pf24bit;
    default: return pf32bit;
  }
}

void TBitmap::FreeContext() {
  if (canvas_) canvas_->FreeContext();
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) canvas_ = std::make_unique<TBitmapCanvas>(this);
  return canvas_.get();
}

void TBitmap::Create(int width, int height, int bpp, const std::vector<RGBQUAD>& palette,
                     bool keepContents, bool fill) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  FreeContext();
  UniqueBitmap old = std::move(handle_);
  int oldW = width_, oldH = height_;
  bits_ = nullptr;
  width_ = width;
  height_ = height;
  bpp_ = bpp;
  stride_ = width > 0 ? StrideOf(width, bpp) : 0;
  palette_ = bpp <= 8 ? (palette.empty() ? DefaultPalette(bpp) : palette) : std::vector<RGBQUAD>();
  if (width == 0 || height == 0) {
    stride_ = 0;
    Changed();
    return;
  }

  DibInfo bi;
  bi.h.biSize = sizeof(BITMAPINFOHEADER);
  bi.h.biWidth = width;
  bi.h.biHeight = -height;  // top-down: ScanLine(y) is row y
  bi.h.biPlanes = 1;
  bi.h.biBitCount = static_cast<WORD>(bpp);
  bi.h.biCompression = BI_RGB;
  size_t nColors = palette_.size() > 256 ? 256 : palette_.size();
  bi.h.biClrUsed = static_cast<DWORD>(nColors);
  if (nColors) std::memcpy(bi.colors, palette_.data(), nColors * sizeof(RGBQUAD));
  void* bits = nullptr;
  handle_.reset(::CreateDIBSection(nullptr, bi.get(), DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!handle_ || !bits) {
    handle_.reset();
    width_ = height_ = stride_ = 0;
    throw EOutOfResources(L"Out of system resources");
  }
  bits_ = bits;

  if (fill || (keepContents && old)) {
    UniqueMemDC dc = CreateMemDC(nullptr);
    SelectObjectScope sel(dc.get(), handle_.get());
    if (fill) {
      TColor fillColor = canvas_ ? canvas_->Brush()->Color() : clWhite;
      UniqueBrush brush(::CreateSolidBrush(ColorToRGB(fillColor) & 0xFFFFFF));
      RECT r{0, 0, width, height};
      ::FillRect(dc.get(), &r, brush.get());
    }
    if (keepContents && old) {
      UniqueMemDC src = CreateMemDC(nullptr);
      SelectObjectScope selSrc(src.get(), old.get());
      int w = oldW < width ? oldW : width, h = oldH < height ? oldH : height;
      ::BitBlt(dc.get(), 0, 0, w, h, src.get(), 0, 0, SRCCOPY);
    }
  }
  ::GdiFlush();
  Changed();
}

void TBitmap::SetSize(int width, int height) {
  if (width < 0) width = 0;
  if (height < 0) height = 0;
  if (width == width_ && height == height_) return;
  Create(width, height, BppOf(format_) == bpp_ ? bpp_ : BppOf(format_), palette_, true, true);
}

void TBitmap::SetPixelFormat(TPixelFormat v) {
  if (v == format_) return;
  int bpp = BppOf(v);
  format_ = v;
  if (bpp == bpp_ && !(bpp <= 8)) return;  // pfDevice and pf32bit share the layout
  Create(width_, height_, bpp, bpp <= 8 ? DefaultPalette(bpp) : std::vector<RGBQUAD>(), true, false);
}

HBITMAP TBitmap::Handle() {
  FreeContext();
  return handle_.get();
}

void TBitmap::SetHandle(HBITMAP bmp) {
  FreeContext();
  if (!bmp) {
    FreeImage();
    return;
  }
  UniqueBitmap src(bmp);
  BITMAP bm{};
  if (::GetObjectW(bmp, sizeof bm, &bm) == 0) throw EInvalidGraphic(L"Invalid bitmap handle");
  int bpp = bm.bmBitsPixel * bm.bmPlanes;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24) bpp = bpp == 16 ? 24 : 32;
  int w = bm.bmWidth, h = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
  // Read the pixels (and colour table) in our own layout.
  DibInfo bi;
  bi.h.biSize = sizeof(BITMAPINFOHEADER);
  bi.h.biWidth = w;
  bi.h.biHeight = -h;
  bi.h.biPlanes = 1;
  bi.h.biBitCount = static_cast<WORD>(bpp);
  bi.h.biCompression = BI_RGB;
  std::vector<BYTE> pixels(static_cast<size_t>(StrideOf(w, bpp)) * h);
  HDC screen = ::GetDC(nullptr);
  int lines = pixels.empty() ? 0 : ::GetDIBits(screen, bmp, 0, h, pixels.data(), bi.get(), DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  std::vector<RGBQUAD> pal;
  if (bpp <= 8) pal.assign(bi.colors, bi.colors + (1 << bpp));
  format_ = bpp == 32 ? pfDevice : FormatOf(bpp);
  Create(w, h, bpp, pal, false, lines == 0);
  if (lines > 0 && bits_) std::memcpy(bits_, pixels.data(), pixels.size());
}

HBITMAP TBitmap::ReleaseHandle() {
  FreeContext();
  HBITMAP h = handle_.release();
  bits_ = nullptr;
  width_ = height_ = stride_ = 0;
  return h;
}

void TBitmap::FreeImage() {
  FreeContext();
  handle_.reset();
  bits_ = nullptr;
  width_ = height_ = stride_ = 0;
  Changed();
}

void* TBitmap::ScanLine(int y) {
  if (!bits_ || y < 0 || y >= height_) throw EInvalidGraphicOperation(L"Scan line index out of range");
  ::GdiFlush();
  return static_cast<BYTE*>(bits_) + static_cast<size_t>(y) * stride_;
}

void* TBitmap::Bits() {
  if (!bits_) return nullptr;
  ::GdiFlush();
  return bits_;
}

void TBitmap::SetTransparent(bool v) { TGraphic::SetTransparent(v); }

TColor TBitmap::TransparentColor() {
  if (transparentMode_ == tmFixed && transparentColor_ != clDefault) return ColorToRGB(transparentColor_);
  if (Empty()) return clDefault;
  return Canvas()->Pixels(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor v) {
  transparentColor_ = v;
  transparentMode_ = v == clDefault ? tmAuto : tmFixed;
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode v) {
  if (v == transparentMode_) return;
  if (v == tmAuto) transparentColor_ = clDefault;
  else transparentColor_ = TransparentColor();
  transparentMode_ = v;
  Changed();
}

void TBitmap::SetPalette(const std::vector<RGBQUAD>& colors) {
  if (bpp_ > 8) return;
  palette_ = colors;
  if (handle_ && !colors.empty()) {
    HDC dc = Canvas()->Handle();
    ::SetDIBColorTable(dc, 0, static_cast<UINT>(colors.size() > 256 ? 256 : colors.size()), colors.data());
  }
  Changed();
}

void TBitmap::Draw(TCanvas* canvas, const TRect& r) {
  if (Empty() || !canvas) return;
  TColor trans = Transparent() ? TransparentColor() : clNone;
  HDC src = Canvas()->Handle();
  HDC dst = canvas->Handle();
  int dw = r.right - r.left, dh = r.bottom - r.top;
  if (Transparent()) {
    ::TransparentBlt(dst, r.left, r.top, dw, dh, src, 0, 0, width_, height_, ColorToRGB(trans) & 0xFFFFFF);
  } else if (dw == width_ && dh == height_) {
    ::BitBlt(dst, r.left, r.top, dw, dh, src, 0, 0, canvas->CopyMode);
  } else {
    int old = ::SetStretchBltMode(dst, COLORONCOLOR);
    ::StretchBlt(dst, r.left, r.top, dw, dh, src, 0, 0, width_, height_, canvas->CopyMode);
    ::SetStretchBltMode(dst, old);
  }
}

void TBitmap::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    FreeImage();
    return;
  }
  if (auto* b = dynamic_cast<TBitmap*>(Source)) {
    format_ = b->format_;
    Create(b->width_, b->height_, b->bpp_, b->palette_, false, false);
    if (bits_ && b->bits_) {
      ::GdiFlush();
      std::memcpy(bits_, b->bits_, static_cast<size_t>(stride_) * height_);
    }
    transparent_ = b->transparent_;
    transparentColor_ = b->transparentColor_;
    transparentMode_ = b->transparentMode_;
    Changed();
    return;
  }
  if (auto* g = dynamic_cast<TGraphic*>(Source)) {
    // Let a graphic that knows better (a JPEG image) copy itself.
    if (g->Empty()) {
      FreeImage();
      return;
    }
    TPersistent::Assign(Source);
    return;
  }
  TPersistent::Assign(Source);
}

void TBitmap::LoadFromFile(const std::wstring& fileName) {
  std::string bytes = ReadFileBytes(fileName);
  LoadFromMemory(bytes.data(), bytes.size());
}

void TBitmap::LoadFromMemory(const void* data, size_t size) {
  const auto* p = static_cast<const BYTE*>(data);
  auto invalid = [] { throw EInvalidGraphic(L"Bitmap image is not valid"); };
  if (!p || size < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPCOREHEADER) || p[0] != 'B' || p[1] != 'M')
    invalid();
  BITMAPFILEHEADER fh;
  std::memcpy(&fh, p, sizeof fh);
  const BYTE* info = p + sizeof(BITMAPFILEHEADER);
  size_t infoAvail = size - sizeof(BITMAPFILEHEADER);
  DWORD hsize;
  std::memcpy(&hsize, info, sizeof hsize);

  // Normalise the header into a BITMAPINFOHEADER plus colour table.
  DibInfo bi;
  std::vector<BYTE> fullInfo;  // header as in the file (V4/V5 and bit-field masks kept)
  int w, h, bpp;
  DWORD compression = BI_RGB, clrUsed = 0;
  size_t colorTableOffset;
  bool core = hsize == sizeof(BITMAPCOREHEADER);
  if (core) {
    BITMAPCOREHEADER ch;
    std::memcpy(&ch, info, sizeof ch);
    w = ch.bcWidth;
    h = ch.bcHeight;
    bpp = ch.bcBitCount;
    colorTableOffset = sizeof(BITMAPCOREHEADER);
  } else {
    if (hsize < sizeof(BITMAPINFOHEADER) || hsize > infoAvail) invalid();
    BITMAPINFOHEADER ih;
    std::memcpy(&ih, info, sizeof ih);
    w = ih.biWidth;
    h = ih.biHeight;
    bpp = ih.biBitCount;
    compression = ih.biCompression;
    clrUsed = ih.biClrUsed;
    colorTableOffset = hsize;
    if (hsize == sizeof(BITMAPINFOHEADER) && (compression == BI_BITFIELDS)) colorTableOffset += 12;
  }
  // A negative height means top-down rows; its size is taken in 64 bits so
  // that the most negative one cannot overflow.
  const long long height = h < 0 ? -static_cast<long long>(h) : h;
  if (w <= 0 || height == 0 || w > 0x8000 || height > 0x8000 ||
      static_cast<long long>(w) * height > MaxPicturePixels)
    invalid();
  const int absH = static_cast<int>(height);
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) invalid();
  if (fh.bfOffBits >= size || fh.bfOffBits < sizeof(BITMAPFILEHEADER) + colorTableOffset) invalid();
  size_t pixelBytes = size - fh.bfOffBits;
  if (compression == BI_RGB || compression == BI_BITFIELDS) {
    if (static_cast<size_t>(StrideOf(w, bpp)) * absH > pixelBytes) invalid();
  } else if (compression != BI_RLE8 && compression != BI_RLE4) {
    invalid();
  }
  // Colour table.
  std::vector<RGBQUAD> pal;
  if (bpp <= 8) {
    size_t n = clrUsed && clrUsed <= (1u << bpp) ? clrUsed : (1u << bpp);
    size_t entry = core ? 3 : 4;
    const BYTE* ct = info + colorTableOffset;
    for (size_t i = 0; i < n; ++i) {
      if (colorTableOffset + (i + 1) * entry > fh.bfOffBits - sizeof(BITMAPFILEHEADER)) break;
      pal.push_back(RGBQUAD{ct[i * entry], ct[i * entry + 1], ct[i * entry + 2], 0});
    }
    while (pal.size() < (1u << bpp)) pal.push_back(RGBQUAD{0, 0, 0, 0});
  }
  // Source description handed to SetDIBits.
  std::vector<BYTE> srcInfo;
  if (core) {
    srcInfo.resize(sizeof(BITMAPINFOHEADER) + pal.size() * sizeof(RGBQUAD));
    BITMAPINFOHEADER ih{};
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = static_cast<WORD>(bpp);
    ih.biCompression = BI_RGB;
    std::memcpy(srcInfo.data(), &ih, sizeof ih);
    if (!pal.empty()) std::memcpy(srcInfo.data() + sizeof ih, pal.data(), pal.size() * sizeof(RGBQUAD));
  } else {
    size_t infoLen = fh.bfOffBits - sizeof(BITMAPFILEHEADER);
    srcInfo.assign(info, info + infoLen);
    // Leave room for a full colour table even when the file lists fewer.
    srcInfo.resize(infoLen + 256 * sizeof(RGBQUAD) + 12);
    if (compression == BI_RLE8 || compression == BI_RLE4) {
      BITMAPINFOHEADER ih;
      std::memcpy(&ih, srcInfo.data(), sizeof ih);
      if (ih.biSizeImage == 0 || ih.biSizeImage > pixelBytes) invalid();
    }
  }

  int dstBpp = (bpp == 16) ? 24 : bpp;
  format_ = dstBpp == 32 ? pf32bit : FormatOf(dstBpp);
  transparentColor_ = clDefault;
  transparentMode_ = tmAuto;
  Create(w, absH, dstBpp, pal, false, false);
  UniqueMemDC dc = CreateMemDC(nullptr);
  int lines = ::SetDIBits(dc.get(), handle_.get(), 0, absH, p + fh.bfOffBits,
                          reinterpret_cast<BITMAPINFO*>(srcInfo.data()), DIB_RGB_COLORS);
  if (lines == 0) {
    FreeImage();
    invalid();
  }
  ::GdiFlush();
  Changed();
}

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::wstring& name) {
  HRSRC res = ::FindResourceW(instance, name.c_str(), MAKEINTRESOURCEW(2) /* RT_BITMAP */);
  if (!res) throw EInvalidGraphic(L"Resource " + name + L" not found");
  HGLOBAL g = ::LoadResource(instance, res);
  const void* data = g ? ::LockResource(g) : nullptr;
  DWORD size = ::SizeofResource(instance, res);
  if (!data || size < sizeof(BITMAPINFOHEADER)) throw EInvalidGraphic(L"Resource " + name + L" not found");
  // A bitmap resource is a file without its file header.
  BITMAPINFOHEADER ih;
  std::memcpy(&ih, data, sizeof ih);
  DWORD colors = 0;
  if (ih.biBitCount <= 8) colors = ih.biClrUsed ? ih.biClrUsed : (1u << ih.biBitCount);
  DWORD masks = (ih.biSize == sizeof(BITMAPINFOHEADER) && ih.biCompression == BI_BITFIELDS) ? 12 : 0;
  std::string file(sizeof(BITMAPFILEHEADER) + size, '\0');
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfSize = static_cast<DWORD>(file.size());
  fh.bfOffBits = static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + ih.biSize + masks + colors * 4);
  std::memcpy(file.data(), &fh, sizeof fh);
  std::memcpy(file.data() + sizeof fh, data, size);
  LoadFromMemory(file.data(), file.size());
}

std::string TBitmap::SaveToBytes() const {
  BITMAPFILEHEADER fh{};
  BITMAPINFOHEADER ih{};
  ih.biSize = sizeof ih;
  ih.biWidth = width_;
  ih.biHeight = height_;  // bottom-up, as most readers expect
  ih.biPlanes = 1;
  ih.biBitCount = static_cast<WORD>(bpp_);
  ih.biCompression = BI_RGB;
  size_t nColors = bpp_ <= 8 ? palette_.size() : 0;
  ih.biClrUsed = static_cast<DWORD>(nColors);
  size_t imageSize = static_cast<size_t>(stride_) * height_;
  ih.biSizeImage = static_cast<DWORD>(imageSize);
  fh.bfType = 0x4D42;
  fh.bfOffBits = static_cast<DWORD>(sizeof fh + sizeof ih + nColors * sizeof(RGBQUAD));
  fh.bfSize = static_cast<DWORD>(fh.bfOffBits + imageSize);
  std::string out(fh.bfSize, '\0');
  std::memcpy(out.data(), &fh, sizeof fh);
  std::memcpy(out.data() + sizeof fh, &ih, sizeof ih);
  if (nColors) std::memcpy(out.data() + sizeof fh + sizeof ih, palette_.data(), nColors * sizeof(RGBQUAD));
  if (bits_) {
    ::GdiFlush();
    for (int y = 0; y < height_; ++y)
      std::memcpy(out.data() + fh.bfOffBits + static_cast<size_t>(height_ - 1 - y) * stride_,
                  static_cast<const BYTE*>(bits_) + static_cast<size_t>(y) * stride_, stride_);
  }
  return out;
}

void TBitmap::SaveToFile(const std::wstring& fileName) { WriteFileBytes(fileName, SaveToBytes()); }

// ---------------------------------------------------------------------------
// TIcon
// ---------------------------------------------------------------------------

void TIcon::SetHandle(HICON icon) {
  if (icon && icon == handle_.get()) return;
  // The old icon goes only after the listeners have moved to the new one.
  UniqueIcon old(handle_.release());
  handle_.reset(icon);
  width_ = height_ = 0;
  if (icon) {
    ICONINFO ii{};
    if (::GetIconInfo(icon, &ii)) {
      UniqueBitmap color(ii.hbmColor), mask(ii.hbmMask);  // GetIconInfo hands us copies
      BITMAP bm{};
      if (color && ::GetObjectW(color.get(), sizeof bm, &bm)) {
        width_ = bm.bmWidth;
        height_ = bm.bmHeight;
      } else if (mask && ::GetObjectW(mask.get(), sizeof bm, &bm)) {
        width_ = bm.bmWidth;
        height_ = bm.bmHeight / 2;
      }
    }
  }
  Changed();
}

HICON TIcon::ReleaseHandle() {
  width_ = height_ = 0;
  return handle_.release();
}

void TIcon::Draw(TCanvas* canvas, const TRect& r) {
  if (!handle_ || !canvas) return;
  ::DrawIconEx(canvas->Handle(), r.left, r.top, handle_.get(), r.right - r.left, r.bottom - r.top, 0,
               nullptr, DI_NORMAL);
}

void TIcon::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    SetHandle(nullptr);
    return;
  }
  if (auto* i = dynamic_cast<TIcon*>(Source)) {
    SetHandle(i->handle_ ? ::CopyIcon(i->handle_.get()) : nullptr);
    return;
  }
  TPersistent::Assign(Source);
}

void TIcon::LoadFromFile(const std::wstring& fileName) {
  std::string bytes = ReadFileBytes(fileName);
  LoadFromMemory(bytes.data(), bytes.size());
}

void TIcon::LoadFromMemory(const void* data, size_t size) {
  // .ico: ICONDIR (6 bytes) + 16-byte entries; take the first image.
  const auto* p = static_cast<const BYTE*>(data);
  if (!p || size < 6 + 16 || p[0] != 0 || p[1] != 0 || p[2] != 1 || p[3] != 0)
    throw EInvalidGraphic(L"Icon image is not valid");
  DWORD bytes, offset;
  std::memcpy(&bytes, p + 6 + 8, 4);
  std::memcpy(&offset, p + 6 + 12, 4);
  if (offset >= size || bytes > size - offset) throw EInvalidGraphic(L"Icon image is not valid");
  HICON icon = ::CreateIconFromResourceEx(const_cast<BYTE*>(p + offset), bytes, TRUE, 0x00030000, 0, 0,
                                          LR_DEFAULTCOLOR);
  if (!icon) throw EInvalidGraphic(L"Icon image is not valid");
  SetHandle(icon);
}

void TIcon::SaveToFile(const std::wstring&) {
  throw EInvalidGraphicOperation(L"Saving icons is not supported");
}

// ---------------------------------------------------------------------------
// TPicture
// ---------------------------------------------------------------------------

void TPicture::SetGraphic(std::unique_ptr<TGraphic> g) {
  graphic_ = std::move(g);
  if (OnChange) OnChange(this);
}

TBitmap* TPicture::Bitmap() {
  auto* b = dynamic_cast<TBitmap*>(graphic_.get());
  if (!b) {
    auto nb = std::make_unique<TBitmap>();
    b = nb.get();
    graphic_ = std::move(nb);
  }
  return b;
}

void TPicture::LoadFromFile(const std::wstring& fileName) {
  std::wstring ext = LowerCase(ExtractFileExt(fileName));
  std::unique_ptr<TGraphic> g;
  if (ext == L".jpg" || ext == L".jpeg") g = std::make_unique<TJPEGImage>();
  else if (ext == L".ico") g = std::make_unique<TIcon>();
  else if (ext == L".bmp") g = std::make_unique<TBitmap>();
  else throw EInvalidGraphic(L"Unknown picture file extension (" + ext + L")");
  g->LoadFromFile(fileName);
  SetGraphic(std::move(g));
}

void TPicture::Assign(TPersistent* Source) {
  if (Source == this) return;
  if (!Source) {
    SetGraphic(nullptr);
    return;
  }
  if (auto* p = dynamic_cast<TPicture*>(Source)) {
    Assign(p->graphic_.get());
    return;
  }
  std::unique_ptr<TGraphic> g;
  if (dynamic_cast<TBitmap*>(Source)) g = std::make_unique<TBitmap>();
  else if (dynamic_cast<TJPEGImage*>(Source)) g = std::make_unique<TJPEGImage>();
  else if (dynamic_cast<TIcon*>(Source)) g = std::make_unique<TIcon>();
  if (!g) {
    TPersistent::Assign(Source);
    return;
  }
  g->Assign(Source);
  SetGraphic(std::move(g));
}

std::unique_ptr<TBitmap> GraphicToBitmap24(TGraphic* graphic) {
  if (!graphic) return nullptr;
  auto bmp = std::make_unique<TBitmap>();
  if (auto* b = dynamic_cast<TBitmap*>(graphic)) {
    bmp->Assign(b);
    bmp->SetPixelFormat(pf24bit);
    return bmp;
  }
  if (auto* j = dynamic_cast<TJPEGImage*>(graphic)) {
    j->AssignTo24(*bmp);
    return bmp;
  }
  bmp->SetPixelFormat(pf24bit);
  bmp->SetSize(graphic->Width(), graphic->Height());
  if (!bmp->Empty()) bmp->Canvas()->Draw(0, 0, graphic);
  return bmp;
}
