// Times a whole control image and a hover fade against a plain memcpy of the
// same bytes in the same run, and prints the ratios:
// - PaintSkinControl of a 627 x 460 control (gradient background, nine-part
//   border mask, four corner images), opaque and 50 % transparent over a
//   parent image;
// - the five frames of a hover fade of a 75 x 25 button (start image blended
//   with the new cache image, each frame copied to the button's window).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "bench/common/BenchSkin.h"
#include "bench/common/BenchTiming.h"
#include "framework/Forms.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/Fades.h"
#include "skin/engine/InternalSkins.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinUtils.h"

using bench::Now;

namespace {

double Time(const std::function<void()>& fn, int reps, int runs = 9) {
  return bench::MedianMicrosPerCall(fn, reps, runs);
}

// A memcpy of `bytes` bytes between two buffers, microseconds per copy.
double CopyTime(size_t bytes, int reps) {
  std::vector<unsigned char> a(bytes, 1), b(bytes, 2);
  return Time([&] {
    std::memcpy(b.data(), a.data(), bytes);
    // Keep the copy from being optimised away.
    a[bytes / 2] = static_cast<unsigned char>(b[bytes / 3] + 1);
  }, reps);
}

// A control owning skin state, as the skinned controls do; it answers the
// fade's commands the way a skinned button does.
class TBenchControl : public TCustomControl {
 public:
  TBenchControl(TComponent* owner, int kind)
      : TCustomControl(owner), SkinData(std::make_unique<TsCommonData>(this, true)) {
    SkinData->ControlKind = kind;
  }
  ~TBenchControl() override {
    StopFading(FadeTimer);
    SkinData.reset();
  }
  void WndProc(TMessage& m) override {
    if (m.Msg == SM_ALPHACMD) {
      switch (SkinCmdOf(m)) {
        case AC_PREPARECACHE:
          Paint(1);
          return;
        case AC_STOPFADING:
          StopFading(FadeTimer);
          return;
        case AC_PAINTFADEFRAME:
          m.Result = 0;
          return;
      }
    }
    if (!CommonWndProc(m, SkinData.get())) TCustomControl::WndProc(m);
  }
  void Paint(int state) {
    SkinData->InitCacheBmp();
    PaintSkinControl(SkinData.get(), EmptyCacheInfo, false, state,
                     MakeRect(0, 0, Width(), Height()), TPoint{0, 0}, SkinData->CacheBmp.get(),
                     false);
    SkinData->BGChanged = false;
  }
  std::unique_ptr<TsCommonData> SkinData;
  TsFadeTimer* FadeTimer = nullptr;
};

// Gives a section the four corner images, cut from the skin's one corner
// glyph, so the paint carries all of them.
void AddCorners(TsSkinManager& m, const std::wstring& section) {
  const int glyph = m.FindMaskIndex(L"BARTITLE", L"IMGTOPRIGHT");
  if (glyph < 0) return;
  for (const wchar_t* name : {L"IMGTOPLEFT", L"IMGTOPRIGHT", L"IMGBTMLEFT", L"IMGBTMRIGHT"}) {
    TsMaskData md;
    md.SectionName = section;
    md.PropertyName = name;
    md.R = m.ma[glyph].R;
    md.ImageCount = m.ma[glyph].ImageCount;
    md.MaskType = m.ma[glyph].MaskType;
    md.ImgType = itisaGlyph;
    md.Manager = &m;
    m.ma.push_back(std::move(md));
  }
}

}  // namespace

int wmain() {
  std::unique_ptr<TsSkinManager> manager = bench::StartWithInternalSkin();
  if (manager->GetSkinIndex(L"BUTTON") < 0) {
    std::printf("the internal skin did not load\n");
    return 1;
  }
  AddCorners(*manager, L"BUTTON");
  TsGeneralData& button = manager->gd[manager->GetSkinIndex(L"BUTTON")];
  button.FadingEnabled = true;
  button.FadingIterations = 5;

  TForm* form = Construct<TForm>(Application);
  form->SetBounds(0, 0, 700, 540);
  form->Show();

  // ---- a panel-sized control image ----
  auto* panel = Construct<TBenchControl>(form, ckButton);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 627, 460);
  panel->SkinData->Loaded();
  panel->SkinData->InitCacheBmp();
  TsCommonData& sd = *panel->SkinData;
  TBitmap& cache = *sd.CacheBmp;
  const size_t imageBytes = static_cast<size_t>(cache.Stride()) * cache.Height();
  const TRect whole = MakeRect(0, 0, 627, 460);
  std::printf("control image 627 x 460: gradient %d %%, border mask %s, corners %d\n",
              button.GradientPercent, sd.BorderIndex >= 0 ? "yes" : "no",
              (sd.Corners.TopLeft >= 0) + (sd.Corners.TopRight >= 0) +
                  (sd.Corners.BtmLeft >= 0) + (sd.Corners.BtmRight >= 0));

  const double copy = CopyTime(imageBytes, 50);
  const double opaque = Time([&] {
    PaintSkinControl(&sd, EmptyCacheInfo, false, 0, whole, TPoint{0, 0}, &cache, false);
  }, 20);
  auto parentImage = CreateBmp24(700, 540);
  const TCacheInfo ci{parentImage.get(), 0, 0, true};
  button.Transparency = 50;
  const double transparent = Time([&] {
    PaintSkinControl(&sd, ci, false, 0, whole, TPoint{10, 10}, &cache, false);
  }, 20);
  button.Transparency = 0;
  std::printf("  memcpy of %zu bytes         %8.1f us\n", imageBytes, copy);
  std::printf("  PaintSkinControl, opaque    %8.1f us  ratio %5.2f  (goal 5)\n", opaque,
              opaque / copy);
  std::printf("  PaintSkinControl, 50 %% over parent %8.1f us  ratio %5.2f\n", transparent,
              transparent / copy);

  // ---- a 5-frame fade of a button ----
  auto* btn = Construct<TBenchControl>(form, ckButton);
  btn->SetParent(form);
  btn->SetBounds(20, 480, 75, 25);
  btn->SkinData->Loaded();
  btn->HandleNeeded();
  btn->Paint(0);
  const size_t frameBytes = static_cast<size_t>(btn->SkinData->CacheBmp->Stride()) * 25;
  const double fade = Time([&] {
    btn->Paint(0);
    ChangePaintFaded(btn->FadeTimer, btn->SkinData.get(), false, 1, true);
    // The five ticks, without waiting for the timer.
    for (int k = 0; k < 5 && btn->FadeTimer; ++k) btn->FadeTimer->MakeStep();
    StopFading(btn->FadeTimer);
  }, 20);
  // The frames alone: one fade prepared, its five ticks replayed.
  btn->Paint(0);
  ChangePaintFaded(btn->FadeTimer, btn->SkinData.get(), false, 1, true);
  btn->FadeTimer->SetEnabled(false);
  const double frames = Time([&] {
    btn->FadeTimer->Iteration = 1;
    for (int k = 0; k < 5; ++k) btn->FadeTimer->MakeStep();
  }, 20);
  StopFading(btn->FadeTimer);
  const double fadeCopy = CopyTime(frameBytes * 5, 2000);
  std::printf("fade of a 75 x 25 button, 5 frames:\n");
  std::printf("  memcpy of %zu bytes           %8.2f us\n", frameBytes * 5, fadeCopy);
  std::printf("  fade (prepare + 5 frames)     %8.1f us  ratio %7.1f\n", fade, fade / fadeCopy);
  std::printf("  5 frames to the window        %8.1f us  ratio %7.1f\n", frames, frames / fadeCopy);

  delete form;
  manager.reset();
  return 0;
}
