// Builds the controls of the settings pages (3 to 11) from their rows in
// SettingsTable.cpp, and the backup page (14): one group per page, its rows
// top to bottom, and the page's Ok, No and "Вернуть исходные" under the group.
#include "app/mainwindow/MainForm.h"
#include "app/settings/SettingsPages.h"
#include "app/settings/SettingsTable.h"
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
constexpr int kBoxHeight = 17;
constexpr int kBoxStep = 22;
constexpr int kEditHeight = 21;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

// Lays a page's rows out in its group, top to bottom.
class TPageBuilder {
 public:
  TPageBuilder(TMainForm* form, TTabSheet* sheet, const wchar_t* caption)
      : form_(form), sheet_(sheet) {
    group_ = Construct<TsGroupBox>(form);
    group_->SetCaption(caption);
    group_->SetBounds(kGroupLeft, kGroupTop, kGroupWidth, 40);
    group_->SetParent(sheet);
  }

  TGroupBox* Group() const { return group_; }

  // Puts one row on the page; `onEnter` is the page's enter handler for
  // the controls that hear it.
  void Add(TSettingsPages& pages, const TSettingsItem& item, const TNotifyEvent& onEnter) {
    TNotifyEvent enter = item.HearsEnter ? onEnter : nullptr;
    TControl* control = nullptr;
    switch (item.Kind) {
      case TItemKind::Box:
        control = pages.*item.Box = Box(item.Name, item.Caption, std::move(enter));
        break;
      case TItemKind::Edit:
        control = pages.*item.Edit = Edit<TsEdit>(item, std::move(enter));
        break;
      case TItemKind::UpperEdit:
        control = pages.*item.Edit = Edit<TUpperCaseEdit>(item, std::move(enter));
        break;
      case TItemKind::Label:
        control = Label(item.Caption, item.Left, top_ + item.Drop, item.Width);
        break;
      case TItemKind::Line:
        top_ += item.Drop;
        return;
    }
    if (!item.Visible) control->SetVisible(false);
  }

  int Top() const { return top_; }
  void NextLine(int step) { top_ += step; }

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
  TCustomCheckBox* Box(const wchar_t* name, const wchar_t* caption, TNotifyEvent onEnter) {
    TCustomCheckBox* box = Construct<TsCheckBox>(form_);
    box->SetName(name);
    box->SetCaption(caption);
    box->SetBounds(kSettingsItemLeft, top_, kSettingsItemWidth, kBoxHeight);
    box->OnEnter = std::move(onEnter);
    box->SetParent(group_);
    top_ += kBoxStep;
    return box;
  }

  TLabel* Label(const wchar_t* caption, int left, int top, int width) {
    auto* label = Construct<TLabel>(form_);
    label->SetCaption(caption);
    label->SetBounds(left, top, width, 13);
    label->SetParent(group_);
    return label;
  }

  // An edit at its left on the current line (after a label, say).
  template <class TEditClass>
  TEdit* Edit(const TSettingsItem& item, TNotifyEvent onEnter) {
    TEdit* edit = Construct<TEditClass>(form_);
    edit->SetName(item.Name);
    edit->SetBounds(item.Left, top_, item.Width, kEditHeight);
    edit->SetText(item.Caption);
    edit->OnEnter = std::move(onEnter);
    edit->SetParent(group_);
    return edit;
  }

  TMainForm* form_;
  TTabSheet* sheet_;
  TGroupBox* group_ = nullptr;
  int top_ = 20;
};

}  // namespace

void TSettingsPages::BuildSettingsPages(TMainForm* form, TTabSheet* sheet) {
  auto handler = [this](TSettingsHandler method) -> TNotifyEvent {
    return [this, method](TObject* s) { (this->*method)(s); };
  };

  for (const TSettingsPageDef& page : SettingsPageDefs()) {
    TPageBuilder b(form, page.PageIndex == 3 ? sheet : form->Pages[page.PageIndex],
                   page.Caption);
    this->*page.Group = b.Group();
    b.Group()->SetName(page.GroupName);
    const TNotifyEvent enter = handler(page.OnEnter);
    for (const TSettingsItem& item : page.Items) b.Add(*this, item, enter);
    b.Buttons(this->*page.OkButton, page.OkName, this->*page.NoButton, page.NoName,
              this->*page.DefaultsButton, page.DefaultsName);
    for (const TSettingsItem& item : page.Items)
      if (item.OnClick) (this->*item.Box)->OnClick = handler(item.OnClick);
    (this->*page.OkButton)->OnClick = handler(page.OnOk);
    (this->*page.NoButton)->OnClick = handler(page.OnNo);
  }

  // ---- Page 14: registry backup
  {
    TPageBuilder b(form, form->Pages[14], L"Бекап");
    BackupGroup = b.Group();
    BackupGroup->SetName(L"BackupGroup");
    MakeBackup = Construct<TButton>(form);
    MakeBackup->SetName(L"MakeBackup");
    MakeBackup->SetCaption(L"Сделать бекап");
    MakeBackup->SetBounds(kSettingsItemLeft, b.Top(), 120, kButtonHeight);
    MakeBackup->SetParent(BackupGroup);
    b.NextLine(kButtonHeight + 8);
    BackupGroup->SetHeight(b.Top() + 8);
    MakeBackup->OnClick = handler(&TSettingsPages::MakeBackupClick);
  }
}
