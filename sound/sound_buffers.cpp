// Void, effect and streamed sounds over an ISoundVoice.
#include "sound/sound_buffers.h"

#include <algorithm>
#include <cstring>

namespace torv {

void CSoundBuffer::Describe(TamSoundStatus& status) {
  status.kind = static_cast<int>(Kind());
  status.playing = IsPlaying() ? 1 : 0;
  status.looping = looping_ ? 1 : 0;
}

// ---- effects

CEffectSoundBuffer::CEffectSoundBuffer(const PcmFormat& format, std::vector<uint8_t> pcm,
                                       std::unique_ptr<ISoundVoice> voice)
    : format_(format), pcm_(std::move(pcm)), voice_(std::move(voice)) {}

CEffectSoundBuffer::~CEffectSoundBuffer() {
  if (voice_) voice_->Stop();
}

void CEffectSoundBuffer::Play(bool loop) {
  looping_ = loop;
  playing_ = true;
  if (!voice_) return;
  if (voice_->Restore()) voice_->Write(0, pcm_.data(), static_cast<uint32_t>(pcm_.size()));
  voice_->Stop();
  voice_->SetPosition(0);
  voice_->Play(loop);
}

void CEffectSoundBuffer::Stop() {
  playing_ = false;
  if (voice_) voice_->Stop();
}

bool CEffectSoundBuffer::IsPlaying() { return voice_ ? voice_->IsPlaying() : playing_; }

void CEffectSoundBuffer::SetAttenuation(int32_t hundredths_db) {
  if (voice_) voice_->SetAttenuation(hundredths_db);
}

void CEffectSoundBuffer::Describe(TamSoundStatus& status) {
  CSoundBuffer::Describe(status);
  status.channels = format_.channels;
  status.rate = format_.rate;
  status.frames = static_cast<long long>(pcm_.size() / static_cast<size_t>(format_.BlockAlign()));
  status.pcm_held = static_cast<long long>(pcm_.size());
}

// ---- streamed sounds

CStreamSoundBuffer::CStreamSoundBuffer(std::unique_ptr<COggMemoryDecoder> decoder,
                                       std::unique_ptr<ISoundVoice> voice, uint32_t ring_bytes,
                                       uint32_t read_chunk)
    : decoder_(std::move(decoder)), voice_(std::move(voice)), ring_bytes_(ring_bytes) {
  staging_.resize(read_chunk);
}

CStreamSoundBuffer::~CStreamSoundBuffer() {
  if (voice_) voice_->Stop();
}

uint32_t CStreamSoundBuffer::Decode(uint32_t len) {
  while (!source_done_) {
    const long got = decoder_->Read(staging_.data(), len);
    if (got > 0) {
      since_rewind_ += static_cast<uint64_t>(got);
      return static_cast<uint32_t>(got);
    }
    // The end, or data that stopped decoding: a loop goes back to the start (unless
    // a whole pass gave nothing, which would spin forever); otherwise silence.
    if (looping_ && since_rewind_ > 0 && decoder_->Rewind()) {
      ++seams_;
      since_rewind_ = 0;
      continue;
    }
    source_done_ = true;
    end_at_ = written_;
  }
  return 0;
}

void CStreamSoundBuffer::Fill(uint64_t bytes, uint32_t read_chunk) {
  const uint32_t align = static_cast<uint32_t>(decoder_->Format().BlockAlign());
  if (staging_.size() < read_chunk) staging_.resize(read_chunk);
  const uint32_t step_limit = std::max(align, read_chunk / align * align);
  bytes -= bytes % align;
  while (bytes > 0) {
    const uint32_t offset = static_cast<uint32_t>(written_ % ring_bytes_);
    const uint32_t n = static_cast<uint32_t>(std::min<uint64_t>({bytes, ring_bytes_ - offset, step_limit}));
    uint32_t got = Decode(n);
    if (got == 0) {
      std::memset(staging_.data(), 0, n);
      got = n;
    }
    voice_->Write(offset, staging_.data(), got);
    written_ += got;
    bytes -= got;
  }
}

void CStreamSoundBuffer::Play(bool loop) {
  looping_ = loop;
  playing_ = true;
  source_done_ = false;
  end_at_ = played_ = written_ = seams_ = since_rewind_ = 0;
  last_cursor_ = 0;
  if (!decoder_->Rewind()) source_done_ = true;
  if (!voice_) return;
  voice_->Stop();
  voice_->Restore();  // whatever was lost is written again just below
  voice_->SetPosition(0);
  Fill(ring_bytes_, static_cast<uint32_t>(staging_.size()));
  voice_->Play(true);  // the ring always wraps; Refill stops it after the end
}

void CStreamSoundBuffer::Stop() {
  playing_ = false;
  if (voice_) voice_->Stop();
}

void CStreamSoundBuffer::SetAttenuation(int32_t hundredths_db) {
  if (voice_) voice_->SetAttenuation(hundredths_db);
}

void CStreamSoundBuffer::Refill(uint32_t read_chunk) {
  if (!playing_ || !voice_) return;
  if (voice_->Restore()) {
    // The ring came back empty: carry on from the cursor with what follows.
    const uint32_t at = static_cast<uint32_t>(played_ % ring_bytes_);
    voice_->SetPosition(at);
    last_cursor_ = at;
    written_ = played_;
    Fill(ring_bytes_, read_chunk);
    voice_->Play(true);
    return;
  }
  const uint32_t cursor = voice_->PlayCursor() % ring_bytes_;
  played_ += (cursor + ring_bytes_ - last_cursor_) % ring_bytes_;
  last_cursor_ = cursor;
  // Every refill tops the ring up, so the cursor can never pass the write position
  // by less than a lap; a thread held up for a whole lap is not seen at all (the
  // ring replays, and a sound played once stops that much later).
  if (source_done_ && played_ >= end_at_) {
    voice_->Stop();
    playing_ = false;
    return;
  }
  Fill(ring_bytes_ - (written_ - played_), read_chunk);
}

void CStreamSoundBuffer::Describe(TamSoundStatus& status) {
  CSoundBuffer::Describe(status);
  status.channels = decoder_->Format().channels;
  status.rate = decoder_->Format().rate;
  status.frames = decoder_->TotalFrames();
  status.played = static_cast<long long>(played_);
  status.written = static_cast<long long>(written_);
  status.seams = static_cast<long long>(seams_);
  status.pcm_held = voice_ ? static_cast<long long>(ring_bytes_ + staging_.size()) : 0;
}

}  // namespace torv
