// The text of a skin description (Options.dat, or the manager's common
// sections) held in memory as sections of keys in file order, with lookups
// that ignore case and the value inheritance through "PARENTCLASS".
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "framework/Graphics.h"
#include "framework/IniFiles.h"
#include "skin/engine/SkinData.h"

// Numbers of skin files: decimal, or hexadecimal after "$" or "0x"
// (hexadecimal may use all 32 bits). Blanks around are ignored. False for
// any other text.
bool ParseSkinInt(const std::wstring& text, int& value);
// ASCII upper case: skin names and keys are plain ASCII.
std::wstring SkinUpper(const std::wstring& s);

class TacSkinFile {
 public:
  struct Key {
    std::wstring Name;   // as written
    std::wstring Upper;  // for lookups
    std::wstring Value;  // text after "=", as written
  };
  using KeyList = std::vector<Key>;
  struct Section {
    std::wstring Name;  // as written
    // A repeated section shares the keys of the first one of its name, as
    // the INI reader's lookups find only that one.
    std::shared_ptr<const KeyList> Keys;
  };

  // A PARENTCLASS chain is followed for at most this many links: deeper
  // chains are no sensible skin, and each section's cost stays bounded.
  static constexpr int kMaxParentDepth = 64;

  // Reads every section and key of the INI text, in one pass.
  explicit TacSkinFile(const TMemIniFile& ini);
  // The same from the text itself, as the INI reader would hold it, without
  // building the reader first (an internal skin's description).
  explicit TacSkinFile(std::wstring_view text);

  const std::vector<Section>& Sections() const { return sections_; }
  // Index of the first section of that name (any case), -1 when none.
  int SectionIndex(const std::wstring& name) const;
  // The section's own value of a key, or null.
  const std::wstring* Find(int section, const std::wstring& upperKey) const;
  std::wstring ReadString(const std::wstring& section, const std::wstring& upperKey,
                          const std::wstring& def) const;
  int ReadInteger(const std::wstring& section, const std::wstring& upperKey, int def) const;
  // Some section has a name and at least one key. Text that is not a skin
  // description (binary data, a wrong encoding, an empty file) has none.
  bool HasUsableSections() const;

  // One general-data record for a section: the defaults, overridden by the
  // section's values and what it inherits. A value that is missing, not a
  // number (or -1) for number keys, or "?" for text keys, comes from the
  // section named by "PARENTCLASS", and so on up. The chain ends at a
  // section without a parent, one naming itself or "?", a parent that does
  // not exist, the first section met twice, and after kMaxParentDepth
  // links. Malformed values keep defaults. With Base, the record starts as
  // a copy of Base and only the section's own values count (no chain).
  TsGeneralData ReadGeneralData(int section, const TsGeneralData* base = nullptr) const;

 private:
  // Takes the lines of the text one by one into sections and keys.
  class Parser {
   public:
    explicit Parser(TacSkinFile& file) : file_(file) {}
    void Line(std::wstring_view line);
    void Finish();

   private:
    TacSkinFile& file_;
    std::wstring name_;
    std::shared_ptr<KeyList> keys_;
  };
  struct OwnValue {
    int Slot;   // position in the table of inherited keys
    int Index;  // key of the section
  };
  using Values = std::vector<const std::wstring*>;
  void AddSection(std::wstring name, std::shared_ptr<KeyList> keys);
  void ResolveParentsAndValues();
  int ParentOf(int section) const;
  Values OwnValues(int section) const;
  Values InheritedValues(int section) const;
  void Fill(int section, Values& values, size_t& filled) const;

  std::vector<Section> sections_;
  std::unordered_map<std::wstring, int> index_;  // upper-cased name: first section
  // Worked out once per file: each section's parent (-1 for none) and its
  // own usable values of the inherited keys.
  std::vector<int> parents_;
  std::vector<std::vector<OwnValue>> own_;
};

// Clamps a percentage to 0 to 100; turns a bevel outside 0 to 4 into none.
int ClampPercent(int value);
TsControlBevel BevelOf(int value);
// Parses a gradient text into Array. A text that does not parse leaves
// Text at Default and Array empty (skins fail quietly).
void ParseGradientQuietly(std::wstring& text, TsGradArray& array, const std::wstring& def);
