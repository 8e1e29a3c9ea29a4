#include "sound/SoundChannels.h"

#include <algorithm>
#include <mutex>

#include "Memory.h"
#include "app/AppHooks.h"
#include "plugin/cSoundPluginRegistry.h"
#include "sound/SoundText.h"
#include "sound/cSound.h"

namespace {
int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }
}  // namespace

int32_t ChannelCount(const AppObject* app) { return Clamp(app->channelCount, 1, kAppChannels); }

SoundChannel* ChannelAt(AppObject* app, int32_t channel) {
  if (!app || channel < 1 || channel > ChannelCount(app)) return nullptr;
  return &app->channels[channel - 1];
}

bool ChannelHolds(const SoundChannel& c) { return c.id != 0 || c.name != nullptr; }

cSound* ChannelSound(SoundChannel& c) {
  if (c.sound && !cSound::IsLive(c.sound)) c.sound = nullptr;
  return static_cast<cSound*>(c.sound);
}

bool ChannelPlaysSound(const SoundChannel& c, uintptr_t sound) {
  if (IsSoundId(sound)) return sound != 0 && static_cast<uintptr_t>(c.id) == sound;
  return c.name && SameSoundName(c.name, reinterpret_cast<const char*>(sound));
}

SoundChannel* ChannelOf(AppObject* app, uintptr_t sound) {
  if (!app) return nullptr;
  for (int32_t i = 0; i < ChannelCount(app); ++i)
    if (ChannelPlaysSound(app->channels[i], sound)) return &app->channels[i];
  return nullptr;
}

bool SoundPlaysOrPaused(cSound* s) { return s && (s->IsPlaying() || s->IsPaused()); }

void ClearChannel(SoundChannel& c) {
  if (cSound* s = ChannelSound(c)) {
    s->Stop(1, 1);
    s->Release();
  }
  if (c.name) {
    void* block = c.name;
    MemFree(&block);
  }
  c.sound = nullptr;
  c.name = nullptr;
  c.id = 0;
  c.flags &= SoundChannelLocked;
}

// Every channel, not only the first channelCount: a lowered count leaves the
// channels beyond it holding their sounds.
void StopChannelsOfSoundEntry(AppObject* app, uint32_t id) {
  if (!app) return;
  std::lock_guard<SoundMutex> hold(SoundLock());
  for (SoundChannel& c : app->channels)
    if (c.id != 0 && (id == 0 || static_cast<uint32_t>(c.id) == id)) ClearChannel(c);
}

void ApplyChannelMix(const AppObject* app, SoundChannel& c) {
  auto* s = ChannelSound(c);
  if (!s) return;
  s->SetVolume(c.volume * app->mainVolume / 10);
  s->SetPan(Clamp(c.pan + app->mainPan, -100, 100) * 10);
  if (c.frequency) s->SetFrequency(c.frequency);
}

OMB_FLAT int32_t OMB_STDCALL SoundStop(AppObject* app, int32_t kind, const void* sound) {
  if (!app) return 0;
  const auto which = reinterpret_cast<uintptr_t>(sound);
  if (kind == kSoundKindMidi) return MidiStop(app, which);
  if (kind != kSoundKindSamples) return 0;
  for (SoundChannel& c : app->channels) {
    if (!ChannelHolds(c) && !c.sound) continue;
    if (which == 0 || ChannelPlaysSound(c, which)) ClearChannel(c);
  }
  return 0;
}

OMB_FLAT void OMB_STDCALL SoundPause(AppObject* app, int32_t kind, uintptr_t sound) {
  if (!app) return;
  if (kind == kSoundKindMidi) return MidiPause(app);
  if (kind != kSoundKindSamples) return;
  if (sound) {
    if (SoundChannel* c = ChannelOf(app, sound)) SoundChannelPause(app, static_cast<int32_t>(c - app->channels) + 1);
    return;
  }
  for (int32_t i = 1; i <= ChannelCount(app); ++i) SoundChannelPause(app, i);
}

OMB_FLAT int32_t OMB_STDCALL SoundResume(AppObject* app, int32_t kind, uintptr_t sound) {
  if (!app) return 0;
  if (kind == kSoundKindMidi) return MidiResume(app);
  if (kind != kSoundKindSamples) return 0;
  if (sound) {
    if (SoundChannel* c = ChannelOf(app, sound)) SoundChannelResume(app, static_cast<int32_t>(c - app->channels) + 1);
    return 0;
  }
  for (int32_t i = 1; i <= ChannelCount(app); ++i) SoundChannelResume(app, i);
  return ChannelCount(app);
}

OMB_FLAT int32_t OMB_STDCALL SoundIsPlaying(AppObject* app, uintptr_t sound) {
  if (!app) return 0;
  if (sound && MidiIsSound(app, sound)) return 1;
  int32_t result = 0;
  for (int32_t i = 1; i <= ChannelCount(app); ++i) {
    SoundChannel& c = app->channels[i - 1];
    if (!ChannelHolds(c) || (sound && !ChannelPlaysSound(c, sound))) continue;
    if (SoundChannelIsPlaying(app, i) || SoundChannelIsPaused(app, i)) result = 1;
  }
  if (!sound && app->midi.sound) result |= 2;
  return result;
}

OMB_FLAT int32_t OMB_STDCALL SoundIsPaused(AppObject* app, uintptr_t sound) {
  if (!app) return 0;
  if (sound && MidiIsSound(app, sound)) return app->midi.paused ? 2 : 0;
  int32_t result = 0;
  for (int32_t i = 1; i <= ChannelCount(app); ++i) {
    SoundChannel& c = app->channels[i - 1];
    if (sound && !ChannelPlaysSound(c, sound)) continue;
    if (SoundChannelIsPaused(app, i)) result = 1;
  }
  if (!sound && app->midi.sound && app->midi.paused) result |= 2;
  return result;
}

OMB_FLAT int32_t OMB_STDCALL SoundSetChannelCount(AppObject* app, int32_t count) {
  if (!app) return 0;
  app->channelCount = Clamp(count, 1, kAppChannels);
  return app->channelCount;
}

OMB_FLAT int32_t OMB_STDCALL SoundFindChannel(AppObject* app, uintptr_t sound) {
  SoundChannel* c = ChannelOf(app, sound);
  return c ? static_cast<int32_t>(c - app->channels) + 1 : 0;
}

OMB_FLAT void OMB_STDCALL SoundChannelLock(AppObject* app, int32_t channel, int32_t lock) {
  if (SoundChannel* c = ChannelAt(app, channel)) c->flags = lock ? (c->flags | SoundChannelLocked) : (c->flags & ~SoundChannelLocked);
}

OMB_FLAT void OMB_STDCALL SoundChannelStop(AppObject* app, int32_t channel) {
  if (SoundChannel* c = ChannelAt(app, channel)) ClearChannel(*c);
}

OMB_FLAT void OMB_STDCALL SoundChannelPause(AppObject* app, int32_t channel) {
  SoundChannel* c = ChannelAt(app, channel);
  auto* s = c ? ChannelSound(*c) : nullptr;
  if (s && s->IsPlaying() && !s->IsPaused()) s->Pause();
}

OMB_FLAT void OMB_STDCALL SoundChannelResume(AppObject* app, int32_t channel) {
  SoundChannel* c = ChannelAt(app, channel);
  auto* s = c ? ChannelSound(*c) : nullptr;
  if (s && s->IsPaused()) s->Resume();
}

OMB_FLAT int32_t OMB_STDCALL SoundChannelIsPlaying(AppObject* app, int32_t channel) {
  SoundChannel* c = ChannelAt(app, channel);
  auto* s = c ? ChannelSound(*c) : nullptr;
  if (!s) return 0;
  if (s->IsPlaying()) return 1;
  if (!s->IsPaused()) ClearChannel(*c);  // finished: the channel is free again
  return 0;
}

OMB_FLAT int32_t OMB_STDCALL SoundChannelIsPaused(AppObject* app, int32_t channel) {
  SoundChannel* c = ChannelAt(app, channel);
  auto* s = c ? ChannelSound(*c) : nullptr;
  return s && s->IsPaused() ? 1 : 0;
}

OMB_FLAT void OMB_STDCALL SoundSetMainVolume(AppObject* app, int32_t kind, int32_t volume) {
  if (!app || kind != kSoundKindSamples) return;
  app->mainVolume = Clamp(volume, 0, 100);
  for (SoundChannel& c : app->channels) ApplyChannelMix(app, c);
}

OMB_FLAT void OMB_STDCALL SoundSetMainPan(AppObject* app, int32_t kind, int32_t pan) {
  if (!app || kind != kSoundKindSamples) return;
  app->mainPan = Clamp(pan, -100, 100);
  for (SoundChannel& c : app->channels) ApplyChannelMix(app, c);
}

OMB_FLAT int32_t OMB_STDCALL SoundGetMainVolume(AppObject* app, int32_t kind) {
  return app && kind == kSoundKindSamples ? app->mainVolume : 0;
}

OMB_FLAT int32_t OMB_STDCALL SoundGetMainPan(AppObject* app, int32_t kind) {
  return app && kind == kSoundKindSamples ? app->mainPan : 0;
}

OMB_FLAT void OMB_STDCALL SoundChannelSetVolume(AppObject* app, int32_t channel, int32_t volume) {
  SoundChannel* c = ChannelAt(app, channel);
  if (!c) return;
  c->volume = Clamp(volume, 0, 100);
  if (auto* s = ChannelSound(*c)) s->SetVolume(c->volume * app->mainVolume / 10);
}

OMB_FLAT void OMB_STDCALL SoundChannelSetPan(AppObject* app, int32_t channel, int32_t pan) {
  SoundChannel* c = ChannelAt(app, channel);
  if (!c) return;
  c->pan = Clamp(pan, -100, 100);
  if (auto* s = ChannelSound(*c)) s->SetPan(Clamp(c->pan + app->mainPan, -100, 100) * 10);
}

OMB_FLAT void OMB_STDCALL SoundChannelSetFrequency(AppObject* app, int32_t channel, int32_t hertz) {
  SoundChannel* c = ChannelAt(app, channel);
  if (!c) return;
  c->frequency = hertz;
  if (auto* s = ChannelSound(*c)) s->SetFrequency(hertz);
}

// Without a sound object there is nothing to move: 0.
OMB_FLAT int32_t OMB_STDCALL SoundChannelSetPosition(AppObject* app, int32_t channel, uint32_t ms) {
  SoundChannel* c = ChannelAt(app, channel);
  auto* s = c ? ChannelSound(*c) : nullptr;
  if (!s) return 0;
  s->SetPositionMs(ms);
  return 1;
}

OMB_FLAT int32_t OMB_STDCALL SoundChannelGetVolume(AppObject* app, int32_t channel) {
  SoundChannel* c = ChannelAt(app, channel);
  return c ? c->volume : 0;
}

OMB_FLAT int32_t OMB_STDCALL SoundChannelGetPan(AppObject* app, int32_t channel) {
  SoundChannel* c = ChannelAt(app, channel);
  return c ? c->pan : 0;
}

OMB_FLAT int32_t OMB_STDCALL SoundChannelGetFrequency(AppObject* app, int32_t channel) {
  SoundChannel* c = ChannelAt(app, channel);
  if (!c) return 0;
  auto* s = ChannelSound(*c);
  return s ? static_cast<int32_t>(s->GetFrequency()) : c->frequency;
}

OMB_FLAT uint32_t OMB_STDCALL SoundChannelGetLength(AppObject* app, int32_t channel) {
  SoundChannel* c = ChannelAt(app, channel);
  auto* s = c ? ChannelSound(*c) : nullptr;
  return s ? s->GetLengthMs() : 0;
}

OMB_FLAT uint32_t OMB_STDCALL SoundChannelGetPosition(AppObject* app, int32_t channel) {
  SoundChannel* c = ChannelAt(app, channel);
  auto* s = c ? ChannelSound(*c) : nullptr;
  return s ? s->GetPositionMs() : 0;
}

// The forms by sound act on the channel that plays it (samples only).
namespace {
int32_t ChannelNumberOf(AppObject* app, int32_t kind, uintptr_t sound) {
  if (!app || kind != kSoundKindSamples || !sound) return 0;
  return SoundFindChannel(app, sound);
}

// `call(app, channel, values...)` on the channel that plays the sound; 0
// when none does.
template <class R, class... Values>
R OnChannelOf(AppObject* app, int32_t kind, uintptr_t sound,
              R(OMB_STDCALL* call)(AppObject*, int32_t, Values...), Values... values) {
  const int32_t ch = ChannelNumberOf(app, kind, sound);
  return ch ? call(app, ch, values...) : R(0);
}

// A setter without an answer on that channel: 1 when a channel plays the sound.
template <class Value>
int32_t SetOnChannelOf(AppObject* app, int32_t kind, uintptr_t sound,
                       void(OMB_STDCALL* set)(AppObject*, int32_t, Value), Value value) {
  const int32_t ch = ChannelNumberOf(app, kind, sound);
  if (ch) set(app, ch, value);
  return ch ? 1 : 0;
}
}  // namespace

OMB_FLAT int32_t OMB_STDCALL SoundSetVolume(AppObject* app, int32_t kind, uintptr_t sound, int32_t volume) {
  return SetOnChannelOf(app, kind, sound, SoundChannelSetVolume, volume);
}

OMB_FLAT int32_t OMB_STDCALL SoundSetPan(AppObject* app, int32_t kind, uintptr_t sound, int32_t pan) {
  return SetOnChannelOf(app, kind, sound, SoundChannelSetPan, pan);
}

OMB_FLAT int32_t OMB_STDCALL SoundSetFrequency(AppObject* app, int32_t kind, uintptr_t sound, int32_t hertz) {
  return SetOnChannelOf(app, kind, sound, SoundChannelSetFrequency, hertz);
}

OMB_FLAT int32_t OMB_STDCALL SoundSetPosition(AppObject* app, int32_t kind, uintptr_t sound, uint32_t ms) {
  return OnChannelOf(app, kind, sound, SoundChannelSetPosition, ms);
}

OMB_FLAT int32_t OMB_STDCALL SoundGetVolume(AppObject* app, int32_t kind, uintptr_t sound) {
  return OnChannelOf(app, kind, sound, SoundChannelGetVolume);
}

OMB_FLAT int32_t OMB_STDCALL SoundGetPan(AppObject* app, int32_t kind, uintptr_t sound) {
  return OnChannelOf(app, kind, sound, SoundChannelGetPan);
}

OMB_FLAT int32_t OMB_STDCALL SoundGetFrequency(AppObject* app, int32_t kind, uintptr_t sound) {
  return OnChannelOf(app, kind, sound, SoundChannelGetFrequency);
}

OMB_FLAT uint32_t OMB_STDCALL SoundGetLength(AppObject* app, int32_t kind, uintptr_t sound) {
  return OnChannelOf(app, kind, sound, SoundChannelGetLength);
}

OMB_FLAT uint32_t OMB_STDCALL SoundGetPosition(AppObject* app, int32_t kind, uintptr_t sound) {
  return OnChannelOf(app, kind, sound, SoundChannelGetPosition);
}
