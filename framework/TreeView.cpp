#include "framework/TreeView.h"

#include "framework/ComCtrls.h"

TCustomTreeView::TCustomTreeView(TComponent* AOwner) : TSystemControl(AOwner) {
  InitCommonControlsOnce();
  SetTabStop(true);
  SetColor(clWindow);
  SetParentColor(false);
}

LRESULT TCustomTreeView::Send(UINT msg, WPARAM w, LPARAM l) const {
  return SendMessageW(WindowHandle(), msg, w, l);
}

void TCustomTreeView::CreateParams(TCreateParams& params) {
  TSystemControl::CreateParams(params);
  CreateSubClass(params, WC_TREEVIEWW);
  params.Style |= TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

HTREEITEM TCustomTreeView::Selected() const {
  if (!HandleAllocated()) return nullptr;
  return reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CARET, 0));
}

std::wstring TCustomTreeView::NodeText(HTREEITEM node) const {
  if (!node || !HandleAllocated()) return L"";
  wchar_t buf[MAX_PATH + 1] = {};
  TVITEMW tv{};
  tv.mask = TVIF_TEXT;
  tv.hItem = node;
  tv.pszText = buf;
  tv.cchTextMax = MAX_PATH;
  Send(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tv));
  return buf;
}

std::vector<HTREEITEM> TCustomTreeView::ChildNodes(HTREEITEM node) const {
  std::vector<HTREEITEM> out;
  if (!HandleAllocated()) return out;
  auto item = node ? reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(node)))
                   : reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_ROOT, 0));
  while (item) {
    out.push_back(item);
    item = reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
  }
  return out;
}
