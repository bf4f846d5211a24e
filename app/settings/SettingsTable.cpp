#include "app/settings/SettingsTable.h"

#include <algorithm>
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

constexpr TReadFailure kDisable = TReadFailure::Disable;
constexpr TReadFailure kMessage = TReadFailure::Message;

// The registry value behind a box or an edit: how start-up reads it and,
// when Written, how the page's Ok writes it. The control members are filled
// in by the row that carries the rule.
struct TRule {
  TLoadRow Load;
  TWriteRow Write;
  bool Written;
};

TLoadRow Read(HKEY root, const wchar_t* key, const wchar_t* name, TReadRule rule,
              const wchar_t* text = nullptr, TReadFailure failure = kDisable) {
  return {root, key, name, nullptr, rule, text, nullptr, nullptr, failure};
}

TWriteRow Write(HKEY root, const wchar_t* key, const wchar_t* name, TSettingKind kind,
                TWriteSource source) {
  return {root,    key,     name, nullptr, kind,    source, nullptr,
          nullptr, 0,       0,    nullptr, nullptr, nullptr};
}

// Ticked for the integer 1; Ok writes 1 or 0.
TRule Int(HKEY root, const wchar_t* key, const wchar_t* name, TReadFailure failure = kDisable) {
  TWriteRow w = Write(root, key, name, kInt, TWriteSource::Box);
  w.IntOn = 1;
  return {Read(root, key, name, TReadRule::IntIs1, nullptr, failure), w, true};
}

// Ticked for the text `on`; Ok writes `on` or `off`.
TRule Text(HKEY root, const wchar_t* key, const wchar_t* name, const wchar_t* on,
           const wchar_t* off, const wchar_t* message = nullptr) {
  TWriteRow w = Write(root, key, name, kStr, TWriteSource::Box);
  w.TextOn = on;
  w.TextOff = off;
  w.Message = message;
  return {Read(root, key, name, TReadRule::TextIs, on), w, true};
}

// An edit showing a text that Ok writes back unchanged.
TRule EditText(HKEY root, const wchar_t* key, const wchar_t* name) {
  return {Read(root, key, name, TReadRule::TextToEdit),
          Write(root, key, name, kStr, TWriteSource::EditText), true};
}

// A value start-up reads and the page's Ok leaves alone.
TRule ReadOnly(const TLoadRow& load) { return {load, TWriteRow{}, false}; }

// Layout rows.
TSettingsItem Control(TItemKind kind, const wchar_t* name, const wchar_t* caption, int readStep,
                      int okStep, const TRule& rule) {
  TSettingsItem item;
  item.Kind = kind;
  item.Name = name;
  item.Caption = caption;
  item.ReadStep = readStep;
  item.Load = rule.Load;
  item.OkStep = rule.Written ? okStep : 0;
  item.Write = rule.Write;
  return item;
}

TSettingsItem Box(const wchar_t* name, const wchar_t* caption, TSettingsBox box, int readStep,
                  int okStep, const TRule& rule) {
  TSettingsItem item = Control(TItemKind::Box, name, caption, readStep, okStep, rule);
  item.Box = box;
  item.Load.Box = box;
  item.Write.Box = box;
  return item;
}

TSettingsItem Edit(TItemKind kind, const wchar_t* name, const wchar_t* text, TSettingsEdit edit,
                   int left, int width, int readStep, int okStep, const TRule& rule) {
  TSettingsItem item = Control(kind, name, text, readStep, okStep, rule);
  item.Edit = edit;
  item.Load.Edit = edit;
  item.Write.Edit = edit;
  item.Left = left;
  item.Width = width;
  return item;
}

// Labels get their width here: while the form is being built they do not
// size themselves to their text.
TSettingsItem Label(const wchar_t* caption, int left, int drop, int width) {
  TSettingsItem item;
  item.Kind = TItemKind::Label;
  item.Caption = caption;
  item.Left = left;
  item.Drop = drop;
  item.Width = width;
  return item;
}

TSettingsItem Line(int height = kSettingsLineStep) {
  TSettingsItem item;
  item.Kind = TItemKind::Line;
  item.Drop = height;
  return item;
}

TSettingsItem Hidden(TSettingsItem item) {
  item.Visible = false;
  return item;
}

TSettingsItem NotRestored(TSettingsItem item) {
  item.Restored = false;
  return item;
}

TSettingsItem Deaf(TSettingsItem item) {
  item.HearsEnter = false;
  return item;
}

TSettingsItem Clicks(TSettingsItem item, TSettingsHandler handler) {
  item.OnClick = handler;
  return item;
}

// The page's Ok rows in Ok order and the controls its No restores, in
// layout order. Every page numbers its Ok steps from 1 without a gap.
void TakeRows(TSettingsPageDef& page) {
  std::vector<const TSettingsItem*> written;
  for (const TSettingsItem& item : page.Items) {
    if (item.OkStep > 0) written.push_back(&item);
    if (!item.Restored) continue;
    if (item.Box) page.SnapshotBoxes.push_back(item.Box);
    if (item.Edit) page.SnapshotEdits.push_back(item.Edit);
  }
  std::sort(written.begin(), written.end(),
            [](const TSettingsItem* a, const TSettingsItem* b) { return a->OkStep < b->OkStep; });
  for (const TSettingsItem* item : written) {
    if (item->OkStep != static_cast<int>(page.Writes.size()) + 1)
      throw std::logic_error("settings page rows: Ok steps out of sequence");
    page.Writes.push_back(item->Write);
  }
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

const std::vector<TSettingsPageDef>& SettingsPageDefs() {
  static const std::vector<TSettingsPageDef> pages = [] {
    constexpr TItemKind kEdit = TItemKind::Edit;
    constexpr TItemKind kUpper = TItemKind::UpperEdit;
    constexpr int kLeft = kSettingsItemLeft;
    constexpr int kWidth = kSettingsItemWidth;
    // The two edits of page 3 take numbers; the pages' No leaves them alone.
    const TRule cache2 = {Read(HKLM, kMemory, L"SecondLevelDataCache", TReadRule::IntToEdit),
                          Write(HKLM, kMemory, L"SecondLevelDataCache", kInt,
                                TWriteSource::EditNumber),
                          true};
    TRule diskCache = {Read(HKLM, kMemory, L"IOPageLockLimit", TReadRule::IntToEditAndBox),
                       Write(HKLM, kMemory, L"IOPageLockLimit", kInt, TWriteSource::BoxEditNumber),
                       true};
    diskCache.Load.Edit = &S::CACHEDISC;
    diskCache.Write.Edit = &S::CACHEDISC;
    TRule watson = {Read(HKLM, kAeDebug, L"Auto", TReadRule::TextIsNot, L"1"),
                    Write(HKLM, kAeDebug, L"Auto", kStr, TWriteSource::Box), true};
    watson.Write.TextOn = L"0";
    watson.Write.TextOff = L"1";
    TRule sfc = {Read(HKLM, kWinlogon, L"SfcDisable", TReadRule::IntIsSfcOff),
                 Write(HKLM, kWinlogon, L"SfcDisable", kInt, TWriteSource::Box), true};
    sfc.Write.IntOn = kSfcOff;
    TRule report = {Read(HKLM, kErrorReporting, L"DoReport", TReadRule::NotBothAre1),
                    Write(HKLM, kErrorReporting, L"DoReport", kInt, TWriteSource::Box), true};
    report.Load.Name2 = report.Write.Name2 = L"ShowUI";
    report.Write.IntOff = 1;
    report.Write.Message = L"Не удается получить доступ к \"DoReport\" и \"ShowUI\"";
    TRule shares = {Read(HKLM, kLanman, L"AutoShareWks", TReadRule::BothAre1),
                    Write(HKLM, kLanman, L"AutoShareWks", kInt, TWriteSource::Box), true};
    shares.Load.Name2 = shares.Write.Name2 = L"AutoShareServer";
    shares.Write.IntOn = 1;

    std::vector<TSettingsPageDef> p = {
        {3, L"Системные настройки", L"SystemSettingsGroup", &S::SystemSettingsGroup,
         &S::DWATSONClick,
         {
             Clicks(Box(L"DWATSON", L"Отключить Dr.Watson", &S::DWATSON, 2, 1, watson),
                    &S::MyClick),
             Clicks(Box(L"NOWRITELASTNTFS",
                        L"Не производить запись последнего доступа к файлам NTFS",
                        &S::NOWRITELASTNTFS, 3, 2,
                        Int(HKLM, kFileSystem, L"NtfsDisableLastAccessUpdate")),
                    &S::NOWRITELASTNTFSClick),
             Clicks(Box(L"DSFILEP", L"Отключить SystemFileProtection", &S::DSFILEP, 4, 3, sfc),
                    &S::DSFILEPClick),
             Clicks(Box(L"AUTUNLDLL", L"Автоматически выгружать неиспользуемые библиотеки",
                        &S::AUTUNLDLL, 5, 4, Int(HKLM, kExplorerLM, L"AlwaysUnloadDLL")),
                    &S::AUTUNLDLLClick),
             Clicks(Box(L"OffSEEOSUSER", L"Отключить слежение WindowsXP за пользователем",
                        &S::OffSEEOSUSER, 6, 5, Int(HKCU, kPolExplorer, L"NoInstrumentation")),
                    &S::OffSEEOSUSERClick),
             Clicks(Box(L"RUN16bitOTD", L"Запускать 16-битные программы в отдельных процессах",
                        &S::RUN16bitOTD, 7, 6,
                        Text(HKLM, kWow, L"DefaultSeparateVDM", L"yes", L"no")),
                    &S::RUN16bitOTDClick),
             Clicks(Box(L"DONTSENDINMIC", L"Не отсылать в Microsoft отчёты об ошибках",
                        &S::DONTSENDINMIC, 8, 7, report),
                    &S::DONTSENDINMICClick),
             Clicks(Box(L"OPSFILELOADING",
                        L"Оптимизировать системные файлы во время загрузки (BootDefrag)",
                        &S::OPSFILELOADING, 9, 8, Text(HKLM, kBootOptimize, L"Enable", L"Y", L"N")),
                    &S::OPSFILELOADINGClick),
             Clicks(Box(L"QUICKEDITCOMANDROW", L"Быстрое редактирование в командной строке",
                        &S::QUICKEDITCOMANDROW, 10, 9, Int(HKCU, L"Console", L"QuickEdit")),
                    &S::QUICKEDITCOMANDROWClick),
             Label(L"Настройка Кеша 2-ого уровня:", kLeft, 3, 168),
             NotRestored(Edit(kUpper, L"SETTCACHE2LEVEL", L"0", &S::SETTCACHE2LEVEL, 180, 90, 11,
                              10, cache2)),
             Label(L"КБ", 276, 3, 40),
             Line(),
             Clicks(Box(L"OPTSYSTCACHE", L"Оптимизировать работу системного кеша",
                        &S::OPTSYSTCACHE, 12, 11, Int(HKLM, kMemory, L"LargeSystemCache")),
                    &S::OPTSYSTCACHEClick),
             NotRestored(Clicks(Box(L"SETCACHEDISC", L"Установить Кеш диска", &S::SETCACHEDISC,
                                    13, 13, diskCache),
                                &S::SETCACHEDISCClick)),
             // Filled and written through SETCACHEDISC's row.
             NotRestored(Edit(kUpper, L"CACHEDISC", L"0", &S::CACHEDISC, 30, 150, 0, 0,
                              ReadOnly(TLoadRow{}))),
             Label(L"Байт", 186, 3, 40),
             Line(),
             Clicks(Box(L"ClFilePod", L"Очистка файла подкачки перед перезагрузкой системы",
                        &S::ClFilePod, 1, 12, Int(HKLM, kMemory, L"ClearPageFileAtShutdown")),
                    &S::ClFilePodClick),
         },
         L"SystemSoK", &S::SystemSoK, &S::SystemSoKClick,
         L"sSpeedButton2", &S::sSpeedButton2, &S::sSpeedButton2Click,
         L"SystSettToDeff", &S::SystSettToDeff},
        {4, L"Настройка рабочего стола", L"DesktopGroup", &S::DesktopGroup, &S::DISRSEnter,
         {
             // Ok step 1: DISRSClick writes the page's first row at once.
             Clicks(Box(L"DISRS", L"Запретить рабочий стол", &S::DISRS, 34, 1,
                        Int(HKCU, kPolExplorer, L"NoDesktop")),
                    &S::DISRSClick),
             Box(L"VerWinOnDEsktop", L"Версия Windows на рабочем столе", &S::VerWinOnDEsktop, 35,
                 7, Int(HKCU, kDesktop, L"PaintDesktopVersion")),
             Box(L"DISActDeskt", L"Запретить Active Desktop", &S::DISActDeskt, 36, 2,
                 Int(HKCU, kPolExplorer, L"NoActiveDesktop")),
             Box(L"HIDERS", L"Скрыть вкладку \"Рабочий стол\"", &S::HIDERS, 37, 3,
                 Int(HKCU, kPolSystem, L"NoDispBackgroundPage")),
             Box(L"HIDEZ", L"Скрыть вкладку \"Заставка\"", &S::HIDEZ, 38, 4,
                 Int(HKCU, kPolSystem, L"NoDispScrSavPage")),
             Box(L"HIDEP", L"Скрыть вкладку \"Параметры", &S::HIDEP, 39, 5,
                 Int(HKCU, kPolSystem, L"NoDispSettingsPage")),
             Box(L"HIDETAO", L"Скрыть вкладки \"Тема\" и \"Оформление\" в свойствах экрана",
                 &S::HIDETAO, 40, 6, Int(HKCU, kPolSystem, L"NoDispAppearancePage")),
         },
         L"RSOk", &S::RSOk, &S::RSOkClick,
         L"RSNo", &S::RSNo, &S::RSNoClick,
         L"RSDeffault", &S::RSDeffault},
        // Page 5's Ok writes through its own steps (NKOkClick): its rows are
        // only read.
        {5, L"Настройка корзины", L"RecycleBinGroup", &S::RecycleBinGroup, &S::sEdit3Enter,
         {
             Box(L"ADDSHortInMyC", L"Добавить значок корзины в \"Мой компьютер\"",
                 &S::ADDSHortInMyC, 33, 0,
                 ReadOnly(Read(HKLM, kMyComputerNS, kRecycleBinClsid, TReadRule::SubKeyExists))),
             Label(L"Установить название корзины", kLeft, 0, kWidth),
             Line(16),
             Edit(kEdit, L"sEdit3", L"", &S::sEdit3, kLeft, 250, 32, 0,
                  ReadOnly(Read(HKCR, kRecycleBin, L"LocalizedString", TReadRule::TextToEdit))),
             Line(),
         },
         L"NKOk", &S::NKOk, &S::NKOkClick,
         L"NKNo", &S::NKNo, &S::NKNoClick,
         L"sButton3", &S::sButton3},
        {6, L"Настройка проводника", L"ExplorerGroup", &S::ExplorerGroup, &S::DSMSFDiskEnter,
         {
             Box(L"DSMSFDisk", L"Отключить сообщение о недостатке свободного места на диске",
                 &S::DSMSFDisk, 14, 1, Int(HKCU, kPolExplorer, L"NoLowDiskSpaceChecks")),
             Box(L"AnimPrSvorWindow", L"Анимация при сворачивании, разворачивании окон",
                 &S::AnimPrSvorWindow, 15, 2,
                 Text(HKCU, kWindowMetrics, L"MinAnimate", L"1", L"0")),
             Box(L"RunWindowOt", L"Запускать окна проводника в отдельном процессе",
                 &S::RunWindowOt, 16, 3, Int(HKCU, kAdvanced, L"SeparateProcess")),
             // Written where it is read, so the box and the value agree.
             Box(L"AutResProv", L"Автоматически перезапускать проводник при ошибках",
                 &S::AutResProv, 17, 4, Int(HKLM, kWinlogon, L"AutoRestartShell")),
             Box(L"MoveMouseToDef",
                 L"Перемещать указатель мыши в диалоговых окнах к кнопке по умолчанию",
                 &S::MoveMouseToDef, 26, 13,
                 Text(HKCU, kMouse, L"SnapToDefaultButton", L"1", L"0")),
             Box(L"SeeSodMove", L"Отображать содержимое окна при перетаскивании", &S::SeeSodMove,
                 19, 6, Text(HKCU, kDesktop, L"DragFullWindows", L"1", L"0")),
             Box(L"DisCachIM", L"Запретить кэширование изображений(Thumbnails)", &S::DisCachIM, 20,
                 7, Int(HKCU, kAdvanced, L"DisableThumbnailCache")),
             Box(L"NoFind", L"Удалить меню \"Find\"", &S::NoFind, 21, 8,
                 Int(HKCU, kPolExplorer, L"NoFind")),
             Box(L"NoRun", L"Удалить меню \"Run\"", &S::NoRun, 22, 9,
                 Int(HKCU, kPolExplorer, L"NoRun")),
             Box(L"AddCopyTo", L"Добавить пункт меню \"Копировать в папку…\"", &S::AddCopyTo, 23,
                 10, Text(HKCR, kCopyTo, L"'", kCopyMoveHandler, L"",
                          L"Не удается получить доступ к \"'-1")),
             Box(L"AddMoveTo", L"Добавить пункт меню \"Переместить в…\"", &S::AddMoveTo, 24, 11,
                 Text(HKCR, kMoveTo, L"'", kCopyMoveHandler, L"",
                      L"Не удается получить доступ к \"'-2")),
             Box(L"NoUsingFilePod", L"Не использовать файл подкачки для хранения ядра системы",
                 &S::NoUsingFilePod, 25, 12, Int(HKLM, kMemory, L"DisablePagingExecutive")),
             Hidden(Box(L"DelStrIar", L"Удалить стрелки у ярлыков", &S::DelStrIar, 18, 5,
                        Text(HKLM, kLnkFile, L"IsShortcut", L"1", L"0"))),
         },
         L"NasProvOk", &S::NasProvOk, &S::NasProvOkClick,
         L"NasProvNo", &S::NasProvNo, &S::NasProvNoClick,
         L"sButton9", &S::sButton9},
        {7, L"Сетевая безопасность", L"NetworkGroup", &S::NetworkGroup, &S::FullDisNetResEnter,
         {
             Box(L"FullDisNetRes", L"Полностью отключить сетевые ресурсы (Admin$, С$ ит.)",
                 &S::FullDisNetRes, 27, 1, shares),
             Box(L"CloseAnUserSeeRes", L"Запретить анонимным пользователям просматривать ресурсы",
                 &S::CloseAnUserSeeRes, 28, 2, Int(HKLM, kLsa, L"RestrictAnonymous")),
         },
         L"SBOk", &S::SBOk, &S::SBOkClick,
         L"SbNo", &S::SbNo, &S::SbNoClick,
         L"sButton8", &S::sButton8},
        {8, L"Панель задач", L"TaskbarGroup", &S::TaskbarGroup, &S::ShowHintEnter,
         {
             Box(L"ShowHint", L"Показывать всплывающие подсказки", &S::ShowHint, 29, 1,
                 Int(HKCU, kAdvanced, L"EnableBalloonTips")),
             Box(L"NoTray", L"Скрыть все значки в трее", &S::NoTray, 30, 2,
                 Int(HKCU, kPolExplorer, L"NoTrayItemsDisplay")),
             Box(L"EnAutoTray", L"Автоматически скрывать иконки в трее", &S::EnAutoTray, 31, 3,
                 Int(HKCU, kPolExplorer, L"EnableAutoTray")),
         },
         L"PZOk", &S::PZOk, &S::PZOkClick,
         L"PZNo", &S::PZNo, &S::PZNoClick,
         L"sButton7", &S::sButton7},
        {9, L"Меню \"Пуск\"", L"StartMenuGroup", &S::StartMenuGroup, &S::DisNameUserInPEnter,
         {
             Box(L"DisNameUserInP", L"Убрать имя пользователя из меню \"Пуск\"",
                 &S::DisNameUserInP, 41, 1, Int(HKCU, kPolExplorer, L"NoUserNameInStartMenu")),
             Box(L"DelPunktExSys", L"Удалить пункт меню \"Выход из системы\"", &S::DelPunktExSys,
                 42, 2, Int(HKCU, kPolExplorer, L"StartMenuLogoff", kMessage)),
             Box(L"DelChasP", L"Удалить список часто используемых программ", &S::DelChasP, 43, 3,
                 Int(HKCU, kPolExplorer, L"NoStartMenuMFUprogramsList", kMessage)),
             Box(L"NoHistory", L"Не вести историю открытия документов", &S::NoHistory, 44, 4,
                 Int(HKCU, kPolExplorer, L"NoRecentDocsHistory", kMessage)),
             Box(L"CleLisIsp", L"Очистка списка недавно использовавшихся документов",
                 &S::CleLisIsp, 45, 5, Int(HKCU, kPolExplorer, L"ClearRecentDocsOnExit", kMessage)),
             Box(L"OpMenuPriZadInavMouse", L"Раскрывать меню при задержке и наведении указателя",
                 &S::OpMenuPriZadInavMouse, 46, 6,
                 Int(HKCU, kAdvanced, L"Start_AutoCascade", kMessage)),
             Box(L"BoldNedUstProg", L"Выделять недавно установленные программы",
                 &S::BoldNedUstProg, 47, 7, Int(HKCU, kAdvanced, L"Start_NotifyNewApps")),
             Box(L"NoAllUsersShort", L"Не показывать общие ярлыки \"AllUsers\"",
                 &S::NoAllUsersShort, 48, 8, Int(HKCU, kPolExplorer, L"NoCommonGroups")),
             Hidden(Label(L"Задержка выпадения меню", kLeft, 3, 168)),
             Hidden(Edit(kEdit, L"sEdit4", L"[значение в миллисекундах в текстовом виде]",
                         &S::sEdit4, 180, 220, 49, 9,
                         EditText(HKCU, kPolExplorer, L"MenuShowDelay"))),
             Line(),
         },
         L"MPOk", &S::MPOk, &S::MPOkClick,
         L"MPNo", &S::MPNo, &S::MPNoClick,
         L"sButton6", &S::sButton6},
        {10, L"Шрифты и Приложения", L"AppsGroup", &S::AppsGroup, &S::sEdit5Enter,
         {
             Label(L"Время \"Зависания\"", kLeft, 0, kWidth),
             Line(16),
             Edit(kEdit, L"sEdit5", L"в миллисекундах", &S::sEdit5, kLeft, 200, 50, 1,
                  EditText(HKCU, kDesktop, L"HungAppTimeout")),
             Line(),
             Label(L"Через сколько завершать зависшее приложение", kLeft, 0, kWidth),
             Line(16),
             // Only the first edit enables Ok and No when it gets the focus.
             Deaf(Edit(kEdit, L"sEdit6", L"в миллисекундах", &S::sEdit6, kLeft, 200, 51, 2,
                       EditText(HKCU, kDesktop, L"WaitToKillAppTimeout"))),
             Line(),
         },
         L"SPOk", &S::SPOk, &S::SPOkClick,
         L"SPNo", &S::SPNo, &S::SPNoClick,
         L"sButton5", &S::sButton5},
        {11, L"Вход в систему", L"LogonGroup", &S::LogonGroup, &S::DontSeeLastUserEnter,
         {
             Box(L"DontSeeLastUser", L"Не показывать имя последнего пользователя",
                 &S::DontSeeLastUser, 52, 1, Int(HKLM, kPolSystemLM, L"dontdisplaylastusername")),
             Box(L"UsQuickUser", L"Использовать быстрое переключение пользователей",
                 &S::UsQuickUser, 53, 2, Int(HKLM, kWinlogon, L"AllowMultipleTSSessions")),
             Box(L"DontSeeMessaUnloadS", L"Не показывать сообщение при выходе и запуске системы",
                 &S::DontSeeMessaUnloadS, 54, 3,
                 Int(HKLM, kPolSystemLM, L"DisableStatusMessages")),
             Box(L"OnNumOnLoadS", L"Включать NumLock при загрузке системы", &S::OnNumOnLoadS,
                 55, 4, Text(HKU, kKeyboard, L"InitialKeyboardIndicators", L"2", L"0")),
         },
         L"VSOk", &S::VSOk, &S::VSOkClick,
         L"VSNo", &S::VSNo, &S::VSNoClick,
         L"sButton4", &S::sButton4},
    };
    for (TSettingsPageDef& page : p) TakeRows(page);
    return p;
  }();
  return pages;
}

const std::vector<TLoadRow>& LoadRows() {
  // In read-step order, which is also the order of "Сделать бекап"'s values;
  // the steps run from 1 without a gap.
  static const std::vector<TLoadRow> rows = [] {
    std::vector<const TSettingsItem*> read;
    for (const TSettingsPageDef& page : SettingsPageDefs())
      for (const TSettingsItem& item : page.Items)
        if (item.ReadStep > 0) read.push_back(&item);
    std::sort(read.begin(), read.end(), [](const TSettingsItem* a, const TSettingsItem* b) {
      return a->ReadStep < b->ReadStep;
    });
    std::vector<TLoadRow> r;
    for (const TSettingsItem* item : read) {
      if (item->ReadStep != static_cast<int>(r.size()) + 1)
        throw std::logic_error("settings page rows: read steps out of sequence");
      r.push_back(item->Load);
    }
    return r;
  }();
  return rows;
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
