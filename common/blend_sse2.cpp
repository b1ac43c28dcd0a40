// SSE2 loops, 4 pixels a step. Exact to the table by the identity
// floor(x * B / 255) = (x * (257 * B + 1)) >> 16 for x in 0..255 and B in 1..254,
// one unsigned high-half multiply per channel term; B = 0 and B = 255 are the
// rule's "keep" and "copy" cases and are taken by selects.
#include "common/blend_kernels.h"

#ifdef TORV_BLEND_X86

#include <emmintrin.h>

#define TORV_SSE2 __attribute__((target("sse2")))

namespace torv {
namespace blend_internal {

namespace {

// B (0..255 in each 32-bit lane) applied to 4 pixels; s and d are the source and
// destination pixels.
TORV_SSE2 inline __m128i blend4(__m128i s, __m128i d, __m128i b) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i one = _mm_set1_epi16(1);
  // 257 * B + 1 in both 16-bit halves of each pixel's lane; 257 * (255 - B) + 1
  // is 65537 minus it, i.e. 1 minus it in 16 bits.
  const __m128i w32 = _mm_add_epi32(_mm_or_si128(_mm_slli_epi32(b, 8), b), _mm_set1_epi32(1));
  const __m128i wb = _mm_or_si128(w32, _mm_slli_epi32(w32, 16));
  const __m128i wi = _mm_sub_epi16(one, wb);
  const __m128i wb_lo = _mm_unpacklo_epi32(wb, wb), wb_hi = _mm_unpackhi_epi32(wb, wb);
  const __m128i wi_lo = _mm_unpacklo_epi32(wi, wi), wi_hi = _mm_unpackhi_epi32(wi, wi);
  const __m128i lo = _mm_add_epi16(_mm_mulhi_epu16(_mm_unpacklo_epi8(s, zero), wb_lo),
                                   _mm_mulhi_epu16(_mm_unpacklo_epi8(d, zero), wi_lo));
  const __m128i hi = _mm_add_epi16(_mm_mulhi_epu16(_mm_unpackhi_epi8(s, zero), wb_hi),
                                   _mm_mulhi_epu16(_mm_unpackhi_epi8(d, zero), wi_hi));
  const __m128i alpha_bytes = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  __m128i r = _mm_packus_epi16(lo, hi);
  r = _mm_or_si128(_mm_andnot_si128(alpha_bytes, r), _mm_and_si128(alpha_bytes, d));
  const __m128i copy = _mm_cmpeq_epi32(b, _mm_set1_epi32(255));
  const __m128i keep = _mm_cmpeq_epi32(b, zero);
  r = _mm_or_si128(_mm_and_si128(copy, s), _mm_andnot_si128(copy, r));
  return _mm_or_si128(_mm_and_si128(keep, d), _mm_andnot_si128(keep, r));
}

TORV_VECTOR_ENTRY TORV_SSE2 void blend_sse2(uint8_t* dst, const uint8_t* src, int n, int alpha, const uint8_t* table) {
  const bool full = alpha == 255;
  const __m128i ka = _mm_set1_epi32(257 * alpha + 1);  // low 16 bits used; exact for 1..254
  int i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i * 4));
    const __m128i sa = _mm_srli_epi32(s, 24);
    const __m128i b = full ? sa : _mm_mulhi_epu16(sa, ka);
    // Whole steps that are all "keep" or all "copy" skip the arithmetic.
    const int keep = _mm_movemask_epi8(_mm_cmpeq_epi32(b, _mm_setzero_si128()));
    if (keep == 0xFFFF) continue;
    __m128i* out = reinterpret_cast<__m128i*>(dst + i * 4);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(b, _mm_set1_epi32(255))) == 0xFFFF) {
      _mm_storeu_si128(out, s);
      continue;
    }
    _mm_storeu_si128(out, blend4(s, _mm_loadu_si128(out), b));
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

#endif  // TORV_BLEND_X86
