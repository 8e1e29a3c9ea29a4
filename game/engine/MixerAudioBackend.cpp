#include "MixerAudioBackend.h"

#include <SDL.h>

bool MixerAudioBackend::StartAudioSubsystem()
{
    return SDL_Init(SDL_INIT_AUDIO) == 0;
}

int MixerAudioBackend::OpenAudio(int frequency, Uint16 format, int channels, int chunkSize)
{
    return Mix_OpenAudio(frequency, format, channels, chunkSize);
}

void MixerAudioBackend::CloseAudio()
{
    Mix_CloseAudio();
}

int MixerAudioBackend::AllocateChannels(int count)
{
    return Mix_AllocateChannels(count);
}

int MixerAudioBackend::ReserveChannels(int count)
{
    return Mix_ReserveChannels(count);
}

Mix_Music* MixerAudioBackend::LoadMusic(const char* path)
{
    return Mix_LoadMUS(path);
}

void MixerAudioBackend::FreeMusic(Mix_Music* music)
{
    Mix_FreeMusic(music);
}

int MixerAudioBackend::PlayMusic(Mix_Music* music, int loops)
{
    return Mix_PlayMusic(music, loops);
}

int MixerAudioBackend::FadeInMusic(Mix_Music* music, int loops, int milliseconds)
{
    return Mix_FadeInMusic(music, loops, milliseconds);
}

int MixerAudioBackend::FadeOutMusic(int milliseconds)
{
    return Mix_FadeOutMusic(milliseconds);
}

int MixerAudioBackend::HaltMusic()
{
    return Mix_HaltMusic();
}

int MixerAudioBackend::VolumeMusic(int volume)
{
    return Mix_VolumeMusic(volume);
}

void MixerAudioBackend::PauseMusic()
{
    Mix_PauseMusic();
}

void MixerAudioBackend::ResumeMusic()
{
    Mix_ResumeMusic();
}

Mix_Chunk* MixerAudioBackend::LoadWav(const char* path)
{
    SDL_RWops* source = SDL_RWFromFile(path, "rb");
    if (source == nullptr)
        return nullptr; // the open set the error text
    return Mix_LoadWAV_RW(source, 1);
}

void MixerAudioBackend::FreeChunk(Mix_Chunk* chunk)
{
    Mix_FreeChunk(chunk);
}

int MixerAudioBackend::Volume(int channel, int volume)
{
    return Mix_Volume(channel, volume);
}

int MixerAudioBackend::PlayChannelTimed(int channel, Mix_Chunk* chunk, int loops, int ticks)
{
    return Mix_PlayChannelTimed(channel, chunk, loops, ticks);
}

int MixerAudioBackend::HaltChannel(int channel)
{
    return Mix_HaltChannel(channel);
}

int MixerAudioBackend::SetPosition(int channel, Sint16 angle, Uint8 distance)
{
    return Mix_SetPosition(channel, angle, distance);
}

void MixerAudioBackend::Pause(int channel)
{
    Mix_Pause(channel);
}

void MixerAudioBackend::Resume(int channel)
{
    Mix_Resume(channel);
}

int MixerAudioBackend::Playing(int channel)
{
    return Mix_Playing(channel);
}

int MixerAudioBackend::Paused(int channel)
{
    return Mix_Paused(channel);
}

int MixerAudioBackend::PlayingMusic()
{
    return Mix_PlayingMusic();
}

int MixerAudioBackend::PausedMusic()
{
    return Mix_PausedMusic();
}

std::string MixerAudioBackend::ErrorText()
{
    const char* text = Mix_GetError();
    return text != nullptr ? text : "";
}
