#include <windows.h>

#include <gtest/gtest.h>

#include "skin/engine/SkinUtils.h"
#include "skin/engine/MessageBoxes.h"

TEST(SkinnedMessageDlg, KindsAndButtonsMapToMessageBoxFlags) {
  const struct {
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    UINT flags;
  } cases[] = {
      {mtWarning, MsgDlgButtons({mbOK}), MB_ICONWARNING | MB_OK},
      {mtError, MsgDlgButtons({mbAbort, mbRetry, mbIgnore}), MB_ICONERROR | MB_ABORTRETRYIGNORE},
      {mtInformation, MsgDlgButtons({mbOK, mbCancel}), MB_ICONINFORMATION | MB_OKCANCEL},
      {mtConfirmation, MsgDlgButtons({mbYes, mbNo, mbCancel}), MB_ICONQUESTION | MB_YESNOCANCEL},
      {mtConfirmation, MsgDlgButtons({mbOK, mbYes}), MB_ICONQUESTION | MB_OK},
      {mtCustom, MsgDlgButtons({mbNo}), MB_YESNO},
      {mtCustom, MsgDlgButtons({mbRetry, mbCancel}), MB_RETRYCANCEL},
      {mtCustom, MsgDlgButtons({mbIgnore}), MB_ABORTRETRYIGNORE},
      {mtCustom, MsgDlgButtons({mbAll}), MB_OK},
      {mtWarning, MsgDlgButtons({mbOK, mbHelp}), MB_ICONWARNING | MB_OK | MB_HELP},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MessageDlgFlags(c.type, c.buttons), c.flags) << int(c.type) << " " << c.buttons;
}

TEST(SkinnedMessageDlg, CaptionsByType) {
  EXPECT_EQ(MessageDlgCaption(L"", mtWarning), L"Warning");
  EXPECT_EQ(MessageDlgCaption(L"", mtError), L"Error");
  EXPECT_EQ(MessageDlgCaption(L"", mtInformation), L"Information");
  EXPECT_EQ(MessageDlgCaption(L"", mtConfirmation), L"Confirm");
  EXPECT_EQ(MessageDlgCaption(L"", mtCustom), L"");
  EXPECT_EQ(MessageDlgCaption(L"Своя", mtWarning), L"Своя");
}

namespace {

struct SeenBox {
  std::wstring caption;
  POINT target{0, 0};
  LONG style = 0;
  int count = 0;
};
SeenBox g_seen;
HHOOK g_hook = nullptr;

// Records the box as it activates and closes it with its default button.
LRESULT CALLBACK CloseBoxHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_ACTIVATE) {
    HWND wnd = reinterpret_cast<HWND>(wParam);
    wchar_t cls[32] = {};
    ::GetClassNameW(wnd, cls, 32);
    if (std::wstring(cls) == L"#32770") {
      wchar_t text[128] = {};
      ::GetWindowTextW(wnd, text, 128);
      g_seen.caption = text;
      g_seen.target = DlgTargetPos;
      ++g_seen.count;
      ::PostMessageW(wnd, WM_COMMAND, IDOK, 0);
      ::PostMessageW(wnd, WM_COMMAND, IDCANCEL, 0);
    }
  }
  return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

struct HookScope {
  HookScope() {
    g_seen = SeenBox{};
    g_hook = ::SetWindowsHookExW(WH_CBT, CloseBoxHook, nullptr, ::GetCurrentThreadId());
  }
  ~HookScope() { ::UnhookWindowsHookEx(g_hook); }
};

}  // namespace

TEST(SkinnedMessageDlg, TargetPositionHoldsOnlyDuringTheBox) {
  HookScope hook;
  int result = SkinnedMessageDlgPos(L"", L"Текст", mtWarning, MsgDlgButtons({mbOK}), 0, 40, 50);
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(g_seen.count, 1);
  EXPECT_EQ(g_seen.caption, L"Warning");
  EXPECT_EQ(g_seen.target.x, 40);
  EXPECT_EQ(g_seen.target.y, 50);
  EXPECT_EQ(DlgTargetPos.x, -1);
  EXPECT_EQ(DlgTargetPos.y, -1);
}

TEST(SkinnedMessageDlg, ShowErrorUsesTheErrorCaption) {
  HookScope hook;
  ShowError(L"Сбой");
  EXPECT_EQ(g_seen.count, 1);
  EXPECT_EQ(g_seen.caption, L"Error");
  EXPECT_EQ(g_seen.target.x, -1);
}
