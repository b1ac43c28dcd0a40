// One game per player: the lock refuses a second holder, in this process or another,
// and is free again when the holder ends, however it ends.
#include "game/sdl/instance_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace torv {
namespace {

std::string lock_path() { return testing::TempDir() + "instance_lock_test.lock"; }

// Whether another process can take the lock now (exit status 0 = taken).
bool other_process_acquires(const std::string& path) {
  const pid_t child = fork();
  if (child == 0) {
    InstanceLock lock;
    _exit(lock.acquire(path) ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(InstanceLock, RefusesASecondHolderUntilTheFirstLetsGo) {
  const std::string path = lock_path();
  std::remove(path.c_str());
  InstanceLock first;
  ASSERT_TRUE(first.acquire(path));
  InstanceLock second;
  EXPECT_FALSE(second.acquire(path));
  EXPECT_FALSE(other_process_acquires(path));
  first.release();
  EXPECT_TRUE(other_process_acquires(path));
  EXPECT_TRUE(second.acquire(path));
}

TEST(InstanceLock, AKilledHolderLeavesItFree) {
  const std::string path = lock_path();
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t holder = fork();
  if (holder == 0) {
    InstanceLock lock;
    const char taken = lock.acquire(path) ? 1 : 0;
    if (write(ready[1], &taken, 1) != 1) _exit(2);
    pause();
    _exit(0);
  }
  char taken = 0;
  ASSERT_EQ(read(ready[0], &taken, 1), 1);
  ASSERT_EQ(taken, 1);
  InstanceLock mine;
  EXPECT_FALSE(mine.acquire(path));
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_TRUE(mine.acquire(path));
  close(ready[0]);
  close(ready[1]);
}

TEST(InstanceLock, AFolderThatCannotHoldTheFileIsAFailure) {
  InstanceLock lock;
  EXPECT_FALSE(lock.acquire("/nonexistent-folder/torv.lock"));
  EXPECT_FALSE(lock.held());
}

}  // namespace
}  // namespace torv
