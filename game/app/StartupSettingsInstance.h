#pragma once

#include "StartupSettings.h"

// The program's start-up choices: written by the setup dialog, read once by
// the game's start sequence.
StartupSettings& TheStartupSettings();
