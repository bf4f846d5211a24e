// The file finder's search: walks the ticked paths, lists the files that a
// ticked filter matches and no ticked exclusion hides, and keeps the totals,
// the progress bar and the status bar up to date as it goes. One object per
// finder page holds everything a search needs between its steps; it is
// given the page's lists and never looks them up itself.
#pragma once

#include <windows.h>

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/finder/FolderListing.h"
#include "app/finder/FolderTreeCount.h"

class TCheckListBox;
class TListView;
class TProgressBar;
class TStatusBar;

// Handles pending messages at most every so often: often enough for the
// stop button and the window, while a long walk or deletion does not spend
// its time asking the queue for nothing.
class MessagePumpThrottle {
 public:
  // True when the last round of messages is far enough back (always the
  // first time).
  bool Due();

 private:
  ULONGLONG last_ = 0;
};

class TFinderSearch {
 public:
  // The page's controls the search reads and fills.
  struct Lists {
    TCheckListBox* Paths;       // the search paths, ticked or not
    TListView* Filters;         // masks
    TListView* Exclusions;      // texts that hide a path
    TListView* Results;         // the rows found
    TProgressBar* Progress;     // folders searched of the path at hand
    TStatusBar* Status;         // folder at hand, count and size
  };
  explicit TFinderSearch(const Lists& lists);
  TFinderSearch(const TFinderSearch&) = delete;
  TFinderSearch& operator=(const TFinderSearch&) = delete;

  double FoundFilesCount = 0;  // files listed by the current search
  double FoundFilesSize = 0;   // their total size in bytes
  bool FindStop = false;       // stop request of the running search
  // True while FindFiles runs (it pumps messages, so a close can arrive).
  bool FindRunning() const { return running_; }

  // The search over every ticked path into the result list.
  void FindFiles();
  // The search of one folder (Dir ends with "\"); on its own or from FindFiles.
  void Find(const std::wstring& Dir);
  bool InExt(const std::wstring& Name) const;
  bool ExlPath(const std::wstring& Path) const;
  // The totals in the status bar's panels 1 and 2.
  void ShowText(double Size, double Count);
  // The folders below Dir at any depth (links not followed).
  static long long GetQuanFolders(const std::wstring& Dir);
  static void FindFolders(const std::wstring& Dir, long long& Count);

 private:
  struct FoundRow {
    std::wstring path;
    std::vector<std::wstring> texts;  // size, type name, modification time
    int image = 0;
  };
  struct ShellInfo {
    int icon = 0;
    std::wstring typeName;
  };

  void ReadMatchLists();
  bool Listed(const std::wstring& path, const wchar_t* name);
  void PumpAlone();
  void PumpSearch();
  void WaitForListing(HANDLE ready);
  void ShowFoundRows();
  void FlushView();
  void ShowSearchFolder(const std::wstring& dir);
  void StartProgress(int max);
  void StepProgress();
  void CountFoldersForProgress(FolderTreeCount& tree);
  std::unique_ptr<FolderListing> TakeListing(const std::wstring& dir);
  bool CountedMasksHold();
  void SearchEntry(const std::wstring& dir, const FolderListing& listing, size_t i, std::wstring& path);
  std::wstring FileTimeText(const FILETIME& ft) const;
  const ShellInfo& FileShellInfo(const std::wstring& path, const wchar_t* name);
  void AddResultRow(const std::wstring& path, const wchar_t* name, const FolderListing::Entry& entry);

  const Lists lists_;
  bool running_ = false;

  // The ticked filters and exclusions as the search matches them. The lists
  // can change only while messages are handled, so they are read again
  // after every round of messages instead of asking the list windows at
  // every file.
  bool matchValid_ = false;
  std::vector<std::wstring> masks_;
  std::vector<std::wstring> exclusions_;

  // What the search shows besides its rows and its progress: the totals
  // and the folder at hand. A status-bar update costs as much as listing a
  // few dozen files, so they are brought up to date when the search
  // handles messages (and at its end), not at every file.
  bool totalsDue_ = false;
  bool folderDue_ = false;
  std::wstring folderText_;  // empty: panel 0 cleared

  // Rows found since the list was last brought up to date, their texts
  // made once when the file was found. They go into the list in one go at
  // the next update with its drawing held: a list on screen otherwise
  // repaints as each row goes in, which costs far more than finding the file.
  std::vector<FoundRow> found_;

  // When the last update of the running search ended (0: the next chance
  // updates), and the rounds of messages of a folder searched on its own.
  ULONGLONG lastUpdateEnd_ = 0;
  MessagePumpThrottle alonePump_;

  // Upper-case full paths of the files the running search has listed, so
  // that a file under two ticked paths is listed once.
  std::unordered_set<std::wstring> listed_;

  // The listings of the path being searched: those its count kept, then
  // those of the folders past them.
  FolderTreeCount* counted_ = nullptr;
  bool countedMasksHold_ = false;  // the masks are those the count kept files for
  FolderReadAhead* readAhead_ = nullptr;

  // The folders of the path being searched so far, and the hundredths of
  // the way that the bar last showed.
  int progressPosition_ = 0;
  long long shownHundredths_ = 0;

  // The time zone the running search shows its times in: asked once per
  // search, not once per file (each question is a trip to the system).
  TIME_ZONE_INFORMATION timeZone_{};
  bool timeZoneKnown_ = false;

  // Type names and icons by upper-case extension.
  std::unordered_map<std::wstring, ShellInfo> shellInfo_;
};
