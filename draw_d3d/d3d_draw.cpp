// CDx3DDraw: device, images, restore, frames, image draws and text.
#include "draw_d3d/d3d_draw.h"

#include <algorithm>
#include <cstring>

#include "common/blend.h"
#include "common/format_text.h"
#include "common/trace.h"
#include "draw/backend_text.h"
#include "draw/gdi_glyph_source.h"
#include "draw_d3d/d3d_error_names.h"
#include "draw_d3d/d3d_texture.h"

namespace {

// The five ways a device is tried, in order, until one is made.
struct DeviceAttempt {
  const char* trace;
  D3DDEVTYPE type;
  DWORD behaviour;
  bool force_rgb565;  // a 16-bit back buffer, for adapters that refuse the desktop's format
};
const DeviceAttempt kDeviceAttempts[] = {
    {"HAL T&L ", D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING, false},
    {"CPU HAL ", D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING, false},
    {"HAL T&L ", D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING, true},
    {"CPU HAL ", D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING, true},
    {"CPU CPU ", D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING, true},
};

constexpr D3DCOLOR kClearColour = 0xFF000000;  // opaque black

// Pixel centres lie on whole coordinates, so every texel edge of an unscaled quad
// falls exactly on a pixel centre, and rasterisers differ in which side of it they
// sample (Wine's, for one, moves positions by 63/128 of a pixel, the other way
// vertically). Nudging the quad this far towards the top-left puts each centre
// safely inside its texel, and moves no edge past a pixel centre: texel k of an
// unscaled quad stays on pixel k and the quad covers the same pixels.
constexpr float kSampleNudge = 1.0f / 64;

// Failure codes of the archive forms (this renderer's own: no library is -2).
constexpr int kNoArchiveLibrary = -2;
constexpr int kNoMember = -2;

// The cap kTextureCapVariable sets (e.g. "256,square,aspect=1"), so that a whole
// program can be run as on a device with smaller textures; none when unset or
// unreadable.
torv::TextureLimits VariableTextureCap() {
  char text[64] = {};
  const DWORD length = GetEnvironmentVariableA(CDx3DDraw::kTextureCapVariable, text, sizeof text);
  torv::TextureLimits cap;
  if (length == 0 || length >= sizeof text) return cap;
  if (!torv::parse_texture_limits(text, &cap)) {
    torv_trace("%s=%s - not a texture cap\n", CDx3DDraw::kTextureCapVariable, text);
  }
  return cap;
}

uint32_t Expand565(uint16_t p) {
  const uint32_t r = p >> 11 & 0x1F, g = p >> 5 & 0x3F, b = p & 0x1F;
  return (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
}

}  // namespace

CDx3DDraw::CDx3DDraw() : create_(&Direct3DCreate9) {
  for (int i = 0; i < kStringCacheEntries; ++i) cache_[i].SetRank(i);
  SetFont(kBackendDefaultFace, kBackendDefaultFontHeight);
}

CDx3DDraw::~CDx3DDraw() {
  Terminate();
  if (font_) DeleteObject(font_);
}

int CDx3DDraw::Init(HWND window, int width, int height, bool force16) {
  Terminate();  // a second Init starts afresh
  window_ = window;
  frame_width_ = width;
  frame_height_ = height;
  force16_ = force16;
  images_.clear();
  textures_.clear();
  in_frame_ = false;

  d3d_ = create_ ? create_(D3D_SDK_VERSION) : nullptr;
  if (!d3d_) {
    torv_trace("Direct3DCreate9 Fail...\n");
    return -1;
  }
  torv_trace("Direct3DCreate9 OK\n");
  D3DDISPLAYMODE mode;
  if (FAILED(d3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode))) {
    torv_trace("GetAdapterDisplayMode Fail...\n");
    return -1;
  }
  torv_trace("GetAdapterDisplayMode OK\n");

  D3DPRESENT_PARAMETERS pp = {};
  pp.BackBufferWidth = static_cast<UINT>(width);
  pp.BackBufferHeight = static_cast<UINT>(height);
  pp.BackBufferFormat = mode.Format;
  pp.SwapEffect = D3DSWAPEFFECT_DISCARD;
  pp.Windowed = TRUE;  // never full screen: the game's window is switched by the game
  pp.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;  // the game paces itself
  torv_trace("Direct3DCreateDevice...\n");
  D3DDEVTYPE type = D3DDEVTYPE_HAL;
  for (const DeviceAttempt& attempt : kDeviceAttempts) {
    if (attempt.force_rgb565 && pp.BackBufferFormat != D3DFMT_R5G6B5) {
      torv_trace("Force_RGB565\n");
      pp.BackBufferFormat = D3DFMT_R5G6B5;
    }
    torv_trace(attempt.trace);
    D3DPRESENT_PARAMETERS tried = pp;
    if (SUCCEEDED(d3d_->CreateDevice(D3DADAPTER_DEFAULT, attempt.type, window, attempt.behaviour, &tried, &device_)) &&
        device_) {
      pp = tried;
      type = attempt.type;
      break;
    }
    device_ = nullptr;
    torv_trace("Fail...\n");
  }
  present_ = pp;
  if (!device_) {
    torv_trace("AllDevice Fail...\n");
    torv_trace("NG...\n");
    return -1;
  }
  torv_trace("OK\n");

  // Textures: 32-bit with alpha unless 16-bit is asked for or refused.
  auto accepted = [&](D3DFORMAT f) {
    return SUCCEEDED(d3d_->CheckDeviceFormat(D3DADAPTER_DEFAULT, type, mode.Format, 0, D3DRTYPE_TEXTURE, f));
  };
  if (!force16 && accepted(D3DFMT_A8R8G8B8)) {
    format_ = torv::TextureFormat::kA8R8G8B8;
    torv_trace("A8R8G8B8_Texture\n");
  } else if (accepted(D3DFMT_A4R4G4B4)) {
    format_ = torv::TextureFormat::kA4R4G4B4;
    torv_trace("A4R4GB4_Texture\n");
  } else {
    torv_trace("AllFormat Fail...\n");
    return -1;
  }

  D3DCAPS9 caps;
  if (FAILED(device_->GetDeviceCaps(&caps))) return -1;
  limits_ = torv::cap_texture_limits(torv::cap_texture_limits(DeviceTextureLimits(caps), cap_), VariableTextureCap());
  torv_trace("MaxTextureSize(%d * %d)\n", limits_.max_width, limits_.max_height);

  torv_trace("SetRenderState...");
  if (SetFixedStates() != 0) return -1;
  torv_trace("CreateVertexBuffer...");
  // Refilled for every quad: dynamic and write-only, so a refill never waits for
  // the quad drawn before it.
  if (FAILED(device_->CreateVertexBuffer(torv::kQuadBytes, D3DUSAGE_DYNAMIC | D3DUSAGE_WRITEONLY,
                                         torv::kQuadVertexFormat, D3DPOOL_DEFAULT, &quad_buffer_, nullptr))) {
    quad_buffer_ = nullptr;
    return -1;
  }
  torv_trace("Draw\x8C\x6E\x91\x53\x8F\x89\x8A\xFA\x89\xBB OK\n");  // "all drawing set up OK"
  archive_.Load();  // without it only the archive loads fail
  ready_ = true;
  return 0;
}

int CDx3DDraw::SetFixedStates() {
  // Set once: a draw is only stream source, texture and draw call.
  const struct {
    D3DRENDERSTATETYPE state;
    DWORD value;
  } render[] = {
      {D3DRS_CULLMODE, D3DCULL_NONE},         {D3DRS_LIGHTING, FALSE},
      {D3DRS_ZENABLE, D3DZB_FALSE},           {D3DRS_ALPHABLENDENABLE, TRUE},
      {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},    {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
  };
  for (const auto& r : render) {
    if (FAILED(device_->SetRenderState(r.state, r.value))) return -1;
  }
  // Colour from the texel; alpha = texel alpha x the vertex's (the draw's alpha).
  const struct {
    D3DTEXTURESTAGESTATETYPE state;
    DWORD value;
  } stage[] = {
      {D3DTSS_COLOROP, D3DTOP_SELECTARG1}, {D3DTSS_COLORARG1, D3DTA_TEXTURE},
      {D3DTSS_ALPHAOP, D3DTOP_MODULATE},   {D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
      {D3DTSS_ALPHAARG2, D3DTA_CURRENT},
  };
  for (const auto& s : stage) {
    if (FAILED(device_->SetTextureStageState(0, s.state, s.value))) return -1;
  }
  // Nearest texel, clamped at the edges: texel k of an unscaled quad is pixel k.
  const struct {
    D3DSAMPLERSTATETYPE state;
    DWORD value;
  } sampler[] = {
      {D3DSAMP_MINFILTER, D3DTEXF_POINT},      {D3DSAMP_MAGFILTER, D3DTEXF_POINT},
      {D3DSAMP_MIPFILTER, D3DTEXF_NONE},       {D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP},
      {D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP},
  };
  for (const auto& s : sampler) {
    if (FAILED(device_->SetSamplerState(0, s.state, s.value))) return -1;
  }
  return FAILED(device_->SetFVF(torv::kQuadVertexFormat)) ? -1 : 0;
}

void CDx3DDraw::ForgetArchiveLibrary() {
  archive_.Forget();
  // At process exit Direct3D's own threads are already gone: releasing the device
  // then could wait for them forever. The system reclaims it all.
  quad_buffer_ = nullptr;
  textures_.clear();
  for (CDx3dStringCacheInfo& entry : cache_) entry.Forget();
  device_ = nullptr;
  d3d_ = nullptr;
}

void CDx3DDraw::Terminate() {
  ready_ = false;
  in_frame_ = false;
  scene_open_ = false;  // a scene dies with its device
  ReleaseCom(quad_buffer_);
  ClearStringCache();
  for (auto t = textures_.rbegin(); t != textures_.rend(); ++t) ReleaseCom(*t);
  ReleaseCom(device_);
  ReleaseCom(d3d_);
  // The records keep their sizes and sources; their textures are gone.
  textures_.clear();
  for (TextureImage& image : images_) std::fill(image.tile_texture.begin(), image.tile_texture.end(), -1);
  archive_.Unload();
}

int CDx3DDraw::Restore() {
  std::vector<TextureImage> kept = images_;
  Terminate();
  if (Init(window_, frame_width_, frame_height_, force16_) != 0) {
    // No device yet (the display may still be taken): keep every record, textureless,
    // and try again at the next EndDraw.
    Terminate();
    images_ = std::move(kept);
    for (TextureImage& image : images_) std::fill(image.tile_texture.begin(), image.tile_texture.end(), -1);
    restore_pending_ = true;
    return -1;
  }
  restore_pending_ = false;
  SetFont(face_.c_str(), font_height_);
  for (TextureImage& old : kept) {
    TextureImage again;
    again.name = old.name;
    again.archive = old.archive;
    int result = -1;
    if (old.source() == TextureImage::Source::kArchive) {
      const uint8_t* data = nullptr;
      int size = 0;
      if (ReadMember(old.name.c_str(), old.archive.c_str(), &data, &size) == 0) {
        result = AddImage(nullptr, std::move(again), data, static_cast<size_t>(size));
      }
    } else if (old.source() == TextureImage::Source::kFile) {
      result = AddImage(nullptr, std::move(again), nullptr, 0);
    } else {
      again.data = old.data;
      result = AddImage(nullptr, std::move(again), nullptr, 0);
    }
    if (result != 0) {
      // The source is gone (a file deleted meanwhile): the slot stays, drawing nothing,
      // so every later image keeps its number.
      std::fill(old.tile_texture.begin(), old.tile_texture.end(), -1);
      images_.push_back(std::move(old));
    }
  }
  return 0;
}

const TextureImage* CDx3DDraw::Image(int slot) const {
  return slot >= 0 && slot < ImageCount() ? &images_[static_cast<size_t>(slot)] : nullptr;
}

int CDx3DDraw::GetImageWidth(int slot) const {
  const TextureImage* image = Image(slot);
  return image ? image->width : -1;
}

int CDx3DDraw::GetImageHeight(int slot) const {
  const TextureImage* image = Image(slot);
  return image ? image->height : -1;
}

RECT CDx3DDraw::GetImageRect(int slot) const {
  return RECT{0, 0, GetImageWidth(slot), GetImageHeight(slot)};
}

int CDx3DDraw::MakeImage(TextureImage* record, const uint8_t* encoded, size_t size) {
  if (!device_ || !ready_) return -1;
  torv::Image picture;
  int decoded = -1;
  if (encoded) {
    decoded = torv::decode_image(encoded, size, &picture);
  } else if (record->source() == TextureImage::Source::kMemory) {
    decoded = torv::decode_image(record->data.data(), record->data.size(), &picture);
  } else {
    decoded = torv::load_image_file(record->name.c_str(), &picture);
  }
  if (decoded != 0) return -1;  // neither PNG nor BMP: no size, no slot
  torv::TileGrid grid;
  if (!torv::plan_tile_grid(picture.width, picture.height, limits_, &grid)) return -1;
  record->in_use = 1;
  record->width = picture.width;
  record->height = picture.height;
  record->grid = grid;
  record->tile_texture.assign(static_cast<size_t>(grid.count()), -1);
  record->tile_x_scale.assign(static_cast<size_t>(grid.count()), 0);
  record->tile_y_scale.assign(static_cast<size_t>(grid.count()), 0);
  const size_t first = textures_.size();
  torv::TexturePixels pixels;
  for (int i = 0; i < grid.columns; ++i) {
    for (int j = 0; j < grid.rows; ++j) {
      IDirect3DTexture9* texture = MakeTileTexture(picture, grid, i, j, &pixels);
      if (!texture) {
        // Nothing of this image stays: its textures are the last in the list.
        while (textures_.size() > first) {
          ReleaseCom(textures_.back());
          textures_.pop_back();
        }
        return -1;
      }
      const torv::SourceRect src = torv::tile_source(picture.width, picture.height, grid, i, j);
      const size_t k = static_cast<size_t>(torv::tile_index(grid, i, j));
      textures_.push_back(texture);
      record->tile_texture[k] = static_cast<int>(textures_.size() - 1);
      record->tile_x_scale[k] = static_cast<double>(grid.tile_width) / (src.right - src.left);
      record->tile_y_scale[k] = static_cast<double>(grid.tile_height) / (src.bottom - src.top);
    }
  }
  return 0;
}

IDirect3DTexture9* CDx3DDraw::MakeTileTexture(const torv::Image& picture, const torv::TileGrid& grid, int column,
                                              int row, torv::TexturePixels* scratch) {
  int w = grid.tile_width, h = grid.tile_height;
  IDirect3DTexture9* texture = nullptr;
  if (CreateTextureOrg(device_, limits_, &w, &h, format_, &texture) != 0) return nullptr;
  // A texture smaller than asked would cut the tile: refuse it rather than draw half a picture.
  bool made = w == grid.tile_width && h == grid.tile_height;
  if (made) {
    torv::fill_tile_texture(picture, torv::tile_source(picture.width, picture.height, grid, column, row), w, h,
                            format_, scratch);
    made = UploadTexture(texture, *scratch) == 0;
  }
  if (!made) ReleaseCom(texture);
  return texture;
}

int CDx3DDraw::AddImage(int* slot, TextureImage record, const uint8_t* encoded, size_t size) {
  if (MakeImage(&record, encoded, size) != 0) return -1;
  images_.push_back(std::move(record));
  if (slot) *slot = ImageCount() - 1;
  return 0;
}

int CDx3DDraw::ReplaceImage(int slot, TextureImage record, const uint8_t* encoded, size_t size) {
  // The new textures are made first, so a failure leaves the old picture in place.
  if (MakeImage(&record, encoded, size) != 0) return -1;
  std::swap(images_[static_cast<size_t>(slot)], record);
  ReleaseImageTextures(&record);
  return 0;
}

void CDx3DDraw::ReleaseTexture(int index, TextureImage* also) {
  if (index < 0 || index >= TextureCount()) return;
  ReleaseCom(textures_[static_cast<size_t>(index)]);
  textures_.erase(textures_.begin() + index);
  // Later textures moved down one place: so do the indices that name them.
  auto shift = [index](TextureImage& image) {
    for (int& t : image.tile_texture) {
      if (t > index) --t;
    }
  };
  for (TextureImage& image : images_) shift(image);
  shift(*also);
}

void CDx3DDraw::ReleaseImageTextures(TextureImage* record) {
  for (size_t k = 0; k < record->tile_texture.size(); ++k) {
    const int index = record->tile_texture[k];
    record->tile_texture[k] = -1;
    ReleaseTexture(index, record);
  }
}

int CDx3DDraw::ReadMember(const char* member, const char* archive, const uint8_t** data, int* size) {
  torv_trace("Load - %s -> %s\n", archive ? archive : "", member ? member : "");
  const unsigned char* block = nullptr;
  const int found = archive_.Read(member, archive, &block, size);
  if (found == -2) torv_trace("Not Get a Data Memory!\n");
  if (found == -3) return kNoArchiveLibrary;
  if (found != 0) return found;
  *data = block;
  return 0;
}

int CDx3DDraw::CreateImageLoadFromFile(int* slot, const char* path) {
  if (!path) return -1;
  torv_trace("Load - %s\n", path);
  TextureImage record;
  record.name = path;
  return AddImage(slot, std::move(record), nullptr, 0);
}

int CDx3DDraw::CreateImageLoadFromMemory(int* slot, char* data, int size) {
  if (!data || size <= 0) return -1;
  TextureImage record;
  record.data.assign(data, data + size);  // the caller keeps (and may free) its data
  return AddImage(slot, std::move(record), nullptr, 0);
}

int CDx3DDraw::CreateImageLoadFromExpTfaFile(int* slot, const char* member, const char* archive) {
  const uint8_t* data = nullptr;
  int size = 0;
  const int found = ReadMember(member, archive, &data, &size);
  if (found != 0) return found;
  TextureImage record;
  record.name = member;
  record.archive = archive;
  return AddImage(slot, std::move(record), data, static_cast<size_t>(size));
}

int CDx3DDraw::ReCreateImageLoadFromFile(int slot, const char* path) {
  if (!Image(slot) || !path) return -1;
  torv_trace("Load - %s\n", path);
  TextureImage record;
  record.name = path;
  return ReplaceImage(slot, std::move(record), nullptr, 0);
}

int CDx3DDraw::ReCreateImageLoadFromMemory(int slot, char* data, int size) {
  if (!Image(slot) || !data || size <= 0) return -1;
  TextureImage record;
  record.data.assign(data, data + size);
  return ReplaceImage(slot, std::move(record), nullptr, 0);
}

int CDx3DDraw::ReCreateImageLoadFromExpTfaFile(int slot, const char* member, const char* archive) {
  if (!archive_.Loaded()) return kNoArchiveLibrary;  // before the slot: it is the caller's set-up at fault
  if (!Image(slot)) return -1;
  const uint8_t* data = nullptr;
  int size = 0;
  if (ReadMember(member, archive, &data, &size) != 0) return -1;  // the old picture stays
  TextureImage record;
  record.name = member;
  record.archive = archive;
  return ReplaceImage(slot, std::move(record), data, static_cast<size_t>(size));
}

int CDx3DDraw::SetFont(const char* face, int height) {
  if (!face) return -1;
  if (ReplaceBackendFont(&font_, face, height) != 0) return -1;
  face_ = face;
  font_height_ = height;
  return 0;
}

void CDx3DDraw::ClearStringCache() {
  for (CDx3dStringCacheInfo& entry : cache_) entry.FreeMember();
}

int CDx3DDraw::BeginDraw(int originX, int originY) {
  in_frame_ = false;
  if (!device_ || !ready_ || restore_pending_) return -1;
  // A frame left without its EndDraw (or whose EndDraw the front-end held back while
  // stopped) still has its scene open, and the device refuses every BeginScene
  // until it is ended: end it here, unshown.
  EndOpenScene();
  device_->Clear(0, nullptr, D3DCLEAR_TARGET, kClearColour, 1.0f, 0);
  if (FAILED(device_->BeginScene())) return -1;  // the frame is skipped: every draw answers -1
  scene_open_ = true;
  in_frame_ = true;
  origin_x_ = originX;
  origin_y_ = originY;
  return 0;
}

int CDx3DDraw::EndDraw() {
  in_frame_ = false;
  int result = 0;
  if (device_ && ready_ && !restore_pending_) {
    EndOpenScene();  // a second EndDraw finds none and only presents again
    const HRESULT hr = device_->Present(nullptr, nullptr, nullptr, nullptr);
    if (hr == D3DERR_DEVICELOST) {
      torv_trace("%s - Present\n", torv::d3d_error_name(static_cast<uint32_t>(hr)));
      restore_pending_ = true;
    } else if (FAILED(hr)) {
      result = -1;
    }
  }
  if (restore_pending_) result = Restore();
  return result;
}

void CDx3DDraw::EndOpenScene() {
  if (scene_open_ && device_) device_->EndScene();
  scene_open_ = false;
}

int CDx3DDraw::DrawQuad(const torv::QuadSpec& quad, IDirect3DTexture9* texture) {
  void* vertices = nullptr;
  if (FAILED(quad_buffer_->Lock(0, torv::kQuadBytes, &vertices, D3DLOCK_DISCARD)) || !vertices) return -1;
  torv::QuadVertex* v = static_cast<torv::QuadVertex*>(vertices);
  torv::fill_quad(quad, v);
  for (int i = 0; i < torv::kQuadVertexCount; ++i) {
    v[i].x -= kSampleNudge;
    v[i].y -= kSampleNudge;
  }
  quad_buffer_->Unlock();
  device_->SetStreamSource(0, quad_buffer_, 0, sizeof(torv::QuadVertex));
  device_->SetTexture(0, texture);
  return FAILED(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2)) ? -1 : 0;
}

int CDx3DDraw::DrawTile(const TextureImage& image, const torv::TileQuad& tile) {
  const int index = image.tile_texture[static_cast<size_t>(torv::tile_index(image.grid, tile.column, tile.row))];
  if (index < 0 || index >= TextureCount()) return 0;  // a slot whose source was lost draws nothing
  torv::QuadSpec quad = tile.quad;
  quad.origin_x = origin_x_;
  quad.origin_y = origin_y_;
  return DrawQuad(quad, textures_[static_cast<size_t>(index)]);
}

int CDx3DDraw::DrawImage(int slot, int x, int y, int width, int height, double alpha) {
  const TextureImage* image = Image(slot);
  if (!in_frame_ || !image) return -1;
  const uint8_t a = torv::alpha_byte_from_percent(alpha);
  for (const torv::TileQuad& tile :
       torv::scaled_image_quads(image->width, image->height, image->grid, x, y, width, height, a)) {
    DrawTile(*image, tile);
  }
  return 0;
}

int CDx3DDraw::DrawImageDetail(int slot, int srcX, int srcY, int x, int y, int width, int height, double alpha) {
  const TextureImage* image = Image(slot);
  if (!in_frame_ || !image) return -1;
  // Only the part inside the image is drawn (clamped sampling would smear its edge).
  torv::DetailRect rect{srcX, srcY, x, y, width, height};
  if (!torv::clip_detail(image->width, image->height, &rect)) return 0;
  const uint8_t a = torv::alpha_byte_from_percent(alpha);
  for (const torv::TileQuad& tile : torv::detail_quads(image->grid, rect, a)) DrawTile(*image, tile);
  return 0;
}

int CDx3DDraw::DrawImageFast(int slot, int x, int y, int srcX, int srcY, int width, int height, int /*transparent*/) {
  // Always blended by texel alpha: transparent texels are left out either way.
  const TextureImage* image = Image(slot);
  if (image && width == image->width && height == image->height) return DrawImage(slot, x, y, width, height, 100);
  return DrawImageDetail(slot, srcX, srcY, x, y, width, height, 100);
}

int CDx3DDraw::DrawTextV(RECT rect, int count, DWORD colour, int noClip, int centre, int cached, const char* format,
                         va_list args) {
  const std::string text = torv::format_text_v(format, args);
  if (!in_frame_) return -1;
  OffsetRect(&rect, origin_x_, origin_y_);
  return cached ? DrawCachedText(rect, text.c_str(), count, noClip, centre, colour)
                : DrawPlainText(rect, text.c_str(), count, noClip, centre, colour);
}

int CDx3DDraw::DrawCachedText(RECT rect, const char* text, int count, int noClip, int centre, DWORD colour) {
  GdiGlyphSource glyphs(window_, font_);
  const std::string description = glyphs.font_description();
  int chosen = -1;
  for (int i = 0; i < kStringCacheEntries && chosen < 0; ++i) {
    if (cache_[i].CachedString(description, text, colour)) chosen = i;
  }
  if (chosen < 0) {
    for (int i = 0; i < kStringCacheEntries && chosen < 0; ++i) {
      if (cache_[i].NoUse()) chosen = i;
    }
    if (chosen < 0) {
      chosen = 0;
      for (int i = 1; i < kStringCacheEntries; ++i) {
        if (cache_[i].Rank() > cache_[chosen].Rank()) chosen = i;
      }
    }
    if (cache_[chosen].String2Texture(device_, glyphs, description, text, colour, format_, limits_) != 0) {
      return -1;
    }
  }
  CDx3dStringCacheInfo& entry = cache_[chosen];
  const torv::TextRect area{rect.left, rect.top, rect.right, rect.bottom};
  for (const torv::CharQuad& c : entry.Grid().lay_out(area, count, noClip != 0, centre != 0, glyphs)) {
    torv::QuadSpec quad;
    quad.x = c.x;
    quad.y = c.y;
    quad.width = c.width;
    quad.height = c.height;
    quad.left_u = c.u0;
    quad.top_v = c.v0;
    quad.right_inset = 1 - c.u1;
    quad.bottom_inset = 1 - c.v1;
    DrawQuad(quad, entry.Texture(c.texture));  // the colour is the texture's; no origin: the rectangle has it
  }
  const int rank = entry.Rank();
  for (CDx3dStringCacheInfo& e : cache_) {
    if (e.Rank() < rank) e.SetRank(e.Rank() + 1);
  }
  entry.SetRank(0);
  return 0;
}

int CDx3DDraw::DrawPlainText(RECT rect, const char* text, int count, int noClip, int centre, DWORD colour) {
  torv::Image picture;
  int left = 0, top = 0;
  if (!RenderPlainText(font_, text, count, rect, noClip, centre, colour, frame_width_, frame_height_, &picture, &left,
                       &top)) {
    return 0;  // nothing that would show
  }
  // Cut like an image, so that text wider than the largest texture shows whole.
  torv::TileGrid grid;
  if (!torv::plan_tile_grid(picture.width, picture.height, limits_, &grid)) return -1;
  torv::TexturePixels pixels;
  int result = 0;
  for (int i = 0; i < grid.columns; ++i) {
    for (int j = 0; j < grid.rows; ++j) {
      IDirect3DTexture9* texture = MakeTileTexture(picture, grid, i, j, &pixels);
      if (!texture) return -1;
      // Unscaled at the tile's place; the transparent rest of the texture shows nothing.
      const torv::SourceRect src = torv::tile_source(picture.width, picture.height, grid, i, j);
      torv::QuadSpec quad;
      quad.x = left + src.left;
      quad.y = top + src.top;
      quad.width = grid.tile_width;
      quad.height = grid.tile_height;
      if (DrawQuad(quad, texture) != 0) result = -1;
      ReleaseCom(texture);  // the device keeps it until the quad is drawn
    }
  }
  return result;
}

int CDx3DDraw::ReadBack(std::vector<uint32_t>* out) const {
  if (!device_) return -1;
  IDirect3DSurface9* target = nullptr;
  if (FAILED(device_->GetRenderTarget(0, &target)) || !target) return -1;
  D3DSURFACE_DESC desc;
  target->GetDesc(&desc);
  IDirect3DSurface9* copy = nullptr;
  int result = -1;
  if (SUCCEEDED(device_->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM, &copy,
                                                    nullptr)) &&
      SUCCEEDED(device_->GetRenderTargetData(target, copy))) {
    D3DLOCKED_RECT locked;
    if (SUCCEEDED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) {
      out->assign(static_cast<size_t>(desc.Width) * desc.Height, 0);
      for (UINT y = 0; y < desc.Height; ++y) {
        const auto* row = static_cast<const uint8_t*>(locked.pBits) + static_cast<size_t>(y) * locked.Pitch;
        for (UINT x = 0; x < desc.Width; ++x) {
          uint32_t value;
          if (desc.Format == D3DFMT_R5G6B5) {
            uint16_t p;
            std::memcpy(&p, row + x * 2, 2);
            value = Expand565(p);
          } else {
            std::memcpy(&value, row + x * 4, 4);
          }
          (*out)[static_cast<size_t>(y) * desc.Width + x] = value & 0x00FFFFFF;
        }
      }
      copy->UnlockRect();
      result = 0;
    }
  }
  ReleaseCom(copy);
  target->Release();
  return result;
}
