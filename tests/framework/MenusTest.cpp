// Menus: item trees mirrored to HMENUs, command dispatch to OnClick, the
// popup menu's window, context menus of controls and a form's menu bar.
#include <gtest/gtest.h>

#include <string>

#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "tests/framework/FormTestSupport.h"

namespace {

class MenusTest : public FormTest {
 protected:
  static TMenuItem* Item(TComponent* owner, const std::wstring& caption, int* clicks = nullptr) {
    auto* item = Construct<TMenuItem>(owner);
    item->SetCaption(caption);
    if (clicks) item->OnClick = [clicks](TObject*) { ++*clicks; };
    return item;
  }
  static std::wstring MenuText(HMENU menu, int pos) {
    wchar_t buf[128] = {};
    GetMenuStringW(menu, pos, buf, 128, MF_BYPOSITION);
    return buf;
  }
  static UINT MenuState(HMENU menu, int pos) { return GetMenuState(menu, pos, MF_BYPOSITION); }
  // Closes any menu a moment after it opens (TrackPopupMenu returns).
  static void CALLBACK EndMenuSoon(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
  }
};

TEST_F(MenusTest, PostedCommandReachesTheItemsOnClick) {
  auto* popup = Construct<TPopupMenu>(form);
  int clicks = 0;
  TMenuItem* open = Item(form, L"Открыть файл", &clicks);
  popup->Items()->Add(open);
  ASSERT_NE(TPopupMenu::WindowHandle(), nullptr);
  PostMessageW(TPopupMenu::WindowHandle(), WM_COMMAND, MAKEWPARAM(open->Command(), 0), 0);
  Application->ProcessMessages();
  EXPECT_EQ(clicks, 1);
  // A disabled item does not run.
  open->SetEnabled(false);
  EXPECT_TRUE(DispatchMenuCommand(open->Command()));
  EXPECT_EQ(clicks, 1);
}

TEST_F(MenusTest, HandleMirrorsItemsAndFollowsChanges) {
  auto* popup = Construct<TPopupMenu>(form);
  TMenuItem* a = Item(form, L"Открыть");
  TMenuItem* line = Item(form, L"-");
  TMenuItem* b = Item(form, L"Удалить");
  TMenuItem* hidden = Item(form, L"Скрытый");
  hidden->SetVisible(false);
  for (TMenuItem* i : {a, line, b, hidden}) popup->Items()->Add(i);
  b->SetShortCut(ShortCut(VK_DELETE, ssCtrl));
  HMENU h = popup->Handle();
  ASSERT_EQ(GetMenuItemCount(h), 3);
  EXPECT_EQ(MenuText(h, 0), L"Открыть");
  EXPECT_TRUE(MenuState(h, 1) & MF_SEPARATOR);
  EXPECT_EQ(MenuText(h, 2), L"Удалить\tCtrl+Del");
  a->SetChecked(true);
  b->SetEnabled(false);
  hidden->SetVisible(true);
  EXPECT_EQ(GetMenuItemCount(h), 4);
  EXPECT_TRUE(MenuState(h, 0) & MF_CHECKED);
  EXPECT_TRUE(MenuState(h, 2) & MF_GRAYED);
  delete line;
  EXPECT_EQ(GetMenuItemCount(h), 3);
  EXPECT_EQ(popup->Items()->Count(), 3);
}

TEST_F(MenusTest, SubItemsGetASubMenu) {
  auto* popup = Construct<TPopupMenu>(form);
  TMenuItem* parent = Item(form, L"Сортировка");
  popup->Items()->Add(parent);
  HMENU h = popup->Handle();
  EXPECT_EQ(GetSubMenu(h, 0), nullptr);
  int clicks = 0;
  TMenuItem* child = Item(form, L"По имени", &clicks);
  parent->Add(child);
  HMENU sub = GetSubMenu(h, 0);
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(MenuText(sub, 0), L"По имени");
  EXPECT_EQ(child->GetParentMenu(), popup);
  EXPECT_TRUE(popup->DispatchCommand(child->Command()));
  EXPECT_EQ(clicks, 1);
}

TEST_F(MenusTest, PopupShowsTheMenuAndReturnsWhenItCloses) {
  auto* popup = Construct<TPopupMenu>(form);
  popup->Items()->Add(Item(form, L"Один"));
  int popups = 0;
  popup->OnPopup = [&](TObject*) { ++popups; };
  SetTimer(nullptr, 0, 50, EndMenuSoon);
  popup->Popup(100, 100);
  EXPECT_EQ(popups, 1);
}

TEST_F(MenusTest, ContextMenuMessageOpensTheControlsPopupMenu) {
  auto* popup = Construct<TPopupMenu>(form);
  popup->Items()->Add(Item(form, L"Очистить список"));
  auto* edit = Make<TEdit>();
  edit->SetPopupMenu(popup);
  int popups = 0;
  popup->OnPopup = [&](TObject*) { ++popups; };
  SetTimer(nullptr, 0, 50, EndMenuSoon);
  SendMessageW(edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit->Handle()), MAKELPARAM(120, 120));
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(popup->PopupComponent, edit);
  // A handler that takes the message keeps the menu closed.
  TPoint seen{0, 0};
  edit->OnContextPopup = [&](TObject*, TPoint pos, bool& handled) {
    seen = pos;
    handled = true;
  };
  SendMessageW(edit->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit->Handle()), MAKELPARAM(-1, -1));
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(seen.x, -1);
  // The menu going away leaves no dangling reference.
  delete popup;
  EXPECT_EQ(edit->PopupMenu(), nullptr);
}

TEST_F(MenusTest, OwnerDrawnItemsAreMeasuredThroughTheirEvents) {
  auto* popup = Construct<TPopupMenu>(form);
  TMenuItem* item = Item(form, L"Пункт");
  popup->Items()->Add(item);
  popup->SetOwnerDraw(true);
  MENUITEMINFOW mii{};
  mii.cbSize = sizeof(mii);
  mii.fMask = MIIM_FTYPE | MIIM_DATA;
  ASSERT_TRUE(GetMenuItemInfoW(popup->Handle(), 0, TRUE, &mii));
  EXPECT_TRUE(mii.fType & MFT_OWNERDRAW);
  EXPECT_EQ(mii.dwItemData, reinterpret_cast<ULONG_PTR>(item));
  item->OnMeasureItem = [](TObject*, TCanvas*, int& w, int& h) {
    w = 123;
    h = 21;
  };
  MEASUREITEMSTRUCT mi{};
  mi.CtlType = ODT_MENU;
  mi.itemID = item->Command();
  mi.itemData = reinterpret_cast<ULONG_PTR>(item);
  EXPECT_TRUE(SendMessageW(TPopupMenu::WindowHandle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mi)));
  EXPECT_EQ(mi.itemWidth, 123u);
  EXPECT_EQ(mi.itemHeight, 21u);
}

TEST_F(MenusTest, MainMenuShowsOnTheFormAndDispatchesItsCommands) {
  form->SetClientHeight(300);
  auto* bar = Construct<TMainMenu>(form);
  TMenuItem* result = Item(form, L"Результат");
  int clicks = 0;
  TMenuItem* close = Item(form, L"Закрыть", &clicks);
  result->Add(close);
  bar->Items()->Add(result);
  form->SetMenu(bar);
  HWND w = form->Handle();
  EXPECT_EQ(GetMenu(w), bar->Handle());
  EXPECT_EQ(form->ClientHeight(), 300);
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(close->Command(), 0), 0);
  EXPECT_EQ(clicks, 1);
  // A recreated window gets the bar back; the bar survived the old window.
  form->SetBorderStyle(bsSingle);
  EXPECT_NE(form->Handle(), w);
  EXPECT_EQ(GetMenu(form->Handle()), bar->Handle());
  EXPECT_TRUE(IsMenu(bar->Handle()));
  form->SetMenu(nullptr);
  EXPECT_EQ(GetMenu(form->Handle()), nullptr);
}

TEST_F(MenusTest, FormAndItsOwnMenuBarGoTogetherCleanly) {
  auto* other = Construct<TForm>(Application);
  auto* bar = Construct<TMainMenu>(other);
  bar->Items()->Add(Item(other, L"Файл"));
  other->SetMenu(bar);
  other->HandleNeeded();
  HMENU menu = bar->Handle();
  ASSERT_TRUE(IsMenu(menu));
  delete other;  // frees the bar after the form's window is gone
  EXPECT_FALSE(IsMenu(menu)) << "the bar's menu outlived it";
}

TEST_F(MenusTest, AnItemsWindowPositionSkipsTheHiddenItemsBeforeIt) {
  auto* bar = Construct<TMainMenu>(form);
  TMenuItem* first = Item(form, L"Файл");
  TMenuItem* hidden = Item(form, L"Правка");
  TMenuItem* third = Item(form, L"Справка");
  for (TMenuItem* item : {first, hidden, third}) bar->Items()->Add(item);
  hidden->SetVisible(false);
  form->SetMenu(bar);
  form->Show();
  EXPECT_EQ(first->MenuPosition(), 0);
  EXPECT_EQ(hidden->MenuPosition(), -1);
  EXPECT_EQ(third->MenuPosition(), 1);
  EXPECT_EQ(MenuText(bar->Items()->Handle(), third->MenuPosition()), L"Справка");

  HWND wnd = form->Handle();
  RECT a{}, c{}, none{};
  ASSERT_TRUE(first->ItemRect(wnd, a));
  ASSERT_TRUE(third->ItemRect(wnd, c));
  EXPECT_FALSE(hidden->ItemRect(wnd, none));
  EXPECT_GE(c.left, a.right) << "the third item sits after the first on the bar";
  EXPECT_EQ(c.top, a.top);
}

TEST(ShortCutText, NamesKeysWithTheirModifiers) {
  struct Case {
    TShortCut sc;
    const wchar_t* text;
  } cases[] = {
      {ShortCut(VK_F4, ssAlt), L"Alt+F4"},
      {ShortCut(L'S', ssCtrl), L"Ctrl+S"},
      {ShortCut(VK_DELETE, ssShift), L"Shift+Del"},
      {scNone, L""},
  };
  for (const auto& c : cases) EXPECT_EQ(ShortCutToText(c.sc), c.text);
}

}  // namespace

namespace {

TEST_F(MenusTest, MenuBarOutlivingItsFormLetsGoOfIt) {
  auto* other = Construct<TForm>(Application);
  auto* bar = Construct<TMainMenu>(form);  // owned elsewhere
  bar->Items()->Add(Item(form, L"Файл"));
  other->SetMenu(bar);
  other->HandleNeeded();
  delete other;
  EXPECT_EQ(bar->Form(), nullptr);
  EXPECT_TRUE(IsMenu(bar->Handle()));
}

}  // namespace
