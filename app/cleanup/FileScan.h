// TmFileScan: a non-visual component that searches folders for names that
// match masks on a worker thread (TSearchThread) and reports every hit, and
// then the end of the search, on the user-interface thread, in order.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Classes.h"
#include "framework/Component.h"
#include "framework/Handles.h"
#include "framework/Threads.h"

class TSearchThread;
class TmFileScan;

// Sender is the TSearchThread; FileName is the folder path (with its
// trailing backslash) followed directly by the entry's name.
using TOnFileFoundEvent = std::function<void(TObject* Sender, const std::wstring& FileName)>;
// SearchResult holds every reported name in report order and is freed right
// after the call: a handler copies what it keeps.
using TOnReadyEvent =
    std::function<void(TObject* Sender, bool Aborted, TStringList* SearchResult)>;

// What a search and its component share. The worker never touches the
// component itself: everything it hands over goes through queued calls that
// look at `owner` first, which the component clears when it goes away.
struct TFileScanLink {
  TmFileScan* owner = nullptr;         // user-interface thread only
  std::atomic<bool> stop{false};       // set by Stop and by the component's end
  std::atomic<bool> failed{false};     // a handler raised: the search is aborted
  std::atomic<int> inFlight{0};        // batches handed over, not yet delivered
  UniqueKernelHandle drained;          // auto-reset: a batch was delivered
  bool readyRunning = false;           // user-interface thread: inside the ready call
  // User-interface thread: every name reported so far, the ready call's
  // SearchResult. Kept here so the worker never copies a name.
  std::unique_ptr<TStringList> result = std::make_unique<TStringList>();
};

class TmFileScan : public TComponent {
 public:
  explicit TmFileScan(TComponent* AOwner);
  // Stops a running search and waits for its worker; no handler of this
  // component runs afterwards.
  ~TmFileScan() override;
  const wchar_t* ClassName() const override { return L"TmFileScan"; }

  // Folders to search, one per entry.
  TStrings* Paths() const { return paths_.get(); }
  void SetPaths(TStrings* value) { paths_->Assign(value); }
  // Masks, one per entry ("*.*"); every mask is applied to every folder.
  TStrings* Filters() const { return filters_.get(); }
  void SetFilters(TStrings* value) { filters_->Assign(value); }
  // Also search every subfolder.
  bool SubDirs = true;
  // A fixed version text; setting it changes nothing.
  const std::wstring& About() const { return about_; }
  void SetAbout(const std::wstring&) {}

  TOnFileFoundEvent OnFileFound;
  TOnReadyEvent OnReady;

  // True from Start until the ready call of that search.
  bool Busy() const { return busy_; }
  // Every name the current search has reported so far.
  TStringList* FoundList() const { return foundList_.get(); }

  // Starts a search unless one runs (then nothing happens and nothing is
  // reported a second time).
  void Start();
  // Asks the running search to end; its ready call then reports Aborted.
  void Stop();

 private:
  friend class TSearchThread;
  void Detach();

  std::unique_ptr<TStringList> filters_;
  std::unique_ptr<TStringList> paths_;
  std::unique_ptr<TStringList> foundList_;
  std::wstring about_;
  bool busy_ = false;
  std::shared_ptr<TFileScanLink> link_;  // of the last search started
  UniqueKernelHandle threadHandle_;      // of the last search's worker
};

// One search; frees itself when it ends.
class TSearchThread : public TThread {
 public:
  TSearchThread(TmFileScan* Owner, bool SubDirs, TStrings* Paths, TStrings* Filters,
                TOnFileFoundEvent OnFileFound, TOnReadyEvent OnReady,
                std::shared_ptr<TFileScanLink> link);

  // The component that started this search; null once it is gone. Valid on
  // the user-interface thread inside the component's handlers.
  TmFileScan* Owner() const { return link_->owner; }

 protected:
  void Execute() override;

 private:
  void SearchDirectory(const std::wstring& dir, const std::wstring& mask);
  void Report(std::wstring fileName);
  void Flush();
  void DeliverBatch(std::vector<std::wstring>& batch);
  void DoReady(bool aborted);
  bool Stopping() const { return link_->stop.load(std::memory_order_relaxed); }

  bool subDirs_;
  TStringList filters_;
  TStringList paths_;
  TOnFileFoundEvent onFileFound_;
  TOnReadyEvent onReady_;
  std::shared_ptr<TFileScanLink> link_;
  std::vector<std::wstring> batch_;
  ULONGLONG batchStarted_ = 0;
};
