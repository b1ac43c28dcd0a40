// DirectSound 8 device and secondary buffers for the sound core.
#include "sound/ds_output.h"

#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

#include <cstring>

#include "common/trace.h"

namespace torv {

namespace {

// Software mixing, our own volume control, a usable play cursor, and sound that
// goes on when the game window loses the focus (the game keeps running then too).
constexpr DWORD kBufferCaps =
    DSBCAPS_CTRLVOLUME | DSBCAPS_GETCURRENTPOSITION2 | DSBCAPS_GLOBALFOCUS | DSBCAPS_LOCSOFTWARE;

WAVEFORMATEX wave_format(const PcmFormat& format) {
  WAVEFORMATEX wf = {};
  wf.wFormatTag = WAVE_FORMAT_PCM;
  wf.nChannels = static_cast<WORD>(format.channels);
  wf.nSamplesPerSec = static_cast<DWORD>(format.rate);
  wf.wBitsPerSample = 16;
  wf.nBlockAlign = static_cast<WORD>(format.BlockAlign());
  wf.nAvgBytesPerSec = wf.nSamplesPerSec * wf.nBlockAlign;
  return wf;
}

class CDirectSoundVoice : public ISoundVoice {
public:
  CDirectSoundVoice(IDirectSoundBuffer* buffer, uint32_t size) : buffer_(buffer), size_(size) {}
  ~CDirectSoundVoice() override {
    buffer_->Stop();
    buffer_->Release();
  }

  bool Write(uint32_t offset, const uint8_t* data, uint32_t len) override {
    if (len == 0) return true;
    void* p1 = nullptr;
    void* p2 = nullptr;
    DWORD n1 = 0;
    DWORD n2 = 0;
    HRESULT hr = buffer_->Lock(offset, len, &p1, &n1, &p2, &n2, 0);
    if (hr == DSERR_BUFFERLOST && SUCCEEDED(buffer_->Restore())) {
      hr = buffer_->Lock(offset, len, &p1, &n1, &p2, &n2, 0);
    }
    if (FAILED(hr)) return false;
    std::memcpy(p1, data, n1);
    if (p2) std::memcpy(p2, data + n1, n2);
    buffer_->Unlock(p1, n1, p2, n2);
    return true;
  }

  void Play(bool loop) override { buffer_->Play(0, 0, loop ? DSBPLAY_LOOPING : 0); }
  void Stop() override { buffer_->Stop(); }
  void SetPosition(uint32_t offset) override { buffer_->SetCurrentPosition(offset); }

  uint32_t PlayCursor() override {
    DWORD play = 0;
    DWORD write = 0;
    if (FAILED(buffer_->GetCurrentPosition(&play, &write))) return 0;
    return play < size_ ? play : 0;
  }

  bool IsPlaying() override {
    DWORD status = 0;
    return SUCCEEDED(buffer_->GetStatus(&status)) && (status & DSBSTATUS_PLAYING) != 0;
  }

  void SetAttenuation(int32_t hundredths_db) override { buffer_->SetVolume(hundredths_db); }

  bool Restore() override {
    DWORD status = 0;
    if (FAILED(buffer_->GetStatus(&status)) || !(status & DSBSTATUS_BUFFERLOST)) return false;
    return SUCCEEDED(buffer_->Restore());
  }

private:
  IDirectSoundBuffer* buffer_;
  uint32_t size_;
};

class CDirectSoundDevice : public ISoundDevice {
public:
  explicit CDirectSoundDevice(IDirectSound8* ds) : ds_(ds) {}
  ~CDirectSoundDevice() override { ds_->Release(); }

  std::unique_ptr<ISoundVoice> CreateVoice(const PcmFormat& format, uint32_t size) override {
    WAVEFORMATEX wf = wave_format(format);
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof desc;
    desc.dwFlags = kBufferCaps;
    desc.dwBufferBytes = size;
    desc.lpwfxFormat = &wf;
    IDirectSoundBuffer* buffer = nullptr;
    if (FAILED(ds_->CreateSoundBuffer(&desc, &buffer, nullptr)) || !buffer) {
      torv_trace("tamSound: CreateSoundBuffer failed\n");
      return nullptr;
    }
    std::unique_ptr<ISoundVoice> voice(new (std::nothrow) CDirectSoundVoice(buffer, size));
    if (!voice) buffer->Release();
    return voice;
  }

private:
  IDirectSound8* ds_;
};

// Asks for 44.1 kHz 16-bit stereo mixing; the device's own choice stays if refused.
void set_primary_format(IDirectSound8* ds) {
  DSBUFFERDESC desc = {};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
  IDirectSoundBuffer* primary = nullptr;
  if (FAILED(ds->CreateSoundBuffer(&desc, &primary, nullptr)) || !primary) return;
  PcmFormat mix;
  mix.channels = 2;
  mix.rate = 44100;
  WAVEFORMATEX wf = wave_format(mix);
  primary->SetFormat(&wf);
  primary->Release();
}

}  // namespace

std::unique_ptr<ISoundDevice> open_direct_sound(void* window) {
  IDirectSound8* ds = nullptr;
  if (FAILED(DirectSoundCreate8(nullptr, &ds, nullptr)) || !ds) {
    torv_trace("tamSound: DirectSoundCreate8 failed, running silent\n");
    return nullptr;
  }
  HWND hwnd = window ? static_cast<HWND>(window) : GetDesktopWindow();
  if (FAILED(ds->SetCooperativeLevel(hwnd, DSSCL_PRIORITY)) &&
      FAILED(ds->SetCooperativeLevel(hwnd, DSSCL_NORMAL))) {
    torv_trace("tamSound: SetCooperativeLevel failed, running silent\n");
    ds->Release();
    return nullptr;
  }
  set_primary_format(ds);
  std::unique_ptr<ISoundDevice> device(new (std::nothrow) CDirectSoundDevice(ds));
  if (!device) ds->Release();
  return device;
}

}  // namespace torv
