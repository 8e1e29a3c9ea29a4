// The system's sound output: DirectSound, the sound window and the multimedia
// timer in the library; natively a system without any output (tests bring a
// fake of their own).
#pragma once

#include "sound/SoundOutput.h"

SoundSystem& PlatformSoundSystem();
