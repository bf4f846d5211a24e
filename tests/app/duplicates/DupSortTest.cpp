#include <gtest/gtest.h>

#include "app/duplicates/DupSort.h"

namespace {

TDupFileRec Rec(const wchar_t* name, int folder, uint32_t group, int32_t time, int64_t size) {
  TDupFileRec r;
  r.Name = name;
  r.Folder = folder;
  r.Group = group;
  r.Time = time;
  r.Size = size;
  return r;
}

std::vector<TDupFolderRec> Folders() {
  std::vector<TDupFolderRec> f(4);
  f[1].Name = L"C:\\Б";
  f[2].Name = L"C:\\а";
  f[3].Name = L"C:\\В";
  return f;
}

// Records tagged by their starting position, so order (and stability) shows.
std::vector<TDupFileRec> Table() {
  return {Rec(L"b.txt", 1, 2, 300, 10),        // 0
          Rec(L"A.txt", 3, 1, 100, -5),        // 1: a stored size with the top bit set
          Rec(L"a.TXT", 2, 2, 300, 10),        // 2
          Rec(L"Ё.txt", 1, 0x80000000u, 200, 5LL << 30),  // 3: group compared unsigned
          Rec(L"c.txt", 2, 1, -7, 10)};        // 4
}

std::vector<std::wstring> Names(const std::vector<TDupFileRec>& files) {
  std::vector<std::wstring> n;
  for (const auto& r : files) n.push_back(r.Name);
  return n;
}

TEST(DupSort, EachKeyAscendingAndStable) {
  struct Case {
    const wchar_t* key;
    std::vector<std::wstring> order;
  } cases[] = {
      {L"Double", {L"A.txt", L"c.txt", L"b.txt", L"a.TXT", L"Ё.txt"}},
      {L"Name", {L"A.txt", L"a.TXT", L"b.txt", L"c.txt", L"Ё.txt"}},
      {L"Size", {L"A.txt", L"b.txt", L"a.TXT", L"c.txt", L"Ё.txt"}},
      {L"Time", {L"c.txt", L"A.txt", L"Ё.txt", L"b.txt", L"a.TXT"}},
      {L"Folder", {L"a.TXT", L"c.txt", L"b.txt", L"Ё.txt", L"A.txt"}},
      {L"Nothing", {L"b.txt", L"A.txt", L"a.TXT", L"Ё.txt", L"c.txt"}},
      {L"name", {L"b.txt", L"A.txt", L"a.TXT", L"Ё.txt", L"c.txt"}},
  };
  const auto folders = Folders();
  for (const Case& c : cases) {
    auto files = Table();
    DupSortFiles(files, folders, c.key);
    EXPECT_EQ(Names(files), c.order) << c.key;
  }
}

TEST(DupSort, SortingTwiceByOneKeyChangesNothingAndOtherFieldsTravelAlong) {
  const auto folders = Folders();
  auto files = Table();
  DupSortFiles(files, folders, L"Name");
  DupSortFiles(files, folders, L"Time");
  auto again = files;
  DupSortFiles(again, folders, L"Time");
  EXPECT_EQ(Names(again), Names(files));
  for (const auto& r : files)
    if (r.Name == L"Ё.txt") {
      EXPECT_EQ(r.Size, 5LL << 30);
    }
}

TEST(DupSort, SortFilesWorksOnTheSharedTable) {
  DupFolders = Folders();
  DupFiles = Table();
  SortFiles(L"Size");
  EXPECT_EQ(DupFiles.front().Size, -5);
  DupFiles.resize(1);
  SortFiles(L"Name");  // one record: left alone
  EXPECT_EQ(DupFiles.size(), 1u);
}

}  // namespace
