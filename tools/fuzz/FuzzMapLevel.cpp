// A map that Game::LoadMap accepts must also play: the input is written as a
// map, loaded, started as a level, run for two hundred ticks and drawn. A
// refused map must leave the previous one loaded. The whole world library is
// compiled into this harness, so actors, platforms and the sector grid carry
// the fuzzer's coverage and the sanitizers.
#include "FuzzScratch.h"

#include "Clock.h"
#include "DrawSink.h"
#include "Entity.h"
#include "Game.h"
#include "GameHost.h"
#include "Log.h"
#include "MapFile.h"
#include "Random.h"
#include "testing/HeadlessHost.h"
#include "TextInputMode.h"
#include "TextureLoader.h"
#include "WorldDrawState.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <sstream>

namespace {

// Draws go nowhere, but must keep the immediate-mode order: every vertex and
// End inside a Begin, no Begin inside another. (Recording the vertices cost
// more than the whole play of a small map.)
class OrderCheckingSink : public DrawSink {
public:
    void Begin(Primitive) override
    {
        FUZZ_CHECK(!open_);
        open_ = true;
    }
    void End() override
    {
        FUZZ_CHECK(open_);
        open_ = false;
    }
    void Colour(float, float, float) override {}
    void Colour(float, float, float, float) override {}
    void TexCoord(float, float) override {}
    void Vertex(float, float) override { FUZZ_CHECK(open_); }
    bool Open() const { return open_; }

private:
    bool open_ = false;
};

class NullWorldState : public WorldDrawState {
public:
    void BindTexture(unsigned int) override {}
    void SetBlend(int, int) override {}
    void Finish() override {}
    void Clear(float, float, float, float) override {}
    void FullViewport(int, int) override {}
    void Viewport(int, int, int, int) override {}
    void Setup2DView(float, float) override {}
    void PushMatrix() override {}
    void PopMatrix() override {}
    void Translate(float, float) override {}
    void Scale(float, float) override {}
    void Rotate(float) override {}
    void DisableBlend() override {}
    void DisableDepthTest() override {}
    void Present() override {}
};

// With ZELV_FUZZ_BOUND_ZONES set, maps whose zones, platforms or bricks reach
// beyond 100000 units are skipped: registering such a box in the sector grid
// is quadratic in the cells it covers, and those inputs would otherwise only
// report that slowness again and again.
bool HasHugeZone(const std::uint8_t* data, std::size_t size)
{
    static const bool bound = std::getenv("ZELV_FUZZ_BOUND_ZONES") != nullptr;
    MapFileContents contents;
    std::string reason;
    if (!bound || !DecodeMapFile(data, size, contents, reason))
        return false;
    constexpr float kLimit = 100000.0f;
    for (const ActorRecord& a : contents.actors) {
        if (std::fabs(a.halfWidth) > kLimit || std::fabs(a.halfHeight) > kLimit)
            return true;
    }
    for (const RotatorDef& r : contents.rotators) {
        if (std::fabs(r.area.radius) > kLimit)
            return true;
    }
    for (const MoverDef& m : contents.movers) {
        if (std::fabs(m.area.half.x) > kLimit || std::fabs(m.area.half.y) > kLimit)
            return true;
    }
    for (const TriggerDef& t : contents.triggers) {
        if (std::fabs(t.area.half.x) > kLimit || std::fabs(t.area.half.y) > kLimit)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static HeadlessHost host;
    static std::ostringstream console;
    static Log log("/dev/null", console);
    const std::string& root = FuzzScratchDir();
    static Game* game = [&root] {
        std::filesystem::create_directories(root + "/Data/Maps");
        auto* g = new Game(host);
        g->dataRoot = root;
        g->UpdateScreenSize();
        return g;
    }();
    if (HasHugeZone(data, size))
        return 0;
    console.str("");
    host.audio.calls.clear();
    SeedRandom(1000);

    const std::string before = game->mapName;
    const std::size_t templatesBefore = game->map.entityTemplates.size();
    FuzzWriteFile(root + "/Data/Maps/home.map", data, size);
    if (!game->LoadMap("home", log)) {
        FUZZ_CHECK(before == game->mapName && templatesBefore == game->map.entityTemplates.size());
        return 0;
    }
    game->StartLevel(log);
    OrderCheckingSink sink;
    NullWorldState state;
    for (int tick = 0; tick < 200; ++tick) {
        game->UpdatePlay();
        if (tick % 25 == 0) {
            game->DrawPlay(0.5f, sink, state);
            FUZZ_CHECK(!sink.Open());
        }
    }
    game->ClearLevel(log);
    return 0;
}
