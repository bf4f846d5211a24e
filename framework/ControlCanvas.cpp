#include "framework/ControlCanvas.h"

#include <algorithm>
#include <vector>

#include "framework/Controls.h"

namespace {

// The system lends few cache contexts at once; beyond this many, the oldest
// canvas that no painter holds gives its own back.
constexpr size_t kMaxHeldContexts = 4;

// Never destroyed, like the bitmap canvases' list: a canvas destroyed at
// exit after this list would still take itself off it.
std::vector<TControlCanvas*>& Holders() {
  static auto* list = new std::vector<TControlCanvas*>;
  return *list;
}

void Forget(TControlCanvas* canvas) {
  auto& list = Holders();
  list.erase(std::remove(list.begin(), list.end(), canvas), list.end());
}

void MakeRoom() {
  auto& list = Holders();
  for (size_t i = 0; list.size() >= kMaxHeldContexts && i < list.size();) {
    TControlCanvas* oldest = list[i];
    if (oldest->LockCount() > 0) {
      ++i;
      continue;
    }
    oldest->FreeHandle();  // removes it from the list
  }
}

}  // namespace

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* control) {
  if (control_ == control) return;
  FreeHandle();
  control_ = control;
}

void TControlCanvas::CreateHandle() {
  if (!control_) return;
  HWND wnd = nullptr;
  int dx = 0, dy = 0;
  bool graphic = false;
  if (auto* win = dynamic_cast<TWinControl*>(control_)) {
    wnd = win->WindowHandle();
  } else if (TWinControl* parent = control_->Parent()) {
    wnd = parent->WindowHandle();
    dx = control_->Left();
    dy = control_->Top();
    graphic = true;
  }
  if (!wnd) return;
  MakeRoom();
  HDC dc = ::GetDCEx(wnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  if (!dc) return;
  if (graphic) {
    ::SetViewportOrgEx(dc, dx, dy, nullptr);
    ::IntersectClipRect(dc, 0, 0, control_->Width(), control_->Height());
  }
  ownedDC_ = dc;
  wnd_ = wnd;
  Holders().push_back(this);
  SetHandle(dc);
}

void TControlCanvas::FreeHandle() {
  if (!ownedDC_) return;
  Forget(this);
  SetHandle(nullptr);
  ::ReleaseDC(wnd_, ownedDC_);
  ownedDC_ = nullptr;
  wnd_ = nullptr;
}

void FreeDeviceContexts() {
  auto list = Holders();
  for (TControlCanvas* c : list)
    if (c->LockCount() == 0) c->FreeHandle();
}

int HeldDeviceContexts() { return static_cast<int>(Holders().size()); }
