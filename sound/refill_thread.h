// The sound module's own thread: it keeps every playing streamed sound's ring ahead
// of its play cursor (Windows only).
#pragma once

#include "sound/tam_sound.h"

namespace torv {

class CRefillThread {
public:
  CRefillThread() = default;
  ~CRefillThread() { Stop(); }
  CRefillThread(const CRefillThread&) = delete;
  CRefillThread& operator=(const CRefillThread&) = delete;

  // Starts calling sound->Refill() every RefillPeriodMs(). False if no thread.
  bool Start(CTamSound* sound);
  // Returns once the thread has ended. Harmless when not running.
  void Stop();
  bool IsRunning() const { return thread_ != nullptr; }

private:
  void* thread_ = nullptr;  // HANDLE
  void* stop_ = nullptr;    // HANDLE of a manual-reset event
};

}  // namespace torv
