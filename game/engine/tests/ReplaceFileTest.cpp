#include "ReplaceFile.h"

#include "support/ScratchDir.h"
#include "testing/FailingFileSteps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string kOld = "the previous file\n";
const std::string kNew = "the new contents, a little longer than the old ones\n";

// The names in the folder, sorted.
std::vector<std::string> Entries(const ScratchDir& dir)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(dir.Path()))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

unsigned ModeOf(const std::string& path)
{
    struct stat s {};
    EXPECT_EQ(lstat(path.c_str(), &s), 0) << path;
    return static_cast<unsigned>(s.st_mode & 07777);
}

TEST(ReplaceFile, ReplacesTheFileAndLeavesNoTemporary)
{
    ScratchDir dir;
    const std::string path = dir.File("Scores.dat");
    for (const std::string& bytes : {kOld, kNew, std::string()}) {
        const FileWriteResult result = WriteFileReplacing(path, bytes.data(), bytes.size());
        EXPECT_TRUE(result.ok) << result.error;
        EXPECT_TRUE(result.error.empty());
        EXPECT_EQ(ReadWholeFile(path), bytes);
        EXPECT_EQ(Entries(dir), std::vector<std::string>{"Scores.dat"});
    }
}

// The probe that found a save writing through a link: a link at the name a
// save once used for its temporary, pointing at another file of the user's.
// The save neither writes through it nor turns the file into it.
TEST(ReplaceFile, ALinkWhereTheTemporaryUsedToBeIsNeverFollowed)
{
    ScratchDir dir;
    const std::string path = dir.File("Scores.dat");
    const std::string other = dir.File("other.txt");
    WriteWholeFile(path, kOld);
    WriteWholeFile(other, "someone else's file\n");
    fs::create_symlink(other, path + ".tmp");

    const FileWriteResult result = WriteFileReplacing(path, kNew.data(), kNew.size());
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(ReadWholeFile(other), "someone else's file\n");
    EXPECT_FALSE(fs::is_symlink(path));
    EXPECT_EQ(ReadWholeFile(path), kNew);
    EXPECT_TRUE(fs::is_symlink(path + ".tmp")) << "not the save's to remove";
}

// The step that makes the temporary refuses whatever has the name, and
// changes neither it nor what it points to.
TEST(ReplaceFile, TheTemporaryIsAlwaysANewFile)
{
    struct Case {
        const char* what;
        void (*arrange)(const std::string& name, const std::string& victim);
    };
    const Case cases[] = {
        {"a link to a file", [](const std::string& name, const std::string& victim) { fs::create_symlink(victim, name); }},
        {"a link to nothing",
         [](const std::string& name, const std::string& victim) { fs::create_symlink(victim + ".new", name); }},
        {"a file", [](const std::string& name, const std::string&) { WriteWholeFile(name, "a leftover\n"); }},
        {"a folder", [](const std::string& name, const std::string&) { fs::create_directory(name); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchDir dir;
        const std::string name = dir.File("Scores.dat.tmp.x");
        const std::string victim = dir.File("victim");
        WriteWholeFile(victim, kOld);
        c.arrange(name, victim);
        const std::vector<std::string> before = Entries(dir);
        EXPECT_EQ(SystemFileWriteSteps().WriteNew(name, kNew.data(), kNew.size(), 0600u), EEXIST);
        EXPECT_EQ(ReadWholeFile(victim), kOld);
        EXPECT_EQ(Entries(dir), before);
        if (fs::is_regular_file(fs::symlink_status(name))) {
            EXPECT_EQ(ReadWholeFile(name), "a leftover\n");
        }
    }
}

// A name taken between the choice and the creation (a link placed there by
// someone racing the save) is passed over: the save goes through another
// temporary, and the link and its target stay as they were.
TEST(ReplaceFile, ATemporaryNameTakenMeanwhileIsPassedOver)
{
    struct Squatter : FailingFileSteps {
        std::string victim;
        int WriteNew(const std::string& path, const void* bytes, std::size_t size, std::optional<unsigned> mode) override
        {
            if (written.empty())
                fs::create_symlink(victim, path);
            return FailingFileSteps::WriteNew(path, bytes, size, mode);
        }
    };
    ScratchDir dir;
    const std::string path = dir.File("Input.dat");
    WriteWholeFile(path, kOld);
    Squatter steps;
    steps.failAt = FailingFileSteps::Step::None;
    steps.victim = dir.File("victim");
    WriteWholeFile(steps.victim, "not the save's\n");

    const FileWriteResult result = WriteFileReplacing(path, kNew.data(), kNew.size(), steps);
    EXPECT_TRUE(result.ok) << result.error;
    ASSERT_EQ(steps.written.size(), 2u);
    EXPECT_NE(steps.written[0], steps.written[1]);
    EXPECT_EQ(ReadWholeFile(steps.victim), "not the save's\n");
    EXPECT_TRUE(fs::is_symlink(steps.written[0]));
    EXPECT_TRUE(steps.removed.empty());
    EXPECT_FALSE(fs::is_symlink(path));
    EXPECT_EQ(ReadWholeFile(path), kNew);
}

// The replacement has the old file's permission bits, whatever the umask; a
// new file gets what the umask allows, as any file the game creates.
TEST(ReplaceFile, TheOldFilesPermissionsAreKept)
{
    for (const unsigned mode : {0600u, 0640u, 0664u, 0606u}) {
        SCOPED_TRACE(mode);
        ScratchDir dir;
        const std::string path = dir.File("SaveGame.sav");
        WriteWholeFile(path, kOld);
        fs::permissions(path, static_cast<fs::perms>(mode));
        const FileWriteResult result = WriteFileReplacing(path, kNew.data(), kNew.size());
        EXPECT_TRUE(result.ok) << result.error;
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_EQ(ReadWholeFile(path), kNew);
    }

    ScratchDir dir;
    const std::string path = dir.File("Scores.dat");
    const mode_t before = umask(027);
    const FileWriteResult result = WriteFileReplacing(path, kNew.data(), kNew.size());
    umask(before);
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(ModeOf(path), 0640u);
}

// A file no one may write (which writing in place would have refused) is
// kept as it is, and the reason says why; nothing is left beside it.
TEST(ReplaceFile, AReadOnlyFileIsKept)
{
    for (const unsigned mode : {0444u, 0400u, 0555u}) {
        SCOPED_TRACE(mode);
        ScratchDir dir;
        const std::string path = dir.File("Scores.dat");
        WriteWholeFile(path, kOld);
        fs::permissions(path, static_cast<fs::perms>(mode));
        const FileWriteResult result = WriteFileReplacing(path, kNew.data(), kNew.size());
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, kReadOnlyFileReason);
        EXPECT_EQ(ModeOf(path), mode);
        EXPECT_EQ(ReadWholeFile(path), kOld);
        EXPECT_EQ(Entries(dir), std::vector<std::string>{"Scores.dat"});
    }
}

// What an earlier save left when the game died in it (under the old and the
// current naming, read-only or not) is no obstacle, and is not the save's to
// remove: it may be another running game's.
TEST(ReplaceFile, ALeftoverTemporaryIsNoObstacle)
{
    ScratchDir dir;
    const std::string path = dir.File("Input.dat");
    WriteWholeFile(path, kOld);
    const std::vector<std::string> leftovers = {path + ".tmp", path + ".tmp.k3v9q0za"};
    for (const std::string& leftover : leftovers)
        WriteWholeFile(leftover, "half a file");
    fs::permissions(leftovers[1], fs::perms::owner_read);

    for (const std::string& bytes : {kNew, kOld}) {
        const FileWriteResult result = WriteFileReplacing(path, bytes.data(), bytes.size());
        EXPECT_TRUE(result.ok) << result.error;
        EXPECT_EQ(ReadWholeFile(path), bytes);
    }
    for (const std::string& leftover : leftovers)
        EXPECT_EQ(ReadWholeFile(leftover), "half a file");
    EXPECT_EQ(Entries(dir).size(), 3u);
}

// Two games saving into one folder at the same time: every save succeeds,
// a reader only ever sees one whole file or the other, and no temporary is
// left.
TEST(ReplaceFile, TwoWritersInOneFolderNeverShareATemporary)
{
    ScratchDir dir;
    const std::string path = dir.File("Scores.dat");
    const std::string first(5000, 'a');
    const std::string second(9000, 'b');
    WriteWholeFile(path, first);
    std::atomic<int> writing{2};
    std::atomic<int> failures{0};
    const auto writer = [&](const std::string& bytes) {
        for (int i = 0; i < 300; ++i)
            if (!WriteFileReplacing(path, bytes.data(), bytes.size()))
                ++failures;
        --writing;
    };
    std::thread one(writer, first);
    std::thread two(writer, second);
    int torn = 0;
    int reads = 0;
    while (writing > 0) {
        const std::string seen = ReadWholeFile(path);
        torn += seen != first && seen != second;
        ++reads;
    }
    one.join();
    two.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"Scores.dat"});
}

TEST(ReplaceFile, AFailureOfTheRealFileSystemKeepsTheOldFile)
{
    // No folder to write in.
    ScratchDir dir;
    const FileWriteResult result = WriteFileReplacing(dir.File("gone/Input.dat"), kNew.data(), kNew.size());
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.error, "No such file or directory");
    EXPECT_TRUE(Entries(dir).empty());
}

TEST(ReplaceFile, AFailedStepRemovesThePartialTemporary)
{
    for (const auto step : {FailingFileSteps::Step::Write, FailingFileSteps::Step::Rename}) {
        ScratchDir dir;
        const std::string path = dir.File("Scores.dat");
        WriteWholeFile(path, kOld);
        fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
        FailingFileSteps steps;
        steps.failAt = step;
        const FileWriteResult result = WriteFileReplacing(path, kNew.data(), kNew.size(), steps);
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.error, step == FailingFileSteps::Step::Write ? "No space left on device"
                                                                      : "Input/output error");
        EXPECT_EQ(ReadWholeFile(path), kOld);
        EXPECT_EQ(ModeOf(path), 0600u);
        ASSERT_EQ(steps.written.size(), 1u);
        EXPECT_EQ(steps.written[0].rfind(path + ".tmp.", 0), 0u) << steps.written[0];
        EXPECT_EQ(Entries(dir), std::vector<std::string>{"Scores.dat"});
    }
}

// The new name reaches the disk: the folder is synced after the rename.
TEST(ReplaceFile, TheFolderIsSyncedAfterTheRename)
{
    ScratchDir dir;
    const std::string path = dir.File("Scores.dat");
    FailingFileSteps steps;
    steps.failAt = FailingFileSteps::Step::None;
    ASSERT_TRUE(WriteFileReplacing(path, kNew.data(), kNew.size(), steps));
    ASSERT_EQ(steps.written.size(), 1u);
    const std::string& temporary = steps.written[0];
    EXPECT_EQ(steps.calls, (std::vector<std::string>{"write " + temporary, "rename " + temporary + " " + path,
                                                     "sync " + dir.Path().string()}));
}

} // namespace
