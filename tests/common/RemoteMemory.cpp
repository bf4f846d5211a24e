#include "tests/common/RemoteMemory.h"

namespace testenv {

RemoteMemory::RemoteMemory(DWORD pid, size_t size) {
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
  if (process_) memory_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteMemory::~RemoteMemory() {
  if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
  if (process_) CloseHandle(process_);
}

bool RemoteMemory::Write(size_t offset, const void* data, size_t size) const {
  SIZE_T n = 0;
  return memory_ && WriteProcessMemory(process_, At(offset), data, size, &n) && n == size;
}

bool RemoteMemory::Read(size_t offset, void* data, size_t size) const {
  SIZE_T n = 0;
  return memory_ && ReadProcessMemory(process_, At(offset), data, size, &n) && n == size;
}

}  // namespace testenv
