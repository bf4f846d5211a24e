#include "tests/app/programs/StartupTestSupport.h"

#include <aclapi.h>

#include <algorithm>

#include "framework/Forms.h"
#include "framework/StdCtrls.h"

namespace appstest {

namespace {

thread_local DialogAnswerer* g_answerer = nullptr;

std::wstring UniqueName() {
  static int counter = 0;
  return L"Apps-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) +
         L"-" + std::to_wstring(++counter);
}

HKEY CreateKey(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  LONG rc = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return rc == ERROR_SUCCESS ? key : nullptr;
}

std::wstring WindowText(HWND wnd) {
  wchar_t buffer[1024] = {};
  GetWindowTextW(wnd, buffer, 1024);
  return buffer;
}

std::wstring ClassOf(HWND wnd) {
  wchar_t name[64] = {};
  GetClassNameW(wnd, name, 64);
  return name;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM l) {
        reinterpret_cast<std::vector<HWND>*>(l)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

}  // namespace

// ---------------------------------------------------------------- registry places

ScratchStartupSources::ScratchStartupSources() : base_(L"Software\\TarnholtTest\\" + UniqueName()) {
  const std::wstring users = L".Default\\" + base_;
  sources_ = {
      {HKEY_LOCAL_MACHINE, base_ + L"\\Run", L"HKEY_LM\\Run", false},
      {HKEY_CURRENT_USER, base_ + L"\\Run", L"HKEY_CU\\Run", false},
      {HKEY_USERS, users + L"\\Run", L"HKEY_Users\\Run", false},
      {HKEY_LOCAL_MACHINE, base_ + L"\\RunOnce", L"HKEY_LM\\RunOnce", false},
      {HKEY_CURRENT_USER, base_ + L"\\RunOnce", L"HKEY_CU\\RunOnce", false},
      {HKEY_USERS, users + L"\\RunOnce", L"HKEY_Users\\RunOnce", false},
      {HKEY_CURRENT_USER, base_ + L"\\Windows", L"HKEY_CU\\load", true},
      {HKEY_USERS, users + L"\\Windows", L"HKEY_Users\\load", true},
  };
}

bool ScratchStartupSources::DenyValueWrites(int index, bool deny) const {
  const TStartupSource& source = sources_.at(static_cast<size_t>(index));
  HKEY key = nullptr;
  if (RegOpenKeyExW(source.Root, source.Key.c_str(), 0, READ_CONTROL | WRITE_DAC, &key) != ERROR_SUCCESS)
    return false;
  // Everyone may do anything but, while denied, set or delete values.
  EXPLICIT_ACCESSW rules[2] = {};
  wchar_t everyone[] = L"EVERYONE";
  BuildExplicitAccessWithNameW(&rules[0], everyone, KEY_SET_VALUE, DENY_ACCESS, NO_INHERITANCE);
  BuildExplicitAccessWithNameW(&rules[1], everyone, KEY_ALL_ACCESS, GRANT_ACCESS, NO_INHERITANCE);
  PACL acl = nullptr;
  bool changed = false;
  if (SetEntriesInAclW(deny ? 2 : 1, deny ? rules : rules + 1, nullptr, &acl) == ERROR_SUCCESS) {
    SECURITY_DESCRIPTOR sd;
    changed = InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION) &&
              SetSecurityDescriptorDacl(&sd, TRUE, acl, FALSE) &&
              RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
    LocalFree(acl);
  }
  RegCloseKey(key);
  return changed;
}

ScratchStartupSources::~ScratchStartupSources() {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, base_.c_str());
  RegDeleteTreeW(HKEY_CURRENT_USER, base_.c_str());
  RegDeleteTreeW(HKEY_USERS, (L".Default\\" + base_).c_str());
}

void ScratchStartupSources::Set(int index, const std::wstring& name, DWORD type, const void* data,
                                DWORD size) const {
  const TStartupSource& s = sources_.at(static_cast<size_t>(index));
  HKEY key = CreateKey(s.Root, s.Key);
  if (!key) return;
  RegSetValueExW(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
  RegCloseKey(key);
}

void ScratchStartupSources::SetString(int index, const std::wstring& name,
                                      const std::wstring& text) const {
  Set(index, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool ScratchStartupSources::Exists(int index, const std::wstring& name) const {
  const TStartupSource& s = sources_.at(static_cast<size_t>(index));
  return RegGetValueW(s.Root, s.Key.c_str(), name.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) ==
         ERROR_SUCCESS;
}

std::wstring ScratchStartupSources::Text(int index, const std::wstring& name) const {
  const TStartupSource& s = sources_.at(static_cast<size_t>(index));
  wchar_t buffer[1024] = {};
  DWORD size = sizeof buffer;
  if (RegGetValueW(s.Root, s.Key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer, &size) !=
      ERROR_SUCCESS)
    return L"<missing>";
  return buffer;
}

void ScratchStartupSources::Remove(int index, const std::wstring& name) const {
  const TStartupSource& s = sources_.at(static_cast<size_t>(index));
  RegDeleteKeyValueW(s.Root, s.Key.c_str(), name.c_str());
}

ScratchUninstall::ScratchUninstall() {
  location_.Root = HKEY_CURRENT_USER;
  location_.Key = L"Software\\TarnholtTest\\" + UniqueName() + L"\\Uninstall";
  if (HKEY key = CreateKey(location_.Root, location_.Key)) RegCloseKey(key);
}

ScratchUninstall::~ScratchUninstall() {
  const std::wstring parent = location_.Key.substr(0, location_.Key.rfind(L'\\'));
  RegDeleteTreeW(location_.Root, parent.c_str());
}

void ScratchUninstall::Add(const std::wstring& subKey, const std::wstring& displayName,
                           const std::wstring& command, DWORD commandType) const {
  HKEY key = CreateKey(location_.Root, location_.Key + L"\\" + subKey);
  if (!key) return;
  auto put = [&](const wchar_t* name, const std::wstring& text, DWORD type) {
    if (text.empty()) return;
    RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  };
  put(L"DisplayName", displayName, REG_SZ);
  put(L"UninstallString", command, commandType);
  RegCloseKey(key);
}

void ScratchUninstall::SetDword(const std::wstring& subKey, const std::wstring& name, DWORD v) const {
  HKEY key = CreateKey(location_.Root, location_.Key + L"\\" + subKey);
  if (!key) return;
  RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
  RegCloseKey(key);
}

bool ScratchUninstall::Exists(const std::wstring& subKey) const {
  HKEY key = nullptr;
  if (RegOpenKeyExW(location_.Root, (location_.Key + L"\\" + subKey).c_str(), 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

void ScratchUninstall::Remove(const std::wstring& subKey) const {
  RegDeleteTreeW(location_.Root, (location_.Key + L"\\" + subKey).c_str());
}

// ---------------------------------------------------------------- dialogs

DialogAnswerer::DialogAnswerer(std::deque<Reply> replies)
    : previous_(g_answerer), replies_(std::move(replies)) {
  g_answerer = this;
  hook_ = SetWindowsHookExW(WH_CBT, &DialogAnswerer::CbtProc, nullptr, GetCurrentThreadId());
}

DialogAnswerer::~DialogAnswerer() {
  if (hook_) UnhookWindowsHookEx(hook_);
  g_answerer = previous_;
}

std::vector<std::wstring> DialogAnswerer::Texts() const {
  std::vector<std::wstring> texts;
  for (const SeenBox& b : boxes_) texts.push_back(b.Text);
  return texts;
}

void DialogAnswerer::Answer(HWND wnd, const std::wstring& className) {
  if (std::find(answered_.begin(), answered_.end(), wnd) != answered_.end()) return;
  answered_.push_back(wnd);
  Reply reply;
  if (!replies_.empty()) {
    reply = replies_.front();
    replies_.pop_front();
  }
  SeenBox box;
  box.ClassName = className;
  box.Caption = WindowText(wnd);
  const HICON question = LoadIconW(nullptr, IDI_QUESTION);
  bool ok = false, cancel = false, yes = false, no = false;
  HWND edit = nullptr, okButton = nullptr, cancelButton = nullptr;
  for (HWND child : Children(wnd)) {
    const std::wstring cls = ClassOf(child);
    if (className == L"#32770") {
      if (_wcsicmp(cls.c_str(), L"Static") == 0) {
        if (reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) == question)
          box.Question = true;
        else if (box.Text.empty())
          box.Text = WindowText(child);
      } else if (_wcsicmp(cls.c_str(), L"Button") == 0 &&
                 (GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE)) {
        switch (GetDlgCtrlID(child)) {
          case IDOK: ok = true; break;
          case IDCANCEL: cancel = true; break;
          case IDYES: yes = true; break;
          case IDNO: no = true; break;
        }
      }
    } else if (cls == L"TEdit") {
      edit = child;
    } else if (cls == L"TButton") {
      (WindowText(child) == L"OK" ? okButton : cancelButton) = child;
    }
  }
  // The prompt is a windowless label: read it from the form object.
  if (auto* form = dynamic_cast<TInputQueryForm*>(FindControl(wnd)); form && form->Prompt)
    box.Text = form->Prompt->Caption();
  if (className == L"#32770") {
    box.Buttons = yes && no ? (cancel ? MB_YESNOCANCEL : MB_YESNO) : ok && cancel ? MB_OKCANCEL : MB_OK;
    PostMessageW(wnd, WM_COMMAND, MAKEWPARAM(reply.Button, BN_CLICKED), 0);
  } else {
    if (edit) box.Input = WindowText(edit);
    if (edit && reply.Type) SetWindowTextW(edit, reply.Input.c_str());
    HWND press = reply.Button == IDCANCEL ? cancelButton : okButton;
    if (press) PostMessageW(press, BM_CLICK, 0, 0);
  }
  boxes_.push_back(box);
}

LRESULT CALLBACK DialogAnswerer::CbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (DialogAnswerer* self = g_answerer) {
    HWND wnd = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_ACTIVATE) {
      const std::wstring cls = ClassOf(wnd);
      if (cls == L"#32770" || cls == L"TInputQueryForm") self->Answer(wnd, cls);
    } else if (code == HCBT_DESTROYWND) {
      self->answered_.erase(std::remove(self->answered_.begin(), self->answered_.end(), wnd),
                            self->answered_.end());
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool WaitForFile(const std::wstring& path, DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (GetTickCount() - start > ms) return false;
    if (Application) Application->ProcessMessages();
    Sleep(20);
  }
  return true;
}

}  // namespace appstest
