// A skinned form with a skin provider on it, away from the screen's corner,
// for the tests of what the provider does to the windows on the form.
#pragma once

#include <windows.h>

#include "skin/windows/SkinProvider.h"
#include "tests/common/Pump.h"
#include "tests/skin/engine/SkinnedTestControls.h"

namespace adaptertest {

class ProvidedForm : public skintest::SkinnedForm {
 protected:
  // The form at (40, 40), `width` x `height`, with its provider; the test
  // puts its controls on it and then shows it.
  void SetUpForm(int width, int height) {
    SkinnedForm::SetUp();
    form->SetBounds(40, 40, width, height);
    provider = Construct<TsSkinProvider>(form);
  }
  // No fade when the form shows nor when the skin changes: the tests look
  // at the final image at once.
  void AnimationsOff() {
    manager->AnimEffects->FormShow()->Active = false;
    manager->AnimEffects->SkinChanging()->Active = false;
  }
  // Shows the form and delivers messages for `ms` milliseconds, so the
  // provider has adapted and painted what is on it.
  void ShowAndPump(DWORD ms) {
    form->Show();
    testenv::PumpFor(ms);
  }

  TsSkinProvider* provider = nullptr;
};

}  // namespace adaptertest
