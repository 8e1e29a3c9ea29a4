#pragma once

#include <chrono>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <system_error>

// A fresh folder under the system temp folder, removed with its contents at
// the end; tests run in parallel, so each one writes only into its own.
class DataTempDir {
public:
    DataTempDir()
    {
        std::random_device seed;
        std::mt19937_64 rng(seed() ^ static_cast<unsigned long long>(
                                          std::chrono::steady_clock::now().time_since_epoch().count()));
        for (int attempt = 0; attempt < 100; ++attempt) {
            auto candidate = std::filesystem::temp_directory_path() / ("zelv-datagen-" + std::to_string(rng()));
            std::error_code ec;
            if (std::filesystem::create_directory(candidate, ec)) {
                root_ = candidate;
                return;
            }
        }
        throw std::runtime_error("cannot create a temporary folder");
    }
    ~DataTempDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    DataTempDir(const DataTempDir&) = delete;
    DataTempDir& operator=(const DataTempDir&) = delete;

    const std::filesystem::path& Path() const { return root_; }

private:
    std::filesystem::path root_;
};
