#include "skin/engine/Corners.h"

#include <cstring>

#include "framework/Controls.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinUtils.h"

namespace {

struct ResetFillColor {
  ~ResetFillColor() { BGFillColor = clFuchsia; }
};

}  // namespace

void UpdateCornerSet(TsCommonData* sd, int state, uint8_t corners) {
  if (!sd || !sd->CacheBmp || !sd->OwnerControl) return;
  TsSkinManager* m = sd->GetSkinManager();
  if (!m || !m->IsValidImgIndex(sd->BorderIndex)) return;
  TControl* owner = sd->OwnerControl;
  if (owner->Width() <= 1 || owner->Height() <= 1) return;

  ResetFillColor reset;
  TCacheInfo ci = GetParentCache(sd);
  TWinControl* parent = owner->Parent();
  if (!parent)
    BGFillColor = clFuchsia;
  else if (!ci.Ready)
    BGFillColor = ColorToRGB(parent->Color());
  else if (!sd->ParentTextured() && BGFillColor == clFuchsia)
    UpdateBGFillColor(parent);
  else
    BGFillColor = clFuchsia;

  const TsMaskData& md = m->ma[sd->BorderIndex];
  TRect imgR = md.R;
  int imageCount = md.ImageCount;
  int maskType = md.MaskType;
  if (md.Bmp && imageCount == 0) {
    imageCount = 3;
    maskType = 1;
    imgR = MakeRect(0, 0, md.Bmp->Width(), md.Bmp->Height());
  }
  if (imageCount < 1 || maskType < 0) return;
  const TacBmpView img = md.Bmp ? TacBmpView(*md.Bmp) : TacBmpView(m->MasterBitmap.get());
  const TacBmpView cache(*sd->CacheBmp);
  if (img.Empty() || cache.Empty()) return;

  const TColor fill = BGFillColor;
  const bool useParent = fill == clFuchsia;
  if (useParent) {
    if (!ci.Ready || !ci.Bmp) return;
    ci.X += owner->Left();
    ci.Y += owner->Top();
  }
  const TacBmpView parentImg = useParent ? TacBmpView(*ci.Bmp) : TacBmpView();
  uint8_t fillPx[3];
  ColorToPixel(fill, fillPx);

  const int cellW = WidthOf(imgR) / imageCount;
  const int cellH = maskType == 0 ? HeightOf(imgR) : HeightOf(imgR) / 2;
  const int cell = MinOf(MaxOf(state, 0), imageCount - 1);
  const int x0 = imgR.left + WidthOf(imgR) * cell / imageCount, y0 = imgR.top;
  // Border widths as the manager derives them, over the cells taken here.
  auto across = [&](int16_t stored) {
    return stored > 0 ? stored : md.BorderWidth >= 1 ? md.BorderWidth : WidthOf(imgR) / (imageCount * 3);
  };
  auto down = [&](int16_t stored) {
    return stored > 0 ? stored
                      : md.BorderWidth >= 1 ? md.BorderWidth : HeightOf(imgR) / ((maskType + 1) * 3);
  };
  const int wl = across(md.WL), wt = down(md.WT), wr = across(md.WR), wb = down(md.WB);
  const int w = owner->Width(), h = owner->Height();

  // One corner piece: image pixels from (sx, sy), cache pixels from (dx, dy).
  auto piece = [&](int sx, int sy, int dx, int dy, int pw, int ph) {
    for (int j = 0; j < ph; ++j) {
      const int iy = sy + j, cy = dy + j;
      if (iy < 0 || iy >= img.Height || cy < 0 || cy >= cache.Height) continue;
      for (int i = 0; i < pw; ++i) {
        const int ix = sx + i, cx = dx + i;
        if (ix < 0 || ix >= img.Width || cx < 0 || cx >= cache.Width) continue;
        if (!IsFuchsiaPixel(img.Pixel(ix, iy))) continue;
        uint8_t* d = cache.Pixel(cx, cy);
        if (!useParent) {
          std::memcpy(d, fillPx, 3);
        } else if (parentImg.Contains(ci.X + cx, ci.Y + cy)) {
          std::memcpy(d, parentImg.Pixel(ci.X + cx, ci.Y + cy), 3);
        }
      }
    }
  };
  const int right = x0 + cellW - wr, bottom = y0 + cellH - wb;
  if (corners & cornerTopLeft) piece(x0, y0, 0, 0, MinOf(wl, cellW), MinOf(wt, cellH));
  if (corners & cornerBottomLeft) piece(x0, bottom, 0, h - wb, MinOf(wl, cellW), MinOf(wb, cellH));
  if (corners & cornerTopRight) piece(right, y0, w - wr, 0, MinOf(wr, cellW), MinOf(wt, cellH));
  if (corners & cornerBottomRight)
    piece(right, bottom, w - wr, h - wb, MinOf(wr, cellW), MinOf(wb, cellH));
}
