// The menu skinner's hooking, measuring and column layout, and the private
// menu messages of the application window.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "framework/Handles.h"
#include "tests/skin/windows/MenuTestSupport.h"
#include "tests/common/MenuBars.h"

using namespace menutest;

namespace {

UINT ItemType(HMENU menu, UINT pos) {
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_FTYPE;
  ::GetMenuItemInfoW(menu, pos, TRUE, &mii);
  return mii.fType;
}

// Text size with the screen's menu font, measured apart from the skinner.
SIZE MenuTextExtent(const std::wstring& text) {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  UniqueFont font(::CreateFontIndirectW(&ncm.lfMenuFont));
  UniqueWindowDC dc = UniqueWindowDC::Client(nullptr);
  SelectObjectScope sel(dc.get(), font.get());
  SIZE s{};
  ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &s);
  return s;
}

int MenuTextWidth(const std::wstring& text) { return text.empty() ? 0 : MenuTextExtent(text).cx; }
int MenuTextHeightW() { return MenuTextExtent(L"W").cy; }

void Measure(TMenuItem* item, int& w, int& h) {
  UINT uw = 0, uh = 0;
  UniqueWindowDC dc = UniqueWindowDC::Client(nullptr);
  item->MeasureItem(dc.get(), uw, uh);
  w = static_cast<int>(uw);
  h = static_cast<int>(uh);
}

}  // namespace

using SkinableMenus = MenuSkin;

TEST_F(SkinableMenus, ActiveSkinMakesPopupsOwnerDrawnAndKeepsTheApplicationsHandlers) {
  TPopupMenu* menu = NewPopup(3);
  bool ownCalled = false;
  menu->Items()->Items(1)->OnAdvancedDrawItem = [&](TObject*, TCanvas*, TRect, TOwnerDrawState) {
    ownCalled = true;
  };
  Menus().ApplyToAllForms(true);
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_TRUE(menu->MenuAnimation & maNone);
  TMenuItem* plain = menu->Items()->Items(0);
  TMenuItem* own = menu->Items()->Items(1);
  EXPECT_TRUE(Menus().IsOwnHandler(plain->OnAdvancedDrawItem));
  EXPECT_TRUE(Menus().IsOwnHandler(plain->OnMeasureItem));
  EXPECT_FALSE(Menus().IsOwnHandler(own->OnAdvancedDrawItem));
  // The item with its own painter is still measured by the skinner.
  EXPECT_TRUE(Menus().IsOwnHandler(own->OnMeasureItem));
  EXPECT_TRUE(ItemType(menu->Handle(), 0) & MFT_OWNERDRAW);

  // Switching the skin off gives the plain menu back.
  manager->SetActive(false);
  EXPECT_FALSE(Menus().Active());
  EXPECT_FALSE(menu->OwnerDraw());
  EXPECT_FALSE(menu->MenuAnimation & maNone);
  EXPECT_FALSE(plain->OnAdvancedDrawItem);
  EXPECT_FALSE(plain->OnMeasureItem);
  ASSERT_TRUE(own->OnAdvancedDrawItem);
  own->OnAdvancedDrawItem(own, nullptr, TRect{}, 0);
  EXPECT_TRUE(ownCalled);
  for (UINT i = 0; i < 3; ++i) EXPECT_FALSE(ItemType(menu->Handle(), i) & MFT_OWNERDRAW) << i;

  // And on again.
  manager->SetActive(true);
  EXPECT_TRUE(Menus().Active());
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_TRUE(Menus().IsOwnHandler(plain->OnAdvancedDrawItem));
}

TEST_F(SkinableMenus, MainMenuBarIsPaintedOverTheProvidersMenuLineOnly) {
  TMainMenu* bar = testenv::MakeMenuBar(form, {{L"Файл", L"Открыть"}});
  TMenuItem* file = bar->Items()->Items(0);
  TMenuItem* open = file->Items(0);
  form->SetMenu(bar);

  // No provider paints the form's menu line: the bar keeps the system's
  // look, its drop-down items are skinned.
  Menus().ApplyToAllForms(true);
  EXPECT_TRUE(bar->OwnerDraw());
  EXPECT_FALSE(file->OnAdvancedDrawItem);
  EXPECT_FALSE(file->OnMeasureItem);
  EXPECT_FALSE(ItemType(bar->Handle(), 0) & MFT_OWNERDRAW);
  EXPECT_TRUE(Menus().IsOwnHandler(open->OnAdvancedDrawItem));
  EXPECT_TRUE(ItemType(file->Handle(), 0) & MFT_OWNERDRAW);
  Menus().ApplyToAllForms(false);

  // A provider lends its menu line: bar items are measured and painted over it.
  auto line = MakeBmp(300, 30, clBlack);
  Menus().MenuLineSource = [&](TCustomForm* f, TacMenuLine& l) {
    if (f != form) return false;
    l.Bmp = line.get();
    l.Top = 0;
    return true;
  };
  Menus().ApplyToAllForms(true);
  EXPECT_TRUE(Menus().IsOwnHandler(file->OnAdvancedDrawItem));
  EXPECT_TRUE(ItemType(bar->Handle(), 0) & MFT_OWNERDRAW);
  int w = 0, h = 0;
  Measure(file, w, h);
  EXPECT_EQ(::GetSystemMetrics(SM_CYMENU) - 1, h);
  EXPECT_GE(w, MenuTextWidth(L"Файл"));
  auto bmp = MakeBmp(60, 20, clBlack);
  file->DrawItem(bmp->Canvas()->Handle(), RECT{0, 0, 60, 20}, 0);
  EXPECT_COLOR_NEAR(kItemColor, Px(*bmp, 5, 10));

  manager->SetActive(false);
  EXPECT_FALSE(bar->OwnerDraw());
  EXPECT_FALSE(file->OnAdvancedDrawItem);
  EXPECT_FALSE(open->OnAdvancedDrawItem);
  Menus().MenuLineSource = nullptr;
  form->SetMenu(nullptr);
}

TEST_F(SkinableMenus, MenuMadeAfterTheSkinIsHookedWhenItShows) {
  TPopupMenu* late = NewPopup(2);
  EXPECT_FALSE(late->OwnerDraw());
  PopupDriver run(late, 0, nullptr);
  EXPECT_TRUE(run.Ran());
  EXPECT_TRUE(late->OwnerDraw());
  EXPECT_TRUE(Menus().IsOwnHandler(late->Items()->Items(0)->OnAdvancedDrawItem));
}

struct MeasureCase {
  const wchar_t* caption;
  TShortCut shortCut;
  int glyph;  // size of the item's own square bitmap, 0 = none
};

TEST_F(SkinableMenus, ItemSizesFollowTextShortcutGlyphAndKind) {
  const int m = Menus().Margin, sp = Menus().Spacing;
  const int lineH = static_cast<int>(std::nearbyint(MenuTextHeightW() * 1.25));
  const MeasureCase cases[] = {
      {L"Открыть", scNone, 0},     {L"Удалить", static_cast<TShortCut>(scCtrl | 'D'), 0},
      {L"Копировать", scNone, 24}, {L"-", scNone, 0},
      {L"-Группа-", scNone, 0},
  };
  TPopupMenu* menu = NewPopup(0);
  for (const MeasureCase& c : cases) {
    auto* item = Construct<TMenuItem>(form);
    item->SetCaption(c.caption);
    item->SetShortCut(c.shortCut);
    if (c.glyph) item->Bitmap()->SetSize(c.glyph, c.glyph);
    menu->Items()->Add(item);
  }
  Menus().ApplyToAllForms(true);
  for (int i = 0; i < menu->Items()->Count(); ++i) {
    const MeasureCase& c = cases[i];
    TMenuItem* item = menu->Items()->Items(i);
    const std::wstring caption = c.caption;
    std::wstring text;
    if (caption == L"-")
      text = L"";
    else if (caption.front() == L'-')
      text = L"-" + caption + L"-";
    else
      text = caption + ShortCutToText(c.shortCut);
    const int glyph = c.glyph ? c.glyph : 16;
    int w = 0, h = 0;
    Measure(item, w, h);
    EXPECT_EQ(2 * glyph + MenuTextWidth(text) + 3 * m + sp, w) << i;
    const int expectH = caption == L"-"           ? 2
                        : caption.front() == L'-' ? lineH + 2 * m
                                                  : std::max(lineH, glyph) + 2 * m;
    EXPECT_EQ(expectH, h) << i;
  }
}

TEST_F(SkinableMenus, LongMenuBreaksIntoColumnsAtEveryTwentiethItem) {
  TPopupMenu* menu = NewPopup(45);
  for (int i = 20; i < 45; i += 20) menu->Items()->Items(i)->SetBreak(mbBreak);
  Menus().ApplyToAllForms(true);
  TMenuItem* any = menu->Items()->Items(0);
  TBitmap canvasOwner(1, 1, pf24bit);
  TCanvas* canvas = canvasOwner.Canvas();

  std::vector<int> widths, heights;
  for (int i = 0; i < 45; ++i) {
    int w = 0, h = 0;
    Measure(menu->Items()->Items(i), w, h);
    widths.push_back(w);
    heights.push_back(h);
  }
  auto columnOf = [](int i) { return i / 20; };
  int colW[3] = {}, colH[3] = {};
  for (int i = 0; i < 45; ++i) {
    colW[columnOf(i)] = std::max(colW[columnOf(i)], widths[i] + 12);
    colH[columnOf(i)] += heights[i];
  }
  EXPECT_EQ(colW[0] + 4 + colW[1] + 4 + colW[2], GetMenuWidth(Menus(), canvas, any));
  EXPECT_EQ(std::max({colH[0], colH[1], colH[2]}), GetMenuHeight(Menus(), canvas, any));
  EXPECT_TRUE(InFirstColumn(menu->Items()->Items(19)));
  EXPECT_FALSE(InFirstColumn(menu->Items()->Items(20)));
  EXPECT_FALSE(InFirstColumn(menu->Items()->Items(44)));

  // The break reaches the system's menu as a column break.
  EXPECT_TRUE(ItemType(menu->Handle(), 20) & MFT_MENUBREAK);
  EXPECT_TRUE(ItemType(menu->Handle(), 40) & MFT_MENUBREAK);
  EXPECT_FALSE(ItemType(menu->Handle(), 21) & MFT_MENUBREAK);
}

TEST_F(SkinableMenus, ExtraLineWidensOnlyFirstColumnItemsAndIsAskedForOncePerPopup) {
  manager->MenuSupport->UseExtraLine = true;
  const int mask = manager->FindMaskIndex(L"MAINMENU", L"BORDERSMASK");
  ASSERT_GE(mask, 0);
  manager->ma[mask].BorderWidth = 1;  // thinner than the popup's own frame
  Menus().SetSkinBorderWidth(-1);
  int asked = 0;
  manager->OnGetMenuExtraLineData = [&](TMenuItem*, std::wstring&, std::wstring& caption,
                                        std::unique_ptr<TBitmap>&, bool&) {
    ++asked;
    caption = L"&Tarn&holt";
  };
  TPopupMenu* menu = NewPopup(4);
  menu->Items()->Items(2)->SetBreak(mbBreak);
  Menus().ApplyToAllForms(true);
  int w0, h0, w2, h2;
  Measure(menu->Items()->Items(0), w0, h0);
  Measure(menu->Items()->Items(2), w2, h2);
  EXPECT_EQ(1, asked);
  EXPECT_EQ(L"Tarnholt", PopupState().ExtraLineCaption);
  // Same captions but for the digit: the first column carries the line.
  const int widthDiff = MenuTextWidth(L"Item 1") - MenuTextWidth(L"Item 3");
  EXPECT_EQ(manager->MenuSupport->ExtraLineWidth, w0 - w2 - widthDiff);
  int w1, h1;
  Measure(menu->Items()->Items(1), w1, h1);
  EXPECT_EQ(1, asked);

  // Painting narrows the line by the skin's thinner border; the frame does not.
  ASSERT_LT(Menus().SkinBorderWidth(), Menus().BorderWidth);
  EXPECT_EQ(
      manager->MenuSupport->ExtraLineWidth - (Menus().BorderWidth - Menus().SkinBorderWidth()),
      CalcExtraLineWidth(Menus(), true));
  EXPECT_EQ(manager->MenuSupport->ExtraLineWidth, CalcExtraLineWidth(Menus(), false));
}

TEST_F(SkinableMenus, ExtraLineDefaultsAndTheSkinSelectionMenu) {
  manager->MenuSupport->UseExtraLine = true;
  TPopupMenu* menu = NewPopup(2);
  Menus().ApplyToAllForms(true);
  int w, h;
  Measure(menu->Items()->Items(0), w, h);
  EXPECT_TRUE(PopupState().ExtraLineVisible);
  EXPECT_EQ(L"Don`t forget OnGetExtraLineData event...", PopupState().ExtraLineCaption);

  TPopupMenu* skins = NewPopup(2);
  skins->Items()->Items(0)->SetName(L"SkinSelectItem");
  Menus().ApplyToAllForms(true);
  Measure(skins->Items()->Items(0), w, h);
  EXPECT_FALSE(PopupState().ExtraLineVisible);
}

TEST_F(SkinableMenus, PostedItemThatIsGoneIsIgnored) {
  PopupState().MenuFrameBmp = MakeBmp(10, 10);
  HWND app = Application->Handle();
  // A pointer that would crash if it were followed.
  std::vector<unsigned char> junk(sizeof(TMenuItem), 0xCD);
  EXPECT_EQ(0, ::SendMessageW(app, WM_MENUITEMHOOK, 0, reinterpret_cast<LPARAM>(junk.data())));
  auto* item = Construct<TMenuItem>(nullptr);
  delete item;
  ::PostMessageW(app, WM_MENUITEMHOOK, 0, reinterpret_cast<LPARAM>(item));
  Application->ProcessMessages();
  // A live item of a menu that is not showing has no window to hook.
  TPopupMenu* menu = NewPopup(2);
  EXPECT_EQ(0, ::SendMessageW(app, WM_MENUITEMHOOK, 0,
                              reinterpret_cast<LPARAM>(menu->Items()->Items(1))));
  EXPECT_TRUE(PopupState().MenuFrameBmp);
}

TEST_F(SkinableMenus, WindowMessageHooksThePopupWindowUntilItIsDestroyed) {
  PopupState().MenuFrameBmp = MakeBmp(50, 40);
  PopupState().MenuFirstItem = reinterpret_cast<TMenuItem*>(1);
  HWND wnd = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 50, 40, nullptr,
                               nullptr, nullptr, nullptr);
  ASSERT_TRUE(wnd);
  ::SendMessageW(Application->Handle(), WM_MENUWNDHOOK, 0, reinterpret_cast<LPARAM>(wnd));
  EXPECT_TRUE(IsPopupWndHooked(wnd));
  // The system does not erase or frame it.
  UniqueWindowDC dc = UniqueWindowDC::Window(wnd);
  EXPECT_EQ(1, ::SendMessageW(wnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0));
  dc.reset();
  ::DestroyWindow(wnd);
  EXPECT_FALSE(PopupState().MenuFrameBmp);
  EXPECT_EQ(nullptr, PopupState().MenuFirstItem);
}
