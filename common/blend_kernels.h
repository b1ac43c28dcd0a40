// Internal to the blending code: the per-row loops, one set per instruction set.
// blend.cpp clips and picks the set; the loops never see a coordinate.
#pragma once

#include <cstdint>

namespace torv {
namespace blend_internal {

struct RowKernels {
  // Blends n source pixels over n destination pixels with the blend rule
  // (blend.h). alpha is 1..255 (0 never reaches a kernel: it draws nothing);
  // table is the 256 x 256 product table, row-major.
  void (*blend)(uint8_t* dst, const uint8_t* src, int n, int alpha, const uint8_t* table);
  // Copies the n source pixels whose alpha is not 0, all four bytes.
  void (*copy_keyed)(uint8_t* dst, const uint8_t* src, int n);
};

// Always present.
extern const RowKernels kScalarRows;
// Present only on x86 builds; call only where the CPU has the feature.
#if defined(__x86_64__) || defined(__i386__)
#define TORV_BLEND_X86 1
#define TORV_BLEND_SSE2 1
// 32-bit Windows keeps the stack only 4-byte aligned: vector entry points realign it.
#if defined(__i386__) && defined(_WIN32)
#define TORV_VECTOR_ENTRY __attribute__((force_align_arg_pointer))
#else
#define TORV_VECTOR_ENTRY
#endif
extern const RowKernels kSse2Rows;
extern const RowKernels kAvx2Rows;
#endif

// WebAssembly built with -msimd128 -msse2: the SSE2 loops compile to SIMD128
// instructions. A module either validates with them or does not load at all, so
// the choice is made at build time and the kernels are always there.
#if defined(__wasm_simd128__) && defined(__SSE2__)
#define TORV_BLEND_SSE2 1
#define TORV_BLEND_SSE2_BUILT_IN 1
#define TORV_VECTOR_ENTRY
extern const RowKernels kSse2Rows;
#endif

}  // namespace blend_internal
}  // namespace torv
