#include "app/duplicates/DupContent.h"

#include <algorithm>
#include <cstring>

#include "app/duplicates/DupScanner.h"
#include "framework/Handles.h"

namespace {

// At most this many files of one set are open at a time; larger sets are
// compared against one representative in rounds.
constexpr size_t kMaxOpen = 64;
constexpr size_t kBlockBytes = 0x20000;
constexpr size_t kLockstepBudget = 8u << 20;  // buffer bytes for one set

struct TMember {
  int Index = 0;
  UniqueKernelHandle File;
  bool Bad = false;
  unsigned char* Buf = nullptr;  // this member's slot in the arena
};

struct TRefined {
  std::vector<std::vector<int>> Classes;  // two or more members each
  std::vector<int> Singles;               // readable, but equal to no other
};

class TContentSplitter {
 public:
  TContentSplitter(const std::vector<std::wstring>& paths, uint64_t size, const std::atomic<bool>& stop,
                   TDupContentStats* stats, TDupReadArena& arena)
      : paths_(paths), size_(size), stop_(stop), stats_(stats), arena_(arena), members_(paths.size()) {
    for (size_t i = 0; i < members_.size(); ++i) members_[i].Index = static_cast<int>(i);
  }

  std::vector<std::vector<int>> Run() {
    const size_t n = members_.size();
    if (n < 2) return {};
    std::vector<int> all(n);
    for (size_t i = 0; i < n; ++i) all[i] = static_cast<int>(i);
    if (size_ == 0) {  // nothing to read: every empty file equals every other
      result_.push_back(all);
      return result_;
    }
    const size_t head = static_cast<size_t>(std::min<uint64_t>(size_, kDupHeadBytes));
    const bool keepOpen = n <= kMaxOpen && size_ > head;
    unsigned char* heads = arena_.Get(n * head);
    for (TMember& m : members_) {
      if (stop_) return {};
      m.Buf = heads + static_cast<size_t>(m.Index) * head;
      if (!EnsureOpen(m, 0) || !ReadInto(m, head)) continue;
      if (!keepOpen) m.File.reset();
    }
    std::vector<std::vector<int>> headClasses = PartitionByBuffer(all, head);
    for (TMember& m : members_) m.Buf = nullptr;
    for (std::vector<int>& cls : headClasses) {
      if (stop_) break;
      if (size_ <= head) {
        result_.push_back(std::move(cls));
        continue;
      }
      if (cls.size() <= kMaxOpen) {
        TRefined r = Refine(cls, head);
        for (auto& c : r.Classes) result_.push_back(std::move(c));
      } else {
        RepresentativeRounds(cls, head);
      }
    }
    for (TMember& m : members_) m.File.reset();
    std::sort(result_.begin(), result_.end(),
              [](const std::vector<int>& a, const std::vector<int>& b) { return a.front() < b.front(); });
    return stop_ ? std::vector<std::vector<int>>{} : result_;
  }

 private:
  bool EnsureOpen(TMember& m, uint64_t offset) {
    if (m.Bad) return false;
    if (m.File) return true;
    m.File.reset(CreateFileW(DupLongPath(paths_[m.Index]).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (stats_) ++stats_->FilesOpened;
    if (!m.File) return Fail(m);
    if (offset != 0) {
      LARGE_INTEGER to;
      to.QuadPart = static_cast<LONGLONG>(offset);
      if (!SetFilePointerEx(m.File.get(), to, nullptr, FILE_BEGIN)) return Fail(m);
    }
    return true;
  }

  bool Fail(TMember& m) {
    m.Bad = true;
    m.File.reset();
    m.Buf = nullptr;
    return false;
  }

  // Reads exactly `count` bytes at the current position into m.Buf; a read
  // error or an early end marks the file unreadable.
  bool ReadInto(TMember& m, size_t count) {
    size_t got = 0;
    while (got < count) {
      DWORD chunk = 0;
      const DWORD want = static_cast<DWORD>(std::min<size_t>(count - got, 1u << 30));
      if (!ReadFile(m.File.get(), m.Buf + got, want, &chunk, nullptr) || chunk == 0)
        return Fail(m);
      got += chunk;
    }
    if (stats_) stats_->BytesRead += count;
    return true;
  }

  // Classes of equal m.Buf among the readable members of `set` (ascending
  // indexes inside a class); singles are left out.
  std::vector<std::vector<int>> PartitionByBuffer(const std::vector<int>& set, size_t len) {
    std::vector<int> good;
    for (int i : set)
      if (!members_[i].Bad) good.push_back(i);
    std::stable_sort(good.begin(), good.end(), [&](int a, int b) {
      return std::memcmp(members_[a].Buf, members_[b].Buf, len) < 0;
    });
    std::vector<std::vector<int>> classes;
    for (size_t s = 0; s < good.size();) {
      size_t e = s + 1;
      while (e < good.size() && std::memcmp(members_[good[s]].Buf, members_[good[e]].Buf, len) == 0)
        ++e;
      if (e - s >= 2) {
        std::vector<int> cls(good.begin() + s, good.begin() + e);
        std::sort(cls.begin(), cls.end());
        classes.push_back(std::move(cls));
      }
      s = e;
    }
    return classes;
  }

  // Reads the members of `set` (at most kMaxOpen, all positioned at or to
  // be opened at `offset`) block by block in lockstep, splitting the set
  // wherever blocks differ, until the end of the files. Closes every file.
  TRefined Refine(const std::vector<int>& set, uint64_t offset) {
    TRefined out;
    const size_t block = std::clamp<size_t>(kLockstepBudget / std::max<size_t>(set.size(), 1), 16u << 10,
                                            kBlockBytes);
    unsigned char* slots = arena_.Get(set.size() * block);
    for (size_t k = 0; k < set.size(); ++k) members_[set[k]].Buf = slots + k * block;
    std::vector<std::vector<int>> work{set};
    while (offset < size_ && !work.empty() && !stop_) {
      const size_t chunk = static_cast<size_t>(std::min<uint64_t>(block, size_ - offset));
      std::vector<std::vector<int>> next;
      for (const std::vector<int>& cls : work) {
        std::vector<std::vector<int>> parts;  // each starts with its representative
        for (int i : cls) {
          TMember& m = members_[i];
          if (!EnsureOpen(m, offset) || !ReadInto(m, chunk)) continue;
          bool placed = false;
          for (std::vector<int>& part : parts) {
            if (std::memcmp(members_[part.front()].Buf, m.Buf, chunk) == 0) {
              part.push_back(i);
              placed = true;
              break;
            }
          }
          if (!placed) parts.push_back({i});
        }
        for (std::vector<int>& part : parts) {
          if (part.size() >= 2) {
            next.push_back(std::move(part));
          } else {
            out.Singles.push_back(part.front());
            Release(members_[part.front()]);
          }
        }
      }
      work = std::move(next);
      offset += chunk;
    }
    for (std::vector<int>& cls : work) {
      for (int i : cls) Release(members_[i]);
      if (!stop_) out.Classes.push_back(std::move(cls));
    }
    return out;
  }

  void Release(TMember& m) {
    m.File.reset();
    m.Buf = nullptr;
  }

  // For sets too large to keep open: the first file is compared with the
  // others in batches; those equal to it form its class, the rest start the
  // next round with their own first file as representative.
  void RepresentativeRounds(std::vector<int> remaining, uint64_t offset) {
    for (TMember& m : members_) m.File.reset();
    while (remaining.size() >= 2 && !stop_) {
      const int rep = remaining.front();
      std::vector<int> same{rep};
      std::vector<int> rest;
      for (size_t s = 1; s < remaining.size() && !stop_; s += kMaxOpen - 1) {
        const size_t e = std::min(remaining.size(), s + kMaxOpen - 1);
        std::vector<int> batch{rep};
        batch.insert(batch.end(), remaining.begin() + s, remaining.begin() + e);
        if (members_[rep].Bad) {
          for (size_t k = s; k < e; ++k) rest.push_back(remaining[k]);
          continue;
        }
        TRefined r = Refine(batch, offset);
        for (auto& cls : r.Classes) {
          const bool withRep = std::find(cls.begin(), cls.end(), rep) != cls.end();
          for (int i : cls)
            if (i != rep) (withRep ? same : rest).push_back(i);
        }
        for (int i : r.Singles)
          if (i != rep) rest.push_back(i);
      }
      if (same.size() >= 2) {
        std::sort(same.begin(), same.end());
        result_.push_back(std::move(same));
      }
      std::sort(rest.begin(), rest.end());
      remaining = std::move(rest);
    }
  }

  const std::vector<std::wstring>& paths_;
  const uint64_t size_;
  const std::atomic<bool>& stop_;
  TDupContentStats* stats_;
  TDupReadArena& arena_;
  std::vector<TMember> members_;
  std::vector<std::vector<int>> result_;
};

}  // namespace

unsigned char* TDupReadArena::Get(size_t bytes) {
  if (bytes > size_) {
    data_.reset();  // the old contents are not kept: no copy, no zeroing
    data_.reset(new unsigned char[bytes]);
    size_ = bytes;
  }
  return data_.get();
}

std::vector<std::vector<int>> DupSplitByContent(const std::vector<std::wstring>& paths, uint64_t size,
                                                const std::atomic<bool>& stop, TDupContentStats* stats,
                                                TDupReadArena* arena) {
  TDupReadArena own;
  TContentSplitter splitter(paths, size, stop, stats, arena ? *arena : own);
  return splitter.Run();
}
