#include "app/registry/RegScanRules.h"

namespace {

// Position of the last "\" or ":" (the end of a drive or folder part), or npos.
size_t LastPathDelimiter(const std::wstring& s) { return s.find_last_of(L"\\:"); }

// The part after the last "\" or ":".
std::wstring NamePart(const std::wstring& s) {
  const size_t p = LastPathDelimiter(s);
  return p == std::wstring::npos ? s : s.substr(p + 1);
}

// From the last "." of the name part on; empty when the name has none.
std::wstring ExtensionOf(const std::wstring& s) {
  const std::wstring name = NamePart(s);
  const size_t dot = name.rfind(L'.');
  return dot == std::wstring::npos ? std::wstring() : name.substr(dot);
}

// Everything before the first `c` (all of s when there is none).
std::wstring CutBefore(const std::wstring& s, wchar_t c) {
  const size_t p = s.find(c);
  return p == std::wstring::npos ? s : s.substr(0, p);
}

bool Contains(const std::wstring& s, const wchar_t* what) {
  return s.find(what) != std::wstring::npos;
}

// Plain attribute probes: no path expansion, no wildcards honoured.
DWORD Attributes(const std::wstring& path) {
  if (path.empty()) return INVALID_FILE_ATTRIBUTES;
  return ::GetFileAttributesW(path.c_str());
}
bool IsFile(DWORD attributes) {
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int DriveIndex(wchar_t drive) {
  if (drive >= L'a' && drive <= L'z') return drive - L'a';
  if (drive >= L'A' && drive <= L'Z') return drive - L'A';
  return -1;
}

}  // namespace

bool ExtractPathFromValue(const std::wstring& Value, std::wstring& Path) {
  const std::wstring drive =
      (Value.size() >= 2 && Value[1] == L':') ? Value.substr(0, 2) : std::wstring();
  std::wstring name = NamePart(Value);
  std::wstring ext = ExtensionOf(Value);

  // Arguments after the extension: "app.exe -x", "shell32.dll!Entry", "lib.dll,12".
  ext = CutBefore(CutBefore(CutBefore(ext, L' '), L'!'), L',');
  // Placeholders inside the name: "app^1.exe", "app%1".
  name = CutBefore(CutBefore(name, L'^'), L'%');

  bool refused = false;
  {
    std::wstring rest = Value;
    const size_t first = rest.find(L":\\");
    if (first != std::wstring::npos) rest.erase(first, 2);
    if (Contains(rest, L":\\")) refused = true;  // a second path
  }
  if (Contains(Value, L"|") || Contains(Value, L"=") || Contains(Value, L"*")) refused = true;
  if (name.find_first_of(L"/\\\"") != std::wstring::npos) refused = true;

  const bool ok = Value.size() > 3 && Value[1] == L':' && Value[2] == L'\\' && !refused &&
                  !drive.empty() && !name.empty() && !ext.empty();
  if (!ok) return false;

  const std::wstring folder = Value.substr(0, Value.rfind(L'\\') + 1);
  if (Value.back() == L'.') {
    Path = folder + name;
  } else {
    // The name up to where its own extension starts, then the cleaned
    // extension; a name whose extension went with the "^"/"%" cut keeps
    // nothing of itself.
    const std::wstring ownExt = ExtensionOf(name);
    const size_t at = ownExt.empty() ? std::wstring::npos : name.find(ownExt);
    Path = folder + (at == std::wstring::npos ? std::wstring() : name.substr(0, at)) + ext;
  }
  return true;
}

std::wstring NormalizeKeyPath(const std::wstring& Path) {
  std::wstring p = Path;
  if (p.size() >= 2 && p[0] == L'\\' && p[1] == L'\\') p.erase(0, 1);
  if (p.empty() || p.back() != L'\\') p += L'\\';
  return p;
}

DWORD GetVolumeSerial(wchar_t Drive) {
  const int index = DriveIndex(Drive);
  if (index < 0) return 0;
  const wchar_t root[] = {static_cast<wchar_t>(L'A' + index), L':', L'\\', 0};
  // An empty floppy or card reader must not stop the scan with a system box.
  DWORD oldMode = 0;
  const bool modeSet = ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &oldMode);
  DWORD serial = 0;
  if (!::GetVolumeInformationW(root, nullptr, 0, &serial, nullptr, nullptr, nullptr, 0))
    serial = 0;
  if (modeSet) ::SetThreadErrorMode(oldMode, nullptr);
  return serial;
}

DWORD TVolumeSerials::Serial(wchar_t Drive) {
  const int index = DriveIndex(Drive);
  if (index < 0) return 0;
  if (!asked_[index]) {
    serials_[index] = GetVolumeSerial(Drive);
    asked_[index] = true;
  }
  return serials_[index];
}

bool IsDeadFileReference(const std::wstring& T, TVolumeSerials& Volumes) {
  if (T.empty()) return false;
  if (T[0] == L'A' || T[0] == L'a') return false;
  if (Volumes.Serial(T[0]) == 0) return false;
  // A value is a finding only when every test passes, so the order of the
  // tests is free: the text-only ones go first, and P, which usually exists,
  // is looked at before T. Looking for a missing name like
  // "shell32.dll,-101" in a large folder is by far the slowest step.
  std::wstring P;
  if (!ExtractPathFromValue(T, P)) return false;
  if (ExtensionOf(P).empty()) return false;
  const DWORD pathAttributes = Attributes(P);
  if (pathAttributes != INVALID_FILE_ATTRIBUTES) return false;  // an existing folder or file
  const DWORD textAttributes = (P == T) ? pathAttributes : Attributes(T);
  if (IsFile(textAttributes)) return false;
  return true;
}
