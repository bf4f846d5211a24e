#include "skin/engine/SkinManager.h"

#include <commctrl.h>

#include <cstdio>

#include "framework/Forms.h"
#include "framework/Handles.h"
#include "framework/SysUtils.h"
#include "skin/engine/SkinFile.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinSnapshot.h"
#include "skin/engine/SkinUtils.h"
#include "skin/engine/SkinnedForms.h"
#include "skin/engine/WindowSkinning.h"

TsSkinManager* DefaultManager = nullptr;
bool SkinLoading = false;
std::unique_ptr<TMemIniFile> SkinFile;

namespace {

bool DetectNT() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);  // the 148-byte record
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExW(&info)) return true;
#pragma GCC diagnostic pop
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

const wchar_t kDefaultSkinDirectory[] = L"c:\\Skins";

LRESULT CALLBACK AppWindowSubclass(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                   UINT_PTR, DWORD_PTR refData) {
  auto* manager = reinterpret_cast<TsSkinManager*>(refData);
  TMessage m{msg, wParam, lParam, 0};
  if (manager && manager->MainWindowHook(m)) return m.Result;
  return ::DefSubclassProc(wnd, msg, wParam, lParam);
}

TMessage SkinMessage(WORD cmd, TsSkinManager* manager) {
  return TMessage{SM_ALPHACMD, SkinCmdWParam(cmd), reinterpret_cast<LPARAM>(manager), 0};
}

bool HasMainForm() { return Application && Application->MainForm(); }

}  // namespace

bool IsNT = DetectNT();

TacMenuSupport::TacMenuSupport() : ExtraLineFont(std::make_unique<TFont>()) {}
TacMenuSupport::~TacMenuSupport() = default;

TsSkinManager::TsSkinManager(TComponent* AOwner) : TComponent(AOwner) {
  isDefault_ = DefaultManager == nullptr;
  SkinData = std::make_unique<TsSkinData>();
  internalSkins_ = std::make_unique<TsStoredSkins>(this);
  commonSections_ = std::make_unique<TStringList>();
  MenuSupport = std::make_unique<TacMenuSupport>();
  AnimEffects = std::make_unique<TacAnimEffects>();
  if (!DefaultManager) {
    DefaultManager = this;
    if (IsNT && !Designing()) HookAppWindow();
  }
  active_ = true;
  AttachMenus();
}

TsSkinManager::~TsSkinManager() {
  // Controls asking whether their manager is going away must hear yes
  // while it announces the removal of its skin.
  Destroying();
  try {
    SetActive(false);
  } catch (...) {
    // A receiver of the removal must not stop the manager from going away.
  }
  RemoveDialogHook();
  AnimEffects.reset();
  internalSkins_.reset();
  SkinableMenus.reset();
  commonSections_.reset();
  FreeJpegs();
  FreeBitmaps();
  gd.clear();
  SkinData.reset();
  MenuSupport.reset();
  // The hooks go with the manager that installed them, default or not.
  UnhookAppWindow();
  if (DefaultManager == this) DefaultManager = nullptr;
  if (ActiveControl) ActiveControl = nullptr;
}

void TsSkinManager::AfterConstruction() {
  TComponent::AfterConstruction();
  if (skinDirectory_.empty()) skinDirectory_ = kDefaultSkinDirectory;
}

void TsSkinManager::Loaded() {
  TComponent::Loaded();
  if (skinDirectory_.empty()) skinDirectory_ = kDefaultSkinDirectory;
  if (MenuSupport->IcoLineSkin.empty()) MenuSupport->IcoLineSkin = L"ICOLINE";
  if (active_ && !skinName_.empty()) SendNewSkin();
}

// ---------------------------------------------------------------- setters

namespace {

// SkinLoading is put back on every path out of a load.
struct LoadingScope {
  LoadingScope() { SkinLoading = true; }
  ~LoadingScope() { SkinLoading = false; }
};

}  // namespace

void TsSkinManager::SetSkinName(const std::wstring& value) {
  skinName_ = value;
  if (!active_) return;
  if (OnBeforeChange) OnBeforeChange(this);
  {
    LoadingScope loading;
    SkinData->Active = false;
    LoadSkin();
    // A manager without any skin to load has turned itself off: there is
    // nothing to announce.
    if (active_) SendNewSkin();
  }
  if (OnAfterChange) OnAfterChange(this);
}

void TsSkinManager::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (!value) {
    if (!HasState(csLoading)) SendRemoveSkin();
    UpdateCachedIndexes();
  } else {
    SetSkinName(skinName_);
  }
}

void TsSkinManager::SetHueOffset(int value) {
  if (value == hueOffset_) return;
  hueOffset_ = value;
  if (!SkinData->Active) return;
  {
    LoadingScope loading;
    ReloadColours();
  }
  if (!ReadingFormData()) RepaintForms();
}

void TsSkinManager::SetSaturation(int value) {
  if (value == saturation_) return;
  saturation_ = value;
  if (!SkinData->Active) return;
  {
    LoadingScope loading;
    ReloadColours();
  }
  if (!ReadingFormData()) RepaintForms();
}

void TsSkinManager::SetSkinDirectory(const std::wstring& value) {
  if (value == skinDirectory_) return;
  skinDirectory_ = value;
  SkinData->SkinPath = GetFullSkinDirectory();
}

void TsSkinManager::SetCommonSections(const TStrings& value) {
  commonSections_->Assign(const_cast<TStrings*>(&value));
  for (int i = 0; i < commonSections_->Count(); ++i) {
    std::wstring line = commonSections_->Strings(i);
    if (line.empty() || line[0] == L';') continue;
    commonSections_->SetStrings(i, DelChars(line, L' '));
  }
  SetSkinName(skinName_);
}

void TsSkinManager::SetSkinnedPopups(bool value) {
  if (value == skinnedPopups_) return;
  skinnedPopups_ = value;
  if (!Designing()) UpdateMenus();
}

bool TsSkinManager::IsDefault() const { return DefaultManager == this; }

void TsSkinManager::SetIsDefault(bool value) {
  if (!value && DefaultManager) {
    isDefault_ = DefaultManager == this;
    return;
  }
  isDefault_ = true;
  DefaultManager = this;
  if (!active_) {
    SendRemoveSkin();
  } else {
    SendNewSkin();
    RepaintForms();
  }
}

std::wstring TsSkinManager::SkinInfo() const {
  if (!SkinData || !SkinData->Active) return L"N/A";
  wchar_t buf[64];
  std::swprintf(buf, 64, L"%g", SkinData->Version);
  std::wstring s = buf;
  for (wchar_t& c : s)
    if (c == L',') c = L'.';
  return s;
}

// ---------------------------------------------------------------- lookups

int TsSkinManager::GetSkinIndex(const std::wstring& sectionName) const {
  if (sectionName.empty()) return -1;
  for (size_t i = 0; i < gd.size(); ++i)
    if (gd[i].SectionName == sectionName) return static_cast<int>(i);
  return -1;
}

namespace {

// Follows the section's parent chain until Match finds an index. A chain that
// comes back to a section already visited ends there, and so does one past
// the link limit of the skin file's own inheritance.
template <class Match>
int ChainLookup(const TsSkinManager& m, int skinIndex, std::wstring section, Match match) {
  if (skinIndex < 0 || section.empty()) return -1;
  std::vector<int> visited;
  for (;;) {
    int found = match(section);
    if (found >= 0) return found;
    if (!m.IsValidSkinIndex(skinIndex)) return -1;
    visited.push_back(skinIndex);
    if (visited.size() > static_cast<size_t>(TacSkinFile::kMaxParentDepth)) return -1;
    const std::wstring& parent = m.gd[skinIndex].ParentClass;
    if (parent.empty() || parent == section) return -1;
    int parentIndex = m.GetSkinIndex(parent);
    if (parentIndex < 0) return -1;
    for (int v : visited)
      if (v == parentIndex) return -1;
    skinIndex = parentIndex;
    section = parent;
  }
}

}  // namespace

int TsSkinManager::GetMaskIndex(int skinIndex, const std::wstring& sectionName,
                                const std::wstring& maskName) const {
  if (maskName.empty()) return -1;
  return ChainLookup(*this, skinIndex, sectionName, [&](const std::wstring& s) {
    for (size_t i = 0; i < ma.size(); ++i)
      if (ma[i].SectionName == s && ma[i].PropertyName == maskName) return static_cast<int>(i);
    return -1;
  });
}

int TsSkinManager::GetTextureIndex(int skinIndex, const std::wstring& sectionName,
                                   const std::wstring& propName) const {
  if (propName.empty() || ma.empty()) return -1;
  return ChainLookup(*this, skinIndex, sectionName, [&](const std::wstring& s) {
    for (size_t i = 0; i < ma.size(); ++i)
      if (ma[i].ImgType == itisaTexture && ma[i].SectionName == s && ma[i].PropertyName == propName)
        return static_cast<int>(i);
    return -1;
  });
}

int TsSkinManager::GetPatternIndex(int skinIndex, const std::wstring& sectionName,
                                   const std::wstring& patternName) const {
  if (patternName.empty()) return -1;
  return ChainLookup(*this, skinIndex, sectionName, [&](const std::wstring& s) {
    for (size_t i = 0; i < pa.size(); ++i)
      if (pa[i].SectionName == s && pa[i].PropertyName == patternName) return static_cast<int>(i);
    return -1;
  });
}

int TsSkinManager::FindMaskIndex(const std::wstring& sectionName,
                                 const std::wstring& maskName) const {
  if (sectionName.empty() || maskName.empty()) return -1;
  for (size_t i = 0; i < ma.size(); ++i)
    if (ma[i].SectionName == sectionName && ma[i].PropertyName == maskName)
      return static_cast<int>(i);
  return -1;
}

bool TsSkinManager::IsValidSkinIndex(int index) const {
  return SkinData && index >= 0 && index < static_cast<int>(gd.size());
}

bool TsSkinManager::IsValidImgIndex(int index) const {
  return index >= 0 && index < static_cast<int>(ma.size());
}

TSize TsSkinManager::GetMaskCellSize(int maskIndex) const {
  if (!IsValidImgIndex(maskIndex)) return TSize{0, 0};
  return TSize{MaskCellWidth(ma[maskIndex]), MaskCellHeight(ma[maskIndex])};
}

int TsSkinManager::MaskBorderLeft(int i) const { return IsValidImgIndex(i) ? MaskWidthLeft(ma[i]) : 0; }
int TsSkinManager::MaskBorderTop(int i) const { return IsValidImgIndex(i) ? MaskWidthTop(ma[i]) : 0; }
int TsSkinManager::MaskBorderRight(int i) const { return IsValidImgIndex(i) ? MaskWidthRight(ma[i]) : 0; }
int TsSkinManager::MaskBorderBottom(int i) const { return IsValidImgIndex(i) ? MaskWidthBottom(ma[i]) : 0; }

TColor TsSkinManager::GetGlobalColor() const {
  int i = GetSkinIndex(L"GLOBALINFO");
  return i >= 0 ? ColorToRGB(gd[i].Color) : ColorToRGB(clBtnFace);
}

TColor TsSkinManager::GetGlobalFontColor() const {
  int i = GetSkinIndex(L"GLOBALINFO");
  return i >= 0 ? ColorToRGB(static_cast<TColor>(gd[i].FontColor[0])) : clFuchsia;
}

TColor TsSkinManager::GetGlobalHotColor() const {
  int i = GetSkinIndex(L"GLOBALINFO");
  return i >= 0 ? ColorToRGB(gd[i].HotColor) : ColorToRGB(clWindow);
}

void TsSkinManager::UpdateCachedIndexes() {
  TsCachedIndexes& c = CachedIndexes;
  auto idx = [](int v) { return static_cast<int16_t>(v); };
  auto section = [&](const wchar_t* name) { return idx(GetSkinIndex(name)); };
  auto mask = [&](int16_t skin, const wchar_t* name, const wchar_t* prop) {
    return idx(GetMaskIndex(skin, name, prop));
  };
  auto texture = [&](int16_t skin, const wchar_t* name, const wchar_t* prop) {
    return idx(GetTextureIndex(skin, name, prop));
  };

  c.GlobalInfo = section(L"GLOBALINFO");
  struct Tab { int16_t *index, *mask; const wchar_t* name; };
  for (Tab t : {Tab{&c.TabTop, &c.TabTopMask, L"TABTOP"},
                Tab{&c.TabBottom, &c.TabBottomMask, L"TABBOTTOM"},
                Tab{&c.TabLeft, &c.TabLeftMask, L"TABLEFT"},
                Tab{&c.TabRight, &c.TabRightMask, L"TABRIGHT"}}) {
    *t.index = section(t.name);
    *t.mask = mask(*t.index, t.name, L"BORDERSMASK");
  }
  struct Btn { int16_t *index, *mask, *tex, *hot, *glyph; const wchar_t* name; };
  for (Btn b : {Btn{&c.ScrollBtnTop, &c.ScrollBtnTopMask, &c.ScrollBtnTopTexture,
                    &c.ScrollBtnTopHotTexture, &c.ScrollBtnTopGlyph, L"SCROLLBTNTOP"},
                Btn{&c.ScrollBtnBottom, &c.ScrollBtnBottomMask, &c.ScrollBtnBottomTexture,
                    &c.ScrollBtnBottomHotTexture, &c.ScrollBtnBottomGlyph, L"SCROLLBTNBOTTOM"},
                Btn{&c.ScrollBtnLeft, &c.ScrollBtnLeftMask, &c.ScrollBtnLeftTexture,
                    &c.ScrollBtnLeftHotTexture, &c.ScrollBtnLeftGlyph, L"SCROLLBTNLEFT"},
                Btn{&c.ScrollBtnRight, &c.ScrollBtnRightMask, &c.ScrollBtnRightTexture,
                    &c.ScrollBtnRightHotTexture, &c.ScrollBtnRightGlyph, L"SCROLLBTNRIGHT"}}) {
    *b.index = section(b.name);
    *b.mask = mask(*b.index, b.name, L"BORDERSMASK");
    *b.tex = texture(*b.index, b.name, L"PATTERN");
    *b.hot = texture(*b.index, b.name, L"HOTPATTERN");
    // Without the section the old index would point into a table that no
    // longer holds it.
    *b.glyph = *b.index >= 0 ? mask(*b.index, b.name, L"GLYPHMASK") : int16_t(-1);
  }
  struct Slider { int16_t *index, *mask, *glyph, *tex, *hot; const wchar_t* name; };
  for (Slider s : {Slider{&c.ScrollSliderV, &c.ScrollSliderVMask, &c.ScrollSliderVGlyph,
                          &c.ScrollSliderVTexture, &c.ScrollSliderVHotTexture, L"SCROLLSLIDERV"},
                   Slider{&c.ScrollSliderH, &c.ScrollSliderHMask, &c.ScrollSliderHGlyph,
                          &c.ScrollSliderHTexture, &c.ScrollSliderHHotTexture, L"SCROLLSLIDERH"}}) {
    *s.index = section(s.name);
    *s.mask = mask(*s.index, s.name, L"BORDERSMASK");
    *s.glyph = *s.index >= 0 ? mask(*s.index, s.name, L"GLYPHMASK") : int16_t(-1);
    *s.tex = texture(*s.index, s.name, L"PATTERN");
    *s.hot = texture(*s.index, s.name, L"HOTPATTERN");
  }
  struct Bar { int16_t *index, *mask, *tex, *hot; const wchar_t* name; };
  for (Bar b : {Bar{&c.ScrollBar1H, &c.ScrollBar1HMask, &c.ScrollBar1HTexture,
                    &c.ScrollBar1HHotTexture, L"SCROLLBAR1H"},
                Bar{&c.ScrollBar1V, &c.ScrollBar1VMask, &c.ScrollBar1VTexture,
                    &c.ScrollBar1VHotTexture, L"SCROLLBAR1V"},
                Bar{&c.ScrollBar2H, &c.ScrollBar2HMask, &c.ScrollBar2HTexture,
                    &c.ScrollBar2HHotTexture, L"SCROLLBAR2H"},
                Bar{&c.ScrollBar2V, &c.ScrollBar2VMask, &c.ScrollBar2VTexture,
                    &c.ScrollBar2VHotTexture, L"SCROLLBAR2V"}}) {
    *b.index = section(b.name);
    *b.mask = mask(*b.index, b.name, L"BORDERSMASK");
    *b.tex = texture(*b.index, b.name, L"PATTERN");
    *b.hot = texture(*b.index, b.name, L"HOTPATTERN");
  }
  struct Box { int16_t* index; const wchar_t* prop; };
  for (Box b : {Box{&c.CheckBoxChecked, L"BOXCHECKED"}, Box{&c.CheckBoxUnchecked, L"BOXUNCHECKED"},
                Box{&c.CheckBoxGrayed, L"BOXGRAYED"}, Box{&c.RadioButtonChecked, L"RADIOCHECKED"},
                Box{&c.RadioButtonUnchecked, L"RADIOUNCHECKED"},
                Box{&c.RadioButtonGrayed, L"RADIOGRAYED"},
                Box{&c.SmallBoxChecked, L"SMALLCHECKED"},
                Box{&c.SmallBoxUnchecked, L"SMALLUNCHECKED"},
                Box{&c.SmallBoxGrayed, L"SMALLGRAYED"}})
    *b.index = c.GlobalInfo >= 0 ? mask(c.GlobalInfo, L"GLOBALINFO", b.prop) : int16_t(-1);
  c.ComboBtnIndex = GetSkinIndex(L"COMBOBTN");
  c.ComboBtnBorder = FindMaskIndex(L"COMBOBTN", L"BORDERSMASK");
  c.ComboBtnBGTexture = GetTextureIndex(c.ComboBtnIndex, L"COMBOBTN", L"PATTERN");
  c.ComboBtnBGHotTexture = GetTextureIndex(c.ComboBtnIndex, L"COMBOBTN", L"HOTPATTERN");
  c.ComboGlyph = FindMaskIndex(L"COMBOBOX", L"GLYPHMASK");
}

// ---------------------------------------------------------------- announcements

void TsSkinManager::SendNewSkin() {
  if (!Designing() && HasMainForm()) LockForms();
  AttachMenus();
  if (TacWindowSkinning* skinning = MenuSkinning()) skinning->ForgetMenuSkin(*SkinableMenus);
  SkinData->Active = false;
  UpdateCachedIndexes();
  TMessage m = SkinMessage(AC_SETNEWSKIN, this);
  AppBroadcast(m);
  SendToHookedDialogs(m);
  SkinData->Active = true;
  UpdateMenus();
  if (IsDefault() && !dialogHooked_) InstallDialogHook();
  RepaintForms();
}

void TsSkinManager::AttachMenus() {
  TacWindowSkinning* skinning = WindowSkinning();
  if (SkinableMenus || !skinning) return;
  SkinableMenus = skinning->CreateMenus(this);
  // The skin came before the skinner: the menus take it now.
  if (SkinData->Active && !Designing()) UpdateMenus();
}

TacWindowSkinning* TsSkinManager::MenuSkinning() const {
  return SkinableMenus ? WindowSkinning() : nullptr;
}

void TsSkinManager::UpdateMenus() {
  if (TacWindowSkinning* skinning = MenuSkinning()) skinning->UpdateMenus(*SkinableMenus);
}

void TsSkinManager::SendRemoveSkin() {
  RemoveDialogHook();
  SkinData->Active = false;
  TMessage m = SkinMessage(AC_REMOVESKIN, this);
  AppBroadcast(m);
  UpdateMenus();
  FreeBitmaps();
  FreeJpegs();
  gd.clear();
}

void TsSkinManager::RepaintForms() {
  if (!Designing()) {
    TMessage stop = SkinMessage(AC_STOPFADING, this);
    AppBroadcast(stop);
  }
  bool lock = !HasState(csLoading) && HasMainForm();
  if (lock) LockForms();
  TMessage refresh = SkinMessage(AC_REFRESH, this);
  AppBroadcast(refresh);
  SendToHookedDialogs(refresh);
  if (lock) UnlockForms(this, true);
}

void TsSkinManager::SendToHookedDialogs(TMessage& message) {
  TacWindowSkinning* skinning = WindowSkinning();
  if (hookedDialogs_ && !hookedDialogs_->empty() && skinning) skinning->DialogsMessage(message);
}

void TsSkinManager::InstallDialogHook() {
  if (Designing() || !IsDefault() || dialogHooked_) return;
  dialogHooked_ = true;
  if (!hookedDialogs_) hookedDialogs_ = std::make_unique<std::vector<std::unique_ptr<TObject>>>();
  InstallPendingDialogHook();
}

void TsSkinManager::InstallPendingDialogHook() {
  if (!dialogHooked_ || dialogHook_) return;
  TacWindowSkinning* skinning = WindowSkinning();
  if (HOOKPROC proc = skinning ? skinning->DialogHookProcedure() : nullptr)
    dialogHook_ = ::SetWindowsHookExW(WH_CBT, proc, nullptr, ::GetCurrentThreadId());
}

void TsSkinManager::RemoveDialogHook() {
  // Whoever is the default now, the hook this manager set is its to remove.
  if (!dialogHooked_) return;
  if (dialogHook_) ::UnhookWindowsHookEx(dialogHook_);
  dialogHook_ = nullptr;
  // Out of reach first: what is freed may look for the list.
  auto hooked = std::move(hookedDialogs_);
  while (hooked && !hooked->empty()) {
    std::unique_ptr<TObject> last = std::move(hooked->back());
    hooked->pop_back();
  }
  dialogHooked_ = false;
}

void TsSkinManager::SetActiveControl(HWND wnd) {
  if (wnd == ActiveControl) return;
  HWND previous = ActiveControl;
  ActiveControl = wnd;
  LPARAM self = reinterpret_cast<LPARAM>(this);
  if (previous) SendSkinCmd(previous, AC_MOUSELEAVE, self);
  if (wnd) SendSkinCmd(wnd, AC_MOUSEENTER, self);
}

bool TsSkinManager::MainWindowHook(TMessage& message) {
  switch (message.Msg) {
    case WM_THEMECHANGED:
      // Our skin draws every window; a visual-style change is not passed on.
      message.Result = 0;
      return true;
    case WM_MENUITEMHOOK:
    case WM_MENUWNDHOOK:
      if (TacWindowSkinning* skinning = MenuSkinning())
        return skinning->MenuMessage(*SkinableMenus, message);
      return false;
    default:
      return false;
  }
}

UINT_PTR TsSkinManager::AppWindowSubclassId() const { return reinterpret_cast<UINT_PTR>(this); }

void TsSkinManager::HookAppWindow() {
  if (!Application || !Application->Handle()) return;
  HWND wnd = Application->Handle();
  // One subclass per manager (its own id), so a second manager's hook can
  // neither replace nor remove the first one's.
  if (::SetWindowSubclass(wnd, AppWindowSubclass, AppWindowSubclassId(), reinterpret_cast<DWORD_PTR>(this)))
    hookedAppWnd_ = wnd;
}

void TsSkinManager::UnhookAppWindow() {
  if (hookedAppWnd_ && ::IsWindow(hookedAppWnd_))
    ::RemoveWindowSubclass(hookedAppWnd_, AppWindowSubclass, AppWindowSubclassId());
  hookedAppWnd_ = nullptr;
}

// ---------------------------------------------------------------- folder and names

std::wstring TsSkinManager::GetFullSkinDirectory() const {
  std::wstring dir = skinDirectory_;
  std::wstring app = GetAppPath();
  std::wstring result;
  if (dir.rfind(L"..", 0) == 0) {
    std::wstring folder = app;
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
    size_t cut = folder.find_last_of(L"\\/");
    folder = cut == std::wstring::npos ? std::wstring() : folder.substr(0, cut + 1);
    result = folder + (dir.size() > 3 ? dir.substr(3) : std::wstring());
  } else if (dir.rfind(L".\\", 0) == 0 || dir.rfind(L"./", 0) == 0) {
    result = app + dir.substr(2);
  } else if (dir.find(L':') == std::wstring::npos && dir.find(L"\\\\") == std::wstring::npos) {
    result = app + dir;
  } else {
    result = dir;
  }
  if (result.empty()) return result;
  if (result.size() == 1) return result + L":\\";
  if (result.back() == L'/') result.back() = L'\\';
  else if (result.back() != L'\\') result += L'\\';
  return result;
}

void TsSkinManager::GetSkinNames(TStrings& list, std::wstring& firstName) const {
  firstName.clear();
  list.Clear();
  TStringList names;
  for (int i = 0; i < internalSkins_->Count(); ++i) {
    const std::wstring& name = internalSkins_->Items(i)->Name();
    if (firstName.empty() && i == 0) firstName = name;
    names.Add(name);
  }
  std::wstring dir = GetFullSkinDirectory();
  if (!dir.empty() && DirectoryExists(dir)) {
    WIN32_FIND_DATAW fd;
    UniqueFindHandle find(::FindFirstFileW((dir + L"*.*").c_str(), &fd));
    if (find) {
      do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || fd.cFileName[0] == L'.') continue;
        std::wstring name = fd.cFileName;
        if (!FileExists(dir + name + L"\\Options.dat")) continue;
        if (firstName.empty()) firstName = name;
        names.Add(name);
      } while (::FindNextFileW(find.get(), &fd));
    }
  }
  names.Sort();
  list.Assign(&names);
}
