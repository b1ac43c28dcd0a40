// The reference loops: the blend rule read straight off the product table.
#include <cstring>

#include "common/blend_kernels.h"

namespace torv {
namespace blend_internal {

namespace {

void blend_scalar(uint8_t* dst, const uint8_t* src, int n, int alpha, const uint8_t* table) {
  const uint8_t* by_alpha = table + alpha * 256;  // T[alpha][*] = T[*][alpha]
  for (int i = 0; i < n; ++i, src += 4, dst += 4) {
    const int b = by_alpha[src[3]];
    if (b == 255) {
      std::memcpy(dst, src, 4);
    } else if (b != 0) {
      const uint8_t* ts = table + b * 256;
      const uint8_t* td = table + (255 - b) * 256;
      dst[0] = static_cast<uint8_t>(ts[src[0]] + td[dst[0]]);
      dst[1] = static_cast<uint8_t>(ts[src[1]] + td[dst[1]]);
      dst[2] = static_cast<uint8_t>(ts[src[2]] + td[dst[2]]);
    }
  }
}

void copy_keyed_scalar(uint8_t* dst, const uint8_t* src, int n) {
  for (int i = 0; i < n; ++i, src += 4, dst += 4)
    if (src[3] != 0) std::memcpy(dst, src, 4);
}

}  // namespace

const RowKernels kScalarRows = {blend_scalar, copy_keyed_scalar};

}  // namespace blend_internal
}  // namespace torv
