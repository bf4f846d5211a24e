#include "skin/windows/DialogHook.h"

#include <algorithm>
#include <cwctype>

#include "framework/WindowSubclass.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/MessageBoxes.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/windows/ButtonWnd.h"
#include "skin/windows/ComboWnd.h"
#include "skin/windows/EditWnd.h"
#include "skin/windows/GroupBoxWnd.h"
#include "skin/windows/PanelWnd.h"
#include "skin/windows/SkinProvider.h"
#include "skin/windows/SpinWnd.h"
#include "skin/windows/StaticWnd.h"
#include "skin/windows/ToolBarWnd.h"

namespace {

bool DialogChildFlag = false;
int ComboListCount = 0;

// Control ids the system's common dialogs share on every platform: the
// colour dialog's spectrum, luminosity bar and first colour box, and the
// font dialog's sample area.
constexpr int kColorRainbow = 710;
constexpr int kColorLumScroll = 702;
constexpr int kColorBox1 = 720;
constexpr int kFontSample = 0x444;

std::vector<std::unique_ptr<TObject>>* HookedList() {
  return DefaultManager ? DefaultManager->HookedDialogs() : nullptr;
}

std::wstring ClassOf(HWND wnd) {
  wchar_t name[129] = {};
  const int n = ::GetClassNameW(wnd, name, 128);
  std::wstring s(name, n > 0 ? static_cast<size_t>(n) : 0);
  for (wchar_t& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

TCustomForm* FormOfHandle(HWND wnd) {
  if (!Screen) return nullptr;
  for (int i = 0; i < Screen->FormCount(); ++i) {
    TCustomForm* f = Screen->Forms(i);
    if (f && f->HandleAllocated() && f->WindowHandle() == wnd) return f;
  }
  return nullptr;
}

bool HasSkinProvider(TCustomForm* form) {
  for (int i = 0; i < form->ComponentCount(); ++i)
    if (dynamic_cast<TsSkinProvider*>(form->Components(i))) return true;
  return false;
}

bool Known(HWND wnd) {
  const auto* list = HookedList();
  if (!list) return false;
  return std::any_of(list->begin(), list->end(), [wnd](const std::unique_ptr<TObject>& o) {
    auto* p = dynamic_cast<TacProvider*>(o.get());
    return p && p->Wnd == wnd;
  });
}

bool HasChildWithId(HWND wnd, int id) {
  for (HWND c = ::GetTopWindow(wnd); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (::GetDlgCtrlID(c) == id || HasChildWithId(c, id)) return true;
  return false;
}

// A property sheet: a tab control beside nested dialog pages.
bool IsPropertySheetTab(HWND tab) {
  HWND parent = ::GetParent(tab);
  for (HWND c = ::GetTopWindow(parent); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (c != tab && ClassOf(c) == L"#32770") return true;
  return false;
}

void MoveToTarget(HWND wnd) {
  if (DlgTargetPos.x == -1 && DlgTargetPos.y == -1) return;
  ::SetWindowPos(wnd, nullptr, DlgTargetPos.x, DlgTargetPos.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

template <class T>
T* AddAdapter(TacProvider* provider, HWND child, const wchar_t* section) {
  TsSkinManager* m = provider->DlgAdapter ? provider->DlgAdapter->Manager() : DefaultManager;
  auto a = TacMainWnd::Create<T>(child, nullptr, m, section, true);
  a->DialogChild = DialogChildFlag;
  T* raw = a.get();
  SendSkinCmd(child, AC_SETNEWSKIN, reinterpret_cast<LPARAM>(m));
  provider->Adapters.push_back(TacMainWndPtr(a.release()));
  return raw;
}

// The adapter a child gets by class and style; false refuses the dialog.
bool AdaptChild(TacProvider* p, HWND child, const std::wstring& cls, LONG_PTR style) {
  if (cls == L"static") {
    const int type = static_cast<int>(style & SS_TYPEMASK);
    const int id = ::GetDlgCtrlID(child);
    if (id == kColorRainbow || id == kColorLumScroll || id == kColorBox1) {
      // The colour dialog paints its spectrum and colour boxes itself.
      p->Kind = 3;
      return true;
    }
    if (type == SS_ICON) AddAdapter<TacIconWnd>(p, child, L"CHECKBOX");
    else if (type == SS_GRAYRECT || type == SS_WHITERECT || type == SS_SIMPLE ||
             type == SS_OWNERDRAW || type == SS_BITMAP || type == SS_ENHMETAFILE) {
      // painted by the system or its owner
    } else AddAdapter<TacStaticWnd>(p, child, L"CHECKBOX");
    return true;
  }
  if (cls == L"#32770") return AddAdapter<TacTransPanelWnd>(p, child, L"CHECKBOX"), true;
  if (cls == L"button") {
    const int type = static_cast<int>(style & BS_TYPEMASK);
    if (type == BS_GROUPBOX) AddAdapter<TacGroupBoxWnd>(p, child, L"GROUPBOX");
    else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_USERBUTTON)
      AddAdapter<TacBtnWnd>(p, child, L"BUTTON");
    else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
             type == BS_3STATE || type == BS_AUTO3STATE || type == BS_AUTORADIOBUTTON)
      AddAdapter<TacCheckBoxWnd>(p, child, L"CHECKBOX");
    return true;  // owner-drawn, split and command-link buttons paint themselves
  }
  if (cls == L"combobox") {
    if (ClassOf(::GetParent(child)) != L"comboboxex32")
      AddAdapter<TacComboBoxWnd>(p, child, L"COMBOBOX");
    return true;
  }
  if (cls == L"combolbox") {
    ++ComboListCount;
    AddAdapter<TacEditWnd>(p, child, L"COMBOBOX");
    return true;
  }
  if (cls == L"comboboxex32") return AddAdapter<TacComboBoxWnd>(p, child, L"COMBOBOX"), true;
  if (cls == L"scrollbar") {
    if (style & (SBS_SIZEGRIP | SBS_SIZEBOX)) AddAdapter<TacSizerWnd>(p, child, L"CHECKBOX");
    return true;
  }
  if (cls == L"systabcontrol32") return !IsPropertySheetTab(child);
  if (cls == L"syslistview32") return AddAdapter<TacListViewWnd>(p, child, L"EDIT"), true;
  if (cls == L"msctls_updown32") {
    AddAdapter<TacSpinWnd>(p, child, L"SPEEDBUTTON_SMALL")->LeftMargin = 2;
    return true;
  }
  if (cls == L"listbox" || cls == L"edit") return AddAdapter<TacEditWnd>(p, child, L"EDIT"), true;
  if (cls == L"link window" || cls == L"syslink")
    return AddAdapter<TacLinkWnd>(p, child, L"CHECKBOX"), true;
  if (cls == L"toolbarwindow32") {
    AddAdapter<TacToolBarWnd>(p, child, (style & 0x200) ? L"BAR" : L"CHECKBOX");
    return true;
  }
  if (cls == L"systreeview32") return AddAdapter<TacTreeViewWnd>(p, child, L"EDIT"), true;
  if (cls.find(L"shbrowseforfolder") != std::wstring::npos)
    return AddAdapter<TacTransPanelWnd>(p, child, L"CHECKBOX"), true;
  return true;
}

}  // namespace

// ---------------------------------------------------------------- provider

TacProvider::TacProvider(TComponent* AOwner) : TComponent(AOwner) {}

TacProvider::~TacProvider() {
  watch_.reset();
  // Children first: they hooked after the dialog.
  while (!Adapters.empty()) Adapters.pop_back();
  if (DlgAdapter) DlgAdapter->Unhook(true);
  DlgAdapter.reset();
  if (SkinProvider) {
    TsSkinProvider* provider = SkinProvider;
    SkinProvider = nullptr;
    provider->RemoveFreeNotification(this);
    if (::IsWindow(Wnd) && provider->Manager())
      ::SendMessageW(Wnd, SM_ALPHACMD, SkinCmdWParam(AC_REMOVESKIN),
                     reinterpret_cast<LPARAM>(provider->Manager()));
    delete provider;
  }
  // Freed by someone other than the list: leave no dangling entry.
  if (auto* list = HookedList())
    for (auto& entry : *list)
      if (entry.get() == this) (void)entry.release();
  if (auto* list = HookedList())
    list->erase(std::remove(list->begin(), list->end(), nullptr), list->end());
}

void TacProvider::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == TOperation::opRemove && component == SkinProvider) SkinProvider = nullptr;
}

void TacProvider::WatchWindow() {
  watch_ = std::make_unique<TWindowSubclass>(Wnd, [this](UINT msg, WPARAM w, LPARAM l) {
    const LRESULT r = watch_->CallPrevious(msg, w, l);
    if (msg == WM_NCDESTROY) WindowGone();  // frees this
    return r;
  });
}

// The window is gone: so is everything made for it.
void TacProvider::WindowGone() {
  auto* list = HookedList();
  if (!list) return;
  auto it = std::find_if(list->begin(), list->end(),
                         [this](const std::unique_ptr<TObject>& o) { return o.get() == this; });
  if (it == list->end()) return;
  std::unique_ptr<TObject> self = std::move(*it);
  list->erase(it);
  self.reset();
}

void TacProvider::CreateSkinProvider(TCustomForm* form) {
  Wnd = form->WindowHandle();
  SkinProvider = Construct<TsSkinProvider>(form);
  SkinProvider->FreeNotification(this);
  if (form->ClassNameIs(L"TMessageForm")) SkinProvider->MakeSkinMenu = false;
  WatchWindow();
  if (::IsWindowVisible(Wnd)) {
    RefreshFrame(Wnd, true);
    ::RedrawWindow(Wnd, nullptr, nullptr,
                   RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  }
}

bool TacProvider::InitDialog(HWND wnd) {
  Wnd = wnd;
  if (!DefaultManager || !DefaultManager->Active() || DlgAdapter) return true;
  LeftScrollBar = (::GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  WatchWindow();
  const std::wstring cls = ClassOf(wnd);
  if (cls != L"#32770" && cls != L"tmessageform") return true;
  DlgAdapter = TacMainWnd::Create<TacDialogWnd>(wnd, nullptr, DefaultManager, L"DIALOG", false);
  DlgAdapter->Provider = this;
  ComboListCount = 0;
  if (!WalkDialogChildren(this, wnd)) return false;
  if (ComboListCount == 3) {
    // The font dialog: its sample area is the system's.
    Kind = 3;
    for (HWND c = ::GetTopWindow(wnd); c; c = ::GetWindow(c, GW_HWNDNEXT))
      if (::GetDlgCtrlID(c) == kFontSample) {
        RECT r{};
        ::GetWindowRect(c, &r);
        ::MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&r), 2);
        Kind1Rect = r;
        Kind = 1;
      }
  }
  if (Kind == 3) DlgAdapter->SkinData->SetSkinSection(L"FORM");
  DlgAdapter->InitDialogFrame();
  SendSkinCmd(wnd, AC_SETNEWSKIN, reinterpret_cast<LPARAM>(DefaultManager));
  if (::IsWindowVisible(wnd)) RefreshFrame(wnd, true);
  return true;
}

// ---------------------------------------------------------------- walk

bool WalkDialogChildren(TacProvider* provider, HWND parent) {
  for (HWND child = ::GetTopWindow(parent); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (ClassOf(parent) != L"comboboxex32" && !WalkDialogChildren(provider, child)) return false;
    if ((::GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) && !HookDialogChild(provider, child))
      return false;
  }
  return true;
}

bool HookDialogChild(TacProvider* provider, HWND child) {
  if (GetScrollWnd(child) || QuerySkinCmdWnd(child, AC_CTRLHANDLED)) return true;
  DialogChildFlag = true;
  const bool ok = AdaptChild(provider, child, ClassOf(child), ::GetWindowLongPtrW(child, GWL_STYLE));
  DialogChildFlag = false;
  return ok;
}

bool HasChildOfClass(HWND wnd, const std::wstring& className) {
  for (HWND c = ::GetTopWindow(wnd); c; c = ::GetWindow(c, GW_HWNDNEXT))
    if (ClassOf(c) == className || HasChildOfClass(c, className)) return true;
  return false;
}

int VisibleDialogCount() {
  int n = 0;
  for (TacProvider* p : DialogProviders())
    if (p->DlgAdapter && ::IsWindowVisible(p->DlgAdapter->CtrlHandle)) ++n;
  return n;
}

std::vector<TacProvider*> DialogProviders() {
  std::vector<TacProvider*> out;
  if (auto* list = HookedList())
    for (auto& o : *list)
      if (auto* p = dynamic_cast<TacProvider*>(o.get())) out.push_back(p);
  return out;
}

void SendToHookedDialogs(TMessage& message) {
  // Handles, not providers: a receiver may close its dialog.
  std::vector<HWND> targets;
  for (TacProvider* p : DialogProviders()) {
    if (!p->DlgAdapter || p->DlgAdapter->Destroyed) continue;
    targets.push_back(p->Wnd);
    for (const TacMainWndPtr& a : p->Adapters)
      if (a && !a->Destroyed) targets.push_back(a->CtrlHandle);
  }
  for (HWND wnd : targets)
    if (GetScrollWnd(wnd)) ::SendMessageW(wnd, message.Msg, message.WParam, message.LParam);
  if (SkinCmdOf(message) == AC_REFRESH)
    for (HWND wnd : targets)
      if (dynamic_cast<TacDialogWnd*>(GetScrollWnd(wnd)) && ::IsWindowVisible(wnd))
        ::RedrawWindow(wnd, nullptr, nullptr,
                       RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// ---------------------------------------------------------------- deciding

bool SkinWindowOnActivate(HWND wnd) {
  auto* list = HookedList();
  // Wine also reports activations of no window at all.
  if (!wnd || !::IsWindow(wnd)) return false;
  if (!list || !DefaultManager->Active() || Known(wnd) || QuerySkinCmdWnd(wnd, AC_CTRLHANDLED))
    return false;
  const std::wstring cls = ClassOf(wnd);
  if (cls == L"tapplication" || cls == L"tqrstandardpreview") return false;
  const TacSkinningRules rules = DefaultManager->SkinningRules;
  if (TCustomForm* form = FormOfHandle(wnd)) {
    const bool messageForm = form->ClassNameIs(L"TMessageForm");
    if (!(rules & SkinningRuleBit(srStdForms)) && !messageForm) return false;
    if (HasSkinProvider(form)) return false;  // never a second provider
    auto* provider = Construct<TacProvider>(nullptr);
    list->push_back(std::unique_ptr<TObject>(provider));
    provider->CreateSkinProvider(form);
    return true;
  }
  if (!(rules & SkinningRuleBit(srStdDialogs))) return false;
  if (cls == L"#32770") MoveToTarget(wnd);
  if (VisibleDialogCount() > 0 && !HasChildOfClass(wnd, L"toolbarwindow32")) return false;
  auto* provider = Construct<TacProvider>(nullptr);
  list->push_back(std::unique_ptr<TObject>(provider));
  if (!provider->InitDialog(wnd)) {
    auto it = std::find_if(list->begin(), list->end(),
                           [provider](const std::unique_ptr<TObject>& o) { return o.get() == provider; });
    if (it != list->end()) {
      std::unique_ptr<TObject> gone = std::move(*it);
      list->erase(it);
    }
  }
  return true;
}

LRESULT CALLBACK DialogHookProc(int code, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = ::CallNextHookEx(nullptr, code, wParam, lParam);
  if (code == HCBT_ACTIVATE) {
    try {
      SkinWindowOnActivate(reinterpret_cast<HWND>(wParam));
    } catch (...) {
      // A window we could not skin still activates.
    }
  }
  return result;
}
