// Clipping shared by the pixel routines: done once per call, so the inner
// loops never test bounds.
#pragma once

#include <algorithm>

#include "framework/Graphics.h"

// A copy of W x H pixels from (SX, SY) of a source to (DX, DY) of a target.
struct TacCopyArea {
  int DX, DY, SX, SY, W, H;
};

// Cuts the area to both bitmaps, keeping source and target pixels aligned.
// False when nothing is left.
inline bool ClipCopyArea(TacCopyArea& a, int dstW, int dstH, int srcW, int srcH) {
  if (a.DX < 0) { a.SX -= a.DX; a.W += a.DX; a.DX = 0; }
  if (a.DY < 0) { a.SY -= a.DY; a.H += a.DY; a.DY = 0; }
  if (a.SX < 0) { a.DX -= a.SX; a.W += a.SX; a.SX = 0; }
  if (a.SY < 0) { a.DY -= a.SY; a.H += a.SY; a.SY = 0; }
  a.W = std::min<int>({a.W, dstW - a.DX, srcW - a.SX});
  a.H = std::min<int>({a.H, dstH - a.DY, srcH - a.SY});
  return a.W > 0 && a.H > 0;
}

// R (Right and Bottom exclusive) limited to (0, 0, w, h).
inline TRect ClipRectTo(const TRect& r, int w, int h) {
  TRect c;
  c.left = std::max<int>(r.left, 0);
  c.top = std::max<int>(r.top, 0);
  c.right = std::min<int>(r.right, w);
  c.bottom = std::min<int>(r.bottom, h);
  return c;
}
