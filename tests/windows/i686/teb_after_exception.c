/* The emulation fault behind the 32-bit suite's known faults, shown without any of
 * our code: after another thread has run, an exception dispatched in the main thread
 * leaves it on that other thread's TEB. Windows and native 32-bit Wine keep every
 * thread on its own TEB.
 *
 * Cause: 32-bit Wine points %fs at each thread's TEB through a set_thread_area entry,
 * the same selector in every thread; the kernel keeps those entries per thread, qemu's
 * user-mode emulator keeps one GDT for the whole process, so the last thread to set
 * the entry wins, and the next reload of %fs (every exception dispatch restores the
 * segment registers) picks up its TEB. The C library's %gs thread pointer shares the
 * same fate. A thread then uses another thread's server pipes (two threads blocked on
 * one reply pipe: the 32-bit game's hang in Direct3D start-up, where the renderer's
 * threads start before the main thread goes on) or a freed TEB (the crash at exit, when
 * a module's DllMain calls OutputDebugStringA, which raises an exception).
 *
 * Prints the TEBs; exit 0 when the main thread keeps its own, 3 when it runs on the
 * other thread's (kept alive, so its TEB stays valid). */
#include <windows.h>
#include <stdio.h>

static void* thread_teb;
static HANDLE ready, finish;

/* The TEB that %fs points at (its Self field), as Windows code finds it. */
static void* current_teb(void) {
  void* teb;
  __asm__ volatile("movl %%fs:0x18, %0" : "=r"(teb));
  return teb;
}

/* Notes its TEB, then stays alive (so its TEB stays valid) until the end. */
static DWORD WINAPI note_teb(LPVOID unused) {
  (void)unused;
  thread_teb = current_teb();
  SetEvent(ready);
  WaitForSingleObject(finish, INFINITE);
  return 0;
}

static LONG CALLBACK resume(EXCEPTION_POINTERS* e) {
  return e->ExceptionRecord->ExceptionCode == 0xE0000001 ? EXCEPTION_CONTINUE_EXECUTION : EXCEPTION_CONTINUE_SEARCH;
}

int main(void) {
  void* own = current_teb();
  ready = CreateEventA(NULL, TRUE, FALSE, NULL);
  finish = CreateEventA(NULL, TRUE, FALSE, NULL);
  if (CreateThread(NULL, 0, note_teb, NULL, 0, NULL) == NULL) return 1;
  WaitForSingleObject(ready, INFINITE);
  printf("main thread's TEB %p; the other thread's %p\n", own, thread_teb);
  fflush(stdout);
  AddVectoredExceptionHandler(1, resume);
  RaiseException(0xE0000001, 0, 0, NULL);
  void* after = current_teb();
  printf("after an exception the main thread runs on %p\n", after);
  fflush(stdout);
  /* Leave at once: on the wrong TEB an orderly exit may hang or crash. */
  TerminateProcess(GetCurrentProcess(), after == own ? 0 : 3);
  return 0;
}
