#pragma once
// The fixture of the settings pages' tests: the real main window with every
// settings key moved below a scratch key, its message boxes recorded, and
// the pages put back as start-up left them after each test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/settings/SettingsTable.h"
#include "framework/Buttons.h"
#include "framework/StdCtrls.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/app/common/MessageBoxCatcher.h"
#include "tests/app/settings/SettingsTestSupport.h"
#include "tests/common/TestEnv.h"

namespace settingstest {

inline const wchar_t* const kPolicies = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
inline const wchar_t* const kAdvanced = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
inline const wchar_t* const kMemory =
    L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";

class SettingsPagesFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    pages_ = testenv::EnsureMainForm();
    // The pages as start-up left them, put back after every test.
    static const PagesState startState = Capture(*pages_);
    start_ = &startState;
    pages_->ShowSettingsMessage = [this](const std::wstring& text, const std::wstring& caption) {
      shown_.push_back({caption, text});
    };
    Use(L"setup");
    ResetControls(*pages_);
    shown_.clear();
  }

  void TearDown() override {
    Use(L"teardown");  // box handlers that write do it below the scratch key
    Restore(*pages_, *start_);
    pages_->SettingsKeyMap = nullptr;
    pages_->ShowSettingsMessage = nullptr;
  }

  std::vector<std::wstring> ShownTexts() const {
    std::vector<std::wstring> r;
    for (const auto& b : shown_) r.push_back(b.Text);
    return r;
  }

  // A fresh area below the scratch key; the pages read and write there.
  std::wstring Use(const std::wstring& area) {
    std::wstring base = scratch_.SubKey() + L"\\" + area;
    pages_->SettingsKeyMap = ScratchMap(base);
    return base;
  }

  std::wstring Path(const std::wstring& base, HKEY root, const std::wstring& key) {
    return ScratchPath(base, root, key);
  }

  TCustomCheckBox* Box(TSettingsBox member) { return pages_->*member; }
  TEdit* Edit(TSettingsEdit member) { return pages_->*member; }

  testenv::ScopedRegKey scratch_;
  std::vector<testenv::CaughtMessageBox> shown_;
  TSettingsPages* pages_ = nullptr;
  const PagesState* start_ = nullptr;
};

// Values of a row that tick its box (or fill its edit).
inline void SeedTicking(const std::wstring& base, const TLoadRow& row) {
  const std::wstring path = ScratchPath(base, row.Root, row.Key);
  switch (row.Rule) {
    case TReadRule::IntIs1: SetDword(path, row.Name, 1); break;
    case TReadRule::IntIsSfcOff: SetDword(path, row.Name, 0xFFFFFF9D); break;
    case TReadRule::TextIs: SetText(path, row.Name, row.Text); break;
    case TReadRule::TextIsNot: SetText(path, row.Name, L"0"); break;
    case TReadRule::BothAre1:
      SetDword(path, row.Name, 1);
      SetDword(path, row.Name2, 1);
      break;
    case TReadRule::NotBothAre1:
      SetDword(path, row.Name, 1);
      SetDword(path, row.Name2, 0);
      break;
    case TReadRule::IntToEdit: SetDword(path, row.Name, 12345); break;
    case TReadRule::IntToEditAndBox: SetDword(path, row.Name, 4096); break;
    case TReadRule::TextToEdit: SetText(path, row.Name, std::wstring(L"text ") + row.Name); break;
    case TReadRule::SubKeyExists: MakeKey(path + L"\\" + row.Name); break;
  }
}

// Values of a row that untick its box.
inline void SeedUnticking(const std::wstring& base, const TLoadRow& row) {
  const std::wstring path = ScratchPath(base, row.Root, row.Key);
  switch (row.Rule) {
    case TReadRule::IntIs1: SetDword(path, row.Name, 0); break;
    case TReadRule::IntIsSfcOff: SetDword(path, row.Name, 0); break;
    case TReadRule::TextIs: SetText(path, row.Name, L"other"); break;
    case TReadRule::TextIsNot: SetText(path, row.Name, L"1"); break;
    case TReadRule::BothAre1:
      SetDword(path, row.Name, 1);
      SetDword(path, row.Name2, 0);
      break;
    case TReadRule::NotBothAre1:
      SetDword(path, row.Name, 1);
      SetDword(path, row.Name2, 1);
      break;
    case TReadRule::IntToEdit: SetDword(path, row.Name, static_cast<DWORD>(-5)); break;
    case TReadRule::IntToEditAndBox: SetDword(path, row.Name, 0); break;
    case TReadRule::TextToEdit: SetText(path, row.Name, L""); break;
    case TReadRule::SubKeyExists: MakeKey(path); break;
  }
}

inline std::vector<std::wstring> KeyNotFoundMessages() {
  std::vector<std::wstring> r;
  for (const TLoadRow& row : LoadRows())
    if (row.OnFailure == TReadFailure::Message) r.push_back(KeyNotFoundText(row.Name));
  return r;
}


// Texts of the edits that every Ok can write.
inline void FillEdits(TSettingsPages& pages) {
  pages.SETTCACHE2LEVEL->SetText(L"256");
  pages.CACHEDISC->SetText(L"8192");
  pages.sEdit4->SetText(L"400");
  pages.sEdit5->SetText(L"5000");
  pages.sEdit6->SetText(L"abc");  // stored as typed
}

}  // namespace settingstest
