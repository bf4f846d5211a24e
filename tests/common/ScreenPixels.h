// What the screen shows of a window's client area, read back as plain
// pixels. Under Xvfb what no window painted reads back as black, so the
// share of black pixels tells whether a window's WM_PAINT drew its client.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "tests/common/Pump.h"

namespace testenv {

struct ScreenPixels {
  int Width = 0, Height = 0;
  std::vector<uint32_t> Bits;  // 0x00RRGGBB, top row first

  uint32_t At(int x, int y) const { return Bits[static_cast<size_t>(y) * Width + x]; }
  bool operator==(const ScreenPixels& o) const {
    return Width == o.Width && Height == o.Height && Bits == o.Bits;
  }
  // Share of the whole 8 x 8 tiles that are pure black, 0..1: areas that
  // nothing painted, not black text or icon outlines.
  double BlackShare() const {
    constexpr int kTile = 8;
    int tiles = 0, black = 0;
    for (int ty = 0; ty + kTile <= Height; ty += kTile)
      for (int tx = 0; tx + kTile <= Width; tx += kTile) {
        ++tiles;
        bool all = true;
        for (int y = ty; y < ty + kTile && all; ++y)
          for (int x = tx; x < tx + kTile && all; ++x) all = At(x, y) == 0;
        black += all;
      }
    return tiles ? static_cast<double>(black) / tiles : 0;
  }
};

// Reads `rect` (screen coordinates) from the screen, or, with `source` set,
// from that DC's `rect` (its own coordinates).
inline ScreenPixels ReadPixels(HDC source, const RECT& rect) {
  ScreenPixels out;
  out.Width = rect.right - rect.left;
  out.Height = rect.bottom - rect.top;
  if (out.Width <= 0 || out.Height <= 0) return out;
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = out.Width;
  bi.bmiHeader.biHeight = -out.Height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, bmp);
  const bool screen = source == nullptr;
  HDC from = screen ? GetDC(nullptr) : source;
  BitBlt(mem, 0, 0, out.Width, out.Height, from, rect.left, rect.top, SRCCOPY);
  if (screen) ReleaseDC(nullptr, from);
  GdiFlush();
  const auto* p = static_cast<const uint32_t*>(bits);
  out.Bits.assign(p, p + static_cast<size_t>(out.Width) * out.Height);
  for (uint32_t& v : out.Bits) v &= 0xFFFFFF;
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bmp);
  return out;
}

// The window's client area in screen coordinates.
inline RECT ClientOnScreen(HWND wnd) {
  RECT r{};
  GetClientRect(wnd, &r);
  MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

// The screen's image of the window's client area once it stops changing:
// the screen lags behind drawing, so it is read again, with `pump` run in
// between (this thread's message loop unless told otherwise), until two
// reads agree or `timeoutMs` has passed.
inline ScreenPixels SettledClientOnScreen(HWND wnd,
                                          const std::function<void(DWORD)>& pump = PumpFor,
                                          DWORD timeoutMs = 5000) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  ScreenPixels last = ReadPixels(nullptr, ClientOnScreen(wnd));
  while (GetTickCount64() < end) {
    pump(60);
    ScreenPixels now = ReadPixels(nullptr, ClientOnScreen(wnd));
    if (now == last) return now;
    last = std::move(now);
  }
  return last;
}

// Prints `wnd` at `origin` of `dc` (window coordinates), then each visible
// child window at its place, bottom of the z-order first.
inline void PrintWithChildren(HWND wnd, HDC dc, POINT origin) {
  POINT old{};
  SetViewportOrgEx(dc, origin.x, origin.y, &old);
  SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_NONCLIENT | PRF_ERASEBKGND);
  SetViewportOrgEx(dc, old.x, old.y, nullptr);
  RECT wr{};
  GetWindowRect(wnd, &wr);
  HWND top = GetTopWindow(wnd);
  for (HWND c = top ? GetWindow(top, GW_HWNDLAST) : nullptr; c; c = GetWindow(c, GW_HWNDPREV)) {
    if (!(GetWindowLongPtrW(c, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT cr{};
    GetWindowRect(c, &cr);
    const int saved = SaveDC(dc);
    const POINT at{origin.x + cr.left - wr.left, origin.y + cr.top - wr.top};
    IntersectClipRect(dc, at.x, at.y, at.x + cr.right - cr.left, at.y + cr.bottom - cr.top);
    PrintWithChildren(c, dc, at);
    RestoreDC(dc, saved);
  }
}

// The window's client area as WM_PRINT draws it and its child windows,
// each printed at its place, cut to the client rectangle.
inline ScreenPixels PrintedClient(HWND wnd) {
  RECT wr{};
  GetWindowRect(wnd, &wr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(mem, bmp);
  RECT all{0, 0, w, h};
  FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  PrintWithChildren(wnd, mem, POINT{0, 0});
  RECT client = ClientOnScreen(wnd);
  OffsetRect(&client, -wr.left, -wr.top);
  ScreenPixels out = ReadPixels(mem, client);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  return out;
}

}  // namespace testenv
