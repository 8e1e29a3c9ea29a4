#pragma once

#include <chrono>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

// A fresh directory under the system temp directory, removed with its
// contents when the object goes away. Tests run in parallel in one working
// directory, so every test that touches files works in its own.
class ScratchDir {
public:
    ScratchDir()
    {
        std::random_device seed;
        std::mt19937_64 rng(seed() ^ static_cast<unsigned long long>(
                                          std::chrono::steady_clock::now().time_since_epoch().count()));
        const auto base = std::filesystem::temp_directory_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            auto candidate = base / ("zelv-engine-" + std::to_string(rng()));
            std::error_code ec;
            if (std::filesystem::create_directory(candidate, ec)) {
                root = candidate;
                return;
            }
        }
        throw std::runtime_error("cannot create a scratch directory");
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& Path() const { return root; }
    std::string File(const std::string& name) const { return (root / name).string(); }

private:
    std::filesystem::path root;
};

#include <fstream>
#include <iterator>

// Whole-file helpers for checking what the code under test wrote.
inline std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}
