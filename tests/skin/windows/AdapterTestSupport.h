// Shared pieces of the window-adapter tests: a probe window class that
// records what reaches its own procedure, a modeless system dialog built
// from a template in memory, a skin manager with an internal skin, and the
// process's GDI object count.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
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

// A modeless dialog ("#32770") with the given styles, caption and one push
// button, from a template in memory.
inline HWND MakeDialog(DWORD style, DLGPROC proc, const wchar_t* caption, int buttonId,
                       const wchar_t* buttonText) {
  alignas(4) static WORD buf[256];
  std::fill(std::begin(buf), std::end(buf), WORD(0));
  auto* t = reinterpret_cast<DLGTEMPLATE*>(buf);
  t->style = style | DS_SETFONT;
  t->cdit = 1;
  t->x = 10;
  t->y = 10;
  t->cx = 200;
  t->cy = 120;
  WORD* p = reinterpret_cast<WORD*>(t + 1);
  *p++ = 0;  // no menu
  *p++ = 0;  // standard class
  for (const wchar_t* c = caption; (*p++ = *c) != 0; ++c) {}
  *p++ = 8;
  for (const wchar_t* c = L"MS Shell Dlg"; (*p++ = *c) != 0; ++c) {}
  p = reinterpret_cast<WORD*>((reinterpret_cast<uintptr_t>(p) + 3) & ~uintptr_t(3));
  auto* item = reinterpret_cast<DLGITEMTEMPLATE*>(p);
  item->style = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON | WS_TABSTOP;
  item->x = 70;
  item->y = 90;
  item->cx = 60;
  item->cy = 14;
  item->id = static_cast<WORD>(buttonId);
  p = reinterpret_cast<WORD*>(item + 1);
  *p++ = 0xFFFF;
  *p++ = 0x0080;  // button
  for (const wchar_t* c = buttonText; (*p++ = *c) != 0; ++c) {}
  *p++ = 0;  // no creation data
  return ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), t, nullptr, proc, 0);
}

using testenv::PumpFor;
using testenv::PumpUntil;

using testenv::GdiObjectCount;

inline skintest::ManagerPtr InternalSkinManager() {
  return skintest::LoadedManager(L"WLM (internal)", skintest::FixtureSkinDir(), true);
}

}  // namespace adaptertest
