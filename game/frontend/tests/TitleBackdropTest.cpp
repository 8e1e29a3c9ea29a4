#include "FrontendFixture.h"

#include "BlueTank.h"
#include "Flea.h"
#include "Lander.h"
#include "Missile.h"
#include "Projectile.h"
#include "RedTurret.h"
#include "Sweeper.h"

#include <gtest/gtest.h>

#include <set>

namespace {

template <typename T>
std::vector<T*> Live(Game& game)
{
    std::vector<T*> found;
    for (Entity* e : game.entities)
        if (auto* t = dynamic_cast<T*>(e))
            found.push_back(t);
    return found;
}

} // namespace

TEST(TitleBackdrop, TheSplashLevelFightsBehindTheTitleWhileTheShipStaysSpawning)
{
    Frontend f;
    // The demo data's models: every actor and shot gets its hull.
    f.host.textures.id = 7; // textures "load" without a window
    ASSERT_TRUE(f.game.resources.LoadResources(ZELV_DEMO_DATA_DIR));
    f.game.models = &f.game.storeModels;
    f.game.EnterTitle();
    ASSERT_STREQ(f.game.mapName, "Splash");
    const int score = f.game.player->score;
    std::vector<Vec2> tanksAt;
    for (BlueTank* tank : Live<BlueTank>(f.game))
        tanksAt.push_back(tank->position);
    ASSERT_FALSE(tanksAt.empty());
    ASSERT_FALSE(Live<Sweeper>(f.game).empty());
    ASSERT_FALSE(Live<Flea>(f.game).empty());
    ASSERT_FALSE(Live<Lander>(f.game).empty());
    ASSERT_FALSE(Live<Missile>(f.game).empty());
    const std::size_t entities = f.game.entities.Size();

    std::set<int> kinds;
    int mostMines = 0;
    for (int tick = 0; tick < 2000; ++tick) {
        f.Frame();
        for (const Projectile* shot : f.game.enemyShots)
            kinds.insert(shot->kind);
        mostMines = std::max(mostMines, f.game.mineCount);
        ASSERT_GT(f.game.player->spawnTimer, 0) << tick;
    }
    // Turrets fired bullets and seekers; a layer laid mines; tanks crawled.
    EXPECT_TRUE(kinds.count(1) == 1 && kinds.count(2) == 1);
    EXPECT_GT(mostMines, 0);
    const std::vector<BlueTank*> tanks = Live<BlueTank>(f.game);
    ASSERT_EQ(tanks.size(), tanksAt.size());
    for (std::size_t i = 0; i < tanks.size(); ++i)
        EXPECT_NE(tanks[i]->position, tanksAt[i]) << i;
    // Seekers hit nothing here, and what waits for the ship still waits.
    EXPECT_EQ(f.game.player->score, score);
    EXPECT_EQ(Live<RedTurret>(f.game).size(), 1u);
    for (Missile* missile : Live<Missile>(f.game))
        EXPECT_TRUE(missile->dormant);
    for (Flea* flea : Live<Flea>(f.game))
        EXPECT_TRUE(flea->landed);
    for (Lander* lander : Live<Lander>(f.game)) {
        EXPECT_FALSE(lander->abducting);
        EXPECT_FALSE(lander->carrying);
    }
    EXPECT_GE(f.game.entities.Size(), entities);
}
