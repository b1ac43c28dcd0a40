// AVX2 loops, 8 pixels a step, the same arithmetic as the SSE2 ones (see
// blend_sse2.cpp for why it is exact). Row tails use masked loads and stores, so
// narrow rows (glyph cells, sprite edges) stay in vector code.
#include "common/blend_kernels.h"

#ifdef TORV_BLEND_X86

#include <immintrin.h>

#define TORV_AVX2 __attribute__((target("avx2")))

namespace torv {
namespace blend_internal {

namespace {

// Each pixel's weight B in all four of its bytes (B * 0x01010101): as 16-bit
// lanes that is 257 * B, from which both channel weights follow by one add or
// subtract. Full call alpha: B is the source alpha, one byte shuffle away.
TORV_AVX2 inline __m256i spread_weights(__m256i s, bool full, __m256i ka) {
  const __m256i from_alpha = _mm256_setr_epi8(3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15,
                                              3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15);
  if (full) return _mm256_shuffle_epi8(s, from_alpha);
  const __m256i from_low = _mm256_setr_epi8(0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12,
                                            0, 0, 0, 0, 4, 4, 4, 4, 8, 8, 8, 8, 12, 12, 12, 12);
  const __m256i b = _mm256_mulhi_epu16(_mm256_srli_epi32(s, 24), ka);  // T[alpha of s][alpha]
  return _mm256_shuffle_epi8(b, from_low);
}

// The rule on 8 pixels with their spread weights. Channels are taken as two
// sets of 16-bit lanes (blue+red, green+alpha) by masking and shifting, so no
// unpacking shuffles are needed.
//
// The selects cost more than the arithmetic, so they lean on one fact: where B
// is 0 or 255 both weights overflow to 0 or 1 and every mixed byte is 0. Then
// an OR adds the frame's bytes where they stay (all four where B = 0, the
// alpha byte unless B = 255) and the source pixel where B = 255.
TORV_AVX2 inline __m256i blend8(__m256i s, __m256i d, __m256i spread) {
  const __m256i low_bytes = _mm256_set1_epi16(0x00FF);
  const __m256i wb = _mm256_add_epi16(spread, _mm256_set1_epi16(1));       // 257 * B + 1
  const __m256i wi = _mm256_sub_epi16(_mm256_setzero_si256(), spread);    // 257 * (255 - B) + 1
  const __m256i rb = _mm256_add_epi16(_mm256_mulhi_epu16(_mm256_and_si256(s, low_bytes), wb),
                                      _mm256_mulhi_epu16(_mm256_and_si256(d, low_bytes), wi));
  const __m256i ga = _mm256_add_epi16(_mm256_mulhi_epu16(_mm256_srli_epi16(s, 8), wb),
                                      _mm256_mulhi_epu16(_mm256_srli_epi16(d, 8), wi));
  // Green to byte 1, the alpha lane dropped (one shuffle does both).
  const __m256i green_only = _mm256_setr_epi8(-1, 0, -1, -1, -1, 4, -1, -1, -1, 8, -1, -1, -1, 12, -1, -1,
                                              -1, 0, -1, -1, -1, 4, -1, -1, -1, 8, -1, -1, -1, 12, -1, -1);
  const __m256i mixed = _mm256_or_si256(rb, _mm256_shuffle_epi8(ga, green_only));
  // Bytes taken from the frame: colour bytes where B <= 0, the alpha byte
  // where B <= 254 (every byte of spread is B).
  const __m256i limits = _mm256_set1_epi32(static_cast<int>(0xFE000000u));
  const __m256i from_d = _mm256_cmpeq_epi8(_mm256_min_epu8(spread, limits), spread);
  const __m256i copy = _mm256_cmpeq_epi32(spread, _mm256_set1_epi32(-1));
  return _mm256_or_si256(_mm256_or_si256(mixed, _mm256_and_si256(d, from_d)), _mm256_and_si256(s, copy));
}

// The first `count` lanes.
TORV_AVX2 inline __m256i lead_mask(int count) {
  return _mm256_cmpgt_epi32(_mm256_set1_epi32(count), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
}

// How many pixels to take in a short first step so that the full steps write
// whole 32-byte blocks of the frame: a masked store that straddles two cache
// lines costs a split (about 7 % of a frame-wide keyed copy). 0 when the row is
// too short to gain or the frame is not even 4-byte aligned.
inline int lead_pixels(const uint8_t* dst, int n) {
  const auto address = reinterpret_cast<uintptr_t>(dst);
  if (n < 64 || address % 4 != 0) return 0;
  return static_cast<int>((32 - address % 32) % 32 / 4);
}

// Blends `count` (1..8) pixels; the masked loads and stores touch no others.
TORV_AVX2 inline void blend_part(uint8_t* dst, const uint8_t* src, int count, bool full, __m256i ka) {
  const __m256i m = lead_mask(count);
  int* out = reinterpret_cast<int*>(dst);
  const __m256i s = _mm256_maskload_epi32(reinterpret_cast<const int*>(src), m);
  const __m256i d = _mm256_maskload_epi32(out, m);
  _mm256_maskstore_epi32(out, m, blend8(s, d, spread_weights(s, full, ka)));
}

TORV_VECTOR_ENTRY TORV_AVX2 void blend_avx2(uint8_t* dst, const uint8_t* src, int n, int alpha, const uint8_t*) {
  const bool full = alpha == 255;
  const __m256i ka = _mm256_set1_epi32(257 * alpha + 1);  // exact for alpha 1..254
  // No aligning first step here (unlike the keyed copy): its masked load of the
  // frame would wait for the previous row's masked tail store whenever the two
  // share a 32-byte span, which cost far more than the split accesses save.
  int i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i * 4));
    // No early-out for steps that are all "keep" or all "copy": measured on
    // sprite-like runs, the mispredicted branches cost more than they save.
    __m256i* out = reinterpret_cast<__m256i*>(dst + i * 4);
    _mm256_storeu_si256(out, blend8(s, _mm256_loadu_si256(out), spread_weights(s, full, ka)));
  }
  if (i < n) blend_part(dst + i * 4, src + i * 4, n - i, full, ka);
}

// Copies the visible pixels among the lanes of m (a lead_mask).
TORV_AVX2 inline void copy_keyed_part(uint8_t* dst, const uint8_t* src, __m256i m) {
  const __m256i alpha_one = _mm256_set1_epi32(0x01000000);
  const __m256i s = _mm256_maskload_epi32(reinterpret_cast<const int*>(src), m);
  const __m256i visible = _mm256_cmpeq_epi32(_mm256_max_epu32(s, alpha_one), s);  // alpha >= 1
  _mm256_maskstore_epi32(reinterpret_cast<int*>(dst), _mm256_and_si256(visible, m), s);
}

// Branch-free: a masked store writes exactly the visible pixels. (Testing for
// all-visible or all-clear steps costs more in mispredictions on sprite-like
// data than it saves.)
TORV_VECTOR_ENTRY TORV_AVX2 void copy_keyed_avx2(uint8_t* dst, const uint8_t* src, int n) {
  const __m256i alpha_one = _mm256_set1_epi32(0x01000000);
  int i = lead_pixels(dst, n);
  if (i > 0) copy_keyed_part(dst, src, lead_mask(i));
  for (; i + 8 <= n; i += 8) {
    const __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i * 4));
    const __m256i visible = _mm256_cmpeq_epi32(_mm256_max_epu32(s, alpha_one), s);  // alpha >= 1
    _mm256_maskstore_epi32(reinterpret_cast<int*>(dst + i * 4), visible, s);
  }
  if (i < n) copy_keyed_part(dst + i * 4, src + i * 4, lead_mask(n - i));
}

}  // namespace

const RowKernels kAvx2Rows = {blend_avx2, copy_keyed_avx2};

}  // namespace blend_internal
}  // namespace torv

#endif  // TORV_BLEND_X86
