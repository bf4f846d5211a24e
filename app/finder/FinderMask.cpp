// The file finder's mask matcher.
#include <windows.h>

#include "app/finder/Frame5.h"

namespace {

std::wstring Upper(std::wstring s) {
  if (!s.empty()) CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

}  // namespace

bool TFrame5::FileMaskEquate(const std::wstring& Name, const std::wstring& Mask) {
  if (Mask.empty()) return true;
  const std::wstring name = Upper(Name), mask = Upper(Mask);
  // Greedy match that, on a mismatch, lets the last star take one more
  // character and tries again: linear in practice, at worst the product of
  // the lengths, and it always ends.
  size_t n = 0, m = 0;
  size_t starMask = std::wstring::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && mask[m] == L'*') {
      starMask = m++;
      starName = n;
    } else if (m < mask.size() && (mask[m] == L'?' || mask[m] == name[n])) {
      ++n;
      ++m;
    } else if (starMask != std::wstring::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == L'*') ++m;
  return m == mask.size();
}
