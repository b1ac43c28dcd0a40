// CTamSound: handles, loading from files and archives, and the refill work.
#include "sound/tam_sound.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>
#include <new>

#include "archive/file_io.h"
#include "archive/tam_archive_expand.h"
#include "common/trace.h"
#include "sound/sound_volume.h"

namespace torv {

namespace {

// Larger Ogg files are refused rather than read: a sound file has no business
// being this big, and the whole file is held in memory.
constexpr int64_t kMaxOggFileBytes = int64_t{256} << 20;
constexpr uint32_t kMinReadChunk = 64;
constexpr uint32_t kMaxReadChunk = 1u << 20;
constexpr float kMinRingSeconds = 0.05f;
constexpr float kMaxRingSeconds = 10.0f;
// The refill thread wakes five times per ring, within these bounds.
constexpr int kMinRefillMs = 5;
constexpr int kMaxRefillMs = 50;

int read_loose_file(const char* path, OggBytes* out) {
  if (!regular_file_readable(path)) return TAMSOUND_E_NOT_FOUND;
  std::FILE* f = std::fopen(path, "rb");
  if (!f) return TAMSOUND_E_NOT_FOUND;
  const int64_t length = file_length(f);
  int rc = TAMSOUND_OK;
  auto bytes = std::make_shared<std::vector<uint8_t>>();
  if (length < 0) {
    rc = TAMSOUND_E_NOT_FOUND;
  } else if (length > kMaxOggFileBytes) {
    rc = TAMSOUND_E_BAD_DATA;
  } else {
    bytes->resize(static_cast<size_t>(length));
    if (std::fread(bytes->data(), 1, bytes->size(), f) != bytes->size()) rc = TAMSOUND_E_NOT_FOUND;
  }
  std::fclose(f);
  if (rc == TAMSOUND_OK) *out = std::move(bytes);
  return rc;
}

int read_archive_member(const char* archive, const char* name, OggBytes* out) {
  // A reader of our own: the archive library's single instance belongs to the game
  // thread, and this module must not disturb its open archive or member buffer.
  CTamArchiveExpand reader;
  if (reader.OpenArchive(archive) != 0) return TAMSOUND_E_NOT_FOUND;
  unsigned char* data = nullptr;
  const int length = reader.GetMemory(name, &data);
  if (length < 0) return TAMSOUND_E_NOT_FOUND;
  *out = std::make_shared<const std::vector<uint8_t>>(data, data + length);
  return TAMSOUND_OK;
}

}  // namespace

CTamSound::~CTamSound() { Terminate(); }

int CTamSound::Init(std::unique_ptr<ISoundDevice> device) {
  if (started_) return TAMSOUND_OK;
  device_ = std::move(device);
  started_ = true;
  torv_trace("tamSound: started %s\n", device_ ? "with a device" : "silent");
  return TAMSOUND_OK;
}

void CTamSound::Terminate() {
  std::map<int, Entry> released;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    released.swap(handles_);
  }
  released.clear();  // buffers go before the device that made them
  device_.reset();
  started_ = false;
}

int CTamSound::Load(const SoundSource& source, OggBytes* out) const {
  if (!source.path || (source.in_archive && !source.name)) return TAMSOUND_E_ARGUMENT;
  return source.in_archive ? read_archive_member(source.path, source.name, out) : read_loose_file(source.path, out);
}

int CTamSound::Build(const SoundSource& source, SoundKind kind, std::unique_ptr<CSoundBuffer>* out) {
  OggBytes bytes;
  int rc = Load(source, &bytes);
  if (rc != TAMSOUND_OK) return rc;
  auto decoder = std::make_unique<COggMemoryDecoder>();
  if (!decoder->Open(std::move(bytes))) {
    torv_trace("tamSound: not a usable Ogg Vorbis stream\n");
    return TAMSOUND_E_BAD_DATA;
  }
  const PcmFormat format = decoder->Format();
  const uint32_t align = static_cast<uint32_t>(format.BlockAlign());

  if (kind == SoundKind::kEffect) {
    // The claimed length is the last page's granule position, which damage can set
    // to anything: it may refuse an effect at once but never sizes a buffer.
    const int64_t max_frames = int64_t{kMaxEffectSeconds} * format.rate;
    if (decoder->TotalFrames() > max_frames) return TAMSOUND_E_BAD_DATA;
    std::vector<uint8_t> pcm;
    if (!decoder->ReadAll(pcm, static_cast<size_t>(max_frames) * align)) return TAMSOUND_E_BAD_DATA;
    std::unique_ptr<ISoundVoice> voice;
    if (device_ && !pcm.empty()) {  // an empty sound needs no buffer: it is silent anyway
      voice = device_->CreateVoice(format, static_cast<uint32_t>(pcm.size()));
      if (!voice) return TAMSOUND_E_DEVICE;
      voice->Write(0, pcm.data(), static_cast<uint32_t>(pcm.size()));
    }
    *out = std::make_unique<CEffectSoundBuffer>(format, std::move(pcm), std::move(voice));
    return TAMSOUND_OK;
  }

  // At least a few frames even for the shortest ring the settings allow.
  const uint32_t frames = std::max<uint32_t>(16, static_cast<uint32_t>(std::lround(format.rate * ring_seconds_)));
  const uint32_t ring_bytes = frames * align;
  std::unique_ptr<ISoundVoice> voice;
  if (device_) {
    voice = device_->CreateVoice(format, ring_bytes);
    if (!voice) return TAMSOUND_E_DEVICE;
  }
  *out = std::make_unique<CStreamSoundBuffer>(std::move(decoder), std::move(voice), ring_bytes, read_chunk_);
  return TAMSOUND_OK;
}

int CTamSound::Insert(std::unique_ptr<CSoundBuffer> sound, int* handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  int h = next_handle_;
  while (handles_.count(h)) h = h == INT_MAX ? 1 : h + 1;
  next_handle_ = h == INT_MAX ? 1 : h + 1;
  handles_[h].sound = std::move(sound);
  *handle = h;
  return TAMSOUND_OK;
}

int CTamSound::CreateOggVoidSoundBuffer(int* handle) {
  if (!started_ || !handle) return TAMSOUND_E_ARGUMENT;
  try {
    return Insert(std::make_unique<CVoidSoundBuffer>(), handle);
  } catch (const std::bad_alloc&) {
    return TAMSOUND_E_MEMORY;
  }
}

int CTamSound::CreateSound(int* handle, const SoundSource& source, SoundKind kind) {
  if (!started_ || !handle) return TAMSOUND_E_ARGUMENT;
  try {
    std::unique_ptr<CSoundBuffer> sound;
    const int rc = Build(source, kind, &sound);
    if (rc != TAMSOUND_OK) return rc;
    return Insert(std::move(sound), handle);
  } catch (const std::bad_alloc&) {
    return TAMSOUND_E_MEMORY;
  }
}

int CTamSound::ReCreateSound(int handle, const SoundSource& source, SoundKind kind) {
  if (!started_) return TAMSOUND_E_ARGUMENT;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!handles_.count(handle)) return TAMSOUND_E_ARGUMENT;
  }
  std::unique_ptr<CSoundBuffer> sound;
  int rc;
  try {
    rc = Build(source, kind, &sound);  // outside the lock: decoding must not stall the music
  } catch (const std::bad_alloc&) {
    rc = TAMSOUND_E_MEMORY;
  }
  if (rc != TAMSOUND_OK) sound.reset(new (std::nothrow) CVoidSoundBuffer());
  std::unique_ptr<CSoundBuffer> old;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = handles_.find(handle);
    if (it == handles_.end()) return TAMSOUND_E_ARGUMENT;
    Entry& entry = it->second;
    const bool was_playing = entry.sound->IsPlaying();
    const bool loop = entry.sound->IsLooping();
    entry.sound->Stop();
    if (!sound) return TAMSOUND_E_MEMORY;  // the old sound stays, stopped
    old = std::move(entry.sound);
    entry.sound = std::move(sound);
    entry.sound->SetAttenuation(percent_to_hundredths_db(entry.volume));
    if (was_playing && rc == TAMSOUND_OK) entry.sound->Play(loop);
  }
  return rc;
}

int CTamSound::ClearAllBuffer() {
  std::map<int, Entry> released;
  std::lock_guard<std::mutex> lock(mutex_);
  released.swap(handles_);
  return TAMSOUND_OK;
}

int CTamSound::Start(int handle, bool loop) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = handles_.find(handle);
  if (it == handles_.end()) return TAMSOUND_E_ARGUMENT;
  it->second.sound->Play(loop);
  return TAMSOUND_OK;
}

int CTamSound::Play(int handle) { return Start(handle, false); }

int CTamSound::PlayLoop(int handle) { return Start(handle, true); }

int CTamSound::Stop(int handle) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = handles_.find(handle);
  if (it == handles_.end()) return TAMSOUND_E_ARGUMENT;
  it->second.sound->Stop();
  return TAMSOUND_OK;
}

int CTamSound::SetVolume(int handle, int volume) {
  if (volume < 0 || volume > 100) return TAMSOUND_E_ARGUMENT;
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = handles_.find(handle);
  if (it == handles_.end()) return TAMSOUND_E_ARGUMENT;
  it->second.volume = volume;
  it->second.sound->SetAttenuation(percent_to_hundredths_db(volume));
  return TAMSOUND_OK;
}

int CTamSound::SetReadBufferSize(int bytes) {
  if (bytes < static_cast<int>(kMinReadChunk) || bytes > static_cast<int>(kMaxReadChunk)) return TAMSOUND_E_ARGUMENT;
  std::lock_guard<std::mutex> lock(mutex_);
  read_chunk_ = static_cast<uint32_t>(bytes);
  return TAMSOUND_OK;
}

int CTamSound::SetSoundBufferSec(float seconds) {
  // Written so that NaN fails too.
  if (!(seconds >= kMinRingSeconds && seconds <= kMaxRingSeconds)) return TAMSOUND_E_ARGUMENT;
  std::lock_guard<std::mutex> lock(mutex_);
  ring_seconds_ = seconds;
  return TAMSOUND_OK;
}

int CTamSound::GetStatus(int handle, TamSoundStatus* status) {
  if (!status) return TAMSOUND_E_ARGUMENT;
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = handles_.find(handle);
  if (it == handles_.end()) return TAMSOUND_E_ARGUMENT;
  *status = TamSoundStatus();
  status->device = device_ ? 1 : 0;
  status->volume = it->second.volume;
  it->second.sound->Describe(*status);
  return TAMSOUND_OK;
}

void CTamSound::Refill() {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto& item : handles_) item.second.sound->Refill(read_chunk_);
}

int CTamSound::RefillPeriodMs() {
  std::lock_guard<std::mutex> lock(mutex_);
  const int ms = static_cast<int>(ring_seconds_ * 1000.0f) / 5;
  return ms < kMinRefillMs ? kMinRefillMs : ms > kMaxRefillMs ? kMaxRefillMs : ms;
}

size_t CTamSound::HandleCount() {
  std::lock_guard<std::mutex> lock(mutex_);
  return handles_.size();
}

}  // namespace torv
