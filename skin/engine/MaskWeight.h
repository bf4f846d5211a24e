// The mask weighting of grey-masked skin images, shared by the copy routines:
// out = ((D - S) * M + S * 256) shr 8 per byte, over `bytes` bytes of rows
// that do not overlap.
#pragma once

#include <cstdint>

void WeightBytes(uint8_t* d, const uint8_t* s, const uint8_t* m, int bytes);
