// A sound module that exports every name the game binds except dllSetVolume: the
// game must refuse it although it never calls that entry point.
#include <windows.h>

extern "C" {
__declspec(dllexport) int dllInit(HWND) { return 0; }
__declspec(dllexport) int dllTerminateDS(void) { return 0; }
__declspec(dllexport) int dllCreateOggVoidSoundBuffer(int*) { return 0; }
__declspec(dllexport) int dllCreateOggSoundBuffer(int*, const char*) { return 0; }
__declspec(dllexport) int dllCreateOggSoundBufferFromTfa(int*, const char*, const char*) { return 0; }
__declspec(dllexport) int dllReCreateOggSoundBuffer(int, const char*) { return 0; }
__declspec(dllexport) int dllReCreateOggSoundBufferFromTfa(int, const char*, const char*) { return 0; }
__declspec(dllexport) int dllCreateOggSoundBufferNonStreaming(int*, const char*) { return 0; }
__declspec(dllexport) int dllCreateOggSoundBufferNonStreamingFromTfa(int*, const char*, const char*) { return 0; }
__declspec(dllexport) int dllReCreateOggSoundBufferNonStreaming(int, const char*) { return 0; }
__declspec(dllexport) int dllReCreateOggSoundBufferNonStreamingFromTfa(int, const char*, const char*) { return 0; }
__declspec(dllexport) int dllClearAllBuffer(void) { return 0; }
__declspec(dllexport) int dllPlay(int) { return 0; }
__declspec(dllexport) int dllPlayLoop(int) { return 0; }
__declspec(dllexport) int dllStop(int) { return 0; }
__declspec(dllexport) int dllSetReadBufferSize(int) { return 0; }
__declspec(dllexport) int dllSetSoundBufferSec(float) { return 0; }
}
