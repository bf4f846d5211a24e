// Corner repair of a control's cache image: the pixels that the border
// image leaves transparent (clFuchsia) at the corners are taken from the
// parent's image, or from the parent's colour when it has no image.
#pragma once

#include <cstdint>

class TsCommonData;

// Corner bits of UpdateCornerSet.
inline constexpr uint8_t cornerTopLeft = 1;
inline constexpr uint8_t cornerBottomLeft = 2;
inline constexpr uint8_t cornerTopRight = 4;
inline constexpr uint8_t cornerBottomRight = 8;
inline constexpr uint8_t cornersAll = 15;

void UpdateCornerSet(TsCommonData* skinData, int state, uint8_t corners);
inline void UpdateCorners(TsCommonData* skinData, int state) {
  UpdateCornerSet(skinData, state, cornersAll);
}
