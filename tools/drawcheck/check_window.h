// The window the drawing checks draw into, and reading its pixels back through GDI.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace torv {

// A borderless topmost window whose client area is width x height at the screen's
// top-left, shown and painted black.
class CheckWindow {
public:
  CheckWindow(const char* title, int width, int height);
  ~CheckWindow();
  CheckWindow(const CheckWindow&) = delete;
  CheckWindow& operator=(const CheckWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  int width() const { return width_; }
  int height() const { return height_; }

  // Handles the messages waiting for the window (no blocking).
  void Pump();
  // The client area as 0x00RRGGBB values, rows top to bottom (the alpha byte that GDI
  // leaves in a capture means nothing and is cleared). Empty on failure.
  std::vector<uint32_t> Capture();

private:
  HWND hwnd_ = nullptr;
  int width_;
  int height_;
};

}  // namespace torv
