// A sound played through one DirectSound buffer: a static buffer holding the
// whole sound, or a 1.2-second ring that the timer refills every 50 ms with
// what the play cursor passed since the last tick.
#pragma once

#include "sound/SoundOutput.h"
#include "sound/cSound.h"

class cDSoundDevice;
class cDSoundPlayer;

class cDSound final : public cSound {
 public:
  explicit cDSound(cDSoundPlayer* player);

  int32_t Play() override;
  int32_t Pause() override;
  int32_t Resume() override;
  void Stop(int32_t releaseBuffer, int32_t holdTimer) override;
  int32_t IsPlaying() override;
  int32_t SetVolume(int32_t volume) override;
  int32_t SetPan(int32_t pan) override;
  int32_t SetFrequency(int32_t hertz) override;
  void SetPosition(uint32_t bytes, int32_t holdTimer) override;
  void Destruct(uint32_t flags) override;
  int32_t SetFormat(const SoundFormat* format, uint32_t length, int32_t streamed) override;
  int32_t FillInitial() override;
  void Update() override;
  uint32_t GetPosition() override;

  SoundBuffer* Buffer() const { return buffer_; }
  uint32_t Tail() const { return tail_; }

 private:
  cDSoundDevice* Device() const;
  uint8_t SilenceByte() const;
  // Converted reads into one piece; a looping sound wraps to its start. The
  // bytes of sound delivered (the rest is the caller's to silence).
  uint32_t FillPiece(uint8_t* piece, uint32_t bytes, bool& ended);
  void RaisePrimaryFormat();

  cDSoundPlayer* dsPlayer_;
  uint32_t writeCursor_ = 0;
  uint32_t tail_ = 0;
  int32_t dataEnded_ = 0;
  SoundBuffer* buffer_ = nullptr;
};
