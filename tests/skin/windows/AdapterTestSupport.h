// Shared pieces of the window-adapter tests: a probe window class that
// records what reaches its own procedure, a skin manager with an internal
// skin, and the process's GDI object count.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/common/GdiCount.h"
#include "tests/common/Pump.h"
#include "skin/engine/SkinMessages.h"
#include "tests/skin/engine/SkinTestSupport.h"

namespace adaptertest {

// One message as the probe's own procedure saw it.
struct Seen {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  bool operator==(const Seen&) const = default;
};

// Messages the probe records (everything else only passes).
inline bool Recorded(UINT msg) {
  switch (msg) {
    case WM_COMMAND: case WM_NOTIFY: case WM_HSCROLL: case WM_VSCROLL:
    case WM_KEYDOWN: case WM_KEYUP: case WM_CHAR: case WM_DESTROY: case SM_ALPHACMD:
    case WM_USER: case WM_TIMER:
      return true;
  }
  return false;
}

inline std::vector<Seen>& Log() {
  static std::vector<Seen> log;
  return log;
}

// Called from the probe's WM_VSCROLL / WM_HSCROLL (e.g. to destroy itself).
inline void (*&OnScroll())(HWND) {
  static void (*hook)(HWND) = nullptr;
  return hook;
}

inline LRESULT CALLBACK ProbeProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
  if (Recorded(msg)) Log().push_back(Seen{msg, w, l});
  if ((msg == WM_VSCROLL || msg == WM_HSCROLL) && OnScroll()) OnScroll()(wnd);
  if (msg == WM_USER) return 42;
  return ::DefWindowProcW(wnd, msg, w, l);
}

inline const wchar_t* ProbeClass() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = L"TarnholtAdapterProbe";
    ::RegisterClassW(&wc);
    registered = true;
  }
  return L"TarnholtAdapterProbe";
}

// A top-level probe window with a frame and, on request, both bars.
inline HWND MakeProbe(bool bars, int w = 300, int h = 300, bool show = false) {
  DWORD style = WS_POPUP | WS_BORDER | (bars ? WS_HSCROLL | WS_VSCROLL : 0);
  HWND wnd = ::CreateWindowExW(0, ProbeClass(), L"", style, 40, 40, w, h, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
  if (bars) {
    SCROLLINFO si{sizeof(si), SIF_ALL, 0, 99, 10, 0, 0};
    ::SetScrollInfo(wnd, SB_VERT, &si, FALSE);
    ::SetScrollInfo(wnd, SB_HORZ, &si, FALSE);
  }
  if (show) ::ShowWindow(wnd, SW_SHOWNOACTIVATE);
  return wnd;
}

// Skin commands the probe saw, as their command numbers.
inline std::vector<WORD> SkinCmds() {
  std::vector<WORD> out;
  for (const Seen& s : Log())
    if (s.Msg == SM_ALPHACMD) out.push_back(HIWORD(s.WParam));
  return out;
}

using testenv::PumpFor;
using testenv::PumpUntil;

using testenv::GdiObjectCount;

inline skintest::ManagerPtr InternalSkinManager() {
  return skintest::LoadedManager(L"WLM (internal)", skintest::FixtureSkinDir(), true);
}

}  // namespace adaptertest
