// Colours, fonts, brushes, pens and the canvas. Bitmaps, icons and pictures
// are in Bitmap.cpp.
#include "framework/Graphics.h"

#include <cstring>

#include "framework/SysUtils.h"

TColor ColorToRGB(TColor color) {
  if (color & 0x80000000u) return ::GetSysColor(static_cast<int>(color & 0xFF));
  return color;
}

static COLORREF GdiColor(TColor c) { return ColorToRGB(c) & 0xFFFFFF; }

int ScreenPixelsPerInch() {
  static const int ppi = [] {
    HDC dc = ::GetDC(nullptr);
    int v = dc ? ::GetDeviceCaps(dc, LOGPIXELSY) : 96;
    if (dc) ::ReleaseDC(nullptr, dc);
    return v > 0 ? v : 96;
  }();
  return ppi;
}

// ---------------------------------------------------------------------------
// TGraphicsObject
// ---------------------------------------------------------------------------

void TGraphicsObject::Changing() {
  if (beforeChange_) beforeChange_();
}

void TGraphicsObject::Changed() {
  if (OnChange) OnChange(this);
}

// ---------------------------------------------------------------------------
// TFont
// ---------------------------------------------------------------------------

TFont::TFont() = default;
TFont::~TFont() = default;

void TFont::ReleaseHandle() { handle_.reset(); }

LOGFONTW TFont::ToLogFont() const {
  LOGFONTW lf{};
  lf.lfHeight = height_;
  lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
  lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
  lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
  lf.lfCharSet = charset_;
  lf.lfEscapement = orientation_;
  lf.lfOrientation = orientation_;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = pitch_ == fpFixed ? FIXED_PITCH : (pitch_ == fpVariable ? VARIABLE_PITCH : DEFAULT_PITCH);
  size_t n = name_.size() < LF_FACESIZE - 1 ? name_.size() : LF_FACESIZE - 1;
  std::memcpy(lf.lfFaceName, name_.data(), n * sizeof(wchar_t));
  lf.lfFaceName[n] = 0;
  return lf;
}

HFONT TFont::Handle() {
  if (!handle_) {
    LOGFONTW lf = ToLogFont();
    handle_.reset(::CreateFontIndirectW(&lf));
  }
  return handle_ ? handle_.get() : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
}

void TFont::SetHandle(HFONT font) {
  LOGFONTW lf{};
  if (!font || ::GetObjectW(font, sizeof lf, &lf) == 0) return;
  Changing();
  ReleaseHandle();
  name_ = lf.lfFaceName;
  height_ = lf.lfHeight;
  style_ = 0;
  if (lf.lfWeight >= FW_BOLD) style_ |= fsBold;
  if (lf.lfItalic) style_ |= fsItalic;
  if (lf.lfUnderline) style_ |= fsUnderline;
  if (lf.lfStrikeOut) style_ |= fsStrikeOut;
  charset_ = lf.lfCharSet;
  orientation_ = lf.lfEscapement;
  BYTE pitch = lf.lfPitchAndFamily & 3;
  pitch_ = pitch == FIXED_PITCH ? fpFixed : (pitch == VARIABLE_PITCH ? fpVariable : fpDefault);
  Changed();
}

void TFont::Assign(TPersistent* Source) {
  if (auto* f = dynamic_cast<TFont*>(Source)) {
    if (f == this) return;
    Changing();
    // Painting assigns a control's font to a canvas every time: the same
    // typeface keeps its handle (making one is a trip to the font mapper).
    if (name_ != f->name_ || height_ != f->height_ || style_ != f->style_ ||
        charset_ != f->charset_ || pitch_ != f->pitch_ || orientation_ != f->orientation_)
      ReleaseHandle();
    name_ = f->name_;
    height_ = f->height_;
    color_ = f->color_;
    style_ = f->style_;
    charset_ = f->charset_;
    pitch_ = f->pitch_;
    orientation_ = f->orientation_;
    PixelsPerInch = f->PixelsPerInch;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

#define FONT_SETTER(Setter, field, type, dropsHandle) \
  void TFont::Setter(type v) {                          \
    if (field == v) return;                             \
    Changing();                                         \
    if (dropsHandle) ReleaseHandle();                   \
    field = v;                                          \
    Changed();                                          \
  }
FONT_SETTER(SetName, name_, const std::wstring&, true)
FONT_SETTER(SetHeight, height_, int, true)
FONT_SETTER(SetColor, color_, TColor, false)
FONT_SETTER(SetStyle, style_, TFontStyles, true)
FONT_SETTER(SetCharset, charset_, BYTE, true)
FONT_SETTER(SetPitch, pitch_, TFontPitch, true)
FONT_SETTER(SetOrientation, orientation_, int, true)
#undef FONT_SETTER

int TFont::Size() const { return -::MulDiv(height_, 72, PixelsPerInch); }
void TFont::SetSize(int points) { SetHeight(-::MulDiv(points, PixelsPerInch, 72)); }

// ---------------------------------------------------------------------------
// TBrush
// ---------------------------------------------------------------------------

HBRUSH TBrush::Handle() {
  if (style_ == bsClear) return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
  if (!handle_) {
    COLORREF c = GdiColor(color_);
    int hatch = -1;
    switch (style_) {
      case bsHorizontal: hatch = HS_HORIZONTAL; break;
      case bsVertical: hatch = HS_VERTICAL; break;
      case bsFDiagonal: hatch = HS_FDIAGONAL; break;
      case bsBDiagonal: hatch = HS_BDIAGONAL; break;
      case bsCross: hatch = HS_CROSS; break;
      case bsDiagCross: hatch = HS_DIAGCROSS; break;
      default: break;
    }
    handle_.reset(hatch < 0 ? ::CreateSolidBrush(c) : ::CreateHatchBrush(hatch, c));
  }
  return handle_.get();
}

void TBrush::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBrush*>(Source)) {
    if (b == this) return;
    Changing();
    handle_.reset();
    color_ = b->color_;
    style_ = b->style_;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TBrush::SetColor(TColor v) {
  if (color_ == v && style_ != bsClear) return;
  Changing();
  handle_.reset();
  color_ = v;
  if (style_ == bsClear) style_ = bsSolid;  // setting a colour makes the brush visible
  Changed();
}

void TBrush::SetStyle(TBrushStyle v) {
  if (style_ == v) return;
  Changing();
  handle_.reset();
  style_ = v;
  Changed();
}

// ---------------------------------------------------------------------------
// TPen
// ---------------------------------------------------------------------------

HPEN TPen::Handle() {
  if (!handle_) {
    int style = PS_SOLID;
    switch (style_) {
      case psSolid: style = PS_SOLID; break;
      case psDash: style = PS_DASH; break;
      case psDot: style = PS_DOT; break;
      case psDashDot: style = PS_DASHDOT; break;
      case psDashDotDot: style = PS_DASHDOTDOT; break;
      case psClear: style = PS_NULL; break;
      case psInsideFrame: style = PS_INSIDEFRAME; break;
    }
    handle_.reset(::CreatePen(style, width_, GdiColor(color_)));
  }
  return handle_.get();
}

void TPen::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPen*>(Source)) {
    if (p == this) return;
    Changing();
    handle_.reset();
    color_ = p->color_;
    width_ = p->width_;
    style_ = p->style_;
    mode_ = p->mode_;
    Changed();
    return;
  }
  TPersistent::Assign(Source);
}

void TPen::SetColor(TColor v) {
  if (color_ == v) return;
  Changing();
  handle_.reset();
  color_ = v;
  Changed();
}

void TPen::SetWidth(int v) {
  if (width_ == v) return;
  Changing();
  handle_.reset();
  width_ = v;
  Changed();
}

void TPen::SetStyle(TPenStyle v) {
  if (style_ == v) return;
  Changing();
  handle_.reset();
  style_ = v;
  Changed();
}

void TPen::SetMode(TPenMode v) {
  if (mode_ == v) return;
  Changing();
  mode_ = v;
  Changed();
}

// ---------------------------------------------------------------------------
// TCanvas
// ---------------------------------------------------------------------------

TCanvas::TCanvas() {
  ::InitializeCriticalSection(&lock_);
  font_.beforeChange_ = [this] {
    if (dc_ && fontValid_) {
      ::SelectObject(dc_, oldFont_);
      fontValid_ = false;
    }
  };
  brush_.beforeChange_ = [this] {
    if (dc_ && brushValid_) {
      ::SelectObject(dc_, oldBrush_);
      brushValid_ = false;
    }
  };
  pen_.beforeChange_ = [this] {
    if (dc_ && penValid_) {
      ::SelectObject(dc_, oldPen_);
      penValid_ = false;
    }
  };
}

TCanvas::~TCanvas() {
  DeselectObjects();
  font_.beforeChange_ = nullptr;
  brush_.beforeChange_ = nullptr;
  pen_.beforeChange_ = nullptr;
  ::DeleteCriticalSection(&lock_);
}

void TCanvas::DeselectObjects() {
  if (!dc_) {
    fontValid_ = brushValid_ = penValid_ = false;
    return;
  }
  if (fontValid_) ::SelectObject(dc_, oldFont_);
  if (brushValid_) ::SelectObject(dc_, oldBrush_);
  if (penValid_) ::SelectObject(dc_, oldPen_);
  fontValid_ = brushValid_ = penValid_ = false;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc_ == dc) return;
  DeselectObjects();
  dc_ = dc;
}

void TCanvas::RequireFont() {
  if (fontValid_) return;
  oldFont_ = ::SelectObject(dc_, font_.Handle());
  ::SetTextColor(dc_, GdiColor(font_.Color()));
  fontValid_ = true;
}

void TCanvas::RequireBrush() {
  if (brushValid_) return;
  oldBrush_ = ::SelectObject(dc_, brush_.Handle());
  ::SetBkColor(dc_, GdiColor(brush_.Color()));
  ::SetBkMode(dc_, brush_.Style() == bsSolid ? OPAQUE : TRANSPARENT);
  brushValid_ = true;
}

void TCanvas::RequirePen() {
  if (penValid_) return;
  oldPen_ = ::SelectObject(dc_, pen_.Handle());
  static const int rop2[] = {R2_BLACK, R2_WHITE, R2_NOP, R2_NOT, R2_COPYPEN, R2_NOTCOPYPEN,
                            R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN,
                            R2_MERGEPEN, R2_NOTMERGEPEN, R2_MASKPEN, R2_NOTMASKPEN, R2_XORPEN,
                            R2_NOTXORPEN};
  ::SetROP2(dc_, rop2[static_cast<int>(pen_.Mode())]);
  penValid_ = true;
}

void TCanvas::RequireAll() {
  RequireFont();
  RequireBrush();
  RequirePen();
}

HDC TCanvas::Handle() {
  if (!dc_) CreateHandle();
  if (!dc_) throw EInvalidOperation(L"Canvas does not allow drawing");
  RequireAll();
  return dc_;
}

void TCanvas::Refresh() { DeselectObjects(); }

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

void TCanvas::Lock() {
  ::EnterCriticalSection(&lock_);
  ++lockCount_;
}

bool TCanvas::TryLock() {
  if (!::TryEnterCriticalSection(&lock_)) return false;
  ++lockCount_;
  return true;
}

void TCanvas::Unlock() {
  --lockCount_;
  ::LeaveCriticalSection(&lock_);
}

void TCanvas::FillRect(const TRect& r) {
  HDC dc = Handle();
  Changing();
  ::FillRect(dc, &r, brush_.Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& r) {
  HDC dc = Handle();
  Changing();
  ::FrameRect(dc, &r, brush_.Handle());
  Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
  HDC dc = Handle();
  Changing();
  ::Rectangle(dc, x1, y1, x2, y2);
  Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
  HDC dc = Handle();
  Changing();
  ::RoundRect(dc, x1, y1, x2, y2, x3, y3);
  Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
  HDC dc = Handle();
  Changing();
  ::Ellipse(dc, x1, y1, x2, y2);
  Changed();
}

void TCanvas::MoveTo(int x, int y) { ::MoveToEx(Handle(), x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
  HDC dc = Handle();
  Changing();
  ::LineTo(dc, x, y);
  Changed();
}

TPoint TCanvas::PenPos() {
  POINT p{};
  ::GetCurrentPositionEx(Handle(), &p);
  return p;
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  if (points.empty()) return;
  HDC dc = Handle();
  Changing();
  ::Polyline(dc, points.data(), static_cast<int>(points.size()));
  Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  if (points.empty()) return;
  HDC dc = Handle();
  Changing();
  ::Polygon(dc, points.data(), static_cast<int>(points.size()));
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
  HDC dc = Handle();
  Changing();
  ::DrawFocusRect(dc, &r);
  Changed();
}

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
  HDC dc = Handle();
  Changing();
  ::ExtTextOutW(dc, x, y, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  SIZE sz{};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &sz);
  ::MoveToEx(dc, x + sz.cx, y, nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::wstring& text) {
  HDC dc = Handle();
  Changing();
  UINT options = ETO_CLIPPED;
  if (brush_.Style() != bsClear) options |= ETO_OPAQUE;
  ::ExtTextOutW(dc, x, y, options, &r, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  Changed();
}

int TCanvas::TextRect(TRect& r, const std::wstring& text, UINT format) {
  HDC dc = Handle();
  Changing();
  int h = ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
  Changed();
  return h;
}

TSize TCanvas::TextExtent(const std::wstring& text) {
  SIZE sz{};
  ::GetTextExtentPoint32W(Handle(), text.c_str(), static_cast<int>(text.size()), &sz);
  return sz;
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  graphic->Draw(this, Rect(x, y, x + graphic->Width(), y + graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  graphic->Draw(this, r);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect) {
  if (!source) return;
  HDC src = source->Handle();
  HDC dc = Handle();
  Changing();
  int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  int sw = sourceRect.right - sourceRect.left, sh = sourceRect.bottom - sourceRect.top;
  if (dw == sw && dh == sh) {
    ::BitBlt(dc, dest.left, dest.top, dw, dh, src, sourceRect.left, sourceRect.top, CopyMode);
  } else {
    int old = ::SetStretchBltMode(dc, COLORONCOLOR);
    ::StretchBlt(dc, dest.left, dest.top, dw, dh, src, sourceRect.left, sourceRect.top, sw, sh, CopyMode);
    ::SetStretchBltMode(dc, old);
  }
  Changed();
}

TColor TCanvas::Pixels(int x, int y) {
  COLORREF c = ::GetPixel(Handle(), x, y);
  return c == CLR_INVALID ? clNone : c;
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  HDC dc = Handle();
  Changing();
  ::SetPixel(dc, x, y, GdiColor(color));
  Changed();
}

TRect TCanvas::ClipRect() {
  RECT r{};
  ::GetClipBox(Handle(), &r);
  return r;
}

// ---------------------------------------------------------------------------
// TGraphic
// ---------------------------------------------------------------------------

void TGraphic::SetTransparent(bool v) {
  if (transparent_ == v) return;
  transparent_ = v;
  Changed();
}

void TGraphic::Changed() {
  if (OnChange) OnChange(this);
}
