#include "app/cleanup/UrlCache.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

namespace {

// The cache entry structure is followed by its strings, so each entry needs
// a buffer of the size the first call reports. The buffer is kept 8-byte
// aligned for the structure's pointers and 64-bit fields.
class EntryBuffer {
 public:
  INTERNET_CACHE_ENTRY_INFOW* Get() { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(data_.data()); }
  DWORD Size() const { return static_cast<DWORD>(data_.size() * sizeof(unsigned long long)); }
  void Resize(DWORD bytes) {
    data_.assign((bytes + sizeof(unsigned long long) - 1) / sizeof(unsigned long long), 0);
    if (bytes) Get()->dwStructSize = sizeof(INTERNET_CACHE_ENTRY_INFOW);
  }

 private:
  std::vector<unsigned long long> data_;
};

struct CacheFind {
  HANDLE handle = nullptr;
  ~CacheFind() {
    if (handle) ::FindCloseUrlCache(handle);
  }
};

}  // namespace

int ForEachUrlCacheEntry(const std::function<void(const wchar_t* url)>& visit) {
  EntryBuffer buffer;
  DWORD size = 0;
  ::FindFirstUrlCacheEntryW(nullptr, nullptr, &size);
  if (size == 0) return 0;
  CacheFind find;
  for (;;) {
    buffer.Resize(size);
    DWORD got = buffer.Size();
    find.handle = ::FindFirstUrlCacheEntryW(nullptr, buffer.Get(), &got);
    if (find.handle || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || got <= size) break;
    size = got;  // the first entry grew between the two calls
  }
  if (!find.handle) return 0;
  int count = 0;
  for (;;) {
    ++count;
    if (visit) visit(buffer.Get()->lpszSourceUrlName ? buffer.Get()->lpszSourceUrlName : L"");
    size = 0;
    if (!::FindNextUrlCacheEntryW(find.handle, nullptr, &size) &&
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
      break;  // no further entry
    bool ok = false;
    for (;;) {
      buffer.Resize(size);
      DWORD got = buffer.Size();
      ok = ::FindNextUrlCacheEntryW(find.handle, buffer.Get(), &got) != FALSE;
      if (ok || ::GetLastError() != ERROR_INSUFFICIENT_BUFFER || got <= size) break;
      size = got;
    }
    if (!ok) break;
  }
  return count;
}
