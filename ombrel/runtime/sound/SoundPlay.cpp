// SoundPlay: a MIDI sound goes to the sequencer; a sample is loaded when its
// bytes still lie in a file, then played on a channel through the player.
#include <cstring>
#include <mutex>
#include <new>

#include "Memory.h"
#include "compress/Compression.h"
#include "plugin/cSoundPluginRegistry.h"
#include "sound/SoundBank.h"
#include "sound/SoundChannels.h"
#include "sound/SoundText.h"
#include "sound/cSound.h"
#include "sound/cSoundPlayer.h"
#include "stream/cFileSource.h"
#include "stream/cMemorySource.h"

namespace {

constexpr uint32_t kPlayKindShift = 16;

OmbHandle HandleOf(uintptr_t file) { return reinterpret_cast<OmbHandle>(file); }

// Reads count bytes at offset whatever the handle's position; false when
// fewer arrive.
bool ReadWholeAt(OmbHandle file, uint8_t* out, uint32_t count, uint32_t offset) {
  while (count > 0) {
    const int32_t got = FileReadAt(file, out, count, offset);
    if (got <= 0) return false;
    out += got;
    offset += static_cast<uint32_t>(got);
    count -= static_cast<uint32_t>(got);
  }
  return true;
}

// Replaces a type 0x10 entry by the sound it refers to: the name prefix and
// the bytes (inflated when compressed) become a plain sample in the same id.
// The block is checked against the file first; nothing changes on failure.
//
// The reads are positional and run without the sound lock: refills of
// sounds streamed from the same handle (on the timer's thread) read at
// offsets of their own, and a long read or inflate must not hold up every
// refill. The lock is taken only to put the entry. As a read through the
// handle would, the load leaves the handle right after the block.
bool LoadFromFile(AppObject* app, int32_t id) {
  SoundEntry* e = FindSoundEntry(app, static_cast<uint32_t>(id));
  if (!e || e->bank.dataSize < sizeof(SoundFileBlock)) return false;
  SoundFileBlock ref;
  std::memcpy(&ref, SoundData(e), sizeof ref);
  const OmbHandle file = HandleOf(ref.file);
  if (ref.namePrefix > ref.byteCount || ref.byteCount >= 0x7FFFFFFFu) return false;
  const uint64_t fileSize = FileGetSize(file);
  if (uint64_t{ref.offset} >= fileSize || fileSize == 0xFFFFFFFFu) return false;
  void* block = nullptr;
  if (!MemAlloc(ref.byteCount + 1, &block)) return false;
  auto* bytes = static_cast<uint8_t*>(block);
  bool ok = false;
  uint64_t end = uint64_t{ref.offset} + ref.byteCount;
  if (ref.compressed) {
    uint32_t packed = 0;
    ok = ReadWholeAt(file, reinterpret_cast<uint8_t*>(&packed), 4, ref.offset);
    end = uint64_t{ref.offset} + 4 + packed;
    ok = ok && end <= fileSize && InflateFileToBlock(bytes, ref.byteCount, file, ref.offset + 4, packed) == LibOk;
  } else {
    ok = end <= fileSize && ReadWholeAt(file, bytes, ref.byteCount, ref.offset);
  }
  if (ok) {
    FileSeek(file, static_cast<int32_t>(end));
    bytes[ref.byteCount] = 0;
    // The name: the first n bytes (not necessarily terminated).
    char name[256] = "";
    const uint32_t n = ref.namePrefix < sizeof name - 1 ? ref.namePrefix : sizeof name - 1;
    std::memcpy(name, bytes, n);
    name[n] = 0;
    std::lock_guard<SoundMutex> hold(SoundLock());
    ok = SoundPut(app, SoundKindSample, id, name, bytes + ref.namePrefix, ref.byteCount - ref.namePrefix) == id;
  }
  MemFree(&block);
  return ok;
}

// The stream a sample plays from, or null.
cByteSource* OpenSampleStream(AppObject* app, uintptr_t sound) {
  if (!IsSoundId(sound)) {
    cFileSource* f = cFileSource::New();
    if (f && f->Open(reinterpret_cast<const char*>(sound)) != LibOk) {
      f->Delete();
      return nullptr;
    }
    return f;
  }
  SoundEntry* e = FindSoundEntry(app, sound);
  if (!e) return nullptr;
  if (e->type & SoundTypeStreamed) {
    if (e->bank.dataSize < sizeof(SoundFileRange)) return nullptr;
    SoundFileRange ref;
    std::memcpy(&ref, SoundData(e), sizeof ref);
    if (ref.namePrefix > ref.byteCount) return nullptr;
    cFileSource* f = cFileSource::New();
    if (!f) return nullptr;
    const uint32_t start = ref.offset + ref.namePrefix;
    const uint32_t length = ref.byteCount - ref.namePrefix;
    const LibError r = HandleOf(ref.file) == OmbInvalidHandle() ? f->OpenPart(ref.path, start, length)
                                                                 : f->OpenHandlePart(HandleOf(ref.file), start, length);
    if (r != LibOk) {
      f->Delete();
      return nullptr;
    }
    return f;
  }
  cMemorySource* m = cMemorySource::New();
  if (m) m->Attach(SoundData(e), e->bank.dataSize);
  return m;
}

// The channel SoundPlay uses (index), or -1 with the result in *result.
int32_t ChooseChannel(AppObject* app, uint32_t flags, int32_t channel, int32_t* result) {
  const int32_t count = ChannelCount(app);
  if (channel >= 1 && channel <= count) {
    const SoundChannel& c = app->channels[channel - 1];
    if (ChannelHolds(c) && (c.flags & (SoundPlayProtect | SoundPlayForce)) && !(flags & SoundPlayForce)) {
      *result = -1;
      return -1;
    }
    return channel - 1;
  }
  int32_t take = -1, busy = -1, unlocked = -1;
  for (int32_t i = 0; i < count && take < 0; ++i) {
    SoundChannel& c = app->channels[i];
    if (c.flags & SoundChannelLocked) continue;
    if (unlocked < 0) unlocked = i;
    if (!ChannelHolds(c)) {
      take = i;
    } else if (!SoundPlaysOrPaused(ChannelSound(c))) {
      ClearChannel(c);
      take = i;
    } else if (busy < 0 && !(c.flags & (SoundPlayProtect | SoundPlayForce))) {
      busy = i;
    }
  }
  if (take < 0) take = busy;
  if (take < 0) {
    if (!(flags & SoundPlayForce)) {
      *result = 1;
      return -1;
    }
    take = unlocked >= 0 ? unlocked : count - 1;
  }
  SoundChannel& c = app->channels[take];
  c.volume = kAppInitialVolume;
  c.pan = 0;
  c.frequency = 0;
  return take;
}

}  // namespace

OMB_FLAT int32_t OMB_STDCALL SoundPlay(cSoundPlayer* player, AppObject* app, uintptr_t sound, void* window,
                                       uint32_t flags, int32_t loops, int32_t channel) {
  if (!app || !sound) return app ? -1 : 0;
  SoundEntry* e = nullptr;
  uint32_t kind = (flags >> kPlayKindShift) & SoundKindMask;
  if (IsSoundId(sound)) {
    e = FindSoundEntry(app, sound);
    if (!e) return -1;
    kind = e->type & SoundKindMask;
  }
  if (!(flags & SoundPlayLoop)) loops = 1;
  if (kind == SoundKindMidi) {
    const char* file = e ? reinterpret_cast<const char*>(SoundData(e)) : reinterpret_cast<const char*>(sound);
    if (e && std::memchr(file, 0, e->bank.dataSize) == nullptr) return -1;  // no terminated name
    return MidiPlay(app, sound, file, window, flags, loops);
  }
  if (kind != SoundKindSample) return -1;
  if (e && (e->type & SoundTypeInFile) && !LoadFromFile(app, static_cast<int32_t>(sound))) return -1;
  if (!player) return 0;
  int32_t result = 0;
  const int32_t index = ChooseChannel(app, flags, channel, &result);
  if (index < 0) return result;
  SoundChannel& c = app->channels[index];
  ClearChannel(c);
  cByteSource* stream = OpenSampleStream(app, sound);
  if (!stream) return -1;
  cSound* s = player->CreateSound(stream, 1, (flags & SoundPlayKeepPlaying) ? 3 : 1);
  if (!s) {
    stream->Delete();
    return -1;
  }
  if (IsSoundId(sound)) {
    c.id = static_cast<int32_t>(sound);
  } else {
    c.name = CopySoundName(reinterpret_cast<const char*>(sound));
  }
  c.flags = (c.flags & SoundChannelLocked) | (flags & 0xFFFF);
  c.sound = s;
  if (loops != 1) s->SetLoop(1, loops);
  ApplyChannelMix(app, c);
  s->Play();
  return 0;
}
