// The file finder's search over the ticked paths and the result-list
// operations (TFrame5's static routines).
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <atomic>
#include <thread>
#include <climits>
#include <cmath>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "app/finder/FolderListing.h"
#include "app/finder/Frame5.h"
#include "app/mainwindow/MainForm.h"
#include "framework/ComCtrls.h"
#include "framework/Handles.h"
#include "framework/ListBox.h"
#include "framework/ListView.h"
#include "framework/SysUtils.h"
#include "framework/TabNotebook.h"

double FoundFilesCount = 0;
double FoundFilesSize = 0;
bool FindStop = false;
int LastDriveIndex = -1;
bool FindRunning = false;

namespace {

// Pending messages are handled this often while a search or a deletion
// runs: often enough for the stop button and the window, while a walk over
// a large tree does not spend its time asking the queue for nothing.
constexpr ULONGLONG kPumpIntervalMs = 25;
ULONGLONG g_lastPump = 0;

bool PumpDue() {
  const ULONGLONG now = GetTickCount64();
  if (g_lastPump && now - g_lastPump < kPumpIntervalMs) return false;
  g_lastPump = now;
  return true;
}

// The ticked filters and exclusions as the search matches them. The lists
// can change only while messages are handled, so they are read again after
// every round of messages instead of asking the list windows at every file.
struct MatchLists {
  bool valid = false;
  std::vector<std::wstring> masks;
  std::vector<std::wstring> exclusions;
} g_match;

void ReadMatchLists() {
  g_match.masks.clear();
  g_match.exclusions.clear();
  TListItems* filters = MainForm->ListView2->Items();
  for (int i = 0; i < filters->Count(); ++i)
    if (filters->Item(i)->Checked()) g_match.masks.push_back(filters->Item(i)->Caption());
  TListItems* exclusions = MainForm->ListView3->Items();
  for (int i = 0; i < exclusions->Count(); ++i)
    if (exclusions->Item(i)->Checked() && !exclusions->Item(i)->Caption().empty())
      g_match.exclusions.push_back(exclusions->Item(i)->Caption());
  g_match.valid = true;
}

// ExlPath and InExt on the lists as last read.
bool Listed(const std::wstring& path, const wchar_t* name) {
  if (!g_match.valid) ReadMatchLists();
  for (const std::wstring& text : g_match.exclusions)
    if (path.find(text) != std::wstring::npos) return false;
  for (const std::wstring& mask : g_match.masks)
    if (TFrame5::FileMaskEquate(name, mask)) return true;
  return false;
}

void PumpMessages() {
  if (!PumpDue()) return;
  Application->ProcessMessages();
  g_match.valid = false;
}

// What the search shows besides its rows and its progress: the totals and
// the folder at hand. A status-bar update costs as much as listing a few
// dozen files, so they are brought up to date when the search handles
// messages (and at its end), not at every file. The progress bar moves once
// per folder, far less often, and follows each folder at once.
struct SearchView {
  bool totals = false;
  bool folder = false;
  std::wstring folderText;  // empty: panel 0 cleared
} g_view;

void ShowSearchFolder(TStatusBar* bar, const std::wstring& dir);

// Rows found since the list was last brought up to date, their texts made
// once when the file was found. They go into the list in one go at the next
// update with its drawing held: a list on screen otherwise repaints as each
// row goes in, which costs far more than finding the file.
struct FoundRow {
  std::wstring path;
  std::vector<std::wstring> texts;  // size, type name, modification time
  int image = 0;
};
std::vector<FoundRow> g_found;

void ShowFoundRows() {
  if (g_found.empty()) return;
  TListItems* rows = MainForm->ListView4->Items();
  rows->BeginUpdate();
  for (const FoundRow& row : g_found) {
    TListItem* item = rows->Add();
    item->SetCaption(row.path);
    item->SetImageIndex(row.image);
    for (const std::wstring& text : row.texts) item->SubItems()->Add(text);
    item->SetChecked(true);
  }
  rows->EndUpdate();
  g_found.clear();
}

void FlushSearchView() {
  TMainForm* form = MainForm;
  ShowFoundRows();
  if (g_view.totals) TFrame5::ShowText(FoundFilesSize, FoundFilesCount);
  if (g_view.folder) {
    if (g_view.folderText.empty()) form->StatusBar1->SetPanelText(0, L"");
    else ShowSearchFolder(form->StatusBar1, g_view.folderText);
  }
  g_view.totals = g_view.folder = false;
}

// The search brings the list and the texts up to date and handles messages
// at most this often, counted from the end of the last update: on a list on
// screen a repaint costs as much as listing many files, and an interval
// counted from an update's start would leave the walk almost no time.
constexpr ULONGLONG kSearchUpdateMs = 100;
ULONGLONG g_lastUpdateEnd = 0;  // 0: the next chance updates

void PumpSearch() {
  if (g_lastUpdateEnd && GetTickCount64() - g_lastUpdateEnd < kSearchUpdateMs) return;
  FlushSearchView();
  Application->ProcessMessages();
  g_match.valid = false;
  g_lastUpdateEnd = GetTickCount64();
}

// Waits a while for the next folder listing of the read-ahead; the window
// is kept up to date and its messages are handled meanwhile.
void WaitForListing(HANDLE ready) {
  if (MsgWaitForMultipleObjects(1, &ready, FALSE, static_cast<DWORD>(kSearchUpdateMs), QS_ALLINPUT) == WAIT_OBJECT_0)
    return;
  g_lastUpdateEnd = 0;  // the search waits anyway: no reason to hold the update back
  PumpSearch();
}

// Upper-case full paths of the files the running search has listed, so that
// a file under two ticked paths is listed once.
std::unordered_set<std::wstring> g_listed;

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

// The listings of the path being searched.
FolderReadAhead* g_readAhead = nullptr;

// The folders of the path being searched so far, and the hundredths of
// the way that the bar last showed.
struct SearchProgress {
  int position = 0;
  long long shownHundredths = 0;
} g_progress;

void StartProgress(int max) {
  MainForm->ProgressBar1->SetMax(max);
  g_progress = SearchProgress();
}

// One more folder searched. The skinned bar paints itself at every new
// position, which costs as much as searching dozens of folders; so a step
// goes to the bar when it takes the bar a hundredth further, and at the
// end, which the eye cannot tell from every step.
void StepProgress() {
  TProgressBar* bar = MainForm->ProgressBar1;
  if (!FindRunning) {  // a folder searched on its own
    bar->StepBy(1);
    return;
  }
  ++g_progress.position;
  const int max = std::max(bar->Max(), 1);
  const long long hundredths = static_cast<long long>(std::min(g_progress.position, max)) * 100 / max;
  if (hundredths == g_progress.shownHundredths && g_progress.position != max) return;
  g_progress.shownHundredths = hundredths;
  bar->SetPosition(g_progress.position);
}

// The folders below Dir, counted on a thread of its own while the window
// goes on handling its messages: a whole drive takes a while to count. A
// stop asked for meanwhile ends the count early; the search then lists the
// path's first entry and ends.
long long CountFoldersForProgress(const std::wstring& dir) {
  std::atomic<long long> count{0};
  std::atomic<bool> stop{false};
  UniqueKernelHandle done(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!done) return TFrame5::GetQuanFolders(dir);
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
  } counter{stop, std::thread([&dir, &count, &stop, doneHandle] {
              CountFolders(dir, count, &stop);
              SetEvent(doneHandle);
            })};
  while (MsgWaitForMultipleObjects(1, &doneHandle, FALSE, static_cast<DWORD>(kSearchUpdateMs), QS_ALLINPUT) !=
         WAIT_OBJECT_0) {
    g_lastUpdateEnd = 0;
    PumpSearch();
    if (FindStop || Application->Terminated()) stop = true;
  }
  return count;
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

// The time zone the running search shows its times in: asked once per
// search, not once per file (each question is a trip to the system).
TIME_ZONE_INFORMATION g_timeZone{};
bool g_timeZoneKnown = false;

// Local date and time of a file time in the default short-date and
// long-time forms.
std::wstring FileTimeText(const FILETIME& ft) {
  SYSTEMTIME utc{}, local{};
  const TIME_ZONE_INFORMATION* zone = g_timeZoneKnown ? &g_timeZone : nullptr;
  if (!FileTimeToSystemTime(&ft, &utc) || !SystemTimeToTzSpecificLocalTime(zone, &utc, &local)) return L"";
  return LocaleText(GetDateFormatW, DATE_SHORTDATE, local) + L" " + LocaleText(GetTimeFormatW, 0, local);
}

struct ShellInfo {
  int icon = 0;
  std::wstring typeName;
};

// The shell's type name of a file, and an icon index of its kind (the list
// has no image list, so no file's own icon matters). The type name follows
// from the extension alone, so the shell is asked about the first file of
// each extension only. (Asked about a bare extension instead, Wine names
// unregistered types differently from what it says for a real file.)
const ShellInfo& FileShellInfo(const std::wstring& path, const wchar_t* name) {
  static std::unordered_map<std::wstring, ShellInfo> byExtension;
  const wchar_t* dot = wcsrchr(name, L'.');
  std::wstring ext = UpperPath(dot ? dot : L"");
  auto it = byExtension.find(ext);
  if (it != byExtension.end()) return it->second;
  SHFILEINFOW sfi{};
  ShellInfo info;
  if (SHGetFileInfoW(path.c_str(), 0, &sfi, sizeof sfi, SHGFI_SYSICONINDEX | SHGFI_TYPENAME)) {
    info.icon = sfi.iIcon;
    sfi.szTypeName[79] = 0;  // at most 80 characters
    info.typeName = sfi.szTypeName;
  }
  return byExtension.emplace(std::move(ext), std::move(info)).first->second;
}

// "Поиск: " and the folder, shortened to the panel's width less 30 pixels.
void ShowSearchFolder(TStatusBar* bar, const std::wstring& dir) {
  std::wstring text = dir;
  if (bar->HandleAllocated()) {
    const int width = bar->Panel(0).Width - 30;
    std::wstring buffer = dir;
    buffer.resize(std::max<size_t>(dir.size() + 1, MAX_PATH + 1), L'\0');
    const UniqueWindowDC dc = UniqueWindowDC::Client(bar->WindowHandle());
    if (dc) {
      const SelectObjectScope font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(bar->WindowHandle(), WM_GETFONT, 0, 0)));
      if (PathCompactPathW(dc.get(), buffer.data(), static_cast<UINT>(std::max(width, 0)))) text = buffer.c_str();
    }
  }
  bar->SetPanelText(0, L"Поиск: " + text);
}

void AddResultRow(const std::wstring& path, const wchar_t* name, const FolderListing::Entry& entry) {
  const unsigned long long size = entry.Size;
  const ShellInfo& info = FileShellInfo(path, name);
  g_found.push_back({path, {FinderSizeText(size), info.typeName, FileTimeText(entry.LastWrite)}, info.icon});
  FoundFilesCount += 1;
  FoundFilesSize += static_cast<double>(size);
  g_view.totals = true;
}

}  // namespace

TObject* DriveEntryTag() {
  static TObject tag;
  return &tag;
}

bool IsDriveEntry(int index) {
  return MainForm && MainForm->CheckListBox1->Items()->Objects(index) == DriveEntryTag();
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

// ---------------------------------------------------------------- drives

void TFrame5::GetDrives() {
  TCheckListBox* list = MainForm->CheckListBox1;
  list->Clear();
  // A letter the system does not name has no root to ask about (each
  // question is a trip to the system's volume manager).
  const DWORD present = GetLogicalDrives();
  for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
    if (!(present & (1u << (letter - L'A')))) continue;
    const std::wstring root = std::wstring(1, letter) + L":\\";
    const UINT type = GetDriveTypeW(root.c_str());
    if (type != DRIVE_FIXED && type != DRIVE_REMOVABLE) continue;
    const int at = list->Items()->AddObject(root, DriveEntryTag());
    list->SetChecked(at, true);
  }
  LastDriveIndex = list->Count() - 1;
}

// ---------------------------------------------------------------- search

void TFrame5::FindFiles() {
  TMainForm* form = MainForm;
  TListItems* rows = form->ListView4->Items();
  FindRunning = true;
  struct Running {
    ~Running() {
      FlushSearchView();
      FindRunning = false;
      g_timeZoneKnown = false;
      g_listed.clear();
    }
  } running;
  FoundFilesCount = 0;
  FoundFilesSize = 0;
  FindStop = false;
  g_listed.clear();
  g_found.clear();
  g_lastUpdateEnd = 0;
  g_view = SearchView();
  g_match.valid = false;
  g_timeZoneKnown = GetTimeZoneInformation(&g_timeZone) != TIME_ZONE_ID_INVALID;
  ShowText(0, 0);
  rows->Clear();
  for (int i = 0; i < form->CheckListBox1->Count(); ++i) {
    // A stop (or the window closing) ends the search here too: the next
    // ticked path would otherwise be counted through its whole tree first.
    if (FindStop || Application->Terminated()) break;
    if (form->CheckListBox1->Checked(i)) {
      const std::wstring dir = form->CheckListBox1->Items()->Strings(i);
      {
        // The bar runs from 0 to the number of folders below the path, one
        // step as each is searched.
        StartProgress(static_cast<int>(std::min<long long>(CountFoldersForProgress(dir), INT_MAX)));
        FolderReadAhead folders(dir);
        g_readAhead = &folders;
        struct Forget {
          ~Forget() { g_readAhead = nullptr; }
        } forget;
        Find(dir);
      }
      form->ProgressBar1->SetPosition(0);
      FlushSearchView();
    }
    g_lastUpdateEnd = 0;
    PumpSearch();
  }
}

void TFrame5::Find(const std::wstring& Dir) {
  if (!FindRunning) g_match.valid = false;  // called on its own: the lists as they are now
  std::unique_ptr<FolderListing> listing;
  if (FindRunning && g_readAhead) listing = g_readAhead->Take(Dir, WaitForListing);
  if (!listing) listing = FolderListing::Read(Dir);
  std::wstring path;
  for (size_t i = 0; i < listing->Count(); ++i) {
    // With a stop asked for, the entry at hand is still handled and the
    // listing then ends.
    const bool last = FindStop || Application->Terminated();
    if (FindRunning) PumpSearch();
    else PumpMessages();
    const FolderListing::Entry& entry = listing->At(i);
    const wchar_t* name = listing->Name(i);
    if (entry.Attributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (listing->Enterable(i)) {
        Find(Dir + name + L"\\");
        g_view.folder = true;
        g_view.folderText = Dir;
        StepProgress();
      }
    } else {
      path.assign(Dir).append(name);
      if (Listed(path, name) && g_listed.insert(UpperPath(path)).second) AddResultRow(path, name, entry);
    }
    if (last) break;
  }
  g_view.folder = true;
  g_view.folderText.clear();
  if (!FindRunning) FlushSearchView();  // called on its own, not from FindFiles
}

bool TFrame5::InExt(const std::wstring& Name) {
  TListItems* rows = MainForm->ListView2->Items();
  for (int i = 0; i < rows->Count(); ++i) {
    TListItem* row = rows->Item(i);
    if (row->Checked() && FileMaskEquate(Name, row->Caption())) return true;
  }
  return false;
}

bool TFrame5::ExlPath(const std::wstring& Path) {
  TListItems* rows = MainForm->ListView3->Items();
  for (int i = 0; i < rows->Count(); ++i) {
    TListItem* row = rows->Item(i);
    // An empty exclusion hides nothing.
    if (row->Checked() && !row->Caption().empty() && Path.find(row->Caption()) != std::wstring::npos)
      return true;
  }
  return false;
}

long long TFrame5::GetQuanFolders(const std::wstring& Dir) {
  long long count = 0;
  FindFolders(Dir, count);
  return count;
}

void TFrame5::FindFolders(const std::wstring& Dir, long long& Count) {
  std::atomic<long long> count{Count};
  CountFolders(Dir, count, nullptr);
  Count = count;
}

void TFrame5::ShowText(double Size, double Count) {
  TStatusBar* bar = MainForm->StatusBar1;
  bar->SetPanelText(1, L"Найдено файлов: " + IntToStr(static_cast<long long>(Count)));
  bar->SetPanelText(2, L"Общий размер: " + FinderHundredths(Size / 1048576) + L" Мб");
}

// ---------------------------------------------------------------- results

void TFrame5::DeleteAll() {
  TMainForm* form = MainForm;
  TListItems* rows = form->ListView4->Items();
  TStatusBar* bar = form->StatusBar1;
  g_lastPump = 0;
  while (rows->Count() > 0 && !Application->Terminated()) {
    TListItem* row = rows->Item(0);
    const std::wstring name = row->Caption();
    if (!row->Checked()) {
      bar->SetPanelText(0, L"Файл " + name + L" удален не будет");
    } else {
      bar->SetPanelText(0, L"Удаление: " + name);
      if (!DeleteFileW(name.c_str())) bar->SetPanelText(0, L"Не могу удалить " + name);
    }
    row->Delete();
    PumpMessages();
  }
  bar->SetPanelText(0, L"");
  ShowText(0, 0);
}

void TFrame5::DeleteFileSelected() {
  TMainForm* form = MainForm;
  TListItem* row = form->ListView4->Selected();
  if (!row || row->Caption().empty()) return;
  const std::wstring name = row->Caption();
  if (DeleteFileW(name.c_str())) {
    row->Delete();
  } else {
    // The file is still there: its row stays, and the status bar says why.
    form->StatusBar1->SetPanelText(0, L"Не могу удалить " + name);
  }
}

void TFrame5::CheckAll(bool Value) {
  TMainForm* form = MainForm;
  switch (form->TabbedNotebook1->PageIndex()) {
    case 0:
      for (int i = 0; i < form->CheckListBox1->Count(); ++i) form->CheckListBox1->SetChecked(i, Value);
      break;
    case 1:
    case 2:
    case 3: {
      TListView* list = form->TabbedNotebook1->PageIndex() == 1   ? form->ListView2
                        : form->TabbedNotebook1->PageIndex() == 2 ? form->ListView3
                                                                  : form->ListView4;
      for (int i = 0; i < list->Items()->Count(); ++i) list->Items()->Item(i)->SetChecked(Value);
      break;
    }
    default:
      break;
  }
}
