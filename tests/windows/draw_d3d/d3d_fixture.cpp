#include "tests/windows/draw_d3d/d3d_fixture.h"

#include "tools/drawcheck/image_encode.h"

namespace d3dtest {

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_ERASEBKGND) return 1;
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

}  // namespace

HWND OpenWindow(const char* title, int x, int y, int width, int height) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "TorvD3dTestWindow";
  RegisterClassA(&wc);  // fails harmlessly for the second window
  HWND window = CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, title, WS_POPUP | WS_VISIBLE, x, y, width, height,
                                nullptr, nullptr, wc.hInstance, nullptr);
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  return window;
}

HWND RendererWindow() {
  static HWND window = OpenWindow("TORV Direct3D tests", 640, 480, kWidth, kHeight);
  return window;
}

Frame CaptureWindow(HWND window, int width, int height) {
  Frame frame;
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  if (BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY)) {
    SelectObject(memory, old);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    frame.resize(static_cast<size_t>(width) * height);
    if (GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), frame.data(), &info, DIB_RGB_COLORS) != height) {
      frame.clear();
    }
    for (uint32_t& p : frame) p &= 0x00FFFFFF;
  } else {
    SelectObject(memory, old);
  }
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return frame;
}

torv::CheckImage Distinct(int width, int height, int alpha) {
  torv::CheckImage image;
  image.width = width;
  image.height = height;
  image.bgra.resize(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = image.at(x, y);
      p[0] = static_cast<uint8_t>(x * 7 + y * 3 + 1);
      p[1] = static_cast<uint8_t>(y * 5 + 40 + x / 50);
      p[2] = static_cast<uint8_t>(x + 20 + y / 80);
      p[3] = static_cast<uint8_t>(alpha);
    }
  }
  return image;
}

torv::CheckImage Solid(int width, int height, int r, int g, int b, int a) {
  torv::CheckImage image;
  image.width = width;
  image.height = height;
  for (int i = 0; i < width * height; ++i) {
    image.bgra.insert(image.bgra.end(),
                      {static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r), static_cast<uint8_t>(a)});
  }
  return image;
}

std::vector<uint8_t> Png(const torv::CheckImage& image) { return torv::encode_png(image.pixels(), true); }

int LitPixels(const Frame& frame) {
  int lit = 0;
  for (uint32_t p : frame) lit += p != 0;
  return lit;
}

void D3dTest::SetUp() {
  ASSERT_NE(RendererWindow(), nullptr);
  ASSERT_EQ(d.Init(RendererWindow(), kWidth, kHeight, Force16()), 0);
}

int D3dTest::Load(const std::vector<uint8_t>& encoded) {
  std::vector<char> copy(encoded.begin(), encoded.end());
  int slot = -1;
  return d.CreateImageLoadFromMemory(&slot, copy.data(), static_cast<int>(copy.size())) == 0 ? slot : -1;
}

Frame D3dTest::Show(const std::function<void()>& draw, int ox, int oy) {
  Frame frame;
  EXPECT_EQ(d.BeginDraw(ox, oy), 0);
  draw();
  EXPECT_EQ(d.ReadBack(&frame), 0);
  EXPECT_EQ(d.EndDraw(), 0);
  return frame;
}

}  // namespace d3dtest
