// CDIBDraw: the GDI DIB-section renderer's one instance. Frames are composed in a
// DIB section by the portable core (blends, scaling, keyed copies, cached text) and
// by GDI (plain text), and shown with one BitBlt.
#pragma once

#include <cstdarg>

#include "common/blend.h"
#include "common/string_cache.h"
#include "draw/backend_archive.h"
#include "draw/backend_image_store.h"
#include "draw/backend_text.h"
#include "draw/draw_contract.h"
#include "draw_dib/dib_image.h"
#include "draw_dib/dib_section.h"

using CDibStringCacheInfo = BackendStringCacheInfo;

class CDIBDraw {
public:
  CDIBDraw() = default;
  virtual ~CDIBDraw();
  CDIBDraw(const CDIBDraw&) = delete;
  CDIBDraw& operator=(const CDIBDraw&) = delete;

  int Init(int width, int height, HWND window);

  int CreateImageLoadFromFile(int* slot, const char* path);
  int CreateImageLoadFromMemory(int* slot, char* data, int size);
  int CreateImageLoadFromExpTfaFile(int* slot, const char* member, const char* archive);
  int ReCreateImageLoadFromFile(int slot, const char* path);
  int ReCreateImageLoadFromMemory(int slot, char* data, int size);
  int ReCreateImageLoadFromExpTfaFile(int slot, const char* member, const char* archive);
  int GetImageWidth(int slot) const { return images_.Width(slot); }
  int GetImageHeight(int slot) const { return images_.Height(slot); }
  int ImageCount() const { return images_.Count(); }

  int SetFont(const char* face, int height) { return ReplaceBackendFont(&font_, face, height); }
  HFONT* GetFont() { return &font_; }
  void ClearStringCache() { cache_.clear(); }
  CDibStringCacheInfo StringCacheInfo(int i) const { return CDibStringCacheInfo(cache_.entry(i)); }

  int BeginDraw(int offsetX, int offsetY);
  int DrawResult();
  int DrawImage(int slot, int x, int y, int width, int height, double alpha);
  int DrawImageDetail(int slot, int srcX, int srcY, int x, int y, int width, int height, double alpha);
  int DrawImageFast(int slot, int x, int y, int srcX, int srcY, int width, int height, int transparent);
  int DrawTextV(RECT rect, int count, DWORD colour, int noClip, int centre, int cached, const char* format,
                va_list args);

  // For process exit: leave "tamArc.dll" to the loader instead of freeing it here.
  void ForgetArchiveLibrary() { archive_.Forget(); }

private:
  const CImageMaintain* Image(int slot) const { return images_.Get(slot); }

  BackendImageStore<CImageMaintain> images_;  // index = image slot
  int width_ = 0;
  int height_ = 0;
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  DibSection work_;   // the frame being composed
  DibSection blank_;  // all zero: copied over the work frame to clear it
  torv::Blender blender_;
  torv::StringCache cache_;
  int offset_x_ = 0;
  int offset_y_ = 0;
  ArchiveLibrary archive_;
};
