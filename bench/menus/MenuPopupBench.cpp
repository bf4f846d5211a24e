// Times a 20-item popup menu opened with TrackPopupMenu, painted and closed
// again (EndMenu from the menu loop's first idle moment), once as the
// system's plain menu and once skinned by the menu skinner with an internal
// skin, in the same run, and prints the ratio.
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "bench/common/BenchSkin.h"
#include "bench/common/BenchTiming.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "skin/engine/InternalSkins.h"
#include "skin/engine/SkinManager.h"

using bench::Now;

namespace {

// Closes the menu as soon as it is shown and painted.
LRESULT CALLBACK CloseOnIdle(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                             DWORD_PTR) {
  if (msg == WM_ENTERIDLE && wParam == MSGF_MENU) {
    ::UpdateWindow(reinterpret_cast<HWND>(lParam));
    ::EndMenu();
  }
  return ::DefSubclassProc(wnd, msg, wParam, lParam);
}

// Median milliseconds of one open, paint and close, over `runs` runs of
// `reps` popups.
double TimePopups(TPopupMenu* menu, int reps, int runs = 7) {
  HWND owner = TPopupMenu::WindowHandle();
  ::SetWindowSubclass(owner, CloseOnIdle, 1, 0);
  auto once = [&] {
    menu->Popup(40, 40);
    Application->ProcessMessages();
  };
  once();  // warm up
  std::vector<double> t;
  for (int r = 0; r < runs; ++r) {
    double start = Now();
    for (int i = 0; i < reps; ++i) once();
    t.push_back((Now() - start) * 1e3 / reps);
  }
  ::RemoveWindowSubclass(owner, CloseOnIdle, 1);
  std::sort(t.begin(), t.end());
  return t[t.size() / 2];
}

}  // namespace

int wmain() {
  std::unique_ptr<TsSkinManager> manager = bench::StartWithInternalSkin(false);

  TForm* form = Construct<TForm>(Application);
  auto* menu = Construct<TPopupMenu>(form);
  for (int i = 0; i < 20; ++i) {
    auto* item = Construct<TMenuItem>(form);
    item->SetCaption(L"Пункт меню " + std::to_wstring(i + 1));
    if (i % 5 == 4) item->SetShortCut(ShortCut('A' + i, ssCtrl));
    if (i == 2) item->SetChecked(true);
    if (i == 7) item->SetEnabled(false);
    menu->Items()->Add(item);
  }

  const int reps = 20;
  const double plain = TimePopups(menu, reps);
  manager->SetActive(true);
  const double skinned = TimePopups(menu, reps);
  std::printf("20-item popup, open + paint + close (median of 7 x %d):\n", reps);
  std::printf("  plain   %8.3f ms\n", plain);
  std::printf("  skinned %8.3f ms\n", skinned);
  std::printf("  ratio   %8.2f (goal: within 3)\n", skinned / plain);

  delete form;
  manager.reset();
  DoneFramework();
  return 0;
}
