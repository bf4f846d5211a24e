// Menu bars for tests: top-level items, each with one item under it.
#pragma once

#include <string>
#include <vector>

#include "framework/Menus.h"

namespace testenv {

struct MenuTop {
  std::wstring caption;
  std::wstring sub;  // the caption of the one item under it
  int group = 0;     // GroupIndex, for merging
};

// A main menu and its items, all owned by `owner`; not yet given to a form.
inline TMainMenu* MakeMenuBar(TComponent* owner, const std::vector<MenuTop>& tops) {
  auto* menu = Construct<TMainMenu>(owner);
  for (const MenuTop& t : tops) {
    auto* top = Construct<TMenuItem>(owner);
    top->SetCaption(t.caption);
    top->GroupIndex = t.group;
    auto* sub = Construct<TMenuItem>(owner);
    sub->SetCaption(t.sub);
    top->Add(sub);
    menu->Items()->Add(top);
  }
  return menu;
}

}  // namespace testenv
