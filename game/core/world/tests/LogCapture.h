#pragma once

#include "Log.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>

// A Log whose console is a string and whose file lives in the temp
// directory (removed at the end), so tests read exactly what was written.
class LogCapture {
public:
    LogCapture() : log(TempPath(), console)
    {
        log.SetEnabled(true);
        console.str(""); // the enabling notice is not part of what tests read
    }
    ~LogCapture()
    {
        std::error_code ignored;
        std::filesystem::remove(log.FilePath(), ignored);
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    Log& Get() { return log; }
    std::string Text() const { return console.str(); }
    void Reset() { console.str(""); }

private:
    static std::string TempPath()
    {
        static std::atomic<int> serial{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        return (std::filesystem::temp_directory_path() /
                ("zelv_worldlog_" + std::to_string(stamp) + "_" + std::to_string(serial++) + ".txt"))
            .string();
    }

    std::ostringstream console;
    Log log;
};
