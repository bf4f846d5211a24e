#pragma once
// Memory lent in another process, so that messages whose lParam points to a
// structure (list-view, tree-view and tab-control queries) can be sent to
// that process's windows from a test.
#include <windows.h>

#include <cstddef>

namespace testenv {

class RemoteMemory {
 public:
  RemoteMemory(DWORD pid, size_t size = 4096);
  ~RemoteMemory();
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  bool Ready() const { return memory_ != nullptr; }
  // The lent block's address in the other process, `offset` bytes in.
  void* At(size_t offset = 0) const { return static_cast<char*>(memory_) + offset; }
  bool Write(size_t offset, const void* data, size_t size) const;
  bool Read(size_t offset, void* data, size_t size) const;
  // Writes `value` at the start, sends the message with the block as
  // lParam, reads the block back into `value`; the message's result.
  template <class T>
  LRESULT Send(HWND wnd, UINT msg, WPARAM wParam, T& value) const {
    Write(0, &value, sizeof value);
    DWORD_PTR result = 0;
    SendMessageTimeoutW(wnd, msg, wParam, reinterpret_cast<LPARAM>(memory_), SMTO_NORMAL, 10000, &result);
    Read(0, &value, sizeof value);
    return static_cast<LRESULT>(result);
  }

 private:
  HANDLE process_ = nullptr;
  void* memory_ = nullptr;
};

}  // namespace testenv
