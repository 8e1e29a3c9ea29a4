#pragma once

#include "Audio.h"
#include "Log.h"
#include "ObjectModel.h"
#include "ResourceTables.h"
#include "TextureLoader.h"

#include <SDL_mixer.h>

#include <array>
#include <string>

// Every texture, vector model and sample of the game, loaded once at
// start-up and kept until the program ends. Members are indexed by the ids of
// ResourceTables.h.
class ResourceStore {
public:
    std::array<unsigned, kTextureCount> textures{};
    std::array<ObjectModel, kModelCount> models;
    std::array<Mix_Chunk*, kSampleCount> samples{};

    // The loaders must outlive the store; samples go back to the audio layer
    // when the store goes.
    ResourceStore(TextureLoader& textureLoader, Audio& audio, Log& log = Log::Instance());
    ~ResourceStore();
    ResourceStore(const ResourceStore&) = delete;
    ResourceStore& operator=(const ResourceStore&) = delete;

    // Loads the textures, then the models (scaled once all have loaded), then
    // the samples, from "Data/..." under root ("" for the working directory).
    // The first texture or model that fails to load ends the call with false,
    // leaving what loaded before it in place and the models unscaled. A
    // sample that fails stays null and does not change the result.
    bool LoadResources(const std::string& root = "");

    unsigned Texture(TextureId id) const { return textures[Index(id)]; }
    const ObjectModel& Model(ModelId id) const { return models[Index(id)]; }
    Mix_Chunk* Sample(SampleId id) const { return samples[Index(id)]; }

    // Returns every sample to the audio layer; their slots become null.
    void FreeSamples();

private:
    bool LoadTextures(const std::string& root);
    bool LoadModels(const std::string& root);
    void LoadSamples(const std::string& root);

    TextureLoader& textureLoader;
    Audio& audio;
    Log& log;
};
