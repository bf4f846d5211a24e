#include "app/finder/FolderListing.h"

bool IsDotEntry(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

bool EnterableFolder(DWORD attributes, const wchar_t* name) {
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
         !IsDotEntry(name);
}

// ---------------------------------------------------------------- FolderListing

std::unique_ptr<FolderListing> FolderListing::Read(const std::wstring& Dir, const std::atomic<bool>* stop) {
  return ReadKept(Dir, nullptr, stop);
}

std::unique_ptr<FolderListing> FolderListing::ReadTrimmed(const std::wstring& Dir, const FileFilter& keepFile,
                                                          const std::atomic<bool>* stop) {
  std::unique_ptr<FolderListing> listing = ReadKept(Dir, &keepFile, stop);
  listing->entries_.shrink_to_fit();
  listing->names_.shrink_to_fit();
  return listing;
}

std::unique_ptr<FolderListing> FolderListing::ReadKept(const std::wstring& Dir, const FileFilter* keepFile,
                                                       const std::atomic<bool>* stop) {
  auto listing = std::make_unique<FolderListing>();
  listing->dir_ = Dir;
  listing->trimmed_ = keepFile != nullptr;
  WIN32_FIND_DATAW fd;
  UniqueFindHandle find(FindFirstFileExW((Dir + L"*.*").c_str(), FindExInfoBasic, &fd, FindExSearchNameMatch,
                                         nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return listing;
  DWORD index = 0;
  do {
    const bool kept = !keepFile || ((fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                                        ? EnterableFolder(fd.dwFileAttributes, fd.cFileName)
                                        : (*keepFile)(fd.cFileName));
    if (kept) {
      Entry e;
      e.Attributes = fd.dwFileAttributes;
      e.NameAt = static_cast<DWORD>(listing->names_.size());
      e.Index = index;
      e.LastWrite = fd.ftLastWriteTime;
      e.Size = (static_cast<unsigned long long>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
      listing->entries_.push_back(e);
      listing->names_.append(fd.cFileName, wcslen(fd.cFileName) + 1);
    }
    ++index;
  } while (!(stop && *stop) && FindNextFileW(find.get(), &fd));
  return listing;
}

bool FolderListing::Enterable(size_t i) const { return EnterableFolder(entries_[i].Attributes, Name(i)); }

// ---------------------------------------------------------------- ListingCursor

size_t ListingCursor::Next() {
  if (listing_->At(kept_).Index != at_++) return kLeftOut;
  return kept_++;
}

void ListingCursor::Continue(const FolderListing& whole) {
  listing_ = &whole;
  kept_ = at_;
}

// ---------------------------------------------------------------- FolderReadAhead

FolderReadAhead::FolderReadAhead(const std::wstring& root, size_t maxAheadBytes)
    : FolderReadAhead(std::vector<std::wstring>{root}, maxAheadBytes) {}

FolderReadAhead::FolderReadAhead(std::vector<std::wstring> roots, size_t maxAheadBytes)
    : maxAheadBytes_(maxAheadBytes),
      event_(CreateEventW(nullptr, FALSE, FALSE, nullptr)), thread_([this, roots = std::move(roots)] {
        for (const std::wstring& root : roots) Walk(root);
        std::lock_guard<std::mutex> lock(mutex_);
        done_ = true;
        SetEvent(event_.get());
      }) {}

FolderReadAhead::~FolderReadAhead() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  taken_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void FolderReadAhead::Walk(const std::wstring& dir) {
  if (stop_ || broken_) return;
  std::unique_ptr<FolderListing> listing = FolderListing::Read(dir, &stop_);
  if (stop_) return;
  // The subfolders' names, kept before the listing goes to the search.
  std::vector<std::wstring> folders;
  for (size_t i = 0; i < listing->Count(); ++i)
    if (listing->Enterable(i)) folders.emplace_back(listing->Name(i));
  Push(std::move(listing));
  for (const std::wstring& name : folders) Walk(dir + name + L"\\");
}

void FolderReadAhead::Push(std::unique_ptr<FolderListing> listing) {
  std::unique_lock<std::mutex> lock(mutex_);
  // Never hold back the only listing: the search may be waiting for it.
  taken_.wait(lock, [this] { return stop_ || broken_ || ahead_.empty() || aheadBytes_ < maxAheadBytes_; });
  if (stop_ || broken_) return;
  aheadBytes_ += listing->Bytes();
  ahead_.push_back(std::move(listing));
  available_ = ahead_.size();
  // Setting the event is a trip to the system: only for a waiting search.
  if (waiting_) {
    waiting_ = false;
    SetEvent(event_.get());
  }
}

void FolderReadAhead::SpinWhileBusy() const {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(2);
  while (available_ == 0 && !done_ && !broken_ && std::chrono::steady_clock::now() < until)
    std::this_thread::yield();
}

bool FolderReadAhead::Ready() {
  std::lock_guard<std::mutex> lock(mutex_);
  waiting_ = ahead_.empty() && !broken_ && !done_;
  return !waiting_;
}

std::unique_ptr<FolderListing> FolderReadAhead::Pop(const std::wstring& Dir) {
  std::unique_ptr<FolderListing> listing;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (broken_ || ahead_.empty()) return nullptr;
    if (ahead_.front()->Dir() != Dir) {
      // The search went another way: what lies ahead is of no use to it.
      broken_ = true;
      ahead_.clear();
      aheadBytes_ = 0;
      available_ = 0;
    } else {
      listing = std::move(ahead_.front());
      ahead_.pop_front();
      aheadBytes_ -= listing->Bytes();
      available_ = ahead_.size();
    }
  }
  taken_.notify_all();
  return listing;
}
