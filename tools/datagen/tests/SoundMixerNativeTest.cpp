// The generated samples and music load through SDL_mixer itself, the way
// the game loads them (a dummy audio driver stands in for a sound card).
#include <SDL.h>
#include <SDL_mixer.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

const fs::path kSound = fs::path(ZELV_DEMO_DATA_DIR) / "Data" / "Sound";

class MixerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
        ASSERT_EQ(Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
    }
    void TearDown() override
    {
        Mix_CloseAudio();
        SDL_Quit();
    }
};

}  // namespace

TEST_F(MixerTest, EverySampleLoadsAsAChunkOfItsLength)
{
    int loaded = 0;
    for (const auto& entry : fs::directory_iterator(kSound)) {
        if (entry.path().extension() != ".wav") continue;
        Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(entry.path().c_str(), "rb"), 1);
        ASSERT_NE(chunk, nullptr) << entry.path().filename() << ": " << Mix_GetError();
        // Mono 16-bit becomes stereo 16-bit at the same rate: four bytes a frame.
        const std::uintmax_t frames = (fs::file_size(entry.path()) - 44) / 2;
        EXPECT_EQ(chunk->alen, frames * 4) << entry.path().filename();
        Mix_FreeChunk(chunk);
        ++loaded;
    }
    EXPECT_EQ(loaded, 47);
}

TEST_F(MixerTest, EveryTuneLoadsAndPlays)
{
    for (const char* name : {"DovirEzuded Away.mp3", "VovadiVivuz.mp3", "Dizura Zeve.mp3", "hiscore.mp3",
                             "Credits.mp3"}) {
        Mix_Music* music = Mix_LoadMUS((kSound / name).c_str());
        ASSERT_NE(music, nullptr) << name << ": " << Mix_GetError();
        EXPECT_EQ(Mix_PlayMusic(music, 1), 0) << name << ": " << Mix_GetError();
        EXPECT_EQ(Mix_PlayingMusic(), 1) << name;
        Mix_HaltMusic();
        Mix_FreeMusic(music);
    }
}
