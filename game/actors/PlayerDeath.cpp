// The ship's death: explosions, the wreck and the debris of its beams, and
// the death sequence that ends in a restart or the high-score screen.
#include "Player.h"

#include "EntityFactory.h"
#include "Fade.h"
#include "Game.h"
#include "MathUtil.h"
#include "PlayerDebris.h"
#include "Random.h"
#include "Wreckage.h"

#include <memory>

void Player::Die()
{
    if (dying || theGame == nullptr)
        return;
    Game& game = *theGame;
    if (game.missionState.aborted || game.missionState.completed)
        return;
    dying = true;
    endTimer = 300;
    Vec2 f;
    Vec2 s;
    AngleToVectors(angle, f, s);
    const Vec2 p = position;
    AddExplosion(p, 1.0f, 0.75f, 0.0f, 30);
    for (Vec2 at : {p + 25.0f * s, p - 25.0f * s, p + 25.0f * f, p - 25.0f * f})
        AddExplosion(at, 1.0f, 0.25f, 0.0f, 20);
    AddShockRing(p);
    if (Length(velocity) > 3.0f)
        ThrowWreck();
    BreakIntoDebris("Player", p, 0.1f * velocity, 0.25f);
    game.PlayBigExplosionAt(p.x, p.y);
    const int channel = game.audio.PlaySample(game.resources.Sample(SampleId::BulletTime), false);
    game.audio.SetChannelPosition(channel, 0, 0);
    game.audio.FadeOutMusic(1000);
}

void Player::ThrowWreck()
{
    Vec2 f;
    Vec2 s;
    AngleToVectors(angle, f, s);
    const Vec2 v = velocity;
    struct Piece {
        EntityType type;
        Vec2 velocity;
    };
    const Piece three[] = {{1000, 0.25f * v - s - f}, {1001, 0.25f * v + f}, {1002, 0.25f * v + s - f}};
    const Piece four[] = {{1003, 0.35f * v - s - f}, {1004, 0.35f * v + f}, {1005, 0.5f * v + s - f},
                          {1006, 0.25f * v - s - f}};
    const bool odd = Random() % 2 == 1;
    const Piece* pieces = odd ? three : four;
    const int count = odd ? 3 : 4;
    for (int i = 0; i < count; ++i) {
        Entity* made = CreateEntity(pieces[i].type);
        if (made == nullptr)
            continue;
        made->Spawn(position.x, position.y, angle);
        static_cast<PlayerDebris*>(made)->velocity = pieces[i].velocity;
        theGame->entities.Append(made);
    }
}

void Player::RunDeathSequence(Vec2 carrierMove)
{
    Game& game = *theGame;
    position += velocity;
    velocity = velocity * 0.915f;
    endTimer -= 1;
    if (endTimer == 100)
        game.fades.push_back(std::make_shared<Fade>(Fade::Black(0.0f, 1.0f, 2.0f, 0)));
    if (endTimer < 1) {
        lives -= 1;
        if (lives < 0) {
            game.EnterHiScoreScreen(true);
            return;
        }
        game.StartLevel();
    }
    const Vec2 c = game.screenCentre;
    FollowCamera(carrierMove, 1.5f * c.x, 0.5f * c.x, 1.25f * c.y, c.y);
    if (endTimer > 250 && zoom < 1.0f) {
        zoom += 0.02f * 0.1f;
        if (zoom > 1.0f)
            zoom = 1.0f;
    }
}
