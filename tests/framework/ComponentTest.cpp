// Ownership and notification between components.
#include <gtest/gtest.h>

#include <vector>

#include "framework/Component.h"

namespace {

// Records the notifications it hears and reports its own destruction.
class Recorder : public TComponent {
 public:
  Recorder(TComponent* owner, std::vector<std::wstring>* log) : TComponent(owner), log_(log) {}
  ~Recorder() override { log_->push_back(L"free " + Name()); }
  void Loaded() override {
    TComponent::Loaded();
    log_->push_back(L"loaded " + Name());
  }

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    log_->push_back(Name() + (op == TOperation::opInsert ? L" +" : L" -") + c->Name());
  }

 private:
  std::vector<std::wstring>* log_;
};

TEST(Component, OwnerFreesOwnedInReverseOrderAndHearsInsertAndRemove) {
  std::vector<std::wstring> log;
  auto* owner = new Recorder(nullptr, &log);
  owner->SetName(L"owner");
  auto* a = new Recorder(owner, &log);
  a->SetName(L"a");
  auto* b = new Recorder(owner, &log);
  b->SetName(L"b");
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->FindComponent(L"B"), b) << "names compare without case";
  EXPECT_EQ(b->ComponentIndex(), 1);
  log.clear();
  delete owner;
  // The owner's own destructor body runs first, then the owned components
  // go, last made first, each removal announced to the remaining siblings.
  std::vector<std::wstring> expected = {L"free owner", L"a -b", L"free b", L"free a"};
  EXPECT_EQ(log, expected);
}

TEST(Component, FreeNotificationReachesNonOwnersBothWays) {
  std::vector<std::wstring> log;
  auto* watcher = new Recorder(nullptr, &log);
  watcher->SetName(L"watcher");
  auto* watched = new Recorder(nullptr, &log);
  watched->SetName(L"watched");
  watched->FreeNotification(watcher);
  log.clear();
  delete watched;
  EXPECT_EQ(log, (std::vector<std::wstring>{L"free watched", L"watcher -watched"}));
  log.clear();
  delete watcher;  // must not touch the freed component
  EXPECT_EQ(log, (std::vector<std::wstring>{L"free watcher"}));
}

TEST(Component, ComponentsMadeWhileOwnerLoadsAreLoadedTogether) {
  std::vector<std::wstring> log;
  auto* form = new Recorder(nullptr, &log);
  form->SetName(L"form");
  // A form sets csLoading in its constructor; its children inherit it.
  struct Loading : Recorder {
    using Recorder::Recorder;
    void Begin() { SetComponentState(csLoading); }
  };
  auto* loading = new Loading(nullptr, &log);
  loading->SetName(L"root");
  loading->Begin();
  auto* child = new Recorder(loading, &log);
  child->SetName(L"child");
  EXPECT_TRUE(child->HasState(csLoading));
  log.clear();
  loading->LoadedTree();
  EXPECT_EQ(log, (std::vector<std::wstring>{L"loaded child", L"loaded root"}));
  EXPECT_FALSE(child->HasState(csLoading));
  delete loading;
  delete form;
}

TEST(Component, RemovingFromOwnerKeepsTheComponentAlive) {
  std::vector<std::wstring> log;
  auto* owner = new Recorder(nullptr, &log);
  auto* c = new Recorder(owner, &log);
  owner->RemoveComponent(c);
  EXPECT_EQ(c->Owner(), nullptr);
  log.clear();
  delete owner;
  EXPECT_EQ(log.size(), 1u) << "only the owner itself was freed";
  delete c;
}

}  // namespace
