// MIDI through MCI's "sequencer" device.
#include <windows.h>

#include <mmsystem.h>

#include "sound/MidiSystem.h"

namespace {
class MciMidi final : public MidiSystem {
 public:
  uint32_t Open(const char* file, uint32_t* device) override {
    MCI_OPEN_PARMSA open{};
    open.lpstrDeviceType = "sequencer";
    open.lpstrElementName = file;
    const MCIERROR e = mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_OPEN_ELEMENT, reinterpret_cast<DWORD_PTR>(&open));
    if (e == 0) *device = open.wDeviceID;
    return e;
  }
  uint32_t Play(uint32_t device, void* window, bool fromPosition, uint32_t position) override {
    MCI_PLAY_PARMS play{};
    play.dwCallback = reinterpret_cast<DWORD_PTR>(window);
    play.dwFrom = position;
    return mciSendCommandA(device, MCI_PLAY, MCI_NOTIFY | (fromPosition ? MCI_FROM : 0),
                           reinterpret_cast<DWORD_PTR>(&play));
  }
  uint32_t Pause(uint32_t device) override { return mciSendCommandA(device, MCI_PAUSE, 0, 0); }
  uint32_t Position(uint32_t device, uint32_t* position) override {
    MCI_STATUS_PARMS status{};
    status.dwItem = MCI_STATUS_POSITION;
    const MCIERROR e = mciSendCommandA(device, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status));
    if (e == 0) *position = static_cast<uint32_t>(status.dwReturn);
    return e;
  }
  void Close(uint32_t device) override { mciSendCommandA(device, MCI_CLOSE, 0, 0); }
};
}  // namespace

MidiSystem& PlatformMidiSystem() {
  static MciMidi midi;
  return midi;
}
