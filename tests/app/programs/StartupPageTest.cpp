// The "Автозагрузка" tab in the main window: the grid, its rebuilds and the
// selection across them, deleting after the confirmation, and adding.
#include <gtest/gtest.h>

#include <memory>

#include "framework/ComCtrls.h"
#include "framework/Grids.h"
#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"
#include "skin/controls/AlphaListBox.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/app/programs/StartupTestSupport.h"

using appstest::DialogAnswerer;
using appstest::Reply;

namespace {

using GridRow = std::vector<std::wstring>;

class StartupPage : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = testenv::EnsureMainForm();
    form_->StartupSources = scratch_.Sources();
    form_->CommandLineArgCount = [this] { return args_; };
    HideGrid();
  }
  void TearDown() override {
    HideGrid();
    form_->StartupSources = DefaultStartupSources();
    form_->CommandLineArgCount = [] { return ParamCount(); };
    form_->SelectPage(0);
  }
  void ShowGrid() {
    form_->SelectPage(2);
    form_->sPageControl2->SetActivePage(form_->sTabSheet14);
  }
  void HideGrid() { form_->sPageControl2->SetActivePage(form_->sTabSheet13); }
  std::vector<GridRow> Grid() const {
    std::vector<GridRow> rows;
    for (int r = 0; r < form_->SG->RowCount(); ++r)
      rows.push_back({form_->SG->Cells(0, r), form_->SG->Cells(1, r), form_->SG->Cells(2, r)});
    return rows;
  }
  // The row whose name cell and tag are these; -1 when none.
  int RowOf(const std::wstring& name, const std::wstring& tag) const {
    for (int r = 1; r < form_->SG->RowCount(); ++r)
      if (form_->SG->Cells(0, r) == name && form_->SG->Cells(2, r) == tag) return r;
    return -1;
  }
  void Delete(int row, int answer, std::vector<appstest::SeenBox>* boxes = nullptr) {
    form_->SG->SetRow(row);
    DialogAnswerer answerer({Reply{answer}});
    form_->sButton22->Click();
    if (boxes) *boxes = answerer.Boxes();
  }

  TMainForm* form_ = nullptr;
  appstest::ScratchStartupSources scratch_;
  int args_ = 0;
};

const GridRow kHeader = {L"Имя файла", L"Путь к файлу", L"Путь в реестре"};

TEST_F(StartupPage, GridHasThreeColumnsAHeaderRowAndWholeRowSelection) {
  ShowGrid();
  TStringGrid* sg = form_->SG;
  EXPECT_EQ(sg->ColCount(), 3);
  EXPECT_EQ(sg->FixedCols(), 0);
  EXPECT_EQ(sg->DefaultRowHeight(), 20);
  EXPECT_EQ(sg->ColWidths(0), 126);
  EXPECT_EQ(sg->ColWidths(1), 202);
  EXPECT_EQ(sg->ColWidths(2), 81);
  EXPECT_TRUE(sg->Options() & goRowSelect);
  EXPECT_TRUE(sg->Options() & goColSizing);
  EXPECT_EQ(form_->sTabSheet14->Caption(), L"Автозагрузка");
  EXPECT_EQ(form_->sTabSheet13->Caption(), L"Удаление");
  EXPECT_EQ(form_->sButton22->Caption(), L"Удалить");
  EXPECT_EQ(form_->sButton23->Caption(), L"Добавить");
  EXPECT_EQ(form_->OpenDialog1->Filter, L"Приложения|*.exe");
}

TEST_F(StartupPage, ShowingTheTabListsEveryEntryWithItsTag) {
  const DWORD number = 7;
  const BYTE blob[] = {0xDE, 0xAD};
  scratch_.SetString(0, L"Same", L"c:\\lm.exe");
  scratch_.SetString(1, L"", L"c:\\default.exe");
  scratch_.SetString(1, L"Same", L"c:\\cu.exe");
  scratch_.Set(2, L"Number", REG_DWORD, &number, sizeof number);
  scratch_.Set(3, L"Blob", REG_BINARY, blob, sizeof blob);
  scratch_.SetString(4, L"Empty", L"");
  scratch_.SetString(5, L"Users", L"c:\\u.exe");
  scratch_.SetString(6, L"load", L"c:\\load.exe");
  ShowGrid();
  const std::vector<GridRow> expected = {
      kHeader,
      {L"Same", L"c:\\lm.exe", L"HKEY_LM\\Run"},
      {L" ", L"c:\\default.exe", L"HKEY_CU\\Run"},
      {L"Same", L"c:\\cu.exe", L"HKEY_CU\\Run"},
      {L"Number", L"7", L"HKEY_Users\\Run"},
      {L"Blob", L"DE AD", L"HKEY_LM\\RunOnce"},
      {L"Empty", L" ", L"HKEY_CU\\RunOnce"},
      {L"Users", L"c:\\u.exe", L"HKEY_Users\\RunOnce"},
  };
  EXPECT_EQ(Grid(), expected);
  EXPECT_EQ(form_->SG->FixedRows(), 1);
  // The value names of each key passed through the hidden skinned list box.
  EXPECT_STREQ(form_->LB->ClassName(), L"TsListBox");
  EXPECT_FALSE(form_->LB->Visible());
  EXPECT_EQ(form_->LB->Items()->ToVector(), std::vector<std::wstring>{L"Users"});
}

// With more entries than rows in view the vertical bar narrows the grid
// below its three columns: a horizontal bar brings the source column into
// view whole.
TEST_F(StartupPage, ALongListScrollsSidewaysToTheWholeSourceColumn) {
  for (int i = 0; i < 30; ++i) scratch_.SetString(1, L"Entry" + IntToStr(i), L"c:\\e.exe");
  ShowGrid();
  TStringGrid* sg = form_->SG;
  ASSERT_EQ(sg->RowCount(), 31);
  ASSERT_TRUE(sg->HandleAllocated());
  const int columns = sg->ColWidths(0) + sg->ColWidths(1) + sg->ColWidths(2) + 3 * sg->GridLineWidth();
  ASSERT_GT(columns, sg->ClientWidth());
  SCROLLBARINFO sbi{};
  sbi.cbSize = sizeof(sbi);
  ASSERT_TRUE(GetScrollBarInfo(sg->WindowHandle(), OBJID_HSCROLL, &sbi));
  EXPECT_FALSE(sbi.rgstate[0] & STATE_SYSTEM_INVISIBLE);
  SendMessageW(sg->WindowHandle(), WM_HSCROLL, SB_RIGHT, 0);
  const TRect source = sg->CellRect(2, 1);
  EXPECT_GT(source.right, source.left);
  EXPECT_LE(source.right, sg->ClientWidth());
  SendMessageW(sg->WindowHandle(), WM_HSCROLL, SB_LEFT, 0);
  EXPECT_EQ(sg->LeftCol(), 0);
}

TEST_F(StartupPage, WithoutEntriesOnlyTheHeaderShowsAndDeleteAsksNothing) {
  ShowGrid();
  EXPECT_EQ(Grid(), std::vector<GridRow>{kHeader});
  DialogAnswerer answerer;
  form_->sButton22->Click();
  EXPECT_TRUE(answerer.Boxes().empty());
}

TEST_F(StartupPage, LoadRowsShowOnlyWithACommandLineArgument) {
  scratch_.SetString(6, L"load", L"c:\\load-cu.exe");
  scratch_.SetString(7, L"load", L"c:\\load-default.exe");
  ShowGrid();
  EXPECT_EQ(Grid(), std::vector<GridRow>{kHeader});
  args_ = 1;
  form_->LoadStartupEntries();
  EXPECT_EQ(Grid(), (std::vector<GridRow>{kHeader,
                                          {L"load", L"c:\\load-cu.exe", L"HKEY_CU\\load"},
                                          {L"load", L"c:\\load-default.exe", L"HKEY_Users\\load"}}));
  // Deleting a "load" row deletes that whole value and nothing else.
  Delete(RowOf(L"load", L"HKEY_CU\\load"), IDOK);
  EXPECT_FALSE(scratch_.Exists(6, L"load"));
  EXPECT_TRUE(scratch_.Exists(7, L"load"));
  EXPECT_EQ(Grid(), (std::vector<GridRow>{kHeader,
                                          {L"load", L"c:\\load-default.exe", L"HKEY_Users\\load"}}));
}

TEST_F(StartupPage, DeleteAsksThenRemovesOnlyTheSelectedSourcesValue) {
  scratch_.SetString(0, L"Same", L"c:\\lm.exe");
  scratch_.SetString(1, L"Same", L"c:\\cu.exe");
  ShowGrid();
  const int row = RowOf(L"Same", L"HKEY_CU\\Run");
  ASSERT_EQ(row, 2);

  std::vector<appstest::SeenBox> boxes;
  Delete(row, IDCANCEL, &boxes);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Caption, L"Удаление");
  EXPECT_EQ(boxes[0].Text, L"Вы действительно хотите удалить запись \"Same\" ?");
  EXPECT_EQ(boxes[0].Buttons, static_cast<UINT>(MB_OKCANCEL));
  EXPECT_TRUE(boxes[0].Question);
  EXPECT_TRUE(scratch_.Exists(1, L"Same")) << "cancelled";

  Delete(row, IDOK);
  EXPECT_FALSE(scratch_.Exists(1, L"Same"));
  EXPECT_TRUE(scratch_.Exists(0, L"Same"));
  EXPECT_EQ(Grid(), (std::vector<GridRow>{kHeader, {L"Same", L"c:\\lm.exe", L"HKEY_LM\\Run"}}));
}

TEST_F(StartupPage, ADeletionTheKeyRefusesIsReportedAndTheRowStays) {
  scratch_.SetString(0, L"Locked", L"c:\\locked.exe");
  ASSERT_TRUE(scratch_.DenyValueWrites(0, true));
  appstest::AtScopeExit unlock{[&] { scratch_.DenyValueWrites(0, false); }};
  ShowGrid();
  const int row = RowOf(L"Locked", L"HKEY_LM\\Run");
  ASSERT_GT(row, 0);
  form_->SG->SetRow(row);
  DialogAnswerer answerer({Reply{IDOK}, Reply{IDOK}});
  form_->sButton22->Click();
  ASSERT_EQ(answerer.Boxes().size(), 2u);
  EXPECT_EQ(answerer.Boxes()[1].Text, L"Ошибка: " + SysErrorMessage(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(scratch_.Exists(0, L"Locked"));
  EXPECT_EQ(RowOf(L"Locked", L"HKEY_LM\\Run"), row);
}

TEST_F(StartupPage, TheDefaultValueShowsBlankAndIsDeletable) {
  scratch_.SetString(1, L"", L"c:\\default.exe");
  scratch_.SetString(1, L" ", L"c:\\blank-name.exe");  // a real name of one blank
  ShowGrid();
  ASSERT_EQ(form_->SG->RowCount(), 3);
  std::vector<appstest::SeenBox> boxes;
  Delete(1, IDOK, &boxes);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Text, L"Вы действительно хотите удалить запись \"\" ?");
  EXPECT_FALSE(scratch_.Exists(1, L""));
  EXPECT_TRUE(scratch_.Exists(1, L" "));
  EXPECT_EQ(Grid(), (std::vector<GridRow>{kHeader, {L" ", L"c:\\blank-name.exe", L"HKEY_CU\\Run"}}));
}

TEST_F(StartupPage, SelectionFollowsTheSameEntryAcrossRebuilds) {
  scratch_.SetString(1, L"M1", L"c:\\m1.exe");
  scratch_.SetString(1, L"M2", L"c:\\m2.exe");
  ShowGrid();
  form_->SG->SetRow(2);  // M2
  // Painting does not read the list again.
  form_->Repaint();
  form_->SG->Repaint();
  EXPECT_EQ(form_->SG->Row(), 2);
  // A new entry ahead of it: activating the window reads the list again and
  // the selection moves with M2.
  scratch_.SetString(0, L"First", L"c:\\first.exe");
  form_->Perform(WM_ACTIVATE, WA_ACTIVE, 0);
  ASSERT_EQ(form_->SG->RowCount(), 4);
  EXPECT_EQ(form_->SG->Row(), 3);
  EXPECT_EQ(form_->SG->Cells(0, form_->SG->Row()), L"M2");
  // A deleted entry's row goes; the selection stays on the same row.
  Delete(RowOf(L"M1", L"HKEY_CU\\Run"), IDOK);
  EXPECT_EQ(form_->SG->RowCount(), 3);
  EXPECT_EQ(form_->SG->Row(), 2);
  EXPECT_EQ(form_->SG->Cells(0, 2), L"M2");
}

TEST_F(StartupPage, ShowingThePageReadsTheRegistryAgain) {
  ShowGrid();
  EXPECT_EQ(form_->SG->RowCount(), 1);
  form_->SelectPage(0);
  scratch_.SetString(1, L"Later", L"c:\\later.exe");
  form_->SelectPage(2);
  EXPECT_EQ(RowOf(L"Later", L"HKEY_CU\\Run"), 1);
}

class StartupPageAdd : public StartupPage {
 protected:
  void SetUp() override {
    StartupPage::SetUp();
    dialog_ = std::make_unique<appstest::FakeOpenDialog>(nullptr);
    dialog_->Name = L"C:\\Program Files\\Tool\\tool.exe";
    saved_ = form_->OpenDialog1;
    form_->OpenDialog1 = dialog_.get();
    ShowGrid();
  }
  void TearDown() override {
    form_->OpenDialog1 = saved_;
    StartupPage::TearDown();
  }
  std::vector<appstest::SeenBox> Add(Reply reply) {
    DialogAnswerer answerer({reply});
    form_->sButton23->Click();
    return answerer.Boxes();
  }
  std::unique_ptr<appstest::FakeOpenDialog> dialog_;
  TOpenDialog* saved_ = nullptr;
};

TEST_F(StartupPageAdd, WritesTheChosenProgramUnderTheTypedName) {
  auto boxes = Add(Reply{IDOK, true, L"Tool"});
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].ClassName, L"TInputQueryForm");
  EXPECT_EQ(boxes[0].Caption, L"Добавить");
  EXPECT_EQ(boxes[0].Text, L"Введите имя");
  EXPECT_EQ(boxes[0].Input, L"Приложение");
  EXPECT_EQ(scratch_.Text(1, L"Tool"), dialog_->Name);
  EXPECT_EQ(Grid(), (std::vector<GridRow>{kHeader, {L"Tool", dialog_->Name, L"HKEY_CU\\Run"}}));
  // The same name again replaces the program.
  dialog_->Name = L"C:\\other.exe";
  Add(Reply{IDOK, true, L"Tool"});
  EXPECT_EQ(scratch_.Text(1, L"Tool"), L"C:\\other.exe");
  EXPECT_EQ(form_->SG->RowCount(), 2);
}

TEST_F(StartupPageAdd, CancelledNameBoxUsesTheDefaultName) {
  Add(Reply{IDCANCEL, true, L"Ignored"});
  EXPECT_EQ(scratch_.Text(1, L"Приложение"), dialog_->Name);
  EXPECT_FALSE(scratch_.Exists(1, L"Ignored"));
}

TEST_F(StartupPageAdd, AnEmptyNameWritesNothing) {
  scratch_.SetString(1, L"", L"c:\\keep-default.exe");
  Add(Reply{IDOK, true, L""});
  EXPECT_EQ(scratch_.Text(1, L""), L"c:\\keep-default.exe");
}

TEST_F(StartupPageAdd, CancelledFileDialogAsksNoName) {
  dialog_->Choose = false;
  auto boxes = Add(Reply{IDOK, true, L"Tool"});
  EXPECT_EQ(dialog_->Calls, 1);
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(scratch_.Exists(1, L"Tool"));
}

// The real sources of the test run's own Wine prefix: a value only this test
// uses, deleted through the page.
TEST_F(StartupPage, DeletesFromTheRealUserRunKey) {
  form_->StartupSources = DefaultStartupSources();
  const std::wstring name = L"TarnholtPageTest-" + std::to_wstring(GetCurrentProcessId());
  const TStartupSource userRun = form_->StartupSources[1];
  appstest::AtScopeExit cleanup{[&] { DeleteStartupValue(userRun, name); }};
  WriteStartupValue(userRun, name, L"c:\\t.exe");
  ShowGrid();
  const int row = RowOf(name, L"HKEY_CU\\Run");
  ASSERT_GT(row, 0);
  Delete(row, IDOK);
  EXPECT_EQ(DeleteStartupValue(userRun, name), DWORD{ERROR_FILE_NOT_FOUND}) << "the page deleted the value";
  EXPECT_EQ(RowOf(name, L"HKEY_CU\\Run"), -1);
}

}  // namespace
