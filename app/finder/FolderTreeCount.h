// The count of the folders below a search path, which the progress bar
// needs before the search of the path starts. Counting has to list every
// folder of the tree anyway, so the count keeps what the search will look
// at in each folder (the folders it enters and the files the masks match)
// and the search then reads nothing from the disk a second time.
#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/finder/FolderListing.h"

class FolderTreeCount {
 public:
  // The kept listings hold at most about this much; the count goes on
  // without keeping beyond it (a whole drive can hold millions of files).
  static constexpr size_t kMaxKeptBytes = 16u << 20;

  // Nothing is walked yet. `masks` are the file masks the kept files match.
  FolderTreeCount(std::wstring root, std::vector<std::wstring> masks, size_t maxKeptBytes = kMaxKeptBytes);
  FolderTreeCount(const FolderTreeCount&) = delete;
  FolderTreeCount& operator=(const FolderTreeCount&) = delete;

  // Walks the tree depth first in the search's order (a folder, then each
  // subfolder where its listing names it), on the calling thread. `stop`,
  // when set, ends the walk early; the count is then incomplete.
  void Walk(const std::atomic<bool>& stop);

  // The folders below the root at any depth (links not followed), as far
  // as the walk went.
  long long Folders() const { return folders_; }
  bool Complete() const { return complete_; }
  const std::vector<std::wstring>& Masks() const { return masks_; }

  // The kept listing of Dir when it is the next one in the search's order.
  // Null otherwise; a folder asked for out of order ends the kept listings
  // (what lies ahead is of no use), as does Drop.
  std::unique_ptr<FolderListing> Take(const std::wstring& Dir);
  void Drop();
  // The folders past the kept listings, each with its whole tree, in the
  // search's order: empty when the count kept everything.
  const std::vector<std::wstring>& Rest() const { return rest_; }
  // What the listings not yet taken hold.
  size_t KeptBytes() const { return keptBytes_; }

 private:
  bool Matches(const wchar_t* name) const;

  const std::wstring root_;
  const std::vector<std::wstring> masks_;
  const size_t maxKeptBytes_;
  long long folders_ = 0;
  bool complete_ = false;
  std::deque<std::unique_ptr<FolderListing>> kept_;
  size_t keptBytes_ = 0;
  std::vector<std::wstring> rest_;
};
