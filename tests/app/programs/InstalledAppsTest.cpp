// Installed applications: reading the Uninstall key, and the "Удаление" tab
// that shows, runs and removes an application's uninstall entry.
#include <gtest/gtest.h>

#include <functional>

#include "app/mainwindow/Frame1.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/ListBox.h"
#include "framework/StdCtrls.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/app/programs/StartupTestSupport.h"
#include "tests/common/TestEnv.h"

using appstest::DialogAnswerer;
using appstest::Reply;
using appstest::ScratchUninstall;

namespace {

std::vector<std::wstring> Names(const std::vector<TInstalledApp>& apps) {
  std::vector<std::wstring> names;
  for (const auto& a : apps) names.push_back(a.SubKey + L"=" + a.DisplayName);
  return names;
}

// A command that leaves a marker file behind when it runs.
std::wstring MarkerCommand(const std::wstring& marker) {
  return L"cmd.exe /c echo x> \"" + marker + L"\"";
}

bool FileThere(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

TEST(InstalledAppsRead, ListsSubkeysWithStringNameAndCommandInKeyOrder) {
  ScratchUninstall u;
  u.Add(L"A-both", L"Zulu", L"c:\\a.exe /x");
  u.Add(L"B-no-command", L"Bravo", L"");
  u.Add(L"C-no-name", L"", L"c:\\c.exe");
  u.Add(L"D-number-name", L"", L"c:\\d.exe");
  u.SetDword(L"D-number-name", L"DisplayName", 5);
  u.Add(L"E-number-command", L"Echo", L"");
  u.SetDword(L"E-number-command", L"UninstallString", 5);
  u.Add(L"F-expand", L"Alpha", L"%SystemRoot%\\f.exe", REG_EXPAND_SZ);
  EXPECT_EQ(Names(ReadInstalledApps(u.Location())),
            (std::vector<std::wstring>{L"A-both=Zulu", L"F-expand=Alpha"}));
}

TEST(InstalledAppsRead, MissingUninstallKeyGivesAnEmptyList) {
  TUninstallLocation nowhere{HKEY_CURRENT_USER, L"Software\\TarnholtTest\\no-such-key\\Uninstall"};
  EXPECT_TRUE(ReadInstalledApps(nowhere).empty());
}

TEST(InstalledAppsRead, CommandLookupTellsGoneFromPresent) {
  ScratchUninstall u;
  u.Add(L"Plain", L"P", L"c:\\p.exe");
  u.Add(L"Expand", L"E", L"%SystemRoot%\\e.exe", REG_EXPAND_SZ);
  std::wstring command;
  bool expandable = true;
  EXPECT_EQ(ReadUninstallCommand(u.Location(), L"Plain", command, expandable), TUninstallLookup::Found);
  EXPECT_EQ(command, L"c:\\p.exe");
  EXPECT_FALSE(expandable);
  EXPECT_EQ(ReadUninstallCommand(u.Location(), L"Expand", command, expandable), TUninstallLookup::Found);
  EXPECT_EQ(command, L"%SystemRoot%\\e.exe");
  EXPECT_TRUE(expandable);
  EXPECT_EQ(ReadUninstallCommand(u.Location(), L"Gone", command, expandable),
            TUninstallLookup::NoCommand);
  EXPECT_EQ(ReadUninstallCommand(u.Location(), L"", command, expandable), TUninstallLookup::NoCommand);
}

TEST(InstalledAppsDelete, NeverDeletesTheUninstallKeyItself) {
  ScratchUninstall u;
  u.Add(L"Child", L"C", L"c:\\c.exe");
  EXPECT_FALSE(DeleteUninstallEntry(u.Location(), L""));
  EXPECT_FALSE(DeleteUninstallEntry(u.Location(), L"Child\\..\\"));
  EXPECT_TRUE(u.Exists(L"Child"));
  EXPECT_TRUE(DeleteUninstallEntry(u.Location(), L"Child"));
  EXPECT_FALSE(u.Exists(L"Child"));
  EXPECT_FALSE(DeleteUninstallEntry(u.Location(), L"Child")) << "already gone";
}

// ---------------------------------------------------------------- the tab

class InstalledAppsPage : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = testenv::EnsureMainForm();
    form_->UninstallLocation = scratch_.Location();
    form_->SelectPage(2);
    form_->sPageControl2->SetActivePage(form_->sTabSheet13);
  }
  void TearDown() override {
    form_->UninstallLocation = TUninstallLocation{};
    form_->ListBox2->Clear();
    form_->ListBox2Click(form_->ListBox2);
    form_->SelectPage(0);
  }
  std::vector<std::wstring> Rows() const {
    std::vector<std::wstring> rows;
    for (int i = 0; i < form_->ListBox2->Count(); ++i) rows.push_back(form_->ListBox2->Items()->Strings(i));
    return rows;
  }
  // Selects a row as the user does: the click handler follows.
  std::vector<std::wstring> Select(int index) {
    DialogAnswerer answerer;
    form_->ListBox2->SetItemIndex(index);
    form_->ListBox2Click(form_->ListBox2);
    return answerer.Texts();
  }

  TMainForm* form_ = nullptr;
  ScratchUninstall scratch_;
  testenv::ScopedTempDir temp_;
};

TEST_F(InstalledAppsPage, ControlsCarryTheirTexts) {
  EXPECT_EQ(form_->ListBox2->Hint(), L"Отображает установленные приложения в вашей ОС");
  EXPECT_FALSE(form_->ListBox2->Sorted());
  EXPECT_EQ(form_->AppsActionsGroupBox->Caption(), L"Действия:");
  EXPECT_EQ(form_->sButton11->Caption(), L"Обновить");
  EXPECT_EQ(form_->sButton12->Caption(), L"Удалить приложение");
  EXPECT_EQ(form_->sButton13->Caption(), L"Удалить из списка");
  EXPECT_EQ(form_->sButton11->Parent(), form_->AppsActionsGroupBox);
}

TEST_F(InstalledAppsPage, SameDisplayNameRunsAndRemovesItsOwnEntry) {
  const std::wstring marker1 = temp_ / L"first.txt", marker2 = temp_ / L"second.txt";
  scratch_.Add(L"Twin-1", L"Twin", MarkerCommand(marker1));
  scratch_.Add(L"Twin-2", L"Twin", MarkerCommand(marker2));
  form_->LoadInstalledPrograms();
  ASSERT_EQ(Rows(), (std::vector<std::wstring>{L"Twin", L"Twin"}));
  EXPECT_EQ(form_->ListBox2->ItemIndex(), 0);

  EXPECT_TRUE(Select(1).empty());
  std::wstring key;
  form_->GetUninstallKeyName(key);
  EXPECT_EQ(key, scratch_.Location().Key + L"\\Twin-2");
  EXPECT_EQ(form_->Panel2->Caption(), MarkerCommand(marker2));

  form_->sButton12->Click();
  ASSERT_TRUE(appstest::WaitForFile(marker2));
  EXPECT_FALSE(FileThere(marker1));

  DialogAnswerer answerer({Reply{IDYES}});
  form_->sButton13->Click();
  ASSERT_EQ(answerer.Boxes().size(), 2u);
  EXPECT_EQ(answerer.Boxes()[0].Caption, L"Удаление");
  EXPECT_EQ(answerer.Boxes()[0].Text, L"Удалить ключ из реестра?");
  EXPECT_EQ(answerer.Boxes()[0].Buttons, static_cast<UINT>(MB_YESNO));
  EXPECT_EQ(answerer.Boxes()[1].Text, L"Раздел удален");
  EXPECT_FALSE(scratch_.Exists(L"Twin-2"));
  EXPECT_TRUE(scratch_.Exists(L"Twin-1"));
  // The list is read again, its first row selected and its command shown.
  EXPECT_EQ(Rows(), std::vector<std::wstring>{L"Twin"});
  EXPECT_EQ(form_->ListBox2->ItemIndex(), 0);
  EXPECT_EQ(form_->Panel2->Caption(), MarkerCommand(marker1));
}

// Both ways of reading the list again ("Обновить" on the tab, and the
// navigation's "Приложения" button) leave no command of the old selection
// armed: "Удалить приложение" runs the first row's command or nothing.
TEST_F(InstalledAppsPage, AfterARefreshTheOldSelectionsCommandNeverRuns) {
  struct Case {
    const char* name;
    std::function<void()> refresh;
  };
  const Case cases[] = {
      {"Обновить", [&] { form_->sButton11->Click(); }},
      {"navigation", [&] { ASSERT_NE(Frame1, nullptr); Frame1->sBitBtn3->Click(); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::wstring first = temp_ / (std::wstring(L"first-") + std::to_wstring(&c - cases) + L".txt");
    const std::wstring second = temp_ / (std::wstring(L"second-") + std::to_wstring(&c - cases) + L".txt");
    scratch_.Add(L"App-1", L"First", MarkerCommand(first));
    scratch_.Add(L"App-2", L"Second", MarkerCommand(second));
    form_->LoadInstalledPrograms();
    ASSERT_TRUE(Select(1).empty());
    ASSERT_EQ(form_->UninstallCommand(), MarkerCommand(second));
    {
      DialogAnswerer answerer;
      c.refresh();
      EXPECT_TRUE(answerer.Boxes().empty());
    }
    EXPECT_EQ(form_->ListBox2->ItemIndex(), 0);
    const std::wstring armed = form_->UninstallCommand();
    EXPECT_TRUE(armed.empty() || armed == MarkerCommand(first)) << armed;
    EXPECT_EQ(form_->Panel2->Caption(), armed);
    // The button starts the armed command and nothing else: with the first
    // row's marker there, the second's command was not the one started.
    form_->sButton12->Click();
    if (!armed.empty()) {
      ASSERT_TRUE(appstest::WaitForFile(first));
    }
    EXPECT_FALSE(FileThere(second));
  }
}

TEST_F(InstalledAppsPage, AnswerNoDeletesNothing) {
  scratch_.Add(L"Keep", L"Keep", L"c:\\keep.exe");
  form_->LoadInstalledPrograms();
  DialogAnswerer answerer({Reply{IDNO}});
  form_->sButton13->Click();
  EXPECT_EQ(answerer.Boxes().size(), 1u);
  EXPECT_TRUE(scratch_.Exists(L"Keep"));
}

TEST_F(InstalledAppsPage, EmptyListRunsAndDeletesNothing) {
  form_->LoadInstalledPrograms();
  EXPECT_TRUE(Rows().empty());
  EXPECT_TRUE(Select(-1).empty());
  DialogAnswerer answerer;
  form_->sButton12->Click();
  form_->sButton13->Click();
  EXPECT_TRUE(answerer.Boxes().empty());
  EXPECT_TRUE(form_->UninstallCommand().empty());
}

TEST_F(InstalledAppsPage, StaleRowShowsNoCommandAndDeletesNothing) {
  const std::wstring marker = temp_ / L"stale.txt";
  scratch_.Add(L"A-live", L"Live", L"c:\\live.exe");
  scratch_.Add(L"B-gone", L"Gone", MarkerCommand(marker));
  form_->LoadInstalledPrograms();
  Select(0);
  EXPECT_EQ(form_->UninstallCommand(), L"c:\\live.exe");
  scratch_.Remove(L"B-gone");  // it uninstalled itself
  EXPECT_EQ(Select(1), std::vector<std::wstring>{L"UninstallString не найденно"});
  // The live row's command is not left behind to run for this row.
  EXPECT_TRUE(form_->UninstallCommand().empty());
  EXPECT_EQ(form_->Panel2->Caption(), L"");

  DialogAnswerer answerer({Reply{IDYES}});
  form_->sButton13->Click();
  ASSERT_GE(answerer.Boxes().size(), 2u);
  EXPECT_EQ(answerer.Boxes()[1].Text, L"Ошибка");
  EXPECT_TRUE(scratch_.Exists(L"A-live"));
  EXPECT_EQ(Rows(), std::vector<std::wstring>{L"Live"});
}

TEST_F(InstalledAppsPage, ExpandableCommandRunsExpanded) {
  const std::wstring marker = temp_ / L"expanded.txt";
  scratch_.Add(L"Expand", L"Expand",
               L"%SystemRoot%\\system32\\cmd.exe /c echo x> \"" + marker + L"\"", REG_EXPAND_SZ);
  form_->LoadInstalledPrograms();
  Select(0);
  form_->sButton12->Click();
  EXPECT_TRUE(appstest::WaitForFile(marker));
}

TEST_F(InstalledAppsPage, ACommandThatCannotStartIsReported) {
  scratch_.Add(L"Broken", L"Broken", L"\"C:\\no such folder\\uninstall.exe\" /x");
  form_->LoadInstalledPrograms();
  Select(0);
  DialogAnswerer answerer;
  form_->sButton12->Click();
  ASSERT_EQ(answerer.Boxes().size(), 1u);
  EXPECT_EQ(answerer.Boxes()[0].Text.rfind(L"Ошибка", 0), 0u) << "starts with the word";
}

TEST_F(InstalledAppsPage, HundredsOfEntriesAllListAndMapBack) {
  for (int i = 0; i < 300; ++i) {
    wchar_t name[16];
    swprintf(name, 16, L"App%03d", i);
    scratch_.Add(name, std::wstring(L"Application ") + name, L"c:\\u.exe " + std::to_wstring(i));
  }
  form_->sButton11->Click();
  ASSERT_EQ(form_->ListBox2->Count(), 300);
  EXPECT_EQ(form_->ListBox2->Items()->Strings(299), L"Application App299");
  Select(298);
  std::wstring key;
  form_->GetUninstallKeyName(key);
  EXPECT_EQ(key, scratch_.Location().Key + L"\\App298");
  EXPECT_EQ(form_->Panel2->Caption(), L"c:\\u.exe 298");
}

// The real Uninstall key of the test run's own Wine prefix, through
// subkeys only this test uses, reached as the navigation reaches it.
TEST_F(InstalledAppsPage, ApplicationsButtonReadsTheMachinesUninstallKey) {
  form_->UninstallLocation = TUninstallLocation{};
  const TUninstallLocation real;
  const std::wstring prefix = L"TarnholtTest-" + std::to_wstring(GetCurrentProcessId());
  auto add = [&](const std::wstring& sub, const std::wstring& name) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(real.Root, (real.Key + L"\\" + sub).c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (auto [value, text] : {std::pair{L"DisplayName", name}, std::pair{L"UninstallString",
                                                                          L"c:\\" + name + L".exe"}})
      RegSetValueExW(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  };
  appstest::AtScopeExit cleanup{[&] {
    for (const wchar_t* s : {L"-A", L"-B"})
      RegDeleteTreeW(real.Root, (real.Key + L"\\" + prefix + s).c_str());
  }};
  add(prefix + L"-A", prefix + L" A");
  ASSERT_NE(Frame1, nullptr);
  {
    DialogAnswerer answerer;
    Frame1->sBitBtn3->Click();
  }
  EXPECT_EQ(form_->sPageControl1->ActivePageIndex(), 2);
  auto rows = Rows();
  EXPECT_NE(std::find(rows.begin(), rows.end(), prefix + L" A"), rows.end());
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(form_->ListBox2->ItemIndex(), 0);
  std::wstring first;
  bool expandable = false;
  std::wstring key;
  form_->GetUninstallKeyName(key);
  ASSERT_EQ(ReadUninstallCommand(real, key.substr(real.Key.size() + 1), first, expandable),
            TUninstallLookup::Found);
  EXPECT_EQ(form_->Panel2->Caption(), first);

  // A second click reads the list again.
  add(prefix + L"-B", prefix + L" B");
  {
    DialogAnswerer answerer;
    Frame1->sBitBtn3->Click();
  }
  rows = Rows();
  EXPECT_NE(std::find(rows.begin(), rows.end(), prefix + L" B"), rows.end());
}
