// Seeded mutations of a valid "Scores.dat" against the high-score loader:
// an existing file is never written, no name outgrows its 15 characters,
// and every name holds only what a line of the file can carry.
// Deterministic: a failing iteration is reproduced by its number.
#include "ConfigFile.h"
#include "HiScoreTable.h"
#include "LogCapture.h"

#include "testing/Mutator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

TEST(FuzzHiScoresTest, MutatedScoreFilesLoadNamesOfAtMostFifteenAndAreNeverWritten)
{
    static std::atomic<int> serial{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const auto dir = std::filesystem::temp_directory_path() /
                     ("zelv_fuzzscores_" + std::to_string(stamp) + "_" + std::to_string(serial++));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "Scores.dat").string();
    LogCapture log;

    // A valid file from the save itself.
    {
        ConfigFile config;
        HiScoreTable table;
        ResetHiScoreTable(table);
        SaveLocalHiScores(table, config, log.Get(), path);
    }
    std::ifstream in(path, std::ios::binary);
    const std::string valid{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    ASSERT_NE(valid.find("1STNAME"), std::string::npos);

    MutationHints hints;
    hints.tokens = {"\n", "\r\n", "\t= ", " ", "NAME", "SCORE", "1STNAME\t= ", "99999999999999999999",
                    std::string(40, 'W'), "-2147483648"};
    Mutator mutator(0x73636f72u);
    for (int iteration = 0; iteration < 3000; ++iteration) {
        SCOPED_TRACE(iteration);
        const std::string mutated = mutator.Mutate(valid, hints);
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << mutated;
        }
        ConfigFile run;
        HiScoreTable table;
        ResetHiScoreTable(table);
        LoadLocalHiScores(table, run, log.Get(), path);
        for (const HiScoreEntry& entry : table.entries) {
            ASSERT_NE(std::memchr(entry.name, '\0', sizeof entry.name), nullptr);
            ASSERT_LE(std::strlen(entry.name), 15u);
            ASSERT_EQ(std::strchr(entry.name, '\n'), nullptr);
        }
        std::ifstream back(path, std::ios::binary);
        ASSERT_EQ(std::string(std::istreambuf_iterator<char>(back), std::istreambuf_iterator<char>()), mutated);
        log.Reset();
    }
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}
