// Helpers for the skinned controls' tests: a control's image through
// WM_PRINT into a memory bitmap, and the process's GDI object count.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/common/GdiCount.h"
#include "framework/Controls.h"
#include "skin/engine/SkinManager.h"
#include "tests/skin/engine/PixelTestUtil.h"
#include "tests/skin/engine/SkinnedTestControls.h"

namespace skintest {

// The control's window printed into a 24-bit bitmap of its size, which
// starts filled with `fill` so untouched pixels show.
inline std::unique_ptr<TBitmap> PrintControl(TWinControl* c, TColor fill = 0x123456) {
  auto b = MakeBmp(c->Width(), c->Height(), fill);
  ::SendMessageW(c->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()),
                 PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
  return b;
}

// A graphic control painted by a WM_PAINT with a DC, as its parent does.
inline std::unique_ptr<TBitmap> PaintGraphic(TControl* c, TColor fill = 0x123456) {
  auto b = MakeBmp(c->Width(), c->Height(), fill);
  c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()), 0);
  return b;
}

// Adds a border image of `cells` state cells, each cellW x cellH and
// drawn by paint(x, y, cell), to the manager's master bitmap and returns its
// mask index. Borders are `border` pixels wide.
inline int AddMask(TsSkinManager& m, const std::wstring& section, const std::wstring& name,
                   int cellW, int cellH, int cells, int border,
                   const std::function<TColor(int, int, int)>& paint) {
  TBitmap& master = *m.MasterBitmap;
  const int x0 = master.Width();
  master.SetSize(x0 + cellW * cells, std::max(master.Height(), cellH));
  for (int c = 0; c < cells; ++c)
    for (int y = 0; y < cellH; ++y)
      for (int x = 0; x < cellW; ++x) SetPx(master, x0 + c * cellW + x, y, paint(x, y, c));
  TsMaskData md;
  md.SectionName = section;
  md.PropertyName = name;
  md.R = TRect{x0, 0, x0 + cellW * cells, cellH};
  md.ImageCount = static_cast<int16_t>(cells);
  md.MaskType = 0;
  md.ImgType = itisaBorder;
  md.Manager = &m;
  md.WL = md.WT = md.WR = md.WB = static_cast<int16_t>(border);
  m.ma.push_back(std::move(md));
  return static_cast<int>(m.ma.size()) - 1;
}

// The pixels of R that differ between two images.
inline int CountDiffering(TBitmap& a, TBitmap& b, const TRect& r) {
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) n += Px(a, x, y) != Px(b, x, y);
  return n;
}

using testenv::GdiObjectCount;

// The names of the manager's internal skins.
inline std::vector<std::wstring> InternalSkinNames(TsSkinManager& m) {
  std::vector<std::wstring> names;
  for (int i = 0; i < m.InternalSkins()->Count(); ++i)
    names.push_back(m.InternalSkins()->Items(i)->Name());
  return names;
}

// Changes the skin 50 times, each internal skin in turn and every sixth
// change to no skin, running `exercise` after each, and returns the GDI
// object counts after the last change and after the same step of a round of
// twelve changes before (pools and caches reach their size in it; the count
// differs between skinned and unskinned, so only the same step compares).
struct TGdiCounts {
  int settled = 0;
  int after = 0;
};
inline TGdiCounts GdiCountsOverFiftySkinChanges(TsSkinManager& m,
                                                const std::function<void()>& exercise) {
  const std::vector<std::wstring> names = InternalSkinNames(m);
  auto change = [&](int i) {
    if (i % 6 == 5) {
      m.SetActive(false);
    } else {
      m.SetSkinName(names[i % names.size()]);
      m.SetActive(true);
    }
    exercise();
    PumpFor(5);
  };
  int afterStep[6] = {};
  for (int i = 0; i < 12; ++i) {
    change(i);
    afterStep[i % 6] = GdiObjectCount();
  }
  for (int i = 0; i < 50; ++i) change(i);
  return TGdiCounts{afterStep[49 % 6], GdiObjectCount()};
}

}  // namespace skintest
