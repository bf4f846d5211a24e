// TsHtml: measures and draws a hint text written in a small tag language
// (B, I, FONT with SIZE, COLOR and FACE, BR, P) on a bitmap's canvas, run by
// run with TextOut, and reports the extent of what it drew. Lines end only at
// BR and P; text is never wrapped.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/Graphics.h"

class TsHtml {
 public:
  TsHtml() = default;
  ~TsHtml();
  TsHtml(const TsHtml&) = delete;
  TsHtml& operator=(const TsHtml&) = delete;

  // Keeps the target (not owned), the text and the area; drawing starts at
  // R's top-left corner with the canvas's current font.
  void Init(TBitmap* bitmap, const std::wstring& text, const TRect& r);
  // Draws the text and returns R := (0, 0, widest line's right edge, bottom
  // of the last line), both in canvas coordinates.
  void Parse(TRect& r);

  // Set by ALIGN of a P tag: 0 left, 1 right, 2 centre. Drawing ignores it.
  int Alignment() const { return alignment_; }

  // Hexadecimal digits 0-9, A-F (upper case) as a number; -1 when any other
  // character occurs or the text is empty.
  static int HexToInt(const std::wstring& digits);
  // A COLOR attribute's value: "#" and hexadecimal digits, a colour name, or
  // bare hexadecimal digits; -1 when it is none of these.
  static int ColorValue(const std::wstring& value);

 private:
  // Draws the characters at 1-based positions first..last of the text.
  void DrawRun(int first, int last);
  void NewLine();
  void EndLine();
  // The tag starting at 1-based position i up to and including the next
  // ">", or empty when there is none.
  std::wstring ExtractTag(int i) const;
  void ApplyTag(const std::wstring& tag);
  void ApplyFontAttributes(const std::wstring& tag);
  void ApplyAlign(const std::wstring& tag);
  TCanvas* Canvas() const { return bitmap_->Canvas(); }

  TBitmap* bitmap_ = nullptr;
  int x_ = 0, y_ = 0;
  int length_ = 0;
  std::wstring text_;
  std::wstring upper_;
  std::vector<std::unique_ptr<TFont>> fontStack_;
  TRect rect_{};
  int maxWidth_ = 0;
  int height_ = 0;
  int lineWidth_ = 0;
  int lineHeight_ = 0;
  int alignment_ = 0;
};
