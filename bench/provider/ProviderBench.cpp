// Times the form skin provider on a real 627 x 460 form with an internal
// skin, in one run:
// - PaintAll (the whole frame, caption and client background into the
//   cache) against a memcpy of the window's pixels;
// - one activation switch (WM_NCACTIVATE off and on): how often the frame
//   and the client are painted;
// - a 50-step move that keeps the size: how many SetWindowRgn calls it
//   makes (the provider counts the regions it gives its window).
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

int wmain() {
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
  const int before = provider->SetWindowRgnCalls;
  for (int i = 0; i < 50; ++i) {
    ::SetWindowPos(wnd, nullptr, 100 + 4 * i, 100 + 2 * i, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    bench::Pump();
  }
  const int moveCalls = provider->SetWindowRgnCalls - before;
  // A size change must set the region again: shows the count is live.
  ::SetWindowPos(wnd, nullptr, 0, 0, 640, 470, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  bench::Pump();
  std::printf("50-step move: %d SetWindowRgn call(s) (goal 0); one resize: %d\n", moveCalls,
              provider->SetWindowRgnCalls - before - moveCalls);
  delete form;
  return 0;
}
