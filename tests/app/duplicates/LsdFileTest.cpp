#include <gtest/gtest.h>

#include "app/duplicates/LsdFile.h"
#include "tests/common/TestEnv.h"

namespace {

// A name as it comes back from a file: through the ANSI code page.
std::wstring ViaAnsi(const std::wstring& name) {
  const std::string a = LsdAnsiName(name);
  std::wstring w(a.size(), L'\0');
  w.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, a.data(), static_cast<int>(a.size()), w.data(),
                                                   static_cast<int>(w.size()))));
  return w;
}

void SetTables() {
  DupCriteria = {true, false, true};
  DupFolders.assign(3, TDupFolderRec{});
  DupFolders[1].Name = L"C:\\Фото";
  DupFolders[2].Parent = 1;
  DupFolders[2].Name = L"2024";
  DupFiles.assign(2, TDupFileRec{});
  DupFiles[0].Folder = 1;
  DupFiles[0].Group = 1;
  DupFiles[0].Time = 0x58651B45;
  DupFiles[0].Size = 0x1'0000'0010LL;  // a file over 4 GiB: 16 in the file
  DupFiles[0].Name = L"снимок.jpg";
  DupFiles[1].Folder = 2;
  DupFiles[1].Group = 1;
  DupFiles[1].Time = 0x58651B46;
  DupFiles[1].Size = 16;
  DupFiles[1].Name = std::wstring(150, L'я');
}

uint32_t U32(const std::string& s, size_t at) {
  return static_cast<uint8_t>(s[at]) | (static_cast<uint8_t>(s[at + 1]) << 8) |
         (static_cast<uint8_t>(s[at + 2]) << 16) | (static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24);
}

TEST(LsdFile, LayoutIsTheByteImageOfCriteriaAndTables) {
  testenv::ScopedTempDir tmp;
  SetTables();
  DupFolders.resize(2);
  DupFiles[1].Folder = 1;
  ASSERT_TRUE(SaveDupResult(tmp / L"r.LsD").Ok());
  const std::string b = testenv::ReadFileBytes(tmp / L"r.LsD");
  ASSERT_EQ(b.size(), 583u);  // 15 + 2 * 136 + 2 * 148
  EXPECT_EQ(b.substr(0, 4), std::string("\x15\xCD\x5B\x07", 4));
  EXPECT_EQ(b.substr(4, 3), std::string("\x01\x00\x01", 3));
  EXPECT_EQ(U32(b, 7), 2u);
  EXPECT_EQ(b.substr(11, 136), std::string(136, '\0'));  // the root entry
  EXPECT_EQ(U32(b, 147), 0u);
  EXPECT_EQ(static_cast<uint8_t>(b[151]), 7u);
  EXPECT_EQ(b.substr(152, 7), LsdAnsiName(L"C:\\Фото"));
  EXPECT_EQ(b.substr(159, 283 - 159), std::string(283 - 159, '\0'));
  EXPECT_EQ(U32(b, 283), 2u);
  const size_t f0 = 287;
  EXPECT_EQ(U32(b, f0), 1u);
  EXPECT_EQ(U32(b, f0 + 4), 1u);
  EXPECT_EQ(U32(b, f0 + 8), 0x58651B45u);
  EXPECT_EQ(U32(b, f0 + 12), 16u);  // the low 32 bits
  const size_t f1 = f0 + 148;
  EXPECT_EQ(static_cast<uint8_t>(b[f1 + 16]), 128u);  // 150 characters cut to 128 bytes
  EXPECT_EQ(b.substr(f1 + 17, 128), LsdAnsiName(std::wstring(128, L'я')));
}

TEST(LsdFile, RoundTripIsByteIdenticalPaddingIncluded) {
  testenv::ScopedTempDir tmp;
  SetTables();
  ASSERT_TRUE(SaveDupResult(tmp / L"a.LsD").Ok());
  std::string image = testenv::ReadFileBytes(tmp / L"a.LsD");
  // Bytes past the names and in the alignment, as another program may leave
  // them, must come back unchanged too.
  image[11 + 100] = 'R';                       // root entry
  image[11 + 136 + 5 + 20] = 'x';              // past folder 1's name
  image[11 + 136 * 2 + 133] = '\x7F';          // alignment of folder 2
  image[11 + 136 * 3 + 4 + 145] = '\x01';      // alignment of file 0
  testenv::WriteFileBytes(tmp / L"b.LsD", image);
  DupFiles.clear();
  ASSERT_TRUE(LoadDupResult(tmp / L"b.LsD").Ok());
  EXPECT_EQ(DupCriteria, (TDupCriteria{true, false, true}));
  ASSERT_EQ(DupFiles.size(), 2u);
  EXPECT_EQ(DupFiles[0].Name, ViaAnsi(L"снимок.jpg"));
  EXPECT_EQ(DupFiles[0].Size, 16);
  EXPECT_EQ(GetFolderPath(DupFiles[1].Folder), ViaAnsi(L"C:\\Фото") + L"\\2024\\");
  ASSERT_TRUE(SaveDupResult(tmp / L"c.LsD").Ok());
  EXPECT_EQ(testenv::ReadFileBytes(tmp / L"c.LsD"), image);
}

TEST(LsdFile, StoredSizeWithTheTopBitSetLoadsNegative) {
  testenv::ScopedTempDir tmp;
  SetTables();
  DupFiles[1].Size = 0xFFFFFFFBLL;
  ASSERT_TRUE(SaveDupResult(tmp / L"s.LsD").Ok());
  ASSERT_TRUE(LoadDupResult(tmp / L"s.LsD").Ok());
  EXPECT_EQ(DupFiles[1].Size, -5);
}

TEST(LsdFile, EmptyFileTableLoads) {
  testenv::ScopedTempDir tmp;
  SetTables();
  DupFiles.clear();
  ASSERT_TRUE(SaveDupResult(tmp / L"e.LsD").Ok());
  SetTables();
  ASSERT_TRUE(LoadDupResult(tmp / L"e.LsD").Ok());
  EXPECT_TRUE(DupFiles.empty());
  EXPECT_EQ(DupFolders.size(), 3u);
}

TEST(LsdFile, MalformedFilesAreRefusedAndTheShownResultStays) {
  testenv::ScopedTempDir tmp;
  SetTables();
  ASSERT_TRUE(SaveDupResult(tmp / L"good.LsD").Ok());
  const std::string good = testenv::ReadFileBytes(tmp / L"good.LsD");
  const size_t folder1 = 11 + 136, folder2 = 11 + 272, files = 11 + 136 * 3 + 4;
  auto put32 = [](std::string s, size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) s[at + k] = static_cast<char>(v >> (8 * k));
    return s;
  };
  auto put8 = [](std::string s, size_t at, uint8_t v) {
    s[at] = static_cast<char>(v);
    return s;
  };
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"bad magic", put32(good, 0, 123456788)},
      {"huge folder count", put32(good, 7, 0x7FFFFFFF)},
      {"negative folder count", put32(good, 7, 0xFFFFFFFF)},
      {"huge file count", put32(good, 11 + 136 * 3, 0x7FFFFFFF)},
      {"negative file count", put32(good, 11 + 136 * 3, 0xFFFFFFFE)},
      {"parent equal to its own index", put32(good, folder2, 2)},
      {"parent after its own index", put32(good, folder1, 2)},
      {"negative parent", put32(good, folder1, 0xFFFFFFFF)},
      {"folder index 0", put32(good, files, 0)},
      {"folder index past the table", put32(good, files + 148, 3)},
      {"folder name length over 128", put8(good, folder1 + 4, 129)},
      {"file name length over 128", put8(good, files + 16, 200)},
      {"empty file name", put8(good, files + 16, 0)},
      {"short file", good.substr(0, good.size() - 1)},
      {"one byte too many", good + std::string(1, '\0')},
      {"three bytes", good.substr(0, 3)},
      {"empty", std::string()},
  };
  for (const Case& c : cases) {
    SetTables();
    const auto filesBefore = DupFiles.size();
    testenv::WriteFileBytes(tmp / L"bad.LsD", c.bytes);
    DupFiles[0].Name = L"kept";
    const TLsdResult r = LoadDupResult(tmp / L"bad.LsD");
    EXPECT_EQ(r.Status, TLsdStatus::BadFormat) << c.what;
    EXPECT_EQ(DupFiles.size(), filesBefore) << c.what;
    EXPECT_EQ(DupFiles[0].Name, L"kept") << c.what;
    EXPECT_EQ(DupFolders.size(), 3u) << c.what;
    EXPECT_EQ(DupCriteria, (TDupCriteria{true, false, true})) << c.what;
  }
  EXPECT_STREQ(kLsdBadFileText, L"Неверный тип файла");
}

TEST(LsdFile, MissingFileIsAnIoError) {
  testenv::ScopedTempDir tmp;
  TLsdTables t;
  const TLsdResult r = LsdLoad(tmp / L"none.LsD", t);
  EXPECT_EQ(r.Status, TLsdStatus::IoError);
  EXPECT_EQ(r.Error, DWORD{ERROR_FILE_NOT_FOUND});
}

TEST(LsdFile, AFailedSaveLeavesTheTargetAndNoTemporaryFile) {
  testenv::ScopedTempDir tmp;
  SetTables();
  // A folder stands where the file should go: the new file cannot replace it.
  tmp.MakeDir(L"target.LsD");
  EXPECT_EQ(SaveDupResult(tmp / L"target.LsD").Status, TLsdStatus::IoError);
  EXPECT_EQ(SaveDupResult(tmp / L"no\\such\\folder\\x.LsD").Status, TLsdStatus::IoError);
  // An existing result is replaced only by a complete new one.
  tmp.WriteFile(L"old.LsD", "old");
  ASSERT_TRUE(SaveDupResult(tmp / L"old.LsD").Ok());
  EXPECT_EQ(testenv::ReadFileBytes(tmp / L"old.LsD").size(), 15u + 3 * 136 + 2 * 148);
  WIN32_FIND_DATAW fd;
  HANDLE find = FindFirstFileW((tmp / L"*.tmp").c_str(), &fd);
  EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "left behind: " << (find != INVALID_HANDLE_VALUE);
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
  EXPECT_NE(GetFileAttributesW((tmp / L"target.LsD").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
}

}  // namespace
