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

namespace classnames {

class TBaseThing : public TComponent {
 public:
  using TComponent::TComponent;
  const wchar_t* ClassName() const override { return L"TBaseThing"; }
};
class TDerivedThing : public TBaseThing {
 public:
  using TBaseThing::TBaseThing;
  const wchar_t* ClassName() const override { return L"TDerivedThing"; }
};
// Adds no name of its own: it still is every class above it.
class TUnnamedThing : public TDerivedThing {
 public:
  using TDerivedThing::TDerivedThing;
};
struct TPageMixin {
  virtual ~TPageMixin() = default;
};
class TMixedThing : public TDerivedThing, public TPageMixin {
 public:
  using TDerivedThing::TDerivedThing;
  const wchar_t* ClassName() const override { return L"TMixedThing"; }
};
// Calls itself by the name of a class it does not derive from.
class TStandIn : public TComponent {
 public:
  using TComponent::TComponent;
  const wchar_t* ClassName() const override { return L"TsSkinProvider"; }
};

}  // namespace classnames

TEST(Component, InheritsFromIsAnIsATestAndClassNameIsTheExactName) {
  using namespace classnames;
  TDerivedThing derived(nullptr);
  TUnnamedThing unnamed(nullptr);
  TMixedThing mixed(nullptr);
  TStandIn standIn(nullptr);
  struct Case {
    const TComponent* object;
    const wchar_t* name;
    bool inherits, exact;
  } cases[] = {
      {&derived, L"TDerivedThing", true, true},   {&derived, L"tderivedthing", true, true},
      {&derived, L"TBaseThing", true, false},     {&derived, L"TComponent", true, false},
      {&derived, L"TMixedThing", false, false},   {&derived, L"TBase", false, false},
      {&unnamed, L"TDerivedThing", true, true},   {&unnamed, L"TUnnamedThing", true, false},
      {&mixed, L"TBaseThing", true, false},       {&mixed, L"TPageMixin", true, false},
      {&standIn, L"TsSkinProvider", true, true},  {&standIn, L"TStandIn", true, false},
      {&standIn, L"TBaseThing", false, false},    {&derived, L"", false, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.object->InheritsFrom(c.name), c.inherits) << c.object->ClassName() << " / " << c.name;
    EXPECT_EQ(c.object->ClassNameIs(c.name), c.exact) << c.object->ClassName() << " / " << c.name;
  }
  EXPECT_FALSE(derived.InheritsFrom(nullptr));
}
