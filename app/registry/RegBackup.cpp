#include "app/registry/RegBackup.h"

#include "framework/Handles.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr const wchar_t* kRegHeader = L"Windows Registry Editor Version 5.00";
// The registry editor keeps hex lines within 80 columns; a continued line
// ends with "\" and the next begins with two spaces.
constexpr size_t kHexWrapColumn = 76;

bool HasLineBreakOrNul(const std::wstring& s) {
  return s.find_first_of(std::wstring(L"\r\n\0", 3)) != std::wstring::npos;
}

// Name and text inside double quotes: "\" and the quote are escaped.
std::wstring Quoted(const std::wstring& s) {
  std::wstring out;
  out.reserve(s.size() + 2);
  out += L'"';
  for (wchar_t c : s) {
    if (c == L'\\' || c == L'"') out += L'\\';
    out += c;
  }
  out += L'"';
  return out;
}

// The text of a REG_SZ when its bytes are exactly text + NUL and the text
// can stand between quotes on one line.
bool PlainStringOf(const std::vector<BYTE>& data, std::wstring& text) {
  if (data.size() < 2 || data.size() % 2 != 0) return false;
  const size_t count = data.size() / 2;
  std::wstring all(count, L'\0');
  std::memcpy(all.data(), data.data(), data.size());
  if (all.back() != L'\0') return false;
  all.pop_back();
  if (HasLineBreakOrNul(all)) return false;
  text = std::move(all);
  return true;
}

}  // namespace

std::wstring RegRootName(HKEY Root) {
  if (Root == HKEY_CLASSES_ROOT) return L"HKEY_CLASSES_ROOT";
  if (Root == HKEY_CURRENT_USER) return L"HKEY_CURRENT_USER";
  if (Root == HKEY_LOCAL_MACHINE) return L"HKEY_LOCAL_MACHINE";
  if (Root == HKEY_USERS) return L"HKEY_USERS";
  return std::wstring();
}

bool CanExportRegEntry(const TRegEntry& Entry) {
  if (RegRootName(Entry.Root).empty()) return false;
  if (HasLineBreakOrNul(Entry.Key)) return false;
  if (!Entry.IsValue) return true;
  if (HasLineBreakOrNul(Entry.ValueName)) return false;
  // An importer gives a string value without its terminating NUL one of its
  // own (reg.exe does), so such a value would not come back as it was.
  if ((Entry.Type == REG_SZ || Entry.Type == REG_EXPAND_SZ) && Entry.Data.size() >= 2) {
    const size_t last = (Entry.Data.size() / 2 - 1) * 2;
    if (Entry.Data[last] != 0 || Entry.Data[last + 1] != 0) return false;
  }
  return true;
}

std::vector<BYTE> RegSzBytes(const std::wstring& Text) {
  std::vector<BYTE> bytes((Text.size() + 1) * sizeof(wchar_t), 0);
  std::memcpy(bytes.data(), Text.data(), Text.size() * sizeof(wchar_t));
  return bytes;
}

std::wstring FormatRegValueData(DWORD Type, const std::vector<BYTE>& Data, size_t LineStart) {
  std::wstring text;
  if (Type == REG_SZ && PlainStringOf(Data, text)) return Quoted(text);

  // The format names the type in hexadecimal; plain binary is just "hex:".
  std::wstring out = L"hex:";
  if (Type != REG_BINARY) {
    wchar_t prefix[24];
    std::swprintf(prefix, 24, L"hex(%lx):", static_cast<unsigned long>(Type));
    out = prefix;
  }
  size_t column = LineStart + out.size();
  for (size_t i = 0; i < Data.size(); ++i) {
    wchar_t hex[4];
    std::swprintf(hex, 4, L"%02x", static_cast<unsigned>(Data[i]));
    out += hex;
    column += 2;
    if (i + 1 == Data.size()) break;
    out += L',';
    ++column;
    if (column >= kHexWrapColumn) {
      out += L"\\\r\n  ";
      column = 2;
    }
  }
  return out;
}

void TRegBackup::BeginRegExport() {
  lines_.clear();
  lines_.push_back(kRegHeader);
  lines_.emplace_back();
  lines_.emplace_back();
}

void TRegBackup::ExportRegEntry(const TRegEntry& Entry) {
  lines_.push_back(L"[" + RegRootName(Entry.Root) + Entry.Key + L"]");
  if (!Entry.IsValue) return;
  std::wstring line = Entry.ValueName.empty() ? std::wstring(L"@") : Quoted(Entry.ValueName);
  line += L'=';
  line += FormatRegValueData(Entry.Type, Entry.Data, line.size());
  lines_.push_back(std::move(line));
}

std::wstring TRegBackup::Text() const {
  std::wstring text;
  for (const std::wstring& line : lines_) {
    text += line;
    text += L"\r\n";
  }
  return text;
}

bool TRegBackup::SaveToFile(const std::wstring& FileName) const {
  // The temporary file goes into the target's folder so that the final
  // rename never crosses volumes.
  std::wstring folder = L".";
  const size_t slash = FileName.find_last_of(L"\\/");
  if (slash != std::wstring::npos) folder = FileName.substr(0, slash + 1);
  wchar_t temp[MAX_PATH + 16];
  if (!::GetTempFileNameW(folder.c_str(), L"reg", 0, temp)) return false;

  const std::wstring text = Text();
  bool written = false;
  {
    UniqueKernelHandle file(::CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
      static const BYTE bom[2] = {0xFF, 0xFE};
      DWORD done = 0;
      written = ::WriteFile(file.get(), bom, 2, &done, nullptr) && done == 2;
      const char* bytes = reinterpret_cast<const char*>(text.data());
      size_t left = text.size() * sizeof(wchar_t);
      while (written && left > 0) {
        const DWORD chunk = left > (1u << 20) ? (1u << 20) : static_cast<DWORD>(left);
        written = ::WriteFile(file.get(), bytes, chunk, &done, nullptr) && done == chunk;
        bytes += chunk;
        left -= chunk;
      }
      written = written && ::FlushFileBuffers(file.get());
    }
  }
  if (written &&
      ::MoveFileExW(temp, FileName.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  const DWORD error = ::GetLastError();
  ::DeleteFileW(temp);
  ::SetLastError(error ? error : ERROR_WRITE_FAULT);
  return false;
}
