#include "framework/SysUtils.h"

#include <shellapi.h>

#include <cstdarg>
#include <cwchar>
#include <vector>

// ---------------------------------------------------------------------------
// Exceptions
// ---------------------------------------------------------------------------

Exception::Exception(std::wstring message) { SetMessage(std::move(message)); }

void Exception::SetMessage(std::wstring message) {
  message_ = std::move(message);
  utf8_ = WideToUtf8(message_);
}

std::wstring SysErrorMessage(DWORD code) {
  wchar_t* buf = nullptr;
  DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
  std::wstring s;
  if (n && buf) s.assign(buf, n);
  if (buf) ::LocalFree(buf);
  while (!s.empty() && (s.back() == L'\n' || s.back() == L'\r' || s.back() == L' ' || s.back() == L'.'))
    s.pop_back();
  return s;
}

void RaiseLastOSError() { RaiseLastOSError(::GetLastError()); }

void RaiseLastOSError(DWORD code) {
  if (code == 0) throw EOSError(L"A call to an OS function failed", code);
  throw EOSError(Format(L"System Error.  Code: %lu.\r\n%ls", static_cast<unsigned long>(code),
                        SysErrorMessage(code).c_str()),
                 code);
}

std::wstring Format(const wchar_t* fmt, ...) {
  std::vector<wchar_t> buf(256);
  for (;;) {
    va_list ap;
    va_start(ap, fmt);
    int n = std::vswprintf(buf.data(), buf.size(), fmt, ap);
    va_end(ap);
    if (n >= 0 && static_cast<size_t>(n) < buf.size()) return std::wstring(buf.data(), n);
    if (buf.size() > (1u << 24)) return std::wstring();  // malformed format
    buf.resize(buf.size() * 4);
  }
}

// ---------------------------------------------------------------------------
// Numbers
// ---------------------------------------------------------------------------

std::wstring IntToStr(long long value) { return std::to_wstring(value); }

std::wstring IntToHex(unsigned long long value, int digits) {
  static const wchar_t hex[] = L"0123456789ABCDEF";
  std::wstring s;
  do {
    s.insert(s.begin(), hex[value & 0xF]);
    value >>= 4;
  } while (value);
  while (static_cast<int>(s.size()) < digits) s.insert(s.begin(), L'0');
  return s;
}

bool TryStrToInt(const std::wstring& s, int& value) {
  size_t i = 0;
  while (i < s.size() && s[i] == L' ') ++i;
  bool neg = false;
  if (i < s.size() && (s[i] == L'-' || s[i] == L'+')) {
    neg = s[i] == L'-';
    ++i;
  }
  int base = 10;
  if (i < s.size() && s[i] == L'$') {
    base = 16;
    ++i;
  } else if (i < s.size() && (s[i] == L'x' || s[i] == L'X')) {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == L'0' && (s[i + 1] == L'x' || s[i + 1] == L'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  unsigned long long acc = 0;
  for (; i < s.size(); ++i) {
    wchar_t c = s[i];
    int d;
    if (c >= L'0' && c <= L'9') d = c - L'0';
    else if (base == 16 && c >= L'a' && c <= L'f') d = c - L'a' + 10;
    else if (base == 16 && c >= L'A' && c <= L'F') d = c - L'A' + 10;
    else return false;
    acc = acc * base + d;
    if (acc > 0xFFFFFFFFull) return false;
  }
  if (base == 16) {
    // Hexadecimal spells the 32-bit pattern: $FFFFFFFF is -1.
    uint32_t bits = static_cast<uint32_t>(acc);
    value = static_cast<int>(neg ? (0u - bits) : bits);
    return true;
  }
  if (neg) {
    if (acc > 0x80000000ull) return false;
    value = static_cast<int>(-static_cast<long long>(acc));
  } else {
    if (acc > 0x7FFFFFFFull) return false;
    value = static_cast<int>(acc);
  }
  return true;
}

int StrToInt(const std::wstring& s) {
  int v = 0;
  if (!TryStrToInt(s, v)) throw EConvertError(L"'" + s + L"' is not a valid integer value");
  return v;
}

int StrToIntDef(const std::wstring& s, int def) {
  int v = 0;
  return TryStrToInt(s, v) ? v : def;
}

// ---------------------------------------------------------------------------
// Text
// ---------------------------------------------------------------------------

std::wstring UpperCase(const std::wstring& s) {
  std::wstring r = s;
  if (!r.empty()) ::CharUpperBuffW(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

std::wstring LowerCase(const std::wstring& s) {
  std::wstring r = s;
  if (!r.empty()) ::CharLowerBuffW(r.data(), static_cast<DWORD>(r.size()));
  return r;
}

std::wstring AnsiUpperCase(const std::wstring& s) { return UpperCase(s); }
std::wstring AnsiLowerCase(const std::wstring& s) { return LowerCase(s); }

std::wstring Trim(const std::wstring& s) { return std::wstring(TrimView(s)); }

std::wstring_view TrimView(std::wstring_view s) {
  while (!s.empty() && s.front() <= L' ') s.remove_prefix(1);
  while (!s.empty() && s.back() <= L' ') s.remove_suffix(1);
  return s;
}

std::wstring TrimLeft(const std::wstring& s) {
  size_t i = 0;
  while (i < s.size() && s[i] <= L' ') ++i;
  return s.substr(i);
}

std::wstring TrimRight(const std::wstring& s) {
  size_t n = s.size();
  while (n > 0 && s[n - 1] <= L' ') --n;
  return s.substr(0, n);
}

static int CompareWithFlags(const std::wstring& a, const std::wstring& b, DWORD flags) {
  int r = ::CompareStringW(LOCALE_USER_DEFAULT, flags, a.data(), static_cast<int>(a.size()),
                           b.data(), static_cast<int>(b.size()));
  if (r == 0) return CompareStr(a, b);  // cannot happen for valid input
  return r - CSTR_EQUAL;
}

int AnsiCompareText(const std::wstring& a, const std::wstring& b) {
  return CompareWithFlags(a, b, NORM_IGNORECASE);
}

int AnsiCompareStr(const std::wstring& a, const std::wstring& b) { return CompareWithFlags(a, b, 0); }

bool SameText(const std::wstring& a, const std::wstring& b) { return AnsiCompareText(a, b) == 0; }

int CompareStr(const std::wstring& a, const std::wstring& b) {
  int c = a.compare(b);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CompareText(const std::wstring& a, const std::wstring& b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    wchar_t x = a[i], y = b[i];
    if (x >= L'a' && x <= L'z') x = wchar_t(x - 32);
    if (y >= L'a' && y <= L'z') y = wchar_t(y - 32);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::wstring AnsiToWide(const std::string& s, UINT codePage) {
  if (s.empty()) return std::wstring();
  int n = ::MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring r(n, L'\0');
  ::MultiByteToWideChar(codePage, 0, s.data(), static_cast<int>(s.size()), r.data(), n);
  return r;
}

std::string WideToAnsi(const std::wstring& s, UINT codePage) {
  if (s.empty()) return std::string();
  int n = ::WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                nullptr, nullptr);
  std::string r(n, '\0');
  ::WideCharToMultiByte(codePage, 0, s.data(), static_cast<int>(s.size()), r.data(), n, nullptr,
                        nullptr);
  return r;
}

std::wstring Utf8ToWide(const std::string& s) { return AnsiToWide(s, CP_UTF8); }
std::string WideToUtf8(const std::wstring& s) { return WideToAnsi(s, CP_UTF8); }

// ---------------------------------------------------------------------------
// Paths and files
// ---------------------------------------------------------------------------

static size_t LastDelimiter(const std::wstring& s, const wchar_t* delims) {
  size_t p = s.find_last_of(delims);
  return p;
}

std::wstring ExtractFilePath(const std::wstring& fileName) {
  size_t p = LastDelimiter(fileName, L"\\:");
  return p == std::wstring::npos ? std::wstring() : fileName.substr(0, p + 1);
}

std::wstring ExtractFileDir(const std::wstring& fileName) {
  size_t p = LastDelimiter(fileName, L"\\:");
  if (p == std::wstring::npos) return std::wstring();
  if (p > 0 && fileName[p] == L'\\' && fileName[p - 1] != L'\\' && fileName[p - 1] != L':')
    return fileName.substr(0, p);
  return fileName.substr(0, p + 1);
}

std::wstring ExtractFileName(const std::wstring& fileName) {
  size_t p = LastDelimiter(fileName, L"\\:");
  return p == std::wstring::npos ? fileName : fileName.substr(p + 1);
}

std::wstring ExtractFileDrive(const std::wstring& fileName) {
  if (fileName.size() >= 2 && fileName[1] == L':') return fileName.substr(0, 2);
  if (fileName.size() >= 2 && fileName[0] == L'\\' && fileName[1] == L'\\') {
    // \\server\share
    size_t p = fileName.find(L'\\', 2);
    if (p == std::wstring::npos) return fileName;
    size_t q = fileName.find(L'\\', p + 1);
    return q == std::wstring::npos ? fileName : fileName.substr(0, q);
  }
  return std::wstring();
}

std::wstring ExtractFileExt(const std::wstring& fileName) {
  size_t p = LastDelimiter(fileName, L".\\:");
  if (p != std::wstring::npos && fileName[p] == L'.') return fileName.substr(p);
  return std::wstring();
}

std::wstring ChangeFileExt(const std::wstring& fileName, const std::wstring& ext) {
  size_t p = LastDelimiter(fileName, L".\\:");
  if (p == std::wstring::npos || fileName[p] != L'.') return fileName + ext;
  return fileName.substr(0, p) + ext;
}

std::wstring IncludeTrailingPathDelimiter(const std::wstring& s) {
  if (!s.empty() && s.back() == L'\\') return s;
  return s + L'\\';
}

std::wstring ExcludeTrailingPathDelimiter(const std::wstring& s) {
  if (!s.empty() && s.back() == L'\\') return s.substr(0, s.size() - 1);
  return s;
}

std::wstring ExpandFileName(const std::wstring& fileName) {
  if (fileName.empty()) return std::wstring();
  DWORD n = ::GetFullPathNameW(fileName.c_str(), 0, nullptr, nullptr);
  if (n == 0) return fileName;
  std::wstring r(n, L'\0');
  n = ::GetFullPathNameW(fileName.c_str(), n, r.data(), nullptr);
  r.resize(n);
  return r;
}

bool FileExists(const std::wstring& fileName) {
  DWORD a = ::GetFileAttributesW(fileName.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::wstring& dir) {
  DWORD a = ::GetFileAttributesW(dir.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool ForceDirectories(const std::wstring& dirIn) {
  std::wstring dir = ExcludeTrailingPathDelimiter(dirIn);
  if (dir.empty()) return false;
  if (dir.size() < 3 && dir.size() >= 2 && dir[1] == L':') return DirectoryExists(dir + L"\\");
  if (DirectoryExists(dir)) return true;
  std::wstring parent = ExtractFilePath(dir);
  if (!parent.empty() && parent != dir && parent.size() < dir.size() && !ForceDirectories(parent))
    return false;
  return ::CreateDirectoryW(dir.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS;
}

std::wstring GetCurrentDir() {
  DWORD n = ::GetCurrentDirectoryW(0, nullptr);
  std::wstring r(n, L'\0');
  n = ::GetCurrentDirectoryW(n, r.data());
  r.resize(n);
  return r;
}

std::wstring ApplicationExeName() {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n < buf.size()) {
      buf.resize(n);
      return buf;
    }
    buf.resize(buf.size() * 2);
  }
}

static std::vector<std::wstring> CommandLineArgs() {
  std::vector<std::wstring> args;
  int argc = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
  if (argv) {
    for (int i = 0; i < argc; ++i) args.emplace_back(argv[i]);
    ::LocalFree(argv);
  }
  return args;
}

int ParamCount() {
  int n = static_cast<int>(CommandLineArgs().size()) - 1;
  return n < 0 ? 0 : n;
}

std::wstring ParamStr(int index) {
  if (index == 0) return ApplicationExeName();
  auto args = CommandLineArgs();
  if (index < 0 || index >= static_cast<int>(args.size())) return std::wstring();
  return args[index];
}
