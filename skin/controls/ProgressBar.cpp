#include "skin/controls/ProgressBar.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "skin/engine/Corners.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinUtils.h"

namespace {

// Nearest integer, halves to the even neighbour.
int Nearest(double x) { return static_cast<int>(std::nearbyint(x)); }

// Blocks along one axis: how many fit, the gap between them, how many the
// position fills, and the narrower last piece at the end of a full bar.
struct BlockRow {
  int count = 0, gap = 0, filled = 0, rest = 0;
};

BlockRow Blocks(int length, int piece, double share, bool full) {
  BlockRow b;
  b.count = length / (piece + 2);
  if (b.count <= 1) {
    b.count = 0;
    return b;
  }
  b.gap = (length - b.count * piece) / (b.count - 1);
  b.filled = std::clamp(Nearest(share * b.count), 0, b.count);
  if (b.filled > 0 && full) {
    const int rest = length - (b.filled - 1) * (piece + b.gap) - piece;
    if (rest > 3) b.rest = rest;
  }
  return b;
}

// Every piece is held inside the filled rectangle: pieces as tall as the
// client area, or a last piece placed after a gap, would otherwise cover the
// bar's border or fall outside the bar.
void ClipPieces(TacProgressLayout& out) {
  std::vector<TRect> kept;
  for (const TRect& p : out.Pieces) {
    TRect r;
    if (::IntersectRect(&r, &p, &out.Filled)) kept.push_back(r);
  }
  out.Pieces.swap(kept);
}

}  // namespace

// The range is taken from Min: with Min 0 (every bar of this program) the
// share is Position / Max. An empty or inverted range fills nothing and
// never divides by zero; a position outside the range is held to it.
TacProgressLayout LayoutProgress(const TacProgressInput& in) {
  TacProgressLayout out;
  if (in.Max <= in.Min) return out;
  const int pos = std::clamp(in.Position, in.Min, in.Max);
  const bool full = pos == in.Max;
  const double share = static_cast<double>(pos - in.Min) / (in.Max - in.Min);
  const int b = in.BorderWidth + 1;
  TRect& pr = out.Filled;
  if (!in.Vertical) {
    pr = {b, b, full ? in.Width - b : b + Nearest(share * (in.Width - 2 * b)), in.Height - b};
    out.PieceHeight = in.ClientHeight;
    out.PieceWidth = in.Smooth ? pr.right - pr.left : Nearest(out.PieceHeight * 0.66) - 2;
  } else {
    const int bottom = in.Height - b;
    pr = {b, full ? b : bottom - Nearest(share * (in.Height - 2 * b)), in.Width - b, bottom};
    out.PieceWidth = in.ClientWidth;
    out.PieceHeight = in.Smooth ? in.Height - 2 * b : Nearest(out.PieceWidth * 0.66) - 2;
  }
  if (pr.right <= pr.left || pr.bottom <= pr.top) return out;
  if (out.PieceWidth < 2 || out.PieceHeight < 2) return out;
  const int sx = out.PieceWidth, sy = out.PieceHeight;
  if (in.Smooth) {
    if (!in.Vertical) out.Pieces.push_back({pr.left, pr.top, pr.right, pr.top + sy});
    else out.Pieces.push_back({pr.left, pr.top, pr.left + sx, pr.bottom});
    ClipPieces(out);
    return out;
  }
  if (!in.Vertical) {
    const BlockRow row = Blocks(in.ClientWidth - 2, sx, share, full);
    out.BlockCount = row.count;
    out.Gap = row.gap;
    for (int i = 0; i < row.filled; ++i) {
      const int x = (sx + row.gap) * i + pr.left;
      out.Pieces.push_back({x, pr.top, x + sx, pr.top + sy});
    }
    if (row.rest > 0) {
      const int x = (sx + row.gap) * row.filled + pr.left;
      out.Pieces.push_back({x, pr.top, x + row.rest, pr.top + sy});
    }
  } else {
    const BlockRow row = Blocks(in.ClientHeight - 2, sy, share, full);
    out.BlockCount = row.count;
    out.Gap = row.gap;
    for (int i = 0; i < row.filled; ++i) {
      const int y = pr.bottom - (sy + row.gap) * i - sy;
      out.Pieces.push_back({pr.left, y, pr.left + sx, y + sy});
    }
    if (row.rest > 0)
      out.Pieces.push_back(
          {pr.left, pr.top, pr.left + sx, pr.top + in.ClientHeight - (sy + row.gap) * row.filled});
  }
  ClipPieces(out);
  return out;
}

TsProgressBar::TsProgressBar(TComponent* AOwner) : TsSkinnedControl(AOwner, ckProgressBar, false) {
  SetControlStyle(ControlStyle() | csOpaque);
}

void TsProgressBar::CreateParams(TCreateParams& params) {
  TProgressBar::CreateParams(params);
  if (orientation_ == pbVertical) params.Style |= PBS_VERTICAL;
  if (smooth_) params.Style |= PBS_SMOOTH;
}

void TsProgressBar::SetProgressSkin(const std::wstring& value) {
  if (progressSkin_ == value) return;
  progressSkin_ = value;
  SkinData->Invalidate();
}

void TsProgressBar::SetOrientation(TProgressBarOrientation value) {
  if (orientation_ == value) return;
  orientation_ = value;
  if (HandleAllocated()) RecreateWnd();
  SkinData->Invalidate();
}

void TsProgressBar::SetSmooth(bool value) {
  if (smooth_ == value) return;
  smooth_ = value;
  if (HandleAllocated()) RecreateWnd();
  SkinData->Invalidate();
}

TacProgressLayout TsProgressBar::Layout() {
  TacProgressInput in;
  in.Width = Width();
  in.Height = Height();
  in.ClientWidth = ClientWidth();
  in.ClientHeight = ClientHeight();
  in.Min = Min();
  in.Max = Max();
  in.Position = Position();
  in.Smooth = smooth_;
  in.Vertical = orientation_ == pbVertical;
  return LayoutProgress(in);
}

void TsProgressBar::WndProc(TMessage& m) {
  if (m.Msg == SM_ALPHACMD && SkinCommand(m)) return;
  if (!ControlIsReady(this) || !SkinData || !IsSkinned()) {
    TProgressBar::WndProc(m);
    return;
  }
  switch (m.Msg) {
    case WM_PAINT:
      PaintTo(reinterpret_cast<HDC>(m.WParam), true);
      m.Result = 0;
      return;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      m.Result = 1;
      return;
    case WM_PRINT:
      SkinData->Updating = false;
      PaintTo(reinterpret_cast<HDC>(m.WParam), false);
      return;
  }
  CommonWndProc(m, SkinData.get());
  TProgressBar::WndProc(m);
}

TacSkinChangeRule TsProgressBar::SkinChangeRule(WORD) const {
  TacSkinChangeRule rule;
  rule.handledForOthers = false;
  return rule;
}

void TsProgressBar::AfterSkinChange(TMessage& m) {
  if (SkinCmdOf(m) != AC_SETNEWSKIN) Repaint();
}

bool TsProgressBar::OtherSkinCommand(TMessage& m) {
  if (SkinCmdOf(m) != AC_ENDPARENTUPDATE || !SkinData->GetUpdating()) return false;
  SkinData->Updating = false;
  Repaint();
  return true;
}

namespace {

bool SamePieces(const std::vector<TRect>& a, const std::vector<TRect>& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](const TRect& x, const TRect& y) {
           return x.left == y.left && x.top == y.top && x.right == y.right && x.bottom == y.bottom;
         });
}

}  // namespace

void TsProgressBar::PaintTo(HDC dc, bool beginPaint) {
  if (Width() < 1 || Height() < 1) {
    if (beginPaint) TacPaintScope validate(Handle(), nullptr);
    return;
  }
  TacPaintScope paint(Handle(), dc, beginPaint);
  SkinData->Updating = SkinData->GetUpdating();
  if (SkinData->Updating) return;
  MarkStaleByParent(this, SkinData.get());
  TBitmap* cache = SkinData->CacheBmp.get();
  const bool resized = cache && (cache->Width() != Width() || cache->Height() != Height());
  if ((SkinData->BGChanged || resized) && !SkinData->BGDependent) {
    PrepareCache();
  } else {
    TacProgressLayout layout = Layout();
    if (!SamePieces(layout.Pieces, shownPieces_)) PaintFill(layout);
  }
  if (!SkinData->CacheBmp) return;
  UpdateCorners(SkinData.get(), 0);
  CopyCacheToDC(SkinData.get(), paint.DC());
}

// A position step repaints only the filled part: the body is painted when
// the skin, the size or what lies behind the bar changes.
void TsProgressBar::PrepareCache() {
  if (Max() <= Min()) return;
  SkinData->InitCacheBmp();
  TBitmap* cache = SkinData->CacheBmp.get();
  PaintSkinControl(SkinData.get(), GetParentCache(SkinData.get()), true, 0,
                   TRect{0, 0, Width(), Height()}, TPoint{Left(), Top()}, cache, false);
  if (!body_) body_ = std::make_unique<TBitmap>(0, 0, pf24bit);
  body_->SetSize(cache->Width(), cache->Height());
  ::BitBlt(body_->Canvas()->Handle(), 0, 0, cache->Width(), cache->Height(),
           cache->Canvas()->Handle(), 0, 0, SRCCOPY);
  SkinData->BGChanged = false;
  PaintFill(Layout());
}

void TsProgressBar::PaintFill(const TacProgressLayout& layout) {
  if (Max() <= Min()) return;  // an empty range keeps the last image
  TBitmap* cache = SkinData->CacheBmp.get();
  if (!cache || !body_ || body_->Width() != cache->Width() || body_->Height() != cache->Height())
    return;
  ::BitBlt(cache->Canvas()->Handle(), 0, 0, cache->Width(), cache->Height(),
           body_->Canvas()->Handle(), 0, 0, SRCCOPY);
  shownPieces_ = layout.Pieces;
  const std::wstring section =
      !progressSkin_.empty() ? progressSkin_
                             : (orientation_ == pbVertical ? L"PROGRESSV" : L"PROGRESSH");
  TsSkinManager* m = SkinData->GetSkinManager();
  const int index = m->GetSkinIndex(section);
  if (layout.Pieces.empty()) return;
  int pw = 0, ph = 0;
  for (const TRect& p : layout.Pieces) {
    pw = std::max<int>(pw, p.right - p.left);
    ph = std::max<int>(ph, p.bottom - p.top);
  }
  if (pw <= 0 || ph <= 0) return;
  TacScratchBmp piece(pw, ph);
  const TCacheInfo ci = MakeCacheInfo(cache, 0, 0);
  for (const TRect& p : layout.Pieces) {
    const int w = p.right - p.left, h = p.bottom - p.top;
    if (w <= 0 || h <= 0) continue;
    PaintItem(index, section, ci, true, 0, TRect{0, 0, w, h}, TPoint{p.left, p.top}, &piece.Bmp(),
              m, -1, -1);
    ::BitBlt(cache->Canvas()->Handle(), p.left, p.top, w, h, piece.Bmp().Canvas()->Handle(), 0, 0,
             SRCCOPY);
  }
}
