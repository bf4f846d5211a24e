// The cleanup page's file side: which folders it may empty, and the deletion
// of the names an analysis collected.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The temporary folder ("%TEMP%" expanded, full length) with a trailing
// backslash, or empty when the cleanup must not touch it: an empty, relative
// or unexpanded path, a drive or share root, or the Windows directory itself.
std::wstring CleanupTempFolder();
// The same checks on a given path (exposed for tests).
std::wstring CheckCleanupFolder(const std::wstring& path);
// The Windows directory with a trailing backslash (full length).
std::wstring WindowsFolder();

// The name list the shell reads: each name followed by a zero, one more
// zero at the end. The list ends at the first empty name; a name already
// listed (in any letter case) is not listed again.
std::wstring CreateBuffer(const std::wstring* names, size_t count);

// Deletes the names (up to the first empty one) without progress display or
// confirmations: plain files and folders in one shell delete operation;
// file links as links only; linked folders (junctions, symbolic links) are
// left alone, and folders that hold a link somewhere below are emptied by a
// walk that never follows a link, so nothing outside the named entries is
// touched. Names that no longer exist are
// skipped. Returns the shell operation's result (0 when it had nothing to do).
int DeleteCollectedFiles(HWND wnd, const std::wstring* names, size_t count);

// After the shell's operation, which stops at its first failure: every name
// (up to the first empty one) that still exists is deleted on its own, a
// read-only file as well, a folder by the link-safe walk, so one failure
// does not keep the rest. Returns the names that still exist, each once.
std::vector<std::wstring> DeleteLeftovers(const std::wstring* names, size_t count);

// The page's report of names that could not be deleted: a heading with the
// count, then the names.
std::vector<std::wstring> LeftoverReport(const std::vector<std::wstring>& names);
