// Seeded mutations of map-pack lists ("*.rota") and their integrity files
// ("*.rotb") against ScanMapPacks and ReadPackList, compared with a plain
// reading of the same bytes. Deterministic: a failing iteration is
// reproduced by its number.
#include "MapPack.h"
#include "Md5.h"
#include "support/MapTestDir.h"
#include "testing/Mutator.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The lines a 256-byte line reader gives: up to 255 characters or through
// the line end, each cut at its first zero byte.
std::vector<std::string> Lines(const Bytes& bytes)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t end = at;
        while (end < bytes.size() && end - at < 255 && bytes[end] != '\n')
            ++end;
        if (end < bytes.size() && end - at < 255)
            ++end; // the line end fits
        const std::string line(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                               bytes.begin() + static_cast<std::ptrdiff_t>(end));
        lines.push_back(line.substr(0, line.find('\0')));
        at = end;
    }
    return lines;
}

std::vector<std::string> MapNames(const Bytes& list)
{
    std::vector<std::string> names = Lines(list);
    for (std::string& name : names) {
        while (!name.empty() && (name.back() == '\n' || name.back() == '\r'))
            name.pop_back();
    }
    return names;
}

struct Pack {
    std::string name;
    Bytes list;
    std::optional<Bytes> digestFile; // none: the file is missing
};

struct Scan {
    std::string log;
    std::vector<std::string> packNames;
    bool quit = false;
};

// Packs in name order (ignoring case; the names here differ in more than case).
Scan ExpectedScan(const std::vector<Pack>& packs)
{
    Scan scan;
    scan.log = "Scanning for map packs:\n";
    for (const Pack& pack : packs) {
        const std::string digest = Md5Hex(std::string(pack.list.begin(), pack.list.end()));
        if (pack.name == "Standard" && digest != kStandardPackDigest) {
            scan.quit = true;
            return scan;
        }
        scan.log += "Found: " + pack.name + ".rota\n";
        if (!pack.digestFile) {
            scan.log += "Integrity file not found!\n";
            continue;
        }
        const std::vector<std::string> lines = Lines(*pack.digestFile);
        if (lines.empty()) {
            scan.log += "Integrity file damaged!\n";
            continue;
        }
        if (lines[0].substr(0, 32) != digest) {
            scan.log += "File failed integrity test!\n";
            continue;
        }
        scan.packNames.push_back(pack.name);
    }
    if (scan.packNames.empty()) {
        scan.log += "No Packs Found!\n\n";
        scan.quit = true;
    }
    return scan;
}

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

TEST(FuzzPackTest, MutatedPacksAreKeptOnlyWithTheirDigestAndListAsTheirLines)
{
    MapTestDir dir;
    CapturedLog log(dir);
    const Bytes alphaList = ToBytes("Splash\nLevel1\r\nLevel2\nhome\n");
    const Bytes betaList = ToBytes("B1\nB2\nB3");
    auto digestLine = [](const Bytes& list) { return ToBytes(Md5Hex(std::string(list.begin(), list.end())) + "\n"); };

    MutationHints hints;
    hints.tokens = {"\n", "\r\n", "\r", std::string(1, '\0'), std::string(300, 'L'), "../", "/", " ", "\xff"};
    hints.maxInsert = 40;
    Mutator mutator(0x726f7461u);
    int kept = 0;
    int rejected = 0;
    for (int iteration = 0; iteration < 2500; ++iteration) {
        std::vector<Pack> packs = {{"Alpha", alphaList, digestLine(alphaList)}, {"Beta", betaList, digestLine(betaList)}};
        for (Pack& pack : packs) {
            switch (mutator.Pick(5)) {
            case 0: // the list changed and its digest file rewritten to match
                mutator.Mutate(pack.list, hints);
                pack.digestFile = digestLine(pack.list);
                break;
            case 1: // the list damaged
                mutator.Mutate(pack.list, hints);
                break;
            case 2: // the digest file damaged
                mutator.Mutate(*pack.digestFile, hints);
                break;
            case 3:
                if (mutator.Pick(3) == 0)
                    pack.digestFile.reset();
                break;
            default: // both intact
                break;
            }
        }
        // Sometimes a damaged "standard" pack, which ends the scan.
        if (mutator.Pick(6) == 0) {
            Bytes list = alphaList;
            mutator.Mutate(list, hints);
            packs.push_back({"Standard", list, digestLine(list)});
        }
        std::filesystem::remove_all(dir.Path("Data/Maps"));
        std::filesystem::create_directories(dir.Path("Data/Maps"));
        for (const Pack& pack : packs) {
            dir.WriteBytes("Data/Maps/" + pack.name + ".rota", pack.list);
            if (pack.digestFile)
                dir.WriteBytes("Data/Maps/" + pack.name + ".rotb", *pack.digestFile);
        }

        log.Clear();
        const PackScan scan = ScanMapPacks(dir.Root(), log.Get());
        const Scan expected = ExpectedScan(packs);
        ASSERT_EQ(log.Text(), expected.log) << "iteration " << iteration;
        ASSERT_EQ(scan.packNames, expected.packNames) << "iteration " << iteration;
        ASSERT_EQ(scan.quit, expected.quit) << "iteration " << iteration;
        kept += static_cast<int>(scan.packNames.size());
        rejected += static_cast<int>(packs.size() - scan.packNames.size());

        for (const Pack& pack : packs) {
            const std::vector<std::string> maps = ReadPackList(dir.Root(), pack.name);
            ASSERT_EQ(maps, MapNames(pack.list)) << "iteration " << iteration << " pack " << pack.name;
            for (const std::string& map : maps) {
                ASSERT_LE(map.size(), 255u);
                ASSERT_EQ(map.find_first_of(std::string("\n\0", 2)), std::string::npos);
            }
        }
    }
    EXPECT_GT(kept, 1000);
    EXPECT_GT(rejected, 1000);
}

} // namespace
