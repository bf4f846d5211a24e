#include "tests/app/common/MainFormHarness.h"

#include "app/duplicates/HelpForm.h"
#include "app/duplicates/ResultForm.h"

namespace testenv {

namespace {
std::vector<CaughtMessageBox> g_startupBoxes;
}  // namespace

const std::vector<CaughtMessageBox>& StartupMessageBoxes() { return g_startupBoxes; }

TMainForm* EnsureMainForm() {
  if (!MainForm) {
    MessageBoxCatcher catcher;
    InitFramework();
    Application->MainFormOnTaskBar = true;
    Application->CreateForm(MainForm);
    Application->CreateForm(HelpForm);
    Application->CreateForm(ResultForm);
    MainForm->Show();
    Application->ProcessMessages();
    g_startupBoxes = catcher.Boxes();
  }
  return MainForm;
}

}  // namespace testenv
