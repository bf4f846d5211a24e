// The installed applications that Windows can uninstall: the subkeys of the
// machine's Uninstall key with a display name and an uninstall command.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Where the uninstall entries live.
struct TUninstallLocation {
  HKEY Root = HKEY_LOCAL_MACHINE;
  std::wstring Key = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
};

// One listed application: its own subkey name and its display name.
struct TInstalledApp {
  std::wstring SubKey;
  std::wstring DisplayName;
};

// Every subkey whose "DisplayName" and "UninstallString" are both strings,
// in the registry's order of the subkeys. Keys are opened read-only; a
// missing Uninstall key gives an empty list.
std::vector<TInstalledApp> ReadInstalledApps(const TUninstallLocation& where);

enum class TUninstallLookup {
  Found,
  NoCommand,   // the subkey is gone or has no string "UninstallString"
  OpenFailed,  // the subkey exists but cannot be opened
};

// The uninstall command of one subkey and whether it is an expandable string.
TUninstallLookup ReadUninstallCommand(const TUninstallLocation& where, const std::wstring& subKey,
                                      std::wstring& command, bool& expandable);

// Deletes one application's subkey with everything below it. An empty name
// deletes nothing (it would name the Uninstall key itself).
bool DeleteUninstallEntry(const TUninstallLocation& where, const std::wstring& subKey);

// Starts an uninstall command line without waiting for it, shown normally;
// an expandable one has its environment variables expanded first. Returns 0
// or the system's error code.
DWORD StartUninstallCommand(const std::wstring& command, bool expandable);
