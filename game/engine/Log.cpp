#include "Log.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <utility>
#include <vector>

std::string LogFormatV(const char* format, va_list args)
{
    if (format == nullptr)
        return {};
    va_list probe;
    va_copy(probe, args);
    const int needed = std::vsnprintf(nullptr, 0, format, probe);
    va_end(probe);
    if (needed <= 0)
        return {};
    std::vector<char> text(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(text.data(), text.size(), format, args);
    return std::string(text.data(), static_cast<std::size_t>(needed));
}

std::string LogFormat(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = LogFormatV(format, args);
    va_end(args);
    return text;
}

Log::Log(std::string filePath, std::ostream& console, std::ostream* errors)
    : filePath(std::move(filePath)), console(console), errors(errors)
{
}

Log& Log::Instance()
{
    // Never destroyed, so late writes during static destruction stay safe.
    static Log* const instance = new Log("Logfile.txt", std::cout, &std::cerr);
    return *instance;
}

const char* Log::BuildDate()
{
    return __DATE__;
}

void Log::Write(const std::string& message)
{
    if (enabled)
        Emit(message, console);
}

void Log::WriteError(const std::string& message)
{
    Emit(message, errors != nullptr ? *errors : console);
}

void Log::Emit(const std::string& message, std::ostream& out)
{
    out.write(message.data(), static_cast<std::streamsize>(message.size()));
    out.flush();

    // Text mode on purpose: line ends follow the platform's convention.
    const bool firstWrite = (writes == 0);
    if (std::FILE* file = std::fopen(filePath.c_str(), firstWrite ? "w" : "a")) {
        if (firstWrite) {
            std::fputs("Logfile created on ", file);
            std::fputs(BuildDate(), file);
            std::fputs("\n", file);
        }
        std::fwrite(message.data(), 1, message.size(), file);
        std::fclose(file);
    } else if (!toldFileFailure && errors != nullptr) {
        // Said once: without it a run in a read-only folder leaves no trace.
        const int cause = errno;
        toldFileFailure = true;
        *errors << "Cannot write the log file \"" << filePath << "\": " << std::strerror(cause) << "\n";
        errors->flush();
    }
    // Counted even when the file could not be opened: a later successful
    // open then appends, without a header.
    ++writes;
}

void Log::Writef(const char* format, ...)
{
    if (!enabled)
        return;
    va_list args;
    va_start(args, format);
    std::string text = LogFormatV(format, args);
    va_end(args);
    Write(text);
}

void Log::SetEnabled(bool on)
{
    if (on && !enabled) {
        enabled = true;
        Write(">>Logging Enabled<<\n");
    } else if (!on && enabled) {
        Write(">>Logging Disabled<<\n");
        enabled = false;
    }
}
