#include "framework/ImageList.h"

#include <vector>

#include "framework/ComCtrls.h"

TImageList::TImageList(TComponent* AOwner) : TComponent(AOwner) { InitCommonControlsOnce(); }

TImageList::~TImageList() {
  // Listeners are controls that outlive nothing of ours: they learn of our
  // end through free notification, not through a handle change.
  listeners_.clear();
  FreeHandle();
}

void TImageList::FreeHandle() {
  if (handle_ && !shareImages_) ImageList_Destroy(handle_);
  handle_ = nullptr;
}

void TImageList::SetSize(int width, int height) {
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  if (handle_) {
    // A shared list is not ours to resize: we let go of it instead.
    FreeHandle();
    shareImages_ = false;
    Change();
  }
}

HIMAGELIST TImageList::Handle() {
  if (!handle_) {
    handle_ = ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 4, 4);
    shareImages_ = false;
  }
  return handle_;
}

void TImageList::SetHandle(HIMAGELIST list) {
  if (list == handle_) return;
  FreeHandle();
  handle_ = list;
  if (list) {
    int cx = 0, cy = 0;
    if (ImageList_GetIconSize(list, &cx, &cy)) {
      width_ = cx;
      height_ = cy;
    }
  }
  Change();
}

int TImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

int TImageList::Add(TBitmap* image, TBitmap* mask) {
  if (!image || image->Empty()) return -1;
  int index = ImageList_Add(Handle(), image->Handle(), mask && !mask->Empty() ? mask->Handle() : nullptr);
  Change();
  return index;
}

int TImageList::AddMasked(TBitmap* image, TColor maskColor) {
  if (!image || image->Empty()) return -1;
  int index = ImageList_AddMasked(Handle(), image->Handle(), ColorToRGB(maskColor));
  Change();
  return index;
}

int TImageList::AddIcon(TIcon* icon) { return icon ? AddIcon(icon->Handle()) : -1; }

int TImageList::AddIcon(HICON icon) {
  if (!icon) return -1;
  int index = ImageList_AddIcon(Handle(), icon);
  Change();
  return index;
}

void TImageList::Delete(int index) {
  if (!handle_ || index < 0 || index >= Count()) return;
  ImageList_Remove(handle_, index);
  Change();
}

void TImageList::Clear() {
  if (!handle_) return;
  ImageList_Remove(handle_, -1);
  Change();
}

void TImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) {
  if (canvas) Draw(canvas->Handle(), x, y, index, enabled);
}

void TImageList::Draw(HDC dc, int x, int y, int index, bool enabled) {
  if (!handle_ || !dc || index < 0 || index >= Count()) return;
  if (enabled) {
    ImageList_Draw(handle_, index, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  // The system's disabled look: the image's shape embossed in shadow and
  // highlight colours.
  UniqueIcon icon(ImageList_GetIcon(handle_, index, ILD_TRANSPARENT));
  if (!icon) return;
  DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon.get()), 0, x, y, width_, height_,
             DST_ICON | DSS_DISABLED);
}

void TImageList::AddChangeListener(const void* key, std::function<void()> fn) {
  listeners_[key] = std::move(fn);
}

void TImageList::RemoveChangeListener(const void* key) { listeners_.erase(key); }

void TImageList::Change() {
  // Copy: a listener may remove itself.
  std::vector<std::function<void()>> fns;
  for (auto& [key, fn] : listeners_) fns.push_back(fn);
  for (auto& fn : fns) fn();
  if (OnChange) OnChange(this);
}
