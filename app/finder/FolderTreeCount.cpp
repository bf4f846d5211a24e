#include "app/finder/FolderTreeCount.h"

#include "app/finder/Frame5.h"

FolderTreeCount::FolderTreeCount(std::wstring root, std::vector<std::wstring> masks, size_t maxKeptBytes)
    : root_(std::move(root)), masks_(std::move(masks)), maxKeptBytes_(maxKeptBytes) {}

bool FolderTreeCount::Matches(const wchar_t* name) const {
  for (const std::wstring& mask : masks_)
    if (TFrame5::FileMaskEquate(name, mask)) return true;
  return false;
}

void FolderTreeCount::Walk(const std::atomic<bool>& stop) {
  // A folder on the way down: its subfolders and the next one to enter.
  struct Level {
    std::wstring dir;
    std::vector<std::wstring> subfolders;
    size_t next = 0;
  };
  std::vector<Level> path;
  bool keeping = true;
  const FolderListing::FileFilter keepFile = [this, &keeping](const wchar_t* name) {
    return keeping && Matches(name);
  };
  std::wstring dir = root_;
  for (;;) {
    std::unique_ptr<FolderListing> listing = FolderListing::ReadTrimmed(dir, keepFile, &stop);
    if (stop) return;
    Level level{dir, {}, 0};
    for (size_t i = 0; i < listing->Count(); ++i)
      if (listing->Enterable(i)) level.subfolders.emplace_back(listing->Name(i));
    folders_ += static_cast<long long>(level.subfolders.size());
    if (keeping && keptBytes_ + listing->Bytes() > maxKeptBytes_) {
      // From here on only counted: the search reads this folder and every
      // one after it from the disk, in its own order.
      keeping = false;
      rest_.push_back(dir);
      for (auto up = path.rbegin(); up != path.rend(); ++up)
        for (size_t i = up->next; i < up->subfolders.size(); ++i) rest_.push_back(up->dir + up->subfolders[i] + L"\\");
    }
    if (keeping) {
      keptBytes_ += listing->Bytes();
      kept_.push_back(std::move(listing));
    }
    path.push_back(std::move(level));
    // The next folder in the search's order: the first subfolder not yet
    // entered of the deepest folder that has one.
    while (!path.empty() && path.back().next == path.back().subfolders.size()) path.pop_back();
    if (path.empty()) break;
    Level& up = path.back();
    dir = up.dir + up.subfolders[up.next++] + L"\\";
  }
  complete_ = true;
}

std::unique_ptr<FolderListing> FolderTreeCount::Take(const std::wstring& Dir) {
  if (kept_.empty()) return nullptr;
  if (kept_.front()->Dir() != Dir) {
    Drop();
    return nullptr;
  }
  std::unique_ptr<FolderListing> listing = std::move(kept_.front());
  kept_.pop_front();
  keptBytes_ -= listing->Bytes();
  return listing;
}

void FolderTreeCount::Drop() {
  kept_.clear();
  keptBytes_ = 0;
}
