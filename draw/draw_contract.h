// The drawing contract: every entry point of the drawing front-end "tamDraw.dll" and
// of the back-ends it loads ("tamDx3DDraw.dll", "tamDDDraw.dll", "tamDIBDraw.dll"),
// as function-pointer types for binding by name with GetProcAddress.
//
// The game binds only the front-end. The front-end loads exactly one back-end,
// chosen by a DRAW_INIT_MODE, and forwards most calls to it one to one.
//
// Conventions that hold for every entry point below:
//  - cdecl (TORV_ENTRY_CALL, written into every type below), extern "C", exported
//    under exactly the name given in the comments (no decoration in the 32- or the
//    64-bit build); no C++ exception ever leaves one. These types are the only
//    spelling of the signatures: the game and the front-end bind through them, and
//    every exporting file checks each export against its type at compile time.
//  - int results: 0 = success, negative = failure. Image loads answer -1 for an
//    unreadable or undecodable image or a bad slot, -2 for a missing archive member,
//    -3 when the back-end could not load "tamArc.dll" (Direct3D: see its header).
//  - Coordinates and sizes are whole pixels of the frame set by the init call: origin
//    top-left, x to the right, y downwards. Positions may lie outside the frame; the
//    back-end clips. A RECT is {left, top, right, bottom}, right and bottom being
//    coordinates, not sizes.
//  - Image slot: a non-negative int naming one image inside the loaded back-end,
//    handed out 0, 1, 2 ... in order of successful creates (a failed create uses no
//    number). A re-create replaces the picture in place and keeps the number. Slots
//    are never freed one by one; all die with the back-end, i.e. when the front-end
//    unloads it (dllTerminate, or a new dllInit). Every call that names a slot
//    answers -1 for a slot outside 0 .. count-1 and draws nothing.
//  - Colour value: a DWORD whose byte order depends on the mode (see draw_mode.h):
//    mode 1 0xAARRGGBB, modes 2 and 3 0xAABBGGRR. Build it only with the front-end's
//    dllGetRGB / dllGetARGB, after dllInit.
//  - Alpha of an image draw: a double percentage, 0 = invisible, 100 = as stored.
//    It becomes the byte trunc(alpha * 255 / 100), clamped to 0 .. 255 (100 -> 255,
//    50 -> 127, 1 -> 2, 0 -> 0); each image pixel's own alpha is scaled by that byte.
//  - Text is single-byte or Shift-JIS double-byte (code page 932). The text entry
//    points take a printf format; the whole text is formatted (no length limit).
//  - Ownership: data passed in (paths, encoded images, texts) stay the caller's and
//    are read only during the call. Images, fonts and rendered strings live in the
//    back-end until it is unloaded. The HFONT* of dllGetFont stays the back-end's.
//  - Threads: every call comes from one thread (the game's drawing thread), one at a
//    time. The front-end's screen shake runs its own worker (dllShake).
//  - Order: init once; then image loads, font and cache calls, size queries; then per
//    frame dllBeginDraw, draws back to front, dllEndDraw. Draws outside a
//    BeginDraw/EndDraw bracket are not supported.
#pragma once

#include <windows.h>

#include "common/module_entry.h"
#include "draw/draw_mode.h"

extern "C" {

// ---------------------------------------------------------------------------------
// Entry points of every back-end (the front-end binds the 18 names by name; Direct3D
// adds dllInit16b). A back-end has no terminate entry: unloading it shuts it down.
// ---------------------------------------------------------------------------------

// "dllInit": creates the frame (width x height pixels) for window, the default font
// (height 14, "ＭＳ ゴシック", SHIFTJIS_CHARSET) and loads "tamArc.dll" (a missing
// archive library is no failure: only archive loads then answer -3). 0 or -1.
// "dllInit16b" (Direct3D only): the same with 16-bit textures forced.
typedef int(TORV_ENTRY_CALL* DrawBackendInitFn)(HWND window, int width, int height);

// "dllCreateImageLoadFromFile": decodes the PNG or 24-bit BMP at path into a new
// slot, written to *slot. 0, or -1 (unreadable or undecodable; *slot untouched).
typedef int(TORV_ENTRY_CALL* DrawCreateImageLoadFromFileFn)(int* slot, const char* path);
// "dllCreateImageLoadFromMemory": the same from size bytes of an encoded image.
typedef int(TORV_ENTRY_CALL* DrawCreateImageLoadFromMemoryFn)(int* slot, char* data, int size);
// "dllCreateImageLoadFromExpTfaFile": the same from the member named member of the
// ".tfa" archive at archive. 0; -1 archive unreadable or image undecodable; -2 no
// such member; -3 no archive library.
typedef int(TORV_ENTRY_CALL* DrawCreateImageLoadFromExpTfaFileFn)(int* slot, const char* member,
                                                                  const char* archive);

// "dllReCreateImageLoadFromFile", "...FromMemory", "...FromExpTfaFile": replace the
// image in an existing slot. -1 for a slot outside 0 .. count-1 (checked first);
// otherwise as the create forms. A failed re-create keeps the old image.
typedef int(TORV_ENTRY_CALL* DrawReCreateImageLoadFromFileFn)(int slot, const char* path);
typedef int(TORV_ENTRY_CALL* DrawReCreateImageLoadFromMemoryFn)(int slot, char* data, int size);
typedef int(TORV_ENTRY_CALL* DrawReCreateImageLoadFromExpTfaFileFn)(int slot, const char* member,
                                                                    const char* archive);

// "dllSetFont": replaces the current font (the old one is deleted) by face at height
// pixels, SHIFTJIS_CHARSET. 0, or -1 when the font cannot be created (the old one
// then stays). Rendered strings of the old font are not dropped; they age out.
typedef int(TORV_ENTRY_CALL* DrawSetFontFn)(const char* face, int height);
// "dllGetFont": address of the back-end's current font handle; the address stays
// valid while the back-end is loaded, its content changes with dllSetFont.
typedef HFONT*(TORV_ENTRY_CALL* DrawGetFontFn)(void);
// "dllClearStringCache": forgets every rendered string.
typedef void(TORV_ENTRY_CALL* DrawClearStringCacheFn)(void);

// Back-end "dllBeginDraw": clears the frame to black and starts a frame whose
// finished picture is shown with its top-left at (offsetX, offsetY) of the window's
// client area (screen shake). 0.
typedef int(TORV_ENTRY_CALL* DrawBackendBeginDrawFn)(int offsetX, int offsetY);
// "dllEndDraw": ends the frame and shows it in the window. 0.
typedef int(TORV_ENTRY_CALL* DrawEndDrawFn)(void);

// "dllDrawImage": the whole image of slot scaled to width x height at (x, y),
// blended by its per-pixel alpha times alpha %. 0; -1 for a bad slot.
typedef int(TORV_ENTRY_CALL* DrawImageFn)(int slot, int x, int y, int width, int height, double alpha);
// "dllDrawImageDetail": the unscaled width x height part of the image whose top-left
// is (srcX, srcY), drawn at (x, y), blended as above. 0; -1 for a bad slot.
typedef int(TORV_ENTRY_CALL* DrawImageDetailFn)(int slot, int srcX, int srcY, int x, int y, int width,
                                                int height, double alpha);
// "dllDrawImageFast": copies the width x height part at (srcX, srcY) to (x, y)
// without blending. transparent != 0: pixels whose alpha is 0 are left out, all
// others are copied opaque; transparent = 0: the rectangle is copied as it stands
// (fully transparent pixels come out black). 0; -1 for a bad slot.
// Note the argument order: destination before source, unlike dllDrawImageDetail.
typedef int(TORV_ENTRY_CALL* DrawImageFastFn)(int slot, int x, int y, int srcX, int srcY, int width,
                                              int height, int transparent);

// "dllDrawText" (both sides; variadic, so cdecl by necessity):
//  rect     where the text goes, by value.
//  count    bytes of the formatted text to draw; -1 = all (a double-byte character
//           counts two).
//  colour   colour value of the mode in use (the front-end clears its alpha byte for
//           the uncached path, which GDI draws).
//  noClip   uncached: adds DT_NOCLIP. Cached: no wrapping at rect.right and no stop
//           at rect.bottom.
//  centre   non-zero: one line centred in rect ("\n" does not break it); zero: text
//           flows from the top-left corner, wrapping at the right edge.
//  cached   non-zero: drawn through the back-end's cache of anti-aliased strings
//           (each distinct text, colour and font rendered once); zero: the system's
//           plain text output.
//  format   printf format and its arguments, formatted exactly once.
// A back-end answers 0. The front-end answers the length of the formatted text, or
// -1 (drawing stopped, or no back-end).
typedef int(TORV_ENTRY_CALL* DrawTextFn)(RECT rect, int count, DWORD colour, int noClip, int centre,
                                         int cached, const char* format, ...);

// "dllGetImageWidth", "dllGetImageHeight": the size of the image in slot, in pixels;
// -1 for a slot outside 0 .. count-1 (and, in the front-end, when no back-end is loaded).
typedef int(TORV_ENTRY_CALL* DrawGetImageSizeFn)(int slot);

// ---------------------------------------------------------------------------------
// Entry points of the front-end "tamDraw.dll" beyond the forwarded ones above (which
// it exports with the same types, except dllBeginDraw). The front-end answers -1 from
// every forwarded int entry point while no back-end is loaded.
// ---------------------------------------------------------------------------------

// "dllInit": unloads any back-end (all its slots are gone), then loads the one of
// mode and binds its 18 entry points (plus dllInit16b for Direct3D), then calls its
// dllInit, or dllInit16b when use16Bit != 0 (Direct3D only: other modes refuse
// use16Bit != 0). 0 when the back-end started; -1 otherwise, and then no back-end is
// loaded and dllGetInitMode answers DRAW_INIT_NONE.
typedef int(TORV_ENTRY_CALL* DrawInitFn)(HWND window, int width, int height, DRAW_INIT_MODE mode,
                                         int use16Bit);
// "dllTerminate": unloads the back-end (if any); the mode becomes DRAW_INIT_NONE.
typedef void(TORV_ENTRY_CALL* DrawTerminateFn)(void);
// "dllGetInitMode": the mode of the loaded back-end, DRAW_INIT_NONE when none.
typedef DRAW_INIT_MODE(TORV_ENTRY_CALL* DrawGetInitModeFn)(void);

// Front-end "dllBeginDraw": starts a frame at the current shake offset. 0, or -1 when
// drawing is stopped or no back-end is loaded (nothing happens then).
typedef int(TORV_ENTRY_CALL* DrawBeginDrawFn)(void);
// "dllStopDraw": stop != 0 suppresses every begin, end, image draw and text draw
// (they answer -1) until called with 0. Image loads and queries keep working.
typedef void(TORV_ENTRY_CALL* DrawStopDrawFn)(int stop);

// "dllDrawTextSimple": the text at (x, y) as dllDrawText with the rectangle
// {x, y, frame width, frame height}, count -1, noClip 1 and centre 0.
typedef int(TORV_ENTRY_CALL* DrawTextSimpleFn)(int x, int y, DWORD colour, int cached, const char* format,
                                               ...);
// "dllGetTextSize": the extent of text as one line in the back-end's current font.
// 0, or -1 (no back-end, null argument, GDI failure; *size then untouched).
typedef int(TORV_ENTRY_CALL* DrawGetTextSizeFn)(const char* text, SIZE* size);
// "dllGetImageRect": {0, 0, width, height} of the image in slot; the width and height
// are -1 for a bad slot or without a back-end.
typedef RECT(TORV_ENTRY_CALL* DrawGetImageRectFn)(int slot);

// "dllGetRGB": the opaque colour value (alpha 255) of the mode in use; 0 without a
// back-end. "dllGetARGB": the same with the alpha given last.
typedef DWORD(TORV_ENTRY_CALL* DrawGetRGBFn)(BYTE red, BYTE green, BYTE blue);
typedef DWORD(TORV_ENTRY_CALL* DrawGetARGBFn)(BYTE red, BYTE green, BYTE blue, BYTE alpha);

// "dllShake": shakes the picture sideways on a worker thread: count swings of 120 ms
// (count 1 takes about 300 ms in all; a negative count shakes until dllStopShake).
// Ignored while a shake runs. "dllStopShake": ends it; the next frame is at offset 0.
typedef void(TORV_ENTRY_CALL* DrawShakeFn)(int count);
typedef void(TORV_ENTRY_CALL* DrawStopShakeFn)(void);

}  // extern "C"

// Looks name up in module as the contract type Fn; null when the module lacks it.
// (GetProcAddress's FARPROC converts to a typed pointer only through a neutral
// function-pointer type.)
template <class Fn>
inline Fn draw_find_entry(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
