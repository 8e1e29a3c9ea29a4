#pragma once

#include <cstdio>
#include <sys/wait.h>
#include <filesystem>
#include <string>

// Runs the generator on a source folder into an output folder; returns its
// exit status and puts everything it printed into `output`.
inline int RunGenerator(const std::filesystem::path& source, const std::filesystem::path& out, std::string& output)
{
    const std::string command = std::string("\"") + ZELV_DATAGEN_EXE + "\" \"" + source.string() + "\" \"" +
                                out.string() + "\" 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return -1;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
