// The main window's pages 3 to 11 (Windows settings: system, desktop,
// recycle bin, explorer, network security, taskbar, start menu,
// applications, logon) and page 14 (registry backup). Every setting is a
// registry value shown as a check box or an edit; each page's Ok writes its
// values and its No puts the controls back to the last snapshot.
// TMainForm inherits this part; its controls are the main window's own.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/settings/SettingsEngine.h"

class TMainForm;
class TTabSheet;
class TObject;
class TCustomCheckBox;
class TEdit;
class TBitBtn;
class TButton;
class TGroupBox;
class TLabel;
struct TSettingsPageDef;
struct TWriteRow;

// The states the pages' No buttons return to: a tick per check box and a
// text per edit that a No restores.
struct TSettingsSnapshot {
  std::unordered_map<const TCustomCheckBox*, bool> Boxes;
  std::unordered_map<const TEdit*, std::wstring> Texts;
};

// One value read by the backup page's "Сделать бекап".
struct TSettingsBackupValue {
  HKEY Root = nullptr;
  std::wstring Key;
  std::wstring Name;
  bool Read = false;  // false when the read failed
  int Integer = 0;
  std::wstring Text;
};

class TSettingsPages {
 public:
  virtual ~TSettingsPages() = default;

  // --- Page 3, "Системные настройки"
  TGroupBox* SystemSettingsGroup = nullptr;
  TCustomCheckBox* DWATSON = nullptr;
  TCustomCheckBox* NOWRITELASTNTFS = nullptr;
  TCustomCheckBox* DSFILEP = nullptr;
  TCustomCheckBox* AUTUNLDLL = nullptr;
  TCustomCheckBox* OffSEEOSUSER = nullptr;
  TCustomCheckBox* RUN16bitOTD = nullptr;
  TCustomCheckBox* DONTSENDINMIC = nullptr;
  TCustomCheckBox* OPSFILELOADING = nullptr;
  TCustomCheckBox* QUICKEDITCOMANDROW = nullptr;
  TEdit* SETTCACHE2LEVEL = nullptr;
  TCustomCheckBox* OPTSYSTCACHE = nullptr;
  TCustomCheckBox* SETCACHEDISC = nullptr;
  TEdit* CACHEDISC = nullptr;
  TCustomCheckBox* ClFilePod = nullptr;
  TBitBtn* SystemSoK = nullptr;
  TBitBtn* sSpeedButton2 = nullptr;
  TButton* SystSettToDeff = nullptr;

  // --- Page 4, "Настройка рабочего стола"
  TGroupBox* DesktopGroup = nullptr;
  TCustomCheckBox* DISRS = nullptr;
  TCustomCheckBox* VerWinOnDEsktop = nullptr;
  TCustomCheckBox* DISActDeskt = nullptr;
  TCustomCheckBox* HIDERS = nullptr;
  TCustomCheckBox* HIDEZ = nullptr;
  TCustomCheckBox* HIDEP = nullptr;
  TCustomCheckBox* HIDETAO = nullptr;
  TBitBtn* RSOk = nullptr;
  TBitBtn* RSNo = nullptr;
  TButton* RSDeffault = nullptr;

  // --- Page 5, "Настройка корзины"
  TGroupBox* RecycleBinGroup = nullptr;
  TCustomCheckBox* ADDSHortInMyC = nullptr;
  TEdit* sEdit3 = nullptr;
  TBitBtn* NKOk = nullptr;
  TBitBtn* NKNo = nullptr;
  TButton* sButton3 = nullptr;

  // --- Page 6, "Настройка проводника"
  TGroupBox* ExplorerGroup = nullptr;
  TCustomCheckBox* DSMSFDisk = nullptr;
  TCustomCheckBox* AnimPrSvorWindow = nullptr;
  TCustomCheckBox* RunWindowOt = nullptr;
  TCustomCheckBox* AutResProv = nullptr;
  TCustomCheckBox* MoveMouseToDef = nullptr;
  TCustomCheckBox* SeeSodMove = nullptr;
  TCustomCheckBox* DisCachIM = nullptr;
  TCustomCheckBox* NoFind = nullptr;
  TCustomCheckBox* NoRun = nullptr;
  TCustomCheckBox* AddCopyTo = nullptr;
  TCustomCheckBox* AddMoveTo = nullptr;
  TCustomCheckBox* NoUsingFilePod = nullptr;
  TCustomCheckBox* DelStrIar = nullptr;  // present but never visible
  TBitBtn* NasProvOk = nullptr;
  TBitBtn* NasProvNo = nullptr;
  TButton* sButton9 = nullptr;

  // --- Page 7, "Сетевая безопасность"
  TGroupBox* NetworkGroup = nullptr;
  TCustomCheckBox* FullDisNetRes = nullptr;
  TCustomCheckBox* CloseAnUserSeeRes = nullptr;
  TBitBtn* SBOk = nullptr;
  TBitBtn* SbNo = nullptr;
  TButton* sButton8 = nullptr;

  // --- Page 8, "Панель задач" (ShowHint: reach it through TSettingsPages,
  // TControl has a ShowHint of its own)
  TGroupBox* TaskbarGroup = nullptr;
  TCustomCheckBox* ShowHint = nullptr;
  TCustomCheckBox* NoTray = nullptr;
  TCustomCheckBox* EnAutoTray = nullptr;
  TBitBtn* PZOk = nullptr;
  TBitBtn* PZNo = nullptr;
  TButton* sButton7 = nullptr;

  // --- Page 9, 'Меню "Пуск"'
  TGroupBox* StartMenuGroup = nullptr;
  TCustomCheckBox* DisNameUserInP = nullptr;
  TCustomCheckBox* DelPunktExSys = nullptr;
  TCustomCheckBox* DelChasP = nullptr;
  TCustomCheckBox* NoHistory = nullptr;
  TCustomCheckBox* CleLisIsp = nullptr;
  TCustomCheckBox* OpMenuPriZadInavMouse = nullptr;
  TCustomCheckBox* BoldNedUstProg = nullptr;
  TCustomCheckBox* NoAllUsersShort = nullptr;
  TEdit* sEdit4 = nullptr;  // hidden, with its label
  TBitBtn* MPOk = nullptr;
  TBitBtn* MPNo = nullptr;
  TButton* sButton6 = nullptr;

  // --- Page 10, "Шрифты и Приложения"
  TGroupBox* AppsGroup = nullptr;
  TEdit* sEdit5 = nullptr;
  TEdit* sEdit6 = nullptr;
  TBitBtn* SPOk = nullptr;
  TBitBtn* SPNo = nullptr;
  TButton* sButton5 = nullptr;

  // --- Page 11, "Вход в систему"
  TGroupBox* LogonGroup = nullptr;
  TCustomCheckBox* DontSeeLastUser = nullptr;
  TCustomCheckBox* UsQuickUser = nullptr;
  TCustomCheckBox* DontSeeMessaUnloadS = nullptr;
  TCustomCheckBox* OnNumOnLoadS = nullptr;
  TBitBtn* VSOk = nullptr;
  TBitBtn* VSNo = nullptr;
  TButton* sButton4 = nullptr;

  // --- Page 14, "Бекап"
  TGroupBox* BackupGroup = nullptr;
  TButton* MakeBackup = nullptr;  // "Сделать бекап"

  // What the No buttons restore (filled by SCancelSystemSett).
  TSettingsSnapshot SettingsSnapshot;
  // The controls as the start-up fill left them: a setting whose stored value
  // could not be read is written only once the user changed its control.
  TSettingsSnapshot SettingsLoaded;
  // The values "Сделать бекап" read (LoadRegedit mode 1).
  std::vector<TSettingsBackupValue> SettingsBackup;
  // Where the settings live: empty for the real registry. Tests point it at
  // a scratch key.
  TSettingsKeyMap SettingsKeyMap;
  // Shows the pages' message boxes (caption "Ошибка", an OK button); empty
  // for the application's message box. Tests read the texts through it.
  std::function<void(const std::wstring& text, const std::wstring& caption)> ShowSettingsMessage;

  // --- Start-up
  // Makes the fixed list of settings values exist (a value that cannot be
  // read gets its default).
  void CreateKeys();
  // Mode 0: reads every settings value into the page controls. Mode 1:
  // reads the values into SettingsBackup and touches no control.
  void LoadRegedit(int mode = 0);
  // Takes the snapshot of every page that the No buttons restore.
  void SCancelSystemSett();

  // --- Enter handlers: enable the page's Ok and No
  void DWATSONClick(TObject* Sender);
  void DISRSEnter(TObject* Sender);
  void sEdit3Enter(TObject* Sender);
  void DSMSFDiskEnter(TObject* Sender);
  void FullDisNetResEnter(TObject* Sender);
  void ShowHintEnter(TObject* Sender);
  void DisNameUserInPEnter(TObject* Sender);
  void sEdit5Enter(TObject* Sender);
  void DontSeeLastUserEnter(TObject* Sender);

  // --- Ok handlers
  void SystemSoKClick(TObject* Sender);
  void RSOkClick(TObject* Sender);
  void NKOkClick(TObject* Sender);
  void NasProvOkClick(TObject* Sender);
  void SBOkClick(TObject* Sender);
  void PZOkClick(TObject* Sender);
  void MPOkClick(TObject* Sender);
  void SPOkClick(TObject* Sender);
  void VSOkClick(TObject* Sender);

  // --- No handlers
  void sSpeedButton2Click(TObject* Sender);
  void RSNoClick(TObject* Sender);
  void NKNoClick(TObject* Sender);
  void NasProvNoClick(TObject* Sender);
  void SbNoClick(TObject* Sender);
  void PZNoClick(TObject* Sender);
  void MPNoClick(TObject* Sender);
  void SPNoClick(TObject* Sender);
  void VSNoClick(TObject* Sender);

  // --- Page 3's box handlers: keep the state before the change
  void MyClick(TObject* Sender);
  void NOWRITELASTNTFSClick(TObject* Sender);
  void DSFILEPClick(TObject* Sender);
  void AUTUNLDLLClick(TObject* Sender);
  void OffSEEOSUSERClick(TObject* Sender);
  void RUN16bitOTDClick(TObject* Sender);
  void DONTSENDINMICClick(TObject* Sender);
  void OPSFILELOADINGClick(TObject* Sender);
  void QUICKEDITCOMANDROWClick(TObject* Sender);
  void OPTSYSTCACHEClick(TObject* Sender);
  void ClFilePodClick(TObject* Sender);
  // CACHEDISC follows SETCACHEDISC's tick.
  void SETCACHEDISCClick(TObject* Sender);
  // Writes "NoDesktop" at once.
  void DISRSClick(TObject* Sender);

  // Page 14's "Сделать бекап".
  void MakeBackupClick(TObject* Sender);

 protected:
  // Builds the controls of pages 3 to 11 and 14; `sheet` is page 3, the
  // others are reached through form->Pages (called once by the main
  // window's constructor).
  void BuildSettingsPages(TMainForm* form, TTabSheet* sheet);

 private:
  void EnableOkNo(int pageIndex);
  // Ok of a page whose rows all follow the pattern.
  void WritePage(const TSettingsPageDef& page);
  // No of a page: restore, take the snapshot again, No off, Ok on.
  void RestorePage(const TSettingsPageDef& page);
  void TakeSnapshot(const TSettingsPageDef& page);
  // Page 3's box handlers share this: the box's state before its change.
  void KeepPreviousState(TCustomCheckBox* box);
  void ShowSettingsError(const std::wstring& text);
  // True when a row's control differs from how the start-up fill left it.
  bool UserChanged(const TWriteRow& row) const;
  bool UserChanged(const TCustomCheckBox* box, const TEdit* edit) const;
};
