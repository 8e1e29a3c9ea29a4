#include "SdlInput.h"

#include "InputState.h"

#include <SDL.h>

void SdlTextInputMode::SetCharacterTranslation(bool on)
{
    SDL_EnableUNICODE(on ? 1 : 0);
}

bool DrainSdlEvents(InputState& input)
{
    bool quit = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            input.OnKey(static_cast<KeyCode>(event.key.keysym.sym), event.key.keysym.unicode,
                        event.type == SDL_KEYDOWN);
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            input.OnMouseButton(event.button.button, event.type == SDL_MOUSEBUTTONDOWN);
            break;
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            input.OnJoyButton(event.jbutton.button, event.type == SDL_JOYBUTTONDOWN);
            break;
        case SDL_JOYAXISMOTION:
            input.OnJoyAxis(event.jaxis.axis, event.jaxis.value);
            break;
        case SDL_MOUSEMOTION:
            input.OnMouseMotion(event.motion.xrel, event.motion.yrel);
            break;
        case SDL_QUIT:
            quit = true;
            break;
        default:
            break;
        }
    }
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    input.mouseX = x;
    input.mouseY = y;
    return quit;
}
