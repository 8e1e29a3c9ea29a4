#include "ConfigFile.h"
#include "InputState.h"
#include "KeyConfig.h"
#include "KeyNames.h"
#include "Log.h"

#include "support/ScratchDir.h"
#include "testing/FailingFileSteps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

namespace {

// The exact bytes of a fresh "Input.dat".
const char* const kDefaultInputDat = "Input Configuration\n"
                                     "Sensi\t= 1\n"
                                     "BOOST_PRIME\t= 3\n"
                                     "BOOST_ALT\t= 273\n"
                                     "FIRE_PRIME\t= 1\n"
                                     "FIRE_ALT\t= 122\n"
                                     "SHIELD_PRIME\t= 2\n"
                                     "SHIELD_ALT\t= 120\n"
                                     "CW_PRIME\t= 276\n"
                                     "CW_ALT\t= 323\n"
                                     "CCW_PRIME\t= 275\n"
                                     "CCW_ALT\t= 324\n"
                                     "PAUSE_PRIME\t= 112\n"
                                     "PAUSE_ALT\t= 19\n";

class KeyConfigTest : public ::testing::Test {
protected:
    KeyConfigTest() { log.SetEnabled(true); }

    std::string LogText() const { return console.str(); }

    ScratchDir dir;
    std::string path = dir.File("Input.dat");
    std::ostringstream console;
    Log log{dir.File("Logfile.txt"), console};
    ConfigFile config;
    InputState input;
};

TEST_F(KeyConfigTest, MissingFileIsCreatedWithTheDefaults)
{
    LoadKeyConfig(input, config, log, path);
    EXPECT_EQ(ReadWholeFile(path), kDefaultInputDat);
    EXPECT_EQ(LogText(), ">>Logging Enabled<<\nLoading Key config...Done\n");
    EXPECT_EQ(input.Button(ButtonFire).primary, 1);
    EXPECT_EQ(input.Button(ButtonMenuClick).primary, 1);
    EXPECT_EQ(input.Button(ButtonMenuClick).alternative, 1);
    EXPECT_EQ(input.joystickThreshold, 100);
}

TEST_F(KeyConfigTest, ExistingFileOverridesOnlyTheKeysItHolds)
{
    WriteWholeFile(path, "Input Configuration\r\n"
                         "Sensi\t= 1.7\r\n"
                         "FIRE_ALT\t= 32\r\n"
                         "CW_PRIME\t= 99999\r\n"      // no such key: kept, named ""
                         "CCW_PRIME\t= -5\r\n"
                         "SHIELD_ALT\t= banana\r\n"   // not a number: default stays
                         "BOOST_PRIME\t= 99999999999999\r\n"
                         "UNKNOWN_KEY\t= 4\r\n"
                         "PAUSE_ALT\t= " + std::string(300, '7') + "\r\n"
                         "\x01\x02\xff\r\n");
    input.bindingCapture.waiting = 1;
    LoadKeyConfig(input, config, log, path);

    EXPECT_FLOAT_EQ(input.mouseSensitivity, 1.7f);
    EXPECT_EQ(input.Button(ButtonFire).alternative, 32);
    EXPECT_EQ(input.Button(ButtonCw).primary, 99999);
    EXPECT_STREQ(KeyName(input.Button(ButtonCw).primary), "");
    EXPECT_EQ(input.Button(ButtonCcw).primary, -5);
    EXPECT_STREQ(KeyName(input.Button(ButtonCcw).primary), "");
    EXPECT_EQ(input.Button(ButtonShield).alternative, KeyCodes::KeyX);
    EXPECT_EQ(input.Button(ButtonBoost).primary, KeyCodes::MouseRight);
    EXPECT_EQ(input.Button(ButtonPause).alternative, KeyCodes::Pause);
    EXPECT_EQ(input.Button(ButtonFire).primary, KeyCodes::MouseLeft); // absent: default
    EXPECT_EQ(input.bindingCapture.waiting, 0);
    // An existing file is never added to.
    EXPECT_EQ(ReadWholeFile(path).find("FIRE_PRIME"), std::string::npos);
}

TEST_F(KeyConfigTest, SaveThenLoadRoundTrips)
{
    LoadKeyConfig(input, config, log, path);
    input.mouseSensitivity = 0.3f;
    input.Button(ButtonFire).primary = 4;
    input.Button(ButtonCcw).alternative = 346;
    input.Button(ButtonPause).primary = 27;
    SaveKeyConfig(input, config, log, path);

    const std::string saved = ReadWholeFile(path);
    EXPECT_EQ(saved.find("Input Configuration\nSensi\t= 0.3\n"), 0u);
    EXPECT_NE(saved.find("FIRE_PRIME\t= 4\n"), std::string::npos);
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 14);
    EXPECT_NE(LogText().find("Saving Key config...Done\n"), std::string::npos);

    // The next run reads every value back.
    ConfigFile nextRun;
    InputState loaded;
    LoadKeyConfig(loaded, nextRun, log, path);
    EXPECT_FLOAT_EQ(loaded.mouseSensitivity, 0.3f);
    for (int i = ButtonFire; i < ButtonCount; ++i) {
        if (i == ButtonEscape)
            continue;
        EXPECT_EQ(loaded.buttons[i].primary, input.buttons[i].primary) << "button " << i;
        EXPECT_EQ(loaded.buttons[i].alternative, input.buttons[i].alternative) << "button " << i;
    }
    EXPECT_EQ(ReadWholeFile(path), saved);
}

TEST_F(KeyConfigTest, ResetToDefaultsAndSaveGivesTheDefaultFile)
{
    WriteWholeFile(path, "Input Configuration\nFIRE_PRIME\t= 5\n");
    LoadKeyConfig(input, config, log, path);
    EXPECT_EQ(input.Button(ButtonFire).primary, 5);
    input.SetDefaultKeys();
    SaveKeyConfig(input, config, log, path);
    EXPECT_EQ(ReadWholeFile(path), kDefaultInputDat);
}

// A save on a full disk (or one whose rename fails) keeps the keys the file
// held, says so on the save's log line, and the next start reads them.
TEST_F(KeyConfigTest, AFailedSaveKeepsThePreviousFile)
{
    for (const auto step : {FailingFileSteps::Step::Write, FailingFileSteps::Step::Rename}) {
        WriteWholeFile(path, kDefaultInputDat);
        console.str("");
        FailingFileSteps fullDisk;
        fullDisk.failAt = step;
        ConfigFile run(log, fullDisk);
        LoadKeyConfig(input, run, log, path);
        input.Button(ButtonFire).primary = 4;
        SaveKeyConfig(input, run, log, path);

        EXPECT_EQ(ReadWholeFile(path), kDefaultInputDat);
        EXPECT_TRUE(TemporariesBeside(path).empty());
        const std::string reason =
            step == FailingFileSteps::Step::Write ? "No space left on device" : "Input/output error";
        EXPECT_EQ(LogText(), "Loading Key config...Done\nSaving Key config...failed: " + path + " not written (" +
                                 reason + "), the previous keys are kept\n");
        EXPECT_EQ(input.Button(ButtonFire).primary, 4); // play goes on with the keys chosen

        ConfigFile nextRun;
        InputState loaded;
        LoadKeyConfig(loaded, nextRun, log, path);
        EXPECT_EQ(loaded.Button(ButtonFire).primary, KeyCodes::MouseLeft);
    }
}

} // namespace
