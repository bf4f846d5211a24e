// Bitmap and device-context helpers, the scratch bitmap pool, section items
// and the whole skin of a control. Backgrounds are in PaintBackground.cpp,
// textures in Textures.cpp.
#include "skin/engine/PaintPrimitives.h"

#include <cstring>
#include <vector>

#include "framework/Controls.h"
#include "framework/Handles.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/Masks.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinUtils.h"

// ---------------------------------------------------------------- bitmaps

std::unique_ptr<TBitmap> CreateBmp24(int width, int height) {
  return std::make_unique<TBitmap>(width, height, pf24bit);
}

std::unique_ptr<TBitmap> CreateBmp32(int width, int height) {
  return std::make_unique<TBitmap>(width, height, pf32bit);
}

std::unique_ptr<TBitmap> CreateBmpLike(const TBitmap& bmp) {
  return CreateBmp24(bmp.Width(), bmp.Height());
}

void FillDC(HDC dc, const TRect& r, TColor color) {
  if (!dc) return;
  SaveDCScope state(dc);
  UniqueBrush brush(::CreateSolidBrush(ColorToRGB(color) & 0xFFFFFF));
  ::FillRect(dc, &r, brush.get());
}

void BitBltBorder(HDC destDC, int x, int y, int width, int height, HDC srcDC, int srcX, int srcY,
                  int borderWidth) {
  if (!destDC || !srcDC || borderWidth <= 0) return;
  const int bw = borderWidth;
  ::BitBlt(destDC, x, y, bw, height, srcDC, srcX, srcY, SRCCOPY);
  ::BitBlt(destDC, x, y, width, bw, srcDC, srcX, srcY, SRCCOPY);
  ::BitBlt(destDC, x + width - bw, y, bw, height, srcDC, srcX + width - bw, srcY, SRCCOPY);
  ::BitBlt(destDC, x, y + height - bw, width, bw, srcDC, srcX, srcY + height - bw, SRCCOPY);
}

void FillBmpRect(const TacBmpView& bmp, const TRect& r, TColor color) {
  if (bmp.Empty()) return;
  const int l = MaxOf(r.left, 0), t = MaxOf(r.top, 0);
  const int rr = MinOf(r.right, bmp.Width), b = MinOf(r.bottom, bmp.Height);
  if (l >= rr || t >= b) return;
  uint8_t px[4];
  ColorToPixel(ColorToRGB(color), px);
  px[3] = 0;
  const int bpp = bmp.BytesPerPixel;
  const size_t rowBytes = static_cast<size_t>(rr - l) * bpp;
  // One row by doubling, then row copies.
  uint8_t* first = bmp.Pixel(l, t);
  std::memcpy(first, px, bpp);
  for (size_t done = bpp; done < rowBytes;) {
    size_t n = MinOf(static_cast<int>(done), static_cast<int>(rowBytes - done));
    std::memcpy(first + done, first, n);
    done += n;
  }
  for (int y = t + 1; y < b; ++y) std::memcpy(bmp.Pixel(l, y), first, rowBytes);
}

// ---------------------------------------------------------------- scratch pool

struct TacScratchBmp::Slot {
  std::unique_ptr<TBitmap> bmp;
  bool busy = false;
};

namespace {

std::vector<std::unique_ptr<TacScratchBmp::Slot>>& Pool() {
  static std::vector<std::unique_ptr<TacScratchBmp::Slot>> pool;
  return pool;
}

}  // namespace

TacScratchBmp::TacScratchBmp(int width, int height) {
  width = MaxOf(width, 0);
  height = MaxOf(height, 0);
  for (auto& s : Pool())
    if (!s->busy) {
      slot_ = s.get();
      break;
    }
  if (!slot_) {
    Pool().push_back(std::make_unique<Slot>());
    slot_ = Pool().back().get();
    slot_->bmp = CreateBmp24(0, 0);
  }
  slot_->busy = true;
  bmp_ = slot_->bmp.get();
  // Grows only: a pool bitmap keeps the largest size asked of it.
  if (bmp_->Width() < width || bmp_->Height() < height)
    bmp_->SetSize(MaxOf(bmp_->Width(), width), MaxOf(bmp_->Height(), height));
  view_ = TacBmpView(*bmp_);
  view_.Width = width;
  view_.Height = height;
}

TacScratchBmp::~TacScratchBmp() {
  if (slot_) slot_->busy = false;
}

// ---------------------------------------------------------------- items

namespace {

TsSkinManager* ManagerOr(TsSkinManager* m) { return m ? m : DefaultManager; }

TacBmpView MasterOf(const TsSkinManager& m) { return TacBmpView(m.MasterBitmap.get()); }

TCacheInfo Moved(TCacheInfo ci, const TPoint& offset) {
  ci.X += offset.x;
  ci.Y += offset.y;
  return ci;
}

bool FitsIn(const TBitmap* dst, const TRect& r) {
  return dst && r.left >= 0 && r.top >= 0 && dst->Width() >= r.right && dst->Height() >= r.bottom;
}

// Resets the shared parent colours however painting ends.
struct FillColorReset {
  ~FillColorReset() {
    MaskFillColor = clFuchsia;
    BGFillColor = clFuchsia;
  }
};

}  // namespace

void PaintItem(int skinIndex, const std::wstring& skinSection, const TCacheInfo& ci, bool filling,
               int state, const TRect& r, const TPoint& offset, TBitmap* dst,
               TsSkinManager* skinManager, int patternIndex, int hotPatternIndex) {
  TsSkinManager* m = ManagerOr(skinManager);
  if (!dst || r.left >= r.right || r.top >= r.bottom || !m || !m->IsValidSkinIndex(skinIndex) ||
      !FitsIn(dst, r))
    return;
  PaintBG(skinIndex, skinSection, ci, state, r, offset, dst, m, patternIndex, hotPatternIndex,
          clFuchsia);
  const int border = m->GetMaskIndex(skinIndex, skinSection, L"BORDERSMASK");
  if (m->IsValidImgIndex(border))
    DrawMaskRect(TacBmpView(*dst), r, filling, Moved(ci, offset), m->ma[border], MasterOf(*m),
                 state, true);
}

void PaintItemWithIndexes(int skinIndex, int borderIndex, int patternIndex, int hotPatternIndex,
                          const std::wstring& skinSection, const TCacheInfo& ci, bool filling,
                          int state, const TRect& r, const TPoint& offset, TBitmap* dst,
                          TsSkinManager* skinManager) {
  TsSkinManager* m = ManagerOr(skinManager);
  if (!dst || r.left >= r.right || r.top >= r.bottom || !m || !m->IsValidSkinIndex(skinIndex) ||
      !FitsIn(dst, r))
    return;
  PaintBGWithIndexes(skinIndex, patternIndex, hotPatternIndex, skinSection, ci, state, r, offset,
                     dst, m);
  if (m->IsValidImgIndex(borderIndex))
    DrawMaskRect(TacBmpView(*dst), r, filling, Moved(ci, offset), m->ma[borderIndex],
                 MasterOf(*m), state, true);
}

void PaintItemToDC(int skinIndex, const std::wstring& skinSection, const TCacheInfo& ci,
                   bool filling, int state, const TRect& r, const TPoint& offset, HDC dc,
                   TsSkinManager* skinManager) {
  TsSkinManager* m = ManagerOr(skinManager);
  if (!dc || !m || !m->IsValidSkinIndex(skinIndex) || r.left < 0 || r.top < 0) return;
  const int w = WidthOf(r), h = HeightOf(r);
  if (w < 1 || h < 1) return;
  TacScratchBmp tmp(w, h);
  PaintItem(skinIndex, skinSection, ci, filling, state, MakeRect(0, 0, w, h), offset, &tmp.Bmp(),
            m, -1, -1);
  SaveDCScope saved(dc);
  ::BitBlt(dc, r.left, r.top, w, h, tmp.Bmp().Canvas()->Handle(), 0, 0, SRCCOPY);
}

void PaintSkinControl(TsCommonData* sd, const TCacheInfo& ci, bool filling, int state,
                      const TRect& r, const TPoint& offset, TBitmap* dst, bool useParentBG) {
  if (!sd || !dst) return;
  TsSkinManager* m = sd->GetSkinManager();
  if (!m || !m->IsValidSkinIndex(sd->SkinIndex) || !FitsIn(dst, r)) return;
  FillColorReset reset;
  TWinControl* parent = sd->OwnerControl ? sd->OwnerControl->Parent() : nullptr;
  BGFillColor = clFuchsia;
  if (!ci.Ready && parent) {
    MaskFillColor = ColorToRGB(parent->Color());
    BGFillColor = MaskFillColor;
  }
  // Over a plain parent a transparent section is filled with the parent's
  // colour rather than copied from its image.
  if (ci.Ready && parent && BGFillColor == clFuchsia && !sd->DependsOnParentBg())
    UpdateBGFillColor(parent);
  PaintControlBG(sd, ci, state, r, offset, dst);
  const TacBmpView view(*dst);
  const TacBmpView master = MasterOf(*m);
  if (m->IsValidImgIndex(sd->BorderIndex))
    DrawMaskRect(view, r, filling, Moved(ci, offset), m->ma[sd->BorderIndex], master, state,
                 useParentBG);
  MaskFillColor = clFuchsia;
  BGFillColor = clFuchsia;

  auto corner = [&](int index, bool right, bool bottom) {
    if (!m->IsValidImgIndex(index)) return;
    const TsMaskData& md = m->ma[index];
    const int w = md.ImageCount > 0 ? WidthOf(md.R) / md.ImageCount : 0;
    const int h = md.MaskType >= 0 ? HeightOf(md.R) / (md.MaskType + 1) : 0;
    const TPoint p{right ? r.right - w : r.left, bottom ? r.bottom - h : r.top};
    DrawSkinGlyph(view, p, state, 1, md, master);
  };
  corner(sd->Corners.TopLeft, false, false);
  corner(sd->Corners.TopRight, true, false);
  corner(sd->Corners.BtmLeft, false, true);
  corner(sd->Corners.BtmRight, true, true);
}
