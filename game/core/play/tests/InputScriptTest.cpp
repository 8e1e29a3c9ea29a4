#include "InputScript.h"

#include "InputState.h"
#include "support/MapTestDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(InputScript, ReadsMapStepsWordsAndComments)
{
    InputScript script;
    std::string error;
    ASSERT_TRUE(ParseInputScript("# a landing\nmap Landfall\n\n200\n30 boost CW   # lift\r\n5 FIRE mouse=-3 SHIELD CCW\n",
                                 script, error))
        << error;
    EXPECT_EQ(script.map, "Landfall");
    ASSERT_EQ(script.steps.size(), 3u);
    EXPECT_EQ(script.steps[0].ticks, 200);
    EXPECT_FALSE(script.steps[0].boost || script.steps[0].fire);
    EXPECT_TRUE(script.steps[1].boost && script.steps[1].cw);
    EXPECT_FALSE(script.steps[1].ccw);
    const InputScriptStep& last = script.steps[2];
    EXPECT_TRUE(last.fire && last.shield && last.ccw);
    EXPECT_EQ(last.mouseDx, -3);
    ASSERT_TRUE(ParseInputScript("", script, error));
    EXPECT_TRUE(script.map.empty());
    EXPECT_TRUE(script.steps.empty());
}

TEST(InputScript, BadLinesNameTheirNumberAndReason)
{
    struct Row {
        const char* text;
        const char* error;
    };
    const Row rows[] = {
        {"10\nmap Landfall\n", "line 2: the map can only be named on the first line"},
        {"map\n", "line 1: map needs one name"},
        {"map a b\n", "line 1: map needs one name"},
        {"0 FIRE\n", "line 1: '0' is not a tick count from 1 to 10000000"},
        {"# x\n-5\n", "line 2: '-5' is not a tick count from 1 to 10000000"},
        {"FIRE\n", "line 1: 'FIRE' is not a tick count from 1 to 10000000"},
        {"1x\n", "line 1: '1x' is not a tick count from 1 to 10000000"},
        {"99999999999\n", "line 1: '99999999999' is not a tick count from 1 to 10000000"},
        {"5 JUMP\n", "line 1: unknown word 'JUMP'"},
        {"5 FIRE fire\n", "line 1: fire given twice"},
        {"5 mouse=\n", "line 1: mouse needs a whole number from -10000 to 10000"},
        {"5 mouse=2.5\n", "line 1: mouse needs a whole number from -10000 to 10000"},
        {"5 mouse=1 mouse=2\n", "line 1: mouse given twice"},
        {"9000000\n9000000\n", "line 2: the script runs longer than 10000000 ticks"},
        {"map 1234567890123456789012345678901234567890123456789012345678901234\n",
         "line 1: the map name is longer than 63 characters"},
    };
    for (const Row& row : rows) {
        InputScript script;
        std::string error;
        EXPECT_FALSE(ParseInputScript(row.text, script, error)) << row.text;
        EXPECT_EQ(error, row.error) << row.text;
    }
    InputScript script;
    std::string error;
    EXPECT_FALSE(ParseInputScript(std::string("5 FI\0RE\n", 8), script, error));
    EXPECT_EQ(error, "line 1: a zero byte");
}

TEST(InputScript, FilesThatCannotBeScriptsAreRefusedByName)
{
    MapTestDir dir;
    InputScript script;
    std::string error;
    const std::string missing = dir.Path("none.txt").string();
    EXPECT_FALSE(ReadInputScript(missing, script, error));
    EXPECT_EQ(error, "Input script " + missing + " line 0: not a readable file");
    EXPECT_FALSE(ReadInputScript(dir.Root(), script, error)); // a folder
    EXPECT_EQ(error, "Input script " + dir.Root() + " line 0: not a readable file");

    dir.WriteBytes("big.txt", std::vector<std::uint8_t>(kInputScriptMaxBytes + 1, '#'));
    EXPECT_FALSE(ReadInputScript(dir.Path("big.txt").string(), script, error));
    EXPECT_NE(error.find("line 0: the file is larger than"), std::string::npos);

    const std::string text = "map Landfall\n3 BOOST\nnope\n";
    dir.WriteBytes("bad.txt", std::vector<std::uint8_t>(text.begin(), text.end()));
    const std::string bad = dir.Path("bad.txt").string();
    EXPECT_FALSE(ReadInputScript(bad, script, error));
    EXPECT_EQ(error, "Input script " + bad + " line 3: 'nope' is not a tick count from 1 to 10000000");
}

TEST(InputScript, ThePlayerPressesHoldsAndReleasesAsTheStepsChange)
{
    InputScript script;
    std::string error;
    ASSERT_TRUE(ParseInputScript("2 FIRE\n1 FIRE BOOST mouse=4\n1\n", script, error));
    InputState input;
    input.SetDefaultKeys();
    InputScriptPlayer player(std::move(script));
    std::vector<std::string> seen;
    for (int tick = 0; tick < 6; ++tick) {
        const bool running = player.FeedTick(input);
        std::string line = running ? "run" : "end";
        line += " F" + std::to_string(input.Button(ButtonFire).key.state);
        line += " B" + std::to_string(input.Button(ButtonBoost).key.state);
        line += " m" + std::to_string(static_cast<int>(input.mouseMotion.x));
        seen.push_back(line);
        input.AdvanceButtons();
        input.mouseMotion = {};
    }
    // 0 pressed, 1 held, 2 up, 3 released.
    const std::vector<std::string> expected = {"run F0 B2 m0", "run F1 B2 m0", "run F1 B0 m4",
                                               "run F3 B3 m0", "end F2 B2 m0", "end F2 B2 m0"};
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(player.Finished());
}

} // namespace
