#include "InputRecorder.h"

#include "InputScript.h"
#include "InputState.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace {

// Plays the script into an input state tick by tick, as the main loop does,
// and records what each tick's update would see.
std::string RecordReplay(const std::string& scriptText, float sensitivity = 1.0f)
{
    InputScript script;
    std::string error;
    EXPECT_TRUE(ParseInputScript(scriptText, script, error)) << error;
    InputState input;
    input.SetDefaultKeys();
    input.mouseSensitivity = sensitivity;
    InputScriptPlayer player(script);
    std::ostringstream out;
    InputRecorder recorder(out);
    while (player.FeedTick(input)) {
        recorder.RecordTick(input, script.map);
        input.AdvanceButtons();
        input.mouseMotion = {};
    }
    recorder.Finish();
    return out.str();
}

TEST(InputRecorder, WritesOneLinePerChangeInTheScriptFormat)
{
    struct Case {
        const char* script;
        const char* recorded;
    };
    const Case cases[] = {
        {"map Landfall\n200\n30 boost cw\n5 FIRE mouse=-3 SHIELD CCW\n",
         "map Landfall\n200\n30 BOOST CW\n5 FIRE SHIELD CCW mouse=-3\n"},
        // Equal neighbours merge; the map line is left out when none is named.
        {"10 BOOST\n5 BOOST\n1\n", "15 BOOST\n1\n"},
        {"1 FIRE\n1 FIRE mouse=2\n1 mouse=2\n", "1 FIRE\n1 FIRE mouse=2\n1 mouse=2\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RecordReplay(c.script), c.recorded) << c.script;
}

TEST(InputRecorder, ARecordingReplaysToTheSameControls)
{
    const std::string text = "map Caverns\n50\n3 BOOST\n7 CW FIRE\n2\n9 CCW mouse=4\n";
    const std::string once = RecordReplay(text, 2.5f);
    EXPECT_EQ(RecordReplay(once, 2.5f), once);
    EXPECT_EQ(once, "map Caverns\n50\n3 BOOST\n7 FIRE CW\n2\n9 CCW mouse=4\n");
}

TEST(InputRecorder, NothingIsWrittenBeforeTheFirstTick)
{
    std::ostringstream out;
    {
        InputRecorder recorder(out);
        EXPECT_FALSE(recorder.Started());
        recorder.Finish();
    }
    EXPECT_EQ(out.str(), "");
}

} // namespace
