// The duplicate finder's folder walk: breadth-first over the growing folder
// table, every file appended to the file table with its size, time and
// identity. Each folder is listed once however many names lead to it.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "app/duplicates/DupTables.h"

struct TDupWalkHooks {
  // Before folder `index` is listed; `last` is the table's current last index.
  std::function<void(int index, int last)> BeforeFolder;
  // After folder `index` was listed (or could not be).
  std::function<void(int index)> AfterFolder;
};

// Walks every entry of `folders` from 1 on, appending subfolders (when
// `scanSubfolders`) and files. Directories that are reparse points are not
// entered, and a folder whose identity was already walked is not listed
// again. Returns false when `stop` ended the walk early.
bool DupWalkFolders(std::vector<TDupFolderRec>& folders, std::vector<TDupFileRec>& files,
                    bool scanSubfolders, const std::atomic<bool>& stop,
                    const TDupWalkHooks& hooks = {});

// A path the file functions accept at any length: drive paths that do not
// fit MAX_PATH get the "\\?\" prefix.
std::wstring DupLongPath(const std::wstring& path);
