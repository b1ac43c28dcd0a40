// CDDSMaintain: one picture of the DirectDraw renderer's image store, decoded by the
// core and kept in a system-memory surface of its own. Its fully transparent
// pixels hold the surface's source colour key, so DirectDraw's keyed copy leaves
// exactly them out; the blending draws read the alpha byte instead.
#pragma once

#include <cstdint>

#include "common/image_decode.h"
#include "draw_ddraw/dd_surface.h"

class CDDSMaintain {
public:
  // dd: the owner's DirectDraw object pointer, read when a picture is loaded.
  explicit CDDSMaintain(IDirectDraw7* const* dd) : dd_(dd) {}
  CDDSMaintain(const CDDSMaintain&) = delete;
  CDDSMaintain& operator=(const CDDSMaintain&) = delete;

  // PNG or 24-bit BMP, chosen by the PNG signature. 0, or -1 (unreadable,
  // undecodable, or no surface could be made or filled) with nothing held.
  int LoadFromFile(const char* path);
  int LoadFromMemory(const void* data, int size);

  int width() const { return surface_.width(); }
  int height() const { return surface_.height(); }
  uint32_t colour_key() const { return key_; }
  DdSurface& surface() { return surface_; }

private:
  // Makes the surface from decoded pixels: key chosen, transparent pixels set to it.
  int CreateDDSByDIBImage(torv::Image& decoded);

  IDirectDraw7* const* dd_;
  DdSurface surface_;
  uint32_t key_ = 0;
};
