// TsSkinManager: the component that owns a skin. It loads it (from a skin
// folder or from its InternalSkins), keeps its tables, answers every lookup
// of a section or image, and announces each change of skin to all windows
// of the application with SM_ALPHACMD. The first manager created, or the
// one whose IsDefault is set, is DefaultManager.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/Classes.h"
#include "framework/Component.h"
#include "framework/IniFiles.h"
#include "framework/Messages.h"
#include "skin/engine/AnimEffects.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/StoredSkins.h"
#include "skin/engine/WindowSkinning.h"

// What the dialog hook and the control adapters may skin (a set).
enum TacSkinningRule : uint8_t { srStdForms, srStdDialogs, srThirdParty };
using TacSkinningRules = uint8_t;
inline constexpr TacSkinningRules SkinningRuleBit(TacSkinningRule r) {
  return static_cast<TacSkinningRules>(1u << r);
}
inline constexpr TacSkinningRules AllSkinningRules = 0x07;

class TMenuItem;

// The manager's menu options: the popup's icon line and extra line.
class TacMenuSupport : public TPersistent {
 public:
  TacMenuSupport();
  ~TacMenuSupport() override;
  std::wstring IcoLineSkin;
  bool UseExtraLine = false;
  int ExtraLineWidth = 32;
  std::unique_ptr<TFont> ExtraLineFont;
};

// Asks the application for the look of a popup's extra line; Glyph is
// handed over to the menu skinner.
using TacGetExtraLineData =
    std::function<void(TMenuItem* FirstItem, std::wstring& SkinSection, std::wstring& Caption,
                       std::unique_ptr<TBitmap>& Glyph, bool& LineVisible)>;

class TsSkinManager : public TComponent {
 public:
  explicit TsSkinManager(TComponent* AOwner);
  ~TsSkinManager() override;
  const wchar_t* ClassName() const override { return L"TsSkinManager"; }
  void AfterConstruction() override;
  void Loaded() override;

  // ---- published properties ----
  std::unique_ptr<TacAnimEffects> AnimEffects;
  bool IsDefault() const;
  void SetIsDefault(bool value);
  bool Active() const { return active_; }
  void SetActive(bool value);
  TStringList* CommonSections() const { return commonSections_.get(); }
  void SetCommonSections(const TStrings& value);
  int Saturation() const { return saturation_; }
  void SetSaturation(int value);
  int HueOffset() const { return hueOffset_; }
  void SetHueOffset(int value);
  TsStoredSkins* InternalSkins() const { return internalSkins_.get(); }
  void SetInternalSkins(const TsStoredSkins& value) { internalSkins_->AssignFrom(value); }
  std::unique_ptr<TacMenuSupport> MenuSupport;
  const std::wstring& SkinDirectory() const { return skinDirectory_; }
  void SetSkinDirectory(const std::wstring& value);
  const std::wstring& SkinName() const { return skinName_; }
  void SetSkinName(const std::wstring& value);
  // The loaded skin's version with "." as separator; "N/A" while none.
  std::wstring SkinInfo() const;
  TacSkinningRules SkinningRules = AllSkinningRules;
  std::wstring Version() const { return L"5.15"; }
  bool SkinnedPopups() const { return skinnedPopups_; }
  void SetSkinnedPopups(bool value);
  TNotifyEvent OnAfterChange;
  TNotifyEvent OnBeforeChange;
  TacGetExtraLineData OnGetMenuExtraLineData;
  // The menu skinner (owned), made by the window-skinning library; null
  // until that library is registered.
  TacMenusPtr SkinableMenus{nullptr, nullptr};
  // Takes a menu skinner from the window-skinning library when there is
  // none yet; a skin already active is put on the menus at once.
  void AttachMenus();

  // ---- the loaded skin ----
  std::unique_ptr<TsSkinData> SkinData;
  TsGeneralDataArray gd;  // one record per section: the skin index
  TsMaskArray ma;         // one record per image: the mask index
  TsPatternArray pa;      // one record per large picture
  TsCachedIndexes CachedIndexes;
  std::unique_ptr<TBitmap> MasterBitmap;  // may be null
  HWND ActiveControl = nullptr;           // the window shown hot

  // ---- lookups (exact, case-sensitive; -1 when nothing matches) ----
  int GetSkinIndex(const std::wstring& sectionName) const;
  int GetMaskIndex(int skinIndex, const std::wstring& sectionName,
                   const std::wstring& maskName) const;
  int GetTextureIndex(int skinIndex, const std::wstring& sectionName,
                      const std::wstring& propName) const;
  int GetPatternIndex(int skinIndex, const std::wstring& sectionName,
                      const std::wstring& patternName) const;
  int FindMaskIndex(const std::wstring& sectionName, const std::wstring& maskName) const;
  bool IsValidSkinIndex(int index) const;
  bool IsValidImgIndex(int index) const;
  TSize GetMaskCellSize(int maskIndex) const;
  int MaskBorderLeft(int maskIndex) const;
  int MaskBorderTop(int maskIndex) const;
  int MaskBorderRight(int maskIndex) const;
  int MaskBorderBottom(int maskIndex) const;
  TColor GetGlobalColor() const;
  TColor GetGlobalFontColor() const;
  TColor GetGlobalHotColor() const;

  // ---- skin folder and names ----
  std::wstring GetFullSkinDirectory() const;
  // Every internal skin name and every sub-folder of the skin directory
  // holding "Options.dat", sorted; FirstName gets the first one found.
  void GetSkinNames(TStrings& list, std::wstring& firstName) const;

  // ---- loading ----
  void LoadSkin();
  void LoadAllMasks();
  void LoadAllPatterns();
  void LoadAllGeneralData();
  void UpdateCachedIndexes();
  void FreeBitmaps();
  void FreeJpegs();
  // Hue and saturation over every colour of the loaded skin.
  void ChangeHue(int value);
  void ChangeSaturation(int value);

  // ---- announcements ----
  void SendNewSkin();
  void SendRemoveSkin();
  void RepaintForms();
  void InstallDialogHook();
  // Hands a skin command to the dialogs the hook skinned.
  void SendToHookedDialogs(TMessage& message);
  void RemoveDialogHook();
  bool DialogHookInstalled() const { return dialogHooked_; }
  // What the dialog hook made (owned), while the hook is installed.
  std::vector<std::unique_ptr<TObject>>* HookedDialogs() { return hookedDialogs_.get(); }
  // Sets the hook asked for before the window-skinning library registered
  // its procedure (InstallDialogHook then only records the request).
  void InstallPendingDialogHook();
  void SetActiveControl(HWND wnd);
  // The application window's messages; True = handled.
  bool MainWindowHook(TMessage& message);

 private:
  struct Snapshot;
  struct Load;
  std::wstring LoadKey() const;
  bool OpenFolderSkin(const std::wstring& folder, Load& load);
  void LoadInternalMasks(const TsStoredSkin& skin);
  void LoadInternalPatterns(const TsStoredSkin& skin);
  void LoadInternalGeneralData(const TsStoredSkin& skin);
  void AppendImage(const struct TacImageDesc& desc, const std::wstring& folder);
  bool Designing() const { return HasState(csDesigning); }
  bool ReadingFormData() const { return HasState(csLoading | csReading); }
  void ReloadColours();
  void TakeSnapshot();
  bool RestoreSnapshot();
  void HookAppWindow();
  void UnhookAppWindow();
  UINT_PTR AppWindowSubclassId() const;
  void FreeDialogList();
  // The registered library when there is a menu skinner to reach through
  // it, else null.
  TacWindowSkinning* MenuSkinning() const;
  void UpdateMenus();

  bool active_ = true;
  bool skinnedPopups_ = true;
  bool dialogHooked_ = false;
  bool isDefault_ = false;
  int hueOffset_ = 0;
  int saturation_ = 0;
  std::wstring skinName_;
  std::wstring skinDirectory_;
  std::unique_ptr<TStringList> commonSections_;
  std::unique_ptr<TsStoredSkins> internalSkins_;
  std::unique_ptr<Snapshot> snapshot_;
  Load* load_ = nullptr;  // what LoadSkin reads, while it runs
  HHOOK dialogHook_ = nullptr;
  std::unique_ptr<std::vector<std::unique_ptr<TObject>>> hookedDialogs_;
  HWND hookedAppWnd_ = nullptr;
};

// The default manager or null.
extern TsSkinManager* DefaultManager;
// True while a skin is being loaded.
extern bool SkinLoading;
// The platform is of the NT family.
extern bool IsNT;
// The skin file, open only while LoadSkin reads a folder skin.
extern std::unique_ptr<TMemIniFile> SkinFile;
