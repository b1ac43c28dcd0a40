// The instance lock with flock: held by the open file, so it ends with the process.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "game/sdl/instance_lock.h"

namespace torv {

bool InstanceLock::acquire(const std::string& path) {
  release();
  const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0) return false;
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    close(fd);
    return false;
  }
  fd_ = fd;
  return true;
}

void InstanceLock::release() {
  if (fd_ < 0) return;
  close(fd_);  // closing the last descriptor releases the lock
  fd_ = -1;
}

}  // namespace torv
