// The start-up fill of the settings pages (LoadRegedit, both modes) against
// values below a scratch key.
#include <gtest/gtest.h>

#include <functional>

#include "tests/app/settings/SettingsPagesFixture.h"

using namespace settingstest;

using SettingsLoad = SettingsPagesFixture;

TEST_F(SettingsLoad, TickingValuesTickEveryBoxAndFillEveryEdit) {
  const std::wstring base = Use(L"tick");
  for (const TLoadRow& row : LoadRows()) SeedTicking(base, row);
  pages_->LoadRegedit();
  EXPECT_TRUE(shown_.empty());
  for (const TLoadRow& row : LoadRows()) {
    SCOPED_TRACE(row.Name);
    if (row.Box) {
      EXPECT_TRUE(Box(row.Box)->Checked());
      EXPECT_TRUE(Box(row.Box)->Enabled());
    }
    if (row.Edit) {
      EXPECT_TRUE(Edit(row.Edit)->Enabled());
    }
  }
  EXPECT_EQ(pages_->SETTCACHE2LEVEL->Text(), L"12345");
  EXPECT_EQ(pages_->CACHEDISC->Text(), L"4096");
  EXPECT_EQ(pages_->sEdit3->Text(), L"text LocalizedString");
  EXPECT_EQ(pages_->sEdit4->Text(), L"text MenuShowDelay");
  EXPECT_EQ(pages_->sEdit5->Text(), L"text HungAppTimeout");
  EXPECT_EQ(pages_->sEdit6->Text(), L"text WaitToKillAppTimeout");
}

TEST_F(SettingsLoad, UntickingValuesUntickEveryBox) {
  const std::wstring base = Use(L"untick");
  for (TCustomCheckBox* box : AllBoxes(*pages_)) box->SetChecked(true);
  for (const TLoadRow& row : LoadRows()) SeedUnticking(base, row);
  pages_->LoadRegedit();
  EXPECT_TRUE(shown_.empty());
  for (const TLoadRow& row : LoadRows()) {
    if (!row.Box) continue;
    SCOPED_TRACE(row.Name);
    EXPECT_FALSE(Box(row.Box)->Checked());
    EXPECT_TRUE(Box(row.Box)->Enabled());
  }
  EXPECT_EQ(pages_->SETTCACHE2LEVEL->Text(), L"-5");
  // A zero lock limit: the edit shows it and goes grey with its box.
  EXPECT_EQ(pages_->CACHEDISC->Text(), L"0");
  EXPECT_FALSE(pages_->CACHEDISC->Enabled());
  EXPECT_EQ(pages_->sEdit3->Text(), L"");
}

TEST_F(SettingsLoad, MissingValuesDisableOrReportAndEveryRowIsRead) {
  Use(L"empty");  // not a single key exists
  pages_->LoadRegedit();
  // Rows 42 to 46 say so in a box each, in order, and keep their boxes.
  EXPECT_EQ(ShownTexts(), KeyNotFoundMessages());
  for (const auto& b : shown_) EXPECT_EQ(b.Caption, L"Ошибка");
  for (const TLoadRow& row : LoadRows()) {
    SCOPED_TRACE(row.Name);
    TControl* failed = row.Edit ? static_cast<TControl*>(Edit(row.Edit)) : Box(row.Box);
    const bool keeps = row.OnFailure == TReadFailure::Message || row.Rule == TReadRule::SubKeyExists;
    EXPECT_EQ(failed->Enabled(), keeps);
    if (row.Box) {
      EXPECT_FALSE(Box(row.Box)->Checked());
    }
  }
  // Row 13 disables the edit, not its box.
  EXPECT_TRUE(pages_->SETCACHEDISC->Enabled());
}

TEST_F(SettingsLoad, MissingStringInAnExistingKeyReadsAsEmpty) {
  const std::wstring base = Use(L"strings");
  for (const TLoadRow& row : LoadRows())
    if (row.Rule == TReadRule::TextIs || row.Rule == TReadRule::TextIsNot ||
        row.Rule == TReadRule::TextToEdit)
      MakeKey(Path(base, row.Root, row.Key));
  // The handler's CLSID in the key's default value is not the value "'".
  SetText(Path(base, HKEY_CLASSES_ROOT, L"*\\shellex\\ContextMenuHandlers\\Copy To"), L"",
          L"{C2FBB630-2971-11D1-A18C-00C04FD75D13}");
  pages_->LoadRegedit();
  EXPECT_TRUE(pages_->AddCopyTo->Enabled());
  EXPECT_FALSE(pages_->AddCopyTo->Checked());
  EXPECT_TRUE(pages_->DWATSON->Enabled());
  EXPECT_TRUE(pages_->DWATSON->Checked());  // empty text is not "1"
  EXPECT_TRUE(pages_->sEdit3->Enabled());
  EXPECT_EQ(pages_->sEdit3->Text(), L"");
  EXPECT_TRUE(pages_->sEdit4->Enabled());
  EXPECT_EQ(pages_->sEdit4->Text(), L"");
}

TEST_F(SettingsLoad, ValueThatHoldsNoNumberOrTextDisablesItsControlOnly) {
  const std::wstring base = Use(L"types");
  for (const TLoadRow& row : LoadRows()) SeedTicking(base, row);
  SetText(Path(base, HKEY_CURRENT_USER, kPolicies), L"NoRun", L"yes");
  SetText(Path(base, HKEY_LOCAL_MACHINE, kMemory), L"SecondLevelDataCache", L"256 KB");
  SetText(Path(base, HKEY_CLASSES_ROOT, L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}"),
          L"LocalizedString", L"5", REG_MULTI_SZ);
  pages_->LoadRegedit();
  EXPECT_TRUE(shown_.empty());
  EXPECT_FALSE(pages_->NoRun->Enabled());
  EXPECT_FALSE(pages_->SETTCACHE2LEVEL->Enabled());
  EXPECT_FALSE(pages_->sEdit3->Enabled());
  // The rows after them were read all the same.
  EXPECT_TRUE(pages_->OPTSYSTCACHE->Checked());
  EXPECT_TRUE(pages_->ADDSHortInMyC->Checked());
  EXPECT_TRUE(pages_->OnNumOnLoadS->Checked());
}

TEST_F(SettingsLoad, ReadRulesByValue) {
  const std::wstring winlogon = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
  const std::wstring reporting = L"SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
  const std::wstring lanman = L"SYSTEM\\CurrentControlSet\\Services\\LanmanServer\\Parameters";
  struct Case {
    const wchar_t* what;
    std::function<void(const std::wstring& base)> seed;
    TSettingsBox box;
    bool ticked;
  };
  auto dword = [](HKEY root, std::wstring key, const wchar_t* name, DWORD v) {
    return [=](const std::wstring& base) { SetDword(ScratchPath(base, root, key), name, v); };
  };
  auto pair = [](std::wstring key, const wchar_t* a, DWORD va, const wchar_t* b, DWORD vb) {
    return [=](const std::wstring& base) {
      SetDword(ScratchPath(base, HKEY_LOCAL_MACHINE, key), a, va);
      SetDword(ScratchPath(base, HKEY_LOCAL_MACHINE, key), b, vb);
    };
  };
  auto text = [](HKEY root, std::wstring key, const wchar_t* name, const wchar_t* v) {
    return [=](const std::wstring& base) { SetText(ScratchPath(base, root, key), name, v); };
  };
  const Case cases[] = {
      {L"SfcDisable FFFFFF9Dh", dword(HKEY_LOCAL_MACHINE, winlogon, L"SfcDisable", 0xFFFFFF9D),
       &TSettingsPages::DSFILEP, true},
      {L"SfcDisable 0", dword(HKEY_LOCAL_MACHINE, winlogon, L"SfcDisable", 0),
       &TSettingsPages::DSFILEP, false},
      {L"SfcDisable FFFFFF9Ch", dword(HKEY_LOCAL_MACHINE, winlogon, L"SfcDisable", 0xFFFFFF9C),
       &TSettingsPages::DSFILEP, false},
      {L"DoReport 1 ShowUI 1", pair(reporting, L"DoReport", 1, L"ShowUI", 1),
       &TSettingsPages::DONTSENDINMIC, false},
      {L"DoReport 1 ShowUI 0", pair(reporting, L"DoReport", 1, L"ShowUI", 0),
       &TSettingsPages::DONTSENDINMIC, true},
      {L"DoReport 0 ShowUI 1", pair(reporting, L"DoReport", 0, L"ShowUI", 1),
       &TSettingsPages::DONTSENDINMIC, true},
      {L"shares 1 1", pair(lanman, L"AutoShareWks", 1, L"AutoShareServer", 1),
       &TSettingsPages::FullDisNetRes, true},
      {L"shares 1 0", pair(lanman, L"AutoShareWks", 1, L"AutoShareServer", 0),
       &TSettingsPages::FullDisNetRes, false},
      {L"QuickEdit 2", dword(HKEY_CURRENT_USER, L"Console", L"QuickEdit", 2),
       &TSettingsPages::QUICKEDITCOMANDROW, false},
      {L"Auto 1", text(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug",
                       L"Auto", L"1"),
       &TSettingsPages::DWATSON, false},
      {L"Auto 0", text(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug",
                       L"Auto", L"0"),
       &TSettingsPages::DWATSON, true},
      {L"DefaultSeparateVDM Yes", text(HKEY_LOCAL_MACHINE, L"SYSTEM\\CurrentControlSet\\Control\\WOW",
                                       L"DefaultSeparateVDM", L"Yes"),
       &TSettingsPages::RUN16bitOTD, false},
      {L"Copy To CLSID in \"'\"",
       text(HKEY_CLASSES_ROOT, L"*\\shellex\\ContextMenuHandlers\\Copy To", L"'",
            L"{C2FBB630-2971-11D1-A18C-00C04FD75D13}"),
       &TSettingsPages::AddCopyTo, true},
      {L"NumLock 2", text(HKEY_USERS, L".DEFAULT\\Control Panel\\Keyboard",
                          L"InitialKeyboardIndicators", L"2"),
       &TSettingsPages::OnNumOnLoadS, true},
      {L"NumLock 0", text(HKEY_USERS, L".DEFAULT\\Control Panel\\Keyboard",
                          L"InitialKeyboardIndicators", L"0"),
       &TSettingsPages::OnNumOnLoadS, false},
  };
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring base = Use(L"rule" + std::to_wstring(n++));
    ResetControls(*pages_);
    c.seed(base);
    pages_->LoadRegedit();
    EXPECT_TRUE(Box(c.box)->Enabled());
    EXPECT_EQ(Box(c.box)->Checked(), c.ticked);
  }
}

TEST_F(SettingsLoad, MissingStartAutoCascadeReportsMissingNoFindDisables) {
  const std::wstring base = Use(L"cascade");
  for (const TLoadRow& row : LoadRows()) SeedTicking(base, row);
  RegDeleteKeyValueW(HKEY_CURRENT_USER, Path(base, HKEY_CURRENT_USER, kAdvanced).c_str(),
                     L"Start_AutoCascade");
  RegDeleteKeyValueW(HKEY_CURRENT_USER, Path(base, HKEY_CURRENT_USER, kPolicies).c_str(), L"NoFind");
  pages_->OpMenuPriZadInavMouse->SetChecked(false);
  // The real message box this time, answered by the catcher.
  pages_->ShowSettingsMessage = nullptr;
  testenv::MessageBoxCatcher catcher;
  pages_->LoadRegedit();
  ASSERT_EQ(catcher.Boxes().size(), 1u);
  EXPECT_EQ(catcher.Boxes()[0].Caption, L"Ошибка");
  EXPECT_EQ(catcher.Boxes()[0].Text, L"Следующий ключ не найден \"Start_AutoCascade\"");
  EXPECT_TRUE(pages_->OpMenuPriZadInavMouse->Enabled());
  EXPECT_FALSE(pages_->NoFind->Enabled());
}

TEST_F(SettingsLoad, BackupReadsValuesAndTouchesNoControl) {
  const std::wstring base = Use(L"backup");
  for (const TLoadRow& row : LoadRows()) SeedTicking(base, row);
  pages_->DWATSON->SetEnabled(false);
  pages_->sEdit5->SetText(L"as typed");
  pages_->MakeBackup->Click();
  EXPECT_TRUE(shown_.empty());
  EXPECT_FALSE(pages_->DWATSON->Checked());
  EXPECT_FALSE(pages_->DWATSON->Enabled());
  EXPECT_EQ(pages_->sEdit5->Text(), L"as typed");
  // Every value of the fill except the recycle bin's subkey test.
  ASSERT_EQ(pages_->SettingsBackup.size(), 56u);
  for (const TSettingsBackupValue& v : pages_->SettingsBackup) EXPECT_TRUE(v.Read) << v.Name;
  EXPECT_EQ(pages_->SettingsBackup.front().Name, L"ClearPageFileAtShutdown");
  EXPECT_EQ(pages_->SettingsBackup.front().Integer, 1);

  Use(L"backup-empty");
  pages_->LoadRegedit(1);
  EXPECT_TRUE(shown_.empty());  // missing values are no message here
  ASSERT_EQ(pages_->SettingsBackup.size(), 56u);
  for (const TSettingsBackupValue& v : pages_->SettingsBackup) EXPECT_FALSE(v.Read) << v.Name;
}


TEST_F(SettingsLoad, StartUpStepsOnFreshKeysFillWithoutReports) {
  const std::wstring base = Use(L"fresh");
  // The keys every Windows has; the values are all missing.
  for (const TCreateKeyRow& row : CreateKeyRows())
    if (!row.Create) MakeKey(ScratchPath(base, row.Root, row.Key));
  pages_->CreateKeys();
  pages_->LoadRegedit();
  pages_->SCancelSystemSett();
  EXPECT_TRUE(shown_.empty());
  // Made to exist, so read: enabled, and ticked as the defaults say.
  EXPECT_TRUE(pages_->OpMenuPriZadInavMouse->Enabled());
  EXPECT_TRUE(pages_->OpMenuPriZadInavMouse->Checked());
  EXPECT_TRUE(pages_->FullDisNetRes->Checked());
  EXPECT_TRUE(pages_->NoFind->Enabled());
  EXPECT_FALSE(pages_->NoFind->Checked());
  EXPECT_TRUE(pages_->AUTUNLDLL->Enabled());
  // Never made to exist: disabled.
  EXPECT_FALSE(pages_->DSFILEP->Enabled());
  EXPECT_EQ(pages_->SettingsSnapshot.Boxes[pages_->OpMenuPriZadInavMouse], true);
}
