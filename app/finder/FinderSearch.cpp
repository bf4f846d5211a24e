// The file finder's search over the ticked paths.
#include "app/finder/FinderSearch.h"

#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <thread>

#include "app/finder/Frame5.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "framework/SysUtils.h"

namespace {

// Pending messages are handled this often while a deletion or a folder
// searched on its own runs.
constexpr ULONGLONG kPumpIntervalMs = 25;

// The search brings the list and the texts up to date and handles messages
// at most this often, counted from the end of the last update: on a list on
// screen a repaint costs as much as listing many files, and an interval
// counted from an update's start would leave the walk almost no time.
constexpr ULONGLONG kSearchUpdateMs = 100;

std::wstring UpperPath(std::wstring s) {
  if (!s.empty()) CharUpperBuffW(s.data(), static_cast<DWORD>(s.size()));
  return s;
}

// Adds the folders under Dir, at every depth, to Count; a set Stop ends the
// walk early.
void CountFolders(const std::wstring& dir, std::atomic<long long>& count,
                  const std::atomic<bool>* stop) {
  WIN32_FIND_DATAW fd;
  UniqueFindHandle listing(FindFirstFileExW((dir + L"*").c_str(), FindExInfoBasic, &fd,
                                            FindExSearchLimitToDirectories, nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!listing) return;
  do {
    if (stop && *stop) return;
    if (!EnterableFolder(fd.dwFileAttributes, fd.cFileName)) continue;
    ++count;
    CountFolders(dir + fd.cFileName + L"\\", count, stop);
  } while (FindNextFileW(listing.get(), &fd));
}

std::wstring LocaleDecimal() {
  wchar_t buffer[8] = {};
  return GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 1 ? buffer : L".";
}

std::wstring CentsText(long long cents) {
  std::wstring frac = std::to_wstring(cents % 100);
  if (frac.size() < 2) frac.insert(0, 1, L'0');
  return std::to_wstring(cents / 100) + LocaleDecimal() + frac;
}

std::wstring LocaleText(int (*format)(LCID, DWORD, const SYSTEMTIME*, LPCWSTR, LPWSTR, int), DWORD flags,
                        const SYSTEMTIME& st) {
  wchar_t buffer[128] = {};
  const int n = format(LOCALE_USER_DEFAULT, flags, &st, nullptr, buffer, 128);
  return n > 0 ? std::wstring(buffer, static_cast<size_t>(n - 1)) : std::wstring();
}

}  // namespace

bool MessagePumpThrottle::Due() {
  const ULONGLONG now = GetTickCount64();
  if (last_ && now - last_ < kPumpIntervalMs) return false;
  last_ = now;
  return true;
}

std::wstring FinderSizeText(unsigned long long size) {
  // Hundredths of a kilobyte, rounded half to even on the exact fraction.
  const unsigned long long whole = size / 1024, rest = size % 1024;
  unsigned long long cents = whole * 100 + rest * 100 / 1024;
  const unsigned long long remainder = rest * 100 % 1024;
  if (remainder > 512 || (remainder == 512 && (cents & 1))) ++cents;
  return CentsText(static_cast<long long>(cents)) + L" Кб";
}

std::wstring FinderHundredths(double value) {
  return CentsText(static_cast<long long>(std::nearbyint(value * 100)));
}

TFinderSearch::TFinderSearch(const Lists& lists) : lists_(lists) {}

// ---------------------------------------------------------------- matching

void TFinderSearch::ReadMatchLists() {
  masks_.clear();
  exclusions_.clear();
  TListItems* filters = lists_.Filters->Items();
  for (int i = 0; i < filters->Count(); ++i)
    if (filters->Item(i)->Checked()) masks_.push_back(filters->Item(i)->Caption());
  TListItems* exclusions = lists_.Exclusions->Items();
  for (int i = 0; i < exclusions->Count(); ++i)
    if (exclusions->Item(i)->Checked() && !exclusions->Item(i)->Caption().empty())
      exclusions_.push_back(exclusions->Item(i)->Caption());
  matchValid_ = true;
  // With other masks the count's listings are of no further use: files it
  // left out may match now.
  countedMasksHold_ = counted_ && masks_ == counted_->Masks();
  if (counted_ && !countedMasksHold_) counted_->Drop();
}

// ExlPath and InExt on the lists as last read.
bool TFinderSearch::Listed(const std::wstring& path, const wchar_t* name) {
  if (!matchValid_) ReadMatchLists();
  for (const std::wstring& text : exclusions_)
    if (path.find(text) != std::wstring::npos) return false;
  for (const std::wstring& mask : masks_)
    if (TFrame5::FileMaskEquate(name, mask)) return true;
  return false;
}

bool TFinderSearch::InExt(const std::wstring& Name) const {
  TListItems* rows = lists_.Filters->Items();
  for (int i = 0; i < rows->Count(); ++i) {
    TListItem* row = rows->Item(i);
    if (row->Checked() && TFrame5::FileMaskEquate(Name, row->Caption())) return true;
  }
  return false;
}

bool TFinderSearch::ExlPath(const std::wstring& Path) const {
  TListItems* rows = lists_.Exclusions->Items();
  for (int i = 0; i < rows->Count(); ++i) {
    TListItem* row = rows->Item(i);
    // An empty exclusion hides nothing.
    if (row->Checked() && !row->Caption().empty() && Path.find(row->Caption()) != std::wstring::npos)
      return true;
  }
  return false;
}

// ---------------------------------------------------------------- messages and view

void TFinderSearch::PumpAlone() {
  if (!alonePump_.Due()) return;
  Application->ProcessMessages();
  matchValid_ = false;
}

void TFinderSearch::ShowFoundRows() {
  if (found_.empty()) return;
  TListItems* rows = lists_.Results->Items();
  rows->BeginUpdate();
  for (const FoundRow& row : found_) {
    TListItem* item = rows->Add();
    item->SetCaption(row.path);
    item->SetImageIndex(row.image);
    for (const std::wstring& text : row.texts) item->SubItems()->Add(text);
    item->SetChecked(true);
  }
  rows->EndUpdate();
  found_.clear();
}

void TFinderSearch::FlushView() {
  ShowFoundRows();
  if (totalsDue_) ShowText(FoundFilesSize, FoundFilesCount);
  if (folderDue_) {
    if (folderText_.empty()) lists_.Status->SetPanelText(0, L"");
    else ShowSearchFolder(folderText_);
  }
  totalsDue_ = folderDue_ = false;
}

void TFinderSearch::PumpSearch() {
  if (lastUpdateEnd_ && GetTickCount64() - lastUpdateEnd_ < kSearchUpdateMs) return;
  FlushView();
  Application->ProcessMessages();
  matchValid_ = false;
  lastUpdateEnd_ = GetTickCount64();
}

// Waits a while for the next folder listing of the read-ahead; the window
// is kept up to date and its messages are handled meanwhile.
void TFinderSearch::WaitForListing(HANDLE ready) {
  if (MsgWaitForMultipleObjects(1, &ready, FALSE, static_cast<DWORD>(kSearchUpdateMs), QS_ALLINPUT) == WAIT_OBJECT_0)
    return;
  lastUpdateEnd_ = 0;  // the search waits anyway: no reason to hold the update back
  PumpSearch();
}

// "Поиск: " and the folder, shortened to the panel's width less 30 pixels.
void TFinderSearch::ShowSearchFolder(const std::wstring& dir) {
  TStatusBar* bar = lists_.Status;
  std::wstring text = dir;
  if (bar->HandleAllocated()) {
    const int width = bar->Panel(0).Width - 30;
    std::wstring buffer = dir;
    buffer.resize(std::max<size_t>(dir.size() + 1, MAX_PATH + 1), L'\0');
    UniqueWindowDC dc = UniqueWindowDC::Client(bar->WindowHandle());
    if (dc) {
      SelectObjectScope font(dc.get(),
                             reinterpret_cast<HGDIOBJ>(SendMessageW(bar->WindowHandle(), WM_GETFONT, 0, 0)));
      if (PathCompactPathW(dc.get(), buffer.data(), static_cast<UINT>(std::max(width, 0)))) text = buffer.c_str();
    }
  }
  bar->SetPanelText(0, L"Поиск: " + text);
}

void TFinderSearch::ShowText(double Size, double Count) {
  TStatusBar* bar = lists_.Status;
  bar->SetPanelText(1, L"Найдено файлов: " + IntToStr(static_cast<long long>(Count)));
  bar->SetPanelText(2, L"Общий размер: " + FinderHundredths(Size / 1048576) + L" Мб");
}

// ---------------------------------------------------------------- progress

void TFinderSearch::StartProgress(int max) {
  lists_.Progress->SetMax(max);
  progressPosition_ = 0;
  shownHundredths_ = 0;
}

// One more folder searched. The skinned bar paints itself at every new
// position, which costs as much as searching dozens of folders; so a step
// goes to the bar when it takes the bar a hundredth further, and at the
// end, which the eye cannot tell from every step.
void TFinderSearch::StepProgress() {
  TProgressBar* bar = lists_.Progress;
  if (!running_) {  // a folder searched on its own
    bar->StepBy(1);
    return;
  }
  ++progressPosition_;
  const int max = std::max(bar->Max(), 1);
  const long long hundredths = static_cast<long long>(std::min(progressPosition_, max)) * 100 / max;
  if (hundredths == shownHundredths_ && progressPosition_ != max) return;
  shownHundredths_ = hundredths;
  bar->SetPosition(progressPosition_);
}

// The folders below the path, counted on a thread of its own while the
// window goes on handling its messages: a whole drive takes a while to
// count. A stop asked for meanwhile ends the count early; the search then
// lists the path's first entry and ends.
void TFinderSearch::CountFoldersForProgress(FolderTreeCount& tree) {
  std::atomic<bool> stop{false};
  UniqueKernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!done) return tree.Walk(stop);
  HANDLE doneHandle = done.get();
  // Whatever ends the wait (a handler's exception included), the count is
  // stopped and its thread joined before the locals it uses go.
  struct Counter {
    std::atomic<bool>& stop;
    std::thread thread;
    ~Counter() {
      stop = true;
      thread.join();
    }
  } counter{stop, std::thread([&tree, &stop, doneHandle] {
              tree.Walk(stop);
              SetEvent(doneHandle);
            })};
  while (MsgWaitForMultipleObjects(1, &doneHandle, FALSE, static_cast<DWORD>(kSearchUpdateMs), QS_ALLINPUT) !=
         WAIT_OBJECT_0) {
    lastUpdateEnd_ = 0;
    PumpSearch();
    if (FindStop || Application->Terminated()) stop = true;
  }
}

long long TFinderSearch::GetQuanFolders(const std::wstring& Dir) {
  long long count = 0;
  FindFolders(Dir, count);
  return count;
}

void TFinderSearch::FindFolders(const std::wstring& Dir, long long& Count) {
  std::atomic<long long> count{Count};
  CountFolders(Dir, count, nullptr);
  Count = count;
}

// ---------------------------------------------------------------- rows

// Local date and time of a file time in the default short-date and
// long-time forms.
std::wstring TFinderSearch::FileTimeText(const FILETIME& ft) const {
  SYSTEMTIME utc{}, local{};
  const TIME_ZONE_INFORMATION* zone = timeZoneKnown_ ? &timeZone_ : nullptr;
  if (!FileTimeToSystemTime(&ft, &utc) || !SystemTimeToTzSpecificLocalTime(zone, &utc, &local)) return L"";
  return LocaleText(GetDateFormatW, DATE_SHORTDATE, local) + L" " + LocaleText(GetTimeFormatW, 0, local);
}

// The shell's type name of a file, and an icon index of its kind (the list
// has no image list, so no file's own icon matters). The type name follows
// from the extension alone, so the shell is asked about the first file of
// each extension only. (Asked about a bare extension instead, Wine names
// unregistered types differently from what it says for a real file.)
const TFinderSearch::ShellInfo& TFinderSearch::FileShellInfo(const std::wstring& path, const wchar_t* name) {
  const wchar_t* dot = wcsrchr(name, L'.');
  std::wstring ext = UpperPath(dot ? dot : L"");
  auto it = shellInfo_.find(ext);
  if (it != shellInfo_.end()) return it->second;
  SHFILEINFOW sfi{};
  ShellInfo info;
  if (SHGetFileInfoW(path.c_str(), 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_TYPENAME)) {
    info.icon = sfi.iIcon;
    sfi.szTypeName[79] = 0;  // at most 80 characters
    info.typeName = sfi.szTypeName;
  }
  return shellInfo_.emplace(std::move(ext), std::move(info)).first->second;
}

void TFinderSearch::AddResultRow(const std::wstring& path, const wchar_t* name, const FolderListing::Entry& entry) {
  const unsigned long long size = entry.Size;
  const ShellInfo& info = FileShellInfo(path, name);
  found_.push_back({path, {FinderSizeText(size), info.typeName, FileTimeText(entry.LastWrite)}, info.icon});
  FoundFilesCount += 1;
  FoundFilesSize += static_cast<double>(size);
  totalsDue_ = true;
}

// ---------------------------------------------------------------- search

void TFinderSearch::FindFiles() {
  TCheckListBox* paths = lists_.Paths;
  running_ = true;
  struct Running {
    TFinderSearch& search;
    ~Running() {
      search.FlushView();
      search.running_ = false;
      search.timeZoneKnown_ = false;
      search.listed_.clear();
    }
  } running{*this};
  FoundFilesCount = 0;
  FoundFilesSize = 0;
  FindStop = false;
  listed_.clear();
  found_.clear();
  lastUpdateEnd_ = 0;
  totalsDue_ = folderDue_ = false;
  folderText_.clear();
  matchValid_ = false;
  timeZoneKnown_ = GetTimeZoneInformation(&timeZone_) != TIME_ZONE_ID_INVALID;
  ShowText(0, 0);
  lists_.Results->Items()->Clear();
  for (int i = 0; i < paths->Count(); ++i) {
    // A stop (or the window closing) ends the search here too: the next
    // ticked path would otherwise be counted through its whole tree first.
    if (FindStop || Application->Terminated()) break;
    if (paths->Checked(i)) {
      const std::wstring dir = paths->Items()->Strings(i);
      {
        // The bar runs from 0 to the number of folders below the path, one
        // step as each is searched. The count keeps the files the masks
        // match as they are now.
        if (!matchValid_) ReadMatchLists();
        FolderTreeCount tree(dir, masks_);
        CountFoldersForProgress(tree);
        StartProgress(static_cast<int>(std::min<long long>(tree.Folders(), INT_MAX)));
        // A count cut short kept only part of the tree: the search reads it
        // all again, as it would without the count.
        if (!tree.Complete()) tree.Drop();
        FolderReadAhead folders(tree.Complete() ? tree.Rest() : std::vector<std::wstring>{dir});
        counted_ = &tree;
        countedMasksHold_ = true;  // the count took masks_ as they were
        readAhead_ = &folders;
        struct Forget {
          TFinderSearch& search;
          ~Forget() {
            search.counted_ = nullptr;
            search.countedMasksHold_ = false;
            search.readAhead_ = nullptr;
          }
        } forget{*this};
        Find(dir);
      }
      lists_.Progress->SetPosition(0);
      FlushView();
    }
    lastUpdateEnd_ = 0;
    PumpSearch();
  }
}

// The listing of a folder of the running search: kept by the count, read
// ahead, or read now.
std::unique_ptr<FolderListing> TFinderSearch::TakeListing(const std::wstring& dir) {
  std::unique_ptr<FolderListing> listing;
  if (counted_) listing = counted_->Take(dir);
  if (!listing && readAhead_) listing = readAhead_->Take(dir, [this](HANDLE ready) { WaitForListing(ready); });
  return listing;
}

// Whether the masks are still those the count kept files for.
bool TFinderSearch::CountedMasksHold() {
  if (!matchValid_) ReadMatchLists();
  return countedMasksHold_;
}

void TFinderSearch::SearchEntry(const std::wstring& dir, const FolderListing& listing, size_t i,
                                std::wstring& path) {
  const FolderListing::Entry& entry = listing.At(i);
  const wchar_t* name = listing.Name(i);
  if (entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) {
    if (listing.Enterable(i)) {
      Find(dir + name + L"\\");
      folderDue_ = true;
      folderText_ = dir;
      StepProgress();
    }
  } else {
    path.assign(dir).append(name);
    if (Listed(path, name) && listed_.insert(UpperPath(path)).second) AddResultRow(path, name, entry);
  }
}

void TFinderSearch::Find(const std::wstring& Dir) {
  if (!running_) matchValid_ = false;  // called on its own: the lists as they are now
  std::unique_ptr<FolderListing> listing;
  if (running_) listing = TakeListing(Dir);
  if (!listing) listing = FolderListing::Read(Dir);
  std::wstring path;
  ListingCursor cursor(*listing);
  while (!cursor.AtEnd()) {
    // With a stop asked for, the entry at hand is still handled and the
    // listing then ends.
    const bool last = FindStop || Application->Terminated();
    if (running_) PumpSearch();
    else PumpAlone();
    if (listing->Trimmed() && !CountedMasksHold()) {
      listing = FolderListing::Read(Dir);
      cursor.Continue(*listing);
      if (cursor.AtEnd()) break;
    }
    const size_t i = cursor.Next();
    if (i != ListingCursor::kLeftOut) SearchEntry(Dir, *listing, i, path);
    if (last) break;
  }
  folderDue_ = true;
  folderText_.clear();
  if (!running_) FlushView();  // called on its own, not from FindFiles
}
