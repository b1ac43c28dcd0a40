// A helper for the end-to-end tests of torv.exe, run under the same wineserver:
//   test_torv_probe box [seconds]  waits for a message box, prints "caption|text" in
//                                  UTF-8 and closes it with its OK button; exit 1 on
//                                  time-out
//   test_torv_probe window         prints the game window's client origin and size on
//                                  the screen, whether it has a caption and is visible
//   test_torv_probe close          sends WM_CLOSE to the game window
//   test_torv_probe list           lists the top-level windows (for diagnosis)
//   test_torv_probe exists         exit 0 when the game window exists
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string utf8(const wchar_t* text) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  return out;
}

struct BoxSearch {
  HWND box = nullptr;
};

BOOL CALLBACK find_box(HWND window, LPARAM param) {
  wchar_t cls[64] = {};
  GetClassNameW(window, cls, 64);
  if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(window)) {
    reinterpret_cast<BoxSearch*>(param)->box = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK find_static_text(HWND child, LPARAM param) {
  wchar_t cls[64] = {};
  GetClassNameW(child, cls, 64);
  if (_wcsicmp(cls, L"Static") == 0) {
    wchar_t text[512] = {};
    GetWindowTextW(child, text, 512);
    if (text[0] != 0) {
      *reinterpret_cast<std::string*>(param) = utf8(text);
      return FALSE;
    }
  }
  return TRUE;
}

int box(double seconds) {
  const DWORD until = GetTickCount() + static_cast<DWORD>(seconds * 1000);
  BoxSearch search;
  while (search.box == nullptr) {
    EnumWindows(find_box, reinterpret_cast<LPARAM>(&search));
    if (search.box != nullptr) break;
    if (static_cast<LONG>(GetTickCount() - until) > 0) return 1;
    Sleep(50);
  }
  Sleep(200);  // let the box finish laying out its texts
  wchar_t caption[256] = {};
  GetWindowTextW(search.box, caption, 256);
  std::string text;
  EnumChildWindows(search.box, find_static_text, reinterpret_cast<LPARAM>(&text));
  std::printf("%s|%s\n", utf8(caption).c_str(), text.c_str());
  std::fflush(stdout);
  PostMessageW(search.box, WM_COMMAND, IDOK, 0);
  return 0;
}

BOOL CALLBACK list_window(HWND window, LPARAM) {
  char cls[128] = {}, title[128] = {};
  GetClassNameA(window, cls, sizeof cls);
  GetWindowTextA(window, title, sizeof title);
  DWORD pid = 0;
  const DWORD tid = GetWindowThreadProcessId(window, &pid);
  std::printf("%p pid %lu tid %lu visible %d class '%s' title '%s'\n", static_cast<void*>(window), pid, tid,
              IsWindowVisible(window) ? 1 : 0, cls, title);
  return TRUE;
}

HWND game_window() { return FindWindowA("TorvClass", nullptr); }

int window_info() {
  HWND window = game_window();
  if (window == nullptr) return 1;
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const LONG style = GetWindowLongA(window, GWL_STYLE);
  std::printf("client %ld %ld %ld %ld caption %d visible %d\n", origin.x, origin.y, client.right, client.bottom,
              (style & WS_CAPTION) == WS_CAPTION ? 1 : 0, IsWindowVisible(window) ? 1 : 0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string command = argv[1];
  if (command == "box") return box(argc > 2 ? std::atof(argv[2]) : 10.0);
  if (command == "window") return window_info();
  if (command == "close") {
    HWND window = game_window();
    if (window == nullptr) return 1;
    PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (command == "list") return EnumWindows(list_window, 0) ? 0 : 1;
  if (command == "exists") return game_window() != nullptr ? 0 : 1;
  return 2;
}
