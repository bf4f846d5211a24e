// The number of GDI objects this process holds, read from the GDI handle
// table the PEB points to (GetGuiResources is a stub under Wine).
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>

namespace testenv {

inline int GdiObjectCount() {
  GdiFlush();
  // The PEB's address sits at gs:0x60 of an x64 thread.
  uint8_t* peb = nullptr;
  asm volatile("movq %%gs:0x60, %0" : "=r"(peb));
  auto* table = *reinterpret_cast<uint8_t**>(peb + 0xF8);
  if (!table) return -1;
  constexpr int kEntries = 0x10000;
  constexpr int kEntrySize = 24;  // object, owner, unique, type, flags, user pointer
  int n = 0;
  for (int i = 0; i < kEntries; ++i) n += table[i * kEntrySize + 14] != 0;
  return n;
}

// Objects by type byte, for finding what a leak consists of.
inline std::map<int, int> GdiObjectTypes() {
  std::map<int, int> types;
  uint8_t* peb = nullptr;
  asm volatile("movq %%gs:0x60, %0" : "=r"(peb));
  auto* table = *reinterpret_cast<uint8_t**>(peb + 0xF8);
  for (int i = 0; table && i < 0x10000; ++i)
    if (int t = table[i * 24 + 14]) ++types[t];
  return types;
}

}  // namespace testenv
