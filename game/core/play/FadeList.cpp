#include "Fade.h"
#include "Game.h"

#include <algorithm>

void Game::AdvanceFades(float frameSeconds)
{
    fades.erase(std::remove_if(fades.begin(), fades.end(),
                               [frameSeconds](const std::shared_ptr<Fade>& fade) {
                                   return fade == nullptr || UpdateOrReapFade(*fade, frameSeconds);
                               }),
                fades.end());
}

void Game::DrawFades(DrawSink& sink, WorldDrawState& state) const
{
    for (const std::shared_ptr<Fade>& fade : fades)
        if (fade != nullptr)
            fade->Draw(1.0f, sink, state);
}
