// TCustomTreeView: the comctl32 tree view (SysTreeView32) with buttons,
// lines and an always-shown selection. It keeps no nodes of its own: the
// descendants fill the window and read it back through the node routines.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/StdCtrls.h"

class TCustomTreeView : public TSystemControl {
 public:
  explicit TCustomTreeView(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TCustomTreeView"; }

  HTREEITEM Selected() const;
  std::wstring NodeText(HTREEITEM node) const;
  std::vector<HTREEITEM> ChildNodes(HTREEITEM node) const;  // null: the top nodes

 protected:
  void CreateParams(TCreateParams& params) override;
  LRESULT Send(UINT msg, WPARAM w = 0, LPARAM l = 0) const;
};
