// CTamSound: the sound module's one instance: the handle table, loading and
// decoding, and the refill work of the module's thread. Portable: the device comes
// in through ISoundDevice, and a missing device means silence.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "sound/ogg_memory_decoder.h"
#include "sound/sound_buffers.h"
#include "sound/sound_output.h"
#include "sound/tamSound.h"

namespace torv {

// Where a sound's Ogg bytes come from: a loose file, or a member of an archive.
struct SoundSource {
  static SoundSource File(const char* path) { return {path, nullptr, false}; }
  static SoundSource Member(const char* name, const char* archive) { return {archive, name, true}; }

  const char* path;  // the loose file, or the archive
  const char* name;  // the member's title
  bool in_archive;
};

class CTamSound {
public:
  static constexpr uint32_t kDefaultReadChunk = 4096;
  static constexpr float kDefaultRingSeconds = 0.5f;
  // Longest effect decoded whole. Effects are short; anything longer is music or
  // damaged data (at 192 kHz stereo this is 46 MB of PCM).
  static constexpr int kMaxEffectSeconds = 60;

  CTamSound() = default;
  ~CTamSound();
  CTamSound(const CTamSound&) = delete;
  CTamSound& operator=(const CTamSound&) = delete;

  // Starts with device (null: silent). A second Init while started changes nothing.
  int Init(std::unique_ptr<ISoundDevice> device);
  // Releases every sound, then the device.
  void Terminate();
  bool IsStarted() const { return started_; }
  bool HasDevice() const { return device_ != nullptr; }

  int CreateOggVoidSoundBuffer(int* handle);
  int CreateSound(int* handle, const SoundSource& source, SoundKind kind);
  int ReCreateSound(int handle, const SoundSource& source, SoundKind kind);
  int ClearAllBuffer();

  int Play(int handle);
  int PlayLoop(int handle);
  int Stop(int handle);
  int SetVolume(int handle, int volume);
  int SetReadBufferSize(int bytes);
  int SetSoundBufferSec(float seconds);
  int GetStatus(int handle, TamSoundStatus* status);

  // The refill thread's work: tops up every playing streamed sound.
  void Refill();
  // How often Refill should run for the ring length in force, in milliseconds.
  int RefillPeriodMs();

  size_t HandleCount();

private:
  struct Entry {
    std::unique_ptr<CSoundBuffer> sound;
    int volume = 100;
  };

  int Load(const SoundSource& source, OggBytes* out) const;
  int Build(const SoundSource& source, SoundKind kind, std::unique_ptr<CSoundBuffer>* out);
  int Insert(std::unique_ptr<CSoundBuffer> sound, int* handle);
  int Start(int handle, bool loop);

  std::mutex mutex_;  // guards handles_ and the settings against the refill thread
  std::unique_ptr<ISoundDevice> device_;
  std::map<int, Entry> handles_;
  int next_handle_ = 1;
  bool started_ = false;
  uint32_t read_chunk_ = kDefaultReadChunk;
  float ring_seconds_ = kDefaultRingSeconds;
};

}  // namespace torv
