// TsBitBtn: a bitmap button that can stay pressed (Down), as the navigation
// frame's buttons do.
#pragma once

#include "framework/Buttons.h"

class TsBitBtn : public TBitBtn {
 public:
  explicit TsBitBtn(TComponent* AOwner) : TBitBtn(AOwner) {}
  const wchar_t* ClassName() const override { return L"TsBitBtn"; }
  bool Down() const { return down_; }
  void SetDown(bool v) {
    down_ = v;
    if (HandleAllocated()) SendMessageW(WindowHandle(), BM_SETSTATE, v, 0);
  }

 protected:
  void CreateWindowState() override {
    TBitBtn::CreateWindowState();
    if (down_) SendMessageW(WindowHandle(), BM_SETSTATE, TRUE, 0);
  }

 private:
  bool down_ = false;
};
