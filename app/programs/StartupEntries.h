// The programs Windows starts at logon: the Run and RunOnce keys of the
// machine, the current user and the default user, and the "load" values of
// the current and the default user. Reading, deleting and adding entries.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TStrings;

// Where entries come from: a key whose values are all entries, or (LoadValue)
// a key of which only the value "load" is one entry.
struct TStartupSource {
  HKEY Root = nullptr;
  std::wstring Key;  // below Root, without a leading "\"
  std::wstring Tag;  // the name the list shows for the source
  bool LoadValue = false;
};

// The eight sources in the order the list shows them.
std::vector<TStartupSource> DefaultStartupSources();
// Index of the source that adding writes to: the current user's Run key.
inline constexpr int kStartupAddSource = 1;
// The value name of the "load" sources.
inline constexpr const wchar_t* kStartupLoadValue = L"load";

// One entry: its source (an index into the sources), the value's real name
// (empty for a key's default value) and its text.
struct TStartupEntry {
  int Source = 0;
  std::wstring Name;
  std::wstring Text;
};

// Every entry of the sources, in source order and, within a source, in the
// registry's order of the values. Keys are opened read-only, so a user who
// may not change them still sees them; a key that cannot be opened adds
// nothing. The "load" sources add their entry only with `withLoad` and when
// the value's text is not empty. With `names` given, each key's value names
// are read into that list first and taken from there.
std::vector<TStartupEntry> ReadStartupEntries(const std::vector<TStartupSource>& sources,
                                              bool withLoad, TStrings* names = nullptr);

// Deletes the value `name` of the source's key (opened for writing).
// ERROR_SUCCESS, or the system's error of opening the key or deleting the
// value (ERROR_FILE_NOT_FOUND when either is missing).
DWORD DeleteStartupValue(const TStartupSource& source, const std::wstring& name);

// Writes the string value `name` = `command` into the source's key, creating
// the key when missing. Raises ERegistryException when it cannot.
void WriteStartupValue(const TStartupSource& source, const std::wstring& name,
                       const std::wstring& command);
