#pragma once

#include "ModelSource.h"

class ResourceStore;

// The resource store's models looked up by their file names.
class StoreModelSource : public ModelSource {
public:
    explicit StoreModelSource(const ResourceStore& store) : store(store) {}
    const ObjectModel* FindModel(const char* name) const override;

private:
    const ResourceStore& store;
};
