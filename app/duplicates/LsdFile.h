// .LsD result files: a byte image of the duplicate finder's criteria and
// tables (magic 123456789, three criteria bytes, N folder records of 136
// bytes, M file records of 148 bytes, little-endian, nothing else). Names
// are written in the ANSI code page, cut to 128 bytes; records that came
// from a file are written back exactly as read. A file is checked whole
// before it replaces anything, and a save replaces its target only once the
// new file is completely written.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/duplicates/DupTables.h"

inline constexpr int32_t kLsdMagic = 123456789;
inline constexpr size_t kLsdHeaderBytes = 11;
inline constexpr size_t kLsdFolderRecBytes = 136;
inline constexpr size_t kLsdFileRecBytes = 148;
inline constexpr size_t kLsdNameBytes = 128;
// What the result window shows for any file that is not a sound result.
inline constexpr const wchar_t* kLsdBadFileText = L"Неверный тип файла";

enum class TLsdStatus { Ok, BadFormat, IoError };

struct TLsdResult {
  TLsdStatus Status = TLsdStatus::Ok;
  DWORD Error = 0;  // the system's error code when Status is IoError
  bool Ok() const { return Status == TLsdStatus::Ok; }
};

// The tables that one .LsD file holds.
struct TLsdTables {
  TDupCriteria Criteria{};
  std::vector<TDupFolderRec> Folders;
  std::vector<TDupFileRec> Files;
};

std::vector<uint8_t> LsdEncode(const TDupCriteria& criteria, const std::vector<TDupFolderRec>& folders,
                               const std::vector<TDupFileRec>& files);
// Checks everything (size, counts, indexes, name lengths) and fills `out`
// only when the whole image is sound.
TLsdResult LsdDecode(const uint8_t* data, size_t size, TLsdTables& out);

// Writes a temporary file beside `path`, then puts it in place of `path`.
TLsdResult LsdSave(const std::wstring& path, const TDupCriteria& criteria,
                   const std::vector<TDupFolderRec>& folders, const std::vector<TDupFileRec>& files);
// Reads and checks `path`; `out` is changed only on success.
TLsdResult LsdLoad(const std::wstring& path, TLsdTables& out);

// The same on DupCriteria, DupFolders and DupFiles: a failed load leaves
// them as they were.
TLsdResult SaveDupResult(const std::wstring& path);
TLsdResult LoadDupResult(const std::wstring& path);

// A name in the ANSI code page, cut to at most 128 bytes without splitting
// a character.
std::string LsdAnsiName(const std::wstring& name);
