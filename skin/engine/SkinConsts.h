// Constants, enumerations and process-wide values shared by the whole skin
// engine. Everything here is plain data; the values that start-up changes are
// set by InitSkinConsts.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "framework/Graphics.h"

class TControl;

// A parent's cache bitmap and a child's offset inside it. Only Ready is ever
// tested before the other fields are used.
struct TCacheInfo {
  TBitmap* Bmp = nullptr;
  int X = 0;
  int Y = 0;
  bool Ready = false;
};

// Passed wherever no parent image exists.
inline constexpr TCacheInfo EmptyCacheInfo{nullptr, -99, 0, false};

inline TCacheInfo MakeCacheInfo(TBitmap* bmp, int x, int y) {
  return TCacheInfo{bmp, x, y, true};
}

// clFuchsia marks transparent pixels in every skin image.
inline constexpr TColor TransparentColor = 0xFF00FF;

// Kind of a skin image.
enum TacImgType : uint8_t { itisaBorder, itisaTexture, itisaGlyph };

// Disabled look of a control image (a set: dkBlended | dkGrayed).
using TsDisabledKind = uint8_t;
inline constexpr TsDisabledKind dkBlended = 1u << 0;
inline constexpr TsDisabledKind dkGrayed = 1u << 1;

// Disabled look of a button glyph (a set: dgBlended | dgGrayed).
using TsDisabledGlyphKind = uint8_t;
inline constexpr TsDisabledGlyphKind dgBlended = 1u << 0;
inline constexpr TsDisabledGlyphKind dgGrayed = 1u << 1;

// Bevel of a section.
enum TsControlBevel : uint8_t {
  cbNone, cbRaisedSoft, cbLoweredSoft, cbRaisedHard, cbLoweredHard
};

// Mouse events that animate, and the set of them (bit n = event n).
enum TacAnimatEvent : uint8_t {
  aeMouseEnter, aeMouseLeave, aeMouseDown, aeMouseUp, aeGlobalDef
};
using TacAnimatEvents = uint8_t;
inline constexpr TacAnimatEvents AnimatEventBit(TacAnimatEvent e) {
  return static_cast<TacAnimatEvents>(1u << e);
}

// Where a bound label sits beside its control.
enum TsCaptionLayout : uint8_t { sclLeft, sclTopLeft, sclTopCenter, sclTopRight };

// Horizontal runs of pixels (height 1) cut out of window regions.
using TAOR = std::vector<TRect>;

// Process-wide values. They start as given and are changed by their users.
extern int DefaultScrollButtonSize;       // 16, then SM_CXHSCROLL at start-up
extern bool FadingSuspended;
extern bool MouseEnterSuspended;
extern const bool SkipGraphicCtrlClip;    // never changed
extern bool SkinnedMDIArea;
extern bool SkinnedMDIArea2;
extern TacAnimatEvents DefaultAnimatEvents;  // all four mouse events
extern bool StoredShowHint;
extern TControl* DropDownButton;
extern TControl* ExtraRefreshControl;
extern TsDisabledKind ReplyDisabledKind;

// The colour that stands for the parent where a mask copy meets a
// transparent pixel and no parent image is at hand; clFuchsia = not set.
extern TColor MaskFillColor;

// Start-up values that need the running system.
void InitSkinConsts();
