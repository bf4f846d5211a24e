// A section's background: texture, gradient and colour mixed by the
// section's percentages, laid over the parent's image by its transparency.
#include <cstring>

#include "framework/Controls.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/Gradients.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/PixelClip.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinUtils.h"
#include "skin/engine/FastPixels.h"

namespace {

// What one state of a section paints with.
struct Look {
  TColor color = 0;
  int imagePercent = 0;
  int gradientPercent = 0;
  int transparency = 0;
  const TsGradArray* gradient = nullptr;  // null when the gradient share is 0
  int maskTexture = -1;                   // texture mask index
  int jpegTexture = -1;                   // pattern index
  bool withIndexes = false;               // the PaintBGWithIndexes variant
};

Look LookOf(const TsSkinManager& m, int skinIndex, const std::wstring& section, int state,
            int patternIndex, int hotPatternIndex, TColor customColor, bool withIndexes) {
  const TsGeneralData& s = m.gd[skinIndex];
  const bool hot = state != 0;
  Look k;
  k.withIndexes = withIndexes;
  k.color = hot ? s.HotColor : s.Color;
  if (!withIndexes && customColor != clFuchsia) k.color = customColor;
  k.imagePercent = hot ? s.HotImagePercent : s.ImagePercent;
  k.gradientPercent = hot ? s.HotGradientPercent : s.GradientPercent;
  k.transparency = hot ? s.HotTransparency : s.Transparency;
  if (k.gradientPercent != 0) k.gradient = hot ? &s.HotGradientArray : &s.GradientArray;
  if (k.imagePercent <= 0) return k;
  const int given = hot ? hotPatternIndex : patternIndex;
  if (withIndexes) {
    if (m.IsValidImgIndex(given)) k.maskTexture = given;
    return k;
  }
  const wchar_t* name = hot ? L"HOTPATTERN" : L"PATTERN";
  int mask = -1;
  if (given == -1)
    mask = m.GetMaskIndex(skinIndex, section, name);
  else if (m.IsValidImgIndex(given) && m.ma[given].MaskType == 0)
    mask = given;
  if (m.IsValidImgIndex(mask))
    k.maskTexture = mask;
  else
    k.jpegTexture = m.GetPatternIndex(skinIndex, section, name);
  return k;
}

bool HasGradient(const Look& k) { return k.gradient && !k.gradient->empty(); }

// The background without transparency into R of Dst. CI maps Dst's pixels
// into the parent's image (for masked textures).
void PaintOpaque(const TsSkinManager& m, const Look& k, TBitmap* dst, const TRect& r,
                 const TCacheInfo& ci) {
  const TacBmpView view(*dst);
  bool drawn = false;
  if (k.imagePercent > 0) {
    TRect rest = r;
    if (k.jpegTexture >= 0 && k.jpegTexture < static_cast<int>(m.pa.size()) &&
        m.pa[k.jpegTexture].Img) {
      PaintTexture(dst, rest, m.pa[k.jpegTexture].Img.get(), TsMaskData{}, 0);
      drawn = true;
    } else if (m.IsValidImgIndex(k.maskTexture)) {
      const TsMaskData& md = m.ma[k.maskTexture];
      if (md.MaskType == 0)
        PaintTexture(dst, rest, md.Bmp.get(), md, md.StretchMode);
      else
        TileMaskedTexture(dst, rest, ci, md, md.StretchMode);
      drawn = true;
    }
    if (rest.left != -1 || rest.right != -1) FillBmpRect(view, rest, k.color);
  }
  if (k.gradientPercent > 0) {
    const int w = WidthOf(r), h = HeightOf(r);
    if (drawn) {
      TacScratchBmp tmp(w, h);
      if (HasGradient(k))
        PaintGrad(tmp.View(), MakeRect(0, 0, w, h), *k.gradient, 0, 0);
      else
        FillBmpRect(tmp.View(), MakeRect(0, 0, w, h), k.color);
      const int alpha = k.withIndexes ? MinOf(255, k.imagePercent * 256 / 100)
                                      : ClampByte(k.imagePercent * 255 / 100);
      SumBmpRect(view, tmp.View(), static_cast<TColor>(alpha), MakeRect(0, 0, w, h),
                 TPoint{r.left, r.top});
    } else if (HasGradient(k)) {
      PaintGrad(view, r, *k.gradient, 0, 0);
    } else {
      FillBmpRect(view, r, k.color);
    }
  }
  const int share = k.imagePercent + k.gradientPercent;
  if (share == 0) {
    FillBmpRect(view, r, BGFillColor != clFuchsia && k.transparency != 0 ? BGFillColor : k.color);
  } else if (share < 100) {
    BlendColorRect(view, r, static_cast<uint8_t>(share), k.color);
  }
}

// R of Dst from the parent's image under it, clipped to that image.
void CopyParent(const TacBmpView& dst, const TRect& r, const TCacheInfo& ci, const TPoint& offset) {
  if (!ci.Ready || !ci.Bmp) return;
  const TacBmpView parent(*ci.Bmp);
  if (parent.Empty() || dst.Empty()) return;
  TacCopyArea a{r.left, r.top, ci.X + offset.x + r.left, ci.Y + offset.y + r.top, WidthOf(r),
                HeightOf(r)};
  if (!ClipCopyArea(a, dst.Width, dst.Height, parent.Width, parent.Height)) return;
  for (int row = 0; row < a.H; ++row)
    std::memcpy(dst.Pixel(a.DX, a.DY + row), parent.Pixel(a.SX, a.SY + row),
                static_cast<size_t>(a.W) * dst.BytesPerPixel);
}

void PaintBackground(TsSkinManager* skinManager, int skinIndex, const std::wstring& section,
                     const TCacheInfo& ci, int state, const TRect& rect, const TPoint& offset,
                     TBitmap* dst, int patternIndex, int hotPatternIndex, TColor customColor,
                     bool withIndexes) {
  TsSkinManager* m = skinManager ? skinManager : DefaultManager;
  if (!m || !m->IsValidSkinIndex(skinIndex) || !dst) return;
  const TacBmpView view(*dst);
  if (view.Empty() || view.BytesPerPixel != 3) return;
  const TRect r = ClipRectTo(rect, view.Width, view.Height);
  if (r.left >= r.right || r.top >= r.bottom) return;
  const Look k = LookOf(*m, skinIndex, section, state, patternIndex, hotPatternIndex, customColor,
                        withIndexes);
  TCacheInfo ciHere = ci;
  ciHere.X += offset.x;
  ciHere.Y += offset.y;
  const bool intoParent = ci.Bmp == dst;

  if (!ci.Ready || k.transparency == 0) {
    PaintOpaque(*m, k, dst, r, ciHere);
  } else if (k.transparency >= 100) {
    if (!intoParent) {
      if (!withIndexes && BGFillColor != clFuchsia)
        FillBmpRect(view, r, BGFillColor);
      else
        CopyParent(view, r, ci, offset);
    }
  } else {
    const int w = WidthOf(r), h = HeightOf(r);
    TacScratchBmp own(w, h);
    TCacheInfo ciOwn = ciHere;
    ciOwn.X += r.left;
    ciOwn.Y += r.top;
    PaintOpaque(*m, k, &own.Bmp(), MakeRect(0, 0, w, h), ciOwn);
    if (!intoParent) {
      if (!withIndexes && BGFillColor != clFuchsia)
        FillBmpRect(view, r, BGFillColor);
      else if (ci.Bmp)
        CopyParent(view, r, ci, offset);
    }
    const int alpha = ClampByte(k.transparency * 255 / 100);
    SumBmpRect(view, own.View(), static_cast<TColor>(alpha), MakeRect(0, 0, w, h),
               TPoint{r.left, r.top});
  }

  // A masked texture tiled over the finished normal-state background; the
  // hot one stands in when the normal one is absent or unmasked.
  if (withIndexes || state != 0) return;
  auto tiles = [&](int index) {
    return m->IsValidImgIndex(index) && m->ma[index].MaskType > 0 &&
           m->ma[index].StretchMode == 10;
  };
  int index = -1;
  if (tiles(patternIndex))
    index = patternIndex;
  else if ((patternIndex == -1 || (m->IsValidImgIndex(patternIndex) &&
                                   m->ma[patternIndex].MaskType == 0)) &&
           tiles(hotPatternIndex))
    index = hotPatternIndex;
  if (index >= 0) {
    TRect tr = r;
    TileMaskedTexture(dst, tr, ciHere, m->ma[index], m->ma[index].StretchMode);
  }
}

}  // namespace

void PaintBG(int skinIndex, const std::wstring& skinSection, const TCacheInfo& ci, int state,
             const TRect& r, const TPoint& offset, TBitmap* dst, TsSkinManager* skinManager,
             int patternIndex, int hotPatternIndex, TColor customColor) {
  PaintBackground(skinManager, skinIndex, skinSection, ci, state, r, offset, dst, patternIndex,
                  hotPatternIndex, customColor, false);
}

void PaintBGWithIndexes(int skinIndex, int patternIndex, int hotPatternIndex,
                        const std::wstring& skinSection, const TCacheInfo& ci, int state,
                        const TRect& r, const TPoint& offset, TBitmap* dst,
                        TsSkinManager* skinManager) {
  PaintBackground(skinManager, skinIndex, skinSection, ci, state, r, offset, dst, patternIndex,
                  hotPatternIndex, clFuchsia, true);
}

void PaintControlBG(TsCommonData* sd, const TCacheInfo& ci, int state, const TRect& r,
                    const TPoint& offset, TBitmap* dst) {
  if (!sd) return;
  TColor custom = clFuchsia;
  if (sd->CustomColor()) {
    auto* owner = dynamic_cast<TComponent*>(sd->OwnerObject);
    if (owner && sd->ControlKind == ckSkinProvider) {
      if (auto* form = dynamic_cast<TControl*>(owner->Owner())) custom = ColorToRGB(form->Color());
    } else if (sd->OwnerControl) {
      custom = ColorToRGB(sd->OwnerControl->Color());
    }
  }
  PaintBG(sd->SkinIndex, sd->SkinSection(), ci, state, r, offset, dst, sd->GetSkinManager(),
          sd->Texture, sd->HotTexture, custom);
}
