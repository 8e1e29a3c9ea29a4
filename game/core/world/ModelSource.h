#pragma once

struct ObjectModel;

// Where hulls come from: the resource store's models by name. The Game holds
// one (null until resources are loaded, which leaves every hull empty); tests
// pass their own.
class ModelSource {
public:
    virtual ~ModelSource() = default;
    // Null when the store has no model of that name.
    virtual const ObjectModel* FindModel(const char* name) const = 0;
};
