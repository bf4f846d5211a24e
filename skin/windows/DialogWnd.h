// TacDialogWnd: the adapter of a whole system dialog ("#32770") taken on by
// the dialog hook. It draws the dialog's frame from the skin: border,
// caption strip with icon, text and its own caption buttons, a window
// region without the skin's transparent corners, the skinned system menu and
// the client background of section "DIALOG" ("FORM" for kind 3 dialogs).
//
// Split by concern: DialogWnd.cpp (life, system menu, message switch),
// DialogWndPaint.cpp (metrics, cache, frame and client painting),
// DialogWndMouse.cpp (hit testing, caption buttons, mouse).
#pragma once

#include <windows.h>

#include <memory>

#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "framework/Menus.h"
#include "skin/engine/SkinConsts.h"
#include "skin/windows/ScrollWnd.h"

class TacDialogWnd;
class TacProvider;

// The dialog's skinned system menu: window commands enabled by its state.
class TacSystemMenu : public TPopupMenu {
 public:
  explicit TacSystemMenu(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TacSystemMenu"; }

  TacDialogWnd* Dialog = nullptr;
  TMenuItem* miRestore = nullptr;
  TMenuItem* miMove = nullptr;
  TMenuItem* miSize = nullptr;
  TMenuItem* miMinimize = nullptr;
  TMenuItem* miMaximize = nullptr;
  TMenuItem* miClose = nullptr;
};

// One caption button: 0 normal, 1 hot, 2 pressed; its image; its place in
// window coordinates.
struct TacCaptionButton {
  int State = 0;
  int ImageIndex = -1;
  TRect Rect{0, 0, 0, 0};
};

class TacDialogWnd : public TacScrollWnd {
 public:
  ~TacDialogWnd() override;
  void WndProc(TMessage& message) override;
  // Gives the window its system menu style and region back.
  void Unhook(bool repaint) override;

  // Reads the style, icon and caption font, then strips WS_SYSMENU so the
  // system draws no caption buttons of its own.
  void InitDialogFrame();
  void UpdateButtonIndexes();
  void UpdateSystemMenu();
  void SetHotButton(int hitCode, bool repaint);
  void PressButton(int hitCode);

  // ---- metrics ----
  int BorderWidth() const;
  int BorderHeight() const;
  int CaptionHeight() const;
  int ClientLeft() const;
  int ClientTop() const;
  int TopStripHeight() const;
  int ButtonWidth(const TacCaptionButton& button) const;
  int ButtonHeight(const TacCaptionButton& button) const;
  int ButtonsWidth() const;
  bool Sizeable() const;
  bool CanMaximize() const;
  bool CanRestore() const;
  bool CanMinimize() const;
  int Kind() const;

  // ---- region and painting ----
  void CollectRegionRects();
  void UpdateRgn(bool repaint);
  void PaintAll();
  void PaintCaptionButtons();
  void RepaintButton(int hitCode);

  TAOR RegionRects;
  int HotButton = 0;
  bool Active = true;
  bool ChildrenWalked = false;
  TacCaptionButton MinButton, MaxButton, CloseButton, HelpButton;
  HICON Icon = nullptr;
  std::unique_ptr<TFont> CaptionFont;
  LONG_PTR Style = 0;
  LONG_PTR ExStyle = 0;
  bool RegionChanged = true;
  TRect DlgRect{};
  int DlgWidth = 0;
  int DlgHeight = 0;
  uint8_t BorderKind = 1;
  std::unique_ptr<TBitmap> ButtonsBmp;
  std::unique_ptr<TacSystemMenu> SystemMenu;
  TacProvider* Provider = nullptr;

 protected:
  friend class TacMainWnd;
  TacDialogWnd(HWND AHandle, TsCommonData* ASkinData, TsSkinManager* ASkinManager,
               const std::wstring& SkinSection);
  void Attach(bool repaint) override;

 private:
  bool AlphaCmd(TMessage& message);
  void WithoutRedraw(TMessage& message);
  void OnNcPaint(TMessage& message);
  void OnEraseBkgnd(TMessage& message);
  void OnPaint(TMessage& message);
  void OnPrint(TMessage& message);
  void OnNcHitTest(TMessage& message);
  void OnNcLButtonDown(TMessage& message);
  void OnButtonUp(TMessage& message);
  void OnNcLButtonDblClk(TMessage& message);
  void OnNcRButton(TMessage& message);
  void AfterSysCommand(const TMessage& message);
  void OnRewalkChildren(TMessage& message);
  void RewalkChildren();
  void PaintFrameToDC(HDC dc);
  void PaintClientToDC(HDC dc);
  void PaintCaption(TBitmap* cache, int state);
  void PaintCaptionText(TBitmap* cache);
  void DrawButton(TBitmap* cache, const TacCaptionButton& button, int mask, bool enabled,
                  bool forceNormal);
  TacCaptionButton* ButtonOf(int hitCode);
  int ButtonImage(int hitCode) const;
  bool ButtonEnabled(int hitCode) const;
  void PopupSystemMenu(int x, int y);
  HBRUSH StaticBrush();

  bool captured_ = false;
  bool hasRgn_ = false;
  bool styleStripped_ = false;
  TAOR appliedRects_;
  TSize appliedSize_{-1, -1};
  UniqueBrush staticBrush_;
  TColor staticBrushColor_ = clNone;
};

using TacDialogWndPtr = std::unique_ptr<TacDialogWnd, TacMainWnd::Deleter>;

// Set while a caption button is pressed and not yet released (one dialog at
// a time), and while an adapter applies its own window region.
extern bool ButtonPressed;
extern bool InRgnUpdate;
