// The framed adapters: windows with a client area of their own and a sunken
// frame (edits, memos, list boxes, list views, tree views). They paint the
// frame and the owner-drawn scroll bars from the adapter's cache image and
// leave the client area to the control, whose colours they take from the
// skin section and give back when the skin goes.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "framework/Handles.h"
#include "skin/windows/ScrollWnd.h"

// Bars re-read after size and scroll messages.
class TacBaseWnd : public TacScrollWnd {
 public:
  void WndProc(TMessage& message) override;

 protected:
  friend class TacMainWnd;
  using TacScrollWnd::TacScrollWnd;
};

class TacEditWnd : public TacBaseWnd {
 public:
  void SaveStdProps() override;
  void RestoreStdProps() override;
  void SetSkinParams() override;
  void WndProc(TMessage& message) override;

  // Colours of a control's WM_CTLCOLOR* reply: sets the DC's text and
  // background colours and returns a brush of BgColor that this adapter
  // owns (made again only when the colour changes).
  HBRUSH CtlColorBrush(HDC dc, TColor textColor);

  TColor BgColor = clWindow;  // background of a bare window
  HBRUSH BgBrush = nullptr;   // the brush of the last reply (owned)

 protected:
  friend class TacMainWnd;
  using TacBaseWnd::TacBaseWnd;
  // The frame from the cache image into DC (window coordinates) and the bars.
  void PaintFrame(HDC dc);
  void PrintClient(HDC dc);
  // What every print starts with: fresh geometry, no deferred painting,
  // the image to be built again from the skin's colours.
  void StartPrint();
  void OnNcPaint(TMessage& message);
  void OnPrint(TMessage& message);
  bool OnSkinCmd(TMessage& message);
  // Whether the control may set its scroll info inside its own WM_PAINT;
  // the system then draws its bars there, over the skinned ones. List and
  // tree views do: they work out their rows' metrics when they first paint
  // them.
  virtual bool SetsScrollInfoWhilePainting() const;

 private:
  UniqueBrush brush_;
  TColor brushColor_ = clNone;
};

// List-view colours (background, text background and text).
class TacListViewWnd : public TacEditWnd {
 public:
  void SaveStdProps() override;
  void RestoreStdProps() override;
  void SetSkinParams() override;
  void WndProc(TMessage& message) override;

 protected:
  friend class TacMainWnd;
  using TacEditWnd::TacEditWnd;
  bool SetsScrollInfoWhilePainting() const override { return true; }

 private:
  COLORREF stdBk_ = CLR_NONE, stdTextBk_ = CLR_NONE, stdText_ = CLR_NONE;
  bool saved_ = false;
};

// Tree-view colours; the background is erased with the section's hot colour.
class TacTreeViewWnd : public TacEditWnd {
 public:
  void SaveStdProps() override;
  void RestoreStdProps() override;
  void SetSkinParams() override;
  void WndProc(TMessage& message) override;

 protected:
  friend class TacMainWnd;
  using TacEditWnd::TacEditWnd;
  bool SetsScrollInfoWhilePainting() const override { return true; }

 private:
  COLORREF stdBk_ = CLR_NONE, stdText_ = CLR_NONE, stdLine_ = CLR_DEFAULT;
  bool saved_ = false;
};

using TacEditWndPtr = std::unique_ptr<TacEditWnd, TacMainWnd::Deleter>;

// Gives a skinned control its edit adapter (section "EDIT"), or takes it
// away when the control is not skinned.
void RefreshEditWnd(TsCommonData* skinData, TacEditWndPtr& adapter);
