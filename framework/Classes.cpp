#include "framework/Classes.h"

#include <typeinfo>

#include "framework/FileBytes.h"
#include "framework/Handles.h"
#include "framework/SysUtils.h"

// ---------------------------------------------------------------------------
// TPersistent
// ---------------------------------------------------------------------------

static std::wstring ClassNameOf(const TObject* o) {
  if (!o) return L"nil";
  const char* n = typeid(*o).name();
  // Itanium mangling of a plain class: <length><name>.
  while (*n >= '0' && *n <= '9') ++n;
  return AnsiToWide(n);
}

void TPersistent::Assign(TPersistent* Source) {
  if (Source && Source->AssignTo(this)) return;
  throw EConvertError(L"Cannot assign a " + ClassNameOf(Source) + L" to a " + ClassNameOf(this));
}

bool TPersistent::AssignTo(TPersistent*) { return false; }

// ---------------------------------------------------------------------------
// TStrings
// ---------------------------------------------------------------------------

void TStrings::Error(const wchar_t* fmt, int data) { throw EStringListError(Format(fmt, data)); }

int TStrings::Add(const std::wstring& s) {
  int i = GetCount();
  Insert(i, s);
  return i;
}

int TStrings::AddObject(const std::wstring& s, TObject* obj) {
  int i = Add(s);
  PutObject(i, obj);
  return i;
}

void TStrings::InsertObject(int index, const std::wstring& s, TObject* obj) {
  Insert(index, s);
  PutObject(index, obj);
}

void TStrings::Put(int index, const std::wstring& s) {
  TObject* obj = GetObject(index);
  BeginUpdate();
  try {
    Delete(index);
    InsertObject(index, s, obj);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}
void TStrings::SetUpdateState(bool) {}

void TStrings::Exchange(int index1, int index2) {
  BeginUpdate();
  try {
    std::wstring s1 = Get(index1), s2 = Get(index2);
    TObject* o1 = GetObject(index1);
    TObject* o2 = GetObject(index2);
    Put(index1, s2);
    PutObject(index1, o2);
    Put(index2, s1);
    PutObject(index2, o1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  BeginUpdate();
  try {
    std::wstring s = Get(curIndex);
    TObject* obj = GetObject(curIndex);
    PutObject(curIndex, nullptr);
    Delete(curIndex);
    InsertObject(newIndex, s, obj);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

int TStrings::CompareStrings(const std::wstring& a, const std::wstring& b) const {
  return AnsiCompareText(a, b);
}

int TStrings::IndexOf(const std::wstring& s) const {
  int n = GetCount();
  for (int i = 0; i < n; ++i)
    if (CompareStrings(Get(i), s) == 0) return i;
  return -1;
}

static std::wstring NamePart(const std::wstring& line, wchar_t sep, bool* hasSep = nullptr) {
  size_t p = line.find(sep);
  if (hasSep) *hasSep = p != std::wstring::npos;
  return p == std::wstring::npos ? std::wstring() : line.substr(0, p);
}

int TStrings::IndexOfName(const std::wstring& name) const {
  int n = GetCount();
  for (int i = 0; i < n; ++i) {
    bool has = false;
    std::wstring nm = NamePart(Get(i), NameValueSeparator, &has);
    if (has && CompareStrings(nm, name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(TObject* obj) const {
  int n = GetCount();
  for (int i = 0; i < n; ++i)
    if (GetObject(i) == obj) return i;
  return -1;
}

void TStrings::AddStrings(const TStrings& source) {
  BeginUpdate();
  try {
    int n = source.Count();
    for (int i = 0; i < n; ++i) AddObject(source.Get(i), source.GetObject(i));
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::AddStrings(const std::vector<std::wstring>& source) {
  BeginUpdate();
  try {
    for (const auto& s : source) Add(s);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TStrings::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TStrings*>(Source)) {
    if (src == this) return;
    BeginUpdate();
    try {
      Clear();
      NameValueSeparator = src->NameValueSeparator;
      AddStrings(*src);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
    return;
  }
  TPersistent::Assign(Source);
}

bool TStrings::Equals(const TStrings& other) const {
  int n = GetCount();
  if (n != other.GetCount()) return false;
  for (int i = 0; i < n; ++i)
    if (Get(i) != other.Get(i)) return false;
  return true;
}

std::wstring TStrings::Text() const {
  std::wstring r;
  int n = GetCount();
  for (int i = 0; i < n; ++i) {
    r += Get(i);
    r += L"\r\n";
  }
  return r;
}

void TStrings::SetText(const std::wstring& text) {
  BeginUpdate();
  try {
    Clear();
    ForEachLine(text, [this](std::wstring_view line) { Add(std::wstring(line)); });
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::wstring TStrings::CommaText() const {
  std::wstring r;
  int n = GetCount();
  for (int i = 0; i < n; ++i) {
    std::wstring s = Get(i);
    bool quote = s.empty() && n == 1;
    for (wchar_t c : s)
      if (c <= L' ' || c == L',' || c == L'"') quote = true;
    if (i) r += L',';
    if (quote) {
      r += L'"';
      for (wchar_t c : s) {
        if (c == L'"') r += L'"';
        r += c;
      }
      r += L'"';
    } else {
      r += s;
    }
  }
  return r;
}

void TStrings::SetCommaText(const std::wstring& text) {
  BeginUpdate();
  try {
    Clear();
    size_t i = 0, n = text.size();
    auto skipBlanks = [&] {
      while (i < n && text[i] > 0 && text[i] <= L' ') ++i;
    };
    skipBlanks();
    while (i < n) {
      std::wstring item;
      if (text[i] == L'"') {
        ++i;
        while (i < n) {
          if (text[i] == L'"') {
            if (i + 1 < n && text[i + 1] == L'"') {
              item += L'"';
              i += 2;
              continue;
            }
            ++i;
            break;
          }
          item += text[i++];
        }
      } else {
        while (i < n && text[i] > L' ' && text[i] != L',') item += text[i++];
      }
      Add(item);
      skipBlanks();
      if (i < n && text[i] == L',') {
        ++i;
        skipBlanks();
        if (i >= n) Add(std::wstring());
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::wstring TStrings::Names(int index) const { return NamePart(Get(index), NameValueSeparator); }

std::wstring TStrings::Values(const std::wstring& name) const {
  int i = IndexOfName(name);
  return i < 0 ? std::wstring() : ValueFromIndex(i);
}

void TStrings::SetValues(const std::wstring& name, const std::wstring& value) {
  int i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  std::wstring line = name + NameValueSeparator + value;
  if (i < 0) Add(line);
  else Put(i, line);
}

std::wstring TStrings::ValueFromIndex(int index) const {
  std::wstring s = Get(index);
  size_t p = s.find(NameValueSeparator);
  return p == std::wstring::npos ? std::wstring() : s.substr(p + 1);
}

void TStrings::BeginUpdate() {
  // The state changes before the count goes up, so OnChanging still fires.
  if (updateCount_ == 0) SetUpdateState(true);
  ++updateCount_;
}

void TStrings::EndUpdate() {
  if (updateCount_ <= 0) return;
  if (--updateCount_ == 0) SetUpdateState(false);
}

// ---- encodings ----

static std::wstring DecodeText(const std::string& bytes, TTextEncoding& enc) {
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t n = bytes.size();
  if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
    enc = teUTF8;
    return Utf8ToWide(bytes.substr(3));
  }
  if (n >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
    enc = teUTF16;
    bool be = b[0] == 0xFE;
    std::wstring r;
    r.reserve((n - 2) / 2);
    for (size_t i = 2; i + 1 < n; i += 2)
      r += be ? wchar_t((b[i] << 8) | b[i + 1]) : wchar_t(b[i] | (b[i + 1] << 8));
    return r;
  }
  enc = teAnsi;
  return AnsiToWide(bytes);
}

static std::string EncodeText(const std::wstring& text, TTextEncoding enc) {
  switch (enc) {
    case teUTF8:
      return "\xEF\xBB\xBF" + WideToUtf8(text);
    case teUTF8NoBOM:
      return WideToUtf8(text);
    case teUTF16: {
      std::string r("\xFF\xFE", 2);
      r.reserve(2 + text.size() * 2);
      for (wchar_t c : text) {
        r += char(c & 0xFF);
        r += char((c >> 8) & 0xFF);
      }
      return r;
    }
    case teAnsi:
    default:
      return WideToAnsi(text);
  }
}

void TStrings::LoadFromBytes(const std::string& bytes) {
  TTextEncoding enc = teAnsi;
  std::wstring text = DecodeText(bytes, enc);
  encoding_ = enc;
  SetText(text);
}

std::string TStrings::SaveToBytes(TTextEncoding encoding) const { return EncodeText(Text(), encoding); }

void TStrings::LoadFromFile(const std::wstring& fileName) {
  LoadFromBytes(ReadFileBytes(fileName, FILE_SHARE_READ | FILE_SHARE_WRITE));
}

void TStrings::SaveToFile(const std::wstring& fileName, TTextEncoding encoding) const {
  WriteFileBytes(fileName, SaveToBytes(encoding));
}

std::vector<std::wstring> TStrings::ToVector() const {
  std::vector<std::wstring> r;
  int n = GetCount();
  r.reserve(n);
  for (int i = 0; i < n; ++i) r.push_back(Get(i));
  return r;
}

// ---------------------------------------------------------------------------
// TStringList
// ---------------------------------------------------------------------------

TStringList::~TStringList() {
  OnChange = nullptr;
  OnChanging = nullptr;
  if (ownsObjects_)
    for (auto& it : items_) delete std::exchange(it.obj, nullptr);
}

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= static_cast<int>(items_.size()))
    Error(L"List index out of bounds (%d)", index);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating) Changing();
  else Changed();
}

int TStringList::CompareStrings(const std::wstring& a, const std::wstring& b) const {
  return caseSensitive_ ? AnsiCompareStr(a, b) : AnsiCompareText(a, b);
}

std::wstring TStringList::Get(int index) const {
  CheckIndex(index);
  return items_[index].s;
}

TObject* TStringList::GetObject(int index) const {
  CheckIndex(index);
  return items_[index].obj;
}

void TStringList::Put(int index, const std::wstring& s) {
  if (sorted_) throw EStringListError(L"Operation not allowed on sorted list");
  CheckIndex(index);
  Changing();
  items_[index].s = s;
  Changed();
}

void TStringList::PutObject(int index, TObject* obj) {
  CheckIndex(index);
  Changing();
  items_[index].obj = obj;
  Changed();
}

void TStringList::InsertItem(int index, const std::wstring& s, TObject* obj) {
  Changing();
  items_.insert(items_.begin() + index, Item{s, obj});
  Changed();
}

int TStringList::Add(const std::wstring& s) { return AddObject(s, nullptr); }

int TStringList::AddObject(const std::wstring& s, TObject* obj) {
  int index;
  if (!sorted_) {
    index = static_cast<int>(items_.size());
  } else if (Find(s, index)) {
    switch (Duplicates) {
      case dupIgnore:
        return index;
      case dupError:
        throw EStringListError(L"String list does not allow duplicates");
      case dupAccept:
        break;
    }
  }
  InsertItem(index, s, obj);
  return index;
}

void TStringList::Insert(int index, const std::wstring& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const std::wstring& s, TObject* obj) {
  if (sorted_) throw EStringListError(L"Operation not allowed on sorted list");
  if (index < 0 || index > static_cast<int>(items_.size()))
    Error(L"List index out of bounds (%d)", index);
  InsertItem(index, s, obj);
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  TObject* obj = items_[index].obj;
  items_.erase(items_.begin() + index);
  if (ownsObjects_) delete obj;
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  std::vector<Item> old;
  old.swap(items_);
  if (ownsObjects_)
    for (auto& it : old) delete it.obj;
  Changed();
}

void TStringList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(items_[index1], items_[index2]);
  Changed();
}

int TStringList::IndexOf(const std::wstring& s) const {
  if (!sorted_) return TStrings::IndexOf(s);
  int i;
  return Find(s, i) ? i : -1;
}

bool TStringList::Find(const std::wstring& s, int& index) const {
  int l = 0, h = static_cast<int>(items_.size()) - 1;
  bool found = false;
  while (l <= h) {
    int i = (l + h) / 2;
    int c = CompareStrings(items_[i].s, s);
    if (c < 0) {
      l = i + 1;
    } else {
      h = i - 1;
      if (c == 0) found = true;  // keep searching left for the first match
    }
  }
  index = l;
  return found;
}

void TStringList::QuickSort(int l, int r, const TStringListSortCompare& compare) {
  // Hoare partition on indices; compare sees the list in its current state,
  // as a custom sort callback expects.
  while (l < r) {
    int i = l, j = r, p = (l + r) / 2;
    do {
      while (compare(this, i, p) < 0) ++i;
      while (compare(this, j, p) > 0) --j;
      if (i <= j) {
        if (i != j) std::swap(items_[i], items_[j]);
        if (p == i) p = j;
        else if (p == j) p = i;
        ++i;
        --j;
      }
    } while (i <= j);
    if (j - l < r - i) {
      if (l < j) QuickSort(l, j, compare);
      l = i;
    } else {
      if (i < r) QuickSort(i, r, compare);
      r = j;
    }
  }
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  if (sorted_ || items_.size() < 2) return;
  Changing();
  QuickSort(0, static_cast<int>(items_.size()) - 1, compare);
  Changed();
}

void TStringList::Sort() {
  if (items_.size() < 2) return;
  Changing();
  QuickSort(0, static_cast<int>(items_.size()) - 1, [](TStringList* list, int a, int b) {
    return list->CompareStrings(list->items_[a].s, list->items_[b].s);
  });
  Changed();
}

void TStringList::SetSorted(bool value) {
  if (sorted_ == value) return;
  if (value) Sort();
  sorted_ = value;
}

void TStringList::SetCaseSensitive(bool value) {
  if (caseSensitive_ == value) return;
  caseSensitive_ = value;
  if (sorted_) Sort();
}
