// The text of a skin description (Options.dat, or the manager's common
// sections) held in memory as sections of keys in file order, with lookups
// that ignore case and the value inheritance through "PARENTCLASS".
#pragma once

#include <memory>
#include <string>
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
  struct Section {
    std::wstring Name;  // as written
    std::vector<Key> Keys;
  };

  // Reads every section and key of the INI text.
  explicit TacSkinFile(const TMemIniFile& ini);

  const std::vector<Section>& Sections() const { return sections_; }
  // Index of the first section of that name (any case), -1 when none.
  int SectionIndex(const std::wstring& name) const;
  // The section's own value of a key, or null.
  const std::wstring* Find(int section, const std::wstring& upperKey) const;
  std::wstring ReadString(const std::wstring& section, const std::wstring& upperKey,
                          const std::wstring& def) const;
  int ReadInteger(const std::wstring& section, const std::wstring& upperKey, int def) const;

  // The integer of a key; a missing key, one that is not a number or -1
  // comes from the section named by "PARENTCLASS", and so on up. The chain
  // ends at a section without a parent, one naming itself or "?", a parent
  // that does not exist, and at the first section met twice.
  bool InheritedInt(int section, const std::wstring& upperKey, int& value) const;
  // The same for text keys, where "?" counts as missing.
  bool InheritedText(int section, const std::wstring& upperKey, std::wstring& value) const;

  // One general-data record for a section: the defaults, overridden by the
  // section's values and what it inherits. Malformed values keep defaults.
  // With Base, the record starts as a copy of Base and only the section's
  // own values count (no "PARENTCLASS" chain).
  TsGeneralData ReadGeneralData(int section, const TsGeneralData* base = nullptr) const;

 private:
  int ParentOf(int section) const;
  template <class Accept>
  bool Inherited(int section, const std::wstring& upperKey, Accept accept) const;
  bool OwnOrInheritedInt(bool chain, int section, const std::wstring& upperKey, int& value) const;
  bool OwnOrInheritedText(bool chain, int section, const std::wstring& upperKey,
                          std::wstring& value) const;

  std::vector<Section> sections_;
  std::unordered_map<std::wstring, int> index_;
};

// Clamps a percentage to 0 to 100; turns a bevel outside 0 to 4 into none.
int ClampPercent(int value);
TsControlBevel BevelOf(int value);
// Parses a gradient text into Array. A text that does not parse leaves
// Text at Default and Array empty (skins fail quietly).
void ParseGradientQuietly(std::wstring& text, TsGradArray& array, const std::wstring& def);
