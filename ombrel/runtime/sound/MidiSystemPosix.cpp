// Natively there is no MIDI sequencer: opening reports that no driver loads.
#include "sound/MidiSystem.h"

namespace {
constexpr uint32_t kCannotLoadDriver = 266;  // MCIERR_CANNOT_LOAD_DRIVER

class NoMidi final : public MidiSystem {
 public:
  uint32_t Open(const char*, uint32_t*) override { return kCannotLoadDriver; }
  uint32_t Play(uint32_t, void*, bool, uint32_t) override { return kCannotLoadDriver; }
  uint32_t Pause(uint32_t) override { return kCannotLoadDriver; }
  uint32_t Position(uint32_t, uint32_t*) override { return kCannotLoadDriver; }
  void Close(uint32_t) override {}
};
}  // namespace

MidiSystem& PlatformMidiSystem() {
  static NoMidi midi;
  return midi;
}
