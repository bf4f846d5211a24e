// Adapters of grids and virtual trees, controls whose colours live in
// properties their own classes publish (fixed-cell, title, footer and
// indicator colours; a tree's text colours and header options). They are
// framed adapters that also reach those properties by name: saved when the
// control is taken over, set from the skin, put back when the skin goes.
#pragma once

#include "skin/windows/EditWnd.h"

class TacGridWnd : public TacEditWnd {
 public:
  void SaveStdProps() override;
  void RestoreStdProps() override;
  void SetSkinParams() override;
  void WndProc(TMessage& message) override;

  TColor StdFixedColor = clNone;
  TColor StdFooterColor = clNone;
  TColor StdFooterCellColor = clNone;
  TColor StdTitleFontColor = clNone;
  TColor StdTitleColor = clNone;
  TColor StdIndicatorIconColor = clNone;
  // Selected cells: a grid that publishes these shows its selection in the
  // skin's hot colours instead of the system's highlight.
  TColor StdSelectionColor = clNone;
  TColor StdSelectionFontColor = clNone;

 protected:
  friend class TacMainWnd;
  using TacEditWnd::TacEditWnd;
};

// Grids that publish "OptionsEh": the grid adapter as it is.
class TacGridEhWnd : public TacGridWnd {
 protected:
  friend class TacMainWnd;
  using TacGridWnd::TacGridWnd;
};

class TacVirtualTreeViewWnd : public TacEditWnd {
 public:
  void SaveStdProps() override;
  void RestoreStdProps() override;
  void SetSkinParams() override;
  void WndProc(TMessage& message) override;

  TColor StdCompressedTextColor = clNone;
  TColor StdFileTextColor = clNone;
  TColor StdFolderTextColor = clNone;
  bool StdOwnerDraw = false;

 protected:
  friend class TacMainWnd;
  using TacEditWnd::TacEditWnd;

 private:
  void OnNcPaint(TMessage& message);
  void OnPrint(TMessage& message);
  bool saved_ = false;
};

// The framework's grids publish "FixedColor" (done once, on first use).
void PublishGridProperties();
