#pragma once
// In-process main window for page tests: the framework and TMainForm are
// created once per test executable, as the program does at start (the
// forms' creation handlers run against this test run's private Wine prefix).
#include <vector>

#include "app/mainwindow/MainForm.h"
#include "tests/app/common/MessageBoxCatcher.h"

namespace testenv {

TMainForm* EnsureMainForm();

// The message boxes that came while the main window was created (answered
// with OK: a fresh prefix lacks keys whose absence start-up reports).
const std::vector<CaughtMessageBox>& StartupMessageBoxes();

}  // namespace testenv
