// Published properties by name, for controls that the skin engine reaches
// only through the names of their properties. There is no run-time type
// information here: classes publish their properties into a small table
// (ordinal, object and set properties, each with its getter and setter), and
// the look-ups below walk that table for the object's class and its bases.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "framework/Classes.h"

enum class TPublishedKind { pkOrdinal, pkObject, pkSet };

struct TPublishedProp {
  std::wstring Name;
  TPublishedKind Kind = TPublishedKind::pkOrdinal;
  // True when the object is of the publishing class (or derives from it).
  std::function<bool(TObject*)> Applies;
  std::function<long long(TObject*)> GetOrd;       // ordinal and set (bit n = element n)
  std::function<void(TObject*, long long)> SetOrd;  // may be empty: read-only
  std::function<TObject*(TObject*)> GetObject;     // object properties
  std::vector<std::wstring> Elements;              // set element names by position
};

// Adds a property to the table; later entries of the same name for a more
// derived class are found first.
void PublishProperty(TPublishedProp prop);

template <class T>
void PublishOrdinal(const std::wstring& name, std::function<long long(T*)> get,
                    std::function<void(T*, long long)> set = {}) {
  TPublishedProp p;
  p.Name = name;
  p.Kind = TPublishedKind::pkOrdinal;
  p.Applies = [](TObject* o) { return dynamic_cast<T*>(o) != nullptr; };
  p.GetOrd = [get](TObject* o) { return get(static_cast<T*>(o)); };
  if (set) p.SetOrd = [set](TObject* o, long long v) { set(static_cast<T*>(o), v); };
  PublishProperty(std::move(p));
}

template <class T>
void PublishObject(const std::wstring& name, std::function<TObject*(T*)> get) {
  TPublishedProp p;
  p.Name = name;
  p.Kind = TPublishedKind::pkObject;
  p.Applies = [](TObject* o) { return dynamic_cast<T*>(o) != nullptr; };
  p.GetObject = [get](TObject* o) { return get(static_cast<T*>(o)); };
  PublishProperty(std::move(p));
}

template <class T>
void PublishSet(const std::wstring& name, std::vector<std::wstring> elements,
                std::function<long long(T*)> get, std::function<void(T*, long long)> set) {
  TPublishedProp p;
  p.Name = name;
  p.Kind = TPublishedKind::pkSet;
  p.Elements = std::move(elements);
  p.Applies = [](TObject* o) { return dynamic_cast<T*>(o) != nullptr; };
  p.GetOrd = [get](TObject* o) { return get(static_cast<T*>(o)); };
  p.SetOrd = [set](TObject* o, long long v) { set(static_cast<T*>(o), v); };
  PublishProperty(std::move(p));
}

// The object's class has a published property of that name.
bool HasProperty(TObject* obj, const std::wstring& propName);
// The object held by that property; null when there is no such property.
TObject* GetObjectPropByName(TObject* obj, const std::wstring& propName);
// The ordinal value; -1 when there is no such property.
int GetIntProp(TObject* obj, const std::wstring& propName);
// Sets the ordinal value when the property exists.
void SetIntProp(TObject* obj, const std::wstring& propName, int value);
// The set-typed property contains the element of that name (positions 0 to 31).
bool SetPropContains(TObject* obj, const std::wstring& propName, const std::wstring& elemName);
// Adds or removes one element of a set-typed property through its text form
// (element names separated by ","); nothing when the property does not exist.
void ChangeSetProp(TObject* obj, const std::wstring& propName, const std::wstring& elemName,
                   bool include);
