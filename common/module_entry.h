/*
 * module_entry.h - the calling convention of every entry point that the engine's
 * modules export, and the compile-time check that ties an export to its type.
 *
 * The modules are loaded by name and their entry points bound with GetProcAddress,
 * so no linker ever compares the caller's idea of a signature with the callee's.
 * 64-bit Windows has one calling convention; 32-bit Windows has several, and a
 * cdecl/stdcall mismatch there links, loads and binds without complaint and then
 * unbalances the stack at the first call. Hence:
 *  - each module's contract header writes TORV_ENTRY_CALL into every
 *    function-pointer type it defines, and callers bind only through those types;
 *  - each exporting file states TORV_CHECK_EXPORT(export, Type) for every export,
 *    which fails to compile unless the export has exactly that type: return type,
 *    every parameter type and (in the 32-bit build, where GCC keeps it in the
 *    type) the calling convention.
 * C-compatible and portable: natively there is one convention and the macro is
 * empty, so the contract headers can be shared with the portable code.
 */
#ifndef TORV_COMMON_MODULE_ENTRY_H
#define TORV_COMMON_MODULE_ENTRY_H

#ifdef _WIN32
#define TORV_ENTRY_CALL __cdecl
#else
#define TORV_ENTRY_CALL
#endif

#ifdef __cplusplus
#include <type_traits>

#define TORV_CHECK_EXPORT(fn, Type) \
  static_assert(std::is_same<decltype(&fn), Type>::value, #fn " differs from its contract type " #Type)
#endif

#endif /* TORV_COMMON_MODULE_ENTRY_H */
