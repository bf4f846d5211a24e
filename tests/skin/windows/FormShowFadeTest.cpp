// A form that fades in shows the steps of the fade on screen while they
// play, and once the fade has begun the screen never shows the form
// unpainted (black under Xvfb): the form is painted before the last frame
// goes. Read from the screen by a second thread while the test thread runs
// the show.
#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>
#include <vector>

#include "tests/skin/windows/ProvidedFormTestSupport.h"

namespace {

class FormShowFade : public adaptertest::ProvidedForm {
 protected:
  void SetUp() override { SetUpForm(300, 200); }
};

}  // namespace

TEST_F(FormShowFade, EveryStepReachesTheScreenAndNothingUnpaintedFollows) {
  // Above the windows of other tests on the display. A long fade, so that
  // the sampler sees several frames even when a busy machine gives it the
  // processor only now and then and the fade drops frames that fell late.
  form->SetFormStyle(fsStayOnTop);
  manager->AnimEffects->FormShow()->Active = true;
  manager->AnimEffects->FormShow()->Time = 800;
  const int x = 40 + 150, y = 40 + 110;  // inside the client, clear of any control

  std::atomic<bool> stop{false};
  std::vector<COLORREF> seen;
  std::thread sampler([&] {
    HDC screen = ::GetDC(nullptr);
    COLORREF last = CLR_INVALID;
    while (!stop) {
      const COLORREF c = ::GetPixel(screen, x, y);
      if (c != last) seen.push_back(c);
      last = c;
    }
    ::ReleaseDC(nullptr, screen);
  });
  form->Show();
  testenv::PumpFor(150);
  stop = true;
  sampler.join();

  ASSERT_FALSE(seen.empty());
  const COLORREF final = seen.back();
  EXPECT_NE(final, RGB(0, 0, 0));
  // From the first step that is not black on, no black again.
  size_t first = 0;
  while (first < seen.size() && seen[first] == RGB(0, 0, 0)) ++first;
  std::set<COLORREF> steps;
  for (size_t i = first; i < seen.size(); ++i) {
    EXPECT_NE(seen[i], RGB(0, 0, 0)) << "step " << i << " of " << seen.size();
    if (seen[i] != final) steps.insert(seen[i]);
  }
  // The steps in between: frames that stayed in the window until the end
  // showed one of them at most, whatever the fade's length.
  EXPECT_GE(steps.size(), 3u);
  form->Hide();
}
