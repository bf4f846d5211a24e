// Menus: TMenuItem trees behind TMainMenu (a form's menu bar) and
// TPopupMenu (a context menu). Every item has a command id that is unique in
// the process; WM_COMMAND with that id, from whichever window receives it,
// reaches the item's OnClick through DispatchMenuCommand. Each item that has
// sub-items owns the HMENU of its sub-menu, rebuilt whenever an item of it
// changes. Owner-drawn menus (TMenu::SetOwnerDraw) are measured and painted
// through the items' OnMeasureItem / OnAdvancedDrawItem.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Controls.h"
#include "framework/OwnerDraw.h"

class TMenu;
class TMenuItem;
class TImageList;
class TCustomForm;

enum TMenuBreak { mbNone, mbBreak, mbBarBreak };
enum TPopupAlignment { paLeft, paRight, paCenter };
enum TMenuAnimationFlag : uint32_t {
  maLeftToRight = 1, maRightToLeft = 2, maTopToBottom = 4, maBottomToTop = 8, maNone = 16
};
using TMenuAnimation = uint32_t;  // empty: the system's default animation

// Key code in the low byte, scShift/scCtrl/scAlt above it.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;
TShortCut ShortCut(WORD key, TShiftState shift);
// "Ctrl+S", "Alt+F4", "Shift+Del", ...; empty for scNone.
std::wstring ShortCutToText(TShortCut shortCut);

using TMenuMeasureItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, TRect ARect, TOwnerDrawState State)>;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;
  const wchar_t* ClassName() const override { return L"TMenuItem"; }

  // "-" makes a separator.
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& v);
  bool IsLine() const { return caption_ == L"-"; }
  bool Checked() const { return checked_; }
  void SetChecked(bool v);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool Default() const { return default_; }
  void SetDefault(bool v);
  TMenuBreak Break() const { return break_; }
  void SetBreak(TMenuBreak v);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  // A picture of the item's own (created on first use).
  TBitmap* Bitmap();
  bool HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }
  int GroupIndex = 0;
  std::wstring Hint;

  // --- Sub-items (owned by this item)
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(index); }
  TMenuItem* operator[](int index) const { return Items(index); }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Removes and frees the sub-item.
  void Delete(int index);
  // Removes without freeing (the caller owns it afterwards).
  void Remove(TMenuItem* item);
  void Clear();
  int IndexOf(const TMenuItem* item) const;
  TMenuItem* Find(const std::wstring& caption) const;  // "&" ignored
  TMenuItem* Parent() const { return parent_; }
  int MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
  // The item's position in its parent's menu handle, which holds only the
  // visible items (so not MenuIndex once a hidden item precedes it); -1 for
  // a hidden item or one without a parent.
  int MenuPosition() const;
  // The item's screen rectangle in the menu shown by `wnd` (GetMenuItemRect
  // by MenuPosition); false when it has none.
  bool ItemRect(HWND wnd, RECT& rect) const;
  // The TMainMenu or TPopupMenu the item belongs to, or null.
  TMenu* GetParentMenu() const;

  // The sub-menu's handle (created on demand; null for an item without
  // sub-items that is not a menu's root).
  HMENU Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  // The id WM_COMMAND carries for this item.
  WORD Command() const { return command_; }

  virtual void Click();
  TNotifyEvent OnClick;
  TMenuMeasureItemEvent OnMeasureItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;

  // Owner-draw entry points (WM_MEASUREITEM / WM_DRAWITEM of ODT_MENU).
  void MeasureItem(HDC dc, UINT& width, UINT& height);
  void DrawItem(HDC dc, RECT rect, TOwnerDrawState state);
  // The plain look of an owner-drawn item, for painters that leave an item
  // to the framework.
  void DrawPlain(TCanvas* canvas, RECT rect, TOwnerDrawState state);

 private:
  friend class TMenu;
  friend class TMainMenu;
  void MenuChanged();       // this item's look changed: its parent's menu is rebuilt
  void RebuildHandle();     // our HMENU holds our visible sub-items again
  void InsertInto(HMENU menu, int position, bool topLevelOfBar);
  void DestroyHandle();
  void SetMenu(TMenu* menu);

  std::wstring caption_;
  bool checked_ = false;
  bool radioItem_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool default_ = false;
  TMenuBreak break_ = mbNone;
  TShortCut shortCut_ = scNone;
  int imageIndex_ = -1;
  std::unique_ptr<TBitmap> bitmap_;
  std::vector<TMenuItem*> items_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on a menu's root item only
  HMENU handle_ = nullptr;
  WORD command_ = 0;
};

// Base of the main menu and the popup menu: owns the root item.
class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  const wchar_t* ClassName() const override { return L"TMenu"; }

  TMenuItem* Items() const { return items_; }
  HMENU Handle() { return items_->Handle(); }
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool v);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v);
  // Runs the OnClick of the item (of this menu) with that command id.
  bool DispatchCommand(WORD command);
  TMenuItem* FindItem(WORD command) const;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  // A bar item changed: the window showing the bar redraws it.
  virtual void MenuChanged() {}
  virtual bool IsMenuBar() const { return false; }

 private:
  friend class TMenuItem;
  TMenuItem* items_;
  bool ownerDraw_ = false;
  TImageList* images_ = nullptr;
};

// A form's menu bar. Attach it with TCustomForm::SetMenu.
class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* AOwner);
  ~TMainMenu() override;
  const wchar_t* ClassName() const override { return L"TMainMenu"; }
  TCustomForm* Form() const { return form_; }

  // Shows `menu`'s top-level items in this bar: an item replaces this
  // menu's items of its GroupIndex and goes among the others by GroupIndex.
  // One menu at a time is merged; the merged menu keeps its items.
  void Merge(TMainMenu* menu);
  void Unmerge(TMainMenu* menu);
  TMainMenu* Merged() const { return merged_; }
  TMainMenu* MergedInto() const { return mergedInto_; }
  // The form whose window shows this menu's items: its own form's, or the
  // form of the bar it is merged into.
  TCustomForm* BarForm() const { return mergedInto_ ? mergedInto_->form_ : form_; }
  // The top-level items the bar shows, merged ones included, in order
  // (hidden ones too).
  std::vector<TMenuItem*> BarItems() const;

 protected:
  void MenuChanged() override;
  bool IsMenuBar() const override { return true; }
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TCustomForm;
  void AttachTo(TCustomForm* form);
  void Detach();
  void HookMessage(TMessage& message, const TWndMethod& next);

  TCustomForm* form_ = nullptr;
  std::unique_ptr<TWndProcHook> hook_;
  TMainMenu* merged_ = nullptr;      // shown in our bar
  TMainMenu* mergedInto_ = nullptr;  // the bar showing us
};

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;
  const wchar_t* ClassName() const override { return L"TPopupMenu"; }

  // Shows the menu at a screen point and returns when it closes; the chosen
  // item's OnClick runs once its WM_COMMAND arrives (posted to the menu's
  // window, so right after the menu has gone).
  virtual void Popup(int x, int y);
  bool AutoPopup = true;
  TPopupAlignment Alignment = paLeft;
  TMenuAnimation MenuAnimation = 0;
  // The control whose context menu this was, while it shows.
  TComponent* PopupComponent = nullptr;
  TNotifyEvent OnPopup;

  // The hidden window the menu belongs to while it shows; WM_COMMAND,
  // WM_MEASUREITEM and WM_DRAWITEM sent to it reach the items.
  static HWND WindowHandle();
};

// Called with a menu just before it shows (a popup menu in Popup, a form's
// menu bar on WM_INITMENU), so that a menu painter can take over menus made
// after it was switched on. Empty by default.
using TMenuShowingEvent = std::function<void(TMenu* menu)>;
void SetMenuShowingHook(TMenuShowingEvent hook);

// True when `item` is a live menu item; the pointer is only compared, never
// followed, so a freed one is safe to ask about.
bool IsLiveMenuItem(const void* item);

// Runs OnClick of the menu item with that command id (any menu); false when
// no item has it.
bool DispatchMenuCommand(WORD command);
// The item with that command id, or null.
TMenuItem* FindMenuItem(WORD command);
