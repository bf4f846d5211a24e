#pragma once
// Tree-view items of another process (the folder choosers' shell trees),
// read and opened through memory lent in that process.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "tests/common/RemoteMemory.h"

namespace testenv {

class RemoteTree {
 public:
  RemoteTree(HWND tree, DWORD pid) : tree_(tree), memory_(pid) {}
  bool Ready() const { return memory_.Ready(); }

  std::wstring Text(HTREEITEM item) const;
  std::vector<HTREEITEM> Children(HTREEITEM parent) const;
  // Selects the item and opens it the way the keyboard does, so the tree
  // lists its children.
  void SelectAndOpen(HTREEITEM item) const;
  // Opens the tree down to `path` ("C:\a\b"): the drive's node is the top
  // node whose text holds "C:", every further node is named by its folder.
  // On failure `missing` names the part no node was found for.
  bool SelectPath(const std::wstring& path, std::wstring* missing = nullptr) const;

 private:
  HWND tree_;
  RemoteMemory memory_;
};

// File names compared as the file system does: without regard to case.
bool SameName(const std::wstring& a, const std::wstring& b);

}  // namespace testenv
