#include "tests/app/settings/SettingsTestSupport.h"

#include <stdexcept>

#include "framework/Buttons.h"
#include "framework/StdCtrls.h"

namespace settingstest {

std::wstring RootName(HKEY root) {
  if (root == HKEY_LOCAL_MACHINE) return L"HKLM";
  if (root == HKEY_CURRENT_USER) return L"HKCU";
  if (root == HKEY_CLASSES_ROOT) return L"HKCR";
  if (root == HKEY_USERS) return L"HKU";
  return L"OTHER";
}

std::wstring ScratchPath(const std::wstring& base, HKEY root, const std::wstring& key) {
  return base + L"\\" + RootName(root) + L"\\" + key;
}

TSettingsKeyMap ScratchMap(const std::wstring& base) {
  return [base](HKEY root, const std::wstring& key) {
    return TSettingsPlace{HKEY_CURRENT_USER, ScratchPath(base, root, key)};
  };
}

namespace {

HKEY Create(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("RegCreateKeyExW failed");
  return key;
}

void Collect(HKEY key, const std::wstring& prefix, std::set<std::wstring>& out) {
  wchar_t name[16384];
  for (DWORD i = 0;; ++i) {
    DWORD len = 16384;
    if (RegEnumValueW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    out.insert(prefix + L"|" + std::wstring(name, len));
  }
  std::vector<std::wstring> subs;
  for (DWORD i = 0;; ++i) {
    DWORD len = 256;
    if (RegEnumKeyExW(key, i, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    subs.emplace_back(name, len);
  }
  for (const auto& s : subs) {
    HKEY sub = nullptr;
    if (RegOpenKeyExW(key, s.c_str(), 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
    Collect(sub, prefix.empty() ? s : prefix + L"\\" + s, out);
    RegCloseKey(sub);
  }
}

}  // namespace

void SetDword(const std::wstring& path, const std::wstring& name, DWORD value) {
  HKEY key = Create(path);
  RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                 sizeof value);
  RegCloseKey(key);
}

void SetText(const std::wstring& path, const std::wstring& name, const std::wstring& text,
             DWORD type) {
  HKEY key = Create(path);
  RegSetValueExW(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

void MakeKey(const std::wstring& path) { RegCloseKey(Create(path)); }

bool KeyExists(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

RawValue ReadValue(const std::wstring& path, const std::wstring& name) {
  RawValue v;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return v;
  DWORD size = 0;
  if (RegQueryValueExW(key, name.c_str(), nullptr, &v.Type, nullptr, &size) == ERROR_SUCCESS) {
    std::vector<BYTE> data(size + 2);
    DWORD got = size;
    RegQueryValueExW(key, name.c_str(), nullptr, &v.Type, data.data(), &got);
    v.Exists = true;
    if (v.Type == REG_DWORD && got == 4) memcpy(&v.Dword, data.data(), 4);
    if (v.Type == REG_SZ || v.Type == REG_EXPAND_SZ)
      v.Text = std::wstring(reinterpret_cast<const wchar_t*>(data.data()), got / 2).c_str();
  }
  RegCloseKey(key);
  return v;
}

std::set<std::wstring> AllValues(const std::wstring& path) {
  std::set<std::wstring> out;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return out;
  Collect(key, L"", out);
  RegCloseKey(key);
  return out;
}

std::vector<TCustomCheckBox*> AllBoxes(TSettingsPages& pages) {
  std::vector<TCustomCheckBox*> r;
  for (const TLoadRow& row : LoadRows())
    if (row.Box) r.push_back(pages.*row.Box);
  return r;
}

std::vector<TEdit*> AllEdits(TSettingsPages& pages) {
  std::vector<TEdit*> r;
  for (const TLoadRow& row : LoadRows())
    if (row.Edit) r.push_back(pages.*row.Edit);
  return r;
}

void ResetControls(TSettingsPages& pages) {
  for (TCustomCheckBox* box : AllBoxes(pages)) box->SetChecked(false);
  for (TCustomCheckBox* box : AllBoxes(pages)) box->SetEnabled(true);
  for (TEdit* edit : AllEdits(pages)) {
    edit->SetText(L"");
    edit->SetEnabled(true);
  }
  for (const TSettingsPageDef& page : SettingsPageDefs()) {
    (pages.*page.OkButton)->SetEnabled(false);
    (pages.*page.NoButton)->SetEnabled(false);
  }
}

PagesState Capture(TSettingsPages& pages) {
  PagesState s;
  for (TCustomCheckBox* box : AllBoxes(pages)) s.Boxes.push_back({box->Checked(), box->Enabled()});
  for (TEdit* edit : AllEdits(pages)) s.Edits.push_back({edit->Text(), edit->Enabled()});
  for (const TSettingsPageDef& page : SettingsPageDefs())
    s.Buttons.push_back({(pages.*page.OkButton)->Enabled(), (pages.*page.NoButton)->Enabled()});
  s.Snapshot = pages.SettingsSnapshot;
  s.Loaded = pages.SettingsLoaded;
  return s;
}

void Restore(TSettingsPages& pages, const PagesState& state) {
  std::vector<TCustomCheckBox*> boxes = AllBoxes(pages);
  std::vector<TEdit*> edits = AllEdits(pages);
  for (size_t i = 0; i < boxes.size(); ++i) boxes[i]->SetChecked(state.Boxes[i].first);
  // Enabled states last: SETCACHEDISC's handler sets CACHEDISC's.
  for (size_t i = 0; i < boxes.size(); ++i) boxes[i]->SetEnabled(state.Boxes[i].second);
  for (size_t i = 0; i < edits.size(); ++i) {
    edits[i]->SetText(state.Edits[i].first);
    edits[i]->SetEnabled(state.Edits[i].second);
  }
  size_t i = 0;
  for (const TSettingsPageDef& page : SettingsPageDefs()) {
    (pages.*page.OkButton)->SetEnabled(state.Buttons[i].first);
    (pages.*page.NoButton)->SetEnabled(state.Buttons[i].second);
    ++i;
  }
  pages.SettingsSnapshot = state.Snapshot;
  pages.SettingsLoaded = state.Loaded;
}

}  // namespace settingstest
