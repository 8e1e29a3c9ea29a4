#pragma once

#include <array>
#include <cstdint>
#include <string>

class ConfigFile;
class Log;

// One row of a high-score table: a name of at most 15 characters.
struct HiScoreEntry {
    char name[16] = {};
    std::int32_t score = 0;
};

// Ten rows in rank order, highest first (index 0 is rank 1).
struct HiScoreTable {
    static constexpr int kRows = 10;
    std::array<HiScoreEntry, kRows> entries;
};

inline const char* const kHiScoreFile = "Scores.dat";

// "1ST" .. "10TH" for index 0..9.
const char* HiScoreRankLabel(int index);

// The table a first run starts with.
void ResetHiScoreTable(HiScoreTable& table);

// The table with every name empty and every score 0.
void ClearHiScoreTable(HiScoreTable& table);

// Reads the file into the table or, when it is to be written (missing, or
// created earlier in this run), appends the table's group line and keys to
// it. A key missing from an existing file empties that name and keeps that
// score; a name longer than 15 characters keeps its first 15.
void LoadLocalHiScores(HiScoreTable& table, ConfigFile& config, Log& log,
                       const std::string& path = kHiScoreFile);

// Replaces the file by one block holding the table, written aside and renamed
// over it; when that fails the previous file stays whole, the table in memory
// is unchanged and one line saying so is logged.
void SaveLocalHiScores(HiScoreTable& table, ConfigFile& config, Log& log,
                       const std::string& path = kHiScoreFile);

// The first rank whose score is strictly below score; -1 when none is.
int HiScoreRankFor(const HiScoreTable& table, std::int32_t score);

// Moves the rows from rank down one place (the last one drops out) and puts
// score and name (cut to 15 characters) at rank; a rank outside 0..9 does
// nothing.
void InsertHiScore(HiScoreTable& table, int rank, std::int32_t score, const char* name);

// A name that is empty or holds only spaces and tabs.
bool IsBlankName(const char* name);
