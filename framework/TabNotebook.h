// TTabbedNotebook: a tab control whose tabs select pages. Pages is a
// TStrings of the page names whose objects are the TTabPage containers;
// adding a name adds a page, deleting one frees its page. Child controls are
// parented to a page (Page(i) or Pages()->Objects(i)).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/StdCtrls.h"

class TTabbedNotebook;

// One page: a plain container filling the notebook's display area.
class TTabPage : public TWinControl {
 public:
  explicit TTabPage(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TTabPage"; }

 protected:
  void CreateParams(TCreateParams& params) override;
};

using TPageChangeEvent = std::function<void(TObject* Sender, int NewTab, bool& AllowChange)>;

class TTabbedNotebook : public TSystemControl {
 public:
  explicit TTabbedNotebook(TComponent* AOwner);
  ~TTabbedNotebook() override;
  const wchar_t* ClassName() const override { return L"TTabbedNotebook"; }

  TStrings* Pages() const { return pages_.get(); }
  int PageCount() const { return static_cast<int>(list_.size()); }
  TTabPage* Page(int index) const { return list_.at(index); }
  // -1 when there are no pages.
  int PageIndex() const { return pageIndex_; }
  // Changing the page asks OnChange first (NewTab = index, AllowChange may
  // be cleared to refuse); a click on a tab goes the same way.
  void SetPageIndex(int v);
  std::wstring ActivePage() const;
  void SetActivePage(const std::wstring& name);  // case-insensitive page name
  int TabIndexOf(const std::wstring& name) const;
  RECT DisplayRect();

  TPageChangeEvent OnChange;

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;
  void AlignControls(TControl* control, RECT& rect) override;

 private:
  friend class TNotebookPages;
  void InsertPage(int index, const std::wstring& name);
  void DeletePage(int index);
  void RenamePage(int index, const std::wstring& name);
  void UpdateTabs();
  void ShowPage(int index);

  std::unique_ptr<TStrings> pages_;
  std::vector<TTabPage*> list_;
  int pageIndex_ = -1;
};
