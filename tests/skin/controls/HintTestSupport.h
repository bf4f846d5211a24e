// A hint manager per test and a recorder in place of UpdateLayeredWindow:
// every call's constant alpha and the first call's 32-bit image, read in
// process (Xvfb has no compositor, so the screen shows no alpha).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Forms.h"
#include "skin/controls/HintManager.h"
#include "skin/controls/HintWindows.h"

namespace skintest {

struct LayeredRecord {
  std::vector<uint8_t> alphas;  // SourceConstantAlpha of every call
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // first call's image, top row first, 0xAARRGGBB
  uint32_t Pixel(int x, int y) const { return pixels.at(static_cast<size_t>(y) * width + x); }
  static uint8_t Alpha(uint32_t p) { return static_cast<uint8_t>(p >> 24); }
  static TColor Rgb(uint32_t p) {
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
};

inline LayeredRecord* g_record = nullptr;
inline TUpdateLayeredWindow g_realUpdate = nullptr;

inline BOOL WINAPI RecordLayered(HWND wnd, HDC dst, POINT* pos, SIZE* size, HDC src,
                                 POINT* srcPos, COLORREF key, BLENDFUNCTION* blend, DWORD flags) {
  if (g_record) {
    g_record->alphas.push_back(blend->SourceConstantAlpha);
    if (g_record->pixels.empty()) {
      // GetDIBits with a negative height gives the rows top first whatever
      // the bitmap's own order.
      BITMAP bm{};
      HGDIOBJ bmp = GetCurrentObject(src, OBJ_BITMAP);
      if (GetObjectW(bmp, sizeof(bm), &bm) && bm.bmBitsPixel == 32) {
        BITMAPINFO bi{};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = bm.bmWidth;
        bi.bmiHeader.biHeight = -bm.bmHeight;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        g_record->width = bm.bmWidth;
        g_record->height = bm.bmHeight;
        g_record->pixels.resize(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
        GetDIBits(src, static_cast<HBITMAP>(bmp), 0, bm.bmHeight, g_record->pixels.data(), &bi,
                  DIB_RGB_COLORS);
      }
    }
  }
  return g_realUpdate ? g_realUpdate(wnd, dst, pos, size, src, srcPos, key, blend, flags) : TRUE;
}

class HintManagerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFramework();
    g_realUpdate = UpdateLayeredWindowProc;
    UpdateLayeredWindowProc = &RecordLayered;
    g_record = &record;
    manager.reset(Construct<TsHintManager>(nullptr));
    manager->Animated = false;
    manager->SetPredefinitions(shCustom);
    TsHintKind* k = manager->HintKind();
    k->Font()->SetName(L"Tahoma");
    k->Font()->SetHeight(-11);
    k->Font()->SetColor(clBlack);
    k->MaxWidth = 240;
    k->MarginH = 10;
    k->MarginV = 5;
    k->BevelWidth = 1;
    k->ExOffset = 12;
    k->ShadowOffset = 4;
    k->ShadowBlur = 2;
    k->ShadowTransparency = 50;
    k->Transparency = 20;
    k->GradientPercent = 0;
    k->Color = 0x40C0F0;
    k->SetShadowEnabled(true);
  }
  void TearDown() override {
    window.reset();
    manager.reset();
    g_record = nullptr;
    UpdateLayeredWindowProc = g_realUpdate;
    Application->ProcessMessages();
  }

  // Shows `text` in a window of the current class with the mouse point at
  // `at`, as the application's hint machinery does.
  TsCustomHintWindow* Show(const std::wstring& text, TPoint at = TPoint{200, 200}) {
    THintInfo info;
    info.HintPos = at;
    std::wstring s = text;
    bool can = true;
    Application->OnShowHint(s, can, info);
    window.reset(HintWindowClass(nullptr));
    TRect r = window->CalcHintRect(info.HintMaxWidth, s, nullptr);
    OffsetRect(&r, at.x, at.y);
    record = LayeredRecord{};
    window->ActivateHintData(r, s, nullptr);
    return dynamic_cast<TsCustomHintWindow*>(window.get());
  }

  std::unique_ptr<TsHintManager> manager;
  std::unique_ptr<THintWindow> window;
  LayeredRecord record;
};

}  // namespace skintest
