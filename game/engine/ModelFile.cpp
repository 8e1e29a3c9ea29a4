#include "ModelFile.h"

#include "BinaryFile.h"
#include "DataFile.h"
#include "ModelTransform.h"
#include "RecordBounds.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace {

bool CountFits(std::int32_t count, std::int64_t fileLength, const BinaryFile& file, int recordBytes)
{
    return RecordCountFits(count, fileLength - file.Offset(), recordBytes);
}

bool ReadCircle(BinaryFile& file, HullCircle& circle)
{
    float offset[2] = {0.0f, 0.0f};
    float radius = 0.0f;
    if (!file.Read8(offset) || !file.Read4(&radius))
        return false;
    circle.offsetX = offset[0];
    circle.offsetY = offset[1];
    circle.radius = radius;
    return true;
}

bool ReadModel(BinaryFile& file, std::int64_t fileLength, std::vector<Beam>& beams,
               std::vector<HullCircle>& circles, Vec2& origin)
{
    std::int32_t beamCount = 0;
    if (!file.Read8(&origin) || !file.Read4(&beamCount))
        return false;
    if (!CountFits(beamCount, fileLength, file, kBeamRecordBytes))
        return false;
    for (std::int32_t i = 0; i < beamCount; ++i) {
        Beam beam;
        if (!ReadBeamRecord(file, beam))
            return false;
        beams.push_back(beam);
    }

    std::int32_t circleCount = 0;
    if (!file.Read4(&circleCount))
        return false;
    if (!CountFits(circleCount, fileLength, file, kCircleRecordBytes))
        return false;
    for (std::int32_t i = 0; i < circleCount; ++i) {
        HullCircle circle;
        if (!ReadCircle(file, circle))
            return false;
        circles.push_back(circle);
    }
    return true;
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

void PutFloat(std::vector<std::uint8_t>& out, float f)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    PutU32(out, bits);
}

void PutVec(std::vector<std::uint8_t>& out, Vec2 v)
{
    PutFloat(out, v.x);
    PutFloat(out, v.y);
}

void PutRgb(std::vector<std::uint8_t>& out, const Rgb& c)
{
    PutFloat(out, c.r);
    PutFloat(out, c.g);
    PutFloat(out, c.b);
}

} // namespace

bool ReadBeamRecord(BinaryFile& file, Beam& beam)
{
    // File order: A, B, colour A, colour B, direction, normal.
    return file.Read8(&beam.a) && file.Read8(&beam.b) && file.Read12(&beam.colourA) &&
           file.Read12(&beam.colourB) && file.Read8(&beam.direction) && file.Read8(&beam.normal);
}

bool LoadObjectModelFile(std::vector<Beam>& beams, std::vector<HullCircle>& circles,
                         const std::string& path, const std::string& name, Log& log)
{
    BinaryFile file;
    bool loaded = false;
    if (CheckDataFile(path, kModelFileSizeCap, log) != DataFileState::Refused && file.Open(path, "rb")) {
        beams.clear();
        circles.clear();
        std::error_code error;
        const auto length = std::filesystem::file_size(path, error);
        Vec2 origin;
        if (!error && ReadModel(file, static_cast<std::int64_t>(length), beams, circles, origin)) {
            OffsetModel(beams, circles, origin.x, origin.y);
            loaded = true;
        }
    }
    if (!loaded) {
        log.Write("Failed to load ");
        log.Write(name);
        log.Write(".obj!\n");
        return false;
    }
    log.Write("Loaded ");
    log.Write(name);
    log.Write(".obj\n");
    return true;
}

bool LoadObjectModel(std::vector<Beam>& beams, std::vector<HullCircle>& circles, const char* name,
                     Log& log)
{
    const std::string modelName = name != nullptr ? name : "";
    return LoadObjectModelFile(beams, circles, "Data/Objects/" + modelName + ".obj", modelName, log);
}

void AppendBeamRecord(std::vector<std::uint8_t>& out, const Beam& beam)
{
    PutVec(out, beam.a);
    PutVec(out, beam.b);
    PutRgb(out, beam.colourA);
    PutRgb(out, beam.colourB);
    PutVec(out, beam.direction);
    PutVec(out, beam.normal);
}

std::vector<std::uint8_t> EncodeObjectModel(Vec2 origin, const std::vector<Beam>& beams,
                                            const std::vector<HullCircle>& circles)
{
    std::vector<std::uint8_t> out;
    out.reserve(16 + beams.size() * kBeamRecordBytes + circles.size() * kCircleRecordBytes);
    PutVec(out, origin);
    PutU32(out, static_cast<std::uint32_t>(beams.size()));
    for (const Beam& beam : beams)
        AppendBeamRecord(out, beam);
    PutU32(out, static_cast<std::uint32_t>(circles.size()));
    for (const HullCircle& circle : circles) {
        PutFloat(out, circle.offsetX);
        PutFloat(out, circle.offsetY);
        PutFloat(out, circle.radius);
    }
    return out;
}

bool WriteObjectModel(const std::string& path, Vec2 origin, const std::vector<Beam>& beams,
                      const std::vector<HullCircle>& circles)
{
    const std::vector<std::uint8_t> bytes = EncodeObjectModel(origin, beams, circles);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}
