#include "app/FinderPage.h"

#include "app/MainForm.h"

void TFinderPage::BuildFinderPage(TMainForm* /*form*/, TTabSheet* /*sheet*/) {}
