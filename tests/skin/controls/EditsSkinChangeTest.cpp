// A form holding one edit, memo and combo box through skin changes: every
// internal skin and no skin, the framework look without a skin, and no GDI
// objects left behind.
#include <gtest/gtest.h>

#include "skin/controls/ComboBox.h"
#include "skin/controls/Edit.h"
#include "skin/controls/Memo.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class EditsSkinChange : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    edit = Place<TsEdit>(form, 10, 10, 150, 21);
    edit->SetText(L"Корзина");
    memo = Place<TsMemo>(form, 10, 40, 200, 100);
    memo->SetScrollBars(ssVertical);
    for (int i = 0; i < 30; ++i) memo->Lines()->Add(L"C:\\Temp\\файл" + std::to_wstring(i));
    combo = Place<TsComboBox>(form, 10, 150, 200, 21);
    for (int i = 0; i < 20; ++i) combo->Items()->Add(L"Скин " + std::to_wstring(i));
    combo->SetItemIndex(3);
    form->Show();
  }
  std::vector<TWinControl*> All() { return {edit, memo, combo}; }
  void PrintAll() {
    for (TWinControl* c : All()) PrintControl(c);
  }

  TsEdit* edit = nullptr;
  TsMemo* memo = nullptr;
  TsComboBox* combo = nullptr;
};

}  // namespace

TEST_F(EditsSkinChange, EveryInternalSkinSkinsThemAndNoSkinGivesTheFrameworkLook) {
  for (const std::wstring& name : InternalSkinNames(*manager)) {
    manager->SetSkinName(name);
    for (TWinControl* c : All()) EXPECT_TRUE(SkinDataOf(c)->Skinned(true)) << c->ClassName();
    EXPECT_NE(nullptr, memo->EditWnd());
    PrintAll();
    EXPECT_FALSE(combo->SkinData->BGChanged) << "rebuilt by the print";
    EXPECT_EQ(ColorToRGB(Sec(L"EDIT").Color), ColorToRGB(edit->Color())) << name;
  }
  manager->SetActive(false);
  for (TWinControl* c : All()) EXPECT_FALSE(SkinDataOf(c)->Skinned(true)) << c->ClassName();
  EXPECT_EQ(nullptr, memo->EditWnd());
  EXPECT_EQ(nullptr, GetScrollWnd(memo->Handle()));
  EXPECT_EQ(clWindow, edit->Color());
  EXPECT_EQ(clWindow, memo->Color());
  EXPECT_EQ(clWindow, combo->Color());
  EXPECT_EQ(L"Корзина", edit->Text());
  EXPECT_EQ(30, memo->Lines()->Count());
  EXPECT_EQ(3, combo->ItemIndex());
  auto plain = PrintControl(edit);
  EXPECT_EQ(ColorToRGB(clWindow), Px(*plain, 140, 10));
  manager->SetActive(true);
  EXPECT_NE(nullptr, memo->EditWnd());
}

TEST_F(EditsSkinChange, GdiObjectCountStaysOverFiftyChanges) {
  const TGdiCounts counts = GdiCountsOverFiftySkinChanges(*manager, [&] {
    ::SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, TRUE, 0);
    ::UpdateWindow(combo->ListHandle());
    ::SendMessageW(combo->Handle(), CB_SHOWDROPDOWN, FALSE, 0);
    PrintAll();
    ::UpdateWindow(form->Handle());
  });
  ASSERT_GT(counts.settled, 0);
  EXPECT_EQ(counts.settled, counts.after);
}
