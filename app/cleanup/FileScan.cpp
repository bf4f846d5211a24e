#include "app/cleanup/FileScan.h"

#include <utility>

namespace {

const wchar_t kAboutText[] = L"TmFileScan 1.0";

// Names are handed to the user-interface thread in batches: one queued call
// per name would cost more than listing the name. A batch goes when it is
// full or old enough for the window to look alive; the worker runs at most
// a few batches ahead of the handlers.
constexpr size_t kBatchNames = 512;
constexpr ULONGLONG kBatchMaxAgeMs = 30;
constexpr int kMaxBatchesInFlight = 4;

std::wstring IncludeSlash(const std::wstring& path) {
  if (!path.empty() && path.back() == L'\\') return path;
  return path + L'\\';
}

bool IsDots(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

// "*" and "*.*" select every entry, so one listing of the folder serves both
// its hits and its subfolders.
bool MatchesEverything(const std::wstring& mask) { return mask == L"*" || mask == L"*.*"; }

// A folder we may walk into: a linked folder (junction, symbolic link) is
// reported but never entered, so a link loop cannot make the walk endless and
// a link cannot lead it outside the folders it was given.
bool IsEnterableDir(const WIN32_FIND_DATAW& data) {
  return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
         !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && !IsDots(data.cFileName);
}

UniqueFindHandle FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& data) {
  HANDLE h = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                nullptr, FIND_FIRST_EX_LARGE_FETCH);
  return UniqueFindHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

}  // namespace

// ---------------------------------------------------------------- TmFileScan

TmFileScan::TmFileScan(TComponent* AOwner)
    : TComponent(AOwner),
      filters_(std::make_unique<TStringList>()),
      paths_(std::make_unique<TStringList>()),
      foundList_(std::make_unique<TStringList>()),
      about_(kAboutText) {
  SubDirs = true;
}

TmFileScan::~TmFileScan() { Detach(); }

void TmFileScan::Detach() {
  if (!link_) return;
  std::shared_ptr<TFileScanLink> link = std::move(link_);
  link->owner = nullptr;
  link->stop = true;
  ::SetEvent(link->drained.get());
  // Inside our own ready call the worker is waiting for that call to return
  // and touches nothing of ours afterwards; at any other time it may still
  // be walking, so wait for it, serving the calls it hands over meanwhile
  // (they see the link cut and do nothing).
  if (busy_ && !link->readyRunning && threadHandle_) {
    while (::WaitForSingleObject(threadHandle_.get(), 5) == WAIT_TIMEOUT) CheckSynchronize();
  }
  busy_ = false;
}

void TmFileScan::Start() {
  if (!busy_) {
    foundList_->Clear();
    auto link = std::make_shared<TFileScanLink>();
    link->owner = this;
    link->drained.reset(::CreateEventW(nullptr, FALSE, FALSE, nullptr));
    auto* thread = new TSearchThread(this, SubDirs, paths_.get(), filters_.get(), OnFileFound,
                                     OnReady, link);
    HANDLE dup = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), thread->Handle(), ::GetCurrentProcess(), &dup, SYNCHRONIZE,
                      FALSE, 0);
    threadHandle_.reset(dup);
    link_ = std::move(link);
    busy_ = true;
    thread->Start();
  }
  busy_ = true;
}

void TmFileScan::Stop() {
  if (busy_ && link_) {
    link_->stop = true;
    ::SetEvent(link_->drained.get());
  }
}

// ---------------------------------------------------------------- TSearchThread

TSearchThread::TSearchThread(TmFileScan* Owner, bool SubDirs, TStrings* Paths, TStrings* Filters,
                             TOnFileFoundEvent OnFileFound, TOnReadyEvent OnReady,
                             std::shared_ptr<TFileScanLink> link)
    : TThread(true),
      subDirs_(SubDirs),
      onFileFound_(std::move(OnFileFound)),
      onReady_(std::move(OnReady)),
      link_(std::move(link)) {
  (void)Owner;  // reached through the link, which forgets it when it goes away
  paths_.SetText(Paths->Text());
  filters_.SetText(Filters->Text());
  FreeOnTerminate = true;
}

void TSearchThread::Execute() {
  bool failed = false;
  try {
    for (int p = 0; p < paths_.Count() && !Stopping(); ++p) {
      const std::wstring dir = IncludeSlash(paths_[p]);
      for (int f = 0; f < filters_.Count() && !Stopping(); ++f) SearchDirectory(dir, filters_[f]);
    }
  } catch (...) {
    failed = true;  // the walk could not go on; the ready call still comes
  }
  try {
    Flush();
  } catch (...) {
    failed = true;
  }
  DoReady(failed || Stopping() || link_->failed);
}

void TSearchThread::SearchDirectory(const std::wstring& dir, const std::wstring& mask) {
  const bool everything = MatchesEverything(mask);
  std::vector<std::wstring> subdirs;
  WIN32_FIND_DATAW data;
  {
    UniqueFindHandle find = FindFirst(dir + (everything ? L"*" : mask), data);
    if (find) {
      do {
        if (IsDots(data.cFileName)) continue;
        if (everything && subDirs_ && IsEnterableDir(data)) subdirs.emplace_back(data.cFileName);
        Report(dir + data.cFileName);
      } while (!Stopping() && ::FindNextFileW(find.get(), &data));
    }
  }
  if (!subDirs_ || Stopping()) return;
  if (!everything) {
    UniqueFindHandle find = FindFirst(dir + L"*", data);
    if (find) {
      do {
        if (IsEnterableDir(data)) subdirs.emplace_back(data.cFileName);
      } while (!Stopping() && ::FindNextFileW(find.get(), &data));
    }
  }
  // A folder's own hits come before those of its subfolders.
  for (const std::wstring& sub : subdirs) {
    if (Stopping()) break;
    SearchDirectory(dir + sub + L'\\', mask);
  }
}

void TSearchThread::Report(std::wstring fileName) {
  if (batch_.empty()) batchStarted_ = ::GetTickCount64();
  batch_.push_back(std::move(fileName));
  if (batch_.size() >= kBatchNames || ::GetTickCount64() - batchStarted_ >= kBatchMaxAgeMs) Flush();
}

void TSearchThread::Flush() {
  if (batch_.empty()) return;
  // Keep close to the handlers: wait while too many batches are undelivered
  // (a stop or the component's end wakes us).
  while (link_->inFlight.load() >= kMaxBatchesInFlight && !Stopping())
    ::WaitForSingleObject(link_->drained.get(), 50);
  std::vector<std::wstring> batch;
  batch.swap(batch_);
  batch_.reserve(kBatchNames);
  ++link_->inFlight;
  DeliverBatch(batch);
}

void TSearchThread::DeliverBatch(std::vector<std::wstring>& batch) {
  auto names = std::make_shared<std::vector<std::wstring>>(std::move(batch));
  std::shared_ptr<TFileScanLink> link = link_;
  TOnFileFoundEvent* handler = &onFileFound_;
  // The thread object stays alive until its ready call has run, which comes
  // after every batch; when the link is cut, nothing of it is touched.
  Queue([this, link, names, handler] {
    --link->inFlight;
    ::SetEvent(link->drained.get());
    for (std::wstring& name : *names) {
      // After a stop (or a failed handler) no further name is reported.
      TmFileScan* owner = link->owner;
      if (!owner || link->stop) return;
      owner->foundList_->Add(name);
      link->result->Add(name);
      if (*handler) {
        try {
          (*handler)(this, name);
        } catch (...) {
          link->failed = true;
          link->stop = true;
          if (SyncExceptionHandler) SyncExceptionHandler(std::current_exception());
          return;
        }
      }
    }
  });
}

void TSearchThread::DoReady(bool aborted) {
  Synchronize([this, aborted] {
    TmFileScan* owner = link_->owner;
    if (!owner) return;
    owner->busy_ = false;
    std::shared_ptr<TFileScanLink> link = link_;  // the handler may free the component
    link->readyRunning = true;
    try {
      if (onReady_) onReady_(this, aborted || link->stop || link->failed, link->result.get());
    } catch (...) {
      if (SyncExceptionHandler) SyncExceptionHandler(std::current_exception());
    }
    link->result.reset();  // a handler copies what it keeps
    link->readyRunning = false;
  });
}
