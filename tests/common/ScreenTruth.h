#pragma once
// Does the screen show what the program's windows paint? For every visible
// window of a process: the pixels read back from the screen equal the
// image the window paints when asked to repaint itself wholly, no window
// or control is left black (under Xvfb, what nobody painted reads back as
// pure black), and every standard control on screen wears the skin: it
// carries a window adapter (property "ACSBSC") or is a skinned control.
#include <windows.h>

#include <string>
#include <vector>

namespace testenv {

// A copy of a screen rectangle, 32-bit pixels 0x00RRGGBB, top row first.
class ScreenImage {
 public:
  ScreenImage() = default;
  explicit ScreenImage(const RECT& r);
  const RECT& Rect() const { return rect_; }
  int Width() const { return rect_.right - rect_.left; }
  int Height() const { return rect_.bottom - rect_.top; }
  // Pixel at screen point (x, y), which must lie in Rect().
  DWORD At(int x, int y) const {
    return pixels_[static_cast<size_t>(y - rect_.top) * static_cast<size_t>(Width()) +
                   static_cast<size_t>(x - rect_.left)];
  }
  bool operator==(const ScreenImage& o) const { return EqualRect(&rect_, &o.rect_) && pixels_ == o.pixels_; }
  // Writes the image as a 32-bit .bmp file for people to look at.
  bool Save(const std::wstring& path) const;

 private:
  RECT rect_{};
  std::vector<DWORD> pixels_;
};

// Reads the rectangle again and again until four reads in a row agree
// (the screen shows drawing a little after it happens) or `timeoutMs`
// has passed; `settled` tells which.
ScreenImage SettledScreen(const RECT& r, DWORD timeoutMs = 4000, bool* settled = nullptr);

// Visible top-level windows of the process, topmost first.
std::vector<HWND> VisibleTopWindows(DWORD pid);

// What the checks found wrong at one step: one line per fault, naming the
// window (class and text) and the share of its pixels that differ. With
// the environment variable SCREENTRUTH_DUMP naming a folder, the screen
// and the repaint of each window that differ are saved there as .bmp.
std::vector<std::string> CheckScreenTruth(DWORD pid);

// "Class 'text'" for messages.
std::string Describe(HWND wnd);

}  // namespace testenv
