// TsSkinProvider: the paint messages. The cache reaches the window only
// here: the frame on WM_NCPAINT, the client part on WM_PAINT, both into a
// given DC on WM_PRINT; WM_NCACTIVATE switches the active look.
#include "framework/Handles.h"
#include "skin/engine/AnimShow.h"
#include "skin/engine/CacheCopy.h"
#include "skin/engine/ControlUtils.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/windows/MDIForm.h"
#include "skin/windows/RedrawOff.h"
#include "skin/windows/SkinProvider.h"

bool TsSkinProvider::PaintSuppressed() const {
  HWND wnd = FormHandle();
  // While a fade-in captures the form, its window is hidden (drawing is off)
  // but the form is being shown: it paints into the capture.
  const bool capturing = AnimCaptureDC && Form->Visible();
  if (ShowAnimPending || !wnd || (!::IsWindowVisible(wnd) && !capturing) ||
      HasState(csLoading) || (Form->ControlState() & csCreating) || Form->HasState(csDestroying))
    return true;
  SkinData->Updating = SkinData->GetUpdating();
  return SkinData->Updating;
}

void TsSkinProvider::PaintFrameToDC(HDC dc) {
  const int top = SysBorderHeight() + SysCaptionHeight() + (::IsIconic(FormHandle()) ? 1 : 0);
  if (SkinData->BGChanged) {
    FirstPaintPending = !FirstPaintDone;
    PaintAll();
    SkinData->BGChanged = false;
    SkinData->Updating = false;
  }
  TBitmap* cache = SkinData->CacheBmp.get();
  HDC src = cache->Canvas()->Handle();
  const int w = FormWidth(), h = FormHeight();
  const int sideW = SysBorderWidth() + BorderWidth();
  const int bh = BorderHeight();
  const int y = top + BorderWidth();
  ::BitBlt(dc, 0, 0, w, HeaderHeight(), src, 0, 0, SRCCOPY);
  ::BitBlt(dc, 0, y, sideW, cache->Height(), src, 0, y, SRCCOPY);
  ::BitBlt(dc, 0, h - bh, w, bh, src, 0, h - bh, SRCCOPY);
  ::BitBlt(dc, cache->Width() - sideW, y, sideW, cache->Height(), src, cache->Width() - sideW, y,
           SRCCOPY);
}

void TsSkinProvider::PaintClient(HDC dc, bool sendEndUpdate) {
  if (clientPainting_) return;
  clientPainting_ = true;
  if (!SkinData->BGDependent) PaintAll();
  HWND wnd = FormHandle();
  const TRect client{0, 0, WndClientWidth(wnd), WndClientHeight(wnd)};
  CopyWinControlCache(Form, SkinData.get(),
                      TRect{SysBorderWidth() + BorderWidth(), OffsetY(), 0, 0}, client, dc, false,
                      0, 0);
  PaintControls(dc, Form, 0, TPoint{0, 0});
  if (sendEndUpdate) {
    // Children that asked while the form was still updating held back
    // their painting; they paint now.
    NotifyChildrenEndUpdate(Form);
    TMessage end{SM_ALPHACMD, SkinCmdWParam(AC_ENDPARENTUPDATE), 0, 0};
    SendToAdapter(end);
  }
  FirstPaintPending = false;
  clientPainting_ = false;
}

void TsSkinProvider::RepaintFrame() {
  HWND wnd = FormHandle();
  // A maximized MDI child shows its buttons in the main form's frame.
  if (Form && Form->FormStyle() == fsMDIChild && wnd && ::IsZoomed(wnd) && MDISkinProvider &&
      MDISkinProvider != this)
    return MDISkinProvider->RepaintFrame();
  SkinData->BGChanged = true;
  UniqueWindowDC dc = UniqueWindowDC::Window(wnd);
  if (!dc) return;
  SaveDCScope saved(dc.get());
  PaintFrameToDC(dc.get());
}

void TsSkinProvider::WMPaint() {
  HWND wnd = FormHandle();
  PAINTSTRUCT ps{};
  HDC dc = ::BeginPaint(wnd, &ps);
  if (dc) {
    SaveDCScope saved(dc);
    if (!PaintSuppressed()) PaintClient(dc, true);
  }
  ::EndPaint(wnd, &ps);
}

// Toggling the first item's caption around the owner-draw switch makes the
// framework build the bar again with the skin's item type.
void TsSkinProvider::RefreshMenuBar() {
  MenuBarReady = true;  // the rebuild below paints the frame again
  TMainMenu* menu = Form ? Form->Menu() : nullptr;
  if (!menu || menu->Items()->Count() == 0) return;
  TMenuItem* first = menu->Items()->Items(0);
  const std::wstring caption = first->Caption();
  SkinData->BeginUpdate();
  struct Restore {
    TsSkinProvider* provider;
    TMenuItem* item;
    const std::wstring& caption;
    ~Restore() {
      item->SetCaption(caption);
      provider->SkinData->EndUpdate();
    }
  } restore{this, first, caption};
  first->SetCaption(L"");
  menu->SetOwnerDraw(SkinData->Skinned(false));
}

void TsSkinProvider::OnNcPaint(TMessage& message) {
  message.Result = 0;
  if (PaintSuppressed()) return;
  UpdateDirtyRgn(true);
  if (!MenuBarReady) RefreshMenuBar();
  HWND wnd = FormHandle();
  {
    UniqueWindowDC dc = UniqueWindowDC::Window(wnd);
    if (dc) {
      SaveDCScope saved(dc.get());
      PaintFrameToDC(dc.get());
    }
  }
  RgnApplying = false;
}

void TsSkinProvider::OnPrint(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  message.Result = 0;
  if (!dc || PaintSuppressed()) return;
  // A fade-in's capture is the first frame paint of a form that fades in.
  if (!FirstPaintDone) UpdateDirtyRgn(false);
  if (!MenuBarReady) RefreshMenuBar();
  SaveDCScope saved(dc);
  PaintFrameToDC(dc);
  ::SetViewportOrgEx(dc, OffsetX(), OffsetY(), nullptr);
  HWND wnd = FormHandle();
  ::IntersectClipRect(dc, 0, 0, WndClientWidth(wnd), WndClientHeight(wnd));
  PaintClient(dc, true);
  Form->PaintOn(dc);
}

void TsSkinProvider::OnNcActivate(TMessage& message) {
  HWND wnd = FormHandle();
  const bool active = message.WParam != 0;
  if (::IsWindowVisible(wnd)) {
    if (active != FormActive) SkinData->BGChanged = true;
    // The platform paints its own caption inside WM_NCACTIVATE; with
    // drawing off it cannot.
    if (ShowAnimPending) {
      // Drawing stays off until the fade-in has shown the form, which then
      // paints it whole: nothing pending needs keeping.
      ::SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
      CallOld(message);
    } else {
      TRedrawOff off(wnd);
      CallOld(message);
    }
  } else {
    SkinData->BGChanged = false;
    CallOld(message);
  }
  message.Result = TRUE;
  if (Form->ControlState() & csCreating) return;
  // A main form showing a maximized child's buttons keeps its active look
  // while that child is active: the child's activation passes through here.
  const bool childActive = MDIChildProvider && MDIChildProvider->FormActive;
  const bool nowActive = ShowsChildButtons() ? active || childActive || FormActive : active;
  if (HasFrame() && nowActive != FormActive) {
    FormActive = nowActive;
    MenuLineCount = -1;
    SkinData->BGChanged = true;
  }
  // One frame paint shows the new look; the client keeps its image.
  ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
  if (Form->FormStyle() == fsMDIChild) {
    // Once more from a fresh cache: the client's own activation handling
    // may paint the child's frame after the first.
    SkinData->BGChanged = true;
    ::SendMessageW(wnd, WM_NCPAINT, 1, 0);
  }
  HookMenus(SkinData->Skinned(false));
  if (!MenuBarReady) RefreshMenuBar();
}
