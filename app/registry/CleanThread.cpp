#include "app/registry/CleanThread.h"

#include <algorithm>
#include <cwchar>
#include <utility>

namespace {

constexpr const wchar_t* kClsidPath = L"\\SOFTWARE\\Classes\\CLSID";
constexpr const wchar_t* kUserSoftwarePath = L"\\SOFTWARE";
// Longest value name the registry allows, plus its NUL.
constexpr DWORD kMaxValueNameChars = 16384;

// Runs one pass with a registry object of its own, rooted at Root.
void RunPass(TCleanThread& thread, HKEY root, const std::wstring& start) {
  TRegistry reg(KEY_READ);
  reg.SetRootKey(root);
  WalkRegKeys(thread, reg, start, start, L"", 1);
}

// The REG_SZ values of an open key, each with its text up to the first NUL,
// handed to `examine`. Other types are skipped without reading their data,
// and so are strings over kMaxScannedValueBytes.
template <class Examine>
void ForEachStringValue(TCleanThread& thread, HKEY key, DWORD maxNameChars, DWORD maxDataBytes,
                        Examine&& examine) {
  std::vector<wchar_t>& name = thread.NameBuffer();
  std::vector<BYTE>& data = thread.DataBuffer();
  if (name.size() < maxNameChars + 1) name.resize(std::min(maxNameChars + 1, kMaxValueNameChars));
  const DWORD wantData = std::min(maxDataBytes, kMaxScannedValueBytes) + 2;
  if (data.size() < wantData) data.resize(wantData);

  for (DWORD index = 0;; ++index) {
    if (!thread.Running) return;
    DWORD nameLen = 0, dataLen = 0, type = REG_NONE;
    LONG r = ERROR_MORE_DATA;
    // A value may grow between the size query and the read: try again a few
    // times with a larger buffer, then give up on that value.
    for (int attempt = 0; attempt < 4 && r == ERROR_MORE_DATA; ++attempt) {
      nameLen = static_cast<DWORD>(name.size());
      dataLen = static_cast<DWORD>(data.size());
      r = ::RegEnumValueW(key, index, name.data(), &nameLen, nullptr, &type, data.data(),
                          &dataLen);
      if (r != ERROR_MORE_DATA) break;
      // Ask again without data for the type and both sizes.
      nameLen = kMaxValueNameChars;
      if (name.size() < kMaxValueNameChars) name.resize(kMaxValueNameChars);
      dataLen = 0;
      const LONG q = ::RegEnumValueW(key, index, name.data(), &nameLen, nullptr, &type, nullptr,
                                     &dataLen);
      if (q != ERROR_SUCCESS || type != REG_SZ || dataLen > kMaxScannedValueBytes) {
        r = q == ERROR_NO_MORE_ITEMS ? q : ERROR_INVALID_DATA;
        break;
      }
      if (data.size() < dataLen + 2) data.resize(dataLen + 2);
    }
    if (r == ERROR_NO_MORE_ITEMS) return;
    if (r != ERROR_SUCCESS || type != REG_SZ) continue;

    const wchar_t* chars = reinterpret_cast<const wchar_t*>(data.data());
    const size_t length = dataLen / sizeof(wchar_t);  // an odd last byte is no character
    const wchar_t* nul = std::wmemchr(chars, L'\0', length);
    const size_t count = nul ? static_cast<size_t>(nul - chars) : length;
    examine(std::wstring(name.data(), nameLen), std::wstring(chars, count));
  }
}

}  // namespace

TCleanThread::TCleanThread() : TThread(true) {}

void TCleanThread::Cancel() {
  Terminate();
  Running = false;
}

void TCleanThread::AddFinding(TRegFinding Row) {
  if (!OnFinding) return;
  auto hook = OnFinding;
  Queue([hook, row = std::move(Row)] { hook(row); });
}

void TCleanThread::ShowStatus(const std::wstring& Text) {
  if (!OnStatus) return;
  auto hook = OnStatus;
  Queue([hook, Text] { hook(Text); });
}

void TCleanThread::Execute() {
  // No "insert a disk" box may stop the walk on an empty drive.
  ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, nullptr);
  Running = true;
  // A cancel made before the worker got here must not be undone by the line
  // above: Cancel sets Terminated first.
  if (Terminated()) Running = false;
  try {
    RunPasses();
  } catch (...) {
    // A failure inside the walk ends the scan like a cancel: the rows so far
    // stay and the page still gets its final status.
  }
}

void TCleanThread::DoTerminate() {
  // Here rather than at the end of Execute: a thread cancelled before it got
  // to run never executes, and the page must still leave its scanning state.
  ShowStatus(kRegStatusDone);
  Running = false;
  if (OnFinished) Synchronize(OnFinished);
  TThread::DoTerminate();
}

void TCleanThread::RunPasses() {
  volumes_ = TVolumeSerials();
  if (ScanExtensions) {
    ShowStatus(kRegStatusExtensions);
    RunPass(*this, HKEY_CLASSES_ROOT, L"");
  }
  if (ScanCLSID) {
    ShowStatus(kRegStatusFileLinks);
    RunPass(*this, HKEY_LOCAL_MACHINE, kClsidPath);
    RunPass(*this, HKEY_CURRENT_USER, kClsidPath);
  }
  if (ScanUserKeys) {
    // One walk: a second one over the same key would list every finding twice.
    ShowStatus(kRegStatusFileLinks);
    RunPass(*this, HKEY_CURRENT_USER, kUserSoftwarePath);
  }
}

void WalkRegKeys(TCleanThread& Thread, TRegistry& Reg, const std::wstring& Path,
                 const std::wstring& KeyName, const std::wstring& ParentPath, int Recurse,
                 int Depth) {
  if (!Thread.Running) return;
  const bool isClassesRoot = Reg.RootKey() == HKEY_CLASSES_ROOT;
  if (Reg.OpenKeyReadOnly(KeyName) && Reg.HasSubKeys() && Recurse == 1 &&
      Depth < kMaxRegWalkDepth) {
    const std::vector<std::wstring> names = Reg.GetKeyNames();
    const std::wstring childParent = NormalizeKeyPath(ParentPath) + KeyName;
    for (size_t i = 0; i < names.size(); ++i) {
      if (!Thread.Running) return;
      std::wstring name = names[i];
      if (name.empty()) {
        wchar_t number[16];
        std::swprintf(number, 16, L"%.4d", static_cast<int>(i));
        name = number;
      }
      const std::wstring child = Path + L"\\" + name;
      CheckRegEntry(Thread, child, name, Reg.RootKey());
      if (!isClassesRoot)
        WalkRegKeys(Thread, Reg, child, name, childParent, Recurse, Depth + 1);
    }
  }
  // The caller's next subkey is opened by name below this key's parent.
  Reg.OpenKeyReadOnly(NormalizeKeyPath(ParentPath));
}

void CheckRegEntry(TCleanThread& Thread, const std::wstring& Path, const std::wstring& KeyName,
                   HKEY Root) {
  if (!Thread.Running) return;
  TRegistry reg(KEY_READ);
  reg.SetRootKey(Root);
  if (!reg.OpenKeyReadOnly(Path)) return;
  TRegKeyInfo info;
  if (!reg.GetKeyInfo(info)) return;

  if (Root == HKEY_CLASSES_ROOT) {
    if (!KeyName.empty() && KeyName[0] == L'.' && info.NumValues == 0 && info.NumSubKeys == 0 &&
        Path == L"\\" + KeyName)
      Thread.AddFinding({kRegInvalidExtension, KeyName, L"HKCR", Path, L""});
    return;
  }
  if (info.NumValues == 0) return;

  const std::wstring section = RegSectionOfRoot(Root);
  ForEachStringValue(Thread, reg.CurrentKey(), static_cast<DWORD>(info.MaxValueLen),
                     static_cast<DWORD>(info.MaxDataLen),
                     [&](const std::wstring& name, const std::wstring& text) {
                       if (IsDeadFileReference(text, Thread.Volumes()))
                         Thread.AddFinding({kRegInvalidFileLink, text, section, Path, name});
                     });
}

void StopCleanThread(TCleanThread* Thread) {
  if (!Thread) return;
  if (!Thread->Started()) {
    delete Thread;
    return;
  }
  HANDLE raw = nullptr;
  ::DuplicateHandle(::GetCurrentProcess(), Thread->Handle(), ::GetCurrentProcess(), &raw,
                    SYNCHRONIZE, FALSE, 0);
  UniqueKernelHandle handle(raw);
  Thread->Cancel();
  if (!handle) return;
  // The worker's last update waits for this thread: keep serving its calls
  // until the thread object is gone.
  for (;;) {
    CheckSynchronize();
    const DWORD r =
        ::MsgWaitForMultipleObjects(1, &raw, FALSE, 50, QS_POSTMESSAGE | QS_SENDMESSAGE);
    if (r == WAIT_OBJECT_0) break;
    if (r == WAIT_OBJECT_0 + 1) {
      // Marks the queue as looked at (and delivers sent messages), so the
      // next wait sleeps until the worker posts again.
      MSG msg;
      ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    }
  }
  CheckSynchronize();
}
