// The exported entry points of "tamDraw.dll": each forwards to the one CDraw and
// answers its failure code if anything inside throws.
#include <new>

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

// Every export has exactly the type callers bind it with (the calling convention too).
TORV_CHECK_EXPORT(dllInit, DrawInitFn);
TORV_CHECK_EXPORT(dllTerminate, DrawTerminateFn);
TORV_CHECK_EXPORT(dllCreateImageLoadFromFile, DrawCreateImageLoadFromFileFn);
TORV_CHECK_EXPORT(dllCreateImageLoadFromMemory, DrawCreateImageLoadFromMemoryFn);
TORV_CHECK_EXPORT(dllCreateImageLoadFromExpTfaFile, DrawCreateImageLoadFromExpTfaFileFn);
TORV_CHECK_EXPORT(dllReCreateImageLoadFromFile, DrawReCreateImageLoadFromFileFn);
TORV_CHECK_EXPORT(dllReCreateImageLoadFromMemory, DrawReCreateImageLoadFromMemoryFn);
TORV_CHECK_EXPORT(dllReCreateImageLoadFromExpTfaFile, DrawReCreateImageLoadFromExpTfaFileFn);
TORV_CHECK_EXPORT(dllSetFont, DrawSetFontFn);
TORV_CHECK_EXPORT(dllGetInitMode, DrawGetInitModeFn);
TORV_CHECK_EXPORT(dllClearStringCache, DrawClearStringCacheFn);
TORV_CHECK_EXPORT(dllBeginDraw, DrawBeginDrawFn);
TORV_CHECK_EXPORT(dllEndDraw, DrawEndDrawFn);
TORV_CHECK_EXPORT(dllStopDraw, DrawStopDrawFn);
TORV_CHECK_EXPORT(dllDrawImage, DrawImageFn);
TORV_CHECK_EXPORT(dllDrawImageDetail, DrawImageDetailFn);
TORV_CHECK_EXPORT(dllDrawImageFast, DrawImageFastFn);
TORV_CHECK_EXPORT(dllDrawText, DrawTextFn);
TORV_CHECK_EXPORT(dllDrawTextSimple, DrawTextSimpleFn);
TORV_CHECK_EXPORT(dllGetTextSize, DrawGetTextSizeFn);
TORV_CHECK_EXPORT(dllGetImageRect, DrawGetImageRectFn);
TORV_CHECK_EXPORT(dllGetImageWidth, DrawGetImageSizeFn);
TORV_CHECK_EXPORT(dllGetImageHeight, DrawGetImageSizeFn);
TORV_CHECK_EXPORT(dllGetRGB, DrawGetRGBFn);
TORV_CHECK_EXPORT(dllGetARGB, DrawGetARGBFn);
TORV_CHECK_EXPORT(dllShake, DrawShakeFn);
TORV_CHECK_EXPORT(dllStopShake, DrawStopShakeFn);
