#pragma once

#include "HiScoreTransfer.h"

#include <condition_variable>
#include <mutex>
#include <thread>

class wxSocketBase;

// Shuts an armed socket down at its deadline: a blocking connect, header
// wait or read then returns at once. One thread for every transfer, so a
// transfer does not pay for starting one.
class TransferWatchdog {
public:
    using Clock = std::chrono::steady_clock;

    TransferWatchdog();
    ~TransferWatchdog();
    TransferWatchdog(const TransferWatchdog&) = delete;
    TransferWatchdog& operator=(const TransferWatchdog&) = delete;

    void Arm(wxSocketBase& socket, Clock::time_point deadline);
    void Disarm();
    // The deadline of the last armed transfer passed while it was armed.
    bool Fired();

private:
    void Run();

    std::mutex mutex;
    std::condition_variable wake;
    wxSocketBase* socket = nullptr; // armed while not null
    Clock::time_point deadline;
    bool fired = false;
    bool quit = false;
    std::thread thread;
};

// The high-score transfers over the toolkit's HTTP client. The whole
// transfer, connecting included, ends at its deadline: the watchdog shuts
// the socket down then, so neither a silent nor a trickling server can hold the
// game longer. Needs the toolkit's sockets initialised.
class WxHiScoreTransfer : public HiScoreTransfer {
public:
    Reply Get(const HiScoreServer& server, const std::string& pathAndQuery, std::chrono::milliseconds deadline,
              std::size_t maxBytes, bool readBody) override;

private:
    TransferWatchdog watchdog;
};
