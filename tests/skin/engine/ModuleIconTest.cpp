// The application icon is the executable's own icon resource: the built
// program's icon group gives the pixels of the program's icon file, not a
// generic icon.
#include <gtest/gtest.h>

#include <windows.h>

#include "skin/engine/ModuleIcon.h"
#include "tests/common/TestEnv.h"
#include "tests/skin/engine/PixelTestUtil.h"

using skintest::MakeBmp;
using skintest::Px;

namespace {

constexpr TColor kBack = 0x123456;

std::unique_ptr<TBitmap> Drawn(HICON icon, int size) {
  auto b = MakeBmp(size, size, kBack);
  ::DrawIconEx(b->Canvas()->Handle(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  ::GdiFlush();
  return b;
}

int Differing(TBitmap& a, TBitmap& b) {
  int n = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) n += Px(a, x, y) != Px(b, x, y);
  return n;
}

TEST(ModuleIcon, TheProgramsIconIsTheFirstIconGroupOfItsExecutable) {
  const std::wstring exe = testenv::TarnholtExePath();
  ASSERT_FALSE(exe.empty());
  HMODULE program = ::LoadLibraryExW(exe.c_str(), nullptr,
                                     LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  ASSERT_NE(program, nullptr);
  // The icon file the program's resource script names.
  const std::wstring file = testenv::FixturePath(L"..\\..\\app\\res\\tarnholt.ico");
  for (int size : {16, 32}) {
    SCOPED_TRACE(size);
    std::unique_ptr<TIcon> icon = LoadModuleIcon(program, size);
    ASSERT_NE(icon, nullptr);
    HICON original = static_cast<HICON>(
        ::LoadImageW(nullptr, file.c_str(), IMAGE_ICON, size, size, LR_LOADFROMFILE));
    ASSERT_NE(original, nullptr);
    auto ours = Drawn(icon->Handle(), size);
    auto expected = Drawn(original, size);
    auto generic = Drawn(::LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION)), size);
    EXPECT_EQ(0, Differing(*ours, *expected));
    EXPECT_GT(size * size - skintest::CountColor(*ours, kBack), size) << "the icon draws";
    EXPECT_GT(Differing(*ours, *generic), size) << "not the generic icon";
    ::DestroyIcon(original);
  }
  ::FreeLibrary(program);
}

TEST(ModuleIcon, AModuleWithoutAnIconGroupHasNone) {
  // The test executable carries no icon resource.
  EXPECT_EQ(nullptr, LoadModuleIcon(::GetModuleHandleW(nullptr), 16));
  EXPECT_EQ(nullptr, LoadModuleIcon(nullptr, 16));
}

}  // namespace
