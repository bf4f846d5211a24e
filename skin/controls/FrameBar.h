// TsFrameBar: the left navigation bar, a skinned scroll box painted from
// section "BAR". A vertical list of titled items whose title buttons are
// skinned speed buttons ("BARTITLE"); an open item shows its frame below its
// title. Frames are made through the item's OnCreateFrame when the item
// opens and freed when it closes (unless OnFrameDestroy keeps them); opening
// and closing slide over four passes.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "framework/Forms.h"
#include "skin/controls/ScrollBox.h"
#include "skin/controls/SpeedButton.h"

class TsFrameBar;
class TsTitleItem;
class TsTitles;

using TCreateFrameEvent = std::function<void(TObject* Sender, TCustomFrame*& Frame)>;
using TFrameDestroyEvent =
    std::function<void(TObject* Sender, TCustomFrame*& Frame, bool& CanDestroy)>;

// The title button of an item: an open item's title shows the hot look.
class TsTitleButton : public TsSpeedButton {
 public:
  explicit TsTitleButton(TComponent* AOwner);
  const wchar_t* ClassName() const override { return L"TsTitleButton"; }
  bool Selected() const { return selected_; }
  void SetSelected(bool v);
  int CurrentState() const override;
  TsTitleItem* Item = nullptr;

 protected:
  void Paint() override;

 private:
  bool selected_ = false;
};

enum TsTitleState : uint8_t { stClosed = 0, stOpen = 1, stClosing = 2, stOpening = 3 };

class TsTitleItem : public TObject {
 public:
  // Made by its collection (TsTitles::Add), which it belongs to.
  explicit TsTitleItem(TsTitles* collection);
  ~TsTitleItem() override;
  TsTitles* Collection() const { return collection_; }

  const std::wstring& Caption() const { return caption_; }
  void SetCaption(const std::wstring& v);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  // The title button's skin section.
  std::wstring SkinSection() const;
  void SetSkinSection(const std::wstring& v);
  int Index() const;

  TCreateFrameEvent OnCreateFrame;
  TFrameDestroyEvent OnFrameDestroy;
  TNotifyEvent OnClick;

  TsTitleButton* TitleButton() const { return button_; }
  TCustomFrame* Frame() const { return frame_.get(); }
  TsTitleState State() const { return state_; }

 private:
  friend class TsFrameBar;
  friend class TsTitles;
  void TitleButtonClick(TObject* sender);

  TsTitles* collection_;
  TsFrameBar* bar_;
  std::wstring caption_;
  bool visible_ = true;
  int imageIndex_ = -1;
  TsTitleButton* button_ = nullptr;
  std::unique_ptr<TCustomFrame> frame_;
  TsTitleState state_ = stClosed;
  int frameHeight_ = 0;
};

// The frame bar's items, reached by index; it knows the bar that owns it.
class TsTitles : public TObject {
 public:
  explicit TsTitles(TsFrameBar* bar) : bar_(bar) {}
  ~TsTitles() override;
  TsFrameBar* Owner() const { return bar_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TsTitleItem* Items(int index) const { return items_.at(index).get(); }
  int IndexOf(const TsTitleItem* item) const;
  // A new item at the end, its title button on the bar, the bar arranged.
  TsTitleItem* Add();
  // Frees the item (its title button and frame with it) and arranges the bar.
  void Delete(int index);
  void Clear();
  // Makes the items as many as the source's, each with the published
  // values and events of the source item at its index.
  void Assign(const TsTitles& source);

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  bool empty() const { return items_.empty(); }

 private:
  TsFrameBar* bar_;
  std::vector<std::unique_ptr<TsTitleItem>> items_;
};

// While true, an arrangement runs without animation.
extern bool SkipFrameBarAnimation;

class TsFrameBar : public TsScrollBox {
 public:
  explicit TsFrameBar(TComponent* AOwner);
  ~TsFrameBar() override;
  const wchar_t* ClassName() const override { return L"TsFrameBar"; }
  void Loaded() override;

  TsTitles* Items() const { return items_.get(); }
  void SetItems(const TsTitles* value);

  // The title buttons' image list (not owned).
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* v);
  int TitleHeight() const { return titleHeight_; }
  void SetTitleHeight(int v);
  int Spacing() const { return spacing_; }
  void SetSpacing(int v);
  bool Animation = true;
  bool AllowAllClose = false;
  bool AllowAllOpen() const { return allowAllOpen_; }
  void SetAllowAllOpen(bool v);
  bool AutoFrameSize() const { return autoFrameSize_; }
  void SetAutoFrameSize(bool v);
  void SetBarBorderWidth(int v);

  void OpenItem(int index, bool animated);
  void ArrangeNow();
  void ArrangeItems();
  bool Arranging() const { return arranging_; }
  void WndProc(TMessage& message) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TsTitleItem;
  RECT ItemsArea();
  int ScrollOffset() const;
  void ArrangePass(const RECT& r, int step, int steps, int freeHeight, int& y);
  void FinishArrangement(int y);
  bool Counted(const TsTitleItem* item) const;
  void CloseOthers(const TsTitleItem* keep);
  bool ShowFrame(TsTitleItem* item, int top, int width, int visible);
  void DestroyFrame(TsTitleItem* item);
  void CreateDefaultFrame(TsTitleItem* item);
  void UpdateWidths();

  std::unique_ptr<TsTitles> items_ = std::make_unique<TsTitles>(this);
  int titleHeight_ = 28;
  int spacing_ = 2;
  bool allowAllOpen_ = false;
  bool autoFrameSize_ = false;
  bool arranging_ = false;
  TImageList* images_ = nullptr;
  // A request that came while arranging, run once the arrangement ends;
  // whether it asked for the slide.
  bool pending_ = false;
  bool pendingAnimated_ = false;
};
