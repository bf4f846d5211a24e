// Putting a control on a form in a test: made with the form as its owner,
// put on its parent, then given its bounds; and a captioned page added to a
// page control.
#pragma once

#include <string>

#include "framework/ComCtrls.h"
#include "framework/Component.h"
#include "framework/Controls.h"

namespace testenv {

template <class T>
T* Place(TComponent* owner, TWinControl* parent, int left, int top, int width, int height) {
  T* c = Construct<T>(owner);
  c->SetParent(parent);
  c->SetBounds(left, top, width, height);
  return c;
}

template <class Sheet = TTabSheet>
Sheet* AddPage(TComponent* owner, TPageControl* pages, const std::wstring& caption) {
  auto* page = Construct<Sheet>(owner);
  page->SetCaption(caption);
  page->SetPageControl(pages);
  return page;
}

}  // namespace testenv
