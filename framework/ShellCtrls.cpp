#include "framework/ShellCtrls.h"

#include <shlobj.h>
#include <shellapi.h>

#include <algorithm>

#include "framework/ComCtrls.h"
#include "framework/Handles.h"
#include "framework/SysUtils.h"

namespace {

bool IsDriveRoot(const std::wstring& path) {
  return path.size() == 3 && path[1] == L':' && path[2] == L'\\';
}

// "C:\Data\" → "C:\Data"; a drive root keeps its backslash.
std::wstring NormalizePath(std::wstring path) {
  std::replace(path.begin(), path.end(), L'/', L'\\');
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  if (path.size() == 2 && path[1] == L':') path += L'\\';
  return path;
}

std::wstring JoinPath(const std::wstring& dir, const std::wstring& name) {
  return dir.empty() || dir.back() == L'\\' ? dir + name : dir + L"\\" + name;
}

std::wstring LastComponent(const std::wstring& path) {
  if (IsDriveRoot(path)) return path;
  size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring SpecialFolder(int csidl) {
  wchar_t buf[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf))) return L"";
  return buf;
}

struct Entry {
  std::wstring name;
  bool folder;
};

}  // namespace

TShellTreeView::TShellTreeView(TComponent* AOwner) : TCustomTreeView(AOwner) {
  SetBounds(0, 0, 180, 200);
}

TShellTreeView::~TShellTreeView() {
  Destroying();
  if (HandleAllocated()) DestroyHandle();
}

void TShellTreeView::CreateWindowState() {
  SetUseShellImages(useShellImages_);
  FillRoots();
  if (!savedPath_.empty()) SetPath(savedPath_);
  savedPath_.clear();
}

void TShellTreeView::SaveWindowState() {
  savedPath_ = HasState(csDestroying) ? L"" : Path();
}

void TShellTreeView::SetRoot(const std::wstring& v) {
  root_ = v.empty() ? v : NormalizePath(v);
  if (HandleAllocated()) FillRoots();
}

void TShellTreeView::SetObjectTypes(TShellObjectTypes v) {
  if (v == objectTypes_) return;
  objectTypes_ = v;
  if (HandleAllocated()) {
    std::wstring path = Path();
    FillRoots();
    if (!path.empty()) SetPath(path);
  }
}

void TShellTreeView::SetUseShellImages(bool v) {
  useShellImages_ = v;
  if (!HandleAllocated()) return;
  HIMAGELIST list = nullptr;
  if (v) {
    // The shell's own list: shared by the whole process, never ours to free
    // (a tree view does not free its lists).
    SHFILEINFOW sfi{};
    list = reinterpret_cast<HIMAGELIST>(SHGetFileInfoW(
        L"C:\\", FILE_ATTRIBUTE_DIRECTORY, &sfi, sizeof(sfi),
        SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
  }
  Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list));
}

int TShellTreeView::IconOf(const std::wstring& path, bool folder, bool open) const {
  if (!useShellImages_) return 0;
  SHFILEINFOW sfi{};
  UINT flags = SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES;
  if (open) flags |= SHGFI_OPENICON;
  if (!SHGetFileInfoW(path.c_str(), folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL, &sfi,
                      sizeof(sfi), flags))
    return 0;
  return sfi.iIcon;
}

HTREEITEM TShellTreeView::AddNode(HTREEITEM parent, const std::wstring& text, const std::wstring& path,
                                  bool folder) {
  auto node = std::make_unique<Node>();
  node->path = path;
  node->folder = folder;
  std::wstring label = text;
  TVINSERTSTRUCTW ins{};
  ins.hParent = parent;
  ins.hInsertAfter = TVI_LAST;
  ins.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_CHILDREN | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  ins.item.pszText = label.data();
  ins.item.lParam = reinterpret_cast<LPARAM>(node.get());
  // Folders may have children: their button shows until they are listed.
  ins.item.cChildren = folder ? 1 : 0;
  ins.item.iImage = IconOf(path, folder, false);
  ins.item.iSelectedImage = folder ? IconOf(path, folder, true) : ins.item.iImage;
  auto item = reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&ins)));
  if (item) nodes_.push_back(std::move(node));
  return item;
}

TShellTreeView::Node* TShellTreeView::NodeOf(HTREEITEM item) const {
  if (!item || !HandleAllocated()) return nullptr;
  TVITEMW tv{};
  tv.mask = TVIF_PARAM;
  tv.hItem = item;
  if (!Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv))) return nullptr;
  return reinterpret_cast<Node*>(tv.lParam);
}

void TShellTreeView::FillRoots() {
  Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
  nodes_.clear();
  if (!root_.empty()) {
    if (HTREEITEM top = AddNode(TVI_ROOT, LastComponent(root_), root_, true)) Expand(top);
    return;
  }
  for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_PERSONAL}) {
    std::wstring path = SpecialFolder(csidl);
    if (path.empty()) continue;
    SHFILEINFOW sfi{};
    std::wstring text = LastComponent(path);
    if (SHGetFileInfoW(path.c_str(), 0, &sfi, sizeof(sfi), SHGFI_DISPLAYNAME) && sfi.szDisplayName[0])
      text = sfi.szDisplayName;
    AddNode(TVI_ROOT, text, NormalizePath(path), true);
  }
  // Drives are listed by letter and type only: no drive is touched until
  // the user opens it.
  DWORD drives = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!(drives & (1u << i))) continue;
    std::wstring root = std::wstring(1, static_cast<wchar_t>(L'A' + i)) + L":\\";
    switch (GetDriveTypeW(root.c_str())) {
      case DRIVE_FIXED: case DRIVE_REMOVABLE: case DRIVE_REMOTE: case DRIVE_CDROM: case DRIVE_RAMDISK:
        AddNode(TVI_ROOT, root, root, true);
        break;
      default:
        break;
    }
  }
}

void TShellTreeView::ListChildren(HTREEITEM item) {
  Node* node = NodeOf(item);
  if (!node || node->listed || !node->folder) return;
  node->listed = true;
  std::vector<Entry> entries;
  WIN32_FIND_DATAW fd{};
  bool foldersOnly = !(objectTypes_ & otNonFolders);
  UniqueFindHandle find(FindFirstFileExW(JoinPath(node->path, L"*").c_str(), FindExInfoBasic, &fd,
                                         foldersOnly ? FindExSearchLimitToDirectories : FindExSearchNameMatch,
                                         nullptr, 0));
  if (find) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      bool folder = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
      if (folder ? !(objectTypes_ & otFolders) : foldersOnly) continue;
      if ((fd.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) && !(objectTypes_ & otHidden)) continue;
      entries.push_back(Entry{name, folder});
    } while (FindNextFileW(find.get(), &fd));
  }
  // Folders first, each group by name as the shell orders them.
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.folder != b.folder) return a.folder;
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.name.c_str(), -1, b.name.c_str(), -1) ==
           CSTR_LESS_THAN;
  });
  std::wstring parentPath = node->path;  // `node` may move as nodes_ grows
  for (const Entry& e : entries) AddNode(item, e.name, JoinPath(parentPath, e.name), e.folder);
  if (entries.empty()) {
    TVITEMW tv{};
    tv.mask = TVIF_CHILDREN;
    tv.hItem = item;
    tv.cChildren = 0;
    Send(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  }
}

void TShellTreeView::Expand(HTREEITEM node) {
  if (!HandleAllocated() || !node) return;
  ListChildren(node);
  Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node));
}

void TShellTreeView::Refresh(HTREEITEM node) {
  Node* n = NodeOf(node);
  if (!n) return;
  bool expanded = (Send(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(node), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
  while (auto child = reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(node))))
    Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child));
  n->listed = false;
  TVITEMW tv{};
  tv.mask = TVIF_CHILDREN | TVIF_STATE;
  tv.hItem = node;
  tv.cChildren = 1;
  tv.stateMask = TVIS_EXPANDED | TVIS_EXPANDEDONCE;
  tv.state = 0;
  Send(TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  if (expanded) Expand(node);
}

std::wstring TShellTreeView::Path() const {
  if (!HandleAllocated()) return savedPath_;
  Node* node = NodeOf(Selected());
  return node ? node->path : L"";
}

std::wstring TShellTreeView::NodePath(HTREEITEM node) const {
  Node* n = NodeOf(node);
  return n ? n->path : L"";
}

bool TShellTreeView::SetPath(const std::wstring& path) {
  if (!HandleAllocated()) {
    savedPath_ = path;
    return true;
  }
  std::wstring wanted = NormalizePath(path);
  auto under = [](const std::wstring& child, const std::wstring& parent) {
    if (child.size() <= parent.size()) return false;
    std::wstring prefix = parent.back() == L'\\' ? parent : parent + L"\\";
    return SameText(child.substr(0, prefix.size()), prefix);
  };
  HTREEITEM level = nullptr;
  for (;;) {
    HTREEITEM next = nullptr;
    for (HTREEITEM item : ChildNodes(level)) {
      std::wstring p = NodePath(item);
      if (SameText(p, wanted)) {
        Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        Send(TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
        return true;
      }
      if (!next && under(wanted, p)) next = item;
    }
    if (!next) return false;
    Expand(next);
    level = next;
  }
}

void TShellTreeView::WndProc(TMessage& message) {
  if (message.Msg == CN_NOTIFY) {
    auto* hdr = reinterpret_cast<NMHDR*>(message.LParam);
    switch (hdr->code) {
      case TVN_ITEMEXPANDINGW:
      case TVN_ITEMEXPANDINGA: {
        auto* nm = reinterpret_cast<NMTREEVIEWW*>(hdr);
        if (nm->action & TVE_EXPAND) ListChildren(nm->itemNew.hItem);
        message.Result = FALSE;
        return;
      }
      case TVN_SELCHANGEDW:
      case TVN_SELCHANGEDA:
        if (OnChange) OnChange(this);
        return;
      case NM_RCLICK:
        if (RightClickSelect) {
          TVHITTESTINFO hit{};
          GetCursorPos(&hit.pt);
          hit.pt = ScreenToClient(hit.pt);
          if (auto item = reinterpret_cast<HTREEITEM>(Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit))))
            Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
        }
        break;
    }
  }
  TCustomTreeView::WndProc(message);
}
