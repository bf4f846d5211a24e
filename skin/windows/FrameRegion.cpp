#include "skin/windows/FrameRegion.h"

#include "framework/Handles.h"
#include "skin/engine/BmpView.h"
#include "skin/engine/Regions.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManager.h"

void CollectFrameRgnRects(TAOR& rects, TsSkinManager* m, int borderIndex,
                          const std::wstring& titleSection, int width, int height) {
  rects.clear();
  if (!m) return;
  const TacBmpView master = m->MasterBitmap ? TacBmpView(*m->MasterBitmap) : TacBmpView();
  if (m->IsValidImgIndex(borderIndex)) {
    const TsMaskData& md = m->ma[borderIndex];
    AddCornerRgnRects(rects, width, md, master, 0, false);
    AddCornerRgnRects(rects, width, md, master, height - MaskWidthBottom(md), true);
  }
  const int titleIndex = m->GetSkinIndex(titleSection);
  if (m->IsValidSkinIndex(titleIndex)) {
    const int mask = m->GetMaskIndex(titleIndex, titleSection, L"BORDERSMASK");
    if (m->IsValidImgIndex(mask)) AddCornerRgnRects(rects, width, m->ma[mask], master, 0, false);
  }
}

HRGN CreateFrameRgn(const TAOR& rects, int width, int height, int x, int y) {
  HRGN rgn = ::CreateRectRgn(x, y, x + width, y + height);
  for (const TRect& r : rects) {
    UniqueRgn cut(::CreateRectRgn(r.left + x, r.top + y, r.right + x, r.bottom + y));
    ::CombineRgn(rgn, rgn, cut.get(), RGN_DIFF);
  }
  return rgn;
}

bool SameRects(const TAOR& a, const TAOR& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (!::EqualRect(&a[i], &b[i])) return false;
  return true;
}
