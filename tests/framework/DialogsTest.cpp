// Dialogs: the file dialogs' parameters, and the input box driven through
// its own controls while it runs modally.
#include <gtest/gtest.h>

#include <string>

#include "framework/Dialogs.h"

namespace {

// A literal with embedded NULs as a whole string (its final NUL left out).
template <size_t N>
std::wstring Nul(const wchar_t (&lit)[N]) {
  return std::wstring(lit, N - 1);
}

TEST(FileDialogParams, FilterBecomesADoubleNulTerminatedList) {
  struct Case {
    std::wstring filter;
    std::wstring expected;
  } cases[] = {
      {L"A|*.a|B|*.b", Nul(L"A\0*.a\0B\0*.b\0\0")},
      {L"Registry files|*.reg", Nul(L"Registry files\0*.reg\0\0")},
      {L"Приложения|*.exe|", Nul(L"Приложения\0*.exe\0\0")},
      {L"", std::wstring(2, L'\0')},
  };
  for (const auto& c : cases) EXPECT_EQ(BuildFilterString(c.filter), c.expected) << c.filter;
}

TEST(FileDialogParams, DefaultExtensionLosesLeadingStarsAndDots) {
  EXPECT_EQ(NormalizeDefaultExt(L"*.LsD"), L"LsD");
  EXPECT_EQ(NormalizeDefaultExt(L".reg"), L"reg");
  EXPECT_EQ(NormalizeDefaultExt(L"LsD"), L"LsD");
  EXPECT_EQ(NormalizeDefaultExt(L""), L"");
}

TEST(FileDialogParams, OptionsMapToExplorerFlags) {
  DWORD f = OpenOptionsToOFN(ofOverwritePrompt | ofFileMustExist | ofHideReadOnly | ofAllowMultiSelect);
  EXPECT_EQ(f, static_cast<DWORD>(OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST | OFN_HIDEREADONLY |
                                  OFN_ALLOWMULTISELECT));
}

TEST(FileDialogParams, SelectedNamesAreSplitIntoFullPaths) {
  const wchar_t multi[] = L"C:\\dir\0a.txt\0b.txt\0";
  auto files = ParseSelectedFiles(multi);
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0], L"C:\\dir\\a.txt");
  EXPECT_EQ(files[1], L"C:\\dir\\b.txt");
  const wchar_t single[] = L"C:\\x.reg\0";
  auto one = ParseSelectedFiles(single);
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0], L"C:\\x.reg");
}

// ---------------------------------------------------------------- input boxes

// What the timer does to the input form once it shows.
enum class Action { TypeAndOk, TypeAndEnter, Escape, CancelButton };
Action g_action;
std::wstring g_typed;
std::wstring g_seenPrompt, g_seenCaption;

TInputQueryForm* ShownInputForm() {
  for (int i = 0; i < Screen->FormCount(); ++i)
    if (auto* f = dynamic_cast<TInputQueryForm*>(Screen->Forms(i)); f && f->Visible()) return f;
  return nullptr;
}

void CALLBACK DriveInputForm(HWND, UINT, UINT_PTR id, DWORD) {
  TInputQueryForm* f = ShownInputForm();
  if (!f) return;  // not up yet: the next tick
  KillTimer(nullptr, id);
  g_seenPrompt = f->Prompt->Caption();
  g_seenCaption = f->Caption();
  switch (g_action) {
    case Action::TypeAndOk:
      f->Edit->SetText(g_typed);
      SendMessageW(f->OkButton->Handle(), BM_CLICK, 0, 0);
      break;
    case Action::TypeAndEnter:
      f->Edit->SetText(g_typed);
      PostMessageW(f->Edit->Handle(), WM_KEYDOWN, VK_RETURN, 0);
      break;
    case Action::Escape:
      f->Edit->SetText(L"ignored");
      PostMessageW(f->Edit->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
      break;
    case Action::CancelButton:
      SendMessageW(f->CancelButton->Handle(), BM_CLICK, 0, 0);
      break;
  }
}

class InputBoxTest : public ::testing::Test {
 protected:
  void SetUp() override { InitFramework(); }
  static void Drive(Action a, const std::wstring& typed = L"") {
    g_action = a;
    g_typed = typed;
    SetTimer(nullptr, 0, 30, DriveInputForm);
  }
};

TEST_F(InputBoxTest, OkReturnsTheTypedText) {
  Drive(Action::TypeAndOk, L"Мой фильтр");
  std::wstring value = L"старое";
  EXPECT_TRUE(InputQuery(L"Добавить фильтр", L"Введите фильтр:", value));
  EXPECT_EQ(value, L"Мой фильтр");
  EXPECT_EQ(g_seenCaption, L"Добавить фильтр");
  EXPECT_EQ(g_seenPrompt, L"Введите фильтр:");
}

TEST_F(InputBoxTest, EnterConfirmsEscapeCancels) {
  Drive(Action::TypeAndEnter, L"*.tmp");
  std::wstring value;
  EXPECT_TRUE(InputQuery(L"c", L"p", value));
  EXPECT_EQ(value, L"*.tmp");
  Drive(Action::Escape);
  value = L"kept";
  EXPECT_FALSE(InputQuery(L"c", L"p", value));
  EXPECT_EQ(value, L"kept");
}

TEST_F(InputBoxTest, InputBoxGivesTheDefaultWhenCancelled) {
  Drive(Action::CancelButton);
  EXPECT_EQ(InputBox(L"Добавить", L"Введите имя", L"Приложение"), L"Приложение");
  Drive(Action::TypeAndOk, L"Notepad");
  EXPECT_EQ(InputBox(L"Добавить", L"Введите имя", L"Приложение"), L"Notepad");
}

}  // namespace
