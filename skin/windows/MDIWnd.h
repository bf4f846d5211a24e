// TacMDIWnd: the adapter of an MDI main form's client window. Its frame and
// background come from the form provider's cache (the "MDIAREA" painted
// there) while no child is maximized; its scroll bars are the skin's.
#pragma once

#include "framework/Forms.h"
#include "skin/windows/EditWnd.h"

class TsSkinProvider;

class TacMDIWnd : public TacBaseWnd {
 public:
  ~TacMDIWnd() override;
  void WndProc(TMessage& message) override;

  TCustomForm* Form = nullptr;
  TsCommonData* FormSkinData = nullptr;
  TsSkinProvider* FormProvider = nullptr;

 protected:
  friend class TacMainWnd;
  using TacBaseWnd::TacBaseWnd;

 private:
  bool Paints() const;
  // The client's place in the form's window (and so in its cache).
  TRect PlaceInForm() const;
  // The form's cache under the client area into DC; `printing` puts it
  // where the client lies in the form's client area.
  void PaintArea(HDC dc, bool printing);
  void PaintBorder(HDC dc);
};

using TacMDIWndPtr = std::unique_ptr<TacMDIWnd, TacMainWnd::Deleter>;
