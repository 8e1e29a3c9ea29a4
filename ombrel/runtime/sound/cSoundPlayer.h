// A client's sound player, bound to a window: the list of its sounds and the
// operations over all of them. Exported: 20 bytes (table pointer, device, open
// flag, an unused word, the heap list of sounds) and 6 slots in this order
// (MSVC object model: slot 0 `Destruct(flags)`, slot 3 `Delete()`).
#pragma once

#include <cstdint>

#include "HandleList.h"
#include "OmbrelApi.h"

class cByteSource;
class cSound;
class cSoundDevice;
class cSoundPluginRegistry;

class cSoundPlayer {
 public:
  cSoundPlayer(cSoundDevice* device, void* window);
  // A copy is closed, with an empty list of its own: it owns no sound.
  cSoundPlayer(const cSoundPlayer& other);
  cSoundPlayer& operator=(const cSoundPlayer& other);
  ~cSoundPlayer();

  virtual void Destruct(uint32_t flags);                                                  // 0
  virtual int32_t Open(void* window) OMB_EXPORT_AS(cSoundPlayer_Open);                    // 1
  virtual void Close() OMB_EXPORT_AS(cSoundPlayer_Close);                                 // 2
  virtual void Delete();                                                                  // 3
  virtual cSound* CreateSoundObject() = 0;                                                // 4
  virtual void RemoveSound(cSound* sound) OMB_EXPORT_AS(cSoundPlayer_RemoveSound);        // 5

  // A new sound reading `source` (open flags: bit 0 streamed, bit 1 keeps
  // playing without focus), in this player's list; null when no decoder
  // accepts the stream.
  cSound* CreateSound(cByteSource* source, int32_t ownsStream, uint32_t openFlags)
      OMB_EXPORT_AS(cSoundPlayer_CreateSound);
  int32_t GetSoundCount() OMB_EXPORT_AS(cSoundPlayer_GetSoundCount);
  int32_t HasSounds() OMB_EXPORT_AS(cSoundPlayer_HasSounds);
  int32_t GetFirstSound() OMB_EXPORT_AS(cSoundPlayer_GetFirstSound);
  cSound* GetNextSound(int32_t* handle) OMB_EXPORT_AS(cSoundPlayer_GetNextSound);
  cSoundPluginRegistry* GetPluginRegistry() OMB_EXPORT_AS(cSoundPlayer_GetPluginRegistry);
  void PlayAll() OMB_EXPORT_AS(cSoundPlayer_PlayAll);
  void StopAll(int32_t forced) OMB_EXPORT_AS(cSoundPlayer_StopAll);
  void PauseAll() OMB_EXPORT_AS(cSoundPlayer_PauseAll);
  void ResumeAll() OMB_EXPORT_AS(cSoundPlayer_ResumeAll);
  int32_t IsAnyPlaying() OMB_EXPORT_AS(cSoundPlayer_IsAnyPlaying);
  // Stops the streaming timer when no sound of the device plays or is paused.
  void CheckTimer() OMB_EXPORT_AS(cSoundPlayer_CheckTimer);
  void UpdateAll() OMB_EXPORT_AS(cSoundPlayer_UpdateAll);

  cSoundDevice* Device() const { return device_; }
  int32_t IsOpen() const { return open_; }

 protected:
  static void FreeStorage(void* self);
  // Adds a sound made by slot 4 to the list (timer held, under the lock).
  void AddSound(cSound* sound);

 private:
  static void CheckLayout();
  void ReleaseAllSounds();

  cSoundDevice* device_;
  int32_t open_ = 0;
  int32_t unused_ = 0;
  cHandleList* sounds_ = nullptr;
};
OMB_PIN_SIZE(cSoundPlayer, 20);

// A player from the device's CreatePlayer for a window (null: the device's own
// window); null without a device.
OMB_FLAT cSoundPlayer* OMB_STDCALL CreateSoundPlayer(void* window);
