#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// A fresh directory with a "Data/Maps" tree, removed again at the end of the
// test. Loaders take it as their root, so no test changes the working
// directory.
class MapTestDir {
public:
    MapTestDir()
    {
        static std::atomic<int> serial{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        std::ostringstream name;
        name << "zelv_maptest_" << stamp << "_" << serial++ << "_" << reinterpret_cast<std::uintptr_t>(this);
        root = std::filesystem::temp_directory_path() / name.str();
        std::filesystem::create_directories(root / "Data" / "Maps");
    }
    ~MapTestDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }
    MapTestDir(const MapTestDir&) = delete;
    MapTestDir& operator=(const MapTestDir&) = delete;

    std::string Root() const { return root.string(); }
    std::filesystem::path Path(const std::string& relative) const { return root / relative; }

    void WriteBytes(const std::string& relative, const std::vector<std::uint8_t>& bytes) const
    {
        std::ofstream out(root / relative, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    void WriteText(const std::string& relative, const std::string& text) const
    {
        std::ofstream out(root / relative, std::ios::binary | std::ios::trunc);
        out << text;
    }
    std::vector<std::uint8_t> ReadBytes(const std::string& relative) const
    {
        std::ifstream in(root / relative, std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::filesystem::path root;
};
