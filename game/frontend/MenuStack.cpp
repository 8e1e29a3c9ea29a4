// The game's menu stack: one pass per tick, closing everything at once, and
// the drawing of the whole stack.
#include "Game.h"
#include "Menu.h"
#include "ScreenCanvas.h"
#include "TextWriter.h"
#include "TurnedView.h"
#include "WorldDrawState.h"

void Game::UpdateMenus()
{
    // By index: a menu's update may append a dialog, which moves the
    // elements; the appended one is updated in this pass too. A menu is
    // deleted only at its own turn, never while another one runs.
    for (std::size_t i = 0; i < menus.size();) {
        if (!menus[i]->active) {
            menus.erase(menus.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        menus[i]->Update();
        ++i;
    }
}

void Game::CloseAllMenus()
{
    // A cancel key never confirms: no menu closed this way keeps the item
    // that lay under the pointer.
    for (std::unique_ptr<Menu>& menu : menus) {
        menu->selected = 0;
        menu->Close();
    }
}

void Game::DrawMenus(float alpha, DrawSink& sink, WorldDrawState& state)
{
    FontTextWriter writer(sink, state);
    ScreenCanvas canvas{sink, state, writer};
    DrawMenus(alpha, canvas);
}

void Game::DrawMenus(float alpha, ScreenCanvas& canvas)
{
    if (menus.empty())
        return;
    SetupTurnedView(*this, canvas.state, static_cast<float>(viewWidth), static_cast<float>(viewHeight), screenSize.x);
    for (std::size_t i = 0; i < menus.size(); ++i)
        menus[i]->Draw(alpha, canvas);
}
