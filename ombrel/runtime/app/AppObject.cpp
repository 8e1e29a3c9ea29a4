#include "app/AppObject.h"

#include <cstddef>

// The record's layout as hosts see it (32-bit build).
OMB_PIN_SIZE(SoundChannel, 28);
OMB_PIN_OFFSET(SoundChannel, id, 0);
OMB_PIN_OFFSET(SoundChannel, name, 4);
OMB_PIN_OFFSET(SoundChannel, flags, 8);
OMB_PIN_OFFSET(SoundChannel, sound, 12);
OMB_PIN_OFFSET(SoundChannel, volume, 16);
OMB_PIN_OFFSET(SoundChannel, pan, 20);
OMB_PIN_OFFSET(SoundChannel, frequency, 24);
OMB_PIN_SIZE(MidiState, 28);
OMB_PIN_OFFSET(MidiState, sound, 0);
OMB_PIN_OFFSET(MidiState, flags, 4);
OMB_PIN_OFFSET(MidiState, window, 8);
OMB_PIN_OFFSET(MidiState, loopsLeft, 12);
OMB_PIN_OFFSET(MidiState, paused, 16);
OMB_PIN_OFFSET(MidiState, pausePosition, 20);
OMB_PIN_OFFSET(MidiState, name, 24);
OMB_PIN_SIZE(AppObject, 1024);
OMB_PIN_OFFSET(AppObject, instance, 0);
OMB_PIN_OFFSET(AppObject, depth, 4);
OMB_PIN_OFFSET(AppObject, flags, 6);
OMB_PIN_OFFSET(AppObject, blackIndex, 8);
OMB_PIN_OFFSET(AppObject, palette, 12);
OMB_PIN_OFFSET(AppObject, rows, 16);
OMB_PIN_OFFSET(AppObject, reserved, 40);
OMB_PIN_OFFSET(AppObject, formatPrototype, 48);
OMB_PIN_OFFSET(AppObject, mainVolume, 52);
OMB_PIN_OFFSET(AppObject, mainPan, 56);
OMB_PIN_OFFSET(AppObject, channelCount, 60);
OMB_PIN_OFFSET(AppObject, channels, 64);
OMB_PIN_OFFSET(AppObject, midiDevice, 960);
OMB_PIN_OFFSET(AppObject, midi, 964);
OMB_PIN_OFFSET(AppObject, windows, 992);
