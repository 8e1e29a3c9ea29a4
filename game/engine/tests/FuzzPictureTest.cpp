// Seeded mutations of Photoshop pictures (the demo data's font sheets and a
// small raw picture): the layout check refuses every damaged one that the
// image library could read past, so whatever it accepts the library decodes
// without a fault, and truncations inside the image data are always refused.
#include "PictureFile.h"

#include "testing/Mutator.h"

#include <gtest/gtest.h>

#include <IL/il.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutBig(Bytes& out, std::uint32_t value, int width)
{
    for (int i = width - 1; i >= 0; --i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// An uncompressed 8-bit RGB picture of w x h.
Bytes RawPsd(std::uint32_t w, std::uint32_t h)
{
    Bytes out = {'8', 'B', 'P', 'S'};
    PutBig(out, 1, 2);
    out.insert(out.end(), 6, 0);
    PutBig(out, 3, 2);
    PutBig(out, h, 4);
    PutBig(out, w, 4);
    PutBig(out, 8, 2);
    PutBig(out, 3, 2);
    PutBig(out, 0, 4);
    PutBig(out, 0, 4);
    PutBig(out, 0, 4);
    PutBig(out, 0, 2);
    for (std::uint32_t i = 0; i < 3 * w * h; ++i)
        out.push_back(static_cast<std::uint8_t>(i * 7));
    return out;
}

Bytes ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Seed {
    std::string name;
    Bytes bytes;
};

std::vector<Seed> Seeds()
{
    const std::filesystem::path data(ZELV_DEMO_DATA_DIR);
    return {{"raw", RawPsd(9, 5)},
            {"Fonts.psd", ReadFile(data / "Fonts.psd")},
            {"FontShadow.psd", ReadFile(data / "FontShadow.psd")}};
}

// Decodes with the image library; true when it made a picture.
bool LibraryDecodes(const Bytes& bytes, ILint& width, ILint& height)
{
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    const bool loaded = ilLoadL(IL_PSD, bytes.data(), static_cast<ILuint>(bytes.size())) == IL_TRUE;
    width = loaded ? ilGetInteger(IL_IMAGE_WIDTH) : 0;
    height = loaded ? ilGetInteger(IL_IMAGE_HEIGHT) : 0;
    ilDeleteImages(1, &image);
    return loaded;
}

struct PictureFuzz : ::testing::Test {
    static void SetUpTestSuite() { ilInit(); }
};

TEST_F(PictureFuzz, SeedsPassAndDecodeAtTheirSize)
{
    const std::vector<Seed> seeds = Seeds();
    const std::pair<ILint, ILint> sizes[] = {{9, 5}, {512, 512}, {512, 512}};
    for (std::size_t i = 0; i < seeds.size(); ++i) {
        SCOPED_TRACE(seeds[i].name);
        ASSERT_GT(seeds[i].bytes.size(), 26u) << "demo data missing";
        std::string reason;
        EXPECT_TRUE(PsdLayoutFits(seeds[i].bytes.data(), seeds[i].bytes.size(), reason)) << reason;
        ILint width = 0, height = 0;
        EXPECT_TRUE(LibraryDecodes(seeds[i].bytes, width, height));
        EXPECT_EQ(width, sizes[i].first);
        EXPECT_EQ(height, sizes[i].second);
    }
}

// A 2 x 1 one-channel run-length picture whose row codes are given.
Bytes RlePsd(const Bytes& rowCodes)
{
    Bytes out = RawPsd(2, 1);
    out.resize(26 + 12);
    out[13] = 1; // one channel
    out.push_back(0);
    out.push_back(1); // run-length
    PutBig(out, static_cast<std::uint32_t>(rowCodes.size()), 2);
    out.insert(out.end(), rowCodes.begin(), rowCodes.end());
    return out;
}

TEST_F(PictureFuzz, LayoutRulesFieldByField)
{
    const auto with = [](std::size_t at, std::uint8_t value) {
        Bytes bytes = RawPsd(3, 2);
        bytes[at] = value;
        return bytes;
    };
    const struct {
        const char* what;
        Bytes bytes;
        bool fits;
    } rows[] = {
        {"raw picture", RawPsd(3, 2), true},
        {"one byte of image data short", [] { Bytes b = RawPsd(3, 2); b.pop_back(); return b; }(), false},
        {"version 2 (large document)", with(5, 2), false},
        {"no channels", with(13, 0), false},
        {"57 channels", with(13, 57), false},
        {"side of 4097 pixels", [] { Bytes b = RawPsd(3, 2); b[20] = 0x10; b[21] = 0x01; return b; }(), false},
        {"depth 7", with(23, 7), false},
        {"colour section past the end", with(26, 0x7f), false},
        {"compression 2", with(39, 2), false},
        {"run-length row: one literal pair", RlePsd({0x01, 7, 9}), true},
        {"run-length row: a repeat of two", RlePsd({0xff, 7}), true},
        {"run-length row: no-op code, then the row", RlePsd({0x80, 0xff, 7}), true},
        {"run-length row decoding to three bytes", RlePsd({0xfe, 7}), false},
        {"run-length row decoding to one byte", RlePsd({0x00, 7}), false},
        {"run-length literal past its row", RlePsd({0x05, 7, 9}), false},
        {"run-length repeat without its byte", RlePsd({0x01, 7, 9, 0xff}), false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        std::string reason;
        EXPECT_EQ(PsdLayoutFits(row.bytes.data(), row.bytes.size(), reason), row.fits);
        EXPECT_EQ(reason.empty(), row.fits);
    }
}

TEST_F(PictureFuzz, EveryTruncationIsRefused)
{
    for (const Seed& seed : Seeds()) {
        SCOPED_TRACE(seed.name);
        // Every length for the small one, a spread of lengths for the sheets.
        const std::size_t step = seed.bytes.size() > 4096 ? 37 : 1;
        for (std::size_t size = 0; size < seed.bytes.size(); size += step) {
            std::string reason;
            EXPECT_FALSE(PsdLayoutFits(seed.bytes.data(), size, reason)) << "prefix of " << size;
            EXPECT_FALSE(reason.empty());
        }
    }
}

TEST_F(PictureFuzz, AcceptedMutantsDecodeWithoutFault)
{
    const std::vector<Seed> seeds = Seeds();
    Mutator mutator(0x70736421u);
    int accepted = 0, refused = 0;
    for (int iteration = 0; iteration < 1500; ++iteration) {
        const Seed& seed = seeds[static_cast<std::size_t>(iteration) % seeds.size()];
        Bytes bytes = seed.bytes;
        MutationHints hints;
        hints.countOffsets = {12, 14, 18, 22, 26, 30, 34};
        mutator.Mutate(bytes, hints);
        std::string reason;
        if (!PsdLayoutFits(bytes.data(), bytes.size(), reason)) {
            ++refused;
            ASSERT_FALSE(reason.empty()) << "iteration " << iteration;
            continue;
        }
        ++accepted;
        ILint width = 0, height = 0;
        LibraryDecodes(bytes, width, height); // must simply not fault
        EXPECT_LE(width, 4096) << "iteration " << iteration;
        EXPECT_LE(height, 4096) << "iteration " << iteration;
    }
    // Both outcomes occur, or the mutations did not reach the layout.
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
