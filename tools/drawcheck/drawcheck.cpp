// drawcheck.exe MODE OUT.png [--scene-only]: starts "tamDraw.dll" in MODE in a 640 x
// 480 window, draws the fixed test scene, reads the shown frame back from the window
// and writes it to OUT.png. Then, unless --scene-only, shakes the picture and checks
// that every frame shown meanwhile is the scene at one of the shake's offsets, and
// that the picture comes back to rest; the first shaken frame goes to
// OUT-shake.png. Exit status 0 when all held.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/drawcheck/check_window.h"
#include "tools/drawcheck/drawcheck_scene.h"
#include "tools/drawcheck/image_encode.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kSettleFrames = 8;        // frames shown before the capture: the first blits may be lost
constexpr DWORD kShakeWatchMs = 700;    // a one-swing shake lasts about 300 ms
constexpr int kShakeOffsets[] = {-40, -30, -20, -10, 0, 10, 20, 30, 40};

int fail(const std::string& message) {
  std::fprintf(stderr, "drawcheck: %s\n", message.c_str());
  return 1;
}

bool write_png(const std::string& path, const std::vector<uint32_t>& frame) {
  const torv::BgraPixels pixels{reinterpret_cast<const uint8_t*>(frame.data()), kWidth, kHeight, kWidth * 4};
  const std::vector<uint8_t> png = torv::encode_png(pixels, false);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = !png.empty() && std::fwrite(png.data(), 1, png.size(), f) == png.size();
  return std::fclose(f) == 0 && ok;
}

// Whether shown is reference displaced by offset; the strip the offset uncovers
// keeps an older frame and is not compared.
bool shows_at(const std::vector<uint32_t>& shown, const std::vector<uint32_t>& reference, int offset) {
  for (int y = 0; y < kHeight; ++y) {
    const uint32_t* s = &shown[static_cast<size_t>(y) * kWidth];
    const uint32_t* r = &reference[static_cast<size_t>(y) * kWidth];
    for (int x = offset > 0 ? offset : 0; x < kWidth + (offset < 0 ? offset : 0); ++x) {
      if (s[x] != r[x - offset]) return false;
    }
  }
  return true;
}

// The shake offset the frame was shown at, or a value outside the pattern.
int find_offset(const std::vector<uint32_t>& shown, const std::vector<uint32_t>& reference) {
  for (int offset : kShakeOffsets) {
    if (shows_at(shown, reference, offset)) return offset;
  }
  return 999;
}

}  // namespace

int main(int argc, char** argv) {
  const bool scene_only = argc == 4 && std::strcmp(argv[3], "--scene-only") == 0;
  if (argc != 3 && !scene_only) return fail("usage: drawcheck.exe MODE OUT.png [--scene-only]");
  const int mode = std::atoi(argv[1]);
  const std::string out = argv[2];
  std::string stem = out;
  if (stem.size() > 4 && stem.compare(stem.size() - 4, 4, ".png") == 0) stem.resize(stem.size() - 4);

  torv::CheckWindow window("TORV drawcheck", kWidth, kHeight);
  if (!window.hwnd()) return fail("cannot open the window");
  torv::DrawFrontEnd draw;
  std::string missing;
  if (!draw.Load(&missing)) return fail("tamDraw.dll: missing " + missing);
  if (draw.Init(window.hwnd(), kWidth, kHeight, static_cast<DRAW_INIT_MODE>(mode), 0) != 0) {
    return fail("mode " + std::to_string(mode) + " did not start");
  }
  torv::SceneSlots slots;
  std::string error;
  if (!torv::load_scene(draw, &slots, &error)) return fail(error);

  auto present = [&] {
    torv::draw_scene(draw, slots);
    window.Pump();
  };
  for (int i = 0; i < kSettleFrames; ++i) {
    present();
    Sleep(15);
  }
  const std::vector<uint32_t> reference = window.Capture();
  if (reference.empty()) return fail("cannot read the window back");
  if (!write_png(out, reference)) return fail("cannot write " + out);
  std::printf("drawcheck: mode %d scene written to %s\n", mode, out.c_str());
  if (scene_only) {
    draw.Terminate();
    return 0;
  }

  // Shake: every frame shown must be the scene at one of the pattern's offsets.
  draw.Shake(1);
  std::vector<int> seen;
  bool shaken_written = false;
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < kShakeWatchMs) {
    present();
    const std::vector<uint32_t> shown = window.Capture();
    const int offset = find_offset(shown, reference);
    if (offset == 999) {
      write_png(stem + "-bad.png", shown);
      return fail("a frame during the shake is not the scene at any shake offset (" + stem + "-bad.png)");
    }
    if (seen.empty() || seen.back() != offset) seen.push_back(offset);
    if (offset != 0 && !shaken_written) shaken_written = write_png(stem + "-shake.png", shown);
  }
  draw.StopShake();
  present();
  const int rest = find_offset(window.Capture(), reference);
  std::printf("drawcheck: offsets shown while shaking:");
  for (int o : seen) std::printf(" %d", o);
  std::printf("; after it: %d\n", rest);
  // A busy machine reads back only a few frames of the swing, so one displaced frame
  // is proof enough; every frame read was checked against the pattern above.
  bool moved = false;
  for (int o : seen) moved = moved || o != 0;
  if (!moved) return fail("the picture did not move while shaking");
  if (rest != 0) return fail("the picture did not come back to rest");
  draw.Terminate();
  return 0;
}
