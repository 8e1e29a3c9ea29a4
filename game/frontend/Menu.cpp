#include "Menu.h"

#include "Cursor.h"
#include "DrawSink.h"
#include "Game.h"
#include "PlayModeLinks.h"
#include "ScreenCanvas.h"
#include "TextWriter.h"
#include "WorldDrawState.h"

#include <GL/gl.h>

#include <cmath>

namespace {
constexpr float kCloseSeconds = 0.5f;
constexpr float kOutlineGap = 3.0f;
constexpr float kFontScale = 0.5f;
} // namespace

Menu::Menu(int halfWidth_, int halfHeight_, float centreX, float centreY, float openSeconds)
    : halfWidth(halfWidth_), halfHeight(halfHeight_), centre{centreX, centreY}
{
    PlaySound(SampleId::MenuOpen);
    fade = std::make_shared<Fade>(Fade::Black(0.0f, 1.0f, openSeconds, 1));
    theGame->fades.push_back(fade);
    theGame->input.cursorVisible = 1;
}

void Menu::Close()
{
    // A fade watched before is left to the list; it finishes by itself.
    fade = std::make_shared<Fade>(Fade::Black(1.0f, 0.0f, kCloseSeconds, 1));
    theGame->fades.push_back(fade);
    closing = true;
    PlaySound(SampleId::MenuClose);
}

void Menu::OnChildResult(std::int32_t) {}

bool Menu::IsTop() const
{
    return !theGame->menus.empty() && theGame->menus.back().get() == this;
}

bool Menu::RunHead()
{
    if (!IsTop())
        return false;
    pulse = static_cast<float>(std::sin(10.0 * theGame->frameTimer.elapsed) * 0.5 + 0.5);
    if (fade != nullptr) {
        alpha = fade->alpha;
        if (fade->finished) {
            fade.reset();
            if (closing) {
                active = false;
                ClosingAction();
            }
        }
    }
    return !closing;
}

void Menu::HitTest(std::initializer_list<Band> bands)
{
    selected = 0;
    const Game& game = *theGame;
    const Vec2 p = CursorScreenPosition(game.input.mouseX, game.input.mouseY, game.windowWidth,
                                        game.windowHeight, game.screenSize);
    const float left = centre.x - static_cast<float>(halfWidth);
    const float right = centre.x + static_cast<float>(halfWidth);
    if (!(left < p.x && p.x < right))
        return;
    for (const Band& band : bands) {
        if (band.lower < p.y && p.y < band.upper) {
            selected = band.item;
            return;
        }
    }
}

bool Menu::Clicked() const
{
    return selected != 0 && theGame->input.Button(ButtonMenuClick).key.state == KeyState::Pressed;
}

void Menu::ConsumeClick() { theGame->input.Button(ButtonMenuClick).key.Reset(); }

void Menu::PlaySound(SampleId id) { PlayCentred(*theGame, id); }

void Menu::DrawFrame(ScreenCanvas& canvas) const
{
    const float left = centre.x - static_cast<float>(halfWidth);
    const float right = centre.x + static_cast<float>(halfWidth);
    const float top = Top();
    const float bottom = Bottom();
    DrawSink& sink = canvas.sink;
    canvas.state.Finish();
    canvas.state.SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    sink.Begin(DrawSink::Primitive::Quads);
    sink.Colour(0.0f, 0.3f, 1.0f, alpha);
    sink.Vertex(left, top);
    sink.Vertex(right, top);
    sink.Colour(0.0f, 0.0f, 0.5f, alpha);
    sink.Vertex(right, bottom);
    sink.Vertex(left, bottom);
    sink.End();
    sink.Colour(1.0f, 1.0f, 1.0f, alpha);
    for (const float gap : {0.0f, kOutlineGap}) {
        sink.Begin(DrawSink::Primitive::LineLoop);
        sink.Vertex(left - gap, top - gap);
        sink.Vertex(right + gap, top - gap);
        sink.Vertex(right + gap, bottom + gap);
        sink.Vertex(left - gap, bottom + gap);
        sink.End();
    }
    canvas.state.DisableBlend();
}

void Menu::PrepareFont()
{
    FontSet& font = theGame->font;
    font.DisableShadow();
    font.SetScale(kFontScale, kFontScale);
    font.SetAlign(FontSet::AlignCentre);
    font.SetBlend(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void Menu::DrawLabel(ScreenCanvas& canvas, const char* text, float y, std::int32_t item) const
{
    if (item != 0 && item == selected)
        DrawLabelIn(canvas, text, y, 1.0f, pulse, 0.0f);
    else
        DrawLabelIn(canvas, text, y, 1.0f, 1.0f, 1.0f);
}

void Menu::DrawLabelIn(ScreenCanvas& canvas, const char* text, float y, float r, float g, float b) const
{
    PrepareFont();
    theGame->font.SetColour(r, g, b, alpha);
    canvas.text.Write(theGame->font, text, centre.x, y);
}

void Menu::DrawCursor(ScreenCanvas& canvas) const
{
    theGame->DrawCursor(alpha, canvas.sink, canvas.state);
}
