#include "app/duplicates/DupRecycle.h"

#include <shellapi.h>

#include <algorithm>

#include "app/duplicates/DupScanner.h"

bool DupIsPlainName(const std::wstring& name) {
  if (name.empty() || name == L"." || name == L"..") return false;
  for (wchar_t c : name) {
    if (c < 0x20 || wcschr(L"\\/:*?\"<>|", c) != nullptr) return false;
  }
  return name.back() != L'.' && name.back() != L' ';
}

bool DupIsPlainFolderPath(const std::wstring& dir) {
  if (dir.size() < 3 || dir.back() != L'\\') return false;
  size_t start;
  if (dir[1] == L':' && dir[2] == L'\\' && iswalpha(dir[0])) {
    start = 3;
  } else if (dir[0] == L'\\' && dir[1] == L'\\') {
    start = 2;
    // A network path needs at least a server and a share.
    if (std::count(dir.begin() + 2, dir.end(), L'\\') < 2) return false;
  } else {
    return false;
  }
  while (start < dir.size()) {
    const size_t end = dir.find(L'\\', start);
    if (!DupIsPlainName(dir.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

TDupRecycleRefusal DupCheckRecycle(const TDupFileRec& rec, const std::vector<TDupFolderRec>& folders,
                                   std::wstring* fullPath) {
  const std::wstring dir = GetFolderPath(folders, rec.Folder);
  const std::wstring path = dir + rec.Name;
  if (fullPath) *fullPath = path;
  if (!DupIsPlainName(rec.Name) || !DupIsPlainFolderPath(dir)) return TDupRecycleRefusal::UnsafeName;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(DupLongPath(path).c_str(), GetFileExInfoStandard, &data))
    return TDupRecycleRefusal::Missing;
  if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))
    return TDupRecycleRefusal::NotAFile;
  const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  const bool sameSize = rec.SizeIsLow32() ? static_cast<uint32_t>(size) == static_cast<uint32_t>(rec.Size)
                                          : size == static_cast<uint64_t>(rec.Size);
  if (!sameSize || DupPackFileTime(data.ftLastWriteTime) != rec.Time) return TDupRecycleRefusal::Changed;
  return TDupRecycleRefusal::None;
}

namespace {

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(DupLongPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

void DupShellDeleteToRecycle(HWND owner, const std::wstring& list) {
  SHFILEOPSTRUCTW op{};
  op.hwnd = owner;
  op.wFunc = FO_DELETE;
  op.pFrom = list.c_str();
  op.fFlags = FOF_ALLOWUNDO | FOF_NO_CONNECTED_ELEMENTS;
  SHFileOperationW(&op);  // what it did is read back from the disk
}

TDupRecycleResult DupDeleteToRecycle(HWND owner, std::vector<TDupFileRec>& files,
                                     const std::vector<TDupFolderRec>& folders, int top, int count,
                                     const TDupShellDelete& shellDelete) {
  TDupRecycleResult result;
  if (files.empty() || top < 0 || count <= 0 || static_cast<size_t>(top) >= files.size()) return result;
  count = std::min(count, static_cast<int>(files.size()) - top);

  std::vector<bool> sent(static_cast<size_t>(count), false);
  std::vector<std::wstring> paths(static_cast<size_t>(count));
  std::wstring list;
  for (int k = 0; k < count; ++k) {
    if (DupCheckRecycle(files[top + k], folders, &paths[k]) != TDupRecycleRefusal::None) {
      result.Refused.push_back(paths[k]);
      continue;
    }
    sent[k] = true;
    list += paths[k];
    list.push_back(L'\0');
  }
  if (list.empty()) return result;
  list.push_back(L'\0');

  if (shellDelete) shellDelete(owner, list);

  // Back to front, so the indexes of the records still to visit hold.
  for (int k = count - 1; k >= 0; --k) {
    if (sent[k] && !Exists(paths[k])) {
      DeleteFileEntry(files, top + k);
      ++result.Removed;
    }
  }
  return result;
}
