// Painting primitives: bitmap and device-context helpers, a section's
// background (colour, texture, gradient, transparency over the parent's
// image), a section item (background plus nine-part border), a control's
// whole skin with its corner images, and the texture painters.
//
// A parent's image reaches these routines as a TCacheInfo; Offset is the
// position of Dst's origin in the parent's image beyond CI's own offset, so
// Dst pixel (x, y) lies over parent pixel (CI.X + Offset.X + x, CI.Y +
// Offset.Y + y). Every read of the parent's image is clipped to it.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "framework/Graphics.h"
#include "skin/engine/BmpView.h"
#include "skin/engine/SkinConsts.h"
#include "skin/engine/SkinData.h"

class TsSkinManager;
class TsCommonData;

// ---- bitmaps and device contexts ----
// New device-independent bitmaps; the caller owns them.
std::unique_ptr<TBitmap> CreateBmp24(int width, int height);
std::unique_ptr<TBitmap> CreateBmp32(int width, int height);
std::unique_ptr<TBitmap> CreateBmpLike(const TBitmap& bmp);
// Fills R with one colour (system colours resolved); the DC's state stays.
void FillDC(HDC dc, const TRect& r, TColor color);
// Copies only the border strips (BorderWidth wide) of the rectangle.
void BitBltBorder(HDC destDC, int x, int y, int width, int height, HDC srcDC, int srcX, int srcY,
                  int borderWidth);
inline TColor AsColor(TColor value) { return value; }
// Fills R (clipped) of a bitmap's pixels with one colour.
void FillBmpRect(const TacBmpView& bmp, const TRect& r, TColor color);

// A reusable bitmap from a small pool: at least W x H, 24 bits per pixel,
// top-left W x H area for the caller until the lease ends. Paint paths take
// their temporary images from here instead of creating bitmaps per call.
class TacScratchBmp {
 public:
  TacScratchBmp(int width, int height);
  ~TacScratchBmp();
  TacScratchBmp(const TacScratchBmp&) = delete;
  TacScratchBmp& operator=(const TacScratchBmp&) = delete;
  TBitmap& Bmp() { return *bmp_; }
  // The W x H view (its device context is the whole bitmap's canvas).
  const TacBmpView& View() const { return view_; }
  int Width() const { return view_.Width; }
  int Height() const { return view_.Height; }

  struct Slot;

 private:
  Slot* slot_ = nullptr;
  TBitmap* bmp_ = nullptr;
  TacBmpView view_;
};

// ---- section backgrounds ----
// PatternIndex / HotPatternIndex: a texture mask index, or -1 to look it up
// by name. CustomColor replaces the section colour (clFuchsia = none). A
// null manager means DefaultManager.
void PaintBG(int skinIndex, const std::wstring& skinSection, const TCacheInfo& ci, int state,
             const TRect& r, const TPoint& offset, TBitmap* dst, TsSkinManager* skinManager,
             int patternIndex, int hotPatternIndex, TColor customColor);
// For callers that hold the indexes: used as given, section colour always.
void PaintBGWithIndexes(int skinIndex, int patternIndex, int hotPatternIndex,
                        const std::wstring& skinSection, const TCacheInfo& ci, int state,
                        const TRect& r, const TPoint& offset, TBitmap* dst,
                        TsSkinManager* skinManager);
// PaintBG with the control's section, textures, manager and custom colour.
void PaintControlBG(TsCommonData* skinData, const TCacheInfo& ci, int state, const TRect& r,
                    const TPoint& offset, TBitmap* dst);

// ---- section items (background plus border) ----
void PaintItem(int skinIndex, const std::wstring& skinSection, const TCacheInfo& ci, bool filling,
               int state, const TRect& r, const TPoint& offset, TBitmap* dst,
               TsSkinManager* skinManager, int patternIndex = -1, int hotPatternIndex = -1);
void PaintItemWithIndexes(int skinIndex, int borderIndex, int patternIndex, int hotPatternIndex,
                          const std::wstring& skinSection, const TCacheInfo& ci, bool filling,
                          int state, const TRect& r, const TPoint& offset, TBitmap* dst,
                          TsSkinManager* skinManager);
void PaintItemToDC(int skinIndex, const std::wstring& skinSection, const TCacheInfo& ci,
                   bool filling, int state, const TRect& r, const TPoint& offset, HDC dc,
                   TsSkinManager* skinManager);
// The whole skin of a control into Dst: background, border mask, corners.
void PaintSkinControl(TsCommonData* skinData, const TCacheInfo& ci, bool filling, int state,
                      const TRect& r, const TPoint& offset, TBitmap* dst, bool useParentBG);

// ---- textures ----
// Draws a texture into R of Dst and returns in R the part still uncovered,
// or (-1, -1, -1, -1) when nothing is left. Graphic (when given and not
// empty) is tiled; otherwise the mask's rectangle of its manager's master
// bitmap is drawn by DrawMode.
void PaintTexture(TBitmap* dst, TRect& r, TGraphic* graphic, const TsMaskData& maskData,
                  int drawMode);
// Tiles a masked texture (a grey mask below the image) over R; R returns
// (-1, -1, -1, -1). CI maps Dst's pixels into the parent's image.
void TileMaskedTexture(TBitmap* dst, TRect& r, const TCacheInfo& ci, const TsMaskData& maskData,
                       int drawMode);
// Tiles a picture over R from its top-left corner.
void TileGraphic(TCanvas* canvas, const TRect& r, TGraphic* graphic);
