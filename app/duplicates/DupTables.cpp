#include "app/duplicates/DupTables.h"

#include <algorithm>

std::vector<TDupFolderRec> DupFolders;
std::vector<TDupFileRec> DupFiles;
TDupCriteria DupCriteria{true, true, false};
bool DupScanSubfolders = true;
std::atomic<bool> DupStop{false};

std::wstring GetFolderPath(const std::vector<TDupFolderRec>& folders, int Index) {
  std::wstring result;
  const int count = static_cast<int>(folders.size());
  while (Index > 0 && Index < count) {
    const TDupFolderRec& rec = folders[Index];
    result.insert(0, rec.Name + L"\\");
    if (rec.Parent >= Index) break;  // a loop or a forward link: stop here
    Index = rec.Parent;
  }
  return result;
}

std::wstring GetFolderPath(int Index) { return GetFolderPath(DupFolders, Index); }

std::vector<std::wstring> DupFolderPaths(const std::vector<TDupFolderRec>& folders) {
  std::vector<std::wstring> paths(folders.size());
  for (size_t i = 1; i < folders.size(); ++i) {
    const int parent = folders[i].Parent;
    if (parent > 0 && static_cast<size_t>(parent) < i)
      paths[i] = paths[parent] + folders[i].Name + L"\\";
    else if (parent == 0)
      paths[i] = folders[i].Name + L"\\";
    else
      paths[i] = GetFolderPath(folders, static_cast<int>(i));
  }
  return paths;
}

void DeleteFileEntry(std::vector<TDupFileRec>& files, int Index) {
  if (Index < 0 || static_cast<size_t>(Index) >= files.size()) return;
  files.erase(files.begin() + Index);
}

void DeleteFileEntry(int Index) { DeleteFileEntry(DupFiles, Index); }

int32_t DupPackFileTime(const FILETIME& lastWrite) {
  FILETIME local;
  WORD date = 0, time = 0;
  if (!FileTimeToLocalFileTime(&lastWrite, &local) || !FileTimeToDosDateTime(&local, &date, &time))
    return 0;
  return static_cast<int32_t>((static_cast<uint32_t>(date) << 16) | time);
}

bool DupUnpackFileTime(int32_t packed, SYSTEMTIME& local) {
  const auto bits = static_cast<uint32_t>(packed);
  const WORD date = static_cast<WORD>(bits >> 16), time = static_cast<WORD>(bits & 0xFFFF);
  const int day = date & 31, month = (date >> 5) & 15, year = 1980 + (date >> 9);
  const int second = (time & 31) * 2, minute = (time >> 5) & 63, hour = time >> 11;
  if (day < 1 || month < 1 || month > 12 || hour > 23 || minute > 59 || second > 59) return false;
  FILETIME ft;
  if (!DosDateTimeToFileTime(date, time, &ft) || !FileTimeToSystemTime(&ft, &local)) return false;
  // Days past the month's end (31 April) would roll over: not a date.
  return local.wYear == year && local.wMonth == month && local.wDay == day;
}

namespace {

// Case-insensitive the way the file system compares names.
bool SameFolderText(const std::wstring& a, size_t aLen, const std::wstring& b, size_t bLen) {
  return CompareStringOrdinal(a.c_str(), static_cast<int>(aLen), b.c_str(),
                              static_cast<int>(bLen), TRUE) == CSTR_EQUAL;
}

std::wstring WithTrailingSlash(const std::wstring& s) {
  return (!s.empty() && s.back() == L'\\') ? s : s + L"\\";
}

}  // namespace

void DupSetTopFolders(const std::vector<std::wstring>& items, bool scanSubfolders,
                      std::vector<TDupFolderRec>& folders, std::vector<TDupFileRec>& files) {
  folders.assign(1, TDupFolderRec{});
  files.clear();
  std::vector<std::wstring> taken;
  for (const std::wstring& raw : items) {
    if (raw.empty()) continue;
    const std::wstring item = WithTrailingSlash(raw);
    bool skip = false;
    for (const std::wstring& earlier : taken) {
      if (earlier.size() == item.size() && SameFolderText(earlier, earlier.size(), item, item.size()))
        skip = true;  // the same folder once more
      else if (scanSubfolders && earlier.size() < item.size() &&
               SameFolderText(earlier, earlier.size(), item, earlier.size()))
        skip = true;  // inside a folder that is walked with its subfolders
      if (skip) break;
    }
    if (skip) continue;
    taken.push_back(item);
    TDupFolderRec top;
    top.Parent = 0;
    top.Name = item.substr(0, item.size() - 1);
    folders.push_back(std::move(top));
  }
}

void DupPrepareScan(const std::vector<std::wstring>& folderListItems,
                    const TDupCriteria& criteria, bool scanSubfolders) {
  DupCriteria = criteria;
  DupScanSubfolders = scanSubfolders;
  DupSetTopFolders(folderListItems, scanSubfolders, DupFolders, DupFiles);
  DupStop = false;
}
