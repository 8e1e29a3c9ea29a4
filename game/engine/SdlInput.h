#pragma once

#include "TextInputMode.h"

class InputState;
union SDL_Event;

// SDL's unicode translation of key events, switched by the text entry.
class SdlTextInputMode : public TextInputMode {
public:
    void SetCharacterTranslation(bool on) override;
};

// Passes one SDL event to the input state (key presses go to a running text
// entry; releases always to the buttons). Returns true for a quit event.
bool ApplySdlEvent(InputState& input, const SDL_Event& event);

// Drains every pending SDL event into the input state, then stores the mouse
// position. Returns true when a quit event was among them.
bool DrainSdlEvents(InputState& input);
