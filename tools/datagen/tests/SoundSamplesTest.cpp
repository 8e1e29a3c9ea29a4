// The generated samples: every file the game loads, as 16-bit PCM WAVE at
// 44.1 kHz, audible, distinct, one-shots starting and ending at silence and
// loops running from their last sample into their first without a click.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
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

// The game's sample list, in its loading order.
const char* const kSamples[] = {
    "PlayerLaser.wav", "Engine.wav", "PlayerShield.wav", "ShieldReflect.wav", "PlayerLand.wav",
    "PlayerLand2.wav", "CannonLaser.wav", "HomingLaunch.wav", "ExplosionSmall1.wav", "ExplosionSmall2.wav",
    "ExplosionMed1.wav", "ExplosionMed2.wav", "ExplosionMed3.wav", "ExplosionBig1.wav", "ExplosionBig2.wav",
    "ExplosionBig3.wav", "PlanetExplosion.wav", "Hitsound1.wav", "Hitsound2.wav", "Activate.wav",
    "DeActivate.wav", "ClockTick.wav", "Siren1.wav", "Air.wav", "PlayerCrash1.wav", "PlayerCrash2.wav",
    "PlayerCrash3.wav", "LaserSpark.wav", "ui1.wav", "ui2.wav", "LaserBeam.wav", "LaserDischarge.wav",
    "FleaJump.wav", "Hydraulic.wav", "HydraulicStop.wav", "HydraulicStop2.wav", "Teleport.wav",
    "FuelPod.wav", "BulletTime.wav", "Mutant.wav", "RocketLaunch.wav", "Missile.wav", "Scientist.wav",
    "UI3.wav", "MenuOpen.wav", "MenuClose.wav", "ExtraLife.wav"};

// Played with endless repeats by the ship and the actors.
const std::set<std::string> kLoops = {"Engine.wav", "PlayerShield.wav", "Hydraulic.wav", "LaserBeam.wav",
                                      "Air.wav", "FuelPod.wav", "Missile.wav"};

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

struct Wav {
    std::string error;  // empty when the file is a WAVE the mixer takes
    int channels = 0;
    std::vector<std::int16_t> samples;  // first channel
};

// Walks the RIFF chunks as a loader does, so any chunk order is accepted.
Wav ReadWav(const fs::path& path)
{
    Wav wav;
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0) {
        wav.error = "not a RIFF WAVE file";
        return wav;
    }
    if (U32(b, 4) + 8 != b.size()) {
        wav.error = "RIFF size does not match the file";
        return wav;
    }
    bool format = false;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::uint32_t size = U32(b, at + 4);
        const std::size_t body = at + 8;
        if (body + size > b.size()) {
            wav.error = "chunk runs past the end";
            return wav;
        }
        if (std::memcmp(b.data() + at, "fmt ", 4) == 0 && size >= 16) {
            format = true;
            wav.channels = U16(b, body + 2);
            if (U16(b, body) != 1) wav.error = "not PCM";
            else if (U32(b, body + 4) != 44100) wav.error = "not 44100 Hz";
            else if (U16(b, body + 14) != 16) wav.error = "not 16-bit";
            else if (wav.channels < 1 || wav.channels > 2) wav.error = "not mono or stereo";
            else if (U16(b, body + 12) != wav.channels * 2) wav.error = "bad block alignment";
            else if (U32(b, body + 8) != 44100u * wav.channels * 2) wav.error = "bad byte rate";
            if (!wav.error.empty()) return wav;
        } else if (std::memcmp(b.data() + at, "data", 4) == 0) {
            if (!format) {
                wav.error = "data before fmt";
                return wav;
            }
            for (std::size_t i = body; i + 1 < body + size; i += 2 * wav.channels)
                wav.samples.push_back(static_cast<std::int16_t>(U16(b, i)));
            return wav;
        }
        at = body + size + (size & 1);
    }
    wav.error = "no data chunk";
    return wav;
}

}  // namespace

TEST(SoundSamples, EveryGameSampleIs16BitPcmAt44kAudibleAndOfSensibleLength)
{
    for (const char* name : kSamples) {
        const Wav wav = ReadWav(kSound / name);
        ASSERT_EQ(wav.error, "") << name;
        const double seconds = static_cast<double>(wav.samples.size()) / 44100.0;
        EXPECT_GE(seconds, 0.03) << name;
        EXPECT_LE(seconds, 8.0) << name;
        int peak = 0;
        for (std::int16_t s : wav.samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
        EXPECT_GE(peak, 8000) << name << " is too quiet";
    }
}

TEST(SoundSamples, SamplesAreDistinct)
{
    std::set<std::vector<std::int16_t>> seen;
    for (const char* name : kSamples)
        EXPECT_TRUE(seen.insert(ReadWav(kSound / name).samples).second) << name << " repeats another sample";
}

// A one-shot that starts or stops away from zero clicks.
TEST(SoundSamples, OneShotsStartAndEndAtSilence)
{
    for (const char* name : kSamples) {
        if (kLoops.count(name)) continue;
        const Wav wav = ReadWav(kSound / name);
        ASSERT_FALSE(wav.samples.empty()) << name;
        EXPECT_LE(std::abs(wav.samples.front()), 330) << name;
        EXPECT_LE(std::abs(wav.samples.back()), 330) << name;
    }
}

// The step from the last sample back to the first must look like any other
// step of the sound: no larger than four times the average step.
TEST(SoundSamples, LoopsWrapWithoutAClick)
{
    for (const std::string& name : kLoops) {
        const Wav wav = ReadWav(kSound / name);
        ASSERT_GT(wav.samples.size(), 4410u) << name;
        double total = 0;
        for (std::size_t i = 1; i < wav.samples.size(); ++i)
            total += std::abs(wav.samples[i] - wav.samples[i - 1]);
        const double mean = total / static_cast<double>(wav.samples.size() - 1);
        const int wrap = std::abs(wav.samples.front() - wav.samples.back());
        EXPECT_LE(wrap, 4 * mean + 16) << name << ": wrap step " << wrap << ", mean step " << mean;
        // A loop holds its level to the end instead of fading out.
        int tail = 0;
        for (std::size_t i = wav.samples.size() - 2205; i < wav.samples.size(); ++i)
            tail = std::max(tail, std::abs(static_cast<int>(wav.samples[i])));
        EXPECT_GE(tail, 3000) << name << " fades out";
    }
}
