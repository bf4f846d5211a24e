#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "framework/SysUtils.h"
#include "skin/engine/SkinFile.h"
#include "skin/engine/SkinUtils.h"
#include "tests/skin/engine/SkinTestSupport.h"

using namespace skintest;

namespace {

class SkinLoadingBasic : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { manager = LoadedManager(L"Basic").release(); }
  static void TearDownTestSuite() {
    delete manager;
    manager = nullptr;
  }
  static const TsMaskData* Mask(const std::wstring& section, const std::wstring& prop) {
    int i = manager->FindMaskIndex(section, prop);
    return i >= 0 ? &manager->ma[i] : nullptr;
  }
  static TsSkinManager* manager;
};
TsSkinManager* SkinLoadingBasic::manager = nullptr;

}  // namespace

TEST_F(SkinLoadingBasic, ReadsTheHeaderOfGlobalInfo) {
  const TsSkinData& d = *manager->SkinData;
  EXPECT_TRUE(d.Active);
  EXPECT_EQ(FixtureSkinDir() + L"\\Basic\\", d.SkinPath);
  EXPECT_DOUBLE_EQ(2.5, d.Version);
  EXPECT_EQ(L"2.5", manager->SkinInfo());
  EXPECT_EQ(L"Tester", d.Author);
  EXPECT_EQ(L"Loader fixture", d.Description);
  EXPECT_EQ(0x0000FFu, d.Shadow1Color);
  EXPECT_EQ(4, d.Shadow1Offset);
  EXPECT_EQ(-1, d.Shadow1Blur);  // "oops" is no number: the default
  EXPECT_EQ(30, d.Shadow1Transparency);
  EXPECT_EQ(0x00FF00u, d.BorderColor);
  ASSERT_NE(nullptr, manager->MasterBitmap);
  EXPECT_EQ(40, manager->MasterBitmap->Width());
  EXPECT_EQ(pf24bit, manager->MasterBitmap->PixelFormat());
  EXPECT_FALSE(SkinLoading);
  EXPECT_EQ(nullptr, SkinFile);  // the file is only open while loading
}

TEST_F(SkinLoadingBasic, SectionsKeepFileOrderAndNamesAsWritten) {
  const wchar_t* names[] = {L"GLOBALINFO", L"BASE", L"Middle", L"LEAF", L"LOOPA", L"LOOPB",
                            L"LOOPC", L"SELF", L"BAD", L"IMAGES"};
  ASSERT_EQ(std::size(names), manager->gd.size());
  for (size_t i = 0; i < std::size(names); ++i) EXPECT_EQ(names[i], manager->gd[i].SectionName);
  EXPECT_EQ(-1, manager->GetSkinIndex(L"MIDDLE"));  // lookups at run time are exact
  EXPECT_EQ(L"middle", Section(*manager, L"LEAF").ParentClass);
}

TEST_F(SkinLoadingBasic, KeysInheritOverTwoLevelsWithoutRegardToCase) {
  const TsGeneralData& leaf = Section(*manager, L"LEAF");
  EXPECT_EQ(0x112233u, leaf.Color);          // from BASE, two levels up
  EXPECT_EQ(0x445566, leaf.FontColor[0]);    // "0x" number; -1 in Middle passes it on
  EXPECT_EQ(0xFF, leaf.FontColor[1]);        // "$" number, explicit -1 skipped
  EXPECT_EQ(-1, leaf.FontColor[2]);          // nowhere: the default
  EXPECT_EQ(cbLoweredSoft, leaf.Bevel);      // -1 inherits BASE's 2
  EXPECT_EQ(9, leaf.ShadowBlur);             // lower-case key of its own
  EXPECT_EQ(4660u, leaf.HotColor);           // from Middle
  EXPECT_TRUE(leaf.ShadowEnabled);           // "true" in any case
  ASSERT_EQ(1u, leaf.GradientArray.size());  // "?" in Middle passes BASE's text on
  EXPECT_EQ(0xFF0000u, leaf.GradientArray[0].Color1);
}

TEST_F(SkinLoadingBasic, ShadowColorIsNeverInherited) {
  EXPECT_EQ(255u, Section(*manager, L"BASE").ShadowColor);
  EXPECT_EQ(0u, Section(*manager, L"Middle").ShadowColor);
  EXPECT_EQ(0u, Section(*manager, L"LEAF").ShadowColor);
}

TEST_F(SkinLoadingBasic, PercentagesAreClampedAndBadValuesKeepDefaults) {
  EXPECT_EQ(100, Section(*manager, L"BASE").Transparency);
  EXPECT_EQ(0, Section(*manager, L"BASE").ImagePercent);
  const TsGeneralData& bad = Section(*manager, L"BAD");
  EXPECT_EQ(0xFFFFFFu, bad.Color);
  EXPECT_EQ(cbNone, bad.Bevel);  // 7 is no bevel
  EXPECT_EQ(cbRaisedHard, bad.HotBevel);
  EXPECT_EQ(L" ", bad.GradientData);
  EXPECT_TRUE(bad.GradientArray.empty());
  EXPECT_EQ(-1, manager->FindMaskIndex(L"BAD", L"SHORT"));
  EXPECT_EQ(-1, manager->FindMaskIndex(L"BAD", L"BADNUM"));
  EXPECT_EQ(-1, manager->FindMaskIndex(L"BAD", L"KIND"));
}

TEST_F(SkinLoadingBasic, ParentLoopsEndAtTheFirstRepeat) {
  EXPECT_EQ(0xFFFFFFu, Section(*manager, L"LOOPA").Color);
  EXPECT_EQ(77u, Section(*manager, L"SELF").Color);
  int loop = manager->GetSkinIndex(L"LOOPA");
  EXPECT_EQ(-1, manager->GetMaskIndex(loop, L"LOOPA", L"BORDERSMASK"));
  EXPECT_EQ(-1, manager->GetTextureIndex(loop, L"LOOPA", L"PATTERN"));
  EXPECT_EQ(-1, manager->GetPatternIndex(loop, L"LOOPA", L"PATTERN"));
}

TEST_F(SkinLoadingBasic, ImageSyntaxesFillTheirColumns) {
  struct Case {
    const wchar_t* prop;
    TRect r;
    int count, maskType, stretch;
    TacImgType type;
    int wl, wt, wr, wb;
    bool own;
  };
  const Case cases[] = {
      {L"T24", {0, 0, 10, 10}, 1, 0, 1, itisaTexture, 0, 0, 0, 0, false},
      {L"T25", {0, 0, 10, 10}, 1, 1, 1, itisaTexture, 0, 0, 0, 0, false},
      {L"G", {10, 0, 40, 10}, 3, 0, 0, itisaGlyph, 0, 0, 0, 0, false},
      {L"ZERO", {0, 0, 10, 10}, 1, 0, 0, itisaGlyph, 0, 0, 0, 0, false},
      {L"CLIP", {30, 0, 40, 20}, 1, 0, 1, itisaBorder, 3, 6, 3, 6, false},
      {L"OWN", {0, 0, 12, 8}, 3, 1, 0, itisaGlyph, 1, 1, 1, 1, true},
      {L"OWNW", {0, 0, 12, 8}, 3, 1, 0, itisaBorder, 1, 2, 3, 4, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.prop);
    const TsMaskData* m = Mask(L"IMAGES", c.prop);
    ASSERT_NE(nullptr, m);
    EXPECT_TRUE(EqualRect(&c.r, &m->R));
    EXPECT_EQ(c.count, m->ImageCount);
    EXPECT_EQ(c.maskType, m->MaskType);
    EXPECT_EQ(c.stretch, m->StretchMode);
    EXPECT_EQ(c.type, m->ImgType);
    if (c.type != itisaGlyph && c.type != itisaTexture) {
      EXPECT_EQ(c.wl, m->WL);
      EXPECT_EQ(c.wt, m->WT);
      EXPECT_EQ(c.wr, m->WR);
      EXPECT_EQ(c.wb, m->WB);
    }
    EXPECT_EQ(c.own, m->Bmp != nullptr);
    EXPECT_EQ(manager, m->Manager);
  }
  // "!" wants ".BMP" in upper case; a plain value is upper-cased first.
  EXPECT_EQ(nullptr, Mask(L"IMAGES", L"OWNLOWER"));
  EXPECT_EQ(nullptr, Mask(L"IMAGES", L"MISSING"));
  const TsMaskData* plain = Mask(L"IMAGES", L"PLAIN");
  ASSERT_NE(nullptr, plain);
  ASSERT_NE(nullptr, plain->Bmp);
  EXPECT_EQ(3, plain->ImageCount);
  EXPECT_EQ(1, plain->MaskType);
  EXPECT_EQ(itisaBorder, plain->ImgType);
  EXPECT_EQ(pf24bit, plain->Bmp->PixelFormat());
  EXPECT_EQ(1, plain->WL);  // 12 div (3 x 3)
  EXPECT_EQ(1, plain->WT);  // 8 div (2 x 3)
}

TEST_F(SkinLoadingBasic, FreeFormRectanglesAreFramesOrTextures) {
  const TsMaskData* hash = Mask(L"IMAGES", L"HASH");
  ASSERT_NE(nullptr, hash);
  EXPECT_EQ(itisaBorder, hash->ImgType);
  EXPECT_EQ(1, hash->StretchMode);  // no fourth number: stretched
  EXPECT_EQ(2, hash->ImageCount);
  EXPECT_EQ(3, hash->BorderWidth);
  EXPECT_EQ(3, hash->WL);
  const TsMaskData* pattern = Mask(L"IMAGES", L"PATTERN");
  ASSERT_NE(nullptr, pattern);
  EXPECT_EQ(itisaTexture, pattern->ImgType);
  EXPECT_EQ(0, pattern->StretchMode);
}

TEST_F(SkinLoadingBasic, SmallJpegsBecomeTexturesLargeOnesStayPictures) {
  const TsMaskData* small = Mask(L"IMAGES", L"SMALLJPG");  // 299 x 300
  ASSERT_NE(nullptr, small);
  EXPECT_EQ(itisaTexture, small->ImgType);
  ASSERT_NE(nullptr, small->Bmp);
  EXPECT_EQ(299, small->Bmp->Width());
  ASSERT_EQ(1u, manager->pa.size());  // 300 x 300; the broken one is skipped
  EXPECT_EQ(L"IMAGES", manager->pa[0].SectionName);
  EXPECT_EQ(L"BIGJPG", manager->pa[0].PropertyName);
  EXPECT_EQ(300, manager->pa[0].Img->Width());
  int images = manager->GetSkinIndex(L"IMAGES");
  EXPECT_EQ(0, manager->GetPatternIndex(images, L"IMAGES", L"BIGJPG"));
}

TEST_F(SkinLoadingBasic, ImagesFollowTheParentChainOnlyThroughGetMaskIndex) {
  int leaf = manager->GetSkinIndex(L"LEAF");
  int base = manager->FindMaskIndex(L"BASE", L"BORDERSMASK");
  ASSERT_GE(base, 0);
  // LEAF names "middle", which no exact lookup finds: the chain stops there.
  EXPECT_EQ(-1, manager->GetMaskIndex(leaf, L"LEAF", L"BORDERSMASK"));
  int middle = manager->GetSkinIndex(L"Middle");
  EXPECT_EQ(base, manager->GetMaskIndex(middle, L"Middle", L"BORDERSMASK"));
  EXPECT_EQ(-1, manager->FindMaskIndex(L"Middle", L"BORDERSMASK"));
  EXPECT_EQ(-1, manager->GetMaskIndex(middle, L"", L"BORDERSMASK"));
  EXPECT_EQ(-1, manager->GetMaskIndex(-1, L"Middle", L"BORDERSMASK"));
}

TEST(SkinLoading, FolderWithoutOptionsFallsBackToTheFirstInternalSkin) {
  ManagerPtr m = NewManager(FixtureSkinDir(), true);
  m->SetSkinName(L"NoOptions");
  m->SetActive(true);
  EXPECT_TRUE(m->Active());
  EXPECT_EQ(m->InternalSkins()->Items(0)->Name(), m->SkinName());
  EXPECT_TRUE(m->SkinData->SkinPath.empty());
  EXPECT_TRUE(m->SkinData->Active);
  EXPECT_GT(m->gd.size(), 60u);
}

TEST(SkinLoading, NoSkinAtAllTurnsTheManagerOff) {
  ManagerPtr m = NewManager();
  m->SetSkinName(L"Nothing here");
  m->SetActive(true);
  EXPECT_FALSE(m->Active());
  EXPECT_FALSE(m->SkinData->Active);
  EXPECT_TRUE(m->gd.empty());
  EXPECT_FALSE(SkinLoading);
}

TEST(SkinLoading, SkinNamesAreSortedWithInternalAndFolderSkins) {
  ManagerPtr m = NewManager(FixtureSkinDir(), true);
  TStringList names;
  std::wstring first;
  m->GetSkinNames(names, first);
  EXPECT_EQ(m->InternalSkins()->Items(0)->Name(), first);
  ASSERT_EQ(6, names.Count());  // five internal skins and "Basic"; "NoOptions" is no skin
  EXPECT_EQ(L"Basic", names[0]);
  EXPECT_EQ(-1, names.IndexOf(L"NoOptions"));
  for (int i = 1; i < names.Count(); ++i) EXPECT_LT(AnsiCompareText(names[i - 1], names[i]), 0);
}

TEST(SkinLoading, FullSkinDirectoryResolvesRelativeForms) {
  ManagerPtr m = NewManager();
  std::wstring app = GetAppPath();  // ends in "\"
  std::wstring parent = app.substr(0, app.find_last_of(L'\\', app.size() - 2) + 1);
  struct Case {
    std::wstring dir, expected;
  };
  const Case cases[] = {
      {L"c:\\Skins", L"c:\\Skins\\"},
      {L"c:\\Skins\\", L"c:\\Skins\\"},
      {L"d:/skins/", L"d:/skins\\"},
      {L"\\\\server\\share", L"\\\\server\\share\\"},
      {L"Skins", app + L"Skins\\"},
      {L".\\Skins", app + L"Skins\\"},
      {L"./Skins", app + L"Skins\\"},
      {L"..\\Skins", parent + L"Skins\\"},
  };
  for (const Case& c : cases) {
    m->SetSkinDirectory(c.dir);
    EXPECT_EQ(c.expected, m->GetFullSkinDirectory()) << c.dir;
  }
}

TEST(SkinLoading, CommonSectionsAddTheirSectionsToEverySkin) {
  ManagerPtr m = LoadedManager(L"Basic");
  size_t sections = m->gd.size();
  TStringList lines;
  lines.SetText(
      L"; a comment keeps its blanks\r\n[EXTRA]\r\nPARENTCLASS = base\r\nCOLOR = 12\r\n"
      L"BORDERSMASK=#MASTER (0,0,20,10) (1,0)\r\n");
  m->SetCommonSections(lines);
  EXPECT_EQ(L"; a comment keeps its blanks", m->CommonSections()->Strings(0));
  EXPECT_EQ(L"PARENTCLASS=base", m->CommonSections()->Strings(2));
  ASSERT_EQ(sections + 1, m->gd.size());
  const TsGeneralData& extra = m->gd.back();
  EXPECT_EQ(L"EXTRA", extra.SectionName);
  EXPECT_EQ(L"BASE", extra.ParentClass);
  EXPECT_EQ(12u, extra.Color);
  EXPECT_EQ(0x445566, extra.FontColor[0]);  // from the BASE record
  EXPECT_EQ(255u, extra.ShadowColor);       // common sections copy every key
  int mask = m->FindMaskIndex(L"EXTRA", L"BORDERSMASK");
  ASSERT_GE(mask, 0);
  EXPECT_EQ(itisaBorder, m->ma[mask].ImgType);
}

TEST(SkinFileNumbers, DecimalDollarAndHexadecimal) {
  struct Case {
    const wchar_t* text;
    bool ok;
    int value;
  };
  const Case cases[] = {{L"12", true, 12},         {L" -3 ", true, -3},
                        {L"$FF", true, 255},       {L"0x1A", true, 26},
                        {L"$FFFFFFFF", true, -1},  {L"12a", false, 0},
                        {L"", false, 0},           {L"0x", false, 0},
                        {L"99999999999", false, 0}};
  for (const Case& c : cases) {
    int v = 0;
    EXPECT_EQ(c.ok, ParseSkinInt(c.text, v)) << c.text;
    if (c.ok) {
      EXPECT_EQ(c.value, v) << c.text;
    }
  }
}

TEST(SkinLoading, DirectLoadLeavesTheLoadingFlagAndClosesTheFile) {
  ManagerPtr m = LoadedManager(L"Basic");
  size_t sections = m->gd.size(), masks = m->ma.size();
  m->LoadSkin();
  EXPECT_FALSE(SkinLoading);
  EXPECT_EQ(nullptr, SkinFile);
  EXPECT_EQ(sections, m->gd.size());
  EXPECT_EQ(masks, m->ma.size());
}
