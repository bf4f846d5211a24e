// The main window's page 2, installed applications and start-up entries.
// TMainForm inherits this part; its controls are the main window's own.
#pragma once

class TMainForm;
class TTabSheet;

class TAppsPage {
 public:
  virtual ~TAppsPage() = default;

 protected:
  // Builds the page's controls on `sheet` (called once by the main window's
  // constructor).
  void BuildAppsPage(TMainForm* form, TTabSheet* sheet);
};
