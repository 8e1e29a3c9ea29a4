// The start sequence and the main loop on a real window (skipped without an
// X display): each run happens in a child process working in its own copy of
// the demo data, since the game reads and writes relative to the working
// directory and SDL keeps process-wide state.
#include "Game.h"
#include "GlTextureLoader.h"
#include "Md5.h"
#include "Player.h"
#include "ScriptedHost.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <functional>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// The scripted host with real textures, for a start on a real window.
class WindowHost : public ScriptedHost {
public:
    TextureLoader& Textures() override { return glTextures; }
    GlTextureLoader glTextures;
};

// Runs body in a child working in a fresh copy of the demo data (prepared by
// prepare), and returns what the child reported.
std::string InChild(const std::string& name, const std::function<void(const fs::path&)>& prepare,
                    const std::function<std::string()>& body)
{
    const fs::path folder = fs::temp_directory_path() / ("zelv-start-" + std::to_string(getpid()) + "-" + name);
    fs::remove_all(folder);
    fs::copy(ZELV_DEMO_DATA_DIR, folder, fs::copy_options::recursive);
    prepare(folder);
    int fds[2];
    if (pipe(fds) != 0)
        return "pipe failed";
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        std::string report = "chdir failed";
        if (chdir(folder.c_str()) == 0) {
            setenv("SDL_AUDIODRIVER", "dummy", 1);
            report = body();
        }
        const ssize_t written = write(fds[1], report.data(), report.size());
        (void)written;
        close(fds[1]);
        _exit(0); // no leak check in the child: the parent's run is the one under test
    }
    close(fds[1]);
    std::string report;
    char buffer[512];
    ssize_t got = 0;
    while ((got = read(fds[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, static_cast<std::size_t>(got));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    fs::remove_all(folder);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        report += " [child ended abnormally]";
    return report;
}

bool HaveDisplay()
{
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

// Starts a game at 854 x 480, runs frames of 20 ms on the scripted clock and
// describes the state it reached.
std::string StartAndRun(int frames)
{
    WindowHost host;
    std::ostringstream out;
    {
        Game game(host);
        StartupSettings settings;
        settings.width = 854;
        settings.height = 480;
        const bool started = game.Start(settings);
        out << "started=" << started;
        if (started) {
            out << " view=" << game.viewWidth << "x" << game.viewHeight << " screen=" << game.screenSize.x
                << "x" << game.screenSize.y << " mode=" << static_cast<int>(game.mode)
                << " title=" << (game.currentUpdate == &Game::UpdateTitle) << " map=" << game.mapName
                << " zoom=" << game.player->zoom << " grab=" << host.grabbed;
            game.frameTimer.Start();
            for (int i = 0; i < frames; ++i) {
                host.clock.now += 20;
                game.RunFrame();
            }
            double starSum = 0.0;
            for (const auto& layer : game.starLayers)
                for (const Star& star : layer)
                    starSum += star.x * 3.0 + star.y * 7.0 + star.t;
            out << " ticks=" << game.tickCount << " swaps=" << host.swaps << " stars=" << starSum
                << " entities=" << game.entities.Size() << " stamp=" << (game.frameStamp > 0);
        }
    }
    return out.str();
}

} // namespace

TEST(GameStart, StartsTheTitleOnTheSplashLevelAndRunsTicksAndFramesAlike)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no X display (DISPLAY is not set)";
    const auto nothing = [](const fs::path&) {};
    const std::string first = InChild("a", nothing, [] { return StartAndRun(50); });
    EXPECT_NE(first.find("started=1 view=854x480 screen=854x480 mode=1 title=1 map=Splash zoom=1 grab=0"),
              std::string::npos)
        << first;
    EXPECT_NE(first.find("ticks=50 swaps=51"), std::string::npos) << first; // one swap shows the black window
    EXPECT_NE(first.find("stamp=1"), std::string::npos) << first;
    // Seeded with 1000 and driven by the scripted clock, a second run
    // reaches the same state.
    const std::string second = InChild("b", nothing, [] { return StartAndRun(50); });
    EXPECT_EQ(first, second);
}

// Every start that ends early says why in the log.
TEST(GameStart, AMissingFontOrAnUnusablePackEndsTheStartWithItsReason)
{
    if (!HaveDisplay())
        GTEST_SKIP() << "no X display (DISPLAY is not set)";
    const auto run = [] {
        std::string report = StartAndRun(0) + "\n";
        std::ifstream in("Logfile.txt");
        return report + std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    const auto removeLists = [](const fs::path& f) {
        for (const auto& entry : fs::directory_iterator(f / "Data" / "Maps"))
            if (entry.path().extension() == ".rota")
                fs::remove(entry.path());
    };
    const auto writeText = [](const fs::path& path, const std::string& text) { std::ofstream(path) << text; };
    const struct {
        const char* name;
        std::function<void(const fs::path&)> prepare;
        const char* reason;
    } cases[] = {
        {"font", [](const fs::path& f) { fs::remove(f / "Fonts2.psd"); },
         "The font Fonts2.psd could not be loaded"},
        {"nopack", removeLists, "No usable map pack in Data/Maps"},
        {"emptylist",
         [&](const fs::path& f) {
             writeText(f / "Data/Maps/Default.rota", "");
             writeText(f / "Data/Maps/Default.rotb", Md5Hex(std::string()) + "\n");
         },
         "No maps in pack 'Default'"},
        {"standard",
         [&](const fs::path& f) {
             writeText(f / "Data/Maps/standard.rota", "Landfall\n");
             writeText(f / "Data/Maps/standard.rotb", Md5Hex(std::string("Landfall\n")) + "\n");
         },
         "Pack 'standard' failed its check"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string report = InChild(c.name, c.prepare, run);
        EXPECT_EQ(report.rfind("started=0\n", 0), 0u) << report;
        EXPECT_NE(report.find(std::string("\n") + c.reason + "\n"), std::string::npos) << report;
    }
}
