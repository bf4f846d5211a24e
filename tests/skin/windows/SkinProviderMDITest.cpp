// Skinned MDI forms: a main form with a menu bar and three children. The
// maximized child's buttons in the main form's menu bar (pixels, hit codes,
// restore and close through them), the client window's adapter, children
// made while one is maximized, restoring, closing in any order, skin
// removal and GDI objects over repeated maximize and restore.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "framework/Menus.h"
#include "skin/engine/FastPixels.h"
#include "skin/engine/Glyphs.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/windows/MDIForm.h"
#include "skin/windows/MainWnd.h"
#include "skin/windows/SkinProvider.h"
#include "tests/common/GdiCount.h"
#include "tests/skin/engine/PixelTestUtil.h"
#include "tests/skin/engine/SkinTestSupport.h"
#include "tests/skin/windows/AdapterTestSupport.h"
#include "tests/skin/windows/WindowPoints.h"
#include "tests/common/MenuBars.h"

using namespace skintest;

namespace {

class SkinnedMDIMain : public TForm {
 public:
  explicit SkinnedMDIMain(TComponent* owner) : TForm(owner) {
    SetFormStyle(fsMDIForm);
    SetBounds(20, 20, 640, 480);
    SetCaption(L"");
    SetMenu(testenv::MakeMenuBar(this, {{L"Файл", L"Пункт"}, {L"Окно", L"Пункт"}}));
    Provider = Construct<TsSkinProvider>(this);
  }
  TsSkinProvider* Provider = nullptr;
};

class SkinnedMDIChild : public TForm {
 public:
  explicit SkinnedMDIChild(TComponent* owner) : TForm(owner) {
    SetFormStyle(fsMDIChild);
    SetBounds(10, 10, 220, 150);
    OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    Provider = Construct<TsSkinProvider>(this);
  }
  TsSkinProvider* Provider = nullptr;
};

bool Empty(const TRect& r) { return r.right <= r.left || r.bottom <= r.top; }

class SkinProviderMDITest : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = LoadedManager(L"WLM (internal)", FixtureSkinDir(), true);
    main = Construct<SkinnedMDIMain>(Application);
    client = main->ClientHandle();
    ASSERT_NE(client, nullptr);
    clientProc = ::GetWindowLongPtrW(client, GWLP_WNDPROC);
    for (auto*& c : children) c = Construct<SkinnedMDIChild>(Application);
    main->Show();
    wnd = main->WindowHandle();
    Settle();
  }
  void TearDown() override {
    ::ReleaseCapture();
    for (auto* c : children)
      if (Alive(c)) delete c;
    delete main;
    Application->ProcessMessages();
    manager.reset();
    EXPECT_EQ(MDISkinProvider, nullptr);
    EXPECT_EQ(MDIChildProvider, nullptr);
  }
  static bool Alive(TCustomForm* form) {
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i) == form) return true;
    return false;
  }
  void Settle() {
    Application->ProcessMessages();
    adaptertest::PumpFor(20);
    ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
  }
  void Maximize(TCustomForm* child) {
    ::SendMessageW(child->WindowHandle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    Settle();
  }
  std::unique_ptr<TBitmap> Print() {
    auto b = MakeBmp(WndWidth(wnd), WndHeight(wnd), 0x123456);
    ::SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()),
                   PRF_CLIENT | PRF_NONCLIENT);
    return b;
  }
  TsSkinProvider* P() const { return main->Provider; }
  int MenuTop() const { return P()->SysCaptionHeight() + P()->SysBorderHeight(); }
  // The bare menu line with the skin's image `mask` drawn at R in `state`
  // and mode: what the frame should show there.
  std::unique_ptr<TBitmap> ExpectedButton(const TRect& r, int mask, int state, int mode) {
    auto b = MakeBmp(WndWidth(wnd), WndHeight(wnd), 0x123456);
    TBitmap* line = P()->MenuLineBmp.get();
    ::BitBlt(b->Canvas()->Handle(), 0, MenuTop(), line->Width(), line->Height(),
             line->Canvas()->Handle(), 0, 0, SRCCOPY);
    const TacBmpView master =
        manager->MasterBitmap ? TacBmpView(*manager->MasterBitmap) : TacBmpView();
    if (mask >= 0)
      DrawSkinGlyph(TacBmpView(*b), TPoint{r.left, r.top}, state, mode, manager->ma[mask], master);
    return b;
  }
  static int Differences(TBitmap& a, TBitmap& b, const TRect& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += Px(a, x, y) != Px(b, x, y);
    return n;
  }
  // The part of R on the menu line (a button taller than the line reaches
  // into the caption band and the frame below).
  TRect OnMenuLine(const TRect& r) const {
    return TRect{r.left, std::max<int>(r.top, MenuTop()), r.right,
                 std::min<int>(r.bottom, MenuTop() + P()->MenuLineBmp->Height())};
  }
  int GlobalMask(const wchar_t* name) const {
    return manager->GetMaskIndex(manager->GetSkinIndex(L"GLOBALINFO"), L"GLOBALINFO", name);
  }

  ManagerPtr manager;
  SkinnedMDIMain* main = nullptr;
  std::array<SkinnedMDIChild*, 3> children{};
  HWND wnd = nullptr;
  HWND client = nullptr;
  LONG_PTR clientProc = 0;
};

}  // namespace

TEST_F(SkinProviderMDITest, ClientWindowGetsItsAdapterAndLosesItWithTheSkin) {
  ASSERT_NE(P()->MDIForm, nullptr);
  EXPECT_EQ(MDISkinProvider, P());
  TacMainWnd* adapter = GetScrollWnd(client);  // through "ACSBSC"
  ASSERT_NE(adapter, nullptr);
  EXPECT_NE(dynamic_cast<TacMDIWnd*>(adapter), nullptr);
  EXPECT_EQ(adapter, P()->MDIForm->ClientAdapter.get());
  EXPECT_NE(::GetPropW(client, L"ACSBSC"), nullptr);
  manager->SetActive(false);
  Settle();
  EXPECT_EQ(P()->MDIForm, nullptr);
  EXPECT_EQ(GetScrollWnd(client), nullptr);
  EXPECT_EQ(::GetPropW(client, L"ACSBSC"), nullptr);
  EXPECT_EQ(::GetWindowLongPtrW(client, GWLP_WNDPROC), clientProc);
  // The skin back: a new adapter.
  manager->SetActive(true);
  Settle();
  ASSERT_NE(P()->MDIForm, nullptr);
  EXPECT_NE(GetScrollWnd(client), nullptr);
}

TEST_F(SkinProviderMDITest, MaximizedChildsButtonsAreDrawnInTheMainFormsMenuBar) {
  EXPECT_FALSE(P()->ShowsChildButtons());
  EXPECT_TRUE(Empty(P()->MDICloseButton.R));
  Maximize(children[1]);
  ASSERT_EQ(main->ActiveMDIChild(), children[1]);
  ASSERT_TRUE(P()->ShowsChildButtons());
  ASSERT_NE(P()->MenuLineBmp, nullptr);
  const int band = MenuTop() + P()->MenuHeight();
  struct Case {
    const TsCaptionButton* button;
    int mask;
  };
  int restore = GlobalMask(L"SICONNORM");
  if (restore < 0) restore = GlobalMask(L"BICONNORM");
  const Case cases[] = {{&P()->MDIMinButton, P()->MDIMinButton.ImageIndex},
                        {&P()->MDIMaxButton, restore},
                        {&P()->MDICloseButton, P()->MDICloseButton.ImageIndex}};
  auto shown = Print();
  int previousRight = 0;
  for (const Case& c : cases) {
    const TRect r = c.button->R;
    ASSERT_FALSE(Empty(r));
    // Centred on the menu band, left to right, at the form's right end.
    EXPECT_LT(r.top, band);
    EXPECT_GT(r.bottom, MenuTop());
    EXPECT_LE(std::abs((r.top + r.bottom) - (MenuTop() + band)), 4);
    EXPECT_GT(r.left, previousRight);
    previousRight = r.left;
    ASSERT_GE(c.mask, 0);
    auto expected = ExpectedButton(r, c.mask, 0, P()->FormActive ? 1 : 2);
    EXPECT_EQ(Differences(*shown, *expected, OnMenuLine(r)), 0);
    // The button really is there: the bare line differs from it.
    auto bare = ExpectedButton(r, -1, 0, 1);
    EXPECT_GT(Differences(*shown, *bare, OnMenuLine(r)), 0);
  }
  EXPECT_LE(P()->MDICloseButton.R.right, WndWidth(wnd) - P()->SysBorderWidth());
}

TEST_F(SkinProviderMDITest, ChildButtonsHitTestAsTheirCodes) {
  Maximize(children[0]);
  ASSERT_TRUE(P()->ShowsChildButtons());
  const std::pair<const TsCaptionButton*, LRESULT> cases[] = {{&P()->MDICloseButton, kMDICloseCode},
                                                              {&P()->MDIMaxButton, kMDIRestoreCode},
                                                              {&P()->MDIMinButton, kMDIMinCode}};
  for (const auto& [button, code] : cases) {
    // The pointer where the hit test asks, as the user's would be: a hot
    // item tracks the mouse's leave, and a pointer that an earlier test
    // left elsewhere would end it at once.
    const LPARAM at = ScreenPoint(wnd, Centre(button->R));
    ::SetCursorPos(GET_X_LPARAM(at), GET_Y_LPARAM(at));
    EXPECT_EQ(::SendMessageW(wnd, WM_NCHITTEST, 0, at), code);
    EXPECT_EQ(P()->HotItem, code);
  }
  // Left of the buttons lies the menu bar.
  const TPoint left{P()->MDIMinButton.R.left - 30, Centre(P()->MDIMinButton.R).y};
  EXPECT_EQ(::SendMessageW(wnd, WM_NCHITTEST, 0, ScreenPoint(wnd, left)), HTMENU);
  // Without a maximized child there are no such codes.
  ::SendMessageW(children[0]->WindowHandle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Settle();
  const LRESULT hit =
      ::SendMessageW(wnd, WM_NCHITTEST, 0, ScreenPoint(wnd, Centre(P()->MDICloseButton.R)));
  EXPECT_TRUE(hit < kMDICloseCode || hit > kMDIMinCode) << hit;
}

TEST_F(SkinProviderMDITest, RestoreButtonRestoresTheChildAndTakesTheButtonsAway) {
  Maximize(children[2]);
  ASSERT_TRUE(P()->ShowsChildButtons());
  const TPoint in = Centre(P()->MDIMaxButton.R);
  ::SendMessageW(wnd, WM_NCLBUTTONDOWN, kMDIRestoreCode, ScreenPoint(wnd, in));
  EXPECT_EQ(P()->MDIMaxButton.State, 2);
  ::SendMessageW(wnd, WM_LBUTTONUP, 0, ClientPoint(wnd, in));
  Settle();
  EXPECT_EQ(children[2]->WindowState(), wsNormal);
  EXPECT_FALSE(P()->ShowsChildButtons());
  EXPECT_TRUE(Empty(P()->MDIMaxButton.R));
  EXPECT_EQ(P()->MDIMaxButton.State, 0);
}

TEST_F(SkinProviderMDITest, PressReleasedElsewhereDoesNothing) {
  Maximize(children[2]);
  const TPoint in = Centre(P()->MDICloseButton.R);
  ::SendMessageW(wnd, WM_NCLBUTTONDOWN, kMDICloseCode, ScreenPoint(wnd, in));
  ::SendMessageW(wnd, WM_LBUTTONUP, 0, ClientPoint(wnd, TPoint{200, 200}));
  Settle();
  EXPECT_TRUE(Alive(children[2]));
  EXPECT_EQ(children[2]->WindowState(), wsMaximized);
}

TEST_F(SkinProviderMDITest, CloseButtonClosesTheActiveChild) {
  Maximize(children[1]);
  const TPoint in = Centre(P()->MDICloseButton.R);
  ::SendMessageW(wnd, WM_NCLBUTTONDOWN, kMDICloseCode, ScreenPoint(wnd, in));
  ::SendMessageW(wnd, WM_LBUTTONUP, 0, ClientPoint(wnd, in));
  Settle();
  EXPECT_FALSE(Alive(children[1]));
  EXPECT_EQ(main->MDIChildCount(), 2);
}

TEST_F(SkinProviderMDITest, MinimizeButtonMinimizesTheActiveChild) {
  Maximize(children[0]);
  const TPoint in = Centre(P()->MDIMinButton.R);
  ::SendMessageW(wnd, WM_NCLBUTTONDOWN, kMDIMinCode, ScreenPoint(wnd, in));
  ::SendMessageW(wnd, WM_LBUTTONUP, 0, ClientPoint(wnd, in));
  Settle();
  EXPECT_EQ(children[0]->WindowState(), wsMinimized);
  EXPECT_FALSE(P()->SkinData->Updating);
  EXPECT_FALSE(P()->ShowsChildButtons());
}

TEST_F(SkinProviderMDITest, ChildMadeWhileAnotherIsMaximizedIsMaximizedAfterItsFirstPaint) {
  Maximize(children[0]);
  auto* late = Construct<SkinnedMDIChild>(Application);
  Settle();
  EXPECT_FALSE(MaximizeNewChild);
  EXPECT_EQ(main->ActiveMDIChild(), late);
  EXPECT_EQ(late->WindowState(), wsMaximized);
  EXPECT_TRUE(P()->ShowsChildButtons());
  delete late;
  Settle();
}

TEST_F(SkinProviderMDITest, RestoringOneChildRestoresEveryOtherMaximizedChild) {
  Maximize(children[2]);
  // A second maximized child, behind the client's back.
  ::ShowWindow(children[0]->WindowHandle(), SW_SHOWMAXIMIZED);
  ASSERT_TRUE(::IsZoomed(children[0]->WindowHandle()));
  ::SendMessageW(children[2]->WindowHandle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  Settle();
  for (auto* c : children) EXPECT_EQ(c->WindowState(), wsNormal);
  EXPECT_FALSE(P()->SkinData->Updating);
  EXPECT_FALSE(children[2]->Provider->SkinData->Updating);
}

TEST_F(SkinProviderMDITest, ClosingTheLastMaximizedChildRepaintsTheFrameWithoutButtons) {
  Maximize(children[0]);
  const TRect close = P()->MDICloseButton.R;
  ASSERT_FALSE(Empty(close));
  for (int i = 0; i < 3; ++i) {
    TCustomForm* active = main->ActiveMDIChild();
    ASSERT_NE(active, nullptr);
    ::SendMessageW(active->WindowHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Settle();
    EXPECT_FALSE(Alive(active));
    // The next child takes the maximized place while there is one.
    EXPECT_EQ(P()->ShowsChildButtons(), i < 2);
  }
  EXPECT_TRUE(Empty(P()->MDICloseButton.R));
  // The frame shows the bare menu line where the close button was.
  auto shown = Print();
  auto bare = ExpectedButton(close, -1, 0, 1);
  EXPECT_EQ(Differences(*shown, *bare, OnMenuLine(close)), 0);
  EXPECT_FALSE(P()->SkinData->Updating);
}

// Every order of closing, each with a maximized child first.
class SkinProviderMDICloseOrderTest : public SkinProviderMDITest,
                                      public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(SkinProviderMDICloseOrderTest, ChildrenCloseInAnyOrder) {
  const auto [permutation, maximized] = GetParam();
  std::array<int, 3> order{0, 1, 2};
  for (int i = 0; i < permutation; ++i) std::next_permutation(order.begin(), order.end());
  Maximize(children[maximized]);
  int left = 3;
  for (int i : order) {
    ::SendMessageW(children[i]->WindowHandle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    Settle();
    ASSERT_FALSE(Alive(children[i]));
    EXPECT_EQ(main->MDIChildCount(), --left);
    EXPECT_FALSE(P()->SkinData->Updating);
    EXPECT_FALSE(P()->RgnLocked);
  }
  EXPECT_FALSE(P()->ShowsChildButtons());
  EXPECT_EQ(MDIChildProvider, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Orders, SkinProviderMDICloseOrderTest,
                         ::testing::Combine(::testing::Range(0, 6), ::testing::Values(0, 2)));

TEST_F(SkinProviderMDITest, MainFormFreedBeforeItsChildren) {
  Maximize(children[1]);
  delete main;
  main = nullptr;
  EXPECT_EQ(MDISkinProvider, nullptr);
  for (auto* c : children) EXPECT_FALSE(c->HandleAllocated());
  main = Construct<SkinnedMDIMain>(Application);
  wnd = main->WindowHandle();
}

TEST_F(SkinProviderMDITest, RepeatedMaximizeAndRestoreKeepsGdiObjects) {
  auto cycle = [&] {
    for (auto* c : children) {
      Maximize(c);
      ::SendMessageW(c->WindowHandle(), WM_SYSCOMMAND, SC_RESTORE, 0);
      Settle();
    }
  };
  cycle();
  cycle();
  const int before = testenv::GdiObjectCount();
  for (int i = 0; i < 5; ++i) cycle();
  EXPECT_EQ(testenv::GdiObjectCount(), before);
}

TEST_F(SkinProviderMDITest, ClientShowsTheMainFormsCacheUnderIt) {
  // No child in the way: the client area alone.
  for (auto*& c : children) {
    delete c;
    c = nullptr;
  }
  Settle();
  RECT cr{}, fr{}, inner{};
  ::GetWindowRect(client, &cr);
  ::GetWindowRect(wnd, &fr);
  ::GetClientRect(client, &inner);
  auto img = MakeBmp(cr.right - cr.left, cr.bottom - cr.top, 0x123456);
  ::SendMessageW(client, WM_PRINT, reinterpret_cast<WPARAM>(img->Canvas()->Handle()),
                 PRF_CLIENT | PRF_NONCLIENT);
  TBitmap* cache = P()->SkinData->CacheBmp.get();
  ASSERT_NE(cache, nullptr);
  const int edge = 2;
  const int points[][2] = {{edge, edge},
                           {edge + inner.right / 2, edge + inner.bottom / 2},
                           {edge + inner.right - 1, edge + inner.bottom - 1},
                           {0, 0},
                           {img->Width() - 1, img->Height() - 1}};
  for (const auto& p : points) {
    SCOPED_TRACE(testing::Message() << p[0] << "," << p[1]);
    EXPECT_EQ(Px(*img, p[0], p[1]),
              Px(*cache, p[0] + (cr.left - fr.left), p[1] + (cr.top - fr.top)));
  }
  // The main form's own print shows the same at the client's place.
  auto whole = Print();
  EXPECT_EQ(Px(*whole, cr.left - fr.left + edge + 5, cr.top - fr.top + edge + 5),
            Px(*cache, cr.left - fr.left + edge + 5, cr.top - fr.top + edge + 5));
}

TEST_F(SkinProviderMDITest, MenuLoopOverAMaximizedChildIsCovered) {
  // Without a maximized child nothing is covered.
  ::SendMessageW(wnd, WM_ENTERMENULOOP, 0, 0);
  EXPECT_FALSE(P()->RgnLocked);
  ::SendMessageW(wnd, WM_EXITMENULOOP, 0, 0);
  Maximize(children[0]);
  ::SendMessageW(wnd, WM_ENTERMENULOOP, 0, 0);
  EXPECT_TRUE(P()->RgnLocked);
  // A cover window over the menu bar's right end, showing the frame's cache.
  struct Find {
    HWND main;
    HWND found;
  } find{wnd, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM l) -> BOOL {
        auto* f = reinterpret_cast<Find*>(l);
        wchar_t name[64] = {};
        GetClassNameW(w, name, 64);
        if (IsWindowVisible(w) && std::wstring(name) == L"TacMenuCover") f->found = w;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&find));
  HWND cover = find.found;
  ASSERT_NE(cover, nullptr);
  RECT r{}, f{};
  ::GetWindowRect(cover, &r);
  ::GetWindowRect(wnd, &f);
  EXPECT_EQ(r.right, f.right);
  EXPECT_EQ(r.right - r.left, 60);
  EXPECT_EQ(r.top, f.top + P()->SysCaptionHeight());
  ::SendMessageW(wnd, WM_EXITMENULOOP, 0, 0);
  EXPECT_FALSE(P()->RgnLocked);
  EXPECT_FALSE(::IsWindow(cover));
}

TEST_F(SkinProviderMDITest, ProgramWideReferencesFollowTheChildren) {
  EXPECT_EQ(MDISkinProvider, P());
  EXPECT_FALSE(MaximizedMDIChild());
  Maximize(children[1]);
  EXPECT_TRUE(MaximizedMDIChild());
  EXPECT_EQ(MDIChildProvider, children[1]->Provider);
  ::SendMessageW(children[1]->WindowHandle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  Settle();
  EXPECT_FALSE(MaximizedMDIChild());
  Maximize(children[2]);
  EXPECT_EQ(MDIChildProvider, children[2]->Provider);
  TsSkinProvider* gone = children[2]->Provider;
  delete children[2];
  children[2] = nullptr;
  EXPECT_NE(MDIChildProvider, gone);
  Settle();
}

// Every way a child is maximized gives the main form the child's buttons.
TEST_F(SkinProviderMDITest, EveryWayOfMaximizingAChildShowsItsButtons) {
  struct Way {
    const char* name;
    void (*maximize)(SkinnedMDIChild*);
  };
  const Way ways[] = {
      {"system command",
       [](SkinnedMDIChild* c) {
         ::SendMessageW(c->WindowHandle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
       }},
      {"system menu item",
       [](SkinnedMDIChild* c) { c->Provider->SystemMenu->ItemMaximize->Click(); }},
      {"caption double click",
       [](SkinnedMDIChild* c) {
         ::SendMessageW(c->WindowHandle(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
       }},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    way.maximize(children[1]);
    Settle();
    EXPECT_EQ(children[1]->WindowState(), wsMaximized);
    EXPECT_EQ(MDIChildProvider, children[1]->Provider);
    EXPECT_TRUE(P()->ShowsChildButtons());
    EXPECT_FALSE(Empty(P()->MDICloseButton.R));
    ::SendMessageW(children[1]->WindowHandle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    Settle();
    EXPECT_FALSE(P()->ShowsChildButtons());
  }
}

// A child made while another is maximized waits for its paint to be
// maximized; until then it ignores a restore.
TEST_F(SkinProviderMDITest, WaitingChildIsMaximizedAtItsPaintAndIgnoresRestoreTillThen) {
  HWND child = children[0]->WindowHandle();
  MaximizeNewChild = true;
  ::SendMessageW(child, WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_TRUE(MaximizeNewChild);
  EXPECT_EQ(children[0]->WindowState(), wsNormal);
  ::RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  EXPECT_FALSE(MaximizeNewChild);
  EXPECT_EQ(children[0]->WindowState(), wsMaximized);
  EXPECT_EQ(MDIChildProvider, children[0]->Provider);
  Settle();
  EXPECT_TRUE(P()->ShowsChildButtons());
}

namespace {

// A square icon of one opaque colour.
HICON SolidIcon(COLORREF colour) {
  HDC screen = ::GetDC(nullptr);
  HBITMAP bits = ::CreateCompatibleBitmap(screen, 16, 16);
  HDC dc = ::CreateCompatibleDC(screen);
  HGDIOBJ old = ::SelectObject(dc, bits);
  HBRUSH brush = ::CreateSolidBrush(colour);
  RECT r{0, 0, 16, 16};
  ::FillRect(dc, &r, brush);
  ::DeleteObject(brush);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ::ReleaseDC(nullptr, screen);
  const std::vector<BYTE> zeros(16 * 16 / 8, 0);
  HBITMAP mask = ::CreateBitmap(16, 16, 1, 1, zeros.data());
  ICONINFO ii{TRUE, 0, 0, mask, bits};
  HICON icon = ::CreateIconIndirect(&ii);
  ::DeleteObject(mask);
  ::DeleteObject(bits);
  return icon;
}

}  // namespace

// The icon in the menu bar is the maximized child's own, before whatever
// icon its window carries.
TEST_F(SkinProviderMDITest, MaximizedChildsOwnIconIsDrawnInTheMenuBar) {
  struct Case {
    const char* name;
    COLORREF formIcon;    // CLR_NONE: none
    COLORREF windowIcon;  // CLR_NONE: none set after the form's
    TColor expected;
  };
  const Case cases[] = {
      {"form icon", RGB(255, 0, 0), CLR_NONE, 0x0000FF},
      {"form icon before window icon", RGB(255, 0, 0), RGB(0, 255, 0), 0x0000FF},
      {"window icon without form icon", CLR_NONE, RGB(0, 0, 255), 0xFF0000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto* child = Construct<SkinnedMDIChild>(Application);
    HWND cw = child->WindowHandle();
    if (c.formIcon != CLR_NONE) child->Icon()->SetHandle(SolidIcon(c.formIcon));
    HICON windowIcon = c.windowIcon != CLR_NONE ? SolidIcon(c.windowIcon) : nullptr;
    if (windowIcon) ::SendMessageW(cw, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(windowIcon));
    Maximize(child);
    ASSERT_EQ(MaximizedChildOf(main), child);
    P()->SkinData->BGChanged = true;
    auto shown = Print();
    const int size = P()->MenuHeight() - 2;
    ASSERT_GT(size, 4);
    const int x = P()->SysBorderWidth() + 1, y = MenuTop() + 1;
    for (const TPoint p : {TPoint{x + 1, y + 1}, TPoint{x + size / 2, y + size / 2},
                           TPoint{x + size - 2, y + size - 2}})
      EXPECT_EQ(Px(*shown, p.x, p.y), c.expected) << p.x << "," << p.y;
    delete child;
    Settle();
    if (windowIcon) ::DestroyIcon(windowIcon);
  }
}

namespace {

// Counts the messages a window receives, outside every other handler.
class MessageCounter {
 public:
  explicit MessageCounter(HWND wnd) : wnd_(wnd) {
    ::SetWindowSubclass(wnd_, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  ~MessageCounter() { ::RemoveWindowSubclass(wnd_, Proc, 1); }
  MessageCounter(const MessageCounter&) = delete;
  MessageCounter& operator=(const MessageCounter&) = delete;
  int Count(UINT msg) const {
    auto it = counts_.find(msg);
    return it == counts_.end() ? 0 : it->second;
  }
  void Reset() { counts_.clear(); }
  // Runs on each message before it is passed on.
  std::function<void(UINT msg, WPARAM wParam)> OnMessage;

 private:
  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                               DWORD_PTR ref) {
    auto* self = reinterpret_cast<MessageCounter*>(ref);
    ++self->counts_[msg];
    if (self->OnMessage) self->OnMessage(msg, wParam);
    return ::DefSubclassProc(wnd, msg, wParam, lParam);
  }
  HWND wnd_;
  std::map<UINT, int> counts_;
};

}  // namespace

// Activating or refreshing the main form repaints a maximized active child,
// which covers its client; without one the client window is sized and
// framed again on a refresh.
TEST_F(SkinProviderMDITest, MainFormRepaintsItsMaximizedChildOnActivationAndRefresh) {
  struct Case {
    const char* name;
    bool maximized;
    bool refresh;  // AC_REFRESH, else WM_ACTIVATE
    bool childPainted;
    bool clientSized;
  };
  const Case cases[] = {
      {"activate, maximized", true, false, true, false},
      {"activate, normal", false, false, false, false},
      {"refresh, maximized", true, true, true, false},
      {"refresh, normal", false, true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.maximized) Maximize(children[0]);
    ASSERT_EQ(MaximizedChildOf(main) != nullptr, c.maximized);
    HWND active = main->ActiveMDIChild()->WindowHandle();
    ::RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    MessageCounter child(active), clientSpy(client);
    if (c.refresh)
      SendSkinCmd(wnd, AC_REFRESH, reinterpret_cast<LPARAM>(manager.get()));
    else
      ::SendMessageW(wnd, WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(child.Count(WM_PAINT) > 0, c.childPainted);
    EXPECT_EQ(clientSpy.Count(WM_SIZE) > 0, c.clientSized);
    if (c.maximized) {
      ::SendMessageW(active, WM_SYSCOMMAND, SC_RESTORE, 0);
      Settle();
    }
  }
}

// While the main form shows a maximized child's buttons, a deactivation
// passed through it (the child's) leaves its active look; another form
// takes the look it is given.
TEST_F(SkinProviderMDITest, MainFormShowingChildButtonsKeepsItsActiveLook) {
  struct Case {
    const char* name;
    bool maximized;
    bool before;
    WPARAM wParam;
    bool after;
  };
  const Case cases[] = {
      {"buttons, deactivated", true, true, 0, true},
      {"buttons, activated", true, false, 1, true},
      {"no buttons, deactivated", false, true, 0, false},
      {"no buttons, activated", false, false, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.maximized) Maximize(children[1]);
    ASSERT_EQ(P()->ShowsChildButtons(), c.maximized);
    P()->FormActive = c.before;
    ::SendMessageW(wnd, WM_NCACTIVATE, c.wParam, 0);
    EXPECT_EQ(P()->FormActive, c.after);
    ::SendMessageW(wnd, WM_NCACTIVATE, 1, 0);
    if (c.maximized) {
      ::SendMessageW(children[1]->WindowHandle(), WM_SYSCOMMAND, SC_RESTORE, 0);
      Settle();
    }
  }
}

// A child's activation paints its frame twice, the second time from a
// fresh cache.
TEST_F(SkinProviderMDITest, ChildPaintsItsFrameAgainAfterActivation) {
  HWND child = children[2]->WindowHandle();
  MessageCounter spy(child);
  ::SendMessageW(child, WM_NCACTIVATE, 1, 0);
  EXPECT_EQ(spy.Count(WM_NCPAINT), 2);
  // A form that is not an MDI child paints it once.
  auto* plain = Construct<TForm>(Application);
  Construct<TsSkinProvider>(plain);
  plain->Show();
  Settle();
  MessageCounter plainSpy(plain->WindowHandle());
  ::SendMessageW(plain->WindowHandle(), WM_NCACTIVATE, 1, 0);
  EXPECT_EQ(plainSpy.Count(WM_NCPAINT), 1);
  delete plain;
}

// Alt in a child (SC_KEYMENU) opens the main form's menu.
TEST_F(SkinProviderMDITest, KeyMenuInAChildOpensTheMainFormsMenu) {
  for (bool maximized : {false, true}) {
    SCOPED_TRACE(maximized ? "maximized" : "normal");
    if (maximized) Maximize(children[0]);
    HWND child = main->ActiveMDIChild()->WindowHandle();
    MessageCounter spy(wnd);
    spy.OnMessage = [](UINT msg, WPARAM wParam) {
      if (msg == WM_ENTERIDLE && wParam == MSGF_MENU) ::EndMenu();
    };
    ::SendMessageW(child, WM_SYSCOMMAND, SC_KEYMENU, 0);
    EXPECT_EQ(spy.Count(WM_ENTERMENULOOP), 1);
    EXPECT_EQ(spy.Count(WM_EXITMENULOOP), 1);
    EXPECT_FALSE(P()->SkinData->Updating);
  }
}

// Measuring a menu item hooks it for the skin, except in an MDI child,
// whose menu the main form shows.
TEST_F(SkinProviderMDITest, MeasuringAMenuItemHooksItOutsideMDIChildren) {
  manager->SetSkinnedPopups(true);
  struct Case {
    const char* name;
    bool mdiChild;
    bool hooked;
  };
  for (const Case& c : {Case{"plain form", false, true}, Case{"MDI child", true, false}}) {
    SCOPED_TRACE(c.name);
    TForm* form = c.mdiChild ? static_cast<TForm*>(Construct<SkinnedMDIChild>(Application))
                             : Construct<TForm>(Application);
    if (!c.mdiChild) Construct<TsSkinProvider>(form);
    TMainMenu* menu = testenv::MakeMenuBar(form, {{L"Вид", L"Обновить"}});
    TMenuItem* sub = menu->Items()->Items(0)->Items(0);
    form->SetMenu(menu);
    form->Show();
    Settle();
    sub->OnMeasureItem = nullptr;
    sub->OnAdvancedDrawItem = nullptr;
    MEASUREITEMSTRUCT mis{};
    mis.CtlType = ODT_MENU;
    mis.itemID = sub->Command();
    ::SendMessageW(form->WindowHandle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis));
    EXPECT_EQ(static_cast<bool>(sub->OnMeasureItem), c.hooked);
    EXPECT_EQ(static_cast<bool>(sub->OnAdvancedDrawItem), c.hooked);
    delete form;
    Settle();
  }
}

// The active child's menu items are painted on the main form's menu line
// at their places in the bar, and are gone once the child is closed.
TEST_F(SkinProviderMDITest, ActiveChildsMenuItemsArePaintedOnTheMainFormsMenuLine) {
  auto* child = Construct<SkinnedMDIChild>(Application);
  TMainMenu* menu = testenv::MakeMenuBar(child, {{L"Вид", L"Обновить", 3}});
  TMenuItem* view = menu->Items()->Items(0);
  child->SetMenu(menu);
  child->Show();
  Settle();
  ASSERT_EQ(main->ActiveMDIChild(), child);
  ASSERT_EQ(main->Menu()->Merged(), menu);
  // The item's place in the bar, relative to the window.
  HMENU bar = ::GetMenu(wnd);
  TRect place{};
  for (int p = 0; p < ::GetMenuItemCount(bar); ++p)
    if (::GetSubMenu(bar, p) == view->Handle()) {
      RECT r{}, w{};
      ASSERT_TRUE(::GetMenuItemRect(wnd, bar, static_cast<UINT>(p), &r));
      ::GetWindowRect(wnd, &w);
      place = TRect{r.left - w.left, r.top - w.top, r.right - w.left, r.bottom - w.top};
    }
  ASSERT_FALSE(Empty(place));
  P()->SkinData->BGChanged = true;
  auto shown = Print();
  auto bare = ExpectedButton(place, -1, 0, 1);
  EXPECT_GT(Differences(*shown, *bare, OnMenuLine(place)), 0);
  delete child;
  Settle();
  EXPECT_EQ(main->Menu()->Merged(), nullptr);
  P()->SkinData->BGChanged = true;
  auto after = Print();
  auto bareAfter = ExpectedButton(place, -1, 0, 1);
  EXPECT_EQ(Differences(*after, *bareAfter, OnMenuLine(place)), 0);
}
