#include "framework/WindowSubclass.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

namespace {
struct Layer;
}

// The state a running call needs; shared so that a handler that destroys
// its TWindowSubclass still returns through valid memory.
struct TWindowSubclass::Node {
  HWND wnd = nullptr;
  THandler handler;
  bool installed = false;
  int depth = 0;            // calls of the handler now running
  bool passNext = false;    // the next message only passes through
  std::shared_ptr<Node> keepAlive;  // set while the owner is gone mid-call
  // The window's layer, valid while installed (a layer outlives its nodes).
  Layer* layer = nullptr;
  void Remove();
};

namespace {

using NodePtr = std::shared_ptr<TWindowSubclass::Node>;

// Our procedure on one window: the subclasses in the order they were
// installed, and the procedure we replaced. The table is looked up on every
// message, so it lives in the process (a window property would cost a server
// round trip per message under Wine). Windows are subclassed from their own
// thread only, so each thread keeps its own table.
struct Layer {
  WNDPROC previous = nullptr;
  std::vector<NodePtr> nodes;
  int running = 0;  // messages of this window now in our procedure
};

std::unordered_map<HWND, Layer>& Layers() {
  thread_local std::unordered_map<HWND, Layer> layers;
  return layers;
}

LRESULT CALLBACK LayerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

Layer* LayerOf(HWND wnd) {
  auto it = Layers().find(wnd);
  return it == Layers().end() ? nullptr : &it->second;
}

// Gives the window its replaced procedure back once nothing of ours is left
// on it and nothing is running, unless another subclass sits on top of ours:
// that one holds our procedure, which then stays as a plain pass-through
// until it is the head again.
void Retire(HWND wnd) {
  Layer* layer = LayerOf(wnd);
  if (!layer || !layer->nodes.empty() || layer->running > 0) return;
  if (::IsWindow(wnd)) {
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(wnd, GWLP_WNDPROC)) != &LayerProc) return;
    ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(layer->previous));
  }
  Layers().erase(wnd);
}

LRESULT Invoke(const NodePtr& node, UINT msg, WPARAM wParam, LPARAM lParam) {
  ++node->depth;
  LRESULT result = node->handler(msg, wParam, lParam);
  --node->depth;
  // The window goes: whatever the handler did, nothing of ours may stay on it.
  if (msg == WM_NCDESTROY) node->Remove();
  if (node->depth == 0) node->keepAlive.reset();
  return result;
}

// Runs the message through the subclasses installed before `above` (all of
// them for null), newest first, and then the replaced procedure.
LRESULT Dispatch(HWND wnd, Layer& layer, const TWindowSubclass::Node* above, UINT msg,
                 WPARAM wParam, LPARAM lParam) {
  size_t i = layer.nodes.size();
  if (above) {
    auto it = std::find_if(layer.nodes.begin(), layer.nodes.end(),
                           [above](const NodePtr& n) { return n.get() == above; });
    i = static_cast<size_t>(it - layer.nodes.begin());
  }
  while (i-- > 0) {
    NodePtr node = layer.nodes[i];
    if (std::exchange(node->passNext, false)) continue;
    return Invoke(node, msg, wParam, lParam);
  }
  return ::CallWindowProcW(layer.previous, wnd, msg, wParam, lParam);
}

LRESULT CALLBACK LayerProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Layer* layer = LayerOf(wnd);
  if (!layer) return ::DefWindowProcW(wnd, msg, wParam, lParam);
  ++layer->running;
  LRESULT result = Dispatch(wnd, *layer, nullptr, msg, wParam, lParam);
  --layer->running;
  if (msg == WM_NCDESTROY) {
    for (const NodePtr& node : std::vector<NodePtr>(layer->nodes)) node->Remove();
  }
  Retire(wnd);
  return result;
}

}  // namespace

void TWindowSubclass::Node::Remove() {
  if (!installed) return;
  installed = false;
  Layer* layer = LayerOf(wnd);
  if (!layer) return;
  auto& nodes = layer->nodes;
  nodes.erase(std::remove_if(nodes.begin(), nodes.end(),
                             [this](const NodePtr& n) { return n.get() == this; }),
              nodes.end());
  Retire(wnd);
}

TWindowSubclass::TWindowSubclass(HWND wnd, THandler handler) : node_(std::make_shared<Node>()) {
  node_->wnd = wnd;
  node_->handler = std::move(handler);
  if (!wnd || !::IsWindow(wnd)) return;
  // Like the platform's subclass chain: only from the window's own thread.
  if (::GetWindowThreadProcessId(wnd, nullptr) != ::GetCurrentThreadId()) return;
  Layer* layer = LayerOf(wnd);
  if (!layer) {
    const LONG_PTR previous =
        ::SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LayerProc));
    if (!previous) return;
    layer = &Layers()[wnd];
    layer->previous = reinterpret_cast<WNDPROC>(previous);
  }
  // A window whose procedure another subclass has replaced since keeps ours
  // under it: the new one joins ours there.
  layer->nodes.push_back(node_);
  node_->layer = layer;
  node_->installed = true;
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
  // Inside a call, straight down to the procedures behind this subclass.
  if (node_->depth > 0 && node_->installed) {
    Layer* layer = node_->layer;
    ++layer->running;
    LRESULT result = Dispatch(node_->wnd, *layer, node_.get(), msg, wParam, lParam);
    --layer->running;
    return result;
  }
  // Outside a call, or once removed: through the window, past this subclass.
  if (!::IsWindow(node_->wnd)) return 0;
  node_->passNext = node_->installed;
  LRESULT result = ::SendMessageW(node_->wnd, msg, wParam, lParam);
  node_->passNext = false;
  return result;
}
