#include "framework/FileBytes.h"

#include "framework/Handles.h"
#include "framework/SysUtils.h"

bool TryReadFileBytes(const std::wstring& fileName, DWORD shareMode, std::string& bytes, DWORD& error) {
  bytes.clear();
  UniqueKernelHandle f(::CreateFileW(fileName.c_str(), GENERIC_READ, shareMode, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) {
    error = ::GetLastError();
    return false;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(f.get(), &size) || size.QuadPart > 0x7FFFFFFF) {
    error = 0;
    return false;
  }
  bytes.resize(static_cast<size_t>(size.QuadPart));
  // A read may return less than asked: go on until the file ends.
  size_t got = 0;
  while (got < bytes.size()) {
    DWORD n = 0;
    if (!::ReadFile(f.get(), bytes.data() + got, static_cast<DWORD>(bytes.size() - got), &n, nullptr)) {
      error = ::GetLastError();
      bytes.clear();
      return false;
    }
    if (n == 0) break;
    got += n;
  }
  bytes.resize(got);
  return true;
}

std::string ReadFileBytes(const std::wstring& fileName, DWORD shareMode) {
  std::string bytes;
  DWORD error = 0;
  if (!TryReadFileBytes(fileName, shareMode, bytes, error))
    throw EFOpenError(L"Cannot open file \"" + fileName + L"\"." + (error ? L" " + SysErrorMessage(error) : L""));
  return bytes;
}

void WriteFileBytes(const std::wstring& fileName, const std::string& bytes) {
  UniqueKernelHandle f(::CreateFileW(fileName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) throw EFCreateError(L"Cannot create file \"" + fileName + L"\". " + SysErrorMessage(::GetLastError()));
  DWORD written = 0;
  if (!bytes.empty() &&
      (!::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
       written != bytes.size()))
    throw EFCreateError(L"Cannot write file \"" + fileName + L"\". " + SysErrorMessage(::GetLastError()));
}
