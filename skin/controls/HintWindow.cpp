// TsCustomHintWindow: measuring, placing and showing a skinned hint, the
// layered image and its fade-in, painting over a screen copy, and the
// window's messages. The shapes and pictures are in HintShapes.cpp.
#include <cmath>

#include "framework/Forms.h"
#include "framework/Handles.h"
#include "skin/controls/HintManager.h"
#include "skin/controls/HintWindows.h"
#include "skin/controls/HtmlParse.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/Regions.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinUtils.h"
#include "skin/engine/FastPixels.h"

namespace {

TUpdateLayeredWindow LookUpUpdateLayeredWindow() {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<TUpdateLayeredWindow>(
                      reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")))
                : nullptr;
}

// N / D rounded half to even, for N >= 0 and D > 0.
int DivHalfEven(int n, int d) {
  int q = n / d;
  int twice = 2 * (n % d);
  if (twice > d || (twice == d && (q & 1))) ++q;
  return q;
}

constexpr int kFadeSteps = 31;
constexpr DWORD kFadeFrameMs = 8;

}  // namespace

TUpdateLayeredWindow UpdateLayeredWindowProc = LookUpUpdateLayeredWindow();

uint8_t HintAlpha(int transparency) {
  int t = transparency < 0 ? 0 : transparency > 100 ? 100 : transparency;
  return static_cast<uint8_t>(DivHalfEven((100 - t) * 255, 100));
}

uint8_t FadeFrameAlpha(int target, int k, int steps) {
  if (steps <= 0 || target <= 0) return 0;
  return static_cast<uint8_t>(DivHalfEven(k * target, steps));
}

TsCustomHintWindow::TsCustomHintWindow(TComponent* AOwner) : THintWindow(AOwner) {}

TsCustomHintWindow::~TsCustomHintWindow() = default;

bool TsCustomHintWindow::SkinUsed() const { return HintManager && HintManager->UsesSkin(); }

TsHintKind* TsCustomHintWindow::Kind() const { return HintManager->HintKind(); }

void TsCustomHintWindow::CreateParams(TCreateParams& params) {
  THintWindow::CreateParams(params);
  params.Style &= ~WS_BORDER;
}

// ---------------------------------------------------------------- size

TRect TsCustomHintWindow::CalcHintRect(int, const std::wstring& hint, void*) {
  if (!HintManager) return MakeRect(0, 0, 0, 0);
  TsHintKind* k = Kind();
  bool skin = SkinUsed();
  if (HintFrame) {
    TRect r = MakeRect(0, 0, HintFrame->Width(), HintFrame->Height());
    if (k->ShadowEnabled()) {
      r.right += k->ShadowOffset;
      r.bottom += k->ShadowOffset;
    }
    return r;
  }
  TsSkinManager* sm = DefaultManager;
  if (skin) {
    skinIndex_ = sm->GetSkinIndex(HintManager->SkinSection);
    std::wstring section = HintManager->SkinSection;
    if (skinIndex_ < 0) {
      section = L"EDIT";
      skinIndex_ = sm->GetSkinIndex(section);
    }
    borderIndex_ = sm->GetMaskIndex(skinIndex_, section, L"BORDERSMASK");
    patternIndex_ = sm->GetTextureIndex(skinIndex_, section, L"PATTERN");
  }
  TRect r = MakeRect(0, 0, k->MaxWidth, 0);
  TBitmap* work = HintManager->WorkBitmap();
  TCanvas* canvas = work->Canvas();
  if (skin)
    AssignHintFont(canvas->Font());
  else
    canvas->Font()->Assign(k->Font());
  if (HintManager->HTMLMode) {
    TsHtml html;
    html.Init(work, hint, r);
    html.Parse(r);
  } else {
    canvas->TextRect(r, hint, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK | DT_CENTER | DT_VCENTER);
  }
  if (WidthOf(r) < MinTextWidth()) r.right = r.left + MinTextWidth();
  if (skin) {
    r.right += sm->MaskBorderLeft(borderIndex_) + sm->MaskBorderRight(borderIndex_) + 8;
    r.bottom += sm->MaskBorderTop(borderIndex_) + sm->MaskBorderBottom(borderIndex_) + 8;
  } else {
    r.right += 2 * (k->MarginH + k->BevelWidth);
    r.bottom += 2 * (k->MarginV + k->BevelWidth);
  }
  if (k->ShadowEnabled()) {
    r.right += k->ShadowOffset;
    r.bottom += k->ShadowOffset;
  }
  extraWidth_ = extraHeight_ = 0;
  if (!skin) AddShapeSize(r);
  return r;
}

void TsComicsHintWindow::AddShapeSize(TRect& r) { r.bottom += Kind()->ExOffset; }

void TsEllipseHintWindow::AddShapeSize(TRect& r) {
  r.bottom += Kind()->ExOffset;
  if (HintFrame) return;
  // Grow the box so that the text rectangle fits inside the ellipse drawn
  // around it.
  double w = WidthOf(r), h = HeightOf(r);
  if (w <= 0 || h <= 0) return;
  double d = std::sqrt(w * w + h * h) - w;
  extraWidth_ = RoundHalfEven(w * d / h);
  extraHeight_ = RoundHalfEven(h * d / w);
  r.right += extraWidth_;
  r.bottom += extraHeight_;
}

// ---------------------------------------------------------------- placing

void TsCustomHintWindow::GetMousePosition(TPoint& p) {
  TPoint last = HintManager->LastHintPos();
  if (last.x != -1 || last.y != -1)
    p = last;
  else
    GetCursorPos(&p);
}

void TsSimplyHintWindow::GetMousePosition(TPoint& p) {
  TsCustomHintWindow::GetMousePosition(p);
  if (!SkinUsed()) p.y += 16;
}

void TsCustomHintWindow::FitOnScreen(TRect& r, TPoint p) {
  // The work area of the monitor at the point, within the virtual screen:
  // monitors left of or above the primary one have negative coordinates.
  TRect bounds = MakeRect(GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                          0, 0);
  bounds.right = bounds.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  bounds.bottom = bounds.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  MONITORINFO mi{};
  mi.cbSize = sizeof(mi);
  if (GetMonitorInfoW(MonitorFromPoint(p, MONITOR_DEFAULTTONEAREST), &mi)) {
    TRect work;
    if (IntersectRect(&work, &mi.rcWork, &bounds)) bounds = work;
  }
  int w = WidthOf(r), h = HeightOf(r);
  bool moved = false;
  if (r.bottom > bounds.bottom) {
    OffsetRect(&r, 0, p.y - h - r.top);
    moved = true;
  }
  if (r.top < bounds.top) {
    OffsetRect(&r, 0, p.y - r.top);
    moved = true;
  }
  if (r.right > bounds.right) {
    OffsetRect(&r, p.x - w - r.left, 0);
    moved = true;
  }
  if (r.left < bounds.left) {
    OffsetRect(&r, p.x - r.left, 0);
    moved = true;
  }
  if (!moved) return;
  bool down = r.top >= p.y, right = r.left >= p.x;
  pointer_ = down ? (right ? mpLeftTop : mpRightTop) : (right ? mpLeftBottom : mpRightBottom);
}

// ---------------------------------------------------------------- showing

void TsCustomHintWindow::ActivateHint(const TRect& rect, const std::wstring& hint) {
  if (!HintManager || Kind()->Style() == hsNone) return;
  HWND wnd = Handle();
  bool layered = UpdateLayeredWindowProc != nullptr;
  ULONG_PTR cls = GetClassLongPtrW(wnd, GCL_STYLE);
  ULONG_PTR want = SkinUsed() && layered ? (cls | CS_DROPSHADOW) : (cls & ~CS_DROPSHADOW);
  if (want != cls) SetClassLongPtrW(wnd, GCL_STYLE, want);
  SetCaption(hint);

  TPoint p;
  GetMousePosition(p);
  int w = WidthOf(rect), h = HeightOf(rect);
  TRect r = MakeRect(p.x, p.y, p.x + w, p.y + h);
  pointer_ = HintManager->DefaultMousePos;
  if (pointer_ == mpLeftBottom || pointer_ == mpRightBottom) OffsetRect(&r, 0, -h);
  if (pointer_ == mpRightTop || pointer_ == mpRightBottom) OffsetRect(&r, -w, 0);
  FitOnScreen(r, p);
  size_ = TSize{w, h};
  HintManager->WorkBitmap()->SetSize(w, h);
  mask_.reset();

  if (layered) {
    SetWindowPos(wnd, HWND_TOPMOST, r.left, r.top, w, h, SWP_NOACTIVATE);
    int transparency = SkinUsed() && DefaultManager->IsValidSkinIndex(skinIndex_)
                           ? DefaultManager->gd[skinIndex_].Transparency
                           : Kind()->Transparency;
    ShowLayered(transparency);
  } else {
    SetWindowPos(wnd, HWND_TOPMOST, r.left, r.top, w, h, SWP_NOACTIVATE);
    ShowOverScreenCopy();
  }
}

void TsCustomHintWindow::ShowLayered(int transparency) {
  HWND wnd = WindowHandle();
  MakeAlphaImage();
  SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  UniqueWindowDC screen = UniqueWindowDC::Client(nullptr);
  TCanvas* src = alpha_->Canvas();
  src->Lock();  // keeps its memory DC through the message processing below
  POINT origin{0, 0};
  SIZE size{HintWidth(), HintHeight()};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  auto update = [&](uint8_t alpha) {
    blend.SourceConstantAlpha = alpha;
    UpdateLayeredWindowProc(wnd, screen.get(), nullptr, &size, src->Handle(), &origin, 0, &blend,
                            ULW_ALPHA);
  };
  // The hint may be hidden (its window destroyed) while messages run.
  auto alive = [&] { return WindowHandle() == wnd && IsWindow(wnd) && !HasState(csDestroying); };
  if (!IsWinXPOrLater()) {
    SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  } else if (HintManager->Animated) {
    if (alive()) {
      int target = HintAlpha(transparency);
      update(0);
      ShowWindow(wnd, SW_SHOWNOACTIVATE);
      RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_NOERASE);
      if (Application) Application->ProcessMessages();
      for (int k = 1; k <= kFadeSteps && alive(); ++k) {
        update(FadeFrameAlpha(target, k, kFadeSteps));
        Sleep(kFadeFrameMs);
      }
    }
  } else {
    update(HintAlpha(Kind()->Transparency));
    ShowWindow(wnd, SW_SHOWNOACTIVATE);
  }
  src->Unlock();
  alpha_.reset();
}

bool TsCustomHintWindow::ShowOverScreenCopy() {
  HWND wnd = WindowHandle();
  UniqueWindowDC screen = UniqueWindowDC::Client(nullptr);
  if (!screen) {
    ShowError(L"GDI error (out of resources)");
    return false;
  }
  RECT wr;
  GetWindowRect(wnd, &wr);
  int w = HintWidth(), h = HintHeight();
  if (!screenCopy_) screenCopy_ = std::make_unique<TBitmap>(0, 0, pf24bit);
  screenCopy_->SetSize(w, h);
  BitBlt(screenCopy_->Canvas()->Handle(), 0, 0, w, h, screen.get(), wr.left, wr.top, SRCCOPY);
  TBitmap* work = HintManager->WorkBitmap();
  BitBlt(work->Canvas()->Handle(), 0, 0, w, h, screenCopy_->Canvas()->Handle(), 0, 0, SRCCOPY);
  SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) & ~WS_EX_LAYERED);
  SetWindowPos(wnd, HWND_TOPMOST, 0, 0, 0, 0,
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
  return true;
}

void TsCustomHintWindow::MakeAlphaImage() {
  int w = HintWidth(), h = HintHeight();
  alpha_ = std::make_unique<TBitmap>(w, h, pf32bit);
  TBitmap* work = HintManager->WorkBitmap();
  FillBmpRect(*work, MakeRect(0, 0, w, h), clWhite);
  if (Kind()->ShadowEnabled()) PaintShadow(work);
  body_ = MakeBody();
  mask_ = MakeMask();
  TacBmpView out(*alpha_), shade(*work), body(*body_), mask(*mask_);
  for (int y = 0; y < h; ++y) {
    uint8_t* o = out.Row(y);
    const uint8_t* s = shade.Row(y);
    const uint8_t* b = body.Row(y);
    const uint8_t* m = mask.Row(y);
    for (int x = 0; x < w; ++x, o += 4, s += 3, b += 3, m += 3) {
      if (m[0] > 254 && m[1] > 254 && m[2] > 254) {
        // Outside the shape: black, as dark as the shadow painted there.
        o[0] = o[1] = o[2] = 0;
        o[3] = static_cast<uint8_t>(255 - s[0]);
      } else {
        o[0] = b[0];
        o[1] = b[1];
        o[2] = b[2];
        o[3] = 255;
      }
    }
  }
  GdiFlush();
}

// ---------------------------------------------------------------- painting

void TsCustomHintWindow::MakeRegion() {
  mask_ = MakeMask();
  if (!HandleAllocated()) return;
  if (SkinUsed()) {
    UniqueRgn rgn = CreateRgnFromBmp(*mask_, clWhite);
    // The window owns the region from here on.
    SetWindowRgn(WindowHandle(), rgn.release(), FALSE);
    regionSet_ = true;
  } else if (regionSet_) {
    SetWindowRgn(WindowHandle(), nullptr, FALSE);
    regionSet_ = false;
  }
}

void TsCustomHintWindow::Paint() {
  if (!HintManager || HintWidth() <= 0 || HintHeight() <= 0) return;
  TBitmap* work = HintManager->WorkBitmap();
  if (work->Width() != HintWidth() || work->Height() != HintHeight()) return;
  // Every paint starts from the screen under the hint, so repeated paints
  // do not darken the shadow again.
  if (screenCopy_ && screenCopy_->Width() == HintWidth() && screenCopy_->Height() == HintHeight())
    BitBlt(work->Canvas()->Handle(), 0, 0, HintWidth(), HintHeight(),
           screenCopy_->Canvas()->Handle(), 0, 0, SRCCOPY);
  if (Kind()->ShadowEnabled()) PaintShadow(work);
  body_ = MakeBody();
  if (!mask_) MakeRegion();
  TRect all = MakeRect(0, 0, HintWidth(), HintHeight());
  BlendByMask(*work, *body_, *mask_, all);
  BitBlt(Canvas()->Handle(), 0, 0, HintWidth(), HintHeight(), work->Canvas()->Handle(), 0, 0,
         SRCCOPY);
}

void TsCustomHintWindow::WndProc(TMessage& message) {
  switch (message.Msg) {
    case SM_ALPHACMD:
      switch (SkinCmdOf(message)) {
        case AC_GETCACHE:
          CacheInfoReply = MakeCacheInfo(body_.get(), 0, 0);
          message.Result = 1;
          return;
        case AC_ISTEXTURED:
          message.LParam = 1;
          message.Result = 1;
          return;
      }
      break;
    case WM_ERASEBKGND:
      if (HintManager) {
        message.Result = 1;
        return;
      }
      break;
    case WM_NCPAINT:
      if (HintManager) {
        if (!makingRegion_ && HintWidth() > 0) {
          makingRegion_ = true;
          MakeRegion();
          makingRegion_ = false;
        }
        message.Result = 1;
        return;
      }
      break;
  }
  THintWindow::WndProc(message);
}
