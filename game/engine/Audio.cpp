#include "Audio.h"

#include "DataFile.h"

#include <algorithm>

namespace {

constexpr int kAllChannels = -1;
constexpr int kForever = -1;
constexpr int kNoTimeLimit = -1;

} // namespace

Audio::Audio(AudioBackend& backend, Log& log) : backend(backend), log(log) {}

void Audio::LogError(const char* format)
{
    log.Write(LogFormat(format, backend.ErrorText().c_str()));
}

bool Audio::InitAudio(int channels)
{
    log.Write("[Initializing Audio...]\n");
    if (!backend.StartAudioSubsystem()) {
        log.Write("Failed to Initialize audio!\n");
        LogError("SDL_Init: %s\n");
        return false;
    }
    if (backend.OpenAudio(kFrequency, kFormat, kOutputChannels, kChunkSize) != 0) {
        log.Write("Failed to Initialize audio!\n");
        LogError("Mix_OpenAudio: %s\n");
        return false;
    }
    const int allocated = backend.AllocateChannels(channels);
    log.Writef("Number of channels allocated: %i\n", allocated);
    log.Write("Complete.\n");
    return true;
}

void Audio::ShutdownAudio()
{
    log.Write("Shutting down Audio...\n");
    backend.CloseAudio();
    log.Write("Done.\n");
}

bool Audio::LoadMusic(const std::string& path, Mix_Music*& out)
{
    log.Write("Loading Music: ");
    log.Write(path);
    log.Write("\n");
    out = nullptr;
    const DataFileVerdict verdict = InspectDataFile(path, kSoundFileSizeCap);
    if (verdict.state == DataFileState::Refused) {
        log.Write("Failed to Load music!\n");
        log.Write(DataFileRefusal(path, verdict));
        return false;
    }
    out = backend.LoadMusic(path.c_str());
    if (out == nullptr) {
        log.Write("Failed to Load music!\n");
        // The file name in this line is fixed text whatever the path.
        LogError("Mix_LoadMUS(\"music.mp3\"): %s\n");
        return false;
    }
    log.Write("Done\n");
    return true;
}

void Audio::FreeMusic(Mix_Music*& music)
{
    if (music != nullptr) {
        backend.HaltMusic();
        backend.FreeMusic(music);
    }
    music = nullptr;
}

void Audio::PlayMusic(Mix_Music* music, bool loop)
{
    if (music == nullptr)
        return;
    if (backend.PlayMusic(music, loop ? kForever : 1) == -1) {
        log.Write("Failed to play music reason:\n");
        LogError("Mix_PlayMusic: %s\n");
    }
}

void Audio::FadeInMusic(Mix_Music* music, bool loop, int milliseconds)
{
    if (music == nullptr)
        return;
    if (backend.FadeInMusic(music, loop ? kForever : 1, milliseconds) == -1) {
        log.Write("Failed to play music reason:\n");
        LogError("Mix_FadeInMusic: %s\n");
    }
}

void Audio::FadeOutMusic(int milliseconds)
{
    backend.FadeOutMusic(milliseconds);
}

void Audio::SetMusicVolume(int volume)
{
    backend.VolumeMusic(volume);
}

bool Audio::LoadSample(const std::string& path, Mix_Chunk*& out)
{
    log.Write("Loading sample: ");
    log.Write(path);
    log.Write("\n");
    out = nullptr;
    const DataFileVerdict verdict = InspectDataFile(path, kSoundFileSizeCap);
    if (verdict.state == DataFileState::Refused) {
        log.Write("Failed to load sample, reason:\n");
        log.Write(DataFileRefusal(path, verdict));
        return false;
    }
    out = backend.LoadWav(path.c_str());
    if (out == nullptr) {
        log.Write("Failed to load sample, reason:\n");
        LogError("Mix_LoadWAV: %s\n");
        return false;
    }
    return true;
}

void Audio::FreeSample(Mix_Chunk*& sample)
{
    if (sample != nullptr)
        backend.FreeChunk(sample);
    sample = nullptr;
}

void Audio::SetChannelVolume(int channel, int volume)
{
    if (channel < 0)
        return;
    backend.Volume(channel, volume);
}

void Audio::PlaySampleOn(int channel, Mix_Chunk* sample, bool loop)
{
    if (sample == nullptr)
        return;
    if (backend.PlayChannelTimed(channel, sample, loop ? kForever : 0, kNoTimeLimit) < 0) {
        log.Write("Failed to play sample, reason:\n");
        LogError("Mix_PlayChannel: %s\n");
    }
}

int Audio::PlaySample(Mix_Chunk* sample, bool loop)
{
    if (sample == nullptr)
        return -1;
    const int channel = backend.PlayChannelTimed(-1, sample, loop ? kForever : 0, kNoTimeLimit);
    if (channel < 0) {
        log.Write("Failed to play sample, reason:\n");
        LogError("Mix_PlayChannel: %s\n");
        return -1;
    }
    return channel;
}

void Audio::HaltChannel(int channel)
{
    if (channel < 0)
        return;
    backend.HaltChannel(channel);
}

void Audio::HaltAllChannels()
{
    backend.HaltChannel(kAllChannels);
}

void Audio::SetChannelPosition(int channel, int angle, int distance)
{
    if (channel < 0)
        return;
    // The mixer reduces the angle modulo 360 by its magnitude; reducing here
    // first keeps that result and fits any int into its 16-bit argument.
    const auto mixerAngle = static_cast<Sint16>(angle % 360);
    const auto mixerDistance = static_cast<Uint8>(std::clamp(distance, 0, kMaxDistance));
    if (backend.SetPosition(channel, mixerAngle, mixerDistance) == 0)
        LogError("Mix_SetPosition: %s\n");
}

void Audio::ReserveChannels(int count)
{
    backend.ReserveChannels(count);
}

void Audio::PauseAudio()
{
    backend.Pause(kAllChannels);
    backend.PauseMusic();
}

void Audio::ResumeAudio()
{
    backend.Resume(kAllChannels);
    backend.ResumeMusic();
}
