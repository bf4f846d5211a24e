// Building the main window's pages in code: a new control owned by the
// form, named as in the designs, placed on its parent at fixed bounds.
#pragma once

#include "framework/Controls.h"

template <class T>
T* Place(TComponent* owner, TWinControl* parent, const wchar_t* name, int left, int top, int width,
         int height) {
  T* control = Construct<T>(owner);
  control->SetName(name);
  control->SetBounds(left, top, width, height);
  control->SetParent(parent);
  return control;
}
