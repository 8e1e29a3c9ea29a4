#include "StoreModelSource.h"

#include "ResourceStore.h"
#include "ResourceTables.h"

#include <cstring>

const ObjectModel* StoreModelSource::FindModel(const char* name) const
{
    if (name == nullptr)
        return nullptr;
    const auto& table = ModelTable();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (std::strcmp(table[i].name, name) == 0)
            return &store.models[i];
    }
    return nullptr;
}
