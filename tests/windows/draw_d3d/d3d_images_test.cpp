// The device and the image store: texture formats and sizes, tiles of images
// larger than the largest texture, slots, re-creates, archive loads, restore.
#include <iterator>
#include <memory>
#include <set>

#include "archive/tam_archive_create.h"
#include "tests/windows/draw_d3d/d3d_fixture.h"

namespace d3dtest {
namespace {

// Every tile names a live texture of the list, no two tiles the same one, and no
// texture is left without a tile.
::testing::AssertionResult TextureListHolds(const CDx3DDraw& d) {
  std::set<int> seen;
  for (int s = 0; s < d.ImageCount(); ++s) {
    for (int t : d.Image(s)->tile_texture) {
      if (t < 0 || t >= d.TextureCount()) return ::testing::AssertionFailure() << "slot " << s << " names texture " << t;
      if (!seen.insert(t).second) return ::testing::AssertionFailure() << "texture " << t << " shared";
    }
  }
  if (static_cast<int>(seen.size()) != d.TextureCount()) {
    return ::testing::AssertionFailure() << seen.size() << " of " << d.TextureCount() << " textures used";
  }
  return ::testing::AssertionSuccess();
}

std::vector<char> Garbage() { return std::vector<char>(40, 'x'); }

class D3dDevice : public D3dTest {
protected:
  // Text in colour from the rectangle's top-left, through the cache or not.
  int Text(RECT rect, DWORD colour, int cached, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int result = d.DrawTextV(rect, -1, colour, 0, 0, cached, format, args);
    va_end(args);
    return result;
  }
};

TEST_F(D3dDevice, StartsWithThirtyTwoOrSixteenBitTextures) {
  const struct {
    bool force16;
    torv::TextureFormat format;
  } cases[] = {{false, torv::TextureFormat::kA8R8G8B8}, {true, torv::TextureFormat::kA4R4G4B4}};
  for (const auto& c : cases) {
    ASSERT_EQ(d.Init(RendererWindow(), kWidth, kHeight, c.force16), 0);
    EXPECT_EQ(d.TextureFormat(), c.format);
    EXPECT_GE(d.MaxTextureWidth(), 2048);
    EXPECT_GE(d.MaxTextureHeight(), 2048);
    EXPECT_EQ(d.ImageCount(), 0);
    const Frame cleared = Show([] {});
    EXPECT_EQ(LitPixels(cleared), 0);
  }
}

TEST_F(D3dDevice, ImagesGetTheSmallestPowerOfTwoTexture) {
  const struct {
    int w, h, limit, tex_w, tex_h;
  } cases[] = {{1, 1, 0, 2, 2}, {2, 2, 0, 2, 2}, {100, 37, 0, 128, 64}, {256, 256, 256, 256, 256}, {3, 200, 0, 4, 256}};
  for (const auto& c : cases) {
    d.SetTextureLimitCap(torv::TextureLimits(c.limit, c.limit));
    ASSERT_EQ(d.Init(RendererWindow(), kWidth, kHeight, false), 0);
    const int slot = Load(Distinct(c.w, c.h));
    ASSERT_EQ(slot, 0) << c.w << "x" << c.h;
    const TextureImage* image = d.Image(slot);
    EXPECT_EQ(image->grid.count(), 1);
    EXPECT_EQ(image->grid.tile_width, c.tex_w) << c.w << "x" << c.h;
    EXPECT_EQ(image->grid.tile_height, c.tex_h) << c.w << "x" << c.h;
    EXPECT_EQ(d.TextureCount(), 1);
    EXPECT_EQ(d.GetImageWidth(slot), c.w);
    EXPECT_EQ(d.GetImageHeight(slot), c.h);
  }
}

TEST_F(D3dDevice, ImageLargerThanTheLargestTextureIsTiled) {
  d.SetTextureLimitCap(torv::TextureLimits(256, 256));
  ASSERT_EQ(d.Init(RendererWindow(), kWidth, kHeight, false), 0);
  EXPECT_EQ(d.MaxTextureWidth(), 256);
  const torv::CheckImage picture = Distinct(300, 200);
  const int slot = Load(picture);
  ASSERT_EQ(slot, 0);
  const TextureImage* image = d.Image(slot);
  EXPECT_EQ(image->grid.columns, 2);
  EXPECT_EQ(image->grid.rows, 1);
  EXPECT_EQ(image->grid.tile_width, 256);
  EXPECT_EQ(image->grid.tile_height, 256);
  EXPECT_DOUBLE_EQ(image->tile_x_scale[0], 1.0);
  EXPECT_DOUBLE_EQ(image->tile_x_scale[1], 256.0 / 44);
  EXPECT_DOUBLE_EQ(image->tile_y_scale[0], 256.0 / 200);
  EXPECT_DOUBLE_EQ(image->tile_y_scale[1], 256.0 / 200);
  EXPECT_EQ(d.TextureCount(), 2);
  // Drawn whole and in detail across the seam, it shows no trace of the cut.
  Frame expected(static_cast<size_t>(kWidth) * kHeight, 0);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) expected[static_cast<size_t>(y + 5) * kWidth + x + 7] = RgbOf(picture.at(x, y));
  EXPECT_TRUE(SameFrame(Show([&] { d.DrawImage(slot, 7, 5, 300, 200, 100); }), expected));
  Frame detail(expected.size(), 0);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 40; ++x) detail[static_cast<size_t>(y + 5) * kWidth + x + 7] = RgbOf(picture.at(236 + x, 150 + y));
  EXPECT_TRUE(SameFrame(Show([&] { d.DrawImageDetail(slot, 236, 150, 7, 5, 40, 20, 100); }), detail));
}

// A device with small textures and strict rules (as the cap makes the renderer
// keep to them, a texture outside them is refused as such a device would) loads
// every image, of any size and shape, and draws it and text as a large device does.
TEST_F(D3dDevice, EveryImageAndTextFitsADeviceWithSmallSquareTextures) {
  const struct {
    int w, h, x, y;
  } images[] = {{640, 480, 0, 0}, {300, 200, 0, 0}, {3, 200, 620, 10}, {100, 37, 400, 300}, {1, 1, 639, 479},
                {700, 20, 10, 440}, {20, 470, 500, 5}};
  auto scene = [&] {
    return Show([&] {
      for (int s = 0; s < d.ImageCount(); ++s) {
        EXPECT_EQ(d.DrawImage(s, images[s].x, images[s].y, images[s].w, images[s].h, 100), 0);
      }
      // Across the seams of the 640 x 480 image's tiles.
      EXPECT_EQ(d.DrawImageDetail(0, 200, 200, 30, 250, 120, 100, 100), 0);
      const char* line = "a line of text wider than the largest texture of a small device: 0123456789";
      EXPECT_EQ(Text(RECT{5, 400, 640, 430}, 0xFFFFFFFF, 0, "plain: %s", line), 0);
      EXPECT_EQ(Text(RECT{5, 370, 640, 400}, 0xFFFFFF40, 1, "cached: %s", line), 0);
    });
  };
  auto load_all = [&] {
    for (const auto& image : images) ASSERT_GE(Load(Distinct(image.w, image.h)), 0) << image.w << "x" << image.h;
  };
  load_all();
  const torv::TextureLimits device = d.TextureLimits();
  const Frame large = scene();
  ASSERT_GT(LitPixels(large), 290000);

  const torv::TextureLimits caps[] = {torv::TextureLimits(256, 256, true, 1, true), torv::TextureLimits(256, 256, false, 2, true), torv::TextureLimits(512, 512, true, 0, false),
                                      torv::TextureLimits(256, 256, false, 0, false)};
  for (const torv::TextureLimits& cap : caps) {
    d.SetTextureLimitCap(cap);
    ASSERT_EQ(d.Init(RendererWindow(), kWidth, kHeight, false), 0);
    EXPECT_EQ(d.TextureLimits().max_width, cap.max_width);
    EXPECT_EQ(d.TextureLimits().square_only, cap.square_only);
    EXPECT_EQ(d.TextureLimits().max_aspect, cap.max_aspect ? cap.max_aspect : device.max_aspect);
    EXPECT_EQ(d.TextureLimits().pow2, cap.pow2);
    load_all();
    ASSERT_EQ(d.ImageCount(), static_cast<int>(std::size(images)));
    for (int s = 0; s < d.ImageCount(); ++s) {
      const torv::TileGrid& grid = d.Image(s)->grid;
      EXPECT_TRUE(torv::texture_size_allowed(grid.tile_width, grid.tile_height, d.TextureLimits()))
          << "slot " << s << ": " << grid.tile_width << "x" << grid.tile_height;
    }
    EXPECT_EQ(d.Image(0)->grid.count(), cap.max_width == 512 ? 2 : 6);
    EXPECT_TRUE(SameFrame(scene(), large)) << cap.max_width << (cap.square_only ? " square" : "");
    EXPECT_TRUE(TextureListHolds(d));
  }
}

TEST_F(D3dDevice, TextureCapVariableLowersTheLimitsOfAnyInit) {
  const struct {
    const char* value;
    int side, aspect;
    bool square;
  } cases[] = {{"256,square,aspect=1", 256, 1, true}, {"1024x512", 512, 0, false}, {"not a cap", 0, 0, false}};
  const torv::TextureLimits device = d.TextureLimits();
  for (const auto& c : cases) {
    ASSERT_TRUE(SetEnvironmentVariableA(CDx3DDraw::kTextureCapVariable, c.value));
    const int started = d.Init(RendererWindow(), kWidth, kHeight, false);
    SetEnvironmentVariableA(CDx3DDraw::kTextureCapVariable, nullptr);
    ASSERT_EQ(started, 0) << c.value;
    const torv::TextureLimits& limits = d.TextureLimits();
    EXPECT_EQ(limits.max_height, c.side ? c.side : device.max_height) << c.value;
    EXPECT_EQ(limits.max_aspect, c.aspect ? c.aspect : device.max_aspect) << c.value;
    EXPECT_EQ(limits.square_only, c.square) << c.value;
  }
}

TEST_F(D3dDevice, SlotsAreHandedOutInOrderAndFailuresUseNone) {
  EXPECT_EQ(Load(Distinct(4, 4)), 0);
  std::vector<char> junk = Garbage();
  int slot = 99;
  EXPECT_EQ(d.CreateImageLoadFromMemory(&slot, junk.data(), static_cast<int>(junk.size())), -1);
  EXPECT_EQ(slot, 99);
  EXPECT_EQ(d.CreateImageLoadFromFile(&slot, "C:\\no\\such\\picture.png"), -1);
  EXPECT_EQ(Load(Distinct(5, 6)), 1);
  EXPECT_EQ(Load(Distinct(7, 8)), 2);
  EXPECT_EQ(d.ImageCount(), 3);
  EXPECT_EQ(d.GetImageWidth(-1), -1);
  EXPECT_EQ(d.GetImageHeight(3), -1);
  const RECT r = d.GetImageRect(1);
  EXPECT_EQ(r.right, 5);
  EXPECT_EQ(r.bottom, 6);
  std::vector<uint8_t> png = Png(Distinct(9, 9));
  std::vector<char> bytes(png.begin(), png.end());
  EXPECT_EQ(d.CreateImageLoadFromMemory(nullptr, bytes.data(), static_cast<int>(bytes.size())), 0);  // no slot wanted
  EXPECT_EQ(d.ReCreateImageLoadFromMemory(0, bytes.data(), static_cast<int>(bytes.size())), 0);
  EXPECT_EQ(d.GetImageWidth(0), 9);
  EXPECT_EQ(d.ReCreateImageLoadFromMemory(d.ImageCount(), bytes.data(), static_cast<int>(bytes.size())), -1);
  EXPECT_EQ(d.ReCreateImageLoadFromMemory(-1, bytes.data(), static_cast<int>(bytes.size())), -1);
  EXPECT_TRUE(TextureListHolds(d));
}

TEST_F(D3dDevice, ReCreateMovesLaterTextureIndicesDownAndKeepsTheSlot) {
  d.SetTextureLimitCap(torv::TextureLimits(256, 256));
  ASSERT_EQ(d.Init(RendererWindow(), kWidth, kHeight, false), 0);
  ASSERT_EQ(Load(Distinct(300, 200)), 0);  // two textures
  ASSERT_EQ(Load(Distinct(10, 10)), 1);
  ASSERT_EQ(Load(Distinct(20, 10)), 2);
  const std::vector<int> before1 = d.Image(1)->tile_texture, before2 = d.Image(2)->tile_texture;
  std::vector<uint8_t> png = Png(Distinct(30, 30));
  std::vector<char> bytes(png.begin(), png.end());
  ASSERT_EQ(d.ReCreateImageLoadFromMemory(0, bytes.data(), static_cast<int>(bytes.size())), 0);
  EXPECT_EQ(d.Image(1)->tile_texture[0], before1[0] - 2);
  EXPECT_EQ(d.Image(2)->tile_texture[0], before2[0] - 2);
  EXPECT_EQ(d.Image(0)->tile_texture[0], d.TextureCount() - 1);  // the new texture is last
  EXPECT_EQ(d.TextureCount(), 3);
  EXPECT_EQ(d.GetImageWidth(0), 30);
  EXPECT_TRUE(TextureListHolds(d));
}

TEST_F(D3dDevice, FailedReCreateKeepsTheOldPicture) {
  const torv::CheckImage picture = Distinct(16, 16);
  const int slot = Load(picture);
  const Frame before = Show([&] { d.DrawImage(slot, 0, 0, 16, 16, 100); });
  std::vector<char> junk = Garbage();
  EXPECT_EQ(d.ReCreateImageLoadFromMemory(slot, junk.data(), static_cast<int>(junk.size())), -1);
  EXPECT_EQ(d.ReCreateImageLoadFromFile(slot, "C:\\no\\such\\picture.png"), -1);
  EXPECT_TRUE(SameFrame(Show([&] { d.DrawImage(slot, 0, 0, 16, 16, 100); }), before));
  EXPECT_TRUE(TextureListHolds(d));
}

TEST_F(D3dDevice, WithoutADeviceCreatesFailAndUseNoSlot) {
  const int slot = Load(Distinct(8, 8));
  ASSERT_EQ(slot, 0);
  d.Terminate();  // the records stay, their textures are gone
  std::vector<uint8_t> png = Png(Distinct(9, 9));
  std::vector<char> bytes(png.begin(), png.end());
  int fresh = -1;
  EXPECT_EQ(d.CreateImageLoadFromMemory(&fresh, bytes.data(), static_cast<int>(bytes.size())), -1);
  EXPECT_EQ(fresh, -1);
  EXPECT_EQ(d.ImageCount(), 1);
  EXPECT_EQ(d.ReCreateImageLoadFromMemory(slot, bytes.data(), static_cast<int>(bytes.size())), -1);
  EXPECT_EQ(d.GetImageWidth(slot), 8);
  EXPECT_EQ(d.TextureCount(), 0);
}

TEST_F(D3dDevice, ArchiveMembersAndTheirCodes) {
  TempDir dir;
  CTamArchiveCreate writer;
  const std::vector<uint8_t> tile = Png(Distinct(24, 24)), broken(30, 7);
  ASSERT_EQ(writer.AddMemory(tile.data(), static_cast<int>(tile.size()), "tile.png"), 0);
  ASSERT_EQ(writer.AddMemory(broken.data(), static_cast<int>(broken.size()), "broken.png"), 0);
  const std::string archive = dir.File("dat.tfa");
  ASSERT_EQ(writer.SaveArchive(archive.c_str()), 0);
  const std::string nothing = dir.File("none.tfa");
  const struct {
    const char* member;
    std::string archive;
    int create, recreate;  // a missing member fails a re-create with -1
  } cases[] = {
      {"tile.png", archive, 0, 0},
      {"TILE.PNG", archive, 0, 0},
      {"missing.png", archive, -2, -1},
      {"broken.png", archive, -1, -1},
      {"tile.png", nothing, -1, -1},
  };
  for (const auto& c : cases) {
    int slot = -1;
    const int count = d.ImageCount();
    EXPECT_EQ(d.CreateImageLoadFromExpTfaFile(&slot, c.member, c.archive.c_str()), c.create) << c.member;
    EXPECT_EQ(d.ImageCount(), count + (c.create == 0));
    EXPECT_EQ(d.ReCreateImageLoadFromExpTfaFile(0, c.member, c.archive.c_str()), c.recreate) << c.member;
  }
  EXPECT_EQ(d.ReCreateImageLoadFromExpTfaFile(d.ImageCount(), "tile.png", archive.c_str()), -1);
  EXPECT_EQ(d.Image(0)->name, "TILE.PNG");
  EXPECT_EQ(d.Image(0)->archive, archive);
  // Without the archive library (gone with the device), both forms answer -2,
  // the re-create before it looks at the slot.
  d.Terminate();
  int slot = -1;
  EXPECT_EQ(d.CreateImageLoadFromExpTfaFile(&slot, "tile.png", archive.c_str()), -2);
  EXPECT_EQ(d.ReCreateImageLoadFromExpTfaFile(77, "tile.png", archive.c_str()), -2);
}

IDirect3D9* WINAPI NoDirect3D(UINT) { return nullptr; }

// Images of every source, one of them tiled, and a cached string: the frame
// that shows them all.
class D3dRestore : public D3dTest {
protected:
  void SetUp() override {
    d.SetTextureLimitCap(torv::TextureLimits(256, 256));
    D3dTest::SetUp();
    CTamArchiveCreate writer;
    const std::vector<uint8_t> member = Png(Distinct(40, 30));
    ASSERT_EQ(writer.AddMemory(member.data(), static_cast<int>(member.size()), "member.png"), 0);
    archive_ = dir_.File("restore.tfa");
    ASSERT_EQ(writer.SaveArchive(archive_.c_str()), 0);
    dir_.Write("file.png", Png(torv::make_sprite()));
    const std::string file = dir_.File("file.png");
    {
      // A memory load whose caller frees its data straight away.
      const std::vector<uint8_t> png = Png(torv::make_plate());
      auto data = std::make_unique<char[]>(png.size());
      std::copy(png.begin(), png.end(), data.get());
      int slot = -1;
      ASSERT_EQ(d.CreateImageLoadFromMemory(&slot, data.get(), static_cast<int>(png.size())), 0);
      std::fill(data.get(), data.get() + png.size(), 0);
    }
    int slot = -1;
    ASSERT_EQ(d.CreateImageLoadFromFile(&slot, file.c_str()), 0);
    ASSERT_EQ(d.CreateImageLoadFromExpTfaFile(&slot, "member.png", archive_.c_str()), 0);
    ASSERT_EQ(Load(Distinct(300, 200)), 3);
    ASSERT_EQ(d.SetFont("MS Gothic", 20), 0);
  }
  Frame Scene() {
    return Show([&] {
      for (int s = 0; s < d.ImageCount(); ++s) EXPECT_EQ(d.DrawImage(s, 10 + 150 * s, 10 + 40 * s, 100, 50, 100), 0);
      d.DrawImage(3, 300, 250, 300, 200, 100);
      RECT rect = {20, 400, 600, 460};
      EXPECT_EQ(Text(rect, "restore \x95\x5C 123"), 0);
    });
  }
  int Text(RECT rect, const char* format, ...) {
    va_list args;
    va_start(args, format);
    const int result = d.DrawTextV(rect, -1, 0xFFFFFF80, 0, 0, 1, format, args);
    va_end(args);
    return result;
  }

  TempDir dir_;
  std::string archive_;
};

TEST_F(D3dRestore, EverySlotDrawsTheSameImageAfterARestore) {
  const Frame before = Scene();
  ASSERT_GT(LitPixels(before), 50000);
  const int textures = d.TextureCount();
  ASSERT_EQ(d.Restore(), 0);
  EXPECT_FALSE(d.RestorePending());
  EXPECT_EQ(d.ImageCount(), 4);
  EXPECT_EQ(d.TextureCount(), textures);
  EXPECT_EQ(d.MaxTextureWidth(), 256);
  EXPECT_TRUE(TextureListHolds(d));
  EXPECT_TRUE(SameFrame(Scene(), before));
}

TEST_F(D3dRestore, RestoreThatFindsNoDeviceKeepsTheImagesAndTriesAgainAtEndDraw) {
  const Frame before = Scene();
  d.SetDirect3DCreate(&NoDirect3D);
  EXPECT_EQ(d.Restore(), -1);
  EXPECT_TRUE(d.RestorePending());
  EXPECT_EQ(d.ImageCount(), 4);
  EXPECT_EQ(d.GetImageWidth(0), 100);
  EXPECT_EQ(d.GetImageHeight(3), 200);
  EXPECT_EQ(d.BeginDraw(0, 0), -1);
  EXPECT_EQ(d.DrawImage(0, 0, 0, 10, 10, 100), -1);
  EXPECT_EQ(d.EndDraw(), -1);  // tried again, still no device
  EXPECT_TRUE(d.RestorePending());
  d.SetDirect3DCreate(&Direct3DCreate9);
  EXPECT_EQ(d.EndDraw(), 0);
  EXPECT_FALSE(d.RestorePending());
  EXPECT_TRUE(TextureListHolds(d));
  EXPECT_TRUE(SameFrame(Scene(), before));
}

TEST_F(D3dRestore, SlotWhoseFileIsGoneKeepsItsNumber) {
  // The file behind slot 1 disappears; after the restore it draws nothing, and
  // the slots after it keep their numbers and pictures.
  const Frame before = Scene();
  DeleteFileA(d.Image(1)->name.c_str());
  ASSERT_EQ(d.Restore(), 0);
  EXPECT_EQ(d.ImageCount(), 4);
  EXPECT_EQ(d.GetImageWidth(1), 32);
  const Frame after = Scene();
  size_t differ = 0;
  for (size_t i = 0; i < after.size(); ++i) differ += after[i] != before[i];
  EXPECT_GT(differ, 0u);
  // Slot 2 (the archive member) is unchanged at its place.
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) {
      const size_t i = static_cast<size_t>(90 + y) * kWidth + 310 + x;
      ASSERT_EQ(after[i], before[i]) << x << "," << y;
    }
}

}  // namespace
}  // namespace d3dtest
