#include "skin/engine/ControlUtils.h"

#include "framework/Forms.h"
#include "skin/engine/SkinMessages.h"

HMODULE UxThemeLib = nullptr;
TSetWindowThemeFunc SetWindowThemeFunc = nullptr;

namespace {

using TBoolFunc = BOOL(WINAPI*)();
TBoolFunc IsThemeActiveFunc = nullptr;
TBoolFunc IsAppThemedFunc = nullptr;
bool lookedUp = false;

// GetProcAddress hands back a generic function pointer; going through void*
// states that the real type is known from the export's name.
template <class F>
F Proc(HMODULE module, const char* name) {
  return reinterpret_cast<F>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace

void InitVisualStyles() {
  if (lookedUp) return;
  lookedUp = true;
  UxThemeLib = ::LoadLibraryW(L"UXTHEME");
  if (!UxThemeLib) return;
  SetWindowThemeFunc = Proc<TSetWindowThemeFunc>(UxThemeLib, "SetWindowTheme");
  IsThemeActiveFunc = Proc<TBoolFunc>(UxThemeLib, "IsThemeActive");
  IsAppThemedFunc = Proc<TBoolFunc>(UxThemeLib, "IsAppThemed");
}

void DoneVisualStyles() {
  if (UxThemeLib) ::FreeLibrary(UxThemeLib);
  UxThemeLib = nullptr;
  SetWindowThemeFunc = nullptr;
  IsThemeActiveFunc = IsAppThemedFunc = nullptr;
  lookedUp = false;
}

bool VisualStylesActive() {
  InitVisualStyles();
  return IsThemeActiveFunc && IsAppThemedFunc && IsThemeActiveFunc() && IsAppThemedFunc();
}

const UINT DTAlignFlags[3] = {DT_LEFT, DT_RIGHT, DT_CENTER};

// ---------------------------------------------------------------- notifications

void AddToAdapter(TControl* control) {
  if (!control || control->HasState(csDesigning)) return;
  TWinControl* form = control->GetParentForm();
  // Only a form whose window exists can take the announcement; asking for
  // its handle here would create the window as a side effect.
  if (!form || !form->HandleAllocated()) return;
  // The form's adapter looks among what the control owns and holds; a
  // control with neither (every skinned control hears this on each refresh,
  // most of them leaves) has nothing to offer it.
  auto* win = dynamic_cast<TWinControl*>(control);
  if (win && win->ControlCount() == 0 && win->ComponentCount() == 0) return;
  SendSkinCmd(form->WindowHandle(), AC_ADAPTCHILDREN, reinterpret_cast<LPARAM>(control));
}

void NotifyChildrenEndUpdate(TWinControl* control) {
  if (!control) return;
  for (int i = 0; i < control->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(control->Controls(i));
    if (!child || child->HasState(csDestroying) || !child->HandleAllocated()) continue;
    try {
      SendSkinCmd(child->WindowHandle(), AC_ENDPARENTUPDATE, 0);
    } catch (...) {
      // One child's failure must not keep the others updating.
    }
  }
}

void NotifyChildWndsEndUpdate(HWND wnd) {
  if (!wnd) return;
  for (HWND c = ::GetTopWindow(wnd); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (::GetWindowLongPtrW(c, GWL_STYLE) & WS_CHILD) SendSkinCmd(c, AC_ENDPARENTUPDATE, 0);
}

void UpdateBGFillColor(TControl* control) {
  if (!control) return;
  TColor c = RequestBGColor(control);
  if (c == clFuchsia) c = control->Color();
  BGFillColor = ColorToRGB(c);
}

// ---------------------------------------------------------------- queries

bool ControlIsReady(const TControl* control) {
  if (!control) return false;
  if (auto* w = dynamic_cast<const TWinControl*>(control); w && !w->HandleAllocated()) return false;
  if (control->ControlState() & (csCreating | csReadingState)) return false;
  if (control->HasState(csLoading | csDestroying)) return false;
  return control->Parent() != nullptr;
}

TCustomForm* GetOwnerForm(TComponent* component) {
  for (TComponent* c = component; c; c = c->Owner())
    if (auto* form = dynamic_cast<TCustomForm*>(c)) return form;
  return nullptr;
}

void GetWorkArea(TRect& r) { ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0); }

UINT TextAlignFlags(const TControl* /*control*/, TAlignment alignment) {
  // The framework has no right-to-left reading, so nothing is mirrored.
  return DTAlignFlags[alignment] | DT_EXPANDTABS | DT_VCENTER;
}

int SumAlignedChildSizes(const TWinControl* parent, TAlign align, bool withGraphic) {
  if (!parent) return 0;
  int sum = 0;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (c->Align() != align) continue;
    if (!withGraphic && !dynamic_cast<TWinControl*>(c)) continue;
    sum += (align == alTop || align == alBottom) ? c->Height() : c->Width();
  }
  return sum;
}

void PlaceAfterControl(TWinControl* wnd, TControl* control) {
  if (!wnd || !control || !wnd->Parent() || !wnd->Parent()->ContainsControl(control)) return;
  auto* other = dynamic_cast<TWinControl*>(control);
  if (!other || !other->HandleAllocated() || !wnd->HandleAllocated()) return;
  // Later in the child order means higher in the z-order: directly above
  // Control is behind the window that is above it now.
  HWND above = ::GetWindow(other->WindowHandle(), GW_HWNDPREV);
  if (above == wnd->WindowHandle()) return;
  ::SetWindowPos(wnd->WindowHandle(), above ? above : HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}
