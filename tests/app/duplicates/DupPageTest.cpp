// The duplicate finder's page in the main window: its controls and texts,
// the folder list, start and stop of a scan with its phase texts, the close
// path, and the way to the result window.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "app/common/AddFolderDialog.h"
#include "app/duplicates/ResultForm.h"
#include "framework/ComCtrls.h"
#include "framework/ListBox.h"
#include "framework/StdCtrls.h"
#include "tests/app/duplicates/DupPageTestSupport.h"
#include "tests/app/duplicates/DupTestSupport.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/common/TestEnv.h"

namespace {

using dupgui::PumpUntil;

class DupPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = testenv::EnsureMainForm();
    form_->SelectPage(12);
    form_->FoldersListBox->Items()->Clear();
    form_->FoldersListBox->SetSorted(false);
    form_->StartButton->SetEnabled(false);
    form_->CheckBox1->SetChecked(true);
    form_->CheckBox2->SetChecked(true);
    form_->CheckBox3->SetChecked(false);
    form_->ScanSubfoldersCheckBox->SetChecked(true);
  }
  void TearDown() override {
    // No worker may outlive a test.
    form_->StopDuplicateScan();
    form_->FoldersListBox->Items()->Clear();
  }

  std::vector<std::wstring> Items() const { return form_->FoldersListBox->Items()->ToVector(); }
  // Adds the folder as the chooser would hand it over.
  void AddFolder(const std::wstring& dir) {
    form_->AddScanFolder(dir);
    form_->StartButton->SetEnabled(form_->FoldersListBox->Count() > 0);
  }
  // Starts a scan with the start button and waits for its end.
  void RunScan() {
    form_->StartButton->Click();
    ASSERT_TRUE(PumpUntil([this] { return !form_->DuplicateScanRunning(); }, 60000));
  }

  TMainForm* form_ = nullptr;
  dupgui::SavedDupTables saved_;
};

TEST_F(DupPageTest, ControlsCarryTheirTextsAndStartStates) {
  struct Case {
    TControl* control;
    const wchar_t* text;
  };
  const Case cases[] = {
      {form_->FoldersGroupBox, L"Список папок для сканирования"},
      {form_->ChooseGroupBox, L"Выберите"},
      {form_->AddButton, L"Добавить"},
      {form_->RemoveButton, L"Удалить"},
      {form_->ScanSubfoldersCheckBox, L"Сканировать подпапки"},
      {form_->DoubleIndicationsBox, L"Признаки дубликата"},
      {form_->CheckBox1, L"Одинаковое имя"},
      {form_->CheckBox2, L"Одинаковый размер"},
      {form_->CheckBox3, L"Одинаковое содержимое"},
      {form_->StartGroupBox, L"Начать сканирование"},
      {form_->StartButton, L"Начать сканирование"},
      {form_->ResultButton, L"Смотреть результат"},
      {form_->ProcessGroupBox, L"Процесс"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.control->Caption(), c.text);
  EXPECT_EQ(form_->FoldersListBox->Hint(), L"Отображаются необходимые папки для сканирования");
  EXPECT_EQ(form_->ResultButton->Hint(), L"Просмотр результута сканирования");
  EXPECT_EQ(form_->StartButton->Tag, 0);
  EXPECT_TRUE(form_->OperationName->Font()->Style() & fsBold);
  EXPECT_TRUE(form_->ProgressStaus->Font()->Style() & fsBold);
  // Every control lives on page 12, the page named AntiDouble.
  for (TControl* c : {static_cast<TControl*>(form_->FoldersListBox), static_cast<TControl*>(form_->StartButton),
                      static_cast<TControl*>(form_->sProgressBar2), static_cast<TControl*>(form_->CheckBox3)}) {
    TWinControl* p = c->Parent();
    while (p && p != form_->Pages[12]) p = p->Parent();
    EXPECT_EQ(p, form_->Pages[12]) << c->Name();
  }
  EXPECT_EQ(form_->Pages[12]->Name(), L"AntiDouble");
}

TEST_F(DupPageTest, AddScanFolderTakesDrivePathsOnceAndKeepsTheListSorted) {
  AddFolder(L"D:\\Фото");
  AddFolder(L"C:\\B\\");
  AddFolder(L"C:\\A");
  AddFolder(L"C:\\A\\");              // repeat: not added
  AddFolder(L"c:\\a\\");              // differs in case: added
  AddFolder(L"\\\\server\\share");    // network path: dropped
  AddFolder(L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");  // shell folder: dropped
  AddFolder(L"");                     // empty choice: nothing
  AddFolder(L"E:");                   // "\" appended: the drive's root
  AddFolder(L"F:\\");                 // a drive root
  AddFolder(L"G");                    // too short for a drive path: dropped
  const std::vector<std::wstring> items = Items();
  EXPECT_EQ(std::set<std::wstring>(items.begin(), items.end()),
            (std::set<std::wstring>{L"C:\\A\\", L"c:\\a\\", L"C:\\B\\", L"D:\\Фото\\", L"E:\\", L"F:\\"}));
  EXPECT_TRUE(form_->FoldersListBox->Sorted());
  // The list box keeps its own order, whatever the order of adding.
  for (size_t i = 1; i < items.size(); ++i)
    EXPECT_LE(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, items[i - 1].c_str(), -1, items[i].c_str(), -1),
              CSTR_EQUAL)
        << i;
  EXPECT_TRUE(form_->StartButton->Enabled());
}

TEST_F(DupPageTest, RemoveDeletesTheSelectedFolderAndDisablesStartWhenEmpty) {
  AddFolder(L"C:\\A\\");
  AddFolder(L"C:\\B\\");
  form_->FoldersListBox->SetItemIndex(-1);
  form_->RemoveButton->Click();  // no selection: nothing
  EXPECT_EQ(Items().size(), 2u);

  form_->FoldersListBox->SetItemIndex(0);
  form_->RemoveButton->Click();
  EXPECT_EQ(Items(), std::vector<std::wstring>{L"C:\\B\\"});
  EXPECT_TRUE(form_->StartButton->Enabled());

  form_->FoldersListBox->SetItemIndex(0);
  form_->RemoveButton->Click();
  EXPECT_TRUE(Items().empty());
  EXPECT_FALSE(form_->StartButton->Enabled());
}

TEST_F(DupPageTest, AddButtonTakesTheFolderChosenInTheShellTree) {
  testenv::ScopedTempDir tmp;
  const std::wstring dir = tmp.MakeDir(L"Выбранная папка");
  {
    dupgui::ModalDriver driver(
        [] { return AddFolderDialog && AddFolderDialog->Visible() && AddFolderDialog->Modal(); },
        [&] {
          EXPECT_EQ(AddFolderDialog->FolderPath, L"");  // emptied on show
          // The kept chooser lists a folder once; start from fresh roots so
          // the folder made for this test is there.
          AddFolderDialog->ShellTreeView->SetRoot(L"");
          EXPECT_TRUE(AddFolderDialog->ShellTreeView->SetPath(dir));
          AddFolderDialog->OkButton->Click();
        });
    form_->AddButton->Click();
    EXPECT_TRUE(driver.Done());
  }
  ASSERT_NE(AddFolderDialog, nullptr);
  EXPECT_EQ(AddFolderDialog->Caption(), L"Выбор папки");
  EXPECT_EQ(AddFolderDialog->ClientWidth(), 291);
  EXPECT_EQ(AddFolderDialog->ClientHeight(), 306);
  EXPECT_EQ(AddFolderDialog->OkButton->Caption(), L"Добавить");
  EXPECT_EQ(AddFolderDialog->CancelButton->Caption(), L"Отмена");
  EXPECT_EQ(Items(), std::vector<std::wstring>{dir + L"\\"});
  EXPECT_TRUE(form_->StartButton->Enabled());

  // Cancel adds nothing, and the same chooser serves again.
  TAddFolderDialog* first = AddFolderDialog;
  {
    dupgui::ModalDriver driver([] { return AddFolderDialog && AddFolderDialog->Modal(); },
                               [] {
                                 EXPECT_EQ(AddFolderDialog->FolderPath, L"");  // the last choice is gone
                                 AddFolderDialog->CancelButton->Click();
                               });
    form_->AddButton->Click();
    EXPECT_TRUE(driver.Done());
  }
  EXPECT_EQ(AddFolderDialog, first);
  EXPECT_EQ(Items().size(), 1u);
}

TEST_F(DupPageTest, ScanShowsEveryPhaseAndEndsWithTheCount) {
  testenv::ScopedTempDir tmp;
  tmp.WriteFile(L"a\\Фото.jpg", "same bytes");
  tmp.WriteFile(L"b\\фото.JPG", "same bytes");
  tmp.WriteFile(L"b\\other.txt", "x");
  tmp.WriteFile(L"c\\deep\\Фото.jpg", "same bytes");
  AddFolder(tmp.Path());
  form_->CheckBox3->SetChecked(true);

  dupgui::TextRecorder phases(form_->OperationName);
  dupgui::TextRecorder button(form_->StartButton);
  form_->StartButton->Click();
  EXPECT_EQ(form_->StartButton->Caption(), L"Остановить сканирование");
  EXPECT_EQ(form_->StartButton->Tag, 1);
  ASSERT_TRUE(PumpUntil([this] { return !form_->DuplicateScanRunning(); }, 60000));

  EXPECT_EQ(phases.Texts(), (std::vector<std::wstring>{L"Сканирование папок", L"Сравнение файлов",
                                                        L"Обработка результата", L"Сортировка", L"Найдено 3"}));
  EXPECT_EQ(button.Texts(),
            (std::vector<std::wstring>{L"Остановить сканирование", L"Начать сканирование"}));
  EXPECT_EQ(form_->ProgressStaus->Caption(), L"");
  EXPECT_EQ(form_->StartButton->Tag, 0);
  PumpUntil([this] { return form_->sProgressBar2->Position() == form_->sProgressBar2->Max(); }, 2000);
  EXPECT_EQ(form_->sProgressBar2->Position(), form_->sProgressBar2->Max());
  ASSERT_EQ(DupFiles.size(), 3u);
  for (const TDupFileRec& rec : DupFiles) EXPECT_EQ(rec.Group, 1u);
  EXPECT_EQ(DupCriteria, (TDupCriteria{true, true, true}));
  EXPECT_TRUE(DupScanSubfolders);
}

TEST_F(DupPageTest, ScanWithoutSubfoldersAndTooFewFilesSaysNothingWasFound) {
  testenv::ScopedTempDir tmp;
  tmp.WriteFile(L"one.txt", "1");
  tmp.WriteFile(L"sub\\one.txt", "1");
  AddFolder(tmp.Path());
  form_->ScanSubfoldersCheckBox->SetChecked(false);
  RunScan();
  EXPECT_EQ(form_->OperationName->Caption(), L"Дублирующихся файлов не найдено");
  EXPECT_EQ(form_->StartButton->Caption(), L"Начать сканирование");
  EXPECT_FALSE(DupScanSubfolders);
  ASSERT_EQ(DupFiles.size(), 1u);  // the walk's one file stays, in no group
  EXPECT_EQ(DupFiles[0].Group, 0u);
}

TEST_F(DupPageTest, StartClickedAgainStopsTheScanAndEmptiesTheTables) {
  testenv::ScopedTempDir tmp;
  // Enough folders that the walk is still going when the second click comes.
  for (int d = 0; d < 150; ++d)
    for (int f = 0; f < 10; ++f)
      tmp.WriteFile(L"d" + std::to_wstring(d) + L"\\f" + std::to_wstring(f) + L".txt", "x");
  AddFolder(tmp.Path());
  form_->StartButton->Click();
  form_->StartButton->Click();  // Tag 1: only the stop request
  EXPECT_TRUE(DupStop);
  ASSERT_TRUE(PumpUntil([this] { return !form_->DuplicateScanRunning(); }, 60000));
  EXPECT_EQ(form_->OperationName->Caption(), L"Сканирование прервано");
  EXPECT_EQ(form_->ProgressStaus->Caption(), L"");
  EXPECT_EQ(form_->StartButton->Caption(), L"Начать сканирование");
  EXPECT_TRUE(DupFiles.empty());
  EXPECT_TRUE(DupFolders.empty());
}

TEST_F(DupPageTest, ClosingTheMainWindowStopsTheScanAndWaitsForIt) {
  testenv::ScopedTempDir tmp;
  for (int d = 0; d < 150; ++d)
    for (int f = 0; f < 10; ++f)
      tmp.WriteFile(L"d" + std::to_wstring(d) + L"\\f" + std::to_wstring(f) + L".txt", "x");
  AddFolder(tmp.Path());
  form_->StartButton->Click();
  bool canClose = true;
  form_->FormCloseQuery(form_, canClose);
  // Back from the close query, without any more messages: the worker is
  // gone and the page is idle.
  EXPECT_TRUE(canClose);
  EXPECT_FALSE(form_->DuplicateScanRunning());
  EXPECT_EQ(form_->StartButton->Caption(), L"Начать сканирование");
  EXPECT_EQ(form_->OperationName->Caption(), L"Сканирование прервано");
  EXPECT_TRUE(DupFiles.empty());
}

TEST_F(DupPageTest, ListButtonsAndResultDoNothingWhileAScanRuns) {
  AddFolder(L"C:\\A\\");
  form_->StartButton->Tag = 1;  // as while a worker runs
  form_->FoldersListBox->SetItemIndex(0);
  form_->RemoveButton->Click();
  form_->ResultButton->Click();  // would block in a modal loop if it showed
  form_->AddButton->Click();     // likewise
  form_->StartButton->Tag = 0;
  DupStop = false;
  EXPECT_EQ(Items(), std::vector<std::wstring>{L"C:\\A\\"});
  EXPECT_FALSE(ResultForm->Visible());
}

TEST_F(DupPageTest, ResultButtonShowsTheResultWindowModallyWithTheScan) {
  testenv::ScopedTempDir tmp;
  tmp.WriteFile(L"x\\same.bin", "12345");
  tmp.WriteFile(L"y\\SAME.bin", "12345");
  AddFolder(tmp.Path());
  RunScan();
  ASSERT_EQ(DupFiles.size(), 2u);

  std::vector<std::wstring> names;
  bool modal = false;
  dupgui::ModalDriver driver([] { return ResultForm->Visible(); },
                             [&] {
                               modal = ResultForm->Modal();
                               for (int r = 1; r < ResultForm->DoublesList->RowCount(); ++r)
                                 names.push_back(ResultForm->DoublesList->Cells(1, r));
                               ResultForm->CloseResultClick(nullptr);
                             });
  form_->ResultButton->Click();
  EXPECT_TRUE(driver.Done());
  EXPECT_TRUE(modal);
  EXPECT_EQ(std::set<std::wstring>(names.begin(), names.end()),
            (std::set<std::wstring>{L"same.bin", L"SAME.bin"}));
  EXPECT_FALSE(ResultForm->Visible());
}

}  // namespace
