#include "app/duplicates/DupScanner.h"

#include <map>
#include <utility>

#include "framework/Handles.h"

std::wstring DupLongPath(const std::wstring& path) {
  if (path.size() < MAX_PATH - 12) return path;
  if (path.size() >= 3 && path[1] == L':' && path[2] == L'\\') return L"\\\\?\\" + path;
  if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\' && path.compare(0, 4, L"\\\\?\\") != 0)
    return L"\\\\?\\UNC\\" + path.substr(2);
  return path;
}

namespace {

// One entry of a directory listing, whichever way it was read.
struct TListedEntry {
  const wchar_t* Name;
  size_t NameLength;
  DWORD Attributes;
  FILETIME LastWrite;
  int64_t Size;
  uint64_t FileId;  // 0 when the listing gave none
};

bool IsDotEntry(const wchar_t* name, size_t len) {
  return (len == 1 && name[0] == L'.') || (len == 2 && name[0] == L'.' && name[1] == L'.');
}

using TIdKey = std::pair<uint32_t, uint64_t>;

class TFolderWalk {
 public:
  TFolderWalk(std::vector<TDupFolderRec>& folders, std::vector<TDupFileRec>& files,
              bool subfolders, const std::atomic<bool>& stop)
      : folders_(folders), files_(files), subfolders_(subfolders), stop_(stop) {}

  bool Run(const TDupWalkHooks& hooks) {
    paths_ = DupFolderPaths(folders_);
    for (size_t i = 1; i < folders_.size() && !stop_; ++i) {
      const int index = static_cast<int>(i);
      if (hooks.BeforeFolder) hooks.BeforeFolder(index, static_cast<int>(folders_.size()) - 1);
      ListFolder(index);
      if (hooks.AfterFolder) hooks.AfterFolder(index);
    }
    return !stop_;
  }

 private:
  // Opens the folder for listing; on a drive root "C:\" stays whole.
  UniqueKernelHandle OpenFolder(const std::wstring& pathWithSlash) {
    std::wstring path = pathWithSlash;
    if (path.size() > 3 && path.back() == L'\\') path.pop_back();
    return UniqueKernelHandle(CreateFileW(
        DupLongPath(path).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  }

  // False when the folder is one that another entry already walks.
  bool ClaimFolder(int index, const TDupFileId& id) {
    if (!id.Valid) return true;
    auto [it, inserted] = walked_.emplace(TIdKey{id.Volume, id.File}, index);
    return inserted || it->second == index;
  }

  void ListFolder(int index) {
    UniqueKernelHandle dir = OpenFolder(paths_[index]);
    if (!dir) {
      // Some file systems refuse a listing handle; the find functions may
      // still list them, without identities.
      ListWithFind(index, 0);
      return;
    }
    // A subfolder's identity came with its parent's listing, and it lies on
    // its parent's volume (linked folders are not entered). Only top entries
    // ask the system, which is slow to tell the volume (under Wine ~0.6 ms).
    uint32_t volume = folders_[index].Id.Valid ? folders_[index].Id.Volume : 0;
    BY_HANDLE_FILE_INFORMATION info;
    if (!folders_[index].Id.Valid && GetFileInformationByHandle(dir.get(), &info)) {
      volume = info.dwVolumeSerialNumber;
      TDupFileId id{volume, (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow, true};
      folders_[index].Id = id;
      if (!ClaimFolder(index, id)) return;
    }
    alignas(8) static thread_local unsigned char buffer[64 * 1024];
    FILE_INFO_BY_HANDLE_CLASS cls = FileIdBothDirectoryRestartInfo;
    bool first = true;
    while (!stop_) {
      if (!GetFileInformationByHandleEx(dir.get(), cls, buffer, sizeof buffer)) {
        const DWORD err = GetLastError();
        if (first && err != ERROR_NO_MORE_FILES && err != ERROR_FILE_NOT_FOUND) {
          dir.reset();
          ListWithFind(index, volume);
        }
        return;
      }
      first = false;
      cls = FileIdBothDirectoryInfo;
      size_t offset = 0;
      for (;;) {
        const auto* e = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(buffer + offset);
        TListedEntry entry{e->FileName, e->FileNameLength / sizeof(wchar_t), e->FileAttributes,
                           {e->LastWriteTime.LowPart, static_cast<DWORD>(e->LastWriteTime.HighPart)},
                           e->EndOfFile.QuadPart, static_cast<uint64_t>(e->FileId.QuadPart)};
        Add(index, volume, entry);
        if (stop_ || e->NextEntryOffset == 0) break;
        offset += e->NextEntryOffset;
      }
    }
  }

  void ListWithFind(int index, uint32_t volume) {
    WIN32_FIND_DATAW fd;
    UniqueFindHandle find(FindFirstFileExW(DupLongPath(paths_[index] + L"*").c_str(), FindExInfoBasic,
                                           &fd, FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH));
    if (!find) return;
    do {
      TListedEntry entry{fd.cFileName, wcslen(fd.cFileName), fd.dwFileAttributes, fd.ftLastWriteTime,
                         static_cast<int64_t>((static_cast<uint64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow),
                         0};
      Add(index, volume, entry);
    } while (!stop_ && FindNextFileW(find.get(), &fd));
  }

  void Add(int index, uint32_t volume, const TListedEntry& e) {
    if (IsDotEntry(e.Name, e.NameLength)) return;
    const TDupFileId id{volume, e.FileId, volume != 0 && e.FileId != 0};
    if (e.Attributes & FILE_ATTRIBUTE_DIRECTORY) {
      // A linked folder may lead back up the tree or elsewhere: not entered.
      if (!subfolders_ || (e.Attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return;
      const int newIndex = static_cast<int>(folders_.size());
      if (!ClaimFolder(newIndex, id)) return;
      TDupFolderRec rec;
      rec.Parent = index;
      rec.Name.assign(e.Name, e.NameLength);
      rec.Id = id;
      paths_.push_back(paths_[index] + rec.Name + L"\\");
      folders_.push_back(std::move(rec));
      return;
    }
    TDupFileRec rec;
    rec.Folder = index;
    rec.Group = 0;
    rec.Time = DupPackFileTime(e.LastWrite);
    rec.Size = e.Size;
    rec.Name.assign(e.Name, e.NameLength);
    rec.Id = id;
    files_.push_back(std::move(rec));
  }

  std::vector<TDupFolderRec>& folders_;
  std::vector<TDupFileRec>& files_;
  const bool subfolders_;
  const std::atomic<bool>& stop_;
  std::vector<std::wstring> paths_;
  std::map<TIdKey, int> walked_;
};

}  // namespace

bool DupWalkFolders(std::vector<TDupFolderRec>& folders, std::vector<TDupFileRec>& files,
                    bool scanSubfolders, const std::atomic<bool>& stop, const TDupWalkHooks& hooks) {
  TFolderWalk walk(folders, files, scanSubfolders, stop);
  return walk.Run(hooks);
}
