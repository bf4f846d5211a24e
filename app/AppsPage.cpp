#include "app/AppsPage.h"

#include "app/MainForm.h"

void TAppsPage::BuildAppsPage(TMainForm* /*form*/, TTabSheet* /*sheet*/) {}
