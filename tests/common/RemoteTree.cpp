#include "tests/common/RemoteTree.h"

#include "tests/common/AppDriver.h"

namespace testenv {

std::wstring RemoteTree::Text(HTREEITEM item) const {
  constexpr size_t kTextAt = 512;
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = item;
  tv.pszText = static_cast<wchar_t*>(memory_.At(kTextAt));
  tv.cchTextMax = 512;
  if (!memory_.Write(0, &tv, sizeof tv)) return L"";
  DWORD_PTR r = 0;
  SendMessageTimeoutW(tree_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(memory_.At()), SMTO_NORMAL, 10000, &r);
  wchar_t buffer[512] = {};
  memory_.Read(kTextAt, buffer, sizeof buffer - sizeof(wchar_t));
  return buffer;
}

std::vector<HTREEITEM> RemoteTree::Children(HTREEITEM parent) const {
  std::vector<HTREEITEM> items;
  auto next = [&](UINT how, HTREEITEM from) {
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
  };
  for (HTREEITEM it = parent ? next(TVGN_CHILD, parent) : next(TVGN_ROOT, nullptr); it; it = next(TVGN_NEXT, it))
    items.push_back(it);
  return items;
}

void RemoteTree::SelectAndOpen(HTREEITEM item) const {
  SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
  SendMessageW(tree_, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageW(tree_, WM_KEYUP, VK_RIGHT, 0);
  Sync(tree_);
}

bool RemoteTree::SelectPath(const std::wstring& path, std::wstring* missing) const {
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
    for (HTREEITEM child : Children(node)) {
      const std::wstring text = Text(child);
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
      if (missing) *missing = parts[i];
      return false;
    }
    SelectAndOpen(found);
    node = found;
  }
  return true;
}

bool SameName(const std::wstring& a, const std::wstring& b) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_EQUAL;
}

}  // namespace testenv
