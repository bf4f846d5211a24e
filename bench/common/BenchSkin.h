// What the skinned benchmarks share: the framework started with a manager
// wearing the internal "WLM" skin, and a pump for this thread's messages.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/Forms.h"
#include "skin/engine/InternalSkins.h"
#include "skin/engine/SkinManager.h"

namespace bench {

inline std::unique_ptr<TsSkinManager> StartWithInternalSkin(bool active = true) {
  InitFramework();
  std::unique_ptr<TsSkinManager> manager(Construct<TsSkinManager>(nullptr));
  manager->SetActive(false);
  AddInternalSkins(*manager->InternalSkins());
  manager->SetSkinName(L"WLM (internal)");
  manager->SetActive(active);
  return manager;
}

inline void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace bench
