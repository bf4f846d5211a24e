#include "framework/ControlTable.h"

#include <mutex>
#include <shared_mutex>
#include <unordered_map>

namespace {

// Windows are made and destroyed on their own threads, but any thread may
// ask whose a window is (window from point, another thread's message).
struct Table {
  std::shared_mutex lock;
  std::unordered_map<HWND, TWinControl*> controls;
};

Table& TheTable() {
  static Table* table = new Table;  // outlives every static control
  return *table;
}

}  // namespace

namespace control_table {

void Add(HWND wnd, TWinControl* control) {
  Table& t = TheTable();
  std::unique_lock guard(t.lock);
  t.controls[wnd] = control;
}

void Remove(HWND wnd, TWinControl* control) {
  Table& t = TheTable();
  std::unique_lock guard(t.lock);
  auto it = t.controls.find(wnd);
  if (it != t.controls.end() && it->second == control) t.controls.erase(it);
}

TWinControl* Find(HWND wnd) {
  if (!wnd) return nullptr;
  Table& t = TheTable();
  std::shared_lock guard(t.lock);
  auto it = t.controls.find(wnd);
  return it == t.controls.end() ? nullptr : it->second;
}

}  // namespace control_table
