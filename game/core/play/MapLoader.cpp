#include "MapLoader.h"

#include "Entity.h"
#include "EntityFactory.h"
#include "EntityName.h"
#include "Log.h"

namespace {

static_assert(kEntityNameBytes == kMapNameFieldBytes, "actor names are map name fields");

template <typename Record>
void Append(const std::vector<Record>& records, Entity* (*create)(const Record&, Log&),
            std::vector<std::unique_ptr<Entity>>& templates, Log& log)
{
    for (const Record& record : records) {
        std::unique_ptr<Entity> entity(create(record, log));
        if (entity)
            templates.push_back(std::move(entity));
    }
}

} // namespace

void BuildEntityTemplates(const MapFileContents& contents, std::vector<std::unique_ptr<Entity>>& templates,
                          Log& log)
{
    // Each actor class reads its own record's fields (the factory and
    // Entity::ReadMapRecord); the loader only keeps the file's order.
    templates.reserve(templates.size() + contents.actors.size() + contents.targets.size() +
                      contents.rotators.size() + contents.movers.size() + contents.triggers.size());
    Append(contents.actors, CreateActorTemplate, templates, log);
    Append(contents.targets, CreateTargetTemplate, templates, log);
    Append(contents.rotators, CreateRotatorTemplate, templates, log);
    Append(contents.movers, CreateMoverTemplate, templates, log);
    Append(contents.triggers, CreateTriggerTemplate, templates, log);
}

bool MapSavesGame(const char* name)
{
    return !NamesEqual(name, "splash") && !NamesEqual(name, "home");
}
