// MIDI playback as the sound bank uses it: the system's sequencer opened on a
// file, played with a completion notice to a window (from a position or from
// where it is), paused at a position it reports, and closed. The library's is
// MCI's "sequencer" (mciSendCommandA); tests install a fake. Results are MCI
// error codes, 0 for success.
#pragma once

#include <cstdint>

class MidiSystem {
 public:
  virtual uint32_t Open(const char* file, uint32_t* device) = 0;
  // Plays with a notice to `window`; from `position` when `fromPosition`.
  virtual uint32_t Play(uint32_t device, void* window, bool fromPosition, uint32_t position) = 0;
  virtual uint32_t Pause(uint32_t device) = 0;
  virtual uint32_t Position(uint32_t device, uint32_t* position) = 0;
  virtual void Close(uint32_t device) = 0;

 protected:
  ~MidiSystem() = default;
};

// The system's MIDI (no device natively: every open fails).
MidiSystem& PlatformMidiSystem();
// The MIDI the sound functions use; null restores the system's. Returns the
// one it replaces.
MidiSystem* SetMidiSystem(MidiSystem* midi);
MidiSystem& CurrentMidiSystem();
