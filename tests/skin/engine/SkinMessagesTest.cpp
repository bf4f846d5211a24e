#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/WindowSkinning.h"
#include "tests/skin/engine/SkinTestSupport.h"

namespace {

// ---------------------------------------------------------------- raw windows

struct WndInfo {
  bool skinned = false;
  int id = 0;
  std::vector<int>* log = nullptr;
  HWND destroyOnReceive = nullptr;
  // AC_GETCACHE: write X = answerX before or after asking `ask`.
  int answerX = 0;
  HWND ask = nullptr;
  bool askFirst = false;
};

LRESULT CALLBACK TestWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* info = reinterpret_cast<WndInfo*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (msg == SM_ALPHACMD && info) {
    switch (HIWORD(wParam)) {
      case AC_CTRLHANDLED:
        if (info->skinned) return 1;
        break;
      case AC_REFRESH:
        info->log->push_back(info->id);
        if (info->destroyOnReceive) ::DestroyWindow(info->destroyOnReceive);
        return 0;
      case AC_GETCACHE: {
        auto answer = [&] { CacheInfoReply = TCacheInfo{nullptr, info->answerX, 0, true}; };
        if (!info->askFirst) answer();
        if (info->ask) {
          TCacheInfo nested = RequestCacheInfo(info->ask);
          EXPECT_TRUE(nested.Ready);
        }
        if (info->askFirst) answer();
        return 0;
      }
      case AC_GETBGCOLOR:
        BGFillColor = static_cast<TColor>(info->answerX);
        return 0;
    }
  }
  return ::DefWindowProcW(wnd, msg, wParam, lParam);
}

const wchar_t* TestClass() {
  static const wchar_t* name = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = TestWndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TarnholtSkinMsgTest";
    ::RegisterClassW(&wc);
    return L"TarnholtSkinMsgTest";
  }();
  return name;
}

HWND MakeWnd(HWND parent, WndInfo* info) {
  HWND w = ::CreateWindowExW(0, TestClass(), L"", parent ? WS_CHILD : WS_POPUP, 0, 0, 10, 10,
                             parent, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(info));
  return w;
}

}  // namespace

TEST(SkinMessages, CommandLayoutAndQueries) {
  EXPECT_EQ(SM_ALPHACMD, 0xA100u);
  RegisterSkinMessage();
  EXPECT_EQ(SkinCmdWParam(AC_SETUPDATING, 1), static_cast<WPARAM>(0x00080001));
  std::vector<int> log;
  WndInfo skinned{true, 1, &log};
  WndInfo plain{false, 2, &log};
  HWND a = MakeWnd(nullptr, &skinned), b = MakeWnd(nullptr, &plain);
  EXPECT_TRUE(QuerySkinCmdWnd(a, AC_CTRLHANDLED));
  EXPECT_FALSE(QuerySkinCmdWnd(b, AC_CTRLHANDLED));
  EXPECT_EQ(SendSkinCmd(a, AC_CTRLHANDLED, 0), 1);
  ::DestroyWindow(a);
  ::DestroyWindow(b);
}

TEST(BroadcastToChildWindows, SkinnedInsideUnskinnedAndChildDestroyedMidWalk) {
  std::vector<int> log;
  WndInfo rootInfo{false, 0, &log};
  HWND root = MakeWnd(nullptr, &rootInfo);
  WndInfo a{true, 1, &log}, u{false, 2, &log}, b{true, 3, &log}, c{true, 4, &log},
      d{true, 5, &log}, e{true, 6, &log};
  HWND wa = MakeWnd(root, &a), wu = MakeWnd(root, &u);
  MakeWnd(wu, &b);
  HWND wc = MakeWnd(root, &c), wd = MakeWnd(root, &d);
  MakeWnd(root, &e);
  (void)wa;
  // Whichever of c and d the walk meets first destroys the other.
  std::vector<HWND> order;
  for (HWND w = ::GetWindow(root, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) order.push_back(w);
  bool cFirst = std::find(order.begin(), order.end(), wc) < std::find(order.begin(), order.end(), wd);
  (cFirst ? c : d).destroyOnReceive = cFirst ? wd : wc;
  int victim = cFirst ? 5 : 4;

  TMessage m{SM_ALPHACMD, SkinCmdWParam(AC_REFRESH), 0, 77};
  BroadcastToChildWindows(root, m);
  EXPECT_EQ(m.Result, 77);
  std::sort(log.begin(), log.end());
  std::vector<int> expected = {1, 3, 4, 5, 6};
  expected.erase(std::find(expected.begin(), expected.end(), victim));
  EXPECT_EQ(log, expected);  // the unskinned container itself gets nothing
  ::DestroyWindow(root);
}

TEST(ReplySlots, NestedRequestsNeverOverwriteTheAwaitedReply) {
  std::vector<int> log;
  WndInfo grand{true, 0, &log};
  grand.answerX = 2;
  HWND g = MakeWnd(nullptr, &grand);
  for (bool askFirst : {false, true}) {
    WndInfo parent{true, 0, &log};
    parent.answerX = 1;
    parent.ask = g;
    parent.askFirst = askFirst;
    HWND p = MakeWnd(nullptr, &parent);
    CacheInfoReply = TCacheInfo{nullptr, 42, 0, true};
    TCacheInfo got = RequestCacheInfo(p);
    EXPECT_TRUE(got.Ready);
    EXPECT_EQ(got.X, 1) << askFirst;
    EXPECT_EQ(CacheInfoReply.X, 42);  // an outer sender's slot is put back
    ::DestroyWindow(p);
  }
  // A window that does not answer gives a reset slot, never a stale one.
  HWND m = MakeWnd(nullptr, nullptr);
  EXPECT_FALSE(RequestCacheInfo(m).Ready);
  EXPECT_EQ(RequestBGColor(m), clFuchsia);
  EXPECT_EQ(RequestBGColor(g), 2u);
  EXPECT_EQ(BGFillColor, clFuchsia);
  ::DestroyWindow(m);
  ::DestroyWindow(g);
}

// ---------------------------------------------------------------- framework controls

namespace {

std::vector<std::wstring> g_log;

class TRootCtrl : public TWinControl {
 public:
  TRootCtrl() : TWinControl(nullptr) { SetBounds(0, 0, 200, 200); }

 protected:
  void CreateParams(TCreateParams& params) override {
    TWinControl::CreateParams(params);
    params.Style = WS_POPUP | WS_CLIPCHILDREN;
    params.WndParent = nullptr;
  }
};

// A windowed control that handles skin commands, as a skinned control does.
class TSkinnedCtrl : public TWinControl {
 public:
  TSkinnedCtrl(TWinControl* parent, std::wstring name) : TWinControl(nullptr), name_(std::move(name)) {
    SetParent(parent);
    SetBounds(0, 0, 10, 10);
  }
  bool Throws = false;
  TControl* Victim = nullptr;
  void WndProc(TMessage& m) override {
    if (m.Msg == SM_ALPHACMD) {
      switch (SkinCmdOf(m)) {
        case AC_CTRLHANDLED:
          m.LParam = 1;
          m.Result = 1;
          return;
        case AC_REFRESH:
          g_log.push_back(name_);
          if (Victim) {
            delete Victim;
            Victim = nullptr;
          }
          if (Throws) throw std::runtime_error("receiver failed");
          return;
      }
    }
    TWinControl::WndProc(m);
  }

 private:
  std::wstring name_;
};

class TGraphicCtrl : public TControl {
 public:
  TGraphicCtrl(TWinControl* parent, std::wstring name) : TControl(nullptr), name_(std::move(name)) {
    SetParent(parent);
  }
  void WndProc(TMessage& m) override {
    if (m.Msg == SM_ALPHACMD && SkinCmdOf(m) == AC_REFRESH) g_log.push_back(name_);
    TControl::WndProc(m);
  }

 private:
  std::wstring name_;
};

class TPlainCtrl : public TWinControl {
 public:
  explicit TPlainCtrl(TWinControl* parent) : TWinControl(nullptr) {
    SetParent(parent);
    SetBounds(0, 0, 50, 50);
  }
  int Questions = 0;
  void WndProc(TMessage& m) override {
    if (m.Msg == SM_ALPHACMD && SkinCmdOf(m) == AC_CTRLHANDLED) ++Questions;
    TWinControl::WndProc(m);
  }
};

void Refresh(TWinControl* root) {
  TMessage m{SM_ALPHACMD, SkinCmdWParam(AC_REFRESH), 0, 5};
  BroadcastToChildren(root, m);
  EXPECT_EQ(m.Result, 5);
}

}  // namespace

TEST(BroadcastToChildren, ReachesSkinnedButtonInsideUnskinnedPanel) {
  g_log.clear();
  TRootCtrl root;
  auto* panel = new TPlainCtrl(&root);
  new TSkinnedCtrl(panel, L"button");
  new TGraphicCtrl(&root, L"label");
  root.Handle();
  Refresh(&root);
  EXPECT_EQ(g_log, (std::vector<std::wstring>{L"button", L"label"}));
  while (root.ControlCount()) delete root.Controls(0);
}

TEST(BroadcastToChildren, SurvivesAThrowingChildAndAChildDestroyedDuringTheWalk) {
  // Other tests of this executable may have created the application object;
  // its error box for the thrown exception would wait for a user here.
  TExceptionEvent savedHandler = Application ? Application->OnException : TExceptionEvent();
  if (Application) Application->OnException = [](TObject*, std::exception_ptr) {};
  struct Restore {
    TExceptionEvent handler;
    ~Restore() {
      if (Application) Application->OnException = handler;
    }
  } restore{savedHandler};
  g_log.clear();
  TRootCtrl root;
  auto* a = new TSkinnedCtrl(&root, L"a");
  auto* b = new TSkinnedCtrl(&root, L"b");
  auto* c = new TSkinnedCtrl(&root, L"c");
  new TSkinnedCtrl(&root, L"d");
  a->Throws = true;
  b->Victim = c;
  root.Handle();
  Refresh(&root);
  EXPECT_EQ(g_log, (std::vector<std::wstring>{L"a", L"b", L"d"}));
  while (root.ControlCount()) delete root.Controls(0);
}

TEST(BroadcastToChildren, AChildBeingDestroyedEndsTheWalk) {
  g_log.clear();
  TRootCtrl root;
  new TSkinnedCtrl(&root, L"0");
  new TGraphicCtrl(&root, L"1");
  auto* third = new TSkinnedCtrl(&root, L"2");
  new TSkinnedCtrl(&root, L"3");
  root.Handle();
  third->Destroying();
  Refresh(&root);
  EXPECT_EQ(g_log, (std::vector<std::wstring>{L"0", L"1"}));
  while (root.ControlCount()) delete root.Controls(0);
}

TEST(SkinCmdToControls, QueryAndSendRules) {
  TRootCtrl root;
  auto* skinned = new TSkinnedCtrl(&root, L"s");
  auto* other = new TSkinnedCtrl(&root, L"o");
  auto* plain = new TPlainCtrl(&root);
  // Answered in LParam through the window procedure: no window is needed.
  EXPECT_TRUE(QuerySkinCmd(skinned, AC_CTRLHANDLED));
  EXPECT_FALSE(skinned->HandleAllocated());
  // A windowed control without a window gets nothing and gets no window.
  EXPECT_EQ(SendSkinCmdToCtrl(other, AC_CTRLHANDLED, 0), 0);
  EXPECT_FALSE(other->HandleAllocated());
  // A plain control answers neither way, hears the question once and gets
  // no window for it.
  EXPECT_FALSE(QuerySkinCmd(plain, AC_CTRLHANDLED));
  EXPECT_EQ(plain->Questions, 1);
  EXPECT_FALSE(plain->HandleAllocated());
  plain->Handle();
  EXPECT_FALSE(QuerySkinCmd(plain, AC_CTRLHANDLED));
  EXPECT_EQ(plain->Questions, 2);
  other->Handle();
  EXPECT_EQ(SendSkinCmdToCtrl(other, AC_CTRLHANDLED, 0), 1);
  other->Destroying();
  EXPECT_EQ(SendSkinCmdToCtrl(other, AC_CTRLHANDLED, 0), 0);
  // A control without a window is reached through Perform.
  g_log.clear();
  auto* label = new TGraphicCtrl(&root, L"label");
  SendSkinCmdToCtrl(label, AC_REFRESH, 0);
  EXPECT_EQ(g_log, (std::vector<std::wstring>{L"label"}));
  while (root.ControlCount()) delete root.Controls(0);
}

namespace {
class TFakeProvider : public TComponent {
 public:
  using TComponent::TComponent;
};

// Records what the engine asks of the window-skinning library.
class TRecordingSkinning : public TacWindowSkinning {
 public:
  void ProviderMessage(TComponent* provider, TMessage&) override { providers.push_back(provider); }
  bool IsProvider(const TComponent* component) override {
    return dynamic_cast<const TFakeProvider*>(component) != nullptr;
  }
  TsSkinManager* ManagerOf(TsSkinProvider*) override { return nullptr; }
  void UpdateRgn(TsSkinProvider*) override {}
  HRGN FormRegion(TsSkinProvider*) override { return nullptr; }
  void AnimShow(TCustomForm*, int, const std::function<void()>& showUnder) override { showUnder(); }
  HOOKPROC DialogHookProcedure() override { return Hook; }
  void DialogsMessage(TMessage&) override {}
  // No menu skinner here; the menu tests below bring their own.
  TacMenusPtr CreateMenus(TsSkinManager*) override { return TacMenusPtr(nullptr, nullptr); }
  void UpdateMenus(TsSkinableMenus&) override {}
  void ForgetMenuSkin(TsSkinableMenus&) override {}
  bool MenuMessage(TsSkinableMenus&, TMessage&) override { return false; }

  std::vector<TComponent*> providers;
  static inline int created = 0;  // windows the dialog hook saw made
  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND) ++created;
    return ::CallNextHookEx(nullptr, code, wp, lp);
  }
};

}  // namespace

TEST(SendToProvider, ReachesTheFirstProviderNotBeingDestroyed) {
  TComponent form(nullptr);
  new TComponent(&form);
  auto* dying = new TFakeProvider(&form);
  auto* live = new TFakeProvider(&form);
  dying->Destroying();
  TMessage m{SM_ALPHACMD, SkinCmdWParam(AC_REFRESH), 0, 0};
  SendToProvider(&form, m);  // nobody registered: nothing happens
  TRecordingSkinning skinning;
  RegisterWindowSkinning(&skinning);
  SendToProvider(&form, m);
  RegisterWindowSkinning(nullptr);
  EXPECT_EQ(skinning.providers, (std::vector<TComponent*>{live}));
}

TEST(WindowSkinning, ADialogHookAskedForBeforeRegistrationIsSetAtRegistration) {
  skintest::ManagerPtr manager = skintest::NewManager();
  ASSERT_TRUE(manager->IsDefault());
  manager->InstallDialogHook();  // nobody registered a procedure yet
  EXPECT_TRUE(manager->DialogHookInstalled()) << "the request is kept";
  auto makeWindow = [] {
    ::DestroyWindow(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  };
  TRecordingSkinning::created = 0;
  makeWindow();
  EXPECT_EQ(TRecordingSkinning::created, 0);

  TRecordingSkinning skinning;
  RegisterWindowSkinning(&skinning);
  makeWindow();
  EXPECT_EQ(TRecordingSkinning::created, 1) << "the kept request was not honoured";
  manager.reset();  // removes its hook
  makeWindow();
  EXPECT_EQ(TRecordingSkinning::created, 1);
  RegisterWindowSkinning(nullptr);
}

namespace {
// Hands the engine a stand-in menu skinner (the engine never looks inside
// one) and records what it asks of it.
class TMenuRecordingSkinning : public TRecordingSkinning {
 public:
  TacMenusPtr CreateMenus(TsSkinManager*) override {
    ++made;
    return TacMenusPtr(reinterpret_cast<TsSkinableMenus*>(&token), [](TsSkinableMenus*) { ++freed; });
  }
  void UpdateMenus(TsSkinableMenus& menus) override { calls.push_back(Call(menus, L"update")); }
  void ForgetMenuSkin(TsSkinableMenus& menus) override { calls.push_back(Call(menus, L"forget")); }
  bool MenuMessage(TsSkinableMenus& menus, TMessage& message) override {
    calls.push_back(Call(menus, L"message"));
    return message.Msg == WM_MENUWNDHOOK;
  }

  std::vector<std::wstring> calls;
  static inline int token = 0;
  static inline int made = 0;
  static inline int freed = 0;

 private:
  static std::wstring Call(TsSkinableMenus& menus, const wchar_t* what) {
    return static_cast<void*>(&menus) == &token ? what : L"a skinner never made";
  }
};

// Registered for one scope, taken away again however the scope ends.
class TRegistration {
 public:
  explicit TRegistration(TacWindowSkinning* skinning) { RegisterWindowSkinning(skinning); }
  ~TRegistration() { RegisterWindowSkinning(nullptr); }
  TRegistration(const TRegistration&) = delete;
  TRegistration& operator=(const TRegistration&) = delete;
};
}  // namespace

TEST(WindowSkinning, TheDefaultManagerGetsItsMenuSkinnerAtRegistrationAndFreesItThroughTheLibrary) {
  TMenuRecordingSkinning::made = TMenuRecordingSkinning::freed = 0;
  TMenuRecordingSkinning skinning;
  skintest::ManagerPtr manager = skintest::NewManager();
  ASSERT_TRUE(manager->IsDefault());
  EXPECT_FALSE(manager->SkinableMenus) << "nobody registered a menu skinner yet";
  TMessage early{WM_MENUWNDHOOK, 0, 0, 0};
  EXPECT_FALSE(manager->MainWindowHook(early));

  TRegistration registration(&skinning);
  ASSERT_TRUE(manager->SkinableMenus);
  EXPECT_EQ(TMenuRecordingSkinning::made, 1);
  manager->SetSkinnedPopups(!manager->SkinnedPopups());
  TMessage item{WM_MENUITEMHOOK, 0, 0, 0};
  TMessage popup{WM_MENUWNDHOOK, 0, 0, 0};
  TMessage other{WM_SIZE, 0, 0, 0};
  EXPECT_FALSE(manager->MainWindowHook(item));
  EXPECT_TRUE(manager->MainWindowHook(popup));
  EXPECT_FALSE(manager->MainWindowHook(other));
  EXPECT_EQ(skinning.calls, (std::vector<std::wstring>{L"update", L"message", L"message"}));

  // A manager made while the library is registered gets one at once.
  skintest::ManagerPtr second = skintest::NewManager();
  EXPECT_TRUE(second->SkinableMenus);
  EXPECT_EQ(TMenuRecordingSkinning::made, 2);
  second.reset();
  manager.reset();
  EXPECT_EQ(TMenuRecordingSkinning::freed, 2);
}
