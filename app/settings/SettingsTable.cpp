#include "app/settings/SettingsTable.h"

#include <stdexcept>

#include "app/settings/SettingsPages.h"

namespace {

const HKEY HKLM = HKEY_LOCAL_MACHINE;
const HKEY HKCU = HKEY_CURRENT_USER;
const HKEY HKCR = HKEY_CLASSES_ROOT;
const HKEY HKU = HKEY_USERS;

const wchar_t* const kPolExplorer = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
const wchar_t* const kPolSystem = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const wchar_t* const kPolSystemLM = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const wchar_t* const kAdvanced = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const wchar_t* const kMemory =
    L"SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";
const wchar_t* const kWinlogon = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
const wchar_t* const kExplorerLM = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer";
const wchar_t* const kFileSystem = L"SYSTEM\\CurrentControlSet\\Control\\FileSystem";
const wchar_t* const kLanman = L"SYSTEM\\CurrentControlSet\\Services\\LanmanServer\\Parameters";
const wchar_t* const kAeDebug = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug";
const wchar_t* const kWow = L"SYSTEM\\CurrentControlSet\\Control\\WOW";
const wchar_t* const kErrorReporting = L"SOFTWARE\\Microsoft\\PCHealth\\ErrorReporting";
const wchar_t* const kBootOptimize = L"SOFTWARE\\Microsoft\\Dfrg\\BootOptimizeFunction";
const wchar_t* const kLsa = L"SYSTEM\\CurrentControlSet\\Control\\Lsa";
const wchar_t* const kLnkFile = L"SOFTWARE\\Classes\\lnkfile";
const wchar_t* const kDesktop = L"Control Panel\\Desktop";
const wchar_t* const kWindowMetrics = L"Control Panel\\Desktop\\WindowMetrics";
const wchar_t* const kMouse = L"Control Panel\\Mouse";
const wchar_t* const kKeyboard = L".DEFAULT\\Control Panel\\Keyboard";
const wchar_t* const kCopyTo = L"*\\shellex\\ContextMenuHandlers\\Copy To";
const wchar_t* const kMoveTo = L"*\\shellex\\ContextMenuHandlers\\Move To";
const wchar_t* const kRecycleBin = L"CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}";
const wchar_t* const kMyComputerNS =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MyComputer\\NameSpace";
const wchar_t* const kRecycleBinClsid = L"{645FF040-5081-101B-9F08-00AA002F954E}";
const wchar_t* const kCopyMoveHandler = L"{C2FBB630-2971-11D1-A18C-00C04FD75D13}";

// SfcDisable's "off" value, FFFFFF9Dh.
constexpr int kSfcOff = -99;

constexpr TSettingKind kInt = TSettingKind::Integer;
constexpr TSettingKind kStr = TSettingKind::String;

using S = TSettingsPages;

// Start-up reads.
TLoadRow Int1(HKEY root, const wchar_t* key, const wchar_t* name, TSettingsBox box,
              TReadFailure failure = TReadFailure::Disable) {
  return {root, key, name, nullptr, TReadRule::IntIs1, nullptr, box, nullptr, failure};
}
TLoadRow TextIs(HKEY root, const wchar_t* key, const wchar_t* name, const wchar_t* text,
                TSettingsBox box) {
  return {root, key, name, nullptr, TReadRule::TextIs, text, box, nullptr, TReadFailure::Disable};
}
TLoadRow ToEdit(HKEY root, const wchar_t* key, const wchar_t* name, TReadRule rule,
                TSettingsEdit edit) {
  return {root, key, name, nullptr, rule, nullptr, nullptr, edit, TReadFailure::Disable};
}

// Ok rows.
TWriteRow BoxInt(HKEY root, const wchar_t* key, const wchar_t* name, TSettingsBox box, int on = 1,
                 int off = 0) {
  return {root, key, name, nullptr, kInt, TWriteSource::Box, box, nullptr, on, off,
          nullptr, nullptr, nullptr};
}
TWriteRow BoxText(HKEY root, const wchar_t* key, const wchar_t* name, TSettingsBox box,
                  const wchar_t* on, const wchar_t* off, const wchar_t* message = nullptr) {
  return {root, key, name, nullptr, kStr, TWriteSource::Box, box, nullptr, 0, 0, on, off, message};
}
TWriteRow EditText(HKEY root, const wchar_t* key, const wchar_t* name, TSettingsEdit edit) {
  return {root, key, name, nullptr, kStr, TWriteSource::EditText, nullptr, edit, 0, 0,
          nullptr, nullptr, nullptr};
}

}  // namespace

const wchar_t* const kSettingsErrorCaption = L"Ошибка";

std::wstring AccessErrorText(const std::wstring& name) {
  return L"Не удается получить доступ к \"" + name + L"\"";
}

std::wstring KeyNotFoundText(const std::wstring& name) {
  return L"Следующий ключ не найден \"" + name + L"\"";
}

const std::vector<TCreateKeyRow>& CreateKeyRows() {
  // Every default is what Windows does when the value is absent, so that
  // making a value exist changes nothing: the administrative shares exist
  // (1), balloon tips and tray hiding are on (1), start-menu submenus open
  // on hover (1).
  static const std::vector<TCreateKeyRow> rows = {
      {HKLM, kExplorerLM, true, kInt, L"AlwaysUnloadDLL", nullptr, 0, nullptr},
      {HKCU, kPolExplorer, true, kInt, L"NoInstrumentation", nullptr, 0, nullptr},
      {HKLM, kFileSystem, true, kInt, L"NtfsDisableLastAccessUpdate", nullptr, 0, nullptr},
      {HKCU, kPolExplorer, true, kInt, L"NoDesktop", nullptr, 0, nullptr},
      {HKCU, kPolExplorer, true, kInt, L"NoActiveDesktop", nullptr, 0, nullptr},
      {HKCU, kPolSystem, true, kInt, L"NoDispBackgroundPage", nullptr, 0, nullptr},
      {HKCU, kPolSystem, true, kInt, L"NoDispScrSavPage", nullptr, 0, nullptr},
      {HKCU, kPolSystem, true, kInt, L"NoDispSettingsPage", nullptr, 0, nullptr},
      {HKCU, kPolSystem, true, kInt, L"NoDispAppearancePage", nullptr, 0, nullptr},
      {HKCU, kPolExplorer, false, kInt, L"NoLowDiskSpaceChecks", nullptr, 0, nullptr},
      {HKCU, kPolExplorer, false, kInt, L"link", nullptr, 0, nullptr},
      {HKCU, kPolExplorer, false, kInt, L"NoSaveSettings", nullptr, 0, nullptr},
      {HKCU, kPolExplorer, false, kInt, L"NoFind", nullptr, 0, nullptr},
      {HKCU, kPolExplorer, false, kInt, L"NoRun", nullptr, 0, nullptr},
      {HKLM, kLanman, false, kInt, L"AutoShareWks", L"AutoShareServer", 1, nullptr},
      {HKCU, kAdvanced, false, kInt, L"EnableBalloonTips", nullptr, 1, nullptr},
      {HKCU, kPolExplorer, false, kInt, L"NoTrayItemsDisplay", nullptr, 0, nullptr},
      {HKCU, kPolExplorer, false, kInt, L"EnableAutoTray", nullptr, 1, nullptr},
      {HKCU, kPolExplorer, false, kInt, L"NoUserNameInStartMenu", nullptr, 0, nullptr},
      {HKCU, kPolExplorer, false, kInt, L"StartMenuLogoff", nullptr, 0, nullptr},
      {HKCU, kPolExplorer, false, kInt, L"NoStartMenuMFUprogramsList", nullptr, 0, nullptr},
      {HKCU, kPolExplorer, false, kInt, L"NoRecentDocsHistory", nullptr, 0, nullptr},
      {HKCU, kPolExplorer, false, kInt, L"ClearRecentDocsOnExit", nullptr, 0, nullptr},
      {HKCU, kAdvanced, false, kInt, L"Start_AutoCascade", nullptr, 1, nullptr},
      {HKCU, kPolExplorer, false, kInt, L"NoCommonGroups", nullptr, 0, nullptr},
      {HKCU, kPolExplorer, false, kStr, L"MenuShowDelay", nullptr, 0, L"0"},
      {HKLM, kPolSystemLM, false, kInt, L"DisableStatusMessages", nullptr, 0, nullptr},
  };
  return rows;
}

const std::vector<TLoadRow>& LoadRows() {
  constexpr TReadFailure kMessage = TReadFailure::Message;
  static const std::vector<TLoadRow> rows = {
      Int1(HKLM, kMemory, L"ClearPageFileAtShutdown", &S::ClFilePod),
      {HKLM, kAeDebug, L"Auto", nullptr, TReadRule::TextIsNot, L"1", &S::DWATSON, nullptr,
       TReadFailure::Disable},
      Int1(HKLM, kFileSystem, L"NtfsDisableLastAccessUpdate", &S::NOWRITELASTNTFS),
      {HKLM, kWinlogon, L"SfcDisable", nullptr, TReadRule::IntIsSfcOff, nullptr, &S::DSFILEP,
       nullptr, TReadFailure::Disable},
      Int1(HKLM, kExplorerLM, L"AlwaysUnloadDLL", &S::AUTUNLDLL),
      Int1(HKCU, kPolExplorer, L"NoInstrumentation", &S::OffSEEOSUSER),
      TextIs(HKLM, kWow, L"DefaultSeparateVDM", L"yes", &S::RUN16bitOTD),
      {HKLM, kErrorReporting, L"DoReport", L"ShowUI", TReadRule::NotBothAre1, nullptr,
       &S::DONTSENDINMIC, nullptr, TReadFailure::Disable},
      TextIs(HKLM, kBootOptimize, L"Enable", L"Y", &S::OPSFILELOADING),
      Int1(HKCU, L"Console", L"QuickEdit", &S::QUICKEDITCOMANDROW),
      ToEdit(HKLM, kMemory, L"SecondLevelDataCache", TReadRule::IntToEdit, &S::SETTCACHE2LEVEL),
      Int1(HKLM, kMemory, L"LargeSystemCache", &S::OPTSYSTCACHE),
      {HKLM, kMemory, L"IOPageLockLimit", nullptr, TReadRule::IntToEditAndBox, nullptr,
       &S::SETCACHEDISC, &S::CACHEDISC, TReadFailure::Disable},
      Int1(HKCU, kPolExplorer, L"NoLowDiskSpaceChecks", &S::DSMSFDisk),
      TextIs(HKCU, kWindowMetrics, L"MinAnimate", L"1", &S::AnimPrSvorWindow),
      Int1(HKCU, kAdvanced, L"SeparateProcess", &S::RunWindowOt),
      Int1(HKLM, kWinlogon, L"AutoRestartShell", &S::AutResProv),
      TextIs(HKLM, kLnkFile, L"IsShortcut", L"1", &S::DelStrIar),
      TextIs(HKCU, kDesktop, L"DragFullWindows", L"1", &S::SeeSodMove),
      Int1(HKCU, kAdvanced, L"DisableThumbnailCache", &S::DisCachIM),
      Int1(HKCU, kPolExplorer, L"NoFind", &S::NoFind),
      Int1(HKCU, kPolExplorer, L"NoRun", &S::NoRun),
      TextIs(HKCR, kCopyTo, L"'", kCopyMoveHandler, &S::AddCopyTo),
      TextIs(HKCR, kMoveTo, L"'", kCopyMoveHandler, &S::AddMoveTo),
      Int1(HKLM, kMemory, L"DisablePagingExecutive", &S::NoUsingFilePod),
      TextIs(HKCU, kMouse, L"SnapToDefaultButton", L"1", &S::MoveMouseToDef),
      {HKLM, kLanman, L"AutoShareWks", L"AutoShareServer", TReadRule::BothAre1, nullptr,
       &S::FullDisNetRes, nullptr, TReadFailure::Disable},
      Int1(HKLM, kLsa, L"RestrictAnonymous", &S::CloseAnUserSeeRes),
      Int1(HKCU, kAdvanced, L"EnableBalloonTips", &S::ShowHint),
      Int1(HKCU, kPolExplorer, L"NoTrayItemsDisplay", &S::NoTray),
      Int1(HKCU, kPolExplorer, L"EnableAutoTray", &S::EnAutoTray),
      ToEdit(HKCR, kRecycleBin, L"LocalizedString", TReadRule::TextToEdit, &S::sEdit3),
      {HKLM, kMyComputerNS, kRecycleBinClsid, nullptr, TReadRule::SubKeyExists, nullptr,
       &S::ADDSHortInMyC, nullptr, TReadFailure::Disable},
      Int1(HKCU, kPolExplorer, L"NoDesktop", &S::DISRS),
      Int1(HKCU, kDesktop, L"PaintDesktopVersion", &S::VerWinOnDEsktop),
      Int1(HKCU, kPolExplorer, L"NoActiveDesktop", &S::DISActDeskt),
      Int1(HKCU, kPolSystem, L"NoDispBackgroundPage", &S::HIDERS),
      Int1(HKCU, kPolSystem, L"NoDispScrSavPage", &S::HIDEZ),
      Int1(HKCU, kPolSystem, L"NoDispSettingsPage", &S::HIDEP),
      Int1(HKCU, kPolSystem, L"NoDispAppearancePage", &S::HIDETAO),
      Int1(HKCU, kPolExplorer, L"NoUserNameInStartMenu", &S::DisNameUserInP),
      Int1(HKCU, kPolExplorer, L"StartMenuLogoff", &S::DelPunktExSys, kMessage),
      Int1(HKCU, kPolExplorer, L"NoStartMenuMFUprogramsList", &S::DelChasP, kMessage),
      Int1(HKCU, kPolExplorer, L"NoRecentDocsHistory", &S::NoHistory, kMessage),
      Int1(HKCU, kPolExplorer, L"ClearRecentDocsOnExit", &S::CleLisIsp, kMessage),
      Int1(HKCU, kAdvanced, L"Start_AutoCascade", &S::OpMenuPriZadInavMouse, kMessage),
      Int1(HKCU, kAdvanced, L"Start_NotifyNewApps", &S::BoldNedUstProg),
      Int1(HKCU, kPolExplorer, L"NoCommonGroups", &S::NoAllUsersShort),
      ToEdit(HKCU, kPolExplorer, L"MenuShowDelay", TReadRule::TextToEdit, &S::sEdit4),
      ToEdit(HKCU, kDesktop, L"HungAppTimeout", TReadRule::TextToEdit, &S::sEdit5),
      ToEdit(HKCU, kDesktop, L"WaitToKillAppTimeout", TReadRule::TextToEdit, &S::sEdit6),
      Int1(HKLM, kPolSystemLM, L"dontdisplaylastusername", &S::DontSeeLastUser),
      Int1(HKLM, kWinlogon, L"AllowMultipleTSSessions", &S::UsQuickUser),
      Int1(HKLM, kPolSystemLM, L"DisableStatusMessages", &S::DontSeeMessaUnloadS),
      TextIs(HKU, kKeyboard, L"InitialKeyboardIndicators", L"2", &S::OnNumOnLoadS),
  };
  return rows;
}

const std::vector<TSettingsPageDef>& SettingsPageDefs() {
  static const std::vector<TSettingsPageDef> pages = {
      {3,
       {
           BoxText(HKLM, kAeDebug, L"Auto", &S::DWATSON, L"0", L"1"),
           BoxInt(HKLM, kFileSystem, L"NtfsDisableLastAccessUpdate", &S::NOWRITELASTNTFS),
           BoxInt(HKLM, kWinlogon, L"SfcDisable", &S::DSFILEP, kSfcOff, 0),
           BoxInt(HKLM, kExplorerLM, L"AlwaysUnloadDLL", &S::AUTUNLDLL),
           BoxInt(HKCU, kPolExplorer, L"NoInstrumentation", &S::OffSEEOSUSER),
           BoxText(HKLM, kWow, L"DefaultSeparateVDM", &S::RUN16bitOTD, L"yes", L"no"),
           {HKLM, kErrorReporting, L"DoReport", L"ShowUI", kInt, TWriteSource::Box,
            &S::DONTSENDINMIC, nullptr, 0, 1, nullptr, nullptr,
            L"Не удается получить доступ к \"DoReport\" и \"ShowUI\""},
           BoxText(HKLM, kBootOptimize, L"Enable", &S::OPSFILELOADING, L"Y", L"N"),
           BoxInt(HKCU, L"Console", L"QuickEdit", &S::QUICKEDITCOMANDROW),
           {HKLM, kMemory, L"SecondLevelDataCache", nullptr, kInt, TWriteSource::EditNumber,
            nullptr, &S::SETTCACHE2LEVEL, 0, 0, nullptr, nullptr, nullptr},
           BoxInt(HKLM, kMemory, L"LargeSystemCache", &S::OPTSYSTCACHE),
           BoxInt(HKLM, kMemory, L"ClearPageFileAtShutdown", &S::ClFilePod),
           {HKLM, kMemory, L"IOPageLockLimit", nullptr, kInt, TWriteSource::BoxEditNumber,
            &S::SETCACHEDISC, &S::CACHEDISC, 0, 0, nullptr, nullptr, nullptr},
       },
       {&S::DWATSON, &S::NOWRITELASTNTFS, &S::DSFILEP, &S::AUTUNLDLL, &S::OffSEEOSUSER,
        &S::RUN16bitOTD, &S::DONTSENDINMIC, &S::OPSFILELOADING, &S::QUICKEDITCOMANDROW,
        &S::OPTSYSTCACHE, &S::ClFilePod},
       {},
       &S::SystemSoK,
       &S::sSpeedButton2},
      {4,
       {
           BoxInt(HKCU, kPolExplorer, L"NoDesktop", &S::DISRS),
           BoxInt(HKCU, kPolExplorer, L"NoActiveDesktop", &S::DISActDeskt),
           BoxInt(HKCU, kPolSystem, L"NoDispBackgroundPage", &S::HIDERS),
           BoxInt(HKCU, kPolSystem, L"NoDispScrSavPage", &S::HIDEZ),
           BoxInt(HKCU, kPolSystem, L"NoDispSettingsPage", &S::HIDEP),
           BoxInt(HKCU, kPolSystem, L"NoDispAppearancePage", &S::HIDETAO),
           BoxInt(HKCU, kDesktop, L"PaintDesktopVersion", &S::VerWinOnDEsktop),
       },
       {&S::DISRS, &S::VerWinOnDEsktop, &S::DISActDeskt, &S::HIDERS, &S::HIDEZ, &S::HIDEP,
        &S::HIDETAO},
       {},
       &S::RSOk,
       &S::RSNo},
      // Page 5 writes through its own steps (NKOkClick); no pattern rows.
      {5, {}, {&S::ADDSHortInMyC}, {&S::sEdit3}, &S::NKOk, &S::NKNo},
      {6,
       {
           BoxInt(HKCU, kPolExplorer, L"NoLowDiskSpaceChecks", &S::DSMSFDisk),
           BoxText(HKCU, kWindowMetrics, L"MinAnimate", &S::AnimPrSvorWindow, L"1", L"0"),
           BoxInt(HKCU, kAdvanced, L"SeparateProcess", &S::RunWindowOt),
           // Written where it is read, so the box and the value agree.
           BoxInt(HKLM, kWinlogon, L"AutoRestartShell", &S::AutResProv),
           BoxText(HKLM, kLnkFile, L"IsShortcut", &S::DelStrIar, L"1", L"0"),
           BoxText(HKCU, kDesktop, L"DragFullWindows", &S::SeeSodMove, L"1", L"0"),
           BoxInt(HKCU, kAdvanced, L"DisableThumbnailCache", &S::DisCachIM),
           BoxInt(HKCU, kPolExplorer, L"NoFind", &S::NoFind),
           BoxInt(HKCU, kPolExplorer, L"NoRun", &S::NoRun),
           BoxText(HKCR, kCopyTo, L"'", &S::AddCopyTo, kCopyMoveHandler, L"",
                   L"Не удается получить доступ к \"'-1"),
           BoxText(HKCR, kMoveTo, L"'", &S::AddMoveTo, kCopyMoveHandler, L"",
                   L"Не удается получить доступ к \"'-2"),
           BoxInt(HKLM, kMemory, L"DisablePagingExecutive", &S::NoUsingFilePod),
           BoxText(HKCU, kMouse, L"SnapToDefaultButton", &S::MoveMouseToDef, L"1", L"0"),
       },
       {&S::DSMSFDisk, &S::AnimPrSvorWindow, &S::RunWindowOt, &S::AutResProv, &S::DelStrIar,
        &S::SeeSodMove, &S::DisCachIM, &S::NoFind, &S::NoRun, &S::AddCopyTo, &S::AddMoveTo,
        &S::NoUsingFilePod, &S::MoveMouseToDef},
       {},
       &S::NasProvOk,
       &S::NasProvNo},
      {7,
       {
           {HKLM, kLanman, L"AutoShareWks", L"AutoShareServer", kInt, TWriteSource::Box,
            &S::FullDisNetRes, nullptr, 1, 0, nullptr, nullptr, nullptr},
           BoxInt(HKLM, kLsa, L"RestrictAnonymous", &S::CloseAnUserSeeRes),
       },
       {&S::FullDisNetRes, &S::CloseAnUserSeeRes},
       {},
       &S::SBOk,
       &S::SbNo},
      {8,
       {
           BoxInt(HKCU, kAdvanced, L"EnableBalloonTips", &S::ShowHint),
           BoxInt(HKCU, kPolExplorer, L"NoTrayItemsDisplay", &S::NoTray),
           BoxInt(HKCU, kPolExplorer, L"EnableAutoTray", &S::EnAutoTray),
       },
       {&S::ShowHint, &S::NoTray, &S::EnAutoTray},
       {},
       &S::PZOk,
       &S::PZNo},
      {9,
       {
           BoxInt(HKCU, kPolExplorer, L"NoUserNameInStartMenu", &S::DisNameUserInP),
           BoxInt(HKCU, kPolExplorer, L"StartMenuLogoff", &S::DelPunktExSys),
           BoxInt(HKCU, kPolExplorer, L"NoStartMenuMFUprogramsList", &S::DelChasP),
           BoxInt(HKCU, kPolExplorer, L"NoRecentDocsHistory", &S::NoHistory),
           BoxInt(HKCU, kPolExplorer, L"ClearRecentDocsOnExit", &S::CleLisIsp),
           BoxInt(HKCU, kAdvanced, L"Start_AutoCascade", &S::OpMenuPriZadInavMouse),
           BoxInt(HKCU, kAdvanced, L"Start_NotifyNewApps", &S::BoldNedUstProg),
           BoxInt(HKCU, kPolExplorer, L"NoCommonGroups", &S::NoAllUsersShort),
           EditText(HKCU, kPolExplorer, L"MenuShowDelay", &S::sEdit4),
       },
       {&S::DisNameUserInP, &S::DelPunktExSys, &S::DelChasP, &S::NoHistory, &S::CleLisIsp,
        &S::OpMenuPriZadInavMouse, &S::BoldNedUstProg, &S::NoAllUsersShort},
       {&S::sEdit4},
       &S::MPOk,
       &S::MPNo},
      {10,
       {
           EditText(HKCU, kDesktop, L"HungAppTimeout", &S::sEdit5),
           EditText(HKCU, kDesktop, L"WaitToKillAppTimeout", &S::sEdit6),
       },
       {},
       {&S::sEdit5, &S::sEdit6},
       &S::SPOk,
       &S::SPNo},
      {11,
       {
           BoxInt(HKLM, kPolSystemLM, L"dontdisplaylastusername", &S::DontSeeLastUser),
           BoxInt(HKLM, kWinlogon, L"AllowMultipleTSSessions", &S::UsQuickUser),
           BoxInt(HKLM, kPolSystemLM, L"DisableStatusMessages", &S::DontSeeMessaUnloadS),
           BoxText(HKU, kKeyboard, L"InitialKeyboardIndicators", &S::OnNumOnLoadS, L"2", L"0"),
       },
       {&S::DontSeeLastUser, &S::UsQuickUser, &S::DontSeeMessaUnloadS, &S::OnNumOnLoadS},
       {},
       &S::VSOk,
       &S::VSNo},
  };
  return pages;
}

const TSettingsPageDef& SettingsPageDef(int pageIndex) {
  for (const TSettingsPageDef& page : SettingsPageDefs())
    if (page.PageIndex == pageIndex) return page;
  throw std::out_of_range("no settings page with this index");
}

// Page 5's two places, used by its own Ok.
const wchar_t* const kRecycleBinKey = kRecycleBin;
const wchar_t* const kRecycleBinNameSpaceKey = kMyComputerNS;
const wchar_t* const kRecycleBinSubKey = kRecycleBinClsid;
