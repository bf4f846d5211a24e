#include "app/mainwindow/OptionsPage.h"

#include "app/mainwindow/MainForm.h"
#include "app/common/PageLayout.h"
#include "framework/ComCtrls.h"
#include "framework/ComboBox.h"
#include "framework/StdCtrls.h"
#include "skin/engine/InternalSkins.h"
#include "skin/engine/SkinManager.h"
#include "skin/controls/ComboBox.h"
#include "skin/controls/GroupBox.h"
#include "skin/controls/TrackBar.h"

void TOptionsPage::BuildOptionsPage(TMainForm* form, TTabSheet* sheet) {
  // The manager as the main window stores it: inactive, so that nothing is
  // loaded before the window's creation turns it on.
  sSkinManager1 = Construct<TsSkinManager>(form);
  sSkinManager1->SetName(L"sSkinManager1");
  sSkinManager1->SetActive(false);
  sSkinManager1->SetSkinDirectory(L"c:\\Skins");
  sSkinManager1->SetSaturation(40);
  sSkinManager1->AnimEffects->FormShow()->Time = 100;
  sSkinManager1->AnimEffects->PageChange()->Time = 100;
  AddInternalSkins(*sSkinManager1->InternalSkins());
  sSkinManager1->SetSkinName(L"WLM (internal)");

  sGroupBox20 = Place<TsGroupBox>(form, sheet, L"sGroupBox20", 8, 8, 400, 60);
  sGroupBox20->SetCaption(L"Скины");
  ComboSkin = Place<TsComboBox>(form, sGroupBox20, L"ComboSkin", 12, 24, 250, 21);

  sGroupBox21 = Place<TsGroupBox>(form, sheet, L"sGroupBox21", 8, 76, 400, 110);
  sGroupBox21->SetCaption(L"Цвет скина");
  sTrackBar1 = Place<TsTrackBar>(form, sGroupBox21, L"sTrackBar1", 12, 20, 370, 40);
  sTrackBar1->SetMin(-100);
  sTrackBar1->SetMax(100);
  sTrackBar1->SetPosition(0);
  sTrackBar1->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    sTrackBar1MouseUp(s, b, sh, x, y);
  };
  sTrackBar2 = Place<TsTrackBar>(form, sGroupBox21, L"sTrackBar2", 12, 62, 370, 40);
  sTrackBar2->SetMin(0);
  sTrackBar2->SetMax(100);
  // The bar starts where the manager's saturation starts.
  sTrackBar2->SetPosition(sSkinManager1->Saturation());
  sTrackBar2->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    sTrackBar2MouseUp(s, b, sh, x, y);
  };
}

void TOptionsPage::sTrackBar1MouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  sSkinManager1->SetHueOffset(sTrackBar1->Position());
}

void TOptionsPage::sTrackBar2MouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  sSkinManager1->SetSaturation(sTrackBar2->Position());
}

void TOptionsPage::ListSkins() {
  ComboSkin->SetText(sSkinManager1->SkinName());
  std::wstring firstName;
  sSkinManager1->GetSkinNames(*ComboSkin->Items(), firstName);
}

void TOptionsPage::ActivateSkin() { sSkinManager1->SetActive(true); }
