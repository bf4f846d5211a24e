// The main window's page 15, the user-filter file finder.
// TMainForm inherits this part; its controls are the main window's own.
#pragma once

class TMainForm;
class TTabSheet;

class TFinderPage {
 public:
  virtual ~TFinderPage() = default;

 protected:
  // Builds the page's controls on `sheet` (called once by the main window's
  // constructor).
  void BuildFinderPage(TMainForm* form, TTabSheet* sheet);
};
