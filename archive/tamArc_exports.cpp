// "tamArc.dll": the library's one reader and one writer, and the exported entry
// points that forward to them. No exception leaves an export.
#define TAMARC_BUILDING
#include "archive/tamArc.h"

#include <windows.h>

#include <cstring>
#include <new>

#include "archive/tam_archive_create.h"
#include "archive/tam_archive_expand.h"

namespace {

CTamArchiveExpand* g_reader = nullptr;
CTamArchiveCreate* g_writer = nullptr;

// Runs call on the instance, answering fallback when there is none or it throws.
template <class Instance, class Result, class Call>
Result guarded(Instance* instance, Result fallback, Call call) {
  if (!instance) return fallback;
  try {
    return call(*instance);
  } catch (...) {
    return fallback;
  }
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      g_reader = new (std::nothrow) CTamArchiveExpand;
      g_writer = new (std::nothrow) CTamArchiveCreate;
      if (!g_reader || !g_writer) {
        delete g_reader;
        delete g_writer;
        g_reader = nullptr;
        g_writer = nullptr;
        return FALSE;
      }
      break;
    case DLL_PROCESS_DETACH:
      delete g_reader;
      delete g_writer;
      g_reader = nullptr;
      g_writer = nullptr;
      OutputDebugStringA("tamArc.dll Debug(_CrtDumpMemoryLeaks)\n");
      break;
    default:
      break;
  }
  return TRUE;
}

extern "C" {

TAMARC_API int TAMARC_CALL dllOpenArchive(const char* path) {
  return guarded(g_reader, -1, [&](CTamArchiveExpand& r) { return r.OpenArchive(path); });
}

TAMARC_API void TAMARC_CALL dllCloseArchive(void) {
  guarded(g_reader, 0, [](CTamArchiveExpand& r) {
    r.CloseArchive();
    return 0;
  });
}

TAMARC_API int TAMARC_CALL dllGetDataCount(void) {
  return guarded(g_reader, 0, [](CTamArchiveExpand& r) { return r.GetDataCount(); });
}

TAMARC_API const char* TAMARC_CALL dllGetFileTitle(int index) {
  return guarded(g_reader, "", [&](CTamArchiveExpand& r) { return r.GetFileTitle(index); });
}

TAMARC_API char* TAMARC_CALL dllGetFileTitleBuf(int index, char* buffer, int length) {
  if (!buffer || length <= 0) return buffer;
  const char* title = dllGetFileTitle(index);
  return std::strncpy(buffer, title, static_cast<size_t>(length));
}

TAMARC_API int TAMARC_CALL dllGetMemoryFromIndex(int index, unsigned char** out) {
  return guarded(g_reader, -1, [&](CTamArchiveExpand& r) { return r.GetMemory(index, out); });
}

TAMARC_API int TAMARC_CALL dllGetMemoryFromFileName(const char* title, unsigned char** out) {
  return guarded(g_reader, -1, [&](CTamArchiveExpand& r) { return r.GetMemory(title, out); });
}

TAMARC_API int TAMARC_CALL dllSaveFileFromIndex(int index, const char* destination) {
  return guarded(g_reader, -1, [&](CTamArchiveExpand& r) { return r.SaveFile(index, destination); });
}

TAMARC_API int TAMARC_CALL dllSaveFileFromFileName(const char* title, const char* destination) {
  return guarded(g_reader, -1, [&](CTamArchiveExpand& r) { return r.SaveFile(title, destination); });
}

TAMARC_API int TAMARC_CALL dllAddFile(const char* path) {
  return guarded(g_writer, -1, [&](CTamArchiveCreate& w) { return w.AddFile(path); });
}

TAMARC_API int TAMARC_CALL dllSaveArchive(const char* path) {
  return guarded(g_writer, -1, [&](CTamArchiveCreate& w) { return w.SaveArchive(path); });
}

TAMARC_API void TAMARC_CALL dllClearArchive(void) {
  guarded(g_writer, 0, [](CTamArchiveCreate& w) {
    w.ClearArchive();
    return 0;
  });
}

}  // extern "C"

// Every export has exactly the type callers bind it with (the calling convention too).
TORV_CHECK_EXPORT(dllOpenArchive, TamArcOpenArchiveFn);
TORV_CHECK_EXPORT(dllCloseArchive, TamArcCloseArchiveFn);
TORV_CHECK_EXPORT(dllGetDataCount, TamArcGetDataCountFn);
TORV_CHECK_EXPORT(dllGetFileTitle, TamArcGetFileTitleFn);
TORV_CHECK_EXPORT(dllGetFileTitleBuf, TamArcGetFileTitleBufFn);
TORV_CHECK_EXPORT(dllGetMemoryFromIndex, TamArcGetMemoryFromIndexFn);
TORV_CHECK_EXPORT(dllGetMemoryFromFileName, TamArcGetMemoryFromFileNameFn);
TORV_CHECK_EXPORT(dllSaveFileFromIndex, TamArcSaveFileFromIndexFn);
TORV_CHECK_EXPORT(dllSaveFileFromFileName, TamArcSaveFileFromFileNameFn);
TORV_CHECK_EXPORT(dllAddFile, TamArcAddFileFn);
TORV_CHECK_EXPORT(dllSaveArchive, TamArcSaveArchiveFn);
TORV_CHECK_EXPORT(dllClearArchive, TamArcClearArchiveFn);
