// The cleanup page in the main window: analysis of the URL cache, the
// temporary folder and the prefetch folder, the ratings, and the cleaning.
// Each test points %TEMP% of this process at a folder of its own, seeds the
// Windows directory's Prefetch folder (created for the test) and the URL
// cache of the test prefix, and puts all of it back afterwards.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/cleanup/CleanupFiles.h"
#include "app/cleanup/FileScan.h"
#include "tests/app/common/CleanupTestSupport.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/common/TestEnv.h"

namespace {

using namespace cleanuptest;

const std::wstring kNone = L"Очистка не требуется";
const std::wstring kRecommended = L"Рекомендуется выполнить очистку";
const std::wstring kNeeded = L"Очистка необходима";

std::set<std::wstring> AsSet(const std::vector<std::wstring>& v) { return {v.begin(), v.end()}; }

class CleanupPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form_ = testenv::EnsureMainForm();
    lock_ = std::make_unique<FixtureLock>();
    root_ = std::make_unique<testenv::ScopedTempDir>();
    temp_ = root_->MakeDir(L"temp");
    root_->WriteFile(L"outside\\keep.txt", "keep");
    root_->WriteFile(L"sibling.txt", "keep");
    root_->MakeDir(L"empty");
    tempVar_ = std::make_unique<ScopedTempVariable>(temp_);
    prefetch_ = std::make_unique<ScopedPrefetch>();
    ClearUrlCache();
    form_->sCheckBox1->SetChecked(true);
    form_->sCheckBox3->SetChecked(true);
  }

  void TearDown() override {
    ClearUrlCache();
    for (auto& [dir, name] : links_) RemoveHostSymlink(dir, name);
    prefetch_.reset();
    tempVar_.reset();
    root_.reset();
    lock_.reset();
  }

  // "Анализ", then the wait for its second pass.
  void Analyse() {
    form_->sButton1->Click();
    ASSERT_TRUE(PumpUntil([this] { return !form_->AnalysisRunning(); }, 60000));
  }
  void Clean() { form_->sButton2->Click(); }

  std::wstring T(const std::wstring& rel) const { return temp_ + L"\\" + rel; }
  std::wstring P(const std::wstring& name) const { return prefetch_->Path() + L"\\" + name; }
  std::wstring SeedTemp(const std::wstring& rel) {
    return root_->WriteFile(L"temp\\" + rel, "data");
  }
  bool Link(const std::wstring& dirRel, const std::wstring& name, const std::wstring& target) {
    const std::wstring dir = dirRel.empty() ? temp_ : T(dirRel);
    links_.emplace_back(dir, name);
    return MakeHostSymlink(dir, name, target);
  }
  std::vector<std::wstring> Memo() const { return form_->sMemo1->Lines()->ToVector(); }
  std::vector<std::wstring> Collected() const {
    std::vector<std::wstring> names;
    for (const std::wstring& s : form_->TempFileList)
      if (!s.empty()) names.push_back(s);
    return names;
  }
  int TempEntries() const {
    int n = 0;
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((temp_ + L"\\*").c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
      if (wcscmp(data.cFileName, L".") && wcscmp(data.cFileName, L"..")) ++n;
    } while (FindNextFileW(h, &data));
    FindClose(h);
    return n;
  }

  TMainForm* form_ = nullptr;
  std::unique_ptr<FixtureLock> lock_;
  std::unique_ptr<testenv::ScopedTempDir> root_;
  std::wstring temp_;
  std::unique_ptr<ScopedTempVariable> tempVar_;
  std::unique_ptr<ScopedPrefetch> prefetch_;
  std::vector<std::pair<std::wstring, std::wstring>> links_;
};

TEST_F(CleanupPageTest, AnalysisListsExactlyTheSeededNamesAndCollectsTheTopLevelOnes) {
  SeedTemp(L"a.tmp");
  SeedTemp(L"sub\\b.tmp");
  SeedTemp(L"sub\\deep\\c.tmp");
  SeedTemp(L"отчёт_中文_ÿ.tmp");
  prefetch_->Write(L"APP-1234.pf");
  prefetch_->Write(L"TOOL-9.pf");
  ASSERT_TRUE(SeedUrlCache(L"list", 5));

  Analyse();

  const std::set<std::wstring> listed = {
      T(L"a.tmp"), T(L"sub"), T(L"sub\\b.tmp"), T(L"sub\\deep"), T(L"sub\\deep\\c.tmp"),
      T(L"отчёт_中文_ÿ.tmp"), P(L"APP-1234.pf"), P(L"TOOL-9.pf")};
  EXPECT_EQ(Memo().size(), listed.size());
  EXPECT_EQ(AsSet(Memo()), listed);
  EXPECT_EQ(form_->sLabel4->Caption(), L"8");
  EXPECT_EQ(form_->IECacheCount, 5);
  EXPECT_EQ(form_->IESize->Caption(), L"5");
  EXPECT_EQ(form_->FoundCount, 5);
  EXPECT_EQ(AsSet(Collected()), (std::set<std::wstring>{T(L"a.tmp"), T(L"sub"),
                                                      T(L"отчёт_中文_ÿ.tmp"), P(L"APP-1234.pf"),
                                                      P(L"TOOL-9.pf")}));
  EXPECT_EQ(form_->STProv->Caption(), kNone);  // 5 + 5
  EXPECT_EQ(form_->sProgressBar1->Position(), form_->sProgressBar1->Max());
  EXPECT_TRUE(form_->sButton1->Enabled());
  EXPECT_TRUE(form_->sButton2->Enabled());
}

TEST_F(CleanupPageTest, CacheRatingAtItsLimits) {
  form_->sCheckBox3->SetChecked(false);
  const struct {
    int entries;
    const std::wstring& text;
  } cases[] = {{69, kNone}, {70, kNone}, {71, kRecommended}, {200, kRecommended}, {201, kNeeded}};
  int seeded = 0;
  for (const auto& c : cases) {
    ASSERT_TRUE(SeedUrlCache(L"rating", c.entries - seeded, seeded));
    seeded = c.entries;
    Analyse();
    EXPECT_EQ(form_->IECacheCount, c.entries);
    EXPECT_EQ(form_->IESize->Caption(), std::to_wstring(c.entries));
    EXPECT_EQ(form_->STProv->Caption(), c.text) << c.entries << " entries";
  }
}

TEST_F(CleanupPageTest, CombinedRatingAtItsLimitsFromTheFinalCount) {
  form_->sCheckBox1->SetChecked(false);  // the cache is not counted
  EXPECT_FALSE(form_->CleanIE);
  ASSERT_TRUE(SeedUrlCache(L"ignored", 3));
  const struct {
    int files;
    const std::wstring& text;
  } cases[] = {{50, kNone}, {51, kRecommended}, {150, kRecommended}, {151, kNeeded}};
  int seeded = 0;
  for (const auto& c : cases) {
    for (; seeded < c.files; ++seeded) SeedTemp(L"f" + std::to_wstring(seeded) + L".tmp");
    Analyse();
    EXPECT_EQ(form_->IECacheCount, 0);
    EXPECT_EQ(form_->FoundCount, c.files);
    EXPECT_EQ(form_->STProv->Caption(), c.text) << c.files << " files";
  }
  form_->sCheckBox1->SetChecked(true);
  EXPECT_TRUE(form_->CleanIE);
}

TEST_F(CleanupPageTest, CleaningEmptiesTheCacheAndBothFoldersAndNothingElse) {
  SeedTemp(L"a.tmp");
  SeedTemp(L"sub\\b.tmp");
  SeedTemp(L"отчёт_中文_ÿ.tmp");
  const std::wstring pf = prefetch_->Write(L"APP-1234.pf");
  ASSERT_TRUE(SeedUrlCache(L"clean", 30));
  Analyse();
  ASSERT_EQ(UrlCacheEntries().size(), 30u);

  Clean();

  EXPECT_TRUE(UrlCacheEntries().empty());
  EXPECT_EQ(TempEntries(), 0);
  EXPECT_TRUE(Exists(temp_));
  EXPECT_FALSE(Exists(pf));
  EXPECT_TRUE(Exists(prefetch_->Path()));
  EXPECT_TRUE(Exists(*root_ / L"outside\\keep.txt"));
  EXPECT_TRUE(Exists(*root_ / L"sibling.txt"));
  EXPECT_FALSE(form_->sButton2->Enabled());
}

TEST_F(CleanupPageTest, AFileThatCannotGoIsReportedAndTheRestIsDeleted) {
  // Names before and after the failures in any listing order, a folder, a
  // read-only file and a file another program holds open without sharing
  // its deletion.
  for (const wchar_t* name : {L"0first.tmp", L"m.tmp", L"zlast.tmp", L"sub\\inner.tmp"}) SeedTemp(name);
  const std::wstring readOnly = SeedTemp(L"n_readonly.tmp");
  const std::wstring held = SeedTemp(L"l_held.tmp");
  Analyse();
  ASSERT_TRUE(SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
  ASSERT_FALSE(DeleteFileW(readOnly.c_str()));  // really read-only to the system
  HANDLE h = CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                         0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);

  Clean();
  CloseHandle(h);

  EXPECT_TRUE(Exists(held));
  EXPECT_EQ(TempEntries(), 1);  // every other name went, the read-only one too
  EXPECT_EQ(Memo(), (std::vector<std::wstring>{L"Не удалось удалить (1):", held}));
  EXPECT_EQ(form_->STProv->Caption(), L"Очистка выполнена не полностью");
  EXPECT_FALSE(form_->sButton2->Enabled());
}

TEST_F(CleanupPageTest, LinkLoopsNeitherHangTheAnalysisNorLetTheCleaningReachTheirTargets) {
  SeedTemp(L"a.tmp");
  SeedTemp(L"sub\\b.tmp");
  if (!Link(L"", L"loop", L".") || !Link(L"", L"ext", L"../outside") ||
      !Link(L"", L"hollow", L"../empty") || !Link(L"sub", L"up", L"../.."))
    GTEST_SKIP() << "cannot make host symbolic links here";

  Analyse();

  const std::set<std::wstring> listed = {T(L"a.tmp"), T(L"sub"), T(L"sub\\b.tmp"), T(L"sub\\up"),
                                         T(L"loop"), T(L"ext"), T(L"hollow")};
  EXPECT_EQ(AsSet(Memo()), listed);

  Clean();

  EXPECT_FALSE(Exists(T(L"a.tmp")));
  EXPECT_FALSE(Exists(T(L"sub\\b.tmp")));
  EXPECT_TRUE(Exists(*root_ / L"outside\\keep.txt"));
  EXPECT_TRUE(Exists(*root_ / L"empty"));
  EXPECT_TRUE(Exists(*root_ / L"sibling.txt"));
  EXPECT_TRUE(Exists(temp_));
}

TEST_F(CleanupPageTest, AnAnalysisAfterACleaningStartsFromAnEmptyList) {
  for (int i = 0; i < 5; ++i) SeedTemp(L"old" + std::to_wstring(i) + L".tmp");
  Analyse();
  EXPECT_EQ(Collected().size(), 5u);
  Clean();
  const std::wstring fresh1 = SeedTemp(L"new1.tmp"), fresh2 = SeedTemp(L"new2.tmp");

  Analyse();

  EXPECT_EQ(AsSet(Collected()), (std::set<std::wstring>{fresh1, fresh2}));
  EXPECT_EQ(form_->FoundCount, 2);
}

TEST_F(CleanupPageTest, WithSystemUntickedTheCleaningDeletesNoFile) {
  const std::wstring a = SeedTemp(L"a.tmp");
  const std::wstring pf = prefetch_->Write(L"APP-1.pf");
  ASSERT_TRUE(SeedUrlCache(L"keepfiles", 4));
  Analyse();
  form_->sCheckBox3->SetChecked(false);

  Clean();

  EXPECT_TRUE(Exists(a));
  EXPECT_TRUE(Exists(pf));
  EXPECT_TRUE(UrlCacheEntries().empty());  // "Internet Explorer" is still ticked
}

TEST_F(CleanupPageTest, WithBothBoxesUntickedAnAnalysisOnlyResets) {
  form_->sCheckBox1->SetChecked(false);
  form_->sCheckBox3->SetChecked(false);
  form_->sMemo1->Lines()->Add(L"earlier line");
  form_->STProv->SetCaption(kNeeded);

  Analyse();

  EXPECT_TRUE(Memo().empty());
  EXPECT_EQ(form_->IECacheCount, 0);
  EXPECT_TRUE(form_->sButton2->Enabled());
  EXPECT_EQ(form_->sProgressBar1->Position(), form_->sProgressBar1->Max());
  EXPECT_EQ(form_->STProv->Caption(), kNeeded);
  form_->sCheckBox1->SetChecked(true);
}

TEST_F(CleanupPageTest, NoSecondAnalysisOrCleaningWhileTheSecondPassRuns) {
  const std::wstring a = SeedTemp(L"a.tmp");
  SeedTemp(L"b.tmp");
  form_->Scan();  // returns with the second pass under way
  ASSERT_TRUE(form_->AnalysisRunning());
  EXPECT_FALSE(form_->sButton1->Enabled());
  EXPECT_FALSE(form_->sButton2->Enabled());
  const std::vector<std::wstring> memo = Memo();
  form_->Scan();
  EXPECT_EQ(Memo(), memo);
  form_->sButton2Click(nullptr);
  EXPECT_TRUE(Exists(a));

  ASSERT_TRUE(PumpUntil([this] { return !form_->AnalysisRunning(); }, 60000));
  EXPECT_TRUE(form_->sButton1->Enabled());
  EXPECT_TRUE(form_->sButton2->Enabled());
  EXPECT_EQ(form_->FS1, nullptr);
}

TEST_F(CleanupPageTest, NamesBeyondTheLastSlotAreCountedButNotDeleted) {
  const int files = TCleanupPage::kTempFileSlots + 4;
  for (int i = 0; i < files; ++i) SeedTemp(L"f" + std::to_wstring(i) + L".tmp");
  Analyse();
  EXPECT_EQ(Memo().size(), static_cast<size_t>(files));
  EXPECT_EQ(form_->FoundCount, files);
  EXPECT_EQ(Collected().size(), static_cast<size_t>(TCleanupPage::kTempFileSlots));
  Clean();
  EXPECT_EQ(TempEntries(), 4);
}

TEST_F(CleanupPageTest, ARefusedTemporaryFolderIsSkipped) {
  // Without the temporary folder only the prefetch mask ".pf" remains, so a
  // memo with that one name shows that nothing else was walked.
  prefetch_->Write(L"APP-1.pf");
  const std::wstring bare = prefetch_->Write(L".pf");
  const std::wstring windows = WindowsFolder();
  for (const std::wstring& bad : {windows, windows.substr(0, 3), std::wstring(L"relative\\temp")}) {
    ScopedTempVariable redirected(bad);
    Analyse();
    EXPECT_EQ(Memo(), std::vector<std::wstring>{bare}) << bad;
  }
}

TEST_F(CleanupPageTest, WithoutATemporaryFolderOnlyAPrefetchFileNamedPfIsFound) {
  // The prefetch mask is the bare extension ".pf".
  ScopedTempVariable missing(*root_ / L"no such folder");
  prefetch_->Write(L"APP-1.pf");
  const std::wstring bare = prefetch_->Write(L".pf");
  Analyse();
  EXPECT_EQ(Memo(), std::vector<std::wstring>{bare});
}

TEST(CleanupPageLayout, ControlsCarryTheirTextsAndFitOnThePage) {
  TMainForm* form = testenv::EnsureMainForm();
  const struct {
    TControl* control;
    const wchar_t* caption;
    const wchar_t* hint;
  } cases[] = {
      {form->sCheckBox1, L"Internet Explorer", L"Сканирует и удаляет все временные файлы любой версии IE"},
      {form->sCheckBox3, L"Система", L"Сканирует и удаляет все временные файлы в системе"},
      {form->sGroupBox12, L"Информация", L"Выводить общую информацию о сканируемых обьетах"},
      {form->sLabel1, L"Статус:", L""},
      {form->IEFiles, L"Internet Explorer:", L""},
      {form->sLabel5, L"Система:", L""},
      {form->DetailsGroup, L"Подробно", L""},
      {form->sMemo1, nullptr, L"Показывает подробное местоположение временных файлов"},
      {form->sButton1, L"Анализ", L""},
      {form->sButton2, L"Очистить", L""},
      {form->sLabelFX1, L"Прогресс", L""},
      {form->sProgressBar1, nullptr, L""},
  };
  for (const auto& c : cases) {
    ASSERT_NE(c.control, nullptr);
    if (c.caption) {
      EXPECT_EQ(c.control->Caption(), c.caption);
    }
    EXPECT_EQ(c.control->Hint(), c.hint) << c.control->Name();
    // Inside its parent's client area.
    const RECT r = c.control->BoundsRect();
    const TWinControl* parent = c.control->Parent();
    ASSERT_NE(parent, nullptr);
    EXPECT_GE(r.left, 0) << c.control->Name();
    EXPECT_GE(r.top, 0) << c.control->Name();
    EXPECT_LE(r.right, parent->ClientWidth()) << c.control->Name();
    EXPECT_LE(r.bottom, parent->ClientHeight()) << c.control->Name();
  }
  EXPECT_EQ(form->sCheckBox1->Parent(), form->Pages[0]);
  EXPECT_EQ(form->sProgressBar1->Max(), 3);
  EXPECT_TRUE(form->sMemo1->ReadOnly());
  EXPECT_EQ(form->sMemo1->ScrollBars(), ssBoth);
}

TEST(CleanupFolderCheck, RefusesPathsTheCleaningMustNotEmpty) {
  const std::wstring windows = WindowsFolder();
  ASSERT_FALSE(windows.empty());
  const std::wstring longDir = L"C:\\" + std::wstring(300, L'x') + L"\\temp";
  const struct {
    std::wstring path, expected;
  } cases[] = {
      {L"", L""},
      {L"temp", L""},
      {L"C:temp", L""},
      {L"\\temp", L""},
      {L"%TEMP%", L""},
      {L"C:\\", L""},
      {L"C:", L""},
      {L"C:\\users\\..", L""},
      {L"\\\\server\\share", L""},
      {L"\\\\server\\share\\", L""},
      {windows, L""},
      {windows.substr(0, windows.size() - 1), L""},
      {windows + L"system32\\..", L""},
      {L"C:\\users\\me\\Temp", L"C:\\users\\me\\Temp\\"},
      {L"C:\\users\\me\\Temp\\", L"C:\\users\\me\\Temp\\"},
      {L"C:\\users\\me\\Temp\\.\\x\\..", L"C:\\users\\me\\Temp\\"},
      {L"\\\\server\\share\\temp", L"\\\\server\\share\\temp\\"},
      {windows + L"Temp", windows + L"Temp\\"},
      {longDir, longDir + L"\\"},  // read with its full length
  };
  for (const auto& c : cases) EXPECT_EQ(CheckCleanupFolder(c.path), c.expected) << c.path;
}

TEST(CleanupBuffer, ListsEachNameOnceUpToTheFirstEmptySlot) {
  const std::wstring names[] = {L"C:\\t\\a", L"C:\\t\\b", L"c:\\T\\A", L"", L"C:\\t\\late"};
  EXPECT_EQ(CreateBuffer(names, 5), std::wstring(L"C:\\t\\a\0C:\\t\\b\0\0", 15));
  EXPECT_EQ(CreateBuffer(names + 3, 2), std::wstring(L"\0\0", 2));
  EXPECT_EQ(CreateBuffer(names, 0), std::wstring(L"\0\0", 2));
}

TEST(CleanupRatingText, ThreeTextsByTwoLimits) {
  const struct {
    int count;
    const std::wstring& text;
  } cases[] = {{0, kNone}, {50, kNone}, {51, kRecommended}, {150, kRecommended}, {151, kNeeded}};
  for (const auto& c : cases) EXPECT_EQ(CleanupRating(c.count, 50, 150), c.text) << c.count;
}

}  // namespace
