// The program entry: single instance, working directory, the window, the message
// pump that feeds the key table, the game thread and the ordered shutdown.
#include <windows.h>

#include <mmsystem.h>

#include <new>

#include "game/game_texts.h"
#include "game/win32/game_system.h"

namespace {

constexpr char kClassName[] = "TorvClass";  // also the single-instance mutex
constexpr int kIconResource = 108;
constexpr int kCursorResource = 2;
constexpr int kClientWidth = 640;
constexpr int kClientHeight = 480;
constexpr DWORD kWindowStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kShutdownSliceMs = 100;
constexpr char kLeakCheckLine[] = "tamGameKit.exe Debug(_CrtDumpMemoryLeaks)\n";

LRESULT CALLBACK window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ACTIVATE:
      // Into the queue, so the pump hands the activation change to the key table in
      // order with the key messages.
      PostMessageA(window, WM_USER, wparam, lparam);
      return DefWindowProcA(window, message, wparam, lparam);
    case WM_CLOSE:
      // The window is destroyed by the shutdown sequence, after the game thread.
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wparam, lparam);
  }
}

DWORD WINAPI game_thread_main(LPVOID game) {
  static_cast<torv::GameSystem*>(game)->run_game_thread();
  return 0;
}

// Makes the program's own directory the current one, so the archives, the settings
// and the save file are found beside the executable.
void enter_program_directory() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  char* last_backslash = nullptr;
  for (char* p = path; *p != 0; ++p) {
    // Skip the trail byte of a double-byte character: it may be 0x5C.
    if (IsDBCSLeadByte(static_cast<BYTE>(*p)) && p[1] != 0) {
      ++p;
      continue;
    }
    if (*p == '\\') last_backslash = p;
  }
  if (last_backslash == nullptr) return;
  last_backslash[1] = 0;
  SetCurrentDirectoryA(path);
}

bool register_window_class(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = window_proc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconResource));
  wc.hIconSm = wc.hIcon;
  wc.hCursor = LoadCursorA(instance, MAKEINTRESOURCEA(kCursorResource));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kClassName;
  return RegisterClassExA(&wc) != 0;
}

HWND create_window(HINSTANCE instance) {
  const int width = kClientWidth + 2 * GetSystemMetrics(SM_CXDLGFRAME);
  const int height = kClientHeight + 2 * GetSystemMetrics(SM_CYDLGFRAME) + GetSystemMetrics(SM_CYCAPTION);
  const int x = (GetSystemMetrics(SM_CXMAXIMIZED) - width) / 2;
  const int y = (GetSystemMetrics(SM_CYMAXIMIZED) - height) / 2;
  return CreateWindowExA(0, kClassName, torv::kGameTitle, kWindowStyle, x, y, width, height, nullptr, nullptr,
                         instance, nullptr);
}

torv::GameSystem* create_game(HWND window) {
  try {
    return new torv::GameSystem(window);
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, kClassName);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    MessageBoxA(nullptr, torv::text::kAlreadyRunning, "TORV", MB_OK);
    if (mutex != nullptr) CloseHandle(mutex);
    return 0;
  }
  enter_program_directory();
  if (!register_window_class(instance)) return 0;
  HWND window = create_window(instance);
  if (window == nullptr) return 0;
  // 1 ms timer and sleep resolution, which the frame pacing's 1 ms steps assume.
  timeBeginPeriod(1);

  torv::GameSystem* game = create_game(window);
  if (game == nullptr || game->init_ok() == 0) {
    MessageBoxA(window, torv::text::kGameCreateFailed, torv::kGameTitle, MB_OK);
    delete game;
    OutputDebugStringA(kLeakCheckLine);
    timeEndPeriod(1);
    return 0;
  }

  ShowWindow(window, SW_SHOW);
  HANDLE thread = CreateThread(nullptr, 0, game_thread_main, game, 0, nullptr);
  if (thread == nullptr) PostQuitMessage(0);

  MSG message{};
  for (;;) {
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) break;
      game->handle_key_message(message);
      if (message.message != WM_USER) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
    game->check_fullscreen_toggle();
    Sleep(1);
  }

  game->request_stop();
  if (thread != nullptr) {
    while (WaitForSingleObject(thread, kShutdownSliceMs) == WAIT_TIMEOUT && game->stop_flag() == 1) {
    }
    CloseHandle(thread);
  }
  delete game;
  DestroyWindow(window);
  OutputDebugStringA(kLeakCheckLine);
  timeEndPeriod(1);
  if (mutex != nullptr) {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
  }
  return static_cast<int>(message.wParam);
}
