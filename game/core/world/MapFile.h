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

// Beam ids are 16 bits wide, so a map holds at most 65536 beams; the same
// bound on every other section, at its longest record, gives the largest file
// the format can mean (about 21 MB). A bigger file is refused unread.
constexpr std::int64_t kMapSectionRecordLimit = 65536;
constexpr std::int64_t kMapFileSizeCap =
    6 * 4 + kMapSectionRecordLimit * (kMapBeamRecordBytes + kLaserRecordBytes + kTargetRecordBytes +
                                      kRotatorRecordBytes + kMoverRecordBytes + kTriggerRecordBytes);

// "<root>/Data/Maps/<name>.map"; a root of "." gives the game's own relative
// path "Data/Maps/<name>.map".
std::string MapFilePath(const std::string& root, const std::string& name);

// Decodes the bytes of a whole map file. On failure answers false with a
// one-line reason (ending in "\n") and leaves out unchanged, so a damaged map
// never half-replaces a good one. Refused: a section count whose records
// cannot fit the bytes left, a record cut short by the end of the file, a
// non-finite coordinate, angle or size, beams spanning more than the grid can
// hold, an empty file and a count cut short. Name fields always end in a zero
// byte. Bytes after the six sections are ignored; a count of 0 or less means
// an empty section, and so does a count missing because the file ends right
// after the section before it (maps made by other tools end so).
bool DecodeMapFile(const std::uint8_t* bytes, std::size_t size, MapFileContents& out, std::string& reason);

// Reads the file with one open and one read, then decodes it. A file that
// cannot be opened or read answers false with the reason "Cannot open ...";
// a path that is not a regular file, or a file above kMapFileSizeCap, is
// refused unread ("Refused <path>: <why>").
bool ReadMapFile(const std::string& path, MapFileContents& out, std::string& reason);

// Whole-file read used by the loader (and by the benchmark as its reference):
// only a regular file of at most sizeCap bytes, read in one piece.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes,
                   std::int64_t sizeCap = kMapFileSizeCap);
