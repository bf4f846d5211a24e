// Sending duplicates to the recycle bin without ever touching anything but
// the recorded files: only plain names of one path component in a drive or
// network folder path of plain components, whose file still exists with the
// recorded size and time, are handed to the shell, one by one in a single
// list; never a folder, never a pattern. Other records stay.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "app/duplicates/DupTables.h"

// True for a name of one path component that names nothing but itself: not
// empty, not "." or "..", no "\", "/", ":", "*", "?", quote, "<", ">", "|"
// or control character, and no trailing dot or space (which the system
// would strip, naming another file).
bool DupIsPlainName(const std::wstring& name);

// True when `dir` (ending in "\") is a drive path ("C:\...") or network path
// ("\\server\share\...") whose every component is a plain name.
bool DupIsPlainFolderPath(const std::wstring& dir);

// Why a record was not handed to the shell.
enum class TDupRecycleRefusal { None, UnsafeName, Missing, NotAFile, Changed };

// Decides whether record `rec` (of the tables `folders`) may be sent to the
// recycle bin now, and gives its full path.
TDupRecycleRefusal DupCheckRecycle(const TDupFileRec& rec, const std::vector<TDupFolderRec>& folders,
                                   std::wstring* fullPath = nullptr);

struct TDupRecycleResult {
  int Removed = 0;               // records whose files are gone and were dropped
  std::vector<std::wstring> Refused;  // paths (or names) of records left alone
};

// Hands a list of full paths, each ended by a zero character and the list
// by a second one, to the shell's delete.
using TDupShellDelete = std::function<void(HWND owner, const std::wstring& list)>;

// The shell's FO_DELETE with FOF_ALLOWUNDO: it asks, shows its progress and
// moves the files to the recycle bin. Connected files ("page_files" beside
// "page.htm") are not taken along.
void DupShellDeleteToRecycle(HWND owner, const std::wstring& list);

// Runs the delete on the selected rows [top, top + count) of `files`: the
// safe ones go to `shellDelete` in one list; afterwards every sent record
// whose file is gone is removed from `files`. Refused records stay and are
// listed in the result for the caller to tell the user.
TDupRecycleResult DupDeleteToRecycle(HWND owner, std::vector<TDupFileRec>& files,
                                     const std::vector<TDupFolderRec>& folders, int top, int count,
                                     const TDupShellDelete& shellDelete = DupShellDeleteToRecycle);
