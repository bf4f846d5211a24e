#include <gtest/gtest.h>

#include "app/duplicates/DupTables.h"

namespace {

std::vector<TDupFolderRec> Folders(std::initializer_list<std::pair<int, const wchar_t*>> entries) {
  std::vector<TDupFolderRec> f(1);
  for (const auto& [parent, name] : entries) {
    TDupFolderRec r;
    r.Parent = parent;
    r.Name = name;
    f.push_back(r);
  }
  return f;
}

TEST(DupTables, GetFolderPath_BuildsFromTheEntryUpToItsTopEntry) {
  const auto folders = Folders({{0, L"C:\\Photos"}, {1, L"2024"}, {2, L"Лето"}, {0, L"D:"}});
  struct Case {
    int index;
    const wchar_t* path;
  } cases[] = {{0, L""},
               {1, L"C:\\Photos\\"},
               {2, L"C:\\Photos\\2024\\"},
               {3, L"C:\\Photos\\2024\\Лето\\"},
               {4, L"D:\\"},
               {5, L""},
               {-1, L""}};
  for (const Case& c : cases) EXPECT_EQ(GetFolderPath(folders, c.index), c.path) << c.index;
  EXPECT_EQ(DupFolderPaths(folders)[3], L"C:\\Photos\\2024\\Лето\\");
}

TEST(DupTables, GetFolderPath_StopsOnALinkThatDoesNotGoDown) {
  auto folders = Folders({{0, L"C:\\A"}, {2, L"loop"}});
  EXPECT_EQ(GetFolderPath(folders, 2), L"loop\\");
}

TEST(DupTables, DeleteFileEntry_RemovesOneEntryAndIgnoresIndexesOutside) {
  std::vector<TDupFileRec> files(3);
  for (int i = 0; i < 3; ++i) files[i].Name = std::wstring(1, static_cast<wchar_t>(L'a' + i));
  DeleteFileEntry(files, 3);
  DeleteFileEntry(files, -1);
  ASSERT_EQ(files.size(), 3u);
  DeleteFileEntry(files, 1);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].Name, L"a");
  EXPECT_EQ(files[1].Name, L"c");
}

TEST(DupTables, SetTopFolders_WalksEachFolderOnce) {
  struct Case {
    std::vector<std::wstring> items;
    bool subfolders;
    std::vector<std::wstring> tops;
  } cases[] = {
      {{L"C:\\A\\", L"C:\\A\\B\\", L"C:\\AB\\"}, true, {L"C:\\A", L"C:\\AB"}},
      {{L"C:\\A\\", L"C:\\A\\B\\", L"C:\\AB\\"}, false, {L"C:\\A", L"C:\\A\\B", L"C:\\AB"}},
      // Case differs, the folder is the same.
      {{L"C:\\Фото\\", L"C:\\фото\\Лето\\"}, true, {L"C:\\Фото"}},
      {{L"C:\\Data\\", L"c:\\data\\"}, false, {L"C:\\Data"}},
      {{L"D:\\"}, true, {L"D:"}},
  };
  for (const Case& c : cases) {
    std::vector<TDupFolderRec> folders;
    std::vector<TDupFileRec> files(2);
    DupSetTopFolders(c.items, c.subfolders, folders, files);
    EXPECT_TRUE(files.empty());
    ASSERT_EQ(folders.size(), c.tops.size() + 1);
    for (size_t i = 0; i < c.tops.size(); ++i) {
      EXPECT_EQ(folders[i + 1].Name, c.tops[i]);
      EXPECT_EQ(folders[i + 1].Parent, 0);
    }
  }
}

TEST(DupTables, PrepareScan_SetsCriteriaAndClearsStop) {
  DupStop = true;
  DupPrepareScan({L"C:\\X\\"}, {false, true, true}, false);
  EXPECT_FALSE(DupStop);
  EXPECT_EQ(DupCriteria, (TDupCriteria{false, true, true}));
  EXPECT_FALSE(DupScanSubfolders);
  ASSERT_EQ(DupFolders.size(), 2u);
  EXPECT_TRUE(DupFiles.empty());
}

TEST(DupTables, PackFileTime_IsLocalDosDateTime) {
  SYSTEMTIME st{};
  st.wYear = 2024;
  st.wMonth = 3;
  st.wDay = 5;
  st.wHour = 14;
  st.wMinute = 30;
  st.wSecond = 10;
  FILETIME utc, local;
  SystemTimeToFileTime(&st, &local);
  LocalFileTimeToFileTime(&local, &utc);
  const uint32_t packed = static_cast<uint32_t>(DupPackFileTime(utc));
  EXPECT_EQ(packed >> 16, ((2024u - 1980u) << 9) | (3u << 5) | 5u);
  EXPECT_EQ(packed & 0xFFFF, (14u << 11) | (30u << 5) | 5u);
}

TEST(DupTables, UnpackFileTime_RefusesWhatIsNoDate) {
  auto pack = [](int y, int mo, int d, int h, int mi, int s) {
    return static_cast<int32_t>((static_cast<uint32_t>(((y - 1980) << 9) | (mo << 5) | d) << 16) |
                                static_cast<uint32_t>((h << 11) | (mi << 5) | (s / 2)));
  };
  SYSTEMTIME st;
  ASSERT_TRUE(DupUnpackFileTime(pack(2024, 3, 5, 14, 30, 10), st));
  EXPECT_EQ(st.wYear, 2024);
  EXPECT_EQ(st.wMonth, 3);
  EXPECT_EQ(st.wDay, 5);
  EXPECT_EQ(st.wHour, 14);
  EXPECT_EQ(st.wMinute, 30);
  EXPECT_EQ(st.wSecond, 10);
  EXPECT_TRUE(DupUnpackFileTime(pack(2024, 2, 29, 0, 0, 0), st));
  const int32_t bad[] = {0, -1, pack(2023, 2, 29, 0, 0, 0), pack(2024, 4, 31, 0, 0, 0), pack(2024, 13, 1, 0, 0, 0),
                         pack(2024, 1, 1, 24, 0, 0), pack(2024, 1, 1, 0, 60, 0), pack(2024, 1, 1, 0, 0, 60)};
  for (int32_t v : bad) EXPECT_FALSE(DupUnpackFileTime(v, st)) << std::hex << v;
}

}  // namespace
