// Skin folders with bad or oversized content: text that is no skin
// description, a master bitmap that cannot be read, very many sections and
// PARENTCLASS chains that loop or run very deep. None of them may hang the
// loader or leave a window without its skin.
#include <gtest/gtest.h>

#include <string>

#include "framework/Graphics.h"
#include "skin/engine/SkinFile.h"
#include "tests/common/RleBitmap.h"
#include "tests/common/TestEnv.h"
#include "tests/skin/engine/SkinTestSupport.h"

using namespace skintest;

namespace {

// A 4 x 4 24-bit bitmap file.
std::string SmallBmp() {
  TBitmap b(4, 4, pf24bit);
  return b.SaveToBytes();
}

std::string Utf16Le(const std::wstring& text) {
  std::string bytes("\xFF\xFE", 2);
  for (wchar_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>((c >> 8) & 0xFF);
  }
  return bytes;
}

const char kGoodText[] =
    "[GLOBALINFO]\r\nMASTERBITMAP=Master.bmp\r\nCOLOR=$123456\r\n"
    "[FORM]\r\nCOLOR=$654321\r\n";

// A skin folder "Test" in a scratch folder, with the given Options.dat and,
// when given, Master.bmp.
struct SkinFolder {
  testenv::ScopedTempDir dir;
  SkinFolder(const std::string& options, const std::string& master) {
    dir.WriteFile(L"Test\\Options.dat", options);
    if (!master.empty()) dir.WriteFile(L"Test\\Master.bmp", master);
  }
  ManagerPtr Load(bool internalSkins = true) const {
    ManagerPtr m = NewManager(dir.Path(), internalSkins);
    m->SetSkinName(L"Test");
    m->SetActive(true);
    return m;
  }
};

}  // namespace

TEST(SkinFileRobustness, MalformedSkinFoldersFallBackToTheInternalSkin) {
  std::string garbage("\x89PNG\r\n\x1A\n", 8);
  for (int i = 0; i < 600; ++i) garbage += static_cast<char>(0x80 + (i * 37) % 0x7F);
  struct Case {
    const char* what;
    std::string options, master;
  };
  const Case cases[] = {
      {"garbage", garbage, SmallBmp()},
      {"NUL bytes", std::string(4096, '\0'), SmallBmp()},
      {"UTF-16 mark before 8-bit text", std::string("\xFF\xFE", 2) + kGoodText, SmallBmp()},
      {"empty", "", SmallBmp()},
      {"keys without a section", "COLOR=1\r\nMASTERBITMAP=Master.bmp\r\n; note\r\n", SmallBmp()},
      {"sections without keys", "[GLOBALINFO]\r\n[FORM]\r\n\r\n", SmallBmp()},
      {"missing master bitmap", kGoodText, ""},
      {"master bitmap that is no bitmap", kGoodText, "not a bitmap at all"},
      {"master bitmap too large", kGoodText, testenv::TinyRle8Bitmap(16384, 32768)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SkinFolder folder(c.options, c.master);
    ManagerPtr m = folder.Load();
    EXPECT_TRUE(m->Active());
    EXPECT_EQ(m->InternalSkins()->Items(0)->Name(), m->SkinName());
    EXPECT_TRUE(m->SkinData->SkinPath.empty());
    EXPECT_TRUE(m->SkinData->Active);
    EXPECT_GE(m->GetSkinIndex(L"FORMTITLE"), 0);
    EXPECT_EQ(nullptr, SkinFile);
    // Without internal skins a refused folder leaves nothing to wear.
    ManagerPtr bare = folder.Load(false);
    EXPECT_FALSE(bare->Active());
    EXPECT_TRUE(bare->gd.empty());
  }
}

TEST(SkinFileRobustness, WellFormedFoldersLoadInEitherEncoding) {
  struct Case {
    const char* what;
    std::string options, master;
    size_t sections;
  };
  const Case cases[] = {
      {"8-bit text", kGoodText, SmallBmp(), 2},
      {"UTF-16 text with its mark", Utf16Le(L"[GLOBALINFO]\r\nMASTERBITMAP=Master.bmp\r\n"
                                            L"COLOR=$123456\r\n[FORM]\r\nCOLOR=$654321\r\n"),
       SmallBmp(), 2},
      // A skin may hold its images in bitmaps of their own.
      {"no master bitmap named", "[BUTTON]\r\nCOLOR=$654321\r\n", "", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SkinFolder folder(c.options, c.master);
    ManagerPtr m = folder.Load();
    EXPECT_EQ(L"Test", m->SkinName());
    EXPECT_EQ(folder.dir / L"Test\\", m->SkinData->SkinPath);
    ASSERT_EQ(c.sections, m->gd.size());
    EXPECT_EQ(0x654321u, m->gd.back().Color);
    EXPECT_EQ(!c.master.empty(), m->MasterBitmap != nullptr);
  }
}

TEST(SkinFileRobustness, ManySectionsLoadAndInheritFromTheirParent) {
  const int kSections = 5000;
  std::string text = "[S0]\r\nCOLOR=$102030\r\nFONTCOLOR=255\r\n";
  for (int i = 1; i < kSections; ++i)
    text += "[S" + std::to_string(i) + "]\r\nPARENTCLASS=S0\r\nHOTCOLOR=" + std::to_string(i) +
            "\r\n";
  SkinFolder folder(text, "");
  ManagerPtr m = folder.Load();
  ASSERT_EQ(static_cast<size_t>(kSections), m->gd.size());
  for (int i : {1, 2500, kSections - 1}) {
    const TsGeneralData& s = m->gd[m->GetSkinIndex(L"S" + std::to_wstring(i))];
    EXPECT_EQ(0x102030u, s.Color) << i;
    EXPECT_EQ(255, s.FontColor[0]) << i;
    EXPECT_EQ(static_cast<TColor>(i), s.HotColor) << i;
  }
}

TEST(SkinFileRobustness, ParentLoopsStopAndMissingValuesTakeDefaults) {
  SkinFolder folder(
      "[A]\r\nPARENTCLASS=B\r\nCOLOR=$0000AA\r\n"
      "[B]\r\nPARENTCLASS=a\r\nHOTCOLOR=$0000BB\r\nBORDERSMASK=own.BMP\r\n"
      "[SELF]\r\nPARENTCLASS=self\r\nCOLOR=$0000CC\r\n",
      "");
  folder.dir.WriteFile(L"Test\\own.BMP", SmallBmp());
  ManagerPtr m = folder.Load();
  ASSERT_EQ(3u, m->gd.size());
  const TsGeneralData& a = Section(*m, L"A");
  const TsGeneralData& b = Section(*m, L"B");
  const TsGeneralData& self = Section(*m, L"SELF");
  TsGeneralData defaults;
  EXPECT_EQ(0x0000AAu, a.Color);
  EXPECT_EQ(0x0000BBu, a.HotColor);  // from B
  EXPECT_EQ(0x0000AAu, b.Color);     // from A, whose parent is B again
  EXPECT_EQ(0x0000BBu, b.HotColor);
  EXPECT_EQ(defaults.FontColor[0], a.FontColor[0]);
  EXPECT_EQ(defaults.ShadowBlur, b.ShadowBlur);
  EXPECT_EQ(0x0000CCu, self.Color);
  EXPECT_EQ(defaults.HotColor, self.HotColor);
  int mask = m->FindMaskIndex(L"B", L"BORDERSMASK");
  ASSERT_GE(mask, 0);
  // "a" names no section at run time (exact names): only B's own image.
  EXPECT_EQ(mask, m->GetMaskIndex(m->GetSkinIndex(L"B"), L"B", L"BORDERSMASK"));
  EXPECT_EQ(mask, m->GetMaskIndex(m->GetSkinIndex(L"A"), L"A", L"BORDERSMASK"));
  EXPECT_EQ(-1, m->GetMaskIndex(m->GetSkinIndex(L"SELF"), L"SELF", L"BORDERSMASK"));
}

TEST(SkinFileRobustness, DeepChainsEndAfterTheLinkLimit) {
  const int kLimit = TacSkinFile::kMaxParentDepth;
  std::string text = "[C0]\r\nCOLOR=$102030\r\nBORDERSMASK=own.BMP\r\n";
  for (int i = 1; i <= kLimit + 40; ++i)
    text += "[C" + std::to_string(i) + "]\r\nPARENTCLASS=C" + std::to_string(i - 1) + "\r\n";
  SkinFolder folder(text, "");
  folder.dir.WriteFile(L"Test\\own.BMP", SmallBmp());
  ManagerPtr m = folder.Load();
  const int mask = m->FindMaskIndex(L"C0", L"BORDERSMASK");
  ASSERT_GE(mask, 0);
  TsGeneralData defaults;
  struct Case {
    int section;
    bool reaches;
  };
  for (const Case& c : {Case{1, true}, Case{kLimit, true}, Case{kLimit + 1, false},
                        Case{kLimit + 40, false}}) {
    const std::wstring name = L"C" + std::to_wstring(c.section);
    const int index = m->GetSkinIndex(name);
    ASSERT_GE(index, 0) << c.section;
    EXPECT_EQ(c.reaches ? 0x102030u : defaults.Color, m->gd[index].Color) << c.section;
    EXPECT_EQ(c.reaches ? mask : -1, m->GetMaskIndex(index, name, L"BORDERSMASK")) << c.section;
  }
}
