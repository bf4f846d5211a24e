#include "skin/engine/ModuleIcon.h"

#include <string>

namespace {

// The first icon group's name: an integer id or a copied string (the
// enumeration's string is gone once it returns).
struct FirstGroup {
  bool found = false;
  ULONG_PTR id = 0;
  std::wstring name;
};

BOOL CALLBACK TakeFirst(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
  auto* first = reinterpret_cast<FirstGroup*>(param);
  first->found = true;
  if (IS_INTRESOURCE(name)) first->id = reinterpret_cast<ULONG_PTR>(name);
  else first->name = name;
  return FALSE;  // the first one is the application icon
}

}  // namespace

std::unique_ptr<TIcon> LoadModuleIcon(HMODULE module, int size) {
  if (!module) return nullptr;
  FirstGroup first;
  ::EnumResourceNamesW(module, RT_GROUP_ICON, TakeFirst, reinterpret_cast<LONG_PTR>(&first));
  if (!first.found) return nullptr;
  LPCWSTR name = first.name.empty() ? MAKEINTRESOURCEW(first.id) : first.name.c_str();
  HANDLE image = ::LoadImageW(module, name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR);
  if (!image) return nullptr;
  auto icon = std::make_unique<TIcon>();
  icon->SetHandle(static_cast<HICON>(image));
  if (icon->Empty()) return nullptr;
  return icon;
}
