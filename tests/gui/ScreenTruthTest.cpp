// The real program under each of its internal skins, walked as a user
// walks it: every navigation button and frame-bar title, every page and
// inner tab twice, the folder chooser, the exclusion chooser, the result
// window and a message box each opened twice, a list changed through the
// exclusion chooser and a registry scan and fix. After every step the
// screen must show what the program's windows paint (ScreenTruth.h).
//
//   wine build/tests/gui_tests.exe --gtest_filter='ScreenTruth*'         all skins
//   wine build/tests/gui_tests.exe --gtest_filter='ScreenTruth*/Ember'   one skin
// SCREENTRUTH_DUMP=<Windows folder> keeps the images of every window whose
// screen differs from its repaint.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "tests/common/AppDriver.h"
#include "tests/common/RemoteMemory.h"
#include "tests/common/RemoteTree.h"
#include "tests/common/ScreenTruth.h"
#include "tests/common/TestEnv.h"

using namespace testenv;

namespace {

// The skin the program names is "WLM (internal)". A skin folder of that
// name in the program's skin directory wins over the internal skin
// (LoadSkin looks there first), so the other skins are shown by putting
// their files, as the build draws them beside tarnholt.exe, in that folder.
class SkinFolder {
 public:
  explicit SkinFolder(const std::wstring& word) {
    RemoveOurs();
    if (word == L"WLM") return;
    const std::wstring exe = TarnholtExePath();
    const std::wstring from = exe.substr(0, exe.find_last_of(L'\\') + 1) + L"internal-skins\\" + word + L"\\";
    madeRoot_ = CreateDirectoryW(kRoot, nullptr) != 0;
    CreateDirectoryW(kFolder, nullptr);
    for (const wchar_t* file : kFiles)
      ok_ = CopyFileW((from + file).c_str(), (std::wstring(kFolder) + L"\\" + file).c_str(), FALSE) && ok_;
  }
  ~SkinFolder() {
    RemoveOurs();
    if (madeRoot_) RemoveDirectoryW(kRoot);
  }
  SkinFolder(const SkinFolder&) = delete;
  SkinFolder& operator=(const SkinFolder&) = delete;
  bool Ok() const { return ok_; }

 private:
  static void RemoveOurs() {
    for (const wchar_t* file : kFiles) DeleteFileW((std::wstring(kFolder) + L"\\" + file).c_str());
    RemoveDirectoryW(kFolder);
  }
  static constexpr const wchar_t* kRoot = L"C:\\Skins";
  static constexpr const wchar_t* kFolder = L"C:\\Skins\\WLM (internal)";
  static constexpr const wchar_t* kFiles[] = {L"Options.dat", L"Master.bmp"};
  bool madeRoot_ = false;
  bool ok_ = true;
};

// The program's settings beside tarnholt.exe, put back as they were: the
// walk adds an exclusion, and each walk must start from the same list.
class KeptSettings {
 public:
  KeptSettings() : path_(Path()), existed_(GetFileAttributesW(path_.c_str()) != INVALID_FILE_ATTRIBUTES) {
    if (existed_) bytes_ = ReadFileBytes(path_);
  }
  ~KeptSettings() {
    if (existed_)
      WriteFileBytes(path_, bytes_);
    else
      DeleteFileW(path_.c_str());
  }
  KeptSettings(const KeptSettings&) = delete;
  KeptSettings& operator=(const KeptSettings&) = delete;

 private:
  static std::wstring Path() {
    const std::wstring exe = TarnholtExePath();
    return exe.substr(0, exe.find_last_of(L'\\') + 1) + L"Config.ini";
  }
  std::wstring path_;
  bool existed_;
  std::string bytes_;
};

// Class keys the registry cleaner reports: extensions with nothing in
// them, directly below HKEY_CLASSES_ROOT (HKLM\Software\Classes under
// Wine), and a value in a scratch HKCU key naming a file that is gone.
// Enough rows for the list to need its scroll bar.
class SeededRegistry {
 public:
  static constexpr int kExtensions = 30;
  SeededRegistry() : marker_(L"tarnholtst" + std::to_wstring(GetCurrentProcessId())) {
    for (int i = 0; i < kExtensions; ++i) {
      HKEY key = nullptr;
      if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, Extension(i).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) == ERROR_SUCCESS)
        RegCloseKey(key);
    }
    const std::wstring gone = L"C:\\" + marker_ + L"\\gone.exe";
    RegSetValueExW(user_.Handle(), L"Tool", 0, REG_SZ, reinterpret_cast<const BYTE*>(gone.c_str()),
                   static_cast<DWORD>((gone.size() + 1) * sizeof(wchar_t)));
  }
  ~SeededRegistry() {
    for (int i = 0; i < kExtensions; ++i) RegDeleteTreeW(HKEY_LOCAL_MACHINE, Extension(i).c_str());
  }
  SeededRegistry(const SeededRegistry&) = delete;
  SeededRegistry& operator=(const SeededRegistry&) = delete;
  const std::wstring& Marker() const { return marker_; }

 private:
  std::wstring Extension(int i) const { return L"Software\\Classes\\." + marker_ + L"_" + std::to_wstring(i); }
  std::wstring marker_;
  ScopedRegKey user_;
};

struct SkinCase {
  const char* name;
  const wchar_t* word;
  // The registry scan and fixes take the longest: a light and a dark skin
  // walk them, the others everything else.
  bool registry;
};

void PrintTo(const SkinCase& c, std::ostream* os) { *os << c.name; }

std::string Utf8(const std::wstring& s) {
  std::string out(s.size() * 3 + 1, '\0');
  const int n = WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), out.data(),
                                    static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return out;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!done()) {
    if (GetTickCount64() > end) return false;
    PumpFor(20);
  }
  return true;
}

// A real click (pointer moved, button pressed and released) at a client
// point of the window, as a user makes it.
void RealClick(HWND wnd, POINT at) {
  ClientToScreen(wnd, &at);
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in[3]{};
  for (INPUT& i : in) {
    i.type = INPUT_MOUSE;
    i.mi.dx = at.x * 65535 / (w - 1);
    i.mi.dy = at.y * 65535 / (h - 1);
  }
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  SendInput(3, in, sizeof(INPUT));
}

// Turns the mouse wheel over the window's client centre, as a user scrolls.
void RealWheel(HWND wnd, int notches) {
  RECT r;
  GetClientRect(wnd, &r);
  POINT at{r.right / 2, r.bottom / 2};
  ClientToScreen(wnd, &at);
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in[2]{};
  for (INPUT& i : in) {
    i.type = INPUT_MOUSE;
    i.mi.dx = at.x * 65535 / (w - 1);
    i.mi.dy = at.y * 65535 / (h - 1);
  }
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = MOUSEEVENTF_WHEEL | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.mouseData = static_cast<DWORD>(notches * WHEEL_DELTA);
  SendInput(2, in, sizeof(INPUT));
}

// The frame bar's layout: a 3-pixel border, then each visible item's
// 28-pixel title; the open item's frame follows its title and fills what
// the titles leave, so a title below the open frame sits at the bottom.
constexpr int kBarBorder = 3;
constexpr int kTitleHeight = 28;
constexpr int kVisibleItems = 2;

POINT TitleCentre(HWND bar, int item, int openItem) {
  RECT r;
  GetClientRect(bar, &r);
  int top = kBarBorder + item * kTitleHeight + (item > 0 ? kBarBorder : 0);
  if (item > openItem) top = r.bottom - kBarBorder - (kVisibleItems - item) * kTitleHeight;
  return {r.right / 2, top + kTitleHeight / 2};
}

RECT TabRect(HWND tabs, int index, DWORD pid) {
  RemoteMemory mem(pid);
  RECT r{};
  mem.Send(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), r);
  return r;
}

std::wstring ListText(HWND list, int row, int column, DWORD pid) {
  RemoteMemory mem(pid);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = static_cast<wchar_t*>(mem.At(1024));
  item.cchTextMax = 512;
  mem.Send(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), item);
  wchar_t text[512] = {};
  mem.Read(1024, text, sizeof text - sizeof(wchar_t));
  return text;
}

void TickRow(HWND list, int row, DWORD pid) {
  RemoteMemory mem(pid);
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  item.state = INDEXTOSTATEIMAGEMASK(2);
  mem.Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), item);
}

int Rows(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

class ScreenTruthWalk : public ::testing::TestWithParam<SkinCase> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(TarnholtExePath().empty());
    skin_ = std::make_unique<SkinFolder>(GetParam().word);
    ASSERT_TRUE(skin_->Ok()) << "skin files not found beside tarnholt.exe";
    files_.WriteFile(L"a\\копия.txt", "одинаковое содержимое");
    files_.WriteFile(L"b\\копия.txt", "одинаковое содержимое");
    app_ = std::make_unique<TarnholtProcess>();
    main_ = app_->WaitForWindow(kMainCaption, 60000);
    ASSERT_NE(main_, nullptr) << "main window did not appear";
    bar_ = FindChild(main_, L"TsFrameBar");
    ASSERT_NE(bar_, nullptr);
  }
  void TearDown() override {
    app_.reset();
    std::printf("[%s] %zu faulty step(s) of %d\n", GetParam().name, faultySteps_, steps_);
  }

  // Checks the screen after a step and reports every fault under its name.
  void Step(const std::string& name) {
    ++steps_;
    const std::vector<std::string> found = CheckScreenTruth(app_->Pid());
    if (!found.empty()) ++faultySteps_;
    for (const std::string& f : found) ADD_FAILURE() << "[" << GetParam().name << "] step '" << name << "': " << f;
  }
  DWORD Pid() const { return app_->Pid(); }
  HWND Visible(const wchar_t* cls, const wchar_t* text = nullptr) const {
    return FindChild(main_, cls, text, /*visibleOnly=*/true);
  }
  // A top-level window of the program with this caption, shown after a
  // click that returned at once (a modal window's own loop runs it).
  HWND Top(const std::wstring& caption, DWORD timeoutMs = 20000) const {
    return app_->WaitForWindow(caption, timeoutMs);
  }
  // The first visible message box (#32770) of the program.
  HWND Box(DWORD timeoutMs = 20000) const {
    HWND found = nullptr;
    WaitFor(
        [&] {
          for (HWND w : VisibleTopWindows(Pid()))
            if (ClassOf(w) == L"#32770") found = w;
          return found != nullptr;
        },
        timeoutMs);
    return found;
  }
  void WaitGone(HWND wnd) {
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(wnd) || !IsWindowVisible(wnd); })) << Describe(wnd);
    Sync(main_);
  }
  std::wstring VisiblePage() const {
    HWND page = Visible(L"TsTabSheet");
    return page ? WindowText(page) : L"";
  }

  void FrameButtons();
  void AppsTabs();
  void OpenFinderItem(int round);
  void FinderTabs();
  void ExclusionChooser();
  void FinderFolderChooser();
  void OpenCleanupItem(int round);
  void Duplicates();
  void Registry();

  KeptSettings settings_;
  std::unique_ptr<SkinFolder> skin_;
  SeededRegistry registry_;
  ScopedTempDir files_;
  std::unique_ptr<TarnholtProcess> app_;
  HWND main_ = nullptr;
  HWND bar_ = nullptr;
  size_t faultySteps_ = 0;
  int steps_ = 0;
};

void ScreenTruthWalk::FrameButtons() {
  struct Case {
    const wchar_t* button;
    const wchar_t* page;
  };
  const Case cases[] = {{L"Реестр", L"sTabSheet2"}, {L"Приложения", L"sTabSheet3"},
                        {L" Parvik", L"AntiDouble"}, {L"Windows", L"sTabSheet1"}};
  for (int round = 1; round <= 2; ++round)
    for (const Case& c : cases) {
      HWND b = Visible(L"TsBitBtn", c.button);
      ASSERT_NE(b, nullptr) << Utf8(c.button);
      ClickButton(b);
      ASSERT_EQ(VisiblePage(), c.page);
      Step("frame button '" + Utf8(c.button) + "' #" + std::to_string(round));
    }
}

void ScreenTruthWalk::AppsTabs() {
  ClickButton(Visible(L"TsBitBtn", L"Приложения"));
  // The page's own page control; the main one, whose tabs never show, holds it.
  HWND tabs = FindChild(Visible(L"TsTabSheet"), L"TsPageControl", nullptr, true);
  ASSERT_NE(tabs, nullptr);
  const wchar_t* names[] = {L"Удаление", L"Автозагрузка"};
  for (int round = 1; round <= 2; ++round)
    for (int i : {1, 0}) {
      const RECT r = TabRect(tabs, i, Pid());
      RealClick(tabs, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
      ASSERT_TRUE(WaitFor([&] { return SendMessageW(tabs, TCM_GETCURSEL, 0, 0) == i; })) << i;
      Sync(main_);
      Step("applications tab '" + Utf8(names[i]) + "' #" + std::to_string(round));
    }
}

void ScreenTruthWalk::OpenFinderItem(int round) {
  RealClick(bar_, TitleCentre(bar_, 1, 0));
  ASSERT_TRUE(WaitFor([&] { return Visible(L"TFrame5") != nullptr && VisiblePage() == L"sTabSheet16"; }));
  Sync(main_);
  Step("frame-bar title 'Очистка(Расширенные функции)' #" + std::to_string(round));
}

void ScreenTruthWalk::OpenCleanupItem(int round) {
  RealClick(bar_, TitleCentre(bar_, 0, 1));
  ASSERT_TRUE(WaitFor([&] { return Visible(L"TFrame1") != nullptr && VisiblePage() == L"sTabSheet1"; }));
  Sync(main_);
  Step("frame-bar title 'Очистка' #" + std::to_string(round));
}

void ScreenTruthWalk::FinderTabs() {
  HWND notebook = Visible(L"TTabbedNotebook");
  ASSERT_NE(notebook, nullptr);
  const wchar_t* names[] = {L"Пути поиска", L"Фильтры", L"Исключения", L"Сканирование"};
  for (int round = 1; round <= 2; ++round)
    for (int i : {1, 2, 3, 0}) {
      const RECT r = TabRect(notebook, i, Pid());
      RealClick(notebook, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
      ASSERT_TRUE(WaitFor([&] { return SendMessageW(notebook, TCM_GETCURSEL, 0, 0) == i; })) << i;
      Sync(main_);
      Step("finder tab '" + Utf8(names[i]) + "' #" + std::to_string(round));
    }
}

void ScreenTruthWalk::ExclusionChooser() {
  HWND notebook = Visible(L"TTabbedNotebook");
  const RECT r = TabRect(notebook, 2, Pid());
  RealClick(notebook, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(notebook, TCM_GETCURSEL, 0, 0) == 2; }));
  HWND list = Visible(L"TListView");
  ASSERT_NE(list, nullptr);
  const int before = Rows(list);
  // Round 1 adds the folder as it is; round 2 opens the chooser on it again
  // and looks at the description question before dismissing it. The first
  // round does not stop at the question: the list is judged right after
  // the chooser has closed, as the user sees it.
  for (int round = 1; round <= 2; ++round) {
    ClickButton(Visible(L"TsButton", L"Добавить"));
    HWND form2 = Top(L"Form2");
    ASSERT_NE(form2, nullptr);
    Step("exclusion chooser opened #" + std::to_string(round));
    HWND tree = FindChild(form2, L"TShellTreeView");
    ASSERT_NE(tree, nullptr);
    std::wstring missing;
    ASSERT_TRUE(RemoteTree(tree, Pid()).SelectPath(files_.Path(), &missing)) << Utf8(missing);
    PostClick(FindChild(form2, L"TButton", L"OK"));
    HWND query = Top(L"Описание папки");
    ASSERT_NE(query, nullptr);
    if (round == 2) Step("exclusion description asked");
    PostClick(FindChild(query, L"TButton", round == 1 ? L"OK" : L"Cancel"));
    WaitGone(form2);
    if (round == 1) {
      ASSERT_TRUE(WaitFor([&] { return Rows(list) == before + 1; }));
    }
    Sync(main_);
    Step("exclusion chooser closed, list changed #" + std::to_string(round));
  }
}

void ScreenTruthWalk::FinderFolderChooser() {
  HWND notebook = Visible(L"TTabbedNotebook");
  const RECT r = TabRect(notebook, 0, Pid());
  RealClick(notebook, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  ASSERT_TRUE(WaitFor([&] { return SendMessageW(notebook, TCM_GETCURSEL, 0, 0) == 0; }));
  for (int round = 1; round <= 2; ++round) {
    PostClick(Visible(L"TsButton", L"Добавить"));
    HWND chooser = Top(L"Выбор папки");
    ASSERT_NE(chooser, nullptr);
    Step("finder folder chooser opened #" + std::to_string(round));
    PostClick(FindChild(chooser, L"TButton", L"Отмена"));
    WaitGone(chooser);
    Step("finder folder chooser closed #" + std::to_string(round));
  }
}

void ScreenTruthWalk::Duplicates() {
  ClickButton(Visible(L"TsBitBtn", L" Parvik"));
  ASSERT_EQ(VisiblePage(), L"AntiDouble");
  HWND page = Visible(L"TsTabSheet");
  HWND start = FindChild(page, L"TsButton", L"Начать сканирование");
  ASSERT_NE(start, nullptr);
  for (int round = 1; round <= 2; ++round) {
    PostClick(FindChild(page, L"TButton", L"Добавить"));
    HWND chooser = Top(L"Выбор папки");
    ASSERT_NE(chooser, nullptr);
    Step("duplicates folder chooser opened #" + std::to_string(round));
    if (round == 1) {
      HWND tree = FindChild(chooser, L"TShellTreeView");
      std::wstring missing;
      ASSERT_TRUE(RemoteTree(tree, Pid()).SelectPath(files_.Path(), &missing)) << Utf8(missing);
      PostClick(FindChild(chooser, L"TButton", L"Добавить"));
      WaitGone(chooser);
      ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(start) != 0; }));
      Step("duplicates folder added");
    } else {
      PostClick(FindChild(chooser, L"TButton", L"Отмена"));
      WaitGone(chooser);
      Step("duplicates folder chooser closed #" + std::to_string(round));
    }
  }
  ClickButton(FindChild(page, L"TCheckBox", L"Одинаковое содержимое"));
  ClickButton(start);
  ASSERT_TRUE(WaitFor([&] { return WindowText(start) == L"Начать сканирование"; }, 60000));
  Step("duplicate scan finished");
  for (int round = 1; round <= 2; ++round) {
    PostClick(FindChild(page, L"TsButton", L"Смотреть результат"));
    HWND result = Top(L"Результат");
    ASSERT_NE(result, nullptr);
    Sync(result);
    Step("result window opened #" + std::to_string(round));
    PostMessageW(result, WM_CLOSE, 0, 0);
    WaitGone(result);
    Step("result window closed #" + std::to_string(round));
  }
}

void ScreenTruthWalk::Registry() {
  ClickButton(Visible(L"TsBitBtn", L"Реестр"));
  ASSERT_EQ(VisiblePage(), L"sTabSheet2");
  HWND scan = Visible(L"TsButton", L"Начать");
  HWND list = Visible(L"TsListView");
  ASSERT_TRUE(scan && list);
  ClickButton(scan);
  ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(scan) != 0; }, 120000)) << "the scan did not end";
  ASSERT_GE(Rows(list), SeededRegistry::kExtensions);
  Step("registry scan finished");
  // Only the rows of the seeded keys are fixed: the rest of the prefix stays.
  for (int row = 0; row < Rows(list); ++row)
    if (ListText(list, row, 1, Pid()).find(registry_.Marker()) != std::wstring::npos) TickRow(list, row, Pid());
  Sync(main_);
  Step("registry rows ticked");
  HWND fix = Visible(L"TButton", L"Исправить");
  ASSERT_NE(fix, nullptr);
  for (int round = 1; round <= 2; ++round) {
    PostClick(fix);
    HWND box = Box();
    ASSERT_NE(box, nullptr) << "no backup question";
    Step("backup question box #" + std::to_string(round));
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);  // no backup
    WaitGone(box);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(scan) != 0; }, 60000)) << "the fix did not end";
    Sync(main_);
    Step("registry fixed #" + std::to_string(round));
    if (round == 1) {
      // The rows below the first page changed as well: the user scrolls to them.
      RealWheel(list, -5);
      ASSERT_TRUE(WaitFor([&] { return SendMessageW(list, LVM_GETTOPINDEX, 0, 0) > 0; }));
      Sync(main_);
      Step("registry list scrolled after the fix");
    }
  }
}

TEST_P(ScreenTruthWalk, EveryStepShowsWhatTheWindowsPaint) {
  Step("start");
  FrameButtons();
  AppsTabs();
  if (GetParam().registry) Registry();
  OpenFinderItem(1);
  FinderTabs();
  ExclusionChooser();
  FinderFolderChooser();
  OpenCleanupItem(1);
  Duplicates();
  OpenFinderItem(2);
  OpenCleanupItem(2);
}

const SkinCase kSkins[] = {
    {"WLM", L"WLM", true},     {"Birch", L"Birch", false}, {"Harbor", L"Harbor", false},
    {"Ember", L"Ember", true}, {"Moss", L"Moss", false},
};

INSTANTIATE_TEST_SUITE_P(ScreenTruth, ScreenTruthWalk, ::testing::ValuesIn(kSkins),
                         [](const ::testing::TestParamInfo<SkinCase>& info) { return std::string(info.param.name); });

}  // namespace
