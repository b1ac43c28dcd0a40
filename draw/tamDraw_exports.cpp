// The exported entry points of "tamDraw.dll": each forwards to the one CDraw and
// answers its failure code if anything inside throws.
#include <new>
#include <type_traits>

#include "draw/draw_front.h"

namespace {

CDraw* g_draw = nullptr;

template <class F>
int Guard(F f) {
  if (!g_draw) return -1;
  try {
    return f(*g_draw);
  } catch (...) {
    return -1;
  }
}

template <class F>
void GuardVoid(F f) {
  if (!g_draw) return;
  try {
    f(*g_draw);
  } catch (...) {
  }
}

}  // namespace

extern "C" {

__declspec(dllexport) int dllInit(HWND window, int width, int height, DRAW_INIT_MODE mode, int use16Bit) {
  return Guard([&](CDraw& d) { return d.Init(window, width, height, mode, use16Bit); });
}

__declspec(dllexport) void dllTerminate(void) {
  GuardVoid([](CDraw& d) { d.Terminate(); });
}

__declspec(dllexport) int dllCreateImageLoadFromFile(int* slot, const char* path) {
  return Guard([&](CDraw& d) { return d.CreateImageLoadFromFile(slot, path); });
}

__declspec(dllexport) int dllCreateImageLoadFromMemory(int* slot, char* data, int size) {
  return Guard([&](CDraw& d) { return d.CreateImageLoadFromMemory(slot, data, size); });
}

__declspec(dllexport) int dllCreateImageLoadFromExpTfaFile(int* slot, const char* member, const char* archive) {
  return Guard([&](CDraw& d) { return d.CreateImageLoadFromExpTfaFile(slot, member, archive); });
}

__declspec(dllexport) int dllReCreateImageLoadFromFile(int slot, const char* path) {
  return Guard([&](CDraw& d) { return d.ReCreateImageLoadFromFile(slot, path); });
}

__declspec(dllexport) int dllReCreateImageLoadFromMemory(int slot, char* data, int size) {
  return Guard([&](CDraw& d) { return d.ReCreateImageLoadFromMemory(slot, data, size); });
}

__declspec(dllexport) int dllReCreateImageLoadFromExpTfaFile(int slot, const char* member, const char* archive) {
  return Guard([&](CDraw& d) { return d.ReCreateImageLoadFromExpTfaFile(slot, member, archive); });
}

__declspec(dllexport) int dllSetFont(const char* face, int height) {
  return Guard([&](CDraw& d) { return d.SetFont(face, height); });
}

__declspec(dllexport) DRAW_INIT_MODE dllGetInitMode(void) {
  return g_draw ? g_draw->GetInitMode() : DRAW_INIT_NONE;
}

__declspec(dllexport) void dllClearStringCache(void) {
  GuardVoid([](CDraw& d) { d.ClearStringCache(); });
}

__declspec(dllexport) int dllBeginDraw(void) {
  return Guard([](CDraw& d) { return d.BeginDraw(); });
}

__declspec(dllexport) int dllEndDraw(void) {
  return Guard([](CDraw& d) { return d.EndDraw(); });
}

__declspec(dllexport) void dllStopDraw(int stop) {
  GuardVoid([&](CDraw& d) { d.StopDraw(stop); });
}

__declspec(dllexport) int dllDrawImage(int slot, int x, int y, int width, int height, double alpha) {
  return Guard([&](CDraw& d) { return d.DrawImage(slot, x, y, width, height, alpha); });
}

__declspec(dllexport) int dllDrawImageDetail(int slot, int srcX, int srcY, int x, int y, int width, int height,
                                             double alpha) {
  return Guard([&](CDraw& d) { return d.DrawImageDetail(slot, srcX, srcY, x, y, width, height, alpha); });
}

__declspec(dllexport) int dllDrawImageFast(int slot, int x, int y, int srcX, int srcY, int width, int height,
                                           int transparent) {
  return Guard([&](CDraw& d) { return d.DrawImageFast(slot, x, y, srcX, srcY, width, height, transparent); });
}

__declspec(dllexport) int dllDrawText(RECT rect, int count, DWORD colour, int noClip, int centre, int cached,
                                      const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result =
      Guard([&](CDraw& d) { return d.DrawTextV(rect, count, colour, noClip, centre, cached, format, args); });
  va_end(args);
  return result;
}

__declspec(dllexport) int dllDrawTextSimple(int x, int y, DWORD colour, int cached, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result = Guard([&](CDraw& d) { return d.DrawTextSimpleV(x, y, colour, cached, format, args); });
  va_end(args);
  return result;
}

__declspec(dllexport) int dllGetTextSize(const char* text, SIZE* size) {
  return Guard([&](CDraw& d) { return d.GetTextSize(text, size); });
}

__declspec(dllexport) RECT dllGetImageRect(int slot) {
  RECT rect = {0, 0, -1, -1};
  GuardVoid([&](CDraw& d) { rect = d.GetImageRect(slot); });
  return rect;
}

__declspec(dllexport) int dllGetImageWidth(int slot) {
  return Guard([&](CDraw& d) { return d.GetImageWidth(slot); });
}

__declspec(dllexport) int dllGetImageHeight(int slot) {
  return Guard([&](CDraw& d) { return d.GetImageHeight(slot); });
}

__declspec(dllexport) DWORD dllGetRGB(BYTE red, BYTE green, BYTE blue) {
  return g_draw ? g_draw->GetRGB(red, green, blue) : 0;
}

__declspec(dllexport) DWORD dllGetARGB(BYTE red, BYTE green, BYTE blue, BYTE alpha) {
  return g_draw ? g_draw->GetARGB(red, green, blue, alpha) : 0;
}

__declspec(dllexport) void dllShake(int count) {
  GuardVoid([&](CDraw& d) { d.Shake(count); });
}

__declspec(dllexport) void dllStopShake(void) {
  GuardVoid([](CDraw& d) { d.StopShake(); });
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_draw = new (std::nothrow) CDraw;
    return g_draw != nullptr;
  }
  if (reason == DLL_PROCESS_DETACH) {
    // At process exit (reserved non-null) the back-end detaches by itself; unloading
    // it from here is only safe when this library is being freed.
    if (reserved == nullptr) delete g_draw;
    g_draw = nullptr;
    OutputDebugStringA("tamDraw.__stdcall dll Debug(_CrtDumpMemoryLeaks)\n");
  }
  return TRUE;
}

}  // extern "C"

// The exports and the contract's types must not drift apart.
#define TORV_SAME_TYPE(fn, type) static_assert(std::is_same<decltype(&fn), type>::value, #fn)
TORV_SAME_TYPE(dllInit, DrawInitFn);
TORV_SAME_TYPE(dllTerminate, DrawTerminateFn);
TORV_SAME_TYPE(dllCreateImageLoadFromFile, DrawCreateImageLoadFromFileFn);
TORV_SAME_TYPE(dllCreateImageLoadFromMemory, DrawCreateImageLoadFromMemoryFn);
TORV_SAME_TYPE(dllCreateImageLoadFromExpTfaFile, DrawCreateImageLoadFromExpTfaFileFn);
TORV_SAME_TYPE(dllReCreateImageLoadFromFile, DrawReCreateImageLoadFromFileFn);
TORV_SAME_TYPE(dllReCreateImageLoadFromMemory, DrawReCreateImageLoadFromMemoryFn);
TORV_SAME_TYPE(dllReCreateImageLoadFromExpTfaFile, DrawReCreateImageLoadFromExpTfaFileFn);
TORV_SAME_TYPE(dllSetFont, DrawSetFontFn);
TORV_SAME_TYPE(dllGetInitMode, DrawGetInitModeFn);
TORV_SAME_TYPE(dllClearStringCache, DrawClearStringCacheFn);
TORV_SAME_TYPE(dllBeginDraw, DrawBeginDrawFn);
TORV_SAME_TYPE(dllEndDraw, DrawEndDrawFn);
TORV_SAME_TYPE(dllStopDraw, DrawStopDrawFn);
TORV_SAME_TYPE(dllDrawImage, DrawImageFn);
TORV_SAME_TYPE(dllDrawImageDetail, DrawImageDetailFn);
TORV_SAME_TYPE(dllDrawImageFast, DrawImageFastFn);
TORV_SAME_TYPE(dllDrawText, DrawTextFn);
TORV_SAME_TYPE(dllDrawTextSimple, DrawTextSimpleFn);
TORV_SAME_TYPE(dllGetTextSize, DrawGetTextSizeFn);
TORV_SAME_TYPE(dllGetImageRect, DrawGetImageRectFn);
TORV_SAME_TYPE(dllGetImageWidth, DrawGetImageSizeFn);
TORV_SAME_TYPE(dllGetImageHeight, DrawGetImageSizeFn);
TORV_SAME_TYPE(dllGetRGB, DrawGetRGBFn);
TORV_SAME_TYPE(dllGetARGB, DrawGetARGBFn);
TORV_SAME_TYPE(dllShake, DrawShakeFn);
TORV_SAME_TYPE(dllStopShake, DrawStopShakeFn);
