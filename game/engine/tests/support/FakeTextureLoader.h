#pragma once

#include "TextureLoader.h"

#include <filesystem>
#include <string>
#include <vector>

// Stands in for the OpenGL texture upload: hands out names 1, 2, ... for
// files that exist (or for every path when checkFiles is off) and records
// each request.
class FakeTextureLoader : public TextureLoader {
public:
    struct Request {
        std::string path;
        int minFilter, magFilter, wrapS, wrapT;
    };
    std::vector<Request> requests;
    int smoothShadingCalls = 0;
    bool checkFiles = true;

    void SetSmoothShading() override { ++smoothShadingCalls; }
    unsigned LoadTexture(const std::string& path, int minFilter, int magFilter, int wrapS, int wrapT) override
    {
        requests.push_back({path, minFilter, magFilter, wrapS, wrapT});
        if (checkFiles && !std::filesystem::is_regular_file(path))
            return 0;
        return ++lastName;
    }

private:
    unsigned lastName = 0;
};
