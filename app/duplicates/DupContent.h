// Content comparison for the duplicate finder: splits files of one size into
// classes of byte-identical content. Every file is opened once and read once
// (a head first, the rest only while the heads agree), all files of a set in
// lockstep; equality is always decided on the bytes themselves, never on a
// digest. A file that cannot be opened or comes up short equals nothing.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

struct TDupContentStats {
  uint64_t FilesOpened = 0;
  uint64_t BytesRead = 0;
};

// `paths` all name files of `size` bytes. Returns the classes of two or
// more files whose first `size` bytes are equal, each as ascending indexes
// into `paths`, the classes in the order of their first index. A set `stop`
// ends the work early (the result is then incomplete).
std::vector<std::vector<int>> DupSplitByContent(const std::vector<std::wstring>& paths, uint64_t size,
                                                const std::atomic<bool>& stop,
                                                TDupContentStats* stats = nullptr);

// Bytes read from the start of every file before whole files are compared.
constexpr uint32_t kDupHeadBytes = 4096;
