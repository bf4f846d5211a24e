// The form provider's outline drag (ResizeMode rmBorder), driven with the
// mouse messages a real drag sends: the form stays where it is while the
// mouse moves and takes the outline's place once the button is let go.
#include <gtest/gtest.h>

#include "skin/windows/SkinProvider.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/skin/windows/AdapterTestSupport.h"

using namespace skintest;

namespace {

class BorderDragTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->SetCaption(L"");
    form->SetBounds(60, 60, 400, 300);
    provider = Construct<TsSkinProvider>(form);
    provider->ResizeMode = rmBorder;
    form->Show();
    wnd = form->WindowHandle();
    adaptertest::PumpFor(50);
    ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
    start = Rect();
  }
  void TearDown() override {
    ::ReleaseCapture();
    SkinnedForm::TearDown();
  }
  RECT Rect() const {
    RECT r{};
    ::GetWindowRect(wnd, &r);
    return r;
  }
  // A screen point as the client-relative point of a captured mouse message.
  LPARAM Client(POINT screen) const {
    ::ScreenToClient(wnd, &screen);
    return MAKELPARAM(static_cast<short>(screen.x), static_cast<short>(screen.y));
  }
  static LPARAM Screen(POINT p) { return MAKELPARAM(p.x, p.y); }
  POINT CaptionPoint() const {
    const int band = provider->SysCaptionHeight() + provider->SysBorderHeight();
    return POINT{start.left + (start.right - start.left) / 2, start.top + band / 2};
  }
  // Moves the mouse through `steps` points to `to` and checks that the form
  // has not moved meanwhile.
  void MoveTo(POINT from, POINT to, int steps = 3) {
    for (int i = 1; i <= steps; ++i) {
      const POINT p{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
      ::SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, Client(p));
      const RECT r = Rect();
      EXPECT_TRUE(::EqualRect(&r, &start)) << "the form moved during the drag, step " << i;
    }
  }
  static void ExpectRect(const RECT& expected, const RECT& actual) {
    EXPECT_EQ(expected.left, actual.left);
    EXPECT_EQ(expected.top, actual.top);
    EXPECT_EQ(expected.right, actual.right);
    EXPECT_EQ(expected.bottom, actual.bottom);
  }

  TsSkinProvider* provider = nullptr;
  HWND wnd = nullptr;
  RECT start{};
};

}  // namespace

TEST_F(BorderDragTest, CaptionDragMovesTheFormOnceWhenReleased) {
  struct Case {
    int dx, dy;
  } cases[] = {{37, 21}, {-25, 14}, {0, -9}, {3, 0}};
  for (const Case& c : cases) {
    start = Rect();
    const POINT from = CaptionPoint();
    const POINT to{from.x + c.dx, from.y + c.dy};
    ::SendMessageW(wnd, WM_NCLBUTTONDOWN, HTCAPTION, Screen(from));
    ASSERT_TRUE(provider->BorderDragging());
    EXPECT_EQ(wnd, ::GetCapture());
    MoveTo(from, to);
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, Client(to));
    EXPECT_FALSE(provider->BorderDragging());
    EXPECT_EQ(nullptr, ::GetCapture());
    ExpectRect(RECT{start.left + c.dx, start.top + c.dy, start.right + c.dx, start.bottom + c.dy},
               Rect());
  }
}

TEST_F(BorderDragTest, BorderDragSizesTheNamedEdgesOnceWhenReleased) {
  const int dx = 30, dy = 20;
  struct Case {
    int code;
    int l, t, r, b;  // how far each edge follows the mouse (0 or 1)
  } cases[] = {
      {HTLEFT, 1, 0, 0, 0},       {HTRIGHT, 0, 0, 1, 0},      {HTTOP, 0, 1, 0, 0},
      {HTTOPLEFT, 1, 1, 0, 0},    {HTTOPRIGHT, 0, 1, 1, 0},   {HTBOTTOM, 0, 0, 0, 1},
      {HTBOTTOMLEFT, 1, 0, 0, 1}, {HTBOTTOMRIGHT, 0, 0, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    ::MoveWindow(wnd, 60, 60, 400, 300, TRUE);
    start = Rect();
    const POINT from{start.left + 1, start.top + 1};  // only the mouse's travel counts
    const POINT to{from.x + dx, from.y + dy};
    ::SendMessageW(wnd, WM_NCLBUTTONDOWN, c.code, Screen(from));
    ASSERT_TRUE(provider->BorderDragging());
    MoveTo(from, to);
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, Client(to));
    EXPECT_FALSE(provider->BorderDragging());
    const RECT expected{start.left + c.l * dx, start.top + c.t * dy, start.right + c.r * dx,
                        start.bottom + c.b * dy};
    ExpectRect(expected, Rect());
  }
}

TEST_F(BorderDragTest, SizingStopsAtTheSmallestTrackingSize) {
  start = Rect();
  const POINT from{start.right - 1, start.bottom - 1};
  const POINT to{from.x - 1000, from.y - 1000};
  ::SendMessageW(wnd, WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, Screen(from));
  MoveTo(from, to);
  ::SendMessageW(wnd, WM_LBUTTONUP, 0, Client(to));
  const RECT r = Rect();
  EXPECT_EQ(start.left, r.left);
  EXPECT_EQ(start.top, r.top);
  EXPECT_EQ(::GetSystemMetrics(SM_CXMINTRACK), r.right - r.left);
  EXPECT_EQ(::GetSystemMetrics(SM_CYMINTRACK), r.bottom - r.top);
}

TEST_F(BorderDragTest, MoveFromTheSystemMenuFollowsTheMouseFromTheCursor) {
  const POINT cursor = CaptionPoint();
  ::SetCursorPos(cursor.x, cursor.y);
  POINT at{};
  ::GetCursorPos(&at);
  ::SendMessageW(wnd, WM_SYSCOMMAND, SC_MOVE, 0);
  ASSERT_TRUE(provider->BorderDragging());
  const POINT to{at.x + 15, at.y + 12};
  MoveTo(at, to);
  ::SendMessageW(wnd, WM_LBUTTONUP, 0, Client(to));
  ExpectRect(RECT{start.left + 15, start.top + 12, start.right + 15, start.bottom + 12}, Rect());
}

TEST_F(BorderDragTest, SizeFromTheSystemMenuMovesTheBottomRightCornerOnlyAfterTheMouseMoves) {
  ::SendMessageW(wnd, WM_SYSCOMMAND, SC_SIZE, 0);
  ASSERT_TRUE(provider->BorderDragging());
  // Released without a move: the size stays.
  POINT cur{};
  ::GetCursorPos(&cur);
  ::SendMessageW(wnd, WM_LBUTTONUP, 0, Client(cur));
  ExpectRect(start, Rect());

  ::SendMessageW(wnd, WM_SYSCOMMAND, SC_SIZE, 0);
  const POINT first{start.left + 100, start.top + 100};  // the first move sets the start
  ::SendMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, Client(first));
  const POINT to{first.x + 24, first.y - 16};
  MoveTo(first, to);
  ::SendMessageW(wnd, WM_LBUTTONUP, 0, Client(to));
  ExpectRect(RECT{start.left, start.top, start.right + 24, start.bottom - 16}, Rect());
}

TEST_F(BorderDragTest, LosingTheMouseCancelsTheDragWhereTheFormIs) {
  const POINT from = CaptionPoint();
  ::SendMessageW(wnd, WM_NCLBUTTONDOWN, HTCAPTION, Screen(from));
  MoveTo(from, POINT{from.x + 40, from.y + 40});
  TForm* other = Construct<TForm>(Application);
  other->SetBounds(500, 400, 100, 100);
  other->Show();
  ::SetCapture(other->WindowHandle());
  EXPECT_FALSE(provider->BorderDragging());
  ::ReleaseCapture();
  ::SendMessageW(wnd, WM_LBUTTONUP, 0, Client(POINT{from.x + 60, from.y + 60}));
  ExpectRect(start, Rect());
  delete other;
}

TEST_F(BorderDragTest, PressesOutsideTheCaptionAndBordersStartNoDrag) {
  const TRect close = provider->CloseButton.R;
  struct Case {
    WPARAM code;
    POINT p;
  } cases[] = {
      {HTCLOSE, POINT{start.left + (close.left + close.right) / 2,
                      start.top + (close.top + close.bottom) / 2}},
      {HTBORDER, POINT{start.left + 20, start.top + 40}},
      {HTNOWHERE, POINT{start.right - 5, start.top + 100}},
  };
  for (const Case& c : cases) {
    ::SendMessageW(wnd, WM_NCLBUTTONDOWN, c.code, Screen(c.p));
    EXPECT_FALSE(provider->BorderDragging()) << c.code;
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, Client(POINT{start.left + 200, start.top + 200}));
    ::ReleaseCapture();
    ExpectRect(start, Rect());
  }
}

TEST_F(BorderDragTest, RepeatedDragsKeepTheGdiCount) {
  auto dragOnce = [&](int dx) {
    start = Rect();
    const POINT from = CaptionPoint();
    ::SendMessageW(wnd, WM_NCLBUTTONDOWN, HTCAPTION, Screen(from));
    MoveTo(from, POINT{from.x + dx, from.y}, 2);
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, Client(POINT{from.x + dx, from.y}));
  };
  dragOnce(5);
  dragOnce(-5);
  const int before = adaptertest::GdiObjectCount();
  for (int i = 0; i < 30; ++i) dragOnce(i % 2 ? 7 : -7);
  EXPECT_EQ(before, adaptertest::GdiObjectCount());
}

TEST_F(BorderDragTest, OutlineIsInvertedOnTheScreenAndErasedAtTheEnd) {
  // The outline is taken off the form to where the screen shows no window.
  const int dx = 500, dy = 30;
  const POINT from = CaptionPoint();
  const POINT to{from.x + dx, from.y + dy};
  const POINT onTop{start.left + dx + 50, start.top + dy};  // on the outline's top edge
  const POINT inside{start.left + dx + 50, start.top + dy + 50};
  UniqueWindowDC screen = UniqueWindowDC::Client(nullptr);
  const COLORREF topBefore = ::GetPixel(screen.get(), onTop.x, onTop.y);
  const COLORREF insideBefore = ::GetPixel(screen.get(), inside.x, inside.y);
  ::SendMessageW(wnd, WM_NCLBUTTONDOWN, HTCAPTION, Screen(from));
  MoveTo(from, to);
  EXPECT_EQ(~topBefore & 0xFFFFFF, ::GetPixel(screen.get(), onTop.x, onTop.y));
  EXPECT_EQ(insideBefore, ::GetPixel(screen.get(), inside.x, inside.y));
  // The form then takes the outline's place and covers it: the screen is
  // read as the form starts to move, when the outline must be gone.
  COLORREF topWhenMoving = CLR_INVALID;
  TWndProcHook hook(form, [&](TMessage& m, const TWndMethod& next) {
    if (m.Msg == WM_WINDOWPOSCHANGING && topWhenMoving == CLR_INVALID)
      topWhenMoving = ::GetPixel(screen.get(), onTop.x, onTop.y);
    next(m);
  });
  ::SendMessageW(wnd, WM_LBUTTONUP, 0, Client(to));
  EXPECT_EQ(topBefore, topWhenMoving);
}
