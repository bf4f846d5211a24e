#include "skin/engine/SkinData.h"

#include "skin/engine/SkinUtils.h"

int MaskCellWidth(const TsMaskData& md) {
  if (md.Bmp) return md.Bmp->Width() / 3;
  return md.ImageCount > 0 ? WidthOf(md.R) / md.ImageCount : 0;
}

int MaskCellHeight(const TsMaskData& md) {
  if (md.Bmp) return md.Bmp->Height() / 2;
  return md.MaskType >= 0 ? HeightOf(md.R) / (md.MaskType + 1) : 0;
}

namespace {

int Horizontal(const TsMaskData& md, int16_t stored) {
  if (stored > 0) return stored;
  if (md.BorderWidth >= 1) return md.BorderWidth;
  return md.ImageCount > 0 ? WidthOf(md.R) / (md.ImageCount * 3) : 0;
}

int Vertical(const TsMaskData& md, int16_t stored) {
  if (stored > 0) return stored;
  if (md.BorderWidth >= 1) return md.BorderWidth;
  return md.MaskType >= 0 ? HeightOf(md.R) / ((md.MaskType + 1) * 3) : 0;
}

}  // namespace

int MaskWidthLeft(const TsMaskData& md) { return Horizontal(md, md.WL); }
int MaskWidthTop(const TsMaskData& md) { return Vertical(md, md.WT); }
int MaskWidthRight(const TsMaskData& md) { return Horizontal(md, md.WR); }
int MaskWidthBottom(const TsMaskData& md) { return Vertical(md, md.WB); }
