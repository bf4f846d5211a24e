// Private helpers of TCustomListView and its items (ListView.cpp and
// ListViewItems.cpp); not part of the framework's interface.
#pragma once

#include "framework/ListView.h"

namespace listview_detail {

inline int ColumnFormat(TAlignment a) {
  switch (a) {
    case taRightJustify: return LVCFMT_RIGHT;
    case taCenter: return LVCFMT_CENTER;
    default: return LVCFMT_LEFT;
  }
}

// Counts the framework's own changes to the window, during which the
// window's notifications are not passed on as events.
class QuietScope {
 public:
  explicit QuietScope(int& counter) : counter_(counter) { ++counter_; }
  ~QuietScope() { --counter_; }
  QuietScope(const QuietScope&) = delete;
  QuietScope& operator=(const QuietScope&) = delete;

 private:
  int& counter_;
};

inline UINT WindowState(const TCustomListView* lv, int index, UINT mask) {
  return static_cast<UINT>(SendMessageW(lv->WindowHandle(), LVM_GETITEMSTATE, index, mask));
}

inline void SetWindowState(TCustomListView* lv, int index, UINT state, UINT mask) {
  LVITEMW it{};
  it.state = state;
  it.stateMask = mask;
  SendMessageW(lv->WindowHandle(), LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&it));
}

}  // namespace listview_detail
