// Colours, fonts, brushes, pens, canvases and bitmaps.
//
// TColor keeps red in the low byte (COLORREF layout); system colours are
// 0x80000000 | COLOR_xxx and become RGB through ColorToRGB.
// TBitmap is always a top-down DIB section: ScanLine(y) is row y and rows
// follow each other at Stride() bytes (24-bit rows padded to 4 bytes).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Handles.h"

// ---------------------------------------------------------------------------
// Colours
// ---------------------------------------------------------------------------
using TColor = uint32_t;

constexpr TColor clSystemColor = 0x80000000u;
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
constexpr TColor clHotLight = clSystemColor | COLOR_HOTLIGHT;
constexpr TColor clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION;
constexpr TColor clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION;
constexpr TColor clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT;
constexpr TColor clMenuBar = clSystemColor | COLOR_MENUBAR;

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clLtGray = 0xC0C0C0;
constexpr TColor clDkGray = 0x808080;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

// System colours (high bit set) to RGB through GetSysColor; any other value
// is returned unchanged (clNone and clDefault included). Callers mask with
// 0xFFFFFF before handing a colour to GDI.
TColor ColorToRGB(TColor color);
inline BYTE GetRValue32(TColor c) { return BYTE(c & 0xFF); }
inline BYTE GetGValue32(TColor c) { return BYTE((c >> 8) & 0xFF); }
inline BYTE GetBValue32(TColor c) { return BYTE((c >> 16) & 0xFF); }

// Screen pixels per inch (LOGPIXELSY), read once.
int ScreenPixelsPerInch();

// ---------------------------------------------------------------------------
// Fonts, brushes, pens
// ---------------------------------------------------------------------------

// Base of TFont/TBrush/TPen: owns its GDI handle, creates it lazily, drops
// it on every change (after telling the canvas that has it selected).
class TGraphicsObject : public TPersistent {
 public:
  TNotifyEvent OnChange;

 protected:
  friend class TCanvas;
  // Before a property changes: lets the owning canvas deselect the handle.
  void Changing();
  // After it changed: OnChange.
  void Changed();
  std::function<void()> beforeChange_;
};

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;  // bit set of TFontStyle
enum class TFontPitch { fpDefault, fpVariable, fpFixed };
using enum TFontPitch;

class TFont : public TGraphicsObject {
 public:
  TFont();
  ~TFont() override;
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;

  // Created on first use from the properties; owned by the font.
  HFONT Handle();
  // Takes over the properties of an existing font (the handle itself stays
  // the caller's).
  void SetHandle(HFONT font);
  void Assign(TPersistent* Source) override;

  const std::wstring& Name() const { return name_; }
  void SetName(const std::wstring& v);
  // Character height in pixels (negative: without internal leading).
  int Height() const { return height_; }
  void SetHeight(int v);
  // Points: -Height * 72 / PixelsPerInch.
  int Size() const;
  void SetSize(int points);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles v);
  BYTE Charset() const { return charset_; }
  void SetCharset(BYTE v);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch v);
  int Orientation() const { return orientation_; }
  void SetOrientation(int tenthsOfDegree);
  int PixelsPerInch = ScreenPixelsPerInch();

  LOGFONTW ToLogFont() const;

 private:
  void ReleaseHandle();
  UniqueFont handle_;
  std::wstring name_ = L"Tahoma";
  int height_ = -11;
  TColor color_ = clWindowText;
  TFontStyles style_ = 0;
  BYTE charset_ = DEFAULT_CHARSET;
  TFontPitch pitch_ = fpDefault;
  int orientation_ = 0;
};

enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal,
                         bsCross, bsDiagCross };
using enum TBrushStyle;

class TBrush : public TGraphicsObject {
 public:
  TBrush() = default;
  HBRUSH Handle();
  void Assign(TPersistent* Source) override;
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle v);

 private:
  UniqueBrush handle_;
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
using enum TPenStyle;
enum class TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot,
                      pmMaskPenNot, pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask,
                      pmNotMask, pmXor, pmNotXor };
using enum TPenMode;

class TPen : public TGraphicsObject {
 public:
  TPen() = default;
  HPEN Handle();
  void Assign(TPersistent* Source) override;
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  int Width() const { return width_; }
  void SetWidth(int v);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle v);
  // Applied as the DC's ROP2 when the pen is selected.
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode v);

 private:
  UniquePen handle_;
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
};

// ---------------------------------------------------------------------------
// Canvas
// ---------------------------------------------------------------------------
class TGraphic;

// Drawing surface over an HDC that it does not own. Font(), Brush() and
// Pen() are selected into the DC when an operation needs them and the DC's
// original objects are put back when the canvas lets go of the DC
// (SetHandle(other or 0), destruction). A derived canvas that makes its own
// DC does so in CreateHandle (calling SetHandle) and calls SetHandle(nullptr)
// before it releases that DC.
class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  // The DC with font, brush and pen selected (CreateHandle when none).
  HDC Handle();
  // Lets go of the current DC (restoring its objects) and takes `dc`
  // (0 = none). The canvas never frees a DC given this way.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }

  TFont* Font() { return &font_; }
  TBrush* Brush() { return &brush_; }
  TPen* Pen() { return &pen_; }
  void SetFont(TFont* f) { font_.Assign(f); }
  void SetBrush(TBrush* b) { brush_.Assign(b); }
  void SetPen(TPen* p) { pen_.Assign(p); }
  // Raster operation of CopyRect (SRCCOPY by default).
  DWORD CopyMode = SRCCOPY;

  void FillRect(const TRect& r);   // with Brush
  void FrameRect(const TRect& r);  // with Brush
  void Rectangle(int x1, int y1, int x2, int y2);
  void Rectangle(const TRect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void RoundRect(int x1, int y1, int x2, int y2, int x3, int y3);
  void Ellipse(int x1, int y1, int x2, int y2);
  void Ellipse(const TRect& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  TPoint PenPos();
  void Polyline(const std::vector<TPoint>& points);
  void Polygon(const std::vector<TPoint>& points);
  void DrawFocusRect(const TRect& r);
  // Text in Font's colour; the background is Brush's colour unless the brush
  // is bsClear.
  void TextOut(int x, int y, const std::wstring& text);
  // TextOut clipped to r (and the rest of r filled unless bsClear).
  void TextRect(const TRect& r, int x, int y, const std::wstring& text);
  // DrawTextW with the given DT_ flags; r may be updated (DT_CALCRECT).
  int TextRect(TRect& r, const std::wstring& text, UINT format);
  TSize TextExtent(const std::wstring& text);
  int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
  int TextHeight(const std::wstring& text) { return TextExtent(text).cy; }
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const TRect& r, TGraphic* graphic);
  // StretchBlt from `source` with CopyMode.
  void CopyRect(const TRect& dest, TCanvas* source, const TRect& sourceRect);
  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);
  TRect ClipRect();
  // Deselects font, brush and pen; the next operation selects them again.
  void Refresh();

  // Serialises use across threads (nested on one thread).
  void Lock();
  bool TryLock();
  void Unlock();
  int LockCount() const { return lockCount_; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Called when a DC is needed and none is set; may call SetHandle.
  virtual void CreateHandle() {}
  void Changing();
  void Changed();
  // Puts the DC's original objects back (before a DC is released).
  void DeselectObjects();

 private:
  void RequireFont();
  void RequireBrush();
  void RequirePen();
  void RequireAll();

  HDC dc_ = nullptr;
  TFont font_;
  TBrush brush_;
  TPen pen_;
  HGDIOBJ oldFont_ = nullptr;
  HGDIOBJ oldBrush_ = nullptr;
  HGDIOBJ oldPen_ = nullptr;
  bool fontValid_ = false, brushValid_ = false, penValid_ = false;
  CRITICAL_SECTION lock_;
  int lockCount_ = 0;
};

// ---------------------------------------------------------------------------
// Graphics
// ---------------------------------------------------------------------------

// A picture that can draw itself into a canvas.
class TGraphic : public TPersistent {
 public:
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual void SetWidth(int v) = 0;
  virtual void SetHeight(int v) = 0;
  virtual bool Empty() const = 0;
  virtual bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool v);
  // Draws the picture stretched into r of the canvas.
  virtual void Draw(TCanvas* canvas, const TRect& r) = 0;
  // Raise EFOpenError / EInvalidGraphic / EFCreateError on failure.
  virtual void LoadFromFile(const std::wstring& fileName) = 0;
  virtual void LoadFromMemory(const void* data, size_t size) = 0;
  virtual void SaveToFile(const std::wstring& fileName) = 0;

  TNotifyEvent OnChange;

 protected:
  void Changed();
  bool transparent_ = false;
};

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
using enum TPixelFormat;
enum class TTransparentMode { tmAuto, tmFixed };
using enum TTransparentMode;
enum class TBitmapHandleType { bmDIB, bmDDB };
using enum TBitmapHandleType;

class TBitmap;

// The canvas of a bitmap: a memory DC with the bitmap selected, made on first
// use and freed when the bitmap's handle or size changes.
class TBitmapCanvas : public TCanvas {
 public:
  explicit TBitmapCanvas(TBitmap* bitmap);
  ~TBitmapCanvas() override;
  // Deselects the bitmap and deletes the memory DC.
  void FreeContext();

 protected:
  void CreateHandle() override;

 private:
  TBitmap* bitmap_;
  UniqueMemDC memDC_;
  HGDIOBJ oldBitmap_ = nullptr;
};

// Pictures read from files (BMP, JPEG) with more pixels than this are
// refused before their pixel memory is allocated: a few bytes of compressed
// data may claim gigabytes.
inline constexpr long long MaxPicturePixels = 64ll * 1024 * 1024;

// Device-independent bitmap. pfDevice is stored as a 32-bit DIB. New areas
// (SetSize growing, a new bitmap) are filled with the canvas brush colour
// (white by default); existing pixels keep their place.
class TBitmap : public TGraphic {
 public:
  TBitmap();
  TBitmap(int width, int height, TPixelFormat format = pfDevice);
  ~TBitmap() override;
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetWidth(int v) override { SetSize(v, height_); }
  void SetHeight(int v) override { SetSize(width_, v); }
  void SetSize(int width, int height);
  bool Empty() const override { return width_ <= 0 || height_ <= 0; }

  TPixelFormat PixelFormat() const { return format_; }
  // Converts the pixels to the new format (palette formats get a grey or
  // black-and-white palette).
  void SetPixelFormat(TPixelFormat v);
  TBitmapHandleType HandleType() const { return bmDIB; }
  void SetHandleType(TBitmapHandleType) {}  // always a DIB section
  int BitsPerPixel() const { return bpp_; }

  // The DIB section (0 for an empty bitmap). Frees the canvas's memory DC so
  // the caller may select the bitmap into a DC of its own.
  HBITMAP Handle();
  // Takes ownership of `bmp` (any bitmap; it is copied into a DIB section
  // and deleted). 0 empties the bitmap.
  void SetHandle(HBITMAP bmp);
  // Gives up the DIB section to the caller; the bitmap becomes empty.
  HBITMAP ReleaseHandle();

  TCanvas* Canvas();

  // Row y (0 = top). GdiFlush first, so GDI drawing is visible. Raises
  // EInvalidGraphicOperation for y outside 0..Height-1.
  void* ScanLine(int y);
  // Bytes per row (rows are DWORD aligned).
  int Stride() const { return stride_; }
  // Start of the pixel memory (row 0) or nullptr when empty; GdiFlush first.
  void* Bits();

  void SetTransparent(bool v) override;
  // tmAuto: the bottom-left pixel; tmFixed: TransparentColor as set.
  TColor TransparentColor();
  void SetTransparentColor(TColor v);  // also sets tmFixed
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode v);

  void Draw(TCanvas* canvas, const TRect& r) override;
  // Deep copy of another TBitmap (or a TGraphic drawn into a 24-bit bitmap).
  void Assign(TPersistent* Source) override;
  // BMP files (any bit depth the system decodes).
  void LoadFromFile(const std::wstring& fileName) override;
  void LoadFromMemory(const void* data, size_t size) override;
  void LoadFromResourceName(HINSTANCE instance, const std::wstring& name);
  void SaveToFile(const std::wstring& fileName) override;
  std::string SaveToBytes() const;

  // Colour table of 1/4/8-bit bitmaps.
  const std::vector<RGBQUAD>& Palette() const { return palette_; }
  void SetPalette(const std::vector<RGBQUAD>& colors);

  // Makes the bitmap empty (0 x 0); the pixel format stays.
  void FreeImage();

 private:
  friend class TBitmapCanvas;
  void Create(int width, int height, int bpp, const std::vector<RGBQUAD>& palette,
              bool keepContents, bool fill);
  static int BppOf(TPixelFormat f);
  static TPixelFormat FormatOf(int bpp);
  void FreeContext();

  UniqueBitmap handle_;
  void* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  int bpp_ = 32;
  int stride_ = 0;
  TPixelFormat format_ = pfDevice;
  std::vector<RGBQUAD> palette_;
  TColor transparentColor_ = clDefault;
  TTransparentMode transparentMode_ = tmAuto;
  std::unique_ptr<TBitmapCanvas> canvas_;
};

// An icon handle owner (DestroyIcon).
class TIcon : public TGraphic {
 public:
  TIcon() = default;
  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetWidth(int v) override { width_ = v; }
  void SetHeight(int v) override { height_ = v; }
  bool Empty() const override { return !handle_; }
  HICON Handle() const { return handle_.get(); }
  // Takes ownership of `icon`; size from its bitmap.
  void SetHandle(HICON icon);
  HICON ReleaseHandle();
  void Draw(TCanvas* canvas, const TRect& r) override;
  void Assign(TPersistent* Source) override;
  void LoadFromFile(const std::wstring& fileName) override;
  void LoadFromMemory(const void* data, size_t size) override;
  void SaveToFile(const std::wstring& fileName) override;

 private:
  UniqueIcon handle_;
  int width_ = 0;
  int height_ = 0;
};

// Owner of one graphic of any kind.
class TPicture : public TPersistent {
 public:
  TPicture() = default;
  TGraphic* Graphic() const { return graphic_.get(); }
  void SetGraphic(std::unique_ptr<TGraphic> g);
  // The graphic as a TBitmap; a graphic of another kind (or none) is
  // replaced by a new empty bitmap first, as the framework does.
  TBitmap* Bitmap();
  int Width() const { return graphic_ ? graphic_->Width() : 0; }
  int Height() const { return graphic_ ? graphic_->Height() : 0; }
  // ".bmp" → TBitmap, ".jpg"/".jpeg" → TJPEGImage, ".ico" → TIcon.
  void LoadFromFile(const std::wstring& fileName);
  void Assign(TPersistent* Source) override;

  TNotifyEvent OnChange;

 private:
  std::unique_ptr<TGraphic> graphic_;
};

// Frees the memory DCs of every bitmap canvas that is not locked (they are
// made again on next use). The application calls it when idle so that many
// bitmaps do not hold many DCs. Main thread only.
void FreeMemoryContexts();

// A new 24-bit bitmap copy of any graphic (nullptr for none); caller owns it.
std::unique_ptr<TBitmap> GraphicToBitmap24(TGraphic* graphic);
