#include <gtest/gtest.h>

#include "app/duplicates/DupRecycle.h"
#include "app/duplicates/DupScanner.h"
#include "tests/app/duplicates/DupTestSupport.h"

namespace {

TEST(DupRecycle, PlainNamesOnly) {
  struct Case {
    const wchar_t* name;
    bool plain;
  } cases[] = {
      {L"photo.jpg", true}, {L"Фото 2024.jpg", true}, {L"日本語", true},  {L".hidden", true},
      {L"", false},         {L".", false},            {L"..", false},     {L"a\\b", false},
      {L"..\\x", false},    {L"a/b", false},          {L"C:x", false},    {L"*.txt", false},
      {L"w?.txt", false},   {L"a\"b", false},         {L"a<b", false},    {L"a|b", false},
      {L"tab\there", false}, {L"dot.", false},        {L"space ", false},
  };
  for (const Case& c : cases) EXPECT_EQ(DupIsPlainName(c.name), c.plain) << c.name;
}

TEST(DupRecycle, PlainFolderPathsOnly) {
  struct Case {
    const wchar_t* dir;
    bool plain;
  } cases[] = {
      {L"C:\\", true},          {L"C:\\Фото\\2024\\", true}, {L"\\\\srv\\share\\d\\", true},
      {L"C:\\a", false},        {L"C:\\..\\", false},        {L"C:\\a\\.\\", false},
      {L"C:\\*\\", false},      {L"relative\\", false},      {L"\\\\srv\\", false},
      {L"\\\\?\\C:\\a\\", false}, {L"", false},              {L"C:\\a\\\\", false},
  };
  for (const Case& c : cases) EXPECT_EQ(DupIsPlainFolderPath(c.dir), c.plain) << c.dir;
}

class DupRecycleFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    tmp_.WriteFile(L"keep\\a.txt", "12345");
    tmp_.WriteFile(L"keep\\w1.txt", "1");
    tmp_.WriteFile(L"keep\\w2.txt", "2");
    tmp_.MakeDir(L"keep\\folder");
    duptest::Walk({duptest::ListItem(tmp_ / L"keep")}, false, folders_, files_);
  }
  TDupFileRec& Find(const wchar_t* name) {
    for (auto& r : files_)
      if (r.Name == name) return r;
    throw std::runtime_error("no record");
  }
  testenv::ScopedTempDir tmp_;
  std::vector<TDupFolderRec> folders_;
  std::vector<TDupFileRec> files_;
};

TEST_F(DupRecycleFiles, OnlyAnUnchangedRecordedFileMaySendItself) {
  TDupFileRec ok = Find(L"a.txt");
  EXPECT_EQ(DupCheckRecycle(ok, folders_), TDupRecycleRefusal::None);

  struct Case {
    const char* what;
    std::wstring name;
    int64_t sizeDelta;
    int32_t timeDelta;
    TDupRecycleRefusal refusal;
  } cases[] = {
      {"pattern", L"w?.txt", 0, 0, TDupRecycleRefusal::UnsafeName},
      {"wildcard", L"*", 0, 0, TDupRecycleRefusal::UnsafeName},
      {"path in the name", L"..\\keep\\a.txt", 0, 0, TDupRecycleRefusal::UnsafeName},
      {"empty name: the folder itself", L"", 0, 0, TDupRecycleRefusal::UnsafeName},
      {"gone", L"missing.txt", 0, 0, TDupRecycleRefusal::Missing},
      {"a folder", L"folder", 0, 0, TDupRecycleRefusal::NotAFile},
      {"other size", L"a.txt", 1, 0, TDupRecycleRefusal::Changed},
      {"size differs above 32 bits", L"a.txt", 1LL << 32, 0, TDupRecycleRefusal::Changed},
      {"other time", L"a.txt", 0, 1, TDupRecycleRefusal::Changed},
  };
  for (const Case& c : cases) {
    TDupFileRec r = ok;
    r.Name = c.name;
    r.Size += c.sizeDelta;
    r.Time += c.timeDelta;
    EXPECT_EQ(DupCheckRecycle(r, folders_), c.refusal) << c.what;
  }
  // A folder record whose name climbs out of its parent is refused too.
  auto folders = folders_;
  TDupFolderRec up;
  up.Parent = 1;
  up.Name = L"..";
  folders.push_back(up);
  TDupFileRec r = ok;
  r.Folder = static_cast<int>(folders.size()) - 1;
  r.Name = L"keep";
  EXPECT_EQ(DupCheckRecycle(r, folders), TDupRecycleRefusal::UnsafeName);
}

TEST_F(DupRecycleFiles, ALoadedRecordMatchesOnTheLow32BitsOfTheSize) {
  TDupFileRec r = Find(L"a.txt");
  r.LsdImage.assign(132, '\0');  // as read from a .LsD file
  r.Size = 5 + (1LL << 32);
  EXPECT_EQ(DupCheckRecycle(r, folders_), TDupRecycleRefusal::None);
}

TEST_F(DupRecycleFiles, RefusedRecordsStayAndAreReportedWithoutAskingTheShell) {
  files_.clear();
  TDupFileRec pattern;
  pattern.Folder = 1;
  pattern.Name = L"w?.txt";
  TDupFileRec gone = pattern;
  gone.Name = L"gone.txt";
  files_ = {pattern, gone};
  const TDupRecycleResult r = DupDeleteToRecycle(nullptr, files_, folders_, 0, 2);
  EXPECT_EQ(r.Removed, 0);
  EXPECT_EQ(r.Refused.size(), 2u);
  EXPECT_EQ(files_.size(), 2u);
  EXPECT_NE(GetFileAttributesW((tmp_ / L"keep\\w1.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesW((tmp_ / L"keep\\w2.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  // An empty selection or an empty table does nothing.
  EXPECT_EQ(DupDeleteToRecycle(nullptr, files_, folders_, 5, 1).Refused.size(), 0u);
  std::vector<TDupFileRec> none;
  EXPECT_EQ(DupDeleteToRecycle(nullptr, none, folders_, 0, 1).Removed, 0);
}

TEST_F(DupRecycleFiles, SendsTheSafeFilesInOneListAndDropsTheRecordsOfThoseGone) {
  tmp_.WriteFile(L"keep\\b.txt", "b");
  tmp_.WriteFile(L"keep\\c.txt", "c");
  duptest::Walk({duptest::ListItem(tmp_ / L"keep")}, false, folders_, files_);
  TDupFileRec unsafe = Find(L"a.txt");
  unsafe.Name = L"*.txt";
  files_.insert(files_.begin() + 1, unsafe);
  TDupFileRec before;
  before.Name = L"untouched";
  files_.insert(files_.begin(), before);
  // Rows 1..4 selected: a file, the pattern, then two more records.
  std::vector<std::wstring> names;
  for (int k = 1; k <= 4; ++k) names.push_back(files_[k].Name);
  std::wstring sentList;
  auto fakeShell = [&](HWND, const std::wstring& list) {
    sentList = list;
    // The shell deletes the first listed file; the user refuses the rest.
    DeleteFileW(list.c_str());
  };
  const auto total = files_.size();
  const TDupRecycleResult r = DupDeleteToRecycle(nullptr, files_, folders_, 1, 4, fakeShell);
  const std::wstring dir = tmp_ / L"keep\\";
  std::wstring expected;
  for (const std::wstring& n : names)
    if (n != L"*.txt") expected += dir + n + L'\0';
  expected += L'\0';
  EXPECT_EQ(sentList, expected);
  EXPECT_EQ(r.Removed, 1);
  ASSERT_EQ(r.Refused.size(), 1u);
  EXPECT_EQ(r.Refused[0], dir + L"*.txt");
  ASSERT_EQ(files_.size(), total - 1);
  EXPECT_EQ(files_[0].Name, L"untouched");
  EXPECT_EQ(files_[1].Name, L"*.txt");  // the refused record stays in place
  EXPECT_EQ(files_[2].Name, names[2]);
  EXPECT_EQ(files_[3].Name, names[3]);
}

}  // namespace
