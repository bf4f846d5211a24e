#include "app/duplicates/DupGrouping.h"

#include <algorithm>
#include <numeric>

std::string DupNameKey(const std::wstring& name) {
  const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
  const int len = static_cast<int>(name.size());
  int need = LCMapStringW(LOCALE_USER_DEFAULT, flags, name.c_str(), len, nullptr, 0);
  if (need <= 0) return std::string(reinterpret_cast<const char*>(name.data()), name.size() * sizeof(wchar_t));
  std::string key(static_cast<size_t>(need), '\0');
  need = LCMapStringW(LOCALE_USER_DEFAULT, flags, name.c_str(), len, reinterpret_cast<LPWSTR>(key.data()), need);
  key.resize(need > 0 ? static_cast<size_t>(need) : 0);
  while (!key.empty() && key.back() == '\0') key.pop_back();  // the key's terminator
  return key;
}

void DupRemoveUngrouped(std::vector<TDupFileRec>& files) {
  files.erase(std::remove_if(files.begin(), files.end(), [](const TDupFileRec& r) { return r.Group == 0; }),
              files.end());
}

namespace {

// Splits one class of mutually matching records (ascending table indexes)
// into groups the way the pairwise rule would: the first ungrouped record
// takes every later ungrouped one that is not the same file as itself.
void GroupClass(const std::vector<TDupFileRec>& files, std::vector<int> pending,
                std::vector<std::vector<int>>& groups) {
  while (pending.size() >= 2) {
    const int head = pending.front();
    std::vector<int> group{head};
    std::vector<int> rest;
    for (size_t k = 1; k < pending.size(); ++k) {
      const int j = pending[k];
      (files[j].Id.SameFileAs(files[head].Id) ? rest : group).push_back(j);
    }
    if (group.size() >= 2) groups.push_back(std::move(group));
    pending = std::move(rest);
  }
}

}  // namespace

bool DupAssignGroups(std::vector<TDupFileRec>& files, const std::vector<TDupFolderRec>& folders,
                     const TDupCriteria& criteria, const std::atomic<bool>& stop,
                     const std::function<void(int)>& progress, TDupContentStats* stats) {
  const size_t n = files.size();
  for (TDupFileRec& r : files) r.Group = 0;
  const bool byName = criteria[0];
  const bool bySize = criteria[1] || criteria[2];  // equal content needs equal size
  const bool byContent = criteria[2];

  std::vector<std::string> nameKeys;
  if (byName) {
    nameKeys.resize(n);
    for (size_t i = 0; i < n; ++i) nameKeys[i] = DupNameKey(files[i].Name);
  }
  auto sameKey = [&](int a, int b) {
    return (!bySize || files[a].Size == files[b].Size) && (!byName || nameKeys[a] == nameKeys[b]);
  };
  std::vector<int> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    if (bySize && files[a].Size != files[b].Size) return files[a].Size < files[b].Size;
    if (byName) return nameKeys[a] < nameKeys[b];
    return false;
  });

  std::vector<std::wstring> folderPaths;
  if (byContent) folderPaths = DupFolderPaths(folders);
  auto pathOf = [&](int i) {
    const int f = files[i].Folder;
    const std::wstring& dir = (f >= 0 && static_cast<size_t>(f) < folderPaths.size()) ? folderPaths[f] : L"";
    return dir + files[i].Name;
  };

  std::vector<std::vector<int>> groups;
  TDupReadArena arena;
  int settled = 0;
  for (size_t s = 0; s < n;) {
    if (stop) return false;
    size_t e = s + 1;
    while (e < n && sameKey(order[s], order[e])) ++e;
    if (e - s >= 2) {
      std::vector<int> bucket(order.begin() + s, order.begin() + e);  // ascending: sort was stable
      if (byContent) {
        std::vector<std::wstring> paths;
        paths.reserve(bucket.size());
        for (int i : bucket) paths.push_back(pathOf(i));
        const auto size = static_cast<uint64_t>(files[bucket.front()].Size);
        for (const std::vector<int>& cls : DupSplitByContent(paths, size, stop, stats, &arena)) {
          std::vector<int> members;
          members.reserve(cls.size());
          for (int k : cls) members.push_back(bucket[k]);
          GroupClass(files, std::move(members), groups);
        }
        if (stop) return false;
      } else {
        GroupClass(files, std::move(bucket), groups);
      }
    }
    settled += static_cast<int>(e - s);
    if (progress) progress(settled);
    s = e;
  }

  std::sort(groups.begin(), groups.end(),
            [](const std::vector<int>& a, const std::vector<int>& b) { return a.front() < b.front(); });
  uint32_t number = 0;
  for (const std::vector<int>& g : groups) {
    ++number;
    for (int i : g) files[i].Group = number;
  }
  return true;
}
