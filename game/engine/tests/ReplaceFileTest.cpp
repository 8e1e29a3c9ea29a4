#include "ReplaceFile.h"

#include "support/ScratchDir.h"
#include "testing/FailingFileSteps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

const std::string kOld = "the previous file\n";
const std::string kNew = "the new contents, a little longer than the old ones\n";

TEST(ReplaceFile, ReplacesTheFileAndLeavesNoTemporary)
{
    ScratchDir dir;
    const std::string path = dir.File("Scores.dat");
    for (const std::string& bytes : {kOld, kNew, std::string()}) {
        const FileWriteResult result = WriteFileReplacing(path, bytes.data(), bytes.size());
        EXPECT_TRUE(result.ok) << result.error;
        EXPECT_TRUE(result.error.empty());
        EXPECT_EQ(ReadWholeFile(path), bytes);
        EXPECT_FALSE(fs::exists(path + ".tmp"));
    }
}

// Every way the real file system refuses: the old file stays byte for byte,
// the reason is the system's, and nothing is left beside it.
TEST(ReplaceFile, AFailureOfTheRealFileSystemKeepsTheOldFile)
{
    struct Case {
        const char* what;
        void (*arrange)(const std::string& path);
        bool temporaryLeft; // what was there before the save, not ours to remove
    };
    const Case cases[] = {
        {"the disk is full (the temporary is /dev/full)",
         [](const std::string& path) { fs::create_symlink("/dev/full", path + ".tmp"); }, false},
        {"the temporary cannot be created", [](const std::string& path) { fs::create_directory(path + ".tmp"); },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        const std::string path = dir.File("Input.dat");
        WriteWholeFile(path, kOld);
        c.arrange(path);
        const FileWriteResult result = WriteFileReplacing(path, kNew.data(), kNew.size());
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.empty());
        EXPECT_EQ(ReadWholeFile(path), kOld);
        EXPECT_EQ(fs::exists(fs::symlink_status(path + ".tmp")), c.temporaryLeft);
    }

    // No folder to write in.
    ScratchDir dir;
    const FileWriteResult result = WriteFileReplacing(dir.File("gone/Input.dat"), kNew.data(), kNew.size());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "No such file or directory");
}

TEST(ReplaceFile, AFailedStepRemovesThePartialTemporary)
{
    for (const auto step : {FailingFileSteps::Step::Write, FailingFileSteps::Step::Rename}) {
        ScratchDir dir;
        const std::string path = dir.File("Scores.dat");
        WriteWholeFile(path, kOld);
        FailingFileSteps steps;
        steps.failAt = step;
        const FileWriteResult result = WriteFileReplacing(path, kNew.data(), kNew.size(), steps);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, step == FailingFileSteps::Step::Write ? "No space left on device"
                                                                      : "Input/output error");
        EXPECT_EQ(ReadWholeFile(path), kOld);
        ASSERT_EQ(steps.written, std::vector<std::string>{path + ".tmp"});
        EXPECT_EQ(steps.removed, std::vector<std::string>{path + ".tmp"});
        EXPECT_FALSE(fs::exists(path + ".tmp"));
    }
}

} // namespace
