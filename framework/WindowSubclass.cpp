#include "framework/WindowSubclass.h"

#include <commctrl.h>

#include <utility>

// The state a running call needs; shared so that a handler that destroys
// its TWindowSubclass still returns through valid memory.
struct TWindowSubclass::Node : std::enable_shared_from_this<TWindowSubclass::Node> {
  HWND wnd = nullptr;
  THandler handler;
  bool installed = false;
  int depth = 0;            // calls of the handler now running
  int passes = 0;           // messages passed on by the innermost call
  bool passNext = false;    // the next message only passes through
  std::shared_ptr<Node> keepAlive;  // set while the owner is gone mid-call

  static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam,
                               UINT_PTR id, DWORD_PTR refData);
  void Remove() {
    if (!installed) return;
    installed = false;
    ::RemoveWindowSubclass(wnd, &Node::Proc, reinterpret_cast<UINT_PTR>(this));
  }
};

LRESULT CALLBACK TWindowSubclass::Node::Proc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR refData) {
  Node* raw = reinterpret_cast<Node*>(refData);
  if (raw->passNext || !raw->installed) {
    raw->passNext = false;
    return ::DefSubclassProc(wnd, msg, wParam, lParam);
  }
  std::shared_ptr<Node> node = raw->shared_from_this();
  ++node->depth;
  const int outerPasses = std::exchange(node->passes, 0);
  LRESULT result = node->handler(msg, wParam, lParam);
  node->passes = outerPasses;
  --node->depth;
  // The window goes: whatever the handler did, nothing of ours may stay on it.
  if (msg == WM_NCDESTROY) node->Remove();
  if (node->depth == 0) node->keepAlive.reset();
  return result;
}

TWindowSubclass::TWindowSubclass(HWND wnd, THandler handler) : node_(std::make_shared<Node>()) {
  node_->wnd = wnd;
  node_->handler = std::move(handler);
  node_->installed =
      wnd && ::SetWindowSubclass(wnd, &Node::Proc, reinterpret_cast<UINT_PTR>(node_.get()),
                                 reinterpret_cast<DWORD_PTR>(node_.get()));
}

TWindowSubclass::~TWindowSubclass() {
  node_->Remove();
  // A handler running now owns its captures until it returns.
  if (node_->depth > 0) node_->keepAlive = node_;
}

HWND TWindowSubclass::Handle() const { return node_->wnd; }
bool TWindowSubclass::Installed() const { return node_->installed; }
void TWindowSubclass::Remove() { node_->Remove(); }

LRESULT TWindowSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) {
  // comctl32 may move its chain position on with each DefSubclassProc of a
  // call (Wine does), so only the first pass of a call goes that way.
  if (node_->depth > 0 && node_->passes++ == 0)
    return ::DefSubclassProc(node_->wnd, msg, wParam, lParam);
  if (!::IsWindow(node_->wnd)) return 0;
  node_->passNext = node_->installed;
  LRESULT result = ::SendMessageW(node_->wnd, msg, wParam, lParam);
  node_->passNext = false;
  return result;
}
