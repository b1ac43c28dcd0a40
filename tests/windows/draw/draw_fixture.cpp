#include "tests/windows/draw/draw_fixture.h"

#include <cstdio>
#include <sstream>

#include "tools/drawcheck/image_encode.h"

namespace drawtest {

torv::CheckWindow& TestWindow() {
  static torv::CheckWindow window("TORV draw tests", kWidth, kHeight);
  return window;
}

std::vector<uint8_t> Png(const torv::CheckImage& image, bool with_alpha) {
  return torv::encode_png(image.pixels(), with_alpha);
}

std::vector<uint8_t> Bmp(const torv::CheckImage& image) { return torv::encode_bmp24(image.pixels()); }

int Model::AlphaByte(double percent) {
  const double a = percent * 255 / 100;
  return a <= 0 ? 0 : a >= 255 ? 255 : static_cast<int>(a);
}

void Model::Blend(int x, int y, const uint8_t* s, int alpha) {
  const int b = s[3] * alpha / 255;
  if (b == 0) return;
  uint32_t& d = at(x, y);
  if (b == 255) {
    d = RgbOf(s);
    return;
  }
  const int dr = d >> 16 & 0xFF, dg = d >> 8 & 0xFF, db = d & 0xFF;
  d = Rgb(s[2] * b / 255 + dr * (255 - b) / 255, s[1] * b / 255 + dg * (255 - b) / 255,
          s[0] * b / 255 + db * (255 - b) / 255);
}

void Model::DrawScaled(const torv::CheckImage& image, int x, int y, int w, int h, double percent) {
  if (w <= 0 || h <= 0) return;
  const int alpha = AlphaByte(percent);
  const int u = static_cast<int>(static_cast<double>(image.width) / w * 256);
  const int v = static_cast<int>(static_cast<double>(image.height) / h * 256);
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      const int fx = x + i, fy = y + j;
      if (fx < 0 || fy < 0 || fx >= kWidth || fy >= kHeight) continue;
      Blend(fx, fy, image.at((i * u) >> 8, (j * v) >> 8), alpha);
    }
  }
}

void Model::DrawDetail(const torv::CheckImage& image, int sx, int sy, int x, int y, int w, int h, double percent) {
  const int alpha = AlphaByte(percent);
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      const int fx = x + i, fy = y + j, ix = sx + i, iy = sy + j;
      if (fx < 0 || fy < 0 || fx >= kWidth || fy >= kHeight) continue;
      if (ix < 0 || iy < 0 || ix >= image.width || iy >= image.height) continue;
      Blend(fx, fy, image.at(ix, iy), alpha);
    }
  }
}

void Model::DrawFast(const torv::CheckImage& image, int x, int y, int sx, int sy, int w, int h, bool keyed) {
  for (int j = 0; j < h; ++j) {
    for (int i = 0; i < w; ++i) {
      const int fx = x + i, fy = y + j, ix = sx + i, iy = sy + j;
      if (fx < 0 || fy < 0 || fx >= kWidth || fy >= kHeight) continue;
      if (ix < 0 || iy < 0 || ix >= image.width || iy >= image.height) continue;
      const uint8_t* s = image.at(ix, iy);
      if (s[3] == 0) {
        if (!keyed) at(fx, fy) = 0;  // stored transparent pixels are black
      } else {
        at(fx, fy) = RgbOf(s);
      }
    }
  }
}

::testing::AssertionResult SameFrame(const Frame& shown, const Frame& expected) {
  if (shown.size() != expected.size()) {
    return ::testing::AssertionFailure() << "frame has " << shown.size() << " pixels, expected " << expected.size();
  }
  size_t differ = 0, first = 0;
  for (size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] != expected[i] && differ++ == 0) first = i;
  }
  if (differ == 0) return ::testing::AssertionSuccess();
  std::ostringstream msg;
  msg << differ << " pixels differ; first at (" << first % kWidth << ", " << first / kWidth << "): shown "
      << std::hex << shown[first] << ", expected " << expected[first];
  return ::testing::AssertionFailure() << msg.str();
}

void DibTest::SetUp() {
  ASSERT_NE(TestWindow().hwnd(), nullptr);
  std::string missing;
  ASSERT_TRUE(fe.Load(&missing)) << missing;
  ASSERT_EQ(fe.Init(TestWindow().hwnd(), kWidth, kHeight, DRAW_INIT_DIB, 0), 0);
}

void DibTest::TearDown() {
  if (fe.module) {
    fe.StopShake();
    fe.Terminate();
  }
  fe.Unload();
}

int DibTest::Load(std::vector<uint8_t> encoded) {
  int slot = -1;
  if (fe.CreateImageLoadFromMemory(&slot, reinterpret_cast<char*>(encoded.data()), static_cast<int>(encoded.size())) != 0) {
    return -1;
  }
  return slot;
}

Frame DibTest::Capture() {
  TestWindow().Pump();
  return TestWindow().Capture();
}

TempDir::TempDir() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  char name[MAX_PATH];
  GetTempFileNameA(base, "drw", 0, name);  // creates a file of that name: make it a directory
  DeleteFileA(name);
  CreateDirectoryA(name, nullptr);
  path_ = name;
}

TempDir::~TempDir() {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((path_ + "\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") DeleteFileA(File(name).c_str());
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  RemoveDirectoryA(path_.c_str());
}

void TempDir::Write(const std::string& name, const std::vector<uint8_t>& data) const {
  std::FILE* f = std::fopen(File(name).c_str(), "wb");
  ASSERT_NE(f, nullptr) << File(name);
  ASSERT_EQ(std::fwrite(data.data(), 1, data.size(), f), data.size());
  std::fclose(f);
}

std::string RunProbe(const TempDir& dir, const std::vector<std::string>& files, const std::string& probe) {
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string bin = exe;
  bin.resize(bin.find_last_of('\\'));
  for (const std::string& name : files) {
    if (!CopyFileA((bin + "\\" + name).c_str(), dir.File(name).c_str(), FALSE)) {
      ADD_FAILURE() << "cannot copy " << name;
      return std::string();
    }
  }
  std::string command = "\"" + dir.File(probe) + "\" \"" + dir.File("probe.txt") + "\"";
  STARTUPINFOA si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, dir.path().c_str(), &si, &pi)) {
    ADD_FAILURE() << "cannot start " << probe;
    return std::string();
  }
  const bool ended = WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0;
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  EXPECT_TRUE(ended) << probe << " did not end";
  EXPECT_EQ(code, 0u) << probe;
  char text[256] = {};
  std::FILE* f = std::fopen(dir.File("probe.txt").c_str(), "rb");
  if (!f) {
    ADD_FAILURE() << probe << " wrote nothing";
    return std::string();
  }
  std::fread(text, 1, sizeof text - 1, f);
  std::fclose(f);
  return text;
}

}  // namespace drawtest
