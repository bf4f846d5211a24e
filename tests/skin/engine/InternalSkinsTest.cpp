#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "framework/SysUtils.h"
#include "tests/skin/engine/SkinTestSupport.h"

using namespace skintest;

namespace {

const wchar_t* const kSections[] = {
    L"ALPHACOMBOBOX", L"ALPHAEDIT", L"BAR", L"BARPANEL", L"BARTITLE", L"BUTTON", L"BUTTON_BIG",
    L"BUTTON_HUGE", L"CHECKBOX", L"COLHEADER", L"COMBOBOX", L"DIALOG", L"DIVIDER", L"DRAGBAR",
    L"EDIT", L"EXTRALINE", L"FORM", L"FORMTITLE", L"GAUGE", L"GLOBALINFO", L"GRIPH", L"GROUPBOX",
    L"HINT", L"ICOLINE", L"MAINMENU", L"MENUITEM", L"MENULINE", L"PAGECONTROL",
    L"PAGECONTROLBOTTOM", L"PAGECONTROLLEFT", L"PAGECONTROLRIGHT", L"PANEL", L"PANEL_LOW",
    L"PROGRESSH", L"PROGRESSV", L"RADIOBUTTON", L"SCROLLBAR1H", L"SCROLLBAR1V", L"SCROLLBAR2H",
    L"SCROLLBAR2V", L"SCROLLBTNBOTTOM", L"SCROLLBTNLEFT", L"SCROLLBTNRIGHT", L"SCROLLBTNTOP",
    L"SCROLLSLIDERH", L"SCROLLSLIDERV", L"SPEEDBUTTON", L"SPEEDBUTTON_SMALL", L"SPLITTER",
    L"STATUSBAR", L"TABBOTTOM", L"TABCONTROL", L"TABCONTROLBOTTOM", L"TABCONTROLLEFT",
    L"TABCONTROLRIGHT", L"TABLEFT", L"TABRIGHT", L"TABTOP", L"TOOLBAR", L"TOOLBUTTON",
    L"TRACKBAR", L"WEBBUTTON"};

// What the painters, controls and adapters ask each skin for.
struct Wanted {
  const wchar_t* section;
  const wchar_t* image;
};
const Wanted kWanted[] = {
    {L"BUTTON", L"BORDERSMASK"}, {L"BUTTON_BIG", L"BORDERSMASK"}, {L"BUTTON_HUGE", L"BORDERSMASK"},
    {L"SPEEDBUTTON", L"BORDERSMASK"}, {L"SPEEDBUTTON_SMALL", L"BORDERSMASK"},
    {L"TOOLBUTTON", L"BORDERSMASK"}, {L"EDIT", L"BORDERSMASK"}, {L"ALPHAEDIT", L"BORDERSMASK"},
    {L"COMBOBOX", L"BORDERSMASK"}, {L"ALPHACOMBOBOX", L"BORDERSMASK"},
    {L"COMBOBOX", L"GLYPHMASK"}, {L"ALPHACOMBOBOX", L"GLYPHMASK"}, {L"FORM", L"BORDERSMASK"},
    {L"FORMTITLE", L"BORDERSMASK"}, {L"DIALOG", L"BORDERSMASK"}, {L"GROUPBOX", L"BORDERSMASK"},
    {L"PANEL", L"BORDERSMASK"}, {L"PANEL_LOW", L"BORDERSMASK"}, {L"BARPANEL", L"BORDERSMASK"},
    {L"BARPANEL", L"PATTERN"}, {L"BARTITLE", L"BORDERSMASK"}, {L"BARTITLE", L"IMGTOPRIGHT"},
    {L"STATUSBAR", L"BORDERSMASK"}, {L"TOOLBAR", L"BORDERSMASK"}, {L"MAINMENU", L"BORDERSMASK"},
    {L"PAGECONTROL", L"BORDERSMASK"}, {L"PAGECONTROLBOTTOM", L"BORDERSMASK"},
    {L"PAGECONTROLLEFT", L"BORDERSMASK"}, {L"PAGECONTROLRIGHT", L"BORDERSMASK"},
    {L"TABCONTROL", L"BORDERSMASK"}, {L"TABCONTROLBOTTOM", L"BORDERSMASK"},
    {L"TABCONTROLLEFT", L"BORDERSMASK"}, {L"TABCONTROLRIGHT", L"BORDERSMASK"},
    {L"TABTOP", L"BORDERSMASK"}, {L"TABBOTTOM", L"BORDERSMASK"}, {L"TABLEFT", L"BORDERSMASK"},
    {L"TABRIGHT", L"BORDERSMASK"}, {L"PROGRESSH", L"BORDERSMASK"}, {L"PROGRESSV", L"BORDERSMASK"},
    {L"GAUGE", L"BORDERSMASK"}, {L"COLHEADER", L"BORDERSMASK"}, {L"HINT", L"BORDERSMASK"},
    {L"MENUITEM", L"BORDERSMASK"}, {L"TRACKBAR", L"SLIDERCHANNEL"}, {L"TRACKBAR", L"SLIDERMASK"},
    {L"TRACKBAR", L"SLIDERVMASK"}, {L"TRACKBAR", L"TICKHORZ"}, {L"TRACKBAR", L"TICKVERT"},
    {L"GLOBALINFO", L"BOXCHECKED"}, {L"GLOBALINFO", L"BOXUNCHECKED"},
    {L"GLOBALINFO", L"BOXGRAYED"}, {L"GLOBALINFO", L"RADIOCHECKED"},
    {L"GLOBALINFO", L"RADIOUNCHECKED"}, {L"GLOBALINFO", L"SMALLCHECKED"},
    {L"GLOBALINFO", L"SMALLUNCHECKED"}, {L"GLOBALINFO", L"SMALLGRAYED"}, {L"GLOBALINFO", L"CHECK"},
    {L"GLOBALINFO", L"GRIPIMAGE"}, {L"GLOBALINFO", L"BICONCLOSE"}, {L"GLOBALINFO", L"BICONMIN"},
    {L"GLOBALINFO", L"BICONMAX"}, {L"GLOBALINFO", L"BICONNORM"}, {L"GLOBALINFO", L"BICONHELP"},
    {L"GLOBALINFO", L"SICONCLOSE"}, {L"GLOBALINFO", L"SICONNORM"},
    {L"GLOBALINFO", L"TITLEBUTTON"}};

class InternalSkins : public ::testing::TestWithParam<int> {};

bool NearFuchsia(TColor c) {
  int r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
  return c != clFuchsia && std::abs(r - 255) + g + std::abs(b - 255) < 120;
}

}  // namespace

TEST(InternalSkinsList, FiveSkinsNamedByOneWordTheFourthSelected) {
  ManagerPtr m = NewManager(FixtureSkinDir(), true);
  const TsStoredSkins& skins = *m->InternalSkins();
  ASSERT_EQ(5, skins.Count());
  std::set<std::wstring> names;
  for (int i = 0; i < skins.Count(); ++i) {
    std::wstring name = skins.Items(i)->Name();
    const std::wstring suffix = L" (internal)";
    ASSERT_GT(name.size(), suffix.size());
    EXPECT_EQ(suffix, name.substr(name.size() - suffix.size()));
    EXPECT_EQ(std::wstring::npos, name.substr(0, name.size() - suffix.size()).find(L' '));
    names.insert(name);
    EXPECT_EQ(0, skins.Items(i)->Patterns()->Count());
    EXPECT_FALSE(skins.Items(i)->MasterBitmap()->Empty());
  }
  EXPECT_EQ(5u, names.size());
  EXPECT_EQ(L"WLM (internal)", skins.Items(3)->Name());
  EXPECT_EQ(3, skins.IndexOf(L"WLM (internal)"));
  EXPECT_EQ(-1, skins.IndexOf(L"wlm (internal)"));
}

TEST_P(InternalSkins, EverySectionAndImageResolves) {
  ManagerPtr m = NewManager(FixtureSkinDir(), true);
  std::wstring name = m->InternalSkins()->Items(GetParam())->Name();
  m->SetSkinName(name);
  m->SetActive(true);
  ASSERT_TRUE(m->SkinData->Active);
  EXPECT_EQ(name, m->SkinName());
  EXPECT_EQ(std::size(kSections), m->gd.size());
  for (const wchar_t* s : kSections) EXPECT_GE(m->GetSkinIndex(s), 0) << s;
  EXPECT_GE(m->ma.size(), 75u);
  EXPECT_LE(m->ma.size(), 86u);
  EXPECT_TRUE(m->pa.empty());
  for (const Wanted& w : kWanted) {
    int mask = m->GetMaskIndex(m->GetSkinIndex(w.section), w.section, w.image);
    ASSERT_GE(mask, 0) << w.section << L" " << w.image;
    TSize cell = m->GetMaskCellSize(mask);
    EXPECT_GT(cell.cx, 0) << w.section << L" " << w.image;
    EXPECT_GT(cell.cy, 0) << w.section << L" " << w.image;
  }
  for (const TsMaskData& md : m->ma) {
    EXPECT_EQ(nullptr, md.Bmp);
    EXPECT_GE(md.R.left, 0);
    EXPECT_LE(md.R.right, m->MasterBitmap->Width());
    EXPECT_LE(md.R.bottom, m->MasterBitmap->Height());
    EXPECT_EQ(0, (md.R.right - md.R.left) % md.ImageCount) << md.SectionName << L" " << md.PropertyName;
  }
  // Every cached section, frame and glyph (the skins have no textures there).
  const TsCachedIndexes& c = m->CachedIndexes;
  for (int16_t index :
       {c.GlobalInfo, c.TabTop, c.TabBottom, c.TabLeft, c.TabRight, c.TabTopMask,
        c.TabBottomMask, c.TabLeftMask, c.TabRightMask, c.ScrollBtnTop, c.ScrollBtnBottom,
        c.ScrollBtnLeft, c.ScrollBtnRight, c.ScrollBtnTopMask, c.ScrollBtnBottomMask,
        c.ScrollBtnLeftMask, c.ScrollBtnRightMask, c.ScrollBtnTopGlyph, c.ScrollBtnBottomGlyph,
        c.ScrollBtnLeftGlyph, c.ScrollBtnRightGlyph, c.ScrollSliderV, c.ScrollSliderH,
        c.ScrollSliderVMask, c.ScrollSliderHMask, c.ScrollSliderVGlyph, c.ScrollSliderHGlyph,
        c.ScrollBar1H, c.ScrollBar1V, c.ScrollBar2H, c.ScrollBar2V, c.ScrollBar1HMask,
        c.ScrollBar1VMask, c.ScrollBar2HMask, c.ScrollBar2VMask, c.CheckBoxChecked,
        c.CheckBoxUnchecked, c.CheckBoxGrayed, c.RadioButtonChecked, c.RadioButtonUnchecked,
        c.RadioButtonGrayed, c.SmallBoxChecked, c.SmallBoxUnchecked, c.SmallBoxGrayed})
    EXPECT_GE(index, 0);
  EXPECT_GE(c.ComboGlyph, 0);
}

TEST_P(InternalSkins, NoColourComesNearTheTransparencyColour) {
  ManagerPtr m = LoadedManager(L"", FixtureSkinDir(), true);
  m->SetSkinName(m->InternalSkins()->Items(GetParam())->Name());
  TacBmpView v(m->MasterBitmap.get());
  int opaque = 0;
  for (int y = 0; y < v.Height; ++y)
    for (int x = 0; x < v.Width; ++x) {
      TColor c = PixelToColor(v.Pixel(x, y));
      ASSERT_FALSE(NearFuchsia(c)) << x << "," << y;
      opaque += c != clFuchsia;
    }
  EXPECT_GT(opaque, 1000);
  for (const TsGeneralData& g : m->gd) {
    EXPECT_FALSE(NearFuchsia(g.Color)) << g.SectionName;
    EXPECT_FALSE(NearFuchsia(g.HotColor)) << g.SectionName;
    EXPECT_FALSE(NearFuchsia(static_cast<TColor>(g.FontColor[0]))) << g.SectionName;
  }
}

TEST_P(InternalSkins, HueAndSaturationVisiblyAct) {
  ManagerPtr plain = LoadedManager(L"", FixtureSkinDir(), true);
  plain->SetSkinName(plain->InternalSkins()->Items(GetParam())->Name());
  ManagerPtr m = LoadedManager(L"", FixtureSkinDir(), true);
  m->SetSkinName(plain->SkinName());
  m->SetHueOffset(60);
  TacBmpView a(plain->MasterBitmap.get()), b(m->MasterBitmap.get());
  int opaque = 0, changed = 0;
  for (int y = 0; y < a.Height; ++y)
    for (int x = 0; x < a.Width; ++x) {
      TColor c = PixelToColor(a.Pixel(x, y));
      // Transparent and grey pixels (the frames' masks) keep their value.
      if (c == clFuchsia || ((c & 0xFF) == ((c >> 8) & 0xFF) && (c & 0xFF) == (c >> 16))) continue;
      ++opaque;
      changed += PixelToColor(a.Pixel(x, y)) != PixelToColor(b.Pixel(x, y));
    }
  EXPECT_GT(changed, opaque * 3 / 4);
  int sectionsChanged = 0;
  for (size_t i = 0; i < m->gd.size(); ++i) sectionsChanged += m->gd[i].Color != plain->gd[i].Color;
  EXPECT_GT(sectionsChanged, 50);
  m->SetHueOffset(0);
  m->SetSaturation(40);
  int saturated = 0;
  for (size_t i = 0; i < m->gd.size(); ++i) saturated += m->gd[i].Color != plain->gd[i].Color;
  EXPECT_GT(saturated, static_cast<int>(m->gd.size()) / 2);
}

TEST_P(InternalSkins, InternalSkinEqualsItsGeneratedFolder) {
  ManagerPtr internal = LoadedManager(L"", FixtureSkinDir(), true);
  std::wstring name = internal->InternalSkins()->Items(GetParam())->Name();
  internal->SetSkinName(name);
  std::wstring word = name.substr(0, name.find(L' '));
  ManagerPtr folder = LoadedManager(word, GeneratedSkinDir());
  ASSERT_FALSE(folder->SkinData->SkinPath.empty()) << GeneratedSkinDir();
  ASSERT_EQ(folder->gd.size(), internal->gd.size());
  for (size_t i = 0; i < folder->gd.size(); ++i) {
    const TsGeneralData &f = folder->gd[i], &n = internal->gd[i];
    SCOPED_TRACE(f.SectionName);
    EXPECT_EQ(f.SectionName, n.SectionName);
    EXPECT_EQ(f.ParentClass, n.ParentClass);
    EXPECT_EQ(f.Color, n.Color);
    EXPECT_EQ(f.HotColor, n.HotColor);
    EXPECT_EQ(f.GradientArray.size(), n.GradientArray.size());
    for (int k = 0; k < 5; ++k) EXPECT_EQ(f.FontColor[k], n.FontColor[k]);
    EXPECT_EQ(f.Transparency, n.Transparency);
  }
  ASSERT_EQ(folder->ma.size(), internal->ma.size());
  for (size_t i = 0; i < folder->ma.size(); ++i) {
    EXPECT_TRUE(EqualRect(&folder->ma[i].R, &internal->ma[i].R)) << i;
    EXPECT_EQ(folder->ma[i].PropertyName, internal->ma[i].PropertyName);
    EXPECT_EQ(folder->ma[i].ImageCount, internal->ma[i].ImageCount);
    // Stored images take derived border widths whatever their kind; the
    // file syntaxes of glyphs and textures carry none.
    if (folder->ma[i].ImgType == itisaBorder) {
      EXPECT_EQ(folder->ma[i].WL, internal->ma[i].WL);
    }
  }
  TacBmpView a(folder->MasterBitmap.get()), b(internal->MasterBitmap.get());
  ASSERT_EQ(a.Width, b.Width);
  ASSERT_EQ(a.Height, b.Height);
  for (int y = 0; y < a.Height; ++y)
    ASSERT_EQ(0, std::memcmp(a.Row(y), b.Row(y), a.Width * 3)) << "row " << y;
}

TEST_P(InternalSkins, ContentMadeOnFirstUseEqualsTheUnpackedSkinAlsoInACopy) {
  const TacEmbeddedSkin& e = kEmbeddedSkins[GetParam()];
  TsStoredSkin eager;
  TBitmap master;
  ASSERT_TRUE(UnpackMasterBitmap(e, master));
  StoredSkinFromOptions(eager, e.Name, AnsiToWide(std::string(e.Options, e.OptionsSize), CP_ACP),
                        master);
  ASSERT_GT(eager.Images()->Count(), 0);

  // Copied before anything of the skin was asked for; read through the
  // public fields first, as the loading code does.
  ManagerPtr source = NewManager(FixtureSkinDir(), true);
  ManagerPtr copy = NewManager(FixtureSkinDir());
  copy->SetInternalSkins(*source->InternalSkins());
  for (ManagerPtr* m : {&source, &copy}) {
    const TsStoredSkin& lazy = *(*m)->InternalSkins()->Items(GetParam());
    SCOPED_TRACE(m == &source ? "added" : "copied");
    lazy.EnsureContent();
    EXPECT_EQ(eager.Name(), lazy.Name());
    EXPECT_EQ(eager.Version, lazy.Version);
    EXPECT_EQ(eager.Author, lazy.Author);
    EXPECT_EQ(eager.Description, lazy.Description);
    EXPECT_EQ(eager.BorderColor, lazy.BorderColor);
    EXPECT_EQ(eager.Shadow1Blur, lazy.Shadow1Blur);
    ASSERT_EQ(eager.GeneralData()->Count(), lazy.GeneralData()->Count());
    for (int i = 0; i < eager.GeneralData()->Count(); ++i) {
      EXPECT_EQ(eager.GeneralData()->Items(i)->SectionName, lazy.GeneralData()->Items(i)->SectionName);
      EXPECT_EQ(eager.GeneralData()->Items(i)->FontColor, lazy.GeneralData()->Items(i)->FontColor);
    }
    ASSERT_EQ(eager.Images()->Count(), lazy.Images()->Count());
    for (int i = 0; i < eager.Images()->Count(); ++i) {
      const TsSkinImage &a = *eager.Images()->Items(i), &b = *lazy.Images()->Items(i);
      EXPECT_EQ(a.PropertyName, b.PropertyName);
      EXPECT_EQ(a.Right, b.Right);
      EXPECT_EQ(a.Bottom, b.Bottom);
    }
    TacBmpView x(*eager.MasterBitmap()), y(*lazy.MasterBitmap());
    ASSERT_EQ(x.Width, y.Width);
    ASSERT_EQ(x.Height, y.Height);
    for (int row = 0; row < x.Height; ++row)
      ASSERT_EQ(0, std::memcmp(x.Row(row), y.Row(row), x.Width * 3)) << "row " << row;
  }
  // The loaded skin carries the description's header values.
  ManagerPtr loaded = LoadedManager(e.Name, FixtureSkinDir(), true);
  EXPECT_EQ(eager.Version, loaded->SkinData->Version);
  EXPECT_EQ(eager.Author, loaded->SkinData->Author);
}

INSTANTIATE_TEST_SUITE_P(All, InternalSkins, ::testing::Range(0, 5));

TEST(InternalSkinsStore, PackedBitmapsThatDoNotFillTheirSizeAreRefused) {
  // Runs: 2 literal pixels, then a repeat of 3 (128 + 1): 5 pixels in all.
  const unsigned char runs[] = {1, 1, 2, 3, 4, 5, 6, 129, 7, 8, 9};
  struct Case {
    int w, h;
    size_t size;
    bool ok;
  } cases[] = {{5, 1, sizeof runs, true},      // exactly filled
               {3, 2, sizeof runs, false},     // one pixel short
               {2, 2, sizeof runs, false},     // runs overflow the bitmap
               {5, 1, sizeof runs - 1, false}, // repeat pixel cut off
               {0, 0, sizeof runs, false}};    // no bitmap at all
  for (const Case& c : cases) {
    TacEmbeddedSkin e{L"Probe", "", 0, c.w, c.h, runs, c.size};
    TBitmap bmp;
    EXPECT_EQ(c.ok, UnpackMasterBitmap(e, bmp)) << c.w << "x" << c.h << " " << c.size;
    if (!c.ok) continue;
    TacBmpView v(bmp);
    EXPECT_EQ(RGB(3, 2, 1), PixelToColor(v.Pixel(0, 0)));
    EXPECT_EQ(RGB(6, 5, 4), PixelToColor(v.Pixel(1, 0)));
    for (int x = 2; x < 5; ++x) EXPECT_EQ(RGB(9, 8, 7), PixelToColor(v.Pixel(x, 0))) << x;
  }
}

TEST(InternalSkinsStore, ImageCountZeroMeansThreeStatesOverAMask) {
  ManagerPtr m = NewManager(FixtureSkinDir());
  TsStoredSkin& skin = *m->InternalSkins()->Add();
  skin.SetName(L"Probe (internal)");
  skin.MasterBitmap()->SetPixelFormat(pf24bit);
  skin.MasterBitmap()->SetSize(30, 20);
  TsSkinGeneral& g = *skin.GeneralData()->Add();
  g.SectionName = L"BUTTON";
  g.FontColor = L"1 2 3 4";       // four words: text colour 0, no contours
  g.HotFontColor = L"5 6 7 8 9";
  g.Bevel = static_cast<TsControlBevel>(9);
  TsSkinImage& im = *skin.Images()->Add();
  im.SectionName = L"button";
  im.PropertyName = L"bordersmask";
  im.Right = 30;
  im.Bottom = 20;
  im.ImageCount = 0;
  TsSkinImage& pat = *skin.Images()->Add();
  pat.SectionName = L"BUTTON";
  pat.PropertyName = L"PATTERN";
  pat.Right = 10;
  pat.Bottom = 10;
  pat.StretchMode = 4;
  pat.ImgType = itisaGlyph;
  m->SetSkinName(L"Probe (internal)");
  m->SetActive(true);
  ASSERT_EQ(1u, m->gd.size());
  EXPECT_EQ(0, m->gd[0].FontColor[0]);
  EXPECT_EQ(-1, m->gd[0].FontColor[1]);
  EXPECT_EQ(9, m->gd[0].HotFontColor[4]);
  EXPECT_EQ(cbNone, m->gd[0].Bevel);
  int mask = m->FindMaskIndex(L"BUTTON", L"BORDERSMASK");
  ASSERT_GE(mask, 0);
  EXPECT_EQ(3, m->ma[mask].ImageCount);
  EXPECT_EQ(1, m->ma[mask].MaskType);
  EXPECT_EQ(3, m->ma[mask].WL);  // 30 div 9
  EXPECT_EQ(3, m->ma[mask].WT);  // 20 div 6
  int texture = m->FindMaskIndex(L"BUTTON", L"PATTERN");
  EXPECT_EQ(itisaTexture, m->ma[texture].ImgType);
  EXPECT_EQ(0, m->ma[texture].StretchMode);  // the item was no texture
  // The manager's copy is its own: changing the stored skin changes nothing.
  skin.GeneralData()->Clear();
  EXPECT_EQ(1u, m->gd.size());
}
