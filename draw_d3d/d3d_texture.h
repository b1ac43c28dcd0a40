// Textures on the device: made in the managed pool in the renderer's texture
// format, and filled from contents prepared in memory (d3d_texture_pixels.h).
#pragma once

#include <d3d9.h>

#include "draw_d3d/d3d_texture_limits.h"
#include "draw_d3d/d3d_texture_pixels.h"

// A texture of *width x *height (one level, managed pool) in format; the size made
// is written back. 0, or -1 with *out null (the failure traced). A size outside
// limits is refused before the device is asked, as such a device would refuse it.
int CreateTextureOrg(IDirect3DDevice9* device, const torv::TextureLimits& limits, int* width, int* height,
                     torv::TextureFormat format, IDirect3DTexture9** out);

// The texture limits the device reports in caps.
torv::TextureLimits DeviceTextureLimits(const D3DCAPS9& caps);

// Copies pixels into level 0 of texture (at least as large). 0 or -1.
int UploadTexture(IDirect3DTexture9* texture, const torv::TexturePixels& pixels);

// Releases a COM object and nulls the pointer.
template <class T>
void ReleaseCom(T*& object) {
  if (object) object->Release();
  object = nullptr;
}
