// TComponent: the owned, named building block of forms. An owner frees what
// it owns; components hear about each other's removal through Notification.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <string>
#include <vector>

#include "framework/Classes.h"

enum TComponentStateFlag : uint32_t {
  csLoading = 1u << 0,
  csReading = 1u << 1,
  csWriting = 1u << 2,
  csDestroying = 1u << 3,
  csDesigning = 1u << 4,
  csAncestor = 1u << 5,
  csUpdating = 1u << 6,
  csFixups = 1u << 7,
  csFreeNotification = 1u << 8,
  csInline = 1u << 9,
  csDesignInstance = 1u << 10,
};
using TComponentState = uint32_t;

enum class TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  // The class name, used for window classes and class-name checks.
  virtual const wchar_t* ClassName() const { return L"TComponent"; }
  // Is-a test by name: true when this object's class is `className` or
  // derives from a class of that name (the engine checks for classes of the
  // skinned-control library it cannot see).
  bool InheritsFrom(const wchar_t* className) const;
  // True only when this object's own class is called `className`.
  bool ClassNameIs(const wchar_t* className) const;

  TComponent* Owner() const { return owner_; }
  const std::wstring& Name() const { return name_; }
  virtual void SetName(const std::wstring& value) { name_ = value; }
  intptr_t Tag = 0;

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int index) const { return components_.at(index); }
  int ComponentIndex() const;
  TComponent* FindComponent(const std::wstring& name) const;

  TComponentState ComponentState() const { return state_; }
  bool HasState(TComponentState flags) const { return (state_ & flags) != 0; }

  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  // Asks to hear of `component`'s removal even though we do not own it.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Runs right after the constructor (see Construct<> below).
  virtual void AfterConstruction() {}
  // Runs right before the destructors, while the whole object still stands
  // (see operator delete below): what must happen before any part of the
  // object is gone, such as destroying its window, happens here.
  virtual void BeforeDestruction() {}
  // Every `delete` of a component runs BeforeDestruction first, then the
  // destructors: the mirror of Construct<>.
  void operator delete(TComponent* component, std::destroying_delete_t);
  // The allocation pair of the above (and what frees the storage when a
  // constructor throws).
  static void* operator new(std::size_t size);
  static void operator delete(void* storage);
  // Ends "loading": a form calls it on every component it built once all of
  // them exist, the way reading form data ends.
  virtual void Loaded();
  // Marks the component and everything it owns as being destroyed.
  virtual void Destroying();
  // Calls Loaded on every owned component still loading, depth first.
  void LoadedTree();

 protected:
  virtual void Notification(TComponent* component, TOperation operation);
  void SetComponentState(TComponentState flags) { state_ |= flags; }
  void ClearComponentState(TComponentState flags) { state_ &= ~flags; }

 private:
  void InsertInto(TComponent* owner);
  void NotifyAll(TComponent* component, TOperation operation);

  TComponent* owner_ = nullptr;
  std::wstring name_;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  TComponentState state_ = 0;
};

// Creates a component the way the framework always does: constructor, then
// AfterConstruction (which cannot run from inside a C++ constructor, where
// overrides are not yet in place). Create every component through this.
template <class T, class... Args>
T* Construct(Args&&... args) {
  T* c = new T(std::forward<Args>(args)...);
  c->AfterConstruction();
  return c;
}

// Frees a component and clears the reference (FreeAndNil).
template <class T>
void FreeAndNil(T*& ref) {
  T* p = ref;
  ref = nullptr;
  delete p;
}
