// The Sound family's flat functions over an application's 32 channels and
// its MIDI sound, and the channel helpers they share. A `sound` argument
// below 0x10000 is a bank id of row 1; any other value is the address of a
// file name, matched against channel names without regard to case.
#pragma once

#include <cstdint>

#include "OmbrelApi.h"
#include "app/AppHooks.h"
#include "app/AppObject.h"

class cSound;
class cSoundPlayer;

// Play flags.
enum : uint32_t {
  SoundPlayProtect = 1,
  SoundPlayForce = 2,
  SoundPlayLoop = 0x10,
  SoundPlayKeepPlaying = 0x20,
  SoundChannelLocked = 0x10000,
};
constexpr uintptr_t kSoundMidiNotice = ~uintptr_t{0};  // SoundStop(app, 2, -1)

// Helpers (internal).
inline bool IsSoundId(uintptr_t sound) { return sound < 0x10000; }
int32_t ChannelCount(const AppObject* app);
// Channel 1..channelCount, or null.
SoundChannel* ChannelAt(AppObject* app, int32_t channel);
bool ChannelHolds(const SoundChannel& c);
// The channel's sound object, or null (also when its player destroyed it).
cSound* ChannelSound(SoundChannel& c);
bool ChannelPlaysSound(const SoundChannel& c, uintptr_t sound);
// The first of the first channelCount channels that holds the sound, or null.
SoundChannel* ChannelOf(AppObject* app, uintptr_t sound);
// Stops and releases the channel's sound; id, name and play flags cleared, the lock kept.
void ClearChannel(SoundChannel& c);
// Volume channel x main / 10, pan clamp(channel + main) x 10, frequency when set.
void ApplyChannelMix(const AppObject* app, SoundChannel& c);
bool SoundPlaysOrPaused(cSound* s);

// MIDI (SoundMidi.cpp).
int32_t MidiPlay(AppObject* app, uintptr_t sound, const char* file, void* window, uint32_t flags, int32_t loops);
int32_t MidiStop(AppObject* app, uintptr_t sound);
void MidiPause(AppObject* app);
int32_t MidiResume(AppObject* app);
bool MidiIsSound(const AppObject* app, uintptr_t sound);

OMB_FLAT int32_t OMB_STDCALL SoundPlay(cSoundPlayer* player, AppObject* app, uintptr_t sound, void* window,
                                       uint32_t flags, int32_t loops, int32_t channel);
OMB_FLAT void OMB_STDCALL SoundPause(AppObject* app, int32_t kind, uintptr_t sound);
OMB_FLAT int32_t OMB_STDCALL SoundResume(AppObject* app, int32_t kind, uintptr_t sound);
OMB_FLAT int32_t OMB_STDCALL SoundIsPlaying(AppObject* app, uintptr_t sound);
OMB_FLAT int32_t OMB_STDCALL SoundIsPaused(AppObject* app, uintptr_t sound);
OMB_FLAT int32_t OMB_STDCALL SoundSetChannelCount(AppObject* app, int32_t count);
OMB_FLAT int32_t OMB_STDCALL SoundFindChannel(AppObject* app, uintptr_t sound);
OMB_FLAT void OMB_STDCALL SoundChannelLock(AppObject* app, int32_t channel, int32_t lock);
OMB_FLAT void OMB_STDCALL SoundChannelStop(AppObject* app, int32_t channel);
OMB_FLAT void OMB_STDCALL SoundChannelPause(AppObject* app, int32_t channel);
OMB_FLAT void OMB_STDCALL SoundChannelResume(AppObject* app, int32_t channel);
OMB_FLAT int32_t OMB_STDCALL SoundChannelIsPlaying(AppObject* app, int32_t channel);
OMB_FLAT int32_t OMB_STDCALL SoundChannelIsPaused(AppObject* app, int32_t channel);
OMB_FLAT void OMB_STDCALL SoundSetMainVolume(AppObject* app, int32_t kind, int32_t volume);
OMB_FLAT void OMB_STDCALL SoundSetMainPan(AppObject* app, int32_t kind, int32_t pan);
OMB_FLAT int32_t OMB_STDCALL SoundGetMainVolume(AppObject* app, int32_t kind);
OMB_FLAT int32_t OMB_STDCALL SoundGetMainPan(AppObject* app, int32_t kind);
OMB_FLAT void OMB_STDCALL SoundChannelSetVolume(AppObject* app, int32_t channel, int32_t volume);
OMB_FLAT void OMB_STDCALL SoundChannelSetPan(AppObject* app, int32_t channel, int32_t pan);
OMB_FLAT void OMB_STDCALL SoundChannelSetFrequency(AppObject* app, int32_t channel, int32_t hertz);
OMB_FLAT int32_t OMB_STDCALL SoundChannelSetPosition(AppObject* app, int32_t channel, uint32_t ms);
OMB_FLAT int32_t OMB_STDCALL SoundChannelGetVolume(AppObject* app, int32_t channel);
OMB_FLAT int32_t OMB_STDCALL SoundChannelGetPan(AppObject* app, int32_t channel);
OMB_FLAT int32_t OMB_STDCALL SoundChannelGetFrequency(AppObject* app, int32_t channel);
OMB_FLAT uint32_t OMB_STDCALL SoundChannelGetLength(AppObject* app, int32_t channel);
OMB_FLAT uint32_t OMB_STDCALL SoundChannelGetPosition(AppObject* app, int32_t channel);
OMB_FLAT int32_t OMB_STDCALL SoundSetVolume(AppObject* app, int32_t kind, uintptr_t sound, int32_t volume);
OMB_FLAT int32_t OMB_STDCALL SoundSetPan(AppObject* app, int32_t kind, uintptr_t sound, int32_t pan);
OMB_FLAT int32_t OMB_STDCALL SoundSetFrequency(AppObject* app, int32_t kind, uintptr_t sound, int32_t hertz);
OMB_FLAT int32_t OMB_STDCALL SoundSetPosition(AppObject* app, int32_t kind, uintptr_t sound, uint32_t ms);
OMB_FLAT int32_t OMB_STDCALL SoundGetVolume(AppObject* app, int32_t kind, uintptr_t sound);
OMB_FLAT int32_t OMB_STDCALL SoundGetPan(AppObject* app, int32_t kind, uintptr_t sound);
OMB_FLAT int32_t OMB_STDCALL SoundGetFrequency(AppObject* app, int32_t kind, uintptr_t sound);
OMB_FLAT uint32_t OMB_STDCALL SoundGetLength(AppObject* app, int32_t kind, uintptr_t sound);
OMB_FLAT uint32_t OMB_STDCALL SoundGetPosition(AppObject* app, int32_t kind, uintptr_t sound);
