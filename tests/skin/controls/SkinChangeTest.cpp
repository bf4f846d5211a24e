// A form carrying one of each skinned control through skin changes: every
// control paints again from the new skin, with no skin they look and act as
// their framework classes, and the process's GDI objects stay the same over
// many changes.
#include <gtest/gtest.h>

#include "skin/controls/BitBtn.h"
#include "skin/controls/Button.h"
#include "skin/controls/CheckBox.h"
#include "skin/controls/FrameAdapter.h"
#include "skin/controls/Label.h"
#include "skin/controls/LabelFX.h"
#include "skin/controls/Panel.h"
#include "skin/controls/SpeedButton.h"
#include "skin/controls/WebLabel.h"
#include "tests/skin/controls/ControlTestSupport.h"

using namespace skintest;

namespace {

class SkinChangeTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->SetBounds(0, 0, 500, 300);
    form->Show();
    panel = Place<TsPanel>(form, 10, 10, 200, 120);
    panel->SetCaption(L"Панель");
    button = Place<TsButton>(panel, 10, 10, 80, 25);
    button->SetCaption(L"Анализ");
    bitBtn = Place<TsBitBtn>(panel, 100, 10, 80, 25);
    bitBtn->SetCaption(L"Windows");
    check = Place<TsCheckBox>(panel, 10, 50, 120, 20);
    check->SetCaption(L"Система");
    speed = Place<TsSpeedButton>(panel, 10, 80, 60, 24);
    speed->SetCaption(L"Пуск");
    label = Place<TsLabel>(form, 220, 10, 80, 15);
    label->SetCaption(L"Готово");
    web = Place<TsWebLabel>(form, 220, 30, 80, 15);
    web->SetCaption(L"Сайт");
    fx = Place<TsLabelFX>(form, 220, 50, 80, 20);
    fx->SetCaption(L"Очистка");
    frame = Place<TFrame>(form, 250, 100, 200, 150);
    Construct<TsFrameAdapter>(frame)->Loaded();
    ::UpdateWindow(form->Handle());
  }
  TsPanel* panel = nullptr;
  TsButton* button = nullptr;
  TsBitBtn* bitBtn = nullptr;
  TsCheckBox* check = nullptr;
  TsSpeedButton* speed = nullptr;
  TsLabel* label = nullptr;
  TsWebLabel* web = nullptr;
  TsLabelFX* fx = nullptr;
  TFrame* frame = nullptr;
};

}  // namespace

TEST_F(SkinChangeTest, EveryInternalSkinRepaintsEveryControlFromItsSections) {
  const auto names = InternalSkinNames(*manager);
  ASSERT_EQ(5u, names.size());
  for (const std::wstring& name : names) {
    manager->SetSkinName(name);
    RepaintAll();
    SCOPED_TRACE(name);
    EXPECT_TRUE(panel->SkinData->Skinned());
    EXPECT_EQ(ColorToRGB(Sec(L"PANEL").Color), Px(*PrintControl(panel), 195, 115));
    for (TsCommonData* sd : {panel->SkinData.get(), button->SkinData.get(),
                             bitBtn->SkinData.get(), speed->SkinData.get()}) {
      EXPECT_GE(sd->SkinIndex, 0);
      EXPECT_FALSE(sd->BGChanged);  // painted again after the change
      EXPECT_FALSE(sd->Updating);
    }
    EXPECT_EQ(manager->GetGlobalFontColor(), label->Font()->Color());
  }
}

TEST_F(SkinChangeTest, WithoutASkinTheControlsAreTheirFrameworkSelves) {
  manager->SetActive(false);
  ::UpdateWindow(form->Handle());
  EXPECT_FALSE(panel->SkinData->Skinned());
  // The panel paints as the framework panel: its own colour inside.
  auto img = MakeBmp(panel->Width(), panel->Height(), 0x123456);
  panel->Perform(WM_PAINT, reinterpret_cast<WPARAM>(img->Canvas()->Handle()));
  EXPECT_EQ(ColorToRGB(panel->Color()), Px(*img, 150, 100));
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  ::SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  PumpFor(20);
  EXPECT_EQ(1, clicks);
  ::SendMessageW(check->Handle(), BM_CLICK, 0, 0);
  PumpFor(20);
  EXPECT_TRUE(check->Checked());
  EXPECT_EQ(clWindowText, label->Font()->Color());
}

TEST_F(SkinChangeTest, GdiObjectsStayTheSameOverFiftySkinChanges) {
  const auto names = InternalSkinNames(*manager);
  auto change = [&](int i) {
    manager->SetSkinName(names[i % names.size()]);
    ::UpdateWindow(form->Handle());
    PumpFor(2);
  };
  for (int i = 0; i < 5; ++i) change(i);
  const int before = GdiObjectCount();
  ASSERT_GT(before, 0);
  for (int i = 0; i < 50; ++i) change(i);
  EXPECT_EQ(before, GdiObjectCount());
}
