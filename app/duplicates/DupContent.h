// Content comparison for the duplicate finder: splits files of one size into
// classes of byte-identical content. Every file is opened once and read once
// (a head first, the rest only while the heads agree), all files of a set in
// lockstep; equality is always decided on the bytes themselves, never on a
// digest. A file that cannot be opened or comes up short equals nothing.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TDupContentStats {
  uint64_t FilesOpened = 0;
  uint64_t BytesRead = 0;
};

// Read buffers kept from one DupSplitByContent call to the next, so that a
// scan allocates them a few times instead of once or twice per file.
class TDupReadArena {
 public:
  // At least `bytes` bytes, contents undefined; earlier pointers are void.
  unsigned char* Get(size_t bytes);

 private:
  std::unique_ptr<unsigned char[]> data_;
  size_t size_ = 0;
};

// `paths` all name files of `size` bytes. Returns the classes of two or
// more files whose first `size` bytes are equal, each as ascending indexes
// into `paths`, the classes in the order of their first index. A set `stop`
// ends the work early (the result is then incomplete). Without an `arena`
// the call uses one of its own.
std::vector<std::vector<int>> DupSplitByContent(const std::vector<std::wstring>& paths, uint64_t size,
                                                const std::atomic<bool>& stop,
                                                TDupContentStats* stats = nullptr,
                                                TDupReadArena* arena = nullptr);

// Bytes read from the start of every file before whole files are compared.
constexpr uint32_t kDupHeadBytes = 4096;
