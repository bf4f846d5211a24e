// Owner-drawn scroll bars on a real window: room taken from the client
// area, hit testing, painting from the skin, arrow presses with auto-repeat,
// thumb drags, the scroll-message brackets, and the window going away in
// the middle of a track.
#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/Forms.h"
#include "framework/Handles.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/SkinManager.h"
#include "skin/windows/ScrollWnd.h"
#include "tests/skin/engine/PixelTestUtil.h"
#include "tests/skin/windows/AdapterTestSupport.h"

using namespace adaptertest;

namespace {

class ScrollBars : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    manager = InternalSkinManager();
    wnd = MakeProbe(true, 300, 300, true);
    adapter = TacMainWnd::Create<TacScrollWnd>(wnd, nullptr, manager.get(), L"EDIT");
    Log().clear();
  }
  void TearDown() override {
    OnScroll() = nullptr;
    adapter.reset();
    if (::IsWindow(wnd)) ::DestroyWindow(wnd);
    PumpFor(20);
  }

  TRect Bar(WORD type) {
    TRect r{};
    if (type == SB_VERT)
      GetVScrollRect(adapter.get(), wnd, r);
    else
      GetHScrollRect(adapter.get(), wnd, r);
    return r;
  }
  static LPARAM At(TPoint p) { return MAKELPARAM(p.x, p.y); }
  TPoint ToClient(TPoint p) {
    ::ScreenToClient(wnd, &p);
    return p;
  }
  // The scroll messages and their brackets, in order.
  static std::vector<Seen> Scrolls() {
    std::vector<Seen> out;
    for (const Seen& s : Log()) {
      if (s.Msg == WM_VSCROLL || s.Msg == WM_HSCROLL) out.push_back(s);
      if (s.Msg == SM_ALPHACMD && (HIWORD(s.WParam) == AC_BEFORESCROLL ||
                                   HIWORD(s.WParam) == AC_AFTERSCROLL))
        out.push_back(s);
    }
    return out;
  }
  static int CountCode(UINT msg, int code) {
    int n = 0;
    for (const Seen& s : Log()) n += s.Msg == msg && LOWORD(s.WParam) == code;
    return n;
  }
  // Every scroll message sits between its two brackets.
  static void ExpectBracketed(UINT msg) {
    std::vector<Seen> s = Scrolls();
    ASSERT_EQ(s.size() % 3, 0u);
    for (size_t i = 0; i < s.size(); i += 3) {
      EXPECT_EQ(s[i].Msg, SM_ALPHACMD);
      EXPECT_EQ(HIWORD(s[i].WParam), AC_BEFORESCROLL);
      EXPECT_EQ(s[i + 1].Msg, msg);
      EXPECT_EQ(s[i + 2].Msg, SM_ALPHACMD);
      EXPECT_EQ(HIWORD(s[i + 2].WParam), AC_AFTERSCROLL);
      EXPECT_EQ(s[i + 2].LParam, MAKELPARAM(LOWORD(s[i + 1].WParam), msg));
    }
  }
  TPoint DownArrow() {
    TRect v = Bar(SB_VERT);
    return TPoint{(v.left + v.right) / 2, v.bottom - 4};
  }

  skintest::ManagerPtr manager;
  HWND wnd = nullptr;
  TacScrollWndPtr adapter;
};

TEST_F(ScrollBars, ClientAreaGivesUpTheBarsRoom) {
  HWND plain = MakeProbe(false);
  TRect bare{}, skinned{};
  ::GetClientRect(plain, &bare);
  ::GetClientRect(wnd, &skinned);
  ::DestroyWindow(plain);
  EXPECT_TRUE(adapter->HBar->Visible);
  EXPECT_TRUE(adapter->VBar->Visible);
  EXPECT_EQ(skinned.right, bare.right - ::GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(skinned.bottom, bare.bottom - ::GetSystemMetrics(SM_CYHSCROLL));
  // The style keeps both bars: the system still holds their ranges.
  EXPECT_TRUE(::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(ScrollBars, HitTestsBarsCornerAndClient) {
  TRect v = Bar(SB_VERT), h = Bar(SB_HORZ), c{};
  ::GetClientRect(wnd, &c);
  ::MapWindowPoints(wnd, nullptr, reinterpret_cast<POINT*>(&c), 2);
  auto hit = [&](TPoint p) { return ::SendMessageW(wnd, WM_NCHITTEST, 0, At(p)); };
  EXPECT_EQ(hit({(v.left + v.right) / 2, (v.top + v.bottom) / 2}), HTVSCROLL);
  EXPECT_EQ(hit({(h.left + h.right) / 2, (h.top + h.bottom) / 2}), HTHSCROLL);
  EXPECT_EQ(hit({v.left + 2, h.top + 2}), HTBOTTOMRIGHT);  // a top-level window's grip
  EXPECT_EQ(hit({(c.left + c.right) / 2, (c.top + c.bottom) / 2}), HTCLIENT);
}

// Within two steps per channel: the track's image may shade its colour.
bool NearColor(TColor a, TColor b) {
  for (int shift : {0, 8, 16})
    if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 2)
      return false;
  return true;
}

TEST_F(ScrollBars, PaintedPixelsComeFromTheSkin) {
  const TColor track = skintest::Section(*manager, L"SCROLLBAR2V").Color;
  for (int sys : {COLOR_SCROLLBAR, COLOR_BTNFACE, COLOR_3DLIGHT})
    ASSERT_FALSE(NearColor(track, ::GetSysColor(sys)));
  TRect w{}, v = Bar(SB_VERT);
  ::GetWindowRect(wnd, &w);
  const int x = (v.left + v.right) / 2 - w.left, y = (v.top + v.bottom) / 2 + 40 - w.top;

  auto bmp = skintest::MakeBmp(w.right - w.left, w.bottom - w.top, clBlack);
  PaintScrollBars(adapter.get(), wnd, bmp->Canvas()->Handle(), -1);
  EXPECT_PRED2(NearColor, skintest::Px(*bmp, x, y), track);

  // On screen too: the system's frame painting leaves the skinned bar on top.
  ::RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  UniqueWindowDC dc = UniqueWindowDC::Window(wnd);
  EXPECT_EQ(static_cast<TColor>(::GetPixel(dc.get(), x, y)), skintest::Px(*bmp, x, y));
}

TEST_F(ScrollBars, ArrowPressScrollsAtOnceThenRepeatsUntilReleased) {
  const TPoint arrow = DownArrow();
  ::SetCursorPos(arrow.x, arrow.y);
  ::SendMessageW(wnd, WM_NCLBUTTONDOWN, HTVSCROLL, At(arrow));
  EXPECT_EQ(::GetCapture(), wnd);
  EXPECT_EQ(CountCode(WM_VSCROLL, SB_LINEDOWN), 1);
  PumpFor(150);  // well inside the delay before repeating
  EXPECT_EQ(CountCode(WM_VSCROLL, SB_LINEDOWN), 1);
  const ULONGLONG repeatStart = ::GetTickCount64();
  PumpUntil([] { return CountCode(WM_VSCROLL, SB_LINEDOWN) >= 3; }, 5000);
  const DWORD waited = 150 + static_cast<DWORD>(::GetTickCount64() - repeatStart);
  const int repeated = CountCode(WM_VSCROLL, SB_LINEDOWN);
  EXPECT_GE(repeated, 3);
  // Never faster than the first delay and the repeat interval allow.
  EXPECT_GE(waited + 20, 300u + 55u);
  EXPECT_LE(repeated, 1 + static_cast<int>(waited - 300) / 55 + 2);

  // Off the arrow the repeat pauses; releasing ends the scroll.
  ::SetCursorPos(arrow.x - 150, arrow.y - 150);
  PumpFor(100);
  const int paused = CountCode(WM_VSCROLL, SB_LINEDOWN);
  PumpFor(300);
  EXPECT_EQ(CountCode(WM_VSCROLL, SB_LINEDOWN), paused);
  TPoint up = ToClient(TPoint{arrow.x - 150, arrow.y - 150});
  ::SendMessageW(wnd, WM_LBUTTONUP, 0, At(up));
  EXPECT_NE(::GetCapture(), wnd);
  EXPECT_EQ(CountCode(WM_VSCROLL, SB_ENDSCROLL), 1);
  ExpectBracketed(WM_VSCROLL);
  const size_t settled = Log().size();
  PumpFor(200);
  EXPECT_EQ(CountCode(WM_VSCROLL, SB_LINEDOWN), paused);
  (void)settled;
}

TEST_F(ScrollBars, ThumbDragTracksThenSetsPositionAndEnds) {
  TRect h = Bar(SB_HORZ);
  const int arrow = GetScrollMetric(adapter->HBar.get(), false, false);
  TacThumb t = CalcThumb(adapter->HBar.get(), h.left, h.right, arrow);
  const TPoint grab{t.Start + t.Size / 2, (h.top + h.bottom) / 2};
  ::SendMessageW(wnd, WM_NCLBUTTONDOWN, HTHSCROLL, At(grab));
  EXPECT_TRUE(adapter->ThumbTracking);
  EXPECT_EQ(::GetCapture(), wnd);
  ::SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(ToClient({grab.x + 60, grab.y})));
  ::SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(ToClient({grab.x + 90, grab.y})));
  ::SendMessageW(wnd, WM_LBUTTONUP, 0, At(ToClient({grab.x + 90, grab.y})));
  EXPECT_FALSE(adapter->ThumbTracking);
  EXPECT_NE(::GetCapture(), wnd);
  ExpectBracketed(WM_HSCROLL);
  std::vector<int> codes, positions;
  for (const Seen& s : Log())
    if (s.Msg == WM_HSCROLL) codes.push_back(LOWORD(s.WParam)), positions.push_back(HIWORD(s.WParam));
  ASSERT_EQ(codes, (std::vector<int>{SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
  EXPECT_GT(positions[0], 0);
  EXPECT_GT(positions[1], positions[0]);
  EXPECT_EQ(positions[2], positions[1]);  // the last tracked position
}

TEST_F(ScrollBars, WindowDestroyedMidRepeatOrMidDragLeavesNothingBehind) {
  struct Case {
    const char* name;
    bool drag;
    bool fromScrollMessage;  // the window destroys itself while it scrolls
  } cases[] = {{"repeat, destroyed outside", false, false},
               {"repeat, destroyed by its scroll handler", false, true},
               {"drag, destroyed outside", true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (!::IsWindow(wnd)) {
      wnd = MakeProbe(true, 300, 300, true);
      adapter = TacMainWnd::Create<TacScrollWnd>(wnd, nullptr, manager.get(), L"EDIT");
    }
    static int scrolls = 0;
    scrolls = 0;
    if (c.fromScrollMessage)
      OnScroll() = [](HWND w) {
        if (++scrolls == 3) ::DestroyWindow(w);
      };
    if (c.drag) {
      TRect v = Bar(SB_VERT);
      const int arrow = GetScrollMetric(adapter->VBar.get(), false, false);
      TacThumb t = CalcThumb(adapter->VBar.get(), v.top, v.bottom, arrow);
      TPoint grab{(v.left + v.right) / 2, t.Start + 2};
      ::SendMessageW(wnd, WM_NCLBUTTONDOWN, HTVSCROLL, At(grab));
      ::SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, At(ToClient({grab.x, grab.y + 30})));
    } else {
      const TPoint arrow = DownArrow();
      ::SetCursorPos(arrow.x, arrow.y);
      ::SendMessageW(wnd, WM_NCLBUTTONDOWN, HTVSCROLL, At(arrow));
    }
    PumpFor(450);
    if (::IsWindow(wnd)) ::DestroyWindow(wnd);
    OnScroll() = nullptr;
    PumpFor(150);
    EXPECT_TRUE(adapter->Destroyed);
    EXPECT_FALSE(adapter->ThumbTracking);
    EXPECT_EQ(ScrollEngine.HotWnd, nullptr);
    EXPECT_EQ(ScrollEngine.CapturedPart, spNone);
    EXPECT_EQ(ScrollEngine.RepeatTimer, 0u);
    EXPECT_EQ(::GetCapture(), nullptr);
    adapter.reset();
  }
}

TEST_F(ScrollBars, AdapterFreedMidRepeatStopsTimersAndCapture) {
  const TPoint arrow = DownArrow();
  ::SetCursorPos(arrow.x, arrow.y);
  ::SendMessageW(wnd, WM_NCLBUTTONDOWN, HTVSCROLL, At(arrow));
  PumpUntil([] { return CountCode(WM_VSCROLL, SB_LINEDOWN) >= 2; }, 5000);
  ASSERT_GE(CountCode(WM_VSCROLL, SB_LINEDOWN), 2);
  adapter.reset();
  EXPECT_NE(::GetCapture(), wnd);
  EXPECT_EQ(ScrollEngine.HotWnd, nullptr);
  const int sent = CountCode(WM_VSCROLL, SB_LINEDOWN);
  PumpFor(200);
  EXPECT_EQ(CountCode(WM_VSCROLL, SB_LINEDOWN), sent);
  for (const Seen& s : Log()) EXPECT_FALSE(s.Msg == WM_TIMER);  // no stray engine tick
}

TEST_F(ScrollBars, RepeatedPaintsAndHookCyclesKeepTheGdiObjectCount) {
  // Warm up what is made once (pools, the window's class DC, fonts).
  PaintScrollBars(adapter.get(), wnd, nullptr, -1);
  adapter.reset();
  adapter = TacMainWnd::Create<TacScrollWnd>(wnd, nullptr, manager.get(), L"EDIT");
  const int start = GdiObjectCount();
  ASSERT_GT(start, 0);
  for (int i = 0; i < 200; ++i) PaintScrollBars(adapter.get(), wnd, nullptr, -1);
  for (int i = 0; i < 10; ++i) ::SendMessageW(wnd, WM_NCPAINT, 1, 0);  // slow under Wine
  EXPECT_EQ(GdiObjectCount(), start);
  for (int i = 0; i < 50; ++i) {
    adapter.reset();
    adapter = TacMainWnd::Create<TacScrollWnd>(wnd, nullptr, manager.get(), L"EDIT");
  }
  EXPECT_EQ(GdiObjectCount(), start);
}

TEST(GdiCount, SeesABitmapComeAndGo) {
  const int before = GdiObjectCount();
  HBITMAP b = ::CreateBitmap(4, 4, 1, 32, nullptr);
  EXPECT_EQ(GdiObjectCount(), before + 1);
  ::DeleteObject(b);
  EXPECT_EQ(GdiObjectCount(), before);
}

}  // namespace
