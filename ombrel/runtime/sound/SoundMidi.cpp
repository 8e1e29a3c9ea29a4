// The one MIDI sound of an application, through the current MidiSystem. The
// state keeps the caller's sound value at its place in the record (an id or
// the caller's name pointer) but replays and comparisons use the record's own
// copy of the name: the caller's text may be gone by then.
#include <cstring>

#include "Memory.h"
#include "sound/MidiSystem.h"
#include "sound/SoundChannels.h"
#include "sound/SoundText.h"

namespace {

// Closes the device and clears the whole MIDI state.
void CloseMidi(AppObject* app) {
  if (app->midiDevice != kNoMidiDevice) CurrentMidiSystem().Close(static_cast<uint32_t>(app->midiDevice));
  if (app->midi.name) {
    void* block = app->midi.name;
    MemFree(&block);
  }
  app->midi = MidiState{};
  app->midiDevice = kNoMidiDevice;
}

}  // namespace

bool MidiIsSound(const AppObject* app, uintptr_t sound) {
  if (!app->midi.sound || !sound) return false;
  if (IsSoundId(sound)) return app->midi.sound == sound;
  return app->midi.name && SameSoundName(app->midi.name, reinterpret_cast<const char*>(sound));
}

int32_t MidiPlay(AppObject* app, uintptr_t sound, const char* file, void* window, uint32_t flags, int32_t loops) {
  const bool open = app->midiDevice != kNoMidiDevice;
  if (open && !(flags & SoundPlayForce) && (app->midi.flags & (SoundPlayProtect | SoundPlayForce))) return -1;
  // The name may be the open sound's own copy: keep it across the close.
  char* name = CopySoundName(file);
  if (!name) return -1;
  CloseMidi(app);
  MidiSystem& midi = CurrentMidiSystem();
  uint32_t device = 0;
  uint32_t error = midi.Open(name, &device);
  if (error == 0) {
    error = midi.Play(device, window, false, 0);
    if (error != 0) midi.Close(device);
  }
  if (error != 0) {
    void* block = name;
    MemFree(&block);
    return static_cast<int32_t>(error);
  }
  app->midiDevice = static_cast<int32_t>(device);
  app->midi.sound = sound;
  app->midi.flags = flags;
  app->midi.window = window;
  app->midi.loopsLeft = loops;
  app->midi.paused = 0;
  app->midi.pausePosition = 0;
  app->midi.name = name;
  return 0;
}

int32_t MidiStop(AppObject* app, uintptr_t sound) {
  if (sound == kSoundMidiNotice && app->midi.sound && (app->midi.flags & SoundPlayLoop)) {
    // A count of 0 replays for ever; otherwise one pass less, replaying while some remain.
    bool again = app->midi.loopsLeft == 0;
    if (!again) again = --app->midi.loopsLeft > 0;
    if (again) {
      if (app->midiDevice != kNoMidiDevice)
        return static_cast<int32_t>(
            CurrentMidiSystem().Play(static_cast<uint32_t>(app->midiDevice), app->midi.window, true, 0));
      // Played again from the file it opened (the kept copy of its name).
      return MidiPlay(app, app->midi.sound, app->midi.name, app->midi.window, app->midi.flags, app->midi.loopsLeft);
    }
  }
  if (app->midiDevice == kNoMidiDevice && !app->midi.sound) return -1;
  CloseMidi(app);
  return 0;
}

void MidiPause(AppObject* app) {
  if (app->midiDevice == kNoMidiDevice || app->midi.paused) return;
  MidiSystem& midi = CurrentMidiSystem();
  uint32_t position = 0;
  if (midi.Position(static_cast<uint32_t>(app->midiDevice), &position) != 0) position = 0;
  if (midi.Pause(static_cast<uint32_t>(app->midiDevice)) != 0) return;
  app->midi.pausePosition = position;
  app->midi.paused = 1;
}

int32_t MidiResume(AppObject* app) {
  if (app->midiDevice == kNoMidiDevice || !app->midi.paused) return 0;
  MidiSystem& midi = CurrentMidiSystem();
  const auto device = static_cast<uint32_t>(app->midiDevice);
  uint32_t error = 1;
  if (app->midi.pausePosition) error = midi.Play(device, app->midi.window, true, app->midi.pausePosition);
  if (error != 0) error = midi.Play(device, app->midi.window, false, 0);
  if (error == 0) {
    app->midi.paused = 0;
    app->midi.pausePosition = 0;
  }
  return static_cast<int32_t>(error);
}
