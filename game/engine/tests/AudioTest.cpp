// The audio layer against a recording mixer: what it passes on, what it
// refuses, and the exact log lines.
#include "Audio.h"

#include "testing/RecordingAudioBackend.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

struct AudioFixture : ::testing::Test {
    ScratchDir dir;
    std::ostringstream console;
    Log log{dir.File("Logfile.txt"), console};
    RecordingAudioBackend mixer;
    Audio audio{mixer, log};

    void SetUp() override
    {
        log.SetEnabled(true);
        console.str("");
    }
    std::string Logged() const { return console.str(); }
};

TEST_F(AudioFixture, InitOpensStereo44kWithChunk1024AndLogsChannelCount)
{
    ASSERT_TRUE(audio.InitAudio(128));
    EXPECT_EQ(mixer.calls, (Calls{"StartAudioSubsystem()", "OpenAudio(44100," + std::to_string(AUDIO_S16LSB) +
                                                                ",2,1024)",
                                  "AllocateChannels(128)"}));
    EXPECT_EQ(Logged(), "[Initializing Audio...]\nNumber of channels allocated: 128\nComplete.\n");

    console.str("");
    audio.ShutdownAudio();
    EXPECT_EQ(mixer.calls.back(), "CloseAudio()");
    EXPECT_EQ(Logged(), "Shutting down Audio...\nDone.\n");
}

TEST_F(AudioFixture, InitFailuresLogTheStepAndTheMixerText)
{
    mixer.failStart = true;
    EXPECT_FALSE(audio.InitAudio(128));
    EXPECT_EQ(Logged(), "[Initializing Audio...]\nFailed to Initialize audio!\nSDL_Init: mixer error\n");

    console.str("");
    mixer.failStart = false;
    mixer.failOpen = true;
    mixer.calls.clear();
    EXPECT_FALSE(audio.InitAudio(128));
    EXPECT_EQ(Logged(), "[Initializing Audio...]\nFailed to Initialize audio!\nMix_OpenAudio: mixer error\n");
    EXPECT_EQ(mixer.calls.size(), 2u) << "no channels are allocated after a failed open";
}

TEST_F(AudioFixture, MusicLoadLogsPathAndFixedNameOnFailure)
{
    Mix_Music* music = nullptr;
    ASSERT_TRUE(audio.LoadMusic("Data/Sound/hiscore.mp3", music));
    EXPECT_NE(music, nullptr);
    EXPECT_EQ(Logged(), "Loading Music: Data/Sound/hiscore.mp3\nDone\n");

    console.str("");
    mixer.failingPaths.insert("Data/Sound/none.mp3");
    Mix_Music* missing = music;
    EXPECT_FALSE(audio.LoadMusic("Data/Sound/none.mp3", missing));
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(Logged(), "Loading Music: Data/Sound/none.mp3\nFailed to Load music!\n"
                        "Mix_LoadMUS(\"music.mp3\"): mixer error\n");

    mixer.calls.clear();
    audio.FreeMusic(music);
    EXPECT_EQ(music, nullptr);
    EXPECT_EQ(mixer.calls, (Calls{"HaltMusic()", "FreeMusic(music#0)"}));
}

TEST_F(AudioFixture, NullMusicIsIgnoredAndLoopFlagMapsToMixerLoops)
{
    Mix_Music* none = nullptr;
    audio.FreeMusic(none);
    audio.PlayMusic(nullptr, true);
    audio.FadeInMusic(nullptr, false, 500);
    EXPECT_TRUE(mixer.calls.empty());
    EXPECT_EQ(none, nullptr);

    Mix_Music* music = nullptr;
    ASSERT_TRUE(audio.LoadMusic("a.mp3", music));
    mixer.calls.clear();
    audio.PlayMusic(music, false);
    audio.PlayMusic(music, true);
    audio.FadeInMusic(music, true, 1000);
    audio.FadeInMusic(music, false, 250);
    audio.FadeOutMusic(700);
    audio.SetMusicVolume(64);
    EXPECT_EQ(mixer.calls, (Calls{"PlayMusic(music#0,1)", "PlayMusic(music#0,-1)", "FadeInMusic(music#0,-1,1000)",
                                  "FadeInMusic(music#0,1,250)", "FadeOutMusic(700)", "VolumeMusic(64)"}));
}

TEST_F(AudioFixture, FailedMusicPlayLogsWhichCallFailed)
{
    Mix_Music* music = nullptr;
    ASSERT_TRUE(audio.LoadMusic("a.mp3", music));
    console.str("");
    mixer.playMusicResult = -1;
    audio.PlayMusic(music, true);
    audio.FadeInMusic(music, true, 10);
    EXPECT_EQ(Logged(), "Failed to play music reason:\nMix_PlayMusic: mixer error\n"
                        "Failed to play music reason:\nMix_FadeInMusic: mixer error\n");
}

TEST_F(AudioFixture, SampleLoadLogsPathAndFailureLeavesNull)
{
    Mix_Chunk* sample = nullptr;
    ASSERT_TRUE(audio.LoadSample("Data/Sound/ui1.wav", sample));
    EXPECT_NE(sample, nullptr);
    EXPECT_EQ(Logged(), "Loading sample: Data/Sound/ui1.wav\n");
    EXPECT_EQ(mixer.calls.back(), "LoadWav(Data/Sound/ui1.wav)");

    console.str("");
    mixer.failingPaths.insert("Data/Sound/ui2.wav");
    Mix_Chunk* missing = sample;
    EXPECT_FALSE(audio.LoadSample("Data/Sound/ui2.wav", missing));
    EXPECT_EQ(missing, nullptr);
    EXPECT_EQ(Logged(), "Loading sample: Data/Sound/ui2.wav\nFailed to load sample, reason:\nMix_LoadWAV: mixer error\n");

    mixer.calls.clear();
    audio.FreeSample(sample);
    audio.FreeSample(missing);
    EXPECT_EQ(sample, nullptr);
    EXPECT_EQ(mixer.calls, (Calls{"FreeChunk(chunk#0)"}));
}

// A sound path that is no sound-sized file never reaches the mixer (a pipe
// would block it, a sparse terabyte would be read whole).
TEST_F(AudioFixture, NonFilesAndOversizedSoundsNeverReachTheMixer)
{
    std::filesystem::create_directory(dir.File("folder.wav"));
    WriteWholeFile(dir.File("huge.mp3"), "");
    std::filesystem::resize_file(dir.File("huge.mp3"), kSoundFileSizeCap + 1);
    Mix_Chunk* sample = nullptr;
    EXPECT_FALSE(audio.LoadSample(dir.File("folder.wav"), sample));
    EXPECT_EQ(sample, nullptr);
    EXPECT_EQ(Logged(), "Loading sample: " + dir.File("folder.wav") + "\nFailed to load sample, reason:\nRefused " +
                            dir.File("folder.wav") + ": is a directory, not a file\n");
    console.str("");
    Mix_Music* music = nullptr;
    EXPECT_FALSE(audio.LoadMusic(dir.File("huge.mp3"), music));
    EXPECT_EQ(music, nullptr);
    EXPECT_EQ(Logged().rfind("Loading Music: " + dir.File("huge.mp3") + "\nFailed to Load music!\nRefused " +
                                 dir.File("huge.mp3") + ": holds 134217729 bytes",
                             0),
              0u)
        << Logged();
    EXPECT_TRUE(mixer.calls.empty());
}

TEST_F(AudioFixture, PlayingUsesFreeUnreservedChannelsUntilNoneIsLeft)
{
    ASSERT_TRUE(audio.InitAudio(4));
    audio.ReserveChannels(2);
    Mix_Chunk* sample = nullptr;
    ASSERT_TRUE(audio.LoadSample("s.wav", sample));
    console.str("");
    mixer.calls.clear();

    EXPECT_EQ(audio.PlaySample(sample, false), 2);
    EXPECT_EQ(audio.PlaySample(sample, true), 3);
    EXPECT_EQ(Logged(), "");
    EXPECT_EQ(audio.PlaySample(sample, false), -1);
    EXPECT_EQ(Logged(), "Failed to play sample, reason:\nMix_PlayChannel: mixer error\n");
    EXPECT_EQ(mixer.calls, (Calls{"PlayChannelTimed(-1,chunk#0,0,-1)", "PlayChannelTimed(-1,chunk#0,-1,-1)",
                                  "PlayChannelTimed(-1,chunk#0,0,-1)"}));

    // A given channel, reserved or not, is the caller's to use.
    mixer.calls.clear();
    audio.PlaySampleOn(0, sample, true);
    audio.PlaySampleOn(1, sample, false);
    EXPECT_EQ(mixer.calls, (Calls{"PlayChannelTimed(0,chunk#0,-1,-1)", "PlayChannelTimed(1,chunk#0,0,-1)"}));

    console.str("");
    audio.PlaySampleOn(-1, sample, false);
    EXPECT_EQ(Logged(), "Failed to play sample, reason:\nMix_PlayChannel: mixer error\n");
}

TEST_F(AudioFixture, NullSampleIsSilentAndUnlogged)
{
    EXPECT_EQ(audio.PlaySample(nullptr, true), -1);
    audio.PlaySampleOn(3, nullptr, false);
    EXPECT_TRUE(mixer.calls.empty());
    EXPECT_EQ(Logged(), "");
}

TEST_F(AudioFixture, NegativeChannelNeverReachesTheMixerExceptThroughHaltAll)
{
    for (int channel : {-1, -2, -1000}) {
        audio.HaltChannel(channel);
        audio.SetChannelVolume(channel, 0);
        audio.SetChannelPosition(channel, 90, 10);
    }
    EXPECT_TRUE(mixer.calls.empty());
    EXPECT_EQ(Logged(), "");

    audio.HaltChannel(5);
    audio.SetChannelVolume(0, 128);
    audio.HaltAllChannels();
    EXPECT_EQ(mixer.calls, (Calls{"HaltChannel(5)", "Volume(0,128)", "HaltChannel(-1)"}));
}

TEST_F(AudioFixture, PositionCutsDistanceAndFitsAngle)
{
    struct Case {
        int angle, distance;
        std::string call;
    };
    const Case cases[] = {
        {90, 100, "SetPosition(3,90,100)"},   {270, 300, "SetPosition(3,270,255)"},
        {0, 255, "SetPosition(3,0,255)"},     {45, -20, "SetPosition(3,45,0)"},
        {-90, 0, "SetPosition(3,-90,0)"},     {360 * 100 + 30, 1, "SetPosition(3,30,1)"},
        {-(360 * 200 + 45), 2, "SetPosition(3,-45,2)"},
    };
    for (const Case& c : cases) {
        mixer.calls.clear();
        audio.SetChannelPosition(3, c.angle, c.distance);
        EXPECT_EQ(mixer.calls, Calls{c.call}) << c.angle << " " << c.distance;
    }
    EXPECT_EQ(Logged(), "");

    // A channel the mixer refuses: only the mixer's line.
    audio.SetChannelPosition(50, 0, 0);
    EXPECT_EQ(Logged(), "Mix_SetPosition: mixer error\n");
}

TEST_F(AudioFixture, PauseAndResumeCoverEveryChannelThenTheMusic)
{
    audio.PauseAudio();
    audio.ResumeAudio();
    EXPECT_EQ(mixer.calls, (Calls{"Pause(-1)", "PauseMusic()", "Resume(-1)", "ResumeMusic()"}));
}

} // namespace
