// TsSkinableMenus: the skin manager's menu skinner. It skins the framework's
// menus without replacing them: a menu is switched to owner drawing and its
// items get the skinner's measuring and painting handlers, which draw every
// item from the skin's "MENUITEM" section. Handlers the application set
// itself are never replaced or removed. The popup window around the items is
// PopupMenuWnd.h's.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/Classes.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Menus.h"
#include "framework/Messages.h"
#include "skin/engine/SkinConsts.h"
#include "skin/engine/WindowSkinning.h"  // the private menu messages

class TsSkinManager;
class TCustomForm;
class TacScratchBmp;

enum TsMenuItemType { smCaption, smDivider, smNormal, smTopLine };
using TsMenuManagerDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, const TRect& ARect, TOwnerDrawState State,
                       TsMenuItemType ItemType)>;

// What a form's skin provider lends the menu-bar painter: its image of the
// menu line and the line's top in the window.
struct TacMenuLine {
  TBitmap* Bmp = nullptr;
  int Top = 0;
};
using TacMenuLineSource = std::function<bool(TCustomForm* form, TacMenuLine& line)>;

class TsSkinableMenus : public TPersistent {
 public:
  explicit TsSkinableMenus(TsSkinManager* owner);
  ~TsSkinableMenus() override;
  TsSkinableMenus(const TsSkinableMenus&) = delete;
  TsSkinableMenus& operator=(const TsSkinableMenus&) = delete;

  // ---- published ----
  TAlignment Alignment = taLeftJustify;
  int BevelWidth = 0;
  int BorderWidth = 3;
  std::unique_ptr<TFont> CaptionFont;
  // The border width of the skin's popup frame, found on first read after a
  // skin change (-1 = not yet known).
  int SkinBorderWidth();
  void SetSkinBorderWidth(int value) { skinBorderWidth_ = value; }
  int Margin = 3;
  int Spacing = 6;
  TsMenuManagerDrawItemEvent OnDrawItem;

  // The form provider that paints a form's menu line; without one, bar
  // items keep the framework's plain look.
  TacMenuLineSource MenuLineSource;

  TsSkinManager* Manager() const { return manager_; }
  bool Active() const { return active_; }
  // Transparent corner pixels of the popup frame, cut out of its window.
  TAOR BorderRects;
  // A popup window is being hooked.
  bool Hooking = false;

  // ---- hooking ----
  void UpdateMenus();
  void SetActive(bool value);
  void ApplyToAllForms(bool value);
  void HookMenu(TMenu* menu, bool active);
  void HookMenuItems(TMainMenu* mainMenu, bool active);
  void SetItemHandlers(TMenuItem* item, bool active);
  void HookItem(TMenuItem* item, bool active);
  // A provider paints the menu line of the bar's form.
  bool PaintsMenuLine(TMainMenu* mainMenu) const;
  // Hooks a menu that is about to show, when it was made after the skin came.
  void PrepareShowingMenu(TMenu* menu);
  // Frees the current popup's frame bitmap.
  void FreeMenuCache();
  // The private menu messages of the application window; true = handled.
  bool HookMessage(TMessage& message);

  // ---- item handlers ----
  void MeasureItem(TObject* sender, TCanvas* canvas, int& width, int& height);
  void DrawItem(TObject* sender, TCanvas* canvas, TRect r, TOwnerDrawState state);
  void MeasureTopLineItem(TObject* sender, TCanvas* canvas, int& width, int& height);
  void DrawTopLineItem(TObject* sender, TCanvas* canvas, TRect r, TOwnerDrawState state);
  bool IsOwnHandler(const TMenuMeasureItemEvent& handler) const;
  bool IsOwnHandler(const TAdvancedMenuDrawItemEvent& handler) const;

  // ---- measuring ----
  int GetItemHeight(TCanvas* canvas, TMenuItem* item);
  int ItemWidth(TCanvas* canvas, TMenuItem* item);
  TSize GetItemBitmapSize(TMenuItem* item) const;

 private:
  void DrawDivider(TCanvas* canvas, const TRect& r, TBitmap* frame, TPoint clientOffset);
  void DrawFramePart(TMenuItem* item, HWND wnd, const TRect& r);
  void PaintItemImage(TMenuItem* item, TacScratchBmp& img, const TRect& r, TOwnerDrawState state,
                      int extraLine, TPoint clientOffset);
  void InstallPopupHandlers(TMenuItem* item);
  void RemovePopupHandlers(TMenuItem* item);

  TsSkinManager* manager_;
  bool active_ = false;
  int skinBorderWidth_ = -1;
};

// Item kinds by caption: "-" a divider, "-text-" a caption item.
TsMenuItemType MenuItemTypeOf(TMenuItem* item);
// The screen's menu font on the canvas, in the character set of the font of
// the form that owns the item's menu.
void SetMenuFont(TCanvas* canvas, TMenuItem* item, bool bold);
