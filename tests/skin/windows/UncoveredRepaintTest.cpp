// A skinned dialog or form closing over a skinned form: what it covered is
// painted again at once, the child windows under it included (the platform
// itself only puts back the covered windows' old images).
#include <gtest/gtest.h>

#include <functional>

#include "skin/windows/DialogWnd.h"
#include "skin/windows/SkinProvider.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/skin/windows/AdapterTestSupport.h"

using namespace skintest;

namespace {

int g_childPaints = 0;

LRESULT CALLBACK CountingProc(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == WM_PAINT) ++g_childPaints;
  return ::DefWindowProcW(wnd, msg, w, l);
}

const wchar_t* CountingClass() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CountingProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = L"TarnholtPaintCounter";
    ::RegisterClassW(&wc);
    registered = true;
  }
  return L"TarnholtPaintCounter";
}

INT_PTR CALLBACK PlainDlgProc(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

class UncoveredRepaintTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    InstallEngineHooks();
    form->SetBounds(60, 60, 420, 320);
    Construct<TsSkinProvider>(form);
    form->Show();
    child_ = ::CreateWindowExW(0, CountingClass(), L"", WS_CHILD | WS_VISIBLE, 10, 10, 380, 240,
                               form->Handle(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SetForegroundWindow(form->Handle());
    adaptertest::PumpFor(50);
  }
  // Shows a window over the child with `show`, then closes it with
  // `close`; true when the child was painted again afterwards.
  bool ChildPaintedAfterClose(const std::function<HWND()>& show, const std::function<void()>& close) {
    HWND over = show();
    RECT r{};
    ::GetWindowRect(child_, &r);
    ::SetWindowPos(over, HWND_TOP, r.left + 20, r.top + 20, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    adaptertest::PumpFor(50);
    g_childPaints = 0;
    close();
    adaptertest::PumpUntil([] { return g_childPaints > 0; }, 500);
    return g_childPaints > 0;
  }
  HWND child_ = nullptr;
};

TEST_F(UncoveredRepaintTest, ClosedSystemDialogLeavesNothingBehind) {
  for (int opening = 1; opening <= 2; ++opening) {
    HWND dlg = nullptr;
    const bool painted = ChildPaintedAfterClose(
        [&] {
          dlg = adaptertest::MakeDialog(WS_POPUP | WS_CAPTION | DS_MODALFRAME, PlainDlgProc, L"Вопрос",
                                        IDOK, L"Да");
          ::SetWindowLongPtrW(dlg, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(form->Handle()));
          ::ShowWindow(dlg, SW_SHOW);
          ::SetActiveWindow(dlg);
          adaptertest::PumpFor(30);
          EXPECT_NE(nullptr, dynamic_cast<TacDialogWnd*>(GetScrollWnd(dlg)));
          return dlg;
        },
        [&] { ::DestroyWindow(dlg); });
    EXPECT_TRUE(painted) << "opening " << opening;
  }
}

TEST_F(UncoveredRepaintTest, HiddenSkinnedFormLeavesNothingBehind) {
  TForm* other = Construct<TForm>(Application);
  other->SetBounds(0, 0, 200, 150);
  Construct<TsSkinProvider>(other);
  for (int showing = 1; showing <= 2; ++showing) {
    const bool painted = ChildPaintedAfterClose(
        [&] {
          other->Show();
          return other->Handle();
        },
        [&] { other->Hide(); });
    EXPECT_TRUE(painted) << "showing " << showing;
  }
  delete other;
}

}  // namespace
