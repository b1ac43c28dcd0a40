// "tamDraw.dll" bound by name, every entry point the game binds, the way the game
// binds them: the drawing checks drive the front-end exactly as the game does.
#pragma once

#include <string>

#include "draw/draw_contract.h"

namespace torv {

struct DrawFrontEnd {
  HMODULE module = nullptr;
  DrawInitFn Init = nullptr;
  DrawTerminateFn Terminate = nullptr;
  DrawCreateImageLoadFromFileFn CreateImageLoadFromFile = nullptr;
  DrawCreateImageLoadFromMemoryFn CreateImageLoadFromMemory = nullptr;
  DrawCreateImageLoadFromExpTfaFileFn CreateImageLoadFromExpTfaFile = nullptr;
  DrawReCreateImageLoadFromFileFn ReCreateImageLoadFromFile = nullptr;
  DrawReCreateImageLoadFromMemoryFn ReCreateImageLoadFromMemory = nullptr;
  DrawReCreateImageLoadFromExpTfaFileFn ReCreateImageLoadFromExpTfaFile = nullptr;
  DrawSetFontFn SetFont = nullptr;
  DrawGetInitModeFn GetInitMode = nullptr;
  DrawClearStringCacheFn ClearStringCache = nullptr;
  DrawBeginDrawFn BeginDraw = nullptr;
  DrawEndDrawFn EndDraw = nullptr;
  DrawStopDrawFn StopDraw = nullptr;
  DrawImageFn DrawImage = nullptr;
  DrawImageDetailFn DrawImageDetail = nullptr;
  DrawImageFastFn DrawImageFast = nullptr;
  DrawTextFn DrawTextRect = nullptr;  // "dllDrawText" (windows.h claims the name DrawText)
  DrawTextSimpleFn DrawTextSimple = nullptr;
  DrawGetTextSizeFn GetTextSize = nullptr;
  DrawGetImageRectFn GetImageRect = nullptr;
  DrawGetImageSizeFn GetImageWidth = nullptr;
  DrawGetImageSizeFn GetImageHeight = nullptr;
  DrawGetRGBFn GetRGB = nullptr;
  DrawGetARGBFn GetARGB = nullptr;
  DrawShakeFn Shake = nullptr;
  DrawStopShakeFn StopShake = nullptr;

  // Loads the library and binds all 27 names. False when the library or any name is
  // missing; *missing then says which.
  bool Load(std::string* missing);
  void Unload();
};

}  // namespace torv
