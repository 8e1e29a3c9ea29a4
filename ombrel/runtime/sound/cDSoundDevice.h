// The DirectSound device: the DirectSound object shared by the open players
// (released when the last one closes), the cooperative window (the first
// player's, or a small tool window of its own), and the format it plays (a
// source's own, so decoders never convert for it).
#pragma once

#include "sound/SoundOutput.h"
#include "plugin/PluginRecord.h"
#include "sound/cSoundDevice.h"

class cDSoundDevice final : public cSoundDevice {
 public:
  cDSoundDevice(cSoundPluginRegistry* registry, SoundSystem& system);
  ~cDSoundDevice();

  // In a MemAlloc block, or null.
  static cDSoundDevice* New(cSoundPluginRegistry* registry, SoundSystem& system);

  void Destruct(uint32_t flags) override;
  cSoundPlayer* CreatePlayer(void* window) override;
  void StopAllPlayers() override;
  void GetFormat(const SoundFormat* source, SoundFormat* out) override;
  void Delete() override;

  SoundSystem& System() { return system_; }
  // The DirectSound object, created for the window when missing (or null).
  SoundOutput* EnsureOutput(void* window);
  void ReleaseOutput();
  SoundOutput* Output() const { return output_; }
  void* CooperativeWindow() const { return cooperativeWindow_; }

  // Open players count in and out of DirectSound (under the sound lock).
  bool CountInDirectSound();
  void CountOutDirectSound();
  void CountOpen(int32_t delta);

 protected:
  // The last player is gone: the device's own window goes too.
  void NoPlayersLeft() override;

 private:
  SoundSystem& system_;
  int32_t directSoundUsers_ = 0;
  int32_t openPlayers_ = 0;
  SoundOutput* output_ = nullptr;
  void* cooperativeWindow_ = nullptr;
  int32_t ownWindow_ = 1;
};

// Makes the device for the sound registry over the system's DirectSound.
void* OMB_STDCALL CreateDSoundDevice(PluginUser registry);
