#include "app/settings/SettingsPages.h"

#include "app/mainwindow/MainForm.h"
#include "app/settings/SettingsTable.h"
#include "framework/Buttons.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "framework/SysUtils.h"

// ---------------------------------------------------------------- start-up

void TSettingsPages::CreateKeys() {
  TSettingsRegistry reg(SettingsKeyMap);
  for (const TCreateKeyRow& row : CreateKeyRows()) CreateKeyRow(reg, row);
}

namespace {

bool Ticked(const TLoadRow& row, const TSettingRead& r) {
  switch (row.Rule) {
    case TReadRule::IntIs1: return r.Int1 == 1;
    case TReadRule::IntIsSfcOff: return r.Int1 == -99;  // FFFFFF9Dh
    case TReadRule::TextIs: return r.Text == row.Text;
    case TReadRule::TextIsNot: return r.Text != row.Text;
    case TReadRule::BothAre1: return r.Int1 == 1 && r.Int2 == 1;
    case TReadRule::NotBothAre1: return !(r.Int1 == 1 && r.Int2 == 1);
    case TReadRule::SubKeyExists: return r.Int1 == 1;
    default: return false;
  }
}

void ApplyRead(const TLoadRow& row, const TSettingRead& r, TCustomCheckBox* box, TEdit* edit) {
  switch (row.Rule) {
    case TReadRule::IntToEdit:
      edit->SetText(IntToStr(r.Int1));
      break;
    case TReadRule::IntToEditAndBox:
      edit->SetText(IntToStr(r.Int1));
      // Ticking runs the box's handler, which enables the edit; a zero limit
      // unticks it again and the edit goes grey.
      box->SetChecked(true);
      if (r.Int1 == 0) box->SetChecked(false);
      break;
    case TReadRule::TextToEdit:
      edit->SetText(r.Text);
      break;
    default:
      box->SetChecked(Ticked(row, r));
      break;
  }
}

void AddBackupValue(std::vector<TSettingsBackupValue>& out, const TLoadRow& row,
                    const wchar_t* name, const TSettingRead& r, int value) {
  TSettingsBackupValue v;
  v.Root = row.Root;
  v.Key = row.Key;
  v.Name = name;
  v.Read = r.Ok;
  v.Integer = value;
  v.Text = r.Text;
  out.push_back(std::move(v));
}

}  // namespace

void TSettingsPages::LoadRegedit(int mode) {
  TSettingsRegistry reg(SettingsKeyMap);
  if (mode == 1) {
    // The backup reads the values themselves; the subkey test of the
    // recycle bin's icon holds no value and is left out.
    SettingsBackup.clear();
    for (const TLoadRow& row : LoadRows()) {
      if (row.Rule == TReadRule::SubKeyExists) continue;
      TSettingRead r = ReadLoadRow(reg, row);
      AddBackupValue(SettingsBackup, row, row.Name, r, r.Int1);
      if (row.Name2) AddBackupValue(SettingsBackup, row, row.Name2, r, r.Int2);
    }
    return;
  }
  for (const TLoadRow& row : LoadRows()) {
    TSettingRead r = ReadLoadRow(reg, row);
    TCustomCheckBox* box = row.Box ? this->*row.Box : nullptr;
    TEdit* edit = row.Edit ? this->*row.Edit : nullptr;
    if (!r.Ok) {
      if (row.OnFailure == TReadFailure::Message)
        ShowSettingsError(KeyNotFoundText(row.Name));
      else if (edit)
        edit->SetEnabled(false);
      else
        box->SetEnabled(false);
      continue;
    }
    // A box's handler may write (DISRS): whatever it raises is reported and
    // the remaining rows are still read.
    try {
      ApplyRead(row, r, box, edit);
    } catch (...) {
      Application->HandleException(nullptr, std::current_exception());
    }
  }
  SettingsLoaded = TSettingsSnapshot{};
  for (const TLoadRow& row : LoadRows()) {
    if (row.Box) SettingsLoaded.Boxes[this->*row.Box] = (this->*row.Box)->Checked();
    if (row.Edit) SettingsLoaded.Texts[this->*row.Edit] = (this->*row.Edit)->Text();
  }
}

bool TSettingsPages::UserChanged(const TCustomCheckBox* box, const TEdit* edit) const {
  if (box) {
    auto it = SettingsLoaded.Boxes.find(box);
    if (it != SettingsLoaded.Boxes.end() && it->second != box->Checked()) return true;
  }
  if (edit) {
    auto it = SettingsLoaded.Texts.find(edit);
    if (it != SettingsLoaded.Texts.end() && it->second != edit->Text()) return true;
  }
  return false;
}

bool TSettingsPages::UserChanged(const TWriteRow& row) const {
  return UserChanged(row.Box ? this->*row.Box : nullptr, row.Edit ? this->*row.Edit : nullptr);
}

void TSettingsPages::SCancelSystemSett() {
  for (const TSettingsPageDef& page : SettingsPageDefs()) TakeSnapshot(page);
}

void TSettingsPages::TakeSnapshot(const TSettingsPageDef& page) {
  for (TSettingsBox member : page.SnapshotBoxes) {
    TCustomCheckBox* box = this->*member;
    SettingsSnapshot.Boxes[box] = box->Checked();
  }
  for (TSettingsEdit member : page.SnapshotEdits) {
    TEdit* edit = this->*member;
    SettingsSnapshot.Texts[edit] = edit->Text();
  }
}

// ---------------------------------------------------------------- Ok and No

void TSettingsPages::ShowSettingsError(const std::wstring& text) {
  if (ShowSettingsMessage)
    ShowSettingsMessage(text, kSettingsErrorCaption);
  else
    Application->MessageBox(text, kSettingsErrorCaption, MB_OK);
}

void TSettingsPages::EnableOkNo(int pageIndex) {
  const TSettingsPageDef& page = SettingsPageDef(pageIndex);
  (this->*page.OkButton)->SetEnabled(true);
  (this->*page.NoButton)->SetEnabled(true);
}

namespace {

int EditNumber(const TEdit* edit) {
  int value = 0;
  if (!TryParseDecimal(edit->Text(), value))
    throw EConvertError(L"'" + edit->Text() + L"' is not a valid integer value");
  return value;
}

// The value a row writes for its control's current state.
TSettingWrite ValueOf(const TSettingsPages& pages, const TWriteRow& row) {
  TSettingWrite v;
  v.Kind = row.Kind;
  switch (row.Source) {
    case TWriteSource::Box: {
      bool ticked = (pages.*row.Box)->Checked();
      v.Int = ticked ? row.IntOn : row.IntOff;
      if (row.Kind == TSettingKind::String) v.Text = ticked ? row.TextOn : row.TextOff;
      break;
    }
    case TWriteSource::EditText:
      v.Text = (pages.*row.Edit)->Text();
      break;
    case TWriteSource::EditNumber:
      v.Int = EditNumber(pages.*row.Edit);
      break;
    case TWriteSource::BoxEditNumber:
      v.Int = (pages.*row.Box)->Checked() ? EditNumber(pages.*row.Edit) : 0;
      break;
  }
  return v;
}

}  // namespace

void TSettingsPages::WritePage(const TSettingsPageDef& page) {
  TSettingsRegistry reg(SettingsKeyMap);
  for (const TWriteRow& row : page.Writes) {
    // Each setting stands alone: a failure is reported and the next one
    // is still written.
    try {
      WriteSettingRow(reg, row, ValueOf(*this, row), UserChanged(row));
    } catch (const Exception&) {
      ShowSettingsError(row.Message ? std::wstring(row.Message) : AccessErrorText(row.Name));
    }
  }
}

void TSettingsPages::RestorePage(const TSettingsPageDef& page) {
  for (TSettingsBox member : page.SnapshotBoxes) {
    TCustomCheckBox* box = this->*member;
    auto it = SettingsSnapshot.Boxes.find(box);
    if (it != SettingsSnapshot.Boxes.end()) box->SetChecked(it->second);
  }
  for (TSettingsEdit member : page.SnapshotEdits) {
    TEdit* edit = this->*member;
    auto it = SettingsSnapshot.Texts.find(edit);
    if (it != SettingsSnapshot.Texts.end()) edit->SetText(it->second);
  }
  TakeSnapshot(page);
  (this->*page.NoButton)->SetEnabled(false);
  (this->*page.OkButton)->SetEnabled(true);
}

void TSettingsPages::SystemSoKClick(TObject*) {
  WritePage(SettingsPageDef(3));
  // The system page leaves its No as it is.
  SystemSoK->SetEnabled(false);
}

namespace {

void OkDone(TBitBtn* ok, TBitBtn* no) {
  ok->SetEnabled(false);
  no->SetEnabled(true);
}

}  // namespace

void TSettingsPages::RSOkClick(TObject*) {
  WritePage(SettingsPageDef(4));
  OkDone(RSOk, RSNo);
}

void TSettingsPages::NKOkClick(TObject*) {
  // The recycle bin's page reports a failure through the framework's error
  // box and keeps its buttons as they are.
  TSettingsRegistry reg(SettingsKeyMap);
  if (!reg.Open(HKEY_CLASSES_ROOT, kRecycleBinKey, true))
    throw ERegistryException(L"Failed to create key " + std::wstring(kRecycleBinKey));
  TSettingWrite name;
  name.Kind = TSettingKind::String;
  name.Text = sEdit3->Text();
  WriteSettingValue(reg, L"LocalizedString", name, UserChanged(nullptr, sEdit3));
  reg.Close();
  const std::wstring subKey = std::wstring(kRecycleBinNameSpaceKey) + L"\\" + kRecycleBinSubKey;
  if (!reg.Open(HKEY_LOCAL_MACHINE, kRecycleBinNameSpaceKey, true))
    throw ERegistryException(L"Failed to create key " + std::wstring(kRecycleBinNameSpaceKey));
  reg.Close();
  if (ADDSHortInMyC->Checked()) {
    if (!reg.Open(HKEY_LOCAL_MACHINE, subKey, true))
      throw ERegistryException(L"Failed to create key " + subKey);
    reg.Close();
  } else {
    reg.DeleteKey(HKEY_LOCAL_MACHINE, subKey);
  }
  OkDone(NKOk, NKNo);
}

void TSettingsPages::NasProvOkClick(TObject*) {
  WritePage(SettingsPageDef(6));
  OkDone(NasProvOk, NasProvNo);
}

void TSettingsPages::SBOkClick(TObject*) {
  WritePage(SettingsPageDef(7));
  OkDone(SBOk, SbNo);
}

void TSettingsPages::PZOkClick(TObject*) {
  WritePage(SettingsPageDef(8));
  OkDone(PZOk, PZNo);
}

void TSettingsPages::MPOkClick(TObject*) {
  WritePage(SettingsPageDef(9));
  OkDone(MPOk, MPNo);
}

void TSettingsPages::SPOkClick(TObject*) {
  WritePage(SettingsPageDef(10));
  OkDone(SPOk, SPNo);
}

void TSettingsPages::VSOkClick(TObject*) {
  WritePage(SettingsPageDef(11));
  OkDone(VSOk, VSNo);
}

void TSettingsPages::sSpeedButton2Click(TObject*) { RestorePage(SettingsPageDef(3)); }
void TSettingsPages::RSNoClick(TObject*) { RestorePage(SettingsPageDef(4)); }
void TSettingsPages::NKNoClick(TObject*) { RestorePage(SettingsPageDef(5)); }
void TSettingsPages::NasProvNoClick(TObject*) { RestorePage(SettingsPageDef(6)); }
void TSettingsPages::SbNoClick(TObject*) { RestorePage(SettingsPageDef(7)); }
void TSettingsPages::PZNoClick(TObject*) { RestorePage(SettingsPageDef(8)); }
void TSettingsPages::MPNoClick(TObject*) { RestorePage(SettingsPageDef(9)); }
void TSettingsPages::SPNoClick(TObject*) { RestorePage(SettingsPageDef(10)); }
void TSettingsPages::VSNoClick(TObject*) { RestorePage(SettingsPageDef(11)); }

// ---------------------------------------------------------------- enter handlers

void TSettingsPages::DWATSONClick(TObject*) { EnableOkNo(3); }
void TSettingsPages::DISRSEnter(TObject*) { EnableOkNo(4); }
void TSettingsPages::sEdit3Enter(TObject*) { EnableOkNo(5); }
void TSettingsPages::DSMSFDiskEnter(TObject*) { EnableOkNo(6); }
void TSettingsPages::FullDisNetResEnter(TObject*) { EnableOkNo(7); }
void TSettingsPages::ShowHintEnter(TObject*) { EnableOkNo(8); }
void TSettingsPages::DisNameUserInPEnter(TObject*) { EnableOkNo(9); }
void TSettingsPages::sEdit5Enter(TObject*) { EnableOkNo(10); }
void TSettingsPages::DontSeeLastUserEnter(TObject*) { EnableOkNo(11); }

// ---------------------------------------------------------------- box handlers

void TSettingsPages::KeepPreviousState(TCustomCheckBox* box) {
  // The handler runs after the change, so the state before it is the
  // opposite of the new one: page 3's No undoes each box's last change.
  SettingsSnapshot.Boxes[box] = !box->Checked();
}

void TSettingsPages::MyClick(TObject*) { KeepPreviousState(DWATSON); }
void TSettingsPages::NOWRITELASTNTFSClick(TObject*) { KeepPreviousState(NOWRITELASTNTFS); }
void TSettingsPages::DSFILEPClick(TObject*) { KeepPreviousState(DSFILEP); }
void TSettingsPages::AUTUNLDLLClick(TObject*) { KeepPreviousState(AUTUNLDLL); }
void TSettingsPages::OffSEEOSUSERClick(TObject*) { KeepPreviousState(OffSEEOSUSER); }
void TSettingsPages::RUN16bitOTDClick(TObject*) { KeepPreviousState(RUN16bitOTD); }
void TSettingsPages::DONTSENDINMICClick(TObject*) { KeepPreviousState(DONTSENDINMIC); }
void TSettingsPages::OPSFILELOADINGClick(TObject*) { KeepPreviousState(OPSFILELOADING); }
void TSettingsPages::QUICKEDITCOMANDROWClick(TObject*) { KeepPreviousState(QUICKEDITCOMANDROW); }
void TSettingsPages::OPTSYSTCACHEClick(TObject*) { KeepPreviousState(OPTSYSTCACHE); }
void TSettingsPages::ClFilePodClick(TObject*) { KeepPreviousState(ClFilePod); }

void TSettingsPages::SETCACHEDISCClick(TObject*) { CACHEDISC->SetEnabled(SETCACHEDISC->Checked()); }

void TSettingsPages::DISRSClick(TObject*) {
  // Written at once, and as the box says: a program that hides the desktop
  // on an untick would be worse than one that waits for Ok.
  const TWriteRow& row = SettingsPageDef(4).Writes.front();  // "NoDesktop"
  TSettingsRegistry reg(SettingsKeyMap);
  try {
    WriteSettingRow(reg, row, ValueOf(*this, row), UserChanged(row));
  } catch (const Exception&) {
    ShowSettingsError(AccessErrorText(row.Name));
  }
}

// ---------------------------------------------------------------- backup page

void TSettingsPages::MakeBackupClick(TObject*) { LoadRegedit(1); }
