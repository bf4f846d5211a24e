#include "skin/controls/HtmlParse.h"

#include <windows.h>

#include <algorithm>
#include <cwchar>

#include "skin/engine/SkinUtils.h"

namespace {

// Attribute words are separated by these characters.
constexpr wchar_t kTagDelims[] = L"\n\r \"<=>";

// 1-based position of the first occurrence of `sub` in `s`, 0 when absent.
int PosOf(const std::wstring& sub, const std::wstring& s) {
  size_t p = s.find(sub);
  return p == std::wstring::npos ? 0 : static_cast<int>(p) + 1;
}

std::wstring UpperCase(const std::wstring& s) {
  std::wstring u = s;
  if (!u.empty()) CharUpperBuffW(u.data(), static_cast<DWORD>(u.size()));
  return u;
}

// The word that follows the word `name` among the tag's words, or empty.
std::wstring AttributeValue(const std::wstring& tag, const std::wstring& name) {
  int n = WordCount(tag, kTagDelims);
  for (int k = 1; k < n; ++k)
    if (ExtractWord(k, tag, kTagDelims) == name) return ExtractWord(k + 1, tag, kTagDelims);
  return L"";
}

// A whole decimal number, optionally signed; false for anything else.
bool ParseWhole(const std::wstring& s, int& value) {
  if (s.empty() || s.size() > 9) return false;
  size_t i = (s[0] == L'+' || s[0] == L'-') ? 1 : 0;
  if (i == s.size()) return false;
  int v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < L'0' || s[i] > L'9') return false;
    v = v * 10 + (s[i] - L'0');
  }
  value = s[0] == L'-' ? -v : v;
  return true;
}

struct NamedColor {
  const wchar_t* name;
  TColor color;
};
constexpr NamedColor kColorNames[] = {
    {L"AQUA", 0xFFFF00},   {L"BLACK", 0x000000},  {L"BLUE", 0xFF0000},  {L"FUCHSIA", 0xFF00FF},
    {L"GRAY", 0x808080},   {L"GREEN", 0x008000},  {L"LIME", 0x00FF00},  {L"MAROON", 0x000080},
    {L"NAVY", 0x800000},   {L"OLIVE", 0x008080},  {L"PURPLE", 0x800080}, {L"RED", 0x0000FF},
    {L"SILVER", 0xC0C0C0}, {L"TEAL", 0x808000},   {L"WHITE", 0xFFFFFF}, {L"YELLOW", 0x00FFFF},
};

}  // namespace

TsHtml::~TsHtml() = default;  // the font stack frees what is left on it

void TsHtml::Init(TBitmap* bitmap, const std::wstring& text, const TRect& r) {
  bitmap_ = bitmap;
  text_ = text;
  upper_ = UpperCase(text);
  length_ = static_cast<int>(text.size());
  rect_ = r;
  x_ = r.left;
  y_ = r.top;
  maxWidth_ = height_ = lineWidth_ = lineHeight_ = 0;
  alignment_ = 0;
  fontStack_.clear();
}

void TsHtml::Parse(TRect& r) {
  int start = 1;
  int i = 1;
  while (i <= length_) {
    if (upper_[i - 1] != L'<') {
      ++i;
      continue;
    }
    if (i > start) DrawRun(start, i - 1);
    if (i < length_ && upper_[i] == L'<') {
      // "<<": the second "<" opens the next run and is drawn as a character.
      start = i + 1;
      i += 2;
      continue;
    }
    std::wstring tag = ExtractTag(i);
    if (tag.empty()) {
      // No closing ">": the rest is plain text, drawn as it stands, so a
      // stray "<" never swallows the end of a hint.
      start = i;
      break;
    }
    ApplyTag(tag);
    start = i + static_cast<int>(tag.size());
    i = start;
  }
  if (start <= length_) DrawRun(start, length_);
  EndLine();
  height_ = y_ + lineHeight_;
  r = MakeRect(0, 0, maxWidth_, height_);
}

void TsHtml::DrawRun(int first, int last) {
  std::wstring run;
  run.reserve(last - first + 1);
  for (int k = first; k <= last; ++k) {
    wchar_t c = text_[k - 1];
    if (c != L'\r' && c != L'\n') run += c;
  }
  if (run.empty()) return;
  TCanvas* canvas = Canvas();
  canvas->TextOut(x_, y_, run);
  x_ += canvas->TextWidth(run);
  lineWidth_ = x_;
  lineHeight_ = std::max(lineHeight_, canvas->TextHeight(L"X"));
}

void TsHtml::EndLine() {
  maxWidth_ = std::max(maxWidth_, lineWidth_);
  lineWidth_ = 0;
}

void TsHtml::NewLine() {
  y_ += lineHeight_ + 2;
  EndLine();
  lineHeight_ = 0;
}

std::wstring TsHtml::ExtractTag(int i) const {
  size_t close = upper_.find(L'>', i - 1);
  if (close == std::wstring::npos) return L"";
  return upper_.substr(i - 1, close - (i - 1) + 1);
}

void TsHtml::ApplyTag(const std::wstring& tag) {
  TFont* font = Canvas()->Font();
  bool closing = PosOf(L"/", tag) == 2;
  if (closing && PosOf(L"B", tag) == 3) {
    font->SetStyle(font->Style() & ~fsBold);
  } else if (closing && PosOf(L"I", tag) == 3) {
    font->SetStyle(font->Style() & ~fsItalic);
  } else if (closing && PosOf(L"FONT", tag) == 3) {
    if (!fontStack_.empty()) {
      font->Assign(fontStack_.back().get());
      fontStack_.pop_back();
    }
  } else if (PosOf(L"BR", tag) == 2) {
    x_ = rect_.left;
    NewLine();
  } else if (PosOf(L"B", tag) == 2) {
    font->SetStyle(font->Style() | fsBold);
  } else if (PosOf(L"I", tag) == 2) {
    font->SetStyle(font->Style() | fsItalic);
  } else if (PosOf(L"P", tag) == 2) {
    x_ = rect_.left;
    NewLine();
    ApplyAlign(tag);
  } else if (PosOf(L"FONT", tag) == 2) {
    auto saved = std::make_unique<TFont>();
    saved->Assign(font);
    fontStack_.push_back(std::move(saved));
    ApplyFontAttributes(tag);
  }
}

void TsHtml::ApplyFontAttributes(const std::wstring& tag) {
  TFont* font = Canvas()->Font();
  std::wstring size = AttributeValue(tag, L"SIZE");
  int points = 0;
  if (ParseWhole(size, points)) {
    if (size[0] == L'-' || size[0] == L'+')
      font->SetSize(font->Size() + points);
    else
      font->SetSize(points);
  }
  std::wstring color = AttributeValue(tag, L"COLOR");
  if (!color.empty()) {
    int c = ColorValue(color);
    if (c >= 0) font->SetColor(static_cast<TColor>(c));
  }
  int face = PosOf(L"FACE", tag);
  if (face > 0) {
    size_t open = tag.find(L'"', face - 1 + 4);
    size_t close = open == std::wstring::npos ? open : tag.find(L'"', open + 1);
    if (close != std::wstring::npos && close > open + 1)
      font->SetName(tag.substr(open + 1, close - open - 1));
  }
}

void TsHtml::ApplyAlign(const std::wstring& tag) {
  std::wstring align = AttributeValue(tag, L"ALIGN");
  if (align == L"LEFT") alignment_ = 0;
  else if (align == L"RIGHT") alignment_ = 1;
  else if (align == L"CENTER") alignment_ = 2;
}

int TsHtml::HexToInt(const std::wstring& digits) {
  if (digits.empty() || digits.size() > 8) return -1;
  unsigned value = 0;
  for (wchar_t c : digits) {
    unsigned d;
    if (c >= L'0' && c <= L'9') d = c - L'0';
    else if (c >= L'A' && c <= L'F') d = c - L'A' + 10;
    else return -1;
    value = value * 16 + d;
  }
  // Colours use 24 bits; larger numbers are no colour either.
  return value > 0xFFFFFF ? -1 : static_cast<int>(value);
}

int TsHtml::ColorValue(const std::wstring& value) {
  if (!value.empty() && value[0] == L'#') return HexToInt(value.substr(1));
  for (const NamedColor& n : kColorNames)
    if (value == n.name) return static_cast<int>(n.color);
  return HexToInt(value);
}
