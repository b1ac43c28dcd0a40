// AVX2 loops, 8 pixels a step, the same arithmetic as the SSE2 ones (see
// blend_sse2.cpp). Row tails use masked loads and stores, so narrow rows (glyph
// cells, sprite edges) stay in vector code.
#include "common/blend_kernels.h"

#ifdef TORV_BLEND_X86

#include <immintrin.h>

#define TORV_AVX2 __attribute__((target("avx2")))

namespace torv {
namespace blend_internal {

namespace {

TORV_AVX2 inline __m256i blend8(__m256i s, __m256i d, __m256i b) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i one = _mm256_set1_epi16(1);
  const __m256i w32 =
      _mm256_add_epi32(_mm256_or_si256(_mm256_slli_epi32(b, 8), b), _mm256_set1_epi32(1));
  const __m256i wb = _mm256_or_si256(w32, _mm256_slli_epi32(w32, 16));
  const __m256i wi = _mm256_sub_epi16(one, wb);
  // Unpacks stay within 128-bit lanes; pixels and weights unpack alike, and the
  // pack puts the pixels back in order.
  const __m256i wb_lo = _mm256_unpacklo_epi32(wb, wb), wb_hi = _mm256_unpackhi_epi32(wb, wb);
  const __m256i wi_lo = _mm256_unpacklo_epi32(wi, wi), wi_hi = _mm256_unpackhi_epi32(wi, wi);
  const __m256i lo = _mm256_add_epi16(_mm256_mulhi_epu16(_mm256_unpacklo_epi8(s, zero), wb_lo),
                                      _mm256_mulhi_epu16(_mm256_unpacklo_epi8(d, zero), wi_lo));
  const __m256i hi = _mm256_add_epi16(_mm256_mulhi_epu16(_mm256_unpackhi_epi8(s, zero), wb_hi),
                                      _mm256_mulhi_epu16(_mm256_unpackhi_epi8(d, zero), wi_hi));
  const __m256i alpha_bytes = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  __m256i r = _mm256_blendv_epi8(_mm256_packus_epi16(lo, hi), d, alpha_bytes);
  r = _mm256_blendv_epi8(r, s, _mm256_cmpeq_epi32(b, _mm256_set1_epi32(255)));
  return _mm256_blendv_epi8(r, d, _mm256_cmpeq_epi32(b, zero));
}

TORV_AVX2 inline __m256i weights(__m256i s, bool full, __m256i ka) {
  const __m256i sa = _mm256_srli_epi32(s, 24);
  return full ? sa : _mm256_mulhi_epu16(sa, ka);
}

TORV_AVX2 inline __m256i tail_mask(int count) {
  return _mm256_cmpgt_epi32(_mm256_set1_epi32(count), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

TORV_VECTOR_ENTRY TORV_AVX2 void blend_avx2(uint8_t* dst, const uint8_t* src, int n, int alpha, const uint8_t*) {
  const bool full = alpha == 255;
  const __m256i ka = _mm256_set1_epi32(257 * alpha + 1);
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i * 4));
    const __m256i b = weights(s, full, ka);
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(b, _mm256_setzero_si256())) == -1) continue;
    __m256i* out = reinterpret_cast<__m256i*>(dst + i * 4);
    if (_mm256_movemask_epi8(_mm256_cmpeq_epi32(b, _mm256_set1_epi32(255))) == -1) {
      _mm256_storeu_si256(out, s);
      continue;
    }
    _mm256_storeu_si256(out, blend8(s, _mm256_loadu_si256(out), b));
  }
  if (i < n) {
    const __m256i m = tail_mask(n - i);
    int* out = reinterpret_cast<int*>(dst + i * 4);
    const __m256i s = _mm256_maskload_epi32(reinterpret_cast<const int*>(src + i * 4), m);
    const __m256i d = _mm256_maskload_epi32(out, m);
    _mm256_maskstore_epi32(out, m, blend8(s, d, weights(s, full, ka)));
  }
}

TORV_VECTOR_ENTRY TORV_AVX2 void copy_keyed_avx2(uint8_t* dst, const uint8_t* src, int n) {
  const __m256i zero = _mm256_setzero_si256();
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i * 4));
    const __m256i clear = _mm256_cmpeq_epi32(_mm256_srli_epi32(s, 24), zero);
    const int m = _mm256_movemask_epi8(clear);
    if (m == -1) continue;
    if (m == 0)
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i * 4), s);
    else
      _mm256_maskstore_epi32(reinterpret_cast<int*>(dst + i * 4), _mm256_xor_si256(clear, _mm256_cmpeq_epi32(zero, zero)), s);
  }
  if (i < n) {
    const __m256i m = tail_mask(n - i);
    const __m256i s = _mm256_maskload_epi32(reinterpret_cast<const int*>(src + i * 4), m);
    const __m256i clear = _mm256_cmpeq_epi32(_mm256_srli_epi32(s, 24), zero);
    _mm256_maskstore_epi32(reinterpret_cast<int*>(dst + i * 4), _mm256_andnot_si256(clear, m), s);
  }
}

}  // namespace

const RowKernels kAvx2Rows = {blend_avx2, copy_keyed_avx2};

}  // namespace blend_internal
}  // namespace torv

#endif  // TORV_BLEND_X86
