// The system DLLs the first screen does not use are loaded on their first
// call: the running program has none of them until then, and each function
// reached that way works on its first call.
#include <gtest/gtest.h>

#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "framework/Handles.h"
#include "tests/common/AppDriver.h"
#include "tests/common/TestEnv.h"

using namespace testenv;

namespace {

std::wstring Lower(std::wstring s) {
  std::transform(s.begin(), s.end(), s.begin(), [](wchar_t c) { return std::towlower(c); });
  return s;
}

// Base names (lower case) of the modules loaded in another process.
std::vector<std::wstring> LoadedModules(DWORD pid) {
  std::vector<std::wstring> names;
  UniqueKernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  if (!process) return names;
  std::vector<HMODULE> modules(512);
  DWORD needed = 0;
  if (!K32EnumProcessModules(process.get(), modules.data(),
                             static_cast<DWORD>(modules.size() * sizeof(HMODULE)), &needed))
    return names;
  modules.resize(std::min<size_t>(modules.size(), needed / sizeof(HMODULE)));
  for (HMODULE m : modules) {
    wchar_t name[MAX_PATH];
    if (K32GetModuleBaseNameW(process.get(), m, name, MAX_PATH)) names.push_back(Lower(name));
  }
  return names;
}

bool Contains(const std::vector<std::wstring>& names, const std::wstring& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

TEST(LateDlls, TheFirstScreenLoadsNoneOfThem) {
  TarnholtProcess app;
  HWND main = app.WaitForWindow();
  ASSERT_NE(main, nullptr) << "main window did not appear";
  Sync(main);
  const std::vector<std::wstring> loaded = LoadedModules(app.Pid());
  ASSERT_TRUE(Contains(loaded, L"user32.dll")) << "the program's modules could not be read";
  for (const wchar_t* late : {L"shell32.dll", L"shlwapi.dll", L"wininet.dll", L"comdlg32.dll"})
    EXPECT_FALSE(Contains(loaded, late)) << Lower(late) << " loaded before it was used";
}

// Every function the program takes from those DLLs, called once.
TEST(LateDlls, EachFunctionWorksOnItsFirstCall) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(L"prog \"a b\" c", &argc);
  ASSERT_NE(argv, nullptr);
  EXPECT_EQ(argc, 3);
  EXPECT_STREQ(argv[1], L"a b");
  LocalFree(argv);

  wchar_t windows[MAX_PATH] = L"";
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, SHGFP_TYPE_CURRENT, windows), S_OK);
  EXPECT_NE(GetFileAttributesW(windows), INVALID_FILE_ATTRIBUTES);

  SHFILEINFOW info{};
  EXPECT_NE(SHGetFileInfoW(windows, 0, &info, sizeof info, SHGFI_DISPLAYNAME), 0u);
  EXPECT_NE(info.szDisplayName[0], L'\0');

  // A path far wider than the room left: shortened with an ellipsis.
  wchar_t path[MAX_PATH] = L"C:\\a very long folder name\\another long folder name\\file.txt";
  UniqueWindowDC screen = UniqueWindowDC::Client(nullptr);
  ASSERT_TRUE(PathCompactPathW(screen.get(), path, 150));
  EXPECT_NE(std::wstring(path).find(L"..."), std::wstring::npos) << path;

  // The shell deletes a file of ours without asking.
  ScopedTempDir dir;
  std::wstring file = dir / L"late-dll-probe.txt";
  UniqueKernelHandle made(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_TRUE(made);
  made.reset();
  file.push_back(L'\0');  // the list of names ends with an empty one
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = file.c_str();
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  EXPECT_EQ(SHFileOperationW(&op), 0);
  EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);

  // Opening a file that does not exist fails through the shell's own code.
  const auto result = reinterpret_cast<INT_PTR>(
      ShellExecuteW(nullptr, L"open", (dir / L"no-such-file.late").c_str(), nullptr, nullptr, SW_HIDE));
  EXPECT_LE(result, 32);
}
