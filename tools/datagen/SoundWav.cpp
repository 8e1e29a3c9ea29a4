#include "SoundWav.h"

#include <cstdio>

namespace datagen {

namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void Put16(std::vector<std::uint8_t>& out, std::uint16_t v)
{
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutTag(std::vector<std::uint8_t>& out, const char* tag)
{
    // Byte by byte: GCC 12 misreads a range insert after reserve() as an overflow.
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

}  // namespace

std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& samples, int sampleRate)
{
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, static_cast<std::uint32_t>(sampleRate));
    Put32(out, static_cast<std::uint32_t>(sampleRate) * 2);  // bytes per second
    Put16(out, 2);                                           // bytes per frame
    Put16(out, 16);                                          // bits per sample
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (std::int16_t s : samples)
        Put16(out, static_cast<std::uint16_t>(s));
    return out;
}

bool WriteBinaryFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace datagen
