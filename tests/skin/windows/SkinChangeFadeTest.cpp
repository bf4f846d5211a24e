// A change of skin fades each skinned form's new look in over its old one:
// frames read off the fade's output window between steps, through the
// control the fade refreshes after each frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "framework/Handles.h"
#include "skin/engine/AnimEffects.h"
#include "skin/engine/AnimShow.h"
#include "skin/engine/SkinnedForms.h"
#include "skin/windows/SkinProvider.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/skin/windows/AdapterTestSupport.h"

using namespace skintest;

namespace {

// Called by the fade after each frame it puts on the output window.
class FrameWatcher : public TGraphicControl {
 public:
  explicit FrameWatcher(TComponent* AOwner) : TGraphicControl(AOwner) {}
  std::function<void()> OnFrame;
  void WndProc(TMessage& m) override {
    if (m.Msg == SM_ALPHACMD && SkinCmdOf(m) == AC_REFRESH && OnFrame) OnFrame();
    TGraphicControl::WndProc(m);
  }
};

// One frame as drawn: the output window's image and the screen copy the
// fade started from.
struct Frame {
  std::unique_ptr<TBitmap> shown;
  std::unique_ptr<TBitmap> old;
  bool visible = false;
};

std::unique_ptr<TBitmap> Copy(HDC src, int w, int h) {
  auto b = MakeBmp(w, h, 0x123456);
  ::BitBlt(b->Canvas()->Handle(), 0, 0, w, h, src, 0, 0, SRCCOPY);
  ::GdiFlush();
  return b;
}

// Sampled pixels of a and b that differ by more than rounding, away from
// the corners the form's region cuts off.
int Differing(TBitmap& a, TBitmap& b) {
  int n = 0;
  for (int y = 8; y < a.Height() - 8; y += 3)
    for (int x = 8; x < a.Width() - 8; x += 3) {
      const TColor p = Px(a, x, y), q = Px(b, x, y);
      for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((p >> shift) & 255) - static_cast<int>((q >> shift) & 255)) >
            2) {
          ++n;
          break;
        }
    }
  return n;
}

// The output window's image just before the fade hides it: its last frame.
std::unique_ptr<TBitmap>& FinalFrame() {
  static std::unique_ptr<TBitmap> frame;
  return frame;
}

LRESULT CALLBACK WatchHide(int code, WPARAM w, LPARAM l) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(l);
  if (code == HC_ACTION && m->message == WM_WINDOWPOSCHANGING && OutputWindow &&
      OutputWindow->HandleAllocated() && m->hwnd == OutputWindow->WindowHandle() &&
      (reinterpret_cast<const WINDOWPOS*>(m->lParam)->flags & SWP_HIDEWINDOW)) {
    RECT r{};
    ::GetClientRect(m->hwnd, &r);
    UniqueWindowDC dc = UniqueWindowDC::Client(m->hwnd);
    FinalFrame() = Copy(dc.get(), r.right, r.bottom);
  }
  return ::CallNextHookEx(nullptr, code, w, l);
}

class SkinChangeFade : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->SetCaption(L"");
    form->SetBounds(60, 60, 240, 160);
    manager->AnimEffects->FormShow()->Active = false;
    provider = Construct<TsSkinProvider>(form);
    form->Show();
    wnd = form->WindowHandle();
    adaptertest::Pump(50);
    watcher = Construct<FrameWatcher>(form);
    watcher->OnFrame = [this] {
      if (!OutputWindow || !OutputWindow->HandleAllocated()) return;
      HWND out = OutputWindow->WindowHandle();
      RECT r{};
      ::GetClientRect(out, &r);
      UniqueWindowDC dc = UniqueWindowDC::Client(out);
      Frame f;
      f.shown = Copy(dc.get(), r.right, r.bottom);
      if (AnimScreenBmp) f.old = Copy(AnimScreenBmp->Canvas()->Handle(), r.right, r.bottom);
      f.visible = ::IsWindowVisible(out) != FALSE;
      frames.push_back(std::move(f));
    };
    ExtraRefreshControl = watcher;
    FinalFrame().reset();
    hook = ::SetWindowsHookExW(WH_CALLWNDPROC, WatchHide, nullptr, ::GetCurrentThreadId());
  }
  void TearDown() override {
    ::UnhookWindowsHookEx(hook);
    FinalFrame().reset();
    ExtraRefreshControl = nullptr;
    SkinnedForm::TearDown();
  }
  // The skin change as the manager brackets it: drawing off, new skin, on.
  void ChangeSkin() {
    LockForms();
    manager->SetSkinName(manager->InternalSkins()->Items(1)->Name());
    UnlockForms(manager.get(), true);
  }
  std::unique_ptr<TBitmap> Print() {
    auto b = MakeBmp(form->Width(), form->Height(), 0x123456);
    ::SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()),
                   PRF_CLIENT | PRF_NONCLIENT);
    return b;
  }

  TsSkinProvider* provider = nullptr;
  FrameWatcher* watcher = nullptr;
  HWND wnd = nullptr;
  HHOOK hook = nullptr;
  std::vector<Frame> frames;
};

}  // namespace

TEST_F(SkinChangeFade, TheNewLookFadesInOverTheOldOne) {
  ASSERT_NE(manager->InternalSkins()->Items(1)->Name(), manager->SkinName());
  // Long enough that a busy machine, which drops late frames, still shows
  // frames between the first and the last.
  manager->AnimEffects->SkinChanging()->Time = 400;
  const auto before = Print();
  ChangeSkin();
  const auto after = Print();
  ASSERT_GT(Differing(*before, *after), 100) << "the two skins must look different";
  ASSERT_GE(frames.size(), 3u);
  ASSERT_TRUE(frames.front().old);
  TBitmap& old = *frames.front().old;
  // The last frame is the new look; frames after the first (which is the
  // old look) are neither the old nor the new one.
  ASSERT_TRUE(FinalFrame());
  EXPECT_EQ(Differing(*FinalFrame(), *after), 0);
  EXPECT_EQ(Differing(*frames.front().shown, old), 0);
  int mixed = 0;
  for (const Frame& f : frames)
    if (f.visible && Differing(*f.shown, old) > 100 && Differing(*f.shown, *after) > 100) ++mixed;
  EXPECT_GT(mixed, 0);
  EXPECT_EQ(OutputWindow, nullptr);
  EXPECT_TRUE(::IsWindowVisible(wnd));
}

TEST_F(SkinChangeFade, NoFadeWhenTheAnimationIsOffOrTooShort) {
  struct Case {
    bool active;
    uint16_t time;
  };
  for (Case c : {Case{false, 160}, Case{true, 7}}) {
    SCOPED_TRACE(c.time);
    manager->AnimEffects->SkinChanging()->Active = c.active;
    manager->AnimEffects->SkinChanging()->Time = c.time;
    frames.clear();
    ChangeSkin();
    // The new look shows at once: no frame in between.
    EXPECT_EQ(std::count_if(frames.begin(), frames.end(), [](const Frame& f) { return f.visible; }),
              0);
    EXPECT_EQ(OutputWindow, nullptr);
    EXPECT_TRUE(::IsWindowVisible(wnd));
    manager->SetSkinName(L"WLM (internal)");
  }
}
