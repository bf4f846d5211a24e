// TsFrameAdapter: skins a frame without changing its class. The frame owns
// the adapter, which puts its own window procedure in front of the frame's
// and takes it out again exactly when it goes, so a frame that outlives its
// adapter works unskinned.
#pragma once

#include <memory>

#include "framework/Component.h"
#include "framework/Controls.h"
#include "framework/Forms.h"
#include "skin/engine/CommonData.h"
#include "skin/windows/ScrollWnd.h"

class TsFrameAdapter : public TComponent {
 public:
  explicit TsFrameAdapter(TComponent* AOwner);
  ~TsFrameAdapter() override;
  const wchar_t* ClassName() const override { return L"TsFrameAdapter"; }
  void AfterConstruction() override;
  void Loaded() override;

  // ---- published ----
  std::unique_ptr<TsCommonData> SkinData;

  TCustomFrame* Frame() const { return frame_; }
  // The frame's owner-drawn scroll bars (null while unskinned or hidden).
  TacScrollWnd* ScrollAdapter() const { return scrollWnd_.get(); }

 private:
  void FrameMessage(TMessage& message, const TWndMethod& next);
  bool AlphaCmd(TMessage& message, const TWndMethod& next);  // true = done
  bool SkinnedMessage(TMessage& message, const TWndMethod& next);  // true = done
  bool Skinned() const;
  void Paint(HDC given, bool printing);
  void PrepareCache();
  void AnswerBGColor();
  bool FrameHandled();
  void HookPopupMenus();

  TCustomFrame* frame_ = nullptr;
  std::unique_ptr<TWndProcHook> hook_;
  TacScrollWndPtr scrollWnd_;
};
