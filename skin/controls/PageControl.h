// TsPageControl: the skinned page control. The platform's tab control keeps
// the tabs, their layout and the keyboard; the body comes from the skin
// section chosen by the tab position, each tab from "TABTOP", "TABBOTTOM",
// "TABLEFT" or "TABRIGHT" (or a button section for the button styles), and
// the platform's tab scroll arrows give way to a skinned TsUpDown. The
// cache holds the tab strip with every inactive tab and the body; the active
// tab and a hot tab are painted straight onto the window.
//
// PageControl.cpp holds life, skin commands, messages and the tab scroller;
// PageControlTabs.cpp the painting of body and tabs.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/ComCtrls.h"
#include "framework/Hints.h"
#include "skin/controls/SkinnedControl.h"
#include "skin/controls/TabSheet.h"

class TsUpDown;

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
using TTabChangingEvent = std::function<void(TObject* sender, bool& allowChange)>;

class TsPageControl : public TsSkinnedControl<TPageControl> {
 public:
  explicit TsPageControl(TComponent* AOwner);
  ~TsPageControl() override;
  const wchar_t* ClassName() const override { return L"TsPageControl"; }
  void WndProc(TMessage& message) override;
  void Loaded() override;

  // ---- published ----
  TTabPosition TabPosition() const { return tabPosition_; }
  void SetTabPosition(TTabPosition value);
  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle value);
  bool HotTrack() const { return hotTrack_; }
  void SetHotTrack(bool value);
  // Asked before the user changes the page; clearing AllowChange keeps the
  // current page.
  TTabChangingEvent OnChanging;
  uint8_t AnimatEvents = 0x80;  // aeGlobalDef

  // ---- geometry (control coordinates) ----
  // The platform's rectangle of the tab with TabIndex (among visible tabs).
  TRect TabRect(int tabIndex);
  // The tab's rectangle as painted: the active tab overlaps its neighbours
  // and the body, inactive tabs reach under the body's frame.
  TRect TabRectEx(int tabIndex, bool active);
  // The page whose visible tab holds P, -1 none.
  int TabAtPos(TPoint p);
  void UpdateScrollerRegion(bool redraw);
  // Fills a hint of the tab under the cursor; false off the tabs.
  bool TabHint(THintInfo& info);
  TRect BodyRect();
  TRect TabsRect();
  bool HasTabs();
  int VisibleTabs() const;

  // ---- painting ----
  void PaintTab(int pageIndex, int state, TPoint offset, TBitmap* bmp);
  void PaintTabToDC(int pageIndex, int state, HDC dc);
  void PaintHotTab(int pageIndex, int state, HDC dc);
  void PaintTabsArea(const TCacheInfo& ci);
  void PaintTabStrip(HDC dc);

  // After the selection moved: forgets the hot tab and repaints the strip.
  void UpdateActivePage();
  // Hides the platform's arrows and shows the skinned scroller when tabs
  // do not fit the control's width.
  void UpdateTabScroller();
  int HiddenTabCount();

  int HotTab = -1;  // page index
  int VisibleTabCount = 0;
  std::wstring BodySection;
  bool TabsResized = false;
  std::unique_ptr<TsUpDown> TabScroller;

 protected:
  void CreateParams(TCreateParams& params) override;

 private:
  TTabSheet* PageOfTab(int tabIndex) const;
  int TabRow(int tabIndex);
  void ChooseBodySection();
  void PrepareCache();
  void FreeScroller();
  void PlaceScroller();
  TacSkinChangeRule SkinChangeRule(WORD cmd) const override;
  void AfterSkinChange(TMessage& message) override;
  bool OtherSkinCommand(TMessage& message) override;
  bool Notify(TMessage& message);       // true = handled
  void WMPaint(TMessage& message);
  void WMNCPaint(TMessage& message);
  void WMMouseMove(TMessage& message);
  void MouseLeft();
  void AfterDefault(TMessage& message);

  TTabPosition tabPosition_ = tpTop;
  TTabStyle style_ = tsTabs;
  bool hotTrack_ = false;
  bool animating_ = false;
  bool placingScroller_ = false;
};
