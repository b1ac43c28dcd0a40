#include "tools/drawcheck/draw_frontend.h"

#include <type_traits>

namespace torv {

bool DrawFrontEnd::Load(std::string* missing) {
  Unload();
  module = LoadLibraryA("tamDraw.dll");
  if (!module) {
    *missing = "tamDraw.dll";
    return false;
  }
  missing->clear();
  auto bind = [&](auto& fn, const char* name) {
    fn = draw_find_entry<std::remove_reference_t<decltype(fn)>>(module, name);
    if (!fn) *missing += std::string(missing->empty() ? "" : " ") + name;
  };
  bind(Init, "dllInit");
  bind(Terminate, "dllTerminate");
  bind(CreateImageLoadFromFile, "dllCreateImageLoadFromFile");
  bind(CreateImageLoadFromMemory, "dllCreateImageLoadFromMemory");
  bind(CreateImageLoadFromExpTfaFile, "dllCreateImageLoadFromExpTfaFile");
  bind(ReCreateImageLoadFromFile, "dllReCreateImageLoadFromFile");
  bind(ReCreateImageLoadFromMemory, "dllReCreateImageLoadFromMemory");
  bind(ReCreateImageLoadFromExpTfaFile, "dllReCreateImageLoadFromExpTfaFile");
  bind(SetFont, "dllSetFont");
  bind(GetInitMode, "dllGetInitMode");
  bind(ClearStringCache, "dllClearStringCache");
  bind(BeginDraw, "dllBeginDraw");
  bind(EndDraw, "dllEndDraw");
  bind(StopDraw, "dllStopDraw");
  bind(DrawImage, "dllDrawImage");
  bind(DrawImageDetail, "dllDrawImageDetail");
  bind(DrawImageFast, "dllDrawImageFast");
  bind(DrawTextRect, "dllDrawText");
  bind(DrawTextSimple, "dllDrawTextSimple");
  bind(GetTextSize, "dllGetTextSize");
  bind(GetImageRect, "dllGetImageRect");
  bind(GetImageWidth, "dllGetImageWidth");
  bind(GetImageHeight, "dllGetImageHeight");
  bind(GetRGB, "dllGetRGB");
  bind(GetARGB, "dllGetARGB");
  bind(Shake, "dllShake");
  bind(StopShake, "dllStopShake");
  return missing->empty();
}

void DrawFrontEnd::Unload() {
  if (module) FreeLibrary(module);
  *this = DrawFrontEnd();
}

}  // namespace torv
