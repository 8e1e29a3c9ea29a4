#include "sound/cDSound.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "plugin/cSoundPluginRegistry.h"
#include "sound/SoundControls.h"
#include "sound/cDSoundDevice.h"
#include "sound/cDSoundPlayer.h"
#include "sound/cSoundDecoder.h"

// Every operation below runs under the sound lock: the timer's refill takes
// it too, so a buffer never changes under a refill. Those that change a
// playing sound also hold the timer first, as the timer's rule asks.

cDSound::cDSound(cDSoundPlayer* player) : cSound(player), dsPlayer_(player) {}

cDSoundDevice* cDSound::Device() const { return dsPlayer_->DSoundDevice(); }

uint8_t cDSound::SilenceByte() const {
  return decoder_ && decoder_->outputFormat.bitsPerSample == 8 ? 0x80 : 0;
}

void cDSound::Destruct(uint32_t flags) {
  // Out of the list first, so no refill reaches a sound being destroyed.
  if (player_) player_->RemoveSound(this);
  Stop(1, 1);
  this->~cDSound();
  if (flags & 1) FreeStorage(this);
}

int32_t cDSound::SetFormat(const SoundFormat* format, uint32_t length, int32_t streamed) {
  const int32_t result = cSound::SetFormat(format, length, streamed);
  if (result != SoundOk) return result;
  if (!streamed && uint64_t{length} < 2ull * bufferSize_ && loopsLeft_ == 0) {
    staticBuffer_ = 1;
    bufferSize_ = length;
  }
  return SoundOk;
}

int32_t cDSound::Play() {
  cDSoundDevice* device = Device();
  SoundTimerHold timer(device, true);
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (!decoder_ || !dsPlayer_->EnsureDirectSound()) return 0;
  if (PlaysOrPaused()) Stop(0, 0);
  decoder_->Seek(startPosition_);
  SetPosition(startPosition_, 0);
  startPosition_ = 0;
  currentLoop_ = loopFlag_;
  loopsLeft_ = loopCount_;
  if (staticBuffer_ && currentLoop_ && loopsLeft_ > 0) {
    // A counted loop streams: the ring wraps the data as often as asked.
    Stop(1, 0);
    SetFormat(&decoder_->outputFormat, DecoderLength(), 0);
  }
  if (!buffer_) {
    uint32_t flags = BufferCapsGetCurrentPosition2 | BufferCapsCtrlVolume | BufferCapsCtrlPan | BufferCapsCtrlFrequency;
    if (keepPlaying_) flags |= BufferCapsGlobalFocus;
    if (staticBuffer_) flags |= BufferCapsStatic;
    buffer_ = device->Output()->CreateBuffer(flags, bufferSize_, &decoder_->outputFormat);
    if (!buffer_) return 0;
  }
  writeCursor_ = 0;
  tail_ = 0;
  dataEnded_ = 0;
  finished_ = 0;
  RaisePrimaryFormat();
  SetVolume(volume_);
  SetPan(pan_);
  SetFrequency(frequency_);
  if (!FillInitial()) {
    buffer_->Release();
    buffer_ = nullptr;
    return 0;
  }
  if (!staticBuffer_) {
    if (!device->StartTimer()) {
      buffer_->Stop();
      buffer_->Release();
      buffer_ = nullptr;
      return 0;
    }
    buffer_->SetPlayCursor(0);
    buffer_->Play(true);
  } else {
    buffer_->SetPlayCursor(position_);
    buffer_->Play(currentLoop_ != 0);
  }
  paused_ = 0;
  playing_ = 1;
  return 1;
}

// The first sound to play raises the primary format to at least its own.
void cDSound::RaisePrimaryFormat() {
  SoundBuffer* primary = dsPlayer_->Primary();
  if (!primary || Device()->IsAnyPlaying()) return;
  SoundFormat current{};
  if (!primary->GetFormat(&current)) return;
  const SoundFormat& mine = decoder_->outputFormat;
  if (current.bitsPerSample >= mine.bitsPerSample && current.samplesPerSec >= mine.samplesPerSec &&
      current.channels >= mine.channels)
    return;
  const SoundFormat raised = MakePcmFormat(std::max(current.channels, mine.channels),
                                           std::max(current.samplesPerSec, mine.samplesPerSec),
                                           std::max(current.bitsPerSample, mine.bitsPerSample));
  primary->SetFormat(raised);
}

uint32_t cDSound::FillPiece(uint8_t* piece, uint32_t bytes, bool& ended) {
  uint32_t done = 0;
  bool justWrapped = false;
  while (done < bytes) {
    uint32_t got = 0;
    if (decoder_->ReadConverted(piece + done, bytes - done, &got) != 0) got = 0;
    done += got;
    if (done >= bytes) break;
    // The data ended: a looping sound starts again, counting one loop.
    if (!currentLoop_ || (got == 0 && justWrapped)) {
      ended = true;
      break;
    }
    decoder_->Seek(0);
    if (loopsLeft_ > 0 && --loopsLeft_ == 1) currentLoop_ = 0;
    justWrapped = true;
  }
  return done;
}

int32_t cDSound::FillInitial() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (!buffer_ || !decoder_) return 0;
  void* first = nullptr;
  void* second = nullptr;
  uint32_t firstBytes = 0;
  uint32_t secondBytes = 0;
  if (!buffer_->Lock(0, bufferSize_, &first, &firstBytes, &second, &secondBytes)) return 0;
  auto* bytes = static_cast<uint8_t*>(first);
  if (staticBuffer_) {
    // The static buffer holds the whole sound; the play cursor picks the spot.
    decoder_->Seek(0);
    uint32_t got = 0;
    const bool whole = decoder_->ReadConverted(bytes, firstBytes, &got) == 0 && got == firstBytes;
    buffer_->Unlock(first, firstBytes, second, 0);
    return whole ? 1 : 0;
  }
  bool ended = false;
  const uint32_t got = FillPiece(bytes, firstBytes, ended);
  if (got < firstBytes) {
    std::memset(bytes + got, SilenceByte(), firstBytes - got);
    dataEnded_ = 1;
    tail_ = got;
  }
  buffer_->Unlock(first, firstBytes, second, 0);
  writeCursor_ = 0;
  return 1;
}

void cDSound::Update() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (staticBuffer_ || !playing_ || finished_ || !buffer_ || !decoder_ || bufferSize_ == 0) return;
  const uint32_t size = bufferSize_;
  bool lost = false;
  if (buffer_->Status() & BufferStatusLost) {
    if (!buffer_->Restore()) return;
    lost = true;
    writeCursor_ = 0;
    buffer_->SetPlayCursor(0);
  }
  uint32_t play = 0;
  if (!buffer_->GetPlayCursor(&play)) return;
  play %= size;
  if (play == writeCursor_ && !lost) return;
  if (dataEnded_ && tail_ == 0) {
    buffer_->Stop();
    finished_ = 1;
    position_ = DecoderLength();
    playing_ = 0;
    return;
  }
  const uint32_t played = lost ? 0 : (play + size - writeCursor_) % size;
  const uint32_t length = DecoderLength();
  position_ = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{position_} + played, length));
  const uint32_t align = decoder_->outputFormat.blockAlign ? decoder_->outputFormat.blockAlign : 1;
  const uint32_t amount = lost ? size / 3 / align * align : played;
  void* pieces[2] = {nullptr, nullptr};
  uint32_t sizes[2] = {0, 0};
  if (amount == 0 || !buffer_->Lock(writeCursor_, amount, &pieces[0], &sizes[0], &pieces[1], &sizes[1])) return;
  if (dataEnded_) {
    tail_ = tail_ > played ? tail_ - played : 0;
    for (int i = 0; i < 2; ++i)
      if (pieces[i]) std::memset(pieces[i], SilenceByte(), sizes[i]);
  } else {
    bool ended = false;
    uint32_t delivered = 0;
    for (int i = 0; i < 2; ++i) {
      if (!pieces[i]) continue;
      auto* bytes = static_cast<uint8_t*>(pieces[i]);
      const uint32_t got = ended ? 0 : FillPiece(bytes, sizes[i], ended);
      delivered += got;
      if (got < sizes[i]) std::memset(bytes + got, SilenceByte(), sizes[i] - got);
    }
    if (ended) {
      // What is still queued ahead of the play cursor, and what this refill
      // wrote, plays before the sound is over.
      dataEnded_ = 1;
      tail_ = (writeCursor_ + size - play) % size + delivered;
    }
  }
  buffer_->Unlock(pieces[0], sizes[0], pieces[1], sizes[1]);
  writeCursor_ = (writeCursor_ + amount) % size;
  if (lost) buffer_->Play(true);
}

uint32_t cDSound::GetPosition() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (!playing_ || !buffer_) return position_;
  uint32_t play = 0;
  if (!buffer_->GetPlayCursor(&play)) return position_;
  const uint64_t length = DecoderLength();
  if (staticBuffer_) return static_cast<uint32_t>(std::min<uint64_t>(play, length));
  if (bufferSize_ == 0 || play == writeCursor_) return position_;
  const uint64_t ahead = (play + bufferSize_ - writeCursor_) % bufferSize_;
  return static_cast<uint32_t>(std::min<uint64_t>(position_ + ahead, length));
}

void cDSound::SetPosition(uint32_t bytes, int32_t holdTimer) {
  SoundTimerHold timer(Device(), holdTimer != 0);
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (staticBuffer_) {
    position_ = bytes;
    if (playing_ && buffer_) buffer_->SetPlayCursor(bytes);
    return;
  }
  const bool wasPlaying = playing_ != 0;
  const bool wasPaused = paused_ != 0;
  if (wasPlaying && buffer_) buffer_->Stop();
  playing_ = 0;
  position_ = startPosition_ = bytes;
  if (decoder_) decoder_->Seek(bytes);
  if ((wasPlaying || wasPaused) && buffer_) {
    dataEnded_ = 0;
    tail_ = 0;
    FillInitial();
  }
  if (wasPlaying && buffer_) {
    buffer_->SetPlayCursor(0);
    buffer_->Play(true);
    playing_ = 1;
  }
}

int32_t cDSound::Pause() {
  SoundTimerHold timer(Device(), true);
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (paused_ || !buffer_ || !(buffer_->Status() & BufferStatusPlaying)) return 0;
  buffer_->Stop();
  paused_ = 1;
  playing_ = 0;
  return 1;
}

int32_t cDSound::Resume() {
  SoundTimerHold timer(Device(), true);
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (!paused_) return 0;
  paused_ = 0;
  if (buffer_) buffer_->Play(!(staticBuffer_ && !loopFlag_));
  playing_ = 1;
  return 1;
}

void cDSound::Stop(int32_t releaseBuffer, int32_t holdTimer) {
  {
    SoundTimerHold timer(Device(), holdTimer != 0);
    std::lock_guard<SoundMutex> hold(SoundLock());
    if (!buffer_) return;
    buffer_->Stop();
    playing_ = 0;
    paused_ = 0;
    if (releaseBuffer) {
      buffer_->Release();
      buffer_ = nullptr;
    }
  }
  // After the hold: the timer may stop once nothing plays.
  if (holdTimer && player_) player_->CheckTimer();
}

int32_t cDSound::IsPlaying() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (staticBuffer_ && playing_ && (!buffer_ || !(buffer_->Status() & BufferStatusPlaying))) {
    finished_ = 1;
    playing_ = 0;
  }
  return playing_;
}

int32_t cDSound::SetVolume(int32_t volume) {
  std::lock_guard<SoundMutex> hold(SoundLock());
  volume_ = ClampVolume(volume);
  if (!buffer_) return 1;
  return buffer_->SetVolume(VolumeToHundredthsDb(volume_)) ? 1 : 0;
}

int32_t cDSound::SetPan(int32_t pan) {
  std::lock_guard<SoundMutex> hold(SoundLock());
  pan_ = ClampPan(pan);
  if (!buffer_) return 1;
  return buffer_->SetPan(PanToBuffer(pan_)) ? 1 : 0;
}

int32_t cDSound::SetFrequency(int32_t hertz) {
  std::lock_guard<SoundMutex> hold(SoundLock());
  frequency_ = ClampFrequency(hertz);
  if (!buffer_) return 1;
  return buffer_->SetFrequency(static_cast<uint32_t>(frequency_)) ? 1 : 0;
}
