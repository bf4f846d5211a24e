// Texts the user must read whole: each control's text, measured with the
// control's own font, fits the area the control draws it in (labels their
// client area, check boxes the caption rectangle beside the box, tabs the
// tab the platform laid out, input boxes their prompt label).
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/mainwindow/MainForm.h"
#include "framework/Dialogs.h"
#include "framework/StdCtrls.h"
#include "skin/controls/CheckBox.h"
#include "skin/controls/PageControl.h"
#include "tests/app/common/MainFormHarness.h"

namespace {

int TextWidth(TFont* font, const std::wstring& text) {
  SIZE size{};
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font->Handle());
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size.cx;
}

// One text, its width in its control's font, and the room the control
// gives it.
struct TextArea {
  TextArea(std::wstring control, std::wstring text, TFont* font, int room)
      : control(std::move(control)), text(std::move(text)), textWidth(TextWidth(font, this->text)), room(room) {}
  std::wstring control;
  std::wstring text;
  int textWidth;
  int room;
};

TextArea LabelArea(TLabel* label) { return {label->Name(), label->Caption(), label->Font(), label->Width()}; }

// A check box draws its caption from the box's right (box, margin, indent
// and a 4-pixel gap) to its width less the margin and 2 pixels.
TextArea CheckBoxArea(TsCheckBox* box) {
  const TRect b = box->CheckRect();
  const int left = (b.right - b.left) + box->TextIndent() + 3 + box->Margin() + 1;
  const int right = box->Width() - box->Margin() - 2;
  return {box->Name(), box->Caption(), box->Font(), right - left};
}

struct TextFitCase {
  const char* name;
  // Shows what the case needs and lists its texts.
  std::function<std::vector<TextArea>(TMainForm*)> areas;
};

void PrintTo(const TextFitCase& c, std::ostream* os) { *os << c.name; }

class TextFitTest : public ::testing::TestWithParam<TextFitCase> {
 protected:
  void TearDown() override {
    testenv::EnsureMainForm()->SelectPage(0);
    Application->ProcessMessages();
  }
};

TEST_P(TextFitTest, EachTextMeasuredWithItsFontFitsItsArea) {
  TMainForm* form = testenv::EnsureMainForm();
  const std::vector<TextArea> areas = GetParam().areas(form);
  ASSERT_FALSE(areas.empty());
  for (const TextArea& area : areas) {
    ASSERT_FALSE(area.text.empty()) << area.control;
    EXPECT_LE(area.textWidth, area.room) << area.control << ": " << ::testing::PrintToString(area.text);
  }
}

// The texts of the controls of one kind on the main window's pages first
// to last, each page shown in turn.
template <class T>
std::vector<TextArea> OnPages(TMainForm* form, int first, int last, TextArea (*area)(T*)) {
  std::vector<TextArea> areas;
  for (int page = first; page <= last; ++page) {
    form->SelectPage(page);
    Application->ProcessMessages();
    for (int i = 0; i < form->ComponentCount(); ++i) {
      auto* control = dynamic_cast<T*>(form->Components(i));
      if (!control || control->Caption().empty()) continue;
      if (control->Parent() && !control->Parent()->IsShowing()) continue;
      areas.push_back(area(control));
    }
  }
  return areas;
}

// The prompts the program asks with, in the input box as it is shown.
std::vector<TextArea> InputBoxPrompts(TMainForm*) {
  std::vector<TextArea> areas;
  for (const wchar_t* prompt :
       {L"Введите фильтр:", L"Введите описание:", L"Исправьте название фильтр:", L"Исправьте описание фильтра:",
        L"Исправьте название исключения:", L"Исправьте описание исключения:", L"Введите имя"}) {
    std::unique_ptr<TInputQueryForm> box(Construct<TInputQueryForm>(Application, L"Добавить фильтр", prompt, L"*.tmp"));
    box->Show();
    Application->ProcessMessages();
    areas.push_back(LabelArea(box->Prompt));
    areas.back().control = prompt;
    box->Hide();
  }
  return areas;
}

const TextFitCase kCases[] = {
    {"FinderListLabels",
     [](TMainForm* form) {
       form->SelectPage(15);
       Application->ProcessMessages();
       return std::vector<TextArea>{LabelArea(form->FinderPathsLabel), LabelArea(form->FinderFiltersLabel),
                                    LabelArea(form->FinderExclusionsLabel)};
     }},
    {"CleanupCheckBoxes", [](TMainForm* form) { return OnPages(form, 0, 0, CheckBoxArea); }},
    {"SettingsCheckBoxes", [](TMainForm* form) { return OnPages(form, 3, 11, CheckBoxArea); }},
    {"CleanupLabels", [](TMainForm* form) { return OnPages(form, 0, 0, LabelArea); }},
    {"SettingsLabels", [](TMainForm* form) { return OnPages(form, 3, 11, LabelArea); }},
    {"ApplicationsTabs",
     [](TMainForm* form) {
       form->SelectPage(2);
       Application->ProcessMessages();
       std::vector<TextArea> areas;
       TsPageControl* pages = form->sPageControl2;
       for (int i = 0; i < pages->PageCount(); ++i) {
         const TRect tab = pages->TabRect(pages->Pages(i)->TabIndex());
         areas.push_back({pages->Pages(i)->Name(), pages->Pages(i)->Caption(), pages->Font(), tab.right - tab.left});
       }
       return areas;
     }},
    {"InputBoxPrompts", InputBoxPrompts},
};

INSTANTIATE_TEST_SUITE_P(Controls, TextFitTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<TextFitCase>& info) { return info.param.name; });

}  // namespace
