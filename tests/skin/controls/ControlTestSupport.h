// Helpers for the skinned controls' tests: a control's image through
// WM_PRINT into a memory bitmap, and the process's GDI object count.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>

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

using testenv::GdiObjectCount;

// Runs the message loop for about `ms` milliseconds.
inline void PumpFor(int ms) {
  const DWORD start = ::GetTickCount();
  do {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    ::Sleep(2);
  } while (static_cast<int>(::GetTickCount() - start) < ms);
}

}  // namespace skintest
