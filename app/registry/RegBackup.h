// The registry cleaner's backup: the entries a fix is about to remove,
// written in the registry editor's import format (version 5.00) so that
// importing the file puts every removed value back byte for byte.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One registry entry as it stands: a whole key, or one value of a key with
// its exact type and bytes.
struct TRegEntry {
  HKEY Root = nullptr;
  std::wstring Key;        // from the root, beginning with "\"
  bool IsValue = false;
  std::wstring ValueName;  // empty: the key's default value
  DWORD Type = REG_SZ;
  std::vector<BYTE> Data;  // exactly as stored
};

// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
// "HKEY_USERS"; empty for other roots.
std::wstring RegRootName(HKEY Root);

// False when importing the backup could not restore the entry exactly: an
// unknown root, a key path or value name holding a line break or NUL (the
// format is line based and has no escape for them), or a string value whose
// data does not end with a NUL character (importers add one).
bool CanExportRegEntry(const TRegEntry& Entry);

// The backup text, one line per element, without line ends.
class TRegBackup {
 public:
  // Starts a new text: the header line and two empty lines.
  void BeginRegExport();
  // Appends the key line and, for a value, the value line. A REG_SZ whose
  // bytes are its text plus one NUL, and whose text has no CR or LF, is
  // written as a quoted string; any other data as hex(1): (or hex(n): for
  // type n) with its exact bytes.
  void ExportRegEntry(const TRegEntry& Entry);

  const std::vector<std::wstring>& Lines() const { return lines_; }
  // The lines joined with CRLF, each line ended by CRLF.
  std::wstring Text() const;
  // Writes Text() as UTF-16LE with a byte-order mark to a temporary file
  // beside FileName and renames it over FileName, so a failure never leaves
  // a half-written backup under the chosen name. False (with the last error
  // set) when any step fails.
  bool SaveToFile(const std::wstring& FileName) const;

 private:
  std::vector<std::wstring> lines_;
};

// The data part of a value line ("\"text\"" or "hex(1):..."), possibly
// spanning several lines joined by "\" CRLF and two spaces, as the registry
// editor wraps long hex data. Exposed for tests.
std::wstring FormatRegValueData(DWORD Type, const std::vector<BYTE>& Data, size_t LineStart);

// The bytes of a REG_SZ holding Text: UTF-16LE code units plus one NUL.
std::vector<BYTE> RegSzBytes(const std::wstring& Text);
