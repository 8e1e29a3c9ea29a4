#pragma once

#include "Log.h"
#include "Video.h"

#include "testing/GlReadback.h"
#include <SDL.h>

#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>

inline bool HasDisplay()
{
    const char* display = std::getenv("DISPLAY");
    return display != nullptr && *display != '\0';
}

// A log that writes to a string (and to a file the caller names).
struct CapturedLog {
    explicit CapturedLog(const std::string& file) : log(file, console)
    {
        log.SetEnabled(true);
        start = console.str().size(); // past the log's own "enabled" line
    }
    std::string Text() const { return console.str().substr(start); }
    std::size_t start = 0;
    std::ostringstream console;
    Log log;
};

// InitVideo on the test display. An Xvfb that resets after its last client
// leaves refuses connections for a moment, which parallel test processes hit:
// retry only that start-up failure, for up to 2 s, each time with a fresh log
// so the returned text is that of the successful call.
inline bool InitVideoForTest(const std::string& logFile, std::string& logText, int width, int height,
                             int bitsPerPixel, int samples, const char* iconPath = nullptr)
{
    for (int attempt = 0; attempt < 40; ++attempt) {
        CapturedLog captured(logFile);
        const bool ok = InitVideoWithIcon("Zelvorant2", width, height, bitsPerPixel, false, samples, iconPath,
                                          captured.log);
        logText = captured.Text();
        if (ok || logText.find("[Failed to initialize Video Settings]") == std::string::npos)
            return ok;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}
