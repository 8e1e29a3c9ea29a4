#pragma once

#include "Game.h"
#include "ModelSource.h"
#include "ObjectModel.h"

#include <map>
#include <string>

// Models by name for hull tests.
class FakeModels : public ModelSource {
public:
    std::map<std::string, ObjectModel> models;
    const ObjectModel* FindModel(const char* name) const override
    {
        auto it = models.find(name);
        return it == models.end() ? nullptr : &it->second;
    }
};

// A Game for one test with its model source installed.
struct WorldFixture {
    FakeModels models;
    Game game;
    WorldFixture() { game.models = &models; }
};
