// Creating and filling the renderer's textures.
#include "draw_d3d/d3d_texture.h"

#include <cstring>

#include "common/trace.h"
#include "draw_d3d/d3d_error_names.h"

// The names' table carries d3d9.h's values without the header; keep them equal.
static_assert(torv::kD3dErrDeviceLost == static_cast<uint32_t>(D3DERR_DEVICELOST), "D3DERR_DEVICELOST");
static_assert(torv::kD3dErrDeviceNotReset == static_cast<uint32_t>(D3DERR_DEVICENOTRESET), "D3DERR_DEVICENOTRESET");
static_assert(torv::kD3dErrInvalidCall == static_cast<uint32_t>(D3DERR_INVALIDCALL), "D3DERR_INVALIDCALL");
static_assert(torv::kD3dErrNotAvailable == static_cast<uint32_t>(D3DERR_NOTAVAILABLE), "D3DERR_NOTAVAILABLE");
static_assert(torv::kD3dErrOutOfVideoMemory == static_cast<uint32_t>(D3DERR_OUTOFVIDEOMEMORY), "D3DERR_OUTOFVIDEOMEMORY");
static_assert(torv::kD3dErrWasStillDrawing == static_cast<uint32_t>(D3DERR_WASSTILLDRAWING), "D3DERR_WASSTILLDRAWING");
static_assert(torv::kD3dErrDriverInternalError == static_cast<uint32_t>(D3DERR_DRIVERINTERNALERROR),
              "D3DERR_DRIVERINTERNALERROR");
static_assert(torv::kD3dErrWrongTextureFormat == static_cast<uint32_t>(D3DERR_WRONGTEXTUREFORMAT),
              "D3DERR_WRONGTEXTUREFORMAT");
static_assert(torv::kD3dErrNotFound == static_cast<uint32_t>(D3DERR_NOTFOUND), "D3DERR_NOTFOUND");
static_assert(torv::kD3dErrMoreData == static_cast<uint32_t>(D3DERR_MOREDATA), "D3DERR_MOREDATA");
static_assert(torv::kD3dErrInvalidDevice == static_cast<uint32_t>(D3DERR_INVALIDDEVICE), "D3DERR_INVALIDDEVICE");
static_assert(torv::kD3dErrConflictingRenderState == static_cast<uint32_t>(D3DERR_CONFLICTINGRENDERSTATE),
              "D3DERR_CONFLICTINGRENDERSTATE");
static_assert(torv::kEOutOfMemory == static_cast<uint32_t>(E_OUTOFMEMORY), "E_OUTOFMEMORY");
static_assert(torv::kEInvalidArg == static_cast<uint32_t>(E_INVALIDARG), "E_INVALIDARG");
static_assert(torv::kEFail == static_cast<uint32_t>(E_FAIL), "E_FAIL");
static_assert(static_cast<int>(torv::TextureFormat::kA8R8G8B8) == D3DFMT_A8R8G8B8, "A8R8G8B8");
static_assert(static_cast<int>(torv::TextureFormat::kA4R4G4B4) == D3DFMT_A4R4G4B4, "A4R4G4B4");

int CreateTextureOrg(IDirect3DDevice9* device, const torv::TextureLimits& limits, int* width, int* height,
                     torv::TextureFormat format, IDirect3DTexture9** out) {
  *out = nullptr;
  if (!device || *width < 1 || *height < 1) return -1;
  if (!torv::texture_size_allowed(*width, *height, limits)) {
    torv_trace("%d * %d - outside the device's texture limits\n", *width, *height);
    return -1;
  }
  const D3DFORMAT wanted = static_cast<D3DFORMAT>(format);
  // One level: sampling never reaches below it (no mip filter), so a chain would be waste.
  const HRESULT hr = device->CreateTexture(static_cast<UINT>(*width), static_cast<UINT>(*height), 1, 0, wanted,
                                           D3DPOOL_MANAGED, out, nullptr);
  if (FAILED(hr) || !*out) {
    torv_trace("%s - CreateTexture Fail..", torv::d3d_error_name(static_cast<uint32_t>(hr)));
    *out = nullptr;
    return -1;
  }
  D3DSURFACE_DESC desc;
  if (FAILED((*out)->GetLevelDesc(0, &desc))) {
    ReleaseCom(*out);
    return -1;
  }
  *width = static_cast<int>(desc.Width);
  *height = static_cast<int>(desc.Height);
  torv_trace(desc.Format == wanted ? "CreateTexture OK!!\n" : "Format Not Equal !!\n");
  return 0;
}

int UploadTexture(IDirect3DTexture9* texture, const torv::TexturePixels& pixels) {
  D3DLOCKED_RECT locked;
  if (!texture || FAILED(texture->LockRect(0, &locked, nullptr, 0))) return -1;
  const size_t row = static_cast<size_t>(pixels.pitch());
  auto* to = static_cast<uint8_t*>(locked.pBits);
  for (int y = 0; y < pixels.height; ++y) {
    std::memcpy(to + static_cast<size_t>(y) * static_cast<size_t>(locked.Pitch),
                pixels.bytes.data() + static_cast<size_t>(y) * row, row);
  }
  texture->UnlockRect(0);
  return 0;
}

torv::TextureLimits DeviceTextureLimits(const D3DCAPS9& caps) {
  torv::TextureLimits limits;
  limits.max_width = static_cast<int>(caps.MaxTextureWidth);
  limits.max_height = static_cast<int>(caps.MaxTextureHeight);
  limits.square_only = (caps.TextureCaps & D3DPTEXTURECAPS_SQUAREONLY) != 0;
  // 0, or more than any side can be, sets no ratio.
  limits.max_aspect = caps.MaxTextureAspectRatio > (1u << 30) ? 0 : static_cast<int>(caps.MaxTextureAspectRatio);
  // Conditional support still takes any size for a clamped texture of one level,
  // which is all this renderer makes.
  limits.pow2 = (caps.TextureCaps & D3DPTEXTURECAPS_POW2) != 0 &&
                (caps.TextureCaps & D3DPTEXTURECAPS_NONPOW2CONDITIONAL) == 0;
  return limits;
}
