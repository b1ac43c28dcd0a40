// tamSound.dll's entry points: each forwards to the module's one CTamSound and
// answers a failure code instead of letting an exception out.
#include <windows.h>

#include <new>

#include "sound/ds_output.h"
#include "sound/refill_thread.h"
#include "sound/tamSound.h"
#include "sound/tam_sound.h"

namespace {

torv::CTamSound* g_sound = nullptr;
torv::CRefillThread* g_refill = nullptr;

template <class F>
int guarded(F f) {
  if (!g_sound) return TAMSOUND_E_ARGUMENT;
  try {
    return f(*g_sound);
  } catch (const std::bad_alloc&) {
    return TAMSOUND_E_MEMORY;
  } catch (...) {
    return TAMSOUND_E_ARGUMENT;
  }
}

int terminate_module(torv::CTamSound& s) {
  g_refill->Stop();  // first: the thread must not touch sounds being released
  s.Terminate();
  return TAMSOUND_OK;
}

torv::SoundSource file_source(const char* path) { return torv::SoundSource::File(path); }

torv::SoundSource member_source(const char* name, const char* archive) {
  return torv::SoundSource::Member(name, archive);
}

}  // namespace

extern "C" {

__declspec(dllexport) int dllInit(void* window) {
  return guarded([window](torv::CTamSound& s) {
    if (s.IsStarted()) return TAMSOUND_OK;
    s.Init(torv::open_direct_sound(window));
    // Without a device there is nothing to refill; without a thread a ring would
    // replay its first fraction of a second, so the module goes silent instead.
    if (s.HasDevice() && !g_refill->Start(&s)) {
      s.Terminate();
      s.Init(nullptr);
    }
    return TAMSOUND_OK;
  });
}

__declspec(dllexport) int dllTerminateDS(void) { return guarded(terminate_module); }

__declspec(dllexport) int dllCreateOggVoidSoundBuffer(int* handle) {
  return guarded([=](torv::CTamSound& s) { return s.CreateOggVoidSoundBuffer(handle); });
}

__declspec(dllexport) int dllCreateOggSoundBuffer(int* handle, const char* path) {
  return guarded([=](torv::CTamSound& s) { return s.CreateSound(handle, file_source(path), torv::SoundKind::kStream); });
}

__declspec(dllexport) int dllCreateOggSoundBufferFromTfa(int* handle, const char* name, const char* archive) {
  return guarded([=](torv::CTamSound& s) {
    return s.CreateSound(handle, member_source(name, archive), torv::SoundKind::kStream);
  });
}

__declspec(dllexport) int dllReCreateOggSoundBuffer(int handle, const char* path) {
  return guarded([=](torv::CTamSound& s) { return s.ReCreateSound(handle, file_source(path), torv::SoundKind::kStream); });
}

__declspec(dllexport) int dllReCreateOggSoundBufferFromTfa(int handle, const char* name, const char* archive) {
  return guarded([=](torv::CTamSound& s) {
    return s.ReCreateSound(handle, member_source(name, archive), torv::SoundKind::kStream);
  });
}

__declspec(dllexport) int dllCreateOggSoundBufferNonStreaming(int* handle, const char* path) {
  return guarded([=](torv::CTamSound& s) { return s.CreateSound(handle, file_source(path), torv::SoundKind::kEffect); });
}

__declspec(dllexport) int dllCreateOggSoundBufferNonStreamingFromTfa(int* handle, const char* name,
                                                                     const char* archive) {
  return guarded([=](torv::CTamSound& s) {
    return s.CreateSound(handle, member_source(name, archive), torv::SoundKind::kEffect);
  });
}

__declspec(dllexport) int dllReCreateOggSoundBufferNonStreaming(int handle, const char* path) {
  return guarded([=](torv::CTamSound& s) { return s.ReCreateSound(handle, file_source(path), torv::SoundKind::kEffect); });
}

__declspec(dllexport) int dllReCreateOggSoundBufferNonStreamingFromTfa(int handle, const char* name,
                                                                       const char* archive) {
  return guarded([=](torv::CTamSound& s) {
    return s.ReCreateSound(handle, member_source(name, archive), torv::SoundKind::kEffect);
  });
}

__declspec(dllexport) int dllClearAllBuffer(void) {
  return guarded([](torv::CTamSound& s) { return s.ClearAllBuffer(); });
}

__declspec(dllexport) int dllPlay(int handle) {
  return guarded([=](torv::CTamSound& s) { return s.Play(handle); });
}

__declspec(dllexport) int dllPlayLoop(int handle) {
  return guarded([=](torv::CTamSound& s) { return s.PlayLoop(handle); });
}

__declspec(dllexport) int dllStop(int handle) {
  return guarded([=](torv::CTamSound& s) { return s.Stop(handle); });
}

__declspec(dllexport) int dllSetVolume(int handle, int volume) {
  return guarded([=](torv::CTamSound& s) { return s.SetVolume(handle, volume); });
}

__declspec(dllexport) int dllSetReadBufferSize(int bytes) {
  return guarded([=](torv::CTamSound& s) { return s.SetReadBufferSize(bytes); });
}

__declspec(dllexport) int dllSetSoundBufferSec(float seconds) {
  return guarded([=](torv::CTamSound& s) { return s.SetSoundBufferSec(seconds); });
}

__declspec(dllexport) int dllGetSoundStatus(int handle, TamSoundStatus* status) {
  return guarded([=](torv::CTamSound& s) { return s.GetStatus(handle, status); });
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_sound = new (std::nothrow) torv::CTamSound();
    g_refill = new (std::nothrow) torv::CRefillThread();
    if (!g_sound || !g_refill) return FALSE;
  } else if (reason == DLL_PROCESS_DETACH) {
    // At process exit (reserved set) other threads are gone and nothing needs
    // freeing. On FreeLibrary the refill thread cannot be running (it holds a
    // reference to this module); sounds still held were not released with
    // dllTerminateDS, and releasing DirectSound under the loader lock can deadlock,
    // so they are left as they are.
    if (!reserved && g_sound && !g_sound->IsStarted()) {
      delete g_refill;
      delete g_sound;
      g_refill = nullptr;
      g_sound = nullptr;
    }
    OutputDebugStringA("tamSound.dll Debug(_CrtDumpMemoryLeaks)\n");
  }
  return TRUE;
}

}  // extern "C"

// Every export has exactly the type callers bind it with (the calling convention too).
TORV_CHECK_EXPORT(dllInit, TamSoundInitProc);
TORV_CHECK_EXPORT(dllTerminateDS, TamSoundTerminateProc);
TORV_CHECK_EXPORT(dllCreateOggVoidSoundBuffer, TamSoundCreateVoidProc);
TORV_CHECK_EXPORT(dllCreateOggSoundBuffer, TamSoundCreateFileProc);
TORV_CHECK_EXPORT(dllCreateOggSoundBufferFromTfa, TamSoundCreateTfaProc);
TORV_CHECK_EXPORT(dllReCreateOggSoundBuffer, TamSoundReCreateFileProc);
TORV_CHECK_EXPORT(dllReCreateOggSoundBufferFromTfa, TamSoundReCreateTfaProc);
TORV_CHECK_EXPORT(dllCreateOggSoundBufferNonStreaming, TamSoundCreateFileProc);
TORV_CHECK_EXPORT(dllCreateOggSoundBufferNonStreamingFromTfa, TamSoundCreateTfaProc);
TORV_CHECK_EXPORT(dllReCreateOggSoundBufferNonStreaming, TamSoundReCreateFileProc);
TORV_CHECK_EXPORT(dllReCreateOggSoundBufferNonStreamingFromTfa, TamSoundReCreateTfaProc);
TORV_CHECK_EXPORT(dllClearAllBuffer, TamSoundClearAllProc);
TORV_CHECK_EXPORT(dllPlay, TamSoundHandleProc);
TORV_CHECK_EXPORT(dllPlayLoop, TamSoundHandleProc);
TORV_CHECK_EXPORT(dllStop, TamSoundHandleProc);
TORV_CHECK_EXPORT(dllSetVolume, TamSoundSetVolumeProc);
TORV_CHECK_EXPORT(dllSetReadBufferSize, TamSoundSetReadBufferSizeProc);
TORV_CHECK_EXPORT(dllSetSoundBufferSec, TamSoundSetSoundBufferSecProc);
TORV_CHECK_EXPORT(dllGetSoundStatus, TamSoundGetStatusProc);
