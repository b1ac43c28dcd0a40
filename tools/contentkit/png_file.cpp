// PNG reading and writing for the content tools through libpng's simplified API.
#include <png.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/contentkit/image.h"

namespace contentkit {

std::string write_png(const std::string& path, const Image& img, bool with_alpha) {
  if (img.empty()) return path + ": refusing to write an empty image";
  png_image desc;
  std::memset(&desc, 0, sizeof desc);
  desc.version = PNG_IMAGE_VERSION;
  desc.width = static_cast<png_uint_32>(img.width());
  desc.height = static_cast<png_uint_32>(img.height());
  desc.format = with_alpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  std::vector<uint8_t> rows;
  const int channels = with_alpha ? 4 : 3;
  rows.reserve(static_cast<size_t>(img.width()) * img.height() * channels);
  for (const Rgba& c : img.pixels()) {
    rows.push_back(c.r);
    rows.push_back(c.g);
    rows.push_back(c.b);
    if (with_alpha) rows.push_back(c.a);
  }
  // Written to a side file first so a failed write never leaves a truncated PNG
  // that a later build step would take for a finished one.
  const std::string temp = path + ".part";
  if (!png_image_write_to_file(&desc, temp.c_str(), 0, rows.data(), 0, nullptr)) {
    std::string message = path + ": " + desc.message;
    png_image_free(&desc);
    std::remove(temp.c_str());
    return message;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return path + ": cannot replace the file";
  }
  return "";
}

std::string read_png(const std::string& path, Image& out) {
  png_image desc;
  std::memset(&desc, 0, sizeof desc);
  desc.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&desc, path.c_str())) return path + ": " + desc.message;
  desc.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> buffer(PNG_IMAGE_SIZE(desc));
  if (!png_image_finish_read(&desc, nullptr, buffer.data(), 0, nullptr)) {
    std::string message = path + ": " + desc.message;
    png_image_free(&desc);
    return message;
  }
  Image img(static_cast<int>(desc.width), static_cast<int>(desc.height));
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const uint8_t* p = &buffer[(static_cast<size_t>(y) * img.width() + x) * 4];
      img.at(x, y) = Rgba{p[0], p[1], p[2], p[3]};
    }
  out = std::move(img);
  return "";
}

}  // namespace contentkit
