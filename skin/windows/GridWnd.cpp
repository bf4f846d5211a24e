#include "skin/windows/GridWnd.h"

#include "framework/Grids.h"
#include "skin/engine/CommonData.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/PublishedProps.h"
#include "skin/engine/SkinData.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/windows/WndCache.h"

void PublishGridProperties() {
  static const bool done = [] {
    PublishOrdinal<TCustomGrid>(
        L"FixedColor", [](TCustomGrid* g) { return static_cast<long long>(g->FixedColor()); },
        [](TCustomGrid* g, long long v) { g->SetFixedColor(static_cast<TColor>(v)); });
    PublishOrdinal<TCustomGrid>(
        L"SelectionColor",
        [](TCustomGrid* g) { return static_cast<long long>(g->SelectionColor()); },
        [](TCustomGrid* g, long long v) { g->SetSelectionColor(static_cast<TColor>(v)); });
    PublishOrdinal<TCustomGrid>(
        L"SelectionFontColor",
        [](TCustomGrid* g) { return static_cast<long long>(g->SelectionFontColor()); },
        [](TCustomGrid* g, long long v) { g->SetSelectionFontColor(static_cast<TColor>(v)); });
    return true;
  }();
  (void)done;
}

namespace {

// The colour properties of a grid besides its Color and Font, in the order
// they are saved and restored.
const wchar_t* const kGridColors[] = {L"FooterColor", L"FooterCellColor", L"TitleColor",
                                      L"IndicatorIconColor"};

void SetColorProp(TObject* obj, const wchar_t* name, TColor value) {
  if (obj && HasProperty(obj, name) && value != clNone) SetIntProp(obj, name, static_cast<int>(value));
}

TColor ColorProp(TObject* obj, const wchar_t* name) {
  return obj && HasProperty(obj, name) ? static_cast<TColor>(GetIntProp(obj, name)) : clNone;
}

// The "Color" of an object property such as "TitleFont".
TObject* SubObject(TObject* obj, const wchar_t* name) {
  return obj && HasProperty(obj, name) ? GetObjectPropByName(obj, name) : nullptr;
}

TObject* TitleFontOf(TObject* grid) {
  auto* component = dynamic_cast<TComponent*>(grid);
  if (component && component->ClassNameIs(L"TDBAdvGrid") && HasProperty(grid, L"FixedFont"))
    return SubObject(grid, L"FixedFont");
  return SubObject(grid, L"TitleFont");
}

bool Alive(TControl* c) { return c && !c->HasState(csDestroying); }

}  // namespace

// ---------------------------------------------------------------- grid

void TacGridWnd::SaveStdProps() {
  TacEditWnd::SaveStdProps();
  TControl* grid = SkinData->OwnerControl;
  if (!grid) return;
  PublishGridProperties();
  StdFixedColor = ColorProp(grid, L"FixedColor");
  StdTitleFontColor = ColorProp(TitleFontOf(grid), L"Color");
  TColor* saved[] = {&StdFooterColor, &StdFooterCellColor, &StdTitleColor, &StdIndicatorIconColor};
  for (int i = 0; i < 4; ++i) *saved[i] = ColorProp(grid, kGridColors[i]);
  StdSelectionColor = ColorProp(grid, L"SelectionColor");
  StdSelectionFontColor = ColorProp(grid, L"SelectionFontColor");
}

void TacGridWnd::RestoreStdProps() {
  TacEditWnd::RestoreStdProps();
  TControl* grid = SkinData ? SkinData->OwnerControl : nullptr;
  if (!Alive(grid)) return;
  SetColorProp(grid, L"FixedColor", StdFixedColor);
  SetColorProp(TitleFontOf(grid), L"Color", StdTitleFontColor);
  const TColor saved[] = {StdFooterColor, StdFooterCellColor, StdTitleColor, StdIndicatorIconColor};
  for (int i = 0; i < 4; ++i) SetColorProp(grid, kGridColors[i], saved[i]);
  SetColorProp(grid, L"SelectionColor", StdSelectionColor);
  SetColorProp(grid, L"SelectionFontColor", StdSelectionFontColor);
}

void TacGridWnd::SetSkinParams() {
  TacEditWnd::SetSkinParams();
  TControl* grid = SkinData->OwnerControl;
  TsSkinManager* manager = Manager();
  if (!grid || !manager) return;
  SetColorProp(grid, L"FixedColor", manager->GetGlobalColor());
  SetColorProp(TitleFontOf(grid), L"Color", manager->GetGlobalFontColor());
  const int gi = manager->CachedIndexes.GlobalInfo;
  if (manager->IsValidSkinIndex(gi)) {
    const TColor global = manager->gd[gi].Color;
    for (int i = 0; i < 3; ++i) SetColorProp(grid, kGridColors[i], global);
    // The skin's hot look, whose text is drawn to read on it.
    SetColorProp(grid, L"SelectionColor", manager->GetGlobalHotColor());
    SetColorProp(grid, L"SelectionFontColor",
                 ColorToRGB(static_cast<TColor>(manager->gd[gi].HotFontColor[0])));
  }
  if (const TsGeneralData* section = SkinData->Section())
    SetColorProp(grid, L"IndicatorIconColor", section->FontColor[0]);
}

void TacGridWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacEditWnd::WndProc(message);
  switch (message.Msg) {
    case WM_ERASEBKGND:
      return;
    case WM_NCPAINT:
      if (::IsWindowVisible(CtrlHandle)) SkinData->SetUpdating(false);
      break;
    case WM_VSCROLL: {
      const int code = LOWORD(message.WParam);
      if (VBar && (code == SB_THUMBPOSITION || code == SB_THUMBTRACK) &&
          HasProperty(SkinData->OwnerControl, L"DataSource")) {
        // A data-aware grid reads the position back: give it the dragged one.
        SCROLLINFO& si = VBar->ScrollInfo;
        si.cbSize = sizeof(SCROLLINFO);
        si.fMask = SIF_ALL;
        si.nPos = si.nTrackPos + (code == SB_THUMBPOSITION ? 1 : 0);
        ::SetScrollInfo(CtrlHandle, SB_VERT, &si, FALSE);
      }
      break;
    }
    case WM_PRINT: {
      TacEditWnd::WndProc(message);
      HDC dc = reinterpret_cast<HDC>(message.WParam);
      if (!dc || Destroyed) return;
      // A framework grid paints only through its own WM_PAINT.
      TBitmap* cache = SkinData->CacheBmp.get();
      if (!cache) return;
      SaveDCScope state(dc);
      ::OffsetWindowOrgEx(dc, -LeftEdge, -LeftEdge, nullptr);
      const int w = cache->Width() - 2 * LeftEdge -
                    (VBar && VBar->Visible ? GetScrollMetric(VBar.get(), true, false) : 0);
      const int h = cache->Height() - 2 * LeftEdge -
                    (HBar && HBar->Visible ? GetScrollMetric(HBar.get(), true, false) : 0);
      ::IntersectClipRect(dc, 0, 0, w, h);
      ::SendMessageW(CtrlHandle, WM_PAINT, message.WParam, message.LParam);
      return;
    }
  }
  TacEditWnd::WndProc(message);
  if (Destroyed) return;
  if (message.Msg == WM_PAINT) UpdateScrolls(this, true);
  if (message.Msg == WM_WINDOWPOSCHANGED && ::IsWindowVisible(CtrlHandle))
    ::SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
}

// ---------------------------------------------------------------- virtual tree

namespace {
const wchar_t* const kTreeColors[] = {L"CompressedTextColor", L"FileTextColor",
                                      L"FolderTextColor"};
}

void TacVirtualTreeViewWnd::SaveStdProps() {
  TacEditWnd::SaveStdProps();
  TControl* tree = SkinData->OwnerControl;
  if (!tree) return;
  TObject* colors = SubObject(tree, L"VETColors");
  TColor* saved[] = {&StdCompressedTextColor, &StdFileTextColor, &StdFolderTextColor};
  for (int i = 0; i < 3; ++i) *saved[i] = ColorProp(colors, kTreeColors[i]);
  if (TObject* header = SubObject(tree, L"Header"))
    StdOwnerDraw = SetPropContains(header, L"Options", L"hoOwnerDraw");
  saved_ = true;
}

void TacVirtualTreeViewWnd::RestoreStdProps() {
  TacEditWnd::RestoreStdProps();
  TControl* tree = SkinData ? SkinData->OwnerControl : nullptr;
  if (!Alive(tree) || !saved_) return;
  TObject* colors = SubObject(tree, L"VETColors");
  const TColor saved[] = {StdCompressedTextColor, StdFileTextColor, StdFolderTextColor};
  for (int i = 0; i < 3; ++i) SetColorProp(colors, kTreeColors[i], saved[i]);
  if (TObject* header = SubObject(tree, L"Header"))
    ChangeSetProp(header, L"Options", L"hoOwnerDraw", StdOwnerDraw);
}

void TacVirtualTreeViewWnd::SetSkinParams() {
  TacEditWnd::SetSkinParams();
  TControl* tree = SkinData->OwnerControl;
  const TsGeneralData* section = SkinData->Section();
  if (!tree || !section) return;
  TObject* colors = SubObject(tree, L"VETColors");
  for (const wchar_t* name : kTreeColors) SetColorProp(colors, name, section->HotFontColor[0]);
  if (TObject* header = SubObject(tree, L"Header"))
    ChangeSetProp(header, L"Options", L"hoOwnerDraw", true);
}

void TacVirtualTreeViewWnd::OnNcPaint(TMessage& message) {
  SkinData->SetUpdating(SkinData->GetUpdating());
  if (SkinData->Updating) return;
  if (SkinData->BGChanged) {
    if (!ParamsSet) SetSkinParams();
    SendSkinCmd(CtrlHandle, AC_PREPARECACHE, 0);
  }
  UpdateWndCorners(SkinData, 0, this);
  UniqueWindowDC dc = UniqueWindowDC::Window(CtrlHandle);
  SaveDCScope state(dc.get());
  TBitmap* cache = SkinData->CacheBmp.get();
  if (cache && !cache->Empty())
    BitBltBorder(dc.get(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0,
                 LeftEdge);
  LPARAM flags = 0;
  CallPrevWndProc(CtrlHandle, WM_PRINT, 0, flags);
  message.Result = PaintScrollBars(this, CtrlHandle, dc.get(), -1);
}

void TacVirtualTreeViewWnd::OnPrint(TMessage& message) {
  SkinData->SetUpdating(false);
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  if (SkinData->BGChanged) {
    if (!ParamsSet) SetSkinParams();
    SendSkinCmd(CtrlHandle, AC_PREPARECACHE, 0);
  }
  PassOn(message);
  UpdateWndCorners(SkinData, 0, this);
  TBitmap* cache = SkinData->CacheBmp.get();
  if (dc && cache && !cache->Empty())
    BitBltBorder(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0,
                 LeftEdge);
  message.Result = PaintScrollBars(this, CtrlHandle, dc, -1);
}

void TacVirtualTreeViewWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacEditWnd::WndProc(message);
  switch (message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (LOWORD(message.WParam) == SB_THUMBTRACK) {
        TacScrollBar* bar = message.Msg == WM_HSCROLL ? HBar.get() : VBar.get();
        if (bar) {
          bar->ScrollInfo.cbSize = sizeof(SCROLLINFO);
          bar->ScrollInfo.fMask = SIF_ALL;
          bar->ScrollInfo.nPos = bar->ScrollInfo.nTrackPos;
          ::SetScrollInfo(CtrlHandle, message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT,
                          &bar->ScrollInfo, FALSE);
        }
      }
      break;
    case WM_ERASEBKGND:
      return;
    case WM_NCPAINT:
      if (::IsWindowVisible(CtrlHandle)) return OnNcPaint(message);
      break;
    case WM_PRINT:
      return OnPrint(message);
  }
  TacEditWnd::WndProc(message);
}
