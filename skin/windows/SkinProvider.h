// TsSkinProvider: the non-visual component that skins one form. It takes
// over the form's window procedure, keeps one cache bitmap of the whole
// window (frame, caption band, client background) painted from the form's
// skin section, draws and runs the caption buttons itself, and gives the
// window a region without the skin's transparent corner pixels.
//
// The work is split by concern: SkinProvider.cpp (life, preparation, skin
// commands, the message switch), SkinProviderPaint.cpp (metrics and the
// cache), SkinProviderPaintMsgs.cpp (paint messages), SkinProviderCaption.cpp
// (caption items and mouse), SkinProviderRegion.cpp (region and placement),
// SkinProviderBorderDrag.cpp (the outline drag of rmBorder), SystemMenu.cpp
// (the skinned system menu).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Component.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Graphics.h"
#include "framework/Menus.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/SkinConsts.h"
#include "skin/windows/ScrollWnd.h"

class TsSkinManager;
class TsSkinProvider;
struct TacMenuLine;
class TacCtrlAdapter;
class TsMDIForm;

// Hit codes of a maximized MDI child's buttons in the main form's menu bar.
constexpr int kMDICloseCode = 101;
constexpr int kMDIRestoreCode = 102;
constexpr int kMDIMinCode = 103;

enum TsGripMode { gmNone, gmRightBottom };
enum TsResizeMode { rmStandard, rmBorder };

// One caption button: 0 normal, 1 hot, 2 pressed; its image; its place in
// window coordinates, written by each caption paint and read by hit tests.
struct TsCaptionButton {
  int State = 0;
  int ImageIndex = -1;
  TRect R{0, 0, 0, 0};
};


// The items every skinned system menu has, in order: Restore, Move, Size,
// Minimize, Maximize, a line, Close (Alt+F4). Each is named `prefix` and its
// English name and, when clicked, runs `send` with its system command.
struct TacSystemMenuItems {
  TMenuItem *Restore, *Move, *Size, *Minimize, *Maximize, *Close;
};
TacSystemMenuItems AddSystemMenuItems(TPopupMenu* menu, const std::wstring& prefix,
                                      const std::function<void(UINT command)>& send);

// The skinned system menu: restore, move, size, minimize, maximize, close,
// and a submenu listing the available skins.
class TsSystemMenu : public TPopupMenu {
 public:
  explicit TsSystemMenu(TsSkinProvider* provider);
  const wchar_t* ClassName() const override { return L"TsSystemMenu"; }

  bool VisibleClose() const;
  bool VisibleMax() const;
  bool VisibleMin() const;
  bool VisibleRestore() const;
  bool VisibleSize() const;
  bool EnabledMax() const;
  bool EnabledMin() const;
  bool EnabledMove() const;
  bool EnabledRestore() const;
  bool EnabledSize() const;

  void UpdateItems();
  void MakeSkinItems();
  void SkinSelect(TObject* sender);

  TsSkinProvider* Provider;
  TCustomForm* Form;
  TMenuItem* ItemRestore = nullptr;
  TMenuItem* ItemMove = nullptr;
  TMenuItem* ItemSize = nullptr;
  TMenuItem* ItemMinimize = nullptr;
  TMenuItem* ItemMaximize = nullptr;
  TMenuItem* ItemClose = nullptr;

 private:
  void SendCommand(UINT command);
};

class TsSkinProvider : public TComponent {
 public:
  // A user button in the caption (a nested type: the frame bar has a
  // title button of its own).
  class TsTitleButton {
   public:
    bool Enabled = true;
    std::wstring Name = L"TsTitleButton";
    bool UseSkinData = true;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    int State = 0;
    int ImageIndex = -1;
    TRect R{0, 0, 0, 0};
    // The picture in the middle of the button; the setter copies it.
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* value) { glyph_->Assign(value); }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y);

   private:
    std::unique_ptr<TBitmap> glyph_ = std::make_unique<TBitmap>();
  };
  using TsTitleButtons = std::vector<std::unique_ptr<TsTitleButton>>;

  explicit TsSkinProvider(TComponent* AOwner);
  ~TsSkinProvider() override;
  const wchar_t* ClassName() const override { return L"TsSkinProvider"; }
  void AfterConstruction() override;
  void Loaded() override;
  void Notification(TComponent* component, TOperation operation) override;

  // ---- properties ----
  TAlignment CaptionAlignment() const { return captionAlignment_; }
  void SetCaptionAlignment(TAlignment value);
  bool ShowAppIcon() const { return showAppIcon_; }
  void SetShowAppIcon(bool value);
  const std::wstring& TitleSkin() const { return titleSkin_; }
  void SetTitleSkin(const std::wstring& value);
  bool UseGlobalColor() const { return useGlobalColor_; }
  void SetUseGlobalColor(bool value);
  std::unique_ptr<TsCommonData> SkinData;
  TsGripMode GripMode = gmNone;
  bool MakeSkinMenu = true;
  std::wstring MenuLineSkin;
  TsResizeMode ResizeMode = rmStandard;
  bool ScreenSnap = false;
  int SnapBuffer = 10;
  TsTitleButtons TitleButtons;

  // ---- run-time state ----
  TAOR RgnRects;
  bool RgnRectsDirty = true;
  int HotItem = 0;
  std::unique_ptr<TBitmap> TempBmp;
  bool FirstPaintPending = false;
  bool FirstPaintDone = false;
  int TitleButtonMask = -1;
  bool FirstPrepare = true;
  bool MenuBarReady = false;
  TsCaptionButton MinButton, MaxButton, CloseButton, HelpButton;
  TsCaptionButton MDIMinButton, MDIMaxButton, MDICloseButton;
  bool RgnLocked = false;
  bool ShowAnimPending = false;
  bool RgnApplying = false;
  bool MenuChanged = true;
  bool FormActive = true;
  TCustomForm* Form = nullptr;
  int MenuLineCount = -1;
  TsSystemMenu* SystemMenu = nullptr;  // owned as a component
  std::unique_ptr<TBitmap> TitleStripBmp;
  std::unique_ptr<TBitmap> MenuLineBmp;  // the bare menu line, for the menu skinner
  // Draws the form's own scroll bars while AutoScroll is on; hooked in
  // front of us, so it goes before we let go of the form.
  TacScrollWndPtr FormScrollWnd;
  std::unique_ptr<TacCtrlAdapter> Adapter;  // the form's adapted standard controls
  std::unique_ptr<TsMDIForm> MDIForm;        // an MDI main form's companion

  // ---- operations ----
  void PrepareForm();
  void CreateAdapter();
  void RemoveAdapter();
  void UpdateFormScrollWnd();
  void SendToAdapter(TMessage& message);
  void HookMenus(bool active);
  void InvalidateFrame();
  // Skin commands handed over by the engine rather than sent to the form.
  void SkinMessage(TMessage& message) { NewWndProc(message); }
  TsSkinManager* Manager() const { return SkinData ? SkinData->GetSkinManager() : nullptr; }
  HWND FormHandle() const;

  // ---- metrics ----
  bool HasFrame() const;
  int SysCaptionHeight() const;
  int SysBorderHeight() const;
  int SysBorderWidth() const;
  int BorderHeight() const;
  int BorderWidth() const;  // the form's own BorderWidth (0 in this framework)
  int FormWidth() const;
  int FormHeight() const;
  int HeaderHeight() const;
  int OffsetX() const;
  int OffsetY() const;
  // Thickness of FormScrollWnd's bar (SB_HORZ / SB_VERT) while it is shown.
  int ShownScrollBar(WORD bar) const;
  bool IconVisible() const;
  int TitleIconWidth() const;
  int TitleIconHeight() const;
  TRect TitleIconRect() const;
  int CaptionButtonWidth(const TsCaptionButton& button) const;
  int CaptionButtonHeight() const;
  int TitleButtonWidth(const TsTitleButton& button) const;
  int StandardButtonCount() const;
  int ButtonsWidth() const;
  int TitleBarWidth(int mask) const;
  TPoint GripPosition(int mask) const;
  bool FormSizeChanged() const;
  void UpdateButtonIndexes();
  std::wstring TitleSectionName() const;

  // ---- menu bar ----
  int MenuHeight() const;
  bool MenuPresent() const;
  int MenuLines();
  std::wstring MenuLineSection() const;
  // The menu line the skinner paints the bar's items over; false when this
  // provider paints none.
  bool MenuLine(TacMenuLine& line);
  void PaintMenuLine(TBitmap* cache, int state);

  // ---- cache painting ----
  void PaintAll();
  void PaintTitleIcon();
  void PaintCaptionButtons();
  void PaintCaptionText();
  // The form's OnPaint drawing into the cache, its origin at the client area.
  void PaintFormHandler();
  void SaveTitleStrip();
  void RepaintCaption();

  // ---- paint messages ----
  void PaintFrameToDC(HDC dc);
  void PaintClient(HDC dc, bool sendEndUpdate);
  void RepaintFrame();
  void WMPaint();
  void RefreshMenuBar();

  // ---- caption items ----
  TPoint FormScreenOrigin() const;
  TPoint ScreenToForm(int x, int y) const;
  int ButtonSlotAt(int x) const;
  // The caption item under a form-relative point (no state changes).
  int ItemAt(const TPoint& p, LRESULT incoming) const;
  bool InScrollCorner(const TPoint& p) const;
  LRESULT HitTest(TMessage& message);
  void SetHotItem(int code, bool repaint);
  void PressItem(int code);
  void RepaintTitleItem(int code);
  void DrawTitleGlyph(const TsTitleButton& button);
  void DropSysMenu(int x, int y);

  // ---- region and placement ----
  void CollectRegionRects();
  HRGN CreateFormRgn(int x, int y) const;
  void UpdateRgn(bool repaint);
  // Rebuilds the region when the frame's shape changed; before the first
  // frame paint this is where the form is asked whether it keeps its own.
  void UpdateDirtyRgn(bool repaint);
  void RemoveRgn();
  int SetWindowRgnCalls = 0;  // how often a region was given to the window

  // ---- outline drag (ResizeMode rmBorder) ----
  void StartBorderDrag(int x, int y);
  void DrawDragFrame(int x, int y);
  // Ends this form's drag; with apply the form takes the outline's place.
  void StopBorderDrag(bool apply = true);
  bool BorderDragging() const;  // this form's outline drag is running

  // ---- MDI (SkinProviderMDI.cpp) ----
  void SetMDIForm(bool value);
  bool ShowsChildButtons() const;
  int SmallButtonWidth() const;
  int SmallButtonHeight() const;
  void BeginFormUpdate(bool withParent);
  void EndFormUpdate(bool withParent);
  // The cache under the menu bar's right end, for the menu loop's cover.
  void PaintMenuCover(HDC dc);

  // The provider's window procedure (the head of the form's hook chain).
  void NewWndProc(TMessage& message);

 private:
  bool hookingMenus_ = false;
  int LayMenuItems(const std::function<void(TMenuItem*, const TRect&)>& place) const;
  void CallOld(TMessage& message);
  // Skin commands.
  void AlphaCmdUnskinned(TMessage& message);
  void AlphaCmdSkinned(TMessage& message);
  void OnSetNewSkinUnskinned(TMessage& message);
  void OnSetNewSkinSkinned();
  void OnRemoveSkin(TMessage& message);
  void OnRefresh(TMessage& message);
  // Window messages of the skinned path.
  void SkinnedWndProc(TMessage& message);
  void OnActivate(TMessage& message);
  void OnSetText(TMessage& message);
  void OnEraseBkgnd(TMessage& message);
  void OnNcPaint(TMessage& message);
  void OnNcActivate(TMessage& message);
  void OnPrint(TMessage& message);
  void OnNcHitTest(TMessage& message);
  void OnNcLButtonDown(TMessage& message);
  void OnButtonUp(TMessage& message, bool clientPoint);
  void OnNcLButtonDblClk(TMessage& message);
  void OnNcRButtonDown(TMessage& message);
  void OnNcRButtonUp(TMessage& message);
  void OnNcMouseMove(TMessage& message);
  void OnSysCommand(TMessage& message);
  void OnMouseMove(TMessage& message);
  bool BeginBorderDrag(TMessage& message);
  bool OnBorderSysCommand(TMessage& message);
  void DragMouseMove(int x, int y);
  bool EndBorderDragAt(TMessage& message, bool clientPoint);
  void OnWindowPosChanging(TMessage& message);
  void OnWindowPosChanged(TMessage& message);
  void OnGetMinMaxInfo(TMessage& message);
  void OnShowingChanged(TMessage& message);
  bool PaintSuppressed() const;
  void RunItemCommand(int code);
  TsCaptionButton* ButtonOf(int code);
  void DrawButton(const TsCaptionButton& button, int mask, bool enabled);
  int ButtonImage(int code) const;
  bool ButtonEnabled(int code) const;
  void StyleSysMenu(bool skinned);
  void SkinnedWndProcStd(TMessage& message);
  void OnMeasureItem(TMessage& message);
  // MDI (SkinProviderMDI.cpp).
  void ConnectMDIClient();
  void ForgetMDI();
  void UpdateMDIButtonIndexes();
  // A new skin or a refresh: the companion and the client's adapter.
  void MDISkinCmd();
  // Sizes and repaints the client window's frame (main form).
  void RefreshMDIClient();
  // Repaints the main form's maximized active child; false when there is none.
  bool RepaintMaximizedMDIChild();
  void PaintMDIParts(TBitmap* cache);
  void PaintMDIArea(TBitmap* cache);
  void PaintMDIChildIcon(TBitmap* cache);
  void PaintMDIChildButtons();
  int MDIIconItemWidth() const;
  int MDIButtonImage(int code) const;
  bool MDIButtonEnabled(int code) const;
  int MDIButtonAt(const TPoint& p) const;
  void RunMDIButton(int code);
  void ShowMenuCover();
  void MDIMainWndProc(TMessage& message);
  void MDIChildWndProc(TMessage& message);
  void OnMDIChildSysCommand(TMessage& message);
  void AfterMDIChildDestroyed();

  TAlignment captionAlignment_ = taLeftJustify;
  bool showAppIcon_ = true;
  std::wstring titleSkin_;
  bool useGlobalColor_ = true;
  std::unique_ptr<TWndProcHook> hook_;
  const TWndMethod* next_ = nullptr;  // the chain behind us during a call
  bool inert_ = false;                // a second provider of the form
  bool clientPainting_ = false;
  bool captured_ = false;             // we took the mouse for a pressed item
  bool trackingLeave_ = false;
  TAOR appliedRects_;                 // what the window's region was made of
  TSize appliedSize_{-1, -1};
  bool hasRgn_ = false;
  std::unique_ptr<TForm> menuCover_;  // over the menu bar during a menu loop
  // SysCaptionHeight() held for the length of one cache paint: the system
  // metric behind it costs a font measurement each time under Wine.
  class CaptionHeightHold;
  mutable int captionHeightHeld_ = -1;
  // The caption icon as last drawn and the pixels it was drawn over:
  // DrawIconEx makes and drops a memory DC on every call, slow under Wine.
  struct DrawnIcon {
    HICON icon = nullptr;
    TRect r{};
    std::vector<uint8_t> under, drawn;
  };
  DrawnIcon drawnIcon_;
};

// Gives the engine the window-skinning library (providers, regions, the
// dialog hook); every provider does it, a program without one calls it.
void InstallEngineHooks();
// The provider of a control's form (AC_GETPROVIDER), or null.
TsSkinProvider* GetSkinProvider(TControl* control);
int WndWidth(HWND wnd);
int WndHeight(HWND wnd);
int WndClientWidth(HWND wnd);
int WndClientHeight(HWND wnd);
// Moves Pos so its far edge lies on Edge when it ends within SnapBuffer.
void SnapToEdge(int& pos, int edge, int size, int snapBuffer);
// The caption icon size for a caption of Size pixels.
int TitleIconSize(int size);
