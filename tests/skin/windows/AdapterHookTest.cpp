// Hooking and unhooking window adapters: bare system windows, framework
// controls and provider forms; foreign subclasses on top; messages that
// must pass untouched; the adapter freed inside its own message.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/SkinManager.h"
#include "skin/windows/MainWnd.h"
#include "tests/skin/windows/AdapterTestSupport.h"

using namespace adaptertest;

namespace {

LRESULT CALLBACK Foreign(HWND wnd, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) {
  return ::DefSubclassProc(wnd, msg, w, l);
}

class AdapterHook : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    Log().clear();
  }
};

TEST_F(AdapterHook, BareSystemWindowsSurviveForeignSubclassInEitherOrder) {
  for (const wchar_t* cls : {L"EDIT", L"LISTBOX"}) {
    for (bool foreignFirstOff : {false, true}) {
      SCOPED_TRACE(std::wstring(cls) + (foreignFirstOff ? L" foreign off first" : L" ours off first"));
      HWND wnd = ::CreateWindowExW(0, cls, L"", WS_POPUP, 0, 0, 80, 60, nullptr, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
      const LONG_PTR before = ::GetWindowLongPtrW(wnd, GWLP_WNDPROC);
      TacMainWndPtr adapter = TacMainWnd::Create<TacMainWnd>(wnd, nullptr, nullptr, L"EDIT");
      EXPECT_EQ(GetScrollWnd(wnd), adapter.get());
      ASSERT_TRUE(::SetWindowSubclass(wnd, Foreign, 9, 0));
      const std::wstring text = L"Съешь же ещё этих мягких булок";
      ::SendMessageW(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
      if (std::wstring(cls) == L"EDIT") {
        wchar_t buf[64] = {};
        ::SendMessageW(wnd, WM_GETTEXT, 64, reinterpret_cast<LPARAM>(buf));
        EXPECT_EQ(std::wstring(buf), text);
      }
      if (foreignFirstOff) ::RemoveWindowSubclass(wnd, Foreign, 9);
      UnhookWindow(wnd, true, false, adapter);
      EXPECT_EQ(adapter, nullptr);
      EXPECT_EQ(::GetPropW(wnd, kAdapterProp), nullptr);
      if (!foreignFirstOff) {
        ::RemoveWindowSubclass(wnd, Foreign, 9);
        // The foreign subclass handed the window back to our emptied
        // pass-through, which steps aside at the window's next message.
        ::SendMessageW(wnd, WM_NULL, 0, 0);
      }
      EXPECT_EQ(::GetWindowLongPtrW(wnd, GWLP_WNDPROC), before);
      ::DestroyWindow(wnd);
    }
  }
}

TEST_F(AdapterHook, AdaptedWindowStillGetsItsMessagesInOrder) {
  HWND wnd = MakeProbe(false);
  TacMainWndPtr adapter = TacMainWnd::Create<TacMainWnd>(wnd, nullptr, nullptr, L"EDIT");
  NMHDR nm{wnd, 5, NM_CLICK};
  const std::vector<Seen> sent = {
      {WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), 0},
      {WM_NOTIFY, 5, reinterpret_cast<LPARAM>(&nm)},
      {WM_HSCROLL, SB_LINERIGHT, 0},
      {WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 12), 0},
      {WM_KEYDOWN, VK_DOWN, 1},
      {WM_CHAR, L'ж', 1},
      {WM_KEYUP, VK_DOWN, 0xC0000001},
  };
  for (const Seen& s : sent) ::SendMessageW(wnd, s.Msg, s.WParam, s.LParam);
  EXPECT_EQ(Log(), sent);
  EXPECT_EQ(::SendMessageW(wnd, WM_USER, 0, 0), 42);  // results come back too
  adapter.reset();
  ::DestroyWindow(wnd);
}

TEST_F(AdapterHook, FrameworkControlAndProviderFormHookTheirChains) {
  TForm* form = Construct<TForm>(Application);
  form->SetBounds(10, 10, 300, 200);
  TEdit* edit = Construct<TEdit>(form);
  edit->SetParent(form);
  edit->HandleNeeded();
  // A provider-style owner: a component of that class on the form.
  struct Provider : TComponent {
    using TComponent::TComponent;
    const wchar_t* ClassName() const override { return L"TsSkinProvider"; }
  };
  Provider* provider = Construct<Provider>(form);

  TsCommonData editData(edit, true);
  editData.OwnerControl = edit;
  TsCommonData formData(provider, true);
  formData.OwnerObject = provider;

  struct Case {
    const char* name;
    TWinControl* target;
    TsCommonData* data;
  };
  for (Case c : {Case{"control", edit, &editData}, Case{"provider form", form, &formData}}) {
    SCOPED_TRACE(c.name);
    HWND wnd = c.target->Handle();
    const LONG_PTR before = ::GetWindowLongPtrW(wnd, GWLP_WNDPROC);
    EXPECT_FALSE(c.target->HasHooks());
    TacMainWndPtr adapter = TacMainWnd::Create<TacMainWnd>(wnd, c.data, nullptr, L"EDIT");
    EXPECT_TRUE(c.target->HasHooks());
    EXPECT_EQ(::GetWindowLongPtrW(wnd, GWLP_WNDPROC), before);  // the framework's own chain
    EXPECT_EQ(GetScrollWnd(wnd), adapter.get());
    const std::wstring text = L"Реестр";
    ::SendMessageW(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    EXPECT_EQ(c.target->Text(), text);
    adapter.reset();
    EXPECT_FALSE(c.target->HasHooks());
    EXPECT_EQ(::GetPropW(wnd, kAdapterProp), nullptr);
  }
  delete form;
}

TEST_F(AdapterHook, SkinCommandsAreAnsweredWhileTheSkinIsActive) {
  auto manager = InternalSkinManager();
  HWND wnd = MakeProbe(false);
  TacMainWndPtr adapter = TacMainWnd::Create<TacMainWnd>(wnd, nullptr, manager.get(), L"edit");
  EXPECT_EQ(adapter->SkinData->SkinSection(), L"EDIT");
  TMessage m{SM_ALPHACMD, SkinCmdWParam(AC_CTRLHANDLED), 0, 0};
  EXPECT_EQ(::SendMessageW(wnd, m.Msg, m.WParam, 0), 1);
  adapter->WndProc(m);  // a direct caller reads the answer from LParam
  EXPECT_EQ(m.LParam, 1);
  EXPECT_EQ(m.Result, 1);
  EXPECT_TRUE(SkinCmds().empty());  // answered, not passed on
  manager->SetActive(false);
  EXPECT_EQ(::SendMessageW(wnd, SM_ALPHACMD, SkinCmdWParam(AC_CTRLHANDLED), 0), 0);
  EXPECT_EQ(SkinCmds(), std::vector<WORD>{AC_CTRLHANDLED});
  adapter.reset();
  ::DestroyWindow(wnd);
}

TEST_F(AdapterHook, MouseMovesMakeTheWindowHotOnce) {
  auto manager = InternalSkinManager();
  ASSERT_NE(DefaultManager, nullptr);
  HWND wnd = MakeProbe(false);
  TacMainWndPtr adapter = TacMainWnd::Create<TacMainWnd>(wnd, nullptr, manager.get(), L"EDIT");
  DefaultManager->ActiveControl = nullptr;
  ::SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  ::SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(9, 7));
  EXPECT_EQ(DefaultManager->ActiveControl, wnd);
  EXPECT_EQ(SkinCmds(), std::vector<WORD>{AC_MOUSEENTER});
  DefaultManager->ActiveControl = nullptr;
  adapter.reset();
  ::DestroyWindow(wnd);
}

TEST_F(AdapterHook, DestroyUnhooksButTheAdapterStaysForItsOwner) {
  HWND wnd = MakeProbe(false);
  TacMainWndPtr adapter = TacMainWnd::Create<TacMainWnd>(wnd, nullptr, nullptr, L"EDIT");
  ::SetWindowSubclass(wnd, Foreign, 3, 0);  // somebody else on top that never leaves
  ::DestroyWindow(wnd);
  EXPECT_TRUE(adapter->Destroyed);
  ASSERT_FALSE(Log().empty());
  EXPECT_EQ(Log().back().Msg, static_cast<UINT>(WM_DESTROY));  // it reached the window
  adapter.reset();  // nothing left to undo
}

TEST_F(AdapterHook, FreedInsideItsOwnMessageGoesWhenTheCallReturns) {
  HWND wnd = MakeProbe(false);
  static TacMainWndPtr* holder = nullptr;
  TacMainWndPtr adapter = TacMainWnd::Create<TacMainWnd>(wnd, nullptr, nullptr, L"EDIT");
  holder = &adapter;
  OnScroll() = [](HWND) { holder->reset(); };  // the owner frees it mid-message
  ::SendMessageW(wnd, WM_VSCROLL, SB_LINEDOWN, 0);
  OnScroll() = nullptr;
  EXPECT_EQ(adapter, nullptr);
  EXPECT_EQ(::GetPropW(wnd, kAdapterProp), nullptr);
  EXPECT_EQ(::SendMessageW(wnd, WM_USER, 0, 0), 42);
  ::DestroyWindow(wnd);
}

TEST_F(AdapterHook, AnAdapterGivenToItsWindowGoesWithIt) {
  for (int i = 0; i < 3; ++i) {
    HWND wnd = MakeProbe(false);
    TacMainWnd::Create<TacMainWnd>(wnd, nullptr, nullptr, L"EDIT").release()->FreeWithWindow();
    ASSERT_NE(GetScrollWnd(wnd), nullptr);
    ::DestroyWindow(wnd);
    EXPECT_FALSE(::IsWindow(wnd));
  }
}

}  // namespace
