// TCleanThread: the registry cleaner's scan. It walks the chosen parts of the
// registry on its own thread, opening every key read-only, and hands each
// finding and status text to the user-interface thread in the order it makes
// them. The page connects the hooks to its list view, status panel and
// buttons; the thread frees itself when it ends.
#pragma once

#include "app/registry/RegFinding.h"
#include "app/registry/RegScanRules.h"
#include "framework/Registry.h"
#include "framework/Threads.h"

#include <atomic>
#include <functional>
#include <string>
#include <vector>

class TCleanThread : public TThread {
 public:
  // Created suspended: set the flags and hooks (and FreeOnTerminate), then
  // Start().
  TCleanThread();

  // True while the scan runs; clearing it stops the walk at its next test.
  std::atomic<bool> Running{false};
  bool ScanExtensions = true;  // empty extension keys directly below HKCR
  bool ScanCLSID = false;      // SOFTWARE\Classes\CLSID of HKLM and of HKCU
  bool ScanUserKeys = true;    // SOFTWARE of HKCU, once

  // All hooks run on the user-interface thread, in the order the worker
  // makes the updates. OnFinished comes last, after the final status text,
  // and the worker waits for it: once it has run, the page may forget the
  // thread (it frees itself right after).
  std::function<void(const TRegFinding& Row)> OnFinding;
  std::function<void(const std::wstring& Text)> OnStatus;
  std::function<void()> OnFinished;

  // What the cancel button does: Running := False and Terminate.
  void Cancel();

  // Used by the walk (on the worker thread).
  void AddFinding(TRegFinding Row);
  void ShowStatus(const std::wstring& Text);
  TVolumeSerials& Volumes() { return volumes_; }
  // Scratch buffers of the value walk, reused from key to key.
  std::vector<wchar_t>& NameBuffer() { return nameBuffer_; }
  std::vector<BYTE>& DataBuffer() { return dataBuffer_; }

 protected:
  void Execute() override;
  // Shows the final status and runs OnFinished, also for a thread that was
  // cancelled before Execute could start.
  void DoTerminate() override;

 private:
  void RunPasses();

  TVolumeSerials volumes_;
  std::vector<wchar_t> nameBuffer_;
  std::vector<BYTE> dataBuffer_;
};

// The walks below keep to what the registry allows (512 levels); a deeper
// chain, which only a damaged hive could hold, is not followed further.
inline constexpr int kMaxRegWalkDepth = 512;
// String values longer than this are no file references; they are skipped
// unread.
inline constexpr DWORD kMaxScannedValueBytes = 1u << 20;

// Walks the subkeys of KeyName with the pass's registry object Reg (which
// holds one key open at a time): examines each subkey with CheckRegEntry and,
// unless Reg's root is HKEY_CLASSES_ROOT and while Recurse is 1, walks it in
// turn. Depth counts the levels below the pass's start.
void WalkRegKeys(TCleanThread& Thread, TRegistry& Reg, const std::wstring& Path,
                 const std::wstring& KeyName, const std::wstring& ParentPath, int Recurse,
                 int Depth = 0);

// Examines the key Path below Root and reports its findings: an empty
// extension key directly below HKEY_CLASSES_ROOT, or REG_SZ values of other
// roots that name a missing file.
void CheckRegEntry(TCleanThread& Thread, const std::wstring& Path, const std::wstring& KeyName,
                   HKEY Root);

// Stops a scan and waits until its worker has delivered its last update and
// is gone, serving the calls it hands to this thread meanwhile. For closing
// the main window during a scan; user-interface thread only; Thread must
// still be alive (its OnFinished has not run yet).
void StopCleanThread(TCleanThread* Thread);
