#include "ResourceStore.h"

#include "ModelFile.h"
#include "ModelTransform.h"

#include <GL/gl.h>

#include <vector>

namespace {

std::string DataPath(const std::string& root, const std::string& relative)
{
    if (root.empty() || root.back() == '/')
        return root + relative;
    return root + "/" + relative;
}

int GlFilter(TextureFilter filter)
{
    return filter == TextureFilter::Linear ? GL_LINEAR : GL_NEAREST;
}

} // namespace

ResourceStore::ResourceStore(TextureLoader& textureLoader, Audio& audio, Log& log)
    : textureLoader(textureLoader), audio(audio), log(log)
{
}

ResourceStore::~ResourceStore()
{
    FreeSamples();
}

bool ResourceStore::LoadResources(const std::string& root)
{
    textureLoader.SetSmoothShading();
    if (!LoadTextures(root))
        return false;
    if (!LoadModels(root))
        return false;
    LoadSamples(root);
    return true;
}

bool ResourceStore::LoadTextures(const std::string& root)
{
    for (std::size_t i = 0; i < kTextureCount; ++i) {
        const TextureEntry& entry = TextureTable()[i];
        const int filter = GlFilter(entry.filter);
        textures[i] = textureLoader.LoadTexture(DataPath(root, std::string("Data/Gfx/") + entry.name + ".png"),
                                                filter, filter, GL_REPEAT, GL_REPEAT);
        if (textures[i] == 0)
            return false;
    }
    return true;
}

bool ResourceStore::LoadModels(const std::string& root)
{
    const auto& table = ModelTable();
    std::vector<HullCircle> scratch;
    std::array<std::vector<HullCircle>, kSharedCircleListCount> shared;

    // A shared list is one list in the store's own keeping; both models of
    // its pair get a copy of it, whether loading finished or stopped early.
    const auto publishShared = [&] {
        for (std::size_t i = 0; i < kModelCount; ++i) {
            if (table[i].circles == CircleList::Shared)
                models[i].circles = shared[static_cast<std::size_t>(table[i].sharedList)];
        }
    };
    const auto circlesOf = [&](std::size_t i) -> std::vector<HullCircle>& {
        switch (table[i].circles) {
        case CircleList::Own:
            return models[i].circles;
        case CircleList::Shared:
            return shared[static_cast<std::size_t>(table[i].sharedList)];
        case CircleList::None:
            break;
        }
        return scratch;
    };

    for (std::size_t i = 0; i < kModelCount; ++i) {
        const std::string name = table[i].name;
        if (!LoadObjectModelFile(models[i].beams, circlesOf(i), DataPath(root, "Data/Objects/" + name + ".obj"),
                                 name, log)) {
            publishShared();
            return false;
        }
    }

    std::vector<HullCircle> noCircles;
    for (std::size_t i = 0; i < kModelCount; ++i) {
        const ModelEntry& entry = table[i];
        if (entry.scale == 1.0f)
            continue;
        const bool ownsScaling = entry.circles == CircleList::Own ||
                                 (entry.circles == CircleList::Shared && entry.scalesSharedList);
        ScaleModel(models[i].beams, ownsScaling ? circlesOf(i) : noCircles, entry.scale);
    }
    publishShared();
    return true;
}

void ResourceStore::LoadSamples(const std::string& root)
{
    for (std::size_t i = 0; i < kSampleCount; ++i) {
        audio.FreeSample(samples[i]);
        audio.LoadSample(DataPath(root, std::string("Data/Sound/") + SampleFiles()[i]), samples[i]);
    }
}

void ResourceStore::FreeSamples()
{
    for (Mix_Chunk*& sample : samples)
        audio.FreeSample(sample);
}
