#include "sound/MidiSystem.h"

namespace {
MidiSystem* installed = nullptr;
}  // namespace

MidiSystem* SetMidiSystem(MidiSystem* midi) {
  MidiSystem* before = installed;
  installed = midi;
  return before;
}

MidiSystem& CurrentMidiSystem() { return installed ? *installed : PlatformMidiSystem(); }
