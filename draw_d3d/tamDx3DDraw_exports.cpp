// The exported entry points of "tamDx3DDraw.dll", forwarding to the one CDx3DDraw;
// beside the contract's, dllInit16b (the same start with 16-bit textures).
#include "draw_d3d/d3d_draw.h"

#define TORV_BACKEND_CLASS CDx3DDraw
#define TORV_BACKEND_FILE "tamDx3DDraw.dll"
#include "draw/backend_exports.inc"

extern "C" __declspec(dllexport) int dllInit16b(HWND window, int width, int height) {
  return Guard([&](CDx3DDraw& d) { return d.Init16b(width, height, window); });
}

TORV_CHECK_EXPORT(dllInit16b, DrawBackendInitFn);
