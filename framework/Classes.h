// Base classes and string lists. TStrings is the abstract list of strings
// (each with an attached object pointer) that every list-like property of the
// program uses; TStringList keeps its items in memory, and window-backed lists
// (memo lines, list-box and combo items) derive from TStrings and forward the
// primitive virtuals to their window.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// ---- geometry (Win32 layout, so they pass straight to the API) ----
using TRect = RECT;
using TPoint = POINT;
using TSize = SIZE;
inline TRect Rect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) {
  return TRect{left, top, left + width, top + height};
}
inline TPoint Point(int x, int y) { return TPoint{x, y}; }

class TObject {
 public:
  TObject() = default;
  virtual ~TObject() = default;
};

class TPersistent : public TObject {
 public:
  // Copies Source into this object. The default asks Source to AssignTo this
  // object and raises EConvertError ("Cannot assign a X to a Y") when neither
  // side knows how.
  virtual void Assign(TPersistent* Source);

 protected:
  // Returns false when this object cannot be copied into Dest.
  virtual bool AssignTo(TPersistent* Dest);
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

enum class TDuplicates { dupIgnore, dupAccept, dupError };
using enum TDuplicates;

// Encoding of a text file. LoadFromFile recognises a UTF-8 or UTF-16 (LE/BE)
// byte-order mark; a file without one is read in the ANSI code page.
enum class TTextEncoding {
  teAnsi,     // system ANSI code page, no BOM
  teUTF8,     // UTF-8 with BOM
  teUTF8NoBOM,
  teUTF16,    // UTF-16 little endian with BOM
};
using enum TTextEncoding;

// Abstract list of strings with objects. Derived classes implement the
// primitives Get, GetCount, Insert, Delete, Clear (and normally Put,
// GetObject, PutObject, SetUpdateState); everything else is built on them.
// Calls Fn with each line of Text, without its end (CR, LF or CRLF); a
// last line without an end counts, an empty text has none.
template <class Fn>
void ForEachLine(std::wstring_view text, Fn&& fn) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n) {
    const size_t start = i;
    while (i < n && text[i] != L'\r' && text[i] != L'\n') ++i;
    fn(text.substr(start, i - start));
    if (i < n && text[i] == L'\r') ++i;
    if (i < n && text[i] == L'\n') ++i;
  }
}

class TStrings : public TPersistent {
 public:
  TStrings() = default;
  ~TStrings() override = default;
  TStrings(const TStrings&) = delete;
  TStrings& operator=(const TStrings&) = delete;

  // ---- primitives ----
  int Count() const { return GetCount(); }
  std::wstring Strings(int index) const { return Get(index); }
  std::wstring operator[](int index) const { return Get(index); }
  void SetStrings(int index, const std::wstring& s) { Put(index, s); }
  TObject* Objects(int index) const { return GetObject(index); }
  void SetObjects(int index, TObject* obj) { PutObject(index, obj); }

  virtual int Add(const std::wstring& s);
  virtual int AddObject(const std::wstring& s, TObject* obj);
  virtual void Insert(int index, const std::wstring& s) = 0;
  virtual void InsertObject(int index, const std::wstring& s, TObject* obj);
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(int index1, int index2);
  virtual void Move(int curIndex, int newIndex);
  // First index whose string equals s by CompareStrings (case-insensitive
  // here; TStringList follows its CaseSensitive), -1 when none.
  virtual int IndexOf(const std::wstring& s) const;
  virtual int IndexOfName(const std::wstring& name) const;
  int IndexOfObject(TObject* obj) const;
  void AddStrings(const TStrings& source);
  void AddStrings(const std::vector<std::wstring>& source);
  void Assign(TPersistent* Source) override;
  bool Equals(const TStrings& other) const;

  // ---- text ----
  // Every line followed by CR LF.
  virtual std::wstring Text() const;
  // Splits at CR LF, LF or CR; a final line break adds no empty line.
  virtual void SetText(const std::wstring& text);
  // Comma-separated; items holding blanks, commas or quotes are quoted.
  std::wstring CommaText() const;
  void SetCommaText(const std::wstring& text);

  // ---- name=value lines ----
  wchar_t NameValueSeparator = L'=';
  // Part before the first separator; empty when the line has none.
  std::wstring Names(int index) const;
  // Text after "name=" of the first line with that name; empty when none.
  std::wstring Values(const std::wstring& name) const;
  // Replaces the value; adds "name=value" when missing; an empty value
  // deletes the line.
  void SetValues(const std::wstring& name, const std::wstring& value);
  std::wstring ValueFromIndex(int index) const;

  // ---- updates ----
  // Nested; SetUpdateState(true) on the first BeginUpdate, (false) on the
  // matching last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  // ---- files ----
  // Reads the whole file (see TTextEncoding); raises EFOpenError when it
  // cannot be opened. Encoding() tells what was found.
  virtual void LoadFromFile(const std::wstring& fileName);
  // Writes Text() in `encoding`; raises EFCreateError on failure.
  virtual void SaveToFile(const std::wstring& fileName, TTextEncoding encoding = teAnsi) const;
  // Parses bytes of a file image (BOM detection as LoadFromFile).
  void LoadFromBytes(const std::string& bytes);
  std::string SaveToBytes(TTextEncoding encoding = teAnsi) const;
  TTextEncoding Encoding() const { return encoding_; }

  std::vector<std::wstring> ToVector() const;

  // Compares two items' strings: <0, 0, >0. Case-insensitive (user locale).
  virtual int CompareStrings(const std::wstring& a, const std::wstring& b) const;

 protected:
  virtual std::wstring Get(int index) const = 0;
  virtual int GetCount() const = 0;
  virtual void Put(int index, const std::wstring& s);
  virtual TObject* GetObject(int index) const;
  virtual void PutObject(int index, TObject* obj);
  virtual void SetUpdateState(bool updating);
  // Raises EStringListError("List index out of bounds (%d)").
  [[noreturn]] static void Error(const wchar_t* fmt, int data);

  TTextEncoding encoding_ = teAnsi;

 private:
  int updateCount_ = 0;
};

class TStringList;
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

// In-memory list of strings with objects.
class TStringList : public TStrings {
 public:
  TStringList() = default;
  // With ownsObjects, Delete/Clear/destructor delete the attached objects.
  explicit TStringList(bool ownsObjects) : ownsObjects_(ownsObjects) {}
  ~TStringList() override;

  int Add(const std::wstring& s) override;
  int AddObject(const std::wstring& s, TObject* obj) override;
  void Insert(int index, const std::wstring& s) override;
  void InsertObject(int index, const std::wstring& s, TObject* obj) override;
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  int IndexOf(const std::wstring& s) const override;

  // Binary search in a sorted list: true when found; index is the first
  // match or the insertion point.
  virtual bool Find(const std::wstring& s, int& index) const;
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool value);
  bool CaseSensitive() const { return caseSensitive_; }
  void SetCaseSensitive(bool value);
  TDuplicates Duplicates = dupIgnore;
  bool OwnsObjects() const { return ownsObjects_; }
  void SetOwnsObjects(bool value) { ownsObjects_ = value; }

  int CompareStrings(const std::wstring& a, const std::wstring& b) const override;

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  std::wstring Get(int index) const override;
  int GetCount() const override { return static_cast<int>(items_.size()); }
  void Put(int index, const std::wstring& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* obj) override;
  void SetUpdateState(bool updating) override;
  virtual void Changed();
  virtual void Changing();

 private:
  struct Item {
    std::wstring s;
    TObject* obj = nullptr;
  };
  void InsertItem(int index, const std::wstring& s, TObject* obj);
  void CheckIndex(int index) const;
  void QuickSort(int l, int r, const TStringListSortCompare& compare);

  std::vector<Item> items_;
  bool sorted_ = false;
  bool caseSensitive_ = false;
  bool ownsObjects_ = false;
};
