// The DirectDraw renderer's start, image store and colour keys: the front-end in
// mode 2, slots and failure codes, the key each image gets and what its transparent
// pixels hold, rows of surfaces whose pitch is not width * 4, and failures of the
// device or of a surface reported as failures.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "archive/tam_archive_create.h"
#include "draw_ddraw/dd_draw.h"
#include "tests/windows/draw_ddraw/ddraw_fixture.h"

namespace drawtest {
namespace {

using Bytes = std::vector<uint8_t>;

char* Data(Bytes& b) { return reinterpret_cast<char*>(b.data()); }
int Size(const Bytes& b) { return static_cast<int>(b.size()); }

TEST(DDrawFrontEnd, ModeTwoStartsTheDirectDrawBackEnd) {
  torv::DrawFrontEnd fe;
  std::string missing;
  ASSERT_TRUE(fe.Load(&missing)) << missing;
  ASSERT_EQ(fe.Init(TestWindow().hwnd(), kWidth, kHeight, DRAW_INIT_DDRAW, 0), 0);
  EXPECT_EQ(fe.GetInitMode(), DRAW_INIT_DDRAW);
  EXPECT_NE(GetModuleHandleA("tamDDDraw.dll"), nullptr);
  EXPECT_EQ(GetModuleHandleA("tamDIBDraw.dll"), nullptr);
  EXPECT_EQ(fe.GetARGB(1, 2, 3, 4), 0x04030201u);
  EXPECT_EQ(fe.GetRGB(1, 2, 3), 0xFF030201u);
  fe.Terminate();
  EXPECT_EQ(GetModuleHandleA("tamDDDraw.dll"), nullptr) << "unloading is how the back-end is shut down";
  fe.Unload();
}

class DDrawImages : public DDrawTest {};

TEST_F(DDrawImages, SlotsFailureCodesAndReCreates) {
  TempDir dir;
  Bytes plate = Png(torv::make_plate(), false), sprite = Png(torv::make_sprite(), true);
  Bytes tile = Bmp(torv::make_tile());
  CTamArchiveCreate writer;
  Bytes broken(300, 0x42);
  ASSERT_EQ(writer.AddMemory(plate.data(), Size(plate), "plate.png"), 0);
  ASSERT_EQ(writer.AddMemory(broken.data(), Size(broken), "broken.png"), 0);
  const std::string archive = dir.File("dat.tfa");
  ASSERT_EQ(writer.SaveArchive(archive.c_str()), 0);
  dir.Write("tile.bmp", tile);
  Bytes junk(53, 'x');

  struct Case {
    const char* what;
    std::function<int(int*)> create;
    int result;
  };
  const Case cases[] = {
      {"file", [&](int* s) { return fe.CreateImageLoadFromFile(s, dir.File("tile.bmp").c_str()); }, 0},
      {"missing file", [&](int* s) { return fe.CreateImageLoadFromFile(s, dir.File("no.png").c_str()); }, -1},
      {"53 bytes, no PNG", [&](int* s) { return fe.CreateImageLoadFromMemory(s, Data(junk), Size(junk)); }, -1},
      {"memory", [&](int* s) { return fe.CreateImageLoadFromMemory(s, Data(sprite), Size(sprite)); }, 0},
      {"member", [&](int* s) { return fe.CreateImageLoadFromExpTfaFile(s, "PLATE.PNG", archive.c_str()); }, 0},
      {"no such member", [&](int* s) { return fe.CreateImageLoadFromExpTfaFile(s, "x.png", archive.c_str()); }, -2},
      {"undecodable member",
       [&](int* s) { return fe.CreateImageLoadFromExpTfaFile(s, "broken.png", archive.c_str()); }, -1},
      {"no archive",
       [&](int* s) { return fe.CreateImageLoadFromExpTfaFile(s, "plate.png", dir.File("no.tfa").c_str()); }, -1},
  };
  int next = 0;
  for (const Case& c : cases) {
    int slot = -7;
    EXPECT_EQ(c.create(&slot), c.result) << c.what;
    EXPECT_EQ(slot, c.result == 0 ? next++ : -7) << c.what << ": a failed create uses no slot";
  }
  const int sizes[][2] = {{24, 24}, {32, 32}, {100, 50}};
  for (int slot = 0; slot < 3; ++slot) {
    EXPECT_EQ(fe.GetImageWidth(slot), sizes[slot][0]) << slot;
    EXPECT_EQ(fe.GetImageHeight(slot), sizes[slot][1]) << slot;
  }
  for (int bad : {-1, 3}) {
    EXPECT_EQ(fe.GetImageWidth(bad), -1) << bad;
    EXPECT_EQ(fe.GetImageHeight(bad), -1) << bad;
  }

  // Re-creates: a slot outside the store answers -1 before the archive is looked at
  // (the missing member would otherwise answer -2); a failure keeps the old image.
  EXPECT_EQ(fe.ReCreateImageLoadFromExpTfaFile(3, "x.png", archive.c_str()), -1);
  EXPECT_EQ(fe.ReCreateImageLoadFromExpTfaFile(-1, "x.png", archive.c_str()), -1);
  EXPECT_EQ(fe.ReCreateImageLoadFromExpTfaFile(0, "x.png", archive.c_str()), -2);
  EXPECT_EQ(fe.ReCreateImageLoadFromMemory(1, Data(junk), Size(junk)), -1);
  EXPECT_EQ(fe.ReCreateImageLoadFromFile(2, dir.File("no.png").c_str()), -1);
  EXPECT_EQ(fe.GetImageWidth(1), 32);
  EXPECT_EQ(fe.ReCreateImageLoadFromExpTfaFile(0, "plate.png", archive.c_str()), 0);
  EXPECT_EQ(fe.ReCreateImageLoadFromMemory(2, Data(tile), Size(tile)), 0);
  EXPECT_EQ(fe.GetImageWidth(0), 100);
  EXPECT_EQ(fe.GetImageWidth(2), 24);
  EXPECT_EQ(fe.GetImageWidth(3), -1) << "a re-create adds no slot";
  Model expected;
  expected.DrawScaled(torv::make_plate(), 5, 5, 100, 50, 100);
  expected.DrawFast(torv::make_tile(), 200, 5, 0, 0, 24, 24, true);
  EXPECT_TRUE(SameFrame(Show([&] {
                          fe.DrawImage(0, 5, 5, 100, 50, 100);
                          fe.DrawImageFast(2, 200, 5, 0, 0, 24, 24, 1);
                        }),
                        expected.frame))
      << "the replaced pictures are drawn";
}

TEST_F(DDrawImages, BadSlotsAnswerMinusOneAndDrawNothing) {
  Bytes tile = Bmp(torv::make_tile());
  ASSERT_EQ(Load(tile), 0);
  Frame f = Show([&] {
    for (int slot : {-1, 1, 1000}) {
      EXPECT_EQ(fe.DrawImage(slot, 0, 0, 640, 480, 100), -1) << slot;
      EXPECT_EQ(fe.DrawImageDetail(slot, 0, 0, 0, 0, 640, 480, 100), -1) << slot;
      EXPECT_EQ(fe.DrawImageFast(slot, 0, 0, 0, 0, 640, 480, 0), -1) << slot;
    }
  });
  EXPECT_TRUE(SameFrame(f, Model().frame));
}

// The key cases, each image with transparent pixels so the key shows: drawn
// without the key, the transparent pixels arrive as the key colour; drawn with it
// over white, they are left out and every visible pixel (black too) is copied.
TEST_F(DDrawImages, ColourKeyIsTheSmallestColourNoVisiblePixelUses) {
  struct Case {
    const char* what;
    int w, h;
    std::vector<std::pair<uint32_t, int>> pixels;  // rgb, alpha; row by row
    uint32_t key;
  };
  const Case cases[] = {
      {"no black: key 0", 3, 1, {{0x102030, 255}, {0, 0}, {0xFFFFFF, 255}}, 0x000000},
      {"black used, 0x000001 not: key 0x000001", 4, 1, {{0x000000, 255}, {0, 0}, {0x000002, 255}, {0, 0}}, 0x000001},
      {"0x000001 first, black last: the search restarts, key 0x000002", 3, 2,
       {{0x000001, 255}, {0, 0}, {0x808080, 255}, {0x404040, 255}, {0x000003, 0}, {0x000000, 255}}, 0x000002},
      {"partly transparent black counts, transparent 0x000001 does not", 3, 1,
       {{0x000000, 1}, {0x000001, 0}, {0x000002, 128}}, 0x000001},
  };
  for (const Case& c : cases) {
    torv::CheckImage image = Blank(c.w, c.h);
    for (int i = 0; i < c.w * c.h; ++i) Set(image, i % c.w, i / c.w, c.pixels[i].first, c.pixels[i].second);
    const int slot = Load(Png(image, true));
    ASSERT_GE(slot, 0) << c.what;
    torv::CheckImage white = Blank(c.w, c.h);
    for (int i = 0; i < c.w * c.h; ++i) Set(white, i % c.w, i / c.w, 0xFFFFFF, 255);
    const int ground = Load(Png(white, false));
    Model expected;
    DrawFastUnkeyed(expected, image, 10, 10, 0, 0, c.w, c.h, c.key);
    expected.DrawFast(white, 10, 20, 0, 0, c.w, c.h, false);
    expected.DrawFast(image, 10, 20, 0, 0, c.w, c.h, true);
    const Frame shown = Show([&] {
      fe.DrawImageFast(slot, 10, 10, 0, 0, c.w, c.h, 0);
      fe.DrawImageFast(ground, 10, 20, 0, 0, c.w, c.h, 0);
      fe.DrawImageFast(slot, 10, 20, 0, 0, c.w, c.h, 1);
    });
    EXPECT_TRUE(SameFrame(shown, expected.frame)) << c.what;
  }
}

// The renderer's class itself, for what the window cannot show: alpha bytes and
// the surfaces' own rows.
class DDrawDirect : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(dd.Init(kWidth, kHeight, TestWindow().hwnd()), 0); }
  int Load(const torv::CheckImage& image) {
    Bytes png = Png(image, true);
    int slot = -1;
    return dd.CreateImageLoadFromMemory(&slot, Data(png), Size(png)) == 0 ? slot : -1;
  }
  // The BGRA bytes of a pixel of a surface.
  static std::vector<uint8_t> PixelOf(DdSurface& surface, int x, int y) {
    DdScopedLock lock(surface);
    const uint8_t* p = lock.view().bits + static_cast<size_t>(y) * lock.view().pitch_bytes + x * 4;
    return std::vector<uint8_t>(p, p + 4);
  }
  CDDDraw dd;
};

TEST_F(DDrawDirect, TransparentPixelsHoldTheKeyWithAlphaZero) {
  torv::CheckImage image = Blank(5, 3);  // odd width: a padded pitch
  Set(image, 0, 0, 0x000001, 255);
  Set(image, 4, 2, 0x000000, 255);
  Set(image, 2, 1, 0xC0FFEE, 7);
  const int slot = Load(image);
  ASSERT_EQ(slot, 0);
  EXPECT_EQ(dd.GetImageColourKey(slot), 0x000002);
  DdSurface& surface = dd.GetImage(slot)->surface();
  {
    DdScopedLock lock(surface);
    ASSERT_NE(lock.view().bits, nullptr);
    EXPECT_GE(lock.view().pitch_bytes, 5 * 4);
  }
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      const uint8_t* want = image.at(x, y);
      const std::vector<uint8_t> expected =
          want[3] == 0 ? std::vector<uint8_t>{2, 0, 0, 0} : std::vector<uint8_t>(want, want + 4);
      EXPECT_EQ(PixelOf(surface, x, y), expected) << x << "," << y;
    }
  }
}

// Images whose surface rows are padded (widths 1, 3, 5, 7) come out whole: blended,
// copied plainly and copied keyed, each row from its own row of the image.
TEST_F(DDrawDirect, PaddedSurfaceRowsAreReadByTheirPitch) {
  for (int w : {1, 3, 5, 7}) {
    torv::CheckImage image = Blank(w, 4);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < w; ++x) Set(image, x, y, 0x101010 * (y + 1) + 0x000008 * x + 0x200000, 255);
    }
    const int slot = Load(image);
    ASSERT_GE(slot, 0) << w;
    ASSERT_EQ(dd.BeginDraw(0, 0), 0);
    dd.DrawImage(slot, 0, 0, w, 4, 100);
    dd.DrawImageDetail(slot, 0, 0, 20, 0, w, 4, 100);
    dd.DrawImageFast(slot, 40, 0, 0, 0, w, 4, 0);
    dd.DrawImageFast(slot, 60, 0, 0, 0, w, 4, 1);
    for (int y = 0; y < 4; ++y) {
      for (int x = 0; x < w; ++x) {
        const std::vector<uint8_t> want(image.at(x, y), image.at(x, y) + 4);
        for (int at : {0, 20, 40, 60}) {
          EXPECT_EQ(PixelOf(dd.FrameSurface(), at + x, y), want) << "width " << w << " at " << at << " " << x << "," << y;
        }
      }
    }
    ASSERT_EQ(dd.DrawResult(), 0);
  }
}

TEST_F(DDrawDirect, FastCopyTakesAlphaOneOpaqueAndBeginDrawClearsEveryByte) {
  torv::CheckImage image = Blank(2, 1);
  Set(image, 0, 0, 0xC86432, 1);
  Set(image, 1, 0, 0x000000, 255);
  const int slot = Load(image);
  ASSERT_EQ(dd.BeginDraw(0, 0), 0);
  dd.DrawImageFast(slot, 0, 0, 0, 0, 2, 1, 1);
  EXPECT_EQ(PixelOf(dd.FrameSurface(), 0, 0), (std::vector<uint8_t>{0x32, 0x64, 0xC8, 1})) << "copied, alpha too";
  EXPECT_EQ(PixelOf(dd.FrameSurface(), 1, 0), (std::vector<uint8_t>{0, 0, 0, 255}));
  ASSERT_EQ(dd.BeginDraw(0, 0), 0);
  DdScopedLock lock(dd.FrameSurface());
  const torv::FrameView& f = lock.view();
  ASSERT_NE(f.bits, nullptr);
  size_t nonzero = 0;
  for (int y = 0; y < f.height; ++y) {
    for (int x = 0; x < f.width * 4; ++x) nonzero += f.bits[static_cast<size_t>(y) * f.pitch_bytes + x] != 0;
  }
  EXPECT_EQ(nonzero, 0u);
}

// What cannot be had is reported: no device, no surface, no image.
TEST(DDrawFailures, InitAndLoadsFailWhenNothingCanBeMade) {
  Bytes png = Png(torv::make_tile(), false);
  {
    CDDDraw dd;
    int slot = -7;
    EXPECT_EQ(dd.CreateImageLoadFromMemory(&slot, Data(png), Size(png)), -1) << "no DirectDraw object yet";
    EXPECT_EQ(slot, -7);
    EXPECT_EQ(dd.BeginDraw(0, 0), -1);
    EXPECT_EQ(dd.DrawResult(), -1);
  }
  for (const auto& size : {std::pair<int, int>{0, 480}, {640, 0}, {-1, -1}}) {
    CDDDraw dd;
    EXPECT_EQ(dd.Init(size.first, size.second, TestWindow().hwnd()), -1) << size.first << "x" << size.second;
    EXPECT_EQ(dd.BeginDraw(0, 0), -1);
    int slot = -7;
    EXPECT_EQ(dd.CreateImageLoadFromMemory(&slot, Data(png), Size(png)), -1);
    EXPECT_EQ(slot, -7);
  }
  CDDDraw dd;
  ASSERT_EQ(dd.Init(kWidth, kHeight, TestWindow().hwnd()), 0) << "and a good size still starts";
}

// Without "tamArc.dll" beside it the back-end still starts, memory loads work and
// only the archive loads fail, with -3 (a bad slot still -1 first). Run in a copy
// of the programs in a directory of their own; the probe ends with the back-end
// still loaded, and must end all the same (releasing DirectDraw objects at process
// exit would wait forever).
TEST(DDrawWithoutArchiveLibrary, ArchiveLoadsAnswerMinusThree) {
  TempDir dir;
  EXPECT_EQ(RunProbe(dir, {"ddraw_probe_noarc.exe", "tamDDDraw.dll"}, "ddraw_probe_noarc.exe"),
            "init 0, archive library loaded 0, memory 0 slot 0, create -3, re-create -3, bad slot -1");
}

}  // namespace
}  // namespace drawtest
