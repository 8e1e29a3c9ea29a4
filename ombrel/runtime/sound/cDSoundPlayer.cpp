#include "sound/cDSoundPlayer.h"

#include <mutex>
#include <new>

#include "Memory.h"
#include "plugin/cSoundPluginRegistry.h"
#include "sound/cDSound.h"
#include "sound/cDSoundDevice.h"

cDSoundPlayer::cDSoundPlayer(cDSoundDevice* device, void* window)
    : cSoundPlayer(device, window), dsDevice_(device), window_(window) {}

int32_t cDSoundPlayer::Open(void* window) {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (IsOpen()) return 1;
  if (!counted_) {
    if (!dsDevice_->CountInDirectSound()) return 0;
    counted_ = 1;
  }
  window_ = window ? window : dsDevice_->CooperativeWindow();
  if (!dsDevice_->EnsureOutput(window_)) {
    dsDevice_->CountOutDirectSound();
    counted_ = 0;
    return 0;
  }
  CreatePrimary();
  if (!openCounted_) dsDevice_->CountOpen(1);
  openCounted_ = 1;
  return cSoundPlayer::Open(window_);
}

// The richest primary buffer the system grants; none is fine too.
void cDSoundPlayer::CreatePrimary() {
  if (primary_) return;
  SoundOutput* output = dsDevice_->Output();
  if (!output) return;
  const uint32_t tries[] = {BufferCapsPrimary | BufferCapsCtrl3D | BufferCapsStickyFocus,
                           BufferCapsPrimary | BufferCapsCtrl3D, BufferCapsPrimary};
  for (uint32_t flags : tries) {
    primary_ = output->CreateBuffer(flags, 0, nullptr);
    if (primary_) return;
  }
}

void cDSoundPlayer::ReleasePrimary() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (primary_) primary_->Release();
  primary_ = nullptr;
}

bool cDSoundPlayer::EnsureDirectSound() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (!dsDevice_->EnsureOutput(window_)) return false;
  CreatePrimary();
  return true;
}

cSound* cDSoundPlayer::CreateSoundObject() {
  void* block = nullptr;
  return MemAlloc(sizeof(cDSound), &block) ? new (block) cDSound(this) : nullptr;
}

void cDSoundPlayer::Destruct(uint32_t flags) {
  cDSoundDevice* device = dsDevice_;
  {
    std::lock_guard<SoundMutex> hold(SoundLock());
    Close();
    ReleasePrimary();
    if (openCounted_) device->CountOpen(-1);
    openCounted_ = 0;
    if (counted_) device->CountOutDirectSound();
    counted_ = 0;
    this->~cDSoundPlayer();  // counts out of the device last (which may delete it)
  }
  if (flags & 1) FreeStorage(this);
}
