#include "Cursor.h"

#include "DrawSink.h"
#include "GlDrawSink.h"
#include "Game.h"
#include "WorldDrawState.h"

#include <GL/gl.h>

Vec2 CursorScreenPosition(int mouseX, int mouseY, int windowWidth, int windowHeight, Vec2 screenSize)
{
    // Multiplied first: a pixel that maps onto a whole layout unit lands on
    // it exactly, so menu bands and box edges compare as drawn.
    const float x = windowWidth != 0 ? static_cast<float>(mouseX) * screenSize.x / static_cast<float>(windowWidth) : 0.0f;
    const float y = windowHeight != 0 ? static_cast<float>(mouseY) * screenSize.y / static_cast<float>(windowHeight) : 0.0f;
    return {x, y};
}

void Game::DrawCursor(float alpha) { DrawCursor(alpha, GlSink(), GlWorldState()); }

void Game::DrawCursor(float, DrawSink& sink, WorldDrawState& state)
{
    if (!input.cursorVisible)
        return;
    const Vec2 c = CursorScreenPosition(input.mouseX, input.mouseY, windowWidth, windowHeight, screenSize);
    sink.Colour(1.0f, 1.0f, 1.0f, 1.0f);
    state.BindTexture(resources.Texture(TextureId::Cursor));
    state.SetBlend(GL_ONE, GL_ONE);
    sink.Begin(DrawSink::Primitive::Quads);
    sink.TexCoord(0.0f, 0.0f);
    sink.Vertex(c.x, c.y);
    sink.TexCoord(1.0f, 0.0f);
    sink.Vertex(c.x + kCursorSize, c.y);
    sink.TexCoord(1.0f, 1.0f);
    sink.Vertex(c.x + kCursorSize, c.y + kCursorSize);
    sink.TexCoord(0.0f, 1.0f);
    sink.Vertex(c.x, c.y + kCursorSize);
    sink.End();
    state.Finish();
}
