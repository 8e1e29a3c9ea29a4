// The audio layer over the real mixer on SDL's dummy audio driver, which
// consumes sound in real time without a device.
#include "Audio.h"
#include "MixerAudioBackend.h"

#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <set>
#include <sstream>
#include <thread>

namespace {

void PutLe(std::string& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A mono 16-bit PCM WAV of a short square wave.
std::string TinyWav(int milliseconds)
{
    const std::uint32_t rate = 22050;
    const std::uint32_t frames = rate * static_cast<std::uint32_t>(milliseconds) / 1000;
    const std::uint32_t dataBytes = frames * 2;
    std::string wav = "RIFF";
    PutLe(wav, 36 + dataBytes, 4);
    wav += "WAVEfmt ";
    PutLe(wav, 16, 4);
    PutLe(wav, 1, 2); // PCM
    PutLe(wav, 1, 2); // mono
    PutLe(wav, rate, 4);
    PutLe(wav, rate * 2, 4);
    PutLe(wav, 2, 2);
    PutLe(wav, 16, 2);
    wav += "data";
    PutLe(wav, dataBytes, 4);
    for (std::uint32_t i = 0; i < frames; ++i)
        PutLe(wav, (i / 50) % 2 != 0 ? 0x2000u : 0xE000u, 2);
    return wav;
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

class MixerAudioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        log.SetEnabled(true);
        console.str("");
        ASSERT_TRUE(audio.InitAudio(128)) << console.str();
        opened = true;
        EXPECT_NE(console.str().find("Number of channels allocated: 128\n"), std::string::npos) << console.str();
        audio.ReserveChannels(2);
        WriteWholeFile(dir.File("short.wav"), TinyWav(40));
        WriteWholeFile(dir.File("long.wav"), TinyWav(400));
        ASSERT_TRUE(audio.LoadSample(dir.File("short.wav"), shortSample)) << console.str();
        ASSERT_TRUE(audio.LoadSample(dir.File("long.wav"), longSample)) << console.str();
        console.str("");
    }
    void TearDown() override
    {
        if (opened) {
            audio.HaltAllChannels();
            audio.FreeSample(shortSample);
            audio.FreeSample(longSample);
            audio.ShutdownAudio();
        }
        SDL_Quit();
    }

    ScratchDir dir;
    std::ostringstream console;
    Log log{dir.File("Logfile.txt"), console};
    MixerAudioBackend mixer;
    Audio audio{mixer, log};
    bool opened = false;
    Mix_Chunk* shortSample = nullptr;
    Mix_Chunk* longSample = nullptr;
};

TEST_F(MixerAudioTest, SamplesTakeUnreservedChannelsUntilAllAreBusy)
{
    std::set<int> used;
    for (int i = 0; i < 126; ++i) {
        const int channel = audio.PlaySample(longSample, true);
        ASSERT_GE(channel, 2) << "reserved channels are never picked";
        ASSERT_LT(channel, 128);
        used.insert(channel);
    }
    EXPECT_EQ(used.size(), 126u);
    EXPECT_EQ(console.str(), "");

    EXPECT_EQ(audio.PlaySample(shortSample, false), -1);
    const std::string logged = console.str();
    const std::string head = "Failed to play sample, reason:\nMix_PlayChannel: ";
    EXPECT_EQ(logged.substr(0, head.size()), head) << logged;
    EXPECT_GT(logged.size(), head.size() + 1) << "the mixer's own text follows";

    // The reserved channels are still there for whoever names them.
    audio.PlaySampleOn(0, longSample, true);
    EXPECT_EQ(mixer.Playing(0), 1);
}

TEST_F(MixerAudioTest, OneShotSampleEndsWhileLoopKeepsPlaying)
{
    const int once = audio.PlaySample(shortSample, false);
    const int loop = audio.PlaySample(shortSample, true);
    ASSERT_GE(once, 2);
    ASSERT_GE(loop, 2);
    ASSERT_NE(once, loop);
    EXPECT_TRUE(WaitFor([&] { return mixer.Playing(once) == 0; }, std::chrono::milliseconds(3000)));
    EXPECT_EQ(mixer.Playing(loop), 1);
    audio.HaltChannel(loop);
    EXPECT_EQ(mixer.Playing(loop), 0);
}

TEST_F(MixerAudioTest, PauseHoldsEveryChannelAndResumeReleasesThem)
{
    audio.PlaySampleOn(0, longSample, true);
    const int channel = audio.PlaySample(shortSample, false);
    ASSERT_GE(channel, 2);
    audio.PauseAudio();
    EXPECT_EQ(mixer.Paused(0), 1);
    EXPECT_EQ(mixer.Paused(channel), 1);
    // A paused one-shot does not run out.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(mixer.Playing(channel), 1);

    audio.ResumeAudio();
    EXPECT_EQ(mixer.Paused(-1), 0);
    EXPECT_TRUE(WaitFor([&] { return mixer.Playing(channel) == 0; }, std::chrono::milliseconds(3000)));
    EXPECT_EQ(mixer.Playing(0), 1);
}

TEST_F(MixerAudioTest, PositionOnAPlayingChannelIsQuietAndARefusedOneLogsTheMixerLine)
{
    const int channel = audio.PlaySample(longSample, true);
    ASSERT_GE(channel, 2);
    audio.SetChannelPosition(channel, 90, 300);
    audio.SetChannelPosition(channel, -45, 0);
    EXPECT_EQ(console.str(), "");
    EXPECT_EQ(mixer.Playing(channel), 1);

    audio.SetChannelPosition(500, 0, 10);
    const std::string logged = console.str();
    EXPECT_EQ(logged.rfind("Mix_SetPosition: ", 0), 0u) << logged;
    EXPECT_EQ(logged.find("Failed"), std::string::npos);
}

TEST_F(MixerAudioTest, NegativeChannelNeverStopsOrSilencesTheReservedLoops)
{
    audio.PlaySampleOn(0, longSample, true);
    audio.PlaySampleOn(1, longSample, true);
    audio.SetChannelVolume(0, 0);
    audio.SetChannelVolume(1, 128);
    const int failed = -1; // what a caller keeps from a failed PlaySample

    audio.HaltChannel(failed);
    audio.SetChannelVolume(failed, 77);
    audio.SetChannelPosition(failed, 180, 200);

    EXPECT_EQ(mixer.Playing(0), 1);
    EXPECT_EQ(mixer.Playing(1), 1);
    EXPECT_EQ(mixer.Volume(0, -1), 0);
    EXPECT_EQ(mixer.Volume(1, -1), 128);
    EXPECT_EQ(console.str(), "");

    audio.HaltAllChannels();
    EXPECT_EQ(mixer.Playing(-1), 0);
}

TEST_F(MixerAudioTest, BadSampleFilesLoadAsNullWithTheMixerReason)
{
    WriteWholeFile(dir.File("garbage.wav"), std::string(300, '\x5A'));
    WriteWholeFile(dir.File("cut.wav"), TinyWav(100).substr(0, 30));
    for (const char* name : {"garbage.wav", "cut.wav", "absent.wav"}) {
        console.str("");
        Mix_Chunk* sample = shortSample;
        EXPECT_FALSE(audio.LoadSample(dir.File(name), sample)) << name;
        EXPECT_EQ(sample, nullptr);
        const std::string head =
            "Loading sample: " + dir.File(name) + "\nFailed to load sample, reason:\nMix_LoadWAV: ";
        EXPECT_EQ(console.str().substr(0, head.size()), head) << console.str();
        EXPECT_EQ(audio.PlaySample(sample, false), -1);
    }
}

TEST_F(MixerAudioTest, Mp3MusicPlaysPausesAndFrees)
{
    const std::string path = std::string(ZELV_DEMO_DATA_DIR) + "/Data/Sound/hiscore.mp3";
    if (!std::filesystem::exists(path))
        GTEST_SKIP() << "no demo music at " << path;

    Mix_Music* music = nullptr;
    ASSERT_TRUE(audio.LoadMusic(path, music)) << console.str();
    EXPECT_EQ(console.str(), "Loading Music: " + path + "\nDone\n");
    audio.PlayMusic(music, true);
    EXPECT_EQ(mixer.PlayingMusic(), 1);
    audio.PauseAudio();
    EXPECT_EQ(mixer.PausedMusic(), 1);
    audio.ResumeAudio();
    EXPECT_EQ(mixer.PausedMusic(), 0);
    EXPECT_EQ(mixer.PlayingMusic(), 1);
    audio.SetMusicVolume(32);
    EXPECT_EQ(mixer.VolumeMusic(-1), 32);
    audio.FreeMusic(music);
    EXPECT_EQ(music, nullptr);
    EXPECT_EQ(mixer.PlayingMusic(), 0);
}

TEST_F(MixerAudioTest, MissingMusicLogsTheFixedNameLine)
{
    Mix_Music* music = nullptr;
    EXPECT_FALSE(audio.LoadMusic(dir.File("none.mp3"), music));
    EXPECT_EQ(music, nullptr);
    const std::string head = "Loading Music: " + dir.File("none.mp3") +
                             "\nFailed to Load music!\nMix_LoadMUS(\"music.mp3\"): ";
    EXPECT_EQ(console.str().substr(0, head.size()), head) << console.str();
    audio.PlayMusic(music, false);
    EXPECT_EQ(mixer.PlayingMusic(), 0);
}

} // namespace
