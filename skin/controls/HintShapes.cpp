// The pictures of the skinned hint windows: body rectangle, shape masks with
// tails and bubbles, background, text, outline and the soft shadows.
#include <algorithm>
#include <cmath>

#include "framework/Handles.h"
#include "skin/controls/HintManager.h"
#include "skin/controls/HintWindows.h"
#include "skin/controls/HtmlParse.h"
#include "skin/engine/Gradients.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinText.h"
#include "skin/engine/SkinUtils.h"
#include "skin/engine/FastPixels.h"

namespace {

// clFuchsia - 1: the key colour the skin's transparent parts take in a mask.
constexpr TColor kMaskKey = 0xFF00FE;

bool PointerAbove(TsMousePosition p) { return p == mpLeftTop || p == mpRightTop; }

bool IsWhite(const uint8_t* p) { return p[0] > 254 && p[1] > 254 && p[2] > 254; }

// Fills shapes with a clear pen and one grey brush.
class GreyFill {
 public:
  explicit GreyFill(HDC dc)
      : dc_(dc), state_(dc), pen_(dc, GetStockObject(NULL_PEN)), brush_(dc, GetStockObject(DC_BRUSH)) {}
  void SetGrey(int g) { SetDCBrushColor(dc_, RGB(g, g, g)); }

 private:
  HDC dc_;
  SaveDCScope state_;
  SelectObjectScope pen_;
  SelectObjectScope brush_;
};

// Grey of ring I of R + 1 rings whose innermost grey is V: the outer ring
// lightest.
int RingGrey(int v, int i, int r) {
  return ClampByte(v + RoundHalfEven((r - i) * (255 - v) / static_cast<double>(r + 1)));
}

// A white W x H bitmap with R + 1 passes of a figure, pass i inset by i and
// filled with RingGrey(V, i, R).
template <class FillPass>
std::unique_ptr<TBitmap> DrawRings(int w, int h, int v, int r, FillPass fillPass) {
  auto rings = CreateBmp24(w, h);
  FillBmpRect(*rings, MakeRect(0, 0, w, h), clWhite);
  HDC dc = rings->Canvas()->Handle();
  {
    GreyFill fill(dc);
    for (int i = 0; i <= r; ++i) {
      fill.SetGrey(RingGrey(v, i, r));
      fillPass(dc, i);
    }
  }
  GdiFlush();
  return rings;
}

}  // namespace

// ---------------------------------------------------------------- geometry

TRect TsCustomHintWindow::BodyRect() {
  TRect r = MakeRect(0, 0, HintWidth(), HintHeight());
  TsHintKind* k = Kind();
  if (k->ShadowEnabled()) {
    r.right -= k->ShadowOffset;
    r.bottom -= k->ShadowOffset;
  }
  // The skin's image fills the whole window; only drawn shapes have a tail.
  if (HasTail() && !SkinUsed()) {
    if (PointerAbove(pointer_))
      r.top += k->ExOffset;
    else
      r.bottom -= k->ExOffset;
  }
  return r;
}

TPoint TsCustomHintWindow::TailTip() const {
  int w = size_.cx, h = size_.cy;
  switch (pointer_) {
    case mpLeftTop: return TPoint{3, 3};
    case mpLeftBottom: return TPoint{3, h - 3};
    case mpRightTop: return TPoint{w - 3, 3};
    case mpRightBottom: return TPoint{w - 3, h - 3};
  }
  return TPoint{3, 3};
}

void TsCustomHintWindow::FillPointer(HDC dc, const TRect& b, int halfBase, int shiftX) {
  int w = WidthOf(b), h = HeightOf(b);
  int c = b.left + w / 2 + shiftX;
  int y = PointerAbove(pointer_) ? b.top + h / 2 : b.bottom - h / 2;
  TPoint pts[3] = {TailTip(), TPoint{c - halfBase, y}, TPoint{c + halfBase, y}};
  Polygon(dc, pts, 3);
}

void TsCustomHintWindow::FillFigure(HDC dc, const TRect& body) {
  FillShape(dc, body, 0);
  FillPointer(dc, body, std::max(WidthOf(body) / 8, 0), 0);
}

void TsSimplyHintWindow::FillShape(HDC dc, const TRect& b, int inset) {
  RECT r{b.left + inset, b.top + inset, b.right - inset, b.bottom - inset};
  FillRect(dc, &r, static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH)));
}

void TsComicsHintWindow::FillShape(HDC dc, const TRect& b, int i) {
  int radius = Kind()->Radius;
  RoundRect(dc, b.left + i, b.top + i, b.right - i + 1, b.bottom - i + 1, radius, radius);
}

void TsEllipseHintWindow::FillShape(HDC dc, const TRect& b, int i) {
  Ellipse(dc, b.left + i, b.top + i, b.right - i + 1, b.bottom - i + 1);
}

std::vector<TRect> TsBalloonHintWindow::Bubbles(const TRect& b) const {
  const int n = BubbleCount, q = BubbleDivisor;
  const int w = WidthOf(b), h = HeightOf(b);
  const int W = size_.cx, H = size_.cy;
  const int cx = b.left + w / 2, bw = w / q, bh = h / q;
  const int o = HintManager->HintKind()->ShadowOffset;
  int dx = 0, dy = 0;
  TPoint p0{0, 0};
  switch (pointer_) {
    case mpLeftTop:
      dx = (w / 2 - bw) / (n + 1);
      dy = (h / 6 + b.top - bh) / (n + 1);
      p0 = TPoint{cx - bw, h / 6 + b.top - bh};
      break;
    case mpRightTop:
      dx = ((bw - (o + w) / 2) / n) * 2;
      dy = (h / 6 + b.top - bh) / (n + 1);
      p0 = TPoint{cx + dx, h / 6 + b.top - bh};
      break;
    case mpLeftBottom:
      dx = (w / 2 - bw) / (n - 1);
      dy = (b.bottom - H) / (n - 1);
      p0 = TPoint{cx - dx / 2, b.bottom + dy + dy / 2};
      break;
    case mpRightBottom:
      dx = (bw / 2 - o - (W - cx)) / (n - 1);
      dy = (bh - o - b.bottom - h / 6) / (n - 1);
      p0 = TPoint{cx + dx / 2, b.bottom + dy + dy / 2};
      break;
  }
  std::vector<TRect> bubbles;
  for (int k = 1; k <= n; ++k) {
    int left = p0.x - k * dx, top = p0.y - k * dy;
    bubbles.push_back(MakeRect(left, top, left + w / (q * k), top + h / (q * k)));
  }
  return bubbles;
}

void TsBalloonHintWindow::FillFigure(HDC dc, const TRect& body) {
  FillShape(dc, body, 0);
  for (const TRect& b : Bubbles(body)) Ellipse(dc, b.left, b.top, b.right + 1, b.bottom + 1);
}

// ---------------------------------------------------------------- mask

int TsCustomHintWindow::MaskGrey() const {
  // Without a layered window the body's opacity comes from the mask's grey.
  int t = UpdateLayeredWindowProc ? 0 : std::max(HintManager->HintKind()->Transparency, 0);
  return ClampByte(2 * (t * 255 / 100) - 255);
}

int TsBalloonHintWindow::MaskGrey() const {
  int t = UpdateLayeredWindowProc ? 0 : std::max(HintManager->HintKind()->Transparency, 0);
  return t * 256 / 100;
}

std::unique_ptr<TBitmap> TsCustomHintWindow::MakeMask() {
  int w = HintWidth(), h = HintHeight();
  auto mask = CreateBmp24(w, h);
  TRect all = MakeRect(0, 0, w, h);
  if (SkinUsed()) {
    // The skin's own image: its transparent parts (over the key colour)
    // white, the rest black.
    auto parent = CreateBmp24(w, h);
    FillBmpRect(*parent, all, kMaskKey);
    auto item = CreateBmp24(w, h);
    PaintItemWithIndexes(skinIndex_, borderIndex_, patternIndex_, -1, HintManager->SkinSection,
                         MakeCacheInfo(parent.get(), 0, 0), true, 0, all, TPoint{0, 0}, item.get(),
                         DefaultManager);
    TacBmpView src(*item), dst(*mask);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ColorToPixel(PixelToColor(src.Pixel(x, y)) == kMaskKey ? clWhite : clBlack,
                     dst.Pixel(x, y));
    return mask;
  }
  FillBmpRect(*mask, all, clWhite);
  HDC dc = mask->Canvas()->Handle();
  {
    GreyFill fill(dc);
    fill.SetGrey(MaskGrey());
    FillFigure(dc, BodyRect());
  }
  GdiFlush();
  return mask;
}

// ---------------------------------------------------------------- body

std::unique_ptr<TBitmap> TsCustomHintWindow::MakeBody() {
  int w = HintWidth(), h = HintHeight();
  auto body = CreateBmp24(w, h);
  TRect all = MakeRect(0, 0, w, h);
  if (SkinUsed()) {
    PaintItemWithIndexes(skinIndex_, borderIndex_, patternIndex_, -1, HintManager->SkinSection,
                         EmptyCacheInfo, true, 0, all, TPoint{0, 0}, body.get(), DefaultManager);
    PaintText(body.get());
    return body;
  }
  PaintBG(body.get(), BodyRect());
  PaintText(body.get());
  PaintBorder(body.get());
  return body;
}

void TsCustomHintWindow::PaintBG(TBitmap* bmp, const TRect& r) {
  TsHintKind* k = Kind();
  TsGradArray grad;
  if (k->GradientPercent > 0) {
    try {
      PrepareGradArray(k->GradientData, grad);
    } catch (const std::exception&) {
      grad.clear();  // unreadable gradient text: no gradient
    }
    if (grad.empty()) k->GradientPercent = 0;
  }
  TGraphic* texture = k->Texture()->Graphic();
  bool textured = k->TexturePercent >= 1 && texture && !texture->Empty();
  if (textured)
    TileGraphic(bmp->Canvas(), r, texture);
  else
    FillBmpRect(*bmp, r, ColorToRGB(k->Color));
  if (k->GradientPercent > 0) {
    if (textured) {
      auto layer = CreateBmp24(WidthOf(r), HeightOf(r));
      TRect lr = MakeRect(0, 0, WidthOf(r), HeightOf(r));
      PaintGrad(*layer, lr, grad, 0, 0);
      SumBmpRect(*bmp, *layer, ClampByte(k->TexturePercent * 256 / 100), lr,
                 TPoint{r.left, r.top});
    } else {
      PaintGrad(*bmp, r, grad, 0, 0);
    }
  }
  int s = k->GradientPercent + k->TexturePercent;
  if (s >= 1 && s <= 99)
    BlendColorRect(*bmp, r, static_cast<uint8_t>(s), ColorToRGB(k->Color));
  else if (s != 100)
    FillBmpRect(*bmp, r, ColorToRGB(k->Color));
}

void TsCustomHintWindow::PaintText(TBitmap* bmp) {
  TsHintKind* k = Kind();
  TRect b = BodyRect();
  if (HintFrame) {
    // The frame shows in the body and is freed once painted.
    TFrame* frame = HintFrame;
    HintFrame = nullptr;
    frame->SetBounds(0, 0, WidthOf(b), HeightOf(b));
    if (frame->HandleAllocated()) frame->PaintTo(bmp->Canvas()->Handle(), b.left, b.top);
    delete frame;
    return;
  }
  TRect r = b;
  TsSkinManager* sm = DefaultManager;
  bool skin = SkinUsed();
  if (skin) {
    r.left += sm->MaskBorderLeft(borderIndex_) + 4;
    r.top += sm->MaskBorderTop(borderIndex_) + 4;
    r.right -= sm->MaskBorderRight(borderIndex_) + 4;
    r.bottom -= sm->MaskBorderBottom(borderIndex_) + 4;
  } else {
    int dx = k->MarginH + k->BevelWidth + extraWidth_ / 2;
    int dy = k->MarginV + k->BevelWidth + extraHeight_ / 2;
    InflateRect(&r, -dx, -dy);
  }
  TCanvas* c = bmp->Canvas();
  c->Brush()->SetStyle(bsClear);
  if (skin)
    AssignHintFont(c->Font());
  else
    c->Font()->Assign(k->Font());
  std::wstring text = Caption();
  // Wrapped text is laid out in the width it was measured in, centred on
  // the text rectangle: DrawText may wrap a line that is exactly as wide as
  // the rectangle it measured, which would push the last line out.
  TRect wrap = r;
  int spare = k->MaxWidth - WidthOf(r);
  if (spare > 0) {
    wrap.left -= spare / 2;
    wrap.right += spare - spare / 2;
  }
  if (HintManager->HTMLMode) {
    if (skin && sm->IsValidSkinIndex(skinIndex_))
      c->Font()->SetColor(static_cast<TColor>(sm->gd[skinIndex_].FontColor[0]));
    TsHtml html;
    html.Init(bmp, text, r);
    html.Parse(r);
  } else if (skin) {
    DrawSkinTextEx(c, text, true, wrap, DT_WORDBREAK | DT_CENTER | DT_EXPANDTABS, skinIndex_,
                   false, sm);
  } else {
    c->TextRect(wrap, text, DT_NOPREFIX | DT_WORDBREAK | DT_CENTER);
  }
  GdiFlush();
}

void TsCustomHintWindow::PaintBorder(TBitmap* bmp) {
  TsHintKind* k = Kind();
  if (k->BevelWidth <= 0 || SkinUsed()) return;
  // A one-pixel outline along the shape's edge: light where the outside is
  // to the left or above, dark where it is to the right or below.
  auto shape = MakeMask();
  TacBmpView m(*shape), out(*bmp);
  const TColor top = ColorToRGB(k->ColorBorderTop), bottom = ColorToRGB(k->ColorBorderBottom);
  const int w = m.Width, h = m.Height;
  auto outside = [&](int x, int y) { return !m.Contains(x, y) || IsWhite(m.Pixel(x, y)); };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (outside(x, y)) continue;
      if (outside(x - 1, y) || outside(x, y - 1))
        ColorToPixel(top, out.Pixel(x, y));
      else if (outside(x + 1, y) || outside(x, y + 1))
        ColorToPixel(bottom, out.Pixel(x, y));
    }
}

void TsSimplyHintWindow::PaintBorder(TBitmap* bmp) {
  TsHintKind* k = Kind();
  if (k->BevelWidth <= 0 || SkinUsed()) return;
  TRect r = BodyRect();
  int width = k->BevelWidth;
  Frame3DOnDC(bmp->Canvas()->Handle(), r, ColorToRGB(k->ColorBorderTop),
              ColorToRGB(k->ColorBorderBottom), width);
  GdiFlush();
}

// ---------------------------------------------------------------- shadows

namespace {

// The shadow's transparency in percent (100 leaves the picture as it is).
int ShadowTransparencyOf(const TsHintKind* k) {
  return MixPercent(std::max(k->Transparency, 0), k->ShadowTransparency);
}

}  // namespace

void TsCustomHintWindow::PaintShadow(TBitmap*) {}

void TsSimplyHintWindow::PaintShadow(TBitmap* bmp) {
  if (SkinUsed()) return;
  TsHintKind* k = Kind();
  int off = k->ShadowEnabled() ? k->ShadowOffset : 0;
  ::PaintShadow(bmp, MakeRect(off, off, HintWidth(), HintHeight()), ShadowTransparencyOf(k),
                clBlack, k->ShadowBlur, 0);
}

void TsComicsHintWindow::PaintShadow(TBitmap* bmp) {
  if (SkinUsed()) return;
  TsHintKind* k = Kind();
  const int W = HintWidth(), H = HintHeight();
  TRect b = BodyRect();
  OffsetRect(&b, k->ShadowOffset, k->ShadowOffset);
  const int w = WidthOf(b), h = HeightOf(b);
  const int v = ShadowTransparencyOf(k) * 255 / 100;
  const int r = std::max(k->ShadowBlur, 0);
  // How fast the tail narrows per ring, from the body's middle to the tip.
  const double s = PointerAbove(pointer_)
                       ? (h / 2.0 + b.top) / (b.top + 1)
                       : (H - (b.bottom - h / 2.0)) / (H - b.bottom + 1);
  auto rings = DrawRings(W, H, v, r, [&](HDC dc, int i) {
    FillShape(dc, b, i);
    FillPointer(dc, b, std::max(w / 8 - RoundHalfEven(2 * i * s), 0), k->ShadowBlur);
  });
  ApplyMaskColor(*bmp, *rings, clBlack);
}

void TsBalloonHintWindow::PaintShadow(TBitmap* bmp) {
  if (SkinUsed()) return;
  TsHintKind* k = Kind();
  const int W = HintWidth(), H = HintHeight(), o = k->ShadowOffset;
  TRect b = BodyRect();
  const int v = ShadowTransparencyOf(k) * 256 / 100;
  const int r = std::max(k->ShadowBlur, 0);
  std::vector<TRect> bubbles = Bubbles(b);
  auto rings = DrawRings(W, H, v, r, [&](HDC dc, int i) {
    Ellipse(dc, b.left + i, b.top + i, b.right - i + 1, b.bottom - i + 1);
    for (const TRect& e : bubbles) {
      if (2 * i >= WidthOf(e) || 2 * i >= HeightOf(e)) continue;
      Ellipse(dc, e.left + i, e.top + i, e.right - i + 1, e.bottom - i + 1);
    }
  });
  // The figure drawn where the body is, moved by the offset.
  auto shifted = CreateBmp24(W, H);
  FillBmpRect(*shifted, MakeRect(0, 0, W, H), clWhite);
  BitBlt(shifted->Canvas()->Handle(), o, o, W - o, H - o, rings->Canvas()->Handle(), 0, 0,
         SRCCOPY);
  GdiFlush();
  ApplyMaskColor(*bmp, *shifted, clBlack);
}
