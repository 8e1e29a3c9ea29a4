// Seeded random mutations of a valid model file against the reader, compared
// with a direct decode of the same bytes. Deterministic: a failing iteration
// is reproduced by its number.
#include "ModelFile.h"
#include "ModelTransform.h"

#include "support/ScratchDir.h"
#include "testing/Mutator.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <optional>
#include <sstream>

namespace {

struct Decoded {
    std::vector<Beam> beams;
    std::vector<HullCircle> circles;
};

// Reference decode from memory: missing bytes read as zero, a count is valid
// when it is not negative and the bytes left can at least start each record.
std::optional<Decoded> DecodeReference(const std::vector<std::uint8_t>& bytes)
{
    std::size_t at = 0;
    auto take = [&](void* out, std::size_t size) {
        std::memset(out, 0, size);
        const std::size_t n = at < bytes.size() ? std::min(size, bytes.size() - at) : 0;
        if (n > 0)
            std::memcpy(out, bytes.data() + at, n);
        at = std::min(at + size, bytes.size());
    };
    auto fits = [&](std::int32_t count, std::size_t recordSize) {
        const std::size_t left = bytes.size() - at;
        return count >= 0 && static_cast<std::size_t>(count) <= (left + recordSize - 1) / recordSize;
    };

    Decoded out;
    float origin[2];
    std::int32_t count;
    take(origin, 8);
    take(&count, 4);
    if (!fits(count, 56))
        return std::nullopt;
    for (std::int32_t i = 0; i < count; ++i) {
        float f[14];
        take(f, sizeof f);
        Beam beam;
        beam.a = {f[0], f[1]};
        beam.b = {f[2], f[3]};
        beam.colourA = {f[4], f[5], f[6]};
        beam.colourB = {f[7], f[8], f[9]};
        beam.direction = {f[10], f[11]};
        beam.normal = {f[12], f[13]};
        out.beams.push_back(beam);
    }
    take(&count, 4);
    if (!fits(count, 12))
        return std::nullopt;
    for (std::int32_t i = 0; i < count; ++i) {
        float f[3];
        take(f, sizeof f);
        HullCircle circle;
        circle.offsetX = f[0];
        circle.offsetY = f[1];
        circle.radius = f[2];
        out.circles.push_back(circle);
    }
    OffsetModel(out.beams, out.circles, origin[0], origin[1]);
    return out;
}

// Bitwise, so NaNs from mutated floats compare too; the Beam's trailing
// padding is left out.
template <typename T>
bool SameBits(const std::vector<T>& a, const std::vector<T>& b, std::size_t bytesPerElement)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::memcmp(&a[i], &b[i], bytesPerElement) != 0)
            return false;
    }
    return true;
}

std::vector<std::uint8_t> SeedModel()
{
    std::vector<Beam> beams;
    for (int i = 0; i < 3; ++i) {
        Beam beam;
        beam.a = {float(i), float(2 * i)};
        beam.b = {float(i + 10), float(-i)};
        beam.colourA = {1.0f, 0.5f, 0.25f};
        beam.colourB = {0.0f, 1.0f, 0.75f};
        beam.direction = {1.0f, 0.0f};
        beam.normal = {0.0f, -1.0f};
        beams.push_back(beam);
    }
    std::vector<HullCircle> circles(2);
    circles[0].radius = 8.0f;
    circles[1].offsetX = 3.0f;
    circles[1].radius = 4.0f;
    return EncodeObjectModel({5.0f, -5.0f}, beams, circles);
}

TEST(ModelFuzzTest, MutatedFilesLoadAsTheReferenceDecodesThem)
{
    ScratchDir dir;
    const std::string path = dir.File("Fuzz.obj");
    std::ostringstream console;
    Log log(dir.File("Logfile.txt"), console);
    log.SetEnabled(true);

    const std::vector<std::uint8_t> seed = SeedModel();
    // The two counts: after the origin, and after the three seed beams.
    MutationHints hints;
    hints.countOffsets = {8, 12 + 3 * 56};
    Mutator mutator(20261210u);
    int loaded = 0;
    int failed = 0;
    for (int iteration = 0; iteration < 3000; ++iteration) {
        std::vector<std::uint8_t> bytes = seed;
        mutator.Mutate(bytes, hints);
        WriteWholeFile(path, std::string(bytes.begin(), bytes.end()));

        std::vector<Beam> beams;
        std::vector<HullCircle> circles;
        console.str("");
        const bool ok = LoadObjectModelFile(beams, circles, path, "Fuzz", log);
        const std::optional<Decoded> expected = DecodeReference(bytes);

        ASSERT_EQ(ok, expected.has_value()) << "iteration " << iteration;
        if (ok) {
            ++loaded;
            ASSERT_TRUE(SameBits(beams, expected->beams, offsetof(Beam, id) + sizeof(Beam::id))) << "iteration " << iteration;
            ASSERT_TRUE(SameBits(circles, expected->circles, sizeof(HullCircle))) << "iteration " << iteration;
            ASSERT_EQ(console.str(), "Loaded Fuzz.obj\n") << "iteration " << iteration;
        } else {
            ++failed;
            ASSERT_EQ(console.str(), "Failed to load Fuzz.obj!\n") << "iteration " << iteration;
        }
    }
    // Both outcomes must actually be exercised.
    EXPECT_GT(loaded, 300);
    EXPECT_GT(failed, 300);
}

} // namespace
