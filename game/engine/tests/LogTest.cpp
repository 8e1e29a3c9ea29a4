#include "Log.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <sstream>

namespace {

const std::string kHeaderPattern = R"(Logfile created on [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4}\n)";

struct LogFixture : ::testing::Test {
    ScratchDir dir;
    std::ostringstream console;
    std::string path = dir.File("Logfile.txt");
    Log log{path, console};
};

TEST_F(LogFixture, FirstWriteStartsFileWithBuildDateHeaderThenMessagesRunTogether)
{
    log.SetEnabled(true);
    log.Write("one");
    log.Write("two\n");

    const std::string file = ReadWholeFile(path);
    EXPECT_TRUE(std::regex_match(file, std::regex(kHeaderPattern + ">>Logging Enabled<<\nonetwo\n")))
        << file;
    EXPECT_EQ(file.substr(19, 11), Log::BuildDate());
    // The console gets the messages only, never the header.
    EXPECT_EQ(console.str(), ">>Logging Enabled<<\nonetwo\n");
    EXPECT_EQ(log.WriteCount(), 3);
}

TEST_F(LogFixture, PercentSignsAreDataNotFormat)
{
    log.SetEnabled(true);
    const std::string message = "100% done %s %d %n %%\n";
    log.Write(message);
    EXPECT_EQ(console.str(), ">>Logging Enabled<<\n" + message);
    const std::string file = ReadWholeFile(path);
    EXPECT_EQ(file.substr(file.size() - message.size()), message);
}

TEST_F(LogFixture, DisabledLogWritesNothingAndToggleLinesFrameTheSession)
{
    log.Write("before\n");
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(console.str(), "");
    EXPECT_EQ(log.WriteCount(), 0);

    log.SetEnabled(true);
    log.SetEnabled(true); // already on: nothing
    log.Write("a\n");
    log.SetEnabled(false);
    log.Write("hidden\n");
    log.SetEnabled(false); // already off: nothing
    log.SetEnabled(true);  // again on: line, but no second header

    const std::string expected = ">>Logging Enabled<<\na\n>>Logging Disabled<<\n>>Logging Enabled<<\n";
    EXPECT_EQ(console.str(), expected);
    EXPECT_TRUE(std::regex_match(ReadWholeFile(path), std::regex(kHeaderPattern + expected)));
}

TEST_F(LogFixture, NewRunReplacesOldFile)
{
    WriteWholeFile(path, std::string(100000, 'x'));
    log.SetEnabled(true);
    EXPECT_TRUE(std::regex_match(ReadWholeFile(path), std::regex(kHeaderPattern + ">>Logging Enabled<<\n")));
}

TEST(LogTest, FailedFirstOpenStillReachesConsoleAndLaterFileHasNoHeader)
{
    ScratchDir dir;
    std::ostringstream console;
    const auto missingDir = dir.Path() / "later";
    const std::string path = (missingDir / "Logfile.txt").string();
    Log log(path, console);

    log.SetEnabled(true); // file cannot be created yet
    EXPECT_EQ(console.str(), ">>Logging Enabled<<\n");
    EXPECT_FALSE(std::filesystem::exists(path));

    std::filesystem::create_directory(missingDir);
    log.Write("second\n");
    EXPECT_EQ(ReadWholeFile(path), "second\n");
    EXPECT_EQ(log.WriteCount(), 2);
}

// A log file that cannot be written is said once on the error stream, with
// the file's name and the cause; the messages still reach the console.
TEST(LogTest, UnwritableFileIsReportedOnceOnTheErrorStream)
{
    ScratchDir dir;
    std::ostringstream console, errors;
    const std::string path = (dir.Path() / "missing" / "Logfile.txt").string();
    Log log(path, console, &errors);
    log.SetEnabled(true);
    log.Write("one\n");
    log.Write("two\n");
    EXPECT_EQ(console.str(), ">>Logging Enabled<<\none\ntwo\n");
    EXPECT_EQ(errors.str(), "Cannot write the log file \"" + path + "\": No such file or directory\n");
}

// A failure's reason goes to the file and to the error stream (not twice to
// a terminal), even while the log is switched off.
TEST(LogTest, ErrorsReachFileAndErrorStreamEvenWhenDisabled)
{
    ScratchDir dir;
    std::ostringstream console, errors;
    const std::string path = dir.File("Logfile.txt");
    Log log(path, console, &errors);
    log.WriteError("No maps in pack 'x'\n");
    EXPECT_EQ(errors.str(), "No maps in pack 'x'\n");
    EXPECT_EQ(console.str(), "");
    const std::string file = ReadWholeFile(path);
    EXPECT_EQ(file.rfind("Logfile created on ", 0), 0u);
    EXPECT_EQ(file.substr(file.find('\n') + 1), "No maps in pack 'x'\n");

    // Without an error stream the console carries it.
    std::ostringstream only;
    Log plain(dir.File("Other.txt"), only);
    plain.WriteError("reason\n");
    EXPECT_EQ(only.str(), "reason\n");
}

TEST_F(LogFixture, LongMessagesAreNeverCut)
{
    log.SetEnabled(true);
    const std::string longPath = "C:/" + std::string(600, 'p') + "/file.obj";
    log.Writef("Failed to load %s: %s (%d)\n", longPath.c_str(), std::string(300, 'e').c_str(), 42);
    const std::string expected = "Failed to load " + longPath + ": " + std::string(300, 'e') + " (42)\n";
    EXPECT_GT(expected.size(), 256u);
    EXPECT_EQ(console.str(), ">>Logging Enabled<<\n" + expected);
    const std::string file = ReadWholeFile(path);
    EXPECT_EQ(file.substr(file.size() - expected.size()), expected);

    const std::string big(100000, 'z');
    log.Write(big);
    EXPECT_EQ(console.str().size(), (">>Logging Enabled<<\n" + expected + big).size());
}

TEST(LogFormatTest, FormatsAnyLength)
{
    struct Case {
        std::string got, expected;
    };
    const Case cases[] = {
        {LogFormat("Resolution Selected: %ix%i\n", 854, 480), "Resolution Selected: 854x480\n"},
        {LogFormat("%s", std::string(5000, 'q').c_str()), std::string(5000, 'q')},
        {LogFormat("%%"), "%"},
        {LogFormat("%s", ""), ""},
        {LogFormat(nullptr), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.expected);
}

TEST(LogTest, WritefWhileDisabledWritesNothing)
{
    ScratchDir dir;
    std::ostringstream console;
    Log log(dir.File("Logfile.txt"), console);
    log.Writef("%d\n", 7);
    EXPECT_EQ(console.str(), "");
    EXPECT_EQ(log.WriteCount(), 0);
}

TEST(LogTest, GlobalInstanceWritesLogfileInWorkingDirectory)
{
    Log& log = Log::Instance();
    EXPECT_EQ(&log, &Log::Instance());
    EXPECT_EQ(log.FilePath(), "Logfile.txt");
    EXPECT_FALSE(log.IsEnabled());
}

} // namespace
