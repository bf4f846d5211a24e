// Times, in the same run, and prints the ratios:
// - the skinned bars and corner box of a 300 x 300 window with both scroll
//   bars painted into a memory DC, against a WM_PRINT of the same window,
//   frame and client, without the adapter, and a whole WM_NCPAINT of the
//   adapted window against that of the bare one (Wine's WM_PRINT leaves the
//   frame out, so the second pair is the one that compares like with like);
// - a stream of 100,000 WM_USER messages sent to an adapted window against
//   the same stream sent to the bare window.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "bench/common/BenchSkin.h"
#include "bench/common/BenchTiming.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "skin/engine/InternalSkins.h"
#include "skin/engine/SkinManager.h"
#include "skin/windows/ScrollWnd.h"

using bench::Now;

namespace {

double Time(const std::function<void()>& fn, int reps, int runs = 9) {
  return bench::MedianMicrosPerCall(fn, reps, runs);
}

LRESULT CALLBACK PlainProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_USER) return static_cast<LRESULT>(w + 1);
  return ::DefWindowProcW(wnd, msg, w, l);
}

HWND MakeWindow() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ScrollBarsBench";
    ::RegisterClassW(&wc);
    registered = true;
  }
  HWND wnd = ::CreateWindowExW(0, L"ScrollBarsBench", L"", WS_POPUP | WS_BORDER | WS_HSCROLL |
                               WS_VSCROLL, 20, 20, 300, 300, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
  SCROLLINFO si{sizeof(si), SIF_ALL, 0, 99, 10, 30, 0};
  ::SetScrollInfo(wnd, SB_VERT, &si, FALSE);
  ::SetScrollInfo(wnd, SB_HORZ, &si, FALSE);
  ::ShowWindow(wnd, SW_SHOWNOACTIVATE);
  return wnd;
}

}  // namespace

int wmain() {
  std::unique_ptr<TsSkinManager> manager = bench::StartWithInternalSkin();
  if (manager->GetSkinIndex(L"SCROLLBAR1V") < 0) {
    std::printf("the internal skin did not load\n");
    return 1;
  }

  HWND wnd = MakeWindow();
  UniqueWindowDC screen = UniqueWindowDC::Client(nullptr);
  UniqueMemDC mem = CreateMemDC(screen.get());
  UniqueBitmap bmp(::CreateCompatibleBitmap(screen.get(), 300, 300));
  HGDIOBJ old = ::SelectObject(mem.get(), bmp.get());

  const int paintReps = 200;
  const double bare = Time([&] {
    ::SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(mem.get()),
                   PRF_NONCLIENT | PRF_CLIENT | PRF_ERASEBKGND);
  }, paintReps);
  const int messages = 100000;
  LRESULT sink = 0;
  const double bareMsg = Time([&] {
    for (int i = 0; i < messages; ++i) sink += ::SendMessageW(wnd, WM_USER, i, 0);
  }, 1, 5);

  const double bareNc = Time([&] { ::SendMessageW(wnd, WM_NCPAINT, 1, 0); }, 20);
  TacScrollWndPtr adapter = TacMainWnd::Create<TacScrollWnd>(wnd, nullptr, manager.get(), L"EDIT");
  const double skinned = Time([&] { PaintScrollBars(adapter.get(), wnd, mem.get(), -1); },
                              paintReps);
  const double ncPaint = Time([&] { ::SendMessageW(wnd, WM_NCPAINT, 1, 0); }, 20);
  const double adaptedMsg = Time([&] {
    for (int i = 0; i < messages; ++i) sink += ::SendMessageW(wnd, WM_USER, i, 0);
  }, 1, 5);

  std::printf("non-client paint of a 300 x 300 window with both bars:\n");
  std::printf("  WM_PRINT without adapter           %9.1f us\n", bare);
  std::printf("  WM_NCPAINT without adapter         %9.1f us\n", bareNc);
  std::printf("  skinned bars into a memory DC      %9.1f us   ratio to WM_PRINT %.2f\n", skinned,
              skinned / bare);
  std::printf("  WM_NCPAINT with adapter            %9.1f us   ratio to WM_NCPAINT %.2f\n", ncPaint,
              ncPaint / bareNc);
  std::printf("100,000 WM_USER messages:\n");
  std::printf("  bare window                     %9.1f ms\n", bareMsg / 1000);
  std::printf("  adapted window                  %9.1f ms   ratio %.2f\n", adaptedMsg / 1000,
              adaptedMsg / bareMsg);
  std::printf("(checksum %lld)\n", static_cast<long long>(sink));

  ::SelectObject(mem.get(), old);
  adapter.reset();
  ::DestroyWindow(wnd);
  return 0;
}
