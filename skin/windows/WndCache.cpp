#include "skin/windows/WndCache.h"

#include <algorithm>

#include "skin/engine/CommonData.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/Masks.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/windows/MainWnd.h"

void PrepareWndCache(TsCommonData* skinData, HWND wnd, bool useGlobalColor) {
  if (!skinData || !skinData->BGChanged || !wnd) return;
  TRect r{};
  ::GetWindowRect(wnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  TCacheInfo ci = GetParentCacheHwnd(wnd);
  skinData->InitCacheBmp();
  TBitmap* cache = skinData->CacheBmp.get();
  cache->SetSize(w, h);
  TsSkinManager* manager = skinData->GetSkinManager();
  const TColor borderColor =
      DefaultManager && DefaultManager->SkinData ? DefaultManager->SkinData->BorderColor : clFuchsia;
  if (useGlobalColor && borderColor != clFuchsia) {
    FillBmpRect(TacBmpView(cache), TRect{0, 0, w, h}, ColorToRGB(clWindow));
    TacBmpView v(cache);
    FillBmpRect(v, TRect{0, 0, w, 1}, borderColor);
    FillBmpRect(v, TRect{0, h - 1, w, h}, borderColor);
    FillBmpRect(v, TRect{0, 0, 1, h}, borderColor);
    FillBmpRect(v, TRect{w - 1, 0, w, h}, borderColor);
  } else {
    HWND parent = ::GetParent(wnd);
    if (!parent) return;  // stays stale: nothing to paint over yet
    TRect pr{};
    ::GetWindowRect(parent, &pr);
    TPoint offset{r.left - pr.left - ci.X, r.top - pr.top - ci.Y};
    if (manager && manager->IsValidSkinIndex(skinData->SkinIndex))
      PaintSkinControl(skinData, ci, false, 0, TRect{0, 0, w, h}, offset, cache, false);
  }
  TControl* owner = skinData->OwnerControl;
  if (owner && !owner->Enabled()) {
    ReplyDisabledKind = 0;
    SendSkinCmd(wnd, AC_GETSKININDEX, 0);
    TControl* ownerParent = owner->Parent();
    ApplyDisabledKind(TacBmpView(cache), ReplyDisabledKind, ownerParent, GetParentCache(skinData),
                      TPoint{owner->Left(), owner->Top()});
  }
  skinData->BGChanged = false;
}

namespace {

// One corner cell of the mask against one corner of the cache image.
struct TacCornerScan {
  TacBmpView mask;   // the mask's pixels
  TacBmpView cache;  // the window's image
  TacBmpView parent; // the parent's image (empty: none)
  TPoint parentOrigin;
  TColor fill;       // clFuchsia: take parent pixels

  void Run(int srcX, int srcY, int dstX, int dstY, int w, int h) const {
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        if (!mask.Contains(srcX + x, srcY + y) || !cache.Contains(dstX + x, dstY + y)) continue;
        if (!IsFuchsiaPixel(mask.Pixel(srcX + x, srcY + y))) continue;
        uint8_t* d = cache.Pixel(dstX + x, dstY + y);
        if (fill != clFuchsia) {
          ColorToPixel(fill, d);
        } else {
          const int px = parentOrigin.x + dstX + x, py = parentOrigin.y + dstY + y;
          if (!parent.Empty() && parent.Contains(px, py)) {
            const uint8_t* s = parent.Pixel(px, py);
            d[0] = s[0], d[1] = s[1], d[2] = s[2];
          }
        }
      }
    }
  }
};

}  // namespace

void UpdateWndCorners(TsCommonData* skinData, int state, TacMainWnd* adapter) {
  if (!skinData || !adapter) return;
  TsSkinManager* manager = skinData->GetSkinManager();
  if (!manager || !manager->IsValidImgIndex(skinData->BorderIndex) || !skinData->CacheBmp) return;
  if (adapter->WndSize.x < 2 || adapter->WndSize.y < 2) return;
  const TsMaskData& md = manager->ma[skinData->BorderIndex];
  TacBmpView master = manager->MasterBitmap ? TacBmpView(*manager->MasterBitmap) : TacBmpView();
  TacBmpView image = MaskImage(md, master);
  if (image.Empty()) return;

  TCacheInfo ci = GetParentCacheHwnd(adapter->CtrlHandle);
  if (!QuerySkinCmdWnd(adapter->ParentWnd, AC_ISTEXTURED) && BGFillColor == clFuchsia)
    BGFillColor = ColorToRGB(RequestBGColor(adapter->ParentWnd));
  else
    BGFillColor = clFuchsia;
  const TColor fill = BGFillColor;
  if (fill == clFuchsia) ci.X += adapter->WndPos.x, ci.Y += adapter->WndPos.y;

  // A mask with its own image and no count holds three cells over a mask.
  int imageCount = md.ImageCount, maskType = md.MaskType;
  if (md.Bmp && imageCount == 0) imageCount = 3, maskType = 1;
  if (imageCount <= 0) imageCount = 1;
  state = std::min(state, imageCount - 1);
  const TRect mr = md.Bmp ? TRect{0, 0, md.Bmp->Width(), md.Bmp->Height()} : md.R;
  const int maskW = mr.right - mr.left, maskH = mr.bottom - mr.top;
  const int cellX = mr.left + maskW * state / imageCount;
  const int partH = maskH / (maskType + 1);
  const int wl = md.WL, wt = md.WT, wr = md.WR, wb = md.WB;
  const int cellW = maskW / imageCount;
  const int w = adapter->WndSize.x, h = adapter->WndSize.y;

  TacCornerScan scan{image, TacBmpView(*skinData->CacheBmp), TacBmpView(),
                     TPoint{ci.X, ci.Y}, fill};
  if (fill == clFuchsia && ci.Ready && ci.Bmp) scan.parent = TacBmpView(*ci.Bmp);
  const int bottomY = mr.top + partH - wb;
  scan.Run(cellX, mr.top, 0, 0, wl, wt);                                  // top-left
  scan.Run(cellX, bottomY, 0, h - wb, wl, wb);                            // bottom-left
  scan.Run(cellX + cellW - wr, bottomY, w - wr, h - wb, wr, wb);          // bottom-right
  scan.Run(cellX + cellW - wr, mr.top, w - wr, 0, wr, wt);                // top-right
  BGFillColor = clFuchsia;
}
