#pragma once

#include "Beam.h"
#include "HullCircle.h"
#include "Log.h"
#include "Vec2.h"

#include <cstdint>
#include <string>
#include <vector>

class BinaryFile;

// Vector model files "Data/Objects/<name>.obj", little-endian, no header:
//   float origin x, float origin y, int32 beam count n,
//   n beam records of 56 bytes: A, B, colour A, colour B, direction, normal
//     (the direction comes before the normal, unlike Beam in memory),
//   int32 circle count m,
//   m circle records of 12 bytes: offset x, offset y, radius.
constexpr int kBeamRecordBytes = 56;
constexpr int kCircleRecordBytes = 12;
// Beam ids are 16 bits wide, so no model means more than 65536 beams (nor
// as many circles): the largest file the format can mean is about 4.5 MB. A
// bigger file, or a path that is not a regular file, is refused unread.
constexpr std::int64_t kModelRecordLimit = 65536;
constexpr std::int64_t kModelFileSizeCap = 16 + kModelRecordLimit * (kBeamRecordBytes + kCircleRecordBytes);

// Reads "Data/Objects/<name>.obj" into the two lists, then makes the model's
// points relative to the stored origin. Logs "Loaded <name>.obj" or
// "Failed to load <name>.obj!". A file shorter than its counts promise loads
// with zero fields for the missing bytes of a final partial record; a count
// that is negative or needs more records than the bytes left could start
// fails the load. On failure, records appended before it stay in the lists;
// when the file cannot be opened the lists are untouched.
bool LoadObjectModel(std::vector<Beam>& beams, std::vector<HullCircle>& circles, const char* name,
                     Log& log = Log::Instance());

// The same for an explicit path; name is what the log lines show.
bool LoadObjectModelFile(std::vector<Beam>& beams, std::vector<HullCircle>& circles,
                         const std::string& path, const std::string& name, Log& log);

// One 56-byte beam record at the file's offset, in file order (direction
// before normal) into the Beam's fields by name. Fields the file has no bytes
// left for keep their values. False only when the file cannot be reopened.
// Maps store their beams in the same record.
bool ReadBeamRecord(BinaryFile& file, Beam& beam);

// Appends the 56-byte record of a beam (little-endian).
void AppendBeamRecord(std::vector<std::uint8_t>& out, const Beam& beam);

// The bytes of a model file. Circles store their offset and radius; beams
// their ends, colours, direction and normal.
std::vector<std::uint8_t> EncodeObjectModel(Vec2 origin, const std::vector<Beam>& beams,
                                            const std::vector<HullCircle>& circles);

// Writes a model file (created or replaced). False when it could not be
// written completely.
bool WriteObjectModel(const std::string& path, Vec2 origin, const std::vector<Beam>& beams,
                      const std::vector<HullCircle>& circles);
