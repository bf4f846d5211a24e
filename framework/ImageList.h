// TImageList: a component around a comctl32 image list. It owns its handle
// unless ShareImages is set, so a list adopted from the shell (the system
// image list) is never destroyed by us. Controls that show a list hear of a
// new handle through change listeners.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <map>

#include "framework/Component.h"
#include "framework/Graphics.h"

class TImageList : public TComponent {
 public:
  explicit TImageList(TComponent* AOwner);
  ~TImageList() override;
  const wchar_t* ClassName() const override { return L"TImageList"; }

  // Image size; changing it empties the list (a new handle is made).
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetWidth(int v) { SetSize(v, height_); }
  void SetHeight(int v) { SetSize(width_, v); }
  void SetSize(int width, int height);
  int Count() const;

  // The list's handle, created (empty, 32-bit colour with mask) on demand.
  HIMAGELIST Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  // Adopts `list` (its image size becomes ours). The previous handle is
  // destroyed unless ShareImages is set.
  void SetHandle(HIMAGELIST list);
  // True: the handle belongs to someone else and is never destroyed here.
  bool ShareImages() const { return shareImages_; }
  void SetShareImages(bool v) { shareImages_ = v; }

  // Each returns the new image's index, -1 on failure.
  int Add(TBitmap* image, TBitmap* mask);
  int AddMasked(TBitmap* image, TColor maskColor);
  int AddIcon(TIcon* icon);
  int AddIcon(HICON icon);
  void Delete(int index);
  void Clear();

  // Draws image `index` with its top-left corner at (x, y); a disabled image
  // is drawn embossed in the system's disabled look.
  void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
  void Draw(HDC dc, int x, int y, int index, bool enabled = true);

  TNotifyEvent OnChange;

  // Controls showing this list register here to learn of handle changes
  // (key: the listener, usually the control itself).
  void AddChangeListener(const void* key, std::function<void()> fn);
  void RemoveChangeListener(const void* key);

 private:
  void FreeHandle();
  void Change();

  HIMAGELIST handle_ = nullptr;
  int width_ = 16;
  int height_ = 16;
  bool shareImages_ = false;
  std::map<const void*, std::function<void()>> listeners_;
};
