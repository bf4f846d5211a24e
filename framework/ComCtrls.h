// Common controls: page control with tab sheets, status bar, progress bar,
// track bar. Each superclasses its comctl32 window class.
#pragma once

#include <string>
#include <vector>

#include "framework/ImageList.h"
#include "framework/StdCtrls.h"

// comctl32 classes must be registered before they can be superclassed.
void InitCommonControlsOnce();

class TPageControl;

class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  const wchar_t* ClassName() const override { return L"TTabSheet"; }
  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* pc);
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool v);
  // The tab's picture in its page control's Images; -1 none.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  int PageIndex() const;
  // Index among the pages whose tab shows, -1 when hidden.
  int TabIndex() const;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  // A page that is not shown makes no windows: many pages of controls then
  // cost nothing until the user first opens them.
  bool WindowDeferred() const override { return !Visible(); }

 private:
  friend class TPageControl;
  TPageControl* pageControl_ = nullptr;
  bool tabVisible_ = true;
  int imageIndex_ = -1;
};

class TPageControl : public TSystemControl {
 public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  const wchar_t* ClassName() const override { return L"TPageControl"; }
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_.at(index); }
  TTabSheet* ActivePage() const { return activePage_; }
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const;
  // An index outside the pages clears the selection.
  void SetActivePageIndex(int index);
  bool MultiLine() const { return multiLine_; }
  void SetMultiLine(bool v);
  // The tabs' pictures, by each page's ImageIndex.
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* value);
  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;
  RECT DisplayRect();

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;
  void AlignControls(TControl* control, RECT& rect) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void Change();

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void UpdateTabs();
  void UpdateTabIndex();
  std::vector<TTabSheet*> pages_;
  TTabSheet* activePage_ = nullptr;
  bool multiLine_ = false;
  TImageList* images_ = nullptr;
};

class TStatusPanel {
 public:
  std::wstring Text;
  int Width = 50;
};

class TStatusBar : public TSystemControl {
 public:
  explicit TStatusBar(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TStatusBar"; }
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  TStatusPanel& Panel(int index) { return panels_.at(index); }
  void AddPanel(int width, const std::wstring& text = L"");
  void SetPanelText(int index, const std::wstring& text);
  std::wstring PanelText(int index) const;
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool v);
  std::wstring SimpleText() const { return simpleText_; }
  void SetSimpleText(const std::wstring& v);

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;

 private:
  void UpdatePanels();
  std::vector<TStatusPanel> panels_;
  bool simplePanel_ = false;
  std::wstring simpleText_;
};

class TProgressBar : public TSystemControl {
 public:
  explicit TProgressBar(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TProgressBar"; }
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetMin(int v) { min_ = v; UpdateRange(); }
  void SetMax(int v) { max_ = v; UpdateRange(); }
  int Position() const;
  void SetPosition(int v);
  int Step = 10;
  void StepIt() { SetPosition(Position() + Step); }
  void StepBy(int delta) { SetPosition(Position() + delta); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;

 private:
  void UpdateRange();
  int min_ = 0, max_ = 100, position_ = 0;
};

class TTrackBar : public TSystemControl {
 public:
  explicit TTrackBar(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TTrackBar"; }
  int Min() const { return min_; }
  int Max() const { return max_; }
  void SetMin(int v) { min_ = v; UpdateRange(); }
  void SetMax(int v) { max_ = v; UpdateRange(); }
  int Position() const;
  void SetPosition(int v);
  TNotifyEvent OnChange;
  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowState() override;

 private:
  void UpdateRange();
  int min_ = 0, max_ = 10, position_ = 0;
};
