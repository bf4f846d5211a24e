// Builds the controls of the settings pages (3 to 11) and the backup page
// (14): one group per page, its check boxes and edits top to bottom, and the
// page's Ok, No and "Вернуть исходные" under the group.
#include "app/mainwindow/MainForm.h"
#include "app/settings/SettingsPages.h"
#include "skin/controls/Button.h"
#include "skin/controls/CheckBox.h"
#include "skin/controls/Edit.h"
#include "framework/Buttons.h"
#include "framework/StdCtrls.h"
#include "skin/controls/GroupBox.h"

namespace {

// An edit that turns typed letters into capitals; a TsEdit in every other
// respect.
class TUpperCaseEdit : public TsEdit {
 public:
  explicit TUpperCaseEdit(TComponent* AOwner) : TsEdit(AOwner) {}

 protected:
  void CreateParams(TCreateParams& params) override {
    TsEdit::CreateParams(params);
    params.Style |= ES_UPPERCASE;
  }
};

constexpr int kGroupLeft = 4;
constexpr int kGroupTop = 8;
constexpr int kGroupWidth = 418;
constexpr int kItemLeft = 8;
constexpr int kItemWidth = 406;
constexpr int kBoxHeight = 17;
constexpr int kBoxStep = 22;
constexpr int kEditHeight = 21;
constexpr int kEditStep = 27;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

// Lays a page's controls out in its group, top to bottom.
class TPageBuilder {
 public:
  TPageBuilder(TMainForm* form, TTabSheet* sheet, const wchar_t* caption) : form_(form) {
    group_ = Construct<TsGroupBox>(form);
    group_->SetCaption(caption);
    group_->SetBounds(kGroupLeft, kGroupTop, kGroupWidth, 40);
    group_->SetParent(sheet);
    sheet_ = sheet;
  }

  TGroupBox* Group() const { return group_; }

  TCustomCheckBox* Box(const wchar_t* name, const wchar_t* caption, TNotifyEvent onEnter) {
    TCustomCheckBox* box = Construct<TsCheckBox>(form_);
    box->SetName(name);
    box->SetCaption(caption);
    box->SetBounds(kItemLeft, top_, kItemWidth, kBoxHeight);
    box->OnEnter = std::move(onEnter);
    box->SetParent(group_);
    top_ += kBoxStep;
    return box;
  }

  // Labels get their width here: while the form is being built they do not
  // size themselves to their text.
  TLabel* Label(const wchar_t* caption, int left, int top, int width) {
    auto* label = Construct<TLabel>(form_);
    label->SetCaption(caption);
    label->SetBounds(left, top, width, 13);
    label->SetParent(group_);
    return label;
  }

  // An edit at `left` on the current line (after a label, say).
  template <class TEditClass = TsEdit>
  TEdit* Edit(const wchar_t* name, const wchar_t* text, int left, int width, TNotifyEvent onEnter) {
    TEdit* edit = Construct<TEditClass>(form_);
    edit->SetName(name);
    edit->SetBounds(left, top_, width, kEditHeight);
    edit->SetText(text);
    edit->OnEnter = std::move(onEnter);
    edit->SetParent(group_);
    return edit;
  }

  int Top() const { return top_; }
  void NextLine(int step = kEditStep) { top_ += step; }

  // Ok, No (both disabled until a control of the page gets the focus) and
  // "Вернуть исходные" (no action) under the group.
  void Buttons(TBitBtn*& ok, const wchar_t* okName, TBitBtn*& no, const wchar_t* noName,
               TButton*& defaults, const wchar_t* defaultsName) {
    group_->SetHeight(top_ + 8);
    int top = kGroupTop + group_->Height() + 8;
    ok = Construct<TBitBtn>(form_);
    ok->SetName(okName);
    ok->SetCaption(L"OK");
    ok->SetBounds(kGroupLeft, top, kButtonWidth, kButtonHeight);
    ok->SetEnabled(false);
    ok->SetParent(sheet_);
    no = Construct<TBitBtn>(form_);
    no->SetName(noName);
    no->SetCaption(L"&No");
    no->SetBounds(kGroupLeft + kButtonWidth + 8, top, kButtonWidth, kButtonHeight);
    no->SetEnabled(false);
    no->SetParent(sheet_);
    defaults = Construct<TsButton>(form_);
    defaults->SetName(defaultsName);
    defaults->SetCaption(L"Вернуть исходные");
    defaults->SetBounds(kGroupLeft + 2 * (kButtonWidth + 8), top, 120, kButtonHeight);
    defaults->SetParent(sheet_);
  }

 private:
  TMainForm* form_;
  TTabSheet* sheet_ = nullptr;
  TGroupBox* group_ = nullptr;
  int top_ = 20;
};

}  // namespace

void TSettingsPages::BuildSettingsPages(TMainForm* form, TTabSheet* sheet) {
  auto handler = [this](void (TSettingsPages::*method)(TObject*)) -> TNotifyEvent {
    return [this, method](TObject* s) { (this->*method)(s); };
  };

  // ---- Page 3: system settings
  {
    TPageBuilder b(form, sheet, L"Системные настройки");
    SystemSettingsGroup = b.Group();
    SystemSettingsGroup->SetName(L"SystemSettingsGroup");
    TNotifyEvent enter = handler(&TSettingsPages::DWATSONClick);
    DWATSON = b.Box(L"DWATSON", L"Отключить Dr.Watson", enter);
    NOWRITELASTNTFS = b.Box(L"NOWRITELASTNTFS",
                            L"Не производить запись последнего доступа к файлам NTFS", enter);
    DSFILEP = b.Box(L"DSFILEP", L"Отключить SystemFileProtection", enter);
    AUTUNLDLL = b.Box(L"AUTUNLDLL", L"Автоматически выгружать неиспользуемые библиотеки", enter);
    OffSEEOSUSER = b.Box(L"OffSEEOSUSER", L"Отключить слежение WindowsXP за пользователем", enter);
    RUN16bitOTD =
        b.Box(L"RUN16bitOTD", L"Запускать 16-битные программы в отдельных процессах", enter);
    DONTSENDINMIC = b.Box(L"DONTSENDINMIC", L"Не отсылать в Microsoft отчёты об ошибках", enter);
    OPSFILELOADING = b.Box(L"OPSFILELOADING",
                           L"Оптимизировать системные файлы во время загрузки (BootDefrag)", enter);
    QUICKEDITCOMANDROW =
        b.Box(L"QUICKEDITCOMANDROW", L"Быстрое редактирование в командной строке", enter);
    b.Label(L"Настройка Кеша 2-ого уровня:", kItemLeft, b.Top() + 3, 168);
    SETTCACHE2LEVEL = b.Edit<TUpperCaseEdit>(L"SETTCACHE2LEVEL", L"0", 180, 90, enter);
    b.Label(L"КБ", 276, b.Top() + 3, 40);
    b.NextLine();
    OPTSYSTCACHE = b.Box(L"OPTSYSTCACHE", L"Оптимизировать работу системного кеша", enter);
    SETCACHEDISC = b.Box(L"SETCACHEDISC", L"Установить Кеш диска", enter);
    CACHEDISC = b.Edit<TUpperCaseEdit>(L"CACHEDISC", L"0", 30, 150, enter);
    b.Label(L"Байт", 186, b.Top() + 3, 40);
    b.NextLine();
    ClFilePod = b.Box(L"ClFilePod", L"Очистка файла подкачки перед перезагрузкой системы", enter);
    b.Buttons(SystemSoK, L"SystemSoK", sSpeedButton2, L"sSpeedButton2", SystSettToDeff,
              L"SystSettToDeff");

    DWATSON->OnClick = handler(&TSettingsPages::MyClick);
    NOWRITELASTNTFS->OnClick = handler(&TSettingsPages::NOWRITELASTNTFSClick);
    DSFILEP->OnClick = handler(&TSettingsPages::DSFILEPClick);
    AUTUNLDLL->OnClick = handler(&TSettingsPages::AUTUNLDLLClick);
    OffSEEOSUSER->OnClick = handler(&TSettingsPages::OffSEEOSUSERClick);
    RUN16bitOTD->OnClick = handler(&TSettingsPages::RUN16bitOTDClick);
    DONTSENDINMIC->OnClick = handler(&TSettingsPages::DONTSENDINMICClick);
    OPSFILELOADING->OnClick = handler(&TSettingsPages::OPSFILELOADINGClick);
    QUICKEDITCOMANDROW->OnClick = handler(&TSettingsPages::QUICKEDITCOMANDROWClick);
    OPTSYSTCACHE->OnClick = handler(&TSettingsPages::OPTSYSTCACHEClick);
    SETCACHEDISC->OnClick = handler(&TSettingsPages::SETCACHEDISCClick);
    ClFilePod->OnClick = handler(&TSettingsPages::ClFilePodClick);
    SystemSoK->OnClick = handler(&TSettingsPages::SystemSoKClick);
    sSpeedButton2->OnClick = handler(&TSettingsPages::sSpeedButton2Click);
  }

  // ---- Page 4: desktop
  {
    TPageBuilder b(form, form->Pages[4], L"Настройка рабочего стола");
    DesktopGroup = b.Group();
    DesktopGroup->SetName(L"DesktopGroup");
    TNotifyEvent enter = handler(&TSettingsPages::DISRSEnter);
    DISRS = b.Box(L"DISRS", L"Запретить рабочий стол", enter);
    VerWinOnDEsktop = b.Box(L"VerWinOnDEsktop", L"Версия Windows на рабочем столе", enter);
    DISActDeskt = b.Box(L"DISActDeskt", L"Запретить Active Desktop", enter);
    HIDERS = b.Box(L"HIDERS", L"Скрыть вкладку \"Рабочий стол\"", enter);
    HIDEZ = b.Box(L"HIDEZ", L"Скрыть вкладку \"Заставка\"", enter);
    HIDEP = b.Box(L"HIDEP", L"Скрыть вкладку \"Параметры", enter);
    HIDETAO = b.Box(L"HIDETAO", L"Скрыть вкладки \"Тема\" и \"Оформление\" в свойствах экрана",
                    enter);
    b.Buttons(RSOk, L"RSOk", RSNo, L"RSNo", RSDeffault, L"RSDeffault");
    DISRS->OnClick = handler(&TSettingsPages::DISRSClick);
    RSOk->OnClick = handler(&TSettingsPages::RSOkClick);
    RSNo->OnClick = handler(&TSettingsPages::RSNoClick);
  }

  // ---- Page 5: recycle bin
  {
    TPageBuilder b(form, form->Pages[5], L"Настройка корзины");
    RecycleBinGroup = b.Group();
    RecycleBinGroup->SetName(L"RecycleBinGroup");
    TNotifyEvent enter = handler(&TSettingsPages::sEdit3Enter);
    ADDSHortInMyC =
        b.Box(L"ADDSHortInMyC", L"Добавить значок корзины в \"Мой компьютер\"", enter);
    b.Label(L"Установить название корзины", kItemLeft, b.Top(), kItemWidth);
    b.NextLine(16);
    sEdit3 = b.Edit(L"sEdit3", L"", kItemLeft, 250, enter);
    b.NextLine();
    b.Buttons(NKOk, L"NKOk", NKNo, L"NKNo", sButton3, L"sButton3");
    NKOk->OnClick = handler(&TSettingsPages::NKOkClick);
    NKNo->OnClick = handler(&TSettingsPages::NKNoClick);
  }

  // ---- Page 6: explorer
  {
    TPageBuilder b(form, form->Pages[6], L"Настройка проводника");
    ExplorerGroup = b.Group();
    ExplorerGroup->SetName(L"ExplorerGroup");
    TNotifyEvent enter = handler(&TSettingsPages::DSMSFDiskEnter);
    DSMSFDisk = b.Box(L"DSMSFDisk",
                      L"Отключить сообщение о недостатке свободного места на диске", enter);
    AnimPrSvorWindow = b.Box(L"AnimPrSvorWindow",
                             L"Анимация при сворачивании, разворачивании окон", enter);
    RunWindowOt =
        b.Box(L"RunWindowOt", L"Запускать окна проводника в отдельном процессе", enter);
    AutResProv =
        b.Box(L"AutResProv", L"Автоматически перезапускать проводник при ошибках", enter);
    MoveMouseToDef = b.Box(L"MoveMouseToDef",
                           L"Перемещать указатель мыши в диалоговых окнах к кнопке по умолчанию",
                           enter);
    SeeSodMove = b.Box(L"SeeSodMove", L"Отображать содержимое окна при перетаскивании", enter);
    DisCachIM = b.Box(L"DisCachIM", L"Запретить кэширование изображений(Thumbnails)", enter);
    NoFind = b.Box(L"NoFind", L"Удалить меню \"Find\"", enter);
    NoRun = b.Box(L"NoRun", L"Удалить меню \"Run\"", enter);
    AddCopyTo = b.Box(L"AddCopyTo", L"Добавить пункт меню \"Копировать в папку…\"", enter);
    AddMoveTo = b.Box(L"AddMoveTo", L"Добавить пункт меню \"Переместить в…\"", enter);
    NoUsingFilePod = b.Box(L"NoUsingFilePod",
                           L"Не использовать файл подкачки для хранения ядра системы", enter);
    DelStrIar = b.Box(L"DelStrIar", L"Удалить стрелки у ярлыков", enter);
    DelStrIar->SetVisible(false);
    b.Buttons(NasProvOk, L"NasProvOk", NasProvNo, L"NasProvNo", sButton9, L"sButton9");
    NasProvOk->OnClick = handler(&TSettingsPages::NasProvOkClick);
    NasProvNo->OnClick = handler(&TSettingsPages::NasProvNoClick);
  }

  // ---- Page 7: network security
  {
    TPageBuilder b(form, form->Pages[7], L"Сетевая безопасность");
    NetworkGroup = b.Group();
    NetworkGroup->SetName(L"NetworkGroup");
    TNotifyEvent enter = handler(&TSettingsPages::FullDisNetResEnter);
    FullDisNetRes = b.Box(L"FullDisNetRes",
                          L"Полностью отключить сетевые ресурсы (Admin$, С$ ит.)", enter);
    CloseAnUserSeeRes = b.Box(L"CloseAnUserSeeRes",
                              L"Запретить анонимным пользователям просматривать ресурсы", enter);
    b.Buttons(SBOk, L"SBOk", SbNo, L"SbNo", sButton8, L"sButton8");
    SBOk->OnClick = handler(&TSettingsPages::SBOkClick);
    SbNo->OnClick = handler(&TSettingsPages::SbNoClick);
  }

  // ---- Page 8: taskbar
  {
    TPageBuilder b(form, form->Pages[8], L"Панель задач");
    TaskbarGroup = b.Group();
    TaskbarGroup->SetName(L"TaskbarGroup");
    TNotifyEvent enter = handler(&TSettingsPages::ShowHintEnter);
    ShowHint = b.Box(L"ShowHint", L"Показывать всплывающие подсказки", enter);
    NoTray = b.Box(L"NoTray", L"Скрыть все значки в трее", enter);
    EnAutoTray = b.Box(L"EnAutoTray", L"Автоматически скрывать иконки в трее", enter);
    b.Buttons(PZOk, L"PZOk", PZNo, L"PZNo", sButton7, L"sButton7");
    PZOk->OnClick = handler(&TSettingsPages::PZOkClick);
    PZNo->OnClick = handler(&TSettingsPages::PZNoClick);
  }

  // ---- Page 9: start menu
  {
    TPageBuilder b(form, form->Pages[9], L"Меню \"Пуск\"");
    StartMenuGroup = b.Group();
    StartMenuGroup->SetName(L"StartMenuGroup");
    TNotifyEvent enter = handler(&TSettingsPages::DisNameUserInPEnter);
    DisNameUserInP =
        b.Box(L"DisNameUserInP", L"Убрать имя пользователя из меню \"Пуск\"", enter);
    DelPunktExSys =
        b.Box(L"DelPunktExSys", L"Удалить пункт меню \"Выход из системы\"", enter);
    DelChasP = b.Box(L"DelChasP", L"Удалить список часто используемых программ", enter);
    NoHistory = b.Box(L"NoHistory", L"Не вести историю открытия документов", enter);
    CleLisIsp =
        b.Box(L"CleLisIsp", L"Очистка списка недавно использовавшихся документов", enter);
    OpMenuPriZadInavMouse = b.Box(L"OpMenuPriZadInavMouse",
                                  L"Раскрывать меню при задержке и наведении указателя", enter);
    BoldNedUstProg =
        b.Box(L"BoldNedUstProg", L"Выделять недавно установленные программы", enter);
    NoAllUsersShort =
        b.Box(L"NoAllUsersShort", L"Не показывать общие ярлыки \"AllUsers\"", enter);
    TLabel* delayLabel = b.Label(L"Задержка выпадения меню", kItemLeft, b.Top() + 3, 168);
    delayLabel->SetVisible(false);
    sEdit4 = b.Edit(L"sEdit4", L"[значение в миллисекундах в текстовом виде]", 180, 220, enter);
    sEdit4->SetVisible(false);
    b.NextLine();
    b.Buttons(MPOk, L"MPOk", MPNo, L"MPNo", sButton6, L"sButton6");
    MPOk->OnClick = handler(&TSettingsPages::MPOkClick);
    MPNo->OnClick = handler(&TSettingsPages::MPNoClick);
  }

  // ---- Page 10: applications
  {
    TPageBuilder b(form, form->Pages[10], L"Шрифты и Приложения");
    AppsGroup = b.Group();
    AppsGroup->SetName(L"AppsGroup");
    b.Label(L"Время \"Зависания\"", kItemLeft, b.Top(), kItemWidth);
    b.NextLine(16);
    sEdit5 = b.Edit(L"sEdit5", L"в миллисекундах", kItemLeft, 200,
                    handler(&TSettingsPages::sEdit5Enter));
    b.NextLine();
    b.Label(L"Через сколько завершать зависшее приложение", kItemLeft, b.Top(), kItemWidth);
    b.NextLine(16);
    // Only the first edit enables Ok and No when it gets the focus.
    sEdit6 = b.Edit(L"sEdit6", L"в миллисекундах", kItemLeft, 200, nullptr);
    b.NextLine();
    b.Buttons(SPOk, L"SPOk", SPNo, L"SPNo", sButton5, L"sButton5");
    SPOk->OnClick = handler(&TSettingsPages::SPOkClick);
    SPNo->OnClick = handler(&TSettingsPages::SPNoClick);
  }

  // ---- Page 11: logon
  {
    TPageBuilder b(form, form->Pages[11], L"Вход в систему");
    LogonGroup = b.Group();
    LogonGroup->SetName(L"LogonGroup");
    TNotifyEvent enter = handler(&TSettingsPages::DontSeeLastUserEnter);
    DontSeeLastUser =
        b.Box(L"DontSeeLastUser", L"Не показывать имя последнего пользователя", enter);
    UsQuickUser =
        b.Box(L"UsQuickUser", L"Использовать быстрое переключение пользователей", enter);
    DontSeeMessaUnloadS = b.Box(L"DontSeeMessaUnloadS",
                                L"Не показывать сообщение при выходе и запуске системы", enter);
    OnNumOnLoadS = b.Box(L"OnNumOnLoadS", L"Включать NumLock при загрузке системы", enter);
    b.Buttons(VSOk, L"VSOk", VSNo, L"VSNo", sButton4, L"sButton4");
    VSOk->OnClick = handler(&TSettingsPages::VSOkClick);
    VSNo->OnClick = handler(&TSettingsPages::VSNoClick);
  }

  // ---- Page 14: registry backup
  {
    TPageBuilder b(form, form->Pages[14], L"Бекап");
    BackupGroup = b.Group();
    BackupGroup->SetName(L"BackupGroup");
    MakeBackup = Construct<TButton>(form);
    MakeBackup->SetName(L"MakeBackup");
    MakeBackup->SetCaption(L"Сделать бекап");
    MakeBackup->SetBounds(kItemLeft, b.Top(), 120, kButtonHeight);
    MakeBackup->SetParent(BackupGroup);
    b.NextLine(kButtonHeight + 8);
    BackupGroup->SetHeight(b.Top() + 8);
    MakeBackup->OnClick = handler(&TSettingsPages::MakeBackupClick);
  }
}
