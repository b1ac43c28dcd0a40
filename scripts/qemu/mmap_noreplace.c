/* Preloaded into 32-bit programs that run under qemu-i386 7.2 (the Wine scripts do
 * that only there). qemu takes MAP_FIXED_NOREPLACE ("this address or fail with
 * EEXIST") as a mere hint and hands out another address instead. 32-bit Wine reserves
 * its address space with such calls (no preloader on Debian); given other addresses,
 * its reservations spread over the whole 4 GiB, one of them over the shared user data
 * page (every process then stops at start-up: "failed to map the shared user data"),
 * or the start of every 32-bit process spends minutes splitting ranges down to 64 KiB
 * pieces. This mmap gives the kernel's answer: the address asked for, or EEXIST.
 *
 * Freestanding (no C library headers, raw system calls), so the machine's gcc builds
 * it with -m32 without a 32-bit C library; the C library's errno is set through
 * __errno_location, found at run time in the process's libc. */
typedef unsigned int size_t;

#define SYS_munmap 91
#define SYS_mmap2 192
#define MAP_FIXED 0x10
#define MAP_FIXED_NOREPLACE 0x100000
#define EEXIST 17
#define EINVAL 22
#define PAGE_SHIFT 12
#define PAGE_MASK 0xfffULL
#define MAP_FAILED ((void*)-1)

int* __errno_location(void);

// The sixth argument goes in ebp, which the compiler may be using; so all six are read
// from memory through ebx after ebp is saved.
static long syscall6(long n, long a, long b, long c, long d, long e, long f) {
  long args[6] = {a, b, c, d, e, f};
  long* p = args;
  long r;
  __asm__ volatile(
      "push %%ebp\n\t"
      "mov 20(%%ebx), %%ebp\n\t"
      "mov 16(%%ebx), %%edi\n\t"
      "mov 12(%%ebx), %%esi\n\t"
      "mov 8(%%ebx), %%edx\n\t"
      "mov 4(%%ebx), %%ecx\n\t"
      "mov 0(%%ebx), %%ebx\n\t"
      "int $0x80\n\t"
      "pop %%ebp"
      : "=a"(r), "+b"(p)
      : "a"(n)
      : "ecx", "edx", "esi", "edi", "memory");
  return r;
}

static void* result(long r) {
  if ((unsigned long)r > -4096UL) {
    *__errno_location() = (int)-r;
    return MAP_FAILED;
  }
  return (void*)r;
}

static void* map(void* addr, size_t length, int prot, int flags, int fd, unsigned long long offset) {
  // mmap2 counts the offset in pages: refuse one within a page as the C library does
  // (Wine then reads such sections instead of mapping them).
  if (offset & PAGE_MASK) return result(-EINVAL);
  if (!(flags & MAP_FIXED_NOREPLACE) || (flags & MAP_FIXED)) {
    return result(syscall6(SYS_mmap2, (long)addr, (long)length, prot, flags, fd, (long)(offset >> PAGE_SHIFT)));
  }
  long r = syscall6(SYS_mmap2, (long)addr, (long)length, prot, flags & ~MAP_FIXED_NOREPLACE, fd,
                    (long)(offset >> PAGE_SHIFT));
  if ((unsigned long)r <= -4096UL && (void*)r != addr) {
    syscall6(SYS_munmap, r, (long)length, 0, 0, 0, 0);
    r = -EEXIST;
  }
  return result(r);
}

__attribute__((visibility("default"))) void* mmap(void* addr, size_t length, int prot, int flags, int fd, long offset) {
  return map(addr, length, prot, flags, fd, (unsigned long long)(unsigned long)offset);
}

__attribute__((visibility("default"))) void* mmap64(void* addr, size_t length, int prot, int flags, int fd,
                                                     long long offset) {
  return map(addr, length, prot, flags, fd, (unsigned long long)offset);
}

