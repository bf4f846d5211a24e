// The skin library's global state must be left as it was found: after every
// test as the test found it, and after every test suite (whose fixture may
// keep a manager for all its tests) clean: no default manager, no skinned
// forms, no output window or screen copy of an animation. A test that
// leaves any of it fails here, instead of a later test failing for a reason
// it cannot show.
#include <gtest/gtest.h>

#include <vector>

#include "skin/engine/AnimShow.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinnedForms.h"

namespace {

struct GlobalState {
  TsSkinManager* manager;
  std::vector<TCustomForm*> forms;
  TOutputWindow* output;
  bool screenCopy;
  HDC captureDC;

  static GlobalState Now() {
    return {DefaultManager, SkinnedForms, OutputWindow, AnimScreenBmp != nullptr, AnimCaptureDC};
  }
  void ExpectSameAs(const GlobalState& before, const char* when) const {
    EXPECT_EQ(manager, before.manager) << "the default skin manager changed " << when;
    EXPECT_EQ(forms, before.forms) << "the skinned-forms list changed " << when;
    EXPECT_EQ(output, before.output) << "an animation's output window was left " << when;
    EXPECT_EQ(screenCopy, before.screenCopy) << "an animation's screen copy was left " << when;
    EXPECT_EQ(captureDC, before.captureDC) << "a capture DC was left set " << when;
  }
};

class CleanStateCheck : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { atStart_ = GlobalState::Now(); }
  void OnTestEnd(const ::testing::TestInfo&) override {
    GlobalState::Now().ExpectSameAs(atStart_, "by the test");
  }
  void OnTestSuiteEnd(const ::testing::TestSuite&) override {
    GlobalState::Now().ExpectSameAs(GlobalState{}, "by the test suite");
  }

  GlobalState atStart_{};
};

const bool kInstalled = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new CleanStateCheck);
  return true;
}();

}  // namespace
