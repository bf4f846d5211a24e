#pragma once
// Helpers of the applications page's tests (start-up entries and installed
// applications): scratch registry places for the lists' sources, an answerer
// for the page's message boxes and its input box, and an open dialog that
// answers without a window.
#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/programs/InstalledApps.h"
#include "app/programs/StartupEntries.h"
#include "framework/Dialogs.h"

namespace appstest {

// A unique key name below "Software\TarnholtTest" of HKCU, HKLM and
// HKU\.Default, deleted with everything in it under all three roots at the
// end. The eight start-up sources point into it, keeping the real roots.
class ScratchStartupSources {
 public:
  ScratchStartupSources();
  ~ScratchStartupSources();
  ScratchStartupSources(const ScratchStartupSources&) = delete;
  ScratchStartupSources& operator=(const ScratchStartupSources&) = delete;

  const std::vector<TStartupSource>& Sources() const { return sources_; }
  // Writes a value into source `index`'s key (created when missing).
  void Set(int index, const std::wstring& name, DWORD type, const void* data, DWORD size) const;
  void SetString(int index, const std::wstring& name, const std::wstring& text) const;
  bool Exists(int index, const std::wstring& name) const;
  std::wstring Text(int index, const std::wstring& name) const;  // REG_SZ text
  void Remove(int index, const std::wstring& name) const;
  // Denies everyone the setting and deleting of values in source `index`'s
  // key (as a non-administrator meets HKLM's Run key), or lifts that again.
  // True when the key's access list was changed.
  bool DenyValueWrites(int index, bool deny) const;

 private:
  std::wstring base_;
  std::vector<TStartupSource> sources_;
};

// A scratch Uninstall key below HKCU\Software\TarnholtTest, deleted at the end.
class ScratchUninstall {
 public:
  ScratchUninstall();
  ~ScratchUninstall();
  ScratchUninstall(const ScratchUninstall&) = delete;
  ScratchUninstall& operator=(const ScratchUninstall&) = delete;

  const TUninstallLocation& Location() const { return location_; }
  // A subkey with the given string values (an empty text leaves it out).
  void Add(const std::wstring& subKey, const std::wstring& displayName,
           const std::wstring& command, DWORD commandType = REG_SZ) const;
  void SetDword(const std::wstring& subKey, const std::wstring& name, DWORD v) const;
  bool Exists(const std::wstring& subKey) const;
  void Remove(const std::wstring& subKey) const;

 private:
  TUninstallLocation location_;
};

struct SeenBox {
  std::wstring ClassName;  // "#32770" or "TInputQueryForm"
  std::wstring Caption;
  std::wstring Text;       // the message, or the input box's prompt
  std::wstring Input;      // the input box's text as it came up
  UINT Buttons = 0;        // what the message box offers: MB_OK, MB_OKCANCEL, MB_YESNO...
  bool Question = false;   // shows the question icon
};

// One reply: the button id for a message box; for the input box, the text
// to type (when Type) and whether to press OK (else Cancel).
struct Reply {
  Reply(int button = IDOK, bool type = false, std::wstring input = {})
      : Button(button), Type(type), Input(std::move(input)) {}
  int Button;
  bool Type;
  std::wstring Input;
};

// While alive, answers this thread's message boxes and input boxes with the
// queued replies in turn (IDOK / OK unchanged when the queue is empty), and
// records every box it saw.
class DialogAnswerer {
 public:
  explicit DialogAnswerer(std::deque<Reply> replies = {});
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;
  const std::vector<SeenBox>& Boxes() const { return boxes_; }
  std::vector<std::wstring> Texts() const;

 private:
  static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
  void Answer(HWND wnd, const std::wstring& className);

  HHOOK hook_ = nullptr;
  DialogAnswerer* previous_ = nullptr;
  std::deque<Reply> replies_;
  std::vector<HWND> answered_;
  std::vector<SeenBox> boxes_;
};

// Stands in for the open dialog: returns Choose and sets FileName to Name.
class FakeOpenDialog : public TOpenDialog {
 public:
  explicit FakeOpenDialog(TComponent* owner) : TOpenDialog(owner) {}
  bool Execute() override {
    ++Calls;
    if (Choose) FileName = Name;
    return Choose;
  }
  bool Choose = true;
  std::wstring Name;
  int Calls = 0;
};

// Runs `f` when it goes out of scope (clean-up that a failed ASSERT must
// not skip).
struct AtScopeExit {
  std::function<void()> f;
  ~AtScopeExit() { if (f) f(); }
};

// Waits (serving this thread's messages) until the file exists; false after
// `ms` milliseconds.
bool WaitForFile(const std::wstring& path, DWORD ms = 30000);

}  // namespace appstest
