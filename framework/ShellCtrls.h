// TShellTreeView: a tree view (SysTreeView32) of file-system folders.
// Without a Root it shows the desktop folder, the documents folder and every
// drive root (fixed, removable, network, CD); with a Root path it shows that
// folder alone as its top node. Nodes are listed when they are first
// expanded (FindFirstFileExW, basic information, directories only unless
// non-folders are asked for), so no drive is ever walked ahead of the user.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/TreeView.h"

enum TShellObjectTypeFlag : uint32_t { otFolders = 1, otNonFolders = 2, otHidden = 4 };
using TShellObjectTypes = uint32_t;

class TShellTreeView : public TCustomTreeView {
 public:
  explicit TShellTreeView(TComponent* AOwner);
  ~TShellTreeView() override;
  const wchar_t* ClassName() const override { return L"TShellTreeView"; }

  // Empty: the desktop, documents and drives; else a folder path.
  const std::wstring& Root() const { return root_; }
  void SetRoot(const std::wstring& v);
  TShellObjectTypes ObjectTypes() const { return objectTypes_; }
  void SetObjectTypes(TShellObjectTypes v);
  bool UseShellImages() const { return useShellImages_; }
  void SetUseShellImages(bool v);
  // A right click selects the node under the mouse.
  bool RightClickSelect = false;
  bool AutoRefresh = false;  // kept for the forms that set it; never refreshes

  // The selected node's path ("C:\", "C:\Data\Photos"), empty for none.
  std::wstring Path() const;
  // Expands down to `path` and selects it; false when it is not reachable.
  bool SetPath(const std::wstring& path);
  // A node's folder path; the other node routines are the tree view's.
  std::wstring NodePath(HTREEITEM node) const;
  void Expand(HTREEITEM node);
  void Refresh(HTREEITEM node);  // lists the node's children again

  TNotifyEvent OnChange;  // the selection changed

  void WndProc(TMessage& message) override;

 protected:
  void CreateWindowState() override;
  void SaveWindowState() override;

 private:
  struct Node {
    std::wstring path;
    bool folder = true;
    bool listed = false;
  };
  HTREEITEM AddNode(HTREEITEM parent, const std::wstring& text, const std::wstring& path,
                    bool folder);
  Node* NodeOf(HTREEITEM item) const;
  void FillRoots();
  void ListChildren(HTREEITEM item);
  int IconOf(const std::wstring& path, bool folder, bool open) const;

  std::wstring root_;
  TShellObjectTypes objectTypes_ = otFolders;
  bool useShellImages_ = true;
  std::vector<std::unique_ptr<Node>> nodes_;  // lParam of each tree item
  std::wstring savedPath_;
  std::wstring textBuffer_;
};
