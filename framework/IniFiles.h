// INI files. TIniFile goes through the Windows profile functions, so every
// write reaches the file at once (in the ANSI code page unless the file is
// already UTF-16); TMemIniFile parses the whole text into memory and writes
// only on UpdateFile. Section and key names compare without regard to case.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/Classes.h"

class TCustomIniFile : public TObject {
 public:
  explicit TCustomIniFile(std::wstring fileName) : fileName_(std::move(fileName)) {}
  const std::wstring& FileName() const { return fileName_; }

  virtual std::wstring ReadString(const std::wstring& section, const std::wstring& ident,
                                  const std::wstring& def) const = 0;
  virtual void WriteString(const std::wstring& section, const std::wstring& ident,
                           const std::wstring& value) = 0;
  // Decimal, or hexadecimal after "$" or "0x"; `def` for anything else.
  virtual int ReadInteger(const std::wstring& section, const std::wstring& ident, int def) const;
  virtual void WriteInteger(const std::wstring& section, const std::wstring& ident, int value);
  // Read as an integer: 0 is false, any other number true; `def` otherwise.
  virtual bool ReadBool(const std::wstring& section, const std::wstring& ident, bool def) const;
  // Written as "1" / "0".
  virtual void WriteBool(const std::wstring& section, const std::wstring& ident, bool value);

  // Key names of a section, in file order.
  virtual void ReadSection(const std::wstring& section, TStrings& strings) const = 0;
  // Section names, in file order.
  virtual void ReadSections(TStrings& strings) const = 0;
  // "key=value" lines of a section.
  virtual void ReadSectionValues(const std::wstring& section, TStrings& strings) const = 0;
  virtual void EraseSection(const std::wstring& section) = 0;
  virtual void DeleteKey(const std::wstring& section, const std::wstring& ident) = 0;
  virtual void UpdateFile() = 0;

  virtual bool SectionExists(const std::wstring& section) const;
  virtual bool ValueExists(const std::wstring& section, const std::wstring& ident) const;

 protected:
  std::wstring fileName_;
};

// Whole INI text in memory. Lines are trimmed; empty lines and lines starting
// with ";" are dropped; "[name]" opens a section; other lines belong to the
// current section (lines before the first section are ignored). Key lookup
// compares the part before the first "=" (trimmed) case-insensitively; the
// value is the text after it, as written. A repeated section name adds a
// second section, and lookups find the first one.
class TMemIniFile : public TCustomIniFile {
 public:
  // Reads the file when it exists (BOM detection, otherwise ANSI); an empty
  // name makes an empty in-memory file (fill it with SetStrings).
  explicit TMemIniFile(const std::wstring& fileName = L"");
  ~TMemIniFile() override;

  std::wstring ReadString(const std::wstring& section, const std::wstring& ident,
                          const std::wstring& def) const override;
  void WriteString(const std::wstring& section, const std::wstring& ident,
                   const std::wstring& value) override;
  void ReadSection(const std::wstring& section, TStrings& strings) const override;
  void ReadSections(TStrings& strings) const override;
  void ReadSectionValues(const std::wstring& section, TStrings& strings) const override;
  void EraseSection(const std::wstring& section) override;
  void DeleteKey(const std::wstring& section, const std::wstring& ident) override;
  bool SectionExists(const std::wstring& section) const override;
  bool ValueExists(const std::wstring& section, const std::wstring& ident) const override;
  // Writes the text to FileName() in Encoding (raises EFCreateError).
  void UpdateFile() override;

  // Replaces the whole content with the given INI text / copies it out.
  void SetStrings(const TStrings& list);
  // A line as the reader keeps it: trimmed; empty for a blank line or a
  // comment.
  static std::wstring_view LineContent(std::wstring_view line);
  void GetStrings(TStrings& list) const;
  void Clear();
  // Changes the file name; with reload, reads the new file (or empties).
  void Rename(const std::wstring& fileName, bool reload);

  // Encoding UpdateFile uses: the one the file was read in, ANSI by default.
  TTextEncoding Encoding = teAnsi;

 private:
  struct Section {
    std::wstring name;
    std::vector<std::wstring> lines;  // "key=value" (or bare text)
  };
  const Section* FindSection(const std::wstring& name) const;
  Section* FindSection(const std::wstring& name);
  static int FindKey(const Section& s, const std::wstring& ident);
  void LoadValues();

  std::vector<Section> sections_;
};

// Profile-function INI file. A write that the system refuses raises
// EIniFileException ("Unable to write to <file>").
class TIniFile : public TCustomIniFile {
 public:
  explicit TIniFile(const std::wstring& fileName) : TCustomIniFile(fileName) {}

  std::wstring ReadString(const std::wstring& section, const std::wstring& ident,
                          const std::wstring& def) const override;
  void WriteString(const std::wstring& section, const std::wstring& ident,
                   const std::wstring& value) override;
  void ReadSection(const std::wstring& section, TStrings& strings) const override;
  void ReadSections(TStrings& strings) const override;
  void ReadSectionValues(const std::wstring& section, TStrings& strings) const override;
  void EraseSection(const std::wstring& section) override;
  void DeleteKey(const std::wstring& section, const std::wstring& ident) override;
  // Flushes the system's profile cache for this file.
  void UpdateFile() override;
};

// A profile-format file read once into memory, looked up as the profile
// functions look it up (first section and first key of a name win, names
// compare without regard to case, values are trimmed and lose one pair of
// enclosing quotes), in constant time per key. Unlike the profile
// functions it also reads UTF-16 text that has no byte-order mark.
class TIniSnapshot {
 public:
  enum TLoadResult { lrRead, lrMissing, lrUnreadable };
  // lrMissing leaves the snapshot empty; lrUnreadable (no access, a folder,
  // binary bytes) leaves it empty too, and the file should be left alone.
  TLoadResult Load(const std::wstring& fileName);
  // Parses INI text that is already decoded.
  void Parse(const std::wstring& text);

  std::wstring ReadString(const std::wstring& section, const std::wstring& ident,
                          const std::wstring& def) const;
  // The same number syntax as TCustomIniFile::ReadInteger.
  int ReadInteger(const std::wstring& section, const std::wstring& ident, int def) const;
  bool ValueExists(const std::wstring& section, const std::wstring& ident) const;
  // Key names of a section, in file order.
  std::vector<std::wstring> Keys(const std::wstring& section) const;

 private:
  struct Section {
    std::vector<std::wstring> order;
    std::unordered_map<std::wstring, std::wstring> values;  // lower-case key -> value
  };
  const Section* Find(const std::wstring& section) const;
  std::unordered_map<std::wstring, Section> sections_;  // lower-case name
};

// Text of a profile-format file from its bytes: UTF-16 (either byte order,
// with or without a byte-order mark), UTF-8 with a mark, otherwise the ANSI
// code page. False for bytes that are no text (NULs that fit no UTF-16).
bool DecodeIniBytes(const std::string& bytes, std::wstring& text);

// Replaces the file's content so that a failure at any point leaves the old
// file whole: the bytes go to a temporary file beside it, which is flushed
// and then moved over the old one. Raises EIniFileException ("Unable to
// write to <file>") when it cannot; the temporary file is removed then.
void ReplaceFileBytes(const std::wstring& fileName, const std::string& bytes);
