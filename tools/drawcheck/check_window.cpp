#include "tools/drawcheck/check_window.h"

#include <cstring>

namespace torv {

namespace {

const char kClassName[] = "TorvDrawCheckWindow";

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_ERASEBKGND) return 1;  // the renderer paints every pixel itself
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

}  // namespace

CheckWindow::CheckWindow(const char* title, int width, int height) : width_(width), height_(height) {
  WNDCLASSA wc;
  std::memset(&wc, 0, sizeof wc);
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = kClassName;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  RegisterClassA(&wc);  // fails harmlessly when a second window registers it again
  // Topmost: a window of another program run meanwhile must not cover (and so clip)
  // the pixels a check reads back.
  hwnd_ = CreateWindowExA(WS_EX_TOPMOST, kClassName, title, WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                          wc.hInstance, nullptr);
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOW);
  UpdateWindow(hwnd_);
  if (HDC dc = GetDC(hwnd_)) {
    PatBlt(dc, 0, 0, width, height, BLACKNESS);
    ReleaseDC(hwnd_, dc);
  }
  Pump();
}

CheckWindow::~CheckWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
  Pump();
}

void CheckWindow::Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

std::vector<uint32_t> CheckWindow::Capture() {
  std::vector<uint32_t> pixels;
  BITMAPINFO info;
  std::memset(&info, 0, sizeof info);
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(nullptr);
  HDC window = GetDC(hwnd_);
  if (section && bits && memory && window) {
    HGDIOBJ old = SelectObject(memory, section);
    if (BitBlt(memory, 0, 0, width_, height_, window, 0, 0, SRCCOPY)) {
      GdiFlush();
      const uint32_t* p = static_cast<const uint32_t*>(bits);
      pixels.assign(p, p + static_cast<size_t>(width_) * static_cast<size_t>(height_));
      for (uint32_t& v : pixels) v &= 0x00FFFFFFu;
    }
    SelectObject(memory, old);
  }
  if (window) ReleaseDC(hwnd_, window);
  if (memory) DeleteDC(memory);
  if (section) DeleteObject(section);
  return pixels;
}

}  // namespace torv
