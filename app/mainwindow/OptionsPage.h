// The main window's page 13, options: the skin list and the skin colour.
// TMainForm inherits this part; its controls are the main window's own. The
// part also holds the application's skin manager.
#pragma once

#include "framework/Controls.h"

class TMainForm;
class TTabSheet;
class TGroupBox;
class TCustomComboBox;
class TTrackBar;
class TsSkinManager;

class TOptionsPage {
 public:
  virtual ~TOptionsPage() = default;

  // The application's skin manager: the fourth internal skin, saturation
  // 40, inactive until the main window's creation activates it.
  TsSkinManager* sSkinManager1 = nullptr;

  TGroupBox* sGroupBox20 = nullptr;  // "Скины"
  TCustomComboBox* ComboSkin = nullptr;  // every skin name; choosing changes nothing
  TGroupBox* sGroupBox21 = nullptr;  // "Цвет скина"
  TTrackBar* sTrackBar1 = nullptr;   // hue offset, -100 to 100
  TTrackBar* sTrackBar2 = nullptr;   // saturation, 0 to 100

  // The hue or saturation is applied once, when the mouse is released.
  void sTrackBar1MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void sTrackBar2MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

  // Start-up: the combo box gets the manager's skin name and every skin
  // name (the first name found is not used).
  void ListSkins();
  // Start-up: the skin loads and is announced to every form.
  void ActivateSkin();

 protected:
  // Builds the skin manager and the page's controls on `sheet` (called once
  // by the main window's constructor).
  void BuildOptionsPage(TMainForm* form, TTabSheet* sheet);
};
