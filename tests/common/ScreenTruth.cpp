#include "tests/common/ScreenTruth.h"

#include <algorithm>
#include <cstdio>

#include "tests/common/AppDriver.h"
#include "tests/common/TestEnv.h"

namespace testenv {

namespace {

// The skin library's command message and its "are you skinned?" question:
// a skinned control or a window adapter answers 1.
constexpr UINT kSkinCommand = 0xA100;
constexpr WORD kCtrlHandled = 7;
constexpr wchar_t kAdapterProp[] = L"ACSBSC";

// A pixel counts as changed when a channel moves more than this; smaller
// changes are rounding in blends, not a different picture.
constexpr int kChannelTolerance = 16;
// A repaint may differ from the screen in a few pixels (a caret drawn by
// the system's timer just outside its rectangle); more is a stale image.
constexpr int kMaxChangedPixels = 12;
// Shares of pure black that mean "nothing was painted here".
constexpr double kBlackControl = 0.5;
constexpr double kBlackClient = 0.3;

std::string Utf8(const std::wstring& s) {
  if (s.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string RectText(const RECT& r) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
  return buf;
}

std::string Share(double f) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f%%", f * 100.0);
  return buf;
}

bool Changed(DWORD a, DWORD b) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
    if (std::abs(ca - cb) > kChannelTolerance) return true;
  }
  return false;
}

// Screen rectangles whose pixels a check leaves out.
struct Mask {
  std::vector<RECT> rects;
  bool Covers(int x, int y) const {
    const POINT p{x, y};
    return std::any_of(rects.begin(), rects.end(), [&](const RECT& r) { return PtInRect(&r, p) != 0; });
  }
};

std::vector<HWND> VisibleDescendants(HWND top) {
  std::vector<HWND> out;
  for (HWND c : FindChildren(top, L"", /*visibleOnly=*/true))
    if (IsWindowVisible(c)) out.push_back(c);
  return out;
}

// The part of a child window that can show: its rectangle clipped by the
// client areas of its ancestors up to `top`.
RECT VisiblePart(HWND wnd, HWND top) {
  RECT r;
  GetWindowRect(wnd, &r);
  for (HWND p = GetParent(wnd); p; p = GetParent(p)) {
    RECT c;
    GetClientRect(p, &c);
    MapWindowPoints(p, nullptr, reinterpret_cast<POINT*>(&c), 2);
    IntersectRect(&r, &r, &c);
    if (p == top) break;
  }
  return r;
}

RECT ScreenClient(HWND wnd) {
  RECT c;
  GetClientRect(wnd, &c);
  MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&c), 2);
  return c;
}

// Repaints the window and all its children from scratch and waits until no
// update region is left in any of them.
void RepaintWholly(HWND top) {
  RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  const ULONGLONG end = GetTickCount64() + 5000;
  for (;;) {
    Sync(top);
    bool pending = GetUpdateRect(top, nullptr, FALSE) != 0;
    for (HWND c : VisibleDescendants(top)) pending = pending || GetUpdateRect(c, nullptr, FALSE) != 0;
    if (!pending || GetTickCount64() > end) return;
    PumpFor(10);
  }
}

struct BlackCount {
  long black = 0, all = 0;
  double Share() const { return all ? static_cast<double>(black) / all : 0; }
};

BlackCount CountBlack(const ScreenImage& img, RECT r, const Mask& mask) {
  BlackCount n;
  IntersectRect(&r, &r, &img.Rect());
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      if (mask.Covers(x, y)) continue;
      ++n.all;
      n.black += img.At(x, y) == 0;
    }
  return n;
}

bool IsStandardClass(HWND wnd, const std::wstring& cls) {
  // System classes, the framework's controls the form's adapter table takes
  // (list views, grids, buttons, check boxes, group boxes, tree views, combo
  // boxes, edits, list boxes and what descends from them) and panels, which
  // the program adds to the adapter itself.
  static const wchar_t* const kClasses[] = {
      L"Button", L"ListBox", L"ComboBox", L"ComboLBox", L"Edit", L"SysListView32", L"SysTreeView32",
      L"msctls_progress32", L"SysTabControl32", L"msctls_trackbar32", L"msctls_updown32", L"ScrollBar",
      L"ComboBoxEx32", L"RichEdit20W", L"Static", L"TButton", L"TBitBtn", L"TCheckBox", L"TEdit", L"TMemo",
      L"TListBox", L"TCheckListBox", L"TComboBox", L"TListView", L"TTreeView", L"TShellTreeView",
      L"TStringGrid", L"TPanel", L"TGroupBox"};
  // Not in the list, on purpose: tab controls (TTabbedNotebook,
  // TPageControl), progress bars, track bars, up-downs, status bars and
  // radio buttons. The adapter table leaves them to the system, so they
  // rightly show without the skin.
  if (std::none_of(std::begin(kClasses), std::end(kClasses),
                   [&](const wchar_t* c) { return _wcsicmp(c, cls.c_str()) == 0; }))
    return false;
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  if (_wcsicmp(cls.c_str(), L"Static") == 0) {
    // Rectangles, bitmaps and owner-drawn statics paint themselves.
    const LONG_PTR type = style & SS_TYPEMASK;
    return !(type == SS_GRAYRECT || type == SS_WHITERECT || type == SS_BLACKRECT || type == SS_SIMPLE ||
             type == SS_OWNERDRAW || type == SS_BITMAP || type == SS_ENHMETAFILE || type == SS_ETCHEDHORZ ||
             type == SS_ETCHEDVERT || type == SS_ETCHEDFRAME);
  }
  if (_wcsicmp(cls.c_str(), L"Button") == 0) {
    const LONG_PTR type = style & BS_TYPEMASK;
    return type != BS_OWNERDRAW && type < 0x0C;  // split and command-link buttons paint themselves
  }
  return true;
}

bool WearsSkin(HWND wnd) {
  if (GetPropW(wnd, kAdapterProp)) return true;
  DWORD_PTR answer = 0;
  return SendMessageTimeoutW(wnd, kSkinCommand, MAKEWPARAM(0, kCtrlHandled), 0, SMTO_ABORTIFHUNG, 5000, &answer) &&
         answer == 1;
}

// Parks the pointer where no window of the program lies, so no control
// shows its hot look; returns the point.
void ParkPointer() {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  SetCursorPos(w - 1, h - 1);
}

void CheckTop(HWND top, const std::vector<HWND>& above, std::vector<std::string>& out) {
  RECT wr;
  GetWindowRect(top, &wr);
  if (IsRectEmpty(&wr)) return;
  Mask mask;
  for (HWND a : above) {
    RECT r;
    GetWindowRect(a, &r);
    mask.rects.push_back(r);
  }
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gui) && gui.hwndCaret) {
    RECT caret = gui.rcCaret;
    MapWindowPoints(gui.hwndCaret, nullptr, reinterpret_cast<POINT*>(&caret), 2);
    InflateRect(&caret, 2, 2);
    mask.rects.push_back(caret);
  }
  POINT cursor;
  if (GetCursorPos(&cursor)) {
    if (HWND hot = WindowFromPoint(cursor); hot && (hot == top || IsChild(top, hot))) {
      RECT r;
      GetWindowRect(hot, &r);
      if (hot != top) mask.rects.push_back(r);
    }
  }

  bool settled = false;
  const ScreenImage seen = SettledScreen(wr, 4000, &settled);
  const std::string name = Describe(top);
  if (!settled) out.push_back(name + ": the screen never settled");

  // Black: nothing painted where a window shows.
  const BlackCount client = CountBlack(seen, ScreenClient(top), mask);
  if (client.all > 0 && client.Share() > kBlackClient)
    out.push_back(name + ": " + Share(client.Share()) + " of its client area is black (not painted)");
  for (HWND c : VisibleDescendants(top)) {
    const RECT part = VisiblePart(c, top);
    if (IsRectEmpty(&part)) continue;
    const BlackCount n = CountBlack(seen, part, mask);
    if (n.all >= 64 && n.Share() > kBlackControl)
      out.push_back(name + " > " + Describe(c) + ": " + Share(n.Share()) + " black (not painted) at " +
                    RectText(part));
  }

  // Standard controls wear the skin.
  for (HWND c : VisibleDescendants(top)) {
    const RECT part = VisiblePart(c, top);
    if (IsRectEmpty(&part)) continue;
    if (IsStandardClass(c, ClassOf(c)) && !WearsSkin(c))
      out.push_back(name + " > " + Describe(c) + ": standard control without the skin (no \"ACSBSC\" adapter, "
                    "not a skinned control) at " + RectText(part));
  }

  // The screen equals the window's own whole repaint.
  RepaintWholly(top);
  const ScreenImage painted = SettledScreen(wr, 4000, &settled);
  long changed = 0, all = 0;
  RECT box{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
  for (int y = wr.top; y < wr.bottom; ++y)
    for (int x = wr.left; x < wr.right; ++x) {
      if (mask.Covers(x, y)) continue;
      ++all;
      if (!Changed(seen.At(x, y), painted.At(x, y))) continue;
      ++changed;
      box.left = std::min<LONG>(box.left, x);
      box.top = std::min<LONG>(box.top, y);
      box.right = std::max<LONG>(box.right, x + 1);
      box.bottom = std::max<LONG>(box.bottom, y + 1);
    }
  if (changed > kMaxChangedPixels) {
    const std::wstring dump = GetEnv(L"SCREENTRUTH_DUMP");
    if (!dump.empty()) {
      const std::wstring stem = dump + L"\\" + std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(
                                                   reinterpret_cast<UINT_PTR>(top));
      seen.Save(stem + L"-screen.bmp");
      painted.Save(stem + L"-repaint.bmp");
      out.push_back(name + ": images saved as " + Utf8(stem) + "-screen.bmp / -repaint.bmp");
    }
    const POINT centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    HWND at = WindowFromPoint(centre);
    out.push_back(name + ": screen differs from the window's own repaint in " + Share(static_cast<double>(changed) / all) +
                  " of its pixels (" + std::to_string(changed) + "), within " + RectText(box) +
                  (at ? ", around " + Describe(at) : std::string()));
  }
}

}  // namespace

ScreenImage::ScreenImage(const RECT& r) : rect_(r) {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  pixels_.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bmp && bits) {
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = p[i] & 0xFFFFFF;
    SelectObject(mem, old);
  }
  if (bmp) DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

bool ScreenImage::Save(const std::wstring& path) const {
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = Width();
  info.biHeight = -Height();
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  const DWORD bytes = static_cast<DWORD>(pixels_.size() * sizeof(DWORD));
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + bytes;
  std::string data(reinterpret_cast<const char*>(&file), sizeof file);
  data.append(reinterpret_cast<const char*>(&info), sizeof info);
  data.append(reinterpret_cast<const char*>(pixels_.data()), bytes);
  return WriteFileBytes(path, data);
}

ScreenImage SettledScreen(const RECT& r, DWORD timeoutMs, bool* settled) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  ScreenImage last(r);
  int agreeing = 0;
  while (agreeing < 3) {
    if (GetTickCount64() > end) {
      if (settled) *settled = false;
      return last;
    }
    PumpFor(30);
    ScreenImage now(r);
    agreeing = now == last ? agreeing + 1 : 0;
    last = std::move(now);
  }
  if (settled) *settled = true;
  return last;
}

std::vector<HWND> VisibleTopWindows(DWORD pid) {
  struct State {
    DWORD pid;
    std::vector<HWND> found;
  } s{pid, {}};
  EnumWindows(
      [](HWND wnd, LPARAM lp) -> BOOL {
        auto* st = reinterpret_cast<State*>(lp);
        DWORD owner = 0;
        GetWindowThreadProcessId(wnd, &owner);
        if (owner == st->pid && IsWindowVisible(wnd)) st->found.push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&s));
  return s.found;
}

std::vector<std::string> CheckScreenTruth(DWORD pid) {
  ParkPointer();
  std::vector<std::string> out;
  const std::vector<HWND> tops = VisibleTopWindows(pid);
  for (size_t i = 0; i < tops.size(); ++i) {
    if (tops[i]) Sync(tops[i]);
  }
  // Hints come and go with the pointer: they hide what lies below them but
  // are not judged themselves.
  for (size_t i = 0; i < tops.size(); ++i) {
    if (ClassOf(tops[i]).find(L"Hint") != std::wstring::npos) continue;
    const std::vector<HWND> above(tops.begin(), tops.begin() + static_cast<long>(i));
    // A window that gains or loses activation while it is looked at changes
    // its look between the two images: it is looked at again (a few times
    // at most), once activation has stayed put for a whole check.
    std::vector<std::string> found;
    for (int attempt = 0; attempt < 3; ++attempt) {
      found.clear();
      const HWND active = GetForegroundWindow();
      CheckTop(tops[i], above, found);
      if (GetForegroundWindow() == active) break;
    }
    out.insert(out.end(), found.begin(), found.end());
  }
  return out;
}

std::string Describe(HWND wnd) {
  return Utf8(ClassOf(wnd)) + " '" + Utf8(WindowText(wnd)) + "'";
}

}  // namespace testenv
