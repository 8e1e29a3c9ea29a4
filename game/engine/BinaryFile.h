#pragma once

#include <array>
#include <cstdint>
#include <string>

// The accessor for the game's own files. It remembers a path, a read mode and
// an offset, and opens the file afresh for every transfer (open, seek,
// transfer, record the offset, close), so no handle is held between calls
// and other code may touch the same file in turn.
//
// A read that finds fewer bytes than asked still succeeds: the destination
// keeps its old content where the file had none, which lets readers of a
// damaged file see their fields unchanged. Writes always append ("ab") and
// fail when not every byte reached the file.
class BinaryFile {
public:
    static constexpr int kLineCapacity = 256;

    // Stores path and mode (even on failure), opens the file once to test it
    // ("wb" creates or empties it) and resets the offset.
    bool Open(const char* path, const char* mode);
    bool Open(const std::string& path, const std::string& mode) { return Open(path.c_str(), mode.c_str()); }

    bool Read1(void* destination) { return ReadBlock(destination, 1); }
    bool Read4(void* destination) { return ReadBlock(destination, 4); }
    bool Read8(void* destination) { return ReadBlock(destination, 8); }
    bool Read12(void* destination) { return ReadBlock(destination, 12); }
    bool Read16(void* destination) { return ReadBlock(destination, 16); }
    bool Read33(void* destination) { return ReadBlock(destination, 33); }
    bool Read64(void* destination) { return ReadBlock(destination, 64); }
    bool Read256(void* destination) { return ReadBlock(destination, 256); }

    // A caller-given count; a negative count, or a null destination with a
    // positive count, is refused (false) without touching the file.
    bool ReadBytes(void* destination, std::int64_t count);

    // The next text line (at most 255 characters, line end kept when it
    // fits), or null at the end of the file or when nothing could be read.
    // Valid until the next ReadLine on this record.
    const char* ReadLine();

    bool Write4(const void* source) { return WriteBlock(source, 4); }
    bool Write33(const void* source) { return WriteBlock(source, 33); }
    bool Write64(const void* source) { return WriteBlock(source, 64); }
    bool Write256(const void* source) { return WriteBlock(source, 256); }

    const std::string& Path() const { return path; }
    const std::string& Mode() const { return mode; }
    std::int64_t Offset() const { return offset; }

private:
    bool ReadBlock(void* destination, std::int64_t count);
    bool WriteBlock(const void* source, std::size_t count);

    std::string path;
    std::string mode;
    std::int64_t offset = 0;
    std::array<char, kLineCapacity> line{};
};
