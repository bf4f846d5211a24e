#include "framework/Component.h"

#include <algorithm>
#include <cxxabi.h>
#include <typeinfo>

#include "framework/SysUtils.h"

TComponent::TComponent(TComponent* AOwner) {
  // Components made while their owner is still being built are loading too;
  // the owner finishes them all at once.
  if (AOwner && AOwner->HasState(csLoading)) state_ |= csLoading;
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell everyone who asked that we are going away.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    auto& theirs = other->freeNotifies_;
    theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
    other->Notification(this, TOperation::opRemove);
  }
  // Free owned components, last created first.
  while (!components_.empty()) {
    TComponent* c = components_.back();
    c->Destroying();
    RemoveComponent(c);  // the siblings hear of it
    delete c;
  }
  if (owner_) owner_->RemoveComponent(this);
}

namespace {

// The unqualified name of a class from its mangled type name ("10TsSkinData",
// "N2ns7TWidgetE", "16TTestSkinnedBaseI14TCustomControlE"), without templates'
// arguments: the C++ name of every class of the framework is its class name.
std::wstring PlainTypeName(const char* mangled) {
  const char* p = mangled;
  if (*p == 'N') ++p;  // nested name: walk to its last component
  std::wstring last;
  while (*p >= '0' && *p <= '9') {
    size_t len = 0;
    while (*p >= '0' && *p <= '9') len = len * 10 + static_cast<size_t>(*p++ - '0');
    last.assign(p, p + len);
    p += len;
    if (*p == 'I') break;  // template arguments follow
  }
  return last;
}

// Walks the C++ base classes of `type` (single and multiple inheritance)
// looking for one called `name`.
bool TypeInherits(const std::type_info* type, const wchar_t* name) {
  if (SameText(PlainTypeName(type->name()), name)) return true;
  if (auto* si = dynamic_cast<const abi::__si_class_type_info*>(type))
    return TypeInherits(si->__base_type, name);
  if (auto* vmi = dynamic_cast<const abi::__vmi_class_type_info*>(type)) {
    for (unsigned i = 0; i < vmi->__base_count; ++i)
      if (TypeInherits(vmi->__base_info[i].__base_type, name)) return true;
  }
  return false;
}

}  // namespace

bool TComponent::InheritsFrom(const wchar_t* className) const {
  if (!className) return false;
  // A class may call itself by another name; its own name counts as well.
  return ClassNameIs(className) || TypeInherits(&typeid(*this), className);
}

bool TComponent::ClassNameIs(const wchar_t* className) const {
  return className && SameText(ClassName(), className);
}

// Out of line: inlined, the compiler would take the global functions inside
// them for a mismatched allocation and release.
void* TComponent::operator new(std::size_t size) { return ::operator new(size); }
void TComponent::operator delete(void* storage) { ::operator delete(storage); }

void TComponent::operator delete(TComponent* component, std::destroying_delete_t) {
  void* whole = dynamic_cast<void*>(component);  // the complete object's storage
  component->BeforeDestruction();
  component->~TComponent();
  ::operator delete(whole);
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::wstring& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->Name(), name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component || component->owner_ == this) return;
  if (component->owner_) component->owner_->RemoveComponent(component);
  component->owner_ = this;
  components_.push_back(component);
  NotifyAll(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it == components_.end()) return;
  NotifyAll(component, TOperation::opRemove);
  // NotifyAll may have changed the list; look again.
  it = std::find(components_.begin(), components_.end(), component);
  if (it != components_.end()) components_.erase(it);
  component->owner_ = nullptr;
}

void TComponent::NotifyAll(TComponent* component, TOperation operation) {
  Notification(component, operation);
  // Copy: a handler may insert or remove components.
  std::vector<TComponent*> snapshot = components_;
  for (TComponent* c : snapshot)
    if (c != component) c->Notification(component, operation);
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  auto& theirs = component->freeNotifies_;
  if (std::find(theirs.begin(), theirs.end(), this) == theirs.end()) theirs.push_back(this);
  state_ |= csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component),
                      freeNotifies_.end());
  auto& theirs = component->freeNotifies_;
  theirs.erase(std::remove(theirs.begin(), theirs.end(), this), theirs.end());
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && component) {
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component),
                        freeNotifies_.end());
  }
}

void TComponent::Loaded() { state_ &= ~(csLoading | csReading); }

void TComponent::LoadedTree() {
  std::vector<TComponent*> snapshot = components_;
  for (TComponent* c : snapshot) c->LoadedTree();
  if (HasState(csLoading)) Loaded();
}

void TComponent::Destroying() {
  if (state_ & csDestroying) return;
  state_ |= csDestroying;
  for (TComponent* c : components_) c->Destroying();
}
