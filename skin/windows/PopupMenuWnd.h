// The window around the items of a skinned popup menu: one frame bitmap per
// popup built from the skin's "MAINMENU" section with its extra line and
// icon line, copied onto the popup window (#32768) in strips or cut into a
// window region, and the popup window subclassed so the system neither
// erases nor frames it. Only one popup is painted at a time, so the state is
// kept once for the process and released when the popup window goes.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "framework/Graphics.h"

class TCanvas;
class TComponent;
class TMenuItem;
class TsSkinableMenus;

// The state of the popup being painted.
struct TacPopupState {
  std::unique_ptr<TBitmap> MenuFrameBmp;  // background and frame, full window size
  TMenuItem* MenuFirstItem = nullptr;     // compared only, never followed
  bool ExtraLineVisible = false;
  bool ExtraLineFetched = false;
  bool ExtraLineBusy = false;
  std::wstring ExtraLineSection;
  std::wstring ExtraLineCaption;
  std::unique_ptr<TBitmap> ExtraLineGlyph;
  int IcoLineWidth = 0;
};
TacPopupState& PopupState();

// The drop-down button whose menu is open registers itself here, with the
// application's hint switch as it was when the button was pressed; the first
// painted item of the menu gives the hints back and clears the registration.
struct TacDropDownRegistration {
  TComponent* Button = nullptr;
  bool StoredShowHint = false;
};
TacDropDownRegistration& MenuDropDownOwner();
// Releases a registered drop-down button (hints back on when they were).
void ReleaseDropDownButton();

// Forgets the current popup: first item, frame bitmap, extra-line flags.
void ResetPopupState();

// The visible items of the item's parent in order; the first of them.
TMenuItem* FirstPopupItem(TMenuItem* item);
// No item of the parent at or before this one starts a new column.
bool InFirstColumn(TMenuItem* item);

// Asks the application once per popup for the extra line's look.
void FetchExtraLine(TsSkinableMenus& menus, TMenuItem* firstItem);
// The extra line's width in item painting (Adjust) or in the frame bitmap.
int CalcExtraLineWidth(TsSkinableMenus& menus, bool adjust);

// Popup size from the measured items: columns side by side.
int GetMenuWidth(TsSkinableMenus& menus, TCanvas* canvas, TMenuItem* item);
int GetMenuHeight(TsSkinableMenus& menus, TCanvas* canvas, TMenuItem* item);

// Builds the frame bitmap of the popup whose first item is FirstItem (once)
// and, with a window, hooks that window.
void PrepareMenuFrame(TsSkinableMenus& menus, TMenuItem* firstItem, int width, HWND wnd,
                      int height);
// Subclasses the popup window and puts the frame on it (strips or region).
void HookPopupWnd(TsSkinableMenus& menus, HWND wnd, TBitmap* bmp);
// The popup window is subclassed by us.
bool IsPopupWndHooked(HWND wnd);
// Copies one rectangle of the frame bitmap onto the window at the same place.
void CopyFrameRect(HDC windowDC, TBitmap& frame, int x, int y, int width, int height);
