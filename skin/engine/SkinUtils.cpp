#include "skin/engine/SkinUtils.h"

#include <cmath>
#include <cstddef>

#include "skin/engine/MessageBoxes.h"

bool RectInRect(const TRect& outer, const TRect& inner) {
  auto inside = [&](int x, int y) {
    return x >= outer.left && x <= outer.right && y >= outer.top && y <= outer.bottom;
  };
  return inside(inner.left, inner.top) && inside(inner.right, inner.bottom);
}

int MixPercent(int a, int b) {
  return RoundHalfEven(b + (100 - b) * a / 100.0);
}

namespace {

bool IsDelim(wchar_t c, std::wstring_view delims) {
  return delims.find(c) != std::wstring_view::npos;
}

// Start (0-based) and length of the N-th word; false when there is none.
bool FindWord(int n, std::wstring_view s, std::wstring_view delims, size_t& start,
              size_t& len) {
  if (n < 1) return false;
  int count = 0;
  size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && IsDelim(s[i], delims)) ++i;
    if (i >= s.size()) break;
    size_t j = i;
    while (j < s.size() && !IsDelim(s[j], delims)) ++j;
    if (++count == n) {
      start = i;
      len = j - i;
      return true;
    }
    i = j;
  }
  return false;
}

}  // namespace

int WordCount(std::wstring_view s, std::wstring_view delims) {
  int count = 0;
  bool inWord = false;
  for (wchar_t c : s) {
    if (IsDelim(c, delims)) {
      inWord = false;
    } else if (!inWord) {
      inWord = true;
      ++count;
    }
  }
  return count;
}

int WordPosition(int n, std::wstring_view s, std::wstring_view delims) {
  size_t start = 0, len = 0;
  return FindWord(n, s, delims, start, len) ? static_cast<int>(start) + 1 : 0;
}

std::wstring ExtractWord(int n, std::wstring_view s, std::wstring_view delims) {
  size_t start = 0, len = 0;
  if (!FindWord(n, s, delims, start, len)) return std::wstring();
  return std::wstring(s.substr(start, len));
}

std::wstring DelChars(std::wstring_view s, wchar_t chr) {
  std::wstring out;
  out.reserve(s.size());
  for (wchar_t c : s)
    if (c != chr) out.push_back(c);
  return out;
}

std::wstring GetAppPath() {
  std::wstring name(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (n == 0) return std::wstring();
    if (n < name.size()) {
      name.resize(n);
      break;
    }
    name.resize(name.size() * 2);
  }
  size_t pos = name.find_last_of(L"\\/");
  return pos == std::wstring::npos ? std::wstring() : name.substr(0, pos + 1);
}

std::wstring NormalDir(const std::wstring& dir) {
  if (dir.empty()) return dir;
  if (dir.back() == L'\\') return dir;
  if (dir.back() == L'/') {
    std::wstring out = dir;
    out.back() = L'\\';
    return out;
  }
  if (dir.size() == 1) return dir + L":\\";
  return dir + L"\\";
}

int GetCaptionFontSize() {
  // The size without the padded-border field is understood by every version.
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0)) return 0;
  return ncm.lfCaptionFont.lfHeight;
}

bool IsWinXPOrLater() {
  OSVERSIONINFOW vi{};
  vi.dwOSVersionInfoSize = sizeof(vi);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExW(&vi)) return false;
#pragma GCC diagnostic pop
  return vi.dwMajorVersion > 5 || (vi.dwMajorVersion == 5 && vi.dwMinorVersion >= 1);
}

void ShowWarning(const std::wstring& msg) {
  SkinnedMessageDlg(msg, mtWarning, MsgDlgButtons({mbOK}), 0);
}

void ShowError(const std::wstring& msg) {
  SkinnedMessageDlg(msg, mtError, MsgDlgButtons({mbOK}), 0);
}
