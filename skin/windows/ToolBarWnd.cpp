#include "skin/windows/ToolBarWnd.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "skin/engine/CommonData.h"
#include "skin/engine/PaintPrimitives.h"
#include "skin/engine/SkinManager.h"
#include "skin/engine/SkinMessages.h"
#include "skin/engine/SkinText.h"
#include "skin/engine/FastPixels.h"
#include "skin/windows/AdapterPaint.h"
#include "skin/windows/WndCache.h"

void SplitToolButtonText(const std::wstring& text, std::wstring& first, std::wstring& second) {
  first.clear();
  second.clear();
  std::vector<size_t> starts;  // where each blank-separated word begins
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] != L' ' && (i == 0 || text[i - 1] == L' ')) starts.push_back(i);
  if (starts.size() < 3) return;
  const size_t at = starts[starts.size() - 2];
  first = text.substr(0, at);
  while (!first.empty() && first.back() == L' ') first.pop_back();
  second = text.substr(at);
}

std::wstring ToolButtonText(HWND bar, int command) {
  // The bar copies the whole text into the buffer it is given: ask its
  // length first so a long text cannot run past the end.
  const LRESULT n = ::SendMessageW(bar, TB_GETBUTTONTEXTW, command, 0);
  if (n <= 0) return {};
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  const LRESULT got = ::SendMessageW(bar, TB_GETBUTTONTEXTW, command,
                                     reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(std::clamp<LRESULT>(got, 0, n)));
  return text.substr(0, text.find(L'\0'));
}

void TacToolBarWnd::PrepareCache() {
  GetWndRectInParent(CtrlHandle, ParentWnd, WndRect, Caption, WndPos, WndSize, ParentRect);
  if (!SkinData->BGChanged) return;
  ::GetClientRect(CtrlHandle, &ClientRect);
  PrepareWndCache(SkinData, CtrlHandle, false);
  UpdateWndCorners(SkinData, 0, this);
  BorderWidth = (WndSize.y - (ClientRect.bottom - ClientRect.top)) / 2;
  SkinData->BGChanged = false;
}

void TacToolBarWnd::PaintNC() {
  if (!(::GetWindowLongPtrW(CtrlHandle, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) return;
  SkinData->SetUpdating(QuerySkinCmdWnd(::GetParent(CtrlHandle), AC_ISUPDATING));
  if (SkinData->Updating) return;
  PrepareCache();
  TBitmap* cache = SkinData->CacheBmp.get();
  if (!cache || cache->Empty()) return;
  UniqueWindowDC dc = UniqueWindowDC::Window(CtrlHandle);
  SaveDCScope state(dc.get());
  BitBltBorder(dc.get(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(), 0, 0,
               (WndSize.x - (ClientRect.right - ClientRect.left)) / 2);
}

void TacToolBarWnd::DrawButton(int index, const TRect& r, HDC dc) {
  TBBUTTON button{};
  if (!::SendMessageW(CtrlHandle, TB_GETBUTTON, index, reinterpret_cast<LPARAM>(&button))) return;
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  TsSkinManager* manager = DefaultManager;
  if (!manager) return;
  auto t = CreateBmp24(w, h);
  const int skinIndex = manager->GetSkinIndex(L"TOOLBUTTON");
  int shift = 0, state = 0;
  if (button.fsState & TBSTATE_ENABLED) {
    if (button.fsState & TBSTATE_PRESSED) {
      state = 2;
      shift = 1;
    } else {
      POINT p{};
      ::GetCursorPos(&p);
      RECT screen = r;
      ::OffsetRect(&screen, WndRect.left - BorderWidth, WndRect.top - BorderWidth);
      if (::PtInRect(&screen, p)) state = 1;
    }
  }
  TBitmap* cache = SkinData->CacheBmp.get();
  PaintItem(skinIndex, L"TOOLBUTTON", MakeCacheInfo(cache, 0, 0), true, state, TRect{0, 0, w, h},
            TPoint{r.left, r.top}, t.get(), nullptr, -1, -1);
  int cx = 0, cy = 0;
  HIMAGELIST images = reinterpret_cast<HIMAGELIST>(::SendMessageW(CtrlHandle, TB_GETIMAGELIST, 0, 0));
  HDC tdc = t->Canvas()->Handle();
  if (button.iBitmap != 0 && images) {
    ::ImageList_GetIconSize(images, &cx, &cy);
    ::ImageList_SetBkColor(images, CLR_NONE);
    const int glyph = manager->GetMaskIndex(manager->CachedIndexes.ScrollBtnBottom,
                                            L"SCROLLBTNBOTTOM", L"GLYPHMASK");
    int left = (w - cx) / 2 + shift;
    if ((button.fsStyle & BTNS_WHOLEDROPDOWN) && manager->IsValidImgIndex(glyph)) {
      const TPoint cell = MaskCellSize(manager, glyph);
      DrawMaskCell(t.get(), manager, glyph, TPoint{w - 2 - cell.x + shift, (h - cell.y) / 2 + shift},
                   state);
      left = (w - cx - cell.x) / 2 + shift;
    }
    ::ImageList_Draw(images, button.iBitmap, tdc, left, shift + 4, ILD_NORMAL);
  }
  const std::wstring buf = ToolButtonText(CtrlHandle, button.idCommand);
  if (!buf.empty()) {
    TCanvas* canvas = t->Canvas();
    UseWindowFont(canvas, CtrlHandle);
    TEXTMETRICW tm{};
    ::GetTextMetricsW(canvas->Handle(), &tm);
    const TRect tr{shift + 2, 2 + shift + (cy ? cy + 2 : 0), w - 2 + shift, h - 2 + shift};
    canvas->Brush()->SetStyle(TBrushStyle::bsClear);
    auto draw = [&](const std::wstring& s, TRect rr, UINT flags) {
      if (state)
        DrawSkinTextEx(canvas, s, true, rr, flags, skinIndex, true, nullptr);
      else
        DrawSkinText(canvas, s, true, rr, flags, SkinData, false);
    };
    std::wstring first, second;
    SplitToolButtonText(buf, first, second);
    if (!first.empty() && !second.empty()) {
      draw(first, TRect{tr.left, tr.top, tr.right, tr.top + tm.tmHeight}, DT_CENTER);
      draw(second, TRect{tr.left, tr.top + tm.tmHeight, tr.right, tr.bottom}, DT_END_ELLIPSIS);
    } else {
      draw(buf, tr, DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_END_ELLIPSIS);
    }
  }
  if (!(button.fsState & TBSTATE_ENABLED))
    BlendTransBmp(TacBmpView(t.get()), 0, 0, TacBmpView(cache),
                  TRect{r.left, r.top, r.right - 1, r.bottom - 1}, 0.4, 0xFF000000);
  ::BitBlt(dc, r.left, r.top, w, h, tdc, 0, 0, SRCCOPY);
}

void TacToolBarWnd::DrawButtons(TBitmap* b) {
  TBitmap* cache = SkinData->CacheBmp.get();
  ::BitBlt(b->Canvas()->Handle(), 0, 0, cache->Width(), cache->Height(), cache->Canvas()->Handle(),
           0, 0, SRCCOPY);
  const int n = static_cast<int>(::SendMessageW(CtrlHandle, TB_BUTTONCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    RECT r{};
    if (!::SendMessageW(CtrlHandle, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r))) continue;
    ::OffsetRect(&r, BorderWidth, BorderWidth);
    DrawButton(i, r, b->Canvas()->Handle());
  }
}

void TacToolBarWnd::PaintToolBar(HDC given) {
  PAINTSTRUCT ps;
  if (!given) ::BeginPaint(CtrlHandle, &ps);
  SkinData->SetUpdating(QuerySkinCmdWnd(::GetParent(CtrlHandle), AC_ISUPDATING));
  if (!SkinData->GetUpdating()) {
    PrepareCache();
    TBitmap* cache = SkinData->CacheBmp.get();
    if (cache && !cache->Empty()) {
      auto b = CreateBmp24(cache->Width(), cache->Height());
      DrawButtons(b.get());
      UniqueWindowDC own;
      if (!given) own = UniqueWindowDC::Client(CtrlHandle);
      ::BitBlt(given ? given : own.get(), 0, 0, cache->Width() - 2 * BorderWidth,
               cache->Height() - 2 * BorderWidth, b->Canvas()->Handle(), BorderWidth, BorderWidth,
               SRCCOPY);
    }
  }
  if (!given) ::EndPaint(CtrlHandle, &ps);
}

void TacToolBarWnd::WndProc(TMessage& message) {
  if (Destroyed || !SkinData || !SkinData->Skinned(false)) return TacMainWnd::WndProc(message);
  switch (message.Msg) {
    case WM_ERASEBKGND:
      return;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      SkinData->BGChanged = true;
      TacMainWnd::WndProc(message);
      if (!Destroyed) ::SendMessageW(CtrlHandle, WM_NCPAINT, 0, 0);
      return;
    case WM_PAINT:
      PaintToolBar(reinterpret_cast<HDC>(message.WParam));
      message.Result = 0;
      return;
    case WM_NCPAINT:
      PaintNC();
      return;
  }
  TacMainWnd::WndProc(message);
  if (!Destroyed && message.Msg == WM_MOUSEMOVE && DefaultManager &&
      !DefaultManager->HasState(csDesigning) && ::IsWindowEnabled(CtrlHandle))
    DefaultManager->SetActiveControl(CtrlHandle);
}
