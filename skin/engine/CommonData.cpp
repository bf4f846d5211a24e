// TsCommonData: construction, section and manager resolution, queries and
// the cache bitmap. The message reactions are in CommonDataMessages.cpp.
#include "skin/engine/WindowSkinning.h"
#include "skin/engine/CommonData.h"

#include <unordered_map>

#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"

std::wstring RefreshSectionName;

namespace {

struct KindSection {
  int from, to;
  const wchar_t* section;
};

constexpr KindSection kKindSections[] = {
    {2, 8, L"EDIT"},         {10, 10, L"EDIT"},         {41, 41, L"EDIT"},
    {76, 76, L"EDIT"},       {78, 78, L"EDIT"},         {83, 84, L"EDIT"},
    {96, 97, L"EDIT"},       {131, 131, L"EDIT"},       {140, 140, L"EDIT"},
    {227, 227, L"EDIT"},     {11, 18, L"COMBOBOX"},     {81, 82, L"COMBOBOX"},
    {19, 19, L"BAR"},        {20, 20, L"BARTITLE"},     {32, 32, L"CHECKBOX"},
    {152, 152, L"CHECKBOX"}, {33, 33, L"RADIOBUTTON"},  {51, 51, L"PANEL"},
    {59, 59, L"PANEL"},      {68, 68, L"PANEL"},        {73, 73, L"PANEL"},
    {52, 52, L"PANEL_LOW"},  {58, 58, L"PANEL_LOW"},    {53, 54, L"TOOLBAR"},
    {60, 60, L"TOOLBAR"},    {56, 56, L"DRAGBAR"},      {57, 57, L"TABSHEET"},
    {74, 74, L"GROUPBOX"},   {226, 226, L"GROUPBOX"},   {75, 75, L"SPLITTER"},
    {92, 92, L"SPEEDBUTTON"}, {95, 95, L"SPEEDBUTTON"}, {93, 94, L"BUTTON"},
    {98, 98, L"TOOLBUTTON"}, {141, 141, L"PAGECONTROL"}, {143, 143, L"PAGECONTROL"},
    {151, 151, L"STATUSBAR"}, {161, 161, L"GAUGE"},     {165, 165, L"TRACKBAR"},
};

// Owners by control: one map for the whole process (user-interface thread).
std::unordered_map<const TControl*, TsCommonData*>& Registry() {
  static std::unordered_map<const TControl*, TsCommonData*> map;
  return map;
}

bool IsDestroying(const TObject* object) {
  auto* c = dynamic_cast<const TComponent*>(object);
  return c && c->HasState(csDestroying);
}

bool IsLoading(const TObject* object) {
  auto* c = dynamic_cast<const TComponent*>(object);
  return c && c->HasState(csLoading);
}

bool EditLike(const TsCommonData& sd) {
  return dynamic_cast<TCustomEdit*>(sd.OwnerControl) != nullptr;
}

}  // namespace

std::wstring DefaultSectionOfKind(int kind) {
  for (const KindSection& k : kKindSections)
    if (kind >= k.from && kind <= k.to) return k.section;
  return std::wstring();
}

bool KindHasHotState(int kind) {
  if (kind > 255) return true;
  return !((kind >= 51 && kind <= 74) || kind == 110 || (kind >= 141 && kind <= 161));
}

TsCommonData* SkinDataOf(const TControl* control) {
  if (!control) return nullptr;
  auto& map = Registry();
  auto it = map.find(control);
  return it == map.end() ? nullptr : it->second;
}

// ---------------------------------------------------------------- life

TsCommonData::TsCommonData(TObject* AOwner, bool CreateCacheBmp)
    : OwnerControl(dynamic_cast<TControl*>(AOwner)),
      OwnerObject(AOwner),
      alive_(std::make_shared<TsCommonData*>(this)) {
  if (CreateCacheBmp) CacheBmp = CreateBmp24(0, 0);
  if (OwnerControl) Registry()[OwnerControl] = this;
}

TsCommonData::~TsCommonData() {
  if (OwnerControl) {
    auto& map = Registry();
    auto it = map.find(OwnerControl);
    if (it != map.end() && it->second == this) map.erase(it);
  }
  ClearIndexes();
  OwnerControl = nullptr;
  OwnerObject = nullptr;
  manager_ = nullptr;
}

bool TsCommonData::OwnerDestroying() const { return IsDestroying(OwnerObject); }

bool TsCommonData::OwnerIsProvider() const { return ControlKind == ckSkinProvider; }

void TsCommonData::ApplyEditColors() {
  const TsGeneralData* s = Section();
  if (!s || !OwnerControl) return;
  if (!customColor_ && OwnerControl->Color() != s->Color) OwnerControl->SetColor(s->Color);
  const TColor font = static_cast<TColor>(s->FontColor[0]);
  if (!customFont_ && OwnerControl->Font()->Color() != font) OwnerControl->Font()->SetColor(font);
}

void TsCommonData::Loaded() {
  SetDefaultSection();
  if (OwnerControl && !Skinned() && VisualStylesActive())
    OwnerControl->SetControlStyle(OwnerControl->ControlStyle() & ~csParentBackground);
  if (Skinned() && OwnerControl && OwnerControl->Parent() && !IsLoading(OwnerControl)) {
    if (dynamic_cast<TWinControl*>(OwnerControl)) AddToAdapter(OwnerControl);
    if (EditLike(*this) || ControlKind == ckAlphaListBox) ApplyEditColors();
  }
}

// ---------------------------------------------------------------- manager and section

TsSkinManager* TsCommonData::GetSkinManager() const {
  return manager_ ? manager_ : DefaultManager;
}

void TsCommonData::NotifyOwner(WORD cmd, TsSkinManager* manager, bool swallow) {
  TMessage m{SM_ALPHACMD, SkinCmdWParam(cmd), reinterpret_cast<LPARAM>(manager), 0};
  if (OwnerIsProvider()) {
    if (TacWindowSkinning* skinning = WindowSkinning())
      skinning->ProviderMessage(dynamic_cast<TComponent*>(OwnerObject), m);
    return;
  }
  if (!OwnerControl || !OwnerControl->Parent() || OwnerDestroying()) return;
  if (!swallow) {
    OwnerControl->Perform(m.Msg, m.WParam, m.LParam);
    return;
  }
  try {
    OwnerControl->Perform(m.Msg, m.WParam, m.LParam);
  } catch (...) {
    // A failing owner must not stop the manager from being set.
  }
}

void TsCommonData::SetSkinManager(TsSkinManager* value) {
  if (value == manager_) return;
  manager_ = value == DefaultManager ? nullptr : value;
  if (OwnerControl && IsLoading(OwnerControl)) return;
  if (value && !value->gd.empty())
    UpdateIndexes();
  else
    ClearIndexes();
  const bool refresh = value && !value->gd.empty() && value->IsValidSkinIndex(SkinIndex);
  NotifyOwner(refresh ? AC_REFRESH : AC_REMOVESKIN, value, true);
}

void TsCommonData::SetSkinSection(const std::wstring& value) {
  if (value == skinSection_) return;
  skinSection_ = value.empty() ? std::wstring(L"UNKNOWN") : UpperCase(value);
  TsSkinManager* m = GetSkinManager();
  if (m && !m->gd.empty())
    UpdateIndexes();
  else
    ClearIndexes();
  if (!OwnerControl || !OwnerControl->Parent() || OwnerDestroying()) return;
  const bool refresh = m && !m->gd.empty() && m->IsValidSkinIndex(SkinIndex);
  OwnerControl->Perform(SM_ALPHACMD, SkinCmdWParam(refresh ? AC_REFRESH : AC_REMOVESKIN),
                        reinterpret_cast<LPARAM>(m));
}

void TsCommonData::SetDefaultSection() {
  if (!skinSection_.empty()) {
    UpdateIndexes();
    return;
  }
  std::wstring section = DefaultSectionOfKind(ControlKind);
  if (section.empty())
    if (auto* c = dynamic_cast<TComponent*>(OwnerObject)) section = c->ClassName();
  SetSkinSection(section);
}

void TsCommonData::ClearIndexes() {
  SkinIndex = BorderIndex = Texture = HotTexture = -1;
  Corners = TsCornerImages{};
}

void TsCommonData::UpdateIndexes() {
  BGChanged = true;
  TsSkinManager* m = GetSkinManager();
  SkinIndex = m ? m->GetSkinIndex(skinSection_) : -1;
  if (SkinIndex < 0) {
    ClearIndexes();
    return;
  }
  BorderIndex = m->GetMaskIndex(SkinIndex, skinSection_, L"BORDERSMASK");
  Texture = m->GetTextureIndex(SkinIndex, skinSection_, L"PATTERN");
  HotTexture = m->GetTextureIndex(SkinIndex, skinSection_, L"HOTPATTERN");
  Corners.TopLeft = m->GetMaskIndex(SkinIndex, skinSection_, L"IMGTOPLEFT");
  Corners.TopRight = m->GetMaskIndex(SkinIndex, skinSection_, L"IMGTOPRIGHT");
  Corners.BtmLeft = m->GetMaskIndex(SkinIndex, skinSection_, L"IMGBTMLEFT");
  Corners.BtmRight = m->GetMaskIndex(SkinIndex, skinSection_, L"IMGBTMRIGHT");
}

void TsCommonData::SetCustomColor(bool value) {
  if (value == customColor_) return;
  customColor_ = value;
  if (Skinned() && EditLike(*this) && !IsLoading(OwnerControl)) {
    ApplyEditColors();
    Invalidate();
  }
}

void TsCommonData::SetCustomFont(bool value) {
  if (value == customFont_) return;
  customFont_ = value;
  Invalidate();
}

// ---------------------------------------------------------------- queries

const TsGeneralData* TsCommonData::Section() const {
  TsSkinManager* m = GetSkinManager();
  if (!m || !m->IsValidSkinIndex(SkinIndex)) return nullptr;
  return &m->gd[SkinIndex];
}

bool TsCommonData::Skinned(bool CheckSkinActive) const {
  if (OwnerDestroying()) return false;
  TsSkinManager* m = GetSkinManager();
  if (!m || m->HasState(csDestroying)) return false;
  if (CheckSkinActive && !(m->SkinData && m->SkinData->Active)) return false;
  return m->IsValidSkinIndex(SkinIndex);
}

bool TsCommonData::IsSectionTransparent() const {
  const TsGeneralData* s = Section();
  return s && s->Transparency > 0;
}

bool TsCommonData::ControlIsActive() const {
  if (!OwnerControl || OwnerControl->HasState(csDestroying) || !OwnerControl->Enabled() ||
      OwnerControl->HasState(csDesigning))
    return false;
  if (Focused) return true;
  if (auto* w = dynamic_cast<TWinControl*>(OwnerControl); w && w->HandleAllocated() && w->Focused())
    return true;
  return MouseAbove && KindHasHotState(ControlKind);
}

bool TsCommonData::GetUpdating() const {
  TsSkinManager* m = GetSkinManager();
  if (!m || !m->SkinData || !m->SkinData->Active) return true;
  if (!OwnerControl || OwnerControl->HasState(csDestroying)) return Updating;
  if (Updating || !OwnerControl->Parent()) return true;
  return QuerySkinCmd(OwnerControl->Parent(), AC_ISUPDATING);
}

bool TsCommonData::ParentTextured() const {
  if (!OwnerControl) return false;
  TWinControl* parent = OwnerControl->Parent();
  if (!parent || !parent->HandleAllocated()) return false;
  return QuerySkinCmd(parent, AC_ISTEXTURED);
}

bool TsCommonData::DependsOnParentBg() const {
  if (BGDependent || !Skinned()) return true;
  if (!OwnerControl || ControlKind == ckTabSheet) return true;
  if ((OwnerControl->ControlState() & csCreating) || !OwnerControl->Visible()) return true;
  bool d = !OwnerControl->Enabled();
  if (!d) {
    const TsGeneralData* s = Section();
    d = s && s->Transparency > 0;
  }
  if (!d) return false;
  TWinControl* parent = OwnerControl->Parent();
  if (parent && parent->HandleAllocated()) return QuerySkinCmd(parent, AC_ISTEXTURED);
  return true;
}

TCacheInfo GetParentCache(const TsCommonData* skinData) {
  if (!skinData || !skinData->OwnerControl || !skinData->OwnerControl->Parent())
    return TCacheInfo{};
  // The request keeps the shared slot safe from nested requests made while
  // the parent answers.
  return RequestCacheInfo(skinData->OwnerControl->Parent());
}

TCacheInfo GetParentCacheHwnd(HWND wnd) {
  HWND parent = wnd ? ::GetParent(wnd) : nullptr;
  if (!parent) return TCacheInfo{};
  return RequestCacheInfo(parent);
}

// ---------------------------------------------------------------- updating and cache

void TsCommonData::BeginUpdate() {
  Updating = true;
  if (OwnerIsProvider()) {
    if (auto* form = dynamic_cast<TWinControl*>(dynamic_cast<TComponent*>(OwnerObject)->Owner());
        form && form->HandleAllocated())
      SendSkinCmd(form->WindowHandle(), AC_BEGINUPDATE, 0);
  } else if (OwnerControl) {
    OwnerControl->Perform(SM_ALPHACMD, SkinCmdWParam(AC_BEGINUPDATE), 0);
  }
}

void TsCommonData::EndUpdate() {
  Updating = false;
  if (OwnerIsProvider()) {
    if (auto* form = dynamic_cast<TWinControl*>(dynamic_cast<TComponent*>(OwnerObject)->Owner());
        form && form->HandleAllocated())
      SendSkinCmd(form->WindowHandle(), AC_ENDUPDATE, 0);
  } else if (OwnerControl) {
    OwnerControl->Perform(SM_ALPHACMD, SkinCmdWParam(AC_ENDUPDATE), 0);
  }
}

void TsCommonData::InitCacheBmp() {
  cacheReleased_ = false;
  if (!CacheBmp) CacheBmp = CreateBmp24(0, 0);
  if (CacheBmp->PixelFormat() != pf24bit) CacheBmp->SetPixelFormat(pf24bit);
  if (!OwnerControl) return;
  const int w = OwnerControl->Width(), h = OwnerControl->Height();
  if (CacheBmp->Width() != w || CacheBmp->Height() != h) CacheBmp->SetSize(w, h);
}

void TsCommonData::Invalidate() {
  if (!OwnerControl || OwnerControl->HasState(csDestroying | csLoading)) return;
  BGChanged = true;
  if (ControlIsReady(OwnerControl)) OwnerControl->Invalidate();
}
