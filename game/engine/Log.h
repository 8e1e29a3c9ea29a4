#pragma once

#include <cstdarg>
#include <iosfwd>
#include <string>

#if defined(__GNUC__)
#define ZELV_PRINTF_LIKE(fmtIndex, firstArg) __attribute__((format(printf, fmtIndex, firstArg)))
#else
#define ZELV_PRINTF_LIKE(fmtIndex, firstArg)
#endif

// printf-style formatting into a string that grows to fit, so messages that
// carry library error texts or long paths are never cut off. A null format
// gives an empty string.
std::string LogFormat(const char* format, ...) ZELV_PRINTF_LIKE(1, 2);
std::string LogFormatV(const char* format, va_list args);

// The game's diagnostic channel: every message goes unchanged to the console
// and is appended to the log file, which is opened and closed per message so
// that everything written before a crash is on disk. The first message of a
// run truncates the file and starts it with a header line carrying the build
// date. When the file cannot be opened, the error stream (if any) is told
// so once; the messages still reach the console.
class Log {
public:
    // Tests pass their own file and console; the game uses Instance().
    Log(std::string filePath, std::ostream& console, std::ostream* errors = nullptr);

    // The program-wide log: "Logfile.txt" in the working directory, standard
    // output, and standard error for failures. Usable before and after the
    // Game exists.
    static Log& Instance();

    // The build date in the compiler's form ("Aug 19 2008").
    static const char* BuildDate();

    void Write(const std::string& message);
    // Why the program fails or ends: written to the file even while the log
    // is switched off, and to the error stream (to the console when there
    // is none).
    void WriteError(const std::string& message);
    void Writef(const char* format, ...) ZELV_PRINTF_LIKE(2, 3);
    void SetEnabled(bool on);

    bool IsEnabled() const { return enabled; }
    int WriteCount() const { return writes; }
    const std::string& FilePath() const { return filePath; }

private:
    void Emit(const std::string& message, std::ostream& out);

    bool enabled = false;
    bool toldFileFailure = false;
    int writes = 0;
    std::string filePath;
    std::ostream& console;
    std::ostream* errors;
};
