// The duplicate finder's shared tables and flags. The page fills them before
// a scan, the worker (TProgressThread) owns them while it runs, and the
// result window and the .LsD file code work on them afterwards. Nothing locks
// them: ownership passes by the scan state, never by time.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

// Who a file really is: volume serial and file ID. Two records with the
// same identity are two names of one file (a hard link, a linked folder
// walked twice) and must never be offered as copies of each other.
struct TDupFileId {
  uint32_t Volume = 0;
  uint64_t File = 0;
  bool Valid = false;

  bool SameFileAs(const TDupFileId& o) const {
    return Valid && o.Valid && Volume == o.Volume && File == o.File;
  }
};

// One entry of the folder table. Entry 0 is the root sentinel; a top entry
// (Parent 0) holds a whole path without its trailing "\" ("C:\Photos", "C:"),
// any other entry one folder name.
struct TDupFolderRec {
  int32_t Parent = 0;
  std::wstring Name;  // full Unicode; cut only when written to a .LsD file
  TDupFileId Id;      // the directory's identity when the walk opened it
  // The record's name and padding bytes exactly as a .LsD file held them
  // (1 length byte, 128 name bytes, 3 alignment bytes), so that a loaded
  // result is saved back byte for byte. Empty for records we made.
  std::string LsdImage;
};

// One entry of the file table.
struct TDupFileRec {
  int32_t Folder = 0;   // index into DupFolders (1 .. last)
  uint32_t Group = 0;   // 0: no group; from 1: the group's number
  int32_t Time = 0;     // last write, local time, packed DOS date-time
  int64_t Size = 0;     // whole size (records from a .LsD file: the stored
                        // signed low 32 bits)
  std::wstring Name;    // full Unicode name without its folder
  TDupFileId Id;        // identity from the walk (not stored in .LsD files)
  std::string LsdImage; // as in TDupFolderRec

  // True when Size holds only the low 32 bits that a .LsD file keeps.
  bool SizeIsLow32() const { return !LsdImage.empty(); }
};

using TDupCriteria = std::array<bool, 3>;  // [0] name, [1] size, [2] content

extern std::vector<TDupFolderRec> DupFolders;
extern std::vector<TDupFileRec> DupFiles;
extern TDupCriteria DupCriteria;
extern bool DupScanSubfolders;
// The only value the user-interface thread writes while a scan runs.
extern std::atomic<bool> DupStop;

// The folder path of entry Index ending in "\" ("" for 0 or an index
// outside the table). Walks the Parent chain; a chain that does not go
// strictly down (possible only in hand-made tables) ends the walk.
std::wstring GetFolderPath(int Index);
std::wstring GetFolderPath(const std::vector<TDupFolderRec>& folders, int Index);
// Every folder's path at once, in O(total length): paths[i] == GetFolderPath(i).
std::vector<std::wstring> DupFolderPaths(const std::vector<TDupFolderRec>& folders);

// Removes entry Index of DupFiles; an index outside 0 .. last does nothing.
void DeleteFileEntry(int Index);
void DeleteFileEntry(std::vector<TDupFileRec>& files, int Index);

// The last-write time of a file in the packed local DOS form the tables
// keep (date high word, time low word); 0 when it cannot be converted.
int32_t DupPackFileTime(const FILETIME& lastWrite);

// The packed local DOS date-time as a calendar date and time; false when it
// is not a valid one (a record from a damaged or foreign .LsD file), which
// the result grid shows as an empty cell.
bool DupUnpackFileTime(int32_t packed, SYSTEMTIME& local);

// Turns the page's folder list (full paths ending in "\") into top entries:
// the folder table becomes the root entry plus one top entry per item, in
// list order, each without its trailing "\". With subfolders searched, an
// item that lies inside an earlier item (compared without regard to case) or
// repeats one is left out, so no folder is walked twice; without subfolders
// only repeats are left out. The file table is emptied.
void DupSetTopFolders(const std::vector<std::wstring>& items, bool scanSubfolders,
                      std::vector<TDupFolderRec>& folders, std::vector<TDupFileRec>& files);

// Everything StartButtonClick does to the shared state before it starts the
// worker: criteria, subfolder flag, top entries, empty file table, DupStop
// cleared.
void DupPrepareScan(const std::vector<std::wstring>& folderListItems,
                    const TDupCriteria& criteria, bool scanSubfolders);
