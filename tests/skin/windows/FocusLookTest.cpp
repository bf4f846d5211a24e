// Standard buttons and check boxes on a skinned form: the active look
// (focus or mouse above) shows on one control at a time, whichever way the
// focus and the mouse moved.
#include <gtest/gtest.h>

#include <vector>

#include "framework/StdCtrls.h"
#include "skin/windows/SkinProvider.h"
#include "tests/common/ScreenPixels.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/skin/windows/AdapterTestSupport.h"

using namespace skintest;

namespace {

class FocusLookTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->SetBounds(80, 80, 420, 260);
    Construct<TsSkinProvider>(form);
    for (int i = 0; i < 3; ++i) {
      auto* b = Construct<TButton>(form);
      b->SetParent(form);
      b->SetBounds(20, 20 + 35 * i, 110, 25);
      b->SetCaption(L"Кнопка " + std::to_wstring(i));
      controls.push_back(b);
    }
    for (int i = 0; i < 3; ++i) {
      auto* c = Construct<TCheckBox>(form);
      c->SetParent(form);
      c->SetBounds(200, 20 + 30 * i, 160, 20);
      c->SetCaption(L"Флажок " + std::to_wstring(i));
      controls.push_back(c);
    }
    ::SetCursorPos(2, 2);
    form->Show();
    ::SetForegroundWindow(form->Handle());
    ::SetFocus(form->Handle());
    adaptertest::PumpFor(100);
    for (TWinControl* c : controls) resting.push_back(Look(c));
  }
  static testenv::ScreenPixels Look(TWinControl* c) {
    RECT r{};
    ::GetWindowRect(c->Handle(), &r);
    testenv::ScreenPixels last = testenv::ReadPixels(nullptr, r);
    for (int i = 0; i < 40; ++i) {
      adaptertest::PumpFor(40);
      testenv::ScreenPixels now = testenv::ReadPixels(nullptr, r);
      if (now == last) break;
      last = std::move(now);
    }
    return last;
  }
  // How many controls look other than at rest.
  int Active() {
    int n = 0;
    for (size_t i = 0; i < controls.size(); ++i) n += !(Look(controls[i]) == resting[i]);
    return n;
  }
  void Hover(TWinControl* c) {
    RECT r{};
    ::GetWindowRect(c->Handle(), &r);
    ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    adaptertest::PumpFor(60);
  }
  std::vector<TWinControl*> controls;
  std::vector<testenv::ScreenPixels> resting;
};

TEST_F(FocusLookTest, OneControlLooksActiveAtATime) {
  for (size_t i = 0; i < controls.size(); ++i) {
    controls[i]->SetFocus();
    adaptertest::PumpFor(30);
    EXPECT_LE(Active(), 1) << "focus on " << i;
    // The mouse passes over another control and leaves the form.
    TWinControl* passed = controls[(i + 2) % controls.size()];
    Hover(passed);
    ::SetCursorPos(2, 2);
    // The platform tells of the leave on its own clock.
    adaptertest::PumpUntil([&] { return DefaultManager->ActiveControl != passed->Handle(); }, 2000);
    EXPECT_LE(Active(), 1) << "focus on " << i << ", after the mouse passed";
  }
  ::SetCursorPos(2, 2);
}

}  // namespace
