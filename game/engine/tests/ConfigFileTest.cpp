#include "ConfigFile.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>

using namespace std::string_literals;

namespace {

class ConfigFileTest : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string path = dir.File("Test.dat");
};

TEST_F(ConfigFileTest, MissingFileIsCreatedWithEveryKeyInBindOrder)
{
    ConfigFile config;
    int count = 42;
    float sensi = 1.0f;
    float small = 0.1f;
    float big = 1234567.0f;
    std::string name = "ACE  PILOT";

    config.WriteLine(path, "Group Line");
    config.BindInt(path, "Count", count);
    config.BindFloat(path, "Sensi", sensi);
    config.BindFloat(path, "Small", small);
    config.BindFloat(path, "Big", big);
    config.BindString(path, "Name", name);

    EXPECT_EQ(ReadWholeFile(path), "Group Line\n"
                                   "Count\t= 42\n"
                                   "Sensi\t= 1\n"
                                   "Small\t= 0.1\n"
                                   "Big\t= 1.23457e+06\n"
                                   "Name\t= ACE  PILOT\n");
    // Writing leaves the variables alone.
    EXPECT_EQ(count, 42);
    EXPECT_EQ(name, "ACE  PILOT");
    ASSERT_EQ(config.CreatedFiles().size(), 1u);
    EXPECT_EQ(config.CreatedFiles()[0], path);
}

TEST_F(ConfigFileTest, ExistingFileIsReadAndNeverWritten)
{
    WriteWholeFile(path, "Group\nCount\t= 7\n");
    ConfigFile config;
    int count = 1;
    int absent = 5;
    EXPECT_FALSE(config.ShouldWrite(path));
    config.WriteLine(path, "Group");
    config.BindInt(path, "Count", count);
    config.BindInt(path, "Absent", absent);
    EXPECT_EQ(count, 7);
    EXPECT_EQ(absent, 5);
    EXPECT_EQ(ReadWholeFile(path), "Group\nCount\t= 7\n");
    EXPECT_TRUE(config.CreatedFiles().empty());
}

// A path holding no config-sized file is neither read (a sparse file of a
// terabyte without line ends would be read whole as one line) nor replaced
// (it might be the player's own): every key keeps its default, and one log
// line per file says why.
TEST_F(ConfigFileTest, NonFilesAndOversizedFilesKeepEveryDefaultAndStayUntouched)
{
    const struct {
        const char* what;
        std::function<void(const std::string&)> make;
        const char* reasonPart;
    } cases[] = {
        {"directory", [](const std::string& p) { std::filesystem::create_directory(p); }, "is a directory"},
        {"pipe", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); }, "not a regular file"},
        {"terabyte without line ends",
         [](const std::string& p) {
             WriteWholeFile(p, "Group\nCount\t= 7\n");
             std::filesystem::resize_file(p, std::uintmax_t{1} << 40);
         },
         "holds 1099511627776 bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir place;
        const std::string at = place.File("Input.dat");
        c.make(at);
        std::ostringstream console;
        Log log(place.File("Logfile.txt"), console);
        log.SetEnabled(true);
        console.str("");
        ConfigFile config(log);
        int count = 1;
        float sensi = 2.0f;
        std::string name = "x";
        EXPECT_FALSE(config.ShouldWrite(at));
        config.WriteLine(at, "Group");
        config.BindInt(at, "Count", count);
        config.BindFloat(at, "Sensi", sensi);
        config.BindString(at, "Name", name);
        EXPECT_EQ(count, 1);
        EXPECT_EQ(sensi, 2.0f);
        EXPECT_EQ(name, "");
        const std::string logged = console.str();
        EXPECT_EQ(logged.rfind("Refused " + at + ": ", 0), 0u) << logged;
        EXPECT_NE(logged.find(c.reasonPart), std::string::npos) << logged;
        EXPECT_EQ(std::count(logged.begin(), logged.end(), '\n'), 1) << logged;
        EXPECT_TRUE(config.CreatedFiles().empty());
    }
}

TEST_F(ConfigFileTest, FileCreatedInThisRunIsAppendedAgainOnTheNextLoad)
{
    ConfigFile config;
    int count = 3;
    config.WriteLine(path, "Group");
    config.BindInt(path, "Count", count);
    count = 4;
    config.WriteLine(path, "Group");
    config.BindInt(path, "Count", count);
    EXPECT_EQ(ReadWholeFile(path), "Group\nCount\t= 3\nGroup\nCount\t= 4\n");
    EXPECT_EQ(config.CreatedFiles().size(), 1u);

    // The next run reads the first block.
    ConfigFile nextRun;
    int read = 0;
    nextRun.BindInt(path, "Count", read);
    EXPECT_EQ(read, 3);
}

struct NumberCase {
    std::string file;
    float expected;
};

TEST_F(ConfigFileTest, FloatLinesAreSplitAtWhiteSpace)
{
    const NumberCase cases[] = {
        {"Sensi\t= 2.5\n", 2.5f},
        {"Sensi = 2.5\n", 2.5f},            // the separator word is not examined
        {"Sensi\t~ 2.5\n", 2.5f},
        {"Sensi\t=2.5\n", 9.0f},            // value glued to '=': no third word
        {"sensi\t= 2.5\n", 9.0f},           // keys are case-sensitive
        {"Sensi\t= 2.5\nSensi\t= 3\n", 2.5f}, // the first match wins
        {"Sensi\t= abc\nSensi\t= 3\n", 9.0f}, // ... even when it does not parse
        {"Sensi\t= 2.5\r\n", 2.5f},         // CRLF line ends
        {"G\r\n\r\n  \t \r\nSensi\t= 0.25\r\n", 0.25f},
        {"Sensi\n", 9.0f},
        {"Sensi\t=\n", 9.0f},
        {"Sensitivity\t= 4\n", 9.0f},
        {"Sensi\t= 1e999\n", 9.0f},         // out of range keeps the default
        {"", 9.0f},
        {"\x01\xff\xfe garbage \x7f\n\0\0\0\nSensi\t= 0.5\n"s, 0.5f},
    };
    for (const NumberCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.file));
        WriteWholeFile(path, c.file);
        ConfigFile config;
        float value = 9.0f;
        config.BindFloat(path, "Sensi", value);
        EXPECT_FLOAT_EQ(value, c.expected);
    }
}

TEST_F(ConfigFileTest, IntThatDoesNotParseKeepsItsValue)
{
    const struct {
        const char* value;
        int expected;
    } cases[] = {
        {"12", 12},
        {"-7\r", -7},
        {"2147483647", 2147483647},
        {"99999999999", 55}, // overflow
        {"-99999999999", 55},
        {"x12", 55},
        {"", 55},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        WriteWholeFile(path, std::string("Group\nFIRE_PRIME\t= ") + c.value + "\n");
        ConfigFile config;
        int value = 55;
        config.BindInt(path, "FIRE_PRIME", value);
        EXPECT_EQ(value, c.expected);
    }
}

TEST_F(ConfigFileTest, StringValuesAreJoinedWords)
{
    const std::string longValue(300, 'Q');
    const struct {
        std::string file;
        std::string expected;
    } cases[] = {
        {"Name\t= BOB\n", "BOB"},
        {"Name\t= A    B \t C   \n", "A B C"},
        {"Name\t= BOB\r\n", "BOB"},
        {"Name\t=\n", "emptyvar"},
        {"Name\n", "emptyvar"},
        {"Other\t= X\n", ""},
        {"Name\t= " + longValue + " " + longValue + "\n", longValue + " " + longValue},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file.substr(0, 40));
        WriteWholeFile(path, c.file);
        ConfigFile config;
        std::string value = "previous";
        config.BindString(path, "Name", value);
        EXPECT_EQ(value, c.expected);
    }
}

TEST_F(ConfigFileTest, UnwritableFileIsSilentlySkipped)
{
    ConfigFile config;
    const std::string nowhere = dir.File("no-such-dir/Test.dat");
    int value = 3;
    config.WriteLine(nowhere, "Group");
    config.BindInt(nowhere, "Key", value);
    EXPECT_EQ(value, 3);
    EXPECT_FALSE(std::filesystem::exists(nowhere));
}

} // namespace
