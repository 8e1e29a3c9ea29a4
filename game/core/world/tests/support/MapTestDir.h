#pragma once

#include "Log.h"

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

// A log whose console output the test reads back; its file lives in the
// test's own directory.
class CapturedLog {
public:
    explicit CapturedLog(const MapTestDir& dir) : log(dir.Path("Logfile.txt").string(), console)
    {
        log.SetEnabled(true);
        console.str(""); // enabling writes a banner line
    }
    Log& Get() { return log; }
    std::string Text() const { return console.str(); }
    bool Contains(const std::string& text) const { return console.str().find(text) != std::string::npos; }
    void Clear() { console.str(""); }

private:
    std::ostringstream console;
    Log log;
};
