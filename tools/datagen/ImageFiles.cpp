#include "ImageFiles.h"

#include <IL/il.h>

#include <cstdio>
#include <fstream>

namespace datagen {

namespace {

void StartDevil()
{
    static bool started = false;
    if (started) return;
    ilInit();
    ilEnable(IL_FILE_OVERWRITE);
    started = true;
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

void PutBe(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// PackBits: runs of 3 to 128 equal bytes as (1 - n, byte), the rest as
// literal blocks of up to 128 bytes (n - 1, bytes).
std::vector<std::uint8_t> PackBits(const std::uint8_t* row, int length)
{
    std::vector<std::uint8_t> out;
    int i = 0;
    while (i < length) {
        int run = 1;
        while (i + run < length && run < 128 && row[i + run] == row[i]) ++run;
        if (run >= 3) {
            out.push_back(static_cast<std::uint8_t>(1 - run));
            out.push_back(row[i]);
            i += run;
            continue;
        }
        int start = i, literal = 0;
        while (i < length && literal < 128) {
            if (i + 2 < length && row[i] == row[i + 1] && row[i] == row[i + 2]) break;
            ++i;
            ++literal;
        }
        out.push_back(static_cast<std::uint8_t>(literal - 1));
        out.insert(out.end(), row + start, row + start + literal);
    }
    return out;
}

}  // namespace

std::vector<std::uint8_t> EncodePsdRgba(int width, int height, const std::vector<std::uint8_t>& rgba)
{
    std::vector<std::uint8_t> out = {'8', 'B', 'P', 'S'};
    PutBe(out, 1, 2);  // version
    for (int i = 0; i < 6; ++i) out.push_back(0);
    PutBe(out, 4, 2);  // channels: R, G, B, alpha
    PutBe(out, static_cast<std::uint32_t>(height), 4);
    PutBe(out, static_cast<std::uint32_t>(width), 4);
    PutBe(out, 8, 2);  // bits per channel
    PutBe(out, 3, 2);  // RGB colour mode
    PutBe(out, 0, 4);  // no colour mode data
    PutBe(out, 0, 4);  // no image resources
    PutBe(out, 0, 4);  // no layers
    PutBe(out, 1, 2);  // PackBits
    std::vector<std::vector<std::uint8_t>> rows;
    std::vector<std::uint8_t> plane(static_cast<std::size_t>(width));
    for (int channel = 0; channel < 4; ++channel) {
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x)
                plane[static_cast<std::size_t>(x)] =
                    rgba[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4 +
                         static_cast<std::size_t>(channel)];
            rows.push_back(PackBits(plane.data(), width));
        }
    }
    for (const auto& row : rows) PutBe(out, static_cast<std::uint32_t>(row.size()), 2);
    for (const auto& row : rows) out.insert(out.end(), row.begin(), row.end());
    return out;
}

bool SaveRgbaImage(const std::string& path, ImageFormat format, int width, int height,
                   const std::vector<std::uint8_t>& rgba)
{
    if (width <= 0 || height <= 0 || rgba.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4) {
        std::fprintf(stderr, "%s: pixel buffer does not match %dx%d\n", path.c_str(), width, height);
        return false;
    }
    if (format == ImageFormat::Psd) return WriteFileBytes(path, EncodePsdRgba(width, height, rgba));
    StartDevil();
    ILuint image = 0;
    ilGenImages(1, &image);
    ilBindImage(image);
    bool ok = ilTexImage(static_cast<ILuint>(width), static_cast<ILuint>(height), 1, 4, IL_RGBA, IL_UNSIGNED_BYTE,
                         const_cast<std::uint8_t*>(rgba.data())) == IL_TRUE;
    // Our rows run top down; tell DevIL so the saver stores them that way.
    ilRegisterOrigin(IL_ORIGIN_UPPER_LEFT);
    if (ok) ok = ilSave(IL_PNG, path.c_str()) == IL_TRUE;
    if (!ok) std::fprintf(stderr, "cannot write %s (DevIL error 0x%x)\n", path.c_str(), ilGetError());
    ilDeleteImages(1, &image);
    return ok;
}

std::vector<std::uint8_t> EncodeBmp24(int width, int height, const std::vector<std::uint8_t>& rgb)
{
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    const std::uint32_t dataBytes = rowBytes * static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> out;
    out.reserve(54 + dataBytes);
    out.push_back('B');
    out.push_back('M');
    PutLe(out, 54 + dataBytes, 4);  // file size
    PutLe(out, 0, 4);               // reserved
    PutLe(out, 54, 4);              // offset of the pixels
    PutLe(out, 40, 4);              // BITMAPINFOHEADER
    PutLe(out, static_cast<std::uint32_t>(width), 4);
    PutLe(out, static_cast<std::uint32_t>(height), 4);  // positive: bottom-up rows
    PutLe(out, 1, 2);                                   // planes
    PutLe(out, 24, 2);                                  // bits per pixel
    PutLe(out, 0, 4);                                   // no compression
    PutLe(out, dataBytes, 4);
    PutLe(out, 2835, 4);  // 72 dpi
    PutLe(out, 2835, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(width) * 3;
        for (int x = 0; x < width; ++x) {
            const std::size_t p = row + static_cast<std::size_t>(x) * 3;
            out.push_back(rgb[p + 2]);
            out.push_back(rgb[p + 1]);
            out.push_back(rgb[p]);
        }
        for (std::uint32_t pad = static_cast<std::uint32_t>(width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    return out;
}

bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace datagen
