// The DIB renderer's image store through the front-end: loads from file, memory and
// ".tfa" archive members, slot numbering, failure codes and re-creates.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/tam_archive_create.h"
#include "tests/windows/draw/draw_fixture.h"

namespace drawtest {
namespace {

using Bytes = std::vector<uint8_t>;

char* Data(Bytes& b) { return reinterpret_cast<char*>(b.data()); }
int Size(const Bytes& b) { return static_cast<int>(b.size()); }

class DibImages : public DibTest {
protected:
  void SetUp() override {
    DibTest::SetUp();
    plate_png = Png(torv::make_plate(), false);
    sprite_png = Png(torv::make_sprite(), true);
    tile_bmp = Bmp(torv::make_tile());
  }
  // The slots' sizes as the front-end reports them, in slot order, up to the first -1.
  std::vector<std::pair<int, int>> SlotSizes() {
    std::vector<std::pair<int, int>> sizes;
    for (int slot = 0; fe.GetImageWidth(slot) != -1; ++slot) {
      sizes.emplace_back(fe.GetImageWidth(slot), fe.GetImageHeight(slot));
    }
    return sizes;
  }

  Bytes plate_png, sprite_png, tile_bmp;
};

using Sizes = std::vector<std::pair<int, int>>;

TEST_F(DibImages, SlotsCountSuccessfulCreatesOnly) {
  TempDir dir;
  dir.Write("tile.bmp", tile_bmp);
  dir.Write("sprite.png", sprite_png);
  Bytes not_an_image(53, 'x');  // too short for a BMP and no PNG signature
  Bytes cut_png(plate_png.begin(), plate_png.begin() + plate_png.size() / 2);
  int slot = -5;
  EXPECT_EQ(fe.CreateImageLoadFromFile(&slot, dir.File("tile.bmp").c_str()), 0);
  EXPECT_EQ(slot, 0);
  EXPECT_EQ(fe.CreateImageLoadFromFile(&slot, dir.File("missing.png").c_str()), -1);
  EXPECT_EQ(fe.CreateImageLoadFromMemory(&slot, Data(not_an_image), Size(not_an_image)), -1);
  EXPECT_EQ(fe.CreateImageLoadFromMemory(&slot, Data(cut_png), Size(cut_png)), -1);
  EXPECT_EQ(fe.CreateImageLoadFromMemory(&slot, Data(plate_png), 0), -1);
  EXPECT_EQ(slot, 0) << "a failed create leaves the slot argument alone";
  EXPECT_EQ(fe.CreateImageLoadFromMemory(&slot, Data(plate_png), Size(plate_png)), 0);
  EXPECT_EQ(slot, 1) << "failures used no number";
  EXPECT_EQ(fe.CreateImageLoadFromFile(&slot, dir.File("sprite.png").c_str()), 0);
  EXPECT_EQ(slot, 2);
  EXPECT_EQ(SlotSizes(), (Sizes{{24, 24}, {100, 50}, {32, 32}}));
  EXPECT_EQ(fe.GetImageWidth(-1), -1);
  EXPECT_EQ(fe.GetImageHeight(3), -1);
  const RECT r = fe.GetImageRect(1);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 100);
  EXPECT_EQ(r.bottom, 50);
  EXPECT_EQ(fe.GetImageRect(3).right, -1);
}

TEST_F(DibImages, AbsurdOrDamagedImagesFailWithoutAPartialImage) {
  // A BMP whose rows run past its data, and one that claims 20000 pixels a side.
  Bytes short_bmp = tile_bmp;
  short_bmp.resize(short_bmp.size() - 100);
  Bytes huge_bmp = tile_bmp;
  huge_bmp[18] = 0x20;  // width 20000 = 0x4E20
  huge_bmp[19] = 0x4E;
  // A PNG whose image data is damaged (libpng rejects it by its CRC).
  Bytes bad_png = plate_png;
  bad_png[bad_png.size() / 2] ^= 0x55;
  for (Bytes* bad : {&short_bmp, &huge_bmp, &bad_png}) {
    int slot = -5;
    EXPECT_EQ(fe.CreateImageLoadFromMemory(&slot, Data(*bad), Size(*bad)), -1);
    EXPECT_EQ(slot, -5);
  }
  EXPECT_EQ(SlotSizes(), Sizes{});
}

TEST_F(DibImages, ReCreateReplacesInPlaceAndKeepsTheOldImageOnFailure) {
  TempDir dir;
  dir.Write("plate.png", plate_png);
  int slot = -1;
  ASSERT_EQ(fe.CreateImageLoadFromMemory(&slot, Data(tile_bmp), Size(tile_bmp)), 0);
  ASSERT_EQ(fe.CreateImageLoadFromMemory(&slot, Data(tile_bmp), Size(tile_bmp)), 0);
  EXPECT_EQ(fe.ReCreateImageLoadFromFile(0, dir.File("plate.png").c_str()), 0);
  EXPECT_EQ(fe.ReCreateImageLoadFromMemory(1, Data(sprite_png), Size(sprite_png)), 0);
  EXPECT_EQ(SlotSizes(), (Sizes{{100, 50}, {32, 32}})) << "same slots, new pictures, no new slot";
  Bytes junk(60, 0);
  EXPECT_EQ(fe.ReCreateImageLoadFromMemory(0, Data(junk), Size(junk)), -1);
  EXPECT_EQ(fe.ReCreateImageLoadFromFile(1, dir.File("gone.png").c_str()), -1);
  for (int bad_slot : {-1, 2, 5}) {
    EXPECT_EQ(fe.ReCreateImageLoadFromMemory(bad_slot, Data(tile_bmp), Size(tile_bmp)), -1) << bad_slot;
    EXPECT_EQ(fe.ReCreateImageLoadFromFile(bad_slot, dir.File("plate.png").c_str()), -1) << bad_slot;
  }
  EXPECT_EQ(SlotSizes(), (Sizes{{100, 50}, {32, 32}}));
  // The replaced picture is what is drawn.
  Model expected;
  expected.DrawScaled(torv::make_sprite(), 10, 10, 32, 32, 100);
  EXPECT_TRUE(SameFrame(Show([&] { fe.DrawImage(1, 10, 10, 32, 32, 100); }), expected.frame));
}

TEST_F(DibImages, ArchiveMembersLoadByTitleWithTheirCodes) {
  TempDir dir;
  CTamArchiveCreate writer;
  Bytes broken(300, 0x42);
  ASSERT_EQ(writer.AddMemory(plate_png.data(), Size(plate_png), "plate.png"), 0);
  ASSERT_EQ(writer.AddMemory(tile_bmp.data(), Size(tile_bmp), "tile.bmp"), 0);
  ASSERT_EQ(writer.AddMemory(broken.data(), Size(broken), "broken.png"), 0);
  const std::string archive = dir.File("dat.tfa");
  ASSERT_EQ(writer.SaveArchive(archive.c_str()), 0);
  dir.Write("not_an_archive.tfa", Bytes(3, 1));

  struct Case {
    const char* member;
    std::string archive;
    int result;
  };
  const Case cases[] = {
      {"tile.bmp", archive, 0},
      {"PLATE.PNG", archive, 0},  // titles match ignoring ASCII case
      {"nothing.png", archive, -2},
      {"broken.png", archive, -1},
      {"tile.bmp", dir.File("missing.tfa"), -1},
      {"tile.bmp", dir.File("not_an_archive.tfa"), -1},
  };
  int expected_slot = 0;
  for (const Case& c : cases) {
    int slot = -9;
    EXPECT_EQ(fe.CreateImageLoadFromExpTfaFile(&slot, c.member, c.archive.c_str()), c.result) << c.member;
    EXPECT_EQ(slot, c.result == 0 ? expected_slot++ : -9) << c.member;
  }
  EXPECT_EQ(SlotSizes(), (Sizes{{24, 24}, {100, 50}}));

  EXPECT_EQ(fe.ReCreateImageLoadFromExpTfaFile(0, "plate.png", archive.c_str()), 0);
  EXPECT_EQ(fe.ReCreateImageLoadFromExpTfaFile(1, "nothing.png", archive.c_str()), -2);
  EXPECT_EQ(fe.ReCreateImageLoadFromExpTfaFile(1, "broken.png", archive.c_str()), -1);
  EXPECT_EQ(fe.ReCreateImageLoadFromExpTfaFile(2, "tile.bmp", archive.c_str()), -1);  // no slot 2
  EXPECT_EQ(SlotSizes(), (Sizes{{100, 50}, {100, 50}}));
  Model expected;
  expected.DrawScaled(torv::make_plate(), 0, 0, 100, 50, 100);
  EXPECT_TRUE(SameFrame(Show([&] { fe.DrawImage(0, 0, 0, 100, 50, 100); }), expected.frame));
}

// Without "tamArc.dll" beside it the renderer still starts, and only the archive
// loads fail, with -3. Run in a copy of the programs in a directory of their own.
TEST(DibWithoutArchiveLibrary, ArchiveLoadsAnswerMinusThree) {
  TempDir dir;
  EXPECT_EQ(RunProbe(dir, {"draw_probe_noarc.exe", "tamDraw.dll", "tamDIBDraw.dll"}, "draw_probe_noarc.exe"),
            "init 0, archive library loaded 0, memory 0 slot 0, create -3, re-create -3");
}

}  // namespace
}  // namespace drawtest
