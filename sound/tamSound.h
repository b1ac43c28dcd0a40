// tamSound.dll: the sound module. Plays Ogg Vorbis sounds, read from loose files or
// from ".tfa" archive members, through DirectSound.
//
// Binding. The game loads "tamSound.dll" by name and looks every entry point up by
// its undecorated name; the typedefs at the end of this file are the signatures to
// bind with. Every entry point is extern "C" cdecl and never lets an exception out.
//
// Handles. A sound handle is a positive int chosen by the module; a released handle
// is not handed out again until two thousand million others were. Each handle
// holds one sound of one of three kinds:
//   - an effect ("NonStreaming"): decoded whole when created, kept as PCM;
//   - a streamed sound (plain "Create"/"ReCreate"): the Ogg bytes are kept and
//     decoded while the sound plays, by the module's own refill thread, into a ring
//     of dllSetSoundBufferSec seconds, so a long piece costs the memory of its
//     compressed bytes plus a fraction of a second of PCM;
//   - a void sound: silent, made by dllCreateOggVoidSoundBuffer or left behind by a
//     failed re-create.
// A re-create call keeps the handle and its volume and replaces its sound; the kind
// follows the call used. If the handle was playing, the new sound starts from its
// beginning in the same mode (once or looped), so music swaps without a stale tail.
// If the new data cannot be used the handle becomes void (silent), stays valid, and
// the call answers the failure code.
//
// Names. "path" is a loose file's path; "name" an archive member's title (matched
// without regard to ASCII case) and "archive" the archive file's path: all
// zero-terminated byte strings in the ANSI code page, read during the call only. The
// module reads archives with its own reader, never through "tamArc.dll".
//
// Data accepted: Ogg Vorbis, 1 or 2 channels, 8000 to 192000 samples per second,
// every page intact and the first samples decodable (a truncated or damaged stream
// is refused). An effect lasts at most 60 seconds: one whose stream claims more, or
// decodes to more, is refused with TAMSOUND_E_BAD_DATA; its PCM buffer grows with
// what decodes, never from the length claimed. All links of a chained stream must
// share one format.
//
// No audio device. When DirectSound cannot be started (no device, no driver) the
// module runs silent: every call behaves as documented, decoding still validates the
// data (a missing or damaged member still fails creation), nothing is heard.
//
// Threads. Call from one thread (the game thread). The module runs one refill thread
// of its own while started with a device; dllTerminateDS stops it.
//
// Results: 0 success, or one of the negative TAMSOUND_E_* codes below.
#pragma once

#include "common/module_entry.h"

#ifdef __cplusplus
extern "C" {
#endif

enum {
  TAMSOUND_OK = 0,
  TAMSOUND_E_ARGUMENT = -1,   // null pointer, unknown handle, value out of range, module not started
  TAMSOUND_E_NOT_FOUND = -2,  // the file, the archive or the member cannot be read
  TAMSOUND_E_BAD_DATA = -3,   // not Ogg Vorbis, truncated, damaged, or a format not accepted
  TAMSOUND_E_DEVICE = -4,     // the sound device refused a buffer
  TAMSOUND_E_MEMORY = -5      // out of memory
};

// Starts the module. window: the game's top-level window (an HWND; null is
// accepted: the desktop window is used). Opens DirectSound and starts the refill
// thread; with no usable device the module starts silent and still answers 0.
// A second dllInit while started changes nothing and answers 0. After
// dllTerminateDS the module may be started again.
int dllInit(void* window);

// Stops the refill thread, releases every sound and the device. Always 0. Calling
// it again, or calling any other entry point afterwards, is harmless: creates and
// handle calls answer TAMSOUND_E_ARGUMENT; settings are kept for a later dllInit.
int dllTerminateDS(void);

// Creates a void (silent) handle into *handle, to be filled by a later re-create.
int dllCreateOggVoidSoundBuffer(int* handle);

// Streamed sounds (music). *handle is written only on success.
int dllCreateOggSoundBuffer(int* handle, const char* path);
int dllCreateOggSoundBufferFromTfa(int* handle, const char* name, const char* archive);
int dllReCreateOggSoundBuffer(int handle, const char* path);
int dllReCreateOggSoundBufferFromTfa(int handle, const char* name, const char* archive);

// Effects, decoded whole at creation. *handle is written only on success.
int dllCreateOggSoundBufferNonStreaming(int* handle, const char* path);
int dllCreateOggSoundBufferNonStreamingFromTfa(int* handle, const char* name, const char* archive);
int dllReCreateOggSoundBufferNonStreaming(int handle, const char* path);
int dllReCreateOggSoundBufferNonStreamingFromTfa(int handle, const char* name, const char* archive);

// Releases every handle (all sounds stop; the handles become unknown). Always 0.
int dllClearAllBuffer(void);

// Plays the sound once from its beginning; a sound still playing restarts.
int dllPlay(int handle);
// Plays the sound from its beginning, repeating without a gap until dllStop.
int dllPlayLoop(int handle);
// Stops the sound; the next play starts from the beginning again.
int dllStop(int handle);

// Volume of one handle in percent of full amplitude, 0 (silent) to 100 (as
// recorded); kept across re-creates. Values outside 0..100: TAMSOUND_E_ARGUMENT.
int dllSetVolume(int handle, int volume);

// Size in bytes of the PCM the refill thread decodes per step, 64 to 1048576
// (default 4096). Applies from the next refill on.
int dllSetReadBufferSize(int bytes);

// Length in seconds of the ring of each streamed sound created or re-created
// afterwards, 0.05 to 10 (default 0.5). Shorter rings start faster and need a
// steadier thread: the refill thread wakes five times per ring (every 5 to 50 ms),
// and a thread held up for a whole ring makes the ring play again.
int dllSetSoundBufferSec(float seconds);

// Not bound by the game: what a tool or a test may ask about one handle.
typedef struct TamSoundStatus {
  int device;          // 1 when sound goes to a DirectSound device, 0 when silent
  int kind;            // 0 void, 1 effect, 2 streamed
  int playing;         // 1 while playing
  int looping;         // 1 when the last play was dllPlayLoop
  int volume;          // percent
  int channels;        // of the current sound; 0 for a void one
  int rate;            // samples per second; 0 for a void one
  long long frames;    // length of the sound in sample frames; 0 for a void one
  long long played;    // streamed: bytes of PCM played since the last start
  long long written;   // streamed: bytes of PCM put into the ring since the last start
  long long seams;     // streamed: times the decoder went from the end back to the start
  long long pcm_held;  // bytes of decoded PCM the module holds for this handle
} TamSoundStatus;
// Fills *status for handle. TAMSOUND_E_ARGUMENT for an unknown handle or null.
int dllGetSoundStatus(int handle, TamSoundStatus* status);

// Signatures to bind with GetProcAddress, calling convention included; the module
// checks every export against its type when it is built.
typedef int(TORV_ENTRY_CALL* TamSoundInitProc)(void* window);
typedef int(TORV_ENTRY_CALL* TamSoundTerminateProc)(void);
typedef int(TORV_ENTRY_CALL* TamSoundCreateVoidProc)(int* handle);
typedef int(TORV_ENTRY_CALL* TamSoundCreateFileProc)(int* handle, const char* path);
typedef int(TORV_ENTRY_CALL* TamSoundCreateTfaProc)(int* handle, const char* name, const char* archive);
typedef int(TORV_ENTRY_CALL* TamSoundReCreateFileProc)(int handle, const char* path);
typedef int(TORV_ENTRY_CALL* TamSoundReCreateTfaProc)(int handle, const char* name, const char* archive);
typedef int(TORV_ENTRY_CALL* TamSoundClearAllProc)(void);
typedef int(TORV_ENTRY_CALL* TamSoundHandleProc)(int handle);  // dllPlay, dllPlayLoop, dllStop
typedef int(TORV_ENTRY_CALL* TamSoundSetVolumeProc)(int handle, int volume);
typedef int(TORV_ENTRY_CALL* TamSoundSetReadBufferSizeProc)(int bytes);
typedef int(TORV_ENTRY_CALL* TamSoundSetSoundBufferSecProc)(float seconds);
typedef int(TORV_ENTRY_CALL* TamSoundGetStatusProc)(int handle, TamSoundStatus* status);

#ifdef __cplusplus
}
#endif
