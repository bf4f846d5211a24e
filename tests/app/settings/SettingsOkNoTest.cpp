// Ok and No of the settings pages, their handlers and their controls,
// against values below a scratch key.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "framework/Messages.h"
#include "framework/SysUtils.h"
#include "tests/app/settings/SettingsPagesFixture.h"

using namespace settingstest;

using SettingsOkNo = SettingsPagesFixture;

// ---------------------------------------------------------------- Ok

namespace {

// "<root>\<key>|<name>" of every value a page's Ok writes.
std::set<std::wstring> PageValues(const TSettingsPageDef& page) {
  std::set<std::wstring> r;
  for (const TWriteRow& row : page.Writes)
    for (const wchar_t* name : {row.Name, row.Name2})
      if (name) r.insert(RootName(row.Root) + L"\\" + row.Key + L"|" + name);
  return r;
}

}  // namespace

TEST_F(SettingsOkNo, Ok_WritesExactlyThePagesValuesWithTheirTypes) {
  for (bool ticked : {true, false}) {
    for (const TSettingsPageDef& page : SettingsPageDefs()) {
      if (page.Writes.empty()) continue;  // page 5 has its own Ok
      SCOPED_TRACE(testing::Message() << "page " << page.PageIndex << (ticked ? " ticked" : " unticked"));
      Use(L"prep");
      ResetControls(*pages_);
      for (TCustomCheckBox* box : AllBoxes(*pages_)) box->SetChecked(ticked);
      FillEdits(*pages_);
      const std::wstring base = Use(L"ok" + std::to_wstring(page.PageIndex) + (ticked ? L"t" : L"u"));
      shown_.clear();
      (pages_->*page.OkButton)->SetEnabled(true);
      (pages_->*page.OkButton)->Click();
      EXPECT_TRUE(shown_.empty());
      EXPECT_EQ(AllValues(base), PageValues(page));
      for (const TWriteRow& row : page.Writes) {
        SCOPED_TRACE(row.Name);
        RawValue v = ReadValue(Path(base, row.Root, row.Key), row.Name);
        if (row.Kind == TSettingKind::String) {
          EXPECT_EQ(v.Type, static_cast<DWORD>(REG_SZ));
          if (row.Source == TWriteSource::Box) {
            EXPECT_EQ(v.Text, ticked ? row.TextOn : row.TextOff);
          }
        } else {
          EXPECT_EQ(v.Type, static_cast<DWORD>(REG_DWORD));
          if (row.Source == TWriteSource::Box) {
            EXPECT_EQ(v.Dword, static_cast<DWORD>(ticked ? row.IntOn : row.IntOff));
          }
        }
      }
      EXPECT_FALSE((pages_->*page.OkButton)->Enabled());
      // Page 3 leaves its No as it was; the others enable it.
      EXPECT_EQ((pages_->*page.NoButton)->Enabled(), page.PageIndex != 3);
    }
  }
}

TEST_F(SettingsOkNo, Ok_SpecialValues) {
  Use(L"prep");
  pages_->DSFILEP->SetChecked(true);
  pages_->DONTSENDINMIC->SetChecked(true);
  pages_->DWATSON->SetChecked(true);
  pages_->SETCACHEDISC->SetChecked(false);
  pages_->CACHEDISC->SetText(L"not a number");
  pages_->SETTCACHE2LEVEL->SetText(L"-1");
  pages_->AddCopyTo->SetChecked(false);
  pages_->AddMoveTo->SetChecked(true);
  pages_->AutResProv->SetChecked(true);
  pages_->FullDisNetRes->SetChecked(true);
  pages_->sEdit5->SetText(L"немного");
  const std::wstring base = Use(L"special");
  shown_.clear();
  pages_->SystemSoKClick(nullptr);
  pages_->NasProvOkClick(nullptr);
  pages_->SBOkClick(nullptr);
  pages_->SPOkClick(nullptr);
  EXPECT_TRUE(shown_.empty());
  const std::wstring winlogon =
      Path(base, HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon");
  EXPECT_EQ(ReadValue(winlogon, L"SfcDisable").Dword, 0xFFFFFF9Du);
  EXPECT_EQ(ReadValue(winlogon, L"AutoRestartShell").Dword, 1u);  // under HKLM, where it is read
  EXPECT_FALSE(KeyExists(Path(base, HKEY_CURRENT_USER,
                              L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon")));
  const std::wstring reporting =
      Path(base, HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting");
  EXPECT_EQ(ReadValue(reporting, L"DoReport").Dword, 0u);
  EXPECT_EQ(ReadValue(reporting, L"ShowUI").Dword, 0u);
  EXPECT_EQ(ReadValue(Path(base, HKEY_LOCAL_MACHINE,
                           L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug"),
                      L"Auto")
                .Text,
            L"0");
  // Unticked: 0 whatever the edit shows.
  EXPECT_EQ(ReadValue(Path(base, HKEY_LOCAL_MACHINE, kMemory), L"IOPageLockLimit").Dword, 0u);
  EXPECT_EQ(ReadValue(Path(base, HKEY_LOCAL_MACHINE, kMemory), L"SecondLevelDataCache").Dword,
            0xFFFFFFFFu);
  RawValue copyTo =
      ReadValue(Path(base, HKEY_CLASSES_ROOT, L"*\\shellex\\ContextMenuHandlers\\Copy To"), L"'");
  EXPECT_TRUE(copyTo.Exists);
  EXPECT_EQ(copyTo.Text, L"");
  EXPECT_EQ(ReadValue(Path(base, HKEY_CLASSES_ROOT, L"*\\shellex\\ContextMenuHandlers\\Move To"),
                      L"'")
                .Text,
            L"{C2FBB630-2971-11D1-A18C-00C04FD75D13}");
  const std::wstring lanman = Path(base, HKEY_LOCAL_MACHINE,
                                   L"SYSTEM\\CurrentControlSet\\Services\\LanmanServer\\Parameters");
  EXPECT_EQ(ReadValue(lanman, L"AutoShareWks").Dword, 1u);
  EXPECT_EQ(ReadValue(lanman, L"AutoShareServer").Dword, 1u);
  EXPECT_EQ(ReadValue(Path(base, HKEY_CURRENT_USER, L"Control Panel\\Desktop"), L"HungAppTimeout").Text,
            L"немного");
}

TEST_F(SettingsOkNo, Ok_KeepsAnExpandableStringExpandable) {
  Use(L"prep");
  pages_->sEdit5->SetText(L"%TIMEOUT%");
  const std::wstring base = Use(L"expand");
  const std::wstring desktop = Path(base, HKEY_CURRENT_USER, L"Control Panel\\Desktop");
  SetText(desktop, L"HungAppTimeout", L"%OLD%", REG_EXPAND_SZ);
  pages_->SPOkClick(nullptr);
  RawValue v = ReadValue(desktop, L"HungAppTimeout");
  EXPECT_EQ(v.Type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(v.Text, L"%TIMEOUT%");
  EXPECT_EQ(ReadValue(desktop, L"WaitToKillAppTimeout").Type, static_cast<DWORD>(REG_SZ));
}

TEST_F(SettingsOkNo, Ok_NotADecimalNumberReportsThatSettingAndWritesTheOthers) {
  Use(L"prep");
  pages_->SETTCACHE2LEVEL->SetText(L"12AB");
  pages_->SETCACHEDISC->SetChecked(true);
  pages_->CACHEDISC->SetText(L"$100");
  pages_->ClFilePod->SetChecked(true);
  const std::wstring base = Use(L"decimal");
  shown_.clear();
  pages_->SystemSoKClick(nullptr);
  EXPECT_EQ(ShownTexts(), (std::vector<std::wstring>{
                                L"Не удается получить доступ к \"SecondLevelDataCache\"",
                                L"Не удается получить доступ к \"IOPageLockLimit\""}));
  const std::wstring memory = Path(base, HKEY_LOCAL_MACHINE, kMemory);
  EXPECT_FALSE(ReadValue(memory, L"SecondLevelDataCache").Exists);
  EXPECT_FALSE(ReadValue(memory, L"IOPageLockLimit").Exists);
  EXPECT_EQ(ReadValue(memory, L"ClearPageFileAtShutdown").Dword, 1u);
  EXPECT_EQ(ReadValue(memory, L"LargeSystemCache").Dword, 0u);
  EXPECT_FALSE(pages_->SystemSoK->Enabled());
}

TEST_F(SettingsOkNo, Ok_FailedWriteShowsItsBoxAndTheNextSettingFollows) {
  // For every key of every page: that key cannot be opened, every other
  // one can. Each row of the key reports, in order; the rest is written.
  for (const TSettingsPageDef& page : SettingsPageDefs()) {
    std::vector<std::pair<HKEY, std::wstring>> keys;
    for (const TWriteRow& row : page.Writes) {
      std::pair<HKEY, std::wstring> k{row.Root, row.Key};
      if (std::find(keys.begin(), keys.end(), k) == keys.end()) keys.push_back(k);
    }
    int n = 0;
    for (const auto& failing : keys) {
      SCOPED_TRACE(testing::Message() << "page " << page.PageIndex << " key " << failing.second);
      const std::wstring base = Use(L"fail" + std::to_wstring(page.PageIndex) + L"_" + std::to_wstring(n++));
      TSettingsKeyMap scratchMap = pages_->SettingsKeyMap;
      pages_->SettingsKeyMap = [scratchMap, failing](HKEY root, const std::wstring& key) {
        if (root == failing.first && key == failing.second) return TSettingsPlace{nullptr, key};
        return scratchMap(root, key);
      };
      FillEdits(*pages_);
      shown_.clear();
      (pages_->*page.OkButton)->SetEnabled(true);
      (pages_->*page.OkButton)->Click();
      std::vector<std::wstring> expected;
      std::set<std::wstring> written;
      for (const TWriteRow& row : page.Writes) {
        if (row.Root == failing.first && row.Key == failing.second)
          expected.push_back(row.Message ? std::wstring(row.Message) : AccessErrorText(row.Name));
        else
          for (const wchar_t* name : {row.Name, row.Name2})
            if (name) written.insert(RootName(row.Root) + L"\\" + row.Key + L"|" + name);
      }
      EXPECT_EQ(ShownTexts(), expected);
      for (const auto& b : shown_) EXPECT_EQ(b.Caption, L"Ошибка");
      EXPECT_EQ(AllValues(base), written);
      EXPECT_FALSE((pages_->*page.OkButton)->Enabled());
    }
  }
}

TEST_F(SettingsOkNo, Ok_FailedWriteShowsTheRealErrorBox) {
  const std::wstring base = Use(L"realbox");
  TSettingsKeyMap scratchMap = pages_->SettingsKeyMap;
  pages_->SettingsKeyMap = [scratchMap](HKEY root, const std::wstring& key) {
    if (key == L"Console") return TSettingsPlace{nullptr, key};
    return scratchMap(root, key);
  };
  FillEdits(*pages_);
  pages_->ShowSettingsMessage = nullptr;
  testenv::MessageBoxCatcher catcher;
  pages_->SystemSoKClick(nullptr);
  ASSERT_EQ(catcher.Boxes().size(), 1u);
  EXPECT_EQ(catcher.Boxes()[0].Caption, L"Ошибка");
  EXPECT_EQ(catcher.Boxes()[0].Text, L"Не удается получить доступ к \"QuickEdit\"");
  // The settings after it were written.
  EXPECT_TRUE(ReadValue(Path(base, HKEY_LOCAL_MACHINE, kMemory), L"IOPageLockLimit").Exists);
}

TEST_F(SettingsOkNo, Ok_ErrorTextsOfTheTwoValueAndContextMenuRows) {
  const struct {
    TSettingsBox box;
    const wchar_t* text;
  } cases[] = {
      {&TSettingsPages::DONTSENDINMIC, L"Не удается получить доступ к \"DoReport\" и \"ShowUI\""},
      {&TSettingsPages::FullDisNetRes, L"Не удается получить доступ к \"AutoShareWks\""},
      {&TSettingsPages::AddCopyTo, L"Не удается получить доступ к \"'-1"},
      {&TSettingsPages::AddMoveTo, L"Не удается получить доступ к \"'-2"},
      {&TSettingsPages::QUICKEDITCOMANDROW, L"Не удается получить доступ к \"QuickEdit\""},
  };
  for (const auto& c : cases) {
    bool found = false;
    for (const TSettingsPageDef& page : SettingsPageDefs())
      for (const TWriteRow& row : page.Writes)
        if (row.Box == c.box) {
          found = true;
          EXPECT_EQ(row.Message ? std::wstring(row.Message) : AccessErrorText(row.Name), c.text);
        }
    EXPECT_TRUE(found) << c.text;
  }
}

// ---------------------------------------------------------------- page 5

TEST_F(SettingsOkNo, RecycleBinOk_WritesNameAndIconKey) {
  const std::wstring clsid = L"{645FF040-5081-101B-9F08-00AA002F954E}";
  const std::wstring ns = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace";
  const std::wstring base = Use(L"bin");
  const std::wstring classKey = Path(base, HKEY_CLASSES_ROOT, L"CLSID\\" + clsid);
  SetText(classKey, L"LocalizedString", L"@%SystemRoot%\\shell32.dll,-8964", REG_EXPAND_SZ);

  pages_->sEdit3->SetText(L"Корзина");
  pages_->ADDSHortInMyC->SetChecked(true);
  pages_->NKOkClick(nullptr);
  RawValue name = ReadValue(classKey, L"LocalizedString");
  EXPECT_EQ(name.Type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(name.Text, L"Корзина");
  EXPECT_TRUE(KeyExists(Path(base, HKEY_LOCAL_MACHINE, ns + L"\\" + clsid)));
  EXPECT_FALSE(pages_->NKOk->Enabled());
  EXPECT_TRUE(pages_->NKNo->Enabled());

  pages_->ADDSHortInMyC->SetChecked(false);
  pages_->sEdit3->SetText(L"");
  pages_->NKOkClick(nullptr);
  EXPECT_FALSE(KeyExists(Path(base, HKEY_LOCAL_MACHINE, ns + L"\\" + clsid)));
  EXPECT_TRUE(KeyExists(Path(base, HKEY_LOCAL_MACHINE, ns)));
  EXPECT_EQ(ReadValue(classKey, L"LocalizedString").Text, L"");
  // A missing subkey is no error.
  pages_->NKOkClick(nullptr);
  EXPECT_TRUE(shown_.empty());

  const std::wstring fresh = Use(L"bin-fresh");
  pages_->sEdit3->SetText(L"Bin");
  pages_->NKOkClick(nullptr);
  EXPECT_EQ(ReadValue(Path(fresh, HKEY_CLASSES_ROOT, L"CLSID\\" + clsid), L"LocalizedString").Type,
            static_cast<DWORD>(REG_SZ));
}

TEST_F(SettingsOkNo, RecycleBinOk_FailureRaisesAndKeepsTheButtons) {
  TSettingsKeyMap scratchMap = ScratchMap(scratch_.SubKey() + L"\\binfail");
  pages_->SettingsKeyMap = [scratchMap](HKEY root, const std::wstring& key) {
    if (root == HKEY_CLASSES_ROOT) return TSettingsPlace{nullptr, key};
    return scratchMap(root, key);
  };
  pages_->NKOk->SetEnabled(true);
  pages_->NKNo->SetEnabled(false);
  EXPECT_THROW(pages_->NKOkClick(nullptr), ERegistryException);
  EXPECT_TRUE(pages_->NKOk->Enabled());
  EXPECT_FALSE(pages_->NKNo->Enabled());
}

// ---------------------------------------------------------------- No

TEST_F(SettingsOkNo, No_RestoresTheSnapshotOfEveryPage) {
  for (const TSettingsPageDef& page : SettingsPageDefs()) {
    SCOPED_TRACE(testing::Message() << "page " << page.PageIndex);
    Use(L"no" + std::to_wstring(page.PageIndex));
    ResetControls(*pages_);
    // A mixed state, one box of it disabled.
    int i = 0;
    for (TSettingsBox member : page.SnapshotBoxes) Box(member)->SetChecked(i++ % 2 == 0);
    for (TSettingsEdit member : page.SnapshotEdits) Edit(member)->SetText(L"kept");
    if (!page.SnapshotBoxes.empty()) Box(page.SnapshotBoxes.back())->SetEnabled(false);
    pages_->SCancelSystemSett();

    for (TSettingsBox member : page.SnapshotBoxes) Box(member)->SetChecked(!Box(member)->Checked());
    for (TSettingsEdit member : page.SnapshotEdits) Edit(member)->SetText(L"changed");
    (pages_->*page.NoButton)->SetEnabled(true);
    (pages_->*page.NoButton)->Click();

    i = 0;
    for (TSettingsBox member : page.SnapshotBoxes) {
      EXPECT_EQ(Box(member)->Checked(), i++ % 2 == 0) << Box(member)->Name();
      EXPECT_EQ(pages_->SettingsSnapshot.Boxes[Box(member)], Box(member)->Checked());
    }
    for (TSettingsEdit member : page.SnapshotEdits) EXPECT_EQ(Edit(member)->Text(), L"kept");
    if (!page.SnapshotBoxes.empty()) {
      EXPECT_FALSE(Box(page.SnapshotBoxes.back())->Enabled());
    }
    EXPECT_FALSE((pages_->*page.NoButton)->Enabled());
    EXPECT_TRUE((pages_->*page.OkButton)->Enabled());
  }
}

TEST_F(SettingsOkNo, No_OkDoesNotMoveTheSnapshot) {
  Use(L"nook");
  pages_->ShowHint->SetChecked(false);
  pages_->SCancelSystemSett();
  pages_->ShowHint->SetChecked(true);
  pages_->PZOkClick(nullptr);
  pages_->PZNoClick(nullptr);
  EXPECT_FALSE(pages_->ShowHint->Checked());
}

TEST_F(SettingsOkNo, SystemPageNo_UndoesEachBoxsLastChangeAndLeavesTheRest) {
  Use(L"sysno");
  pages_->SCancelSystemSett();
  pages_->DWATSON->SetChecked(true);
  pages_->DWATSON->SetChecked(false);
  pages_->SETCACHEDISC->SetChecked(true);
  pages_->SETTCACHE2LEVEL->SetText(L"512");
  pages_->sSpeedButton2Click(nullptr);
  EXPECT_TRUE(pages_->DWATSON->Checked());  // the state before its last change
  EXPECT_TRUE(pages_->SETCACHEDISC->Checked());
  EXPECT_EQ(pages_->SETTCACHE2LEVEL->Text(), L"512");
  EXPECT_FALSE(pages_->sSpeedButton2->Enabled());
  EXPECT_TRUE(pages_->SystemSoK->Enabled());
}

// ---------------------------------------------------------------- handlers

TEST_F(SettingsOkNo, EnteringAControlEnablesItsPagesOkAndNo) {
  const std::vector<std::pair<TWinControl*, int>> cases = {
      {pages_->DWATSON, 3},        {pages_->SETTCACHE2LEVEL, 3}, {pages_->CACHEDISC, 3},
      {pages_->HIDETAO, 4},        {pages_->sEdit3, 5},          {pages_->ADDSHortInMyC, 5},
      {pages_->DelStrIar, 6},      {pages_->CloseAnUserSeeRes, 7}, {pages_->EnAutoTray, 8},
      {pages_->sEdit4, 9},         {pages_->NoAllUsersShort, 9}, {pages_->sEdit5, 10},
      {pages_->OnNumOnLoadS, 11},
  };
  for (const auto& [control, pageIndex] : cases) {
    SCOPED_TRACE(control->Name());
    ResetControls(*pages_);
    control->Perform(CM_ENTER);
    for (const TSettingsPageDef& page : SettingsPageDefs()) {
      EXPECT_EQ((pages_->*page.OkButton)->Enabled(), page.PageIndex == pageIndex);
      EXPECT_EQ((pages_->*page.NoButton)->Enabled(), page.PageIndex == pageIndex);
    }
  }
  ResetControls(*pages_);
  pages_->sEdit6->Perform(CM_ENTER);
  EXPECT_FALSE(pages_->SPOk->Enabled());
}

TEST_F(SettingsOkNo, SetCacheDiscEnablesTheCacheEdit) {
  pages_->SETCACHEDISC->SetChecked(true);
  EXPECT_TRUE(pages_->CACHEDISC->Enabled());
  pages_->SETCACHEDISC->SetChecked(false);
  EXPECT_FALSE(pages_->CACHEDISC->Enabled());
}

TEST_F(SettingsOkNo, DisableDesktopWritesItsStateAtOnce) {
  const std::wstring base = Use(L"disrs");
  const std::wstring policies = Path(base, HKEY_CURRENT_USER, kPolicies);
  pages_->DISRS->SetChecked(true);
  EXPECT_EQ(ReadValue(policies, L"NoDesktop").Dword, 1u);
  pages_->DISRS->SetChecked(false);
  EXPECT_EQ(ReadValue(policies, L"NoDesktop").Dword, 0u);
}

// ---------------------------------------------------------------- layout

TEST_F(SettingsOkNo, PagesHoldTheirGroupsAndCaptions) {
  TMainForm* form = testenv::EnsureMainForm();
  const struct {
    int page;
    TControl* control;
    const wchar_t* caption;
  } cases[] = {
      {3, pages_->SystemSettingsGroup, L"Системные настройки"},
      {3, pages_->DWATSON, L"Отключить Dr.Watson"},
      {3, pages_->ClFilePod, L"Очистка файла подкачки перед перезагрузкой системы"},
      {4, pages_->DesktopGroup, L"Настройка рабочего стола"},
      {4, pages_->HIDEP, L"Скрыть вкладку \"Параметры"},
      {5, pages_->RecycleBinGroup, L"Настройка корзины"},
      {5, pages_->ADDSHortInMyC, L"Добавить значок корзины в \"Мой компьютер\""},
      {6, pages_->ExplorerGroup, L"Настройка проводника"},
      {6, pages_->AddCopyTo, L"Добавить пункт меню \"Копировать в папку…\""},
      {7, pages_->NetworkGroup, L"Сетевая безопасность"},
      {7, pages_->FullDisNetRes, L"Полностью отключить сетевые ресурсы (Admin$, С$ ит.)"},
      {8, pages_->TaskbarGroup, L"Панель задач"},
      {9, pages_->StartMenuGroup, L"Меню \"Пуск\""},
      {10, pages_->AppsGroup, L"Шрифты и Приложения"},
      {11, pages_->LogonGroup, L"Вход в систему"},
      {11, pages_->OnNumOnLoadS, L"Включать NumLock при загрузке системы"},
      {14, pages_->BackupGroup, L"Бекап"},
      {14, pages_->MakeBackup, L"Сделать бекап"},
      {3, pages_->SystSettToDeff, L"Вернуть исходные"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    EXPECT_EQ(c.control->Caption(), c.caption);
    TControl* p = c.control;
    while (p && p != form->Pages[c.page]) p = p->Parent();
    EXPECT_EQ(p, form->Pages[c.page]);
  }
  EXPECT_FALSE(pages_->DelStrIar->Visible());
  EXPECT_FALSE(pages_->sEdit4->Visible());
  EXPECT_TRUE(pages_->sEdit5->Visible());
}
