// The records of a loaded skin: one TsGeneralData per section, one
// TsMaskData per skin image, one TsPatternData per JPEG texture, and the
// skin's header TsSkinData. Plain data; the skin manager owns the tables and
// an index into a table is the position in it (-1 = none).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/Graphics.h"
#include "framework/Jpeg.h"
#include "skin/engine/Gradients.h"
#include "skin/engine/SkinConsts.h"

class TsSkinManager;

// One skin section.
struct TsGeneralData {
  std::wstring ParentClass;
  std::wstring SectionName;
  TColor Color = 0xFFFFFF;
  TsControlBevel Bevel = cbNone;
  int32_t FontColor[5] = {0, -1, -1, -1, -1};
  int32_t HotFontColor[5] = {0, -1, -1, -1, -1};
  bool ReservedBoolean = false;
  int32_t ShadowBlur = 6;
  TColor ShadowColor = 0;
  bool ShadowEnabled = false;
  int32_t ShadowOffset = 3;
  int32_t ShadowTransparency = 50;
  int32_t Transparency = 0;
  int32_t GradientPercent = 0;
  std::wstring GradientData = L" ";
  TsGradArray GradientArray;
  int32_t ImagePercent = 0;
  bool ShowFocus = false;
  bool FadingEnabled = false;
  int32_t FadingIntervalIn = 5;
  int32_t FadingIntervalOut = 5;
  int32_t FadingIterations = 5;
  TColor HotColor = 0xFFFFFF;
  int32_t HotTransparency = 0;
  TsControlBevel HotBevel = cbNone;
  int32_t HotGradientPercent = 0;
  std::wstring HotGradientData;
  TsGradArray HotGradientArray;
  int32_t HotImagePercent = 0;
  TColor BorderColor1 = 0;
  TColor BorderColor2 = 0;
};

// One skin image: its own bitmap, or a rectangle of the manager's master
// bitmap. The painting routines take the master bitmap as an argument, so the
// record itself never needs the manager to be painted.
struct TsMaskData {
  std::unique_ptr<TBitmap> Bmp;  // owned; null for a rectangle of the master
  std::wstring SectionName;
  std::wstring PropertyName;
  TRect R{0, 0, 0, 0};
  int16_t ImageCount = 1;
  int16_t MaskType = 0;     // 0: clFuchsia transparent; 1: grey mask below
  int16_t BorderWidth = 0;
  int16_t StretchMode = 0;
  TacImgType ImgType = itisaBorder;
  TsSkinManager* Manager = nullptr;
  int16_t WL = 0, WT = 0, WR = 0, WB = 0;
};

// Cell size of a mask as the manager derives it: own bitmaps hold three
// states over a mask; master rectangles ImageCount states of MaskType + 1
// rows. Zero for a record without cells.
int MaskCellWidth(const TsMaskData& md);
int MaskCellHeight(const TsMaskData& md);
// Border widths as the manager derives them: the stored width when above 0,
// else BorderWidth when at least 1, else a third of a cell.
int MaskWidthLeft(const TsMaskData& md);
int MaskWidthTop(const TsMaskData& md);
int MaskWidthRight(const TsMaskData& md);
int MaskWidthBottom(const TsMaskData& md);

// One large JPEG picture of a skin.
struct TsPatternData {
  std::unique_ptr<TJPEGImage> Img;
  std::wstring SectionName;
  std::wstring PropertyName;
};

// The loaded skin's header.
class TsSkinData : public TObject {
 public:
  std::wstring SkinPath;
  bool Active = false;
  double Version = 0;
  std::wstring Author;
  std::wstring Description;
  TColor Shadow1Color = 0;
  int32_t Shadow1Offset = 0;
  int32_t Shadow1Blur = -1;
  int32_t Shadow1Transparency = 0;
  TColor BorderColor = 0;
};

using TsGeneralDataArray = std::vector<TsGeneralData>;
using TsMaskArray = std::vector<TsMaskData>;
using TsPatternArray = std::vector<TsPatternData>;

// Section and image indexes the manager caches after every load, so scroll
// bars, tabs, check boxes and combo boxes never search the tables while they
// paint. -1 everywhere while no skin is loaded.
struct TsCachedIndexes {
  int16_t GlobalInfo = -1;
  int16_t TabTop = -1, TabBottom = -1, TabLeft = -1, TabRight = -1;
  int16_t TabTopMask = -1, TabBottomMask = -1, TabLeftMask = -1, TabRightMask = -1;
  int16_t ScrollBtnTop = -1, ScrollBtnBottom = -1, ScrollBtnLeft = -1, ScrollBtnRight = -1;
  int16_t ScrollBtnTopMask = -1, ScrollBtnBottomMask = -1, ScrollBtnLeftMask = -1,
          ScrollBtnRightMask = -1;
  int16_t ScrollBtnTopTexture = -1, ScrollBtnBottomTexture = -1, ScrollBtnLeftTexture = -1,
          ScrollBtnRightTexture = -1;
  int16_t ScrollBtnTopHotTexture = -1, ScrollBtnBottomHotTexture = -1,
          ScrollBtnLeftHotTexture = -1, ScrollBtnRightHotTexture = -1;
  int16_t ScrollBtnTopGlyph = -1, ScrollBtnBottomGlyph = -1, ScrollBtnLeftGlyph = -1,
          ScrollBtnRightGlyph = -1;
  int16_t ScrollSliderV = -1, ScrollSliderH = -1;
  int16_t ScrollSliderVMask = -1, ScrollSliderHMask = -1;
  int16_t ScrollSliderVGlyph = -1, ScrollSliderHGlyph = -1;
  int16_t ScrollSliderHTexture = -1, ScrollSliderHHotTexture = -1, ScrollSliderVTexture = -1,
          ScrollSliderVHotTexture = -1;
  int16_t ScrollBar1H = -1, ScrollBar1V = -1, ScrollBar2H = -1, ScrollBar2V = -1;
  int16_t ScrollBar1HMask = -1, ScrollBar1VMask = -1, ScrollBar2HMask = -1, ScrollBar2VMask = -1;
  int16_t ScrollBar1HTexture = -1, ScrollBar1VTexture = -1, ScrollBar2HTexture = -1,
          ScrollBar2VTexture = -1;
  int16_t ScrollBar1HHotTexture = -1, ScrollBar1VHotTexture = -1, ScrollBar2HHotTexture = -1,
          ScrollBar2VHotTexture = -1;
  int16_t CheckBoxChecked = -1, CheckBoxUnchecked = -1, CheckBoxGrayed = -1;
  int16_t RadioButtonChecked = -1, RadioButtonUnchecked = -1, RadioButtonGrayed = -1;
  int16_t SmallBoxChecked = -1, SmallBoxUnchecked = -1, SmallBoxGrayed = -1;
  int32_t ComboBtnIndex = -1;
  int32_t ComboBtnBorder = -1;
  int32_t ComboBtnBGTexture = -1, ComboBtnBGHotTexture = -1;
  int32_t ComboGlyph = -1;
};
