// The exported entry points of "tamDIBDraw.dll": each forwards to the one CDIBDraw
// and answers its failure code if anything inside throws.
#include <new>
#include <type_traits>

#include "draw_dib/dib_draw.h"

namespace {

CDIBDraw* g_dib = nullptr;

template <class F>
int Guard(F f) {
  if (!g_dib) return -1;
  try {
    return f(*g_dib);
  } catch (...) {
    return -1;
  }
}

}  // namespace

extern "C" {

__declspec(dllexport) int dllInit(HWND window, int width, int height) {
  return Guard([&](CDIBDraw& d) { return d.Init(width, height, window); });
}

__declspec(dllexport) int dllCreateImageLoadFromFile(int* slot, const char* path) {
  return Guard([&](CDIBDraw& d) { return d.CreateImageLoadFromFile(slot, path); });
}

__declspec(dllexport) int dllCreateImageLoadFromMemory(int* slot, char* data, int size) {
  return Guard([&](CDIBDraw& d) { return d.CreateImageLoadFromMemory(slot, data, size); });
}

__declspec(dllexport) int dllCreateImageLoadFromExpTfaFile(int* slot, const char* member, const char* archive) {
  return Guard([&](CDIBDraw& d) { return d.CreateImageLoadFromExpTfaFile(slot, member, archive); });
}

__declspec(dllexport) int dllReCreateImageLoadFromFile(int slot, const char* path) {
  return Guard([&](CDIBDraw& d) { return d.ReCreateImageLoadFromFile(slot, path); });
}

__declspec(dllexport) int dllReCreateImageLoadFromMemory(int slot, char* data, int size) {
  return Guard([&](CDIBDraw& d) { return d.ReCreateImageLoadFromMemory(slot, data, size); });
}

__declspec(dllexport) int dllReCreateImageLoadFromExpTfaFile(int slot, const char* member, const char* archive) {
  return Guard([&](CDIBDraw& d) { return d.ReCreateImageLoadFromExpTfaFile(slot, member, archive); });
}

__declspec(dllexport) int dllSetFont(const char* face, int height) {
  return Guard([&](CDIBDraw& d) { return d.SetFont(face, height); });
}

__declspec(dllexport) HFONT* dllGetFont(void) { return g_dib ? g_dib->GetFont() : nullptr; }

__declspec(dllexport) void dllClearStringCache(void) {
  Guard([](CDIBDraw& d) {
    d.ClearStringCache();
    return 0;
  });
}

__declspec(dllexport) int dllBeginDraw(int offsetX, int offsetY) {
  return Guard([&](CDIBDraw& d) { return d.BeginDraw(offsetX, offsetY); });
}

__declspec(dllexport) int dllEndDraw(void) {
  return Guard([](CDIBDraw& d) { return d.DrawResult(); });
}

__declspec(dllexport) int dllDrawImage(int slot, int x, int y, int width, int height, double alpha) {
  return Guard([&](CDIBDraw& d) { return d.DrawImage(slot, x, y, width, height, alpha); });
}

__declspec(dllexport) int dllDrawImageDetail(int slot, int srcX, int srcY, int x, int y, int width, int height,
                                             double alpha) {
  return Guard([&](CDIBDraw& d) { return d.DrawImageDetail(slot, srcX, srcY, x, y, width, height, alpha); });
}

__declspec(dllexport) int dllDrawImageFast(int slot, int x, int y, int srcX, int srcY, int width, int height,
                                           int transparent) {
  return Guard([&](CDIBDraw& d) { return d.DrawImageFast(slot, x, y, srcX, srcY, width, height, transparent); });
}

__declspec(dllexport) int dllDrawText(RECT rect, int count, DWORD colour, int noClip, int centre, int cached,
                                      const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result =
      Guard([&](CDIBDraw& d) { return d.DrawTextV(rect, count, colour, noClip, centre, cached, format, args); });
  va_end(args);
  return result;
}

__declspec(dllexport) int dllGetImageWidth(int slot) {
  return Guard([&](CDIBDraw& d) { return d.GetImageWidth(slot); });
}

__declspec(dllexport) int dllGetImageHeight(int slot) {
  return Guard([&](CDIBDraw& d) { return d.GetImageHeight(slot); });
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_dib = new (std::nothrow) CDIBDraw;
    return g_dib != nullptr;
  }
  if (reason == DLL_PROCESS_DETACH) {
    if (g_dib && reserved != nullptr) g_dib->ForgetArchiveLibrary();  // process exit: the loader frees it
    delete g_dib;
    g_dib = nullptr;
    OutputDebugStringA("tamDIBDraw.dll Debug(_CrtDumpMemoryLeaks)\n");
  }
  return TRUE;
}

}  // extern "C"

// The exports and the contract's types must not drift apart.
#define TORV_SAME_TYPE(fn, type) static_assert(std::is_same<decltype(&fn), type>::value, #fn)
TORV_SAME_TYPE(dllInit, DrawBackendInitFn);
TORV_SAME_TYPE(dllCreateImageLoadFromFile, DrawCreateImageLoadFromFileFn);
TORV_SAME_TYPE(dllCreateImageLoadFromMemory, DrawCreateImageLoadFromMemoryFn);
TORV_SAME_TYPE(dllCreateImageLoadFromExpTfaFile, DrawCreateImageLoadFromExpTfaFileFn);
TORV_SAME_TYPE(dllReCreateImageLoadFromFile, DrawReCreateImageLoadFromFileFn);
TORV_SAME_TYPE(dllReCreateImageLoadFromMemory, DrawReCreateImageLoadFromMemoryFn);
TORV_SAME_TYPE(dllReCreateImageLoadFromExpTfaFile, DrawReCreateImageLoadFromExpTfaFileFn);
TORV_SAME_TYPE(dllSetFont, DrawSetFontFn);
TORV_SAME_TYPE(dllGetFont, DrawGetFontFn);
TORV_SAME_TYPE(dllClearStringCache, DrawClearStringCacheFn);
TORV_SAME_TYPE(dllBeginDraw, DrawBackendBeginDrawFn);
TORV_SAME_TYPE(dllEndDraw, DrawEndDrawFn);
TORV_SAME_TYPE(dllDrawImage, DrawImageFn);
TORV_SAME_TYPE(dllDrawImageDetail, DrawImageDetailFn);
TORV_SAME_TYPE(dllDrawImageFast, DrawImageFastFn);
TORV_SAME_TYPE(dllDrawText, DrawTextFn);
TORV_SAME_TYPE(dllGetImageWidth, DrawGetImageSizeFn);
TORV_SAME_TYPE(dllGetImageHeight, DrawGetImageSizeFn);
