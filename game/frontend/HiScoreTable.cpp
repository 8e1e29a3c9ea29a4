#include "HiScoreTable.h"

#include "ConfigFile.h"
#include "Log.h"

#include <cstring>

namespace {

constexpr const char* kRankLabels[HiScoreTable::kRows] = {"1ST", "2ND", "3RD", "4TH", "5TH",
                                                          "6TH", "7TH", "8TH", "9TH", "10TH"};

struct DefaultRow {
    const char* name;
    std::int32_t score;
};
constexpr DefaultRow kDefaults[HiScoreTable::kRows] = {
    {"Q-7VN", 100000}, {"GOT", 90000}, {"TO", 80000},   {"THE", 70000},  {"TOP", 60000},
    {"ALL", 50000},    {"THE", 40000}, {"REST", 30000}, {"EPIC", 20000}, {"FAIL", 10000},
};

void SetName(HiScoreEntry& entry, const char* name)
{
    std::strncpy(entry.name, name, sizeof entry.name - 1);
    entry.name[sizeof entry.name - 1] = '\0';
}

// The group line and the twenty keys: read into the table, or appended from
// it, as the configuration file decides.
void BindTable(HiScoreTable& table, ConfigFile& config, const std::string& path)
{
    std::string names[HiScoreTable::kRows];
    for (int i = 0; i < HiScoreTable::kRows; ++i)
        names[i] = table.entries[i].name;
    config.WriteLine(path, "HiScore Records");
    for (int i = 0; i < HiScoreTable::kRows; ++i) {
        const std::string label = kRankLabels[i];
        config.BindString(path, label + "NAME", names[i]);
        config.BindInt(path, label + "SCORE", table.entries[i].score);
    }
    for (int i = 0; i < HiScoreTable::kRows; ++i)
        SetName(table.entries[i], names[i].c_str());
}

} // namespace

const char* HiScoreRankLabel(int index)
{
    return index >= 0 && index < HiScoreTable::kRows ? kRankLabels[index] : "";
}

void ResetHiScoreTable(HiScoreTable& table)
{
    for (int i = 0; i < HiScoreTable::kRows; ++i) {
        SetName(table.entries[i], kDefaults[i].name);
        table.entries[i].score = kDefaults[i].score;
    }
}

void ClearHiScoreTable(HiScoreTable& table)
{
    for (HiScoreEntry& entry : table.entries)
        entry = HiScoreEntry{};
}

void LoadLocalHiScores(HiScoreTable& table, ConfigFile& config, Log& log, const std::string& path)
{
    log.Write("Loading Local HiScores...");
    BindTable(table, config, path);
    log.Write("Done\n");
}

void SaveLocalHiScores(HiScoreTable& table, ConfigFile& config, Log& log, const std::string& path)
{
    const FileWriteResult saved = config.Replace(path, [&] { BindTable(table, config, path); });
    if (saved.ok)
        log.Write("Done\n");
    else
        log.Write("Could not save the high scores to " + path + " (" + saved.error +
                  "): the previous file is kept\n");
}

int HiScoreRankFor(const HiScoreTable& table, std::int32_t score)
{
    for (int i = 0; i < HiScoreTable::kRows; ++i)
        if (table.entries[i].score < score)
            return i;
    return -1;
}

void InsertHiScore(HiScoreTable& table, int rank, std::int32_t score, const char* name)
{
    if (rank < 0 || rank >= HiScoreTable::kRows)
        return;
    for (int i = HiScoreTable::kRows - 1; i > rank; --i)
        table.entries[i] = table.entries[i - 1];
    table.entries[rank].score = score;
    SetName(table.entries[rank], name);
}

bool IsBlankName(const char* name)
{
    for (const char* c = name; *c != '\0'; ++c)
        if (*c != ' ' && *c != '\t')
            return false;
    return true;
}
