// SSE2 loops, 4 pixels a step. Exact to the table by the identity
// floor(x * B / 255) = (x * (257 * B + 1)) >> 16 for x in 0..255 and B in 1..254,
// one unsigned high-half multiply per channel term; B = 0 and B = 255 are the
// rule's "keep" and "copy" cases and are taken by selects.
#include "common/blend_kernels.h"

#ifdef TORV_BLEND_SSE2

#include <emmintrin.h>

#ifdef TORV_BLEND_SSE2_BUILT_IN
#define TORV_SSE2
#else
#define TORV_SSE2 __attribute__((target("sse2")))
#endif

namespace torv {
namespace blend_internal {

namespace {

// Each pixel's weight B in all four of its bytes (B * 0x01010101): as 16-bit
// lanes that is 257 * B, from which both channel weights follow by one add or
// subtract.
TORV_SSE2 inline __m128i spread_weights(__m128i s, bool full, __m128i ka) {
  __m128i b = _mm_srli_epi32(s, 24);
  if (!full) b = _mm_mulhi_epu16(b, ka);  // T[alpha of s][alpha]
  const __m128i twice = _mm_or_si128(b, _mm_slli_epi32(b, 8));
  return _mm_or_si128(twice, _mm_slli_epi32(twice, 16));
}

// The rule on 4 pixels with their spread weights. Channels are taken as two
// sets of 16-bit lanes (blue+red, green+alpha) by masking and shifting.
TORV_SSE2 inline __m128i blend4(__m128i s, __m128i d, __m128i spread, __m128i keep, __m128i copy) {
  const __m128i low_bytes = _mm_set1_epi16(0x00FF);
  const __m128i wb = _mm_add_epi16(spread, _mm_set1_epi16(1));     // 257 * B + 1
  const __m128i wi = _mm_sub_epi16(_mm_setzero_si128(), spread);  // 257 * (255 - B) + 1
  const __m128i rb = _mm_add_epi16(_mm_mulhi_epu16(_mm_and_si128(s, low_bytes), wb),
                                   _mm_mulhi_epu16(_mm_and_si128(d, low_bytes), wi));
  const __m128i ga = _mm_add_epi16(_mm_mulhi_epu16(_mm_srli_epi16(s, 8), wb),
                                   _mm_mulhi_epu16(_mm_srli_epi16(d, 8), wi));
  const __m128i mixed = _mm_or_si128(rb, _mm_slli_epi16(ga, 8));
  // The frame keeps its alpha byte, and all of a pixel whose B is 0; B = 255
  // copies the source pixel.
  const __m128i from_d = _mm_or_si128(keep, _mm_set1_epi32(static_cast<int>(0xFF000000u)));
  const __m128i kept = _mm_or_si128(_mm_and_si128(from_d, d), _mm_andnot_si128(from_d, mixed));
  return _mm_or_si128(_mm_and_si128(copy, s), _mm_andnot_si128(copy, kept));
}

TORV_VECTOR_ENTRY TORV_SSE2 void blend_sse2(uint8_t* dst, const uint8_t* src, int n, int alpha, const uint8_t* table) {
  const bool full = alpha == 255;
  const __m128i ka = _mm_set1_epi32(257 * alpha + 1);  // exact for alpha 1..254
  const __m128i zero = _mm_setzero_si128();
  const __m128i ones = _mm_cmpeq_epi32(zero, zero);
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i * 4));
    const __m128i spread = spread_weights(s, full, ka);
    // No early-out for steps that are all "keep" or all "copy": measured on
    // sprite-like runs, the mispredicted branches cost more than they save.
    const __m128i keep = _mm_cmpeq_epi32(spread, zero);
    __m128i* out = reinterpret_cast<__m128i*>(dst + i * 4);
    const __m128i copy = _mm_cmpeq_epi32(spread, ones);
    _mm_storeu_si128(out, blend4(s, _mm_loadu_si128(out), spread, keep, copy));
  }
  if (i < n) kScalarRows.blend(dst + i * 4, src + i * 4, n - i, alpha, table);
}

TORV_VECTOR_ENTRY TORV_SSE2 void copy_keyed_sse2(uint8_t* dst, const uint8_t* src, int n) {
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i * 4));
    const __m128i clear = _mm_cmpeq_epi32(_mm_srli_epi32(s, 24), _mm_setzero_si128());
    const int m = _mm_movemask_epi8(clear);
    if (m == 0xFFFF) continue;
    __m128i* out = reinterpret_cast<__m128i*>(dst + i * 4);
    if (m == 0) {
      _mm_storeu_si128(out, s);
      continue;
    }
    const __m128i d = _mm_loadu_si128(out);
    _mm_storeu_si128(out, _mm_or_si128(_mm_and_si128(clear, d), _mm_andnot_si128(clear, s)));
  }
  if (i < n) kScalarRows.copy_keyed(dst + i * 4, src + i * 4, n - i);
}

}  // namespace

const RowKernels kSse2Rows = {blend_sse2, copy_keyed_sse2};

}  // namespace blend_internal
}  // namespace torv

#endif  // TORV_BLEND_SSE2
