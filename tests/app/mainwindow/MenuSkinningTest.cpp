// The program's menus are painted by the skin's menu skinner while a skin is
// active: popup menus from the moment they show, the drop-downs of the result
// window's menu bar from the moment it is opened.
#include <gtest/gtest.h>

#include "app/mainwindow/MainForm.h"
#include "app/duplicates/ResultForm.h"
#include "tests/app/common/MainFormHarness.h"
#include "tests/skin/windows/MenuTestSupport.h"

namespace {

bool PaintedBySkinner(TsSkinableMenus& menus, TMenuItem* item) {
  return menus.IsOwnHandler(item->OnAdvancedDrawItem) && menus.IsOwnHandler(item->OnMeasureItem);
}

}  // namespace

TEST(AppMenus, PopupMenusArePaintedByTheSkinnerOnceTheyShow) {
  testenv::EnsureMainForm();
  ASSERT_TRUE(DefaultManager && DefaultManager->SkinData->Active);
  TsSkinableMenus& menus = *DefaultManager->SkinableMenus;
  for (TPopupMenu* menu : {ResultForm->PopupMenu, MainForm->PopupMenu1}) {
    ASSERT_NE(menu, nullptr);
    menutest::PopupDriver run(menu, 1, nullptr);
    EXPECT_TRUE(run.Ran()) << menu->Name();
    EXPECT_TRUE(menu->OwnerDraw()) << menu->Name();
    for (int i = 0; i < menu->Items()->Count(); ++i)
      EXPECT_TRUE(PaintedBySkinner(menus, menu->Items()->Items(i))) << menu->Name() << " " << i;
  }
}

TEST(AppMenus, ResultWindowMenuBarsDropDownsArePaintedByTheSkinnerWhenOpened) {
  testenv::EnsureMainForm();
  ASSERT_TRUE(DefaultManager && DefaultManager->SkinData->Active);
  TsSkinableMenus& menus = *DefaultManager->SkinableMenus;
  TMainMenu* bar = ResultForm->MainMenu;
  ::SendMessageW(ResultForm->Handle(), WM_INITMENU, reinterpret_cast<WPARAM>(bar->Handle()), 0);
  EXPECT_TRUE(bar->OwnerDraw());
  TMenuItem* sort = bar->Items()->Find(L"Сортировка");
  ASSERT_NE(sort, nullptr);
  ASSERT_GT(sort->Count(), 0);
  EXPECT_TRUE(PaintedBySkinner(menus, sort->Items(0)));
}
