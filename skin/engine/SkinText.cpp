#include "skin/engine/SkinText.h"

#include <cstring>

#include "framework/Controls.h"
#include "framework/Handles.h"
#include "skin/engine/ColorContrast.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinUtils.h"
#include "skin/engine/FastPixels.h"

namespace {

// One line placed in R by the flags; R becomes the text's own rectangle.
// Returns false when the flags ask for multi-line or ellipsis drawing.
bool PlaceSingleLine(HDC dc, const std::wstring& text, TRect& r, UINT flags) {
  if (flags & (DT_WORDBREAK | DT_END_ELLIPSIS)) return false;
  SIZE ext{0, 0};
  ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &ext);
  const int dy = (ext.cy - HeightOf(r)) / 2;
  const int dx = (ext.cx - WidthOf(r)) / 2;
  r.top -= dy;
  r.bottom += dy;
  if (flags & DT_CENTER) {
    r.left -= dx;
    r.right += dx;
  } else if (flags & DT_RIGHT) {
    r.left = r.right - ext.cx;
  } else {
    r.right = r.left + ext.cx;
  }
  return true;
}

void TextAt(HDC dc, const std::wstring& text, TRect r, int dx, int dy, UINT flags, TColor color) {
  ::OffsetRect(&r, dx, dy);
  ::SetTextColor(dc, ColorToRGB(color) & 0xFFFFFF);
  ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
}

// Steps shared by both text routines, after the font is chosen.
void DrawText(HDC dc, const std::wstring& text, bool enabled, TRect& r, UINT flags,
              const TsGeneralData* section, bool hot, bool customFont, TColor fontColor,
              UINT mainFlags) {
  const bool placed = PlaceSingleLine(dc, text, r, flags);
  if (!text.empty()) {
    ::SetBkMode(dc, TRANSPARENT);
    if (!enabled && section) {
      // The skin's own disabled colour: the system's embossed white would
      // glare on a dark skin.
      TextAt(dc, text, r, 0, 0, mainFlags, DisabledFontColor(*section));
    } else if (!enabled) {
      TextAt(dc, text, r, 1, 1, flags, clBtnHighlight);
      TextAt(dc, text, r, 0, 0, flags, clBtnShadow);
    } else if (section) {
      const int32_t* colors = hot ? section->HotFontColor : section->FontColor;
      if (!customFont) {
        static constexpr int kShift[5][2] = {{0, 0}, {-1, 0}, {0, -1}, {1, 0}, {0, 1}};
        for (int side = 1; side <= 4; ++side)
          if (colors[side] != -1)
            TextAt(dc, text, r, kShift[side][0], kShift[side][1], flags,
                   static_cast<TColor>(colors[side]));
      }
      TextAt(dc, text, r, 0, 0, mainFlags,
             customFont ? fontColor : static_cast<TColor>(colors[0]));
    } else {
      TextAt(dc, text, r, 0, 0, flags | DT_NOCLIP, fontColor);
    }
  }
  if (placed) ::InflateRect(&r, 1, 1);
}

}  // namespace

int DrawSkinText(TCanvas* canvas, const std::wstring& text, bool enabled, TRect& r, UINT flags,
                 TsCommonData* sd, bool hot) {
  if (!canvas) return 0;
  if (sd && sd->OwnerControl) canvas->Font()->Assign(sd->OwnerControl->Font());
  if (sd && hot && sd->SkinSection() == L"WEBBUTTON")
    canvas->Font()->SetStyle(canvas->Font()->Style() | fsUnderline);
  HDC dc = canvas->Handle();
  SaveDCScope state(dc);
  ::IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
  const TsGeneralData* section = sd && sd->Skinned() ? sd->Section() : nullptr;
  DrawText(dc, text, enabled, r, flags, section, hot, sd && sd->CustomFont(),
           canvas->Font()->Color(), flags | DT_NOCLIP);
  return 0;
}

int DrawSkinTextEx(TCanvas* canvas, const std::wstring& text, bool enabled, TRect& r, UINT flags,
                   int skinIndex, bool hot, TsSkinManager* skinManager) {
  TsSkinManager* m = skinManager ? skinManager : DefaultManager;
  if (!canvas || !DefaultManager || !m || !m->IsValidSkinIndex(skinIndex)) return 0;
  HDC dc = canvas->Handle();
  SaveDCScope state(dc);
  DrawText(dc, text, enabled, r, flags, &m->gd[skinIndex], hot, false, canvas->Font()->Color(),
           flags);
  return 0;
}

std::wstring CutText(TCanvas* canvas, const std::wstring& text, int maxWidth) {
  if (maxWidth < 1 || !canvas) return std::wstring();
  std::wstring result = text;
  if (result.empty() || canvas->TextWidth(result) <= maxWidth) return result;
  while (!result.empty() && canvas->TextWidth(result + L"...") > maxWidth) result.pop_back();
  if (!result.empty()) result += L"...";
  return result;
}

void GetFontTextExtent(TFont* font, const std::wstring& text, TSize& size) {
  size = TSize{0, 0};
  if (!font) return;
  // A memory DC measures as the screen does, without borrowing the
  // desktop's DC (which asks the window server each time).
  UniqueMemDC dc(::CreateCompatibleDC(nullptr));
  if (!dc) return;
  SelectObjectScope sel(dc.get(), font->Handle());
  SIZE s{0, 0};
  if (::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &s))
    size = TSize{s.cx, s.cy};
}

void Frame3DOnDC(HDC dc, TRect& r, TColor topLeftColor, TColor bottomRightColor, int& width) {
  if (!dc) return;
  UniquePen topLeft(::CreatePen(PS_SOLID, 1, ColorToRGB(topLeftColor) & 0xFFFFFF));
  UniquePen bottomRight(::CreatePen(PS_SOLID, 1, bottomRightColor & 0xFFFFFF));
  SelectObjectScope brush(dc, ::GetStockObject(NULL_BRUSH));
  SelectObjectScope pen(dc, topLeft.get());
  r.bottom -= 1;
  r.right -= 1;
  while (width > 0) {
    --width;
    ::SelectObject(dc, topLeft.get());
    POINT a[3] = {{r.left, r.bottom}, {r.left, r.top}, {r.right, r.top}};
    ::Polyline(dc, a, 3);
    ::SelectObject(dc, bottomRight.get());
    POINT b[3] = {{r.right, r.top}, {r.right, r.bottom}, {r.left - 1, r.bottom}};
    ::Polyline(dc, b, 3);
    ::InflateRect(&r, -1, -1);
  }
  r.bottom += 1;
  r.right += 1;
}

void PaintShadow(TBitmap* dst, const TRect& r, int transparency, TColor color, int blur,
                 int radius) {
  if (!dst) return;
  const int w = WidthOf(r), h = HeightOf(r);
  if (w <= 0 || h <= 0) return;
  const TacBmpView target(*dst);
  if (target.Empty() || target.BytesPerPixel != 3) return;
  // A blur below 0 has no rings; it is taken as no blur, so the step below
  // never divides by zero.
  const int b = MaxOf(MinOf(MinOf(w / 2, h / 2), blur), 0);
  const int rad = MaxOf(MinOf(MinOf(w / 2, h / 2), radius), 0);
  const int t = transparency * 255 / 100;
  const double step = (255 - t) / static_cast<double>(b + 1);

  TacScratchBmp area(w, h);
  TacScratchBmp mask(w, h);
  // The working copy: R's pixels that lie in Dst.
  const int l0 = MaxOf(r.left, 0), t0 = MaxOf(r.top, 0);
  const int l1 = MinOf(r.right, target.Width), t1 = MinOf(r.bottom, target.Height);
  for (int y = t0; y < t1; ++y)
    std::memcpy(area.View().Pixel(l0 - r.left, y - r.top), target.Pixel(l0, y),
                static_cast<size_t>(MaxOf(l1 - l0, 0)) * 3);

  // Outside the rounded rings the mask stays white: those pixels are kept.
  FillBmpRect(mask.View(), MakeRect(0, 0, w, h), clWhite);
  HDC mdc = mask.Bmp().Canvas()->Handle();
  {
    SaveDCScope state(mdc);
    ::SelectObject(mdc, ::GetStockObject(NULL_PEN));
    ::SelectObject(mdc, ::GetStockObject(DC_BRUSH));
    auto grey = [](int v) { return RGB(v, v, v); };
    for (int i = 0; i <= b; ++i) {
      const int level = i == 0 ? 255 : ClampByte(RoundHalfEven((b - i + 1) * step) + t);
      ::SetDCBrushColor(mdc, grey(level));
      ::RoundRect(mdc, i, i, w - i, h - i, rad, rad);
    }
    ::SetDCBrushColor(mdc, grey(t));
    ::RoundRect(mdc, b, b, w - b, h - b, b, b);
  }
  ::GdiFlush();
  ApplyMaskColor(area.View(), mask.View(), color);
  for (int y = t0; y < t1; ++y)
    std::memcpy(target.Pixel(l0, y), area.View().Pixel(l0 - r.left, y - r.top),
                static_cast<size_t>(MaxOf(l1 - l0, 0)) * 3);
}
