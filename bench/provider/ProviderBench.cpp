// Times the form skin provider on a real 627 x 460 form with an internal
// skin, in one run:
// - PaintAll (the whole frame, caption and client background into the
//   cache) against a memcpy of the window's pixels;
// - one activation switch (WM_NCACTIVATE off and on): how often the frame
//   and the client are painted;
// - a 50-step move that keeps the size: how many SetWindowRgn calls it
//   makes (counted through the program's own import of the function).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/common/BenchSkin.h"
#include "bench/common/BenchTiming.h"
#include "framework/Forms.h"
#include "skin/engine/InternalSkins.h"
#include "skin/engine/SkinManager.h"
#include "skin/windows/SkinProvider.h"

namespace {

int setWindowRgnCalls = 0;
using SetWindowRgnFn = int(WINAPI*)(HWND, HRGN, BOOL);
SetWindowRgnFn realSetWindowRgn = nullptr;

int WINAPI CountingSetWindowRgn(HWND wnd, HRGN rgn, BOOL redraw) {
  ++setWindowRgnCalls;
  return realSetWindowRgn(wnd, rgn, redraw);
}

// Points this program's import of user32!SetWindowRgn at the counter.
bool CountSetWindowRgn() {
  auto* base = reinterpret_cast<BYTE*>(::GetModuleHandleW(nullptr));
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  auto* imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
  for (; imp->Name; ++imp) {
    if (_stricmp(reinterpret_cast<char*>(base + imp->Name), "user32.dll") != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<char*>(byName->Name), "SetWindowRgn") != 0) continue;
      DWORD old = 0;
      ::VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), PAGE_READWRITE, &old);
      realSetWindowRgn = reinterpret_cast<SetWindowRgnFn>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(&CountingSetWindowRgn);
      ::VirtualProtect(&slots->u1.Function, sizeof(slots->u1.Function), old, &old);
      return true;
    }
  }
  return false;
}

}  // namespace

int wmain() {
  const bool counting = CountSetWindowRgn();
  std::unique_ptr<TsSkinManager> manager = bench::StartWithInternalSkin();

  TForm* form = Construct<TForm>(Application);
  form->SetCaption(L"Tarnholt");
  form->SetBounds(100, 100, 627, 460);
  auto* provider = Construct<TsSkinProvider>(form);
  form->Show();
  bench::Pump();
  HWND wnd = form->WindowHandle();

  // PaintAll against copying the window's pixels once.
  const size_t bytes = size_t{627} * 460 * 4;
  std::vector<char> from(bytes, 1), to(bytes);
  const double copy = bench::MedianMicrosPerCall([&] { std::memcpy(to.data(), from.data(), bytes); }, 200);
  const double paintAll = bench::MedianMicrosPerCall(
      [&] {
        provider->SkinData->BGChanged = true;
        provider->PaintAll();
      },
      50);
  std::printf("PaintAll 627 x 460: %.1f us; memcpy of its pixels: %.1f us; ratio %.1fx (goal 10x)\n",
              paintAll, copy, paintAll / copy);

  // An activation switch: frame and client paints seen by the form.
  int ncPaints = 0, paints = 0;
  TWndProcHook counter(form, [&](TMessage& m, const TWndMethod& next) {
    ncPaints += m.Msg == WM_NCPAINT;
    paints += m.Msg == WM_PAINT;
    next(m);
  });
  bench::Pump();
  ncPaints = paints = 0;
  ::SendMessageW(wnd, WM_NCACTIVATE, FALSE, 0);
  bench::Pump();
  const int offNc = ncPaints, offPaint = paints;
  ncPaints = paints = 0;
  ::SendMessageW(wnd, WM_NCACTIVATE, TRUE, 0);
  bench::Pump();
  std::printf("activation off: %d frame paint(s), %d client paint(s); on: %d frame, %d client "
              "(goal: one frame paint each, no client paint)\n",
              offNc, offPaint, ncPaints, paints);
  counter.Detach();

  // A move that keeps the size.
  if (counting) {
    setWindowRgnCalls = 0;
    for (int i = 0; i < 50; ++i) {
      ::SetWindowPos(wnd, nullptr, 100 + 4 * i, 100 + 2 * i, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      bench::Pump();
    }
    const int moveCalls = setWindowRgnCalls;
    // A size change must set the region again: shows the count is live.
    ::SetWindowPos(wnd, nullptr, 0, 0, 640, 470, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    bench::Pump();
    std::printf("50-step move: %d SetWindowRgn call(s) (goal 0); one resize: %d\n", moveCalls,
                setWindowRgnCalls - moveCalls);
  } else {
    std::printf("50-step move: SetWindowRgn could not be counted\n");
  }
  delete form;
  return 0;
}
