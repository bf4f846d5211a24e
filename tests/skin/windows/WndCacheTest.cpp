// The cache image of an adapted window and the repair of its transparent
// corners.
#include <gtest/gtest.h>

#include "framework/Forms.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/SkinManager.h"
#include "skin/windows/MainWnd.h"
#include "skin/windows/WndCache.h"
#include "tests/skin/engine/PixelTestUtil.h"
#include "tests/skin/windows/AdapterTestSupport.h"

using namespace adaptertest;

namespace {

// The parent answers AC_GETBGCOLOR with this colour.
constexpr TColor kParentColor = 0x3366CC;

LRESULT CALLBACK ColouredParent(HWND wnd, UINT msg, WPARAM w, LPARAM l) {
  if (msg == SM_ALPHACMD && HIWORD(w) == AC_GETBGCOLOR) {
    BGFillColor = kParentColor;
    return 0;
  }
  return ::DefWindowProcW(wnd, msg, w, l);
}

TEST(WndCorners, TransparentMaskCornersShowTheParentsColour) {
  InitFramework();
  auto manager = InternalSkinManager();
  WNDCLASSW wc{};
  wc.lpfnWndProc = ColouredParent;
  wc.hInstance = ::GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TarnholtColouredParent";
  ::RegisterClassW(&wc);
  HWND parent = ::CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 200, 200, nullptr,
                                  nullptr, wc.hInstance, nullptr);
  HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 10, 10, 40, 30, parent, nullptr,
                                 wc.hInstance, nullptr);
  TacMainWndPtr adapter = TacMainWnd::Create<TacMainWnd>(child, nullptr, manager.get(), L"EDIT");
  GetWndRectInParent(child, adapter->ParentWnd, adapter->WndRect, adapter->Caption,
                     adapter->WndPos, adapter->WndSize, adapter->ParentRect);

  // A 12 x 12 border mask of one cell whose outermost corner pixels are
  // transparent.
  TsMaskData md;
  md.Bmp = skintest::MakeBmp(12, 12, clWhite);
  for (TPoint p : {TPoint{0, 0}, TPoint{11, 0}, TPoint{0, 11}, TPoint{11, 11}})
    skintest::SetPx(*md.Bmp, p.x, p.y, clFuchsia);
  md.R = TRect{0, 0, 12, 12};
  md.ImageCount = 1;
  md.WL = md.WT = md.WR = md.WB = 3;
  md.Manager = manager.get();
  manager->ma.push_back(std::move(md));
  TsCommonData* sd = adapter->SkinData;
  sd->BorderIndex = static_cast<int>(manager->ma.size()) - 1;
  sd->CacheBmp = skintest::MakeBmp(40, 30, clBlue);

  UpdateWndCorners(sd, 0, adapter.get());
  TBitmap& cache = *sd->CacheBmp;
  for (TPoint p : {TPoint{0, 0}, TPoint{39, 0}, TPoint{0, 29}, TPoint{39, 29}})
    EXPECT_EQ(skintest::Px(cache, p.x, p.y), kParentColor) << p.x << "," << p.y;
  EXPECT_EQ(skintest::Px(cache, 1, 1), clBlue);
  EXPECT_EQ(skintest::Px(cache, 20, 15), clBlue);
  EXPECT_EQ(BGFillColor, clFuchsia);  // the reply slot is left clear

  manager->ma.pop_back();
  adapter.reset();
  ::DestroyWindow(parent);
}

TEST(WndCache, IsSizedAndPaintedOverTheParentOnlyWhenThereIsOne) {
  InitFramework();
  auto manager = InternalSkinManager();
  HWND parent = MakeProbe(false, 200, 200);
  HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 10, 10, 40, 30, parent, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
  struct Case {
    const char* name;
    HWND wnd;
    bool painted;  // BGChanged cleared
  } cases[] = {{"child", child, true}, {"top-level window", parent, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TacMainWndPtr adapter = TacMainWnd::Create<TacMainWnd>(c.wnd, nullptr, manager.get(), L"EDIT");
    TsCommonData* sd = adapter->SkinData;
    sd->BGChanged = true;
    PrepareWndCache(sd, c.wnd, false);
    TRect r{};
    ::GetWindowRect(c.wnd, &r);
    ASSERT_NE(sd->CacheBmp, nullptr);
    EXPECT_EQ(sd->CacheBmp->Width(), r.right - r.left);
    EXPECT_EQ(sd->CacheBmp->Height(), r.bottom - r.top);
    EXPECT_EQ(sd->BGChanged, !c.painted);
    if (c.painted) {  // the middle shows the section's own colour
      const TColor edit = skintest::Section(*manager, L"EDIT").Color;
      EXPECT_EQ(skintest::Px(*sd->CacheBmp, 20, 15), edit);
    }
  }
  ::DestroyWindow(parent);
}

}  // namespace
