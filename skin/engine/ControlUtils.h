// Window-level services the skinned controls share: the notifications a
// parent sends its children, small queries on controls, and the
// visual-style functions looked up once at start-up.
#pragma once

#include <windows.h>

#include "framework/Component.h"
#include "framework/Controls.h"
#include "framework/Graphics.h"

class TCustomForm;

// ---- visual styles (looked up by name; null when missing) ----
using TSetWindowThemeFunc = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
extern HMODULE UxThemeLib;
extern TSetWindowThemeFunc SetWindowThemeFunc;
// Loads "UXTHEME" and looks the functions up; DoneVisualStyles frees it.
void InitVisualStyles();
void DoneVisualStyles();
// IsThemeActive and IsAppThemed both answer true.
bool VisualStylesActive();

// DrawText alignment of taLeftJustify, taRightJustify, taCenter.
extern const UINT DTAlignFlags[3];

// ---- notifications ----
// AC_ADAPTCHILDREN (LParam = Control) to the control's form, at run time.
void AddToAdapter(TControl* control);
// AC_ENDPARENTUPDATE to every child that is neither graphic nor being
// destroyed; a child's exception is swallowed.
void NotifyChildrenEndUpdate(TWinControl* control);
// AC_ENDPARENTUPDATE to every WS_CHILD window of Wnd.
void NotifyChildWndsEndUpdate(HWND wnd);
// BGFillColor := the control's answer to AC_GETBGCOLOR, else its Color,
// resolved to RGB.
void UpdateBGFillColor(TControl* control);

// ---- queries ----
// False for null, a windowed control without a window, a control being
// created, read, loaded or destroyed, or one without a parent.
bool ControlIsReady(const TControl* control);
// The first form on the owner chain (the component itself included).
TCustomForm* GetOwnerForm(TComponent* component);
void GetWorkArea(TRect& r);
UINT TextAlignFlags(const TControl* control, TAlignment alignment);
// Sum of the heights (alTop, alBottom) or widths (alLeft, alRight) of the
// children with that alignment; graphic ones only WithGraphic.
int SumAlignedChildSizes(const TWinControl* parent, TAlign align, bool withGraphic);
// Puts Wnd's window directly above Control's in their parent's z-order.
void PlaceAfterControl(TWinControl* wnd, TControl* control);
