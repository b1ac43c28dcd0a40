// tamDIJoy.dll: the joystick module. Reads the first attached game controller
// through DirectInput 8.
//
// Binding. The game loads "tamDIJoy.dll" by name and looks every entry point up by
// its undecorated name; the typedefs at the end are the signatures to bind with.
// Every entry point is extern "C" cdecl and never lets an exception out.
//
// Reading. The pad is polled afresh at every query; there is no thread and no
// buffering. Directions come from the X and Y axes, with a dead zone a quarter of
// the axis wide around the centre; while an axis is centred the first hat switch
// (the cross pad on many controllers) gives that direction instead. A pad that is
// absent, was unplugged, or cannot be read answers "centred, nothing held"; it is
// never reported as an error. Buttons are numbered from 0, as DirectInput numbers
// them (0 to 127).
//
// Threads. Call from one thread (the game thread).
#pragma once

#include "common/module_entry.h"

#ifdef __cplusplus
extern "C" {
#endif

// Opens the first attached game controller for window (an HWND; null is accepted).
// 0 when a pad is ready to read; -1 when there is none or DirectInput cannot be
// started. Either way the other calls work. A second dllInit closes the pad first
// and looks again.
int dllInit(void* window);

// Direction of the pad, x in the low and y in the high 32 bits, both signed:
// x -1 left, +1 right; y -1 up, +1 down; 0 centred (and always 0 without a pad).
// Split it with (int)(v & 0xFFFFFFFF) and (int)(v >> 32).
long long dllGetJoyXY(void);

// Non-zero while button `button` is held; 0 for a number outside 0..127 and
// without a pad.
int dllGetJoyBtn(int button);

// The lowest number of a button being held, or -1 when none is (or no pad).
int dllGetJoy(void);

// Releases the pad and DirectInput. Always 0; harmless to repeat. Afterwards the
// queries answer "nothing held" until the next dllInit.
int dllTerminateDI(void);

// Signatures to bind with GetProcAddress, calling convention included; the module
// checks every export against its type when it is built.
typedef int(TORV_ENTRY_CALL* TamJoyInitProc)(void* window);
typedef long long(TORV_ENTRY_CALL* TamJoyGetXYProc)(void);
typedef int(TORV_ENTRY_CALL* TamJoyGetBtnProc)(int button);
typedef int(TORV_ENTRY_CALL* TamJoyGetProc)(void);
typedef int(TORV_ENTRY_CALL* TamJoyTerminateProc)(void);

#ifdef __cplusplus
}
#endif
