// CDraw: the drawing front-end's one instance. Loads one back-end by mode, forwards
// the game's calls to it and adds colour packing, text formatting and measuring, the
// stop switch and screen shake.
#pragma once

#include <cstdarg>

#include "draw/draw_backends.h"
#include "draw/draw_contract.h"
#include "draw/draw_shake.h"

namespace torv {

// The contract type of each back-end entry point: the front-end calls an entry only
// as this type, so no signature is written twice.
template <DrawBackendEntry E>
struct BackendEntryType;

#define TORV_BACKEND_ENTRY_TYPE(entry, Fn) \
  template <>                              \
  struct BackendEntryType<entry> {         \
    using Type = Fn;                       \
  }
TORV_BACKEND_ENTRY_TYPE(kEntryInit, DrawBackendInitFn);
TORV_BACKEND_ENTRY_TYPE(kEntryInit16b, DrawBackendInitFn);
TORV_BACKEND_ENTRY_TYPE(kEntryCreateImageLoadFromFile, DrawCreateImageLoadFromFileFn);
TORV_BACKEND_ENTRY_TYPE(kEntryCreateImageLoadFromMemory, DrawCreateImageLoadFromMemoryFn);
TORV_BACKEND_ENTRY_TYPE(kEntryCreateImageLoadFromExpTfaFile, DrawCreateImageLoadFromExpTfaFileFn);
TORV_BACKEND_ENTRY_TYPE(kEntryReCreateImageLoadFromFile, DrawReCreateImageLoadFromFileFn);
TORV_BACKEND_ENTRY_TYPE(kEntryReCreateImageLoadFromMemory, DrawReCreateImageLoadFromMemoryFn);
TORV_BACKEND_ENTRY_TYPE(kEntryReCreateImageLoadFromExpTfaFile, DrawReCreateImageLoadFromExpTfaFileFn);
TORV_BACKEND_ENTRY_TYPE(kEntrySetFont, DrawSetFontFn);
TORV_BACKEND_ENTRY_TYPE(kEntryGetFont, DrawGetFontFn);
TORV_BACKEND_ENTRY_TYPE(kEntryClearStringCache, DrawClearStringCacheFn);
TORV_BACKEND_ENTRY_TYPE(kEntryBeginDraw, DrawBackendBeginDrawFn);
TORV_BACKEND_ENTRY_TYPE(kEntryEndDraw, DrawEndDrawFn);
TORV_BACKEND_ENTRY_TYPE(kEntryDrawImage, DrawImageFn);
TORV_BACKEND_ENTRY_TYPE(kEntryDrawImageDetail, DrawImageDetailFn);
TORV_BACKEND_ENTRY_TYPE(kEntryDrawImageFast, DrawImageFastFn);
TORV_BACKEND_ENTRY_TYPE(kEntryDrawText, DrawTextFn);
TORV_BACKEND_ENTRY_TYPE(kEntryGetImageWidth, DrawGetImageSizeFn);
TORV_BACKEND_ENTRY_TYPE(kEntryGetImageHeight, DrawGetImageSizeFn);
#undef TORV_BACKEND_ENTRY_TYPE

}  // namespace torv

class CDraw {
public:
  CDraw() = default;
  ~CDraw();  // unloads the back-end
  CDraw(const CDraw&) = delete;
  CDraw& operator=(const CDraw&) = delete;

  int Init(HWND window, int width, int height, DRAW_INIT_MODE mode, int use16Bit);
  void Terminate();
  DRAW_INIT_MODE GetInitMode() const { return binding_.mode; }

  int CreateImageLoadFromFile(int* slot, const char* path);
  int CreateImageLoadFromMemory(int* slot, char* data, int size);
  int CreateImageLoadFromExpTfaFile(int* slot, const char* member, const char* archive);
  int ReCreateImageLoadFromFile(int slot, const char* path);
  int ReCreateImageLoadFromMemory(int slot, char* data, int size);
  int ReCreateImageLoadFromExpTfaFile(int slot, const char* member, const char* archive);
  int SetFont(const char* face, int height);
  void ClearStringCache();

  int BeginDraw();
  int EndDraw();
  void StopDraw(int stop) { stopped_ = stop != 0; }

  int DrawImage(int slot, int x, int y, int width, int height, double alpha);
  int DrawImageDetail(int slot, int srcX, int srcY, int x, int y, int width, int height, double alpha);
  int DrawImageFast(int slot, int x, int y, int srcX, int srcY, int width, int height, int transparent);
  // The two text forms: format, then draw the finished text (never formatted again).
  int DrawTextV(RECT rect, int count, DWORD colour, int noClip, int centre, int cached, const char* format,
                va_list args);
  int DrawTextSimpleV(int x, int y, DWORD colour, int cached, const char* format, va_list args);
  int GetTextSize(const char* text, SIZE* size);

  RECT GetImageRect(int slot);
  int GetImageWidth(int slot);
  int GetImageHeight(int slot);
  DWORD GetRGB(BYTE red, BYTE green, BYTE blue) const { return GetARGB(red, green, blue, 255); }
  DWORD GetARGB(BYTE red, BYTE green, BYTE blue, BYTE alpha) const;

  void Shake(int count);
  void StopShake() { shake_.Stop(); }
  const torv::ShakeState& shake() const { return shake_; }

private:
  template <torv::DrawBackendEntry E>
  typename torv::BackendEntryType<E>::Type Entry() const {
    return reinterpret_cast<typename torv::BackendEntryType<E>::Type>(binding_.entry[E]);
  }
  bool Drawing() const { return !stopped_ && binding_.loaded(); }
  int DrawFinishedText(RECT rect, int count, DWORD colour, int noClip, int centre, int cached,
                       const char* text, int length);

  HWND window_ = nullptr;
  int height_ = 0;
  int width_ = 0;
  bool stopped_ = false;
  torv::ShakeState shake_;
  torv::DrawBackendBinding binding_;  // the back-end's module, mode and entry points
};
