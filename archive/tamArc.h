/*
 * tamArc.h - the entry points of the archive library "tamArc.dll".
 *
 * The library reads and writes ".tfa" archives: many files packed into one, each
 * stored whole, lightly scrambled, and found by its title (its file name without
 * directory, at most 255 bytes, compared case-insensitively for ASCII letters).
 *
 * Binding. Callers do not link the library: they load "tamArc.dll" by name with
 * LoadLibraryA and look every entry point up by its undecorated name with
 * GetProcAddress, storing it in a pointer of the matching TamArc*Fn type below.
 * All entry points are plain C functions using the cdecl convention; the types
 * say so, and the library checks every export against its type when it is built.
 *
 * One instance per process. The library holds exactly one reader and one writer,
 * created when it is attached to the process and destroyed when it is detached.
 * Every module of the process that loads the library shares them: an archive
 * opened by one module is the open archive of every other, and there is one member
 * buffer. No entry point takes a lock; call them from one thread at a time.
 *
 * Results. 0 means success and -1 failure, unless an entry says otherwise. No
 * failure is reported anywhere else (no message, no log), and no C++ exception
 * leaves the library: an internal failure answers -1, a null pointer or "".
 *
 * Memory. What the library hands out (member buffers, titles) stays owned by the
 * library: read it at once, copy what you need to keep, and never free it. What
 * you pass in (paths, buffers) stays yours; the library copies what it keeps.
 *
 * Paths are byte strings in the system's ANSI code page.
 */
#ifndef TORV_ARCHIVE_TAMARC_H
#define TORV_ARCHIVE_TAMARC_H

#include "common/module_entry.h"

/* The one calling convention of the engine's entry points. */
#define TAMARC_CALL TORV_ENTRY_CALL
#if defined(_WIN32) && defined(TAMARC_BUILDING)
#define TAMARC_API __declspec(dllexport)
#else
#define TAMARC_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Reading ------------------------------------------------------------------
 * The reader reads an archive's directory when it is opened and reopens the file
 * by its path for every member it hands out, so the archive file must stay in
 * place while it is open. Opening another archive replaces the open one; callers
 * that share the library simply open the archive they need before each read.
 */

/* Opens the archive at path (at most 1023 bytes) and reads its directory,
 * replacing any open archive. Answers 0, or -1 when the file is missing,
 * unreadable, not a regular file, or not an archive (header or directory cut
 * short, a member count that is negative or larger than the file can hold).
 * After a failure no archive is open (count 0).
 * The member buffer handed out before stays valid until the next member read or
 * close. */
TAMARC_API int TAMARC_CALL dllOpenArchive(const char* path);
typedef int(TAMARC_CALL* TamArcOpenArchiveFn)(const char* path);

/* Forgets the open archive and frees the member buffer and all titles. Pointers
 * handed out before are invalid afterwards. Harmless when nothing is open. */
TAMARC_API void TAMARC_CALL dllCloseArchive(void);
typedef void(TAMARC_CALL* TamArcCloseArchiveFn)(void);

/* Number of members of the open archive; 0 when none is open. Members are
 * numbered 0 .. count-1 in directory order. */
TAMARC_API int TAMARC_CALL dllGetDataCount(void);
typedef int(TAMARC_CALL* TamArcGetDataCountFn)(void);

/* Title of member index, NUL-terminated. Answers "" (never null) for an index
 * outside 0 .. count-1. The text is owned by the library and valid until the next
 * dllOpenArchive or dllCloseArchive. */
TAMARC_API const char* TAMARC_CALL dllGetFileTitle(int index);
typedef const char*(TAMARC_CALL* TamArcGetFileTitleFn)(int index);

/* Copies the title of member index ("" for a bad index) into buffer with strncpy
 * rules: at most length bytes, the rest zero-filled, and NO terminator when the
 * title has length bytes or more. Pass length 256 to always get a terminated
 * title. Answers buffer; a null buffer or length <= 0 writes nothing. */
TAMARC_API char* TAMARC_CALL dllGetFileTitleBuf(int index, char* buffer, int length);
typedef char*(TAMARC_CALL* TamArcGetFileTitleBufFn)(int index, char* buffer, int length);

/* Decodes member index and sets *out to a buffer holding its payload. Answers the
 * payload length in bytes (0 for an empty member; *out then points at a buffer
 * with nothing to read), or -1 when index is out of range, the member's entry
 * lies outside the archive file (damaged directory), or the read fails; *out is
 * then left unchanged. A null out answers -1.
 * The buffer is the library's one member buffer: valid until the next
 * dllGetMemory* or dllSaveFile* call, dllCloseArchive or unload. Do not free it. */
TAMARC_API int TAMARC_CALL dllGetMemoryFromIndex(int index, unsigned char** out);
typedef int(TAMARC_CALL* TamArcGetMemoryFromIndexFn)(int index, unsigned char** out);

/* As dllGetMemoryFromIndex for the first member (in directory order) whose title
 * equals title, ignoring the case of ASCII letters. Sets *out to null first, so
 * *out is null after any failure, including "no such member" (-1). */
TAMARC_API int TAMARC_CALL dllGetMemoryFromFileName(const char* title, unsigned char** out);
typedef int(TAMARC_CALL* TamArcGetMemoryFromFileNameFn)(const char* title, unsigned char** out);

/* Writes the payload of member index to a loose file at destination, replacing
 * any file there (an empty member gives an empty file). Answers 0 or -1 (bad
 * index, damaged entry, file not created or not fully written; a partly written
 * file is removed). Uses the member buffer: pointers from dllGetMemory* are
 * invalid afterwards. */
TAMARC_API int TAMARC_CALL dllSaveFileFromIndex(int index, const char* destination);
typedef int(TAMARC_CALL* TamArcSaveFileFromIndexFn)(int index, const char* destination);

/* As dllSaveFileFromIndex for the first member whose title matches as in
 * dllGetMemoryFromFileName; -1 when none does. */
TAMARC_API int TAMARC_CALL dllSaveFileFromFileName(const char* title, const char* destination);
typedef int(TAMARC_CALL* TamArcSaveFileFromFileNameFn)(const char* title, const char* destination);

/* ---- Writing ------------------------------------------------------------------
 * The writer keeps a list of members (each read and scrambled when added) until
 * it is cleared; saving writes them all as one archive. It is independent of the
 * reader. No delivered program builds archives; these serve the tools.
 */

/* Reads the file at path whole and appends it to the list. Its title is the part
 * of path after the last backslash (so pass Windows paths with backslashes).
 * Answers 0, or -1 when the file is missing, unreadable, not a regular file, or
 * its path (over 2047 bytes) or title (over 255 bytes) is too long; the list is
 * then unchanged. An empty file, or a path ending in a backslash, is skipped and
 * answers 0. Adding the same file twice gives two members with the same title. */
TAMARC_API int TAMARC_CALL dllAddFile(const char* path);
typedef int(TAMARC_CALL* TamArcAddFileFn)(const char* path);

/* Writes every member in the order added to an archive at path, replacing any
 * file there. Answers 0, or -1 when the list is empty (no file is created), the
 * file cannot be created or fully written (a partial file is removed), or the
 * members exceed the format's 2 GiB of offsets. The list is kept: saving again
 * writes the same bytes. */
TAMARC_API int TAMARC_CALL dllSaveArchive(const char* path);
typedef int(TAMARC_CALL* TamArcSaveArchiveFn)(const char* path);

/* Empties the writer's list; a following dllSaveArchive answers -1. */
TAMARC_API void TAMARC_CALL dllClearArchive(void);
typedef void(TAMARC_CALL* TamArcClearArchiveFn)(void);

#ifdef __cplusplus
}
#endif

#endif /* TORV_ARCHIVE_TAMARC_H */
