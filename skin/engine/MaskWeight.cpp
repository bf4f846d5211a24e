#include "skin/engine/MaskWeight.h"

namespace {

// D * M + S * (256 - M) never exceeds 65280, so it is computed exactly in
// 16-bit lanes even though S * 256 - S * M wraps there; the compiler turns
// this loop into 16-bit vector code.
inline void WeightLoop(uint8_t* d, const uint8_t* s, const uint8_t* m, int bytes) {
  for (int i = 0; i < bytes; ++i) {
    uint16_t x = static_cast<uint16_t>(d[i] * m[i]) + static_cast<uint16_t>(s[i] << 8) -
                 static_cast<uint16_t>(s[i] * m[i]);
    d[i] = static_cast<uint8_t>(x >> 8);
  }
}

#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx2"))) void WeightLoopAvx2(uint8_t* d, const uint8_t* s,
                                                    const uint8_t* m, int bytes) {
  WeightLoop(d, s, m, bytes);
}
#endif

}  // namespace

void WeightBytes(uint8_t* d, const uint8_t* s, const uint8_t* m, int bytes) {
#if defined(__x86_64__) || defined(__i386__)
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) {
    WeightLoopAvx2(d, s, m, bytes);
    return;
  }
#endif
  WeightLoop(d, s, m, bytes);
}
