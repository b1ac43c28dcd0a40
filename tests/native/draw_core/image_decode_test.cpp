#include "common/image_decode.h"

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

// ---- PNG fixtures, written here with libpng --------------------------------

struct PngSpec {
  int width = 7, height = 5;
  int colour_type = PNG_COLOR_TYPE_RGB_ALPHA;
  int bit_depth = 8;
  bool interlaced = false;
  std::vector<png_color> palette;
  Bytes trns_alpha;               // palette tRNS
  png_color_16 trns_colour{};     // grey / RGB tRNS
  bool has_trns_colour = false;
  // Samples of pixel (x, y) in file order (grey / GA / RGB / RGBA / index), each
  // at the file's bit depth (16-bit samples as values up to 65535).
  std::function<std::vector<int>(int x, int y)> samples;
};

void write_to_vector(png_structp png, png_bytep data, size_t n) {
  Bytes* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + n);
}

Bytes write_png(const PngSpec& s) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    ADD_FAILURE() << "libpng could not write the fixture";
    return {};
  }
  png_set_write_fn(png, &out, write_to_vector, nullptr);
  png_set_IHDR(png, info, s.width, s.height, s.bit_depth, s.colour_type,
               s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!s.palette.empty()) png_set_PLTE(png, info, s.palette.data(), int(s.palette.size()));
  if (!s.trns_alpha.empty())
    png_set_tRNS(png, info, s.trns_alpha.data(), int(s.trns_alpha.size()), nullptr);
  if (s.has_trns_colour) png_set_tRNS(png, info, nullptr, 0, &s.trns_colour);
  png_write_info(png, info);
  if (s.bit_depth < 8) png_set_packing(png);  // rows hold one byte a pixel

  const int bytes_per_sample = s.bit_depth == 16 ? 2 : 1;
  std::vector<Bytes> rows(size_t(s.height));
  std::vector<png_bytep> row_ptrs;
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x)
      for (int v : s.samples(x, y)) {
        if (bytes_per_sample == 2) rows[size_t(y)].push_back(uint8_t(v >> 8));
        rows[size_t(y)].push_back(uint8_t(v));
      }
    row_ptrs.push_back(rows[size_t(y)].data());
  }
  png_write_image(png, row_ptrs.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// Recognisable sample values per pixel.
int red(int x, int y) { return (x * 37 + y * 11) & 255; }
int green(int x, int y) { return (x * 91 + y * 5 + 5) & 255; }
int blue(int x, int y) { return (x * 53 + y * 71 + 11) & 255; }
int alpha(int x, int y) { return (x * 29 + y * 13 + 3) & 255; }

Bytes bgra(int b, int g, int r, int a) { return {uint8_t(b), uint8_t(g), uint8_t(r), uint8_t(a)}; }

Bytes pixel_at(const torv::Image& img, int x, int y) {
  const uint8_t* p = &img.pixels[(size_t(y) * size_t(img.width) + size_t(x)) * 4];
  return Bytes(p, p + 4);
}

std::vector<png_color> test_palette(int n) {
  std::vector<png_color> p;
  for (int i = 0; i < n; ++i) p.push_back(png_color{uint8_t(i * 40), uint8_t(255 - i * 7), uint8_t(i * 3 + 1)});
  return p;
}

struct PngKind {
  const char* what;
  std::function<void(PngSpec&)> setup;
  std::function<Bytes(int x, int y)> expected;
};

TEST(DecodePng, BringsEveryKindToEightBitBgra) {
  const std::vector<PngKind> kinds = {
      {"rgba 8",
       [](PngSpec& s) { s.samples = [](int x, int y) { return std::vector<int>{red(x, y), green(x, y), blue(x, y), alpha(x, y)}; }; },
       [](int x, int y) { return bgra(blue(x, y), green(x, y), red(x, y), alpha(x, y)); }},
      {"rgba 16 keeps the high byte",
       [](PngSpec& s) {
         s.bit_depth = 16;
         s.samples = [](int x, int y) {
           return std::vector<int>{red(x, y) << 8 | 0xFF, green(x, y) << 8 | 0x80, blue(x, y) << 8 | 1, alpha(x, y) << 8 | 0x7F};
         };
       },
       [](int x, int y) { return bgra(blue(x, y), green(x, y), red(x, y), alpha(x, y)); }},
      {"rgb 8 gets alpha 255",
       [](PngSpec& s) {
         s.colour_type = PNG_COLOR_TYPE_RGB;
         s.samples = [](int x, int y) { return std::vector<int>{red(x, y), green(x, y), blue(x, y)}; };
       },
       [](int x, int y) { return bgra(blue(x, y), green(x, y), red(x, y), 255); }},
      {"rgb 16",
       [](PngSpec& s) {
         s.colour_type = PNG_COLOR_TYPE_RGB;
         s.bit_depth = 16;
         s.samples = [](int x, int y) { return std::vector<int>{red(x, y) * 257, green(x, y) * 257, blue(x, y) * 257}; };
       },
       [](int x, int y) { return bgra(blue(x, y), green(x, y), red(x, y), 255); }},
      {"rgb with a tRNS colour key",
       [](PngSpec& s) {
         s.colour_type = PNG_COLOR_TYPE_RGB;
         s.has_trns_colour = true;
         s.trns_colour.red = 10, s.trns_colour.green = 20, s.trns_colour.blue = 30;
         s.samples = [](int x, int y) {
           return (x + y) % 3 == 0 ? std::vector<int>{10, 20, 30} : std::vector<int>{red(x, y), green(x, y), blue(x, y)};
         };
       },
       [](int x, int y) { return (x + y) % 3 == 0 ? bgra(30, 20, 10, 0) : bgra(blue(x, y), green(x, y), red(x, y), 255); }},
      {"grey 8",
       [](PngSpec& s) {
         s.colour_type = PNG_COLOR_TYPE_GRAY;
         s.samples = [](int x, int y) { return std::vector<int>{red(x, y)}; };
       },
       [](int x, int y) { return bgra(red(x, y), red(x, y), red(x, y), 255); }},
      {"grey 16",
       [](PngSpec& s) {
         s.colour_type = PNG_COLOR_TYPE_GRAY;
         s.bit_depth = 16;
         s.samples = [](int x, int y) { return std::vector<int>{red(x, y) << 8 | 0xC3}; };
       },
       [](int x, int y) { return bgra(red(x, y), red(x, y), red(x, y), 255); }},
      {"grey 1 bit",
       [](PngSpec& s) {
         s.colour_type = PNG_COLOR_TYPE_GRAY;
         s.bit_depth = 1;
         s.samples = [](int x, int y) { return std::vector<int>{(x + y) & 1}; };
       },
       [](int x, int y) { const int v = (x + y) & 1 ? 255 : 0; return bgra(v, v, v, 255); }},
      {"grey 2 bit",
       [](PngSpec& s) {
         s.colour_type = PNG_COLOR_TYPE_GRAY;
         s.bit_depth = 2;
         s.samples = [](int x, int y) { return std::vector<int>{(x + y) & 3}; };
       },
       [](int x, int y) { const int v = ((x + y) & 3) * 85; return bgra(v, v, v, 255); }},
      {"grey 4 bit with a tRNS grey key",
       [](PngSpec& s) {
         s.colour_type = PNG_COLOR_TYPE_GRAY;
         s.bit_depth = 4;
         s.has_trns_colour = true;
         s.trns_colour.gray = 5;
         s.samples = [](int x, int y) { return std::vector<int>{(x * 3 + y) & 15}; };
       },
       [](int x, int y) {
         const int g = (x * 3 + y) & 15;
         return bgra(g * 17, g * 17, g * 17, g == 5 ? 0 : 255);
       }},
      {"grey + alpha 8",
       [](PngSpec& s) {
         s.colour_type = PNG_COLOR_TYPE_GRAY_ALPHA;
         s.samples = [](int x, int y) { return std::vector<int>{green(x, y), alpha(x, y)}; };
       },
       [](int x, int y) { return bgra(green(x, y), green(x, y), green(x, y), alpha(x, y)); }},
      {"grey + alpha 16",
       [](PngSpec& s) {
         s.colour_type = PNG_COLOR_TYPE_GRAY_ALPHA;
         s.bit_depth = 16;
         s.samples = [](int x, int y) { return std::vector<int>{green(x, y) << 8, alpha(x, y) << 8 | 0xFF}; };
       },
       [](int x, int y) { return bgra(green(x, y), green(x, y), green(x, y), alpha(x, y)); }},
      {"palette without tRNS",
       [](PngSpec& s) {
         s.colour_type = PNG_COLOR_TYPE_PALETTE;
         s.palette = test_palette(6);
         s.samples = [](int x, int y) { return std::vector<int>{(x + 2 * y) % 6}; };
       },
       [](int x, int y) {
         const png_color c = test_palette(6)[size_t((x + 2 * y) % 6)];
         return bgra(c.blue, c.green, c.red, 255);
       }},
      {"palette with a short tRNS",
       [](PngSpec& s) {
         s.colour_type = PNG_COLOR_TYPE_PALETTE;
         s.palette = test_palette(6);
         s.trns_alpha = {0, 128, 1};  // entries 3..5 stay opaque
         s.samples = [](int x, int y) { return std::vector<int>{(x + 2 * y) % 6}; };
       },
       [](int x, int y) {
         const int i = (x + 2 * y) % 6;
         const png_color c = test_palette(6)[size_t(i)];
         const int a = i == 0 ? 0 : i == 1 ? 128 : i == 2 ? 1 : 255;
         return bgra(c.blue, c.green, c.red, a);
       }},
      {"palette 2 bit",
       [](PngSpec& s) {
         s.colour_type = PNG_COLOR_TYPE_PALETTE;
         s.bit_depth = 2;
         s.palette = test_palette(4);
         s.samples = [](int x, int y) { return std::vector<int>{(x * y) & 3}; };
       },
       [](int x, int y) {
         const png_color c = test_palette(4)[size_t((x * y) & 3)];
         return bgra(c.blue, c.green, c.red, 255);
       }},
      {"interlaced rgba, odd size",
       [](PngSpec& s) {
         s.interlaced = true;
         s.width = 13;
         s.height = 9;
         s.samples = [](int x, int y) { return std::vector<int>{red(x, y), green(x, y), blue(x, y), alpha(x, y)}; };
       },
       [](int x, int y) { return bgra(blue(x, y), green(x, y), red(x, y), alpha(x, y)); }},
      {"interlaced palette with tRNS",
       [](PngSpec& s) {
         s.interlaced = true;
         s.colour_type = PNG_COLOR_TYPE_PALETTE;
         s.palette = test_palette(6);
         s.trns_alpha = {7, 8, 9, 10, 11, 12};
         s.width = 10;
         s.height = 11;
         s.samples = [](int x, int y) { return std::vector<int>{(x + y) % 6}; };
       },
       [](int x, int y) {
         const int i = (x + y) % 6;
         const png_color c = test_palette(6)[size_t(i)];
         return bgra(c.blue, c.green, c.red, 7 + i);
       }},
  };
  for (const PngKind& k : kinds) {
    PngSpec shape;
    k.setup(shape);
    const Bytes file = write_png(shape);
    ASSERT_FALSE(file.empty()) << k.what;
    torv::Image img;
    ASSERT_EQ(torv::decode_png(file.data(), file.size(), &img), 0) << k.what;
    ASSERT_EQ(img.width, shape.width) << k.what;
    ASSERT_EQ(img.height, shape.height) << k.what;
    ASSERT_EQ(img.pixels.size(), size_t(shape.width) * size_t(shape.height) * 4) << k.what;
    for (int y = 0; y < shape.height; ++y)
      for (int x = 0; x < shape.width; ++x)
        ASSERT_EQ(pixel_at(img, x, y), k.expected(x, y)) << k.what << " at " << x << "," << y;
  }
}

// A small valid RGBA PNG to damage.
Bytes sample_png() {
  PngSpec s;
  s.samples = [](int x, int y) { return std::vector<int>{red(x, y), green(x, y), blue(x, y), alpha(x, y)}; };
  return write_png(s);
}

// The sentinel a failed decode must leave as it was.
torv::Image sentinel() {
  torv::Image img;
  img.width = 1;
  img.height = 1;
  img.pixels = {1, 2, 3, 4};
  return img;
}

void expect_rejected(const Bytes& file, const std::string& what) {
  torv::Image img = sentinel();
  EXPECT_EQ(torv::decode_image(file.data(), file.size(), &img), -1) << what;
  EXPECT_EQ(img.width, 1) << what;
  EXPECT_EQ(img.pixels, (Bytes{1, 2, 3, 4})) << what;
}

// Sets a 32-bit big-endian field of the IHDR chunk and mends its CRC, so that
// only the changed value is wrong.
Bytes with_ihdr_field(Bytes file, size_t field_offset, uint32_t value) {
  const size_t data = 8 + 8;  // signature, then length and type of IHDR
  for (int i = 0; i < 4; ++i) file[data + field_offset + size_t(i)] = uint8_t(value >> (24 - 8 * i));
  const uLong crc = crc32(0, file.data() + 12, 4 + 13);
  for (int i = 0; i < 4; ++i) file[data + 13 + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
  return file;
}

TEST(DecodePng, EveryTruncationFailsAndLeavesTheImageAlone) {
  const Bytes file = sample_png();
  torv::Image whole;
  ASSERT_EQ(torv::decode_png(file.data(), file.size(), &whole), 0);
  // Every prefix: the signature, chunk headers, chunk data and the IEND cut.
  for (size_t n = 0; n < file.size(); ++n) {
    expect_rejected(Bytes(file.begin(), file.begin() + long(n)), "prefix " + std::to_string(n));
  }
}

TEST(DecodePng, DamagedOrAbsurdFilesAreRejected) {
  const Bytes good = sample_png();
  struct Case {
    std::string what;
    Bytes file;
  };
  std::vector<Case> cases;
  Bytes bad_crc = good;
  bad_crc[29] ^= 0xFF;  // IHDR's CRC
  cases.push_back({"IHDR CRC wrong", bad_crc});
  Bytes bad_data = good;
  bad_data[bad_data.size() - 20] ^= 0x55;  // inside IDAT
  cases.push_back({"IDAT damaged", bad_data});
  Bytes bad_signature = good;
  bad_signature[1] = 'Q';
  cases.push_back({"signature damaged (taken for a BMP, which it is not)", bad_signature});
  cases.push_back({"width 0", with_ihdr_field(good, 0, 0)});
  cases.push_back({"height 0", with_ihdr_field(good, 4, 0)});
  cases.push_back({"width 16385", with_ihdr_field(good, 0, 16385)});
  cases.push_back({"height 16385", with_ihdr_field(good, 4, 16385)});
  cases.push_back({"width 2^31", with_ihdr_field(good, 0, 0x80000000u)});
  // 16384 x 16384 is allowed by size but a few hundred bytes cannot hold it:
  // refused before a gigabyte is allocated.
  cases.push_back({"16384 x 16384 claimed by a tiny file",
                   with_ihdr_field(with_ihdr_field(good, 0, 16384), 4, 16384)});
  cases.push_back({"more rows than the data hold", with_ihdr_field(good, 4, 6)});
  for (const Case& c : cases) expect_rejected(c.file, c.what);
}

TEST(DecodePng, LargestSideIsAccepted) {
  PngSpec s;
  s.width = torv::kMaxImageSide;
  s.height = 1;
  s.colour_type = PNG_COLOR_TYPE_GRAY;
  s.samples = [](int x, int) { return std::vector<int>{x & 255}; };
  const Bytes file = write_png(s);
  torv::Image img;
  ASSERT_EQ(torv::decode_png(file.data(), file.size(), &img), 0);
  EXPECT_EQ(img.width, torv::kMaxImageSide);
  EXPECT_EQ(pixel_at(img, 16383, 0), bgra(255, 255, 255, 255));
}

// ---- BMP fixtures, built byte by byte ---------------------------------------

void put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

struct BmpSpec {
  int width = 3;
  int height = 2;  // negative: top-down
  uint16_t bits = 24;
  uint32_t compression = 0;
  uint32_t info_size = 40;
  int64_t data_offset = -1;   // -1: right after the headers
  size_t gap = 0;             // bytes between the headers and the pixels
  bool drop_last_padding = false;
};

// Pixel of file row r (in file order), column x: blue = x, green = r, red = 200.
Bytes make_bmp(const BmpSpec& s) {
  const size_t headers = 14 + s.info_size;
  const size_t row = (size_t(s.width) * 3 + 3) & ~size_t{3};
  const int rows = s.height < 0 ? -s.height : s.height;
  Bytes b(std::max(headers + s.gap, size_t{54}), 0);  // a short core header still gets the fields
  b[0] = 'B';
  b[1] = 'M';
  put32(b, 10, s.data_offset < 0 ? uint32_t(headers + s.gap) : uint32_t(s.data_offset));
  put32(b, 14, s.info_size);
  put32(b, 18, uint32_t(s.width));
  put32(b, 22, uint32_t(s.height));
  b[26] = 1;
  b[28] = uint8_t(s.bits);
  b[29] = uint8_t(s.bits >> 8);
  put32(b, 30, s.compression);
  for (int r = 0; r < rows; ++r) {
    for (int x = 0; x < s.width; ++x) {
      b.push_back(uint8_t(x));
      b.push_back(uint8_t(r));
      b.push_back(200);
    }
    if (!(s.drop_last_padding && r == rows - 1))
      for (size_t p = size_t(s.width) * 3; p < row; ++p) b.push_back(0xEE);  // padding is skipped
  }
  put32(b, 2, uint32_t(b.size()));
  return b;
}

struct BmpCase {
  const char* what;
  BmpSpec shape;
};

TEST(DecodeBmp, ReadsRowsInTheirOrderAndSkipsPadding) {
  const BmpCase cases[] = {
      {"3 x 2: rows of 9 bytes plus 3 padding", {3, 2}},
      {"4 x 1: rows of exactly 12 bytes", {4, 1}},
      {"5 x 3", {5, 3}},
      {"top-down", {3, -2}},
      {"data offset 0 means right after the headers", {3, 2, 24, 0, 40, 0}},
      {"a version-4 header and a gap before the pixels", {2, 2, 24, 0, 108, -1, 6}},
      {"last row without its padding", {3, 2, 24, 0, 40, -1, 0, true}},
  };
  for (const BmpCase& c : cases) {
    const Bytes file = make_bmp(c.shape);
    torv::Image img;
    ASSERT_EQ(torv::decode_image(file.data(), file.size(), &img), 0) << c.what;
    const int rows = c.shape.height < 0 ? -c.shape.height : c.shape.height;
    ASSERT_EQ(img.width, c.shape.width) << c.what;
    ASSERT_EQ(img.height, rows) << c.what;
    for (int y = 0; y < rows; ++y)
      for (int x = 0; x < c.shape.width; ++x) {
        // Bottom-up files: the last file row is the top of the image.
        const int file_row = c.shape.height < 0 ? y : rows - 1 - y;
        ASSERT_EQ(pixel_at(img, x, y), bgra(x, file_row, 200, 255)) << c.what << " at " << x << "," << y;
      }
  }
}

TEST(DecodeBmp, RejectsWhatItCannotReadWholly) {
  std::vector<std::pair<std::string, Bytes>> cases;
  auto add = [&](const char* what, BmpSpec s) { cases.push_back({what, make_bmp(s)}); };
  add("32 bits a pixel", {3, 2, 32});
  add("8 bits a pixel", {3, 2, 8});
  add("RLE compression", {3, 2, 24, 1});
  add("OS/2 core header", {3, 2, 24, 0, 12});
  add("width 0", {0, 2});
  add("height 0", {3, 0});
  add("width 16385", {16385, 1});
  add("data offset inside the headers", {3, 2, 24, 0, 40, 20});
  add("data offset past the end", {3, 2, 24, 0, 40, 5000});
  Bytes short_rows = make_bmp({3, 2, 24, 0, 40, -1, 0, true});
  short_rows.pop_back();
  cases.push_back({"rows run past the data by one byte", short_rows});
  Bytes huge = make_bmp({3, 2});
  put32(huge, 18, 16384);
  put32(huge, 22, 16384);
  cases.push_back({"16384 x 16384 claimed by a few bytes", huge});
  Bytes negative = make_bmp({3, 2});
  put32(negative, 18, uint32_t(-3));
  cases.push_back({"negative width", negative});
  Bytes tall = make_bmp({3, 2});
  put32(tall, 22, uint32_t(-16385));
  cases.push_back({"top-down beyond the largest side", tall});
  Bytes min_height = make_bmp({3, 2});
  put32(min_height, 22, 0x80000000u);
  cases.push_back({"height INT_MIN", min_height});
  cases.push_back({"53 bytes without PNG signature", Bytes(53, 'B')});
  cases.push_back({"empty", Bytes()});
  for (const auto& c : cases) expect_rejected(c.second, c.first);
}

TEST(LoadImageFile, ReadsAndDecodesAFileAndFailsOnAMissingOne) {
  const Bytes png = sample_png();
  const std::string path = ::testing::TempDir() + "torv_load_image_file.png";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  ASSERT_EQ(std::fwrite(png.data(), 1, png.size(), f), png.size());
  std::fclose(f);
  torv::Image img;
  EXPECT_EQ(torv::load_image_file(path.c_str(), &img), 0);
  EXPECT_EQ(img.width, 7);
  EXPECT_EQ(pixel_at(img, 2, 3), bgra(blue(2, 3), green(2, 3), red(2, 3), alpha(2, 3)));
  std::remove(path.c_str());
  torv::Image untouched = sentinel();
  EXPECT_EQ(torv::load_image_file(path.c_str(), &untouched), -1);
  EXPECT_EQ(untouched.pixels, (Bytes{1, 2, 3, 4}));
  EXPECT_EQ(torv::load_image_file(nullptr, &untouched), -1);
}

TEST(PngSignature, ComparedOverTheBytesPresent) {
  const uint8_t sig[8] = {137, 80, 78, 71, 13, 10, 26, 10};
  EXPECT_TRUE(torv::has_png_signature(sig, 8));
  EXPECT_TRUE(torv::has_png_signature(sig, 3));
  const uint8_t bm[8] = {'B', 'M', 0, 0, 0, 0, 0, 0};
  EXPECT_FALSE(torv::has_png_signature(bm, 8));
}

}  // namespace
