// The real program's duplicate finder: " Parvik" opens its page, the folder
// chooser adds a folder picked in the shell tree, the scan runs and the
// result window opens on its result.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/common/AppDriver.h"
#include "tests/common/TestEnv.h"

using namespace testenv;

namespace {

// Tree-view items of another process, read through memory lent in it.
class RemoteTree {
 public:
  RemoteTree(HWND tree, DWORD pid) : tree_(tree) {
    process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (process_)
      memory_ = VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  }
  ~RemoteTree() {
    if (memory_) VirtualFreeEx(process_, memory_, 0, MEM_RELEASE);
    if (process_) CloseHandle(process_);
  }
  RemoteTree(const RemoteTree&) = delete;
  RemoteTree& operator=(const RemoteTree&) = delete;
  bool Ready() const { return memory_ != nullptr; }

  std::wstring Text(HTREEITEM item) const {
    auto* remoteText = static_cast<wchar_t*>(memory_) + 256;
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = remoteText;
    tv.cchTextMax = 512;
    SIZE_T n = 0;
    if (!WriteProcessMemory(process_, memory_, &tv, sizeof tv, &n)) return L"";
    DWORD_PTR r = 0;
    SendMessageTimeoutW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory_), SMTO_NORMAL, 10000, &r);
    wchar_t buffer[512] = {};
    ReadProcessMemory(process_, remoteText, buffer, sizeof buffer - sizeof(wchar_t), &n);
    return buffer;
  }
  std::vector<HTREEITEM> Children(HTREEITEM parent) const {
    std::vector<HTREEITEM> items;
    auto next = [&](UINT how, HTREEITEM from) {
      return reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
    };
    for (HTREEITEM it = parent ? next(TVGN_CHILD, parent) : next(TVGN_ROOT, nullptr); it; it = next(TVGN_NEXT, it))
      items.push_back(it);
    return items;
  }
  // Selects the item and opens it the way the keyboard does, so the tree
  // lists its children.
  void SelectAndOpen(HTREEITEM item) const {
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    SendMessageW(tree_, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageW(tree_, WM_KEYUP, VK_RIGHT, 0);
    Sync(tree_);
  }

 private:
  HWND tree_;
  HANDLE process_ = nullptr;
  void* memory_ = nullptr;
};

bool SameName(const std::wstring& a, const std::wstring& b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

// Opens the tree down to `path` ("C:\a\b"): the drive's node is the top
// node whose text holds "C:", every further node is named by its folder.
bool SelectPath(const RemoteTree& tree, const std::wstring& path) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find(L'\\', start);
    if (end == std::wstring::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  HTREEITEM node = nullptr;
  for (size_t i = 0; i < parts.size(); ++i) {
    HTREEITEM found = nullptr;
    for (HTREEITEM child : tree.Children(node)) {
      const std::wstring text = tree.Text(child);
      const bool match = i == 0 ? SameName(text.substr(0, 2), parts[0]) ||
                                      text.find(L"(" + parts[0] + L")") != std::wstring::npos ||
                                      SameName(text, parts[0] + L"\\")
                                : SameName(text, parts[i]);
      if (match) {
        found = child;
        break;
      }
    }
    if (!found) {
      ADD_FAILURE() << "no tree node for " << std::string(parts[i].begin(), parts[i].end());
      return false;
    }
    tree.SelectAndOpen(found);
    node = found;
  }
  return true;
}

// The main window; message boxes the program shows while it starts (a
// fresh prefix lacks settings that start-up reports) are answered with OK.
HWND WaitForMain(const TarnholtProcess& app, DWORD timeoutMs = 60000) {
  struct Boxes {
    DWORD pid;
    static BOOL CALLBACK Answer(HWND wnd, LPARAM lp) {
      DWORD pid = 0;
      GetWindowThreadProcessId(wnd, &pid);
      if (pid == reinterpret_cast<Boxes*>(lp)->pid && ClassOf(wnd) == L"#32770" && IsWindowVisible(wnd))
        PostMessageW(wnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      return TRUE;
    }
  } boxes{app.Pid()};
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (GetTickCount64() < end) {
    if (HWND main = app.WaitForWindow(kMainCaption, 200)) return main;
    EnumWindows(&Boxes::Answer, reinterpret_cast<LPARAM>(&boxes));
  }
  return nullptr;
}

bool WaitForText(HWND wnd, const std::wstring& text, DWORD timeoutMs = 60000) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (WindowText(wnd) != text) {
    if (GetTickCount64() > end) return false;
    PumpFor(20);
  }
  return true;
}

TEST(DupEndToEnd, ChooseAFolderScanItAndOpenTheResult) {
  ScopedTempDir tmp;
  tmp.WriteFile(L"a\\копия.txt", "одинаковое содержимое");
  tmp.WriteFile(L"b\\копия.txt", "одинаковое содержимое");
  tmp.WriteFile(L"c\\другой.txt", "x");

  TarnholtProcess app;
  HWND main = WaitForMain(app);
  ASSERT_NE(main, nullptr) << "main window did not appear";
  HWND parvik = FindChild(main, L"TsBitBtn", L" Parvik", true);
  ASSERT_NE(parvik, nullptr);
  ClickButton(parvik);
  HWND page = FindChild(main, L"TsTabSheet", nullptr, true);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(WindowText(page), L"AntiDouble");

  HWND add = FindChild(page, L"TButton", L"Добавить");
  HWND start = FindChild(page, L"TsButton", L"Начать сканирование");
  ASSERT_TRUE(add && start && FindChild(page, L"TListBox"));
  EXPECT_FALSE(IsWindowEnabled(start));

  // The chooser: open the tree down to the fixture folder and take it.
  PostClick(add);
  HWND dialog = app.WaitForWindow(L"Выбор папки");
  ASSERT_NE(dialog, nullptr);
  HWND treeWnd = FindChild(dialog, L"TShellTreeView");
  ASSERT_NE(treeWnd, nullptr);
  {
    RemoteTree tree(treeWnd, app.Pid());
    ASSERT_TRUE(tree.Ready());
    ASSERT_TRUE(SelectPath(tree, tmp.Path()));
  }
  ClickButton(FindChild(dialog, L"TButton", L"Добавить"));
  HWND list = nullptr;
  // The folder is taken once the chooser's modal loop has returned, which
  // may be after the click's own reply: wait for it.
  for (int i = 0; i < 100 && !IsWindowEnabled(start); ++i) {
    Sync(main);
    PumpFor(50);
  }
  ASSERT_TRUE(IsWindowEnabled(start));
  list = FindChild(page, L"TListBox");  // made again once the list sorts itself
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
  wchar_t item[1024] = {};
  SendMessageW(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(item));
  EXPECT_TRUE(SameName(item, tmp.Path() + L"\\"));

  ClickButton(FindChild(page, L"TCheckBox", L"Одинаковое содержимое"));
  ClickButton(start);
  ASSERT_TRUE(WaitForText(start, L"Начать сканирование"));

  PostClick(FindChild(page, L"TsButton", L"Смотреть результат"));
  HWND result = app.WaitForWindow(L"Результат");
  ASSERT_NE(result, nullptr);
  EXPECT_NE(FindChild(result, L"TStringGrid"), nullptr);
  EXPECT_FALSE(IsWindowEnabled(main));  // shown modally
  PostMessageW(result, WM_CLOSE, 0, 0);
  const ULONGLONG end = GetTickCount64() + 10000;
  while (IsWindowVisible(result) && GetTickCount64() < end) PumpFor(20);
  EXPECT_FALSE(IsWindowVisible(result));
  EXPECT_TRUE(IsWindowEnabled(main));
}

}  // namespace
