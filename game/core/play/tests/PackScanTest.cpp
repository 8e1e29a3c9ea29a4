#include "Game.h"
#include "MapPack.h"
#include "Md5.h"
#include "support/MapTestDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

namespace {

// Writes a pack list and, unless digestText is null, its integrity file.
void WritePack(const MapTestDir& dir, const std::string& name, const std::string& list, const char* digestText)
{
    dir.WriteText("Data/Maps/" + name + ".rota", list);
    if (digestText != nullptr)
        dir.WriteText("Data/Maps/" + name + ".rotb", digestText);
}

std::string DigestOf(const std::string& text) { return Md5Hex(text); }

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

TEST(PackScan, PackWithoutIntegrityFileIsFoundThenDropped)
{
    MapTestDir dir;
    CapturedLog log(dir);
    const std::string list = "map1\nmap2\n";
    WritePack(dir, "alpha", list, (DigestOf(list) + "\n").c_str());
    WritePack(dir, "beta", list, nullptr);

    const PackScan scan = ScanMapPacks(dir.Root(), log.Get());
    EXPECT_FALSE(scan.quit);
    EXPECT_EQ(scan.packNames, std::vector<std::string>{"alpha"});
    EXPECT_EQ(log.Text(), "Scanning for map packs:\nFound: alpha.rota\nFound: beta.rota\nIntegrity file not found!\n");
}

TEST(PackScan, IntegrityFileContents)
{
    const std::string list = "first\nsecond\n";
    const std::string digest = DigestOf(list);
    struct Case {
        const char* what;
        std::string rotb;
        bool kept;
        const char* logLine; // on rejection
    };
    const Case cases[] = {
        {"digest and line end", digest + "\n", true, nullptr},
        {"digest without line end", digest, true, nullptr},
        {"comment after the digest", digest + " made by hand\n", true, nullptr},
        {"CRLF", digest + "\r\n", true, nullptr},
        {"further lines ignored", digest + "\nanything\n", true, nullptr},
        {"capitals", Upper(digest) + "\n", false, "File failed integrity test!\n"},
        {"wrong digest", DigestOf("other") + "\n", false, "File failed integrity test!\n"},
        {"31 digits", digest.substr(0, 31) + "\n", false, "File failed integrity test!\n"},
        {"digest on the second line", "\n" + digest + "\n", false, "File failed integrity test!\n"},
        {"empty file", "", false, "Integrity file damaged!\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MapTestDir dir;
        CapturedLog log(dir);
        WritePack(dir, "pack", list, c.rotb.c_str());
        const PackScan scan = ScanMapPacks(dir.Root(), log.Get());
        if (c.kept) {
            EXPECT_EQ(scan.packNames, std::vector<std::string>{"pack"});
            EXPECT_FALSE(scan.quit);
        } else {
            EXPECT_TRUE(scan.packNames.empty());
            EXPECT_TRUE(log.Contains(c.logLine)) << log.Text();
            // Every pack rejected: the game has nothing to play.
            EXPECT_TRUE(log.Contains("No Packs Found!\n\n"));
            EXPECT_TRUE(scan.quit);
        }
    }
}

TEST(PackScan, ListingIsSortedIgnoringCaseAndOnlyListFilesCount)
{
    MapTestDir dir;
    CapturedLog log(dir);
    const std::string list = "m\n";
    const std::string rotb = DigestOf(list) + "\n";
    for (const char* name : {"gamma", "Alpha", "beta", ".hidden", "Beta2"})
        WritePack(dir, name, list, rotb.c_str());
    dir.WriteText("Data/Maps/notes.txt", "x");
    dir.WriteText("Data/Maps/old.rota.bak", "x");
    std::filesystem::create_directories(dir.Path("Data/Maps/folder.rota"));

    const PackScan scan = ScanMapPacks(dir.Root(), log.Get());
    EXPECT_EQ(scan.packNames, (std::vector<std::string>{".hidden", "Alpha", "beta", "Beta2", "gamma"}));
    EXPECT_FALSE(scan.quit);
}

TEST(PackScan, NoPacksOrNoFolderQuits)
{
    MapTestDir dir;
    CapturedLog log(dir);
    PackScan scan = ScanMapPacks(dir.Root(), log.Get());
    EXPECT_TRUE(scan.quit);
    EXPECT_EQ(scan.quitReason, "No usable map pack in " + dir.Path("Data/Maps").string());
    EXPECT_EQ(log.Text(), "Scanning for map packs:\nNo Packs Found!\n\n");

    log.Clear();
    scan = ScanMapPacks(dir.Path("nowhere").string(), log.Get());
    EXPECT_TRUE(scan.quit);
    EXPECT_TRUE(scan.packNames.empty());
    EXPECT_EQ(log.Text(), "Scanning for map packs:\nNo Packs Found!\n\n");
}

// "standard" must carry one fixed list; any other list ends the scan at once
// and silently, whatever its integrity file says and whatever the case of
// its name.
TEST(PackScan, ChangedStandardPackStopsTheScanSilently)
{
    for (const char* name : {"standard", "STANDARD", "Standard"}) {
        SCOPED_TRACE(name);
        MapTestDir dir;
        CapturedLog log(dir);
        const std::string list = "edited\n";
        const std::string rotb = DigestOf(list) + "\n";
        WritePack(dir, "alpha", list, rotb.c_str());
        WritePack(dir, name, list, rotb.c_str());
        WritePack(dir, "zeta", list, rotb.c_str());

        const PackScan scan = ScanMapPacks(dir.Root(), log.Get());
        EXPECT_TRUE(scan.quit);
        EXPECT_EQ(scan.quitReason, "Pack '" + std::string(name) + "' failed its check");
        EXPECT_EQ(scan.packNames, std::vector<std::string>{"alpha"});
        EXPECT_EQ(log.Text(), "Scanning for map packs:\nFound: alpha.rota\n");
    }
}

// Lists and integrity files that are no files of their kind's size are
// refused before they are hashed or read (a sparse list of a terabyte would
// be hashed for hours; a pipe would block the scan for ever).
TEST(PackScan, OversizedListsAndNonFileIntegrityFilesAreRefused)
{
    const std::string list = "m\n";
    const std::string rotb = DigestOf(list) + "\n";
    MapTestDir dir;
    CapturedLog log(dir);
    WritePack(dir, "alpha", list, rotb.c_str());
    WritePack(dir, "huge", list, rotb.c_str());
    std::filesystem::resize_file(dir.Path("Data/Maps/huge.rota"), std::uintmax_t{1} << 40);
    WritePack(dir, "piped", list, nullptr);
    ASSERT_EQ(mkfifo(dir.Path("Data/Maps/piped.rotb").c_str(), 0600), 0);
    WritePack(dir, "folder", list, nullptr);
    std::filesystem::create_directory(dir.Path("Data/Maps/folder.rotb"));
    WritePack(dir, "wordy", list, (rotb + std::string(kPackDigestSizeCap, '#')).c_str());

    const PackScan scan = ScanMapPacks(dir.Root(), log.Get());
    EXPECT_FALSE(scan.quit);
    EXPECT_EQ(scan.packNames, std::vector<std::string>{"alpha"});
    const std::string maps = dir.Path("Data/Maps").string();
    const std::string text = log.Text();
    for (const std::string& line :
         {"Refused " + maps + "/huge.rota: holds 1099511627776 bytes",
          "Found: folder.rota\nRefused " + maps + "/folder.rotb: is a directory, not a file\nIntegrity file damaged!\n",
          "Found: piped.rota\nRefused " + maps + "/piped.rotb: is not a regular file\nIntegrity file damaged!\n",
          "Found: wordy.rota\nRefused " + maps + "/wordy.rotb: holds "})
        EXPECT_NE(text.find(line), std::string::npos) << "missing: " << line << "\n" << text;
    EXPECT_EQ(text.find("Found: huge.rota"), std::string::npos) << text;

    // The "standard" pack with a refused list fails its check like a changed one.
    WritePack(dir, "standard", "", nullptr);
    std::filesystem::resize_file(dir.Path("Data/Maps/standard.rota"), kPackListSizeCap + 1);
    const PackScan stopped = ScanMapPacks(dir.Root(), log.Get());
    EXPECT_TRUE(stopped.quit);
    EXPECT_EQ(stopped.quitReason, "Pack 'standard' failed its check");
}

TEST(PackList, LinesBecomeMapNames)
{
    struct Case {
        const char* what;
        std::string text;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"last line without line end", "map1\nmap2", {"map1", "map2"}},
        {"empty middle line", "a\n\nb\n", {"a", "", "b"}},
        {"CRLF", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"empty file", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MapTestDir dir;
        dir.WriteText("Data/Maps/p.rota", c.text);
        EXPECT_EQ(ReadPackList(dir.Root(), "p"), c.names);
    }
    MapTestDir dir;
    EXPECT_TRUE(ReadPackList(dir.Root(), "missing").empty());
    // Over the cap: refused unread, with its line in the log.
    CapturedLog log(dir);
    dir.WriteText("Data/Maps/big.rota", "a\n");
    std::filesystem::resize_file(dir.Path("Data/Maps/big.rota"), kPackListSizeCap + 1);
    EXPECT_TRUE(ReadPackList(dir.Root(), "big", log.Get()).empty());
    EXPECT_EQ(log.Text().rfind("Refused " + dir.Path("Data/Maps/big.rota").string() + ": holds ", 0), 0u)
        << log.Text();
    EXPECT_EQ(PackListPath(".", "Default"), "Data/Maps/Default.rota");
    EXPECT_EQ(PackDigestPath(".", "Default"), "Data/Maps/Default.rotb");
}

TEST(PackList, NamesThatAreNotPlainFileNamesReadNothing)
{
    // A saved game names its pack; a tampered one must not reach lists
    // outside the maps folder.
    MapTestDir dir;
    dir.WriteText("Data/outside.rota", "secret\n");
    dir.WriteText("Data/Maps/inside.rota", "map1\n");
    ASSERT_EQ(ReadPackList(dir.Root(), "inside"), std::vector<std::string>{"map1"});
    for (const char* name : {"../outside", "..\\outside", "sub/inside", "..", ".", ""}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(ReadPackList(dir.Root(), name).empty());
    }
}

TEST(PackSelection, GameTakesTheFirstIntactPackAndReadsItsList)
{
    MapTestDir dir;
    CapturedLog log(dir);
    const std::string list = "Landfall\nCaverns\n";
    WritePack(dir, "beta", list, (DigestOf(list) + "\n").c_str());
    WritePack(dir, "Alpha", "x\n", "0123\n");
    Game game;
    game.dataRoot = dir.Root();
    game.ScanMapPacks(log.Get());
    EXPECT_FALSE(game.quitRequested);
    EXPECT_EQ(game.packNames, std::vector<std::string>{"beta"});
    EXPECT_EQ(game.selectedPack, 0);
    EXPECT_STREQ(game.packName, "beta");
    game.LoadMapPack();
    EXPECT_EQ(game.packMaps, (std::vector<std::string>{"Landfall", "Caverns"}));
}

TEST(PackSelection, GameWithoutUsablePacksAsksToQuit)
{
    MapTestDir dir;
    CapturedLog log(dir);
    WritePack(dir, "broken", "x\n", nullptr);
    Game game;
    game.dataRoot = dir.Root();
    game.ScanMapPacks(log.Get());
    EXPECT_TRUE(game.quitRequested);
    EXPECT_TRUE(game.packNames.empty());
    EXPECT_STREQ(game.packName, "Default");
    game.LoadMapPack();
    EXPECT_TRUE(game.packMaps.empty());
}

} // namespace
