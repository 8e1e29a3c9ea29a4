// The generated music: the five files the screens load, each a clean run of
// MPEG audio layer III frames lasting at least 30 seconds, all different.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kSound = fs::path(ZELV_DEMO_DATA_DIR) / "Data" / "Sound";

const char* const kMusic[] = {"DovirEzuded Away.mp3", "VovadiVivuz.mp3", "Dizura Zeve.mp3", "hiscore.mp3",
                              "Credits.mp3"};

std::vector<std::uint8_t> Bytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Stream {
    std::string error;
    int frames = 0;
    double seconds = 0;
};

// Walks the frame headers from the first byte to the last (an ID3 tag at
// either end is allowed); any byte that is not part of a frame is an error.
Stream WalkFrames(const std::vector<std::uint8_t>& b)
{
    static const int kBitrates[2][16] = {
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},  // MPEG-1
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0}};     // MPEG-2 and 2.5
    static const int kRates[3] = {44100, 48000, 32000};
    Stream s;
    std::size_t at = 0;
    if (b.size() >= 10 && std::memcmp(b.data(), "ID3", 3) == 0)
        at = 10 + (b[6] << 21 | b[7] << 14 | b[8] << 7 | b[9]);
    std::size_t end = b.size();
    if (end >= 128 && std::memcmp(b.data() + end - 128, "TAG", 3) == 0)
        end -= 128;
    while (at < end) {
        if (at + 4 > end || b[at] != 0xFF || (b[at + 1] & 0xE0) != 0xE0) {
            s.error = "no frame header at byte " + std::to_string(at);
            return s;
        }
        const int version = (b[at + 1] >> 3) & 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
        const int layer = (b[at + 1] >> 1) & 3;    // 1 is layer III
        const int bitrateIndex = b[at + 2] >> 4;
        const int rateIndex = (b[at + 2] >> 2) & 3;
        const int padding = (b[at + 2] >> 1) & 1;
        if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) {
            s.error = "not a layer III frame at byte " + std::to_string(at);
            return s;
        }
        const bool mpeg1 = version == 3;
        const int rate = kRates[rateIndex] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
        const int bitrate = kBitrates[mpeg1 ? 0 : 1][bitrateIndex] * 1000;
        const int samples = mpeg1 ? 1152 : 576;
        const std::size_t length = static_cast<std::size_t>(samples / 8 * bitrate / rate + padding);
        if (at + length > end) {
            s.error = "last frame cut short";
            return s;
        }
        at += length;
        ++s.frames;
        s.seconds += static_cast<double>(samples) / rate;
    }
    return s;
}

}  // namespace

TEST(MusicFiles, EachTuneIsAWholeMp3StreamOfAtLeastThirtySeconds)
{
    for (const char* name : kMusic) {
        const Stream s = WalkFrames(Bytes(kSound / name));
        EXPECT_EQ(s.error, "") << name;
        EXPECT_GE(s.seconds, 30.0) << name;
        EXPECT_LE(s.seconds, 120.0) << name;
    }
}

// The countdown theme plays once while the planet's 61-second countdown runs.
TEST(MusicFiles, CountdownThemeLastsAboutAsLongAsTheCountdown)
{
    const Stream s = WalkFrames(Bytes(kSound / "Dizura Zeve.mp3"));
    EXPECT_GE(s.seconds, 55.0);
}

TEST(MusicFiles, TunesAreDistinct)
{
    std::set<std::vector<std::uint8_t>> seen;
    for (const char* name : kMusic)
        EXPECT_TRUE(seen.insert(Bytes(kSound / name)).second) << name << " repeats another tune";
}
