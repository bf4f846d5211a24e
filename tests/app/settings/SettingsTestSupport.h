#pragma once
// Shared pieces of the settings pages' tests: a key map that moves every
// settings key below a scratch key, raw registry reads and writes there, and
// a way to put the pages' controls into a known state.
#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "app/settings/SettingsEngine.h"
#include "app/settings/SettingsPages.h"

namespace settingstest {

// "HKLM", "HKCU", "HKCR", "HKU".
std::wstring RootName(HKEY root);
// Where a settings key lands below `base` (a path under HKCU).
std::wstring ScratchPath(const std::wstring& base, HKEY root, const std::wstring& key);
// Moves every settings key to HKCU\<base>\<root name>\<key>.
TSettingsKeyMap ScratchMap(const std::wstring& base);

// Raw access below HKCU, creating keys as needed.
void SetDword(const std::wstring& path, const std::wstring& name, DWORD value);
void SetText(const std::wstring& path, const std::wstring& name, const std::wstring& text,
             DWORD type = REG_SZ);
void MakeKey(const std::wstring& path);
bool KeyExists(const std::wstring& path);

struct RawValue {
  bool Exists = false;
  DWORD Type = REG_NONE;
  DWORD Dword = 0;     // REG_DWORD data
  std::wstring Text;   // REG_SZ / REG_EXPAND_SZ data
};
RawValue ReadValue(const std::wstring& path, const std::wstring& name);

// Every value below `path`, as "<subpath>|<name>" (subpath relative to it).
std::set<std::wstring> AllValues(const std::wstring& path);

// Every check box of the settings rows and every Ok/No button.
std::vector<TCustomCheckBox*> AllBoxes(TSettingsPages& pages);
std::vector<TEdit*> AllEdits(TSettingsPages& pages);
// Unticks every box, empties every edit, enables them all and disables
// every Ok and No button. Box handlers run (DISRS writes): call it while
// the pages point at a scratch key.
void ResetControls(TSettingsPages& pages);

// Every state of the pages a test may change, to put it back afterwards.
struct PagesState {
  std::vector<std::pair<bool, bool>> Boxes;  // ticked, enabled
  std::vector<std::pair<std::wstring, bool>> Edits;
  std::vector<std::pair<bool, bool>> Buttons;  // Ok enabled, No enabled
  TSettingsSnapshot Snapshot;
  TSettingsSnapshot Loaded;
};
PagesState Capture(TSettingsPages& pages);
// Box handlers run (DISRS writes): call it while the pages point at a
// scratch key.
void Restore(TSettingsPages& pages, const PagesState& state);

}  // namespace settingstest
