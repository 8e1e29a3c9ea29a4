#pragma once

#include "MapFile.h"

#include <memory>
#include <vector>

class Entity;
class Log;

// Turns decoded map records into entity templates, in file order: actors,
// targets, rotators, movers, trigger zones. Each is made by CreateEntity
// (which logs "Created ...") with its pose and its type's fields; templates
// are never spawned. A record of a type without a class logs
// "Failed to Create entity!" and is skipped.
void BuildEntityTemplates(const MapFileContents& contents, std::vector<std::unique_ptr<Entity>>& templates,
                          Log& log);

// Whether loading this map saves the game: every map but "splash" and "home"
// (ignoring case).
bool MapSavesGame(const char* name);
