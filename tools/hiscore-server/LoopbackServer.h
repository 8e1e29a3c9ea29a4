#pragma once

// This server run by a test or benchmark: it starts with fork/exec,
// reports its port through a pipe, logs the request lines to a file of its
// own, and is stopped by its pid. The program's path is
// ZELV_HISCORE_SERVER_PROGRAM.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class LoopbackServer {
public:
    explicit LoopbackServer(std::vector<std::string> options = {})
    {
        static std::atomic<int> serial{0};
        logPath = (std::filesystem::temp_directory_path() /
                   ("zelv_hiscore_server_" + std::to_string(::getpid()) + "_" + std::to_string(serial++) + ".log"))
                      .string();
        std::filesystem::remove(logPath);
        std::vector<std::string> args{ZELV_HISCORE_SERVER_PROGRAM, "--limit", "60", "--log", logPath};
        args.insert(args.end(), options.begin(), options.end());
        int fds[2];
        if (::pipe(fds) != 0)
            return;
        pid = ::fork();
        if (pid == 0) {
            ::dup2(fds[1], 1);
            ::close(fds[0]);
            ::close(fds[1]);
            std::vector<char*> argv;
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        FILE* out = ::fdopen(fds[0], "r");
        if (out != nullptr) {
            if (std::fscanf(out, "%d", &port) != 1)
                port = 0;
            std::fclose(out);
        }
    }
    ~LoopbackServer()
    {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
        std::error_code ignored;
        std::filesystem::remove(logPath, ignored);
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool Started() const { return port > 0; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(port); }
    std::string Log() const
    {
        std::ifstream in(logPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    int port = 0;

private:
    pid_t pid = -1;
    std::string logPath;
};
