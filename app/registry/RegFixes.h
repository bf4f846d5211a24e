// The registry cleaner's fix command without its window: removes the
// entries of the ticked findings, after checking that each entry is still
// what the scan saw, and first writes the backup when one is wanted.
//
// The page asks whether to keep a backup and for its file name; when the user
// wants a backup but cancels the file dialog, the page does not call
// RunRegFixes at all, so nothing is removed without the backup asked for.
#pragma once

#include "app/registry/RegBackup.h"
#include "app/registry/RegFinding.h"

#include <functional>
#include <string>
#include <vector>

enum class TRegFixResult {
  NotTicked,     // the row is not ticked: not looked at
  Ready,         // checked and about to be removed (never a final result)
  Fixed,         // removed by this command: the key or value is gone
  Changed,       // no longer what the row shows (other type or text, key not empty): left alone
  Missing,       // the key or value was already gone
  Failed,        // the removal was refused, e.g. no right to write the key
  NotBackedUp,   // a backup is made and the entry cannot be written into it: left alone
  BackupFailed,  // the backup could not be written, so nothing was removed
  BadRow,        // the row names no root the cleaner knows
};

// A row of the findings list with its check box.
struct TRegFixRow {
  TRegFinding Finding;
  bool Checked = false;
};

// Reads the entry a finding names as it stands now, into Entry: a HKCR row
// is an extension key that must still hold no values and no subkeys; any
// other row is a value that must still be a REG_SZ whose text (up to its
// first NUL) is the row's "Параметр". Ready when it still is; Entry then
// carries the value's exact bytes for the backup.
TRegFixResult ReadRegFixEntry(const TRegFinding& Row, TRegEntry& Entry);

// Removes one entry read by ReadRegFixEntry: the key or value is checked
// once more (the value's type and bytes must be unchanged) and deleted.
// A key is deleted only while it has no subkeys, so nothing below it can
// go with it.
TRegFixResult FixRegEntry(const TRegEntry& Entry);

struct TRegFixOptions {
  bool Backup = false;
  std::wstring BackupFileName;
  // Called before each ticked row is fixed, with its index; the page lets
  // the window process its messages and waits there.
  std::function<void(size_t Row)> BeforeRow;
};

struct TRegFixReport {
  std::vector<TRegFixResult> Results;  // one per row, in list order
  bool BackupWritten = false;
  bool BackupFailed = false;           // nothing was removed then
  DWORD BackupError = 0;
};

// The whole command: checks every ticked row, writes the backup of the
// entries about to go (header and two empty lines even when none is), and
// only when that succeeded removes them in list order.
TRegFixReport RunRegFixes(const std::vector<TRegFixRow>& Rows, const TRegFixOptions& Options);

// The caption a row shows after the command: "Исправлено" only for an entry
// this command removed, the row's old caption otherwise.
std::wstring RegFixCaption(TRegFixResult Result, const std::wstring& OldCaption);
