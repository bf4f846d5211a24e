// Helpers for the skinned controls' tests: a control's image through
// WM_PRINT into a memory bitmap, and the process's GDI object count.
#pragma once

#include <windows.h>
#include <winternl.h>

#include <memory>

#include "framework/Controls.h"
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

// GDI objects of this process: the used entries of the GDI shared handle
// table that the process environment block points to (GetGuiResources is
// a stub under Wine).
inline int GdiObjectCount() {
  struct Entry {
    UINT64 Object;
    ULONG Owner;
    USHORT Unique;
    UCHAR Type;
    UCHAR Flags;
    UINT64 UserPointer;
  };
  static_assert(sizeof(Entry) == 24);
  // The TEB read with its own instruction: NtCurrentTeb() inlined into a
  // caller trips GCC's -Warray-bounds at -O3.
  TEB* teb = nullptr;
  asm volatile("movq %%gs:0x30, %0" : "=r"(teb));
  auto* peb = reinterpret_cast<BYTE*>(teb->ProcessEnvironmentBlock);
  auto* table = *reinterpret_cast<Entry**>(peb + 0xF8);
  if (!table) return -1;
  // Wine keeps the table in the process and leaves Owner at 0, so every
  // used entry is ours.
  int n = 0;
  for (int i = 0; i < 0x10000; ++i)
    if (table[i].Type != 0) ++n;
  return n;
}

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
