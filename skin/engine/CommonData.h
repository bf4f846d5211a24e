// TsCommonData: the skin state every skinned control, form provider, frame
// adapter and window adapter owns (published on its owner as SkinData).
// Through it the owner chooses its section, resolves the section and its
// images to indexes of the manager's tables once per skin change, decides
// whether it is skinned, and keeps its cache bitmap with the flags that say
// when that image is stale. CommonAlphaCmd and CommonWndProc give every
// owner the same reaction to skin commands and to a few window messages.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/Controls.h"
#include "framework/Graphics.h"
#include "framework/Messages.h"
#include "skin/engine/SkinConsts.h"

class TsSkinManager;
struct TsGeneralData;

// Control kinds the skinned classes of this system use.
inline constexpr int ckEdit = 3;
inline constexpr int ckMemo = 7;
inline constexpr int ckListView = 10;
inline constexpr int ckFrameBar = 19;
inline constexpr int ckTitleButton = 20;  // a speed button of TsFrameBar
inline constexpr int ckCheckBox = 32;
inline constexpr int ckPanel = 51;
inline constexpr int ckTabSheet = 57;
inline constexpr int ckScrollBox = 58;
inline constexpr int ckGroupBox = 74;
inline constexpr int ckSpeedButton = 92;
inline constexpr int ckButton = 93;
inline constexpr int ckBitBtn = 94;
inline constexpr int ckAlphaListBox = 97;
inline constexpr int ckPageControl = 141;
inline constexpr int ckStatusBar = 151;
inline constexpr int ckProgressBar = 161;
inline constexpr int ckTrackBar = 165;
inline constexpr int ckSkinProvider = 224;
inline constexpr int ckFrameAdapter = 226;
inline constexpr int ckAdapterItem = 227;

// The section a kind paints with when its owner names none; empty for kinds
// that take their owner's class name.
std::wstring DefaultSectionOfKind(int kind);
// False for the kinds the mouse does not make hot (panels, containers...).
bool KindHasHotState(int kind);
// Speed buttons, the frame bar's title buttons among them.
inline constexpr bool KindIsSpeedButton(int kind) {
  return kind == ckSpeedButton || kind == ckTitleButton;
}

// The section whose owners repaint on AC_REPAINTSECTION (empty here).
extern std::wstring RefreshSectionName;

// Mask indexes of a section's four corner images (-1 = none), resolved with
// the section so painting never searches for them by name.
struct TsCornerImages {
  int TopLeft = -1;
  int TopRight = -1;
  int BtmLeft = -1;
  int BtmRight = -1;
};

class TsCommonData : public TPersistent {
 public:
  // AOwner: the control, provider, frame adapter or adapter item that owns
  // this state. CreateCacheBmp: start with an empty 24-bit cache bitmap.
  TsCommonData(TObject* AOwner, bool CreateCacheBmp);
  ~TsCommonData() override;
  TsCommonData(const TsCommonData&) = delete;
  TsCommonData& operator=(const TsCommonData&) = delete;

  // ---- published ----
  const std::wstring& SkinSection() const { return skinSection_; }
  // Upper-cases the name ("UNKNOWN" for an empty one), re-reads the indexes
  // and tells a parented owner control AC_REFRESH or AC_REMOVESKIN.
  void SetSkinSection(const std::wstring& value);
  // The explicit manager, else DefaultManager (null when none exists).
  TsSkinManager* GetSkinManager() const;
  TsSkinManager* SkinManager() const { return GetSkinManager(); }
  // Null stands for DefaultManager; Value equal to DefaultManager is stored
  // as null. Re-reads the indexes and tells the owner.
  void SetSkinManager(TsSkinManager* value);
  // The manager set explicitly (what form data stores), or null.
  TsSkinManager* StoredSkinManager() const { return manager_; }
  // Drops the explicit manager without any notification (it is going away).
  void ForgetSkinManager() { manager_ = nullptr; }
  bool CustomColor() const { return customColor_; }
  void SetCustomColor(bool value);
  bool CustomFont() const { return customFont_; }
  void SetCustomFont(bool value);

  // ---- state ----
  bool Updating = false;        // painting deferred until updating ends
  int BorderIndex = -1;         // "BORDERSMASK" of the section
  int SkinIndex = -1;           // the section in the manager's table
  int Texture = -1;             // "PATTERN" texture
  int HotTexture = -1;          // "HOTPATTERN" texture
  TsCornerImages Corners;       // corner images of the section
  TControl* PaintingChild = nullptr;  // child repainting through this owner
  bool BGDependent = false;     // image always depends on the parent's
  bool BGChanged = true;        // cache stale: rebuild before next paint
  bool HalfVisible = true;      // last painted through a partial DC
  bool PaintingClient = false;  // client area being copied to the screen
  TControl* OwnerControl = nullptr;
  TObject* OwnerObject = nullptr;
  std::unique_ptr<TBitmap> CacheBmp;  // 24 bits per pixel, device-independent
  int ControlKind = 0;
  bool Focused = false;
  bool MouseAbove = false;

  // ---- life ----
  // Called by the owner after its own loading (AfterConstruction and Loaded).
  void Loaded();
  void SetDefaultSection();
  // Resolves the section, its border, textures and corner images.
  void UpdateIndexes();
  // All indexes -1 (no section).
  void ClearIndexes();

  // ---- queries ----
  bool Skinned(bool CheckSkinActive = false) const;
  bool IsSectionTransparent() const;
  // The owner shows its hot look.
  bool ControlIsActive() const;
  bool GetUpdating() const;
  void SetUpdating(bool value) { Updating = value; }
  bool ParentTextured() const;
  // The owner's image must be rebuilt whenever the parent's changes.
  bool DependsOnParentBg() const;
  // The section record, or null while not resolved against a live table.
  const TsGeneralData* Section() const;

  // ---- updating and cache ----
  void BeginUpdate();
  void EndUpdate();
  void InitCacheBmp();
  void Invalidate();
  // Owners that can rebuild their cache at any time set RebuildCache; their
  // cache's pixels are then given back while the owner is off screen
  // (ReleaseCache) and made again by the next paint, or by EnsureCache when
  // someone needs the image before that (a child asking for it).
  std::function<void()> RebuildCache;
  void ReleaseCache();
  void EnsureCache();
  bool CacheReleased() const { return cacheReleased_; }

  // A token that expires with this object, for timers that must notice
  // that the state they animate is gone.
  std::weak_ptr<TsCommonData*> Liveness() const { return alive_; }

 private:
  bool OwnerDestroying() const;
  bool OwnerIsProvider() const;
  void NotifyOwner(WORD cmd, TsSkinManager* manager, bool swallow);
  void ApplyEditColors();

  std::wstring skinSection_;
  TsSkinManager* manager_ = nullptr;
  bool customColor_ = false;
  bool cacheReleased_ = false;
  bool customFont_ = false;
  std::shared_ptr<TsCommonData*> alive_;
};

// The skin state owned by a control, or null (one place for the lookup).
TsCommonData* SkinDataOf(const TControl* control);

// The parent's cache image and this control's place in it; not ready
// without a parent or an answer.
TCacheInfo GetParentCache(const TsCommonData* skinData);
TCacheInfo GetParentCacheHwnd(HWND wnd);

// The shared reaction of every skin-state owner to skin commands. True only
// for the queries it answered (the caller then treats the message as done).
bool CommonAlphaCmd(TMessage& message, TsCommonData* skinData);
// The standard window colours back on a control whose skin went, unless the
// program chose its own colour or font.
void RestoreWindowColours(const TsCommonData& skinData, TControl* control);
// Skin commands plus focus, hover, size, move and child-creation messages.
// True = the caller must not pass the message on.
bool CommonWndProc(TMessage& message, TsCommonData* skinData);
