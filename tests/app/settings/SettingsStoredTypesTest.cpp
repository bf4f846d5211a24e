// Values the settings pages read, stored with every type a user, a policy
// or another tool may leave: start-up never rewrites them, reads each as the
// number it holds where its type allows, and the pages' Ok leaves alone what
// it cannot read and the user did not change.
#include <gtest/gtest.h>

#include <map>

#include "tests/app/settings/SettingsPagesFixture.h"

using namespace settingstest;

namespace {

struct StoredCase {
  const char* label;
  DWORD type;
  std::vector<BYTE> data;
  bool readsAs1;  // holds the number 1 (as text "1" for the text rows)
};

std::vector<BYTE> Utf16(const std::wstring& s) {
  std::vector<BYTE> b((s.size() + 1) * 2, 0);
  memcpy(b.data(), s.data(), s.size() * 2);
  return b;
}

const std::vector<StoredCase>& Cases() {
  static const std::vector<StoredCase> cases = {
      {"REG_DWORD 1", REG_DWORD, {1, 0, 0, 0}, true},
      {"REG_SZ \"1\"", REG_SZ, Utf16(L"1"), true},
      {"REG_EXPAND_SZ \"1\"", REG_EXPAND_SZ, Utf16(L"1"), true},
      {"REG_BINARY of 4 bytes", REG_BINARY, {1, 0, 0, 0}, true},
      {"REG_BINARY of 0 bytes", REG_BINARY, {}, false},
      {"REG_BINARY of 1 byte", REG_BINARY, {1}, false},
      {"REG_BINARY of 3 bytes", REG_BINARY, {1, 0, 0}, false},
      {"REG_QWORD 1", REG_QWORD, {1, 0, 0, 0, 0, 0, 0, 0}, false},
      {"REG_MULTI_SZ", REG_MULTI_SZ, {'1', 0, 0, 0, 0, 0}, false},
  };
  return cases;
}

struct Raw {
  DWORD type;
  std::vector<BYTE> data;
  bool operator==(const Raw&) const = default;
};

// The number a stored value holds, read independently of the program.
bool Number(const Raw& v, int& n) {
  if ((v.type == REG_DWORD || v.type == REG_BINARY) && v.data.size() == 4) {
    memcpy(&n, v.data.data(), 4);
    return true;
  }
  if ((v.type == REG_SZ || v.type == REG_EXPAND_SZ) && v.data.size() >= 4) {
    n = _wtoi(reinterpret_cast<const wchar_t*>(v.data.data()));
    return true;
  }
  return false;
}

void Put(const std::wstring& path, const std::wstring& name, const StoredCase& c) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, name.c_str(), 0, c.type, c.data.empty() ? nullptr : c.data.data(),
                 static_cast<DWORD>(c.data.size()));
  RegCloseKey(key);
}

void Dump(HKEY key, const std::wstring& sub, std::map<std::wstring, Raw>& out) {
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLen = 256, type = 0, size = 0;
    if (RegEnumValueW(key, i, name, &nameLen, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::vector<BYTE> data(size);
    nameLen = 256;
    RegEnumValueW(key, i, name, &nameLen, nullptr, &type, data.empty() ? nullptr : data.data(), &size);
    data.resize(size);
    out[sub + L"|" + name] = Raw{type, data};
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD nameLen = 256;
    if (RegEnumKeyExW(key, i, name, &nameLen, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY child = nullptr;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, &child) != ERROR_SUCCESS) continue;
    Dump(child, sub + L"\\" + name, out);
    RegCloseKey(child);
  }
}

std::map<std::wstring, Raw> Values(const std::wstring& base) {
  std::map<std::wstring, Raw> out;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, base.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return out;
  Dump(key, L"", out);
  RegCloseKey(key);
  return out;
}

// Every value the pages read, and every value start-up makes exist.
void SeedAll(const std::wstring& base, const StoredCase& c) {
  for (const TLoadRow& row : LoadRows()) {
    if (row.Rule == TReadRule::SubKeyExists) continue;
    for (const wchar_t* name : {row.Name, row.Name2})
      if (name) Put(ScratchPath(base, row.Root, row.Key), name, c);
  }
  for (const TCreateKeyRow& row : CreateKeyRows())
    for (const wchar_t* name : {row.Name, row.Name2})
      if (name) Put(ScratchPath(base, row.Root, row.Key), name, c);
}

class SettingsStoredTypes : public SettingsPagesFixture {
 protected:
  void StartUp() {
    pages_->CreateKeys();
    pages_->LoadRegedit();
    pages_->SCancelSystemSett();
  }
  void ClickEveryOk() {
    for (const TSettingsPageDef& page : SettingsPageDefs()) {
      (pages_->*page.OkButton)->SetEnabled(true);
      (pages_->*page.OkButton)->Click();
    }
  }
};

}  // namespace

TEST_F(SettingsStoredTypes, StartUpLeavesEveryStoredValueByteForByte) {
  for (const StoredCase& c : Cases()) {
    SCOPED_TRACE(c.label);
    const std::wstring base = Use(std::wstring(L"start ") + std::to_wstring(&c - Cases().data()));
    ResetControls(*pages_);
    SeedAll(base, c);
    const auto before = Values(base);
    ASSERT_GE(before.size(), 58u);
    shown_.clear();
    StartUp();
    EXPECT_EQ(Values(base), before);
  }
}

TEST_F(SettingsStoredTypes, ANumberIsReadWhateverTypeHoldsIt) {
  for (const StoredCase& c : Cases()) {
    SCOPED_TRACE(c.label);
    const std::wstring base = Use(std::wstring(L"read ") + std::to_wstring(&c - Cases().data()));
    ResetControls(*pages_);
    SeedAll(base, c);
    shown_.clear();
    StartUp();
    // Integer rows on three pages, a two-value row, text rows and edits.
    for (TCustomCheckBox* box : {pages_->NoRun, pages_->DISRS, pages_->ClFilePod, pages_->ShowHint,
                                 pages_->FullDisNetRes, pages_->AnimPrSvorWindow, pages_->SeeSodMove}) {
      SCOPED_TRACE(box->Name());
      EXPECT_EQ(box->Enabled(), c.readsAs1);
      EXPECT_EQ(box->Checked(), c.readsAs1);
    }
    for (TEdit* edit : {pages_->sEdit5, pages_->sEdit6, pages_->SETTCACHE2LEVEL, pages_->CACHEDISC}) {
      SCOPED_TRACE(edit->Name());
      EXPECT_EQ(edit->Enabled(), c.readsAs1);
      EXPECT_EQ(edit->Text(), c.readsAs1 ? L"1" : L"");
    }
    // The start-menu rows report what they cannot read and stay usable.
    EXPECT_EQ(ShownTexts().empty(), c.readsAs1);
    EXPECT_TRUE(pages_->DelPunktExSys->Enabled());
  }
}

TEST_F(SettingsStoredTypes, OkWritesNeitherTheSameNumberNorWhatItCannotRead) {
  for (const StoredCase& c : Cases()) {
    SCOPED_TRACE(c.label);
    const std::wstring base = Use(std::wstring(L"ok ") + std::to_wstring(&c - Cases().data()));
    ResetControls(*pages_);
    SeedAll(base, c);
    StartUp();
    const auto before = Values(base);
    ClickEveryOk();
    const auto after = Values(base);
    if (!c.readsAs1) {
      // Nothing could be read and the user changed nothing.
      EXPECT_EQ(after, before);
      continue;
    }
    // Every box that shows the stored 1 keeps it in its own type.
    for (const TSettingsPageDef& page : SettingsPageDefs())
      for (const TWriteRow& row : page.Writes) {
        if (row.Source != TWriteSource::Box || !(pages_->*row.Box)->Checked()) continue;
        SCOPED_TRACE(row.Name);
        const std::wstring at = ScratchPath(base, row.Root, row.Key).substr(base.size()) + L"|" + row.Name;
        EXPECT_EQ(after.at(at), before.at(at));
      }
  }
}

TEST_F(SettingsStoredTypes, AChangedSettingIsWrittenInItsStoredTypeOrReplacesWhatCannotBeRead) {
  for (const StoredCase& c : Cases()) {
    SCOPED_TRACE(c.label);
    const std::wstring base = Use(std::wstring(L"change ") + std::to_wstring(&c - Cases().data()));
    ResetControls(*pages_);
    SeedAll(base, c);
    StartUp();
    // The user changes "NoStartMenuMFUprogramsList" (enabled even when it
    // could not be read) to the opposite of what it shows.
    pages_->DelChasP->SetChecked(!pages_->DelChasP->Checked());
    pages_->MPOk->SetEnabled(true);
    pages_->MPOk->Click();
    const auto after = Values(base);
    const std::wstring at = ScratchPath(base, HKEY_CURRENT_USER, kPolicies).substr(base.size()) +
                            L"|NoStartMenuMFUprogramsList";
    if (c.readsAs1) {
      EXPECT_EQ(after.at(at).type, c.type);  // unticked: 0, as the user stored numbers
      int number = -1;
      ASSERT_TRUE(Number(after.at(at), number));
      EXPECT_EQ(number, 0);
    } else {
      EXPECT_EQ(after.at(at), (Raw{REG_DWORD, {1, 0, 0, 0}}));
    }
    // The page's other rows, unchanged by the user, are as they were.
    const std::wstring other = ScratchPath(base, HKEY_CURRENT_USER, kPolicies).substr(base.size()) +
                               L"|NoRecentDocsHistory";
    if (!c.readsAs1) {
      EXPECT_EQ(after.at(other), (Raw{c.type, c.data}));
    }
  }
}
