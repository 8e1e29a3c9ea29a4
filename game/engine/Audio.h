#pragma once

#include "AudioBackend.h"
#include "Log.h"

#include <cstdint>
#include <string>

// The mixer reads a sound whole into memory; no sample or piece of music of
// the game comes near ten minutes of CD-quality WAV (about 100 MB). A bigger
// file, or a path that is not a regular file (a pipe would block the mixer),
// is refused before the mixer opens it.
constexpr std::int64_t kSoundFileSizeCap = std::int64_t{128} << 20;

// The game's sound: a thin layer over the mixer that logs what it does and
// what fails and never stops the game for a sound problem. Handles are the
// mixer's own (Mix_Music, Mix_Chunk); whoever loads one owns it.
//
// Channel numbers: -1 asks for any free unreserved channel when playing.
// Elsewhere a negative channel is ignored: the mixer would apply it to every
// channel, the reserved engine and shield loops included, and callers that
// keep the -1 of a failed PlaySample must not reach them. HaltAllChannels is
// the one way to stop everything.
class Audio {
public:
    // Output format of the device.
    static constexpr int kFrequency = 44100;
    static constexpr Uint16 kFormat = AUDIO_S16LSB;
    static constexpr int kOutputChannels = 2;
    static constexpr int kChunkSize = 1024;
    static constexpr int kMaxDistance = 255;

    explicit Audio(AudioBackend& backend, Log& log = Log::Instance());

    // Opens the device and allocates the mixing channels. False (with the
    // log lines) when audio cannot start.
    bool InitAudio(int channels);
    void ShutdownAudio();

    // Music: out is null after a failed load; the players ignore null.
    bool LoadMusic(const std::string& path, Mix_Music*& out);
    void FreeMusic(Mix_Music*& music);
    void PlayMusic(Mix_Music* music, bool loop);
    void FadeInMusic(Mix_Music* music, bool loop, int milliseconds);
    void FadeOutMusic(int milliseconds);
    void SetMusicVolume(int volume);

    // Samples (WAV): out is null after a failed load; a null sample plays as
    // silence.
    bool LoadSample(const std::string& path, Mix_Chunk*& out);
    void FreeSample(Mix_Chunk*& sample);
    void SetChannelVolume(int channel, int volume);
    void PlaySampleOn(int channel, Mix_Chunk* sample, bool loop);
    // Plays on the first free unreserved channel; that channel, or -1.
    int PlaySample(Mix_Chunk* sample, bool loop);
    void HaltChannel(int channel);
    void HaltAllChannels();
    // Pans a channel: angle in degrees as the mixer takes it, distance from 0
    // (near) to 255 (far), larger ones cut to 255 and negative ones to 0.
    void SetChannelPosition(int channel, int angle, int distance);
    void ReserveChannels(int count);

    // Pause and resume every channel and the music (the pause menu).
    void PauseAudio();
    void ResumeAudio();

    AudioBackend& Backend() { return backend; }

private:
    void LogError(const char* format);

    AudioBackend& backend;
    Log& log;
};
