// The state of an owner-drawn item (list box, combo box or menu item), as
// the framework hands it to drawing handlers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

class TWinControl;

enum TOwnerDrawStateFlag : uint32_t {
  odSelected = 1u << 0,
  odGrayed = 1u << 1,
  odDisabled = 1u << 2,
  odChecked = 1u << 3,
  odFocused = 1u << 4,
  odDefault = 1u << 5,
  odHotLight = 1u << 6,
  odInactive = 1u << 7,
  odNoAccel = 1u << 8,
  odNoFocusRect = 1u << 9,
  odReserved1 = 1u << 10,
  odReserved2 = 1u << 11,
  odComboBoxEdit = 1u << 12,
};
using TOwnerDrawState = uint32_t;

// The framework's state from the ODS_ bits of a DRAWITEMSTRUCT.
inline TOwnerDrawState OwnerDrawStateFromODS(UINT itemState) {
  TOwnerDrawState s = 0;
  if (itemState & ODS_SELECTED) s |= odSelected;
  if (itemState & ODS_GRAYED) s |= odGrayed;
  if (itemState & ODS_DISABLED) s |= odDisabled;
  if (itemState & ODS_CHECKED) s |= odChecked;
  if (itemState & ODS_FOCUS) s |= odFocused;
  if (itemState & ODS_DEFAULT) s |= odDefault;
  if (itemState & ODS_HOTLIGHT) s |= odHotLight;
  if (itemState & ODS_INACTIVE) s |= odInactive;
  if (itemState & ODS_NOACCEL) s |= odNoAccel;
  if (itemState & ODS_NOFOCUSRECT) s |= odNoFocusRect;
  if (itemState & ODS_COMBOBOXEDIT) s |= odComboBoxEdit;
  return s;
}

// Paints item Index of an owner-drawn list or combo box into Rect of the
// control's Canvas().
using TDrawItemEvent =
    std::function<void(TWinControl* Control, int Index, RECT Rect, TOwnerDrawState State)>;
