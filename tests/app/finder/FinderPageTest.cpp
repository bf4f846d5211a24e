// Page 15 and TFrame5: the controls, the frame's buttons on each notebook
// page, the input dialogs, the exclusion chooser and the result operations.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/common/AddFolderDialog.h"
#include "app/finder/Form2.h"
#include "framework/Menus.h"
#include "tests/app/duplicates/DupPageTestSupport.h"
#include "tests/app/finder/FinderTestSupport.h"
#include "tests/app/common/MessageBoxCatcher.h"

namespace {

using findertest::FinderPageTest;
using findertest::InputScript;

// Opens frame-bar item 1 (the finder's frame) for one test and goes back to
// item 0 afterwards, as the start-up left it.
class FinderFrameTest : public FinderPageTest {
 protected:
  void SetUp() override {
    FinderPageTest::SetUp();
    form_->TabbedNotebook1->SetPageIndex(0);
    form_->sFrameBar1->OpenItem(1, false);
    Application->ProcessMessages();
  }
  void TearDown() override {
    form_->TabbedNotebook1->SetPageIndex(0);
    form_->sFrameBar1->OpenItem(0, false);
    Application->ProcessMessages();
    FinderPageTest::TearDown();
  }
  void ShowTab(int index) {
    form_->TabbedNotebook1->SetPageIndex(index);
    Application->ProcessMessages();
  }
  std::vector<std::wstring> Captions(TListView* list) const {
    std::vector<std::wstring> v;
    for (int i = 0; i < list->Items()->Count(); ++i) v.push_back(list->Items()->Item(i)->Caption());
    return v;
  }
};

TEST_F(FinderPageTest, PageHoldsTheNotebookListsAndButtons) {
  ASSERT_NE(form_->TabbedNotebook1, nullptr);
  EXPECT_EQ(form_->TabbedNotebook1->Parent(), form_->Pages[15]);
  ASSERT_EQ(form_->TabbedNotebook1->PageCount(), 4);
  const wchar_t* tabs[] = {L"Пути поиска", L"Фильтры", L"Исключения", L"Сканирование"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(form_->TabbedNotebook1->Pages()->Strings(i), tabs[i]);
  EXPECT_EQ(form_->FinderPathsLabel->Caption(), L"Выбирете пути по которым будет произведен поиск:");
  EXPECT_EQ(form_->FinderFiltersLabel->Caption(), L"Фильтры:");
  EXPECT_EQ(form_->FinderExclusionsLabel->Caption(), L"Исключения:");

  auto columns = [](TListView* list) {
    std::vector<std::wstring> v;
    for (int i = 0; i < list->Columns()->Count(); ++i) v.push_back(list->Columns()->Items(i)->Caption());
    return v;
  };
  EXPECT_EQ(columns(form_->ListView2), (std::vector<std::wstring>{L"Название фильтра", L"Тип", L"Описание"}));
  EXPECT_EQ(columns(form_->ListView3), (std::vector<std::wstring>{L"Имя объекта", L"Описание"}));
  EXPECT_EQ(columns(form_->ListView4),
            (std::vector<std::wstring>{L"Имя файла", L"Размер файла", L"Тип файла", L"Изменен"}));
  for (TListView* list : {form_->ListView2, form_->ListView3, form_->ListView4}) {
    EXPECT_EQ(list->ViewStyle(), vsReport);
    EXPECT_TRUE(list->Checkboxes());
  }
  EXPECT_EQ(form_->ListView4->SmallImages(), nullptr);

  ASSERT_EQ(form_->StatusBar1->PanelCount(), 3);
  EXPECT_EQ(form_->StatusBar1->Panel(0).Width, 150);
  EXPECT_EQ(form_->StatusBar1->Panel(1).Width, 130);
  EXPECT_EQ(form_->StatusBar1->Panel(2).Width, 120);
  EXPECT_EQ(form_->SpeedButton1->Caption(), L"Начать поиск");
  EXPECT_EQ(form_->SpeedButton2->Caption(), L"Остановить поиск");
  EXPECT_TRUE(form_->SpeedButton1->Visible());
  EXPECT_FALSE(form_->SpeedButton2->Visible());

  std::vector<std::wstring> items;
  for (int i = 0; i < form_->PopupMenu1->Items()->Count(); ++i)
    items.push_back(form_->PopupMenu1->Items()->Items(i)->Caption());
  EXPECT_EQ(items, (std::vector<std::wstring>{L"Открыть содержащую папку", L"-", L"Сделать исключением папку",
                                              L"Сделать исключением файл", L"Сделать исключением этот путь ",
                                              L"-", L"Очистить список"}));
}

TEST_F(FinderPageTest, GetDrivesTicksEveryFixedAndRemovableRoot) {
  TFrame5::GetDrives();
  const std::vector<std::wstring> paths = Paths();
  ASSERT_FALSE(paths.empty());
  EXPECT_NE(std::find(paths.begin(), paths.end(), L"C:\\"), paths.end());
  for (int i = 0; i < form_->CheckListBox1->Count(); ++i) {
    const UINT type = GetDriveTypeW(paths[i].c_str());
    EXPECT_TRUE(type == DRIVE_FIXED || type == DRIVE_REMOVABLE) << paths[i].c_str();
    EXPECT_TRUE(form_->CheckListBox1->Checked(i));
    EXPECT_TRUE(IsDriveEntry(i));
  }
  EXPECT_EQ(LastDriveIndex, form_->CheckListBox1->Count() - 1);
}

TEST_F(FinderPageTest, AddSearchPathTakesDrivePathsOnceUntickedAndSortsTheList) {
  AddPath(L"Q:\\zeta");
  EXPECT_TRUE(TFrame5::AddSearchPath(L"C:\\alpha"));
  EXPECT_FALSE(TFrame5::AddSearchPath(L"C:\\alpha\\"));  // the same path
  EXPECT_FALSE(TFrame5::AddSearchPath(L"\\\\server\\share"));
  EXPECT_FALSE(TFrame5::AddSearchPath(L""));
  EXPECT_TRUE(TFrame5::AddSearchPath(L"D:\\"));
  EXPECT_EQ(Paths(), (std::vector<std::wstring>{L"C:\\alpha\\", L"D:\\", L"Q:\\zeta\\"}));
  EXPECT_TRUE(form_->CheckListBox1->Sorted());
  EXPECT_FALSE(form_->CheckListBox1->Checked(0));
  EXPECT_TRUE(form_->CheckListBox1->Checked(2));
}

TEST_F(FinderFrameTest, OpeningItemOneShowsTheFrameAndPageFifteen) {
  ASSERT_NE(Frame5, nullptr);
  EXPECT_EQ(form_->sPageControl1->ActivePageIndex(), 15);
  // Made at 167 x 244; the frame bar then fits it to its item.
  {
    std::unique_ptr<TFrame5> made(Construct<TFrame5>(nullptr));
    EXPECT_EQ(made->Width(), 167);
    EXPECT_EQ(made->Height(), 244);
  }
  struct Expected {
    TButton* button;
    const wchar_t* caption;
    int top;
    bool enabled;
  };
  for (const Expected& e : {Expected{Frame5->SpeedButton7, L"Добавить", 9, true},
                            Expected{Frame5->SpeedButton8, L"Редактировать", 40, false},
                            Expected{Frame5->SpeedButton5, L"Удалить", 71, true},
                            Expected{Frame5->SpeedButton6, L"Удалить все", 102, true},
                            Expected{Frame5->SpeedButton3, L"Исключить все", 133, true},
                            Expected{Frame5->SpeedButton4, L"Выбрать все", 164, true}}) {
    EXPECT_EQ(e.button->Caption(), e.caption);
    EXPECT_EQ(e.button->Top(), e.top);
    EXPECT_EQ(e.button->Left(), 35);
    EXPECT_EQ(e.button->Width(), 113);
    EXPECT_EQ(e.button->Height(), 25);
    EXPECT_EQ(e.button->Enabled(), e.enabled) << e.caption;
  }
}

TEST_F(FinderFrameTest, NotebookPagesPointTheButtonsAtTheirList) {
  struct Case {
    int tab;
    bool add, edit, deleteAll;
  };
  for (const Case& c : {Case{1, true, true, false}, Case{2, true, true, false}, Case{3, false, false, true},
                        Case{0, true, false, true}}) {
    ShowTab(c.tab);
    for (TButton* b : {Frame5->SpeedButton7, Frame5->SpeedButton8, Frame5->SpeedButton5, Frame5->SpeedButton6})
      EXPECT_EQ(b->Tag, c.tab);
    EXPECT_EQ(Frame5->SpeedButton7->Enabled(), c.add) << c.tab;
    EXPECT_EQ(Frame5->SpeedButton8->Enabled(), c.edit) << c.tab;
    // "Удалить все" comes back on with the next page change (a disabled one
    // stays off only on the filter and exclusion pages).
    EXPECT_EQ(Frame5->SpeedButton6->Enabled(), c.deleteAll) << c.tab;
    EXPECT_TRUE(Frame5->SpeedButton5->Enabled());
  }
  EXPECT_EQ(form_->ListView4->PopupMenu(), form_->PopupMenu1);
}

TEST_F(FinderFrameTest, AFrameMadeAgainActsOnTheShownPage) {
  ShowTab(3);
  form_->sFrameBar1->OpenItem(0, false);
  Application->ProcessMessages();
  EXPECT_EQ(Frame5, nullptr);  // freed with its item, and nobody reaches it
  form_->sFrameBar1->OpenItem(1, false);
  Application->ProcessMessages();
  ASSERT_NE(Frame5, nullptr);
  EXPECT_EQ(Frame5->SpeedButton6->Tag, 3);
  EXPECT_FALSE(Frame5->SpeedButton7->Enabled());
}

TEST_F(FinderFrameTest, AddingAFilterAsksForItAndItsDescription) {
  ShowTab(1);
  {
    InputScript script({{L"*.tmp", true}, {L"Временные файлы", true}});
    Frame5->SpeedButton7->Click();
    ASSERT_EQ(script.Dialogs().size(), 2u);
    EXPECT_EQ(script.Dialogs()[0].caption, L"Добавить фильтр");
    EXPECT_EQ(script.Dialogs()[0].prompt, L"Введите фильтр:");
    EXPECT_EQ(script.Dialogs()[1].caption, L"Описание фильтра");
    EXPECT_EQ(script.Dialogs()[1].prompt, L"Введите описание:");
  }
  // A cancelled description leaves it empty; a blank filter adds nothing.
  { InputScript script({{L" *.log ", true}, {L"", false}}); Frame5->SpeedButton7->Click(); }
  {
    InputScript script({{L"   ", true}});
    Frame5->SpeedButton7->Click();
    EXPECT_EQ(script.Dialogs().size(), 1u);
  }
  { InputScript script({{L"", false}}); Frame5->SpeedButton7->Click(); }
  ASSERT_EQ(form_->ListView2->Items()->Count(), 2);
  TListItem* first = form_->ListView2->Items()->Item(0);
  EXPECT_EQ(first->Caption(), L"*.tmp");
  EXPECT_EQ(first->SubItems()->Strings(0), L".tmp");
  EXPECT_EQ(first->SubItems()->Strings(1), L"Временные файлы");
  EXPECT_TRUE(first->Checked());
  TListItem* second = form_->ListView2->Items()->Item(1);
  EXPECT_EQ(second->Caption(), L" *.log ");  // as typed
  EXPECT_EQ(second->SubItems()->Strings(1), L"");
}

TEST_F(FinderFrameTest, EditingReplacesNameTypeAndDescription) {
  TFrame5::AddExt(L"*.tmp", L"старое", form_->ListView2, true);
  TFrame5::AddExl(L"Temp", L"папка", form_->ListView3, true);
  ShowTab(1);
  form_->ListView2->SetSelected(form_->ListView2->Items()->Item(0));
  {
    InputScript script({{L"*.bak", true}, {L"", false}});
    Frame5->SpeedButton8->Click();
    ASSERT_EQ(script.Dialogs().size(), 2u);
    EXPECT_EQ(script.Dialogs()[0].caption, L"Редактирование фильтра");
    EXPECT_EQ(script.Dialogs()[0].prompt, L"Исправьте название фильтр:");
    EXPECT_EQ(script.Dialogs()[0].offered, L"*.tmp");
    EXPECT_EQ(script.Dialogs()[1].prompt, L"Исправьте описание фильтра:");
    EXPECT_EQ(script.Dialogs()[1].offered, L"старое");
  }
  TListItem* filter = form_->ListView2->Items()->Item(0);
  EXPECT_EQ(filter->Caption(), L"*.bak");
  EXPECT_EQ(filter->SubItems()->Strings(0), L".bak");
  EXPECT_EQ(filter->SubItems()->Strings(1), L"старое");  // its dialog was cancelled

  ShowTab(2);
  form_->ListView3->SetSelected(form_->ListView3->Items()->Item(0));
  {
    InputScript script({{L"Cache", true}, {L"кэш", true}});
    Frame5->SpeedButton8->Click();
    ASSERT_EQ(script.Dialogs().size(), 2u);
    EXPECT_EQ(script.Dialogs()[0].caption, L"Редактирование исключения");
    EXPECT_EQ(script.Dialogs()[0].prompt, L"Исправьте название исключения:");
    EXPECT_EQ(script.Dialogs()[1].prompt, L"Исправьте описание исключения:");
  }
  TListItem* exclusion = form_->ListView3->Items()->Item(0);
  EXPECT_EQ(exclusion->Caption(), L"Cache");
  EXPECT_EQ(exclusion->SubItems()->Strings(0), L"кэш");

  // Nothing selected: nothing is asked.
  form_->ListView3->SetSelected(nullptr);
  InputScript none({{L"x", true}});
  Frame5->SpeedButton8->Click();
  EXPECT_TRUE(none.Dialogs().empty());
}

TEST_F(FinderFrameTest, AddOnThePathsPageTakesTheChosenFolder) {
  testenv::ScopedTempDir tmp;
  const std::wstring dir = tmp.MakeDir(L"Поиск");
  // The chooser is shared and its tree lists each folder once: a fresh one
  // sees this test's new folder, and the next user gets a fresh one too.
  delete AddFolderDialog;
  struct FreeChooser {
    ~FreeChooser() { delete AddFolderDialog; }
  } freeChooser;
  {
    dupgui::ModalDriver driver([] { return AddFolderDialog && AddFolderDialog->Visible() && AddFolderDialog->Modal(); },
                               [&] {
                                 EXPECT_TRUE(AddFolderDialog->ShellTreeView->SetPath(dir));
                                 AddFolderDialog->OkButton->Click();
                               });
    Frame5->SpeedButton7->Click();
    EXPECT_TRUE(driver.Done());
  }
  EXPECT_EQ(Paths(), std::vector<std::wstring>{dir + L"\\"});
  EXPECT_FALSE(form_->CheckListBox1->Checked(0));
  EXPECT_FALSE(IsDriveEntry(0));
}

TEST_F(FinderFrameTest, DeleteAndDeleteAllActOnTheShownList) {
  AddPath(L"C:\\one");
  AddPath(L"C:\\two");
  TFrame5::AddExt(L"*.a", L"", form_->ListView2, true);
  TFrame5::AddExt(L"*.b", L"", form_->ListView2, true);
  TFrame5::AddExl(L"x", L"", form_->ListView3, true);

  Frame5->SpeedButton5->Click();  // nothing selected: nothing goes
  EXPECT_EQ(Paths().size(), 2u);
  form_->CheckListBox1->SetItemIndex(0);
  Frame5->SpeedButton5->Click();
  EXPECT_EQ(Paths(), std::vector<std::wstring>{L"C:\\two\\"});

  ShowTab(1);
  form_->ListView2->SetSelected(form_->ListView2->Items()->Item(1));
  Frame5->SpeedButton5->Click();
  EXPECT_EQ(Captions(form_->ListView2), std::vector<std::wstring>{L"*.a"});

  ShowTab(0);
  Frame5->SpeedButton6->Click();
  EXPECT_TRUE(Paths().empty());
  EXPECT_EQ(form_->ListView3->Items()->Count(), 1);  // other lists untouched
}

TEST_F(FinderFrameTest, ExcludeAllAndSelectAllTickTheShownList) {
  AddPath(L"C:\\one");
  TFrame5::AddExt(L"*.a", L"", form_->ListView2, true);
  TFrame5::AddExl(L"x", L"", form_->ListView3, false);
  ShowTab(1);
  Frame5->SpeedButton3->Click();
  EXPECT_FALSE(form_->ListView2->Items()->Item(0)->Checked());
  EXPECT_TRUE(form_->CheckListBox1->Checked(0));
  ShowTab(2);
  Frame5->SpeedButton4->Click();
  EXPECT_TRUE(form_->ListView3->Items()->Item(0)->Checked());
  ShowTab(0);
  Frame5->SpeedButton3->Click();
  EXPECT_FALSE(form_->CheckListBox1->Checked(0));
}

TEST_F(FinderFrameTest, ExclusionChooserAddsTheSelectedObjectWithItsDescription) {
  testenv::ScopedTempDir tmp;
  const std::wstring dir = tmp.MakeDir(L"Не искать");
  // A chooser left by an earlier test may have listed the temporary folder
  // before this test's folder existed, and its tree does not refresh: start
  // without one (the main window keeps the old one), so "Добавить" makes it.
  Form2 = nullptr;
  ShowTab(2);
  Frame5->SpeedButton7->Click();
  ASSERT_NE(Form2, nullptr);
  EXPECT_TRUE(Form2->Visible());
  EXPECT_FALSE(Form2->Modal());
  EXPECT_EQ(Form2->Tag, 0);
  EXPECT_EQ(Form2->ClientWidth(), 192);
  EXPECT_EQ(Form2->ClientHeight(), 271);
  EXPECT_EQ(Form2->Label1->Caption(), L"Выбирете файл или папку:");
  EXPECT_EQ(Form2->SpeedButton1->Caption(), L"OK");
  EXPECT_EQ(Form2->SpeedButton2->Caption(), L"Отмена");
  // The chooser lists a folder's children once; when an earlier test made
  // the window, it listed the temporary folder before this test's folder
  // existed. Filled afresh, as a new chooser would be.
  Form2->ShellTreeView1->SetRoot(Form2->ShellTreeView1->Root());
  ASSERT_TRUE(Form2->ShellTreeView1->SetPath(dir));
  {
    InputScript script({{L"личное", true}});
    Form2->SpeedButton1->Click();
    ASSERT_EQ(script.Dialogs().size(), 1u);
    EXPECT_EQ(script.Dialogs()[0].caption, L"Описание папки");
    EXPECT_EQ(script.Dialogs()[0].prompt, L"Введите описание:");
  }
  EXPECT_FALSE(Form2->Visible());
  ASSERT_EQ(form_->ListView3->Items()->Count(), 1);
  EXPECT_EQ(form_->ListView3->Items()->Item(0)->Caption(), dir);
  EXPECT_EQ(form_->ListView3->Items()->Item(0)->SubItems()->Strings(0), L"личное");
  EXPECT_TRUE(form_->ListView3->Items()->Item(0)->Checked());

  // The same window serves again; "Отмена" only closes it.
  TForm2* first = Form2;
  Frame5->SpeedButton7->Click();
  EXPECT_EQ(Form2, first);
  Form2->SpeedButton2->Click();
  EXPECT_FALSE(Form2->Visible());
  EXPECT_EQ(form_->ListView3->Items()->Count(), 1);
}

TEST_F(FinderPageTest, RightClickOnInternetExplorerTicksItAndOpensANewChooser) {
  form_->sCheckBox1->SetChecked(false);
  TForm2* before = Form2;
  bool handled = false;
  ASSERT_TRUE(form_->sCheckBox1->OnContextPopup);
  form_->sCheckBox1->OnContextPopup(form_->sCheckBox1, TPoint{1, 1}, handled);
  EXPECT_TRUE(form_->sCheckBox1->Checked());
  ASSERT_NE(Form2, nullptr);
  EXPECT_NE(Form2, before);
  EXPECT_TRUE(Form2->Visible());
  Form2->SpeedButton2->Click();
}

TEST_F(FinderPageTest, DeleteAllDeletesTickedFilesAndEmptiesTheList) {
  testenv::ScopedTempDir tmp;
  const std::wstring gone = tmp.WriteFile(L"gone.tmp", "g");
  const std::wstring kept = tmp.WriteFile(L"kept.tmp", "k");
  const std::wstring locked = tmp.WriteFile(L"locked.tmp", "l");
  findertest::ScopedReadOnly readOnly(locked);
  AddPath(tmp.Path());
  AddFilter(L"*.tmp");
  TFrame5::FindFiles();
  ASSERT_EQ(form_->ListView4->Items()->Count(), 3);
  Row(kept)->SetChecked(false);

  std::vector<std::wstring> panel0;
  TWndProcHook hook(form_->StatusBar1, [&](TMessage& m, const TWndMethod& next) {
    if (m.Msg == SB_SETTEXTW && LOBYTE(m.WParam) == 0) panel0.push_back(reinterpret_cast<const wchar_t*>(m.LParam));
    next(m);
  });
  form_->TabbedNotebook1->SetPageIndex(3);
  TFrame5::DeleteAll();
  form_->TabbedNotebook1->SetPageIndex(0);

  EXPECT_EQ(form_->ListView4->Items()->Count(), 0);
  EXPECT_FALSE(cleanuptest::Exists(gone));
  EXPECT_TRUE(cleanuptest::Exists(kept));
  EXPECT_TRUE(cleanuptest::Exists(locked));
  auto said = [&](const std::wstring& text) { return std::find(panel0.begin(), panel0.end(), text) != panel0.end(); };
  EXPECT_TRUE(said(L"Файл " + kept + L" удален не будет"));
  EXPECT_TRUE(said(L"Удаление: " + gone));
  EXPECT_TRUE(said(L"Не могу удалить " + locked));
  EXPECT_EQ(form_->StatusBar1->PanelText(0), L"");
  EXPECT_EQ(form_->StatusBar1->PanelText(1), L"Найдено файлов: 0");
  EXPECT_EQ(Search().FoundFilesCount, 3);  // the totals themselves stay
}

// The result list shows each row's own tick, and the user's click on a
// row's check box or space bar on the focused row changes that row alone,
// which "Удалить все" then honours.
TEST_F(FinderPageTest, UserTicksResultRowsByClickAndSpaceBar) {
  testenv::ScopedTempDir tmp;
  const std::wstring first = tmp.WriteFile(L"first.tmp", "1");
  const std::wstring second = tmp.WriteFile(L"second.tmp", "2");
  AddPath(tmp.Path());
  AddFilter(L"*.tmp");
  TFrame5::FindFiles();
  Application->ProcessMessages();
  TListView* list = form_->ListView4;
  ASSERT_EQ(list->Items()->Count(), 2);
  HWND w = list->WindowHandle();
  auto shownTick = [&](int index) {
    return (SendMessageW(w, LVM_GETITEMSTATE, index, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12;
  };
  EXPECT_EQ(shownTick(0), 2u);
  EXPECT_EQ(shownTick(1), 2u);

  TListItem* row = Row(second);
  RECT r{};
  r.left = LVIR_BOUNDS;
  ASSERT_TRUE(SendMessageW(w, LVM_GETITEMRECT, row->Index(), reinterpret_cast<LPARAM>(&r)));
  LVHITTESTINFO hit{};
  hit.pt = {r.left + 8, (r.top + r.bottom) / 2};
  ASSERT_EQ(SendMessageW(w, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), row->Index());
  ASSERT_TRUE(hit.flags & LVHT_ONITEMSTATEICON);
  const LPARAM at = MAKELPARAM(hit.pt.x, hit.pt.y);
  SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(w, WM_LBUTTONUP, 0, at);
  EXPECT_FALSE(row->Checked());
  EXPECT_TRUE(Row(first)->Checked());
  EXPECT_EQ(shownTick(row->Index()), 1u);

  Row(first)->SetFocused(true);
  SendMessageW(w, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(w, WM_KEYUP, VK_SPACE, 0);
  EXPECT_FALSE(Row(first)->Checked());
  SendMessageW(w, WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(w, WM_KEYUP, VK_SPACE, 0);
  EXPECT_TRUE(Row(first)->Checked());
  EXPECT_FALSE(row->Checked());

  TFrame5::DeleteAll();
  EXPECT_FALSE(cleanuptest::Exists(first));
  EXPECT_TRUE(cleanuptest::Exists(second));
}

TEST_F(FinderPageTest, DeleteSelectedKeepsTheRowOfAFileThatCannotGo) {
  testenv::ScopedTempDir tmp;
  const std::wstring gone = tmp.WriteFile(L"gone.tmp", "g");
  const std::wstring locked = tmp.WriteFile(L"locked.tmp", "l");
  findertest::ScopedReadOnly readOnly(locked);
  AddPath(tmp.Path());
  AddFilter(L"*.tmp");
  TFrame5::FindFiles();

  form_->ListView4->SetSelected(Row(locked));
  TFrame5::DeleteFileSelected();
  EXPECT_NE(Row(locked), nullptr);
  EXPECT_TRUE(cleanuptest::Exists(locked));
  EXPECT_EQ(form_->StatusBar1->PanelText(0), L"Не могу удалить " + locked);

  form_->ListView4->SetSelected(Row(gone));
  TFrame5::DeleteFileSelected();
  EXPECT_EQ(Row(gone), nullptr);
  EXPECT_FALSE(cleanuptest::Exists(gone));

  form_->ListView4->SetSelected(nullptr);
  TFrame5::DeleteFileSelected();  // nothing selected: nothing happens
  EXPECT_EQ(form_->ListView4->Items()->Count(), 1);
}

}  // namespace
