// The refill thread. It holds a reference to the module while it runs, so a
// FreeLibrary without dllTerminateDS first cannot unmap the code under it.
#include "sound/refill_thread.h"

#include <windows.h>

#include "common/trace.h"

namespace torv {

namespace {

struct ThreadArgs {
  CTamSound* sound;
  HANDLE stop;
  HMODULE module;
};

DWORD WINAPI refill_main(void* p) {
  const ThreadArgs args = *static_cast<ThreadArgs*>(p);
  delete static_cast<ThreadArgs*>(p);
  while (WaitForSingleObject(args.stop, static_cast<DWORD>(args.sound->RefillPeriodMs())) == WAIT_TIMEOUT) {
    try {
      args.sound->Refill();
    } catch (...) {
      torv_trace("tamSound: refill failed\n");  // out of memory: try again next time
    }
  }
  FreeLibraryAndExitThread(args.module, 0);
}

}  // namespace

bool CRefillThread::Start(CTamSound* sound) {
  if (thread_) return true;
  HMODULE module = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&refill_main),
                          &module)) {
    return false;
  }
  HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  auto* args = stop ? new (std::nothrow) ThreadArgs{sound, stop, module} : nullptr;
  HANDLE thread = args ? CreateThread(nullptr, 0, refill_main, args, 0, nullptr) : nullptr;
  if (!thread) {
    delete args;
    if (stop) CloseHandle(stop);
    FreeLibrary(module);
    return false;
  }
  // Decoding a few milliseconds of sound must not wait behind the game's drawing.
  SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST);
  thread_ = thread;
  stop_ = stop;
  return true;
}

void CRefillThread::Stop() {
  if (!thread_) return;
  SetEvent(static_cast<HANDLE>(stop_));
  WaitForSingleObject(static_cast<HANDLE>(thread_), INFINITE);
  CloseHandle(static_cast<HANDLE>(thread_));
  CloseHandle(static_cast<HANDLE>(stop_));
  thread_ = nullptr;
  stop_ = nullptr;
}

}  // namespace torv
