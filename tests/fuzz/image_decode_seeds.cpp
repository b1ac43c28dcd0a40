// Writes starting inputs for fuzz_image_decode into the folder given: small PNGs
// of each kind libpng's simplified writer makes, and a 24-bit BMP.
#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool save(const std::string& path, const void* data, size_t size) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data, 1, size, f) == size;
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: image_decode_seeds DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  const struct {
    const char* name;
    png_uint_32 format;
  } kinds[] = {{"grey", PNG_FORMAT_GRAY},         {"grey_alpha", PNG_FORMAT_GA},
               {"rgb", PNG_FORMAT_RGB},           {"rgba", PNG_FORMAT_RGBA},
               {"grey16", PNG_FORMAT_LINEAR_Y},   {"rgba16", PNG_FORMAT_LINEAR_RGB_ALPHA},
               {"palette", PNG_FORMAT_RGBA | PNG_FORMAT_FLAG_COLORMAP}};
  for (const auto& k : kinds) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = 5;
    image.height = 3;
    image.format = k.format;
    if (k.format & PNG_FORMAT_FLAG_COLORMAP) image.colormap_entries = 4;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(image));
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = png_byte(i * 37 % 251);
    std::vector<png_byte> colormap(PNG_IMAGE_COLORMAP_SIZE(image));
    if (k.format & PNG_FORMAT_FLAG_COLORMAP) {
      for (size_t i = 0; i < colormap.size(); ++i) colormap[i] = png_byte(i * 53);
      for (png_byte& p : pixels) p = png_byte(p % 4);
    }
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(image, size, 0, pixels.data(), 0, colormap.data())) return 1;
    std::vector<png_byte> out(size);
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, pixels.data(), 0, colormap.data()))
      return 1;
    if (!save(dir + "/" + k.name + ".png", out.data(), size)) return 1;
  }

  // 3 x 2, 24 bits, bottom-up: rows of 9 bytes plus 3 of padding.
  std::vector<unsigned char> bmp(54 + 2 * 12, 0);
  bmp[0] = 'B';
  bmp[1] = 'M';
  bmp[10] = 54;
  bmp[14] = 40;
  bmp[18] = 3;
  bmp[22] = 2;
  bmp[26] = 1;
  bmp[28] = 24;
  for (size_t i = 54; i < bmp.size(); ++i) bmp[i] = (unsigned char)(i * 7);
  if (!save(dir + "/rgb.bmp", bmp.data(), bmp.size())) return 1;
  return 0;
}
