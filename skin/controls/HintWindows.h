// The skinned hint windows of TsHintManager: a plain rectangle, a comics
// bubble, an ellipse (both with a tail toward the mouse point) and a thought
// balloon with bubbles. Each composes body, shadow and shape mask in
// bitmaps and shows them as a partly transparent layered window that fades
// in, or over a copy of the screen where layered windows are missing.
//
// HintWindow.cpp holds measuring, placing, showing and the messages;
// HintShapes.cpp the pictures (body, masks, shadows, text).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Hints.h"
#include "skin/controls/HintConsts.h"

class TsHintManager;
class TsHintKind;

using TUpdateLayeredWindow = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                           BLENDFUNCTION*, DWORD);
// UpdateLayeredWindow of user32, looked up at start-up; null where the
// system has none, and the hint windows then draw over a screen copy.
extern TUpdateLayeredWindow UpdateLayeredWindowProc;

// The opacity byte of a transparency percent: (100 - T) * 255 / 100 rounded
// half to even, T limited to 0..100. Every alpha of the hints comes from it.
uint8_t HintAlpha(int transparency);
// Frame k (1..steps) of a fade from 0 to Target: k * Target / Steps rounded
// half to even, so the last frame is Target exactly.
uint8_t FadeFrameAlpha(int target, int k, int steps);

class TsCustomHintWindow : public THintWindow {
 public:
  explicit TsCustomHintWindow(TComponent* AOwner);
  ~TsCustomHintWindow() override;
  const wchar_t* ClassName() const override { return L"TsCustomHintWindow"; }

  TRect CalcHintRect(int maxWidth, const std::wstring& hint, void* data) override;
  void ActivateHint(const TRect& rect, const std::wstring& hint) override;
  void WndProc(TMessage& message) override;

  virtual void GetMousePosition(TPoint& p);
  virtual void PaintShadow(TBitmap* bmp);
  // The client rectangle less the shadow and (for shapes with a tail) the
  // tail's height on the pointer's side.
  virtual TRect BodyRect();
  // A white bitmap of the hint's size with the body shape filled.
  virtual std::unique_ptr<TBitmap> MakeMask();
  virtual std::unique_ptr<TBitmap> MakeBody();
  virtual void PaintBG(TBitmap* bmp, const TRect& r);
  virtual void PaintBorder(TBitmap* bmp);
  virtual void PaintText(TBitmap* bmp);
  // The 32-bit image UpdateLayeredWindow shows: body pixels opaque in their
  // colour, outside the shape black with the shadow's darkness as alpha.
  void MakeAlphaImage();
  void MakeRegion();

  TsMousePosition PointerCorner() const { return pointer_; }
  int ExtraWidth() const { return extraWidth_; }
  int ExtraHeight() const { return extraHeight_; }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  // Grows the measured size for the shape (tail, ellipse); the skin adds
  // nothing.
  virtual void AddShapeSize(TRect&) {}
  // The tail's height is kept free above or below the body.
  virtual bool HasTail() const { return true; }
  // The grey the body is filled with in the mask (opacity without layers).
  virtual int MaskGrey() const;
  virtual void FillShape(HDC dc, const TRect& body, int inset) = 0;
  // Text wider than this is measured as is; narrower counts as this wide.
  virtual int MinTextWidth() const { return 0; }
  bool SkinUsed() const;
  TsHintKind* Kind() const;
  int HintWidth() const { return size_.cx; }
  int HintHeight() const { return size_.cy; }
  TPoint TailTip() const;
  // The tail of the comics and ellipse shapes: a triangle from the tip to a
  // base of 2 x HalfBase at the body's middle, moved right by ShiftX.
  void FillPointer(HDC dc, const TRect& body, int halfBase, int shiftX);
  // The whole figure of the mask: body shape and tail or bubbles.
  virtual void FillFigure(HDC dc, const TRect& body);
  // The screen rectangle the hint may take near P, and the pointer corner.
  void FitOnScreen(TRect& r, TPoint p);
  void ShowLayered(int transparency);
  bool ShowOverScreenCopy();

  TSize size_{0, 0};
  bool regionSet_ = false;
  bool makingRegion_ = false;
  int skinIndex_ = -1, borderIndex_ = -1, patternIndex_ = -1;
  int extraWidth_ = 0, extraHeight_ = 0;
  TsMousePosition pointer_ = mpLeftTop;
  std::unique_ptr<TBitmap> body_;
  std::unique_ptr<TBitmap> mask_;
  std::unique_ptr<TBitmap> screenCopy_;
  std::unique_ptr<TBitmap> alpha_;
};

class TsSimplyHintWindow : public TsCustomHintWindow {
 public:
  using TsCustomHintWindow::TsCustomHintWindow;
  const wchar_t* ClassName() const override { return L"TsSimplyHintWindow"; }
  void GetMousePosition(TPoint& p) override;
  void PaintShadow(TBitmap* bmp) override;
  void PaintBorder(TBitmap* bmp) override;

 protected:
  bool HasTail() const override { return false; }
  int MaskGrey() const override { return 0; }
  void FillShape(HDC dc, const TRect& body, int inset) override;
};

class TsComicsHintWindow : public TsCustomHintWindow {
 public:
  using TsCustomHintWindow::TsCustomHintWindow;
  const wchar_t* ClassName() const override { return L"TsComicsHintWindow"; }
  void PaintShadow(TBitmap* bmp) override;

 protected:
  void AddShapeSize(TRect& r) override;
  void FillShape(HDC dc, const TRect& body, int inset) override;
};

class TsEllipseHintWindow : public TsComicsHintWindow {
 public:
  using TsComicsHintWindow::TsComicsHintWindow;
  const wchar_t* ClassName() const override { return L"TsEllipseHintWindow"; }

 protected:
  int MinTextWidth() const override { return 50; }
  void AddShapeSize(TRect& r) override;
  void FillShape(HDC dc, const TRect& body, int inset) override;
};

class TsBalloonHintWindow : public TsEllipseHintWindow {
 public:
  using TsEllipseHintWindow::TsEllipseHintWindow;
  const wchar_t* ClassName() const override { return L"TsBalloonHintWindow"; }
  void PaintShadow(TBitmap* bmp) override;
  // The bubbles between body and pointer, for the body rectangle B of a
  // window W x H.
  std::vector<TRect> Bubbles(const TRect& b) const;

  int BubbleCount = 5;
  int BubbleDivisor = 4;

 protected:
  int MaskGrey() const override;
  void FillFigure(HDC dc, const TRect& body) override;
};
