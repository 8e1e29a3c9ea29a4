#pragma once

// A private directory for the harnesses whose readers take paths, made once
// per process and reused by every input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

inline const std::string& FuzzScratchDir()
{
    static const std::string dir = [] {
        char name[] = "/tmp/zelv-fuzz-XXXXXX";
        if (mkdtemp(name) == nullptr)
            std::abort();
        return std::string(name);
    }();
    return dir;
}

inline void FuzzWriteFile(const std::string& path, const std::uint8_t* data, std::size_t size)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size)
        std::abort();
    std::fclose(f);
}

// Stops the run with a message: libFuzzer then saves the input as a crash.
#define FUZZ_CHECK(condition)                                                                  \
    do {                                                                                       \
        if (!(condition)) {                                                                    \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                      \
        }                                                                                      \
    } while (0)
