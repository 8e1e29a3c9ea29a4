#include "sound/cSound.h"

#include <algorithm>
#include <cstddef>
#include <mutex>
#include <set>

#include "ExportedTable.h"
#include "Memory.h"
#include "sound/cSoundDecoder.h"
#include "sound/cSoundDevice.h"
#include "plugin/cSoundPluginRegistry.h"
#include "sound/cSoundPlayer.h"
#include "stream/cByteSource.h"

OMB_EXPORT_VFTABLE(cSound, "_ZTV6cSound")

namespace {
std::set<const void*>& LiveSounds() {
  static std::set<const void*>* live = new std::set<const void*>();  // lives to process exit
  return *live;
}
void CountIn(const void* sound) {
  std::lock_guard<SoundMutex> hold(SoundLock());
  LiveSounds().insert(sound);
}
}  // namespace

bool cSound::IsLive(const void* sound) {
  std::lock_guard<SoundMutex> hold(SoundLock());
  return sound && LiveSounds().count(sound) != 0;
}

void cSound::CheckLayout() {
  OMB_PIN_OFFSET(cSound, player_, 4);
  OMB_PIN_OFFSET(cSound, decoder_, 8);
  OMB_PIN_OFFSET(cSound, position_, 12);
  OMB_PIN_OFFSET(cSound, startPosition_, 16);
  OMB_PIN_OFFSET(cSound, stream_, 20);
  OMB_PIN_OFFSET(cSound, ownsStream_, 24);
  OMB_PIN_OFFSET(cSound, volume_, 28);
  OMB_PIN_OFFSET(cSound, pan_, 32);
  OMB_PIN_OFFSET(cSound, frequency_, 36);
  OMB_PIN_OFFSET(cSound, loopFlag_, 40);
  OMB_PIN_OFFSET(cSound, currentLoop_, 41);
  OMB_PIN_OFFSET(cSound, loopCount_, 44);
  OMB_PIN_OFFSET(cSound, loopsLeft_, 48);
  OMB_PIN_OFFSET(cSound, userData_, 52);
  OMB_PIN_OFFSET(cSound, playing_, 56);
  OMB_PIN_OFFSET(cSound, paused_, 60);
  OMB_PIN_OFFSET(cSound, staticBuffer_, 64);
  OMB_PIN_OFFSET(cSound, bufferSize_, 68);
  OMB_PIN_OFFSET(cSound, finished_, 72);
  OMB_PIN_OFFSET(cSound, keepPlaying_, 76);
}

cSound::cSound(cSoundPlayer* player) : player_(player) { CountIn(this); }

// Settings are copied; what the original owns (decoder, stream, buffer) is not.
cSound::cSound(const cSound& other)
    : player_(other.player_),
      volume_(other.volume_),
      pan_(other.pan_),
      frequency_(other.frequency_),
      loopFlag_(other.loopFlag_),
      currentLoop_(other.currentLoop_),
      loopCount_(other.loopCount_),
      loopsLeft_(other.loopsLeft_),
      userData_(other.userData_),
      keepPlaying_(other.keepPlaying_) {
  CountIn(this);
}

cSound& cSound::operator=(const cSound& other) {
  if (this == &other) return *this;
  if (PlaysOrPaused()) Stop(1, 1);
  volume_ = other.volume_;
  pan_ = other.pan_;
  frequency_ = other.frequency_;
  loopFlag_ = other.loopFlag_;
  currentLoop_ = other.currentLoop_;
  loopCount_ = other.loopCount_;
  loopsLeft_ = other.loopsLeft_;
  userData_ = other.userData_;
  keepPlaying_ = other.keepPlaying_;
  return *this;
}

cSound::~cSound() {
  {
    std::lock_guard<SoundMutex> hold(SoundLock());
    LiveSounds().erase(this);
  }
  if (player_) player_->RemoveSound(this);
  ReleaseDecoderAndStream();
}

void cSound::ReleaseDecoderAndStream() {
  if (stream_ && ownsStream_) stream_->Delete();
  stream_ = nullptr;
  ownsStream_ = 0;
  if (decoder_) {
    decoder_->Close();
    decoder_->Release();
    decoder_ = nullptr;
  }
}

void cSound::FreeStorage(void* self) { MemFree(&self); }

void cSound::Destruct(uint32_t flags) {
  this->~cSound();
  if (flags & 1) FreeStorage(this);
}

void cSound::Release() { Destruct(1); }

int32_t cSound::Open(cByteSource* source, int32_t ownsStream, uint32_t openFlags) {
  keepPlaying_ = (openFlags & SoundOpenKeepPlaying) ? 1 : 0;
  if (decoder_) {
    decoder_->Close();
    decoder_->Release();
    decoder_ = nullptr;
  }
  if (!player_) return SoundErrFormat;
  decoder_ = FindSoundDecoder(player_->GetPluginRegistry(), source);
  if (!decoder_) return SoundErrFormat;
  SoundFormat play = decoder_->outputFormat;
  if (cSoundDevice* device = player_->Device()) device->GetFormat(&decoder_->outputFormat, &play);
  decoder_->SetOutputFormat(&play);
  const int32_t result =
      SetFormat(&decoder_->outputFormat, decoder_->GetLength(), (openFlags & SoundOpenStreamed) ? 1 : 0);
  if (result != SoundOk) {
    decoder_->Close();
    decoder_->Release();
    decoder_ = nullptr;
    return result;
  }
  if (stream_ && ownsStream_ && stream_ != source) stream_->Delete();
  stream_ = source;
  ownsStream_ = ownsStream ? 1 : 0;
  return SoundOk;
}

int32_t cSound::SetFormat(const SoundFormat* format, uint32_t, int32_t) {
  if (!format || !IsPlayableFormat(*format)) return SoundErrFormat;
  bufferSize_ = RingBytes(*format);
  staticBuffer_ = 0;
  return SoundOk;
}

void cSound::SetLoop(int32_t loop, int32_t count) {
  loopFlag_ = currentLoop_ = loop ? 1 : 0;
  loopCount_ = loopsLeft_ = count;
  if (staticBuffer_ && loop && count == 0) {
    // An endless loop streams: a static buffer cannot wrap the data itself.
    Stop(1, 1);
    staticBuffer_ = 0;
    if (decoder_) SetFormat(&decoder_->outputFormat, DecoderLength(), 1);
  }
}

int32_t cSound::IsLooping() { return loopsLeft_ == 1 ? 0 : currentLoop_; }

int32_t cSound::GetLoopsLeft() { return loopsLeft_ - ((PlaysOrPaused() && loopsLeft_ != 0) ? 1 : 0); }

int32_t cSound::IsFinished() { return (staticBuffer_ && PlaysOrPaused()) ? 0 : finished_; }

int32_t cSound::IsPaused() { return paused_; }

uint32_t cSound::GetFrequency() {
  if (frequency_) return static_cast<uint32_t>(frequency_);
  return decoder_ ? decoder_->outputFormat.samplesPerSec : 0;
}

void cSound::GetFormat(SoundFormat* out) {
  if (out && decoder_) *out = decoder_->outputFormat;
}

uint32_t cSound::DecoderLength() const { return decoder_ ? decoder_->GetLength() : 0; }

namespace {
// In integers: bytes / (bytes per second x 0.001) in floating point lands a
// hair below whole results on the x87 (88200 bytes at 44100 gave 1999).
uint32_t BytesToMs(uint32_t bytes, uint32_t avgBytesPerSec) {
  return avgBytesPerSec ? static_cast<uint32_t>(uint64_t{bytes} * 1000u / avgBytesPerSec) : 0;
}
}  // namespace

uint32_t cSound::GetLengthMs() { return decoder_ ? BytesToMs(DecoderLength(), decoder_->outputFormat.avgBytesPerSec) : 0; }

uint32_t cSound::GetPositionMs() {
  return decoder_ ? BytesToMs(GetPosition(), decoder_->outputFormat.avgBytesPerSec) : 0;
}

void cSound::SetPositionMs(uint32_t ms) {
  if (!decoder_) {
    SetPosition(ms, 1);
    return;
  }
  const SoundFormat& f = decoder_->outputFormat;
  const uint64_t wanted = uint64_t{ms} * f.avgBytesPerSec / 1000u;
  const uint32_t length = DecoderLength();
  uint32_t bytes = wanted >= length ? length : static_cast<uint32_t>(wanted);
  if (f.blockAlign) bytes -= bytes % f.blockAlign;
  SetPosition(bytes, 1);
}

uint32_t cSound::GetBufferSize() { return bufferSize_; }
uint32_t cSound::GetUserData() { return userData_; }
void cSound::SetUserData(uint32_t value) { userData_ = value; }
