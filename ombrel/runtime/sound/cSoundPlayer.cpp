#include "sound/cSoundPlayer.h"

#include <cstddef>
#include <mutex>
#include <new>

#include "ExportedTable.h"
#include "Memory.h"
#include "plugin/cSoundPluginRegistry.h"
#include "sound/cSound.h"
#include "sound/cSoundDevice.h"

OMB_EXPORT_VFTABLE(cSoundPlayer, "_ZTV12cSoundPlayer")

namespace {

cHandleList* NewSoundList() {
  void* block = nullptr;
  if (!MemAlloc(sizeof(cHandleList), &block)) return nullptr;
  return new (block) cHandleList();
}

void DeleteSoundList(cHandleList*& list) {
  if (!list) return;
  list->~cHandleList();
  void* block = list;
  MemFree(&block);
  list = nullptr;
}

}  // namespace

void cSoundPlayer::CheckLayout() {
  OMB_PIN_OFFSET(cSoundPlayer, device_, 4);
  OMB_PIN_OFFSET(cSoundPlayer, open_, 8);
  OMB_PIN_OFFSET(cSoundPlayer, unused_, 12);
  OMB_PIN_OFFSET(cSoundPlayer, sounds_, 16);
}

cSoundPlayer::cSoundPlayer(cSoundDevice* device, void*) : device_(device), sounds_(NewSoundList()) {
  if (device_) device_->CountPlayer(1);
}

cSoundPlayer::cSoundPlayer(const cSoundPlayer& other)
    : device_(other.device_), unused_(other.unused_), sounds_(NewSoundList()) {
  if (device_) device_->CountPlayer(1);
}

cSoundPlayer& cSoundPlayer::operator=(const cSoundPlayer& other) {
  if (this == &other) return *this;
  std::lock_guard<SoundMutex> hold(SoundLock());
  Close();
  ReleaseAllSounds();
  if (device_ != other.device_) {
    if (other.device_) other.device_->CountPlayer(1);
    if (device_) device_->CountPlayer(-1);
    device_ = other.device_;
  }
  unused_ = other.unused_;
  return *this;
}

cSoundPlayer::~cSoundPlayer() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  Close();
  ReleaseAllSounds();  // sounds of a player that was never opened
  DeleteSoundList(sounds_);
  // Last: the device may go with its last player.
  if (device_) device_->CountPlayer(-1);
  device_ = nullptr;
}

void cSoundPlayer::FreeStorage(void* self) { MemFree(&self); }

void cSoundPlayer::Destruct(uint32_t flags) {
  this->~cSoundPlayer();
  if (flags & 1) FreeStorage(this);
}

void cSoundPlayer::Delete() { Destruct(1); }

int32_t cSoundPlayer::Open(void*) {
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (!open_ && device_) {
    open_ = 1;
    device_->Players().AddTail(this);
  }
  return open_;
}

void cSoundPlayer::Close() {
  if (!open_) return;
  StopAll(1);
  {
    SoundTimerHold timer(device_, true);
    std::lock_guard<SoundMutex> hold(SoundLock());
    cHandleList& players = device_->Players();
    if (const int32_t h = players.Find(this)) players.Remove(h);
  }
  ReleaseAllSounds();
  open_ = 0;
}

void cSoundPlayer::ReleaseAllSounds() {
  if (!sounds_) return;
  while (const int32_t h = sounds_->GetHead()) {
    cSound* sound = static_cast<cSound*>(sounds_->GetAt(h));
    sound->Release();
    if (sounds_->GetHead() == h && sounds_->GetAt(h) == sound) sounds_->Remove(h);
  }
}

void cSoundPlayer::RemoveSound(cSound* sound) {
  if (!sounds_ || !sound) return;
  SoundTimerHold timer(device_, true);
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (const int32_t h = sounds_->Find(sound)) sounds_->Remove(h);
}

void cSoundPlayer::AddSound(cSound* sound) {
  SoundTimerHold timer(device_, true);
  std::lock_guard<SoundMutex> hold(SoundLock());
  if (!sounds_ || !sounds_->AddTail(sound)) sound->Release();
}

cSound* cSoundPlayer::CreateSound(cByteSource* source, int32_t ownsStream, uint32_t openFlags) {
  if (!sounds_) return nullptr;
  cSound* sound = CreateSoundObject();
  if (!sound) return nullptr;
  if (sound->Open(source, ownsStream, openFlags) != SoundOk) {
    sound->Destruct(1);
    return nullptr;
  }
  std::lock_guard<SoundMutex> hold(SoundLock());
  const int32_t before = GetSoundCount();
  AddSound(sound);
  return GetSoundCount() > before ? sound : nullptr;
}

int32_t cSoundPlayer::GetSoundCount() { return sounds_ ? sounds_->GetCount() : 0; }
int32_t cSoundPlayer::HasSounds() { return GetSoundCount() > 0 ? 1 : 0; }
int32_t cSoundPlayer::GetFirstSound() { return sounds_ ? sounds_->GetHead() : 0; }

cSound* cSoundPlayer::GetNextSound(int32_t* handle) {
  if (!sounds_ || !handle) return nullptr;
  return static_cast<cSound*>(sounds_->Next(handle));
}

cSoundPluginRegistry* cSoundPlayer::GetPluginRegistry() { return device_ ? device_->Registry() : nullptr; }

// The walks below run under the sound lock: the timer's refill walks the
// same lists.
void cSoundPlayer::PlayAll() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  for (int32_t h = GetFirstSound(); h;) {
    cSound* s = GetNextSound(&h);
    if (!s->IsPlaying()) s->Play();
  }
}

void cSoundPlayer::StopAll(int32_t forced) {
  {
    std::lock_guard<SoundMutex> hold(SoundLock());
    for (int32_t h = GetFirstSound(); h;) {
      cSound* s = GetNextSound(&h);
      if (forced || s->PlaysOrPaused()) s->Stop(forced, 1);
    }
  }
  if (forced) CheckTimer();
}

void cSoundPlayer::PauseAll() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  for (int32_t h = GetFirstSound(); h;) {
    cSound* s = GetNextSound(&h);
    if (s->IsPlaying() && !s->IsPaused()) s->Pause();
  }
}

void cSoundPlayer::ResumeAll() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  for (int32_t h = GetFirstSound(); h;) {
    cSound* s = GetNextSound(&h);
    if (s->IsPaused()) s->Resume();
  }
}

int32_t cSoundPlayer::IsAnyPlaying() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  for (int32_t h = GetFirstSound(); h;) {
    if (GetNextSound(&h)->PlaysOrPaused()) return 1;
  }
  return 0;
}

void cSoundPlayer::CheckTimer() {
  std::lock_guard<SoundMutex> hold(SoundLock());  // no Play in between
  if (device_ && device_->TimerRunning() && !device_->IsAnyPlaying()) device_->StopTimer();
}

void cSoundPlayer::UpdateAll() {
  std::lock_guard<SoundMutex> hold(SoundLock());
  for (int32_t h = GetFirstSound(); h;) GetNextSound(&h)->Update();
}

OMB_FLAT cSoundPlayer* OMB_STDCALL CreateSoundPlayer(void* window) {
  std::lock_guard<SoundMutex> hold(SoundLock());
  auto* device = static_cast<cSoundDevice*>(SoundDevice());
  return device ? device->CreatePlayer(window) : nullptr;
}
