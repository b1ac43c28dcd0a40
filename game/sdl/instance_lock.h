// Platform seam: one game at a time per player, since two would overwrite each
// other's "save.dat" (instance_lock_posix.cpp on Linux: an advisory lock on a file
// in the player's folder, which the system releases whatever way the game ends).
#pragma once

#include <string>

namespace torv {

class InstanceLock {
public:
  InstanceLock() = default;
  ~InstanceLock() { release(); }
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  // Takes the lock on path (the file is created when missing). False when another
  // holder has it, or the file cannot be made.
  bool acquire(const std::string& path);
  void release();
  bool held() const { return fd_ >= 0; }

private:
  int fd_ = -1;
};

inline constexpr char kInstanceLockFile[] = "torv.lock";

}  // namespace torv
