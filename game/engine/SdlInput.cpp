#include "SdlInput.h"

#include "InputState.h"

#include <SDL.h>

void SdlTextInputMode::SetCharacterTranslation(bool on)
{
    SDL_EnableUNICODE(on ? 1 : 0);
}

bool ApplySdlEvent(InputState& input, const SDL_Event& event)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        input.OnKey(static_cast<KeyCode>(event.key.keysym.sym), event.key.keysym.unicode,
                    event.type == SDL_KEYDOWN);
        return false;
    case SDL_MOUSEMOTION:
        input.OnMouseMotion(event.motion.xrel, event.motion.yrel);
        return false;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        input.OnMouseButton(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
        return false;
    case SDL_JOYAXISMOTION:
        input.OnJoyAxis(event.jaxis.axis, event.jaxis.value);
        return false;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        input.OnJoyButton(event.jbutton.button, event.type == SDL_JOYBUTTONDOWN);
        return false;
    case SDL_QUIT:
        return true;
    default:
        return false;
    }
}

bool DrainSdlEvents(InputState& input)
{
    bool quit = false;
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (ApplySdlEvent(input, event))
            quit = true;
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    input.mouseX = x;
    input.mouseY = y;
    return quit;
}
