#include "skin/engine/PublishedProps.h"

#include "framework/Controls.h"
#include "framework/Graphics.h"

namespace {

void PublishFrameworkClasses(std::vector<TPublishedProp>& table);

std::vector<TPublishedProp>& Table() {
  static std::vector<TPublishedProp> table = [] {
    std::vector<TPublishedProp> t;
    PublishFrameworkClasses(t);
    return t;
  }();
  return table;
}

// The properties of the framework's own classes that skinning reads by name.
void PublishFrameworkClasses(std::vector<TPublishedProp>& table) {
  auto add = [&](TPublishedProp p) { table.push_back(std::move(p)); };
  TPublishedProp color;
  color.Name = L"Color";
  color.Applies = [](TObject* o) { return dynamic_cast<TControl*>(o) != nullptr; };
  color.GetOrd = [](TObject* o) { return static_cast<long long>(static_cast<TControl*>(o)->Color()); };
  color.SetOrd = [](TObject* o, long long v) {
    static_cast<TControl*>(o)->SetColor(static_cast<TColor>(v));
  };
  add(color);

  TPublishedProp font;
  font.Name = L"Font";
  font.Kind = TPublishedKind::pkObject;
  font.Applies = color.Applies;
  font.GetObject = [](TObject* o) -> TObject* { return static_cast<TControl*>(o)->Font(); };
  add(font);

  TPublishedProp fontColor;
  fontColor.Name = L"Color";
  fontColor.Applies = [](TObject* o) { return dynamic_cast<TFont*>(o) != nullptr; };
  fontColor.GetOrd = [](TObject* o) {
    return static_cast<long long>(static_cast<TFont*>(o)->Color());
  };
  fontColor.SetOrd = [](TObject* o, long long v) {
    static_cast<TFont*>(o)->SetColor(static_cast<TColor>(v));
  };
  add(fontColor);

  TPublishedProp style;
  style.Name = L"Style";
  style.Kind = TPublishedKind::pkSet;
  style.Elements = {L"fsBold", L"fsItalic", L"fsUnderline", L"fsStrikeOut"};
  style.Applies = fontColor.Applies;
  style.GetOrd = [](TObject* o) { return static_cast<long long>(static_cast<TFont*>(o)->Style()); };
  style.SetOrd = [](TObject* o, long long v) {
    static_cast<TFont*>(o)->SetStyle(static_cast<TFontStyles>(v));
  };
  add(style);
}

const TPublishedProp* Find(TObject* obj, const std::wstring& name) {
  if (!obj) return nullptr;
  const auto& table = Table();
  for (auto it = table.rbegin(); it != table.rend(); ++it)
    if (it->Name == name && it->Applies(obj)) return &*it;
  return nullptr;
}

int ElementIndex(const TPublishedProp& p, const std::wstring& name) {
  for (size_t i = 0; i < p.Elements.size() && i < 32; ++i)
    if (p.Elements[i] == name) return static_cast<int>(i);
  return -1;
}

}  // namespace

void PublishProperty(TPublishedProp prop) { Table().push_back(std::move(prop)); }

bool HasProperty(TObject* obj, const std::wstring& propName) {
  return Find(obj, propName) != nullptr;
}

TObject* GetObjectPropByName(TObject* obj, const std::wstring& propName) {
  const TPublishedProp* p = Find(obj, propName);
  if (!p || p->Kind != TPublishedKind::pkObject || !p->GetObject) return nullptr;
  return p->GetObject(obj);
}

int GetIntProp(TObject* obj, const std::wstring& propName) {
  const TPublishedProp* p = Find(obj, propName);
  if (!p || p->Kind == TPublishedKind::pkObject || !p->GetOrd) return -1;
  return static_cast<int>(p->GetOrd(obj));
}

void SetIntProp(TObject* obj, const std::wstring& propName, int value) {
  const TPublishedProp* p = Find(obj, propName);
  if (p && p->Kind != TPublishedKind::pkObject && p->SetOrd) p->SetOrd(obj, value);
}

bool SetPropContains(TObject* obj, const std::wstring& propName, const std::wstring& elemName) {
  const TPublishedProp* p = Find(obj, propName);
  if (!p || p->Kind != TPublishedKind::pkSet) return false;
  int index = ElementIndex(*p, elemName);
  return index >= 0 && ((p->GetOrd(obj) >> index) & 1) != 0;
}

void ChangeSetProp(TObject* obj, const std::wstring& propName, const std::wstring& elemName,
                   bool include) {
  const TPublishedProp* p = Find(obj, propName);
  if (!p || p->Kind != TPublishedKind::pkSet || !p->SetOrd) return;
  // The set's text form: the names of its elements, separated by ",".
  const long long bits = p->GetOrd(obj);
  std::vector<std::wstring> names;
  for (size_t i = 0; i < p->Elements.size() && i < 32; ++i)
    if ((bits >> i) & 1) names.push_back(p->Elements[i]);
  bool present = false;
  for (auto it = names.begin(); it != names.end(); ++it) {
    if (*it == elemName) {
      present = true;
      if (!include) names.erase(it);
      break;
    }
  }
  if (include && !present) names.push_back(elemName);
  long long value = 0;
  for (const std::wstring& n : names) {
    int index = ElementIndex(*p, n);
    if (index >= 0) value |= 1LL << index;
  }
  if (value != bits) p->SetOrd(obj, value);
}
