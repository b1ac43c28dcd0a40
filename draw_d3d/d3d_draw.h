// CDx3DDraw: the Direct3D 9 renderer's one instance. Every image is one or more
// power-of-two textures drawn as screen quads, blended by texel alpha times the
// draw's alpha; text is cached glyph grids or GDI text in a texture. A lost device
// is rebuilt from the images' kept sources.
#pragma once

#include <d3d9.h>

#include <cstdarg>
#include <cstdint>
#include <string>
#include <vector>

#include "draw/backend_archive.h"
#include "draw/draw_contract.h"
#include "draw_d3d/d3d_geometry.h"
#include "draw_d3d/d3d_text.h"
#include "draw_d3d/d3d_texture_pixels.h"

// One image slot: where the picture came from (to load it again after a lost
// device) and the textures it is drawn from.
struct TextureImage {
  enum class Source { kMemory, kFile, kArchive };

  int in_use = 0;
  std::string name;     // file path (file loads) or member name (archive loads); empty for memory loads
  std::string archive;  // archive path of archive loads, else empty
  int width = 0;
  int height = 0;
  std::vector<uint8_t> data;  // memory loads: the renderer's own copy of the encoded file
  torv::TileGrid grid;        // tile columns and rows, and the texture size made for every tile
  // Per tile (column c, row r at c * rows + r): the index of its texture in the
  // renderer's texture list (-1: none, after a failed rebuild), and the texture's
  // size over the source part it holds.
  std::vector<int> tile_texture;
  std::vector<double> tile_x_scale;
  std::vector<double> tile_y_scale;

  Source source() const {
    return !archive.empty() ? Source::kArchive : !name.empty() ? Source::kFile : Source::kMemory;
  }
};

class CDx3DDraw {
public:
  using Direct3DCreateFn = IDirect3D9*(WINAPI*)(UINT);
  static constexpr int kStringCacheEntries = 50;

  CDx3DDraw();
  ~CDx3DDraw();
  CDx3DDraw(const CDx3DDraw&) = delete;
  CDx3DDraw& operator=(const CDx3DDraw&) = delete;

  // Makes the device for window with a width x height back buffer. force16 asks for
  // 16-bit (A4R4G4B4) textures. Drops every image. 0 or -1.
  int Init(HWND window, int width, int height, bool force16);
  int Init(int width, int height, HWND window) { return Init(window, width, height, false); }
  int Init16b(int width, int height, HWND window) { return Init(window, width, height, true); }
  // Releases the device and everything made on it; image records and font stay.
  void Terminate();
  // Rebuilds the device and every image from its source, each in its old slot.
  // 0; -1 when no device could be made: the records stay and the next EndDraw
  // tries again.
  int Restore();

  int CreateImageLoadFromFile(int* slot, const char* path);
  int CreateImageLoadFromMemory(int* slot, char* data, int size);
  int CreateImageLoadFromExpTfaFile(int* slot, const char* member, const char* archive);
  int ReCreateImageLoadFromFile(int slot, const char* path);
  int ReCreateImageLoadFromMemory(int slot, char* data, int size);
  int ReCreateImageLoadFromExpTfaFile(int slot, const char* member, const char* archive);
  int GetImageWidth(int slot) const;
  int GetImageHeight(int slot) const;
  RECT GetImageRect(int slot) const;

  int SetFont(const char* face, int height);
  HFONT* GetFont() { return &font_; }
  void ClearStringCache();

  int BeginDraw(int originX, int originY);
  int EndDraw();
  int DrawResult() { return EndDraw(); }
  int DrawImage(int slot, int x, int y, int width, int height, double alpha);
  int DrawImageDetail(int slot, int srcX, int srcY, int x, int y, int width, int height, double alpha);
  int DrawImageFast(int slot, int x, int y, int srcX, int srcY, int width, int height, int transparent);
  int DrawTextV(RECT rect, int count, DWORD colour, int noClip, int centre, int cached, const char* format,
                va_list args);

  // For process exit: leave "tamArc.dll" to the loader and the device to the system
  // instead of releasing them here.
  void ForgetArchiveLibrary();

  // What tests and diagnostics look at, and the seams they set.
  int ImageCount() const { return static_cast<int>(images_.size()); }
  const TextureImage* Image(int slot) const;
  int TextureCount() const { return static_cast<int>(textures_.size()); }
  torv::TextureFormat TextureFormat() const { return format_; }
  // The device's texture limits as the renderer keeps to them (after any cap).
  const torv::TextureLimits& TextureLimits() const { return limits_; }
  int MaxTextureWidth() const { return limits_.max_width; }
  int MaxTextureHeight() const { return limits_.max_height; }
  bool RestorePending() const { return restore_pending_; }
  IDirect3DDevice9* Device() const { return device_; }
  const CDx3dStringCacheInfo& StringCacheInfo(int i) const { return cache_[i]; }
  // Lowers the texture limits below the device's from the next Init on, as a
  // smaller device would report them (cap_texture_limits). The variable
  // kTextureCapVariable, when set, lowers them further in any process.
  void SetTextureLimitCap(const torv::TextureLimits& cap) { cap_ = cap; }
  static constexpr const char* kTextureCapVariable = "TORV_D3D_TEXTURE_LIMITS";
  // The function Init makes the Direct3D object with (Direct3DCreate9 by default).
  void SetDirect3DCreate(Direct3DCreateFn create) { create_ = create; }
  // The back buffer as 0x00RRGGBB values, rows top to bottom. 0 or -1.
  int ReadBack(std::vector<uint32_t>* out) const;

private:
  int MakeImage(TextureImage* record, const uint8_t* encoded, size_t size);
  int AddImage(int* slot, TextureImage record, const uint8_t* encoded, size_t size);
  int ReplaceImage(int slot, TextureImage record, const uint8_t* encoded, size_t size);
  IDirect3DTexture9* MakeTileTexture(const torv::Image& picture, const torv::TileGrid& grid, int column, int row,
                                     torv::TexturePixels* scratch);
  void ReleaseImageTextures(TextureImage* record);
  void ReleaseTexture(int index, TextureImage* also);
  int ReadMember(const char* member, const char* archive, const uint8_t** data, int* size);
  int SetFixedStates();
  void EndOpenScene();
  int DrawQuad(const torv::QuadSpec& quad, IDirect3DTexture9* texture);
  int DrawTile(const TextureImage& image, const torv::TileQuad& tile);
  int DrawCachedText(RECT rect, const char* text, int count, int noClip, int centre, DWORD colour);
  int DrawPlainText(RECT rect, const char* text, int count, int noClip, int centre, DWORD colour);

  std::vector<TextureImage> images_;  // slot = position
  HWND window_ = nullptr;
  HFONT font_ = nullptr;
  std::string face_;
  int font_height_ = 0;
  int frame_width_ = 0;
  int frame_height_ = 0;
  torv::TextureLimits limits_;  // every texture made keeps within them
  torv::TextureLimits cap_;     // 0 sizes and aspect, no rules: the device's limits as they are
  bool in_frame_ = false;
  bool scene_open_ = false;  // BeginScene succeeded and its EndScene is still due
  bool ready_ = false;  // Init finished: states set, quad buffer made
  bool force16_ = false;
  bool restore_pending_ = false;
  int origin_x_ = 0;
  int origin_y_ = 0;
  std::vector<IDirect3DTexture9*> textures_;  // every texture of every image, in creation order
  Direct3DCreateFn create_;
  IDirect3D9* d3d_ = nullptr;
  IDirect3DDevice9* device_ = nullptr;
  IDirect3DVertexBuffer9* quad_buffer_ = nullptr;
  D3DPRESENT_PARAMETERS present_ = {};
  torv::TextureFormat format_ = torv::TextureFormat::kA8R8G8B8;
  CDx3dStringCacheInfo cache_[kStringCacheEntries];
  ArchiveLibrary archive_;
};
