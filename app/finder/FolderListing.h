// One folder's entries as the finder's search walks them, and the thread
// that lists the folders of a search path ahead of the search.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "framework/Handles.h"

// The entries of one folder in the order the file system returned them,
// with what the search needs of each: attributes, size, time and name. A
// trimmed listing holds only the folders the search enters and the files
// it may list; each entry keeps its place in the whole listing.
class FolderListing {
 public:
  struct Entry {
    DWORD Attributes;
    DWORD NameAt;  // offset of the name in the listing's name buffer
    DWORD Index;   // place in the folder's whole listing
    FILETIME LastWrite;
    unsigned long long Size;
  };
  using FileFilter = std::function<bool(const wchar_t* name)>;

  // Lists Dir (ending with "\") with the pattern "*.*"; a folder that cannot
  // be listed gives an empty listing. `stop`, when given and set, ends the
  // listing early.
  static std::unique_ptr<FolderListing> Read(const std::wstring& Dir, const std::atomic<bool>* stop = nullptr);
  // The same, trimmed to the folders the search enters and the files
  // `keepFile` accepts, its buffers no larger than what they hold.
  static std::unique_ptr<FolderListing> ReadTrimmed(const std::wstring& Dir, const FileFilter& keepFile,
                                                    const std::atomic<bool>* stop = nullptr);

  const std::wstring& Dir() const { return dir_; }
  size_t Count() const { return entries_.size(); }
  const Entry& At(size_t i) const { return entries_[i]; }
  const wchar_t* Name(size_t i) const { return names_.data() + entries_[i].NameAt; }
  // Memory the listing holds, for the read-ahead's limit.
  size_t Bytes() const {
    return sizeof(*this) + (dir_.capacity() + names_.capacity()) * sizeof(wchar_t) + entries_.capacity() * sizeof(Entry);
  }
  // Whether entry i is a folder the search enters (not ".", "..", or a link
  // or junction, which leads elsewhere, possibly back up the same tree).
  bool Enterable(size_t i) const;
  // Entries were left out (ReadTrimmed).
  bool Trimmed() const { return trimmed_; }

 private:
  static std::unique_ptr<FolderListing> ReadKept(const std::wstring& Dir, const FileFilter* keepFile,
                                                 const std::atomic<bool>* stop);

  bool trimmed_ = false;
  std::wstring dir_;
  std::vector<Entry> entries_;
  std::wstring names_;  // every name followed by its terminating zero
};

// Goes through a folder's listing one entry at hand at a time, as the
// file system listed them: the entries a trimmed listing left out are
// still entries at hand, each with nothing to do.
class ListingCursor {
 public:
  static constexpr size_t kLeftOut = static_cast<size_t>(-1);
  explicit ListingCursor(const FolderListing& listing) : listing_(&listing) {}
  // No kept entry is left (entries left out after the last one do not count).
  bool AtEnd() const { return kept_ >= listing_->Count(); }
  // The entry at hand as an index into the listing, or kLeftOut; then
  // moves on to the next one.
  size_t Next();
  // Goes on at the same place in a whole listing of the same folder.
  void Continue(const FolderListing& whole);

 private:
  const FolderListing* listing_;
  size_t kept_ = 0;  // the next kept entry
  size_t at_ = 0;    // the entry at hand, counted in the whole listing
};

// "." or "..".
bool IsDotEntry(const wchar_t* name);
// A folder the search enters and counts.
bool EnterableFolder(DWORD attributes, const wchar_t* name);

// Lists the folders of one or more trees on a thread of its own, in the
// order the search enters them (a folder, then each of its subfolders in
// listing order, depth first), for the folders whose listings the count
// did not keep. The search then takes the listings instead of reading the
// folders itself, beside its own work.
class FolderReadAhead {
 public:
  // Listings read but not yet taken hold at most about maxAheadBytes; the
  // walk waits for the search beyond that (a whole drive can hold millions
  // of files).
  static constexpr size_t kMaxAheadBytes = 64u << 20;
  explicit FolderReadAhead(const std::wstring& root, size_t maxAheadBytes = kMaxAheadBytes);
  // Each root's tree in turn, in the given order.
  explicit FolderReadAhead(std::vector<std::wstring> roots, size_t maxAheadBytes = kMaxAheadBytes);
  // A search that ends early stops the walk too.
  ~FolderReadAhead();
  FolderReadAhead(const FolderReadAhead&) = delete;
  FolderReadAhead& operator=(const FolderReadAhead&) = delete;

  // The next listing when it is the one of Dir; waits for it, running
  // `whileWaiting` whenever messages arrive. Null when the walk has no such
  // listing (it took another way, or it was stopped): the caller then lists
  // the folder itself, and this read-ahead is of no further use.
  template <typename Wait>
  std::unique_ptr<FolderListing> Take(const std::wstring& Dir, Wait&& whileWaiting) {
    SpinWhileBusy();
    while (!Ready()) whileWaiting(event_.get());
    return Pop(Dir);
  }

  // The whole tree has been listed.
  bool Done() const { return done_; }

 private:
  void Walk(const std::wstring& dir);
  void Push(std::unique_ptr<FolderListing> listing);
  // A folder takes well under a millisecond to list: the search waits
  // that long for it without the system, which costs less than being woken.
  void SpinWhileBusy() const;
  bool Ready();
  std::unique_ptr<FolderListing> Pop(const std::wstring& Dir);

  const size_t maxAheadBytes_;
  std::mutex mutex_;
  std::condition_variable taken_;
  std::deque<std::unique_ptr<FolderListing>> ahead_;
  size_t aheadBytes_ = 0;
  // A listing was asked for out of order: the walk is of no further use
  // and ends.
  std::atomic<bool> broken_{false};
  bool waiting_ = false;      // the search found nothing ready and waits
  UniqueKernelHandle event_;  // set for a waiting search when a listing arrives, and when the walk ends
  std::atomic<bool> stop_{false}, done_{false};
  std::atomic<size_t> available_{0};  // ahead_.size(), readable without the lock
  std::thread thread_;  // last: starts once the rest exists
};
