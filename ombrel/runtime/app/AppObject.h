// The application record every host starts with: its module instance, the
// pixel format its images and windows work in, its palette, its six bank
// rows, its sound channels and MIDI state, and the list of its windows.
// Hosts and every service of the runtime address its fields by offset, so the
// layout (1024 bytes on the library's 32-bit build) is part of the interface;
// the offsets are pinned in AppObject.cpp.
#pragma once

#include <cstdint>

#include "HandleList.h"
#include "OmbrelApi.h"

class cPalette;
class cSurfaceImpl;
struct BankRow;

// One of the 32 sample channels (channels are numbered 1 to 32).
struct SoundChannel {
  int32_t id;          // bank id of the sound played; 0 when none or played by file name
  char* name;          // heap copy of the file name of a sound played by name, or null
  uint32_t flags;      // low 16 bits: the play flags; 0x10000: channel locked
  void* sound;         // the channel's sound object, or null
  int32_t volume;      // 0 to 100
  int32_t pan;         // -100 to 100
  int32_t frequency;   // Hz; 0 = the sound's own rate
};

// Playback state of the one MIDI sound (the device id sits just before it).
struct MidiState {
  uintptr_t sound;        // its bank id, or the name pointer the caller passed; 0 when none
  uint32_t flags;         // play flags
  void* window;           // receives the completion notice
  int32_t loopsLeft;
  int32_t paused;
  uint32_t pausePosition; // device position at the pause, 0 when none
  char* name;             // heap copy of a MIDI file name played by name, or null
};

constexpr int kAppBankRows = 6;
constexpr int kAppChannels = 32;
constexpr int32_t kAppInitialDepth = 3;  // 8 bits through the app palette
constexpr int32_t kAppInitialVolume = 100;
constexpr int32_t kNoMidiDevice = -1;

// Bits of AppObject::flags the library owns; the rest belong to the host.
constexpr uint16_t kAppBeingDestroyed = 0x0001;

// Bank rows by use.
enum AppBankRow : int32_t {
  BankRowImages = 0,
  BankRowSounds = 1,
  BankRowMasksPlane0 = 2,
  BankRowMasksPlane1 = 3,
  BankRowUnused = 4,
  BankRowFonts = 5,
};

struct AppObject {
  void* instance;                  // the host's module instance
  uint16_t depth;                  // DepthCode in the low nibble; option bits above it
  uint16_t flags;                  // kAppBeingDestroyed; host bits
  int32_t blackIndex;              // palette index used for black
  cPalette* palette;               // the app palette (one reference), or null
  BankRow* rows[kAppBankRows];     // null until first used
  uint32_t reserved[2];
  cSurfaceImpl* formatPrototype;   // empty memory surface of the app's pixel format
  int32_t mainVolume;              // 0 to 100
  int32_t mainPan;                 // -100 to 100
  int32_t channelCount;            // 1 to 32: channels searched and used
  SoundChannel channels[kAppChannels];
  int32_t midiDevice;              // device id of the open MIDI sound, kNoMidiDevice when none
  MidiState midi;
  cHandleList windows;             // the app's WindowObject pointers

  // The DepthCode part of `depth`.
  int32_t DepthCode() const { return depth & 0xF; }
};
