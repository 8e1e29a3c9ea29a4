#pragma once

#include "TextInputMode.h"

class InputState;

// SDL's unicode translation of key events, switched by the text entry.
class SdlTextInputMode : public TextInputMode {
public:
    void SetCharacterTranslation(bool on) override;
};

// Drains every pending SDL event into the input state, then stores the mouse
// position. Returns true when a quit event was among them.
bool DrainSdlEvents(InputState& input);
