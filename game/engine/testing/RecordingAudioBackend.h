#pragma once

#include "AudioBackend.h"

#include <deque>
#include <set>
#include <string>
#include <vector>

// Records every mixer call as text ("HaltChannel(3)") and keeps a small
// model of the channels: how many exist, how many are reserved, which play.
// Loads succeed unless their path is in failingPaths; handles are the
// addresses of storage the fake owns, never dereferenced by the layer.
class RecordingAudioBackend : public AudioBackend {
public:
    std::vector<std::string> calls;
    std::set<std::string> failingPaths;
    bool failStart = false;
    bool failOpen = false;
    int playMusicResult = 0;
    std::string error = "mixer error";

    int channelCount = 8;
    int reserved = 0;
    std::vector<bool> playing = std::vector<bool>(8, false);

    bool StartAudioSubsystem() override { return Record("StartAudioSubsystem()"), !failStart; }
    int OpenAudio(int frequency, Uint16 format, int channels, int chunkSize) override
    {
        Record("OpenAudio(" + Str(frequency) + "," + Str(format) + "," + Str(channels) + "," +
               Str(chunkSize) + ")");
        return failOpen ? -1 : 0;
    }
    void CloseAudio() override { Record("CloseAudio()"); }
    int AllocateChannels(int count) override
    {
        Record("AllocateChannels(" + Str(count) + ")");
        if (count >= 0) {
            channelCount = count;
            playing.assign(static_cast<size_t>(count), false);
        }
        return channelCount;
    }
    int ReserveChannels(int count) override
    {
        Record("ReserveChannels(" + Str(count) + ")");
        reserved = count > channelCount ? channelCount : count;
        return reserved;
    }

    Mix_Music* LoadMusic(const char* path) override
    {
        Record(std::string("LoadMusic(") + path + ")");
        if (failingPaths.count(path) != 0)
            return nullptr;
        musicStore.emplace_back();
        return reinterpret_cast<Mix_Music*>(&musicStore.back());
    }
    void FreeMusic(Mix_Music* music) override { Record("FreeMusic(" + Handle(music) + ")"); }
    int PlayMusic(Mix_Music* music, int loops) override
    {
        Record("PlayMusic(" + Handle(music) + "," + Str(loops) + ")");
        return playMusicResult;
    }
    int FadeInMusic(Mix_Music* music, int loops, int milliseconds) override
    {
        Record("FadeInMusic(" + Handle(music) + "," + Str(loops) + "," + Str(milliseconds) + ")");
        return playMusicResult;
    }
    int FadeOutMusic(int milliseconds) override { return Record("FadeOutMusic(" + Str(milliseconds) + ")"), 1; }
    int HaltMusic() override { return Record("HaltMusic()"), 0; }
    int VolumeMusic(int volume) override { return Record("VolumeMusic(" + Str(volume) + ")"), 128; }
    void PauseMusic() override { Record("PauseMusic()"); }
    void ResumeMusic() override { Record("ResumeMusic()"); }

    Mix_Chunk* LoadWav(const char* path) override
    {
        Record(std::string("LoadWav(") + path + ")");
        if (failingPaths.count(path) != 0)
            return nullptr;
        chunkStore.emplace_back();
        chunkStore.back().allocated = 1;
        return &chunkStore.back();
    }
    void FreeChunk(Mix_Chunk* chunk) override { Record("FreeChunk(" + Handle(chunk) + ")"); }
    int Volume(int channel, int volume) override
    {
        return Record("Volume(" + Str(channel) + "," + Str(volume) + ")"), 128;
    }
    int PlayChannelTimed(int channel, Mix_Chunk* chunk, int loops, int ticks) override
    {
        Record("PlayChannelTimed(" + Str(channel) + "," + Handle(chunk) + "," + Str(loops) + "," +
               Str(ticks) + ")");
        if (channel == -1) {
            for (int i = reserved; i < channelCount; ++i) {
                if (!playing[static_cast<size_t>(i)]) {
                    playing[static_cast<size_t>(i)] = true;
                    return i;
                }
            }
            return -1;
        }
        if (channel < 0 || channel >= channelCount)
            return -1;
        playing[static_cast<size_t>(channel)] = true;
        return channel;
    }
    int HaltChannel(int channel) override
    {
        Record("HaltChannel(" + Str(channel) + ")");
        for (int i = 0; i < channelCount; ++i) {
            if (channel == -1 || channel == i)
                playing[static_cast<size_t>(i)] = false;
        }
        return 0;
    }
    int SetPosition(int channel, Sint16 angle, Uint8 distance) override
    {
        Record("SetPosition(" + Str(channel) + "," + Str(angle) + "," + Str(distance) + ")");
        return channel >= 0 && channel < channelCount ? 1 : 0;
    }
    void Pause(int channel) override { Record("Pause(" + Str(channel) + ")"); }
    void Resume(int channel) override { Record("Resume(" + Str(channel) + ")"); }

    int Playing(int channel) override
    {
        return channel >= 0 && channel < channelCount && playing[static_cast<size_t>(channel)] ? 1 : 0;
    }
    int Paused(int) override { return 0; }
    int PlayingMusic() override { return 0; }
    int PausedMusic() override { return 0; }

    std::string ErrorText() override { return error; }

    // The handle's position in the order the fake made it, e.g. "chunk#0".
    std::string Handle(const Mix_Chunk* chunk) const
    {
        int index = 0;
        for (const Mix_Chunk& c : chunkStore) {
            if (&c == chunk)
                return "chunk#" + Str(index);
            ++index;
        }
        return chunk == nullptr ? "null" : "chunk?";
    }
    std::string Handle(const Mix_Music* music) const
    {
        int index = 0;
        for (const int& m : musicStore) {
            if (reinterpret_cast<const Mix_Music*>(&m) == music)
                return "music#" + Str(index);
            ++index;
        }
        return music == nullptr ? "null" : "music?";
    }

private:
    void Record(const std::string& call) { calls.push_back(call); }
    static std::string Str(long long v) { return std::to_string(v); }

    std::deque<Mix_Chunk> chunkStore; // deque: handles stay valid as it grows
    std::deque<int> musicStore;
};
