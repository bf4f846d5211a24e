#include "app/duplicates/DupSort.h"

#include <algorithm>
#include <numeric>

#include "app/duplicates/DupGrouping.h"

namespace {

// Orders `files` by a precomputed key per record; stable, so equal keys keep
// their order exactly as repeated exchange passes over neighbours would.
template <class Key>
void SortByKeys(std::vector<TDupFileRec>& files, const std::vector<Key>& keys) {
  std::vector<size_t> order(files.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
  std::vector<TDupFileRec> sorted;
  sorted.reserve(files.size());
  for (size_t i : order) sorted.push_back(std::move(files[i]));
  files = std::move(sorted);
}

}  // namespace

void DupSortFiles(std::vector<TDupFileRec>& files, const std::vector<TDupFolderRec>& folders,
                  const std::wstring& key) {
  if (files.size() < 2) return;
  const size_t n = files.size();
  if (key == L"Double") {
    std::vector<uint32_t> keys(n);
    for (size_t i = 0; i < n; ++i) keys[i] = files[i].Group;
    SortByKeys(files, keys);
  } else if (key == L"Name") {
    // Locale sort keys compare bytewise exactly as the locale compares the
    // texts, and give the sort a strict order to rely on.
    std::vector<std::string> keys(n);
    for (size_t i = 0; i < n; ++i) keys[i] = DupNameKey(files[i].Name);
    SortByKeys(files, keys);
  } else if (key == L"Size") {
    std::vector<int64_t> keys(n);
    for (size_t i = 0; i < n; ++i) keys[i] = files[i].Size;
    SortByKeys(files, keys);
  } else if (key == L"Time") {
    std::vector<int32_t> keys(n);
    for (size_t i = 0; i < n; ++i) keys[i] = files[i].Time;
    SortByKeys(files, keys);
  } else if (key == L"Folder") {
    const std::vector<std::wstring> paths = DupFolderPaths(folders);
    std::vector<std::string> folderKeys(paths.size());
    std::vector<bool> made(paths.size(), false);
    std::vector<std::string> keys(n);
    for (size_t i = 0; i < n; ++i) {
      const int f = files[i].Folder;
      if (f < 0 || static_cast<size_t>(f) >= paths.size()) continue;  // empty path: first
      if (!made[f]) {
        folderKeys[f] = DupNameKey(paths[f]);
        made[f] = true;
      }
      keys[i] = folderKeys[f];
    }
    SortByKeys(files, keys);
  }
}

void SortFiles(const std::wstring& Key) { DupSortFiles(DupFiles, DupFolders, Key); }
