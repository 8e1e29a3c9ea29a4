#pragma once

#include "AudioBackend.h"

// The audio backend of the game: SDL's audio subsystem and SDL_mixer.
class MixerAudioBackend : public AudioBackend {
public:
    bool StartAudioSubsystem() override;
    int OpenAudio(int frequency, Uint16 format, int channels, int chunkSize) override;
    void CloseAudio() override;
    int AllocateChannels(int count) override;
    int ReserveChannels(int count) override;

    Mix_Music* LoadMusic(const char* path) override;
    void FreeMusic(Mix_Music* music) override;
    int PlayMusic(Mix_Music* music, int loops) override;
    int FadeInMusic(Mix_Music* music, int loops, int milliseconds) override;
    int FadeOutMusic(int milliseconds) override;
    int HaltMusic() override;
    int VolumeMusic(int volume) override;
    void PauseMusic() override;
    void ResumeMusic() override;

    Mix_Chunk* LoadWav(const char* path) override;
    void FreeChunk(Mix_Chunk* chunk) override;
    int Volume(int channel, int volume) override;
    int PlayChannelTimed(int channel, Mix_Chunk* chunk, int loops, int ticks) override;
    int HaltChannel(int channel) override;
    int SetPosition(int channel, Sint16 angle, Uint8 distance) override;
    void Pause(int channel) override;
    void Resume(int channel) override;

    int Playing(int channel) override;
    int Paused(int channel) override;
    int PlayingMusic() override;
    int PausedMusic() override;

    std::string ErrorText() override;
};
