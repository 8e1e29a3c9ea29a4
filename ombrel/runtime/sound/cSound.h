// One sound of a player, fed by a decoder over its stream. The base keeps the
// state every output driver shares (position, volume, pan, frequency, loops,
// flags); the driver's sound class plays it. Exported: 80 bytes, fields in the
// order below, and 15 slots in this order (MSVC object model: slot 9 is the
// deleting destructor `Destruct(flags)`).
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "sound/SoundFormat.h"

class cByteSource;
class cSoundDecoder;
class cSoundPlayer;

// Open flags of a sound.
enum : uint32_t { SoundOpenStreamed = 1, SoundOpenKeepPlaying = 2 };
// Results of Open and SetFormat.
enum : int32_t { SoundOk = 0, SoundErrFormat = 2 };

class cSound {
 public:
  explicit cSound(cSoundPlayer* player);
  // A copy is stopped, without decoder, stream or buffer, and in no list.
  cSound(const cSound& other);
  cSound& operator=(const cSound& other);
  // Leaves the player's list, deletes an owned stream, releases the decoder.
  ~cSound();

  virtual int32_t Play() = 0;                                                           // 0
  virtual int32_t Pause() = 0;                                                          // 1
  virtual int32_t Resume() = 0;                                                         // 2
  virtual void Stop(int32_t releaseBuffer, int32_t holdTimer) = 0;                      // 3
  virtual int32_t IsPlaying() = 0;                                                      // 4
  virtual int32_t SetVolume(int32_t volume) = 0;                                        // 5
  virtual int32_t SetPan(int32_t pan) = 0;                                              // 6
  virtual int32_t SetFrequency(int32_t hertz) = 0;                                      // 7
  virtual void SetPosition(uint32_t bytes, int32_t holdTimer) = 0;                      // 8
  virtual void Destruct(uint32_t flags);                                                // 9
  virtual int32_t Open(cByteSource* source, int32_t ownsStream, uint32_t openFlags)
      OMB_EXPORT_AS(cSound_Open);                                                       // 10
  // 0, or 2 for a format that cannot play.
  virtual int32_t SetFormat(const SoundFormat* format, uint32_t length, int32_t streamed)
      OMB_EXPORT_AS(cSound_SetFormat);                                                  // 11
  virtual int32_t FillInitial() = 0;                                                    // 12
  virtual void Update() = 0;                                                            // 13
  virtual uint32_t GetPosition() = 0;                                                   // 14

  // Leaves the player and destroys the sound (slot 9).
  void Release() OMB_EXPORT_AS(cSound_Release);
  void SetLoop(int32_t loop, int32_t count) OMB_EXPORT_AS(cSound_SetLoop);
  int32_t IsLooping() OMB_EXPORT_AS(cSound_IsLooping);
  int32_t GetLoopsLeft() OMB_EXPORT_AS(cSound_GetLoopsLeft);
  int32_t IsFinished() OMB_EXPORT_AS(cSound_IsFinished);
  int32_t IsPaused() OMB_EXPORT_AS(cSound_IsPaused);
  uint32_t GetFrequency() OMB_EXPORT_AS(cSound_GetFrequency);
  void GetFormat(SoundFormat* out) OMB_EXPORT_AS(cSound_GetFormat);
  uint32_t GetLengthMs() OMB_EXPORT_AS(cSound_GetLengthMs);
  uint32_t GetPositionMs() OMB_EXPORT_AS(cSound_GetPositionMs);
  void SetPositionMs(uint32_t ms) OMB_EXPORT_AS(cSound_SetPositionMs);
  uint32_t GetBufferSize() OMB_EXPORT_AS(cSound_GetBufferSize);
  uint32_t GetUserData() OMB_EXPORT_AS(cSound_GetUserData);
  void SetUserData(uint32_t value) OMB_EXPORT_AS(cSound_SetUserData);

  // Whether the object is a sound that exists (under the sound lock): the
  // app's channels keep plain pointers, and a player's Close destroys its
  // sounds whether channels still name them or not.
  static bool IsLive(const void* sound);

  // Read-only views for the player and the driver.
  cSoundPlayer* Player() const { return player_; }
  cSoundDecoder* Decoder() const { return decoder_; }
  bool PlaysOrPaused() const { return playing_ || paused_; }
  bool UsesStaticBuffer() const { return staticBuffer_ != 0; }
  int32_t Volume() const { return volume_; }
  int32_t Pan() const { return pan_; }

 protected:
  static void FreeStorage(void* self);
  // The decoder's length in bytes (0 without decoder).
  uint32_t DecoderLength() const;

  cSoundPlayer* player_;
  cSoundDecoder* decoder_ = nullptr;
  uint32_t position_ = 0;
  uint32_t startPosition_ = 0;
  cByteSource* stream_ = nullptr;
  int32_t ownsStream_ = 0;
  int32_t volume_ = 1000;
  int32_t pan_ = 0;
  int32_t frequency_ = 0;
  uint8_t loopFlag_ = 0;
  uint8_t currentLoop_ = 0;
  int32_t loopCount_ = 0;
  int32_t loopsLeft_ = 0;
  uint32_t userData_ = 0;
  int32_t playing_ = 0;
  int32_t paused_ = 0;
  int32_t staticBuffer_ = 0;
  uint32_t bufferSize_ = 0;
  int32_t finished_ = 0;
  int32_t keepPlaying_ = 0;

 private:
  static void CheckLayout();
  void ReleaseDecoderAndStream();
};
OMB_PIN_SIZE(cSound, 80);
