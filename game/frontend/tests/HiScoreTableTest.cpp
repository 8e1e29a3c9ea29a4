#include "ConfigFile.h"
#include "HiScoreTable.h"
#include "LogCapture.h"
#include "testing/FailingFileSteps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// The exact bytes of a first run's "Scores.dat".
const char* const kDefaultScoresDat = "HiScore Records\n"
                                      "1STNAME\t= Q-7VN\n"
                                      "1STSCORE\t= 100000\n"
                                      "2NDNAME\t= GOT\n"
                                      "2NDSCORE\t= 90000\n"
                                      "3RDNAME\t= TO\n"
                                      "3RDSCORE\t= 80000\n"
                                      "4THNAME\t= THE\n"
                                      "4THSCORE\t= 70000\n"
                                      "5THNAME\t= TOP\n"
                                      "5THSCORE\t= 60000\n"
                                      "6THNAME\t= ALL\n"
                                      "6THSCORE\t= 50000\n"
                                      "7THNAME\t= THE\n"
                                      "7THSCORE\t= 40000\n"
                                      "8THNAME\t= REST\n"
                                      "8THSCORE\t= 30000\n"
                                      "9THNAME\t= EPIC\n"
                                      "9THSCORE\t= 20000\n"
                                      "10THNAME\t= FAIL\n"
                                      "10THSCORE\t= 10000\n";

class ScoresFileTest : public ::testing::Test {
protected:
    ScoresFileTest()
    {
        static std::atomic<int> serial{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        dir = std::filesystem::temp_directory_path() /
              ("zelv_scores_" + std::to_string(stamp) + "_" + std::to_string(serial++));
        std::filesystem::create_directories(dir);
        path = (dir / "Scores.dat").string();
        ResetHiScoreTable(table);
    }
    ~ScoresFileTest() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(dir, ignored);
    }

    std::string FileText() const
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void WriteFile(const std::string& text) const
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
    }
    // The default file with one line replaced (or removed when with is empty).
    static std::string DefaultWith(const std::string& line, const std::string& with)
    {
        std::string text = kDefaultScoresDat;
        const std::size_t at = text.find(line + "\n");
        if (at == std::string::npos)
            return text;
        text.replace(at, line.size() + 1, with.empty() ? "" : with + "\n");
        return text;
    }

    std::filesystem::path dir;
    std::string path;
    ConfigFile config;
    LogCapture log;
    HiScoreTable table;
};

TEST_F(ScoresFileTest, FirstRunWritesTheDefaultTableAndKeepsIt)
{
    LoadLocalHiScores(table, config, log.Get(), path);
    const std::string text = FileText();
    EXPECT_EQ(text, kDefaultScoresDat);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 21);
    HiScoreTable defaults;
    ResetHiScoreTable(defaults);
    for (int i = 0; i < HiScoreTable::kRows; ++i) {
        EXPECT_STREQ(table.entries[i].name, defaults.entries[i].name);
        EXPECT_EQ(table.entries[i].score, defaults.entries[i].score);
    }
    EXPECT_EQ(log.Text(), "Loading Local HiScores...Done\n");
}

TEST_F(ScoresFileTest, SavedTableReadsBackInALaterRun)
{
    InsertHiScore(table, 0, 123456, "NEW BEST");
    table.entries[9].score = -5;
    SaveLocalHiScores(table, config, log.Get(), path);
    EXPECT_EQ(log.Text(), "Done\n");

    ConfigFile laterRun;
    HiScoreTable read;
    ClearHiScoreTable(read);
    LoadLocalHiScores(read, laterRun, log.Get(), path);
    for (int i = 0; i < HiScoreTable::kRows; ++i) {
        EXPECT_STREQ(read.entries[i].name, table.entries[i].name) << i;
        EXPECT_EQ(read.entries[i].score, table.entries[i].score) << i;
    }
    EXPECT_STREQ(read.entries[0].name, "NEW BEST");
    EXPECT_STREQ(read.entries[1].name, "Q-7VN");
}

TEST_F(ScoresFileTest, ExistingFilesAreReadKeyByKey)
{
    struct Case {
        const char* what;
        std::string file;
        int row;
        const char* name;
        int score;
    };
    const Case cases[] = {
        {"3RDNAME missing", DefaultWith("3RDNAME\t= TO", ""), 2, "", 80000},
        {"runs of spaces", DefaultWith("2NDNAME\t= GOT", "2NDNAME\t=   A    B  C  "), 1, "A B C", 90000},
        {"20 characters", DefaultWith("1STNAME\t= Q-7VN", "1STNAME\t= ABCDEFGHIJKLMNOPQRST"), 0, "ABCDEFGHIJKLMNO",
         100000},
        {"not descending", DefaultWith("10THSCORE\t= 10000", "10THSCORE\t= 999999"), 9, "FAIL", 999999},
        {"non-numeric score", DefaultWith("5THSCORE\t= 60000", "5THSCORE\t= lots"), 4, "TOP", 1},
        {"key without value", DefaultWith("4THNAME\t= THE", "4THNAME\t="), 3, "emptyvar", 70000},
        {"score without value", DefaultWith("6THSCORE\t= 50000", "6THSCORE\t="), 5, "ALL", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteFile(c.file);
        ConfigFile run;
        HiScoreTable read;
        ResetHiScoreTable(read);
        for (HiScoreEntry& entry : read.entries)
            entry.score = 1; // what a key that reads nothing keeps
        LoadLocalHiScores(read, run, log.Get(), path);
        EXPECT_STREQ(read.entries[c.row].name, c.name);
        EXPECT_EQ(read.entries[c.row].score, c.score);
        EXPECT_LE(std::strlen(read.entries[0].name), 15u);
        // The other rows keep the file's values.
        const int other = c.row == 7 ? 8 : 7;
        EXPECT_STREQ(read.entries[other].name, other == 7 ? "REST" : "EPIC");
        EXPECT_EQ(read.entries[other].score, other == 7 ? 30000 : 20000);
        // An existing file is only read.
        EXPECT_EQ(FileText(), c.file);
    }
}

TEST_F(ScoresFileTest, AFileCreatedInThisRunGrowsAtEachLoadUntilASaveReplacesIt)
{
    LoadLocalHiScores(table, config, log.Get(), path);
    table.entries[0].score = 5;
    LoadLocalHiScores(table, config, log.Get(), path);
    const std::string twice = FileText();
    EXPECT_EQ(std::count(twice.begin(), twice.end(), '\n'), 42);
    EXPECT_EQ(twice.substr(0, std::strlen(kDefaultScoresDat)), kDefaultScoresDat);
    EXPECT_NE(twice.find("1STSCORE\t= 5\n"), std::string::npos);
    EXPECT_EQ(table.entries[0].score, 5);

    SaveLocalHiScores(table, config, log.Get(), path);
    const std::string saved = FileText();
    EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), 21);
    EXPECT_EQ(saved, DefaultWith("1STSCORE\t= 100000", "1STSCORE\t= 5"));
    EXPECT_EQ(log.Text(), "Loading Local HiScores...Done\nLoading Local HiScores...Done\nDone\n");
}

TEST_F(ScoresFileTest, ALaterRunReadsTheFirstBlock)
{
    LoadLocalHiScores(table, config, log.Get(), path);
    table.entries[2].score = 77;
    LoadLocalHiScores(table, config, log.Get(), path);
    ConfigFile laterRun;
    HiScoreTable read;
    ResetHiScoreTable(read);
    read.entries[2].score = 0;
    LoadLocalHiScores(read, laterRun, log.Get(), path);
    EXPECT_EQ(read.entries[2].score, 80000);
}

TEST_F(ScoresFileTest, ABlankNameIsSavedWithoutAValueAndReadsAsEmptyvar)
{
    std::strcpy(table.entries[3].name, "");
    SaveLocalHiScores(table, config, log.Get(), path);
    EXPECT_NE(FileText().find("4THNAME\t= \n"), std::string::npos);
    ConfigFile laterRun;
    HiScoreTable read;
    LoadLocalHiScores(read, laterRun, log.Get(), path);
    EXPECT_STREQ(read.entries[3].name, "emptyvar");
}

// A full disk, a failed rename or a file the player made read-only keeps
// the table the file held: no empty file, no "Done", one line saying what
// happened; the table in memory keeps the new score.
TEST_F(ScoresFileTest, AFailedSaveKeepsThePreviousTable)
{
    const struct {
        FailingFileSteps::Step step;
        bool readOnly;
        std::string reason;
    } cases[] = {
        {FailingFileSteps::Step::Write, false, "No space left on device"},
        {FailingFileSteps::Step::Rename, false, "Input/output error"},
        {FailingFileSteps::Step::None, true, kReadOnlyFileReason},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason);
        WriteFile(kDefaultScoresDat);
        if (c.readOnly)
            std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                                   std::filesystem::perms::others_read);
        log.Reset();
        FailingFileSteps fullDisk;
        fullDisk.failAt = c.step;
        ConfigFile run(log.Get(), fullDisk);
        ResetHiScoreTable(table);
        LoadLocalHiScores(table, run, log.Get(), path);
        InsertHiScore(table, 0, 123456, "NEW BEST");
        SaveLocalHiScores(table, run, log.Get(), path);

        EXPECT_EQ(FileText(), kDefaultScoresDat);
        EXPECT_TRUE(TemporariesBeside(path).empty());
        EXPECT_EQ(log.Text(), "Loading Local HiScores...Done\nCould not save the high scores to " + path + " (" +
                                  c.reason + "): the previous file is kept\n");
        EXPECT_STREQ(table.entries[0].name, "NEW BEST");

        ConfigFile laterRun;
        HiScoreTable read;
        ClearHiScoreTable(read);
        LoadLocalHiScores(read, laterRun, log.Get(), path);
        EXPECT_STREQ(read.entries[0].name, "Q-7VN");
        EXPECT_STREQ(read.entries[9].name, "FAIL");
    }
}

TEST(HiScoreRanks, QualificationAndInsertion)
{
    HiScoreTable defaults;
    ResetHiScoreTable(defaults);
    struct Case {
        std::int32_t score;
        int rank;
    };
    const Case cases[] = {{10000, -1}, {0, -1}, {-1, -1}, {10001, 9}, {50001, 5}, {100001, 0},
                          {100000, 1}, {60000, 5}};
    for (const Case& c : cases)
        EXPECT_EQ(HiScoreRankFor(defaults, c.score), c.rank) << c.score;

    for (const int rank : {0, 5, 9}) {
        SCOPED_TRACE(rank);
        HiScoreTable table = defaults;
        InsertHiScore(table, rank, 424242, "ME");
        EXPECT_EQ(table.entries[rank].score, 424242);
        EXPECT_STREQ(table.entries[rank].name, "ME");
        for (int i = 0; i < rank; ++i)
            EXPECT_EQ(table.entries[i].score, defaults.entries[i].score);
        for (int i = rank + 1; i < HiScoreTable::kRows; ++i) {
            EXPECT_EQ(table.entries[i].score, defaults.entries[i - 1].score);
            EXPECT_STREQ(table.entries[i].name, defaults.entries[i - 1].name);
        }
        for (const HiScoreEntry& entry : table.entries)
            EXPECT_NE(entry.score, 10000) << "the old tenth is gone";
    }

    HiScoreTable table = defaults;
    InsertHiScore(table, 10, 1, "X");
    InsertHiScore(table, -1, 1, "X");
    for (int i = 0; i < HiScoreTable::kRows; ++i)
        EXPECT_EQ(table.entries[i].score, defaults.entries[i].score);
    InsertHiScore(table, 0, 1, "A NAME FAR LONGER THAN FIFTEEN");
    EXPECT_STREQ(table.entries[0].name, "A NAME FAR LONG");
}

TEST(HiScoreRanks, LabelsAndBlankNames)
{
    EXPECT_STREQ(HiScoreRankLabel(0), "1ST");
    EXPECT_STREQ(HiScoreRankLabel(2), "3RD");
    EXPECT_STREQ(HiScoreRankLabel(9), "10TH");
    EXPECT_STREQ(HiScoreRankLabel(10), "");
    EXPECT_TRUE(IsBlankName(""));
    EXPECT_TRUE(IsBlankName(" \t  "));
    EXPECT_FALSE(IsBlankName(" A "));
    EXPECT_FALSE(IsBlankName("_"));
}

} // namespace
