#include "Joysticks.h"

#include <SDL.h>

bool InitJoysticks(Log& log)
{
    log.Write("\n[Searching for Joystick]\n");
    SDL_Init(SDL_INIT_JOYSTICK);

    const int count = SDL_NumJoysticks();
    if (count <= 0) {
        log.Write("No joysticks found...\n");
        return false;
    }

    bool anyOpened = false;
    for (int i = 0; i < count; ++i) {
        if (SDL_JoystickOpen(i) == nullptr) {
            log.Writef("Joystick %i could not be opened!\n", i);
        } else {
            log.Writef("Joystick %i found and intialized.\n", i);
            anyOpened = true;
        }
    }
    log.Write("Complete...\n\n");
    return anyOpened;
}
