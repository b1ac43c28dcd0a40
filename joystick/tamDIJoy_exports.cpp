// tamDIJoy.dll's entry points: each forwards to the module's one pad reader and
// answers "nothing held" instead of letting an exception out.
#include <windows.h>

#include <new>

#include "joystick/di_pad.h"
#include "joystick/pad_mapping.h"
#include "joystick/tamDIJoy.h"

namespace {

HINSTANCE g_module = nullptr;
torv::CPadReader* g_pad = nullptr;

}  // namespace

extern "C" {

__declspec(dllexport) int dllInit(void* window) {
  if (!g_pad) return -1;
  try {
    g_pad->SetSource(nullptr);
    g_pad->SetSource(torv::open_direct_input_pad(g_module, window));
    return g_pad->HasSource() ? 0 : -1;
  } catch (...) {
    return -1;
  }
}

__declspec(dllexport) long long dllGetJoyXY(void) {
  try {
    return g_pad ? g_pad->GetJoyXY() : 0;
  } catch (...) {
    return 0;
  }
}

__declspec(dllexport) int dllGetJoyBtn(int button) {
  try {
    return g_pad ? g_pad->GetJoyBtn(button) : 0;
  } catch (...) {
    return 0;
  }
}

__declspec(dllexport) int dllGetJoy(void) {
  try {
    return g_pad ? g_pad->GetJoy() : -1;
  } catch (...) {
    return -1;
  }
}

__declspec(dllexport) int dllTerminateDI(void) {
  if (g_pad) g_pad->SetSource(nullptr);
  return 0;
}

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = module;
    g_pad = new (std::nothrow) torv::CPadReader();
    if (!g_pad) return FALSE;
  } else if (reason == DLL_PROCESS_DETACH) {
    // A pad still open was not released with dllTerminateDI; COM calls under the
    // loader lock are unsafe, so it is left as it is. At process exit nothing is freed.
    if (!reserved && g_pad && !g_pad->HasSource()) {
      delete g_pad;
      g_pad = nullptr;
    }
    OutputDebugStringA("tamDIJoy.dll Debug(_CrtDumpMemoryLeaks)\n");
  }
  return TRUE;
}

}  // extern "C"

// Every export has exactly the type callers bind it with (the calling convention too).
TORV_CHECK_EXPORT(dllInit, TamJoyInitProc);
TORV_CHECK_EXPORT(dllGetJoyXY, TamJoyGetXYProc);
TORV_CHECK_EXPORT(dllGetJoyBtn, TamJoyGetBtnProc);
TORV_CHECK_EXPORT(dllGetJoy, TamJoyGetProc);
TORV_CHECK_EXPORT(dllTerminateDI, TamJoyTerminateProc);
