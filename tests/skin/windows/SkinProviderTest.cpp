// The form skin provider on a real window: frame and caption from the skin
// (printed and on screen), the window region, hit testing, the caption
// buttons' press and release, snapping, caption text, and skin changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinMessages.h"
#include "skin/windows/SkinProvider.h"
#include "skin/windows/SkinableMenus.h"
#include "tests/skin/controls/ControlTestSupport.h"
#include "tests/skin/windows/AdapterTestSupport.h"
#include "tests/skin/windows/SentMessages.h"
#include "tests/skin/windows/WindowPoints.h"
#include "tests/common/MenuBars.h"

using namespace skintest;

namespace {

class SkinProviderTest : public SkinnedForm {
 protected:
  void SetUp() override {
    SkinnedForm::SetUp();
    form->SetCaption(L"");
    form->SetBounds(60, 60, 400, 300);
    form->OnClose = [this](TObject*, TCloseAction& action) {
      ++closes;
      action = caNone;
    };
    provider = Construct<TsSkinProvider>(form);
    form->Show();
    wnd = form->WindowHandle();
    adaptertest::Pump(50);
    ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
  }
  void TearDown() override {
    ::ReleaseCapture();
    SkinnedForm::TearDown();
  }
  std::unique_ptr<TBitmap> Print() {
    auto b = MakeBmp(WndWidth(wnd), WndHeight(wnd), 0x123456);
    ::SendMessageW(wnd, WM_PRINT, reinterpret_cast<WPARAM>(b->Canvas()->Handle()),
                   PRF_CLIENT | PRF_NONCLIENT);
    return b;
  }
  // The skin's own image of a section over the whole window.
  std::unique_ptr<TBitmap> Expected(const std::wstring& section, int height, int state) {
    auto b = CreateBmp24(WndWidth(wnd), WndHeight(wnd));
    const int index = manager->GetSkinIndex(section);
    PaintItem(index, section, EmptyCacheInfo, true, state, TRect{0, 0, b->Width(), height},
              TPoint{0, 0}, b.get(), manager.get());
    return b;
  }
  int Band() const { return provider->SysCaptionHeight() + provider->SysBorderHeight(); }

  TsSkinProvider* provider = nullptr;
  HWND wnd = nullptr;
  int closes = 0;
};

}  // namespace

TEST_F(SkinProviderTest, PrintShowsFrameAndCaptionFromTheSkinAndNoSystemCaption) {
  ASSERT_TRUE(provider->SkinData->Skinned(true));
  const int w = WndWidth(wnd), h = WndHeight(wnd), band = Band();
  ASSERT_GT(band, 10);
  auto img = Print();
  const int state = provider->FormActive ? 1 : 0;
  auto title = Expected(L"FORMTITLE", band, state);
  auto frame = Expected(L"FORM", h, state);
  // Caption band between the icon and the buttons (the caption is empty).
  const int xs[] = {60, w / 2, w - provider->ButtonsWidth() - 20};
  for (int x : xs) EXPECT_EQ(Px(*title, x, band / 2), Px(*img, x, band / 2)) << "x " << x;
  // Left, right and bottom frame pixels come from the "FORM" border image.
  EXPECT_EQ(Px(*frame, 0, h / 2), Px(*img, 0, h / 2));
  EXPECT_EQ(Px(*frame, w - 1, h / 2), Px(*img, w - 1, h / 2));
  EXPECT_EQ(Px(*frame, w / 2, h - 1), Px(*img, w / 2, h - 1));
  const TColor sys[] = {ColorToRGB(clActiveCaption), ColorToRGB(clInactiveCaption),
                        static_cast<TColor>(::GetSysColor(COLOR_GRADIENTACTIVECAPTION))};
  int systemPixels = 0;
  for (int y = 0; y < band; ++y)
    for (int x = 0; x < w; ++x)
      for (TColor c : sys) systemPixels += Px(*img, x, y) == c;
  EXPECT_EQ(0, systemPixels);

  // The window itself shows the same pixels after a frame paint.
  ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
  UniqueWindowDC dc = UniqueWindowDC::Window(wnd);
  for (int x : xs) EXPECT_EQ(Px(*img, x, band / 2), static_cast<TColor>(::GetPixel(dc.get(), x, band / 2)));
  EXPECT_EQ(Px(*img, 0, h / 2), static_cast<TColor>(::GetPixel(dc.get(), 0, h / 2)));
}

// A frame paint must give the pixels a form painting the same caption band
// for the first time gives, whatever band came before: what one paint keeps
// for the next (the caption icon over its background, the buttons' strip,
// the caption height) must not leak into another band's image.
TEST_F(SkinProviderTest, RepeatedFramePaintsMatchAFreshFormsPaintOfTheSameBand) {
  TsGeneralData& title = Sec(L"FORMTITLE");
  const TsGeneralData saved = title;
  auto band = [&](TColor c) {  // a flat caption band of colour C
    title.Color = title.HotColor = c;
    title.ImagePercent = title.HotImagePercent = 0;
    title.GradientPercent = title.HotGradientPercent = 0;
    title.Transparency = title.HotTransparency = 0;
  };
  auto paint = [](TsSkinProvider* p) {
    p->FormActive = true;
    p->SkinData->BGChanged = true;
    p->PaintAll();
    const TacBmpView v(*p->SkinData->CacheBmp);
    std::vector<uint8_t> bits;
    for (int y = 0; y < v.Height; ++y)
      bits.insert(bits.end(), v.Pixel(0, y), v.Pixel(0, y) + v.Width * v.BytesPerPixel);
    return bits;
  };
  const TColor colours[] = {0x3060C0, 0xC06030};
  ASSERT_TRUE(provider->IconVisible());
  std::vector<uint8_t> first[2];
  for (int i = 0; i < 2; ++i) {
    band(colours[i]);
    first[i] = paint(provider);
  }
  // The two bands differ under the icon.
  const TRect icon = provider->TitleIconRect();
  ASSERT_GT(icon.right, icon.left);
  const int w = provider->SkinData->CacheBmp->Width();
  int iconDiffers = 0;
  for (int y = icon.top; y < icon.bottom; ++y)
    for (int x = icon.left; x < icon.right; ++x) {
      const size_t i = (static_cast<size_t>(y) * w + x) * 3;
      iconDiffers += std::memcmp(&first[0][i], &first[1][i], 3) != 0;
    }
  ASSERT_GT(iconDiffers, 0);

  // A second form of the same size, shown over the second band, paints the
  // first and then the second: each over a band it has not drawn on before.
  TForm* other = Construct<TForm>(Application);
  other->SetColor(clWhite);
  other->SetCaption(L"");
  other->SetBounds(80, 80, 400, 300);
  auto* fresh = Construct<TsSkinProvider>(other);
  other->Show();
  adaptertest::Pump(50);
  std::vector<uint8_t> expected[2];
  for (int i = 0; i < 2; ++i) {
    band(colours[i]);
    expected[i] = paint(fresh);
  }
  delete other;
  for (int i = 0; i < 2; ++i) EXPECT_TRUE(first[i] == expected[i]) << "band " << i;
  for (int round = 0; round < 2; ++round)
    for (int i = 0; i < 2; ++i) {
      band(colours[i]);
      EXPECT_TRUE(paint(provider) == expected[i]) << "band " << i << ", round " << round;
    }
  title = saved;
}

TEST_F(SkinProviderTest, MenuBarItemsArePaintedOnTheSkinsMenuLine) {
  TMainMenu* menu = testenv::MakeMenuBar(form, {{L"Файл", L"Пункт"}, {L"Правка", L"Пункт"}});
  form->SetMenu(menu);
  adaptertest::Pump(50);
  TacMenuLine line;
  ASSERT_TRUE(provider->MenuLine(line));
  ASSERT_NE(line.Bmp, nullptr);
  EXPECT_EQ(line.Top, Band());
  ASSERT_GE(line.Bmp->Height(), provider->MenuHeight());
  RECT wr{};
  ::GetWindowRect(wnd, &wr);
  auto img = Print();
  // Each item is drawn over the bare line (its text at least); the skinner
  // owns the bar's items while the provider paints their line.
  for (int i = 0; i < 2; ++i) {
    TMenuItem* item = menu->Items()->Items(i);
    EXPECT_TRUE(item->OnAdvancedDrawItem != nullptr) << i;
    RECT r{};
    ASSERT_TRUE(item->ItemRect(wnd, r));
    int drawn = 0;
    for (int y = r.top - wr.top + 1; y < r.bottom - wr.top - 1; ++y)
      for (int x = r.left - wr.left + 1; x < r.right - wr.left - 1; ++x)
        drawn += Px(*img, x, y) != Px(*line.Bmp, x, y - line.Top);
    EXPECT_GT(drawn, 10) << "item " << i;
  }
  // Past the items the band is the bare line.
  const int y = line.Top + provider->MenuHeight() / 2;
  const int x = WndWidth(wnd) - provider->SysBorderWidth() - 10;
  EXPECT_EQ(Px(*line.Bmp, x, y - line.Top), Px(*img, x, y));

  form->SetMenu(nullptr);
  adaptertest::Pump(50);
  EXPECT_FALSE(provider->MenuLine(line));
}

TEST_F(SkinProviderTest, RegionCutsTheSkinsCornersAndGoesWithTheSkin) {
  UniqueRgn rgn(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_EQ(COMPLEXREGION, ::GetWindowRgn(wnd, rgn.get()));
  ASSERT_FALSE(provider->RgnRects.empty());
  for (const TRect& r : provider->RgnRects)
    EXPECT_FALSE(::PtInRegion(rgn.get(), r.left, r.top)) << r.left << "," << r.top;
  EXPECT_TRUE(::PtInRegion(rgn.get(), WndWidth(wnd) / 2, WndHeight(wnd) / 2));

  // A move keeps the region as it is.
  const int calls = provider->SetWindowRgnCalls;
  for (int i = 1; i <= 20; ++i) ::SetWindowPos(wnd, nullptr, 60 + i, 60 + i, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  adaptertest::Pump(20);
  EXPECT_EQ(calls, provider->SetWindowRgnCalls);
  // A new size makes a new one.
  ::SetWindowPos(wnd, nullptr, 0, 0, 420, 320, SWP_NOMOVE | SWP_NOZORDER);
  adaptertest::Pump(20);
  EXPECT_EQ(calls + 1, provider->SetWindowRgnCalls);

  manager->SetActive(false);
  UniqueRgn after(::CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(ERROR, ::GetWindowRgn(wnd, after.get()));
}

TEST_F(SkinProviderTest, RefreshingTheMenuBarRebuildsItWithTheSkinsItemType) {
  {
    SentMessages sent(wnd);
    provider->RefreshMenuBar();  // no menu: nothing to rebuild
    EXPECT_EQ(0, sent.Count(WM_NCCALCSIZE));
  }
  TMainMenu* menu = testenv::MakeMenuBar(form, {{L"Файл", L"Пункт"}, {L"Правка", L"Пункт"}});
  form->SetMenu(menu);
  adaptertest::Pump(50);
  SentMessages sent(wnd);
  provider->RefreshMenuBar();
  // The system lays the window's bar out again.
  EXPECT_GT(sent.Count(WM_NCCALCSIZE), 0);
  EXPECT_TRUE(menu->OwnerDraw());
  EXPECT_EQ(L"Файл", menu->Items()->Items(0)->Caption());
  EXPECT_TRUE(provider->MenuBarReady);
  EXPECT_FALSE(provider->SkinData->GetUpdating());
}

TEST_F(SkinProviderTest, HitTestAnswersCaptionButtonsBordersAndClient) {
  const int w = WndWidth(wnd), h = WndHeight(wnd);
  const int bw = provider->SysBorderWidth();
  struct Case {
    TPoint p;
    LRESULT code;
  } cases[] = {
      {Centre(provider->CloseButton.R), HTCLOSE},
      {Centre(provider->MaxButton.R), HTMAXBUTTON},
      {Centre(provider->MinButton.R), HTMINBUTTON},
      {TPoint{w / 2, Band() / 2}, HTCAPTION},
      {TPoint{bw + 2, Band() / 2}, HTSYSMENU},
      {TPoint{w / 2, h / 2}, HTCLIENT},
      {TPoint{0, h / 2}, HTLEFT},
      {TPoint{w - 1, h / 2}, HTRIGHT},
      {TPoint{w / 2, h - 1}, HTBOTTOM},
      {TPoint{w - 1, h - 1}, HTBOTTOMRIGHT},
      {TPoint{0, h - 1}, HTBOTTOMLEFT},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.code, ::SendMessageW(wnd, WM_NCHITTEST, 0, ScreenPoint(wnd, c.p.x, c.p.y)))
        << c.p.x << "," << c.p.y;

  // A single-border form has no maximize or minimize box of its own
  // without those icons, and its close button stays where the skin puts it.
  form->SetBorderStyle(bsSingle);
  form->SetBorderIcons(biSystemMenu | biHelp);
  wnd = form->WindowHandle();  // the style change may make a new window
  provider->SkinData->BGChanged = true;
  ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
  EXPECT_EQ(HTCLOSE, ::SendMessageW(wnd, WM_NCHITTEST, 0,
                                    ScreenPoint(wnd, Centre(provider->CloseButton.R).x,
                                                Centre(provider->CloseButton.R).y)));
  EXPECT_EQ(HTHELP, ::SendMessageW(wnd, WM_NCHITTEST, 0,
                                   ScreenPoint(wnd, Centre(provider->HelpButton.R).x,
                                               Centre(provider->HelpButton.R).y)));
}

TEST_F(SkinProviderTest, CaptionButtonRunsOnlyWhenReleasedOverItself) {
  struct Case {
    TsCaptionButton TsSkinProvider::*button;
    LRESULT code;
  } cases[] = {{&TsSkinProvider::MinButton, HTMINBUTTON},
               {&TsSkinProvider::MaxButton, HTMAXBUTTON},
               {&TsSkinProvider::CloseButton, HTCLOSE}};
  for (const Case& c : cases) {
    const TPoint in = Centre((provider->*c.button).R);
    // Pressed, then released over the client area: nothing happens.
    ::SendMessageW(wnd, WM_NCLBUTTONDOWN, c.code, ScreenPoint(wnd, in.x, in.y));
    EXPECT_EQ(2, (provider->*c.button).State);
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, ClientPoint(wnd, 200, 150));
    EXPECT_FALSE(::IsIconic(wnd));
    EXPECT_FALSE(::IsZoomed(wnd));
    EXPECT_EQ(0, closes);
    EXPECT_EQ(0, (provider->*c.button).State);
  }
  auto click = [&](const TsCaptionButton& b, LRESULT code) {
    const TPoint in = Centre(b.R);
    ::SendMessageW(wnd, WM_NCLBUTTONDOWN, code, ScreenPoint(wnd, in.x, in.y));
    ::SendMessageW(wnd, WM_LBUTTONUP, 0, ClientPoint(wnd, in.x, in.y));
  };
  click(provider->MaxButton, HTMAXBUTTON);
  EXPECT_TRUE(::IsZoomed(wnd));
  click(provider->MaxButton, HTMAXBUTTON);
  EXPECT_FALSE(::IsZoomed(wnd));
  click(provider->MinButton, HTMINBUTTON);
  EXPECT_TRUE(::IsIconic(wnd));
  ::ShowWindow(wnd, SW_RESTORE);
  click(provider->CloseButton, HTCLOSE);
  EXPECT_EQ(1, closes);
}

TEST_F(SkinProviderTest, DoubleClickOnTheCaptionMaximizesAndRestores) {
  const LPARAM p = ScreenPoint(wnd, WndWidth(wnd) / 2, Band() / 2);
  ::SendMessageW(wnd, WM_NCLBUTTONDBLCLK, HTCAPTION, p);
  EXPECT_TRUE(::IsZoomed(wnd));
  ::SendMessageW(wnd, WM_NCLBUTTONDBLCLK, HTCAPTION, p);
  EXPECT_FALSE(::IsZoomed(wnd));
}

TEST_F(SkinProviderTest, CaptionClickOnAMaximizedFormFocusesAndNeverStartsAMove) {
  ::ShowWindow(wnd, SW_MAXIMIZE);
  ASSERT_TRUE(::IsZoomed(wnd));
  ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
  HWND other = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ::SetActiveWindow(other);
  ASSERT_NE(::GetActiveWindow(), wnd);
  {
    SentMessages sent(wnd);
    ::SendMessageW(wnd, WM_NCLBUTTONDOWN, HTCAPTION, ScreenPoint(wnd, WndWidth(wnd) / 2, Band() / 2));
    EXPECT_EQ(0, sent.Count(WM_SYSCOMMAND, SC_MOVE, 0xFFF0));
    EXPECT_EQ(::GetActiveWindow(), wnd);
  }
  ::DestroyWindow(other);
}

// A form that fades in is first painted by the fade's capture: the region
// query still comes before it.
TEST_F(SkinnedForm, AFadingInFormIsAskedAboutItsRegionBeforeItsFirstFramePaint) {
  constexpr UINT kRegionQuery = 0xBC4D;
  constexpr WPARAM kOwnRegion = 0x41A2;
  ASSERT_TRUE(manager->AnimEffects->FormShow()->Active);
  form->SetBounds(60, 60, 300, 200);
  auto* provider = Construct<TsSkinProvider>(form);
  HWND wnd = form->WindowHandle();
  int asked = 0, askedAfterPaint = 0, prints = 0;
  SentMessages sent(wnd, [&](const SentMessages::Sent& m) {
    if (m.msg == WM_PRINT) ++prints;
    if (m.msg != kRegionQuery || m.w != kOwnRegion) return;
    ++asked;
    if (provider->FirstPaintDone) ++askedAfterPaint;
  });
  form->Show();
  adaptertest::Pump(50);
  ASSERT_GT(prints, 0) << "the form did not fade in";
  EXPECT_GT(asked, 0);
  EXPECT_EQ(askedAfterPaint, 0);
  EXPECT_TRUE(provider->FirstPaintDone);
}

// Commands the engine hands to the provider directly (not through the
// form's window) are handled as if the form had received them.
TEST_F(SkinProviderTest, CommandsHandedToTheProviderAreHandled) {
  const auto manager_ = reinterpret_cast<LPARAM>(manager.get());
  {
    SentMessages sent(wnd);
    TMessage refresh{SM_ALPHACMD, SkinCmdWParam(AC_REFRESH), manager_, 0};
    SendToProvider(form, refresh);
    EXPECT_GT(sent.Count(WM_NCPAINT), 0) << "a refresh repaints the frame";
  }
  HRGN probe = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(wnd, probe), ERROR) << "a skinned form has its region";
  TMessage remove{SM_ALPHACMD, SkinCmdWParam(AC_REMOVESKIN), manager_, 0};
  SendToProvider(form, remove);
  EXPECT_EQ(::GetWindowRgn(wnd, probe), ERROR) << "removing the skin removes the region";
  ::DeleteObject(probe);
}

TEST_F(SkinProviderTest, ScreenSnapPullsANearEdgeFlush) {
  provider->ScreenSnap = true;
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int w = WndWidth(wnd);
  RECT r{};
  ::SetWindowPos(wnd, nullptr, work.right - w - 7, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::GetWindowRect(wnd, &r);
  EXPECT_EQ(work.right, r.right);
  ::SetWindowPos(wnd, nullptr, work.right - w - 10, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ::GetWindowRect(wnd, &r);
  EXPECT_EQ(work.right - 10, r.right);
}

TEST_F(SkinProviderTest, CyrillicCaptionReadsBackAndPaintsNoSystemCaption) {
  const std::wstring text = L"Поиск дубликатов файлов";
  ::SendMessageW(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  wchar_t back[64]{};
  ::GetWindowTextW(wnd, back, 64);
  EXPECT_EQ(text, back);
  UniqueWindowDC dc = UniqueWindowDC::Window(wnd);
  const TColor sys = ColorToRGB(clActiveCaption);
  int systemPixels = 0;
  for (int x = 0; x < WndWidth(wnd); x += 3)
    systemPixels += static_cast<TColor>(::GetPixel(dc.get(), x, Band() / 2)) == sys;
  EXPECT_EQ(0, systemPixels);
}

TEST_F(SkinProviderTest, SkinOffAndOnRepeatedlyKeepsGdiCountAndWindowWorking) {
  for (int i = 0; i < 3; ++i) {  // settle caches
    manager->SetActive(false);
    manager->SetActive(true);
  }
  const int before = adaptertest::GdiObjectCount();
  for (int i = 0; i < 50; ++i) {
    manager->SetActive(false);
    EXPECT_NE(0, ::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_SYSMENU);
    manager->SetActive(true);
    EXPECT_EQ(0, ::GetWindowLongPtrW(wnd, GWL_STYLE) & WS_SYSMENU);
  }
  EXPECT_EQ(before, adaptertest::GdiObjectCount());
  EXPECT_EQ(reinterpret_cast<LRESULT>(provider),
            ::SendMessageW(wnd, SM_ALPHACMD, SkinCmdWParam(AC_GETPROVIDER), 0));
  // Gone with its provider, the form answers as a plain form again.
  delete provider;
  EXPECT_EQ(0, ::SendMessageW(wnd, SM_ALPHACMD, SkinCmdWParam(AC_GETPROVIDER), 0));
  ::SendMessageW(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x"));
  EXPECT_EQ(L"x", form->Caption());
}

TEST_F(SkinProviderTest, SecondProviderStaysInertAndCtrlHandledIsAnswered) {
  auto* second = Construct<TsSkinProvider>(form);
  EXPECT_EQ(nullptr, second->Form);
  EXPECT_EQ(reinterpret_cast<LRESULT>(provider),
            ::SendMessageW(wnd, SM_ALPHACMD, SkinCmdWParam(AC_GETPROVIDER), 0));
  delete second;
  manager->SetActive(false);
  EXPECT_EQ(1, ::SendMessageW(wnd, SM_ALPHACMD, SkinCmdWParam(AC_CTRLHANDLED), 0));
}

TEST_F(SkinProviderTest, ATitleButtonIsAsWideAsTheSkinsCellOrItsWiderGlyph) {
  const int cell = provider->TitleButtonWidth(TsSkinProvider::TsTitleButton{});
  ASSERT_GT(cell, 10);
  struct Case {
    int glyphWidth;
    int width;
  };
  for (Case c : {Case{8, cell}, Case{cell - 2, cell}, Case{cell + 40, cell + 42}}) {
    SCOPED_TRACE(c.glyphWidth);
    TsSkinProvider::TsTitleButton button;
    auto glyph = MakeBmp(c.glyphWidth, 8, 0x00FF00);
    button.SetGlyph(glyph.get());
    EXPECT_EQ(c.width, provider->TitleButtonWidth(button));
  }
}

TEST_F(SkinProviderTest, TitleButtonShowsItsGlyphAndFiresOnPressAndRelease) {
  // Green ground (keyed out through the bottom-left pixel) with a red middle.
  auto glyph = MakeBmp(8, 8, 0x00FF00);
  glyph->Canvas()->Brush()->SetColor(0x0000FF);
  glyph->Canvas()->FillRect(TRect{2, 2, 6, 6});
  auto button = std::make_unique<TsSkinProvider::TsTitleButton>();
  button->SetGlyph(glyph.get());
  int downs = 0;
  int ups = 0;
  button->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
  button->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
  TsSkinProvider::TsTitleButton* t = button.get();
  provider->TitleButtons.push_back(std::move(button));
  provider->SkinData->BGChanged = true;
  ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
  const TRect r = t->R;
  ASSERT_GT(r.right, r.left);
  const int gx = r.left + (r.right - r.left - 8) / 2;
  const int gy = r.top + (provider->CaptionButtonHeight() - 8) / 2;
  auto shot = Print();
  HDC dc = shot->Canvas()->Handle();
  EXPECT_EQ(0x0000FFu, ::GetPixel(dc, gx + 3, gy + 3) & 0xFFFFFF);
  EXPECT_NE(0x00FF00u, ::GetPixel(dc, gx, gy) & 0xFFFFFF);

  const TPoint in = Centre(r);
  ::SendMessageW(wnd, WM_NCLBUTTONDOWN, 1000, ScreenPoint(wnd, in.x, in.y));
  EXPECT_EQ(2, t->State);
  EXPECT_EQ(1, downs);
  EXPECT_EQ(0, ups);
  ::SendMessageW(wnd, WM_LBUTTONUP, 1000, ClientPoint(wnd, in.x, in.y));
  EXPECT_EQ(1, ups);
  EXPECT_EQ(0, t->State);
}
