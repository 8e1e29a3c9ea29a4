// Broken sound, music and map sources stop the generator with the file, the
// line and what is wrong, instead of writing a damaged data set.
#include "support/DataTempDir.h"
#include "support/RunGenerator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// A copy of the sources with the music cut to one short score, so each run
// reaches the maps quickly.
void CopySources(const fs::path& to)
{
    fs::copy(ZELV_DATA_SOURCE_DIR, to, fs::copy_options::recursive);
    for (const auto& entry : fs::directory_iterator(to / "music"))
        fs::remove(entry.path());
    std::ofstream(to / "music" / "short.txt") << "file short.mp3\nbars 1\ntrack bass 0.5 : A1:16\n";
}

struct Case {
    const char* file;  // below the sources, replaced or created
    const char* text;
    const char* message;
};

}  // namespace

TEST(MapSourceErrors, BrokenSourcesAreReportedWithFileAndLine)
{
    const Case cases[] = {
        {"maps/Landfall.txt", "terrain 0,0 100,0\nWobble 1 2\n", "Landfall.txt: line 2: unknown record 'Wobble'"},
        {"maps/Landfall.txt", "terrain 0,0 100,0\nSwitch 5 5 name=ABCDEFGHIJKLMNOP\n",
         "Landfall.txt: line 2: 'name' needs a name of 1 to 15 characters"},
        {"maps/Landfall.txt", "terrain 0,0 100,0 100,0\n", "line 1: repeated point '100,0'"},
        // Finite as a double, beyond a float: the beam would reach the map as infinity.
        {"maps/Landfall.txt", "terrain 0,0 1e39,0\n", "line 1: bad point '1e39,0'"},
        {"maps/Landfall.txt", "Switch 1e39 5\n", "line 1: 'Switch' needs x and y"},
        // Maps the game would refuse to load are not written.
        {"maps/Landfall.txt", "terrain 0,0 1e9,0 1e9,100\n",
         "Landfall.txt: the game would refuse this map: The beams span"},
        {"maps/Landfall.txt", "terrain -3e38,0 3e38,0\n", "Landfall.txt: the game would refuse this map: Beam record 0"},
        {"maps/Landfall.txt", "Laser 1 2 on=fast\n", "line 1: 'on' needs a number"},
        {"maps/Landfall.txt", "Mover 1 2 colour=red\n", "line 1: unknown option 'colour'"},
        {"maps/Landfall.txt", "0,0 100,0\n", "line 1: points outside a terrain line"},
        {"maps/Landfall.txt", "rough 20 30\n", "line 1: 'rough' needs an amplitude and a step"},
        // Words in the terrain: each stroke a rock of its own, so strokes that
        // cross (X) or letters too small for their outlines are refused.
        {"maps/Landfall.txt", "text 0 0 30\n", "line 1: 'text' needs x y height WORD"},
        {"maps/Landfall.txt", "text 0 0 10 A\n", "line 1: letters of height 10"},
        {"maps/Landfall.txt", "text 0 0 60 AXE\n", "line 1: the outlines of 'AXE' cross"},
        {"maps/Default.pack", "Landfall\nNowhere\n", "no map source for 'Nowhere'"},
        {"maps/Standard.pack", "Landfall\n", "a pack may not be called \"standard\""},
        {"maps/Empty.pack", "# nothing\n", "the pack lists no map"},
        {"sounds/sounds.txt", "sound A.wav 0.5\n  buzz 100 0.5\n", "sounds.txt: line 2: unknown wave 'buzz'"},
        {"sounds/sounds.txt", "  sine 100 0.5\n", "line 1: a layer before the first sound"},
        {"sounds/sounds.txt", "sound A.wav 0.5\n  sine 100 0.5 start=-1\n", "line 2: bad option 'start=-1'"},
        {"sounds/sounds.txt", "sound A.wav 0.5\n  sine 100 0.5 len=1e39\n", "line 2: bad option 'len=1e39'"},
        {"sounds/sounds.txt", "sound A.wav 0.5\n  sine 100 0.5\nsound A.wav 0.2\n  sine 200 0.5\n",
         "A.wav is listed twice"},
        {"music/short.txt", "file short.mp3\ntrack bass 0.5 : H4\n", "short.txt: line 2: bad note 'H4'"},
        {"music/short.txt", "file short.mp3\ntrack bass 0.5 : - A1\n", "line 2: '-' holds nothing"},
        {"music/short.txt", "tempo 500\n", "line 1: 'tempo' needs 40 to 240"},
        // Counts that would overflow the step arithmetic, and a volume that is no number.
        {"music/short.txt", "file short.mp3\ntrack bass 0.5 : A1:2000000000 A1:2000000000\n",
         "line 2: bad length in 'A1:2000000000'"},
        {"music/short.txt", "file short.mp3\ntrack bass 0.5 : A1:4294967297\n", "line 2: bad length in 'A1:4294967297'"},
        {"music/short.txt", "file short.mp3\ntrack bass 0.5 bars=2000000000-2000000001 : A1\n",
         "line 2: bad option 'bars=2000000000-2000000001'"},
        {"music/short.txt", "file short.mp3\ntrack bass loud : A1\n", "line 2: bad volume 'loud'"},
        {"music/short.txt", "file short.mp3\ntrack bass nan : A1\n", "line 2: bad volume 'nan'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        DataTempDir source, out;
        CopySources(source.Path() / "data");
        std::ofstream(source.Path() / "data" / c.file, std::ios::trunc) << c.text;
        std::string output;
        EXPECT_NE(RunGenerator(source.Path() / "data", out.Path(), output), 0);
        EXPECT_NE(output.find(c.message), std::string::npos) << output;
    }
}

TEST(MapSourceErrors, MissingSplashMapIsNamed)
{
    DataTempDir source, out;
    CopySources(source.Path() / "data");
    fs::remove(source.Path() / "data" / "maps" / "Splash.txt");
    std::string output;
    EXPECT_NE(RunGenerator(source.Path() / "data", out.Path(), output), 0);
    EXPECT_NE(output.find("Splash.txt is missing"), std::string::npos) << output;
}
