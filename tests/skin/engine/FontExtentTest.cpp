// A text's extent in a font is the one the screen measures, for every
// font and text a skinned control sizes itself by.
#include <gtest/gtest.h>

#include "framework/Graphics.h"
#include "framework/Handles.h"
#include "skin/engine/SkinText.h"

namespace {

TSize OnTheScreen(TFont& font, const std::wstring& text) {
  UniqueWindowDC screen = UniqueWindowDC::Client(nullptr);
  SelectObjectScope sel(screen.get(), font.Handle());
  SIZE s{0, 0};
  ::GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &s);
  return TSize{s.cx, s.cy};
}

}  // namespace

TEST(FontExtent, EqualsTheScreensMeasure) {
  struct Case {
    const wchar_t* name;
    int height;
    bool bold;
    const wchar_t* text;
  };
  const Case cases[] = {
      {L"Tahoma", -11, false, L"Система"},
      {L"Tahoma", -11, true, L"Корзина"},
      {L"Arial", -16, false, L"Очистка необходима"},
      {L"Courier New", -13, false, L"C:\\Windows\\Temp"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.height << (c.bold ? " bold " : " ") << c.text);
    TFont font;
    font.SetName(c.name);
    font.SetHeight(c.height);
    if (c.bold) font.SetStyle(fsBold);
    TSize measured{};
    GetFontTextExtent(&font, c.text, measured);
    const TSize screen = OnTheScreen(font, c.text);
    EXPECT_GT(measured.cx, 0);
    EXPECT_EQ(measured.cx, screen.cx);
    EXPECT_EQ(measured.cy, screen.cy);
  }
}
