// The DirectSound player: opens DirectSound for its window with a primary
// buffer (when the system grants one) and makes DirectSound sounds.
#pragma once

#include "sound/SoundOutput.h"
#include "sound/cSoundPlayer.h"

class cDSoundDevice;

class cDSoundPlayer final : public cSoundPlayer {
 public:
  cDSoundPlayer(cDSoundDevice* device, void* window);

  void Destruct(uint32_t flags) override;
  int32_t Open(void* window) override;
  cSound* CreateSoundObject() override;

  cDSoundDevice* DSoundDevice() const { return dsDevice_; }
  SoundBuffer* Primary() const { return primary_; }
  // DirectSound and the primary buffer exist (made again after a release).
  bool EnsureDirectSound();
  void ReleasePrimary();

 private:
  void CreatePrimary();

  cDSoundDevice* dsDevice_;
  SoundBuffer* primary_ = nullptr;
  void* window_;
  int32_t counted_ = 0;      // counted in the device's DirectSound users
  int32_t openCounted_ = 0;  // counted in the device's open players
};
