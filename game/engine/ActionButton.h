#pragma once

#include "KeyCode.h"
#include "KeyState.h"

// One action of the game: its edge state and the two codes that drive it.
struct ActionButton {
    KeyState key;
    KeyCode primary = KeyCodes::Unbound;
    KeyCode alternative = KeyCodes::Unbound;

    bool IsBoundTo(KeyCode code) const { return primary == code || alternative == code; }
};
