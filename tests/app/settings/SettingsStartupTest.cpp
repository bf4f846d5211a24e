// Start-up in this test run's own Wine prefix: the settings steps of the
// main window's creation never stop it, and the values they make exist.
#include <gtest/gtest.h>

#include "app/mainwindow/Frame1.h"
#include "app/settings/SettingsTable.h"
#include "framework/StdCtrls.h"
#include "tests/app/common/MainFormHarness.h"

namespace {

bool OpenReal(HKEY root, const std::wstring& path, HKEY& key) {
  return RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
}

}  // namespace

TEST(SettingsStartup, MainWindowOpensCompletelyInThePrefix) {
  TMainForm* form = testenv::EnsureMainForm();
  // The steps after the settings ran: the cleanup flag and frame-bar item 0.
  EXPECT_TRUE(form->CleanIE);
  EXPECT_NE(Frame1, nullptr);
  // The only boxes start-up may show are the start-menu rows' reports of a
  // value they could not find (a fresh prefix has no Explorer\Advanced).
  std::vector<std::wstring> allowed;
  for (const TLoadRow& row : LoadRows())
    if (row.OnFailure == TReadFailure::Message) allowed.push_back(KeyNotFoundText(row.Name));
  for (const auto& box : testenv::StartupMessageBoxes()) {
    EXPECT_EQ(box.Caption, L"Ошибка");
    EXPECT_NE(std::find(allowed.begin(), allowed.end(), box.Text), allowed.end()) << box.Text;
  }
}

TEST(SettingsStartup, EveryValueWhoseKeyExistsWasMadeToExist) {
  testenv::EnsureMainForm();
  for (const TCreateKeyRow& row : CreateKeyRows()) {
    HKEY key = nullptr;
    if (!OpenReal(row.Root, row.Key, key)) {
      // Only a key the row merely opens may be missing.
      EXPECT_FALSE(row.Create) << row.Name;
      continue;
    }
    for (const wchar_t* name : {row.Name, row.Name2}) {
      if (!name) continue;
      DWORD type = REG_NONE;
      LSTATUS rc = RegQueryValueExW(key, name, nullptr, &type, nullptr, nullptr);
      if (row.Kind == TSettingKind::String) {
        // A missing string reads as empty text and is left missing.
        if (rc == ERROR_SUCCESS) {
          EXPECT_TRUE(type == REG_SZ || type == REG_EXPAND_SZ) << name;
        }
      } else {
        EXPECT_EQ(rc, ERROR_SUCCESS) << name;
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD)) << name;
      }
    }
    RegCloseKey(key);
  }
}

TEST(SettingsStartup, PagesAreFilledAndTheirButtonsWaitForTheFocus) {
  TMainForm* form = testenv::EnsureMainForm();
  TSettingsPages* pages = form;
  // Made to exist by start-up, so read: enabled and unticked.
  EXPECT_TRUE(pages->NoFind->Enabled());
  EXPECT_FALSE(pages->NoFind->Checked());
  EXPECT_TRUE(pages->NoRun->Enabled());
  // The snapshot covers every page's controls.
  for (const TSettingsPageDef& page : SettingsPageDefs()) {
    for (TSettingsBox member : page.SnapshotBoxes)
      EXPECT_EQ(pages->SettingsSnapshot.Boxes.count(pages->*member), 1u);
    for (TSettingsEdit member : page.SnapshotEdits)
      EXPECT_EQ(pages->SettingsSnapshot.Texts.count(pages->*member), 1u);
    EXPECT_FALSE((pages->*page.OkButton)->Enabled());
    EXPECT_FALSE((pages->*page.NoButton)->Enabled());
  }
}
