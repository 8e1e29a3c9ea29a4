#include "DataFile.h"

#include "Log.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr std::int64_t kCap = 100;
constexpr std::uintmax_t kTerabyte = std::uintmax_t{1} << 40;

struct Case {
    const char* what;
    std::function<void(const ScratchDir&, const std::string& path)> make;
    DataFileState expected;
    const char* reasonPart;       // for a refusal
    std::size_t nameLength = 0;   // a file name of this many characters instead of "data.bin"
};

void WriteBytes(const std::string& path, std::size_t count) { WriteWholeFile(path, std::string(count, 'x')); }

const Case kCases[] = {
    {"nothing there", [](const ScratchDir&, const std::string&) {}, DataFileState::Missing, ""},
    {"empty file", [](const ScratchDir&, const std::string& p) { WriteBytes(p, 0); }, DataFileState::Readable, ""},
    {"file at the cap", [](const ScratchDir&, const std::string& p) { WriteBytes(p, kCap); },
     DataFileState::Readable, ""},
    {"file one byte over the cap", [](const ScratchDir&, const std::string& p) { WriteBytes(p, kCap + 1); },
     DataFileState::Refused, "101 bytes"},
    {"sparse file of a terabyte",
     [](const ScratchDir&, const std::string& p) {
         WriteBytes(p, 0);
         fs::resize_file(p, kTerabyte);
     },
     DataFileState::Refused, "1099511627776 bytes"},
    {"directory", [](const ScratchDir&, const std::string& p) { fs::create_directory(p); },
     DataFileState::Refused, "is a directory"},
    {"named pipe", [](const ScratchDir&, const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
     DataFileState::Refused, "not a regular file"},
    {"link to a file",
     [](const ScratchDir& dir, const std::string& p) {
         WriteBytes(dir.File("target"), 10);
         fs::create_symlink(dir.File("target"), p);
     },
     DataFileState::Readable, ""},
    {"link to a directory",
     [](const ScratchDir& dir, const std::string& p) {
         fs::create_directory(dir.File("folder"));
         fs::create_symlink(dir.File("folder"), p);
     },
     DataFileState::Refused, "is a directory"},
    {"link to a device", [](const ScratchDir&, const std::string& p) { fs::create_symlink("/dev/zero", p); },
     DataFileState::Refused, "not a regular file"},
    {"name too long for the system", [](const ScratchDir&, const std::string&) {}, DataFileState::Missing, "", 300},
    {"dangling link",
     [](const ScratchDir& dir, const std::string& p) { fs::create_symlink(dir.File("gone"), p); },
     DataFileState::Missing, ""},
};

TEST(DataFile, EachKindOfPathGetsItsVerdictAndOnlyRefusalsAreLogged)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        const std::string path = dir.File(c.nameLength > 0 ? std::string(c.nameLength, 'n') : "data.bin");
        c.make(dir, path);

        const DataFileVerdict verdict = InspectDataFile(path, kCap);
        EXPECT_EQ(verdict.state, c.expected);
        if (c.expected == DataFileState::Refused)
            EXPECT_NE(verdict.reason.find(c.reasonPart), std::string::npos) << verdict.reason;
        else
            EXPECT_TRUE(verdict.reason.empty());

        std::ostringstream console;
        Log log(dir.File("Logfile.txt"), console);
        log.SetEnabled(true);
        console.str("");
        EXPECT_EQ(CheckDataFile(path, kCap, log), c.expected);
        const std::string logged = console.str();
        if (c.expected == DataFileState::Refused)
            EXPECT_EQ(logged, "Refused " + path + ": " + verdict.reason + "\n");
        else
            EXPECT_EQ(logged, "");
    }
}

TEST(DataFile, ReadableFileReportsItsSize)
{
    ScratchDir dir;
    const std::string path = dir.File("data.bin");
    WriteBytes(path, 42);
    EXPECT_EQ(InspectDataFile(path, kCap).size, 42);
}

TEST(DataFile, EmptyPathIsMissingAndNegativeCapRefusesEveryFile)
{
    EXPECT_EQ(InspectDataFile("", kCap).state, DataFileState::Missing);
    ScratchDir dir;
    const std::string path = dir.File("data.bin");
    WriteBytes(path, 0);
    EXPECT_EQ(InspectDataFile(path, -1).state, DataFileState::Refused);
}

} // namespace
