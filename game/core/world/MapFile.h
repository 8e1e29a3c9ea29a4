#pragma once

#include "MapData.h"

#include <cstdint>
#include <string>
#include <vector>

// Everything a map file holds, decoded but not yet turned into actors.
struct MapFileContents {
    std::vector<Beam> beams; // stamp 0, id = record number
    std::vector<ActorRecord> actors;
    std::vector<TargetRecord> targets;
    std::vector<RotatorDef> rotators;
    std::vector<MoverDef> movers;
    std::vector<TriggerDef> triggers;
};

// "<root>/Data/Maps/<name>.map"; a root of "." gives the game's own relative
// path "Data/Maps/<name>.map".
std::string MapFilePath(const std::string& root, const std::string& name);

// Decodes the bytes of a whole map file. On failure answers false with a
// one-line reason (ending in "\n") and leaves out unchanged, so a damaged map
// never half-replaces a good one. Refused: a section count whose records
// cannot fit the bytes left, a record cut short by the end of the file, a
// non-finite coordinate, angle or size, and beams spanning more than the
// grid can hold. Name fields always end in a zero byte. Bytes after the six
// sections are ignored; a count of 0 or less means an empty section.
bool DecodeMapFile(const std::uint8_t* bytes, std::size_t size, MapFileContents& out, std::string& reason);

// Reads the file with one open and one read, then decodes it. A file that
// cannot be opened or read answers false with the reason "Cannot open ...".
bool ReadMapFile(const std::string& path, MapFileContents& out, std::string& reason);

// Whole-file read used by the loader (and by the benchmark as its reference).
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);
