#pragma once

#include <SDL_mixer.h>

#include <string>

// The calls the audio layer makes into the sound mixer, one for one, so that
// what the layer passes on can be recorded in tests. Handles are the mixer's
// own; a fake may hand out any distinct non-null pointers it never expects
// the layer to dereference.
class AudioBackend {
public:
    virtual ~AudioBackend() = default;

    // Starts the audio subsystem of the platform; false on failure.
    virtual bool StartAudioSubsystem() = 0;
    // The mixer's calls: results as the mixer gives them (0 or -1, channel
    // numbers, counts).
    virtual int OpenAudio(int frequency, Uint16 format, int channels, int chunkSize) = 0;
    virtual void CloseAudio() = 0;
    virtual int AllocateChannels(int count) = 0;
    virtual int ReserveChannels(int count) = 0;

    virtual Mix_Music* LoadMusic(const char* path) = 0;
    virtual void FreeMusic(Mix_Music* music) = 0;
    virtual int PlayMusic(Mix_Music* music, int loops) = 0;
    virtual int FadeInMusic(Mix_Music* music, int loops, int milliseconds) = 0;
    virtual int FadeOutMusic(int milliseconds) = 0;
    virtual int HaltMusic() = 0;
    virtual int VolumeMusic(int volume) = 0;
    virtual void PauseMusic() = 0;
    virtual void ResumeMusic() = 0;

    // Loads a WAV from the file opened in mode "rb"; null on failure.
    virtual Mix_Chunk* LoadWav(const char* path) = 0;
    virtual void FreeChunk(Mix_Chunk* chunk) = 0;
    virtual int Volume(int channel, int volume) = 0;
    virtual int PlayChannelTimed(int channel, Mix_Chunk* chunk, int loops, int ticks) = 0;
    virtual int HaltChannel(int channel) = 0;
    virtual int SetPosition(int channel, Sint16 angle, Uint8 distance) = 0;
    virtual void Pause(int channel) = 0;
    virtual void Resume(int channel) = 0;

    // State queries (for callers that need to know and for tests).
    virtual int Playing(int channel) = 0;
    virtual int Paused(int channel) = 0;
    virtual int PlayingMusic() = 0;
    virtual int PausedMusic() = 0;

    // The text of the last error.
    virtual std::string ErrorText() = 0;
};
