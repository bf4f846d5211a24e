// Skin managers for the engine's tests: one loaded from a fixture skin
// folder, one holding the program's internal skins.
#pragma once

#include <memory>
#include <string>

#include "framework/Forms.h"
#include "skin/engine/InternalSkins.h"
#include "skin/engine/SkinManager.h"
#include "tests/common/TestEnv.h"

namespace skintest {

inline std::wstring FixtureSkinDir() { return testenv::FixturePath(L"skins"); }

// The skin folders the generator wrote next to the test executables.
inline std::wstring GeneratedSkinDir() {
  wchar_t path[MAX_PATH];
  DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  std::wstring dir = exe.substr(0, exe.find_last_of(L"\\/"));  // <build>\tests
  return dir.substr(0, dir.find_last_of(L"\\/")) + L"\\internal-skins";
}

using ManagerPtr = std::unique_ptr<TsSkinManager>;

// A manager that is not active yet, with the given skin folder.
inline ManagerPtr NewManager(const std::wstring& directory = FixtureSkinDir(),
                             bool internalSkins = false) {
  InitFramework();
  ManagerPtr m(Construct<TsSkinManager>(nullptr));
  m->SetActive(false);
  m->SetSkinDirectory(directory);
  if (internalSkins) AddInternalSkins(*m->InternalSkins());
  return m;
}

// A manager with `name` loaded and announced.
inline ManagerPtr LoadedManager(const std::wstring& name,
                                const std::wstring& directory = FixtureSkinDir(),
                                bool internalSkins = false) {
  ManagerPtr m = NewManager(directory, internalSkins);
  m->SetSkinName(name);
  m->SetActive(true);
  return m;
}

inline const TsGeneralData& Section(const TsSkinManager& m, const std::wstring& name) {
  int i = m.GetSkinIndex(name);
  if (i < 0) throw std::runtime_error("no section");
  return m.gd[i];
}

}  // namespace skintest
