// MDI forms: the main form's client window, children made and destroyed
// through it, their window states, the active child and the keyboard
// interface the message loop gives them.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/SysUtils.h"
#include "tests/common/MenuBars.h"

namespace {

class MDIMainForm : public TForm {
 public:
  explicit MDIMainForm(TComponent* owner) : TForm(owner) {
    SetFormStyle(fsMDIForm);
    SetBounds(40, 40, 640, 480);
  }
};

class MDIChildForm : public TForm {
 public:
  explicit MDIChildForm(TComponent* owner) : TForm(owner) {
    SetFormStyle(fsMDIChild);
    SetBounds(10, 10, 240, 160);
    OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
  }
};

int CountThreadWindows() {
  int n = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM lp) -> BOOL {
        ++*reinterpret_cast<int*>(lp);
        EnumChildWindows(
            wnd, [](HWND, LPARAM l) -> BOOL { return ++*reinterpret_cast<int*>(l), TRUE; }, lp);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

std::wstring ClassOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}

class MDIFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    windowsBefore = CountThreadWindows();
    main = Construct<MDIMainForm>(Application);
    for (auto*& c : children) c = Construct<MDIChildForm>(Application);
  }
  void TearDown() override {
    for (auto* c : children)
      if (IsAlive(c)) delete c;
    delete main;
    Application->ProcessMessages();
    EXPECT_EQ(CountThreadWindows(), windowsBefore);
  }
  // A freed child has left the screen's form list.
  static bool IsAlive(TCustomForm* form) {
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (Screen->Forms(i) == form) return true;
    return false;
  }
  HMENU AddMenuBar() {
    main->SetMenu(testenv::MakeMenuBar(main, {{L"Файл", L"Выход"}}));
    return GetMenu(main->WindowHandle());
  }

  int windowsBefore = 0;
  MDIMainForm* main = nullptr;
  std::array<MDIChildForm*, 3> children{};
};

TEST_F(MDIFormTest, ClientWindowIsAnMDIClientFillingWhatAlignedControlsLeave) {
  auto* bar = Construct<TPanel>(main);
  bar->SetHeight(30);
  bar->SetAlign(alTop);
  bar->SetParent(main);
  HWND client = main->ClientHandle();
  ASSERT_NE(client, nullptr);
  // Class names compare without case (Wine names the class "MDIClient").
  EXPECT_EQ(lstrcmpiW(ClassOf(client).c_str(), L"MDICLIENT"), 0) << ClassOf(client);
  EXPECT_EQ(GetParent(client), main->WindowHandle());
  RECT frameClient{}, r{};
  GetClientRect(main->WindowHandle(), &frameClient);
  GetWindowRect(client, &r);
  MapWindowPoints(nullptr, main->WindowHandle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, frameClient.right);
  EXPECT_EQ(r.bottom, frameClient.bottom);
  // Resizing the form keeps the client under the panel.
  main->SetBounds(40, 40, 500, 400);
  GetClientRect(main->WindowHandle(), &frameClient);
  GetWindowRect(client, &r);
  MapWindowPoints(nullptr, main->WindowHandle(), reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.top, 30);
  EXPECT_EQ(r.bottom, frameClient.bottom);
  // Other forms have no client; children are not MDI forms.
  EXPECT_EQ(children[0]->ClientHandle(), nullptr);
}

TEST_F(MDIFormTest, ChildrenAreMDIWindowsOfTheClientAndTheLastMadeIsActive) {
  ASSERT_EQ(main->MDIChildCount(), 3);
  for (auto* c : children) {
    ASSERT_TRUE(c->HandleAllocated());
    EXPECT_EQ(GetParent(c->WindowHandle()), main->ClientHandle());
    EXPECT_TRUE(GetWindowLongPtrW(c->WindowHandle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_TRUE(IsWindowVisible(c->WindowHandle()) || !IsWindowVisible(main->WindowHandle()));
  }
  EXPECT_EQ(main->ActiveMDIChild(), children[2]);
  EXPECT_EQ(main->MDIChildren(0), children[2]);
  EXPECT_THROW(main->MDIChildren(3), EListError);
  children[0]->BringToFront();
  EXPECT_EQ(main->ActiveMDIChild(), children[0]);
  EXPECT_EQ(main->MDIChildren(0), children[0]);
  main->Next();
  EXPECT_NE(main->ActiveMDIChild(), children[0]);
  main->Previous();
  EXPECT_EQ(main->ActiveMDIChild(), children[0]);
}

TEST_F(MDIFormTest, ChildWithoutMDIFormCannotBeMade) {
  delete main;
  main = nullptr;
  for (auto*& c : children) {
    delete c;
    c = nullptr;
  }
  // The children's windows went with the main form's.
  EXPECT_THROW(Construct<MDIChildForm>(Application), EInvalidOperation);
  main = Construct<MDIMainForm>(Application);
}

struct StateStep {
  int child;
  TWindowState state;
};

TEST_F(MDIFormTest, WindowStatesGoThroughTheClient) {
  HMENU bar = AddMenuBar();
  const int items = GetMenuItemCount(bar);
  const std::vector<StateStep> steps = {
      {1, wsMaximized}, {1, wsNormal}, {0, wsMaximized}, {0, wsNormal},
      {2, wsMinimized}, {2, wsNormal}, {2, wsMaximized}, {0, wsMaximized},
      {0, wsMinimized}, {0, wsNormal}, {1, wsMaximized}, {1, wsMinimized},
  };
  for (const StateStep& s : steps) {
    SCOPED_TRACE(testing::Message() << "child " << s.child << " state " << s.state);
    TCustomForm* c = children[s.child];
    c->SetWindowState(s.state);
    EXPECT_EQ(c->WindowState(), s.state);
    BOOL maximized = FALSE;
    HWND active = reinterpret_cast<HWND>(SendMessageW(main->ClientHandle(), WM_MDIGETACTIVE, 0,
                                                      reinterpret_cast<LPARAM>(&maximized)));
    if (s.state == wsMaximized) {
      EXPECT_EQ(active, c->WindowHandle());
      EXPECT_TRUE(maximized);
      // The client puts the child's window menu and buttons into the bar.
      EXPECT_GT(GetMenuItemCount(bar), items);
    } else if (!maximized) {
      EXPECT_EQ(GetMenuItemCount(bar), items);
    }
  }
}

TEST_F(MDIFormTest, SystemCommandsReachTheChildsMDIDefaultProcedure) {
  HMENU bar = AddMenuBar();
  const int items = GetMenuItemCount(bar);
  SendMessageW(children[1]->WindowHandle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  EXPECT_EQ(children[1]->WindowState(), wsMaximized);
  EXPECT_GT(GetMenuItemCount(bar), items);
  SendMessageW(children[1]->WindowHandle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_EQ(children[1]->WindowState(), wsNormal);
  EXPECT_EQ(GetMenuItemCount(bar), items);
}

// Every order of closing, with and without a maximized child first.
class MDIFormCloseOrderTest : public MDIFormTest,
                              public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(MDIFormCloseOrderTest, ChildrenCloseInAnyOrder) {
  const auto [permutation, maximized] = GetParam();
  std::array<int, 3> order{0, 1, 2};
  for (int i = 0; i < permutation; ++i) std::next_permutation(order.begin(), order.end());
  HMENU bar = AddMenuBar();
  const int items = GetMenuItemCount(bar);
  if (maximized >= 0) children[maximized]->SetWindowState(wsMaximized);
  int left = 3;
  for (int i : order) {
    HWND wnd = children[i]->WindowHandle();
    children[i]->Close();
    Application->ProcessMessages();
    EXPECT_FALSE(IsAlive(children[i]));
    EXPECT_FALSE(IsWindow(wnd));
    EXPECT_EQ(main->MDIChildCount(), --left);
    if (TCustomForm* active = main->ActiveMDIChild()) {
      EXPECT_TRUE(std::find(children.begin(), children.end(), active) != children.end());
    }
  }
  EXPECT_EQ(main->ActiveMDIChild(), nullptr);
  // The bar holds the form's own items again.
  EXPECT_EQ(GetMenuItemCount(bar), items);
}

INSTANTIATE_TEST_SUITE_P(Orders, MDIFormCloseOrderTest,
                         ::testing::Combine(::testing::Range(0, 6), ::testing::Values(-1, 0, 2)));

TEST_F(MDIFormTest, ChildsDefaultCloseMinimizesIt) {
  children[1]->OnClose = nullptr;
  children[1]->Close();
  Application->ProcessMessages();
  ASSERT_TRUE(IsAlive(children[1]));
  EXPECT_EQ(children[1]->WindowState(), wsMinimized);
}

TEST_F(MDIFormTest, FreeingTheMainFormFirstLeavesChildrenWithoutWindows) {
  HWND wnd = children[0]->WindowHandle();
  delete main;
  main = nullptr;
  EXPECT_FALSE(IsWindow(wnd));
  for (auto* c : children) EXPECT_FALSE(c->HandleAllocated());
  // Freed afterwards (TearDown), in reverse order of creation.
  std::reverse(children.begin(), children.end());
}

TEST_F(MDIFormTest, ChildrenFreedDirectlyInAnyOrderLeaveTheClient) {
  delete children[1];
  EXPECT_EQ(main->MDIChildCount(), 2);
  delete children[0];
  delete children[2];
  for (auto*& c : children) c = nullptr;
  EXPECT_EQ(main->MDIChildCount(), 0);
  EXPECT_EQ(GetWindow(main->ClientHandle(), GW_CHILD), nullptr);
}

// Ctrl+F6 reaches the client only through the application's message loop.
TEST_F(MDIFormTest, MessageLoopTranslatesMDIAccelerators) {
  ASSERT_EQ(main->ActiveMDIChild(), children[2]);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  BYTE withCtrl[256];
  std::copy(std::begin(keys), std::end(keys), std::begin(withCtrl));
  withCtrl[VK_CONTROL] = 0x80;
  SetKeyboardState(withCtrl);
  PostMessageW(children[2]->WindowHandle(), WM_KEYDOWN, VK_F6, 1);
  Application->ProcessMessages();
  SetKeyboardState(keys);
  EXPECT_NE(main->ActiveMDIChild(), children[2]);
}

TEST_F(MDIFormTest, ActivationRunsTheChildsHandlers) {
  int activated = 0, deactivated = 0;
  children[0]->OnActivate = [&](TObject*) { ++activated; };
  children[2]->OnDeactivate = [&](TObject*) { ++deactivated; };
  children[0]->BringToFront();
  EXPECT_EQ(activated, 1);
  EXPECT_EQ(deactivated, 1);
}

}  // namespace

namespace {

TEST_F(MDIFormTest, ChildMadeWhileTheActiveOneIsMaximizedComesMaximized) {
  children[1]->SetWindowState(wsMaximized);
  auto* late = Construct<MDIChildForm>(Application);
  EXPECT_EQ(main->ActiveMDIChild(), late);
  EXPECT_EQ(late->WindowState(), wsMaximized);
  EXPECT_EQ(main->MDIChildCount(), 4);
  delete late;
}

}  // namespace

// An MDI child's menu is shown in the main form's bar while the child is
// active, never on the child itself.
TEST_F(MDIFormTest, ActiveChildsMenuIsMergedIntoTheMainFormsBar) {
  AddMenuBar();
  TMainMenu* childMenu = testenv::MakeMenuBar(children[1], {{L"Вид", L"Обновить", 3}});
  children[1]->SetMenu(childMenu);
  main->Show();
  for (auto* c : children) c->Show();
  Application->ProcessMessages();
  HMENU bar = ::GetMenu(main->WindowHandle());
  ASSERT_NE(bar, nullptr);
  auto barHas = [bar](const std::wstring& caption) {
    for (int p = 0; p < ::GetMenuItemCount(bar); ++p) {
      wchar_t text[64] = {};
      ::GetMenuStringW(bar, static_cast<UINT>(p), text, 64, MF_BYPOSITION);
      if (caption == text) return true;
    }
    return false;
  };
  struct Step {
    const char* name;
    int activate;  // child to activate
    bool merged;
  };
  const Step steps[] = {{"child with menu active", 1, true},
                        {"another child active", 0, false},
                        {"back again", 1, true}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.name);
    ::SendMessageW(main->ClientHandle(), WM_MDIACTIVATE,
                   reinterpret_cast<WPARAM>(children[s.activate]->WindowHandle()), 0);
    Application->ProcessMessages();
    ASSERT_EQ(main->ActiveMDIChild(), children[s.activate]);
    EXPECT_EQ(main->Menu()->Merged() == childMenu, s.merged);
    EXPECT_EQ(barHas(L"Вид"), s.merged);
    EXPECT_TRUE(barHas(L"Файл"));
    // A child window's "menu" is its id: the menu is attached to no window.
    EXPECT_EQ(childMenu->Form(), nullptr);
    EXPECT_EQ(childMenu->BarForm(), s.merged ? main : nullptr);
  }
  // Maximized, the system's window menu and buttons join the bar; the merge
  // keeps them.
  children[1]->SetWindowState(wsMaximized);
  Application->ProcessMessages();
  const int withSystemItems = ::GetMenuItemCount(bar);
  childMenu->Items()->Items(0)->SetCaption(L"Вид2");
  EXPECT_EQ(::GetMenuItemCount(bar), withSystemItems);
  EXPECT_TRUE(barHas(L"Вид2"));
  // Closed: the bar is the main form's own again.
  delete children[1];
  children[1] = nullptr;
  Application->ProcessMessages();
  EXPECT_EQ(main->Menu()->Merged(), nullptr);
  EXPECT_FALSE(barHas(L"Вид2"));
  EXPECT_TRUE(barHas(L"Файл"));
}
