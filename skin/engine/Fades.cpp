#include "skin/engine/Fades.h"

#include <cstring>

#include "framework/Controls.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinUtils.h"
#include "skin/engine/FastPixels.h"

uint8_t FadeFrameAlpha(int k, int n) {
  if (n < 1) return 0;
  return ClampByte(255 - (k * 256) / n);
}

namespace {

bool Terminating() { return Application && Application->Terminated(); }

LRESULT SendCmd(TControl* control, WORD cmd, LPARAM lParam, WORD lo = 0) {
  return control->Perform(SM_ALPHACMD, SkinCmdWParam(cmd, lo), lParam);
}

void CopyInto(std::unique_ptr<TBitmap>& target, TBitmap* source) {
  if (!target) target = CreateBmp24(0, 0);
  if (!source || source->Empty()) {
    target->SetSize(0, 0);
    return;
  }
  target->SetSize(source->Width(), source->Height());
  const TacBmpView s(*source), d(*target);
  if (s.Empty() || d.Empty() || s.BytesPerPixel != d.BytesPerPixel) {
    target->Assign(source);
    return;
  }
  for (int y = 0; y < s.Height; ++y)
    std::memcpy(d.Row(y), s.Row(y), static_cast<size_t>(s.Width) * s.BytesPerPixel);
}

TControl* LiveControl(const std::weak_ptr<TsCommonData*>& skinAlive, TsCommonData* sd) {
  if (skinAlive.expired() || !sd) return nullptr;
  return sd->OwnerControl;
}

}  // namespace

// ---------------------------------------------------------------- TsFadeTimer

TsFadeTimer::TsFadeTimer(TComponent* AOwner)
    : TTimer(AOwner), StartBmp(CreateBmp24(0, 0)), alive_(std::make_shared<bool>(true)) {
  SetDirection(0);
  SetOnTimer([this](TObject*) { Timer(); });
}

TsFadeTimer::~TsFadeTimer() {
  SetEnabled(false);
  *alive_ = false;
}

TControl* TsFadeTimer::Control() const { return LiveControl(skinAlive_, SkinData); }

void TsFadeTimer::SetDirection(uint8_t value) {
  Direction = value;
  if (Iteration < 0) Iteration = 1;
  SetEnabled(value != 0);
}

void TsFadeTimer::Prepare(TsCommonData* sd) {
  SkinData = sd;
  skinAlive_ = sd ? sd->Liveness() : std::weak_ptr<TsCommonData*>();
  CopyInto(StartBmp, sd ? sd->CacheBmp.get() : nullptr);
  SetInterval(10);
  const TsGeneralData* s = sd ? sd->Section() : nullptr;
  Iterations = s ? s->FadingIterations : 0;
  if (Direction == 1)
    Iterations = Iteration;
  else if (Direction == 2)
    Iterations = Iterations - Iteration;
}

void TsFadeTimer::Release() {
  if (inTick_) {
    // Freed once the tick that asked for it has unwound.
    freeAfterTick_ = true;
    SetEnabled(false);
    return;
  }
  delete this;
}

void TsFadeTimer::Timer() {
  std::shared_ptr<bool> alive = alive_;
  inTick_ = true;
  try {
    if (!HasState(csDestroying) && !IsFinished() && *alive && (Direction == 1 || Direction == 2))
      MakeStep();
  } catch (...) {
    // A failing frame must not end the message loop.
  }
  if (!*alive) return;
  inTick_ = false;
  if (freeAfterTick_) delete this;
}

bool TsFadeTimer::IsFinished() {
  TControl* control = Control();
  if (!control || control->HasState(csDestroying) || Terminating()) {
    // Nothing left to fade: stop; the control frees its timer as it goes.
    Direction = 0;
    SetEnabled(false);
    return false;
  }
  const bool skinGone = !SkinData->Skinned(false);
  if (skinGone || Iteration > Iterations || Iteration < 0) {
    std::shared_ptr<bool> alive = alive_;
    SendCmd(control, AC_STOPFADING, 0);
    // A control that does not free its timer still gets a silent one.
    if (*alive && !freeAfterTick_) SetDirection(0);
    return true;
  }
  return false;
}

void TsFadeTimer::MakeStep() {
  TControl* control = Control();
  if (!control || control->HasState(csDestroying) || Iterations == 0) return;
  if (!control->Enabled()) {
    SetEnabled(false);
    Iterations = 0;
    SkinData->Invalidate();
    return;
  }
  CopyInto(frame_, StartBmp.get());
  if (SkinData->CacheBmp)
    SumBitmaps(TacBmpView(*frame_), TacBmpView(*SkinData->CacheBmp),
               FadeFrameAlpha(Iteration, Iterations));
  std::shared_ptr<bool> alive = alive_;
  std::weak_ptr<TsCommonData*> skinAlive = skinAlive_;
  auto* win = dynamic_cast<TWinControl*>(control);
  HWND wnd = win && win->HandleAllocated() ? win->WindowHandle() : nullptr;
  {
    // Released on every path, also when the control or the timer went away
    // while the frame was being painted.
    UniqueWindowDC dc = wnd ? UniqueWindowDC::Window(wnd) : UniqueWindowDC();
    SaveDCScope saved(dc.get());
    const LRESULT painted = SendCmd(control, AC_PAINTFADEFRAME, reinterpret_cast<LPARAM>(frame_.get()));
    if (!*alive) return;
    if (painted == 0 && dc && !skinAlive.expired() && ::IsWindow(wnd))
      ::BitBlt(dc.get(), 0, 0, frame_->Width(), frame_->Height(), frame_->Canvas()->Handle(), 0, 0,
               SRCCOPY);
  }
  if (ExtraRefreshControl) SendCmd(ExtraRefreshControl, AC_REFRESH, 0);
  ++Iteration;
}

// ---------------------------------------------------------------- TsAnimTimer

TsAnimTimer::TsAnimTimer(TComponent* AOwner)
    : TTimer(AOwner),
      StartBmp(CreateBmp24(0, 0)),
      FrameBmp(CreateBmp24(0, 0)),
      alive_(std::make_shared<bool>(true)) {
  SetEnabled(false);
  SetOnTimer([this](TObject*) { Timer(); });
}

TsAnimTimer::~TsAnimTimer() {
  SetEnabled(false);
  *alive_ = false;
}

TControl* TsAnimTimer::Control() const { return LiveControl(skinAlive_, SkinData); }

void TsAnimTimer::Prepare(TsCommonData* sd) {
  SkinData = sd;
  skinAlive_ = sd ? sd->Liveness() : std::weak_ptr<TsCommonData*>();
  SetInterval(10);
  const TsGeneralData* s = sd ? sd->Section() : nullptr;
  Iterations = s ? s->FadingIterations : 0;
}

void TsAnimTimer::Timer() {
  std::shared_ptr<bool> alive = alive_;
  try {
    if (!HasState(csDestroying) && !IsFinished() && *alive) MakeStep();
  } catch (...) {
    // A failing frame must not end the message loop.
  }
}

bool TsAnimTimer::IsFinished() {
  TControl* control = Control();
  if (HasState(csDestroying) || !control || control->HasState(csDestroying) || Terminating()) {
    SetEnabled(false);
    return true;
  }
  if (Iteration < 0 || Iteration > Iterations || !SkinData->Skinned(false)) {
    std::shared_ptr<bool> alive = alive_;
    SendCmd(control, AC_STOPFADING, 0);
    if (*alive) SetEnabled(false);
    return true;
  }
  return false;
}

void TsAnimTimer::MakeStep() {
  TControl* control = Control();
  if (Painting || !control || control->HasState(csDestroying) || Iterations == 0 ||
      Iteration < 0) {
    ++Iteration;
    return;
  }
  std::shared_ptr<bool> alive = alive_;
  Painting = true;
  CopyInto(FrameBmp, StartBmp.get());
  if (SkinData->CacheBmp)
    SumBitmaps(TacBmpView(*FrameBmp), TacBmpView(*SkinData->CacheBmp),
               FadeFrameAlpha(Iteration, Iterations));
  RepaintControl();
  if (!*alive) return;
  if (ExtraRefreshControl) SendCmd(ExtraRefreshControl, AC_REFRESH, 0);
  ++Iteration;
  Painting = false;
}

void TsAnimTimer::RepaintControl() {
  TControl* control = Control();
  if (!control) return;
  TWinControl* parent = control->Parent();
  HWND parentWnd = parent && parent->HandleAllocated() ? parent->WindowHandle() : nullptr;
  if (parentWnd) SendSkinCmd(parentWnd, AC_SETPAINTINGCHILD, reinterpret_cast<LPARAM>(control));
  SendCmd(control, AC_SETUPDATING, 0, 0);
  control->Repaint();
  if (parentWnd && ::IsWindow(parentWnd)) SendSkinCmd(parentWnd, AC_SETPAINTINGCHILD, 0);
}

// ---------------------------------------------------------------- fading

void StopFading(TsFadeTimer*& timer) {
  TsFadeTimer* t = timer;
  timer = nullptr;
  if (!t || t->HasState(csDestroying)) return;
  t->SetDirection(0);
  t->Release();
}

void StartFading(TsFadeTimer*& timer, TsCommonData* sd, bool halve, uint8_t direction) {
  const TsGeneralData* s = sd ? sd->Section() : nullptr;
  if (!s || !s->FadingEnabled || !sd->OwnerControl) return;
  TControl* control = sd->OwnerControl;
  if (!timer) {
    timer = Construct<TsFadeTimer>(control);
    timer->SetEnabled(false);
    timer->Iteration = 1;
  }
  timer->Prepare(sd);
  if (halve) timer->Iterations /= 2;
  if (timer->Iteration >= timer->Iterations || timer->Iteration < 1) timer->Iteration = 1;
  SendCmd(control, AC_PREPARECACHE, 0);
  // The control may have stopped the fade while it rebuilt its cache.
  if (timer) timer->SetDirection(direction);
}

void ChangePaintFaded(TsFadeTimer*& timer, TsCommonData* sd, bool halve, uint8_t direction,
                      bool animate) {
  if (!sd || !sd->Skinned(false)) return;
  const TsGeneralData* s = sd->Section();
  if (!SkinLoading && animate && s && s->FadingEnabled && !FadingSuspended && sd->CacheBmp &&
      !sd->CacheBmp->Empty() && !sd->BGChanged) {
    sd->BGChanged = true;
    StartFading(timer, sd, halve, direction);
    return;
  }
  sd->BGChanged = true;
  StopFading(timer);
  if (sd->OwnerControl) sd->OwnerControl->Repaint();
}

bool IsAnimatEvent(TacAnimatEvent event, TacAnimatEvents events) {
  if (events & AnimatEventBit(event)) return true;
  return (events & AnimatEventBit(aeGlobalDef)) && (DefaultAnimatEvents & AnimatEventBit(event));
}
