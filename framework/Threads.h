// Worker threads and calls handed to the main (user-interface) thread.
//
// Synchronised calls travel through one FIFO. The main thread owns a
// message-only window; each call posts it a message, so whatever message
// loop the main thread is in at that moment (the application's loop, a modal
// dialog, a message box, a popup menu) dispatches it and runs the calls in
// the order they were made. CheckSynchronize() runs them explicitly.
#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>

#include "framework/Classes.h"
#include "framework/Handles.h"

using TThreadMethod = std::function<void()>;

// Marks the calling thread as the main thread and creates its message-only
// window. Call once at start from the main thread (the first TThread or
// Synchronize made on the main thread also does it). Idempotent.
void InitMainThreadSync();
// Destroys the window again (at the end of the program, main thread only).
void DoneMainThreadSync();
DWORD MainThreadID();
bool IsMainThread();
// Runs every pending synchronised and queued call (main thread only; does
// nothing elsewhere). Returns true when at least one ran.
bool CheckSynchronize();
// Called on the main thread with an exception that escaped a queued call
// (a synchronised call's exception goes back to the calling worker instead).
// Defaults to a debugger trace; the application sets its error box here.
extern std::function<void(std::exception_ptr)> SyncExceptionHandler;

class TThread : public TObject {
 public:
  // The OS thread starts on Start() / AfterConstruction(): a C++ constructor
  // cannot run the derived Execute yet. Create threads with
  // TThread::Create<T>(...), which starts a thread made with
  // CreateSuspended = false once the derived constructor is done.
  explicit TThread(bool CreateSuspended);
  // Destroying a running thread terminates it and waits for it (serving
  // synchronised calls meanwhile when called on the main thread). The wait
  // happens here, after the derived destructor: a derived class whose
  // Execute uses its own members calls Terminate() and WaitFor() in its
  // destructor first.
  ~TThread() override;
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  template <class T, class... Args>
  static T* Create(Args&&... args) {
    T* t = new T(std::forward<Args>(args)...);
    t->AfterConstruction();
    return t;
  }

  // Starts the thread unless it was created suspended.
  void AfterConstruction();
  // Starts a thread that has not run yet; raises EThread when it has.
  void Start();
  void Resume() { Start(); }
  // Sets Terminated; Execute is expected to poll it.
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  bool Finished() const { return finished_; }
  bool Started() const { return started_; }
  // Waits for the thread to end and returns ReturnValue. On the main thread
  // synchronised calls are served while waiting.
  int WaitFor();

  HANDLE Handle() const { return handle_.get(); }
  DWORD ThreadID() const { return threadId_; }

  // The object deletes itself after Execute and OnTerminate. Set before
  // starting; such an object must be created with new.
  bool FreeOnTerminate = false;
  // Runs on the main thread after Execute returns (through Synchronize).
  TNotifyEvent OnTerminate;
  int ReturnValue = 0;
  // The exception that escaped Execute, if any.
  std::exception_ptr FatalException;

  // Runs `method` on the main thread and returns when it has run; an
  // exception it raises is raised again here. On the main thread it runs
  // directly.
  void Synchronize(const TThreadMethod& method) { Synchronize(this, method); }
  static void Synchronize(TThread* thread, const TThreadMethod& method);
  // Hands `method` to the main thread and returns at once; the calls run in
  // the order made. On the main thread it runs directly.
  void Queue(const TThreadMethod& method) { Queue(this, method); }
  static void Queue(TThread* thread, const TThreadMethod& method);

 protected:
  virtual void Execute() = 0;
  // Runs OnTerminate through Synchronize (when assigned).
  virtual void DoTerminate();

 private:
  static unsigned __stdcall ThreadProc(void* param);

  UniqueKernelHandle handle_;
  DWORD threadId_ = 0;
  bool createSuspended_;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  std::atomic<bool> neverRun_{false};
  bool started_ = false;
};
