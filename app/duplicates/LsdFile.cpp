#include "app/duplicates/LsdFile.h"

#include <cstring>

#include "app/duplicates/DupScanner.h"
#include "framework/Handles.h"

namespace {

constexpr size_t kNameImageBytes = 1 + kLsdNameBytes + 3;  // length, characters, alignment

void PutInt32(std::vector<uint8_t>& out, uint32_t v) {
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}

int32_t GetInt32(const uint8_t* p) {
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
}

void PutNameImage(std::vector<uint8_t>& out, const std::string& lsdImage, const std::wstring& name) {
  if (lsdImage.size() == kNameImageBytes) {
    out.insert(out.end(), lsdImage.begin(), lsdImage.end());
    return;
  }
  const std::string ansi = LsdAnsiName(name);
  out.push_back(static_cast<uint8_t>(ansi.size()));
  out.insert(out.end(), ansi.begin(), ansi.end());
  out.insert(out.end(), kLsdNameBytes - ansi.size() + 3, uint8_t{0});
}

// Name bytes at p (length byte first); false when the length is out of range.
bool GetName(const uint8_t* p, bool allowEmpty, std::wstring& name, std::string& image) {
  const size_t len = p[0];
  if (len > kLsdNameBytes || (len == 0 && !allowEmpty)) return false;
  image.assign(reinterpret_cast<const char*>(p), kNameImageBytes);
  name.clear();
  if (len > 0) {
    const int wlen = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(p + 1), static_cast<int>(len),
                                         nullptr, 0);
    name.resize(static_cast<size_t>(wlen > 0 ? wlen : 0));
    if (wlen > 0)
      MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(p + 1), static_cast<int>(len), name.data(), wlen);
  }
  return true;
}

TLsdResult IoError(DWORD code) { return {TLsdStatus::IoError, code ? code : ERROR_GEN_FAILURE}; }
TLsdResult BadFormat() { return {TLsdStatus::BadFormat, 0}; }

bool ReadExact(HANDLE file, void* buf, size_t count) {
  auto* p = static_cast<uint8_t*>(buf);
  while (count > 0) {
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(count > (1u << 30) ? (1u << 30) : count);
    if (!ReadFile(file, p, want, &got, nullptr) || got == 0) return false;
    p += got;
    count -= got;
  }
  return true;
}

bool WriteExact(HANDLE file, const uint8_t* p, size_t count) {
  while (count > 0) {
    DWORD put = 0;
    const DWORD want = static_cast<DWORD>(count > (1u << 30) ? (1u << 30) : count);
    if (!WriteFile(file, p, want, &put, nullptr) || put == 0) return false;
    p += put;
    count -= put;
  }
  return true;
}

}  // namespace

std::string LsdAnsiName(const std::wstring& name) {
  if (name.empty()) return {};
  const int len = WideCharToMultiByte(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string bytes(static_cast<size_t>(len > 0 ? len : 0), '\0');
  if (len > 0)
    WideCharToMultiByte(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()), bytes.data(), len, nullptr,
                        nullptr);
  if (bytes.size() <= kLsdNameBytes) return bytes;
  const UINT acp = GetACP();
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t step = 1;
    const auto b = static_cast<unsigned char>(bytes[pos]);
    if (acp == CP_UTF8) {
      while (pos + step < bytes.size() && (static_cast<unsigned char>(bytes[pos + step]) & 0xC0) == 0x80) ++step;
    } else if (IsDBCSLeadByteEx(acp, b)) {
      step = 2;
    }
    if (pos + step > kLsdNameBytes) break;
    pos += step;
  }
  bytes.resize(pos);
  return bytes;
}

std::vector<uint8_t> LsdEncode(const TDupCriteria& criteria, const std::vector<TDupFolderRec>& folders,
                               const std::vector<TDupFileRec>& files) {
  std::vector<uint8_t> out;
  out.reserve(15 + kLsdFolderRecBytes * folders.size() + kLsdFileRecBytes * files.size());
  PutInt32(out, static_cast<uint32_t>(kLsdMagic));
  for (bool c : criteria) out.push_back(c ? 1 : 0);
  PutInt32(out, static_cast<uint32_t>(folders.size()));
  for (const TDupFolderRec& r : folders) {
    PutInt32(out, static_cast<uint32_t>(r.Parent));
    PutNameImage(out, r.LsdImage, r.Name);
  }
  PutInt32(out, static_cast<uint32_t>(files.size()));
  for (const TDupFileRec& r : files) {
    PutInt32(out, static_cast<uint32_t>(r.Folder));
    PutInt32(out, r.Group);
    PutInt32(out, static_cast<uint32_t>(r.Time));
    PutInt32(out, static_cast<uint32_t>(static_cast<uint64_t>(r.Size)));  // the low 32 bits
    PutNameImage(out, r.LsdImage, r.Name);
  }
  return out;
}

TLsdResult LsdDecode(const uint8_t* data, size_t size, TLsdTables& out) {
  if (size < kLsdHeaderBytes + 4 || GetInt32(data) != kLsdMagic) return BadFormat();
  const int32_t n = GetInt32(data + 7);
  if (n < 0) return BadFormat();
  const uint64_t folderEnd = kLsdHeaderBytes + uint64_t{kLsdFolderRecBytes} * static_cast<uint64_t>(n);
  if (folderEnd + 4 > size) return BadFormat();
  const int32_t m = GetInt32(data + folderEnd);
  if (m < 0) return BadFormat();
  if (folderEnd + 4 + uint64_t{kLsdFileRecBytes} * static_cast<uint64_t>(m) != size) return BadFormat();

  TLsdTables t;
  for (int k = 0; k < 3; ++k) t.Criteria[k] = data[4 + k] != 0;
  t.Folders.resize(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    const uint8_t* p = data + kLsdHeaderBytes + kLsdFolderRecBytes * static_cast<size_t>(i);
    TDupFolderRec& r = t.Folders[i];
    r.Parent = GetInt32(p);
    if (i == 0) {  // the root sentinel: never read, kept as it is
      r.LsdImage.assign(reinterpret_cast<const char*>(p + 4), kNameImageBytes);
      continue;
    }
    if (r.Parent < 0 || r.Parent >= i) return BadFormat();
    if (!GetName(p + 4, false, r.Name, r.LsdImage)) return BadFormat();
  }
  t.Files.resize(static_cast<size_t>(m));
  for (int32_t i = 0; i < m; ++i) {
    const uint8_t* p = data + folderEnd + 4 + kLsdFileRecBytes * static_cast<size_t>(i);
    TDupFileRec& r = t.Files[i];
    r.Folder = GetInt32(p);
    r.Group = static_cast<uint32_t>(GetInt32(p + 4));
    r.Time = GetInt32(p + 8);
    r.Size = GetInt32(p + 12);  // only the low 32 bits were kept, read as signed
    if (r.Folder < 1 || r.Folder >= n) return BadFormat();
    if (!GetName(p + 16, false, r.Name, r.LsdImage)) return BadFormat();
  }
  out = std::move(t);
  return {};
}

TLsdResult LsdSave(const std::wstring& path, const TDupCriteria& criteria,
                   const std::vector<TDupFolderRec>& folders, const std::vector<TDupFileRec>& files) {
  const std::vector<uint8_t> bytes = LsdEncode(criteria, folders, files);
  static LONG counter = 0;
  const std::wstring temp = path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                            std::to_wstring(InterlockedIncrement(&counter)) + L".tmp";
  {
    UniqueKernelHandle file(CreateFileW(DupLongPath(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return IoError(GetLastError());
    if (!WriteExact(file.get(), bytes.data(), bytes.size()) || !FlushFileBuffers(file.get())) {
      const DWORD err = GetLastError();
      file.reset();
      DeleteFileW(DupLongPath(temp).c_str());
      return IoError(err);
    }
  }
  if (!MoveFileExW(DupLongPath(temp).c_str(), DupLongPath(path).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD err = GetLastError();
    DeleteFileW(DupLongPath(temp).c_str());
    return IoError(err);
  }
  return {};
}

TLsdResult LsdLoad(const std::wstring& path, TLsdTables& out) {
  UniqueKernelHandle file(CreateFileW(DupLongPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) return IoError(GetLastError());
  LARGE_INTEGER fileSize;
  if (!GetFileSizeEx(file.get(), &fileSize)) return IoError(GetLastError());
  const auto size = static_cast<uint64_t>(fileSize.QuadPart);
  // The counts must agree with the size before a buffer of that size is
  // taken: a stray large file is refused without reading it whole.
  uint8_t header[kLsdHeaderBytes];
  if (size < kLsdHeaderBytes + 4 || !ReadExact(file.get(), header, sizeof header)) return BadFormat();
  if (GetInt32(header) != kLsdMagic) return BadFormat();
  const int32_t n = GetInt32(header + 7);
  if (n < 0) return BadFormat();
  const uint64_t folderEnd = kLsdHeaderBytes + uint64_t{kLsdFolderRecBytes} * static_cast<uint64_t>(n);
  if (folderEnd + 4 > size) return BadFormat();
  LARGE_INTEGER at;
  at.QuadPart = static_cast<LONGLONG>(folderEnd);
  uint8_t countBytes[4];
  if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) || !ReadExact(file.get(), countBytes, 4))
    return IoError(GetLastError());
  const int32_t m = GetInt32(countBytes);
  if (m < 0 || folderEnd + 4 + uint64_t{kLsdFileRecBytes} * static_cast<uint64_t>(m) != size) return BadFormat();

  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  at.QuadPart = 0;
  if (!SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN) || !ReadExact(file.get(), bytes.data(), bytes.size()))
    return IoError(GetLastError());
  return LsdDecode(bytes.data(), bytes.size(), out);
}

TLsdResult SaveDupResult(const std::wstring& path) { return LsdSave(path, DupCriteria, DupFolders, DupFiles); }

TLsdResult LoadDupResult(const std::wstring& path) {
  TLsdTables t;
  const TLsdResult r = LsdLoad(path, t);
  if (!r.Ok()) return r;
  DupCriteria = t.Criteria;
  DupFolders = std::move(t.Folders);
  DupFiles = std::move(t.Files);
  return r;
}
