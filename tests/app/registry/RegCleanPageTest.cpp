// The registry cleaner's page in the running main window: its controls, a
// scan started with its button, ticking, and the fix command with and
// without the .reg backup.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <fstream>

#include "app/registry/CleanThread.h"
#include "app/mainwindow/MainForm.h"
#include "framework/ExtCtrls.h"
#include "framework/ImageList.h"
#include "framework/ListView.h"
#include "framework/StdCtrls.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/app/registry/RegCleanPageTestSupport.h"
#include "tests/app/registry/RegTestSupport.h"
#include "tests/common/TestEnv.h"

namespace {

using regpage::AnsweredBox;
using regpage::BoxAnswerer;
using regpage::ScopedFakeSaveDialog;

TRegFinding FindingOf(TListItem* item) {
  TStrings* sub = item->SubItems();
  auto text = [sub](int i) { return i < sub->Count() ? sub->Strings(i) : std::wstring(); };
  return {item->Caption(), text(0), text(1), text(2), text(3)};
}

std::wstring ReadUtf16File(const std::wstring& path, bool& hasBom) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  hasBom = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xFE;
  if (!hasBom) return {};
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / 2);
}

// The escaped form of a text in a value line.
std::wstring Escaped(const std::wstring& text) {
  std::wstring out;
  for (wchar_t c : text) {
    if (c == L'\\' || c == L'"') out += L'\\';
    out += c;
  }
  return out;
}

class RegCleanPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = testenv::EnsureMainForm();
    ResetPage();
    // The pass starts at "\SOFTWARE": that is how the rows spell the key.
    root = L"\\SOFTWARE" + (L"\\" + scratch.SubKey()).substr(9);
    gone = dir / L"Gone";  // never created
    existing = dir.WriteFile(L"Here\\tool.exe", "MZ");
  }
  void TearDown() override { ResetPage(); }

  // The page as start-up leaves it, whichever test ran before: no scan, an
  // empty list, "Выбрать все" offered, nothing to fix. The page is brought
  // into view once first, as the user reaches it, so its windows exist
  // (hidden pages make them on demand).
  void ResetPage() {
    regpage::WaitForScan(form);
    form->SelectPage(1);
    Application->ProcessMessages();
    form->SelectPage(0);
    form->ListView1->Items()->Clear();
    form->Button3->SetEnabled(false);
    form->sButton10->SetVisible(true);
    form->sButton21->SetVisible(false);
  }

  HKEY Sub(const std::wstring& path) { return regtest::CreateKey(scratch.Handle(), path); }
  std::wstring ApiKey(const std::wstring& sub) const { return scratch.SubKey() + L"\\" + sub; }
  TRegFinding Row(const std::wstring& sub, const std::wstring& name, const std::wstring& text) {
    return {kRegInvalidFileLink, text, L"HKCU", root + L"\\" + sub, name};
  }

  void Scan() {
    form->Button1Click(nullptr);
    regpage::WaitForScan(form);
  }
  // Rows of the list below the scratch key.
  std::vector<TRegFinding> OurRows() const {
    std::vector<TRegFinding> rows;
    for (int i = 0; i < form->ListView1->Items()->Count(); ++i) {
      TRegFinding row = FindingOf(form->ListView1->Items()->Item(i));
      if (row.KeyPath.rfind(root + L"\\", 0) == 0) rows.push_back(row);
    }
    return rows;
  }
  TListItem* ItemOf(const TRegFinding& row) const {
    for (int i = 0; i < form->ListView1->Items()->Count(); ++i) {
      TListItem* item = form->ListView1->Items()->Item(i);
      const TRegFinding f = FindingOf(item);
      if (f.KeyPath == row.KeyPath && f.ValueName == row.ValueName && f.Param == row.Param)
        return item;
    }
    return nullptr;
  }
  TListItem* Tick(const TRegFinding& row) {
    TListItem* item = ItemOf(row);
    if (item) item->SetChecked(true);
    return item;
  }

  TMainForm* form = nullptr;
  testenv::ScopedRegKey scratch;
  testenv::ScopedTempDir dir;
  std::wstring root, gone, existing;
};

// The page as start-up leaves it (the fixture puts it back so).
TEST_F(RegCleanPageTest, StartsIdleWithEveryControlAndText) {
  EXPECT_EQ(form->Button1->Caption(), L"Начать");
  EXPECT_EQ(form->Button1->Font()->Height(), -19);
  EXPECT_TRUE(form->Button1->Enabled());
  EXPECT_EQ(form->Button2->Caption(), L"Отмена");
  EXPECT_FALSE(form->Button2->Enabled());
  EXPECT_EQ(form->Button3->Caption(), L"Исправить");
  EXPECT_FALSE(form->Button3->Enabled());
  EXPECT_EQ(form->sButton10->Caption(), L"Выбрать все");
  EXPECT_TRUE(form->sButton10->Visible());
  EXPECT_EQ(form->sButton21->Caption(), L"Отменить");
  EXPECT_FALSE(form->sButton21->Visible());
  EXPECT_EQ(form->RegStartGroupBox->Caption(), L"Начать сканирование");
  EXPECT_EQ(form->RegActionsGroupBox->Caption(), L"Действия");
  EXPECT_EQ(form->RCl->Caption(), L"Очистка реестра");
  EXPECT_FALSE(form->RCl->TabVisible());
  EXPECT_EQ(form->Panel1->BevelOuter(), bvLowered);
  // The list sits on the inner page, which sits on the main window's page 1.
  EXPECT_EQ(form->ListView1->Parent(), form->RCl);
  EXPECT_EQ(form->RCl->PageControl(), form->PageControl1);
  EXPECT_EQ(form->PageControl1->Parent(), form->Pages[1]);

  TCustomListView* list = form->ListView1;
  EXPECT_STREQ(list->ClassName(), L"TsListView");
  EXPECT_EQ(list->ViewStyle(), vsReport);
  EXPECT_TRUE(list->Checkboxes());
  EXPECT_TRUE(list->ReadOnly());
  EXPECT_FALSE(list->ColumnClick());
  ASSERT_EQ(list->Columns()->Count(), 4);
  const wchar_t* columns[] = {L"Тип ошибки", L"Параметр", L"Раздел", L"Ключ реестра"};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(list->Columns()->Items(i)->Caption(), columns[i]);
  EXPECT_EQ(list->Items()->Count(), 0);

  EXPECT_EQ(form->SaveDialog1->DefaultExt, L".reg");
  EXPECT_EQ(form->SaveDialog1->Filter, L"Registry files|*.reg");
  EXPECT_EQ(form->CleanThread, nullptr);
}

TEST_F(RegCleanPageTest, ListViewShowsTheShellsSystemImageListsWithoutOwningThem) {
  TCustomListView* list = form->ListView1;
  // The lists are attached when the page first comes into view.
  form->SelectPage(1);
  Application->ProcessMessages();
  form->SelectPage(0);
  ASSERT_NE(list->LargeImages(), nullptr);
  ASSERT_NE(list->SmallImages(), nullptr);
  EXPECT_NE(list->LargeImages(), list->SmallImages());
  EXPECT_EQ(list->LargeImages()->Owner(), form);
  EXPECT_TRUE(list->LargeImages()->ShareImages());
  EXPECT_TRUE(list->SmallImages()->ShareImages());

  SHFILEINFOW info{};
  const auto large = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX));
  const auto small = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfoW(L"", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  if (!large || !small) GTEST_SKIP() << "the shell has no system image list here";
  EXPECT_EQ(list->LargeImages()->Handle(), large);
  EXPECT_EQ(list->SmallImages()->Handle(), small);
  ASSERT_TRUE(list->HandleAllocated());
  EXPECT_EQ(ListView_GetImageList(list->WindowHandle(), LVSIL_SMALL), small);
  EXPECT_EQ(ListView_GetImageList(list->WindowHandle(), LVSIL_NORMAL), large);
}

TEST_F(RegCleanPageTest, ScanListsEachSeededFindingOnceAndEndsIdle) {
  HKEY a = Sub(L"A");
  regtest::SetSz(a, L"args", gone + L"\\app.exe -start");
  regtest::SetSz(a, L"exists", existing);
  regtest::SetSz(a, L"no extension", gone + L"\\readme");
  regtest::SetRaw(a, L"expand", REG_EXPAND_SZ, regtest::Bytes(gone + L"\\app.exe", true));
  RegCloseKey(a);
  HKEY c = Sub(L"B\\C");
  regtest::SetSz(c, L"", gone + L"\\default.exe");
  RegCloseKey(c);
  const std::wstring base = L".tarnholtpage" + regtest::UniqueSuffix();
  regtest::ScopedClassesKey emptyExt(base + L"a");
  regtest::ScopedClassesKey usedExt(base + L"b");
  regtest::SetSz(usedExt.Handle(), L"", L"txtfile");

  form->Button1Click(nullptr);
  TCleanThread* first = form->CleanThread;
  ASSERT_NE(first, nullptr);
  EXPECT_FALSE(form->Button1->Enabled());
  EXPECT_TRUE(form->Button2->Enabled());
  EXPECT_FALSE(form->Button3->Enabled());
  // A second start while the scan runs changes nothing.
  form->Button1Click(nullptr);
  EXPECT_EQ(form->CleanThread, first);
  regpage::WaitForScan(form);

  std::vector<TRegFinding> rows = OurRows();
  std::vector<TRegFinding> expected = {Row(L"A", L"args", gone + L"\\app.exe -start"),
                                       Row(L"B\\C", L"", gone + L"\\default.exe")};
  EXPECT_EQ(rows, expected);  // depth first: A before B\C, each once
  std::vector<TRegFinding> extensions;
  for (int i = 0; i < form->ListView1->Items()->Count(); ++i) {
    TRegFinding row = FindingOf(form->ListView1->Items()->Item(i));
    if (row.Param.find(base) != std::wstring::npos) extensions.push_back(row);
  }
  EXPECT_EQ(extensions, (std::vector<TRegFinding>{{kRegInvalidExtension, emptyExt.Name(), L"HKCR",
                                                   L"\\" + emptyExt.Name(), L""}}));

  // The window shows the same rows, none ticked.
  const HWND wnd = form->ListView1->WindowHandle();
  ASSERT_EQ(ListView_GetItemCount(wnd), form->ListView1->Items()->Count());
  for (int i = 0; i < ListView_GetItemCount(wnd); ++i) EXPECT_FALSE(ListView_GetCheckState(wnd, i));
  TListItem* item = ItemOf(expected[0]);
  ASSERT_NE(item, nullptr);
  wchar_t text[MAX_PATH] = {};
  ListView_GetItemText(wnd, item->Index(), 1, text, MAX_PATH);
  EXPECT_EQ(std::wstring(text), gone + L"\\app.exe -start");
  ListView_GetItemText(wnd, item->Index(), 0, text, MAX_PATH);
  EXPECT_EQ(std::wstring(text), kRegInvalidFileLink);

  EXPECT_EQ(form->Panel1->Caption(), kRegStatusDone);
  EXPECT_EQ(form->CleanThread, nullptr);
  EXPECT_TRUE(form->Button1->Enabled());
  EXPECT_FALSE(form->Button2->Enabled());
  EXPECT_TRUE(form->Button3->Enabled());

  // A new scan empties the list first: the rows still come once.
  Scan();
  EXPECT_EQ(OurRows(), expected);
}

TEST_F(RegCleanPageTest, TicksAndUnticksEveryRow) {
  HKEY a = Sub(L"A");
  regtest::SetSz(a, L"v", gone + L"\\a.exe");
  regtest::SetSz(a, L"w", gone + L"\\b.exe");
  RegCloseKey(a);
  Scan();
  TListItems* items = form->ListView1->Items();
  ASSERT_GE(items->Count(), 2);
  const HWND wnd = form->ListView1->WindowHandle();

  form->sButton10Click(nullptr);
  for (int i = 0; i < items->Count(); ++i) {
    EXPECT_TRUE(items->Item(i)->Checked());
    EXPECT_TRUE(ListView_GetCheckState(wnd, i));
  }
  EXPECT_FALSE(form->sButton10->Visible());
  EXPECT_TRUE(form->sButton21->Visible());

  form->sButton21Click(nullptr);
  for (int i = 0; i < items->Count(); ++i) {
    EXPECT_FALSE(items->Item(i)->Checked());
    EXPECT_FALSE(ListView_GetCheckState(wnd, i));
  }
  EXPECT_TRUE(form->sButton10->Visible());
  EXPECT_FALSE(form->sButton21->Visible());

  // With an empty list both do nothing.
  items->Clear();
  form->sButton10Click(nullptr);
  EXPECT_TRUE(form->sButton10->Visible());
  EXPECT_FALSE(form->sButton21->Visible());
}

TEST_F(RegCleanPageTest, FixWithoutBackupRemovesOnlyTickedEntriesThatAreUnchanged) {
  HKEY a = Sub(L"A");
  regtest::SetSz(a, L"one", gone + L"\\one.exe");
  regtest::SetSz(a, L"kept", gone + L"\\kept.exe");
  regtest::SetSz(a, L"changed", gone + L"\\changed.exe");
  RegCloseKey(a);
  HKEY b = Sub(L"B");
  regtest::SetSz(b, L"", gone + L"\\default.exe");
  RegCloseKey(b);
  regtest::ScopedClassesKey ext(L".tarnholtfix" + regtest::UniqueSuffix());
  Scan();

  const TRegFinding one = Row(L"A", L"one", gone + L"\\one.exe");
  const TRegFinding kept = Row(L"A", L"kept", gone + L"\\kept.exe");
  const TRegFinding changed = Row(L"A", L"changed", gone + L"\\changed.exe");
  const TRegFinding def = Row(L"B", L"", gone + L"\\default.exe");
  const TRegFinding extRow{kRegInvalidExtension, ext.Name(), L"HKCR", L"\\" + ext.Name(), L""};
  for (const TRegFinding* row : {&one, &changed, &def, &extRow})
    ASSERT_NE(Tick(*row), nullptr) << row->Param;
  // The value changes between the scan and the fix: it is left alone.
  a = Sub(L"A");
  regtest::SetSz(a, L"changed", gone + L"\\other.exe");
  RegCloseKey(a);

  ScopedFakeSaveDialog dialog(form);
  BoxAnswerer boxes({IDCANCEL, IDCANCEL});
  form->Button3Click(nullptr);

  ASSERT_EQ(boxes.Boxes().size(), 1u);
  const AnsweredBox question = boxes.Boxes()[0];
  EXPECT_EQ(question.Text, L"Сохранить резервную копию исправляемых значений?");
  EXPECT_EQ(question.Caption, L"Information");
  EXPECT_TRUE(question.HasOk);
  EXPECT_TRUE(question.HasCancel);
  EXPECT_EQ(question.Icon, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_EQ(dialog->Calls, 0);  // no backup: no file is asked for

  EXPECT_FALSE(regtest::ValueExists(HKEY_CURRENT_USER, ApiKey(L"A"), L"one"));
  EXPECT_FALSE(regtest::ValueExists(HKEY_CURRENT_USER, ApiKey(L"B"), L""));
  EXPECT_FALSE(regtest::KeyExists(HKEY_CLASSES_ROOT, ext.Name()));
  EXPECT_TRUE(regtest::ValueExists(HKEY_CURRENT_USER, ApiKey(L"A"), L"kept"));
  EXPECT_TRUE(regtest::ValueExists(HKEY_CURRENT_USER, ApiKey(L"A"), L"changed"));

  EXPECT_EQ(ItemOf(one)->Caption(), L"Исправлено");
  EXPECT_EQ(ItemOf(def)->Caption(), L"Исправлено");
  EXPECT_EQ(ItemOf(extRow)->Caption(), L"Исправлено");
  EXPECT_EQ(ItemOf(changed)->Caption(), kRegInvalidFileLink);
  EXPECT_EQ(ItemOf(kept)->Caption(), kRegInvalidFileLink);
  // Other rows of the list are untouched.
  for (int i = 0; i < form->ListView1->Items()->Count(); ++i) {
    TListItem* item = form->ListView1->Items()->Item(i);
    if (!item->Checked()) {
      EXPECT_NE(item->Caption(), L"Исправлено") << FindingOf(item).KeyPath;
    }
  }
  // The rows stay; fixing them again finds them gone and says nothing new.
  EXPECT_TRUE(form->Button3->Enabled());
  EXPECT_TRUE(form->Button1->Enabled());
  form->Button3Click(nullptr);
  EXPECT_EQ(boxes.Boxes().size(), 2u);
  EXPECT_EQ(ItemOf(one)->Caption(), L"Исправлено");
  EXPECT_EQ(ItemOf(changed)->Caption(), kRegInvalidFileLink);
}

TEST_F(RegCleanPageTest, FixWithBackupWritesTheFileFirstAndImportRestoresEveryValue) {
  HKEY a = Sub(L"A");
  // Quotes and backslashes in the text are escaped in the file.
  const std::wstring oneText = gone + L"\\a \"quoted\" dir\\one.exe -x";
  regtest::SetSz(a, L"one", oneText);
  regtest::SetSz(a, L"two", gone + L"\\two.exe");
  regtest::SetSz(a, L"kept", gone + L"\\kept.exe");
  regtest::SetSz(a, L"", gone + L"\\default.exe");
  RegCloseKey(a);
  Scan();
  const TRegFinding one = Row(L"A", L"one", oneText);
  const TRegFinding two = Row(L"A", L"two", gone + L"\\two.exe");
  const TRegFinding def = Row(L"A", L"", gone + L"\\default.exe");
  std::vector<std::vector<BYTE>> before(3);
  const wchar_t* names[] = {L"one", L"two", L""};
  for (int i = 0; i < 3; ++i) {
    DWORD type = 0;
    ASSERT_TRUE(regtest::ReadRaw(HKEY_CURRENT_USER, ApiKey(L"A"), names[i], type, before[i]));
  }
  for (const TRegFinding* row : {&one, &two, &def}) ASSERT_NE(Tick(*row), nullptr);

  const std::wstring file = dir / L"backup.reg";
  ScopedFakeSaveDialog dialog(form);
  dialog->Name = file;
  // What the page shows while the fix runs: checked when it first lets the
  // window process messages, before the first row.
  struct {
    bool seen = false, start = true, tick = true, untick = true, fix = true, cancel = true;
    bool backupThere = false;
    bool oneThere = false;
  } during;
  dialog->OnExecute = [&] {
    regpage::RunOnNextDispatch([&] {
      during.seen = true;
      during.start = form->Button1->Enabled();
      during.tick = form->sButton10->Enabled();
      during.untick = form->sButton21->Enabled();
      during.fix = form->Button3->Enabled();
      during.cancel = form->Button2->Enabled();
      during.backupThere = GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES;
      during.oneThere = regtest::ValueExists(HKEY_CURRENT_USER, ApiKey(L"A"), L"one");
      // A click on a disabled command must not reach the list meanwhile.
      form->Button1Click(nullptr);
      form->Button3Click(nullptr);
    });
  };
  BoxAnswerer boxes({IDOK});
  form->Button3Click(nullptr);

  ASSERT_EQ(boxes.Boxes().size(), 1u);  // the question only
  EXPECT_EQ(dialog->Calls, 1);
  ASSERT_TRUE(during.seen);
  EXPECT_FALSE(during.start || during.tick || during.untick || during.fix || during.cancel);
  EXPECT_TRUE(during.backupThere);  // written before anything is removed
  EXPECT_TRUE(during.oneThere);
  EXPECT_EQ(form->CleanThread, nullptr);

  for (const wchar_t* name : names)
    EXPECT_FALSE(regtest::ValueExists(HKEY_CURRENT_USER, ApiKey(L"A"), name)) << name;
  EXPECT_TRUE(regtest::ValueExists(HKEY_CURRENT_USER, ApiKey(L"A"), L"kept"));
  for (const TRegFinding* row : {&one, &two, &def}) EXPECT_EQ(ItemOf(*row)->Caption(), L"Исправлено");
  EXPECT_TRUE(form->Button1->Enabled());
  EXPECT_TRUE(form->Button3->Enabled());
  EXPECT_TRUE(form->sButton10->Enabled());

  bool bom = false;
  const std::wstring text = ReadUtf16File(file, bom);
  EXPECT_TRUE(bom);
  const std::wstring keyLine = L"[HKEY_CURRENT_USER" + root + L"\\A]\r\n";
  EXPECT_EQ(text.rfind(L"Windows Registry Editor Version 5.00\r\n\r\n\r\n" + keyLine, 0), 0u) << text;
  EXPECT_NE(text.find(keyLine + L"\"one\"=\"" + Escaped(oneText) + L"\"\r\n"), std::wstring::npos);
  EXPECT_NE(text.find(keyLine + L"\"two\"=\"" + Escaped(gone + L"\\two.exe") + L"\"\r\n"),
            std::wstring::npos);
  EXPECT_NE(text.find(keyLine + L"@=\"" + Escaped(gone + L"\\default.exe") + L"\"\r\n"),
            std::wstring::npos);
  EXPECT_EQ(text.find(L"kept"), std::wstring::npos);  // not ticked, not written

  ASSERT_EQ(regtest::RunRegImport(file), 0u);
  for (int i = 0; i < 3; ++i) {
    DWORD type = 0;
    std::vector<BYTE> after;
    ASSERT_TRUE(regtest::ReadRaw(HKEY_CURRENT_USER, ApiKey(L"A"), names[i], type, after)) << names[i];
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(after, before[i]) << names[i];
  }
}

TEST_F(RegCleanPageTest, BackupWantedButNoFileChosenRemovesNothing) {
  HKEY a = Sub(L"A");
  regtest::SetSz(a, L"one", gone + L"\\one.exe");
  RegCloseKey(a);
  Scan();
  const TRegFinding one = Row(L"A", L"one", gone + L"\\one.exe");
  ASSERT_NE(Tick(one), nullptr);

  ScopedFakeSaveDialog dialog(form);
  dialog->Choose = false;
  BoxAnswerer boxes({IDOK});
  form->Button3Click(nullptr);

  EXPECT_EQ(dialog->Calls, 1);
  EXPECT_EQ(boxes.Boxes().size(), 1u);
  EXPECT_TRUE(regtest::ValueExists(HKEY_CURRENT_USER, ApiKey(L"A"), L"one"));
  EXPECT_EQ(ItemOf(one)->Caption(), kRegInvalidFileLink);
  EXPECT_TRUE(form->Button3->Enabled());
  EXPECT_TRUE(form->Button1->Enabled());
}

TEST_F(RegCleanPageTest, BackupThatCannotBeWrittenRemovesNothingAndTellsTheUser) {
  HKEY a = Sub(L"A");
  regtest::SetSz(a, L"one", gone + L"\\one.exe");
  RegCloseKey(a);
  Scan();
  const TRegFinding one = Row(L"A", L"one", gone + L"\\one.exe");
  ASSERT_NE(Tick(one), nullptr);

  const std::wstring file = dir / L"no such folder\\backup.reg";
  ScopedFakeSaveDialog dialog(form);
  dialog->Name = file;
  BoxAnswerer boxes({IDOK, IDOK});
  form->Button3Click(nullptr);

  ASSERT_EQ(boxes.Boxes().size(), 2u);
  EXPECT_EQ(boxes.Boxes()[1].Text, L"Не удалось сохранить резервную копию. Изменения не внесены.");
  EXPECT_EQ(boxes.Boxes()[1].Icon, static_cast<UINT>(MB_ICONERROR));
  EXPECT_TRUE(regtest::ValueExists(HKEY_CURRENT_USER, ApiKey(L"A"), L"one"));
  EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ItemOf(one)->Caption(), kRegInvalidFileLink);
  EXPECT_TRUE(form->Button3->Enabled());
}

TEST_F(RegCleanPageTest, NoFixWhileAScanRuns) {
  form->Button1Click(nullptr);
  ASSERT_NE(form->CleanThread, nullptr);
  BoxAnswerer boxes({IDCANCEL});
  form->Button3Click(nullptr);
  EXPECT_TRUE(boxes.Boxes().empty());
  regpage::WaitForScan(form);
}

TEST_F(RegCleanPageTest, CancelEndsTheScanWithTheFinalStatus) {
  form->Button1Click(nullptr);
  ASSERT_NE(form->CleanThread, nullptr);
  form->Button2Click(nullptr);
  regpage::WaitForScan(form);
  EXPECT_EQ(form->Panel1->Caption(), kRegStatusDone);
  EXPECT_TRUE(form->Button1->Enabled());
  EXPECT_FALSE(form->Button2->Enabled());
  EXPECT_EQ(form->Button3->Enabled(), form->ListView1->Items()->Count() > 0);
  // The cancel button of an idle page does nothing.
  form->Button2Click(nullptr);
}

// Closing the main window during a scan stops the worker and waits for it.
TEST_F(RegCleanPageTest, StoppingForCloseWaitsUntilTheWorkerIsGone) {
  form->Button1Click(nullptr);
  ASSERT_NE(form->CleanThread, nullptr);
  form->StopRegCleanScan();
  EXPECT_EQ(form->CleanThread, nullptr);
  EXPECT_EQ(form->Panel1->Caption(), kRegStatusDone);
  EXPECT_TRUE(form->Button1->Enabled());
  EXPECT_FALSE(form->Button2->Enabled());
  form->StopRegCleanScan();  // nothing runs: nothing happens
}

TEST_F(RegCleanPageTest, CloseQueryDuringAScanStopsAndWaitsForTheWorker) {
  form->Button1Click(nullptr);
  ASSERT_NE(form->CleanThread, nullptr);
  bool canClose = true;
  form->FormCloseQuery(form, canClose);
  EXPECT_TRUE(canClose);
  EXPECT_EQ(form->CleanThread, nullptr);
  EXPECT_EQ(form->Panel1->Caption(), kRegStatusDone);
  EXPECT_TRUE(form->Button1->Enabled());
}

}  // namespace
